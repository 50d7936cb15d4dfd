#include <DataSet.h>
#include <Database.h>
#include <EngineRoot.h>
#include <Error.h>
#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <TestDatabase.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <optional>

namespace {

class TransactionTest : public DatabaseTest {
public:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        db::ScriptRunner(Db()).Run(QStringLiteral(
            "CREATE TABLE T_TA (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(20));"));
    }

protected:
    static int Count(db::Transaction& tr)
    {
        db::Query q(tr, QStringLiteral("SELECT COUNT(*) FROM T_TA"));
        q.Open();
        return q.Field(0).AsInteger();
    }
    static void Insert(db::Transaction& tr, int id)
    {
        db::Query q(tr, QStringLiteral("INSERT INTO T_TA (ID) VALUES (:ID)"));
        q.Param("ID").SetInteger(id);
        q.Execute();
    }
    void TearDown() override
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query(tr, QStringLiteral("DELETE FROM T_TA")).Execute();
        tr.Commit();
    }
};

TEST_F(TransactionTest, NamedTransactionsSeeEachOthersWorkOnlyAfterCommit)
{
    db::Transaction a(Db(), QStringLiteral("TAStammdaten"));
    db::Transaction b(Db(), QStringLiteral("TAListe"));
    EXPECT_EQ(a.Name(), QStringLiteral("TAStammdaten"));
    EXPECT_TRUE(Db().Transactions().contains(&a));
    a.Start();
    b.Start();
    Insert(a, 1);
    EXPECT_EQ(Count(a), 1);
    EXPECT_EQ(Count(b), 0);
    a.CommitRetaining();
    EXPECT_TRUE(a.Active());
    EXPECT_EQ(Count(b), 1);
    Insert(a, 2);
    a.Commit();
    EXPECT_FALSE(a.Active());
    EXPECT_EQ(Count(b), 2);
    EXPECT_THROW(Count(a), db::Error);
}

TEST_F(TransactionTest, DestroyedOrRolledBackWorkIsGone)
{
    {
        db::Transaction tr(Db());
        tr.Start();
        Insert(tr, 1);
    }
    db::Transaction tr(Db());
    tr.Start();
    EXPECT_EQ(Count(tr), 0);
    Insert(tr, 2);
    tr.RollbackRetaining();
    EXPECT_EQ(Count(tr), 0);
    Insert(tr, 3);
    tr.Rollback();
    tr.Start();
    EXPECT_EQ(Count(tr), 0);
    EXPECT_THROW(tr.Start(), db::Error);
}

TEST_F(TransactionTest, CommitRetainingKeepsCursorsOpenCommitClosesThem)
{
    db::Transaction tr(Db());
    tr.Start();
    for (int i = 1; i <= 3; ++i)
        Insert(tr, i);
    db::Query q(tr, QStringLiteral("SELECT ID FROM T_TA ORDER BY ID"));
    q.Open();
    tr.CommitRetaining();
    ASSERT_TRUE(q.Active());
    EXPECT_TRUE(q.Next());
    EXPECT_EQ(q.Field(0).AsInteger(), 2);
    tr.Commit();
    EXPECT_FALSE(q.Active());
    EXPECT_TRUE(q.Eof());
    EXPECT_FALSE(q.Next());
}

TEST_F(TransactionTest, DisconnectRollsBackActiveTransactions)
{
    TestDatabase own;
    db::ScriptRunner(own.Db()).Run(QStringLiteral("CREATE TABLE T_X (ID INTEGER);"));
    db::Transaction tr(own.Db(), QStringLiteral("TAOffen"));
    tr.Start();
    db::Query q(tr, QStringLiteral("INSERT INTO T_X VALUES (1)"));
    q.Execute();
    int beforeCalls = 0;
    const auto c = QObject::connect(&own.Db(), &db::Database::BeforeDisconnect, [&] {
        ++beforeCalls;
        EXPECT_TRUE(tr.Active());
    });
    own.Db().Close();
    QObject::disconnect(c);
    EXPECT_EQ(beforeCalls, 1);
    EXPECT_FALSE(tr.Active());
    EXPECT_FALSE(own.Db().Connected());
    EXPECT_THROW(q.Execute(), db::Error);

    own.Db().Open(own.Params());
    db::Transaction check(own.Db());
    check.Start();
    db::Query count(check, QStringLiteral("SELECT COUNT(*) FROM T_X"));
    count.Open();
    EXPECT_EQ(count.Field(0).AsInteger(), 0);
}

// Objects may outlive what they work on (owners free their members in any order): they refuse
// to work, and nothing crashes.
TEST_F(TransactionTest, ObjectsOutlivingTheirConnectionOrTransactionRefuseWork)
{
    auto own = std::make_unique<TestDatabase>();
    auto tr = std::make_unique<db::Transaction>(own->Db(), QStringLiteral("TAListe"));
    db::DataSet ds(*tr);
    ds.SetSelectSQL(QStringLiteral("SELECT * FROM RDB$DATABASE"));
    tr->Start();
    ds.Open();
    db::Query q(*tr, QStringLiteral("SELECT 1 FROM RDB$DATABASE"));
    q.Open();
    tr.reset();
    EXPECT_FALSE(ds.Active());
    EXPECT_THROW(ds.GetTransaction(), db::Error);
    EXPECT_THROW(ds.Open(), db::Error);
    EXPECT_THROW(q.Open(), db::Error);

    db::Transaction orphan(own->Db());
    orphan.Start();
    own.reset();
    EXPECT_FALSE(orphan.Active());
    EXPECT_THROW(orphan.Start(), db::Error);
    EXPECT_THROW(orphan.GetDatabase(), db::Error);
}

// A second process opens the same file with the embedded engine while this one holds it open.
TEST_F(TransactionTest, SecondProcessWorksOnTheSameFileEmbedded)
{
    db::Transaction tr(Db());
    tr.Start();
    Insert(tr, 1);
    tr.Commit();

    QProcess isql;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD"), db::PrepareEngineRoot());
    isql.setProcessEnvironment(env);
    isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-user"),
                                           QStringLiteral("BOVANTIS"), Suite().Path()});
    ASSERT_TRUE(isql.waitForStarted());
    isql.write(
        "INSERT INTO T_TA (ID, NAME) VALUES (2, 'zweiter');\n"
        "COMMIT;\n"
        "SELECT 'GEZAEHLT=' || COUNT(*) FROM T_TA;\n"
        "QUIT;\n");
    isql.closeWriteChannel();
    ASSERT_TRUE(isql.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(isql.readAll());
    EXPECT_EQ(isql.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("GEZAEHLT=2"))) << out.toStdString();

    tr.Start();
    EXPECT_EQ(Count(tr), 2);
}

}  // namespace
