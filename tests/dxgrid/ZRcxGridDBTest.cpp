#include <ZRDBcxGrid.h>
#include <ZRcxGrid.h>
#include <ZRcxGridDBTableView.h>

#include <DataLink.h>
#include <DataSet.h>
#include <DataSetModel.h>
#include <Error.h>
#include <Query.h>
#include <TestDatabase.h>
#include <Transaction.h>

#include <MessageBoxScript.h>

#include <QApplication>
#include <QScrollBar>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

// A grid over a real dataset of 20 columns.
class ZRcxGridDBTest : public DatabaseTest {
public:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        db::Transaction tr(Db());
        tr.Start();
        QString spalten;
        for (int c = 1; c < 20; ++c)
            spalten += QStringLiteral(", S%1 VARCHAR(20)").arg(c);
        db::Query(
            tr,
            QStringLiteral("CREATE TABLE T_GRID (ID INTEGER NOT NULL PRIMARY KEY%1)").arg(spalten))
            .Execute();
        tr.Commit();
    }

    // Fills T_GRID with rows 1 .. n.
    void Fuellen(int n)
    {
        QString werte;
        for (int c = 1; c < 20; ++c)
            werte += QStringLiteral(", 'Wert ' || :I || '-%1'").arg(c);
        db::Query block(*tr_, QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN "
                                             "WHILE (I <= %1) DO BEGIN "
                                             "INSERT INTO T_GRID VALUES (:I%2); I = I + 1; "
                                             "END END")
                                  .arg(n)
                                  .arg(werte));
        block.SetParamCheck(false);
        block.Execute();
    }

protected:
    void SetUp() override
    {
        tr_ = std::make_unique<db::Transaction>(Db());
        tr_->Start();
        ds_ = std::make_unique<db::DataSet>(*tr_);
        ds_->SetSelectSQL(QStringLiteral("SELECT * FROM T_GRID ORDER BY ID"));
    }

    std::unique_ptr<db::Transaction> tr_;
    std::unique_ptr<db::DataSet> ds_;
};

TEST_F(ZRcxGridDBTest, ViewFollowsTheDatasetAndNamesColumnsByField)
{
    Fuellen(3);
    ds_->SetSelectSQL(QStringLiteral("SELECT ID, S1, S2 FROM T_GRID ORDER BY ID"));
    ds_->Open();
    ds_->FieldByName(QStringLiteral("S1")).DisplayLabel = QStringLiteral("Erste");
    QWidget fenster;
    fenster.setObjectName(QStringLiteral("frmListe"));
    auto* grid = new TZRDBcxGrid(&fenster);
    auto* view = static_cast<TZRcxGridDBTableView*>(grid->ActiveView());
    view->setObjectName(QStringLiteral("ListeView"));
    view->SetDataSet(ds_.get());
    fenster.resize(400, 200);
    grid->resize(400, 200);
    fenster.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));

    EXPECT_EQ(view->model()->rowCount(), 3);
    EXPECT_EQ(view->currentIndex().row(), 0);
    ds_->Last();
    EXPECT_EQ(view->currentIndex().row(), 2);
    view->setCurrentIndex(view->model()->index(1, 1));
    EXPECT_EQ(ds_->RecNo(), 1);

    const ZRcxGrid::Layout layout = view->AktuellesLayout();
    ASSERT_EQ(layout.size(), 3);
    EXPECT_EQ(layout[1].name, QStringLiteral("S1"));

    // Enter on the current record opens it as a double click would.
    QSignalSpy doppel(view, &QAbstractItemView::doubleClicked);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(doppel.count(), 1);
    EXPECT_EQ(doppel[0][0].value<QModelIndex>().row(), 1);

    ds_->Close();
    EXPECT_EQ(view->Leertext(), TZRcxGridTableView::StandardLeertext());
}

// A long list comes into the grid as it scrolls: the open reads one batch, scrolling to the end
// reads on until the last record is in sight; Ctrl+End and the data controller's record count
// reach the last record at once, and its ticks stay where they were set.
TEST_F(ZRcxGridDBTest, LongListComesByScrollingAndCtrlEnd)
{
    constexpr int anzahl = 3 * db::DataSet::FetchBatch + 20;
    Fuellen(anzahl);
    ds_->SetSelectSQL(QStringLiteral("SELECT ID, S1 FROM T_GRID ORDER BY ID"));
    ds_->Open();
    TZRDBcxGrid grid;
    auto* view = static_cast<TZRcxGridDBTableView*>(grid.ActiveView());
    view->SetDataSet(ds_.get());
    const int auswahl = view->CreateCheckColumn(QStringLiteral("Auswahl"), QString(), 0);
    grid.resize(400, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QApplication::processEvents();
    QAbstractItemModel* m = view->model();
    ASSERT_LT(m->rowCount(), anzahl) << "the open reads only the first records";
    view->DataController()->SetValues(5, auswahl, true);

    QScrollBar* leiste = view->verticalScrollBar();
    for (int runde = 0; runde < 50 && m->rowCount() < anzahl; ++runde) {
        leiste->setValue(leiste->maximum());
        QApplication::processEvents();
    }
    ASSERT_EQ(m->rowCount(), anzahl);
    EXPECT_EQ(m->index(anzahl - 1, 1).data().toInt(), anzahl);
    EXPECT_EQ(view->DataController()->Values(5, auswahl), QVariant(true));

    ds_->Close();
    ds_->Open();
    ASSERT_LT(m->rowCount(), anzahl);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(ds_->RecNo(), anzahl - 1);
    EXPECT_EQ(view->currentIndex().row(), anzahl - 1);

    ds_->Close();
    ds_->Open();
    EXPECT_EQ(view->DataController()->Values(anzahl - 1, 1).toInt(), anzahl);
    ds_->Close();
    ds_->Open();
    EXPECT_EQ(view->DataController()->RecordCount(), anzahl);
    EXPECT_EQ(m->rowCount(), anzahl);
}

// A status line that counts the records when the rows change reads the rest of a long list while
// the grid has not yet heard of a deletion: the grid must still see the deletion as a change of
// the records and drop its ticks, not keep them on the records that moved up.
TEST_F(ZRcxGridDBTest, TicksGoWhenARecordIsDeletedWhileAnotherLinkReadsOn)
{
    constexpr int anzahl = 2 * db::DataSet::FetchBatch + 50;
    Fuellen(anzahl);
    ds_->SetSelectSQL(QStringLiteral("SELECT ID, S1 FROM T_GRID ORDER BY ID"));
    ds_->SetDeleteSQL(QStringLiteral("DELETE FROM T_GRID WHERE ID = :OLD_ID"));
    struct Statuszeile : db::DataLink {
        using DataLink::DataLink;
        int anzahl = 0;
        void DataSetChanged() override { anzahl = GetDataSet()->RecordCount(); }
    } status(ds_.get());
    ds_->Open();
    TZRDBcxGrid grid;
    auto* view = static_cast<TZRcxGridDBTableView*>(grid.ActiveView());
    view->SetDataSet(ds_.get());
    const int auswahl = view->CreateCheckColumn(QStringLiteral("Auswahl"), QString(), 0);
    grid.resize(400, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    TZRcxGridDataController* dc = view->DataController();
    dc->SetValues(5, auswahl, true);
    ASSERT_TRUE(ds_->CanFetchMore());

    ds_->Delete();
    EXPECT_EQ(status.anzahl, anzahl - 1);
    EXPECT_EQ(view->model()->rowCount(), anzahl - 1);
    EXPECT_FALSE(dc->Values(5, auswahl).isValid()) << "the tick would now mark ID 7";
}

// An unbound check-box column keeps its ticks per record index in the view: clicks and Space
// toggle them, the dataset stays untouched, and they last as long as the records keep their
// indices.
TEST_F(ZRcxGridDBTest, UnboundCheckColumnKeepsTicksPerRecord)
{
    Fuellen(4);
    ds_->SetSelectSQL(QStringLiteral("SELECT ID, S1 FROM T_GRID ORDER BY ID"));
    ds_->SetModifySQL(QStringLiteral("UPDATE T_GRID SET S1 = :S1 WHERE ID = :OLD_ID"));
    ds_->Open();
    TZRDBcxGrid grid;
    auto* view = static_cast<TZRcxGridDBTableView*>(grid.ActiveView());
    view->setObjectName(QStringLiteral("MeldungenView"));
    view->SetDataSet(ds_.get());
    const int melden =
        view->CreateCheckColumn(QStringLiteral("Melden"), QStringLiteral("Melden"), 0);
    grid.resize(400, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));

    TZRcxGridDataController* dc = view->DataController();
    ASSERT_EQ(melden, 0);
    ASSERT_EQ(view->model()->columnCount(), 3);
    EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Melden"));
    EXPECT_EQ(view->model()->index(1, 1).data().toInt(), 2) << "the fields follow the check column";
    const ZRcxGrid::Layout layout = view->AktuellesLayout();
    ASSERT_EQ(layout.size(), 3);
    EXPECT_EQ(layout[0].name, QStringLiteral("Melden"));
    EXPECT_EQ(layout[1].name, QStringLiteral("ID"));
    for (int r = 0; r < 4; ++r) {
        EXPECT_FALSE(dc->Values(r, melden).isValid()) << r;
        EXPECT_EQ(view->model()->index(r, melden).data(Qt::CheckStateRole), Qt::Unchecked) << r;
    }

    const auto klick = [&](int row, int column) {
        const QRect zelle = view->visualRect(view->model()->index(row, column));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, zelle.center());
    };
    klick(2, melden);
    EXPECT_EQ(dc->Values(2, melden), QVariant(true));
    EXPECT_EQ(ds_->RecNo(), 2) << "the clicked row becomes the current record";
    EXPECT_EQ(ds_->State(), db::DataSetState::Browse) << "the tick is not the dataset's";
    klick(2, melden);
    EXPECT_EQ(dc->Values(2, melden), QVariant(false));
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_EQ(dc->Values(2, melden), QVariant(true));
    QTest::keyClick(view, Qt::Key_Down);
    ASSERT_EQ(ds_->RecNo(), 3);
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_EQ(dc->Values(3, melden), QVariant(true));
    klick(0, 1);
    EXPECT_FALSE(dc->Values(0, melden).isValid()) << "a click beside the column ticks nothing";
    EXPECT_EQ(ds_->RecNo(), 0);

    dc->SetValues(1, melden, false);
    ZRcxGrid::ToggleBooleanCell(*view->model(), melden, view);
    const QList<QVariant> erwartet{false, true, false, false};
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(dc->Values(r, melden), erwartet[r]) << r;
    EXPECT_THROW(dc->Values(4, melden), std::out_of_range);
    EXPECT_THROW(dc->SetValues(0, melden, QStringLiteral("T")), std::runtime_error);

    // A posted record keeps every record where it was, and so the ticks.
    ds_->MoveTo(3);
    ds_->Edit();
    ds_->FieldByName(QStringLiteral("S1")).SetValue(QStringLiteral("geändert"));
    ds_->Post();
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(dc->Values(r, melden), erwartet[r]) << r;

    // Reopened, the records may be others: no tick may land on a record the user never chose.
    ds_->Close();
    ds_->Open();
    ASSERT_EQ(dc->RecordCount(), 4);
    for (int r = 0; r < 4; ++r)
        EXPECT_FALSE(dc->Values(r, melden).isValid()) << r;
}

// A cell whose entry the dataset refuses shows the refusal and stores nothing, instead of letting
// the error run out through the editor's event loop.
TEST_F(ZRcxGridDBTest, RefusedCellEntryShowsTheMessageAndStoresNothing)
{
    Fuellen(2);
    ds_->SetSelectSQL(QStringLiteral("SELECT ID, S1 FROM T_GRID ORDER BY ID"));
    ds_->SetModifySQL(QStringLiteral("UPDATE T_GRID SET S1 = :S1 WHERE ID = :OLD_ID"));
    ds_->BeforePost = [](db::DataSet&) { throw db::Error(QStringLiteral("Wert unzulässig.")); };
    ds_->Open();
    TZRDBcxGrid grid;
    auto* view = static_cast<TZRcxGridDBTableView*>(grid.ActiveView());
    view->SetDataSet(ds_.get());
    QAbstractItemModel* m = view->model();
    MessageBoxScript boxen;
    ASSERT_TRUE(m->setData(m->index(0, 1), QStringLiteral("neu")));
    // Moving on to the second row posts the first one, which the dataset refuses.
    boxen.AnswerWith(Tools::mrOk);
    EXPECT_FALSE(m->setData(m->index(1, 1), QStringLiteral("anders")));
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, QStringLiteral("Wert unzulässig."));
    EXPECT_EQ(boxen.Shown()[0].type, Tools::mtError);
    ds_->Cancel();
    db::Query q(*tr_, QStringLiteral("SELECT S1 FROM T_GRID ORDER BY ID"));
    q.Open();
    for (const char* erwartet : {"Wert 1-1", "Wert 2-1"}) {
        ASSERT_FALSE(q.Eof());
        EXPECT_EQ(q.Field(0).AsString(), QString::fromUtf8(erwartet));
        q.Next();
    }
}
