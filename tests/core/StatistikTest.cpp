#include "../preview/DruckTestHilfe.h"
#include "Statistik.h"

#include <MessageBoxScript.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

namespace {

// Counts what a chart draws.
class ZaehlendeLeinwand final : public IMyCanvas {
public:
    int linien = 0;
    int texte = 0;
    std::vector<int> stiftbreiten;
    void Line(int, int, int, int) override { ++linien; }
    void Polygon(const std::vector<QPoint>&) override {}
    int TextWidth(const QString& s) override { return int(s.size()) * 10; }
    void TextOut(int, int, const QString&, TAlignment, TVAlignment, int) override { ++texte; }
    void SetzeSchrift(const QString&, int, std::uint8_t, TColor, bool) override {}
    void SetzeBrush(TColor, TExBrushStyle) override {}
    void SetzeBrushClear() override {}
    void SetzePen(TColor, int breite, TPenStyle) override { stiftbreiten.push_back(breite); }
    void FillRect(const QRect&) override {}
    void Rectangle(int, int, int, int) override {}
    void Ellipse(int, int, int, int) override {}
    void Polyline(const std::vector<QPoint>&) override {}
    void RoundRect(int, int, int, int, int, int) override {}
    void Pie(int, int, int, int, int, int, int, int) override {}
    QSize TextExtent(const QString& s) override { return QSize(TextWidth(s), 40); }
};

class Balken : public TStatistik {
public:
    using TStatistik::TStatistik;
    int zeichnungen = 0;
    int faktor = 1;
    QRect rechteck;
    void SetFaktor(int f)
    {
        faktor = f;
        Aktualisieren();
    }
    void Zeichnen() override
    {
        ++zeichnungen;
        PositionenBerechnen();
        SetzeStandardPen();
        Linie(Ursprung.x(), Ursprung.y(), Ursprung.x() + Breite - 0.5L, Ursprung.y() + Hoehe);
        TextAusgeben(Ursprung.x() + 10.9L, Ursprung.y() + 10.2L, GetTitel(), taLeftJustify, tvaTop,
                     0);
    }
    void PositionenBerechnen() override { rechteck = QRect(Ursprung, QSize(Breite, Hoehe)); }
    QString GetTitel() override { return QStringLiteral("Milchleistung"); }
};

class Statistik : public ::testing::Test {
protected:
    std::shared_ptr<ZaehlendeLeinwand> leinwand = std::make_shared<ZaehlendeLeinwand>();
    Balken balken{nullptr};
    void SetUp() override { balken.SetCanvas(leinwand); }
};

TEST_F(Statistik, UpdateBracketDrawsOnceAndOnlyAfterAChange)
{
    balken.Aktualisieren();
    EXPECT_EQ(balken.zeichnungen, 1) << "outside a bracket at once";
    EXPECT_FALSE(balken.Geaendert);

    balken.BeginUpdate();
    balken.BeginUpdate();
    balken.SetFaktor(2);
    balken.SetFaktor(3);
    balken.EndUpdate();
    EXPECT_EQ(balken.zeichnungen, 1) << "the inner EndUpdate does not draw";
    balken.EndUpdate();
    EXPECT_EQ(balken.zeichnungen, 2);

    balken.BeginUpdate();
    balken.EndUpdate();
    EXPECT_EQ(balken.zeichnungen, 2) << "nothing changed inside";

    balken.EndUpdate();
    EXPECT_EQ(balken.UpdateZaehler, 0);
    EXPECT_EQ(balken.zeichnungen, 2);
}

TEST_F(Statistik, AChartInPrintModeDrawsOnlyInItsPrintJob)
{
    balken.SetAlsDruck(true);
    balken.Aktualisieren();
    balken.BeginUpdate();
    balken.SetFaktor(4);
    balken.EndUpdate();
    EXPECT_EQ(balken.zeichnungen, 0);
}

TEST_F(Statistik, PrintingAChartNotSetUpForPrintIsRefused)
{
    try {
        balken.Drucken();
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Grafik wurde nicht als Druck initialisiert!");
    }
    EXPECT_EQ(balken.Druck, nullptr);
}

TEST_F(Statistik, HelpersTruncate)
{
    EXPECT_EQ(balken.PunktUmrechnen(Tools::ExPoint(10.9L, -3.7L)), QPoint(10, -3));
    EXPECT_EQ(balken.Rechteck(1.9L, 2.9L, 11.2L, 22.8L), QRect(QPoint(1, 2), QPoint(10, 21)));
    EXPECT_EQ(balken.PixelX(7.99L), 7);
    EXPECT_THROW(balken.MMZuPixel(1), std::logic_error) << "only while printing";
}

TEST_F(Statistik, ChartPageIsLandscapeWithMarginsOf200)
{
    FakeDrucker drucker;
    balken.SetAlsDruck(true);
    {
        TStatistikDruck druck(balken, drucker, std::make_unique<AufzeichnendeAusgabe>());
        druck.Titel = balken.GetTitel();
        EXPECT_EQ(balken.Druck, &druck);
        druck.DruckeInhalt(nullptr);
        EXPECT_EQ(balken.Ursprung, QPoint(200, 200));
        EXPECT_EQ(balken.Breite, 2570);
        EXPECT_EQ(balken.Hoehe, 1700);
        EXPECT_EQ(balken.zeichnungen, 1);
        EXPECT_EQ(druck.Preview->Title(), "Milchleistung");
        EXPECT_EQ(drucker.orient, TPrinterOrientation::poLandscape);
        // 600 dpi: 23.6 pixels per millimetre.
        EXPECT_EQ(balken.MMZuPixel(0.4L), 9);
        EXPECT_EQ(balken.MMZuPixel(0.01L), 1);
        const auto texte = Texte(druck.Paper());
        ASSERT_EQ(texte.size(), 1u) << "no footer on the chart page";
        EXPECT_EQ(texte[0].text, "Milchleistung");
        EXPECT_EQ(QPoint(texte[0].x, texte[0].y), QPoint(210, 210));
    }
    EXPECT_EQ(balken.Druck, nullptr);
}

TEST_F(Statistik, StandardPenIsOnePixelOnScreen)
{
    balken.Aktualisieren();
    ASSERT_FALSE(leinwand->stiftbreiten.empty());
    EXPECT_EQ(leinwand->stiftbreiten.back(), 1);
}

TEST_F(Statistik, PrintingShowsThePreviewAndGivesTheScreenCanvasBack)
{
    balken.SetAlsDruck(true);
    QString titel;
    MessageBoxScript vorschau;
    vorschau.EveryWindow<QWidget>([&](QWidget& fenster) {
        titel = fenster.windowTitle();
        fenster.close();
    });
    balken.Drucken();
    EXPECT_EQ(titel, "Vorschau");
    EXPECT_EQ(balken.Canvas, leinwand);
    EXPECT_EQ(balken.Druck, nullptr);
}

}  // namespace
