// How soon a grid shows the first rows of a long list (10,000 and 100,000 records of 20 columns)
// and the filter edit's first key on 100,000 records, each beside a bare db::Query fetch of the
// same rows. Run: build/bin/bench_grid (offscreen unless QT_QPA_PLATFORM says otherwise).

#include <ZRDBcxGrid.h>
#include <ZRFilterEdit.h>
#include <ZRcxGridDBTableView.h>

#include <DataSet.h>
#include <Database.h>
#include <Memory.h>
#include <Query.h>
#include <Transaction.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <map>

namespace {

struct Fixture {
    QTemporaryDir dir;
    db::Database database;
    db::Transaction tr{database};
    std::map<int, bool> filled;

    Fixture()
    {
        database.Create({dir.path() + QStringLiteral("/grid.fdb"),
                         QStringLiteral("BOVANTIS"),
                         QStringLiteral("x"),
                         {}});
        tr.Start();
    }

    // The table T_GRID<rows> with records 1 .. rows.
    QString Table(int rows)
    {
        const QString name = QStringLiteral("T_GRID%1").arg(rows);
        if (filled[rows])
            return name;
        QString spalten, werte;
        for (int c = 1; c < 20; ++c) {
            spalten += QStringLiteral(", S%1 VARCHAR(20)").arg(c);
            werte += QStringLiteral(", 'Wert ' || :I || '-%1'").arg(c);
        }
        db::Query(tr, QStringLiteral("CREATE TABLE %1 (ID INTEGER NOT NULL PRIMARY KEY%2)")
                          .arg(name, spalten))
            .Execute();
        tr.CommitRetaining();
        db::Query block(tr, QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN "
                                           "WHILE (I <= %1) DO BEGIN "
                                           "INSERT INTO %2 VALUES (:I%3); I = I + 1; "
                                           "END END")
                                .arg(rows)
                                .arg(name, werte));
        block.SetParamCheck(false);
        block.Execute();
        tr.CommitRetaining();
        filled[rows] = true;
        return name;
    }
};

Fixture& F()
{
    static Fixture f;
    return f;
}

// The filter the form puts into the dataset: the first text column contains the typed text.
constexpr char taste = '7';

// ---- the bare fetch: the rows the dataset reads at its open, every value as text

int BareFetch(const QString& sql)
{
    db::Query q(F().tr, sql);
    int n = 0;
    for (q.Open(); !q.Eof() && n < db::DataSet::FetchBatch; q.Next()) {
        for (int c = 0; c < q.FieldCount(); ++c)
            benchmark::DoNotOptimize(q.Field(c).AsString());
        ++n;
    }
    return n;
}

void FirstRows_Query(benchmark::State& state)
{
    const QString sql =
        QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(F().Table(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(BareFetch(sql));
}

void FilterFirstKey_Query(benchmark::State& state)
{
    const QString sql = QStringLiteral("SELECT * FROM %1 WHERE S1 CONTAINING '%2' ORDER BY ID")
                            .arg(F().Table(int(state.range(0))))
                            .arg(QLatin1Char(taste));
    for (auto _ : state)
        benchmark::DoNotOptimize(BareFetch(sql));
}

// ---- the grid: from the open until the first rows are painted

// Counts the paintings of a widget, so that a run whose grid painted nothing is not reported.
class Malzaehler : public QObject {
public:
    int gemalt = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++gemalt;
        return false;
    }
};

struct Fenster {
    QWidget fenster;
    TZRFilterEdit* suche = new TZRFilterEdit(&fenster);
    TZRDBcxGrid* grid = new TZRDBcxGrid(&fenster);
    TZRcxGridDBTableView* view = static_cast<TZRcxGridDBTableView*>(grid->ActiveView());
    Malzaehler maler;

    Fenster()
    {
        view->viewport()->installEventFilter(&maler);
        auto* layout = new QVBoxLayout(&fenster);
        layout->addWidget(suche);
        layout->addWidget(grid);
        fenster.resize(800, 600);
    }

    void Zeigen(db::DataSet& ds)
    {
        view->SetDataSet(&ds);
        suche->SetDataSet(&ds);
        fenster.show();
        QApplication::processEvents();
    }
};

void FirstRows_Grid(benchmark::State& state)
{
    const QString sql =
        QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(F().Table(int(state.range(0))));
    int gelesen = 0;
    for (auto _ : state) {
        db::DataSet ds(F().tr);
        ds.SetSelectSQL(sql);
        ds.Open();
        Fenster f;
        f.Zeigen(ds);
        state.PauseTiming();
        gelesen = ds.FetchedCount();
        if (f.maler.gemalt == 0 || f.view->model()->rowCount() == 0)
            state.SkipWithError("the grid painted no rows");
        f.view->SetDataSet(nullptr);
        state.ResumeTiming();
    }
    state.counters["rows_read"] = gelesen;
}

void FilterFirstKey_Grid(benchmark::State& state)
{
    const QString sql =
        QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(F().Table(int(state.range(0))));
    int gezeigt = 0;
    for (auto _ : state) {
        state.PauseTiming();
        db::DataSet ds(F().tr);
        ds.SetSelectSQL(sql);
        QString muster;
        ds.OnFilterRecord = [&muster](db::DataSet& d) {
            return d.Fields(1).AsString().contains(muster, Qt::CaseInsensitive);
        };
        ds.Open();
        Fenster f;
        QObject::connect(f.suche, &TZRFilterEdit::OnBeforeFilter,
                         [&muster](TZRFilterEdit* e) { muster = e->text().trimmed(); });
        f.Zeigen(ds);
        f.suche->setFocus();
        const int vorher = f.maler.gemalt;
        state.ResumeTiming();

        QTest::keyClick(f.suche, taste);
        QApplication::processEvents();

        state.PauseTiming();
        gezeigt = f.view->model()->rowCount();
        if (!ds.Filtered() || f.maler.gemalt == vorher || gezeigt == 0 ||
            !f.view->model()->index(0, 1).data().toString().contains(QLatin1Char(taste)))
            state.SkipWithError("the grid shows no filtered rows");
        f.view->SetDataSet(nullptr);
        state.ResumeTiming();
    }
    state.counters["rows_passing"] = gezeigt;
}

BENCHMARK(FirstRows_Query)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstRows_Grid)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FilterFirstKey_Query)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FilterFirstKey_Grid)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The programs set the same memory policy at start.
    db::KeepFreedMemory();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
