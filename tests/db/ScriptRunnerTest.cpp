#include <Database.h>
#include <Error.h>
#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <TestDatabase.h>

#include <gtest/gtest.h>

namespace {

TEST(SplitScriptTest, TerminatorsCommentsAndQuotes)
{
    const QString script = QStringLiteral(
        "/* Kopf; mit Semikolon, des Programms' */\n"
        "CREATE TABLE A (X VARCHAR(10)); -- Kommentar; auch\n"
        "INSERT INTO A VALUES ('a;b');\n"
        "/* vor SET TERM */ SET TERM ^ ;\n"
        "CREATE PROCEDURE P AS\n"
        "BEGIN -- innen; bleibt\n"
        "  INSERT INTO A VALUES (';');\n"
        "END^\n"
        "SET TERM ; ^\n"
        "\n"
        "COMMIT;\n"
        "-- nur ein Kommentar am Ende\n");
    const auto s = db::SplitScript(script);
    ASSERT_EQ(s.size(), 4);
    EXPECT_EQ(s[0].Text, QStringLiteral("CREATE TABLE A (X VARCHAR(10))"));
    EXPECT_EQ(s[0].Line, 2);
    EXPECT_EQ(s[1].Text, QStringLiteral("INSERT INTO A VALUES ('a;b')"));
    EXPECT_EQ(s[1].Line, 3);
    EXPECT_EQ(s[2].Text, QStringLiteral("CREATE PROCEDURE P AS\nBEGIN -- innen; bleibt\n  INSERT "
                                        "INTO A VALUES (';');\nEND"));
    EXPECT_EQ(s[2].Line, 5);
    EXPECT_EQ(s[3].Text, QStringLiteral("COMMIT"));
    EXPECT_EQ(s[3].Line, 11);
}

TEST(ScriptRunnerTest, RunsDdlPsqlAndDataAndReportsTheFailingLine)
{
    TestDatabase t;
    db::ScriptRunner runner(t.Db());
    QList<int> progress;
    runner.OnProgress = [&](int done, int total) {
        EXPECT_EQ(total, 6);
        progress.append(done);
    };
    runner.Run(
        QStringLiteral("SET SQL DIALECT 3;\n"
                       "CREATE TABLE T_S (ID INTEGER, NAME VARCHAR(20));\n"
                       "CREATE GENERATOR G_S;\n"
                       "SET TERM !! ;\n"
                       "CREATE TRIGGER T_S_BI FOR T_S BEFORE INSERT AS\n"
                       "BEGIN\n"
                       "  IF (NEW.ID IS NULL) THEN NEW.ID = GEN_ID(G_S, 1);\n"
                       "END!!\n"
                       "SET TERM ; !!\n"
                       "INSERT INTO T_S (NAME) VALUES ('Größe');\n"
                       "INSERT INTO T_S (NAME) VALUES ('zwei');\n"));
    EXPECT_EQ(progress, (QList<int>{0, 1, 2, 3, 4, 5, 6}));

    db::ScriptRunner failing(t.Db());
    try {
        failing.Run(
            QStringLiteral("INSERT INTO T_S (NAME) VALUES ('drei');\n\n"
                           "INSERT INTO T_FEHLT VALUES (1);\n"));
        ADD_FAILURE() << "no error";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("Zeile 3:\nINSERT INTO T_FEHLT")))
            << e.what();
    }

    db::Transaction tr(t.Db());
    tr.Start();
    db::Query q(tr, QStringLiteral("SELECT ID, NAME FROM T_S ORDER BY ID"));
    q.Open();
    EXPECT_EQ(q.Field("ID").AsInteger(), 1);
    EXPECT_EQ(q.Field("NAME").AsString(), QStringLiteral("Größe"));
    ASSERT_TRUE(q.Next());
    EXPECT_EQ(q.Field("ID").AsInteger(), 2);
    EXPECT_FALSE(q.Next());  // the failed script's first insert was rolled back
}

}  // namespace
