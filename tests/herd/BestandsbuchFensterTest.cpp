#include "BestandsbuchTestHilfe.h"

#include <Bestandsbuch.h>
#include <BestandsbuchAktionen.h>

#include <Haupt.h>
#include <MessageBoxScript.h>
#include <ZRcxGridDBTableView.h>

#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QRegularExpression>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

namespace {

class BestandsbuchFenster : public BestandsbuchTest {
protected:
    void SetUp() override
    {
        BestandsbuchTest::SetUp();
        ProgDatum::HeuteSetzen(QDate(2024, 4, 2));
    }
    // Every update or delete of the treatment `lid` is refused by the database.
    void Sperren(int lid)
    {
        Ausfuehren({"CREATE EXCEPTION E_GESPERRT 'Register gesperrt'",
                    "CREATE TRIGGER T_SPERRE FOR T_TIERARZTLEISTUNG BEFORE UPDATE OR DELETE AS "
                    "BEGIN IF (OLD.ID = " + QString::number(lid) +
                        ") THEN EXCEPTION E_GESPERRT; END"});
    }
    static void Screenshot(QWidget& w, const QString& name)
    {
        const QString ordner = QCoreApplication::applicationDirPath() + "/../screenshots";
        ASSERT_TRUE(QDir().mkpath(ordner));
        QApplication::processEvents();
        EXPECT_TRUE(w.grab().save(ordner + "/" + name));
    }
};

TEST_F(BestandsbuchFenster, BookingButtonsFollowTheOpenEntriesAndTheRangeIsStoredInOrder)
{
    {
        TfrmBestandsbuch dialog(DM()->Datenbank);
        EXPECT_FALSE(dialog.btnAlleBuchen->isEnabled());
        EXPECT_FALSE(dialog.btnEinzelnBuchen->isEnabled());
        dialog.dtVon->setDate(QDate(2024, 3, 31));
        dialog.dtBis->setDate(QDate(2024, 3, 1));
        dialog.show();
        QTest::mouseClick(dialog.btnSchliessen, Qt::LeftButton);
    }
    EXPECT_EQ(Einstellungen()->GetBestandsbuchVon(), QDate(2024, 3, 1));
    EXPECT_EQ(Einstellungen()->GetBestandsbuchBis(), QDate(2024, 3, 31));
    Behandlung("J", {berta}, QDate(2024, 3, 2));
    TfrmBestandsbuch dialog(DM()->Datenbank);
    EXPECT_EQ(dialog.dtVon->date(), QDate(2024, 3, 1)) << "the stored range comes back";
    EXPECT_TRUE(dialog.btnAlleBuchen->isEnabled());
    EXPECT_TRUE(dialog.btnEinzelnBuchen->isEnabled());
}

TEST_F(BestandsbuchFenster, AllBookingAsksWithTheCountOutsideTheRangeToo)
{
    const int innen = Behandlung("J", {berta}, QDate(2024, 3, 2));
    const int gruppe = Behandlung("J", {berta, lisa}, QDate(2024, 3, 5));
    const int frueher = Behandlung("J", {lisa}, QDate(2023, 11, 5));
    const int spaeter = Behandlung("J", {anna}, QDate(2024, 5, 5));
    Behandlung("B", {anna}, QDate(2024, 3, 5));
    TfrmBestandsbuch dialog(DM()->Datenbank);
    dialog.dtVon->setDate(QDate(2024, 3, 1));
    dialog.dtBis->setDate(QDate(2024, 3, 31));
    dialog.show();
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrNo);
        QTest::mouseClick(dialog.btnAlleBuchen, Qt::LeftButton);
        ASSERT_EQ(boxen.Shown().size(), 1);
        const QString text = boxen.Shown()[0].text;
        EXPECT_TRUE(text.startsWith("Wollen Sie alle ungebuchten Anwendungen jetzt buchen?"));
        EXPECT_TRUE(text.contains("Es werden 4 Einträge gebucht.")) << text.toStdString();
        EXPECT_TRUE(text.contains("2 davon liegen außerhalb des gewählten Zeitraums."))
            << text.toStdString();
    }
    for (int lid : {innen, gruppe, frueher, spaeter})
        EXPECT_EQ(Zustand(lid), "J") << "No books nothing";
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrYes);
        QTest::mouseClick(dialog.btnAlleBuchen, Qt::LeftButton);
        EXPECT_EQ(boxen.Pending(), 0);
    }
    for (int lid : {innen, gruppe, frueher, spaeter})
        EXPECT_EQ(Zustand(lid), "B");
    EXPECT_FALSE(dialog.btnAlleBuchen->isEnabled());
    EXPECT_FALSE(dialog.btnEinzelnBuchen->isEnabled());
}

TEST_F(BestandsbuchFenster, BookingWindowBooksTheFocusedEntryAndShowsRefusals)
{
    const int a = Behandlung("J", {berta}, QDate(2024, 3, 2), "Erstes Mittel");
    const int b = Behandlung("J", {lisa}, QDate(2024, 3, 3), "Zweites Mittel");
    Behandlung("B", {anna}, QDate(2024, 3, 4));
    Sperren(b);
    TfrmBestandsbuchBuchen fenster(DM()->Datenbank);
    fenster.resize(1200, 600);
    fenster.show();
    fenster.Laden(QDate(2024, 3, 31), QDate(2024, 3, 1));
    EXPECT_EQ(fenster.windowTitle(), "Bestandsbuch, buchen");
    ASSERT_EQ(fenster.GetAnzahl(), 2) << "only open entries";
    EXPECT_EQ(fenster.AktuelleLID(), a);
    QTest::mouseClick(fenster.btnBuchen, Qt::LeftButton);
    EXPECT_EQ(Zustand(a), "B");
    ASSERT_EQ(fenster.GetAnzahl(), 1);
    EXPECT_EQ(fenster.AktuelleLID(), b);

    for (QPushButton* knopf : {fenster.btnBuchen, fenster.btnLoeschen}) {
        MessageBoxScript boxen;
        if (knopf == fenster.btnLoeschen)
            boxen.AnswerWith(Tools::mrYes);
        boxen.AnswerWith(Tools::mrOk);
        QTest::mouseClick(knopf, Qt::LeftButton);
        ASSERT_FALSE(boxen.Shown().empty()) << knopf->text().toStdString();
        EXPECT_EQ(boxen.Shown().back().type, Tools::mtError);
        EXPECT_TRUE(boxen.Shown().back().text.contains("Register gesperrt"))
            << boxen.Shown().back().text.toStdString();
        EXPECT_EQ(Zustand(b), "J");
        EXPECT_EQ(fenster.GetAnzahl(), 1) << "the failed entry stays in the list";
    }
    EXPECT_TRUE(fenster.btnBuchen->isEnabled());
}

TEST_F(BestandsbuchFenster, BookingTheLastEntryDisablesBooking)
{
    const int a = Behandlung("J", {berta}, QDate(2024, 3, 2));
    TfrmBestandsbuchBuchen fenster(DM()->Datenbank);
    fenster.show();
    fenster.Laden(QDate(2024, 3, 1), QDate(2024, 3, 31));
    QTest::mouseClick(fenster.btnBuchen, Qt::LeftButton);
    EXPECT_EQ(Zustand(a), "B");
    EXPECT_EQ(fenster.GetAnzahl(), 0);
    EXPECT_FALSE(fenster.btnBuchen->isEnabled());
}

TEST_F(BestandsbuchFenster, RegisterWindowShowsCancelledEntriesStruckOutOnRed)
{
    const int einzeln = Behandlung("B", {berta}, QDate(2024, 3, 2), "Penicillin", 3);
    const int storno = Behandlung("S", {lisa}, QDate(2024, 3, 3), "Storniertes Mittel");
    const int gruppe = Behandlung("J", {berta, lisa, anna}, QDate(2024, 3, 5), "Gruppenmittel");
    Behandlung("B", {anna}, QDate(2024, 6, 4), "Ausserhalb");
    const int zweites = Behandlung("B", {anna}, QDate(2024, 3, 20), "Zweites Mittel");
    Sperren(einzeln);
    TfrmHaupt haupt;
    haupt.resize(1400, 800);
    haupt.show();
    TfrmListeBestandsbuch* fenster =
        BestandsbuchListeAnzeigen(QDate(2024, 3, 1), QDate(2024, 3, 31), &haupt);
    ASSERT_TRUE(fenster);
    EXPECT_EQ(fenster->windowTitle(), "Bestandsbuch (von 01.03.2024 bis 31.03.2024)");
    ASSERT_EQ(fenster->GetAnzahl(), 4);
    EXPECT_TRUE(fenster->Grid()->Storniert(1));
    EXPECT_FALSE(fenster->Grid()->Storniert(0));
    const TZRDBcxGridBovantis& grid = *fenster->Grid();
    auto* view = fenster->Grid()->GetTableView();
    auto* modell = view->model();
    QStringList zellen;
    for (int c = 0; c < modell->columnCount(); ++c)
        if (!view->isColumnHidden(c))
            zellen << grid.Anzeigetext(modell->index(0, c));
    const QString zeile = zellen.join('|');
    EXPECT_TRUE(zeile.contains(QRegularExpression("007, \\w+, Berta\n"))) << zeile.toStdString();

    QApplication::processEvents();
    int spalte = -1;
    for (int c = 0; c < modell->columnCount() && spalte < 0; ++c)
        if (!view->isColumnHidden(c) && view->columnWidth(c) > 40)
            spalte = c;
    ASSERT_GE(spalte, 0);
    const QImage bild = view->viewport()->grab().toImage();
    const QRect storniert = view->visualRect(modell->index(1, spalte));
    const QRect gebucht = view->visualRect(modell->index(0, spalte));
    EXPECT_EQ(bild.pixelColor(storniert.right() - 3, storniert.bottom() - 3),
              TBestandsbuchGrid::StornoFarbe);
    EXPECT_NE(bild.pixelColor(gebucht.right() - 3, gebucht.bottom() - 3),
              TBestandsbuchGrid::StornoFarbe);
    Screenshot(haupt, "bestandsbuch.png");

    view->setCurrentIndex(modell->index(0, spalte));
    EXPECT_TRUE(fenster->ZuTierGehenPruefen()) << "a single animal's entry";
    view->setCurrentIndex(modell->index(2, spalte));
    EXPECT_FALSE(fenster->ZuTierGehenPruefen()) << "a group has no animal";
    (void)gruppe;

    view->setCurrentIndex(modell->index(0, spalte));
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        fenster->actStornieren->trigger();
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_TRUE(boxen.Shown()[0].text.contains("Register gesperrt"));
    }
    EXPECT_EQ(Zustand(einzeln), "B");
    EXPECT_FALSE(fenster->Grid()->Storniert(0));
    view->setCurrentIndex(modell->index(3, spalte));
    fenster->actStornieren->trigger();
    EXPECT_EQ(Zustand(zweites), "S");
    EXPECT_TRUE(fenster->Grid()->Storniert(3)) << "the list is read anew";
    EXPECT_EQ(Zustand(storno), "S");
}

TEST_F(BestandsbuchFenster, MainWindowEntryOpensTheDialog)
{
    TfrmHaupt haupt;
    BestandsbuchAktionenVerbinden(haupt);
    bool gesehen = false;
    Bedienen<TfrmBestandsbuch>([&gesehen](TfrmBestandsbuch& d) {
        gesehen = d.windowTitle() == "Bestandsbuch";
        QTest::mouseClick(d.btnSchliessen, Qt::LeftButton);
    });
    haupt.Aktion("actBestandsbuch")->trigger();
    EXPECT_TRUE(gesehen);
}

}  // namespace
