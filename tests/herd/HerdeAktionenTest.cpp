#include "HerdeTest.h"

#include <Haupt.h>
#include <HerdeAktionen.h>
#include <Stammdaten.h>
#include <TierWahl.h>

#include <MessageBoxScript.h>

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

class HerdeAktionenTest : public HerdeTest {};

TEST_F(HerdeAktionenTest, TierLoeschenWaehltUndLoeschtNachRueckfrage)
{
    TfrmHaupt haupt;
    HerdeAktionenVerbinden(haupt);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    Bedienen<TfrmTierWahl>([](TfrmTierWahl& d) {
        EXPECT_EQ(d.windowTitle(), "Tiere löschen");
        d.Masken()->setCurrentRow(1);
        QTest::mouseClick(d.EinlesenKnopf(), Qt::LeftButton);
        auto* m = d.Tabelle()->model();
        for (int i = 0; i < m->rowCount(); ++i)
            if (m->index(i, TTierWahlModell::Name).data() == "Vera") {
                d.Tabelle()->setCurrentIndex(m->index(i, TTierWahlModell::Markierung));
                QTest::keyClick(d.Tabelle(), Qt::Key_Space);
            }
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    QAction* aktion = haupt.Aktion("actTierLoeschen");
    ASSERT_TRUE(aktion->isEnabled());
    aktion->trigger();
    EXPECT_EQ(boxen.Pending(), 0);
    QList<int> uebrig = Ids("SELECT ID FROM T_STAMMDATEN ORDER BY ID");
    EXPECT_FALSE(uebrig.contains(verkauft));
    EXPECT_EQ(uebrig.size(), 3);
}

}  // namespace

namespace {

TEST_F(HerdeAktionenTest, BearbeitenOeffnetDieKarteDesGewaehltenTiers)
{
    TfrmHaupt haupt;
    HerdeAktionenVerbinden(haupt);
    int gezeigt = 0;
    Bedienen<TfrmTierWahl>([&gezeigt](TfrmTierWahl& d) {
        d.Masken()->setCurrentRow(1);
        QTest::mouseClick(d.EinlesenKnopf(), Qt::LeftButton);
        QTest::keyClicks(d.Suche(), "lisa");
        // The card opens once the selection has closed.
        Bedienen<TfrmStammdaten>([&gezeigt](TfrmStammdaten& k) {
            gezeigt = k.TierID();
            QTest::mouseClick(k.SchliessenKnopf(), Qt::LeftButton);
        });
        QTest::keyClick(d.Suche(), Qt::Key_Return);
    });
    haupt.Aktion("actStammdatenBearbeiten")->trigger();
    EXPECT_EQ(gezeigt, lisa);
}

}  // namespace
