#include "../preview/DruckTestHilfe.h"
#include "BesamungsindexTier.h"
#include "HerdeTest.h"
#include "TierStatistikTestHilfe.h"
#include "ZwischenkalbezeitTier.h"

#include <Bildschirmfoto.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

namespace {

constexpr TColor Rot = 0x0000FF;
constexpr TColor Gruen = 0x008000;
constexpr TColor Blau = 0xFF0000;

// Berta: four calvings after 1, 2, no and 3 inseminations; gestations 280, 265, none and 275
// days; intervals 405, 500 and 350 days. Lisa: one calving after one insemination. Anna: none.
class TierStatistik : public HerdeTest {
protected:
    void SetUp() override
    {
        HerdeTest::SetUp();
        const QDate k1(2019, 3, 1);
        const QDate k2 = k1.addDays(405);
        const QDate k3 = k2.addDays(500);
        const QDate k4 = k3.addDays(350);
        Kalbung(berta, k1, {k1.addDays(-280)});
        Kalbung(berta, k2, {k2.addDays(-300), k2.addDays(-265)});
        Kalbung(berta, k3, {});
        Kalbung(berta, k4, {k4.addDays(-320), k4.addDays(-300), k4.addDays(-275)});
        Kalbung(lisa, QDate(2025, 2, 1), {QDate(2024, 4, 20)});
        tr.Start();
    }

    void Kalbung(int tier, const QDate& datum, const QList<QDate>& besamungen)
    {
        QStringList sqls;
        for (const QDate& b : besamungen)
            sqls << QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM) VALUES (%1, '%2')")
                        .arg(tier)
                        .arg(b.toString(Qt::ISODate));
        sqls << QStringLiteral(
                    "INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (%1, "
                    "'%2', 'W')")
                    .arg(tier)
                    .arg(datum.toString(Qt::ISODate));
        Ausfuehren(sqls);
    }

    // Draws the chart of an animal onto the recorder in the given mode (print in tenths of a mm).
    template <class G>
    std::unique_ptr<G> Zeichne(int tier, std::uint8_t modus, bool farbig = true,
                               std::shared_ptr<IMyCanvas> canvas = {})
    {
        if (!canvas)
            canvas = leinwand;
        auto g = std::make_unique<G>(&tr);
        if (modus == TTierStatistik::Bildschirm) {
            g->AlsBildschirm(canvas);
            g->Faktor = 1;
            g->Breite = 700;
            g->Hoehe = 500;
        } else if (modus == TTierStatistik::Miniatur) {
            g->AlsMiniatur(canvas);
            g->Untertitel = QStringLiteral("7 Berta");
            g->Breite = 250;
            g->Hoehe = 150;
        } else {
            g->AlsDruckEinrichten(farbig);
            g->Untertitel = QStringLiteral("7 Berta");
            g->Canvas = canvas;
            g->Ursprung = QPoint(200, 200);
            g->Breite = 2570;
            g->Hoehe = 1700;
        }
        g->TierID = tier;
        if (modus == TTierStatistik::Druckmodus) {
            // The print job gives the pen its width.
            TStatistikDruck druck(*g, drucker, std::make_unique<AufzeichnendeAusgabe>());
            g->Zeichnen();
        } else {
            g->Zeichnen();
        }
        return g;
    }

    std::vector<QString> TexteIn(int y) const
    {
        std::vector<QString> s;
        for (const auto& t : leinwand->texte)
            if (t.y == y)
                s.push_back(t.s);
        return s;
    }

    db::Transaction tr{t.Db()};
    FakeDrucker drucker;
    std::shared_ptr<AufzeichnendeLeinwand> leinwand = std::make_shared<AufzeichnendeLeinwand>();
};

using S = std::vector<QString>;

TEST_F(TierStatistik, CalvingIntervalOnScreenShowsColumnPairsLabelsAndAverages)
{
    auto g = Zeichne<TZwischenkalbezeitTier>(berta, TTierStatistik::Bildschirm);
    EXPECT_EQ(TexteIn(int(g->TragzeitY)), (S{"280", "265", "?", "275"}));
    EXPECT_EQ(TexteIn(int(g->ZwkzY)), (S{"405", "500", "350"}));
    EXPECT_EQ(TexteIn(int(g->NummerY)), (S{"1", "2", "3", "4"}));

    const auto* tragzeit = leinwand->Finde("Tragzeit Ø: 273 Tage");
    ASSERT_NE(tragzeit, nullptr) << "the missing gestation stays out of the average";
    EXPECT_EQ(tragzeit->farbe, Blau);
    const auto* zwkz = leinwand->Finde("Zwischenkalbezeit Ø: 418 Tage");
    ASSERT_NE(zwkz, nullptr);
    EXPECT_EQ(zwkz->farbe, Rot) << "over 365 days";
    EXPECT_EQ(leinwand->Finde("500")->farbe, Rot);
    EXPECT_EQ(leinwand->Finde("350")->farbe, Gruen);

    // Scale: 465 at the top, the references on the sixth line, 325 and 225 at the bottom.
    for (auto [text, farbe] : {std::pair{"465", Rot},
                               {"385", Rot},
                               {"365", Gruen},
                               {"325", Gruen},
                               {"265", Blau},
                               {"225", Blau}})
        ASSERT_NE(leinwand->Finde(text), nullptr) << text;
    EXPECT_EQ(leinwand->Finde("465")->y, int(g->Y0 + 2 * g->A));

    // The box, then four gestation and three interval columns, ten slots wide at least.
    ASSERT_EQ(leinwand->polygone.size(), 8u);
    const double slot = g->CX / 19;
    EXPECT_EQ(leinwand->polygone[1].punkte[2].x(), int(g->X0 + 0.1 * slot));
    EXPECT_EQ(leinwand->polygone[2].punkte[2].x(), int(g->X0 + 1.1 * slot));
    EXPECT_EQ(leinwand->polygone[3].punkte.size(), 4u) << "265 days: a flat column";
    for (const auto& p : leinwand->polygone)
        for (const QPoint& q : p.punkte) {
            EXPECT_GE(q.y(), int(g->Y0 - g->A));
            EXPECT_LE(q.y(), int(g->Y0 + g->CY + 2 * g->A));
        }
    // The 500-day column is cut at the top of the box and marked twice.
    const auto& gekappt = leinwand->polygone[4].punkte;
    EXPECT_EQ(gekappt[3].y(), int(g->Y0));
    int markierungen = 0;
    for (const auto& [a, b] : leinwand->linien)
        if (a.y() != b.y() && a.x() < gekappt[0].x() && b.x() > gekappt[3].x() &&
            b.x() - a.x() < 2 * slot)
            ++markierungen;
    EXPECT_EQ(markierungen, 2);
    EXPECT_EQ(leinwand->polygone[5].brush, 0xC0C0C0u) << "missing gestation: silver";
}

TEST_F(TierStatistik, CalvingIntervalOfOneCalvingHasNoIntervalColumnOrLegend)
{
    Zeichne<TZwischenkalbezeitTier>(lisa, TTierStatistik::Bildschirm);
    EXPECT_EQ(leinwand->polygone.size(), 2u);
    EXPECT_NE(leinwand->Finde("Tragzeit Ø: 287 Tage"), nullptr);
    for (const auto& t : leinwand->texte)
        EXPECT_FALSE(t.s.startsWith("Zwischenkalbezeit")) << t.s.toStdString();
}

TEST_F(TierStatistik, ThumbnailsDrawNoTextButTheSubtitle)
{
    Zeichne<TZwischenkalbezeitTier>(berta, TTierStatistik::Miniatur);
    ASSERT_EQ(leinwand->texte.size(), 1u);
    EXPECT_EQ(leinwand->texte[0].s, "7 Berta");
    EXPECT_EQ(QPoint(leinwand->texte[0].x, leinwand->texte[0].y), QPoint(5, 5));
    EXPECT_EQ(leinwand->polygone.size(), 8u);

    leinwand = std::make_shared<AufzeichnendeLeinwand>();
    Zeichne<TBesamungsindexTier>(berta, TTierStatistik::Miniatur);
    ASSERT_EQ(leinwand->texte.size(), 1u);
    EXPECT_EQ(leinwand->texte[0].s, "7 Berta");
    EXPECT_EQ(leinwand->tortenstuecke.size(), 4u);
    EXPECT_TRUE(leinwand->rundboxen.empty());
}

TEST_F(TierStatistik, CalvingIntervalInBlackAndWhiteHatchesOverWhite)
{
    auto g = Zeichne<TZwischenkalbezeitTier>(berta, TTierStatistik::Druckmodus, false);
    EXPECT_EQ(g->X0, 500);
    for (const auto& t : leinwand->texte)
        EXPECT_EQ(t.farbe, 0u) << t.s.toStdString();
    EXPECT_TRUE(leinwand->polygone[0].leer) << "no box fill on paper";
    // 280 days: white, then forward hatch; 405 days: white, then backward hatch.
    ASSERT_GE(leinwand->polygone.size(), 5u);
    EXPECT_EQ(leinwand->polygone[1].stil, exSolid);
    EXPECT_EQ(leinwand->polygone[1].brush, 0xFFFFFFu);
    EXPECT_EQ(leinwand->polygone[2].stil, exFDiagonal);
    EXPECT_EQ(leinwand->polygone[4].stil, exBDiagonal);
    EXPECT_EQ(leinwand->texte.back().s, "7 Berta");
    EXPECT_EQ(leinwand->flaechen, 0);
}

TEST(BesamungsAuswertung, ClassesSharesAndIndex)
{
    struct Fall {
        std::vector<std::optional<int>> anzahlen;
        std::array<int, 7> klassen;
        QString text;
    };
    const std::vector<Fall> faelle{
        {{1, 1, 3, std::nullopt}, {2, 0, 1, 0, 0, 0, 1}, "Besamungsindex: 1.67"},
        {{9, 1}, {1, 0, 0, 0, 0, 1, 0}, "Besamungsindex: 5.00"},
        {{0, std::nullopt}, {0, 0, 0, 0, 0, 0, 2}, "Besamungsindex: -.--"},
        {{}, {}, "Besamungsindex: -.--"},
    };
    for (const Fall& f : faelle) {
        BesamungsAuswertung a;
        for (auto n : f.anzahlen)
            a.Hinzufuegen(n);
        EXPECT_EQ(a.kalbungen, int(f.anzahlen.size()));
        EXPECT_EQ(a.klassen, f.klassen);
        EXPECT_EQ(a.IndexText(), f.text);
    }
}

TEST_F(TierStatistik, InseminationIndexShowsRowsPieAndIndex)
{
    auto g = Zeichne<TBesamungsindexTier>(berta, TTierStatistik::Bildschirm);
    EXPECT_NE(leinwand->Finde("4 Kalbungen"), nullptr);
    EXPECT_NE(leinwand->Finde("Besamungsindex: 2.00"), nullptr);
    for (const char* legende : {"1 Bes.", ">= 6 Bes.", "Unbek.", "1. Kal", "4. Kal"})
        EXPECT_NE(leinwand->Finde(legende), nullptr) << legende;
    // Seven legend rows and four calving rows; the third calving in the grey class.
    ASSERT_EQ(leinwand->rundboxen.size(), 11u);
    EXPECT_EQ(leinwand->rundboxen[10].top(), g->ErsteZeileY + 11 * g->ZeilenHoehe);
    int viertel = 0;
    for (const auto& t : leinwand->texte)
        viertel += t.s == "25.00%";
    EXPECT_EQ(viertel, 4);
    ASSERT_EQ(leinwand->tortenstuecke.size(), 4u);
    EXPECT_EQ(leinwand->tortenstuecke[0].brush, 0x008000u);
    EXPECT_EQ(leinwand->tortenstuecke[3].brush, 0xC0C0C0u);
    // The first slice ends at the right, where the second begins.
    EXPECT_EQ(leinwand->tortenstuecke[0].punkte[2], QPoint(g->TorteX + g->RX, g->TorteY));
    EXPECT_EQ(leinwand->tortenstuecke[1].punkte[3], QPoint(g->TorteX + g->RX, g->TorteY));
}

TEST_F(TierStatistik, InseminationIndexOfOneClassTakesTheWholePie)
{
    auto g = Zeichne<TBesamungsindexTier>(lisa, TTierStatistik::Bildschirm);
    EXPECT_NE(leinwand->Finde("1 Kalbung"), nullptr);
    EXPECT_NE(leinwand->Finde("100.00%"), nullptr);
    ASSERT_EQ(leinwand->tortenstuecke.size(), 1u);
    const auto& p = leinwand->tortenstuecke[0].punkte;
    EXPECT_EQ(p[2], p[3]) << "equal end points: the full ellipse";
    EXPECT_EQ(p[3], QPoint(g->TorteX, g->TorteY - g->RY));
    // The rim spans the whole front half.
    ASSERT_EQ(leinwand->polygone.size(), 1u);
    EXPECT_EQ(leinwand->polygone[0].punkte.front(),
              QPoint(g->TorteX + g->RX, g->TorteY + g->Tiefe));
}

TEST_F(TierStatistik, InseminationIndexWithoutCalvings)
{
    Zeichne<TBesamungsindexTier>(anna, TTierStatistik::Bildschirm);
    EXPECT_NE(leinwand->Finde("0 Kalbungen"), nullptr);
    EXPECT_NE(leinwand->Finde("Besamungsindex: -.--"), nullptr);
    EXPECT_TRUE(leinwand->tortenstuecke.empty());
}

TEST_F(TierStatistik, ManyCalvingRowsStayInsideTheChart)
{
    tr.Commit();
    for (int i = 0; i < 40; ++i)
        Kalbung(anna, QDate(1980, 1, 1).addDays(400 * i), {});
    tr.Start();
    for (std::uint8_t modus : {TTierStatistik::Bildschirm, TTierStatistik::Druckmodus}) {
        leinwand = std::make_shared<AufzeichnendeLeinwand>();
        auto g = Zeichne<TBesamungsindexTier>(anna, modus);
        EXPECT_NE(leinwand->Finde("40 Kalbungen"), nullptr);
        EXPECT_NE(leinwand->Finde("1. Kal"), nullptr);
        EXPECT_EQ(leinwand->Finde("40. Kal"), nullptr);
        for (const QRect& r : leinwand->rundboxen)
            EXPECT_LE(r.bottom(), g->Ursprung.y() + g->Hoehe) << int(modus);
        for (const auto& t : leinwand->texte)
            EXPECT_LE(t.y, g->Ursprung.y() + g->Hoehe) << t.s.toStdString();
    }
}

// The charts of Berta in every mode as PNG files under the build folder, for looking at.
TEST_F(TierStatistik, Screenshots)
{
    const auto bild = [&](auto* typ, std::uint8_t modus, bool farbig, const QString& name) {
        using G = std::remove_pointer_t<decltype(typ)>;
        const bool druck = modus == TTierStatistik::Druckmodus;
        QImage img(druck                               ? QSize(2970, 2100)
                   : modus == TTierStatistik::Miniatur ? QSize(250, 150)
                                                       : QSize(700, 500),
                   QImage::Format_RGB32);
        img.fill(Qt::white);
        if (druck) {
            // Ten pixels per millimetre, so that point sizes match the paper.
            img.setDotsPerMeterX(10000);
            img.setDotsPerMeterY(10000);
        }
        {
            QPainter painter(&img);
            painter.setRenderHint(QPainter::Antialiasing);
            Zeichne<G>(berta, modus, farbig, std::make_shared<TMyGDICanvas>(painter));
        }
        if (druck)
            img = img.scaled(1485, 1050, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        BildSpeichern(img, name + ".png");
    };
    for (auto [modus, farbig, name] : {std::tuple{TTierStatistik::Bildschirm, true, "bildschirm"},
                                       {TTierStatistik::Miniatur, true, "miniatur"},
                                       {TTierStatistik::Druckmodus, true, "druck"},
                                       {TTierStatistik::Druckmodus, false, "druck-sw"}}) {
        bild(static_cast<TZwischenkalbezeitTier*>(nullptr), std::uint8_t(modus), farbig,
             QStringLiteral("zwischenkalbezeit-%1").arg(QLatin1String(name)));
        bild(static_cast<TBesamungsindexTier*>(nullptr), std::uint8_t(modus), farbig,
             QStringLiteral("besamungsindex-%1").arg(QLatin1String(name)));
    }
}

}  // namespace
