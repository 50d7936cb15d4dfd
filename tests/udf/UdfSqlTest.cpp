// The functions called through SQL on an embedded database, once declared as UDR functions (the
// schema) and once declared the old way (legacy/020_udf.sql): proves that the declarations match
// the module and that both give what the direct calls give.
#include "UdfLegacyDatenbank.h"

#include <Error.h>
#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <TestDatabase.h>

#include <QDate>
#include <QDateTime>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>

namespace {

enum class Deklaration { Udr, Legacy };

// The value of one expression, evaluated by the engine.
QVariant Wert(db::Database& datenbank, const QString& ausdruck)
{
    db::Transaction tr(datenbank);
    tr.Start();
    db::Query q(tr, QStringLiteral("SELECT ") + ausdruck + QStringLiteral(" FROM RDB$DATABASE"));
    q.Open();
    return q.Field(0).AsVariant();
}

class UdfSqlTest : public ::testing::TestWithParam<Deklaration> {
public:
    static void SetUpTestSuite()
    {
        udr_ = std::make_unique<TestDatabase>();
        legacy_ = std::make_unique<LegacyDatenbank>();
    }
    static void TearDownTestSuite()
    {
        udr_.reset();
        legacy_.reset();
    }

protected:
    static db::Database& Datenbank(Deklaration d)
    {
        return d == Deklaration::Udr ? udr_->Db() : legacy_->Db();
    }
    db::Database& Db() const { return Datenbank(GetParam()); }
    db::Database& AndereDb() const
    {
        return Datenbank(GetParam() == Deklaration::Udr ? Deklaration::Legacy : Deklaration::Udr);
    }
    QVariant Wert(const QString& ausdruck) const { return ::Wert(Db(), ausdruck); }

private:
    static inline std::unique_ptr<TestDatabase> udr_;
    static inline std::unique_ptr<LegacyDatenbank> legacy_;
};

struct Case {
    const char* ausdruck;
    QVariant erwartet;  // an invalid QVariant: SQL NULL
};

TEST_P(UdfSqlTest, EveryFunctionWithGoodNullAndBadInput)
{
    const QString viele0 = QString(30, QLatin1Char('0')) + QStringLiteral("42");
    const std::vector<Case> cases = {
        {"ZRNV_ALTER(DATE '2024-01-01', NULL, DATE '2025-02-04')", "1 J 1 M"},
        {"CAST(ZRNV_ALTER(DATE '2024-01-01', DATE '2024-01-02', CURRENT_DATE) AS VARCHAR(15))",
         "1 Tag"},
        {"ZRNV_ALTER(NULL, NULL, CURRENT_DATE)", ""},
        {"ZRNV_DATE2STR(DATE '2024-03-05')", "05.03.2024"},
        {"ZRNV_DATE2STR('05.03.2024')", "05.03.2024"},
        {"ZRNV_DATE2STR(NULL)", ""},
        {"ZRNV_DATE2STRSHORT(TIMESTAMP '2024-03-05 13:00:00')", "05.03.24"},
        {"ZRNV_DATE2STR_FORMAT(DATE '2024-03-05', 'dddd, d. mmmm')", "Dienstag, 5. M\u00e4"},
        {"ZRNV_DATE2STR_FORMAT(DATE '2024-03-05', '%s%n')", "%0%0"},  // no printf
        {"ZRNV_DATE2STR_FORMAT(DATE '2024-03-05', '''')", "-ERROR-"},
        {"ZRNV_DATE2STR_HEUTE(CURRENT_DATE, 1)", "Heute"},
        {"ZRNV_DATE2STR_HEUTE(CURRENT_DATE, 0)", "heute"},
        {"ZRNV_DATE2STR_HEUTE(DATE '2000-01-01', 1)", "01.01.2000"},
        {"ZRNV_WOCHENTAG(DATE '2024-12-12')", "Donnerstag"},
        {"ZRNV_FORMATBNR('276091234567890')", "276 09 123 456 7890"},
        {"ZRNV_FORMATBNR(NULL)", ""},
        {"ZRNV_CORRECTBNR('09 123 456 7890')", "276091234567890"},
        {"ZRNV_CORRECTBNR(NULL)", QVariant()},
        {"ZRNV_ENCODELOM('de 01-234 56789')", QVariant::fromValue<qint64>(276000123456789)},
        {"ZRNV_ENCODELOM('AT 123 456 789')", QVariant::fromValue<qint64>(0)},
        {"ZRNV_ENCODELOM('unlesbar')", QVariant::fromValue<qint64>(0)},
        {"ZRNV_ENCODELOM(NULL)", QVariant()},
        {"ZRNV_DECODELOM(276000123456789)", "DE 01 234 56789"},
        {"ZRNV_DECODELOM(0)", ""},
        {"ZRNV_DECODELOM('abc')", ""},
        {"ZRNV_DECODELOM(NULL)", ""},
        {"ZRNV_FORMATZAHL(-5, 4)", "00-5"},
        {"ZRNV_FORMATZAHL(42, 100000)", viele0},
        {"ZRNV_FORMATFLOAT(1234.56, '%.2n')", "1.234,56"},
        {"ZRNV_FORMATFLOAT(1, '%s')", "-ERROR-"},
        {"ZRNV_FORMATFLOAT(1, '%n%n')", "-ERROR-"},
        {"ZRNV_FORMATINT(-2147483648)", "-2.147.483.648"},
        {"ZRNV_HARNSTOFF(255, 1)", "25,5 mg/dl"},
        {"ZRNV_HARNSTOFF(255, 0)", "255 ppm"},
        {"ZRNV_DEBUG('Test')", "Debug"},
        {"ZRNV_TERMIN_LAGE(TIMESTAMP '2024-12-12 10:00:00', 'MO;SO')",
         QDateTime(QDate(2024, 12, 9), QTime(10, 0))},
        {"ZRNV_TERMIN_LAGE(TIMESTAMP '2024-12-12 10:00:00', 'XX')",
         QDateTime(QDate(2024, 12, 12), QTime(10, 0))},
        {"ZRNV_TERMIN_LAGE(NULL, 'MO')", QVariant()},
        {"ZRNV_GET_FELD('Q1.NAME;Q2.KNR')", "Q1.NAME"},
        {"ZRNV_DEL_FELD('Q1.NAME;Q2.KNR')", "Q2.KNR"},
        {"ZRNV_GET_QUELLE('Q2.NAME')", 2},
        {"ZRNV_GET_QUELLE('S.ALTER')", 1},
        {"ZRNV_IS_SPEZIALFELD('S.ALTER')", 1},
        {"ZRNV_IS_SPEZIALFELD('S.')", 0},
        {"ZRNV_GET_FELD_PUR('Q2.NAME')", "NAME"},
        {"ZRNV_BLOB_LEFT(CAST('Hallo Welt' AS BLOB SUB_TYPE TEXT), 5)", "Hallo"},
        {"ZRNV_BLOB_LEFT(CAST('Hallo Welt' AS BLOB SUB_TYPE TEXT), 500)", "Hallo Welt"},
        {"ZRNV_BLOB_LEFT(NULL, 5)", ""},
        {"ZRNV_BLOB_LEFT(CAST('Hallo' AS BLOB SUB_TYPE TEXT), -1)", ""},
        {"ZRNV_SORT_WOCHENTAGE('SO;MO')", "MO;SO"},
        {"ZRNV_SORT_WOCHENTAGE(NULL)", ""},
        {"EOL()", "\r\n"},
        {"ZRNV_STR_CAT('ab', NULL)", "ab"},
        {"ZRNV_STR_CAT(NULL, NULL)", ""},
        {"ZRNV_GESCHLECHT('MER')", "Mehrling"},
        {"ZRNV_GESCHLECHT('m')", "m"},
        {"ZRNV_HIT_MELDUNG_DISP('BTR_H')", "PIN \u00c4nderung"},
        {"ZRNV_HIT_MELDUNG_DISP('geburt')", "geburt"},
        {"ZRNV_HIT_SCHWERE(-3)", "Pars. Fehler"},
        {"ZRNV_HIT_SCHWERE(NULL)", "Ok"},
        {"ZRNV_HIT_MELDUNG_WERTE('LOM=x;GEB_DATR=01.02.2024;XYZ=1')", "Geburtsdatum: 01.02.2024"},
        {"ZRNV_MELDUNG_WERTE('A=1; B = 2 ', 'B')", "2"},
        {"ZRNV_BESAMUNGSSTATION('VSTTZ')", "S\u00fcdtirol"},
        {"ZRNV_BESAMUNGSSTATION(NULL)", "Fehler!"},
        {"ZRNV_DATE_ADD(TIMESTAMP '2024-01-31 08:00:00', 1, 0)",
         QDateTime(QDate(2024, 3, 2), QTime(8, 0))},
        {"ZRNV_DATE_ADD(TIMESTAMP '2023-01-31 08:00:00', 1, 0)",
         QDateTime(QDate(2023, 3, 3), QTime(8, 0))},
        {"ZRNV_DATE_ADD(NULL, 1, 0)", QVariant()},
        {"ZRNV_DATE_ADD(TIMESTAMP '2024-11-30 08:00:00', 2, 1)",
         QDateTime(QDate(2026, 1, 30), QTime(8, 0))},
        {"ZRNV_DATE_ADD(TIMESTAMP '2024-12-15 08:00:00', 3, 1)",
         QDateTime(QDate(2026, 3, 17), QTime(8, 0))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ausdruck);
        const QVariant wert = Wert(QString::fromUtf8(c.ausdruck));
        if (!c.erwartet.isValid()) {
            EXPECT_TRUE(wert.isNull()) << wert.toString().toStdString();
            continue;
        }
        ASSERT_FALSE(wert.isNull());
        if (c.erwartet.typeId() == QMetaType::QDateTime)
            EXPECT_EQ(wert.toDateTime(), c.erwartet.toDateTime());
        else if (c.erwartet.typeId() == QMetaType::QString)
            EXPECT_EQ(wert.toString().toStdString(), c.erwartet.toString().toStdString());
        else
            EXPECT_EQ(wert.toLongLong(), c.erwartet.toLongLong());
    }
}

// Inputs that make results longer than their room are cut there.
TEST_P(UdfSqlTest, LongResultsAreCut)
{
    EXPECT_EQ(
        Wert(QStringLiteral("ZRNV_STR_CAT(LPAD('', 1000, 'a'), LPAD('', 1000, 'b'))")).toString(),
        QString(1000, QLatin1Char('a')) + QString(1000, QLatin1Char('b')));
    EXPECT_EQ(Wert(QStringLiteral("ZRNV_BLOB_LEFT(CAST(LPAD('', 5000, 'x') AS BLOB SUB_TYPE "
                                  "TEXT), 100000)"))
                  .toString(),
              QString(2000, QLatin1Char('x')));
    const QString werte = Wert(QStringLiteral("ZRNV_HIT_MELDUNG_WERTE(REPLACE(LPAD('', 200, '#'), "
                                              "'#', 'LOMS_UN=J;'))"))
                              .toString();
    EXPECT_EQ(werte.size(), 8000);
    EXPECT_TRUE(werte.startsWith(
        QStringLiteral("Ohrmarkenserien f\u00fcr ganzes Unternehmen verwendbar: J\r")));
    EXPECT_EQ(Wert(QStringLiteral("ZRNV_FORMATFLOAT(1e300, '%.18f')")).toString().size(), 64);
}

// The flag is one value for the whole engine process, across statements and transactions.
TEST_P(UdfSqlTest, HotSyncFlag)
{
    EXPECT_EQ(Wert(QStringLiteral("ZRNV_SET_HOTSYNC(1)")).toInt(), 1);
    EXPECT_EQ(Wert(QStringLiteral("ZRNV_GET_HOTSYNC()")).toInt(), 1);
    EXPECT_EQ(Wert(QStringLiteral("ZRNV_SET_HOTSYNC(0)")).toInt(), 0);
    EXPECT_EQ(Wert(QStringLiteral("ZRNV_GET_HOTSYNC()")).toInt(), 0);
}

// Both declarations reach one loaded module, so a flag set through one is seen through the other
// and in every database of the process.
TEST_P(UdfSqlTest, HotSyncFlagIsOneForBothDeclarations)
{
    EXPECT_EQ(Wert(QStringLiteral("ZRNV_SET_HOTSYNC(7)")).toInt(), 7);
    EXPECT_EQ(::Wert(AndereDb(), QStringLiteral("ZRNV_GET_HOTSYNC()")).toInt(), 1);
    EXPECT_EQ(Wert(QStringLiteral("ZRNV_SET_HOTSYNC(0)")).toInt(), 0);
    EXPECT_EQ(::Wert(AndereDb(), QStringLiteral("ZRNV_GET_HOTSYNC()")).toInt(), 0);
}

// Each database holds the kind of declaration its cases claim to test.
TEST_P(UdfSqlTest, FunctionsAreDeclaredTheIntendedWay)
{
    const QString art = GetParam() == Deklaration::Udr
                            ? QStringLiteral(
                                  "TRIM(RDB$ENGINE_NAME) = 'UDR' AND "
                                  "RDB$LEGACY_FLAG = 0")
                            : QStringLiteral("RDB$LEGACY_FLAG = 1 AND RDB$ENGINE_NAME IS NULL");
    EXPECT_EQ(Wert(QStringLiteral("(SELECT COUNT(*) FROM RDB$FUNCTIONS WHERE "
                                  "(RDB$FUNCTION_NAME STARTING WITH 'ZRNV_' OR "
                                  "RDB$FUNCTION_NAME = 'EOL') AND ") +
                   art + QStringLiteral(")"))
                  .toInt(),
              34);
}

// The module refuses a UDR declaration whose message it would misread or whose result has too
// little room; a correct declaration under another name with more room works.
class UdfUdrDeklarationTest : public DatabaseTest {};

TEST_F(UdfUdrDeklarationTest, MismatchingDeclarationsAreRefused)
{
    struct Fall {
        const char* name;
        const char* deklaration;
        const char* fehler;  // part of the message; empty: the function works
    };
    const QString alterArgumente = QStringLiteral("(DATE '2024-01-01', NULL, DATE '2024-01-02')");
    const QString lomArgumente = QStringLiteral("('DE 01 234 56789')");
    const std::vector<Fall> faelle = {
        {"T_ALTER_WEIT",
         "(A TIMESTAMP, B TIMESTAMP, C TIMESTAMP) RETURNS VARCHAR(40) "
         "CHARACTER SET ISO8859_1 EXTERNAL NAME 'bovantis_udf.so!ZRNV_ALTER'",
         ""},
        {"T_ALTER_ZAHL",
         "(A TIMESTAMP, B TIMESTAMP) RETURNS VARCHAR(15) CHARACTER SET ISO8859_1 "
         "EXTERNAL NAME 'bovantis_udf.so!ZRNV_ALTER'",
         "3 Parameter erwartet"},
        {"T_ALTER_TYP",
         "(A TIMESTAMP, B TIMESTAMP, C DATE) RETURNS VARCHAR(15) CHARACTER SET "
         "ISO8859_1 EXTERNAL NAME 'bovantis_udf.so!ZRNV_ALTER'",
         "Parameter 3 muss TIMESTAMP sein"},
        {"T_ALTER_ENG",
         "(A TIMESTAMP, B TIMESTAMP, C TIMESTAMP) RETURNS VARCHAR(14) CHARACTER SET "
         "ISO8859_1 EXTERNAL NAME 'bovantis_udf.so!ZRNV_ALTER'",
         "Platz f\u00fcr 15 Zeichen"},
        {"T_LOM_UTF8",
         "(L VARCHAR(40) CHARACTER SET UTF8) RETURNS BIGINT "
         "EXTERNAL NAME 'bovantis_udf.so!ZRNV_ENCODELOM'",
         "Parameter 1 muss VARCHAR CHARACTER SET ISO8859_1 sein"},
        {"T_LOM_INT",
         "(L VARCHAR(40) CHARACTER SET ISO8859_1) RETURNS INTEGER "
         "EXTERNAL NAME 'bovantis_udf.so!ZRNV_ENCODELOM'",
         "Das Ergebnis muss BIGINT sein"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        const QString name = QString::fromLatin1(f.name);
        const QString aufruf =
            name + (name.startsWith(QLatin1String("T_LOM")) ? lomArgumente : alterArgumente);
        try {
            db::ScriptRunner(Db()).Run(QStringLiteral("CREATE FUNCTION ") + name +
                                       QString::fromLatin1(f.deklaration) +
                                       QStringLiteral(" ENGINE UDR;"));
            const QVariant wert = ::Wert(Db(), aufruf);
            EXPECT_STREQ(f.fehler, "") << "keine Fehlermeldung";
            EXPECT_EQ(wert.toString(), QStringLiteral("1 Tag"));
        } catch (const db::Error& e) {
            ASSERT_STRNE(f.fehler, "") << e.Message().toStdString();
            EXPECT_TRUE(e.Message().contains(QString::fromUtf8(f.fehler)))
                << e.Message().toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Deklarationen, UdfSqlTest,
                         ::testing::Values(Deklaration::Udr, Deklaration::Legacy),
                         [](const ::testing::TestParamInfo<Deklaration>& info) {
                             return info.param == Deklaration::Udr ? "Udr" : "Legacy";
                         });

}  // namespace
