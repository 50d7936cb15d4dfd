#include "../preview/DruckTestHilfe.h"
#include "StatistikHerde.h"

#include <FTierbestandStatistik.h>
#include <Haupt.h>
#include <StatistikAktionen.h>

#include <Datenmodul.h>
#include <DBZRDateEdit.h>
#include <Grundeinstellungen.h>
#include <ProgDatum.h>

#include <VorschauFenster.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using statistik_test::Heute;

// The herd of StatistikHerde.h in the program's data module, with the settings in a folder of
// the test's own and the main window with the statistics wired.
class TierbestandFensterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(daten.isValid());
        ProgDatum::HeuteSetzen(Heute);
        statistik_test::HerdeAnlegen(t.Db());
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
        // Wider than the offscreen screen: the legend of six columns needs some 1000 pixels.
        haupt->setWindowState(Qt::WindowNoState);
        haupt->resize(1200, 800);
        StatistikAktionenVerbinden(*haupt);
        haupt->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(haupt.get()));
    }

    static void Tippen(QLineEdit* e, const QString& text)
    {
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
    }

    // The statistic opened from the menu entry with the dialog answered by `waehlen` and "Ok".
    TfrmTierbestandStatistik* Oeffnen(std::function<void(TfrmTierbestandAuswahl&)> waehlen)
    {
        MessageBoxScript bedienung;
        bedienung.Window<TfrmTierbestandAuswahl>([waehlen](TfrmTierbestandAuswahl& d) {
            waehlen(d);
            QTest::mouseClick(d.Ok(), Qt::LeftButton);
        });
        haupt->Aktion(QStringLiteral("actTierbestandStatistik"))->trigger();
        EXPECT_EQ(bedienung.PendingWindows(), 0);
        QMdiSubWindow* kind = haupt->MdiArea()->activeSubWindow();
        return kind ? qobject_cast<TfrmTierbestandStatistik*>(kind->widget()) : nullptr;
    }

    TestDatabase t;
    QTemporaryDir daten;
    ScopedEnv datenHome{"XDG_DATA_HOME", daten.path().toLocal8Bit()};
    std::unique_ptr<TfrmHaupt> haupt;
};

TEST_F(TierbestandFensterTest, DialogKeepsTwoYearsAndStoresTheChoice)
{
    TEinstellungen& e = *Einstellungen();
    TfrmTierbestandAuswahl d(e);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    EXPECT_EQ(d.VonEdit()->Date(), QDate(2025, 1, 1)) << "empty: 1 January of this year";
    EXPECT_EQ(d.BisEdit()->Date(), QDate(2025, 12, 31));
    EXPECT_TRUE(d.Komplettnormal()->isChecked());
    EXPECT_TRUE(d.Prognose()->isChecked());
    EXPECT_TRUE(d.Prognose()->isEnabled());
    QTest::mouseClick(d.Kuhe(), Qt::LeftButton);
    EXPECT_FALSE(d.Prognose()->isEnabled()) << "no forecast of cows by lactation";
    QTest::mouseClick(d.Komplettantrag(), Qt::LeftButton);
    EXPECT_TRUE(d.Prognose()->isEnabled());

    Tippen(d.VonEdit(), QStringLiteral("01.01.2022"));
    EXPECT_EQ(d.BisEdit()->Date(), QDate(2023, 12, 31)) << "at most two years";
    Tippen(d.BisEdit(), QStringLiteral("01.06.2021"));
    EXPECT_EQ(d.VonEdit()->Date(), QDate(2021, 6, 1)) << "von follows a bis before it";
    Tippen(d.BisEdit(), QStringLiteral("01.06.2024"));
    EXPECT_EQ(d.VonEdit()->Date(), QDate(2022, 6, 2)) << "at most two years back";
    Tippen(d.VonEdit(), QStringLiteral("01.06.2026"));
    EXPECT_EQ(d.VonEdit()->Date(), Heute) << "the latest start is today";
    Tippen(d.VonEdit(), QStringLiteral("01.06.1970"));
    EXPECT_EQ(d.VonEdit()->Date(), QDate(1980, 1, 1));

    // A missing date: the message, the dialog stays and nothing is stored.
    d.VonEdit()->clear();
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        QTest::mouseClick(d.Ok(), Qt::LeftButton);
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text, QStringLiteral("Geben Sie ein gültiges 'Von'-Datum ein"));
    }
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(e.GetTierbestandStatistikVon().isValid());

    Tippen(d.VonEdit(), QStringLiteral("01.04.2025"));
    Tippen(d.BisEdit(), QStringLiteral("30.09.2025"));
    QTest::mouseClick(d.Prognose(), Qt::LeftButton);
    QTest::mouseClick(d.Ok(), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(e.GetTierbestandStatistikVon(), QDate(2025, 4, 1));
    EXPECT_EQ(e.GetTierbestandStatistikBis(), Heute) << "no forecast: up to today";
    EXPECT_FALSE(e.GetTierbestandStatistikPrognose());
    EXPECT_EQ(e.GetTierbestandStatistikArt(), 1);
}

TEST_F(TierbestandFensterTest, ForecastOfOnePremisesIsWarnedAbout)
{
    TEinstellungen& e = *Einstellungen();
    e.SetAktBetriebListen(21);
    e.SetTierbestandStatistikVon(QDate(2025, 5, 1));
    e.SetTierbestandStatistikBis(QDate(2025, 8, 1));
    TfrmTierbestandAuswahl d(e);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    EXPECT_TRUE(d.OkClick());
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.startsWith("Eine Bestandsprognose liefert nur"));
    EXPECT_EQ(e.GetTierbestandStatistikBis(), QDate(2025, 8, 1));
}

TEST_F(TierbestandFensterTest, OpenedFromTheMenuDrawnAndPrinted)
{
    Einstellungen()->SetTierbestandStatistikVon(Heute.addDays(-20));
    Einstellungen()->SetTierbestandStatistikBis(Heute.addDays(60));
    HauptfensterZeigen();
    MessageBoxScript foto;
    foto.Window<TfrmTierbestandAuswahl>([](TfrmTierbestandAuswahl& d) {
        Bildschirmfoto(d, "tierbestand_auswahl.png");
        d.reject();
    });
    haupt->Aktion(QStringLiteral("actTierbestandStatistik"))->trigger();
    EXPECT_EQ(foto.PendingWindows(), 0);
    EXPECT_TRUE(haupt->MdiArea()->subWindowList().isEmpty()) << "cancelled: no window";

    TfrmTierbestandStatistik* f = Oeffnen([](TfrmTierbestandAuswahl&) {});
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->windowTitle(),
              QStringLiteral("Tierbestand von 26.05.2025 bis 14.08.2025, Komplettbestand normal, "
                             "mit Prognose"));
    EXPECT_EQ(f->property("HelpContext").toInt(), 12200);
    const QSize flaeche = haupt->MdiArea()->viewport()->size();
    ASSERT_FALSE(f->Statistik()->pixmap().isNull());
    EXPECT_EQ(f->Statistik()->pixmap().size(),
              QSize(std::max(630, flaeche.width()), std::max(400, flaeche.height())));
    TTierbestand& c = *f->Chart;
    EXPECT_EQ(c.SkalaMax, 10);
    EXPECT_EQ(c.Engine().GetTag(Heute.addDays(30))[13], 2) << "Heidi has calved";

    // Double click on the column of day +30: the panel shows its values; a click hides it.
    const int x = int(c.Links + (50 + 0.5) * c.TagesBreite);
    QTest::mouseDClick(f->Statistik(), Qt::LeftButton, {}, QPoint(x, 200));
    ASSERT_TRUE(f->Daten()->isVisible());
    EXPECT_EQ(f->DatenTitel()->text(), QStringLiteral("Daten am 15.07.2025"));
    EXPECT_EQ(f->Text(9)->text(), QStringLiteral("Kühe"));
    EXPECT_EQ(f->Wert(9)->text(), QStringLiteral("2"));
    EXPECT_EQ(f->Text(11)->text(), QStringLiteral("Gesamt"));
    EXPECT_EQ(f->Wert(11)->text(), QStringLiteral("4"));
    EXPECT_EQ(f->Text(12)->text(), QStringLiteral("GVE"));
    EXPECT_FALSE(f->Text(13)->isVisible());
    EXPECT_TRUE(f->PfeilLinks()->isVisible());
    EXPECT_FALSE(f->PfeilRechts()->isVisible());
    EXPECT_EQ(f->Daten()->x(), c.SpaltenMitte(x) - 7);
    Bildschirmfoto(*haupt, "tierbestand_fenster.png");
    QTest::mouseClick(f->Statistik(), Qt::LeftButton, {}, QPoint(x, 200));
    EXPECT_FALSE(f->Daten()->isVisible());
    QTest::mouseDClick(f->Statistik(), Qt::LeftButton, {}, QPoint(c.Links - 5, 200));
    EXPECT_FALSE(f->Daten()->isVisible()) << "left of the axis: no panel";

    // "Drucken" of the main window shows the printout in the preview.
    haupt->AktionenAktualisieren();
    ASSERT_TRUE(haupt->Aktion(QStringLiteral("actDrucken"))->isEnabled());
    bool gesehen = false;
    QTimer schliessen;
    QObject::connect(&schliessen, &QTimer::timeout, [&] {
        auto* v = qobject_cast<TfmPreview*>(QApplication::activeModalWidget());
        // Looked at once the job has laid out its page.
        if (!v || !v->isVisible() || v->Paper().SizeList().empty())
            return;
        schliessen.stop();
        gesehen = true;
        EXPECT_TRUE(v->Preview().Title().contains(QStringLiteral("Tierbestand")))
            << v->Preview().Title().toStdString();
        const std::vector<TextEintrag> texte = Texte(v->Paper());
        EXPECT_NE(Finde(texte, f->windowTitle()), nullptr) << "the title line";
        EXPECT_NE(Finde(texte, QStringLiteral("  Mutterkühe")), nullptr);
        Bildschirmfoto(*v, "tierbestand_vorschau.png");
        v->reject();
    });
    schliessen.start(20);
    haupt->Aktion(QStringLiteral("actDrucken"))->trigger();
    EXPECT_TRUE(gesehen);
}

TEST(TierbestandDatenPlatz, PanelRightOfTheColumnUnlessItDoesNotFit)
{
    const QSize bild(800, 500), panel(150, 300);
    TDatenPlatz p = DatenPlatz(100, bild, panel);
    EXPECT_FALSE(p.PfeilRechts);
    EXPECT_EQ(p.Position, QPoint(93, 190));
    p = DatenPlatz(700, bild, panel);
    EXPECT_TRUE(p.PfeilRechts);
    EXPECT_EQ(p.Position, QPoint(557, 190));
    EXPECT_FALSE(DatenPlatz(640, bild, panel).PfeilRechts) << "640 + 150 + 10 fits exactly";
    EXPECT_TRUE(DatenPlatz(641, bild, panel).PfeilRechts);
}

// The window's printout: a fresh chart with the window's parameters in the print job, read back
// from the PDF by pdftotext, and its page as the preview shows it.
TEST_F(TierbestandFensterTest, PrintedToPdf)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    ASSERT_FALSE(pdftotext.isEmpty()) << "poppler-utils is needed (scripts/install-deps.sh)";
    db::Transaction tr(DM()->Datenbank);
    tr.Start();
    auto fensterChart = CreateBildschirm<TTierbestand>(nullptr, &tr);
    fensterChart->Von = Heute.addDays(-20);
    fensterChart->Prognose = true;
    fensterChart->Art = TTierbestand::KomplettAntrag;
    fensterChart->SetBis(Heute.addDays(60));
    fensterChart->Stall = 21;

    QTemporaryDir ordner;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrinterGeraet geraet(printer);
    auto ausgabe = std::make_unique<QPrinterOutput>(printer);
    ausgabe->FileNameQuery = [&](const QString&) {
        return QDir(ordner.path()).filePath("tierbestand");
    };
    auto g = CreateDruck<TTierbestand>(&tr, true);
    g->Assign(*fensterChart);
    TStatistikDruck druck(*g, geraet, std::move(ausgabe));
    druck.Titel = g->GetTitel();
    druck.DruckeInhalt(nullptr);
    EXPECT_EQ(g->Stall, 21);
    EXPECT_EQ(g->Engine().GetTag(Heute)[8], 0) << "Heidi stands on another premises";
    EXPECT_EQ(g->Engine().GetTag(Heute)[0], 1) << "Max";

    // Rotated, the date labels come out of the PDF in pieces: they are looked for in the job.
    EXPECT_NE(Finde(Texte(druck.Paper()), QStringLiteral("26.05.25")), nullptr);
    QImage seite(druck.Paper().Width(), druck.Paper().Height(), QImage::Format_RGB32);
    seite.fill(Qt::white);
    {
        QPainter maler(&seite);
        druck.Paper().DrawToCanvas(maler, 100, 1, false);
    }
    BildSpeichern(seite, "tierbestand_druck.png");

    druck.Preview->Print();
    const QString datei = QDir(ordner.path()).filePath("tierbestand.pdf");
    ASSERT_TRUE(QFileInfo::exists(datei));
    QProcess leser;
    leser.start(pdftotext, {"-layout", datei, "-"});
    ASSERT_TRUE(leser.waitForFinished(30000));
    const QString text = QString::fromUtf8(leser.readAllStandardOutput());
    for (const char* s : {"Tierbestand von 26.05.2025 bis 14.08.2025, Komplettbestand Antrag, mit "
                          "Prognose",
                          "Kälber bis 6 M", "Kalbinnen über 2 J", "Mutterkühe", "10"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s << "\n" << text.toStdString();
}

}  // namespace
