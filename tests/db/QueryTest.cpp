#include <Database.h>
#include <Error.h>
#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <TestDatabase.h>

#include <QTimeZone>

#include <limits>

#include <gtest/gtest.h>

namespace {

class QueryTest : public DatabaseTest {
public:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        db::ScriptRunner(Db()).Run(QStringLiteral(R"(
            CREATE TABLE T_WERTE (
              ID INTEGER NOT NULL PRIMARY KEY,
              KLEIN SMALLINT,
              GROSS BIGINT,
              TEXT VARCHAR(20),
              FEST CHAR(4),
              DATUM DATE,
              ZEIT TIMESTAMP,
              UHR TIME,
              KOMMA DOUBLE PRECISION,
              BETRAG NUMERIC(15,2),
              MEMO BLOB SUB_TYPE 1,
              FLAG BOOLEAN);
            CREATE TABLE T_ZAHLEN (
              ID INTEGER NOT NULL PRIMARY KEY,
              I INTEGER,
              B BIGINT,
              F FLOAT,
              D DOUBLE PRECISION);
        )"));
    }
};

TEST_F(QueryTest, EveryTypeRoundTripsWithNullAndLatin1Text)
{
    db::Transaction tr(Db(), QStringLiteral("TA"));
    tr.Start();
    db::Query ins(
        tr, QStringLiteral("INSERT INTO T_WERTE (ID, KLEIN, GROSS, TEXT, FEST, DATUM, ZEIT, UHR, "
                           "KOMMA, BETRAG, MEMO, FLAG) VALUES (:ID, :KLEIN, :GROSS, :TEXT, :FEST, "
                           ":DATUM, :ZEIT, :UHR, :KOMMA, :BETRAG, :MEMO, :FLAG)"));
    const QString umlaute = QStringLiteral("Größe Äpfel ßüÖ");
    const QString langerText = QString(70000, QLatin1Char('x')) + QStringLiteral("äß");
    ins.Param("ID").SetInteger(1);
    ins.Param("klein").SetInteger(-7);
    ins.Param("GROSS").SetInt64(9000000000LL);
    ins.Param("TEXT").SetString(umlaute);
    ins.Param("FEST").SetString(QStringLiteral("ÄB"));
    ins.Param("DATUM").SetDate(QDate(2024, 2, 29));
    ins.Param("ZEIT").SetDateTime(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58, 120)));
    ins.Param("UHR").SetTime(QTime(6, 30));
    ins.Param("KOMMA").SetDouble(2.5);
    ins.Param("BETRAG").SetDouble(-19.565);
    ins.Param("MEMO").SetString(langerText);
    ins.Param("FLAG").SetBoolean(true);
    ins.Execute();
    EXPECT_EQ(ins.RowsAffected(), 1u);
    for (const QString& p : ins.ParamNames()) {
        if (p != QLatin1String("ID"))
            ins.Param(p).SetNull();
    }
    ins.Param("ID").SetString(QStringLiteral("2"));
    ins.Execute();

    db::Query sel(tr, QStringLiteral("SELECT * FROM T_WERTE ORDER BY ID"));
    sel.Open();
    ASSERT_FALSE(sel.Eof());
    EXPECT_EQ(sel.Field("KLEIN").AsInteger(), -7);
    EXPECT_EQ(sel.Field("GROSS").AsInt64(), 9000000000LL);
    EXPECT_EQ(sel.Field("TEXT").AsString(), umlaute);
    EXPECT_EQ(sel.Field("FEST").AsString(), QStringLiteral("ÄB  "));
    EXPECT_EQ(sel.Field("DATUM").AsDate(), QDate(2024, 2, 29));
    EXPECT_EQ(sel.Field("ZEIT").AsDateTime(),
              QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58, 120)));
    EXPECT_EQ(sel.Field("UHR").AsTime(), QTime(6, 30));
    EXPECT_DOUBLE_EQ(sel.Field("KOMMA").AsDouble(), 2.5);
    EXPECT_DOUBLE_EQ(sel.Field("BETRAG").AsDouble(), -19.57);
    EXPECT_EQ(sel.Field("MEMO").AsString(), langerText);
    EXPECT_TRUE(sel.Field("FLAG").AsBoolean());
    ASSERT_TRUE(sel.Next());
    EXPECT_EQ(sel.Field("ID").AsInteger(), 2);
    for (int i = 1; i < sel.FieldCount(); ++i) {
        EXPECT_TRUE(sel.Field(i).IsNull()) << sel.Column(i).Name.toStdString();
    }
    EXPECT_EQ(sel.Field("TEXT").AsString(), QString());
    EXPECT_EQ(sel.Field("KLEIN").AsInteger(), 0);
    EXPECT_FALSE(sel.Field("DATUM").AsDate().isValid());
    EXPECT_FALSE(sel.Next());
    EXPECT_TRUE(sel.Eof());

    const db::ColumnInfo& text = sel.Column(sel.FieldIndex(QStringLiteral("text")));
    EXPECT_EQ(text.Type, db::FieldType::VarChar);
    EXPECT_EQ(text.Size, 20);
    EXPECT_EQ(text.Relation, QStringLiteral("T_WERTE"));
    EXPECT_EQ(sel.Column(sel.FieldIndex(QStringLiteral("BETRAG"))).Scale, 2);
    EXPECT_EQ(sel.Column(0).Nullable, false);
}

// Dates and times cross to the engine by the program's own arithmetic; the engine's conversion of
// the same values agrees over its whole range, and values outside it are refused.
TEST_F(QueryTest, DatesAndTimesAgreeWithTheEngineOverItsRange)
{
    db::Transaction tr(Db(), QStringLiteral("TA"));
    tr.Start();
    db::Query q(tr, QStringLiteral("SELECT CAST(CAST(:TEXT AS VARCHAR(30)) AS TIMESTAMP), "
                                   "CAST(CAST(:ZEIT AS TIMESTAMP) AS VARCHAR(30)), "
                                   "CAST(CAST(:DATUM AS DATE) AS VARCHAR(30)), "
                                   "CAST(CAST(:UHR AS TIME) AS VARCHAR(30)) FROM RDB$DATABASE"));
    for (const char* text :
         {"0001-01-01 00:00:00.0000", "1582-10-04 12:00:00.0010", "1582-10-15 06:30:00.5000",
          "1858-11-16 23:59:59.9990", "1858-11-17 00:00:00.0000", "1900-02-28 10:11:12.0130",
          "2000-02-29 08:15:30.1230", "9999-12-31 23:59:59.9990"}) {
        const QString t = QString::fromLatin1(text);
        const QDateTime expected =
            QDateTime::fromString(t.left(23), QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
        ASSERT_TRUE(expected.isValid()) << text;
        q.Param("TEXT").SetString(t);
        q.Param("ZEIT").SetDateTime(expected);
        q.Param("DATUM").SetDate(expected.date());
        q.Param("UHR").SetTime(expected.time());
        q.Open();
        EXPECT_EQ(q.Field(0).AsDateTime(), expected) << text;
        EXPECT_EQ(q.Field(1).AsString(), t) << text;
        EXPECT_EQ(q.Field(2).AsString(), t.left(10)) << text;
        EXPECT_EQ(q.Field(3).AsString(), t.mid(11)) << text;
        q.Close();
    }
    q.Param("TEXT").SetString(QStringLiteral("2000-01-01"));
    q.Param("ZEIT").SetDateTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    for (const QDate& d : {QDate(10000, 1, 1), QDate(-1, 12, 31)}) {
        q.Param("DATUM").SetDate(d);
        EXPECT_THROW(q.Open(), db::Error) << d.toJulianDay();
    }
    q.Param("DATUM").SetDate(QDate(2000, 1, 1));
    q.Param("ZEIT").SetDateTime(QDateTime(QDate(10000, 1, 1), QTime(0, 0)));
    EXPECT_THROW(q.Open(), db::Error);

    // Another zone than local time is stored as the same instant, not as its wall clock.
    db::Query zeit(tr, QStringLiteral("SELECT CAST(:ZEIT AS TIMESTAMP) FROM RDB$DATABASE"));
    for (const QDateTime& dt :
         {QDateTime(QDate(2024, 7, 1), QTime(8, 30), Qt::UTC),
          QDateTime(QDate(2024, 1, 15), QTime(23, 45), QTimeZone(5 * 3600))}) {
        zeit.Param("ZEIT").SetDateTime(dt);
        zeit.Open();
        EXPECT_EQ(zeit.Field(0).AsDateTime(), dt) << dt.toString(Qt::ISODate).toStdString();
    }
}

TEST_F(QueryTest, RepeatedNamesBindOneValue)
{
    db::Transaction tr(Db());
    tr.Start();
    db::Query q(tr,
                QStringLiteral(
                    "SELECT CAST(:A AS INTEGER) + CAST(:B AS INTEGER) * CAST(:A AS INTEGER) AS R, "
                    "CAST(:t AS VARCHAR(5)) || ':KEIN' AS S -- :AUCH_NICHT\n"
                    "FROM RDB$DATABASE /* :NOCH_NICHT */"));
    EXPECT_EQ(q.ParamNames(), (QStringList{"A", "B", "T"}));
    q.Param("a").SetInteger(3);
    q.Param("B").SetInteger(4);
    q.Param("T").SetString(QStringLiteral("ü"));
    q.Open();
    EXPECT_EQ(q.Field("R").AsInteger(), 15);
    EXPECT_EQ(q.Field("S").AsString(), QStringLiteral("ü:KEIN"));
    EXPECT_THROW(q.Param("C"), db::Error);
    EXPECT_THROW(q.Field("Y"), db::Error);
}

TEST_F(QueryTest, NullTestedParameterAndTooLongText)
{
    db::Transaction tr(Db());
    tr.Start();
    db::Query q(tr, QStringLiteral("SELECT COUNT(*) FROM RDB$DATABASE WHERE :X IS NULL OR "
                                   "CAST('abc' AS VARCHAR(3)) LIKE :X"));
    q.Param("X").SetNull();
    q.Open();
    EXPECT_EQ(q.Field(0).AsInteger(), 1);
    q.Param("X").SetString(QStringLiteral("b%"));
    q.Open();
    EXPECT_EQ(q.Field(0).AsInteger(), 0);

    db::Query ins(tr, QStringLiteral("INSERT INTO T_WERTE (ID, FEST) VALUES (11, :F)"));
    ins.Param("F").SetString(QStringLiteral("ZULANG"));
    try {
        ins.Execute();
        ADD_FAILURE() << "no error";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("truncation"))) << e.what();
    }
}

TEST_F(QueryTest, UnstorableTextIsRefusedAndNothingStored)
{
    db::Transaction tr(Db());
    tr.Start();
    db::Query ins(tr, QStringLiteral("INSERT INTO T_WERTE (ID, TEXT) VALUES (10, :T)"));
    db::Query sel(tr, QStringLiteral("SELECT COUNT(*) FROM T_WERTE WHERE ID = 10"));
    // Beyond 65535 characters a cut length prefix would leave a short text that fits the column.
    for (const QString& text : {QStringLiteral("5 €"), QString(65536 + 3, QLatin1Char('x'))}) {
        ins.Param("T").SetString(text);
        EXPECT_THROW(ins.Execute(), db::Error) << text.size();
        sel.Open();
        EXPECT_EQ(sel.Field(0).AsInteger(), 0) << text.size();
    }
}

// A number a column cannot hold is refused; nothing may store some other number in its place.
TEST_F(QueryTest, NumbersAColumnCannotHoldAreRefused)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* column;
        double value;
    } cases[] = {{"I", 1e30},  {"I", nan},    {"B", 1e30}, {"B", -1e30}, {"B", nan},
                 {"B", inf},   {"B", 9.3e18}, {"F", nan},  {"F", inf},   {"F", -inf},
                 {"F", 1e300}, {"D", nan},    {"D", inf},  {"D", -inf}};
    db::Transaction tr(Db());
    tr.Start();
    db::Query count(tr, QStringLiteral("SELECT COUNT(*) FROM T_ZAHLEN"));
    for (const auto& c : cases) {
        db::Query ins(tr, QStringLiteral("INSERT INTO T_ZAHLEN (ID, %1) VALUES (1, :V)")
                              .arg(QLatin1String(c.column)));
        ins.Param("V").SetDouble(c.value);
        EXPECT_THROW(ins.Execute(), db::Error) << c.column << " " << c.value;
        count.Open();
        EXPECT_EQ(count.Field(0).AsInteger(), 0) << c.column << " " << c.value;
    }
    // The largest values that fit are stored as they are.
    db::Query ins(tr, QStringLiteral("INSERT INTO T_ZAHLEN (ID, B, F, D) VALUES (2, :B, :F, :D)"));
    ins.Param("B").SetDouble(9.2e18);
    ins.Param("F").SetDouble(-double(std::numeric_limits<float>::max()));
    ins.Param("D").SetDouble(std::numeric_limits<double>::max());
    ins.Execute();
    db::Query sel(tr, QStringLiteral("SELECT B, F, D FROM T_ZAHLEN WHERE ID = 2"));
    sel.Open();
    EXPECT_EQ(sel.Field(0).AsInt64(), 9200000000000000000LL);
    EXPECT_EQ(sel.Field(1).AsDouble(), -double(std::numeric_limits<float>::max()));
    EXPECT_EQ(sel.Field(2).AsDouble(), std::numeric_limits<double>::max());
}

TEST_F(QueryTest, FailedPrepareLeavesTheQueryUnprepared)
{
    db::Transaction tr(Db());
    tr.Start();
    // The engine prepares the text, but the parameter count does not match the names.
    db::Query q(tr, QStringLiteral("SELECT CAST(? AS INTEGER) FROM RDB$DATABASE"));
    q.SetParamCheck(false);
    EXPECT_THROW(q.Prepare(), db::Error);
    EXPECT_FALSE(q.Prepared());
    EXPECT_THROW(q.Prepare(), db::Error);
    q.SetSQL(QStringLiteral("SELECT 7, 'x' FROM RDB$DATABASE"));
    q.Open();
    EXPECT_EQ(q.FieldCount(), 2);
    EXPECT_EQ(q.Field(0).AsInteger(), 7);
}

// A record is kept encoded only when it decodes to exactly the values it had.
TEST_F(QueryTest, EncodeKeepsOnlyValuesThatDecodeUnchanged)
{
    db::Transaction tr(Db());
    tr.Start();
    db::Query q(tr, QStringLiteral("SELECT ID, KLEIN, GROSS, TEXT, FEST, DATUM, ZEIT, UHR, KOMMA, "
                                   "BETRAG, MEMO, FLAG FROM T_WERTE"));
    const QList<db::Value> base{QVariant(1),
                                QVariant(-7),
                                QVariant(qlonglong(9000000000LL)),
                                QVariant(QStringLiteral("Äpfel")),
                                QVariant(QStringLiteral("ÄB  ")),
                                QVariant(QDate(2024, 2, 29)),
                                QVariant(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58, 120))),
                                QVariant(QTime(6, 30)),
                                QVariant(2.5),
                                QVariant(-19.57),
                                QVariant(),
                                QVariant(true)};
    struct Fall {
        const char* column;  // nullptr: the base row as it is
        QVariant value;
        bool encodes;
    };
    const Fall faelle[] = {
        {nullptr, {}, true},
        {"TEXT", QString(), true},
        {"TEXT", QString(20, QLatin1Char('t')), true},
        {"KLEIN", QVariant(), true},
        {"BETRAG", 12.5, true},
        {"BETRAG", 0.125, false},
        {"TEXT", QString(21, QLatin1Char('t')), false},
        {"FEST", QStringLiteral("AB"), false},
        {"ZEIT", QDateTime(QDate(2024, 7, 1), QTime(8, 30), Qt::UTC), false},
        {"GROSS", 5, false},
        {"MEMO", QStringLiteral("Notiz"), false},
    };
    for (const Fall& f : faelle) {
        const std::string what = f.column ? f.column : "Grundzeile";
        QList<db::Value> vals = base;
        if (f.column) {
            const int i = q.FieldIndex(QLatin1String(f.column));
            ASSERT_GE(i, 0) << what;
            vals[i] = f.value;
        }
        QByteArray raw("unverändert");
        if (!f.encodes) {
            EXPECT_FALSE(q.Encode(vals, raw)) << what;
            EXPECT_EQ(raw, QByteArray("unverändert")) << what;
            continue;
        }
        ASSERT_TRUE(q.Encode(vals, raw)) << what;
        const QList<db::Value> decoded = q.Decode(raw);
        EXPECT_EQ(decoded, vals) << what;
        for (qsizetype i = 0; i < vals.size() && i < decoded.size(); ++i)
            EXPECT_EQ(decoded[i].AsVariant().typeId(), vals[i].AsVariant().typeId())
                << what << " " << i;
    }
}

TEST_F(QueryTest, ViolationNamesItsConstraint)
{
    db::ScriptRunner(Db()).Run(QStringLiteral(
        "CREATE TABLE T_PRUEF (ID INTEGER NOT NULL, N INTEGER,"
        " CONSTRAINT I_PRUEF_PK PRIMARY KEY (ID), CONSTRAINT I_PRUEF_N CHECK (N > 0));"));
    db::Transaction tr(Db());
    tr.Start();
    db::Query ins(tr, QStringLiteral("INSERT INTO T_PRUEF (ID, N) VALUES (:ID, :N)"));
    ins.Param("ID").SetInteger(1);
    ins.Param("N").SetInteger(1);
    ins.Execute();
    struct Fall {
        int id, n;
        QString constraint;
    };
    for (const Fall& f : {Fall{1, 1, "I_PRUEF_PK"}, Fall{2, -1, "I_PRUEF_N"}}) {
        ins.Param("ID").SetInteger(f.id);
        ins.Param("N").SetInteger(f.n);
        try {
            ins.Execute();
            ADD_FAILURE() << "no violation";
        } catch (const db::Error& e) {
            EXPECT_EQ(e.Constraint(), f.constraint) << e.Message().toStdString();
            EXPECT_TRUE(e.Message().contains(f.constraint));
            EXPECT_NE(e.EngineCode(), 0);
            EXPECT_LT(e.SqlCode(), 0);
        }
    }
    db::Query bad(tr, QStringLiteral("SELECT NICHTDA FROM T_PRUEF"));
    try {
        bad.Open();
        ADD_FAILURE() << "no error";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.SqlCode(), -206);
        EXPECT_TRUE(e.Constraint().isEmpty());
    }
}

TEST_F(QueryTest, StoredProceduresExecuteAndSelect)
{
    db::ScriptRunner(Db()).Run(QStringLiteral(R"(
        SET TERM ^ ;
        CREATE PROCEDURE P_DOPPELT (N INTEGER, T VARCHAR(10))
          RETURNS (ERGEBNIS INTEGER, TEXT VARCHAR(25))
        AS
        DECLARE VARIABLE I INTEGER = 0;
        BEGIN
          WHILE (I < 2) DO
          BEGIN
            I = I + 1;
            ERGEBNIS = :N * I;
            TEXT = :T || '/' || I;
            SUSPEND;
          END
        END^
        SET TERM ; ^
    )"));
    db::Transaction tr(Db());
    tr.Start();
    db::Query exec(tr, QStringLiteral("EXECUTE PROCEDURE P_DOPPELT(:N, :T)"));
    exec.Param("N").SetInteger(21);
    exec.Param("T").SetString(QStringLiteral("Öl"));
    exec.Execute();
    EXPECT_EQ(exec.Field("ERGEBNIS").AsInteger(), 21);
    EXPECT_EQ(exec.Field("TEXT").AsString(), QStringLiteral("Öl/1"));

    db::Query sel(tr, QStringLiteral("SELECT * FROM P_DOPPELT(:N, 'x')"));
    sel.Param("N").SetInteger(5);
    QList<int> werte;
    for (sel.Open(); !sel.Eof(); sel.Next())
        werte << sel.Field("ERGEBNIS").AsInteger();
    EXPECT_EQ(werte, (QList<int>{5, 10}));
}

TEST(ParseParamsTest, LeavesQuotesAndCommentsAlone)
{
    const auto p = db::ParseParams(
        QStringLiteral("UPDATE T SET A = :a, B = ':B', \"C:\" = :C_1 -- :D\n WHERE ID = :OLD_ID "
                       "/* :E */ AND X = :A"));
    EXPECT_EQ(p.Sql, QStringLiteral("UPDATE T SET A = ?, B = ':B', \"C:\" = ? -- :D\n WHERE ID "
                                    "= ? /* :E */ AND X = ?"));
    EXPECT_EQ(p.Positions, (QStringList{"A", "C_1", "OLD_ID", "A"}));
}

TEST(SqlTextOrCommentEndTest, TextsNamesAndCommentsEndWhereTheEngineEndsThem)
{
    const struct {
        const char* sql;
        qsizetype start;
        qsizetype ende;
    } faelle[] = {
        {"x = 'it''s :P' AND", 4, 14},  // a doubled quote belongs to the text
        {"\"Name \"\"A\"\"\" ,", 0, 12},
        {"a -- :P\r\nb", 2, 7},
        {"a /* :P */ b", 2, 10},
        {"'offen", 0, 6},  // an open end ends at the statement's end
        {"a /* offen", 2, 10},
        {"a - b", 2, 2},  // a minus is no comment
        {"a / b", 2, 2},
        {":P", 0, 0},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(db::SqlTextOrCommentEnd(QString::fromUtf8(f.sql), f.start), f.ende) << f.sql;
    EXPECT_EQ(db::ParseParams("SELECT 'it''s :A' FROM T WHERE X = :B").Positions, QStringList{"B"});
}

TEST_F(QueryTest, PlanNamesTheIndexTheOptimiserChose)
{
    db::Transaction tr(Db());
    tr.Start();
    db::Query schluessel(tr, QStringLiteral("SELECT TEXT FROM T_WERTE WHERE ID = :ID"));
    EXPECT_TRUE(schluessel.Plan().contains(QStringLiteral("INDEX (RDB$PRIMARY")))
        << schluessel.Plan().toStdString();
    db::Query alle(tr, QStringLiteral("SELECT TEXT FROM T_WERTE WHERE TEXT = 'x'"));
    EXPECT_TRUE(alle.Plan().contains(QStringLiteral("T_WERTE NATURAL")))
        << alle.Plan().toStdString();
}

}  // namespace
