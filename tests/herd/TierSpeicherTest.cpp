#include "HerdeTest.h"

#include <TierSpeicher.h>

#include <Abort.h>

#include <MessageBoxScript.h>

namespace {

const QDate Heute(2025, 6, 15);

class TierSpeicherTest : public HerdeTest {
protected:
    void SetUp() override
    {
        HerdeTest::SetUp();
        DM()->TAStammdaten.Start();
        speicher = std::make_unique<TTierSpeicher>(*DM());
    }
    void TearDown() override
    {
        if (DM()->TAStammdaten.Active())
            DM()->TAStammdaten.Rollback();
        HerdeTest::TearDown();
    }

    QStringList Meldungen()
    {
        QStringList r;
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, "SELECT TIER, MELDUNG, DATUM FROM T_HITMELDUNGEN ORDER BY ID");
        for (q.Open(); !q.Eof(); q.Next())
            r << QStringLiteral("%1 %2 %3")
                     .arg(q.Field(0).AsInteger())
                     .arg(q.Field(1).AsInteger())
                     .arg(q.Field(2).AsDate().toString(Qt::ISODate));
        return r;
    }

    std::unique_ptr<TTierSpeicher> speicher;
};

TEST_F(TierSpeicherTest, NeueKuhWirdMitVorgabenGespeichertUndMeldetDenZugang)
{
    TTierSatz s = speicher->Neu();
    EXPECT_EQ(s.tier.geschlecht, "W");
    EXPECT_EQ(s.tier.status, "J");
    EXPECT_EQ(s.tier.statusExt, "N");
    ASSERT_GT(s.rasse, 0);
    s.tier.nummer = "de 09 876 54321";
    s.tier.gebdat = QDate(2025, 1, 10);
    s.tier.gekauft = QDate(2025, 2, 1);
    s.name = "Resi";
    const auto e = speicher->Speichern(s, Heute, true);
    ASSERT_TRUE(e.Gespeichert());
    EXPECT_TRUE(e.meldungen.zugang);
    EXPECT_FALSE(e.meldungen.abgang);
    speicher->MeldungAnlegen(s.id, 14, s.tier.gekauft);
    EXPECT_EQ(Meldungen(), QStringList{QString("%1 14 2025-02-01").arg(s.id)});
    // Another connection sees the stored cow: the store was committed.
    EXPECT_EQ(Ids("SELECT ID FROM T_STAMMDATEN WHERE NUMMER = 'DE 09 876 54321'"),
              QList<int>{s.id});
    const TTierSatz wieder = speicher->Laden(s.id);
    EXPECT_EQ(wieder.name, "Resi");
    EXPECT_EQ(wieder.tier.gekauft, QDate(2025, 2, 1));
}

TEST_F(TierSpeicherTest, FehlgeschlagenePruefungSpeichertNichts)
{
    TTierSatz s = speicher->Laden(berta);
    s.name = "Geaendert";
    s.tier.gebdat = Heute.addDays(1);
    const auto e = speicher->Speichern(s, Heute, true);
    ASSERT_TRUE(e.fehler);
    EXPECT_EQ(e.fehler->nr, 3);
    EXPECT_EQ(speicher->Laden(berta).name, "Berta");
}

TEST_F(TierSpeicherTest, AbgangNurBeiGeaendertemDatum)
{
    TTierSatz s = speicher->Laden(berta);
    s.tier.verkauft = QDate(2025, 5, 1);
    EXPECT_TRUE(speicher->Speichern(s, Heute, true).meldungen.abgang);
    const auto nochmal = speicher->Speichern(s, Heute, true);
    EXPECT_TRUE(nochmal.Gespeichert());
    EXPECT_FALSE(nochmal.meldungen.abgang);
    s.tier.verkauft = QDate(2025, 5, 2);
    EXPECT_FALSE(speicher->Speichern(s, Heute, false).meldungen.abgang);
}

TEST_F(TierSpeicherTest, UeberlappendeZeitraeumeBlockierenJedesMal)
{
    Ausfuehren({QString("UPDATE T_STAELLE SET BIS = DATE '2024-03-31' WHERE TIER = %1").arg(berta),
                QString("INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (%1, DATE '2024-04-02', "
                        "22)")
                    .arg(berta)});
    TTierSatz s = speicher->Laden(berta);
    s.name = "Neu";
    for (int versuch = 0; versuch < 2; ++versuch) {
        const auto e = speicher->Speichern(s, Heute, true);
        ASSERT_TRUE(e.zeitraumFehler) << versuch;
        EXPECT_EQ(e.zeitraumFehler->text,
                  "Das Zeitraum-Ende muß mit dem folgenden Beginn übereinstimmen.");
    }
    EXPECT_EQ(speicher->Laden(berta).name, "Berta");
    Ausfuehren({QString("UPDATE T_STAELLE SET VON = DATE '2024-03-31' WHERE TIER = %1 AND STALL "
                        "= 22")
                    .arg(berta)});
    EXPECT_TRUE(speicher->Speichern(s, Heute, true).Gespeichert());
    EXPECT_EQ(speicher->Laden(berta).name, "Neu");
}

TEST_F(TierSpeicherTest, TrockenInDerZukunftWirdBeimSpeichernHeute)
{
    Ausfuehren({QString("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (%1, DATE "
                        "'2025-01-01', 'W')")
                    .arg(berta),
                QString("INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (%1, DATE '2025-03-01', "
                        "1)")
                    .arg(berta)});
    TTierSatz s = speicher->Laden(berta);
    bool besamungen = false, kalbungen = false;
    speicher->Geschichte(s, besamungen, kalbungen);
    ASSERT_TRUE(besamungen && kalbungen);
    s.tier.status = "R";
    s.tier.trocken = Heute.addDays(5);
    ASSERT_TRUE(speicher->Speichern(s, Heute, true).Gespeichert());
    EXPECT_EQ(speicher->Laden(berta).tier.trocken, Heute);
    s.tier.status = "L";
    const auto e = speicher->Speichern(s, Heute, true);
    ASSERT_TRUE(e.fehler);
    EXPECT_EQ(e.fehler->nr, 16);
}

// The card's store asks when another workstation changed or deleted the animal since it was
// read; each answer does what it says, and an untouched animal stores without a question.
TEST_F(TierSpeicherTest, GleichzeitigGeaendertesTierFragtVorDemSpeichern)
{
    const struct {
        const char* name;
        const char* knopf;  // nullptr: Escape
        const char* aenderung;
        const char* frage;
        bool gespeichert;
        bool neuLaden;
        const char* gespeichertName;
    } faelle[] = {
        {"überschreiben", "Überschreiben", "UPDATE T_STAMMDATEN SET NAME = 'Dort' WHERE ID = %1",
         "geändert.\rGeändert: NAME", true, false, "Hier"},
        {"neu laden", "Neu laden", "UPDATE T_STAMMDATEN SET NAME = 'Dort' WHERE ID = %1",
         "geändert.\rGeändert: NAME", false, true, "Dort"},
        {"abbrechen", nullptr, "UPDATE T_STAMMDATEN SET NAME = 'Dort' WHERE ID = %1",
         "geändert.\rGeändert: NAME", false, false, "Dort"},
        {"gelöscht", "Neu laden", "DELETE FROM T_STAMMDATEN WHERE ID = %1", "gelöscht.", false,
         true, "<keine>"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        const int id = Tier(QString("DE 01 555 5555%1").arg(&f - faelle), 0, "Alt", 21);
        TTierSatz s = speicher->Laden(id);
        // Stores of its own in between are no conflict.
        s.name = "Zwischen";
        ASSERT_TRUE(speicher->Speichern(s, Heute, true).Gespeichert());
        s.name = "Hier";
        Ausfuehren({QString(f.aenderung).arg(id)});
        MessageBoxScript boxen;
        boxen.Answer(f.knopf ? MessageBoxScript::ClickText(f.knopf) : MessageBoxScript::Escape());
        TTierSpeicher::TErgebnis e;
        bool abgebrochen = false;
        try {
            e = speicher->Speichern(s, Heute, true);
        } catch (const db::Abort&) {
            abgebrochen = true;
        }
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_TRUE(boxen.Shown()[0].text.startsWith(
            "Der Datensatz wurde inzwischen an einem anderen Arbeitsplatz " + QString(f.frage)))
            << boxen.Shown()[0].text.toStdString();
        EXPECT_EQ(abgebrochen, !f.knopf);
        if (!abgebrochen) {
            EXPECT_EQ(e.Gespeichert(), f.gespeichert);
            EXPECT_EQ(e.neuLaden, f.neuLaden);
        }
        DM()->TAStammdaten.CommitRetaining();
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, QString("SELECT NAME FROM T_STAMMDATEN WHERE ID = %1").arg(id));
        q.Open();
        EXPECT_EQ(q.Eof() ? QString("<keine>") : q.Field(0).AsString(), f.gespeichertName);
    }
}

}  // namespace
