#include <Database.h>
#include <EngineRoot.h>
#include <Error.h>
#include <EventListener.h>
#include <Query.h>
#include <ScriptRunner.h>
#include <Services.h>
#include <Transaction.h>

#include <TestDatabase.h>

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

TEST(ServicesTest, AddUserRefusesEmptyNames)
{
    EXPECT_THROW(db::Services::AddUser({}, QStringLiteral(" "), QStringLiteral("x")), db::Error);
    EXPECT_THROW(db::Services::AddUser({}, QStringLiteral("bovantis"), QString()), db::Error);
}

}  // namespace
