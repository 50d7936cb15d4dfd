// Violations of the schema's named constraints reach the user as the stored German text, through
// the dataset helpers as the windows use them.

#include <TestDatabase.h>

#include <DBTools.h>
#include <DataSet.h>
#include <Error.h>
#include <Query.h>
#include <Transaction.h>

#include <QDate>

#include <gtest/gtest.h>

namespace {

class FehlertexteTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        fehlerTa_.Start();
        fehler_.SetSelectSQL(QStringLiteral("select * from T_DB_FEHLER"));
        fehler_.Open();
        DBTools::FehlertabelleSetzen(&fehler_);
        tr_.Start();
    }
    void TearDown() override
    {
        DBTools::FehlertabelleSetzen(nullptr);
        tr_.Rollback();
    }

    // The user text of the error the statement raises, or what went wrong instead.
    QString TextBei(const QString& sql)
    {
        try {
            db::Query(tr_, sql).Execute();
        } catch (const db::Error& e) {
            QString text;
            return DBTools::DBFehlerText(e, text) ? text
                                                  : QStringLiteral("ohne Text: ") + e.Message();
        }
        return QStringLiteral("kein Fehler");
    }

    db::Transaction fehlerTa_{Db()};
    db::DataSet fehler_{fehlerTa_};
    db::Transaction tr_{Db()};
};

TEST_F(FehlertexteTest, KeysUniqueValuesAndChecksShowTheirStoredText)
{
    db::Query(tr_, QStringLiteral("INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) "
                                  "VALUES ('DE 0300000001', '01.01.2024', 'W', 1)"))
        .Execute();
    const struct {
        const char* sql;
        const char* text;
    } faelle[] = {
        {"INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) VALUES ('DE 0300000001', "
         "'01.01.2024', 'M', 1)",
         "Es gibt bereits ein Tier mit dieser Ohrmarkennummer.\rJede Ohrmarkennummer darf nur "
         "einmal vergeben werden."},
        {"INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) VALUES ('DE 0300000002', "
         "'01.01.2024', 'X', 1)",
         "Das Geschlecht des Tieres muss männlich (M) oder weiblich (W) sein."},
        {"INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) VALUES ('DE 0300000003', "
         "'01.01.2024', 'W', 12345)",
         "Die Rasse ist unbekannt oder wird noch von Tieren verwendet."},
        {"DELETE FROM T_BETRIEBSGRUPPEN",
         "Die Betriebsgruppe kann nicht gelöscht werden, da ihr noch Betriebsstätten zugeordnet "
         "sind.\rBitte ordnen Sie die Betriebsstätten zuerst einer anderen Betriebsgruppe zu."},
        {"INSERT INTO T_MASKEN (NAME, REIHUNG) VALUES ('Doppelt', 1)",
         "Diese Position in der Reihenfolge der Suchmasken ist bereits vergeben."},
        {"INSERT INTO T_MILCHANLIEFERUNG (MONAT, WAEHRUNG) VALUES ('01.01.2024', 'CHF')",
         "Die Währung ist ungültig (zulässig: EUR, DEM, ATS)."},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(TextBei(QString::fromUtf8(f.sql)), QString::fromUtf8(f.text)) << f.sql;
}

// Every engine error raised while the texts are known carries the user text, whichever window
// or helper shows it; the engine's own text stays at hand. A duplicate ear tag in another
// spelling is the same animal.
TEST_F(FehlertexteTest, EveryEngineErrorCarriesItsUserText)
{
    db::Query(tr_, QStringLiteral("INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) "
                                  "VALUES ('DE 0300000011', '01.01.2024', 'W', 1)"))
        .Execute();
    const struct {
        const char* sql;
        const char* text;
        const char* engine;
    } faelle[] = {
        {"INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) VALUES ('276000300000011', "
         "'01.01.2024', 'W', 1)",
         "Es gibt bereits ein Tier mit dieser Ohrmarkennummer.\rJede Ohrmarkennummer darf nur "
         "einmal vergeben werden.",
         "I_STAMMDATEN_NUMMER"},
        {"UPDATE T_STAMMDATEN SET GESCHLECHT = 'X'",
         "Das Geschlecht des Tieres muss männlich (M) oder weiblich (W) sein.",
         "CHECK constraint I_STAMMDATEN_GESCHLECHT"},
        {"UPDATE T_STAMMDATEN SET NAME = 'Ein viel zu langer Name'",
         "Ein eingegebener Text ist zu lang: höchstens 15 Zeichen sind erlaubt, eingegeben sind "
         "23.",
         "string right truncation"},
    };
    for (const auto& f : faelle) {
        try {
            db::Query(tr_, QString::fromUtf8(f.sql)).Execute();
            ADD_FAILURE() << f.sql;
        } catch (const db::Error& e) {
            EXPECT_EQ(e.Message().toStdString(), f.text) << f.sql;
            EXPECT_STREQ(e.what(), f.text);
            EXPECT_TRUE(e.EngineMessage().contains(QString::fromUtf8(f.engine)))
                << e.EngineMessage().toStdString();
        }
    }
    // Without the texts (before the connection, after it) the engine's message is shown.
    DBTools::FehlertabelleSetzen(nullptr);
    try {
        db::Query(tr_, QString::fromUtf8(faelle[1].sql)).Execute();
        ADD_FAILURE() << faelle[1].sql;
    } catch (const db::Error& e) {
        EXPECT_EQ(e.Message(), e.EngineMessage());
    }
}

// A record the engine refuses for a too long text names the field.
TEST_F(FehlertexteTest, ATooLongTextNamesItsField)
{
    db::DataSet tiere(tr_);
    tiere.SetSelectSQL(
        QStringLiteral("SELECT NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE FROM T_STAMMDATEN"));
    tiere.SetInsertSQL(
        QStringLiteral("INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, "
                       "GESCHLECHT, RASSE) VALUES (:NUMMER, :NAME, :GEBDAT, "
                       ":GESCHLECHT, :RASSE)"));
    tiere.Open();
    tiere.FieldByName(QStringLiteral("NAME")).DisplayLabel = QStringLiteral("Name");
    tiere.Append();
    tiere.FieldByName(QStringLiteral("NUMMER")).SetString(QStringLiteral("DE 0300000021"));
    tiere.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("Ein viel zu langer Name"));
    tiere.FieldByName(QStringLiteral("GEBDAT")).SetDate(QDate(2024, 1, 1));
    tiere.FieldByName(QStringLiteral("GESCHLECHT")).SetString(QStringLiteral("W"));
    tiere.FieldByName(QStringLiteral("RASSE")).SetInteger(1);
    QString text;
    EXPECT_FALSE(DBTools::SicherPosten(tiere, false, text, false));
    EXPECT_EQ(text.toStdString(),
              "Der Text im Feld \"Name\" ist zu lang: höchstens 15 Zeichen sind erlaubt, "
              "eingegeben sind 23.");
}

}  // namespace
