#include <Skript.h>

#include <Error.h>
#include <Query.h>
#include <Transaction.h>

#include <TestDatabase.h>

#include <QMap>

#include <gtest/gtest.h>

using ZRDBScript::ESkriptFehler;
using ZRDBScript::FuehreDBScriptAus;

namespace {

// Answers the script's questions from a table and writes down what it is given.
class Aufzeichnung : public ZRDBScript::ISkriptDatenbank {
public:
    QMap<QString, QString> antworten;  // SQL → value; unknown SQL counts 0
    QStringList fragen;
    QStringList ausgefuehrt;
    QList<int> zeilen;
    int abschluesse = 0;
    QString fehlerBei;  // a statement text that fails

    QString Wert(const QString& sql) override
    {
        fragen << sql;
        return antworten.value(sql, QStringLiteral("0"));
    }
    void Ausfuehren(const QString& statements, int ersteZeile) override
    {
        if (!fehlerBei.isEmpty() && statements.contains(fehlerBei))
            throw db::Error(QStringLiteral("kaputt"));
        ausgefuehrt << statements;
        zeilen << ersteZeile;
    }
    void BlockAbschliessen() override { ++abschluesse; }
};

const QString TabelleDa =
    QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='T_X'");

}  // namespace

TEST(SkriptSpracheTest, BlocksTestsAndVariablesOnATableOfCases)
{
    struct Fall {
        const char* name;
        QString skript;
        QMap<QString, QString> antworten;
        QStringList ausgefuehrt;
        QStringList fragen = {};  // empty: not checked
    };
    const std::vector<Fall> faelle = {
        {"blocks are trimmed and run one by one", " A;\n -=#=- \n\n B; -=#=-   ", {}, {"A;", "B;"}},
        {"a missing table runs the THEN part",
         "TEST:TABLE(T_X) TESTTHEN: CREATE TABLE T_X (A INT); TESTELSE: ALTER TABLE T_X ADD B INT;",
         {},
         {"CREATE TABLE T_X (A INT);"},
         {TabelleDa}},
        {"an existing table runs the ELSE part",
         "TEST:TABLE(T_X) TESTTHEN: CREATE TABLE T_X (A INT); TESTELSE: ALTER TABLE T_X ADD B INT;",
         {{TabelleDa, "1"}},
         {"ALTER TABLE T_X ADD B INT;"}},
        {"TESTTHEN is optional",
         "TEST: TABLE ( T_X ) CREATE TABLE T_X (A INT);",
         {},
         {"CREATE TABLE T_X (A INT);"},
         {TabelleDa}},
        {"an existing object without ELSE runs nothing",
         "TEST:TABLE(T_X) CREATE TABLE T_X (A INT);",
         {{TabelleDa, "1"}},
         {}},
        {"the field test names table and field",
         "TEST:TABLEFIELD(T_X, F) ALTER TABLE T_X ADD F INT;",
         {},
         {"ALTER TABLE T_X ADD F INT;"},
         {"SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME='T_X' AND "
          "RDB$FIELD_NAME='F'"}},
        {"any other kind is a table with a condition",
         "TEST:T_EINSTELLUNGEN(NAME = 'Version') TESTTHEN: INSERT INTO T VALUES (1);",
         {},
         {"INSERT INTO T VALUES (1);"},
         {"SELECT COUNT(*) FROM T_EINSTELLUNGEN WHERE NAME = 'Version'"}},
        {"each system table kind",
         "TEST:DOMAIN(D) -=#=- TEST:FUNCTION(F) -=#=- TEST:GENERATOR(G) -=#=- TEST:INDEX(I) -=#=- "
         "TEST:REFCONS(R) -=#=- TEST:RELCONS(C) -=#=- TEST:TRIGGER(T) -=#=- TEST:PROCEDURE(P)",
         {},
         {},
         {"SELECT COUNT(*) FROM RDB$FIELDS WHERE RDB$FIELD_NAME='D'",
          "SELECT COUNT(*) FROM RDB$FUNCTIONS WHERE RDB$FUNCTION_NAME='F'",
          "SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME='G'",
          "SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$INDEX_NAME='I'",
          "SELECT COUNT(*) FROM RDB$REF_CONSTRAINTS WHERE RDB$CONSTRAINT_NAME='R'",
          "SELECT COUNT(*) FROM RDB$RELATION_CONSTRAINTS WHERE RDB$CONSTRAINT_NAME='C'",
          "SELECT COUNT(*) FROM RDB$TRIGGERS WHERE RDB$TRIGGER_NAME='T'",
          "SELECT COUNT(*) FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME='P'"}},
        {"kinds are case-sensitive: a lower-case kind is a table name",
         "TEST:table(T_X) X;",
         {},
         {"X;"},
         {"SELECT COUNT(*) FROM table WHERE T_X"}},
        {"a generator's value replaces the variable",
         "GETGENERATOR(G_A, 0, NEU) INSERT INTO T VALUES (%NEU%, '%neu%');",
         {{"SELECT GEN_ID(G_A, 0) FROM RDB$DATABASE", "42"}},
         {"INSERT INTO T VALUES (42, '42');"}},
        {"GETVALUE's SQL may hold brackets, the first ';' ends it",
         "GETVALUE(SELECT MAX(ID) FROM T WHERE (A = 1); M) GETVALUE(SELECT 7 FROM "
         "RDB$DATABASE;N)\nUPDATE T SET A = %M% + %N%;",
         {{"SELECT MAX(ID) FROM T WHERE (A = 1)", "5"}, {"SELECT 7 FROM RDB$DATABASE", "7"}},
         {"UPDATE T SET A = 5 + 7;"}},
        {"variables live for the whole script, a new value replaces the old one",
         "GETVALUE(SELECT 1 FROM RDB$DATABASE;V) -=#=- X %V%; -=#=- "
         "GETVALUE(SELECT 2 FROM RDB$DATABASE;V) Y %V%;",
         {{"SELECT 1 FROM RDB$DATABASE", "1"}, {"SELECT 2 FROM RDB$DATABASE", "2"}},
         {"X 1;", "Y 2;"}},
        {"a test may use a variable in its condition",
         "GETVALUE(SELECT 3 FROM RDB$DATABASE;K) -=#=- TEST:T(ID = %K%) INSERT INTO T VALUES "
         "(%K%);",
         {{"SELECT 3 FROM RDB$DATABASE", "3"}},
         {"INSERT INTO T VALUES (3);"},
         {"SELECT 3 FROM RDB$DATABASE", "SELECT COUNT(*) FROM T WHERE ID = 3"}},
        {"a command's own text is not replaced, unknown %names% stay",
         "GETVALUE(SELECT 1 FROM RDB$DATABASE;A) GETVALUE(SELECT %A% FROM RDB$DATABASE;B) "
         "SELECT '%B%', '%C%' FROM T;",
         {{"SELECT 1 FROM RDB$DATABASE", "1"}},
         {"SELECT '0', '%C%' FROM T;"},
         {"SELECT 1 FROM RDB$DATABASE", "SELECT %A% FROM RDB$DATABASE"}},
        {"a block of only a command runs nothing",
         "GETGENERATOR(G,1,X)",
         {{"SELECT GEN_ID(G, 1) FROM RDB$DATABASE", "1"}},
         {}},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        Aufzeichnung db;
        db.antworten = fall.antworten;
        FuehreDBScriptAus(db, fall.skript);
        EXPECT_EQ(db.ausgefuehrt, fall.ausgefuehrt);
        EXPECT_EQ(db.abschluesse, fall.ausgefuehrt.size()) << "one commit per block that ran";
        if (!fall.fragen.isEmpty()) {
            EXPECT_EQ(db.fragen, fall.fragen);
        }
    }
}

TEST(SkriptSpracheTest, MistakesNameTheBlockTheLineAndTheCommittedBlocks)
{
    struct Fall {
        const char* name;
        QString skript;
        int block;
        int zeile;
        QList<int> festgeschrieben;
    };
    const std::vector<Fall> faelle = {
        {"a failing statement",
         "A;\n-=#=-\nTEST:TABLE(T) B;\n-=#=-\n\n  FEHLER;\n-=#=-\nD;",
         3,
         6,
         {1, 2}},
        {"the first block", "\n\nFEHLER;", 1, 3, {}},
        {"an unclosed test", "A;\n-=#=-\nTEST:TABLE(T_X B;", 2, 3, {1}},
        {"a test without bracket", "TEST:TABLE T_X", 1, 1, {}},
        {"a field test without field", "TEST:TABLEFIELD(T_X) B;", 1, 1, {}},
        {"GETVALUE without ';'", "A;-=#=-\nGETVALUE(SELECT 1 FROM RDB$DATABASE) B;", 2, 2, {1}},
        {"GETGENERATOR with two arguments", "GETGENERATOR(G,1) B;", 1, 1, {}},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        Aufzeichnung db;
        db.fehlerBei = QStringLiteral("FEHLER");
        try {
            FuehreDBScriptAus(db, fall.skript);
            ADD_FAILURE() << "no error";
        } catch (const ESkriptFehler& e) {
            EXPECT_EQ(e.Block, fall.block);
            EXPECT_EQ(e.Zeile, fall.zeile);
            EXPECT_EQ(e.Festgeschrieben, fall.festgeschrieben);
            EXPECT_TRUE(
                e.Meldung().startsWith(QStringLiteral("Fehler im Skriptblock %1 (Zeile %2):")
                                           .arg(fall.block)
                                           .arg(fall.zeile)))
                << e.Meldung().toStdString();
            EXPECT_EQ(e.Meldung().contains("Kein früherer Block"), fall.festgeschrieben.isEmpty());
        }
    }
}

TEST(SkriptSpracheTest, ProgressCountsTheBlocks)
{
    Aufzeichnung db;
    QList<QPair<int, int>> schritte;
    FuehreDBScriptAus(db, "A; -=#=- B; -=#=- C;", [&](int fertig, int gesamt) {
        schritte.append({fertig, gesamt});
    });
    EXPECT_EQ(schritte, (QList<QPair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
}

class SkriptDatenbankTest : public DatabaseTest {
protected:
    // Runs the script in a transaction that is rolled back afterwards, as its owner does.
    QList<int> Ausfuehren(const QString& skript)
    {
        db::Transaction tr(Db());
        tr.Start();
        ZRDBScript::TSkriptDatenbank datenbank(tr);
        return FuehreDBScriptAus(datenbank, skript);
    }
    QString Wert(const QString& sql)
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        return q.Eof() ? QStringLiteral("<keine Zeile>") : q.Field(0).AsString();
    }
};

TEST_F(SkriptDatenbankTest, AGuardedScriptRunsTwiceAndMakesItsObjectsOnce)
{
    const QString skript = QStringLiteral(R"(
TEST:TABLE(T_SKRIPT) TESTTHEN:
  -- a block's test comes first, comments after it
  CREATE TABLE T_SKRIPT (ID INTEGER NOT NULL, TEXT VARCHAR(40));
TESTELSE:
  ALTER TABLE T_SKRIPT ADD ZWEITER_LAUF INTEGER;
-=#=-
TEST:GENERATOR(G_SKRIPT) CREATE GENERATOR G_SKRIPT;
-=#=-
TEST:PROCEDURE(P_SKRIPT)
/* a procedure needs its own terminator */
SET TERM ^ ;
CREATE PROCEDURE P_SKRIPT RETURNS (N INTEGER) AS
BEGIN
  N = 1; -- a ';' inside the body
  SUSPEND;
END^
SET TERM ; ^
-=#=-
GETGENERATOR(G_SKRIPT, 1, NEU)
INSERT INTO T_SKRIPT (ID, TEXT) VALUES (%NEU%, 'a;b -- kein Kommentar');
INSERT INTO T_SKRIPT (ID, TEXT) VALUES (%NEU% + 100, 'it''s');
)");
    Ausfuehren(skript);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_SKRIPT"), "2");
    EXPECT_EQ(Wert("SELECT TEXT FROM T_SKRIPT WHERE ID = 1"), "a;b -- kein Kommentar");
    EXPECT_EQ(Wert("SELECT TEXT FROM T_SKRIPT WHERE ID = 101"), "it's");
    EXPECT_EQ(Wert("SELECT N FROM P_SKRIPT"), "1");
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = "
                   "'T_SKRIPT' AND RDB$FIELD_NAME = 'ZWEITER_LAUF'"),
              "0");

    // The second run takes the ELSE branch and the generator's next value.
    Ausfuehren(skript);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = "
                   "'T_SKRIPT' AND RDB$FIELD_NAME = 'ZWEITER_LAUF'"),
              "1");
    EXPECT_EQ(Wert("SELECT LIST(ID, ',') FROM (SELECT ID FROM T_SKRIPT ORDER BY ID)"),
              "1,2,101,102");
}

TEST_F(SkriptDatenbankTest, AFailingBlockKeepsTheEarlierBlocksAndNothingOfItself)
{
    const QString skript = QStringLiteral(
        "CREATE TABLE T_TEILWEISE (ID INTEGER);\n"
        "-=#=-\n"
        "INSERT INTO T_TEILWEISE VALUES (1);\n"
        "-=#=-\n"
        "INSERT INTO T_TEILWEISE VALUES (2);\n"
        "/* comment */\n"
        "INSERT INTO T_GIBTS_NICHT VALUES (3);\n");
    try {
        Ausfuehren(skript);
        FAIL() << "no error";
    } catch (const ESkriptFehler& e) {
        EXPECT_EQ(e.Block, 3);
        EXPECT_EQ(e.Zeile, 7);
        EXPECT_EQ(e.Festgeschrieben, (QList<int>{1, 2}));
        EXPECT_TRUE(e.Ursache.contains("T_GIBTS_NICHT")) << e.Ursache.toStdString();
    }
    EXPECT_EQ(Wert("SELECT LIST(ID) FROM T_TEILWEISE"), "1");
}

TEST_F(SkriptDatenbankTest, TestsAndVariablesOnTheSchemaOnATableOfCases)
{
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query(tr, "CREATE TABLE T_ERGEBNIS (WAS VARCHAR(40))").Execute();
        tr.Commit();
    }
    struct Fall {
        QString test;  // the block's beginning; THEN writes 'fehlt', ELSE 'da'
        QString ergebnis;
    };
    const std::vector<Fall> faelle = {
        {"TEST:TABLE(T_STAMMDATEN)", "da"},
        {"TEST:TABLE(T_GIBTS_NICHT)", "fehlt"},
        {"TEST:TABLEFIELD(T_STAMMDATEN,NUMMER)", "da"},
        {"TEST:TABLEFIELD(T_STAMMDATEN, GIBTS_NICHT)", "fehlt"},
        {"TEST:GENERATOR(G_TIERARZTGRUPPE)", "da"},
        {"TEST:INDEX(IX_EINSTELLUNGEN_NAME)", "da"},
        {"TEST:RELCONS(PK_STAELLE)", "da"},
        {"TEST:REFCONS(FK_STAELLE_TIER)", "da"},
        {"TEST:TRIGGER(TIERARZTGRUPPE_BI_ID)", "da"},
        {"TEST:PROCEDURE(P_INIT_DATEN)", "da"},
        {"TEST:FUNCTION(ZRNV_ALTER)", "da"},
        {"TEST:DOMAIN(D_GIBTS_NICHT)", "fehlt"},
        {"TEST:T_EINSTELLUNGEN(NAME = 'Version' AND WERT = '1')", "da"},
        // System names are stored in upper case.
        {"TEST:TABLE(t_stammdaten)", "fehlt"},
        {"GETVALUE(SELECT 'T_STAMMDATEN' FROM RDB$DATABASE;TAB) -=#=- TEST:TABLE(%TAB%)", "da"},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.test.toStdString());
        Ausfuehren(fall.test +
                   " TESTTHEN: INSERT INTO T_ERGEBNIS VALUES ('fehlt'); TESTELSE: INSERT INTO "
                   "T_ERGEBNIS VALUES ('da');");
        EXPECT_EQ(Wert("SELECT LIST(WAS) FROM T_ERGEBNIS"), fall.ergebnis);
        db::Transaction tr(Db());
        tr.Start();
        db::Query(tr, "DELETE FROM T_ERGEBNIS").Execute();
        tr.Commit();
    }

    // The generator's current value with the increment 0, a query's first field, both in text.
    Ausfuehren(
        "GETGENERATOR(G_TIERARZTGRUPPE, 0, JETZT) GETVALUE(SELECT WERT FROM T_EINSTELLUNGEN "
        "WHERE NAME = 'Unterversion';U) INSERT INTO T_ERGEBNIS VALUES ('%JETZT%/%U%');");
    EXPECT_EQ(Wert("SELECT WAS FROM T_ERGEBNIS"),
              Wert("SELECT GEN_ID(G_TIERARZTGRUPPE, 0) FROM RDB$DATABASE") + "/29");
}
