// The functions called through SQL on an embedded database: proves that the declarations match the
// module and that the engine gets what the direct calls give.
#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <TestDatabase.h>

#include <QDate>
#include <QFile>
#include <QDateTime>
#include <QVariant>

#include <gtest/gtest.h>

namespace {

class UdfSqlTest : public DatabaseTest {
public:
    // The test database holds the declarations when it is made from the schema scripts; where it
    // is not, they are run here from the same file.
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        if (Wert(QStringLiteral("(SELECT COUNT(*) FROM RDB$FUNCTIONS WHERE RDB$FUNCTION_NAME = "
                                "'ZRNV_ALTER')"))
                .toInt() == 0) {
            QFile datei(QStringLiteral(BOVANTIS_UDF_SQL));
            ASSERT_TRUE(datei.open(QIODevice::ReadOnly));
            db::ScriptRunner(Db()).Run(QString::fromUtf8(datei.readAll()));
        }
    }

protected:
    // The value of one expression, evaluated by the engine.
    static QVariant Wert(const QString& ausdruck)
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr,
                    QStringLiteral("SELECT ") + ausdruck + QStringLiteral(" FROM RDB$DATABASE"));
        q.Open();
        return q.Field(0).AsVariant();
    }
};

struct Case {
    const char* ausdruck;
    QVariant erwartet;  // an invalid QVariant: SQL NULL
};

TEST_F(UdfSqlTest, EveryFunctionWithGoodNullAndBadInput)
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
        {"ZRNV_ENCODELOM('AT 123 456 789')", QVariant()},
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
         QDateTime(QDate(2024, 2, 29), QTime(8, 0))},
        {"ZRNV_DATE_ADD(NULL, 1, 0)", QVariant()},
        {"ZRNV_DATE_ADD(TIMESTAMP '2024-12-15 08:00:00', 3, 1)",
         QDateTime(QDate(2026, 3, 15), QTime(8, 0))},
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
TEST_F(UdfSqlTest, LongResultsAreCut)
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
TEST_F(UdfSqlTest, HotSyncFlag)
{
    EXPECT_EQ(Wert(QStringLiteral("ZRNV_SET_HOTSYNC(1)")).toInt(), 1);
    EXPECT_EQ(Wert(QStringLiteral("ZRNV_GET_HOTSYNC()")).toInt(), 1);
    EXPECT_EQ(Wert(QStringLiteral("ZRNV_SET_HOTSYNC(0)")).toInt(), 0);
    EXPECT_EQ(Wert(QStringLiteral("ZRNV_GET_HOTSYNC()")).toInt(), 0);
}

// A join on the ear-tag number matches no row for an invalid ear tag, not the rows stored as 0.
TEST_F(UdfSqlTest, InvalidEarTagsJoinNothing)
{
    db::ScriptRunner(Db()).Run(QStringLiteral(R"(
        CREATE TABLE T_UDF_TIERE (ID INTEGER NOT NULL PRIMARY KEY, NUMMER_NUM BIGINT);
        CREATE TABLE T_UDF_GESENDET (TIER VARCHAR(20));
        INSERT INTO T_UDF_TIERE VALUES (1, 276000123456789);
        INSERT INTO T_UDF_TIERE VALUES (2, 0);
        INSERT INTO T_UDF_GESENDET VALUES ('DE 01 234 56789');
        INSERT INTO T_UDF_GESENDET VALUES ('AT 123 456 789');
        INSERT INTO T_UDF_GESENDET VALUES ('unlesbar');
        COMMIT;
    )"));
    db::Transaction tr(Db());
    tr.Start();
    db::Query q(tr, QStringLiteral("SELECT H.TIER, S.ID FROM T_UDF_GESENDET H "
                                   "LEFT JOIN T_UDF_TIERE S ON S.NUMMER_NUM = "
                                   "ZRNV_ENCODELOM(H.TIER) ORDER BY H.TIER"));
    std::vector<std::pair<std::string, QVariant>> zeilen;
    for (q.Open(); !q.Eof(); q.Next())
        zeilen.emplace_back(q.Field(0).AsString().toStdString(), q.Field(1).AsVariant());
    ASSERT_EQ(zeilen.size(), 3u);
    EXPECT_TRUE(zeilen[0].second.isNull());  // AT 123 456 789: wrong check digit
    EXPECT_EQ(zeilen[1].second.toInt(), 1);  // DE 01 234 56789
    EXPECT_TRUE(zeilen[2].second.isNull());  // unlesbar
}

}  // namespace
