// The update step 1.28 -> 1.29 on a database as 1.28 left it: afterwards it has the schema, the
// list catalogue, the statement builders and the standard lists of a new database, and a design
// stores and opens in it; lists and the appointment list of the farm stay as they were.

#include <TestDatabase.h>

#include <Error.h>
#include <ListenTools.h>
#include <Query.h>
#include <Skript.h>
#include <Transaction.h>

#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QString Skript()
{
    QFile datei(QStringLiteral(BOVANTIS_SQL_UPDATE "/upd-1-28-1-29-1.sql"));
    EXPECT_TRUE(datei.open(QIODevice::ReadOnly)) << datei.fileName().toStdString();
    return QString::fromUtf8(datei.readAll());
}

void SchrittAusfuehren(db::Database& d)
{
    db::Transaction tr(d);
    tr.Start();
    ZRDBScript::TSkriptDatenbank datenbank(tr);
    ZRDBScript::FuehreDBScriptAus(datenbank, Skript());
    tr.Commit();
}

// The rows of a select, one text per row, NULL shown as "-".
QStringList Zeilen(db::Database& d, const QString& sql)
{
    db::Transaction tr(d);
    tr.Start();
    db::Query q(tr, sql);
    QStringList zeilen;
    for (q.Open(); !q.Eof(); q.Next()) {
        QStringList werte;
        for (int i = 0; i < q.FieldCount(); ++i)
            werte << (q.Field(i).IsNull() ? QStringLiteral("-") : q.Field(i).AsString().trimmed());
        zeilen << werte.join(QLatin1Char('|'));
    }
    tr.Commit();
    return zeilen;
}

QString Wert(db::Database& d, const QString& sql)
{
    const QStringList z = Zeilen(d, sql);
    return z.isEmpty() ? QString() : z.first();
}

void Ausfuehren(db::Database& d, const QString& sql)
{
    db::Transaction tr(d);
    tr.Start();
    db::Query(tr, sql).Execute();
    tr.Commit();
}

// What makes up the schema and the shipped rows of user lists, in a comparable form: objects by
// their source texts, columns by type, room, null flag and default in their order, constraints
// by name (the engine names NOT NULL constraints itself), and the rows of the catalogue, the
// lists, their layouts, the masks, the settings of lists, the report code sets and the items of
// milk-recording files, and the program user's rights on all of it.
QStringList Bestand(db::Database& d)
{
    const char* abfragen[] = {
        "SELECT RF.RDB$RELATION_NAME, RF.RDB$FIELD_NAME, F.RDB$FIELD_TYPE, F.RDB$FIELD_LENGTH, "
        "F.RDB$FIELD_SCALE, F.RDB$FIELD_SUB_TYPE, COALESCE(RF.RDB$NULL_FLAG, F.RDB$NULL_FLAG, 0), "
        "RF.RDB$DEFAULT_SOURCE, F.RDB$COMPUTED_SOURCE FROM RDB$RELATION_FIELDS RF "
        "JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
        "JOIN RDB$RELATIONS R ON R.RDB$RELATION_NAME = RF.RDB$RELATION_NAME "
        "WHERE COALESCE(R.RDB$SYSTEM_FLAG, 0) = 0 "
        "ORDER BY RF.RDB$RELATION_NAME, RF.RDB$FIELD_POSITION",
        "SELECT RDB$RELATION_NAME, RDB$VIEW_SOURCE FROM RDB$RELATIONS "
        "WHERE RDB$VIEW_BLR IS NOT NULL AND COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1",
        "SELECT RDB$PROCEDURE_NAME, RDB$PROCEDURE_SOURCE FROM RDB$PROCEDURES "
        "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1",
        "SELECT P.RDB$PROCEDURE_NAME, P.RDB$PARAMETER_TYPE, P.RDB$PARAMETER_NUMBER, "
        "P.RDB$PARAMETER_NAME, F.RDB$FIELD_TYPE, F.RDB$FIELD_LENGTH, F.RDB$FIELD_SCALE "
        "FROM RDB$PROCEDURE_PARAMETERS P JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = "
        "P.RDB$FIELD_SOURCE "
        "WHERE COALESCE(P.RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1, 2, 3",
        "SELECT RDB$TRIGGER_NAME, RDB$RELATION_NAME, RDB$TRIGGER_TYPE, RDB$TRIGGER_SEQUENCE, "
        "RDB$TRIGGER_INACTIVE, RDB$TRIGGER_SOURCE FROM RDB$TRIGGERS "
        "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1",
        "SELECT RDB$RELATION_NAME, RDB$CONSTRAINT_NAME, RDB$CONSTRAINT_TYPE, RDB$INDEX_NAME "
        "FROM RDB$RELATION_CONSTRAINTS WHERE RDB$CONSTRAINT_TYPE <> 'NOT NULL' ORDER BY 1, 2",
        "SELECT DISTINCT C.RDB$CONSTRAINT_NAME, T.RDB$TRIGGER_SOURCE FROM RDB$CHECK_CONSTRAINTS C "
        "JOIN RDB$TRIGGERS T ON T.RDB$TRIGGER_NAME = C.RDB$TRIGGER_NAME "
        "WHERE C.RDB$CONSTRAINT_NAME NOT STARTING WITH 'INTEG_' ORDER BY 1",
        "SELECT I.RDB$INDEX_NAME, I.RDB$RELATION_NAME, I.RDB$UNIQUE_FLAG, S.RDB$FIELD_NAME, "
        "S.RDB$FIELD_POSITION FROM RDB$INDICES I "
        "LEFT JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = I.RDB$INDEX_NAME "
        "WHERE COALESCE(I.RDB$SYSTEM_FLAG, 0) = 0 AND I.RDB$INDEX_NAME NOT STARTING WITH 'RDB$' "
        "ORDER BY 1, 5",
        "SELECT RDB$EXCEPTION_NAME, RDB$MESSAGE FROM RDB$EXCEPTIONS "
        "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1",
        "SELECT * FROM T_DESIGN_LISTEN_QUELLEN ORDER BY ID",
        "SELECT * FROM T_DESIGN_LISTEN_FELDER ORDER BY ID",
        "SELECT * FROM T_LISTEN ORDER BY ID",
        "SELECT LISTE, FELD, BREITE, AUTOBREITE, TITEL, AUSRICHTUNG, SICHTBAR, ZEILE, "
        "UEBERSCHRIFT, DISPLAY_FORMAT, WERT FROM T_LISTEN_BILDSCHIRM ORDER BY LISTE, ID",
        "SELECT LISTE, FELD, L_POSITION, ZEILE, BREITE, SCHRIFT, TITEL, AUSRICHTUNG, SICHTBAR, "
        "TITEL_SCHRIFT, ZEILENUMBRUCH, LEERZEILE, SCHRIFTSCHMAL, DISPLAY_FORMAT, WERT "
        "FROM T_LISTEN_DRUCK ORDER BY LISTE, ID",
        "SELECT * FROM T_MASKEN ORDER BY ID",
        "SELECT NAME, WERT FROM T_EINSTELLUNGEN WHERE NAME IN ('Version', 'Unterversion', "
        "'Termin-Liste') ORDER BY NAME",
        "SELECT GEN_ID(G_LISTEN_ID, 0) FROM RDB$DATABASE",
        "SELECT CONSTR, BESCHREIBUNG FROM T_DB_FEHLER ORDER BY CONSTR",
        "SELECT FELD, CODE, TEXT, SORTIERUNG FROM T_HIT_CODESETS ORDER BY FELD, CODE",
        "SELECT * FROM T_ADIS_ITEMS ORDER BY DDNR",
        "SELECT RDB$USER, RDB$PRIVILEGE, RDB$RELATION_NAME, RDB$OBJECT_TYPE FROM "
        "RDB$USER_PRIVILEGES WHERE RDB$USER = 'BOVANTIS' AND RDB$RELATION_NAME NOT STARTING WITH "
        "'RDB$' ORDER BY 3, 2",
    };
    QStringList bestand;
    for (const char* sql : abfragen)
        bestand += Zeilen(d, QString::fromLatin1(sql));
    return bestand;
}

// The lines only one side has.
QString Unterschied(const QStringList& soll, const QStringList& ist)
{
    const QSet<QString> s(soll.cbegin(), soll.cend());
    const QSet<QString> i(ist.cbegin(), ist.cend());
    QStringList text;
    for (const QString& z : soll)
        if (!i.contains(z))
            text << QStringLiteral("fehlt: ") + z.left(300);
    for (const QString& z : ist)
        if (!s.contains(z))
            text << QStringLiteral("zuviel: ") + z.left(300);
    return text.join(QLatin1Char('\n'));
}

class ListenDesignUpdateTest : public ::testing::Test {
protected:
    void SetUp() override { SchemaVersion128(alt_.Db()); }

    TestDatabase neu_;
    TestDatabase alt_;
};

TEST_F(ListenDesignUpdateTest, TheStepBringsADatabaseAsNewOnesAreMadeAndRunsAgainWithoutHarm)
{
    ASSERT_EQ(Wert(alt_.Db(), "SELECT COUNT(*) FROM T_DESIGN_LISTEN_QUELLEN"), "0");
    ASSERT_EQ(Wert(alt_.Db(),
                   "SELECT COUNT(*) FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME = "
                   "'P_GEN_SQL'"),
              "0");
    const QStringList soll = Bestand(neu_.Db());
    ASSERT_NE(soll, Bestand(alt_.Db()));
    for (int lauf = 1; lauf <= 2; ++lauf) {
        SCOPED_TRACE(lauf);
        SchrittAusfuehren(alt_.Db());
        // The version is the update chain's to write.
        Ausfuehren(alt_.Db(), "UPDATE T_EINSTELLUNGEN SET WERT = '29' WHERE NAME = 'Unterversion'");
        const QStringList ist = Bestand(alt_.Db());
        EXPECT_EQ(soll.size(), ist.size());
        EXPECT_TRUE(soll == ist) << Unterschied(soll, ist).toStdString();
    }
}

TEST_F(ListenDesignUpdateTest, ADesignStoresAndOpensAfterTheStep)
{
    Ausfuehren(alt_.Db(),
               "INSERT INTO T_STAMMDATEN (NUMMER, KNR, NAME, GEBDAT, GESCHLECHT, RASSE) "
               "VALUES ('DE 01', 1, 'Anna', '01.01.2020', 'W', 1)");
    Ausfuehren(alt_.Db(),
               "INSERT INTO T_STAMMDATEN (NUMMER, KNR, NAME, GEBDAT, GESCHLECHT, RASSE) "
               "VALUES ('DE 02', 2, 'Bruno', '01.01.2021', 'M', 1)");
    SchrittAusfuehren(alt_.Db());
    Ausfuehren(alt_.Db(),
               "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, QUELLE1, QUELLE2, "
               "FELD12_1, FELD12_2, FELDER, BEDINGUNGEN, SORTIERUNG) VALUES (9, 'Kühe', "
               "'Kühe', 1, 3, 101, 302, 'Q1.ID;Q1.NAME;Q2.DATUM', "
               "'Q1.GESCHLECHT;=;W;', 'Q1.NAME;ASC')");
    EXPECT_EQ(
        Zeilen(alt_.Db(), "SELECT FELD, TITEL, TIER_ID FROM P_GET_LISTE_BILDSCHIRM_FELDER(9)"),
        QStringList({"Q1.ID|Tier-ID|T", "Q1.NAME|Name|F", "Q2.DATUM|Kalbedatum|F"}));
    const QString sql = Wert(alt_.Db(), "SELECT SQL FROM T_LISTEN WHERE ID = 9");
    const QStringList zeilen = Zeilen(alt_.Db(), ListenTools::BetriebsstaetteEinsetzen(sql, 0));
    ASSERT_EQ(zeilen.size(), 1);
    EXPECT_TRUE(zeilen[0].endsWith(QStringLiteral("|Anna|-"))) << zeilen[0].toStdString();
}

TEST_F(ListenDesignUpdateTest, ListsAndTheAppointmentListOfTheFarmStay)
{
    Ausfuehren(alt_.Db(),
               "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, SQL) VALUES (3, 'Meine', "
               "'SELECT 1 AS Q1EINS FROM RDB$DATABASE')");
    Ausfuehren(alt_.Db(), "INSERT INTO T_EINSTELLUNGEN (NAME, WERT) VALUES ('Termin-Liste', '3')");
    Ausfuehren(alt_.Db(),
               "INSERT INTO T_MASKEN (ID, NAME, REIHUNG, BASIS, BEDINGUNGEN) VALUES "
               "(20, 'Weibliche', 20, 'V_TIERWAHL_AKTUELL', 'GESCHLECHT;=;W;')");
    SchrittAusfuehren(alt_.Db());
    EXPECT_EQ(Zeilen(alt_.Db(), "SELECT ID, BEZEICHNUNG, SQL FROM T_LISTEN WHERE ID > 0"),
              QStringList({"3|Meine|SELECT 1 AS Q1EINS FROM RDB$DATABASE"}));
    EXPECT_EQ(Wert(alt_.Db(), "SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Termin-Liste'"), "3");
    EXPECT_EQ(Wert(alt_.Db(), "SELECT QUERY FROM T_MASKEN WHERE ID = 20"),
              "FROM V_TIERWAHL_AKTUELL T WHERE ((T.GESCHLECHT = 'W'))");
}

}  // namespace
