// The cost of an extension function against a built-in function of similar work, both evaluated
// by the embedded engine over 100,000 rows, and the ear-tag coder's own cost called directly.
//
//     build/bin/bench_udf
#include <LomCoder.h>

#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <TestDatabase.h>

#include <QCoreApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <stdexcept>

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

TestDatabase& Datenbank()
{
    static TestDatabase t;
    static const bool deklariert = [] {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, QStringLiteral("SELECT COUNT(*) FROM RDB$FUNCTIONS "
                                       "WHERE RDB$FUNCTION_NAME = 'ZRNV_ENCODELOM'"));
        q.Open();
        const bool da = q.Field(0).AsInteger() > 0;
        tr.Commit();
        if (!da) {
            QFile datei(QStringLiteral(BOVANTIS_UDF_SQL));
            if (!datei.open(QIODevice::ReadOnly))
                throw std::runtime_error("020_udf.sql nicht lesbar");
            db::ScriptRunner(t.Db()).Run(QString::fromUtf8(datei.readAll()));
        }
        return true;
    }();
    (void)deklariert;
    return t;
}

void ZeilenZaehlen(benchmark::State& state, const char* funktion)
{
    TestDatabase& t = Datenbank();
    const QString sql = Abfrage(funktion);
    for (auto _ : state) {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        if (q.Field(0).AsInteger() != 100000)
            state.SkipWithError("falsche Zeilenzahl");
        tr.Commit();
    }
}

void BM_SqlEncodeLom(benchmark::State& state)
{
    ZeilenZaehlen(state, "ZRNV_ENCODELOM");
}
void BM_SqlUpper(benchmark::State& state)
{
    ZeilenZaehlen(state, "UPPER");
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
BENCHMARK(BM_SqlEncodeLom)->Unit(benchmark::kMillisecond)->MinTime(2.0);
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
