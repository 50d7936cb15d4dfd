// With a herd of 1,000 and of 2,000 animals (the benchmark's argument), each with its premises
// stay, up to four calvings and inseminations: the census with forecast over ten years beside a
// bare fetch of the rows it reads, and the herd size chart of five years drawn into its picture.
// Run: build/bin/bench_tierbestand (offscreen unless QT_QPA_PLATFORM says otherwise).

#include <PrognoseDatenbank.h>
#include <Tierbestand.h>

#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <ProgDatum.h>

#include <Query.h>
#include <TestDatabase.h>

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QDate Heute{2025, 6, 15};

struct Fixture {
    const int tiere;
    TestDatabase t;
    QTemporaryDir daten;

    explicit Fixture(int anzahl) : tiere(anzahl)
    {
        qputenv("XDG_DATA_HOME", daten.path().toLocal8Bit());
        ProgDatum::HeuteSetzen(Heute);
        db::Transaction tr(t.Db());
        tr.Start();
        for (const char* sql :
             {"INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER) VALUES (11, 'Hof', "
              "'276090000000011')",
              "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (21, 'Nord', 11)"})
            db::Query(tr, QString::fromLatin1(sql)).Execute();
        // Every third animal male; females calve from their third year on, once a year, and are
        // inseminated after each calving; a tenth of the herd has left.
        db::Query block(
            tr,
            QStringLiteral(
                "EXECUTE BLOCK AS DECLARE I INTEGER = 1; DECLARE K INTEGER; DECLARE ID INTEGER; "
                "DECLARE GEB DATE; DECLARE WEG DATE; BEGIN "
                "WHILE (I <= %1) DO BEGIN "
                "GEB = DATE '2025-06-15' - MOD(I * 37, 2500); "
                "WEG = IIF(MOD(I, 10) = 0, MAXVALUE(GEB + 1, DATE '2025-06-15' - MOD(I, 300)), "
                "NULL); "
                "INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, STATUS, RASSE, "
                "VERKAUFT) VALUES ('DE 01 ' || LPAD(:I, 9, '0'), 'Tier ' || :I, :GEB, "
                "IIF(MOD(:I, 3) = 0, 'M', 'W'), IIF(MOD(:I, 3) = 0, 'M', 'B'), 1, "
                ":WEG) RETURNING ID INTO :ID; "
                "INSERT INTO T_STAELLE (TIER, VON, BIS, STALL) VALUES (:ID, :GEB, :WEG, 21); "
                "IF (MOD(I, 3) <> 0) THEN BEGIN K = 1; "
                "WHILE (K <= 4 AND GEB + 700 + K * 365 < DATE '2025-06-15') DO BEGIN "
                "INSERT INTO T_BESAMUNGEN (TIER, DATUM) VALUES (:ID, :GEB + 700 + :K * 365 - 281); "
                "INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (:ID, "
                ":GEB + 700 + :K * 365, 'W'); K = K + 1; END "
                "INSERT INTO T_BESAMUNGEN (TIER, DATUM) VALUES (:ID, :GEB + 700 + :K * 365 - "
                "281); END "
                "I = I + 1; END END")
                .arg(tiere));
        block.SetParamCheck(false);
        block.Execute();
        tr.Commit();
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        DM()->Datenbank.Open(t.Params());
    }
    ~Fixture()
    {
        EinstellungenFreigeben();
        DMFreigeben();
        ProgDatum::HeuteSetzen(QDate());
    }
};

std::unique_ptr<Fixture> fixture;

Fixture& F(const benchmark::State& state)
{
    if (!fixture || fixture->tiere != state.range(0)) {
        fixture.reset();
        fixture = std::make_unique<Fixture>(int(state.range(0)));
    }
    return *fixture;
}

void BM_ZensusMitPrognose(benchmark::State& state)
{
    Fixture& f = F(state);
    for (auto _ : state) {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        TPrognoseDatenbank quelle(tr, Einstellungen());
        TPrognoseTierbestand engine(quelle);
        engine.SetVon(Heute.addYears(-5));
        engine.SetBis(Heute.addYears(5));
        engine.BestandBerechnen(0);
        benchmark::DoNotOptimize(engine.GetMaximum());
    }
    state.counters["Tiere"] = f.tiere;
}

// The same rows read bare: animals with their subselects, stays and calvings.
void BM_BlosseAbfrage(benchmark::State& state)
{
    F(state);
    for (auto _ : state) {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        for (const char* sql :
             {"SELECT (SELECT DATUM FROM P_GET_ERSTE_KALBUNG(S.ID)), S.ID, S.GEBDAT, S.GESCHLECHT, "
              "S.STATUS, S.STATUSEXT, R.SOLL_KALBEN, (SELECT COUNT(*) FROM T_BESAMUNGEN B WHERE "
              "B.TIER = S.ID), (SELECT MAX(B.DATUM) FROM T_BESAMUNGEN B WHERE B.TIER = S.ID), "
              "(SELECT MAX(K.DATUM) FROM T_KALBUNGEN K WHERE K.TIER = S.ID), (SELECT MAX(B.DATUM) "
              "+ R.SOLL_KALBEN FROM T_BESAMUNGEN B WHERE B.TIER = S.ID) FROM T_STAMMDATEN S JOIN "
              "T_RASSEN R ON R.ID = S.RASSE",
              "SELECT A.TIER, A.VON, A.BIS FROM T_STAELLE A JOIN T_BETRIEBSSTAETTEN B ON B.ID = "
              "A.STALL JOIN T_BETRIEBSGRUPPEN G ON G.ID = B.GRUPPE WHERE G.GV = 'T' ORDER BY "
              "A.TIER, A.VON",
              "SELECT K.TIER, K.DATUM, K.NR FROM T_KALBUNGEN K ORDER BY K.TIER, K.DATUM"}) {
            db::Query q(tr, QString::fromLatin1(sql));
            int n = 0;
            for (q.Open(); !q.Eof(); q.Next())
                ++n;
            benchmark::DoNotOptimize(n);
        }
    }
}

// The chart of five years with forecast drawn into its picture (630 x 400 without a main window).
void BM_FensterFuenfJahre(benchmark::State& state)
{
    F(state);
    for (auto _ : state) {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        auto chart = CreateBildschirm<TTierbestand>(nullptr, &tr);
        chart->Von = Heute.addYears(-4);
        chart->Prognose = true;
        chart->SetBis(Heute.addYears(1));
        QPixmap bild(chart->Breite, chart->Hoehe);
        QPainter maler(&bild);
        chart->SetCanvas(std::make_shared<TMyGDICanvas>(maler));
        chart->Zeichnen();
        chart->SetCanvas(nullptr);
    }
}

BENCHMARK(BM_ZensusMitPrognose)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlosseAbfrage)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FensterFuenfJahre)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    fixture.reset();
    benchmark::Shutdown();
    return 0;
}
