#include <Abort.h>
#include <DataLink.h>
#include <DataSet.h>
#include <DataSetModel.h>
#include <Database.h>
#include <Error.h>
#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>
#include <UpdateConflict.h>

#include <TestDatabase.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

namespace {

class DataSetTest : public DatabaseTest {
public:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        db::ScriptRunner(Db()).Run(QStringLiteral(R"(
            CREATE TABLE T_KUH (
              ID INTEGER NOT NULL PRIMARY KEY,
              NAME VARCHAR(30) NOT NULL,
              GEBDAT DATE,
              LEISTUNG NUMERIC(9,2),
              GEAENDERT VARCHAR(10),
              NOTIZ BLOB SUB_TYPE 1);
            CREATE GENERATOR G_KUH;
            SET TERM ^ ;
            CREATE TRIGGER T_KUH_BU FOR T_KUH BEFORE INSERT OR UPDATE AS
            BEGIN
              NEW.GEAENDERT = 'server';
            END^
            SET TERM ; ^
        )"));
    }

protected:
    void SetUp() override
    {
        tr.Start();
        db::Query(tr, QStringLiteral("DELETE FROM T_KUH")).Execute();
        db::Query ins(tr, QStringLiteral("INSERT INTO T_KUH (ID, NAME, GEBDAT, NOTIZ) VALUES (:ID, "
                                         ":N, :D, :N || ' läuft')"));
        const QStringList names{"Berta", "Alma", "Cilly", "Dora"};
        for (int i = 0; i < names.size(); ++i) {
            ins.Param("ID").SetInteger(100 + i);
            ins.Param("N").SetString(names[i]);
            ins.Param("D").SetDate(QDate(2020, 1, 1 + i));
            ins.Execute();
        }
        tr.CommitRetaining();
        ds.SetSelectSQL(QStringLiteral("SELECT * FROM T_KUH ORDER BY ID"));
        ds.SetInsertSQL(
            QStringLiteral("INSERT INTO T_KUH (ID, NAME, GEBDAT, LEISTUNG) VALUES "
                           "(:ID, :NAME, :GEBDAT, :LEISTUNG)"));
        ds.SetModifySQL(
            QStringLiteral("UPDATE T_KUH SET NAME = :NAME, GEBDAT = :GEBDAT, "
                           "LEISTUNG = :LEISTUNG WHERE ID = :OLD_ID"));
        ds.SetDeleteSQL(QStringLiteral("DELETE FROM T_KUH WHERE ID = :OLD_ID"));
        ds.SetRefreshSQL(QStringLiteral("SELECT * FROM T_KUH WHERE ID = :ID"));
        ds.SetGenerator(QStringLiteral("ID"), QStringLiteral("G_KUH"));
    }

    QStringList Stored()
    {
        QStringList r;
        db::Query q(tr, QStringLiteral("SELECT ID, NAME FROM T_KUH ORDER BY ID"));
        for (q.Open(); !q.Eof(); q.Next())
            r << QStringLiteral("%1 %2").arg(q.Field(0).AsInteger()).arg(q.Field(1).AsString());
        return r;
    }

    db::Transaction tr{Db(), QStringLiteral("TAStammdaten")};
    db::DataSet ds{tr};
};

// Records what a bound control hears.
class Spy : public db::DataLink {
public:
    using DataLink::DataLink;
    QStringList heard;
    QString pending;  // a value typed into the control, not yet in the field

protected:
    void ActiveChanged() override { heard << QStringLiteral("active"); }
    void DataSetChanged() override { heard << QStringLiteral("data"); }
    void DataSetScrolled() override { heard << QStringLiteral("scroll"); }
    void RecordChanged(db::Field* f) override
    {
        heard << QStringLiteral("record:") + (f ? f->FieldName() : QString());
    }
    void EditingChanged() override { heard << QStringLiteral("editing"); }
    void UpdateData() override
    {
        heard << QStringLiteral("update");
        if (!pending.isEmpty())
            GetDataSet()->FieldByName(QStringLiteral("NAME")).SetString(pending);
    }
};

TEST_F(DataSetTest, AppendPostFillsGeneratorIdAndRunsEventsInOrder)
{
    QStringList events;
    ds.OnNewRecord = [&](db::DataSet& d) {
        events << QStringLiteral("new");
        d.FieldByName(QStringLiteral("GEBDAT")).SetDate(QDate(2024, 3, 1));
    };
    ds.BeforePost = [&](db::DataSet& d) {
        events << QStringLiteral("before:") + (d.FieldByName(QStringLiteral("ID")).IsNull()
                                                   ? QStringLiteral("ohne ID")
                                                   : QStringLiteral("mit ID"));
    };
    ds.AfterPost = [&](db::DataSet&) { events << QStringLiteral("after"); };
    ds.Open();
    EXPECT_EQ(ds.State(), db::DataSetState::Browse);
    EXPECT_EQ(ds.RecordCount(), 4);
    const int fetchedIdType = ds.FieldByName(QStringLiteral("ID")).AsVariant().typeId();
    EXPECT_TRUE(ds.FieldByName(QStringLiteral("NAME")).Required);
    EXPECT_FALSE(ds.FieldByName(QStringLiteral("GEBDAT")).Required);

    ds.Append();
    EXPECT_EQ(ds.State(), db::DataSetState::Insert);
    EXPECT_EQ(ds.RecNo(), 4);
    ds.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("Emma"));
    ds.FieldByName(QStringLiteral("LEISTUNG")).SetString(QStringLiteral("12,5"));
    ds.Post();
    EXPECT_EQ(events, (QStringList{"new", "before:ohne ID", "after"}));
    EXPECT_EQ(ds.State(), db::DataSetState::Browse);
    const int id = ds.FieldByName(QStringLiteral("ID")).AsInteger();
    EXPECT_GE(id, 1);
    // Re-read after the post: the trigger's value is there.
    EXPECT_EQ(ds.FieldByName(QStringLiteral("GEAENDERT")).AsString(), QStringLiteral("server"));
    EXPECT_DOUBLE_EQ(ds.FieldByName(QStringLiteral("LEISTUNG")).AsDouble(), 12.5);
    EXPECT_TRUE(Stored().contains(QStringLiteral("%1 Emma").arg(id)));

    // Not re-read, the generated ID keeps the type it was given: the one a fetched row has.
    ds.SetRefreshSQL({});
    ds.Append();
    ds.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("Frieda"));
    ds.Post();
    EXPECT_EQ(ds.FieldByName(QStringLiteral("ID")).AsInteger(), id + 1);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("ID")).AsVariant().typeId(), fetchedIdType);
}

TEST_F(DataSetTest, CancelRestoresAndFailedPostKeepsTheUsersValues)
{
    ds.Open();
    ds.MoveTo(1);
    ds.Edit();
    ds.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("Geändert"));
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NAME")).OldValue().AsString(), QStringLiteral("Alma"));
    ds.Cancel();
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NAME")).AsString(), QStringLiteral("Alma"));

    ds.Insert();
    EXPECT_EQ(ds.RecordCount(), 5);
    ds.Cancel();
    EXPECT_EQ(ds.RecordCount(), 4);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NAME")).AsString(), QStringLiteral("Alma"));

    // A required field without a value, then a duplicate key: the record stays in insert state.
    ds.Append();
    ds.FieldByName(QStringLiteral("GEBDAT")).SetDate(QDate(2021, 5, 5));
    EXPECT_THROW(ds.Post(), db::Error);
    ds.FieldByName(QStringLiteral("ID")).SetInteger(100);
    ds.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("Doppelt"));
    try {
        ds.Post();
        ADD_FAILURE() << "duplicate key stored";
    } catch (const db::Error& e) {
        EXPECT_FALSE(e.Constraint().isEmpty());
    }
    EXPECT_EQ(ds.State(), db::DataSetState::Insert);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NAME")).AsString(), QStringLiteral("Doppelt"));
    ds.FieldByName(QStringLiteral("ID")).SetInteger(200);
    ds.Post();
    EXPECT_EQ(Stored().last(), QStringLiteral("200 Doppelt"));
}

// A post that fails after its statement ran (here a calculated field after the read-back) leaves
// nothing on the server: posting again stores the row once, and cancelling stores nothing.
TEST_F(DataSetTest, PostFailingAfterItsStatementLeavesNothingOnTheServer)
{
    bool scheitern = false;
    ds.AddCalculatedField(QStringLiteral("PRUEFUNG"), db::FieldType::Integer);
    ds.OnCalcFields = [&scheitern](db::DataSet&) {
        if (scheitern)
            throw db::Error(QStringLiteral("Berechnung gescheitert"));
    };
    ds.Open();
    const QStringList vorher = Stored();

    ds.Append();
    ds.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("Emma"));
    scheitern = true;
    EXPECT_THROW(ds.Post(), db::Error);
    EXPECT_EQ(ds.State(), db::DataSetState::Insert);
    EXPECT_EQ(Stored(), vorher);
    scheitern = false;
    ds.Post();
    const QStringList eine = Stored();
    ASSERT_EQ(eine.size(), vorher.size() + 1);
    EXPECT_EQ(eine.filter(QStringLiteral(" Emma")).size(), 1);

    ds.MoveTo(0);
    ds.Edit();
    ds.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("Geändert"));
    scheitern = true;
    EXPECT_THROW(ds.Post(), db::Error);
    scheitern = false;
    ds.Cancel();
    tr.CommitRetaining();
    EXPECT_EQ(Stored(), eine);

    // The savepoint's statements, made once, serve the next transaction as well.
    tr.Commit();
    tr.Start();
    ds.Open();
    ds.Append();
    ds.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("Frieda"));
    scheitern = true;
    EXPECT_THROW(ds.Post(), db::Error);
    scheitern = false;
    ds.Cancel();
    EXPECT_EQ(Stored(), eine);
}

TEST_F(DataSetTest, EditPostsOnMoveAndEditOfRowDeletedElsewhereFails)
{
    ds.Open();
    ds.Edit();
    ds.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("Bertha"));
    ds.Next();
    EXPECT_EQ(ds.State(), db::DataSetState::Browse);
    EXPECT_EQ(Stored().first(), QStringLiteral("100 Bertha"));

    db::Transaction other(Db());
    other.Start();
    db::Query(other, QStringLiteral("DELETE FROM T_KUH WHERE ID = 101")).Execute();
    other.Commit();
    ds.Edit();
    ds.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("Almut"));
    EXPECT_THROW(ds.Post(), db::Error);
    EXPECT_EQ(ds.State(), db::DataSetState::Edit);
    ds.Cancel();
}

TEST_F(DataSetTest, DeleteLocateAndRefresh)
{
    ds.Open();
    EXPECT_TRUE(ds.Locate(QStringLiteral("NAME"), {QStringLiteral("cil")}, true, true));
    EXPECT_EQ(ds.FieldByName(QStringLiteral("ID")).AsInteger(), 102);
    EXPECT_FALSE(ds.Locate(QStringLiteral("NAME"), {QStringLiteral("cil")}, false, true));
    EXPECT_EQ(ds.RecNo(), 2);
    EXPECT_TRUE(ds.Locate(QStringLiteral("ID;GEBDAT"), {101, QDate(2020, 1, 2)}));
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_FALSE(ds.Locate(QStringLiteral("ID;GEBDAT"), {101, QDate(2020, 1, 3)}));

    ds.Delete();
    EXPECT_EQ(ds.RecordCount(), 3);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("ID")).AsInteger(), 102);
    EXPECT_EQ(Stored(), (QStringList{"100 Berta", "102 Cilly", "103 Dora"}));

    db::Query(tr, QStringLiteral("UPDATE T_KUH SET NAME = 'Zilly' WHERE ID = 102")).Execute();
    ds.Refresh();
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NAME")).AsString(), QStringLiteral("Zilly"));

    ds.SetRefreshSQL(QString());
    db::Query(tr, QStringLiteral("INSERT INTO T_KUH (ID, NAME) VALUES (99, 'Anna')")).Execute();
    ds.Refresh();
    EXPECT_EQ(ds.RecordCount(), 4);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("ID")).AsInteger(), 102);

    db::DataSet empty(tr);
    empty.SetSelectSQL(QStringLiteral("SELECT * FROM T_KUH WHERE ID < 0"));
    empty.Open();
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_TRUE(empty.Eof());
    EXPECT_EQ(empty.RecNo(), -1);
    EXPECT_FALSE(empty.Locate(QStringLiteral("ID"), {1}));
    EXPECT_THROW(empty.Delete(), db::Error);
}

TEST_F(DataSetTest, CommitRetainingKeepsItOpenCommitClosesIt)
{
    ds.Open();
    ds.MoveTo(2);
    tr.CommitRetaining();
    EXPECT_TRUE(ds.Active());
    EXPECT_EQ(ds.RecNo(), 2);
    // Rows are decoded when first used: a text blob is read in the retained transaction.
    EXPECT_EQ(ds.ValueAt(3, ds.FieldByName(QStringLiteral("NOTIZ")).Index()).AsString(),
              QStringLiteral("Dora läuft"));
    ds.Edit();
    ds.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("Cäcilie"));
    ds.Post();
    tr.Commit();
    EXPECT_FALSE(ds.Active());
    tr.Start();
    EXPECT_EQ(Stored()[2], QStringLiteral("102 Cäcilie"));
}

TEST_F(DataSetTest, LinksHearStateDataAndWritePendingValuesOnPost)
{
    Spy spy(&ds);
    ds.Open();
    EXPECT_EQ(spy.heard, (QStringList{"active", "scroll"}));
    spy.heard.clear();
    ds.Next();
    EXPECT_EQ(spy.heard, (QStringList{"scroll"}));
    spy.heard.clear();
    EXPECT_TRUE(spy.Edit());
    spy.pending = QStringLiteral("Alma II");
    ds.Post();
    EXPECT_EQ(spy.heard,
              (QStringList{"editing", "record:", "update", "record:NAME", "editing", "data"}));
    EXPECT_EQ(Stored()[1], QStringLiteral("101 Alma II"));

    spy.heard.clear();
    ds.DisableControls();
    ds.Last();
    ds.First();
    EXPECT_TRUE(spy.heard.isEmpty());
    ds.EnableControls();
    EXPECT_EQ(spy.heard, (QStringList{"active", "data"}));
    ds.Close();
    EXPECT_FALSE(spy.Active());
}

TEST_F(DataSetTest, CalculatedFieldsAndDisplayFormats)
{
    db::Field& alter = ds.AddCalculatedField(QStringLiteral("JAHR"), db::FieldType::Integer);
    ds.OnCalcFields = [](db::DataSet& d) {
        const QDate geb = d.FieldByName(QStringLiteral("GEBDAT")).AsDate();
        if (geb.isValid())
            d.FieldByName(QStringLiteral("JAHR")).SetInteger(geb.year());
    };
    ds.FieldByName(QStringLiteral("GEBDAT")).DisplayFormat = QStringLiteral("dd.mm.yy");
    ds.Open();
    EXPECT_TRUE(alter.Calculated());
    EXPECT_EQ(alter.AsInteger(), 2020);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("GEBDAT")).DisplayText(), QStringLiteral("01.01.20"));
    ds.Edit();
    ds.FieldByName(QStringLiteral("GEBDAT")).SetDate(QDate(2019, 7, 4));
    EXPECT_EQ(alter.AsInteger(), 2019);
    EXPECT_THROW(alter.SetInteger(1), db::Error);
    ds.Post();
    ds.Close();
    ds.Open();
    EXPECT_EQ(ds.FieldByName(QStringLiteral("GEBDAT")).DisplayFormat, QStringLiteral("dd.mm.yy"));
    EXPECT_EQ(alter.AsInteger(), 2019);

    struct Fall {
        QVariant value;
        db::FieldType type;
        QString format, text;
    };
    const QList<Fall> faelle{
        {1234.5, db::FieldType::Numeric, "#,##0.00", "1.234,50"},
        {-0.125, db::FieldType::Double, "0.00", "-0,13"},
        {12.5, db::FieldType::Double, "0.0#", "12,5"},
        {12.0, db::FieldType::Double, "", "12"},
        {2.75, db::FieldType::Double, "", "2,75"},
        {45, db::FieldType::Integer, "0 %", "45 %"},
        {QDateTime(QDate(2024, 12, 24), QTime(18, 5)), db::FieldType::Timestamp, "dd.mm.yyyy hh:nn",
         "24.12.2024 18:05"},
        {QDate(2024, 3, 9), db::FieldType::Date, "d. mmmm yyyy", "9. März 2024"},
        {QVariant(), db::FieldType::Date, "", ""},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(db::Field::Format(db::Value(f.value), f.type, f.format), f.text)
            << f.format.toStdString();
}

// Posted records are kept as compactly as fetched ones where the columns give them back unchanged;
// whatever a column would change (rounding, length, padding, zone, type, blob) stays as it was set.
TEST_F(DataSetTest, PostedRecordsReadBackExactlyAsSet)
{
    db::DataSet d(tr);
    d.SetSelectSQL(QStringLiteral(
        "SELECT ID, NAME, GEBDAT, LEISTUNG, NOTIZ, CAST(NULL AS VARCHAR(3)) AS KURZ, "
        "CAST(NULL AS TIMESTAMP) AS ZEIT, CAST(NULL AS CHAR(4)) AS FEST FROM T_KUH WHERE ID < 0"));
    d.SetInsertSQL(
        QStringLiteral("INSERT INTO T_KUH (ID, NAME, GEBDAT, LEISTUNG) VALUES (:ID, "
                       ":NAME, :GEBDAT, :LEISTUNG)"));
    d.AddCalculatedField(QStringLiteral("GROSS"), db::FieldType::VarChar, 30);
    d.OnCalcFields = [](db::DataSet& s) {
        s.FieldByName(QStringLiteral("GROSS"))
            .SetString(s.FieldByName(QStringLiteral("NAME")).AsString().toUpper());
    };
    const QDateTime lokal(QDate(2021, 6, 1), QTime(8, 0, 1, 5));
    struct Fall {
        QString name;
        QVariant leistung, notiz, kurz, zeit, fest;
    };
    const QList<Fall> faelle{
        {"Ärmel", 12.5, {}, "ab", lokal, "abcd"},
        {"Rund", 12.345, "Notiz", "abcdef", lokal.toUTC(), "ab"},
        {"Typ", QVariant(7), {}, "", QDate(2021, 6, 1), {}},
        {"Leer", {}, {}, {}, {}, {}},
    };
    const QStringList spalten{"LEISTUNG", "NOTIZ", "KURZ", "ZEIT", "FEST"};
    d.Open();
    int id = 900;
    for (const Fall& f : faelle) {
        d.Append();
        d.FieldByName(QStringLiteral("ID")).SetInteger(++id);
        d.FieldByName(QStringLiteral("NAME")).SetString(f.name);
        d.FieldByName(QStringLiteral("GEBDAT")).SetDate(QDate(1, 1, 1));
        const QVariantList werte{f.leistung, f.notiz, f.kurz, f.zeit, f.fest};
        for (int i = 0; i < spalten.size(); ++i)
            d.FieldByName(spalten[i]).SetValue(werte[i]);
        d.Post();
    }
    d.First();
    for (const Fall& f : faelle) {
        ASSERT_FALSE(d.Eof());
        const QVariantList werte{f.leistung, f.notiz, f.kurz, f.zeit, f.fest};
        EXPECT_EQ(d.FieldByName(QStringLiteral("NAME")).AsString(), f.name);
        EXPECT_EQ(d.FieldByName(QStringLiteral("GROSS")).AsString(), f.name.toUpper());
        EXPECT_EQ(d.FieldByName(QStringLiteral("GEBDAT")).AsDate(), QDate(1, 1, 1));
        for (int i = 0; i < spalten.size(); ++i) {
            const QVariant v = d.FieldByName(spalten[i]).AsVariant();
            EXPECT_EQ(v.typeId(), werte[i].typeId()) << f.name.toStdString() << " " << i;
            EXPECT_EQ(v, werte[i]) << f.name.toStdString() << " " << i;
        }
        d.Next();
    }
    // What the database holds is what the insert wrote.
    db::Query q(tr, QStringLiteral("SELECT LEISTUNG FROM T_KUH WHERE ID = 902"));
    q.Open();
    EXPECT_DOUBLE_EQ(q.Field(0).AsDouble(), 12.35);
}

TEST_F(DataSetTest, BrowseStateRefusesValuesAndReadOnlyDatasetRefusesEdit)
{
    ds.Open();
    EXPECT_THROW(ds.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("x")), db::Error);
    db::DataSet readOnly(tr);
    readOnly.SetSelectSQL(QStringLiteral("SELECT * FROM T_KUH"));
    readOnly.Open();
    EXPECT_THROW(readOnly.Edit(), db::Error);
    EXPECT_THROW(readOnly.Append(), db::Error);
    EXPECT_EQ(readOnly.State(), db::DataSetState::Browse);
}

TEST_F(DataSetTest, ItemModelShowsVisibleFieldsAndEditsThroughTheDataset)
{
    db::DataSetModel model(&ds);
    QAbstractItemModelTester tester(&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    QSignalSpy current(&model, &db::DataSetModel::CurrentRowChanged);
    EXPECT_EQ(model.rowCount(), 0);
    ds.FieldByName(QStringLiteral("GEAENDERT")).Visible = false;
    ds.FieldByName(QStringLiteral("NOTIZ")).Visible = false;
    ds.FieldByName(QStringLiteral("NAME")).DisplayLabel = QStringLiteral("Name");
    ds.Open();
    ASSERT_EQ(model.rowCount(), 4);
    ASSERT_EQ(model.columnCount(), 4);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Name"));
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("ID"));
    EXPECT_EQ(model.index(2, 1).data().toString(), QStringLiteral("Cilly"));
    EXPECT_EQ(model.index(2, 2).data().toString(), QStringLiteral("03.01.2020"));
    EXPECT_EQ(model.index(2, 2).data(Qt::EditRole).toDate(), QDate(2020, 1, 3));
    EXPECT_EQ(model.ColumnOfField(QStringLiteral("leistung")), 3);
    EXPECT_EQ(model.FieldIndex(3), ds.FieldByName(QStringLiteral("LEISTUNG")).Index());
    EXPECT_TRUE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);

    ASSERT_TRUE(model.setData(model.index(3, 1), QStringLiteral("Dörte")));
    EXPECT_EQ(ds.RecNo(), 3);
    EXPECT_EQ(ds.State(), db::DataSetState::Edit);
    EXPECT_EQ(model.index(3, 1).data().toString(), QStringLiteral("Dörte"));
    EXPECT_FALSE(current.isEmpty());
    EXPECT_EQ(current.last()[0].toInt(), 3);
    ds.First();
    EXPECT_EQ(Stored()[3], QStringLiteral("103 Dörte"));
    EXPECT_EQ(current.last()[0].toInt(), 0);

    ds.Append();
    EXPECT_EQ(model.rowCount(), 5);
    ds.Cancel();
    EXPECT_EQ(model.rowCount(), 4);

    db::DataSet readOnly(tr);
    readOnly.SetSelectSQL(QStringLiteral("SELECT ID FROM T_KUH"));
    readOnly.Open();
    model.SetDataSet(&readOnly);
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(0, 0), 5));
    ds.Close();
    EXPECT_EQ(model.rowCount(), 4);
}

}  // namespace

// The names of the records in sight, in order.
static QStringList Names(db::DataSet& d)
{
    QStringList r;
    const int name = d.FieldByName(QStringLiteral("NAME")).Index();
    for (int i = 0; i < d.RecordCount(); ++i)
        r << d.ValueAt(i, name).AsString();
    return r;
}

TEST_F(DataSetTest, FilterHidesRejectedRecordsAndBringsThemBackInPlace)
{
    ds.Open();
    Spy spy(&ds);
    db::DataSetModel model(&ds);
    QString ende = QStringLiteral("a");
    ds.OnFilterRecord = [&](db::DataSet& d) {
        return d.FieldByName(QStringLiteral("NAME")).AsString().endsWith(ende);
    };
    ds.MoveTo(2);  // Cilly, whom the filter rejects
    spy.heard.clear();
    ds.SetFiltered(true);
    EXPECT_TRUE(ds.Filtered());
    EXPECT_EQ(Names(ds), (QStringList{"Berta", "Alma", "Dora"}));
    EXPECT_EQ(ds.RecNo(), 0) << "a rejected current record gives way to the first";
    EXPECT_EQ(spy.heard, (QStringList{"data", "scroll"}));
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.index(2, 1).data().toString(), QStringLiteral("Dora"));

    ds.Last();
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NAME")).AsString(), QStringLiteral("Dora"));
    ds.Next();
    EXPECT_TRUE(ds.Eof());
    EXPECT_FALSE(ds.Locate(QStringLiteral("NAME"), {QStringLiteral("Cilly")}));
    ASSERT_TRUE(ds.Locate(QStringLiteral("NAME"), {QStringLiteral("Alma")}));
    EXPECT_EQ(ds.RecNo(), 1);

    // Writing while filtered: an edited record stays in sight, new ones join, deleted ones go.
    ds.Delete();
    ds.Last();
    ds.Edit();
    ds.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("Doris"));
    ds.Post();
    ds.Append();
    ds.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("Zora"));
    ds.Post();
    EXPECT_EQ(Names(ds), (QStringList{"Berta", "Doris", "Zora"}));
    ASSERT_TRUE(ds.Locate(QStringLiteral("NAME"), {QStringLiteral("Doris")}));

    // Off: every record back in its place, the current one still current; a pending edit is
    // posted first.
    ds.Edit();
    ds.FieldByName(QStringLiteral("GEBDAT")).SetDate(QDate(2021, 5, 5));
    ds.SetFiltered(false);
    EXPECT_FALSE(ds.Filtered());
    EXPECT_EQ(ds.State(), db::DataSetState::Browse);
    EXPECT_EQ(Names(ds), (QStringList{"Berta", "Cilly", "Doris", "Zora"}));
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NAME")).AsString(), QStringLiteral("Doris"));
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(Stored().size(), 4);

    // On again, every record is judged anew; so after the select runs.
    ende = QStringLiteral("y");
    ds.SetFiltered(true);
    EXPECT_EQ(Names(ds), (QStringList{"Cilly"}));
    ds.Close();
    ds.Open();
    EXPECT_EQ(Names(ds), (QStringList{"Cilly"}));
    EXPECT_EQ(ds.RecNo(), 0);

    // A filter that fails leaves every record in sight and the filter off.
    ds.SetFiltered(false);
    ds.OnFilterRecord = [](db::DataSet& d) {
        d.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("nein"));
        return true;
    };
    EXPECT_THROW(ds.SetFiltered(true), db::Error);
    EXPECT_FALSE(ds.Filtered());
    // Read anew, Zora's generated ID puts her first.
    EXPECT_EQ(Names(ds), (QStringList{"Zora", "Berta", "Cilly", "Doris"}));

    // Without a condition every record passes.
    ds.OnFilterRecord = nullptr;
    ds.SetFiltered(true);
    EXPECT_EQ(ds.RecordCount(), 4);
}

namespace {

// A list longer than the dataset reads at its open: records 1 .. Anzahl, ordered by the primary
// key, so the open select walks the index and would see records written behind its position.
class LongListTest : public DatabaseTest {
public:
    static constexpr int Anzahl = 2 * db::DataSet::FetchBatch + 50;

    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        db::ScriptRunner(Db()).Run(QStringLiteral(R"(
            CREATE TABLE T_LISTE (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(20));
        )"));
    }

protected:
    void SetUp() override
    {
        tr.Start();
        db::Query(tr, QStringLiteral("DELETE FROM T_LISTE")).Execute();
        db::Query block(tr, QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN "
                                           "WHILE (I <= %1) DO BEGIN "
                                           "INSERT INTO T_LISTE VALUES (:I, 'Kuh ' || :I); "
                                           "I = I + 1; END END")
                                .arg(Anzahl));
        block.SetParamCheck(false);
        block.Execute();
        tr.CommitRetaining();
        ds.SetSelectSQL(QStringLiteral("SELECT ID, NAME FROM T_LISTE ORDER BY ID"));
        ds.SetInsertSQL(QStringLiteral("INSERT INTO T_LISTE (ID, NAME) VALUES (:ID, :NAME)"));
        ds.SetModifySQL(
            QStringLiteral("UPDATE T_LISTE SET ID = :ID, NAME = :NAME WHERE ID = :OLD_ID"));
        ds.SetDeleteSQL(QStringLiteral("DELETE FROM T_LISTE WHERE ID = :OLD_ID"));
    }

    int Id() { return ds.FieldByName(QStringLiteral("ID")).AsInteger(); }

    // The IDs of all records in sight, in order (reads the rest).
    std::vector<int> Ids()
    {
        std::vector<int> r;
        for (int i = 0; i < ds.RecordCount(); ++i)
            r.push_back(ds.ValueAt(i, 0).AsInteger());
        return r;
    }

    static std::vector<int> Folge(int von, int bis)
    {
        std::vector<int> r;
        for (int i = von; i <= bis; ++i)
            r.push_back(i);
        return r;
    }

    db::Transaction tr{Db()};
    db::DataSet ds{tr};
};

// Each way of asking for a record behind the first batch reads on to it; the open itself reads
// no more than the first batch.
TEST_F(LongListTest, RecordsBehindTheFirstBatchAreReadWhenAskedFor)
{
    constexpr int batch = db::DataSet::FetchBatch;
    struct Fall {
        const char* name;
        std::function<void(db::DataSet&)> schritt;
        int recNo;  // current afterwards
        bool eof;
    };
    const std::vector<Fall> faelle{
        {"Last", [](db::DataSet& d) { d.Last(); }, Anzahl - 1, true},
        {"Locate", [](db::DataSet& d) { ASSERT_TRUE(d.Locate("ID", {Anzahl - 3})); }, Anzahl - 4,
         false},
        {"Locate by name in any case",
         [](db::DataSet& d) {
             ASSERT_TRUE(d.Locate("NAME", {"KUH " + QString::number(2 * batch + 1)}, true));
         },
         2 * batch, false},
        {"MoveTo", [](db::DataSet& d) { d.MoveTo(batch + 7); }, batch + 7, false},
        {"MoveBy", [](db::DataSet& d) { d.MoveBy(batch + 7); }, batch + 7, false},
        {"MoveBy past the end", [](db::DataSet& d) { d.MoveBy(10 * Anzahl); }, Anzahl - 1, true},
        {"Next past the batch",
         [](db::DataSet& d) {
             for (int i = 0; i < batch; ++i)
                 d.Next();
         },
         batch, false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        ds.Close();
        ds.Open();
        ASSERT_EQ(ds.FetchedCount(), batch);
        ASSERT_TRUE(ds.CanFetchMore());
        f.schritt(ds);
        EXPECT_EQ(ds.RecNo(), f.recNo);
        EXPECT_EQ(Id(), f.recNo + 1);
        EXPECT_EQ(ds.Eof(), f.eof);
    }

    ds.Close();
    ds.Open();
    EXPECT_EQ(ds.ValueAt(Anzahl - 1, 0).AsInteger(), Anzahl) << "ValueAt reads on";
    EXPECT_EQ(ds.RecNo(), 0);
    ds.Close();
    ds.Open();
    EXPECT_EQ(ds.RecordCount(), Anzahl);
    EXPECT_FALSE(ds.CanFetchMore());
    EXPECT_EQ(Ids(), Folge(1, Anzahl));
    EXPECT_FALSE(ds.Locate("ID", {Anzahl + 1}));
    EXPECT_THROW(ds.MoveTo(Anzahl), db::Error);
}

// The filter judges the records read so far when it is switched on and every further record as it
// is read; the records set aside in the meantime come back in their places.
TEST_F(LongListTest, FilterJudgesRecordsAsTheyAreRead)
{
    constexpr int batch = db::DataSet::FetchBatch;
    int grenze = 2 * batch;
    ds.OnFilterRecord = [&](db::DataSet& d) {
        const int id = d.FieldByName(QStringLiteral("ID")).AsInteger();
        return id % 2 == 0 || id > grenze;
    };
    ds.Open();
    ds.MoveTo(3);
    ds.SetFiltered(true);
    EXPECT_EQ(Id(), 4) << "the current record passes and stays current";
    EXPECT_EQ(ds.RecNo(), 1);
    ASSERT_TRUE(ds.Locate("ID", {2 * batch + 1}));
    EXPECT_EQ(ds.RecNo(), batch);
    std::vector<int> erwartet;
    for (int id = 2; id <= 2 * batch; id += 2)
        erwartet.push_back(id);
    const std::vector<int> rest = Folge(2 * batch + 1, Anzahl);
    erwartet.insert(erwartet.end(), rest.begin(), rest.end());
    EXPECT_EQ(Ids(), erwartet);

    ds.SetFiltered(false);
    EXPECT_EQ(Id(), 2 * batch + 1);
    EXPECT_EQ(Ids(), Folge(1, Anzahl)) << "every record back in its place";

    // Filtered from the open, with no record of the first batch passing: the open reads on to a
    // first one.
    grenze = Anzahl - 5;
    ds.OnFilterRecord = [&](db::DataSet& d) {
        return d.FieldByName(QStringLiteral("ID")).AsInteger() > grenze;
    };
    ds.Close();
    ds.SetFiltered(true);
    ds.Open();
    EXPECT_FALSE(ds.IsEmpty());
    EXPECT_EQ(Id(), grenze + 1);
    EXPECT_EQ(ds.RecordCount(), 5);
    // Switched on over a list read only in part, the first record passing becomes current.
    ds.SetFiltered(false);
    ds.Close();
    ds.Open();
    ds.SetFiltered(true);
    EXPECT_EQ(ds.RecNo(), 0);
    EXPECT_EQ(Id(), grenze + 1);
    grenze = Anzahl;
    ds.SetFiltered(false);
    ds.SetFiltered(true);
    EXPECT_TRUE(ds.IsEmpty());
    EXPECT_EQ(ds.RecNo(), -1);
}

// Writing over a list read only in part shows every record once. The open select walks the key's
// index and would deliver a record inserted behind its position a second time, so Append and
// Insert read the rest first; an edited record it does not deliver again. A deleted record gives
// way to the next one, also when that is still to be read.
TEST_F(LongListTest, WritingShowsEveryRecordOnce)
{
    constexpr int batch = db::DataSet::FetchBatch;
    struct Fall {
        const char* name;
        std::function<void(db::DataSet&)> schreiben;
        std::vector<int> ids;
        int aktuell;  // the current record's ID afterwards
    };
    std::vector<int> angehaengt = Folge(1, Anzahl);
    angehaengt.push_back(Anzahl + 1);
    std::vector<int> eingefuegt = Folge(1, Anzahl);
    eingefuegt.insert(eingefuegt.begin(), Anzahl + 1);
    std::vector<int> ersterHinten = Folge(2, Anzahl);
    ersterHinten.insert(ersterHinten.begin(), Anzahl + 9);
    std::vector<int> ohneLetztenGelesenen = Folge(1, Anzahl);
    ohneLetztenGelesenen.erase(ohneLetztenGelesenen.begin() + batch - 1);
    const std::vector<Fall> faelle{
        {"Append",
         [](db::DataSet& d) {
             d.Append();
             d.FieldByName(QStringLiteral("ID")).SetInteger(Anzahl + 1);
             d.Post();
         },
         angehaengt, Anzahl + 1},
        {"Insert",
         [](db::DataSet& d) {
             d.Insert();
             d.FieldByName(QStringLiteral("ID")).SetInteger(Anzahl + 1);
             d.Post();
         },
         eingefuegt, Anzahl + 1},
        {"Edit of the key",
         [](db::DataSet& d) {
             d.Edit();
             d.FieldByName(QStringLiteral("ID")).SetInteger(Anzahl + 9);
             d.Post();
         },
         ersterHinten, Anzahl + 9},
        {"Delete", [](db::DataSet& d) { d.Delete(); }, Folge(2, Anzahl), 2},
        {"Delete of the last record read",
         [](db::DataSet& d) {
             d.MoveTo(batch - 1);
             d.Delete();
         },
         ohneLetztenGelesenen, batch + 1},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        ds.Close();
        tr.RollbackRetaining();
        ds.Open();
        ASSERT_TRUE(ds.CanFetchMore());
        f.schreiben(ds);
        EXPECT_EQ(Id(), f.aktuell);
        EXPECT_EQ(Ids(), f.ids);
    }
}

// Re-reading without a refresh statement runs the select again and reads on to the record that
// was current.
TEST_F(LongListTest, RefreshFindsTheCurrentRecordBehindTheFirstBatch)
{
    ds.Open();
    ds.MoveTo(Anzahl - 2);
    db::Query(tr, QStringLiteral("UPDATE T_LISTE SET NAME = 'neu' WHERE ID = %1").arg(Anzahl - 1))
        .Execute();
    ds.Refresh();
    EXPECT_EQ(ds.RecNo(), Anzahl - 2);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NAME")).AsString(), QStringLiteral("neu"));
    EXPECT_EQ(ds.RecordCount(), Anzahl);
}

// The item model shows the records read so far, reads on when the view asks, and grows when the
// dataset reads on by itself, before the view hears of the new current row.
TEST_F(LongListTest, ItemModelGrowsAsTheDatasetReadsOn)
{
    constexpr int batch = db::DataSet::FetchBatch;
    db::DataSetModel model(&ds);
    // Rows reported as inserted, as (first, last, row count when announced).
    std::vector<std::array<int, 3>> eingefuegt;
    QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeInserted,
                     [&](const QModelIndex&, int first, int last) {
                         eingefuegt.push_back({first, last, model.rowCount()});
                     });
    ds.Open();
    EXPECT_EQ(model.rowCount(), batch);
    ASSERT_TRUE(model.canFetchMore({}));
    model.fetchMore({});
    EXPECT_EQ(model.rowCount(), 2 * batch);
    ASSERT_EQ(eingefuegt.size(), 1u);
    EXPECT_EQ(eingefuegt[0], (std::array<int, 3>{batch, 2 * batch - 1, batch}));
    EXPECT_EQ(model.index(2 * batch - 1, 0).data().toInt(), 2 * batch);

    int zeileBeiMeldung = -1;
    QObject::connect(&model, &db::DataSetModel::CurrentRowChanged,
                     [&](int row) { zeileBeiMeldung = row < model.rowCount() ? row : -2; });
    ds.MoveTo(2 * batch + 5);
    EXPECT_EQ(zeileBeiMeldung, 2 * batch + 5);
    EXPECT_EQ(model.rowCount(), Anzahl);
    ASSERT_EQ(eingefuegt.size(), 2u);
    EXPECT_EQ(eingefuegt[1], (std::array<int, 3>{2 * batch, Anzahl - 1, 2 * batch}));
    EXPECT_FALSE(model.canFetchMore({}));

    // Read while the controls are held: the model hears nothing until they are released, but
    // shows the records already read when the view asks.
    ds.Close();
    ds.Open();
    ds.DisableControls();
    ds.Last();
    EXPECT_EQ(model.rowCount(), batch);
    ASSERT_TRUE(model.canFetchMore({}));
    model.fetchMore({});
    EXPECT_EQ(model.rowCount(), Anzahl);
    EXPECT_EQ(model.index(Anzahl - 1, 0).data().toInt(), Anzahl);
    EXPECT_EQ(eingefuegt.size(), 3u);
    ds.EnableControls();
    EXPECT_EQ(model.rowCount(), Anzahl);
    EXPECT_FALSE(model.canFetchMore({}));
}

// Two workstations on one database file: this dataset's connection and another one that edits
// the same rows and commits in between.
class ConflictTest : public DataSetTest {
protected:
    void SetUp() override
    {
        DataSetTest::SetUp();
        other.Open(Suite().Params());
    }
    void TearDown() override { db::SetConflictHandler({}); }

    // Runs the statement at the other workstation and commits.
    void Elsewhere(const QString& sql)
    {
        db::Transaction t(other);
        t.Start();
        db::Query(t, sql).Execute();
        t.Commit();
    }
    // What the other workstation sees committed.
    QString StoredName(int id)
    {
        db::Transaction t(other);
        t.Start();
        db::Query q(t, QStringLiteral("SELECT NAME FROM T_KUH WHERE ID = %1").arg(id));
        q.Open();
        return q.Eof() ? QStringLiteral("<gelöscht>") : q.Field(0).AsString();
    }
    // Answers every question so and keeps what was asked.
    void Answer(db::ConflictAnswer answer)
    {
        db::SetConflictHandler([this, answer](const db::UpdateConflict& c) {
            asked.push_back(c);
            return answer;
        });
    }
    void EditName(int id, const QString& name)
    {
        ASSERT_TRUE(ds.Locate(QStringLiteral("ID"), {id}));
        ds.Edit();
        ds.FieldByName(QStringLiteral("NAME")).SetString(name);
    }

    db::Database other;
    std::vector<db::UpdateConflict> asked;
};

// The second save of a row changed elsewhere asks, and each answer does what it says.
TEST_F(ConflictTest, SaveOfARowChangedElsewhereAsksAndFollowsTheAnswer)
{
    const struct {
        const char* name;
        db::ConflictAnswer answer;
        bool posted;
        db::DataSetState state;
        const char* shown;
        const char* stored;
    } cases[] = {
        {"überschreiben", db::ConflictAnswer::Overwrite, true, db::DataSetState::Browse, "Hier",
         "Hier"},
        {"neu laden", db::ConflictAnswer::Reload, false, db::DataSetState::Browse, "Dort", "Dort"},
        {"abbrechen", db::ConflictAnswer::Cancel, false, db::DataSetState::Edit, "Hier", "Dort"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Elsewhere(QStringLiteral("UPDATE T_KUH SET NAME = 'Alma' WHERE ID = 101"));
        asked.clear();
        ds.Open();
        Answer(c.answer);
        EditName(101, QStringLiteral("Hier"));
        Elsewhere(QStringLiteral("UPDATE T_KUH SET NAME = 'Dort' WHERE ID = 101"));

        bool posted = true;
        try {
            ds.Post();
        } catch (const db::Abort&) {
            posted = false;
        }
        EXPECT_EQ(posted, c.posted);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_FALSE(asked[0].deleted);
        EXPECT_TRUE(asked[0].overwritable);
        EXPECT_EQ(asked[0].table, "T_KUH");
        EXPECT_EQ(asked[0].changed, QStringList{"NAME"});
        EXPECT_EQ(ds.State(), c.state);
        EXPECT_EQ(ds.FieldByName("ID").AsInteger(), 101);
        EXPECT_EQ(ds.FieldByName("NAME").AsString(), c.shown);
        if (c.state == db::DataSetState::Edit)
            ds.Cancel();
        tr.CommitRetaining();
        EXPECT_EQ(StoredName(101), c.stored);
        ds.Close();
    }
}

// A row deleted elsewhere is reported as deleted; it cannot be written over, and a reload takes
// it out of the dataset.
TEST_F(ConflictTest, SaveOfARowDeletedElsewhereAsksWithoutOverwrite)
{
    ds.Open();
    Answer(db::ConflictAnswer::Overwrite);
    EditName(102, QStringLiteral("Hier"));
    Elsewhere(QStringLiteral("DELETE FROM T_KUH WHERE ID = 102"));
    EXPECT_THROW(ds.Post(), db::Error);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].deleted);
    EXPECT_FALSE(asked[0].overwritable);
    EXPECT_EQ(ds.State(), db::DataSetState::Edit);

    Answer(db::ConflictAnswer::Reload);
    EXPECT_THROW(ds.Post(), db::Abort);
    EXPECT_EQ(ds.State(), db::DataSetState::Browse);
    EXPECT_EQ(ds.RecordCount(), 3);
    EXPECT_FALSE(ds.Locate(QStringLiteral("ID"), {102}));
    tr.CommitRetaining();
    EXPECT_EQ(StoredName(102), "<gelöscht>");
}

// What another workstation did not touch, what it changed outside the columns the save writes,
// and this workstation's own earlier posts (values the column rounds or the server sets) store
// without a question.
TEST_F(ConflictTest, UnchangedRowSavesWithoutAsking)
{
    Answer(db::ConflictAnswer::Cancel);
    // Without a read-back the record keeps the value as posted, not as the column stores it.
    ds.SetRefreshSQL({});
    ds.Open();
    EditName(100, QStringLiteral("Berta 2"));
    ds.FieldByName(QStringLiteral("LEISTUNG")).SetDouble(12.345);
    ds.Post();
    tr.CommitRetaining();
    Elsewhere(QStringLiteral("UPDATE T_KUH SET NOTIZ = 'dort notiert' WHERE ID = 100"));
    EditName(100, QStringLiteral("Berta 3"));
    ds.Post();
    EditName(103, QStringLiteral("Dora 2"));
    ds.Post();
    EXPECT_TRUE(asked.empty());
    tr.CommitRetaining();
    EXPECT_EQ(StoredName(100), "Berta 3");
    EXPECT_EQ(StoredName(103), "Dora 2");
}

// A snapshot transaction never sees the other's commit: the engine refuses the write, and that
// ends in the same question (without overwrite) instead of the engine's message.
TEST_F(ConflictTest, SnapshotTransactionAsksInsteadOfFailing)
{
    db::Transaction snapshot(Db(), {}, {db::TransactionOptions::Snapshot, false, 0});
    db::DataSet sds(snapshot);
    sds.SetSelectSQL(QStringLiteral("SELECT * FROM T_KUH ORDER BY ID"));
    sds.SetModifySQL(QStringLiteral("UPDATE T_KUH SET NAME = :NAME WHERE ID = :OLD_ID"));
    snapshot.Start();
    sds.Open();
    Elsewhere(QStringLiteral("UPDATE T_KUH SET NAME = 'Dort' WHERE ID = 100"));
    Answer(db::ConflictAnswer::Cancel);
    sds.Edit();
    sds.FieldByName(QStringLiteral("NAME")).SetString(QStringLiteral("Hier"));
    EXPECT_THROW(sds.Post(), db::Abort);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_FALSE(asked[0].deleted);
    EXPECT_FALSE(asked[0].overwritable);
    EXPECT_EQ(sds.State(), db::DataSetState::Edit);
    EXPECT_EQ(sds.FieldByName("NAME").AsString(), "Hier");
    snapshot.Rollback();
    EXPECT_EQ(StoredName(100), "Dort");
}

// Without a handler nothing is written over: the post fails with a German message.
TEST_F(ConflictTest, WithoutHandlerTheSaveFailsAndStoresNothing)
{
    ds.Open();
    EditName(100, QStringLiteral("Hier"));
    Elsewhere(QStringLiteral("UPDATE T_KUH SET NAME = 'Dort' WHERE ID = 100"));
    try {
        ds.Post();
        ADD_FAILURE() << "gespeichert";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.Message().contains("anderen Arbeitsplatz geändert")) << e.what();
    }
    EXPECT_EQ(ds.State(), db::DataSetState::Edit);
    tr.CommitRetaining();
    EXPECT_EQ(StoredName(100), "Dort");
}

TEST(UpdateStatementTest, FindsTableColumnsAndConditionOfSimpleUpdates)
{
    const struct {
        const char* sql;
        const char* table;  // empty: not understood
        QStringList columns;
    } cases[] = {
        {"UPDATE T_KUH SET NAME = :NAME, LEISTUNG = COALESCE(:A, 0) WHERE ID = :OLD_ID",
         "T_KUH",
         {"NAME", "LEISTUNG"}},
        {"update t_kuh set name = 'a,b' /* , x = 1 */ where ID = :OLD_ID or ID = :ID",
         "T_KUH",
         {"NAME"}},
        {"UPDATE T_KUH SET NAME = :NAME", "", {}},
        {"UPDATE T_KUH K SET NAME = :NAME WHERE ID = :OLD_ID", "", {}},
        {"UPDATE T_KUH SET NAME = :NAME WHERE ID = :OLD_ID RETURNING NAME", "", {}},
        {"UPDATE T_KUH SET \"Name\" = :NAME WHERE ID = :OLD_ID", "", {}},
        {"DELETE FROM T_KUH WHERE ID = :OLD_ID", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        const db::UpdateStatement u(QString::fromUtf8(c.sql));
        EXPECT_EQ(u.Understood(), *c.table != 0);
        if (!u.Understood())
            continue;
        EXPECT_EQ(u.Table(), c.table);
        EXPECT_EQ(u.Columns(), c.columns);
    }
    // The condition keeps its own precedence under the added comparisons.
    EXPECT_EQ(db::UpdateStatement("update T set A = :A where ID = 1 or ID = 2").Guarded({"A"}),
              "update T set A = :A WHERE (ID = 1 or ID = 2) AND A IS NOT DISTINCT FROM :OLD_A");
}

}  // namespace
