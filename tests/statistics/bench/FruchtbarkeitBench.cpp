// A herd of 2,000 animals with five years of calvings, inseminations and milk deliveries: the
// milk delivery, calving interval and insemination index charts drawn into their pictures, each
// beside a bare fetch of the rows it reads.
// Run: build/bin/bench_fruchtbarkeit (offscreen unless QT_QPA_PLATFORM says otherwise).

#include <BesamungsindexBestand.h>
#include <MilchanlieferungStatistik.h>
#include <ZwischenkalbezeitBestand.h>

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
constexpr int Tiere = 2000;

struct Fixture {
    TestDatabase t;
    QTemporaryDir daten;

    Fixture()
    {
        qputenv("XDG_DATA_HOME", daten.path().toLocal8Bit());
        ProgDatum::HeuteSetzen(Heute);
        db::Transaction tr(t.Db());
        tr.Start();
        // Every animal female; each calves once a year over the last five years after one to
        // three inseminations; a tenth has left after a last insemination.
        db::Query block(
            tr,
            QStringLiteral(
                "EXECUTE BLOCK AS DECLARE I INTEGER = 1; DECLARE K INTEGER; DECLARE B INTEGER; "
                "DECLARE ID INTEGER; DECLARE KALB DATE; DECLARE WEG DATE; BEGIN "
                "WHILE (I <= %1) DO BEGIN "
                "WEG = IIF(MOD(I, 10) = 0, DATE '2025-06-15' - MOD(I, 300), NULL); "
                "INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, STATUS, RASSE, "
                "VERKAUFT) VALUES ('DE 01 ' || LPAD(:I, 9, '0'), 'Tier ' || :I, "
                "DATE '2017-01-01' + MOD(:I, 700), 'W', 'B', 1, :WEG) RETURNING ID INTO :ID; "
                "K = 0; WHILE (K < 5) DO BEGIN "
                "KALB = DATE '2020-07-01' + K * 365 + MOD(I * 7, 60); "
                "B = 0; WHILE (B <= MOD(I + K, 3)) DO BEGIN "
                "INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (:ID, :KALB - 281 - 21 * :B, "
                ":B + 1); B = B + 1; END "
                "INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (:ID, :KALB, 'W'); "
                "K = K + 1; END "
                "IF (WEG IS NOT NULL) THEN INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES "
                "(:ID, :WEG - 30, 1); "
                "I = I + 1; END "
                "K = 0; WHILE (K < 60) DO BEGIN "
                "INSERT INTO T_MILCHANLIEFERUNG (ID, MONAT, MENGE, FETT, EIWEIS, KEIMZAHL, "
                "ZELLZAHL, PREIS37, PREISEIGEN, MILCHGELD) VALUES (:K + 1, DATEADD(:K MONTH TO "
                "DATE '2020-06-01'), 600000 + :K * 1000, 4.1, 3.4, 30, 200, 40, 41, 240000); "
                "K = K + 1; END END")
                .arg(Tiere));
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

void Vorbereiten()
{
    if (!fixture)
        fixture = std::make_unique<Fixture>();
}

// The chart drawn once into its picture (630 x 400 without a main window), as the window does.
template <class G, class P>
void Fenster(benchmark::State& state, P parameter)
{
    Vorbereiten();
    for (auto _ : state) {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        auto chart = CreateBildschirm<G>(nullptr, &tr);
        parameter(*chart);
        QPixmap bild(chart->Breite, chart->Hoehe);
        QPainter maler(&bild);
        chart->SetCanvas(std::make_shared<TMyGDICanvas>(maler));
        chart->Zeichnen();
        chart->SetCanvas(nullptr);
    }
}

void Abfragen(benchmark::State& state, std::vector<QString> sqls)
{
    Vorbereiten();
    for (auto _ : state) {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        for (const QString& sql : sqls) {
            db::Query q(tr, sql);
            q.SetParamCheck(false);
            int n = 0;
            for (q.Open(); !q.Eof(); q.Next())
                ++n;
            benchmark::DoNotOptimize(n);
        }
    }
}

void BM_MilchanlieferungFenster(benchmark::State& state)
{
    Fenster<TMilchanlieferung>(state, [](TMilchanlieferung& c) {
        c.Von = QDate(2020, 6, 1);
        c.Bis = QDate(2025, 5, 1);
    });
}

void BM_MilchanlieferungAbfrage(benchmark::State& state)
{
    Abfragen(state, {QStringLiteral("SELECT MONAT, MENGE, FETT, EIWEIS, KEIMZAHL, ZELLZAHL, "
                                    "PREIS37, PREISEIGEN, MILCHGELD, WAEHRUNG FROM "
                                    "T_MILCHANLIEFERUNG WHERE MONAT BETWEEN DATE '2020-06-01' AND "
                                    "DATE '2025-05-01' ORDER BY MONAT")});
}

void BM_ZwischenkalbezeitFenster(benchmark::State& state)
{
    Fenster<TZwischenkalbezeitBestand>(state, [](TZwischenkalbezeitBestand&) {});
}

// The procedure's rows as the chart selects them, and the table rows the procedure reads.
void BM_ZwischenkalbezeitAbfrage(benchmark::State& state)
{
    Abfragen(state, {QStringLiteral("SELECT KALB_DATUM, TRAGZEIT, ZWKZ FROM P_GET_ZWKZ_BESTAND "
                                    "WHERE ((TRAGZEIT IS NOT NULL) OR (ZWKZ IS NOT NULL)) AND "
                                    "KALB_DATUM >= DATE '2016-01-01'")});
}

void BM_ZwischenkalbezeitTabellen(benchmark::State& state)
{
    Abfragen(state, {QStringLiteral("SELECT K.TIER, K.DATUM FROM T_KALBUNGEN K ORDER BY K.TIER, "
                                    "K.DATUM"),
                     QStringLiteral("SELECT B.TIER, B.DATUM FROM T_BESAMUNGEN B ORDER BY B.TIER, "
                                    "B.DATUM")});
}

void BM_BesamungsindexFenster(benchmark::State& state)
{
    Fenster<TBesamungsindexBestand>(state, [](TBesamungsindexBestand& c) {
        c.Von = QDate(2020, 6, 15);
        c.Bis = Heute;
    });
}

void BM_BesamungsindexAbfrage(benchmark::State& state)
{
    Abfragen(state,
             {QStringLiteral("SELECT NR, COUNT(DATUM) ANZAHL FROM P_GET_BESAMUNGSINDEX_BESTAND("
                             "DATE '2020-06-15', DATE '2025-06-15') GROUP BY NR"),
              QStringLiteral("SELECT MAX(B.DATUM) FROM T_STAMMDATEN S JOIN T_BESAMUNGEN B ON "
                             "B.TIER = S.ID LEFT JOIN T_KALBUNGEN K ON K.TIER = S.ID WHERE "
                             "(S.VERKAUFT IS NOT NULL) AND (B.DATUM IS NOT NULL) AND (S.VERKAUFT "
                             ">= DATE '2020-06-15') AND (S.VERKAUFT <= DATE '2025-06-15') GROUP "
                             "BY S.ID HAVING (MAX(B.DATUM) > MAX(K.DATUM)) OR (MAX(K.DATUM) IS "
                             "NULL)")});
}

void BM_BesamungsindexTabellen(benchmark::State& state)
{
    Abfragen(state, {QStringLiteral("SELECT K.TIER, K.DATUM FROM T_KALBUNGEN K WHERE K.DATUM "
                                    "BETWEEN DATE '2020-06-15' AND DATE '2025-06-15'"),
                     QStringLiteral("SELECT B.TIER, B.DATUM FROM T_BESAMUNGEN B"),
                     QStringLiteral("SELECT S.ID, S.VERKAUFT FROM T_STAMMDATEN S")});
}

BENCHMARK(BM_MilchanlieferungFenster)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MilchanlieferungAbfrage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZwischenkalbezeitFenster)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZwischenkalbezeitAbfrage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZwischenkalbezeitTabellen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BesamungsindexFenster)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BesamungsindexAbfrage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BesamungsindexTabellen)->Unit(benchmark::kMillisecond);

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
