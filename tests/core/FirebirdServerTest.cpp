#include "FirebirdTestServer.h"

#include <DBConnect.h>
#include <Datenmodul.h>

#include <Error.h>
#include <Query.h>

#include <MessageBoxScript.h>
#include <TestDatabase.h>

#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// One server for the suite, with a copy of the project's database on it.
class FirebirdServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server_ = std::make_unique<FirebirdTestServer>();
        if (!server_->Laeuft())
            return;
        TestDatabase vorlage;
        vorlage.Db().Close();
        datei_ = server_->Ordner() + "/herde.fdb";
        ASSERT_TRUE(QFile::copy(vorlage.Path(), datei_));
    }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override
    {
        if (!server_->Laeuft())
            GTEST_SKIP() << "Kein Datenbank-Server für den Test: "
                         << server_->Grund().toStdString();
    }

    static QString Name() { return server_->Name(datei_); }

    static int Benutzer(const QString& name)
    {
        db::Database admin;
        admin.Open({Name(), "SYSDBA", FirebirdTestServer::AdminPasswort, {}});
        db::Transaction tr(admin);
        tr.Start();
        db::Query q(tr, "SELECT COUNT(*) FROM SEC$USERS WHERE SEC$USER_NAME = :N");
        q.Param("N").SetString(name);
        q.Open();
        return q.Field(0).AsInteger();
    }

    // The connection routine with this machine, but no settings object and no setup wizard.
    static TDBConnect Verbindung(QStringList& log)
    {
        TDBConnect::Umgebung u = TDBConnect::StandardUmgebung();
        u.nameSpeichern = [&log](const QString& n) { log << "speichern " + n; };
        u.einrichtungStarten = [&log] {
            log << "einrichtung";
            return true;
        };
        return TDBConnect(u);
    }

    static inline std::unique_ptr<FirebirdTestServer> server_;
    static inline QString datei_;
};

}  // namespace

TEST_F(FirebirdServerTest, TheProgramUserIsCreatedOnceAndThenConnects)
{
    QStringList log;
    db::Database d;
    const db::ConnectParams programm{Name(), DBConnect::Benutzer, DBConnect::Passwort, {}};
    {
        // The server does not know the program's user yet.
        MessageBoxScript script;
        script.AnswerWith(Tools::mrOk);
        EXPECT_FALSE(Verbindung(log).DatenbankVerbinden(d, programm));
        ASSERT_EQ(script.Shown().size(), 1);
        EXPECT_TRUE(script.Shown()[0].text.contains("Fehler: db::Error"));
        EXPECT_EQ(log, (QStringList{"speichern " + Name(), "einrichtung"}));
    }
    EXPECT_THROW(ProgrammbenutzerPruefen(Name(), "falsch"), db::Error);
    EXPECT_EQ(Benutzer("BOVANTIS"), 0);

    ProgrammbenutzerPruefen(Name(), FirebirdTestServer::AdminPasswort);
    ProgrammbenutzerPruefen(Name(), FirebirdTestServer::AdminPasswort);
    EXPECT_EQ(Benutzer("BOVANTIS"), 1);

    log.clear();
    MessageBoxScript script;
    EXPECT_TRUE(Verbindung(log).DatenbankVerbinden(d, programm));
    EXPECT_TRUE(d.Connected());
    EXPECT_TRUE(script.Shown().isEmpty());
}

TEST_F(FirebirdServerTest, TwoClientsSeeEachOthersCommittedWork)
{
    ProgrammbenutzerPruefen(Name(), FirebirdTestServer::AdminPasswort);
    TDM erster;
    TDM zweiter;
    for (TDM* dm : {&erster, &zweiter})
        dm->Datenbank.Open({Name(), DBConnect::Benutzer, DBConnect::Passwort, {}});

    erster.TAStammdaten.Start();
    db::Query q(erster.TAStammdaten,
                "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) "
                "VALUES (31, 'Weide', 1)");
    q.Execute();
    EXPECT_EQ(zweiter.BetriebsstaetteBezeichnung(31), "");
    erster.TAStammdaten.Commit();
    EXPECT_EQ(zweiter.BetriebsstaetteBezeichnung(31), "Weide");

    // A change of animal data reaches the other client's hook once its writer commits.
    QStringList gemeldet;
    QObject::connect(&zweiter, &TDM::ChangeStammdaten, [&] { gemeldet << "Stammdaten"; });
    QObject::connect(&zweiter, &TDM::ChangeTierarzt, [&] { gemeldet << "Tierarzt"; });
    erster.TAStammdaten.Start();
    db::Query tier(erster.TAStammdaten,
                   "INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) VALUES "
                   "('DE 09 111 22222', DATE '2023-04-05', 'W', 1)");
    tier.Execute();
    // A treatment committed meanwhile is heard first: the uncommitted animal posted nothing.
    {
        db::Transaction marke(erster.Datenbank);
        marke.Start();
        db::Query(marke, "INSERT INTO T_TIERARZTLEISTUNG (ARZNEIMITTEL) VALUES ('Marke')")
            .Execute();
        marke.Commit();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return !gemeldet.isEmpty(); }, 10000));
    EXPECT_EQ(gemeldet, QStringList{"Tierarzt"});
    erster.TAStammdaten.Commit();
    EXPECT_TRUE(QTest::qWaitFor([&] { return gemeldet.size() > 1; }, 10000));
    EXPECT_EQ(gemeldet, (QStringList{"Tierarzt", "Stammdaten"}));
}

TEST_F(FirebirdServerTest, AfterTheServerWasKilledTheDataModuleDisconnectsAndReconnects)
{
    ProgrammbenutzerPruefen(Name(), FirebirdTestServer::AdminPasswort);
    const db::ConnectParams programm{Name(), DBConnect::Benutzer, DBConnect::Passwort, {}};
    auto dm = std::make_unique<TDM>();
    dm->Datenbank.Open(programm);
    {
        dm->TAStammdaten.Start();
        db::Query q(dm->TAStammdaten,
                    "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) "
                    "VALUES (32, 'Jungvieh', 1)");
        q.Execute();

        server_->Abschiessen();
        // The lost connection may be reported, but the data module ends disconnected.
        try {
            dm->Trennen();
        } catch (const db::Error&) {
        }
        EXPECT_FALSE(dm->Datenbank.Connected());
        EXPECT_FALSE(dm->TAStammdaten.Active());
    }

    ASSERT_TRUE(server_->Starten());
    dm->Datenbank.Open(programm);
    EXPECT_TRUE(dm->Datenbank.Connected());
    // The work that was open when the server died is gone, not half stored.
    EXPECT_EQ(dm->BetriebsstaetteBezeichnung(32), "");
    {
        dm->TAStammdaten.Start();
        db::Query q(dm->TAStammdaten,
                    "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) "
                    "VALUES (32, 'Jungvieh', 1)");
        q.Execute();
        dm->TAStammdaten.Commit();
    }
    EXPECT_EQ(dm->BetriebsstaetteBezeichnung(32), "Jungvieh");

    // Killed again and then freed: the data module's end must not call into its freed members.
    server_->Abschiessen();
    dm.reset();
    ASSERT_TRUE(server_->Starten());
}
