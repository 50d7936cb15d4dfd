// Backup and restore of a herd of 5,000 animals with their events: through the program (engine
// services plus the zip archive) and through gbak on the same file. Run: build/bin/bench_sicherung

#include <BackupRestore.h>
#include <TestDatabase.h>

#include <Query.h>
#include <Transaction.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int tiere = 5000;

const char* const herde = R"(
EXECUTE BLOCK AS
  DECLARE I INTEGER = 1;
  DECLARE R INTEGER;
BEGIN
  SELECT MIN(ID) FROM T_RASSEN INTO :R;
  WHILE (I <= 5000) DO BEGIN
    INSERT INTO T_STAMMDATEN (ID, NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE)
      VALUES (:I, 'DE 09 ' || (1000000 + :I), 'Kuh ' || :I, DATE '2012-01-01' + MOD(:I * 7, 3000), 'W', :R);
    INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (:I, DATE '2019-03-01' + MOD(:I, 700), 'W');
    INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (:I, DATE '2020-05-01' + MOD(:I, 700), 'M');
    INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (:I, DATE '2021-01-01' + MOD(:I, 300), 1);
    INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (:I, DATE '2021-02-01' + MOD(:I, 300), 2);
    I = I + 1;
  END
END
)";

struct Herde {
    Herde()
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, QString::fromLatin1(herde));
        // The block's own variables are written as :NAME.
        q.SetParamCheck(false);
        q.Execute();
        tr.Commit();
        t.Db().Close();
        ini = t.Folder() + QStringLiteral("/Bovantis.ini");
        QFile f(ini);
        f.open(QIODevice::WriteOnly);
        f.write("[Datenbank]\nName=bench\n");
    }
    TestDatabase t;
    QString ini;
};

Herde& DieHerde()
{
    static Herde h;
    return h;
}

void Programm(benchmark::State& state)
{
    Herde& h = DieHerde();
    for (auto _ : state) {
        TBackupRestore br;
        br.SetDatenbank(h.t.Path());
        br.IniDatei = h.ini;
        br.IniDateiname = QStringLiteral("Bovantis.ini");
        br.Archiv = h.t.Folder() + QStringLiteral("/bench.zip");
        br.Sichern();
        br.Ruecksichern(false);
    }
}

void Gbak(benchmark::State& state)
{
    Herde& h = DieHerde();
    const QString gbk = h.t.Folder() + QStringLiteral("/bench.gbk");
    auto gbak = [&](const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral("gbak"), args);
        if (!p.waitForFinished(600000) || p.exitCode() != 0)
            state.SkipWithError(p.readAllStandardError().constData());
    };
    for (auto _ : state) {
        gbak({QStringLiteral("-b"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), h.t.Path(),
              gbk});
        gbak({QStringLiteral("-rep"), QStringLiteral("-bu"), QStringLiteral("3000"),
              QStringLiteral("-user"), QStringLiteral("SYSDBA"), gbk, h.t.Path()});
        QFile::remove(gbk);
    }
}

BENCHMARK(Programm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(Gbak)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
