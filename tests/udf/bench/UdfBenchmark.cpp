// The cost of the extension functions in the embedded engine, each against the plain alternative:
// - ZRNV_ENCODELOM declared as UDR function (the schema), the built-in UPPER on the same texts,
//   and ZRNV_ENCODELOM declared the old way (legacy/020_udf.sql), each over 100,000 rows;
// - 10,000 rows inserted into T_RASSEN, whose synchronisation trigger calls ZRNV_GET_HOTSYNC, with
//   the UDR and the legacy declaration, and with the trigger's call replaced by the branch it
//   takes while the flag is off;
// - the ear-tag coder's own cost, called directly.
//
//     build/bin/bench_udf
#include "../UdfLegacyDatenbank.h"

#include <LomCoder.h>

#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <TestDatabase.h>

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>

namespace {

// 100,000 German ear tags as text, each handed to one function.
QString Abfrage(const char* funktion)
{
    return QStringLiteral(
               "WITH RECURSIVE R AS (SELECT 0 N FROM RDB$DATABASE UNION ALL "
               "SELECT N + 1 FROM R WHERE N < 99) "
               "SELECT COUNT(X) FROM (SELECT %1('de 01 234 ' || "
               "LPAD(A.N * 1000 + B.N * 10 + C.N, 5, '0')) X "
               "FROM R A CROSS JOIN R B CROSS JOIN R C WHERE C.N < 10)")
        .arg(QLatin1String(funktion));
}

constexpr int kZeilen = 10000;

const QString kEinfuegen = QStringLiteral(
    "INSERT INTO T_RASSEN (BEZEICHNUNG, RASSE_KURZ) "
    "SELECT 'Rasse ' || (A.N * 100 + B.N), 'R' FROM "
    "(WITH RECURSIVE R AS (SELECT 0 N FROM RDB$DATABASE UNION ALL "
    "SELECT N + 1 FROM R WHERE N < 99) SELECT N FROM R) A CROSS JOIN "
    "(WITH RECURSIVE R AS (SELECT 0 N FROM RDB$DATABASE UNION ALL "
    "SELECT N + 1 FROM R WHERE N < 99) SELECT N FROM R) B");

db::Database& Udr()
{
    static TestDatabase t;
    return t.Db();
}

db::Database& Legacy()
{
    static LegacyDatenbank t;
    return t.Db();
}

// The schema with the synchronisation trigger of T_RASSEN doing what it does while the flag is
// off, without asking for the flag.
db::Database& OhneAufruf()
{
    static TestDatabase t;
    static const bool geaendert = [] {
        db::ScriptRunner(t.Db()).Run(QStringLiteral(R"(
            SET TERM ^ ;
            ALTER TRIGGER RASSEN_BIU_PALM AS
            BEGIN
              NEW.PALM_AGE = GEN_ID(G_PALM_AGE, 0) + 1;
            END^
            SET TERM ; ^
        )"));
        return true;
    }();
    (void)geaendert;
    return t.Db();
}

void ZeilenZaehlen(benchmark::State& state, db::Database& datenbank, const char* funktion)
{
    const QString sql = Abfrage(funktion);
    for (auto _ : state) {
        db::Transaction tr(datenbank);
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        if (q.Field(0).AsInteger() != 100000)
            state.SkipWithError("falsche Zeilenzahl");
        tr.Commit();
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}

// The inserted rows are rolled back outside the measured time, so every round finds the same
// table.
void Einfuegen(benchmark::State& state, db::Database& datenbank)
{
    for (auto _ : state) {
        db::Transaction tr(datenbank);
        tr.Start();
        db::Query q(tr, kEinfuegen);
        q.Execute();
        if (q.RowsAffected() != kZeilen)
            state.SkipWithError("falsche Zeilenzahl");
        state.PauseTiming();
        tr.Rollback();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kZeilen);
}

void BM_SqlUpper(benchmark::State& state)
{
    ZeilenZaehlen(state, Udr(), "UPPER");
}
void BM_SqlEncodeLomUdr(benchmark::State& state)
{
    ZeilenZaehlen(state, Udr(), "ZRNV_ENCODELOM");
}
void BM_SqlEncodeLomLegacy(benchmark::State& state)
{
    ZeilenZaehlen(state, Legacy(), "ZRNV_ENCODELOM");
}

void BM_InsertSyncTriggerUdr(benchmark::State& state)
{
    Einfuegen(state, Udr());
}
void BM_InsertSyncTriggerLegacy(benchmark::State& state)
{
    Einfuegen(state, Legacy());
}
void BM_InsertTriggerOhneAufruf(benchmark::State& state)
{
    Einfuegen(state, OhneAufruf());
}

void BM_EncodeLomDirekt(benchmark::State& state)
{
    std::array<char, 32> text{};
    for (auto _ : state) {
        for (int i = 0; i < 100000; ++i) {
            std::snprintf(text.data(), text.size(), "de 01 234 %05d", i);
            int64_t nummer = 0;
            benchmark::DoNotOptimize(Lom::EncodeLom(text.data(), nummer));
        }
    }
}

BENCHMARK(BM_SqlUpper)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SqlEncodeLomUdr)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SqlEncodeLomLegacy)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_InsertTriggerOhneAufruf)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_InsertSyncTriggerUdr)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_InsertSyncTriggerLegacy)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_EncodeLomDirekt)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
