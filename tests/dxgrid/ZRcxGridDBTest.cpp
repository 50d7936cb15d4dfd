#include <ZRDBcxGrid.h>
#include <ZRcxGridDBTableView.h>

#include <DataSet.h>
#include <DataSetModel.h>
#include <Query.h>
#include <TestDatabase.h>
#include <Transaction.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

constexpr int Zeilen = 10000;

}  // namespace

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

// Not a timed test: prints how long a grid takes to show the first rows of a long list, next to
// the bare fetch of 50 rows. Run with
//   build/bin/test_dxgrid --gtest_also_run_disabled_tests --gtest_filter='*Benchmark*'
TEST_F(ZRcxGridDBTest, DISABLED_BenchmarkFirstRowsOfALongList)
{
    Fuellen(Zeilen);
    QElapsedTimer uhr;
    uhr.start();
    {
        db::Query q(*tr_, QStringLiteral("SELECT * FROM T_GRID ORDER BY ID"));
        int n = 0;
        for (q.Open(); !q.Eof() && n < 50; q.Next())
            ++n;
    }
    const qint64 bar = uhr.nsecsElapsed();

    uhr.restart();
    ds_->Open();
    const qint64 oeffnen = uhr.nsecsElapsed();
    TZRDBcxGrid grid;
    auto* view = static_cast<TZRcxGridDBTableView*>(grid.ActiveView());
    view->setObjectName(QStringLiteral("Liste"));
    view->SetDataSet(ds_.get());
    grid.resize(800, 600);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QApplication::processEvents();
    const qint64 gezeigt = uhr.nsecsElapsed();
    ASSERT_EQ(view->model()->rowCount(), Zeilen);

    uhr.restart();
    for (int i = 0; i < 20; ++i) {
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() * i / 20);
        QApplication::processEvents();
    }
    const qint64 rollen = uhr.nsecsElapsed();

    std::printf("bare fetch of 50 rows: %.1f ms\n", bar / 1e6);
    std::printf("dataset open (%d rows): %.1f ms\n", Zeilen, oeffnen / 1e6);
    std::printf("grid shows its first rows: %.1f ms after the open began\n", gezeigt / 1e6);
    std::printf("20 scroll steps over the list: %.1f ms\n", rollen / 1e6);
}
