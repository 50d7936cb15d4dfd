#include "HerdeTest.h"
#include "../preview/DruckTestHilfe.h"

#include <AMCbRb.h>
#include <Bildschirmfoto.h>
#include <DruckMLPDatenTier.h>
#include <DruckStammdatenblatt.h>
#include <DruckTierarztTier.h>
#include <Stammdaten.h>
#include <StammdatenDrucken.h>
#include <VorschauFenster.h>

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <vector>

namespace {

const char* const BoxNamen[TierDruckAnzahl] = {"Stammdaten",     "Tierarzt",
                                               "MLPDaten",       "Laktationsgrafik",
                                               "Besamungsindex", "Zwischenkalbezeit"};

// A preview that came up: its print job's title and its page display.
struct Vorschau {
    QString titel;
    QString seiten;
    std::vector<TextEintrag> texte;
};

// "Drucken" of the card, driven as a user does: the print dialog, then every preview it opens.
class StammdatenDruckenTest : public HerdeTest {
protected:
    void SetUp() override
    {
        HerdeTest::SetUp();
        ProgDatum::HeuteSetzen(QDate(2025, 6, 15));
        Ausfuehren({QString("INSERT INTO T_KALBUNGEN (TIER, DATUM, NUMMER, GESCHLECHT, VERLAUF, "
                            "NR) VALUES (%1, DATE '2025-01-10', 'DE 01 777 77777', 'W', 'leicht', "
                            "1)")
                        .arg(berta),
                    QString("INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER, NUMMER, NR) VALUES "
                            "(%1, DATE '2024-04-02', 'CARLO', '276000123', 1)")
                        .arg(berta)});
        karte = std::make_unique<TfrmStammdaten>();
    }
    void TearDown() override
    {
        karte.reset();
        HerdeTest::TearDown();
    }

    void Zeigen(int id)
    {
        karte->TierAnzeigen(id, 0, {});
        karte->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(karte.get()));
    }

    QPushButton* DruckenKnopf() { return karte->findChild<QPushButton*>("btnDrucken"); }

    // Clicks "Drucken" on the card, lets schritt work the print dialog and closes every preview
    // that follows, recording it.
    std::vector<Vorschau> Drucken(std::function<void(TfrmStammdatenDrucken&)> schritt)
    {
        std::vector<Vorschau> vorschauen;
        MessageBoxScript fenster;
        fenster.Window<TfrmStammdatenDrucken>(std::move(schritt))
            .EveryWindow<TfmPreview>(
                [&](TfmPreview& form) {
                    vorschauen.push_back(
                        {form.Preview().Title(), form.Seiten().text(), Texte(form.Paper())});
                    form.reject();
                },
                // Closed once the job has laid out its pages.
                [](TfmPreview& form) { return !form.Paper().SizeList().empty(); });
        QTest::mouseClick(DruckenKnopf(), Qt::LeftButton);
        EXPECT_EQ(fenster.PendingWindows(), 0);
        return vorschauen;
    }

    // The dialog's boxes as the card preset them: enabled and checked, in box order.
    struct Stand {
        std::array<bool, TierDruckAnzahl> frei{};
        std::array<bool, TierDruckAnzahl> gewaehlt{};
        bool farbe = false;
    };
    Stand Vorbelegung()
    {
        Stand stand;
        Drucken([&stand](TfrmStammdatenDrucken& d) {
            for (int i = 0; i < TierDruckAnzahl; ++i) {
                auto* box = d.findChild<TAMCheckBox*>(BoxNamen[i]);
                stand.frei[std::size_t(i)] = box && box->isEnabled();
                stand.gewaehlt[std::size_t(i)] = box && box->isChecked();
            }
            stand.farbe = d.Farbe()->isChecked();
            QTest::mouseClick(d.findChild<QPushButton*>("Schliessen"), Qt::LeftButton);
        });
        return stand;
    }

    std::unique_ptr<TfrmStammdaten> karte;
};

TEST_F(StammdatenDruckenTest, ShownPagePreselectsItsPrintout)
{
    Zeigen(berta);
    ASSERT_TRUE(DruckenKnopf() && DruckenKnopf()->isEnabled());
    // Every page of the card, and the box each checks.
    const std::pair<int, int> faelle[] = {{0, 0}, {1, 0}, {2, 1}, {3, 2},
                                          {4, 0}, {5, 3}, {6, 4}, {7, 5}};
    for (const auto& [seite, box] : faelle) {
        ASSERT_TRUE(karte->SeiteWechseln(seite)) << seite;
        const Stand stand = Vorbelegung();
        for (int i = 0; i < TierDruckAnzahl; ++i) {
            EXPECT_EQ(stand.gewaehlt[std::size_t(i)], i == box) << "page " << seite << " box " << i;
            EXPECT_TRUE(stand.frei[std::size_t(i)]) << "page " << seite << " box " << i;
        }
        EXPECT_FALSE(stand.farbe);
        EXPECT_TRUE(karte->isVisible());
    }
}

// Every page of the card: the page's own printout when offered, else the sheet.
TEST(DruckAuswahl, PresetsByPageAndCalvings)
{
    const int S = int(TTierDruck::Stammdaten), T = int(TTierDruck::Tierarzt),
              M = int(TTierDruck::MLPDaten), L = int(TTierDruck::Laktationsgrafik),
              B = int(TTierDruck::Besamungsindex), Z = int(TTierDruck::Zwischenkalbezeit);
    const struct {
        int seite;
        bool kalbungen;
        int gewaehlt;  // -1: none
    } faelle[] = {{0, true, S},   {1, true, S},   {2, true, T},   {3, true, M},  {4, true, S},
                  {5, true, L},   {6, true, B},   {7, true, Z},   {2, false, T}, {3, false, -1},
                  {5, false, -1}, {6, false, -1}, {7, false, -1}, {0, false, S}};
    for (const auto& f : faelle) {
        const TDruckAuswahl a = DruckAuswahlVorbelegen(f.seite, f.kalbungen);
        for (int i = 0; i < TierDruckAnzahl; ++i) {
            const bool frei = i == S || i == T || f.kalbungen;
            EXPECT_EQ(a.frei[std::size_t(i)], frei) << f.seite << " " << i;
            EXPECT_EQ(a.gewaehlt[std::size_t(i)], i == f.gewaehlt) << f.seite << " " << i;
        }
        EXPECT_FALSE(a.farbig);
    }
}

TEST_F(StammdatenDruckenTest, WithoutCalvingsOnlySheetAndTreatmentsAreOffered)
{
    Zeigen(lisa);
    for (const auto& [seite, box] : {std::pair{0, 0}, std::pair{4, 0}}) {
        ASSERT_TRUE(karte->SeiteWechseln(seite));
        const Stand stand = Vorbelegung();
        for (int i = 0; i < TierDruckAnzahl; ++i) {
            EXPECT_EQ(stand.frei[std::size_t(i)], i <= int(TTierDruck::Tierarzt)) << i;
            EXPECT_EQ(stand.gewaehlt[std::size_t(i)], i == box) << seite << " " << i;
        }
    }
}

TEST_F(StammdatenDruckenTest, ChosenPrintoutsComeUpInTheirOrder)
{
    Zeigen(berta);
    const auto vorschauen = Drucken([](TfrmStammdatenDrucken& d) {
        for (const char* name : {"Stammdaten", "Tierarzt", "MLPDaten", "Laktationsgrafik",
                                 "Besamungsindex", "Zwischenkalbezeit", "Farbe"})
            d.findChild<TAMCheckBox*>(name)->setChecked(true);
        QTest::mouseClick(d.findChild<QPushButton*>("Drucken"), Qt::LeftButton);
    });
    ASSERT_EQ(vorschauen.size(), 6u);
    EXPECT_EQ(vorschauen[0].titel, TDruckStammdatenblatt::Titel);
    EXPECT_EQ(vorschauen[1].titel, TDruckTierarztTier::Titel);
    EXPECT_EQ(vorschauen[2].titel, TDruckMLPDatenTier::Titel);
    EXPECT_EQ(vorschauen[3].titel, "Laktationsgrafik");
    EXPECT_EQ(vorschauen[4].titel, "Besamungsindex");
    EXPECT_EQ(vorschauen[5].titel, "Zwischenkalbezeit");
    for (const Vorschau& v : vorschauen)
        EXPECT_EQ(v.seiten, "Seite 1 / 1") << v.titel.toStdString();
    EXPECT_TRUE(Finde(vorschauen[0].texte, "Berta"));
    EXPECT_TRUE(Finde(vorschauen[2].texte, "Tier: 007 - Berta - DE 01 111 11111"));
    // The charts carry the card's caption of the animal.
    EXPECT_TRUE(std::any_of(vorschauen[3].texte.begin(), vorschauen[3].texte.end(),
                            [](const TextEintrag& t) {
                                return t.text.startsWith("007 - Berta - DE 01 111 11111 - ") &&
                                       t.text.endsWith(". Laktation");
                            }))
        << "the lactation chart names its lactation after the caption";
    for (int i : {4, 5})
        EXPECT_TRUE(Finde(vorschauen[i].texte, "007 - Berta - DE 01 111 11111")) << i;
    EXPECT_TRUE(karte->isVisible());
}

TEST_F(StammdatenDruckenTest, CloseAndPrinterSetupPrintNothing)
{
    Zeigen(berta);
    bool einrichtung = false;
    bool offenDanach = false;
    const auto vorschauen = Drucken([&](TfrmStammdatenDrucken& d) {
        MessageBoxScript seite;
        seite.Window<QPageSetupDialog>([&einrichtung](QPageSetupDialog& s) {
            einrichtung = true;
            s.reject();
        });
        QTest::mouseClick(d.findChild<QPushButton*>("Einrichten"), Qt::LeftButton);
        offenDanach = d.isVisible();
        QTest::mouseClick(d.findChild<QPushButton*>("Schliessen"), Qt::LeftButton);
    });
    EXPECT_TRUE(einrichtung);
    EXPECT_TRUE(offenDanach) << "the dialog stays open after the printer set-up";
    EXPECT_TRUE(vorschauen.empty());
}

TEST_F(StammdatenDruckenTest, SheetShowsTheRemarkJustEnteredOnTheCard)
{
    Zeigen(berta);
    QTest::keyClick(karte.get(), Qt::Key_F7);
    QTest::mouseClick(karte->findChild<QPushButton*>("btnBemerkungHinzufuegen"), Qt::LeftButton);
    auto* memo = karte->findChild<QPlainTextEdit*>("memBemerkung");
    ASSERT_TRUE(memo && memo->isEnabled());
    QTest::keyClicks(memo, "Lahmt hinten links");
    const auto vorschauen = Drucken([](TfrmStammdatenDrucken& d) {
        EXPECT_TRUE(d.Box(TTierDruck::Stammdaten)->isChecked());
        QTest::mouseClick(d.findChild<QPushButton*>("Drucken"), Qt::LeftButton);
    });
    ASSERT_EQ(vorschauen.size(), 1u);
    EXPECT_TRUE(Finde(vorschauen[0].texte, "Lahmt hinten links"));
}

TEST_F(StammdatenDruckenTest, Bildschirmfoto)
{
    Zeigen(berta);
    Drucken([](TfrmStammdatenDrucken& d) {
        Bildschirmfoto(d, "StammdatenDrucken.png");
        d.reject();
    });
}

}  // namespace
