#include "ListenDialogTestHilfe.h"

#include <FWahlBetriebListen.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

// The premises "Stall" (1) of every new database, "Weide" (5) and "Alm" (6).
class WahlBetriebListenTest : public ListenDialogTest {
protected:
    void SetUp() override
    {
        Ausfuehren(
            {"INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (5, 'Weide', 1)",
             "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (6, 'Alm', 1)"});
        ListenDialogTest::SetUp();
        Einstellungen()->OnAktBetriebListenChange = [this](TEinstellungen&) { ++meldungen; };
    }
    static QStringList Eintraege(TfrmWahlBetriebListen& d)
    {
        QStringList e;
        for (int i = 0; i < d.Liste()->count(); ++i)
            e << d.Liste()->item(i)->text();
        return e;
    }
    static void Klicken(TfrmWahlBetriebListen& d, const char* knopf)
    {
        QTest::mouseClick(d.findChild<QPushButton*>(knopf), Qt::LeftButton);
    }
    int meldungen = 0;
};

TEST_F(WahlBetriebListenTest, ZeigtDieGespeicherteWahlUndAlleBeiUnbekannter)
{
    struct Fall {
        int gespeichert;
        QString gewaehlt;
    } faelle[] = {
        {0, "Alle Betriebsstätten"}, {6, "Alm"}, {5, "Weide"}, {99, "Alle Betriebsstätten"}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.gespeichert);
        Einstellungen()->IniSchreibenInteger("Zustand", "AktBetriebListen", f.gespeichert);
        TfrmWahlBetriebListen d;
        EXPECT_EQ(Eintraege(d), (QStringList{"Alle Betriebsstätten", "Alm", "Stall", "Weide"}));
        EXPECT_EQ(d.Liste()->currentItem()->text(), f.gewaehlt);
        // An unknown premises is stored only when the user confirms.
        Klicken(d, "Abbrechen");
        EXPECT_EQ(Einstellungen()->GetAktBetriebListen(), f.gespeichert);
    }
    EXPECT_EQ(meldungen, 0);
}

TEST_F(WahlBetriebListenTest, OkUndDoppelklickSpeichernDieWahl)
{
    TfrmWahlBetriebListen d;
    EXPECT_EQ(d.windowTitle(), "Betriebsstätte auswählen");
    EXPECT_EQ(d.helpContext(), 10300);
    d.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
    Bildschirmfoto(d, "wahlbetrieblisten.png");
    for (const QLabel* l : d.findChildren<QLabel*>())
        EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
    d.Liste()->setCurrentRow(3);
    Klicken(d, "Ok");
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(Einstellungen()->GetAktBetriebListen(), 5);
    EXPECT_EQ(meldungen, 1);

    TfrmWahlBetriebListen zweiter;
    zweiter.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&zweiter));
    EXPECT_EQ(zweiter.Liste()->currentRow(), 3);
    QListWidgetItem* alm = zweiter.Liste()->item(1);
    const QPoint mitte = zweiter.Liste()->visualItemRect(alm).center();
    QTest::mouseClick(zweiter.Liste()->viewport(), Qt::LeftButton, {}, mitte);
    QTest::mouseDClick(zweiter.Liste()->viewport(), Qt::LeftButton, {}, mitte);
    EXPECT_FALSE(zweiter.isVisible());
    EXPECT_EQ(Einstellungen()->GetAktBetriebListen(), 6);
    EXPECT_EQ(meldungen, 2);
}

}  // namespace
