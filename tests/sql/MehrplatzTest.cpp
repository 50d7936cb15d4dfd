// Two workstations on one herd database: two connections whose transactions overlap, waiting for
// locks or not.

#include <TestDatabase.h>

#include <Database.h>
#include <Error.h>
#include <EventListener.h>
#include <Query.h>
#include <Transaction.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

namespace {

int Sql(db::Transaction& tr, const QString& sql)
{
    db::Query q(tr, sql);
    q.Execute();
    return q.FieldCount() > 0 && !q.Eof() ? q.Field(0).AsInteger() : 0;
}

// The first column of the first row, in a transaction of its own that sees what is committed.
int Gelesen(db::Database& database, const QString& sql)
{
    db::Transaction tr(database);
    tr.Start();
    return Sql(tr, sql);
}

int NeuesTier(db::Transaction& tr, const QString& nummer, const QString& status = "J")
{
    return Sql(tr, QStringLiteral("INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE, "
                                  "STATUS) VALUES ('%1', '01.03.2020', 'W', 1, '%2') RETURNING ID")
                       .arg(nummer, status));
}

// What the handheld's run reads and clears.
const QString MarkenZaehlen =
    QStringLiteral("SELECT COUNT(*) FROM T_EINSTELLUNGEN WHERE NAME = 'Hotsync-Slow-T_STAMMDATEN'");
const QString MarkenLoeschen =
    QStringLiteral("DELETE FROM T_EINSTELLUNGEN WHERE WERT = 'HOTSYNC-SLOW'");

struct Modus {
    const char* name;
    db::TransactionOptions optionen;
};

// A short wait keeps a lock conflict from holding a test up; with no wait it fails at once.
const Modus Modi[] = {
    {"lesen bestätigt, warten", {db::TransactionOptions::ReadCommitted, false, 1}},
    {"lesen bestätigt, nicht warten", {db::TransactionOptions::ReadCommitted, false, 0}},
    {"Schnappschuss, warten", {db::TransactionOptions::Snapshot, false, 1}},
    {"Schnappschuss, nicht warten", {db::TransactionOptions::Snapshot, false, 0}},
};

// Two workstations delete animals the handheld keeps at the same time: both deletions go
// through, and the slow mark stands exactly when one of them committed. A mark left by an
// earlier deletion that the handheld has not yet picked up is no obstacle either.
TEST(MehrplatzTest, DeletionsOnTwoWorkstationsBothGoThroughAndMarkTheTableOnce)
{
    const struct {
        const char* name;
        bool ersteBestaetigt;
        bool zweiteBestaetigt;
    } enden[] = {
        {"beide bestätigt", true, true},
        {"nur die erste bestätigt", true, false},
        {"nur die zweite bestätigt", false, true},
        {"beide zurückgerollt", false, false},
    };
    for (const Modus& modus : Modi)
        for (const bool schonMarkiert : {false, true})
            for (const auto& ende : enden) {
                SCOPED_TRACE(std::string(modus.name) + ", " + ende.name +
                             (schonMarkiert ? ", schon markiert" : ""));
                TestDatabase t;
                int tiere[2];
                {
                    db::Transaction vorher(t.Db());
                    vorher.Start();
                    tiere[0] = NeuesTier(vorher, "DE 0100000101");
                    tiere[1] = NeuesTier(vorher, "DE 0100000102");
                    if (schonMarkiert)
                        Sql(vorher, QStringLiteral("DELETE FROM T_STAMMDATEN WHERE ID = %1")
                                        .arg(NeuesTier(vorher, "DE 0100000103")));
                    vorher.Commit();
                }
                ASSERT_EQ(Gelesen(t.Db(), MarkenZaehlen) > 0, schonMarkiert);

                db::Database zweiteStation;
                zweiteStation.Open(t.Params());
                db::Transaction erste(t.Db(), {}, modus.optionen);
                db::Transaction zweite(zweiteStation, {}, modus.optionen);
                erste.Start();
                zweite.Start();
                const QString loeschen = QStringLiteral("DELETE FROM T_STAMMDATEN WHERE ID = %1");
                ASSERT_NO_THROW(Sql(erste, loeschen.arg(tiere[0])));
                ASSERT_NO_THROW(Sql(zweite, loeschen.arg(tiere[1])));
                // Both see their own mark before they end.
                EXPECT_GT(Sql(erste, MarkenZaehlen), 0);
                EXPECT_GT(Sql(zweite, MarkenZaehlen), 0);
                ende.ersteBestaetigt ? erste.Commit() : erste.Rollback();
                ASSERT_NO_THROW(ende.zweiteBestaetigt ? zweite.Commit() : zweite.Rollback());

                const bool geloescht = ende.ersteBestaetigt || ende.zweiteBestaetigt;
                EXPECT_EQ(Gelesen(t.Db(), MarkenZaehlen) > 0, geloescht || schonMarkiert);
                EXPECT_EQ(Gelesen(t.Db(), QStringLiteral("SELECT COUNT(*) FROM T_STAMMDATEN")),
                          2 - int(ende.ersteBestaetigt) - int(ende.zweiteBestaetigt));

                // The handheld's run clears every mark of the table.
                db::Transaction lauf(zweiteStation);
                lauf.Start();
                Sql(lauf, MarkenLoeschen);
                lauf.Commit();
                EXPECT_EQ(Gelesen(t.Db(), MarkenZaehlen), 0);
            }
}

// The marks are no settings: many deletions from many transactions leave ordinary settings unique
// by name, and one transaction writes its mark once however much it deletes.
TEST(MehrplatzTest, MarksRepeatOnlyAcrossTransactionsAndSettingsStayUnique)
{
    TestDatabase t;
    db::Transaction tr(t.Db());
    tr.Start();
    for (const char* nummer : {"DE 0100000111", "DE 0100000112", "DE 0100000113"})
        NeuesTier(tr, nummer);
    Sql(tr, "DELETE FROM T_STAMMDATEN ROWS 1");
    Sql(tr, "DELETE FROM T_STAMMDATEN ROWS 1");
    EXPECT_EQ(Sql(tr, MarkenZaehlen), 1);
    tr.Commit();
    tr.Start();
    Sql(tr, "DELETE FROM T_STAMMDATEN");
    EXPECT_EQ(Sql(tr, MarkenZaehlen), 2);

    try {
        Sql(tr, "INSERT INTO T_EINSTELLUNGEN (NAME, WERT) VALUES ('Version', '2')");
        ADD_FAILURE() << "a second row of an ordinary setting was stored";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("UX_EINSTELLUNGEN_NAME")))
            << e.Message().toStdString();
    }
    Sql(tr,
        "UPDATE OR INSERT INTO T_EINSTELLUNGEN (NAME, WERT) VALUES ('Version', '2') "
        "MATCHING (NAME)");
    EXPECT_EQ(Sql(tr, "SELECT COUNT(*) FROM T_EINSTELLUNGEN WHERE NAME = 'Version'"), 1);
}

// A mark the failed statement undid is written again by the next deletion of the same
// transaction.
TEST(MehrplatzTest, AMarkUndoneWithItsStatementIsWrittenAgain)
{
    TestDatabase t;
    db::Transaction tr(t.Db());
    tr.Start();
    for (const char* rasse :
         {"(901, 'Frei', 'FR')", "(902, 'Vergeben', 'VG')", "(903, 'Auch frei', 'AF')"})
        Sql(tr, QStringLiteral("INSERT INTO T_RASSEN (ID, BEZEICHNUNG, RASSE_KURZ) VALUES %1")
                    .arg(QString::fromUtf8(rasse)));
    Sql(tr, QStringLiteral("UPDATE T_STAMMDATEN SET RASSE = 902 WHERE ID = %1")
                .arg(NeuesTier(tr, "DE 0100000121")));
    tr.Commit();
    tr.Start();
    const QString marken =
        QStringLiteral("SELECT COUNT(*) FROM T_EINSTELLUNGEN WHERE NAME = 'Hotsync-Slow-T_RASSEN'");
    // The free breed goes first and marks; the breed in use then fails the whole statement.
    EXPECT_THROW(Sql(tr, "DELETE FROM T_RASSEN WHERE ID IN (901, 902) ORDER BY ID"), db::Error);
    EXPECT_EQ(Sql(tr, "SELECT COUNT(*) FROM T_RASSEN WHERE ID = 901"), 1);
    EXPECT_EQ(Sql(tr, marken), 0);
    Sql(tr, "DELETE FROM T_RASSEN WHERE ID = 903");
    EXPECT_EQ(Sql(tr, marken), 1);
}

// Setting a mark makes no program reload its settings; the deletion's own event still comes.
TEST(MehrplatzTest, MarksPostNoSettingsEvent)
{
    TestDatabase t;
    db::Database zweiteStation;
    zweiteStation.Open(t.Params());
    {
        db::Transaction tr(t.Db());
        tr.Start();
        NeuesTier(tr, "DE 0100000131");
        NeuesTier(tr, "DE 0100000132");
        tr.Commit();
    }
    db::EventListener listener(t.Db());
    listener.SetEvents({"CHANGE_EINSTELLUNGEN", "CHANGE_STAMMDATEN"});
    QSignalSpy spy(&listener, &db::EventListener::EventAlert);
    listener.Register();
    spy.wait(300);
    spy.clear();

    const auto ereignisse = [&spy](const QString& erwartet) {
        QStringList erhalten;
        QElapsedTimer zeit;
        zeit.start();
        while (!erhalten.contains(erwartet) && zeit.elapsed() < 10000) {
            spy.wait(100);
            for (const auto& alarm : spy)
                erhalten << alarm[0].toString();
            spy.clear();
        }
        // Whatever the same commits posted as well has arrived by now.
        spy.wait(300);
        for (const auto& alarm : spy)
            erhalten << alarm[0].toString();
        spy.clear();
        return erhalten;
    };

    db::Transaction erste(t.Db());
    db::Transaction zweite(zweiteStation);
    erste.Start();
    zweite.Start();
    Sql(erste, "DELETE FROM T_STAMMDATEN ROWS 1");
    Sql(zweite, "DELETE FROM T_STAMMDATEN WHERE ID = (SELECT MAX(ID) FROM T_STAMMDATEN)");
    erste.Commit();
    zweite.Commit();
    EXPECT_FALSE(ereignisse("CHANGE_STAMMDATEN").contains("CHANGE_EINSTELLUNGEN"));
    ASSERT_GT(Gelesen(t.Db(), MarkenZaehlen), 0);

    // Nor does the handheld's run that clears them (the new animal's event marks its commit);
    // a real setting still reaches the programs.
    db::Transaction lauf(zweiteStation);
    lauf.Start();
    Sql(lauf, MarkenLoeschen);
    NeuesTier(lauf, "DE 0100000133");
    lauf.Commit();
    EXPECT_FALSE(ereignisse("CHANGE_STAMMDATEN").contains("CHANGE_EINSTELLUNGEN"));
    EXPECT_EQ(Gelesen(t.Db(), MarkenZaehlen), 0);
    db::Transaction einstellung(zweiteStation);
    einstellung.Start();
    Sql(einstellung, "UPDATE T_EINSTELLUNGEN SET WERT = WERT WHERE NAME = 'Version'");
    einstellung.Commit();
    EXPECT_TRUE(ereignisse("CHANGE_EINSTELLUNGEN").contains("CHANGE_EINSTELLUNGEN"));
}

// The start-up work of the database, for two programs starting at once. The second start finds
// the first's transaction still open.
class InitDatenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db::Transaction tr(t_.Db());
        tr.Start();
        kuh_ = NeuesTier(tr, "DE 0100000141", "T");
        Sql(tr, QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM) VALUES (%1, "
                               "CURRENT_DATE - 40)")
                    .arg(kuh_));
        Sql(tr,
            "INSERT INTO T_TERMINE_EINSTELLUNG (ANKERPUNKT, TERMIN, VOR, NACH, TIERKLASSE, "
            "TEXT, ERLEDIGEN) VALUES ('BE', 42, 7, 0, 'GW', 'Trächtigkeit untersuchen', 'T')");
        Sql(tr,
            "INSERT INTO T_TERMINE_EINSTELLUNG (ID, ANKERPUNKT, TERMIN, VOR, NACH, "
            "TIERKLASSE, TEXT, ERLEDIGEN) VALUES (950, 'BE', 300, 7, 0, 'GW', 'Später', 'T')");
        tr.Commit();
        zweiteStation_.Open(t_.Params());
    }

    // The cow is pregnant; with `trocken` her dry-off day has come. The rule makes her one
    // appointment, and an open one that the rules no longer give waits to be dropped.
    void Ausgangslage(bool trocken)
    {
        trocken_ = trocken;
        db::Transaction tr(t_.Db());
        tr.Start();
        Sql(tr, "DELETE FROM T_TERMINE_ERLEDIGEN");
        Sql(tr, QStringLiteral("INSERT INTO T_TERMINE_ERLEDIGEN (TERMIN_ID, TERMIN, TIER) "
                               "VALUES (950, CURRENT_DATE - 3, %1)")
                    .arg(kuh_));
        Sql(tr, QStringLiteral("UPDATE T_STAMMDATEN SET STATUS = 'T', TROCKEN = %1 WHERE ID = %2")
                    .arg(trocken ? QStringLiteral("CURRENT_DATE - 1") : QStringLiteral("NULL"))
                    .arg(kuh_));
        tr.Commit();
    }

    // What the start-up work leaves behind once it was done (and committed) once.
    void ErgebnisPruefen()
    {
        EXPECT_EQ(
            Gelesen(t_.Db(), "SELECT COUNT(*) FROM T_TERMINE_ERLEDIGEN WHERE TERMIN_ID <> 950"), 1);
        EXPECT_EQ(
            Gelesen(t_.Db(), "SELECT COUNT(*) FROM T_TERMINE_ERLEDIGEN WHERE TERMIN_ID = 950"), 0);
        EXPECT_EQ(Gelesen(t_.Db(), QStringLiteral("SELECT IIF(STATUS = 'R', 1, 0) FROM "
                                                  "T_STAMMDATEN WHERE ID = %1")
                                       .arg(kuh_)),
                  int(trocken_));
    }

    TestDatabase t_;
    db::Database zweiteStation_;
    int kuh_ = 0;
    bool trocken_ = false;
};

const QString InitDaten = QStringLiteral("EXECUTE PROCEDURE P_INIT_DATEN");
// The start on another connection, running in the engine (a statement waiting for a lock runs).
const QString ZweiterStartLaeuft = QStringLiteral(
    "SELECT COUNT(*) FROM MON$STATEMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION "
    "AND MON$STATE = 1 AND MON$SQL_TEXT CONTAINING 'P_INIT_DATEN'");

const char* Name(db::TransactionOptions::Isolation isolation)
{
    return isolation == db::TransactionOptions::Snapshot ? "Schnappschuss" : "lesen bestätigt";
}

// Without a wait the second start goes past what the first is writing at that moment and leaves
// it to the first.
TEST_F(InitDatenTest, TheSecondStartWithoutWaitSucceedsBesideTheOpenFirst)
{
    for (const auto isolation :
         {db::TransactionOptions::ReadCommitted, db::TransactionOptions::Snapshot})
        for (const bool trocken : {false, true}) {
            SCOPED_TRACE(std::string(Name(isolation)) + (trocken ? ", trocken" : ""));
            Ausgangslage(trocken);
            db::Transaction erste(t_.Db());
            db::Transaction zweite(zweiteStation_, {}, {isolation, false, 0});
            erste.Start();
            zweite.Start();
            Sql(erste, InitDaten);
            EXPECT_NO_THROW(Sql(zweite, InitDaten));
            erste.Commit();
            EXPECT_NO_THROW(zweite.Commit());
            ErgebnisPruefen();
            // A later start, with nothing open beside it, finds nothing to do twice.
            db::Transaction danach(zweiteStation_, {}, {isolation, false, 0});
            danach.Start();
            EXPECT_NO_THROW(Sql(danach, InitDaten));
            danach.Commit();
            ErgebnisPruefen();
        }
}

// As the programs start it: the second start waits for the first's transaction and then succeeds
// whether the first commits or rolls back; after a rollback it does the work itself.
TEST_F(InitDatenTest, TheSecondStartWaitsForTheFirstAndSucceeds)
{
    for (const auto isolation :
         {db::TransactionOptions::ReadCommitted, db::TransactionOptions::Snapshot})
        for (const bool trocken : {false, true})
            for (const bool ersteBestaetigt : {true, false}) {
                SCOPED_TRACE(
                    std::string(Name(isolation)) + (trocken ? ", trocken" : "") +
                    (ersteBestaetigt ? ", die erste bestätigt" : ", die erste zurückgerollt"));
                Ausgangslage(trocken);
                db::Transaction erste(t_.Db());
                erste.Start();
                Sql(erste, InitDaten);

                std::atomic<bool> erreicht = false;
                std::atomic<bool> fertig = false;
                std::optional<std::string> fehler;
                std::thread zweiterStart([&] {
                    try {
                        db::Database station;
                        station.Open(t_.Params());
                        db::Transaction zweite(station, {}, {isolation, false, 30});
                        zweite.Start();
                        erreicht = true;
                        Sql(zweite, InitDaten);
                        zweite.Commit();
                    } catch (const std::exception& e) {
                        fehler = e.what();
                    }
                    fertig = true;
                });
                // The second start is waiting once its call runs in the engine and has not
                // ended; it cannot end before the first, which holds the rows it changes.
                EXPECT_TRUE(
                    QTest::qWaitFor([&] { return erreicht.load() || fertig.load(); }, 30000));
                EXPECT_TRUE(QTest::qWaitFor(
                    [&] { return fertig.load() || Gelesen(t_.Db(), ZweiterStartLaeuft) > 0; },
                    30000));
                EXPECT_FALSE(fertig) << "the second start did not wait for the first";
                ersteBestaetigt ? erste.Commit() : erste.Rollback();
                zweiterStart.join();
                EXPECT_FALSE(fehler.has_value()) << fehler.value_or("");
                ErgebnisPruefen();
            }
}

}  // namespace
