#include <Database.h>
#include <EngineRoot.h>
#include <Error.h>
#include <EventListener.h>
#include <Query.h>
#include <ScriptRunner.h>
#include <Services.h>
#include <Transaction.h>

#include <TestDatabase.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

const QStringList eventNames{"CHANGE_EINSTELLUNGEN", "CHANGE_MLP", "CHANGE_STAMMDATEN",
                             "CHANGE_TIERARZT"};

void Post(db::Database& database, const QString& name)
{
    db::Transaction tr(database);
    tr.Start();
    db::Query q(tr, QStringLiteral("EXECUTE BLOCK AS BEGIN POST_EVENT '%1'; END").arg(name));
    q.Execute();
    tr.Commit();
}

// Collects alerts until one for the name arrives or the time is up.
QList<QVariantList> WaitFor(QSignalSpy& spy, const QString& name, int ms = 10000)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        for (const auto& a : spy) {
            if (a[0].toString() == name)
                return spy;
        }
        spy.wait(100);
    }
    return spy;
}

TEST(EventListenerTest, CommittedPostsReachTheListenerFromThisAndAnotherProcess)
{
    TestDatabase t;
    db::EventListener listener(t.Db());
    listener.SetEvents(eventNames);
    QSignalSpy spy(&listener, &db::EventListener::EventAlert);
    listener.Register();
    EXPECT_TRUE(listener.Registered());
    spy.wait(300);
    EXPECT_TRUE(spy.isEmpty()) << "the engine's first delivery is no alert";

    Post(t.Db(), QStringLiteral("CHANGE_MLP"));
    WaitFor(spy, QStringLiteral("CHANGE_MLP"));
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy[0][0].toString(), QStringLiteral("CHANGE_MLP"));
    EXPECT_EQ(spy[0][1].toInt(), 1);
    spy.clear();

    // A rolled-back post is never delivered.
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query(tr, QStringLiteral("EXECUTE BLOCK AS BEGIN POST_EVENT 'CHANGE_TIERARZT'; END"))
            .Execute();
        tr.Rollback();
    }

    QProcess isql;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD"), db::PrepareEngineRoot());
    isql.setProcessEnvironment(env);
    isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-user"),
                                           QStringLiteral("BOVANTIS"), t.Path()});
    ASSERT_TRUE(isql.waitForStarted());
    isql.write(
        "SET TERM ^ ;\n"
        "EXECUTE BLOCK AS BEGIN POST_EVENT 'CHANGE_STAMMDATEN'; END^\n"
        "SET TERM ; ^\n"
        "COMMIT;\n"
        "QUIT;\n");
    isql.closeWriteChannel();
    ASSERT_TRUE(isql.waitForFinished(60000));
    ASSERT_EQ(isql.exitCode(), 0) << isql.readAll().toStdString();
    WaitFor(spy, QStringLiteral("CHANGE_STAMMDATEN"));
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy[0][0].toString(), QStringLiteral("CHANGE_STAMMDATEN"));

    spy.clear();
    listener.Unregister();
    EXPECT_FALSE(listener.Registered());
    Post(t.Db(), QStringLiteral("CHANGE_MLP"));
    spy.wait(500);
    EXPECT_TRUE(spy.isEmpty());

    listener.Register();
    t.Db().Close();
    EXPECT_FALSE(listener.Registered());
}

TEST(ServicesTest, BackupThenRestoreIntoNewFileReproducesTheRows)
{
    TestDatabase t;
    db::ScriptRunner(t.Db()).Run(
        QStringLiteral("CREATE TABLE T_SICHER (ID INTEGER, NAME VARCHAR(20));\n"
                       "INSERT INTO T_SICHER VALUES (1, 'Größe');\n"
                       "INSERT INTO T_SICHER VALUES (2, NULL);\n"));
    const db::ServiceParams params{{}, QStringLiteral("BOVANTIS"), QStringLiteral("heuboden")};
    const QString gbk = t.Folder() + QStringLiteral("/sicher.gbk");
    QStringList lines;
    db::Services::Backup(params, t.Path(), gbk, [&](const QString& l) { lines << l; });
    EXPECT_TRUE(QFile::exists(gbk));
    EXPECT_TRUE(lines.join('\n').contains(QStringLiteral("T_SICHER")))
        << lines.join('\n').toStdString();

    const QString copy = t.Folder() + QStringLiteral("/zurueck.fdb");
    lines.clear();
    db::Services::Restore(params, gbk, copy, false, [&](const QString& l) { lines << l; });
    EXPECT_FALSE(lines.isEmpty());
    // Without replace an existing file is left alone.
    EXPECT_THROW(db::Services::Restore(params, gbk, copy, false), db::Error);

    db::Database restored;
    restored.Open(TestDatabase::Params(copy));
    db::Transaction tr(restored);
    tr.Start();
    db::Query q(tr, QStringLiteral("SELECT ID, NAME FROM T_SICHER ORDER BY ID"));
    q.Open();
    EXPECT_EQ(q.Field(1).AsString(), QStringLiteral("Größe"));
    ASSERT_TRUE(q.Next());
    EXPECT_TRUE(q.Field(1).IsNull());
    EXPECT_FALSE(q.Next());
    tr.Commit();
    restored.Close();

    // A file that is no backup fails with the engine's message.
    QFile bad(t.Folder() + QStringLiteral("/kaputt.gbk"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("keine Sicherung");
    bad.close();
    EXPECT_THROW(db::Services::Restore(params, bad.fileName(), t.Folder() + "/neu.fdb", false),
                 db::Error);
}

// A damaged backup must never cost the database that is there: the restore fails and the file
// stays as it was, with nothing left beside it.
TEST(ServicesTest, DamagedBackupLeavesTheDatabaseThatIsThere)
{
    TestDatabase t;
    QString script = QStringLiteral("CREATE TABLE T_SICHER (ID INTEGER, NAME VARCHAR(60));\n");
    for (int i = 0; i < 40; ++i)
        script += QStringLiteral(
                      "CREATE TABLE T_LEER%1 (ID INTEGER);\n"
                      "INSERT INTO T_SICHER VALUES (%1, 'Zeile %1 mit etwas Text');\n")
                      .arg(i);
    db::ScriptRunner(t.Db()).Run(script);
    const db::ServiceParams params{{}, QStringLiteral("BOVANTIS"), QStringLiteral("heuboden")};
    const QString gbk = t.Folder() + QStringLiteral("/gut.gbk");
    db::Services::Backup(params, t.Path(), gbk);
    QFile gut(gbk);
    ASSERT_TRUE(gut.open(QIODevice::ReadOnly));
    const QByteArray sicherung = gut.readAll();
    gut.close();

    // The target: restored from the good backup, then changed so that a replacement shows.
    QDir ordner(t.Folder() + QStringLiteral("/ziel"));
    ASSERT_TRUE(ordner.mkpath(QStringLiteral(".")));
    const QString ziel = ordner.filePath(QStringLiteral("herde.fdb"));
    db::Services::Restore(params, gbk, ziel, true);
    const auto zeilen = [&] {
        db::Database d;
        d.Open(TestDatabase::Params(ziel));
        db::Transaction tr(d);
        tr.Start();
        db::Query q(tr, QStringLiteral("SELECT COUNT(*) FROM T_SICHER"));
        q.Open();
        return q.Field(0).AsInteger();
    };
    {
        db::Database d;
        d.Open(TestDatabase::Params(ziel));
        db::ScriptRunner(d).Run(QStringLiteral("INSERT INTO T_SICHER VALUES (99, 'nur im Ziel');"));
    }
    ASSERT_EQ(zeilen(), 41);

    const auto versuchen = [&](const QByteArray& inhalt) {
        QFile f(t.Folder() + QStringLiteral("/versuch.gbk"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(inhalt);
        f.close();
        try {
            db::Services::Restore(params, f.fileName(), ziel, true);
        } catch (const db::Error&) {
            return false;
        }
        return true;
    };
    const auto unveraendert = [&] {
        EXPECT_EQ(ordner.entryList(QDir::Files), QStringList{QStringLiteral("herde.fdb")});
        return zeilen() == 41;
    };

    for (const double anteil : {0.3, 0.6, 0.95}) {
        SCOPED_TRACE(anteil);
        EXPECT_FALSE(versuchen(sicherung.left(qsizetype(sicherung.size() * anteil))));
        EXPECT_TRUE(unveraendert());
    }
    // Flipped bits: where the restore notices, the target stays; a flip inside a text value
    // cannot be noticed by anyone, and then the backup's rows replace the target's.
    int bemerkt = 0;
    for (qsizetype stelle = 40; stelle < sicherung.size(); stelle += sicherung.size() / 9) {
        SCOPED_TRACE(stelle);
        QByteArray kippen = sicherung;
        kippen[stelle] = char(kippen[stelle] ^ 0x5A);
        if (!versuchen(kippen)) {
            ++bemerkt;
            EXPECT_TRUE(unveraendert());
        } else {
            EXPECT_EQ(zeilen(), 40);
            db::Database d;
            d.Open(TestDatabase::Params(ziel));
            db::ScriptRunner(d).Run(QStringLiteral("INSERT INTO T_SICHER VALUES (99, 'x');"));
        }
    }
    EXPECT_GT(bemerkt, 0);

    // A database in use is not replaced, not even by a good backup.
    {
        db::Database benutzt;
        benutzt.Open(TestDatabase::Params(ziel));
        EXPECT_THROW(db::Services::Restore(params, gbk, ziel, true), db::Error);
    }
    EXPECT_TRUE(unveraendert());
    // Not in use any more: replaced.
    db::Services::Restore(params, gbk, ziel, true);
    EXPECT_EQ(zeilen(), 40);
    EXPECT_EQ(ordner.entryList(QDir::Files), QStringList{QStringLiteral("herde.fdb")});
}

TEST(ServicesTest, AddUserRefusesEmptyNames)
{
    EXPECT_THROW(db::Services::AddUser({}, QStringLiteral(" "), QStringLiteral("x")), db::Error);
    EXPECT_THROW(db::Services::AddUser({}, QStringLiteral("bovantis"), QString()), db::Error);
}

}  // namespace
