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

TEST_F(TierSpeicherTest, MutterNachNameOderNummerUndKalbedatum)
{
    const int mama = Tier("DE 01 555 55555", 9, "Mama", 21);
    const int tante = Tier("DE 01 777 77777", 0, "Tante", 21);
    Ausfuehren({QString("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NR) VALUES (%1, DATE "
                        "'2025-01-10', 'W', 1)")
                    .arg(mama),
                QString("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NR) VALUES (%1, DATE "
                        "'2025-02-10', 'W', 1)")
                    .arg(tante)});
    const struct {
        const char* name;
        const char* mutter;
        const char* mutterNr;
        QDate gebdat;
        int erwartet;
    } faelle[] = {
        {"Name in anderer Schreibung", "mAMA", "", QDate(2025, 1, 10), mama},
        {"Nummer", "", "de 01 555 55555", QDate(2025, 1, 10), mama},
        {"Name und Nummer derselben", "Mama", "DE 01 555 55555", QDate(2025, 1, 10), mama},
        {"ohne Kalbung am Geburtstag", "Mama", "", QDate(2025, 1, 11), 0},
        {"unbekannt", "Oma", "DE 01 999", QDate(2025, 1, 10), 0},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        TTierSatz s;
        s.mutter = f.mutter;
        s.mutterNr = f.mutterNr;
        s.tier.gebdat = f.gebdat;
        EXPECT_EQ(speicher->MutterSuchen(s), f.erwartet);
    }
    // Two animals fitting is as good as none.
    Ausfuehren({QString("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NR) VALUES (%1, DATE "
                        "'2025-01-10', 'W', 2)")
                    .arg(tante)});
    DM()->TAStammdaten.CommitRetaining();
    TTierSatz s;
    s.mutter = "Tante";
    s.mutterNr = "DE 01 555 55555";
    s.tier.gebdat = QDate(2025, 1, 10);
    EXPECT_EQ(speicher->MutterSuchen(s), 0);
}

TEST_F(TierSpeicherTest, KaelberEinerKalbung)
{
    Ausfuehren({QString("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NR) VALUES (%1, DATE "
                        "'2025-01-10', 'W', 1)")
                    .arg(berta),
                QString("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NR) VALUES (%1, DATE "
                        "'2025-03-10', 'W', 1)")
                    .arg(lisa)});
    const int kalbungBerta =
        Ids(QString("SELECT ID FROM T_KALBUNGEN WHERE TIER = %1").arg(berta))[0];
    const int kalbungLisa = Ids(QString("SELECT ID FROM T_KALBUNGEN WHERE TIER = %1").arg(lisa))[0];
    QList<int> zwillinge;
    for (const char* nummer : {"DE 01 666 66666", "DE 01 666 66667"}) {
        zwillinge << Tier(nummer, 0, "Kalb", 21);
        Ausfuehren({QString("UPDATE T_STAMMDATEN SET GEBDAT = DATE '2025-01-10', MUTTERNR = 'DE 01 "
                            "111 11111' WHERE ID = %1")
                        .arg(zwillinge.last())});
    }
    // Born a day later: not of this calving.
    const int anderes = Tier("DE 01 666 66668", 0, "Kalb", 21);
    Ausfuehren({QString("UPDATE T_STAMMDATEN SET GEBDAT = DATE '2025-01-11', MUTTERNR = 'DE 01 "
                        "111 11111' WHERE ID = %1")
                    .arg(anderes)});
    DM()->TAStammdaten.CommitRetaining();
    EXPECT_EQ(speicher->Kaelber(kalbungBerta), zwillinge);
    EXPECT_TRUE(speicher->Kaelber(kalbungLisa).isEmpty());
}

TEST_F(TierSpeicherTest, ZuchtdatenLoeschenNummeriertNachUndSchreibtFest)
{
    Ausfuehren({QString("UPDATE T_STAMMDATEN SET STATUS = 'B' WHERE ID = %1").arg(berta),
                QString("INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (%1, DATE '2025-05-10', "
                        "1)")
                    .arg(berta),
                QString("INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (%1, DATE '2025-05-22', "
                        "2)")
                    .arg(berta),
                QString("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NR) VALUES (%1, DATE "
                        "'2024-09-01', 'W', 1)")
                    .arg(berta),
                QString("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NR) VALUES (%1, DATE "
                        "'2025-05-01', 'W', 2)")
                    .arg(berta)});
    const QList<int> besamungen =
        Ids(QString("SELECT ID FROM T_BESAMUNGEN WHERE TIER = %1 ORDER BY NR").arg(berta));
    const QList<int> kalbungen =
        Ids(QString("SELECT ID FROM T_KALBUNGEN WHERE TIER = %1 ORDER BY NR").arg(berta));
    DM()->TAStammdaten.CommitRetaining();

    // A row without ID is found among the current inseminations by its number.
    speicher->BesamungLoeschen(berta, std::nullopt, 1);
    speicher->KalbungLoeschen(berta, kalbungen[0], 1);
    // Read in a transaction of its own: the deletes are committed.
    EXPECT_EQ(Ids(QString("SELECT ID FROM T_BESAMUNGEN WHERE TIER = %1 AND NR = 1").arg(berta)),
              QList<int>{besamungen[1]});
    EXPECT_EQ(Ids(QString("SELECT COUNT(*) FROM T_BESAMUNGEN WHERE TIER = %1").arg(berta)),
              QList<int>{1});
    EXPECT_EQ(Ids(QString("SELECT ID FROM T_KALBUNGEN WHERE TIER = %1 AND NR = 1").arg(berta)),
              QList<int>{kalbungen[1]});
    EXPECT_EQ(Ids(QString("SELECT COUNT(*) FROM T_KALBUNGEN WHERE TIER = %1").arg(berta)),
              QList<int>{1});
}

TEST_F(TierSpeicherTest, WerteDerKarte)
{
    Ausfuehren(
        {QString("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NR) VALUES (%1, DATE "
                 "'2024-12-01', 'W', 1)")
             .arg(berta),
         QString("INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (%1, DATE '2025-03-01', 1)")
             .arg(berta),
         QString("UPDATE T_STAMMDATEN SET STATUS = 'B', GEKAUFTBEM = 'Markt' WHERE ID = %1")
             .arg(berta),
         QString("UPDATE T_STAMMDATEN SET GEKAUFTBEM = 'Hof Maier' WHERE ID = %1").arg(lisa),
         QString("UPDATE T_STAMMDATEN SET VERKAUFTBEM = 'Schlachtung' WHERE ID = %1")
             .arg(verkauft)});
    DM()->TAStammdaten.CommitRetaining();
    // The last insemination and the breed's 225 days.
    EXPECT_EQ(speicher->TrockenBerechnen(berta), QDate(2025, 10, 12));
    EXPECT_FALSE(speicher->TrockenBerechnen(lisa).isValid());
    EXPECT_EQ(speicher->RindernZyklus(1), 21);
    EXPECT_EQ(speicher->RindernZyklus(999), 0);
    EXPECT_EQ(speicher->ZeitraumAnzahl(berta), 1);
    EXPECT_EQ(speicher->ZeitraumAnzahl(999999), 0);

    const auto info = speicher->Info(anna);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->betriebsstaette, "O'Brien");
    EXPECT_FALSE(info->alter.isEmpty());
    EXPECT_FALSE(speicher->Info(999999).has_value());

    const QStringList gekauft = speicher->BisherigeBemerkungen(TTierSpeicher::TBemerkung::Gekauft);
    EXPECT_TRUE(gekauft.contains("Hof Maier"));
    EXPECT_TRUE(gekauft.contains("Markt"));
    EXPECT_LT(gekauft.indexOf("Hof Maier"), gekauft.indexOf("Markt"));
    EXPECT_FALSE(gekauft.contains("Schlachtung"));
    EXPECT_TRUE(speicher->BisherigeBemerkungen(TTierSpeicher::TBemerkung::Verkauft)
                    .contains("Schlachtung"));

    const auto staelle = TTierSpeicher::Betriebsstaetten(DM()->TAStammdaten);
    EXPECT_EQ(staelle, (TTierSpeicher::TEintraege{{21, "Nord"}, {22, "O'Brien"}, {1, "Stall"}}));
    const auto rassen = TTierSpeicher::Rassen(DM()->TAStammdaten);
    ASSERT_FALSE(rassen.isEmpty());
    EXPECT_EQ(TTierSpeicher::RasseName(DM()->TAStammdaten, rassen[0].first), rassen[0].second);
    EXPECT_TRUE(TTierSpeicher::RasseName(DM()->TAStammdaten, 999).isEmpty());
}

}  // namespace
