// Violations of the schema's named constraints reach the user as the stored German text, through
// the dataset helpers as the windows use them.

#include <TestDatabase.h>

#include <DBTools.h>
#include <DataSet.h>
#include <Error.h>
#include <Query.h>
#include <Transaction.h>

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

}  // namespace
