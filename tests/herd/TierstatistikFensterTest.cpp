#include "HerdeTest.h"

#include <BesamungsindexTier.h>
#include <FTierstatistik.h>
#include <Haupt.h>
#include <LaktationsgrafikSeite.h>
#include <Stammdaten.h>
#include <TierStatistikAnzeige.h>
#include <ZwischenkalbezeitTier.h>

#include <Bildschirmfoto.h>
#include <DBIndexImage.h>
#include <MessageBoxScript.h>

#include <QCoreApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QToolButton>

namespace {

TEST(TierstatistikRaster, ColumnsFollowTheScreenAndRowsTakeTheRest)
{
    struct Fall {
        int zellen, breite;
        TTierstatistikRaster raster;
    };
    const Fall faelle[] = {
        {5, 1024, {4, 2}}, {4, 1024, {4, 1}}, {9, 1024, {4, 3}}, {1, 1024, {1, 1}},
        {0, 1024, {1, 1}}, {3, 200, {1, 3}},  {8, 1920, {7, 2}}, {7, 1920, {7, 1}},
    };
    for (const Fall& f : faelle) {
        const TTierstatistikRaster r = TierstatistikRaster(f.zellen, f.breite);
        EXPECT_EQ(r.spalten, f.raster.spalten) << f.zellen << " " << f.breite;
        EXPECT_EQ(r.zeilen, f.raster.zeilen) << f.zellen << " " << f.breite;
    }
}

TEST(TierstatistikZellen, SameAnimalAndKindIsOneCellAndRemovalKeepsThePlace)
{
    TTierstatistikZellen z;
    bool neu = false;
    EXPECT_EQ(z.Hinzufuegen(17, artBesamungsindex, neu), 0);
    EXPECT_TRUE(neu);
    EXPECT_EQ(z.Zelle(0).Bitmap.size(), QSize(250, 150));
    EXPECT_EQ(z.Hinzufuegen(17, artBesamungsindex, neu), 0);
    EXPECT_FALSE(neu);
    EXPECT_EQ(z.Hinzufuegen(17, artLaktation, neu), 1);
    EXPECT_TRUE(neu);
    EXPECT_EQ(z.Hinzufuegen(18, artBesamungsindex, neu), 2);
    EXPECT_EQ(z.Hinzufuegen(18, artZwischenkalbezeit, neu), 3);
    EXPECT_EQ(z.Anzahl(), 4);

    EXPECT_EQ(z.Entfernen(4), -1) << "outside: nothing removed";
    EXPECT_EQ(z.Anzahl(), 4);
    EXPECT_EQ(z.Entfernen(3), 2) << "the last of four: the new last";
    EXPECT_EQ(z.Entfernen(0), 0) << "the first: the one that moved up";
    EXPECT_EQ(z.Zelle(0).Art, artLaktation);
    EXPECT_EQ(z.Finden(18, artBesamungsindex), 1);
    EXPECT_EQ(z.Finden(17, artBesamungsindex), -1);
    EXPECT_EQ(z.Entfernen(1), 0);
    EXPECT_EQ(z.Entfernen(0), -1) << "none left";
    EXPECT_EQ(z.Anzahl(), 0);
}

// Berta: three calvings after 1, 2 and 3 inseminations; Lisa: one after one; Anna: none. The
// main window holds the thumbnail window.
class TierstatistikFensterTest : public HerdeTest {
protected:
    void SetUp() override
    {
        HerdeTest::SetUp();
        ProgDatum::HeuteSetzen(QDate(2025, 6, 15));
        const QDate k1(2021, 3, 1);
        const QDate k2 = k1.addDays(390);
        const QDate k3 = k2.addDays(420);
        Kalbung(berta, k1, {k1.addDays(-280)});
        Kalbung(berta, k2, {k2.addDays(-300), k2.addDays(-279)});
        Kalbung(berta, k3, {k3.addDays(-330), k3.addDays(-310), k3.addDays(-284)});
        Kalbung(lisa, QDate(2025, 2, 1), {QDate(2024, 4, 20)});
        haupt = std::make_unique<TfrmHaupt>();
        haupt->resize(1100, 760);
    }
    void TearDown() override
    {
        karte.reset();
        haupt.reset();
        HerdeTest::TearDown();
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

    // The card with the quick list Anna, Berta, Lisa.
    void KarteZeigen(int tier)
    {
        karte = std::make_unique<TfrmStammdaten>(haupt.get());
        karte->TierAnzeigen(tier, 0,
                            QStringLiteral("SELECT ID, NAME, NUMMER FROM T_STAMMDATEN WHERE ID IN "
                                           "(%1, %2, %3) ORDER BY NAME")
                                .arg(berta)
                                .arg(lisa)
                                .arg(anna));
        karte->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(karte.get()));
    }
    void Taste(Qt::Key taste)
    {
        QTest::keyClick(karte.get(), taste);
        QCoreApplication::processEvents();
    }
    TTierStatistikAnzeige* Anzeige(int seite)
    {
        return TTierStatistikAnzeige::Auf(karte->findChild<QStackedWidget*>()->widget(seite));
    }
    QToolButton* UbernehmenKnopf() { return karte->findChild<QToolButton*>("Ubernehmen"); }

    // What a chart of kind G of the animal looks like on a picture of this size, drawn on its own.
    template <class G>
    QImage Referenz(int tier, QSize groesse, const QString& untertitel = {})
    {
        QImage bild(groesse, QImage::Format_RGB32);
        bild.fill(Qt::white);
        db::Transaction tr(t.Db());
        tr.Start();
        {
            QPainter painter(&bild);
            painter.setRenderHint(QPainter::Antialiasing);
            auto canvas = std::make_shared<TMyGDICanvas>(painter);
            std::unique_ptr<G> g = untertitel.isEmpty()
                                       ? TierGrafikBildschirm<G>(canvas, &tr)
                                       : TierGrafikMiniatur<G>(canvas, &tr, untertitel);
            g->Breite = groesse.width();
            g->Hoehe = groesse.height();
            g->SetTier(tier);
        }
        return bild;
    }

    // A click and the second press of a double click, as the mouse sends them.
    static void DoppelKlick(QTableView* liste, QPoint p)
    {
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(liste->viewport(), Qt::LeftButton, {}, p);
    }

    TfrmTierstatistik* Fenster()
    {
        for (QMdiSubWindow* k : haupt->MdiArea()->subWindowList())
            if (auto* f = qobject_cast<TfrmTierstatistik*>(k->widget()))
                return f;
        return nullptr;
    }

    std::unique_ptr<TfrmHaupt> haupt;
    std::unique_ptr<TfrmStammdaten> karte;
    const QString bertaText = QStringLiteral("007 - Berta - DE 01 111 11111");
};

TEST_F(TierstatistikFensterTest, ChartPagesShowTheChartOfTheAnimalTheCardStepsTo)
{
    KarteZeigen(berta);
    EXPECT_FALSE(UbernehmenKnopf()->isVisible());
    Taste(Qt::Key_F9);
    ASSERT_EQ(karte->AktuelleSeite(), 6);
    EXPECT_EQ(karte->windowTitle(), bertaText + " - Besamungsindex");
    EXPECT_TRUE(UbernehmenKnopf()->isVisible());
    EXPECT_TRUE(UbernehmenKnopf()->isEnabled());
    TTierStatistikAnzeige* index = Anzeige(6);
    ASSERT_TRUE(index);
    EXPECT_GT(index->width(), 600);
    EXPECT_EQ(index->Bild(), Referenz<TBesamungsindexTier>(berta, index->size()));
    Bildschirmfoto(*karte, "tierkarte-besamungsindex.png");

    Taste(Qt::Key_PageDown);
    ASSERT_EQ(karte->TierID(), lisa);
    EXPECT_EQ(karte->AktuelleSeite(), 6);
    EXPECT_EQ(index->Bild(), Referenz<TBesamungsindexTier>(lisa, index->size()));

    Taste(Qt::Key_F11);
    ASSERT_EQ(karte->AktuelleSeite(), 7);
    TTierStatistikAnzeige* zwkz = Anzeige(7);
    EXPECT_EQ(zwkz->Bild(), Referenz<TZwischenkalbezeitTier>(lisa, zwkz->size()));
    Taste(Qt::Key_PageUp);
    ASSERT_EQ(karte->TierID(), berta);
    EXPECT_EQ(zwkz->Bild(), Referenz<TZwischenkalbezeitTier>(berta, zwkz->size()));
    Bildschirmfoto(*karte, "tierkarte-zwischenkalbezeit.png");

    // Back on the insemination index, the page follows the animal it missed.
    Taste(Qt::Key_F9);
    EXPECT_EQ(index->Bild(), Referenz<TBesamungsindexTier>(berta, index->size()));

    // A bigger card draws the shown chart anew at its size.
    karte->resize(karte->size() + QSize(120, 80));
    EXPECT_TRUE(QTest::qWaitFor([&] { return index->Bild().size() == index->size(); }));
    EXPECT_EQ(index->Bild(), Referenz<TBesamungsindexTier>(berta, index->size()));

    // Anna has no calving: the chart pages close and the card goes back to its first page.
    Taste(Qt::Key_PageUp);
    ASSERT_EQ(karte->TierID(), anna);
    EXPECT_EQ(karte->AktuelleSeite(), 0);
    EXPECT_FALSE(karte->Seitenknopf(6)->isEnabled());
    EXPECT_FALSE(UbernehmenKnopf()->isVisible());
}

TEST_F(TierstatistikFensterTest, TakingOverDrawsOneCellPerAnimalAndChart)
{
    haupt->show();
    KarteZeigen(berta);
    Taste(Qt::Key_F9);
    const QImage index = Referenz<TBesamungsindexTier>(berta, {250, 150}, bertaText);
    QTest::mouseClick(UbernehmenKnopf(), Qt::LeftButton);
    TfrmTierstatistik* fenster = Fenster();
    ASSERT_TRUE(fenster);
    EXPECT_EQ(fenster->windowTitle(), "Tierstatistik");
    EXPECT_TRUE(fenster->OnStatus) << "bound to the main window's status bar";
    ASSERT_EQ(fenster->Zellen().Anzahl(), 1);
    EXPECT_EQ(fenster->Zellen().Zelle(0).TierID, berta);
    EXPECT_EQ(fenster->Zellen().Zelle(0).Art, artBesamungsindex);
    EXPECT_EQ(fenster->Zellen().Zelle(0).Bitmap, index);

    // The same chart again draws into the same cell.
    fenster->GrafikHinzufuegen(berta, artBesamungsindex).fill(Qt::black);
    QTest::mouseClick(UbernehmenKnopf(), Qt::LeftButton);
    EXPECT_EQ(Fenster(), fenster);
    ASSERT_EQ(fenster->Zellen().Anzahl(), 1);
    EXPECT_EQ(fenster->Zellen().Zelle(0).Bitmap, index);

    Taste(Qt::Key_F11);
    QTest::mouseClick(UbernehmenKnopf(), Qt::LeftButton);
    Taste(Qt::Key_PageDown);
    QTest::mouseClick(UbernehmenKnopf(), Qt::LeftButton);
    Taste(Qt::Key_F9);
    QTest::mouseClick(UbernehmenKnopf(), Qt::LeftButton);
    ASSERT_EQ(fenster->Zellen().Anzahl(), 4);
    EXPECT_EQ(fenster->Auswahl(), 3) << "the new cell is selected";
    EXPECT_EQ(fenster->Zellen().Zelle(1).Art, artZwischenkalbezeit);
    EXPECT_EQ(fenster->Zellen().Zelle(1).Bitmap,
              Referenz<TZwischenkalbezeitTier>(berta, {250, 150}, bertaText));
    EXPECT_EQ(fenster->Zellen().Zelle(2).TierID, lisa);
    EXPECT_EQ(fenster->Zellen().Zelle(3).Bitmap,
              Referenz<TBesamungsindexTier>(lisa, {250, 150}, "012 - Lisa - DE 01 222 22222"));
    EXPECT_NE(fenster->Zellen().Zelle(3).Bitmap, fenster->Zellen().Zelle(0).Bitmap);
    karte->close();
    Bildschirmfoto(*haupt, "tierstatistik-fenster.png");
}

TEST_F(TierstatistikFensterTest, LactationPageFollowsTheCardAndItsThumbnailTheChosenMode)
{
    haupt->show();
    KarteZeigen(berta);
    Bildschirmfoto(*karte, "tierkarte-stammdaten.png");
    ASSERT_TRUE(karte->SeiteWechseln(5));
    Bildschirmfoto(*karte, "tierkarte-laktation.png");
    auto* seite = karte->findChild<TLaktationsgrafikSeite*>();
    ASSERT_TRUE(seite);
    EXPECT_EQ(seite->Tier(), berta);
    EXPECT_TRUE(UbernehmenKnopf()->isVisible());
    EXPECT_FALSE(seite->StatusBild()->pixmap().isNull()) << "the animal's status picture";

    QTest::mouseClick(UbernehmenKnopf(), Qt::LeftButton);
    TfrmTierstatistik* fenster = Fenster();
    ASSERT_TRUE(fenster);
    ASSERT_EQ(fenster->Zellen().Anzahl(), 1);
    EXPECT_EQ(fenster->Zellen().Zelle(0).Art, artLaktation);
    EXPECT_EQ(fenster->Zellen().Zelle(0).TierID, berta);
    const QImage kurven = fenster->Zellen().Zelle(0).Bitmap;

    // The page's bar mode goes into the thumbnail, drawn into the same cell.
    QTest::mouseClick(seite->findChild<QToolButton*>("btnLaktationsleistungen"), Qt::LeftButton);
    EXPECT_TRUE(seite->Grafik().Balken);
    QTest::mouseClick(UbernehmenKnopf(), Qt::LeftButton);
    ASSERT_EQ(fenster->Zellen().Anzahl(), 1);
    EXPECT_NE(fenster->Zellen().Zelle(0).Bitmap, kurven);

    Taste(Qt::Key_PageDown);
    ASSERT_EQ(karte->TierID(), lisa);
    EXPECT_EQ(karte->AktuelleSeite(), 5);
    EXPECT_EQ(seite->Tier(), lisa);
}

TEST_F(TierstatistikFensterTest, GridLeavesEmptyPositionsUnselectable)
{
    haupt->show();
    TfrmTierstatistik* fenster = TierstatistikFenster();
    EXPECT_EQ(TierstatistikFenster(), fenster) << "one window";
    EXPECT_EQ(haupt->MdiArea()->activeSubWindow()->widget(), fenster);
    for (int i = 0; i < 5; ++i)
        fenster->GrafikHinzufuegen(1000 + i, artZwischenkalbezeit).fill(QColor(40 * i, 0, 0));
    const int breite = fenster->screen()->geometry().width();
    const TTierstatistikRaster r = fenster->Raster();
    EXPECT_EQ(r, TierstatistikRaster(5, breite));
    ASSERT_GT(r.spalten * r.zeilen, 5) << "the screen leaves empty positions";
    QTableView* liste = fenster->Liste();
    ASSERT_EQ(liste->model()->rowCount(), r.zeilen);
    ASSERT_EQ(liste->model()->columnCount(), r.spalten);
    EXPECT_EQ(liste->columnWidth(0), 250);
    EXPECT_EQ(liste->rowHeight(0), 150);
    EXPECT_EQ(fenster->Auswahl(), 4);

    // Clicking the cells selects them; the positions after the fifth cell take no selection.
    QCoreApplication::processEvents();
    const auto klick = [&](int zelle) {
        const QModelIndex i = liste->model()->index(zelle / r.spalten, zelle % r.spalten);
        liste->scrollTo(i);
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualRect(i).center());
    };
    klick(1);
    EXPECT_EQ(fenster->Auswahl(), 1);
    for (int leer = 5; leer < r.spalten * r.zeilen; ++leer) {
        klick(leer);
        EXPECT_EQ(fenster->Auswahl(), 1) << leer;
        EXPECT_EQ(liste->model()->flags(liste->model()->index(leer / r.spalten, leer % r.spalten)),
                  Qt::NoItemFlags);
    }
    // The selected cell is drawn sunken, the others with a frame in the background colour.
    const QImage bild = liste->viewport()->grab().toImage();
    const QRect zelle1 = liste->visualRect(liste->model()->index(1 / r.spalten, 1 % r.spalten));
    EXPECT_EQ(bild.pixelColor(zelle1.topLeft() + QPoint(1, 5)), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(bild.pixelColor(zelle1.bottomRight() - QPoint(1, 5)), QColor(Qt::white));
    EXPECT_EQ(bild.pixelColor(zelle1.center()), QColor(40, 0, 0));
    const QRect zelle0 = liste->visualRect(liste->model()->index(0, 0));
    EXPECT_EQ(bild.pixelColor(zelle0.topLeft() + QPoint(1, 5)), QColor(0, 255, 255));

    // Neither a double click nor Enter on an empty position opens a card.
    MessageBoxScript karteZu;
    karteZu.Window<TfrmStammdaten>(
        [](TfrmStammdaten& k) { QTest::mouseClick(k.SchliessenKnopf(), Qt::LeftButton); });
    const QModelIndex leer = liste->model()->index(5 / r.spalten, 5 % r.spalten);
    DoppelKlick(liste, liste->visualRect(leer).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(karteZu.PendingWindows(), 1) << "a card opened";
    karteZu.DropPendingWindows();
    EXPECT_EQ(fenster->Auswahl(), 1);
}

TEST_F(TierstatistikFensterTest, RemovingSelectsTheCellAtThePlaceAndTheLastClosesTheWindow)
{
    haupt->show();
    QPointer<TfrmTierstatistik> fenster = TierstatistikFenster();
    for (int tier : {berta, lisa, anna, verkauft})
        fenster->GrafikHinzufuegen(tier, artBesamungsindex);
    ASSERT_EQ(fenster->Auswahl(), 3);
    fenster->GrafikEntfernenEintrag()->trigger();
    EXPECT_EQ(fenster->Zellen().Anzahl(), 3);
    EXPECT_EQ(fenster->Auswahl(), 2) << "the new last cell";
    EXPECT_EQ(fenster->Zellen().Zelle(2).TierID, anna);
    fenster->GrafikHinzufuegen(berta, artBesamungsindex);
    ASSERT_EQ(fenster->Auswahl(), 0) << "an existing cell is selected again";
    fenster->GrafikEntfernenEintrag()->trigger();
    EXPECT_EQ(fenster->Auswahl(), 0);
    EXPECT_EQ(fenster->Zellen().Zelle(0).TierID, lisa);
    fenster->GrafikEntfernenEintrag()->trigger();
    EXPECT_EQ(fenster->Zellen().Anzahl(), 1);
    EXPECT_FALSE(fenster->Geschlossen());

    fenster->GrafikEntfernenEintrag()->trigger();
    ASSERT_TRUE(fenster);
    EXPECT_TRUE(fenster->Geschlossen());
    // Until it is gone, taking over a chart opens a new window.
    TfrmTierstatistik* neues = TierstatistikFenster();
    EXPECT_NE(neues, fenster.data());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(fenster);
    ASSERT_EQ(haupt->MdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(haupt->MdiArea()->subWindowList()[0]->widget(), neues);
}

TEST_F(TierstatistikFensterTest, ACellOpensTheCardOfItsAnimal)
{
    haupt->show();
    TfrmTierstatistik* fenster = TierstatistikFenster();
    fenster->GrafikHinzufuegen(berta, artBesamungsindex);
    fenster->GrafikHinzufuegen(lisa, artZwischenkalbezeit);
    QCoreApplication::processEvents();
    QTableView* liste = fenster->Liste();
    const auto oeffnen = [&](const std::function<void()>& wie) {
        int gezeigt = 0;
        int schnellwahl = -1;
        MessageBoxScript schliessen;
        schliessen.Window<TfrmStammdaten>([&](TfrmStammdaten& k) {
            gezeigt = k.TierID();
            schnellwahl = k.Schnellwahl().RecordCount();
            QTest::mouseClick(k.SchliessenKnopf(), Qt::LeftButton);
        });
        wie();
        EXPECT_TRUE(QTest::qWaitFor([&] { return schliessen.PendingWindows() == 0; }));
        EXPECT_EQ(schnellwahl, 1) << "display mode without a quick list";
        return gezeigt;
    };
    EXPECT_EQ(oeffnen([&] { QTest::keyClick(liste, Qt::Key_Return); }), lisa);
    liste->setFocus();
    const QRect erste = liste->visualRect(liste->model()->index(0, 0));
    EXPECT_EQ(oeffnen([&] { DoppelKlick(liste, erste.center()); }), berta);
    EXPECT_EQ(fenster->Auswahl(), 0);
    EXPECT_EQ(fenster->Popup()->defaultAction(), fenster->ZuTierGehenEintrag());
    EXPECT_EQ(oeffnen([&] { fenster->ZuTierGehenEintrag()->trigger(); }), berta);
}

}  // namespace
