#include <DBTools.h>
#include <SilentAbort.h>

#include <DataLink.h>
#include <DataSet.h>
#include <Error.h>
#include <Meldung.h>
#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <MessageBoxScript.h>
#include <TestDatabase.h>

#include <QLineEdit>

#include <functional>
#include <stdexcept>

#include <gtest/gtest.h>

namespace {

using Tools::mrNo;
using Tools::mrOk;
using Tools::mrYes;

class DBToolsTest : public DatabaseTest {
public:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        db::ScriptRunner(Db()).Run(QStringLiteral(R"(
            CREATE TABLE T_DBT_ART (ID INTEGER NOT NULL, CONSTRAINT I_DBT_ART_PK PRIMARY KEY (ID));
            CREATE TABLE T_DBT (
              ID INTEGER NOT NULL,
              ART INTEGER,
              N INTEGER,
              NAME VARCHAR(20),
              CONSTRAINT I_DBT_PK PRIMARY KEY (ID),
              CONSTRAINT I_DBT_ART FOREIGN KEY (ART) REFERENCES T_DBT_ART (ID),
              CONSTRAINT i_dbt_n CHECK (N > 0));
            CREATE TABLE T_DBT_OHNE (ID INTEGER NOT NULL, CONSTRAINT PK_DBT_OHNE PRIMARY KEY (ID));
            INSERT INTO T_DBT_ART VALUES (1);
            INSERT INTO T_DB_FEHLER (CONSTR, BESCHREIBUNG) VALUES ('I_DBT_PK', 'Die Nummer gibt es schon.');
            INSERT INTO T_DB_FEHLER (CONSTR, BESCHREIBUNG) VALUES ('I_DBT_ART', 'Unbekannte Art.');
            INSERT INTO T_DB_FEHLER (CONSTR, BESCHREIBUNG) VALUES ('I_DBT_N', 'N muss größer als 0 sein.');
        )"));
    }

protected:
    void SetUp() override
    {
        fehlerTa.Start();
        fehler.SetSelectSQL(QStringLiteral("select * from T_DB_FEHLER"));
        fehler.Open();
        DBTools::FehlertabelleSetzen(&fehler);
        tr.Start();
        db::Query(tr, QStringLiteral("DELETE FROM T_DBT")).Execute();
        db::Query(tr, QStringLiteral("DELETE FROM T_DBT_OHNE")).Execute();
        for (int id : {1, 2, 3, 4, 5})
            db::Query(
                tr,
                QStringLiteral("INSERT INTO T_DBT (ID, N, NAME) VALUES (%1, %1, 'n%1')").arg(id))
                .Execute();
        ds.SetSelectSQL(QStringLiteral("SELECT * FROM T_DBT ORDER BY ID"));
        ds.SetInsertSQL(
            QStringLiteral("INSERT INTO T_DBT (ID, ART, N, NAME) VALUES (:ID, :ART, :N, :NAME)"));
        ds.SetModifySQL(QStringLiteral(
            "UPDATE T_DBT SET ID = :ID, ART = :ART, N = :N, NAME = :NAME WHERE ID = :OLD_ID"));
        ds.SetDeleteSQL(QStringLiteral("DELETE FROM T_DBT WHERE ID = :OLD_ID"));
        ds.Open();
    }
    void TearDown() override { DBTools::FehlertabelleSetzen(nullptr); }

    int Anzahl(const QString& where = QStringLiteral("1=1"))
    {
        db::Query q(tr, QStringLiteral("SELECT COUNT(*) FROM T_DBT WHERE ") + where);
        q.Open();
        return q.Field(0).AsInteger();
    }

    db::Transaction fehlerTa{Db(), QStringLiteral("TADBFehler")};
    db::DataSet fehler{fehlerTa};
    db::Transaction tr{Db(), QStringLiteral("TAStammdaten")};
    db::DataSet ds{tr};
};

TEST_F(DBToolsTest, ConstraintTextFromQuotedAndCheckMessages)
{
    struct Fall {
        QString meldung;
        bool gefunden;
        QString text;
    };
    const QList<Fall> faelle{
        {"violation of PRIMARY or UNIQUE KEY constraint \"I_DBT_PK\" on table \"T_DBT\"", true,
         "Die Nummer gibt es schon."},
        {"violation of FOREIGN KEY constraint \"i_dbt_art\" on table \"T_DBT\"", true,
         "Unbekannte Art."},
        {"Operation violates CHECK constraint I_DBT_N on view or table T_DBT", true,
         "N muss größer als 0 sein."},
        {"violation of PRIMARY or UNIQUE KEY constraint \"PK_DBT_OHNE\"", false, ""},
        {"violation of constraint \"I_GIBT_ES_NICHT\"", false, ""},
        {"lock conflict on no wait transaction", false, ""},
    };
    for (const Fall& f : faelle) {
        QString text = QStringLiteral("alt");
        EXPECT_EQ(DBTools::DBFehlerText(f.meldung, text), f.gefunden) << f.meldung.toStdString();
        EXPECT_EQ(text, f.text) << f.meldung.toStdString();
    }
    DBTools::FehlertabelleSetzen(nullptr);
    QString text;
    EXPECT_FALSE(DBTools::DBFehlerText(faelle[0].meldung, text));
}

TEST_F(DBToolsTest, SicherPostenTranslatesViolationsOfTheEngine)
{
    // Found and Melden: the user text as an error, silent abort, the record stays in edit.
    ds.Edit();
    ds.FieldByName(QStringLiteral("N")).SetInteger(-1);
    {
        MessageBoxScript boxes;
        boxes.AnswerWith(mrOk);
        EXPECT_THROW(DBTools::Posten(ds), SilentAbort);
        ASSERT_EQ(boxes.Shown().size(), 1);
        EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("N muss größer als 0 sein."));
        EXPECT_EQ(boxes.Shown()[0].type, Tools::mtError);
    }
    EXPECT_EQ(ds.State(), db::DataSetState::Edit);

    // Found and not Melden: cancelled, the text for the caller.
    QString text;
    ds.FieldByName(QStringLiteral("ART")).SetInteger(9);
    ds.FieldByName(QStringLiteral("N")).SetInteger(1);
    EXPECT_FALSE(DBTools::SicherPosten(ds, false, text, true));
    EXPECT_EQ(text, QStringLiteral("Unbekannte Art."));
    EXPECT_EQ(ds.State(), db::DataSetState::Browse);
    EXPECT_TRUE(ds.FieldByName(QStringLiteral("ART")).IsNull());

    // Not found: re-raised, or cancelled quietly.
    db::DataSet ohne(tr);
    ohne.SetSelectSQL(QStringLiteral("SELECT * FROM T_DBT_OHNE"));
    ohne.SetInsertSQL(QStringLiteral("INSERT INTO T_DBT_OHNE (ID) VALUES (:ID)"));
    ohne.Open();
    for (int i = 0; i < 2; ++i) {
        ohne.Append();
        ohne.FieldByName(QStringLiteral("ID")).SetInteger(7);
        if (i == 0) {
            EXPECT_TRUE(DBTools::Posten(ohne));
        }
    }
    EXPECT_THROW(DBTools::SicherPosten(ohne, true, text, true), db::Error);
    EXPECT_EQ(ohne.State(), db::DataSetState::Insert);
    EXPECT_FALSE(DBTools::SicherPosten(ohne, true, text, false));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(ohne.State(), db::DataSetState::Browse);

    // Errors of the program's own checks: re-raised with Melden, cancelled without.
    ds.Append();
    EXPECT_THROW(DBTools::Posten(ds), db::Error);
    EXPECT_FALSE(DBTools::SicherPosten(ds, false, text, true));
    EXPECT_EQ(ds.State(), db::DataSetState::Browse);
    EXPECT_TRUE(DBTools::Posten(ds));  // browse state: nothing to do
}

// The one wrapper of a window's actions: a failure becomes the error box, a silent abort none.
TEST(DBToolsSicher, ShowsAFailureAsErrorBoxAndTellsWhetherTheActionRanThrough)
{
    const struct {
        const char* fall;
        std::function<void()> aktion;
        bool durch;
        const char* meldung;  // null: no box
    } faelle[] = {
        {"done", [] {}, true, nullptr},
        {"silent abort", [] { throw SilentAbort(); }, false, nullptr},
        {"database error", [] { throw db::Error(QStringLiteral("Satz gesperrt.")); }, false,
         "Satz gesperrt."},
        {"other error", [] { throw std::runtime_error("Datei fehlt."); }, false, "Datei fehlt."},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.fall);
        MessageBoxScript boxes;
        if (f.meldung)
            boxes.AnswerWith(mrOk);
        EXPECT_EQ(DBTools::Sicher(f.aktion), f.durch);
        ASSERT_EQ(boxes.Shown().size(), f.meldung ? 1 : 0);
        if (f.meldung) {
            EXPECT_EQ(boxes.Shown()[0].text, QString::fromUtf8(f.meldung));
            EXPECT_EQ(boxes.Shown()[0].type, Tools::mtError);
        }
    }
}

TEST_F(DBToolsTest, ExecuteAndDeleteAskFirstAndTranslateViolations)
{
    {
        MessageBoxScript boxes;
        boxes.AnswerWith(mrNo).AnswerWith(mrYes);
        EXPECT_FALSE(DBTools::LoeschenMitFrage(ds, QStringLiteral("Wirklich löschen?")));
        EXPECT_EQ(Anzahl(), 5);
        EXPECT_TRUE(DBTools::LoeschenMitFrage(ds, QStringLiteral("Wirklich löschen?")));
        EXPECT_EQ(Anzahl(), 4);
        EXPECT_EQ(boxes.Shown().size(), 2);
    }
    EXPECT_TRUE(
        DBTools::SQLAusfuehrenMitFrage(ds, QStringLiteral("UPDATE T_DBT SET NAME = 'x'"), {}));
    EXPECT_EQ(Anzahl(QStringLiteral("NAME = 'x'")), 4);
    {
        MessageBoxScript boxes;
        boxes.AnswerWith(mrOk);
        EXPECT_THROW(
            DBTools::SQLAusfuehrenMitFrage(ds, QStringLiteral("UPDATE T_DBT SET N = 0"), {}),
            SilentAbort);
        EXPECT_EQ(boxes.Shown().value(0).text, QStringLiteral("N muss größer als 0 sein."));
    }
    EXPECT_THROW(DBTools::SQLAusfuehrenMitFrage(ds, QStringLiteral("UPDATE T_FEHLT SET N = 0"), {}),
                 db::Error);

    db::DataSet leer(tr);
    leer.SetSelectSQL(QStringLiteral("SELECT * FROM T_DBT WHERE ID < 0"));
    leer.SetDeleteSQL(QStringLiteral("DELETE FROM T_DBT WHERE ID = :OLD_ID"));
    leer.Open();
    MessageBoxScript keine;  // an empty dataset asks nothing
    EXPECT_FALSE(DBTools::LoeschenMitFrage(leer, QStringLiteral("Löschen?")));
    EXPECT_FALSE(DBTools::SQLAusfuehrenMitFrage(leer, QStringLiteral("DELETE FROM T_DBT"),
                                                QStringLiteral("?")));
    EXPECT_EQ(Anzahl(), 4);
}

TEST_F(DBToolsTest, DBFehlerMeldenFocusesTheControl)
{
    QWidget fenster;
    auto* datum = new QLineEdit(&fenster);
    new QLineEdit(&fenster);
    fenster.show();
    MessageBoxScript boxes;
    boxes.AnswerWith(mrOk);
    EXPECT_THROW(DBTools::DBFehlerMelden(
                     datum, QStringLiteral("Sie müssen ein Datum für die Besamung eingeben")),
                 SilentAbort);
    EXPECT_EQ(boxes.Shown().value(0).text,
              QStringLiteral("Sie müssen ein Datum für die Besamung eingeben"));
    EXPECT_EQ(fenster.focusWidget(), datum);
}

class ScrollZaehler : public db::DataLink {
public:
    using DataLink::DataLink;
    int scrolls = 0;

protected:
    void DataSetScrolled() override { ++scrolls; }
};

TEST_F(DBToolsTest, LocateIntegerSearchesOnwardThenFromTheStart)
{
    ScrollZaehler link(&ds);
    ds.MoveTo(2);
    struct Fall {
        int wert;
        bool gefunden;
        int recNo;
    };
    for (const Fall& f : {Fall{3, true, 2}, Fall{5, true, 4}, Fall{2, true, 1}, Fall{9, false, 1},
                          Fall{1, true, 0}}) {
        EXPECT_EQ(DBTools::LocateInteger(ds, QStringLiteral("ID"), f.wert, false), f.gefunden)
            << f.wert;
        EXPECT_EQ(ds.RecNo(), f.recNo) << f.wert;
    }
    link.scrolls = 0;
    EXPECT_TRUE(DBTools::LocateInteger(ds, QStringLiteral("N"), 4, true));
    EXPECT_EQ(ds.RecNo(), 3);
    EXPECT_EQ(link.scrolls, 0);
    EXPECT_FALSE(ds.ControlsDisabled());

    db::DataSet leer(tr);
    leer.SetSelectSQL(QStringLiteral("SELECT * FROM T_DBT WHERE ID < 0"));
    leer.Open();
    EXPECT_FALSE(DBTools::LocateInteger(leer, QStringLiteral("ID"), 1, true));
    EXPECT_EQ(leer.RecNo(), -1);
}

TEST_F(DBToolsTest, RecordAsListAndFieldAsString)
{
    ds.MoveTo(1);
    QStringList liste{QStringLiteral("alt")};
    DBTools::DatensatzAlsListe(ds, liste);
    EXPECT_EQ(liste, (QStringList{"ID=2", "ART=", "N=2", "NAME=n2"}));

    db::Query q(tr, QStringLiteral("SELECT NAME, CAST(2.5 AS DOUBLE PRECISION) AS D, DATE "
                                   "'2024-03-09' AS T FROM T_DBT WHERE ID = 3"));
    q.Open();
    EXPECT_EQ(DBTools::FeldAlsString(q, QStringLiteral("name")), QStringLiteral("n3"));
    EXPECT_EQ(DBTools::FeldAlsString(q, QStringLiteral("D")), QStringLiteral("2,5"));
    EXPECT_EQ(DBTools::FeldAlsString(q, QStringLiteral("T")), QStringLiteral("09.03.2024"));
    EXPECT_THROW(DBTools::FeldAlsString(q, QStringLiteral("X")), db::Error);
}

}  // namespace
