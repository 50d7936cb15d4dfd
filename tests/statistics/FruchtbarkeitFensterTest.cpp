// The milk delivery, calving interval and insemination index windows opened from the main
// window's menu as a user would, their value panels and dialogs, and their printouts as PDF read
// back with pdftotext.

#include "../preview/DruckTestHilfe.h"

#include <Vorschau.h>
#include "FruchtbarkeitHerde.h"

#include <FBesamungsindexStatistik.h>
#include <FMilchanlieferungStatistik.h>
#include <FZwischenkalbezeitStatistik.h>
#include <Haupt.h>
#include <StatistikAktionen.h>

#include <DBZRDateEdit.h>
#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <ProgDatum.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QDate Heute{2025, 6, 15};

class FruchtbarkeitFensterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(daten.isValid());
        ProgDatum::HeuteSetzen(Heute);
        statistik_test::FruchtbarkeitHerdeAnlegen(t.Db());
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        DM()->Datenbank.Open(t.Params());
    }
    void TearDown() override
    {
        haupt.reset();
        EinstellungenFreigeben();
        DMFreigeben();
        ProgDatum::HeuteSetzen(QDate());
    }

    void HauptfensterZeigen()
    {
        haupt = std::make_unique<TfrmHaupt>();
        haupt->setWindowState(Qt::WindowNoState);
        haupt->resize(1200, 800);
        StatistikAktionenVerbinden(*haupt);
        haupt->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(haupt.get()));
    }

    template <class F>
    F* Aktiv()
    {
        QMdiSubWindow* kind = haupt->MdiArea()->activeSubWindow();
        return kind ? qobject_cast<F*>(kind->widget()) : nullptr;
    }

    // The chart printed into a PDF file, as pdftotext reads it.
    static QString PdfText(TStatistik& g, const QString& name)
    {
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        EXPECT_FALSE(pdftotext.isEmpty()) << "poppler-utils is needed (scripts/install-deps.sh)";
        QTemporaryDir ordner;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        QPrinterGeraet geraet(printer);
        auto ausgabe = std::make_unique<QPrinterOutput>(printer);
        ausgabe->FileNameQuery = [&](const QString&) { return QDir(ordner.path()).filePath(name); };
        TStatistikDruck druck(g, geraet, std::move(ausgabe));
        druck.Titel = g.GetTitel();
        druck.DruckeInhalt(nullptr);
        QImage seite(druck.Paper().Width(), druck.Paper().Height(), QImage::Format_RGB32);
        seite.fill(Qt::white);
        {
            QPainter maler(&seite);
            druck.Paper().DrawToCanvas(maler, 100, 1, false);
        }
        BildSpeichern(seite, name + "_druck.png");
        druck.Preview->Print();
        const QString datei = QDir(ordner.path()).filePath(name + ".pdf");
        EXPECT_TRUE(QFileInfo::exists(datei));
        QProcess leser;
        leser.start(pdftotext, {"-layout", datei, "-"});
        EXPECT_TRUE(leser.waitForFinished(30000));
        return QString::fromUtf8(leser.readAllStandardOutput());
    }

    TestDatabase t;
    QTemporaryDir daten;
    ScopedEnv datenHome{"XDG_DATA_HOME", daten.path().toLocal8Bit()};
    std::unique_ptr<TfrmHaupt> haupt;
};

TEST_F(FruchtbarkeitFensterTest, MilkDeliveriesFromTheMenuWithValuePanel)
{
    HauptfensterZeigen();
    MessageBoxScript bedienung;
    bedienung.Window<TfrmMilchanlieferungAuswahl>([](TfrmMilchanlieferungAuswahl& d) {
        EXPECT_EQ(d.VonBox()->count(), 11);
        EXPECT_EQ(d.VonBox()->currentText(), QStringLiteral("01.2024")) << "unset: the first";
        EXPECT_EQ(d.BisBox()->currentText(), QStringLiteral("12.2024")) << "unset: the last";
        Bildschirmfoto(d, "milchanlieferung_auswahl.png");
        QTest::mouseClick(d.Eigenpreis(), Qt::LeftButton);
        QTest::mouseClick(d.Ok(), Qt::LeftButton);
    });
    haupt->Aktion(QStringLiteral("actMilchanlieferungStatistik"))->trigger();
    EXPECT_EQ(bedienung.PendingWindows(), 0);
    auto* f = Aktiv<TfrmMilchanlieferungStatistik>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Milchanlieferung von 01.2024 bis 12.2024"));
    EXPECT_EQ(f->property("HelpContext").toInt(), 12100);
    EXPECT_FALSE(Einstellungen()->GetMilchanlieferungStatistikEigenpreis());
    TMilchanlieferung& c = *f->Chart;
    EXPECT_FALSE(c.Eigenpreis);
    EXPECT_EQ(c.AnzahlMonate, 12) << "May has no row but a column";
    EXPECT_EQ(double(c.SkalaMax), 25000.0);
    EXPECT_EQ(c.SkalaSchritt, 5000);

    // March was delivered in marks: its money and price in euros.
    const auto doppelklick = [&](int monat) {
        const int x = int(c.Links + (monat - 0.5) * c.MonatsBreite);
        QTest::mouseDClick(f->Statistik(), Qt::LeftButton, {}, QPoint(x, 200));
    };
    doppelklick(3);
    ASSERT_TRUE(f->Daten()->isVisible());
    EXPECT_EQ(f->DatenTitel()->text(), QStringLiteral("Monat 03.2024"));
    EXPECT_EQ(f->Text(0)->text(), QStringLiteral(" Menge:"));
    EXPECT_EQ(f->Wert(0)->text(), QStringLiteral("21.000"));
    EXPECT_EQ(f->Wert(1)->text(), QStringLiteral("(EUR) 511,29"));
    EXPECT_EQ(f->Wert(2)->text(), QStringLiteral("4,05"));
    EXPECT_EQ(f->Wert(4)->text(), QStringLiteral("50"));
    EXPECT_EQ(f->Wert(6)->text(), QStringLiteral("30,68"));
    doppelklick(6);
    EXPECT_EQ(f->Wert(1)->text(), QStringLiteral("(EUR) 10.320,00"));
    Bildschirmfoto(*haupt, "milchanlieferung_fenster.png");
    doppelklick(5);
    EXPECT_EQ(f->DatenTitel()->text(), QStringLiteral("Monat 05.2024"));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(f->Wert(i)->text(), QStringLiteral("---")) << i;
    EXPECT_FALSE(f->Text(8)->isVisible());
}

TEST_F(FruchtbarkeitFensterTest, MilkDeliveriesInTheStandardCurrencyAndPrinted)
{
    db::Transaction tr(DM()->Datenbank);
    tr.Start();
    auto fenster = CreateBildschirm<TMilchanlieferung>(nullptr, &tr);
    fenster->Von = QDate(2024, 1, 1);
    fenster->Bis = QDate(2024, 12, 1);
    fenster->Waehrung = 2;
    auto g = CreateDruck<TMilchanlieferung>(&tr, true);
    g->Assign(*fenster);
    const QString text = PdfText(*g, "milchanlieferung");
    // In schillings June's money is 10,320 x 13.7603 = 142,006.30; scaled by a tenth it stays
    // below the 24,000 kg.
    EXPECT_EQ(double(g->SkalaMax), 25000.0);
    EXPECT_NEAR(g->Zeilen()[4].Milchgeld, 142006.30, 1e-6);
    for (const char* s :
         {"Milchanlieferung von 01.2024 bis 12.2024", "25.000(0)", "5.000(0)", "Milchgeld &",
          "-menge", "Werte", "Preis bei 3,7%", "Eigenpreis", "Zellzahl", "Menge"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s << "\n" << text.toStdString();
}

TEST(MilchanlieferungRegeln, ScaleCurrencyAndMonths)
{
    struct Fall {
        long double maximum, skala;
        int schritt;
    };
    for (const Fall& f :
         {Fall{24000, 25000, 5000}, Fall{30000, 40000, 10000}, Fall{0, 1000, 1000},
          Fall{14999, 15000, 1000}, Fall{15000, 20000, 5000}, Fall{10000, 11000, 1000}}) {
        long double skala = 0;
        int schritt = 0;
        TMilchanlieferung::Skala(f.maximum, skala, schritt);
        EXPECT_EQ(double(skala), double(f.skala)) << double(f.maximum);
        EXPECT_EQ(schritt, f.schritt) << double(f.maximum);
    }
    EXPECT_EQ(TMilchanlieferung::Umrechnen(1000, "DEM", 0), 511.29);
    EXPECT_EQ(TMilchanlieferung::Umrechnen(100, "EUR", 2), 1376.03);
    EXPECT_EQ(TMilchanlieferung::Umrechnen(100.05, "EUR", 0), 100.05);
    EXPECT_EQ(TMilchanlieferung::Monate(QDate(2023, 11, 1), QDate(2024, 2, 1)), 4);
}

TEST_F(FruchtbarkeitFensterTest, MilkDeliveryDialogKeepsTheRangeWithin1820Days)
{
    {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        db::Query(tr, QStringLiteral("INSERT INTO T_MILCHANLIEFERUNG (ID, MONAT, MENGE) VALUES "
                                     "(100, DATE '2015-01-01', 1000)"))
            .Execute();
        db::Query(tr, QStringLiteral("INSERT INTO T_MILCHANLIEFERUNG (ID, MONAT, MENGE) VALUES "
                                     "(101, DATE '2019-06-01', 1000)"))
            .Execute();
        tr.Commit();
    }
    Einstellungen()->SetMilchanlieferungStatistikVon(QDate(2024, 3, 1));
    Einstellungen()->SetMilchanlieferungStatistikBis(QDate(2024, 2, 1));
    TfrmMilchanlieferungAuswahl d(*Einstellungen(), DM()->Datenbank);
    EXPECT_EQ(d.VonBox()->currentText(), QStringLiteral("03.2024"));
    EXPECT_EQ(d.BisBox()->currentText(), QStringLiteral("03.2024")) << "bis before von: von";
    d.VonBox()->setCurrentIndex(0);  // 01.2015: more than 1820 days before 03.2024
    d.vonSelect();
    EXPECT_EQ(d.BisBox()->currentText(), QStringLiteral("06.2019"))
        << "the latest month up to 01.2015 + 1820 days";
    d.BisBox()->setCurrentIndex(d.BisBox()->count() - 1);  // 12.2024
    d.bisSelect();
    EXPECT_EQ(d.VonBox()->currentText(), QStringLiteral("01.2024"))
        << "the earliest month from 12.2024 - 1820 + 31 days (01.2020) on";
    d.BisBox()->setCurrentIndex(0);
    d.bisSelect();
    EXPECT_EQ(d.VonBox()->currentText(), QStringLiteral("01.2015")) << "von follows bis";
}

TEST_F(FruchtbarkeitFensterTest, NoMilkDeliveriesNoWindow)
{
    {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        db::Query(tr, QStringLiteral("DELETE FROM T_MILCHANLIEFERUNG")).Execute();
        tr.Commit();
    }
    HauptfensterZeigen();
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    haupt->Aktion(QStringLiteral("actMilchanlieferungStatistik"))->trigger();
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text,
              QStringLiteral("Es sind keine Milchanlieferungs-Daten vorhanden"));
    EXPECT_TRUE(haupt->MdiArea()->subWindowList().isEmpty());
}

TEST_F(FruchtbarkeitFensterTest, MilkChartWithoutRowsDrawsEmptyAxes)
{
    db::Transaction tr(DM()->Datenbank);
    tr.Start();
    auto c = CreateBildschirm<TMilchanlieferung>(nullptr, &tr);
    c->Von = QDate(2030, 1, 1);
    c->Bis = QDate(2030, 12, 1);
    QImage bild(c->Breite, c->Hoehe, QImage::Format_RGB32);
    {
        QPainter maler(&bild);
        c->SetCanvas(std::make_shared<TMyGDICanvas>(maler));
        c->Zeichnen();
        c->SetCanvas(nullptr);
    }
    EXPECT_EQ(c->AnzahlMonate, 0);
    QString titel;
    std::vector<TBestandWert> werte;
    EXPECT_FALSE(c->MonatsWerte(c->Links + 10, titel, werte));
}

TEST_F(FruchtbarkeitFensterTest, CalvingIntervalFromTheMenuWithDetailStrip)
{
    HauptfensterZeigen();
    haupt->Aktion(QStringLiteral("actZwischenkalbezeitStatistik"))->trigger();
    auto* f = Aktiv<TfrmZwischenkalbezeitStatistik>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Zwischenkalbezeit"));
    EXPECT_EQ(f->property("HelpContext").toInt(), 12400);
    TZwischenkalbezeitBestand& c = *f->Chart;
    EXPECT_EQ(c.Gruppen()[6].ZwkzMittel, 375);

    // Over 2022: the strip shows its single values, the interval of 375 days in red.
    const long double u = c.W / 20;
    const QPoint ueber2022(int(c.X0 + 12.5L * u), int(c.Y0 + c.H / 2));
    QTest::mouseMove(f->Statistik(), ueber2022);
    EXPECT_EQ(f->LetztesJahr(), 6);
    const QImage bild = f->Statistik()->pixmap().toImage();
    const int x = int(c.StreifenX - c.D + 45);
    const int y = int(c.Y0 + c.H - (375 - 325) * c.Tag());
    EXPECT_EQ(bild.pixelColor(x, y), QColor(255, 0, 0));
    Bildschirmfoto(*haupt, "zwischenkalbezeit_fenster.png");
    QTest::mouseMove(f->Statistik(), QPoint(5, 5));
    EXPECT_EQ(f->LetztesJahr(), -1);
    EXPECT_EQ(f->Statistik()->pixmap().toImage().pixelColor(x, y), QColor(0, 255, 255))
        << "cleared";

    db::Transaction tr(DM()->Datenbank);
    tr.Start();
    auto g = CreateDruck<TZwischenkalbezeitBestand>(&tr, true);
    const QString text = PdfText(*g, "zwischenkalbezeit");
    for (const char* s : {"Zwischenkalbe- und Tragzeit", "Kalbungen", "Abschlüsse", "ignorierte",
                          "Extremwerte", "2016", "2025", "375", "262", "465", "225"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s << "\n" << text.toStdString();
}

TEST_F(FruchtbarkeitFensterTest, InseminationIndexDialogAndWindow)
{
    TEinstellungen& e = *Einstellungen();
    {
        TfrmBesamungsindexAuswahl d(e);
        EXPECT_EQ(d.VonEdit()->Date(), QDate(2024, 1, 1)) << "empty: the previous year";
        EXPECT_EQ(d.BisEdit()->Date(), QDate(2024, 12, 31));
        d.VonEdit()->SetDate(QDate(2025, 3, 1));
        d.vonChange();
        EXPECT_EQ(d.BisEdit()->Date(), QDate(2025, 3, 1)) << "bis follows a later von";
        d.BisEdit()->SetDate(QDate(2022, 1, 1));
        d.bisChange();
        EXPECT_EQ(d.VonEdit()->Date(), QDate(2022, 1, 1));
        d.BisEdit()->clear();
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        EXPECT_FALSE(d.OkClick());
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text, QStringLiteral("Geben Sie ein gültiges 'Bis'-Datum ein"));
        EXPECT_FALSE(e.GetBesamungsindexStatistikVon().isValid()) << "nothing stored";
    }
    HauptfensterZeigen();
    MessageBoxScript bedienung;
    bedienung.Window<TfrmBesamungsindexAuswahl>([](TfrmBesamungsindexAuswahl& d) {
        d.VonEdit()->SetDate(QDate(2022, 1, 1));
        d.BisEdit()->SetDate(QDate(2022, 12, 31));
        Bildschirmfoto(d, "besamungsindex_auswahl.png");
        QTest::mouseClick(d.Ok(), Qt::LeftButton);
    });
    haupt->Aktion(QStringLiteral("actBesamungsindexStatistik"))->trigger();
    EXPECT_EQ(bedienung.PendingWindows(), 0);
    auto* f = Aktiv<TfrmBesamungsindexStatistik>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Besamungsindex von 01.01.2022 bis 31.12.2022"));
    EXPECT_EQ(f->property("HelpContext").toInt(), 12300);
    EXPECT_EQ(f->Chart->Zaehlung().IndexText(), QStringLiteral("Besamungsindex: 3,33"));
    Bildschirmfoto(*haupt, "besamungsindex_fenster.png");

    db::Transaction tr(DM()->Datenbank);
    tr.Start();
    auto g = CreateDruck<TBesamungsindexBestand>(&tr, true);
    g->Assign(*f->Chart);
    const QString text = PdfText(*g, "besamungsindex");
    for (const char* s : {"Besamungsindex von 01.01.2022 bis 31.12.2022", "3 Kalbungen / 2 Abgänge",
                          "Besamungsindex: 3,33", "20,00%", "40,00%", ">= 6 Bes.", "Abgang"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s << "\n" << text.toStdString();
}

TEST_F(FruchtbarkeitFensterTest, CancelledDialogOpensNoWindow)
{
    HauptfensterZeigen();
    MessageBoxScript bedienung;
    bedienung.Window<TfrmBesamungsindexAuswahl>(
        [](TfrmBesamungsindexAuswahl& d) { QTest::mouseClick(d.Abbrechen(), Qt::LeftButton); });
    haupt->Aktion(QStringLiteral("actBesamungsindexStatistik"))->trigger();
    EXPECT_EQ(bedienung.PendingWindows(), 0);
    EXPECT_TRUE(haupt->MdiArea()->subWindowList().isEmpty());
}

}  // namespace
