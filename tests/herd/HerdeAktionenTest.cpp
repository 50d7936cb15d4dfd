#include "HerdeTest.h"

#include <Haupt.h>
#include <HerdeAktionen.h>
#include <Stammdaten.h>
#include <StammdatenNeueBetriebsstaette.h>
#include <TierWahl.h>

#include <DBZRDateEdit.h>
#include <Query.h>

#include <MessageBoxScript.h>

#include <QAction>
#include <QComboBox>
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

namespace {

// "Betriebsst. wechseln" from the main window: the animals are marked in the chooser, the date
// and the premises given in "Neue Betriebsstätte". "Alm" belongs to another holding, so each
// move needs a departure and an arrival report.
class BetriebWechselTest : public HerdeTest {
protected:
    void SetUp() override
    {
        HerdeTest::SetUp();
        ProgDatum::HeuteSetzen(QDate(2025, 6, 15));
        Ausfuehren(
            {"INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER) VALUES (12, 'Alm', "
             "'276090000000012')",
             "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (23, 'Alm', "
             "12)"});
        HerdeAktionenVerbinden(haupt);
    }

    // Marks the animals by name in the chooser, then the premises dialog gets date and "Alm".
    void Bedienen(const QStringList& namen, const QString& datum)
    {
        HerdeTest::Bedienen<TfrmTierWahl>([namen, datum](TfrmTierWahl& d) {
            EXPECT_EQ(d.windowTitle(), "Betriebsstätten - Wechsel");
            d.Masken()->setCurrentRow(1);
            QTest::mouseClick(d.EinlesenKnopf(), Qt::LeftButton);
            auto* m = d.Tabelle()->model();
            for (int i = 0; i < m->rowCount(); ++i)
                if (namen.contains(m->index(i, TTierWahlModell::Name).data().toString())) {
                    d.Tabelle()->setCurrentIndex(m->index(i, TTierWahlModell::Markierung));
                    QTest::keyClick(d.Tabelle(), Qt::Key_Space);
                }
            HerdeTest::Bedienen<TfrmNeueBetriebsstaette>([datum](TfrmNeueBetriebsstaette& n) {
                n.DatumFeld()->setFocus();
                n.DatumFeld()->selectAll();
                QTest::keyClicks(n.DatumFeld(), datum);
                n.Auswahl()->setCurrentIndex(n.Auswahl()->findText("Alm"));
                for (QPushButton* k : n.findChildren<QPushButton*>())
                    if (k->text() == "Ok") {
                        QTest::mouseClick(k, Qt::LeftButton);
                        break;
                    }
            });
            QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        });
        haupt.Aktion("actBetriebWechsel")->trigger();
    }

    std::string Staelle(int tier)
    {
        return Text(QString("SELECT LIST(STALL || ' ' || VON || '-' || COALESCE(BIS, ''), ';') "
                            "FROM (SELECT * FROM T_STAELLE WHERE TIER = %1 ORDER BY VON)")
                        .arg(tier));
    }
    std::string Meldungen()
    {
        return Text(
            "SELECT LIST(MELDUNG || ' ' || DATUM || ' ' || TRIM(BETRIEB) || ' ' || LOM, "
            "';') FROM (SELECT * FROM T_HITMELDUNGEN ORDER BY ID)");
    }
    std::string Text(const QString& sql)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        return q.Field(0).IsNull() ? std::string() : q.Field(0).AsString().toStdString();
    }

    TfrmHaupt haupt;
};

TEST_F(BetriebWechselTest, ZweiTiereMitZeitraeumenUndMeldungen)
{
    // A window may hold the animal transaction open; the change works in it all the same.
    DM()->TAStammdaten.Start();
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYesToAll).AnswerWith(Tools::mrOk);
    Bedienen({"Berta", "Lisa"}, "1.6.2025");
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_TRUE(boxen.Shown()[0].text.startsWith(
        "Sollen die erforderlichen Bewegungsmeldungen\ran HI - Tier für das Tier\r"));
    EXPECT_EQ(boxen.Shown()[1].text, "Die Wechsel wurden eingetragen.");
    EXPECT_TRUE(DM()->TAStammdaten.Active());
    EXPECT_EQ(Staelle(berta), "21 2024-01-01-2025-06-01;23 2025-06-01-");
    EXPECT_EQ(Staelle(lisa), "22 2024-01-01-2025-06-01;23 2025-06-01-");
    EXPECT_EQ(Meldungen(),
              "3 2025-06-01 276090000000011 DE 01 111 11111;"
              "14 2025-06-01 276090000000012 DE 01 111 11111;"
              "3 2025-06-01 276090000000011 DE 01 222 22222;"
              "14 2025-06-01 276090000000012 DE 01 222 22222");
}

// The premises change of the second animal fails in the database: the error names it and
// nothing of the list is stored, the first animal's change and reports neither.
TEST_F(BetriebWechselTest, FehlerBeiEinemTierSpeichertNichts)
{
    Ausfuehren({"CREATE EXCEPTION E_TEST 'Testfehler'"});
    Ausfuehren(
        {"CREATE TRIGGER TEST_FEHLER FOR T_STAELLE BEFORE INSERT AS BEGIN "
         "IF (NEW.TIER = (SELECT ID FROM T_STAMMDATEN WHERE NAME = 'Lisa')) THEN "
         "EXCEPTION E_TEST; END"});
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    Bedienen({"Berta", "Lisa"}, "1.6.2025");
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[1].type, Tools::mtError);
    EXPECT_TRUE(boxen.Shown()[1].text.startsWith(
        "Der Wechsel der Betriebsstätte für das Tier\rLisa DE 01 222 22222\rist fehlgeschlagen:"))
        << boxen.Shown()[1].text.toStdString();
    EXPECT_TRUE(boxen.Shown()[1].text.contains("Testfehler"));
    EXPECT_TRUE(boxen.Shown()[1].text.endsWith("Es wurde kein Wechsel eingetragen."));
    EXPECT_FALSE(DM()->TAStammdaten.Active());
    EXPECT_EQ(Staelle(berta), "21 2024-01-01-");
    EXPECT_EQ(Staelle(lisa), "22 2024-01-01-");
    EXPECT_EQ(Meldungen(), "");
}

// A change refused for one animal (sold before the date) leaves that one alone and enters the
// other's.
TEST_F(BetriebWechselTest, AbgelehntesTierBleibtDieAnderenWechseln)
{
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrNo).AnswerWith(Tools::mrOk).AnswerWith(Tools::mrOk);
    Bedienen({"Berta", "Vera"}, "2.6.2025");
    ASSERT_EQ(boxen.Shown().size(), 3);
    EXPECT_EQ(boxen.Shown()[1].text,
              "Das Datum muß in der Zeit der\rBetriebszugehörigkeit des "
              "Tieres\rVera DE 01 444 44444\rliegen!");
    EXPECT_EQ(boxen.Shown()[2].text,
              "Nicht alle Wechsel konnten eingetragen werden.\r"
              "Bitte überprüfen Sie die betreffenden Tiere.");
    EXPECT_EQ(Staelle(berta), "21 2024-01-01-2025-06-02;23 2025-06-02-");
    EXPECT_EQ(Staelle(verkauft), "21 2024-01-01-");
    EXPECT_EQ(Meldungen(), "");
}

}  // namespace
