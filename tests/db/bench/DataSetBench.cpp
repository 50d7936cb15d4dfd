// Inserts and fetches 10,000 rows of a 20-column table through a dataset and through a bare loop
// over the engine's interface. Run: build/bin/bench_db (any order of the benchmarks, also
// --benchmark_enable_random_interleaving: the inserts roll back into an empty table of their own,
// the fetches read a committed one).

#include <DataSet.h>
#include <Query.h>
#include <Database.h>
#include <Memory.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <firebird/Interface.h>

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace Firebird;

constexpr int rows = 10000;

const char* const createTable = R"(
CREATE TABLE %1 (
  ID INTEGER NOT NULL PRIMARY KEY,
  NAME VARCHAR(30), ORT VARCHAR(30), RASSE VARCHAR(30), VATER VARCHAR(30), BEMERKUNG VARCHAR(30),
  N1 INTEGER, N2 INTEGER, N3 INTEGER, N4 INTEGER,
  D1 DATE, D2 DATE, D3 DATE,
  B1 NUMERIC(15,2), B2 NUMERIC(15,2), B3 NUMERIC(15,2),
  F1 DOUBLE PRECISION, F2 DOUBLE PRECISION,
  K SMALLINT,
  Z TIMESTAMP);
)";

const char* const insertTable = "T_BENCH";
const char* const fetchTable = "T_BENCH_LESEN";

const char* const columns =
    "ID, NAME, ORT, RASSE, VATER, BEMERKUNG, N1, N2, N3, N4, D1, D2, D3, B1, B2, B3, F1, F2, K, Z";

struct Fixture {
    QTemporaryDir dir;
    db::Database database;
    Fixture()
    {
        database.Create({dir.path() + QStringLiteral("/bench.fdb"),
                         QStringLiteral("BOVANTIS"),
                         QStringLiteral("x"),
                         {}});
        for (const char* table : {insertTable, fetchTable})
            db::ScriptRunner(database).Run(
                QString::fromLatin1(createTable).arg(QLatin1String(table)));
    }
};

Fixture& F()
{
    static Fixture f;
    return f;
}

IMaster* Master()
{
    return fb_get_master_interface();
}

// ---- bare loop over the interface

void BareInsert(ITransaction* tra, IAttachment* att, const char* table = insertTable)
{
    ThrowStatusWrapper st(Master()->getStatus());
    const std::string sql = std::string("INSERT INTO ") + table + " (" + columns +
                            ") VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
    IStatement* stmt = att->prepare(&st, tra, 0, sql.c_str(), 3, 0);
    IMessageMetadata* meta = stmt->getInputMetadata(&st);
    std::vector<unsigned char> buf(meta->getMessageLength(&st));
    const unsigned n = meta->getCount(&st);
    std::vector<unsigned> offset(n), nullOffset(n), type(n);
    for (unsigned i = 0; i < n; ++i) {
        offset[i] = meta->getOffset(&st, i);
        nullOffset[i] = meta->getNullOffset(&st, i);
        type[i] = meta->getType(&st, i);
    }
    IUtil* util = Master()->getUtilInterface();
    char text[32];
    for (int r = 1; r <= rows; ++r) {
        for (unsigned i = 0; i < n; ++i) {
            *reinterpret_cast<short*>(&buf[nullOffset[i]]) = 0;
            unsigned char* p = &buf[offset[i]];
            switch (type[i]) {
                case SQL_LONG:
                    *reinterpret_cast<ISC_LONG*>(p) = r + int(i);
                    break;
                case SQL_VARYING: {
                    const int len = std::snprintf(text, sizeof text, "Text %d/%u", r, i);
                    *reinterpret_cast<short*>(p) = short(len);
                    std::memcpy(p + 2, text, size_t(len));
                    break;
                }
                case SQL_TYPE_DATE:
                    *reinterpret_cast<ISC_DATE*>(p) =
                        util->encodeDate(2020, 1 + r % 12, 1 + r % 28);
                    break;
                case SQL_INT64:
                    *reinterpret_cast<ISC_INT64*>(p) = ISC_INT64(r) * 125;
                    break;
                case SQL_DOUBLE:
                    *reinterpret_cast<double*>(p) = r * 0.5;
                    break;
                case SQL_SHORT:
                    *reinterpret_cast<short*>(p) = short(r % 100);
                    break;
                case SQL_TIMESTAMP:
                    reinterpret_cast<ISC_TIMESTAMP*>(p)->timestamp_date =
                        util->encodeDate(2021, 6, 1);
                    reinterpret_cast<ISC_TIMESTAMP*>(p)->timestamp_time =
                        util->encodeTime(8, 0, r % 60, 0);
                    break;
            }
        }
        stmt->execute(&st, tra, meta, buf.data(), nullptr, nullptr);
    }
    meta->release();
    stmt->free(&st);
    st.dispose();
}

// Reads every row into memory, as a dataset keeps them.
std::size_t BareFetch(ITransaction* tra, IAttachment* att)
{
    ThrowStatusWrapper st(Master()->getStatus());
    const std::string sql = std::string("SELECT ") + columns + " FROM " + fetchTable;
    IStatement* stmt = att->prepare(&st, tra, 0, sql.c_str(), 3, 0);
    IMessageMetadata* meta = stmt->getOutputMetadata(&st);
    const unsigned length = meta->getMessageLength(&st);
    IResultSet* rs = stmt->openCursor(&st, tra, nullptr, nullptr, meta, 0);
    std::vector<std::vector<unsigned char>> all;
    std::vector<unsigned char> buf(length);
    while (rs->fetchNext(&st, buf.data()) == IStatus::RESULT_OK)
        all.push_back(buf);
    rs->close(&st);
    meta->release();
    stmt->free(&st);
    st.dispose();
    return all.size();
}

// ---- the same through a dataset

// Input values as a program has them at hand, formatted as the bare loop formats its own.
QString Text(int r, int i)
{
    char text[32];
    const int len = std::snprintf(text, sizeof text, "Text %d/%d", r, i);
    return QString::fromLatin1(text, len);
}

const QDateTime& Zeit(int r)
{
    static const std::vector<QDateTime> zeiten = [] {
        std::vector<QDateTime> z;
        for (int s = 0; s < 60; ++s)
            z.emplace_back(QDate(2021, 6, 1), QTime(8, 0, s));
        return z;
    }();
    return zeiten[size_t(r % 60)];
}

void DataSetInsert(db::Transaction& tr)
{
    db::DataSet ds(tr);
    ds.SetSelectSQL(
        QStringLiteral("SELECT %1 FROM T_BENCH WHERE ID < 0").arg(QLatin1String(columns)));
    QString params = QString::fromLatin1(columns);
    params.replace(QLatin1String(", "), QLatin1String(", :"));
    ds.SetInsertSQL(QStringLiteral("INSERT INTO T_BENCH (%1) VALUES (:%2)")
                        .arg(QLatin1String(columns), params));
    ds.Open();
    std::vector<db::Field*> f;
    for (int i = 0; i < ds.FieldCount(); ++i)
        f.push_back(&ds.Fields(i));
    for (int r = 1; r <= rows; ++r) {
        ds.Append();
        for (size_t i = 0; i < f.size(); ++i) {
            switch (f[i]->DataType()) {
                case db::FieldType::Integer:
                    f[i]->SetInteger(r + int(i));
                    break;
                case db::FieldType::VarChar:
                    f[i]->SetString(Text(r, int(i)));
                    break;
                case db::FieldType::Date:
                    f[i]->SetDate(QDate(2020, 1 + r % 12, 1 + r % 28));
                    break;
                case db::FieldType::Numeric:
                    f[i]->SetDouble(r * 1.25);
                    break;
                case db::FieldType::Double:
                    f[i]->SetDouble(r * 0.5);
                    break;
                case db::FieldType::SmallInt:
                    f[i]->SetInteger(r % 100);
                    break;
                default:
                    f[i]->SetDateTime(Zeit(r));
                    break;
            }
        }
        ds.Post();
    }
}

void QueryInsert(db::Transaction& tr)
{
    QString params = QString::fromLatin1(columns);
    params.replace(QLatin1String(", "), QLatin1String(", :"));
    db::Query q(tr, QStringLiteral("INSERT INTO T_BENCH (%1) VALUES (:%2)")
                        .arg(QLatin1String(columns), params));
    const int n = int(q.ParamNames().size());
    for (int r = 1; r <= rows; ++r) {
        for (int i = 0; i < n; ++i) {
            db::Value& v = q.Param(i);
            if (i == 0 || (i >= 6 && i <= 9))
                v.SetInteger(r + i);
            else if (i <= 5)
                v.SetString(Text(r, i));
            else if (i <= 12)
                v.SetDate(QDate(2020, 1 + r % 12, 1 + r % 28));
            else if (i <= 17)
                v.SetDouble(r * 1.25);
            else if (i == 18)
                v.SetInteger(r % 100);
            else
                v.SetDateTime(Zeit(r));
        }
        q.Execute();
    }
}

void Insert_Query(benchmark::State& state)
{
    db::Transaction tr(F().database);
    for (auto _ : state) {
        tr.Start();
        QueryInsert(tr);
        state.PauseTiming();
        tr.Rollback();
        state.ResumeTiming();
    }
}
BENCHMARK(Insert_Query)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int DataSetFetch(db::Transaction& tr)
{
    db::DataSet ds(tr);
    ds.SetSelectSQL(
        QStringLiteral("SELECT %1 FROM %2").arg(QLatin1String(columns), QLatin1String(fetchTable)));
    ds.Open();
    return ds.RecordCount();
}

void Insert_Bare(benchmark::State& state)
{
    db::Transaction tr(F().database);
    for (auto _ : state) {
        tr.Start();
        BareInsert(tr.Handle(), F().database.Handle());
        state.PauseTiming();
        tr.Rollback();
        state.ResumeTiming();
    }
}

void Insert_DataSet(benchmark::State& state)
{
    db::Transaction tr(F().database);
    for (auto _ : state) {
        tr.Start();
        DataSetInsert(tr);
        state.PauseTiming();
        tr.Rollback();
        state.ResumeTiming();
    }
}

// The fetch benchmarks read a committed table of 10,000 rows.
void Filled()
{
    static bool done = false;
    if (done)
        return;
    db::Transaction tr(F().database);
    tr.Start();
    BareInsert(tr.Handle(), F().database.Handle(), fetchTable);
    tr.Commit();
    done = true;
}

void Fetch_Bare(benchmark::State& state)
{
    Filled();
    db::Transaction tr(F().database);
    tr.Start();
    for (auto _ : state)
        benchmark::DoNotOptimize(BareFetch(tr.Handle(), F().database.Handle()));
    tr.Commit();
}

void Fetch_DataSet(benchmark::State& state)
{
    Filled();
    db::Transaction tr(F().database);
    tr.Start();
    for (auto _ : state)
        benchmark::DoNotOptimize(DataSetFetch(tr));
    tr.Commit();
}

BENCHMARK(Insert_Bare)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(Insert_DataSet)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(Fetch_Bare)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(Fetch_DataSet)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv)
{
    // The program sets the same memory policy at start.
    db::KeepFreedMemory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
