#include <DBTools.h>
#include <Datenmodul.h>
#include <Grundeinstellungen.h>

#include <Query.h>

#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class DatenmodulTest : public DatabaseTest {
protected:
    void SetUp() override { dm.Datenbank.Open(TestDatabase::Params(Suite().Path())); }

    // A new animal, committed; returns its ID.
    static int TierAnlegen(const QString& nummer, const QDate& gebdat = QDate(2020, 3, 1))
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr,
                    "INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) "
                    "VALUES (:NUMMER, 'Berta', :GEBDAT, 'W', 1) RETURNING ID");
        q.Param("NUMMER").SetString(nummer);
        q.Param("GEBDAT").SetDate(gebdat);
        q.Execute();
        const int id = q.Field(0).AsInteger();
        tr.Commit();
        return id;
    }

    static int Meldungen(const QString& bedingung = "1 = 1")
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr, "SELECT COUNT(*) FROM T_HITMELDUNGEN WHERE " + bedingung);
        q.Open();
        return q.Field(0).AsInteger();
    }

    TDM dm;
};

}  // namespace

TEST_F(DatenmodulTest, OneValueHelpersGiveZeroOrEmptyForNullAndNoRow)
{
    db::Transaction tr(dm.Datenbank);
    tr.Start();
    EXPECT_EQ(
        dm.SQLWertInteger(tr, "SELECT CAST(:X AS INTEGER) * 2 FROM RDB$DATABASE", {{"X", 21}}), 42);
    EXPECT_EQ(dm.SQLWertString(tr, "SELECT 'Stall ' || CAST(:N AS VARCHAR(10)) FROM RDB$DATABASE",
                               {{"N", "Nord"}}),
              "Stall Nord");
    EXPECT_EQ(dm.SQLWertDatum(tr, "SELECT DATE '2024-02-29' FROM RDB$DATABASE"),
              QDate(2024, 2, 29));
    for (const char* sql : {"SELECT CAST(NULL AS INTEGER) FROM RDB$DATABASE",
                            "SELECT 1 FROM RDB$DATABASE WHERE 1 = 0"}) {
        SCOPED_TRACE(sql);
        EXPECT_EQ(dm.SQLWertInteger(tr, sql), 0);
        EXPECT_EQ(dm.SQLWertString(tr, sql), "");
        EXPECT_FALSE(dm.SQLWertDatum(tr, sql).isValid());
    }
    QStringList liste{"alt"};
    dm.SQLListe(tr,
                "SELECT 1, ' a ' FROM RDB$DATABASE UNION ALL SELECT 2, '' FROM RDB$DATABASE "
                "UNION ALL SELECT 3, CAST(NULL AS VARCHAR(5)) FROM RDB$DATABASE UNION ALL "
                "SELECT 4, 'b' FROM RDB$DATABASE ORDER BY 1",
                {}, 1, liste);
    EXPECT_EQ(liste, (QStringList{"a", "b"}));
    // The helpers leave the caller's transaction to the caller.
    EXPECT_TRUE(tr.Active());
}

TEST_F(DatenmodulTest, PremisesListAndNames)
{
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr,
                    "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES "
                    "(:ID, :NAME, 1)");
        for (const auto& [id, name] : {std::pair{7, "Jungvieh"}, std::pair{5, "Altbau"}}) {
            q.Param("ID").SetInteger(id);
            q.Param("NAME").SetString(name);
            q.Execute();
        }
        tr.Commit();
    }
    db::Transaction tr(dm.Datenbank);
    tr.Start();
    QStringList namen{"alt"};
    QList<int> ids{99};
    dm.BetriebsstaettenListe(tr, namen, &ids);
    EXPECT_EQ(namen, (QStringList{"Alle Betriebsstätten", "Altbau", "Jungvieh", "Stall"}));
    EXPECT_EQ(ids, (QList<int>{0, 5, 7, 1}));
    dm.BetriebsstaettenListe(tr, namen);
    EXPECT_EQ(namen.size(), 4);

    EXPECT_EQ(dm.BetriebsstaetteBezeichnung(7), "Jungvieh");
    EXPECT_EQ(dm.BetriebsstaetteBezeichnung(123), "");
    EXPECT_FALSE(dm.TABetriebsstaette.Active());
    // Without asking the database: also works without a connection.
    TDM ohne;
    EXPECT_EQ(ohne.BetriebsstaetteBezeichnung(0), "Alle Betriebsstätten");
    EXPECT_EQ(ohne.BetriebsstaetteBezeichnung(-1), "Alle Betriebsstätten");
}

TEST_F(DatenmodulTest, PendingReportsHaveTheirThreeShapes)
{
    const int kuh = TierAnlegen("DE 01 234 56789");
    dm.TAStammdaten.Start();
    dm.HITMeldungAnlegen(dm.TAStammdaten, {kuh, 8, QDate(2024, 5, 2), "", 2, 3});
    dm.HITMeldungAnlegen(dm.TAStammdaten, {kuh, 14, QDate(2024, 5, 3), "", 1, 0});
    dm.HITMeldungAnlegen(dm.TAStammdaten, {kuh, -3, QDate(2024, 5, 4), "276090000000001", 1, 0});
    dm.TAStammdaten.Commit();

    db::Transaction tr(Db());
    tr.Start();
    db::Query q(tr,
                "SELECT TIER, MELDUNG, DATUM, BETRIEB, LOM, DATEN FROM T_HITMELDUNGEN "
                "WHERE TIER = :T OR LOM = :LOM ORDER BY DATUM");
    q.Param("T").SetInteger(kuh);
    q.Param("LOM").SetString("DE 01 234 56789");
    struct Zeile {
        QVariant tier;
        int meldung;
        QDate datum;
        QVariant betrieb, lom, daten;
    };
    const QList<Zeile> erwartet = {
        {kuh, 8, QDate(2024, 5, 2), {}, {}, "MEHRLING=2;VERLAUF=3"},
        {kuh, 14, QDate(2024, 5, 3), QString(15, ' '), {}, {}},
        {{}, 3, QDate(2024, 5, 4), "276090000000001", "DE 01 234 56789", {}},
    };
    int i = 0;
    for (q.Open(); !q.Eof(); q.Next(), ++i) {
        ASSERT_LT(i, erwartet.size());
        const Zeile& z = erwartet[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(q.Field("TIER").AsVariant(), z.tier);
        EXPECT_EQ(q.Field("MELDUNG").AsInteger(), z.meldung);
        EXPECT_EQ(q.Field("DATUM").AsDate(), z.datum);
        EXPECT_EQ(q.Field("BETRIEB").AsVariant(), z.betrieb);
        EXPECT_EQ(q.Field("LOM").AsVariant(), z.lom);
        EXPECT_EQ(q.Field("DATEN").AsVariant(), z.daten);
    }
    EXPECT_EQ(i, erwartet.size());
}

TEST_F(DatenmodulTest, PendingReportGoesWithItsCallersRollback)
{
    const int kuh = TierAnlegen("DE 01 234 50001");
    dm.TAStammdaten.Start();
    {
        db::Query q(dm.TAStammdaten, "UPDATE T_STAMMDATEN SET NAME = 'Geaendert' WHERE ID = :ID");
        q.Param("ID").SetInteger(kuh);
        q.Execute();
    }
    dm.HITMeldungAnlegen(dm.TAStammdaten, {kuh, 14, QDate(2024, 6, 1), "", 1, 0});
    // The caller's edit and the report are still one unit of work.
    EXPECT_TRUE(dm.TAStammdaten.Active());
    EXPECT_EQ(Meldungen(QStringLiteral("TIER = %1").arg(kuh)), 0);
    dm.TAStammdaten.Rollback();
    EXPECT_EQ(Meldungen(QStringLiteral("TIER = %1").arg(kuh)), 0);
    db::Transaction tr(Db());
    tr.Start();
    db::Query q(tr, "SELECT NAME FROM T_STAMMDATEN WHERE ID = :ID");
    q.Param("ID").SetInteger(kuh);
    q.Open();
    EXPECT_EQ(q.Field(0).AsString(), "Berta");
}

TEST_F(DatenmodulTest, DisconnectRollsBackWhatIsStillOpen)
{
    EXPECT_TRUE(dm.Verbunden());
    // The constraint texts are there for the dataset helpers while connected.
    EXPECT_EQ(DBTools::Fehlertabelle(), &dm.QDBFehler);
    QString text;
    EXPECT_TRUE(
        DBTools::DBFehlerText("violation of PRIMARY or UNIQUE KEY constraint "
                              "\"I_STAMMDATEN_NUMMER\" on table \"T_STAMMDATEN\"",
                              text));
    EXPECT_FALSE(text.isEmpty());
    const int kuh = TierAnlegen("DE 01 234 50002");
    dm.TAStammdaten.Start();
    dm.HITMeldungAnlegen(dm.TAStammdaten, {kuh, 3, QDate(2024, 7, 1), "", 1, 0});
    dm.Trennen();
    EXPECT_FALSE(dm.Verbunden());
    EXPECT_FALSE(dm.TAStammdaten.Active());
    EXPECT_EQ(DBTools::Fehlertabelle(), nullptr);
    EXPECT_FALSE(dm.TADBFehler.Active());
    EXPECT_EQ(Meldungen(QStringLiteral("TIER = %1").arg(kuh)), 0);
}

TEST_F(DatenmodulTest, SettingsEventReloadsTheCurrentSettingsBeforeTheWindowsHook)
{
    QTemporaryDir tmp;
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.filePath("xdg-data").toLocal8Bit()};
    QStringList gelesen;
    QObject::connect(&dm, &TDM::ChangeEinstellungen, [&] {
        gelesen << (Einstellungen() ? Einstellungen()->Werte().value("Betrieb-Name") : "ohne");
    });
    // Created after the connect, as a restart of the settings does.
    EinstellungenErzeugen(&dm.Datenbank, tmp.path());
    Einstellungen()->Laden();
    const auto ausfuehren = [](const QString& sql) {
        db::Transaction tr(Db());
        tr.Start();
        db::Query(tr, sql).Execute();
        tr.Commit();
    };
    ausfuehren(
        "UPDATE OR INSERT INTO T_EINSTELLUNGEN (NAME, WERT) VALUES ('Betrieb-Name', "
        "'Hof Neu') MATCHING (NAME)");
    dm.EreignisMelden("CHANGE_EINSTELLUNGEN");
    EinstellungenFreigeben();
    dm.EreignisMelden("CHANGE_EINSTELLUNGEN");
    ausfuehren("DELETE FROM T_EINSTELLUNGEN WHERE NAME = 'Betrieb-Name'");
    EXPECT_EQ(gelesen, (QStringList{"Hof Neu", "ohne"}));
}

TEST(DatenmodulEreignisTest, EachEventReachesEveryListenerOfItsOwn)
{
    TDM dm;
    QStringList gerufen;
    QObject::connect(&dm, &TDM::ChangeStammdaten, [&] { gerufen << "Stammdaten (Karte)"; });
    QObject::connect(&dm, &TDM::ChangeMLP, [&] { gerufen << "MLP"; });
    QObject::connect(&dm, &TDM::ChangeTierarzt, [&] { gerufen << "Tierarzt"; });
    {
        // A second window hears the same event while it is open, and nothing after it closed.
        QObject statistik;
        QObject::connect(&dm, &TDM::ChangeStammdaten, &statistik,
                         [&] { gerufen << "Stammdaten (Statistik)"; });
        dm.EreignisMelden("CHANGE_STAMMDATEN");
    }
    for (const char* name : {"CHANGE_STAMMDATEN", "CHANGE_MLP", "change_mlp", "CHANGE_TIERARZT",
                             "CHANGE_EINSTELLUNGEN", "CHANGE_UNBEKANNT"})
        dm.EreignisMelden(name);
    EXPECT_EQ(gerufen, (QStringList{"Stammdaten (Karte)", "Stammdaten (Statistik)",
                                    "Stammdaten (Karte)", "MLP", "Tierarzt"}));
}

TEST(DatenmodulKNRTest, ShortNumbers)
{
    const struct {
        int knr, laenge;
        const char* text;
    } faelle[] = {{0, 3, ""},      {-4, 6, ""},         {7, 3, "007"},         {7, 6, "000007"},
                  {999, 3, "999"}, {1000, 3, "001000"}, {123456, 3, "123456"}, {42, 6, "000042"}};
    for (const auto& f : faelle)
        EXPECT_EQ(KNRFormatieren(f.knr, f.laenge), f.text) << f.knr << " " << f.laenge;
}
