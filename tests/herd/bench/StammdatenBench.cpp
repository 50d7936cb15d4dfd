// With 2,000 animals: opening (filling and showing) the animal card on one of them with all 2,000
// in its quick list, and the animal selection listing them, each beside a bare db::Query fetch of
// the same rows. Run: build/bin/bench_stammdaten (offscreen unless QT_QPA_PLATFORM says otherwise).

#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <Sprache.h>
#include <Stammdaten.h>
#include <TierWahl.h>
#include <TierWahlLogik.h>

#include <Query.h>
#include <TestDatabase.h>

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Tiere = 2000;

struct Fixture {
    TestDatabase t;
    QTemporaryDir daten;
    int erstes = 0;
    const QString schnellSQL = QStringLiteral(
        "SELECT T.ID, T.NAME, T.NUMMER FROM V_TIERWAHL_AKTUELL T ORDER BY T.KNR, T.GEBDAT");

    Fixture()
    {
        qputenv("XDG_DATA_HOME", daten.path().toLocal8Bit());
        db::Transaction tr(t.Db());
        tr.Start();
        for (const char* sql :
             {"INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER) VALUES (11, 'Hof', "
              "'276090000000011')",
              "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (21, 'Nord', 11)"})
            db::Query(tr, QString::fromLatin1(sql)).Execute();
        db::Query block(
            tr, QStringLiteral(
                    "EXECUTE BLOCK AS DECLARE I INTEGER = 1; DECLARE ID INTEGER; BEGIN "
                    "WHILE (I <= %1) DO BEGIN "
                    "INSERT INTO T_STAMMDATEN (NUMMER, KNR, NAME, GEBDAT, GESCHLECHT, RASSE) "
                    "VALUES ('DE 01 ' || LPAD(:I, 9, '0'), :I, 'Kuh ' || :I, "
                    "DATE '2020-01-01' + MOD(:I, 900), 'W', 1) RETURNING ID INTO :ID; "
                    "INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (:ID, DATE "
                    "'2020-01-01' + MOD(:I, 900), 21); "
                    "I = I + 1; END END")
                    .arg(Tiere));
        block.SetParamCheck(false);
        block.Execute();
        tr.Commit();
        tr.Start();
        db::Query q(tr, QStringLiteral("SELECT MIN(ID) FROM T_STAMMDATEN"));
        q.Open();
        erstes = q.Field(0).AsInteger();
        tr.Commit();
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        DM()->Datenbank.Open(t.Params());
    }
    ~Fixture()
    {
        EinstellungenFreigeben();
        DMFreigeben();
    }
};

// Made at the first use, freed before the application object.
std::unique_ptr<Fixture> fixture;

Fixture& F()
{
    if (!fixture)
        fixture = std::make_unique<Fixture>();
    return *fixture;
}

int AlleLesen(db::Query& q)
{
    int n = 0;
    for (q.Open(); !q.Eof(); q.Next()) {
        for (int i = 0; i < q.FieldCount(); ++i)
            benchmark::DoNotOptimize(q.Field(i).AsString());
        ++n;
    }
    return n;
}

void KarteOeffnen(benchmark::State& state)
{
    Fixture& f = F();
    for (auto _ : state) {
        TfrmStammdaten karte;
        karte.TierAnzeigen(f.erstes, 0, f.schnellSQL);
        karte.show();
        QApplication::processEvents();
        state.counters["Tiere"] = karte.Schnellwahl().RecordCount();
    }
}
BENCHMARK(KarteOeffnen)->Unit(benchmark::kMillisecond);

// The rows the card shows when it opens: the quick list, the animal, its periods, current
// inseminations and calvings, the breeds and premises.
void KarteBlankesLesen(benchmark::State& state)
{
    Fixture& f = F();
    for (auto _ : state) {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        int n = 0;
        for (const QString& sql :
             {f.schnellSQL,
              QStringLiteral("SELECT * FROM T_STAMMDATEN WHERE ID = %1").arg(f.erstes),
              QStringLiteral("SELECT * FROM P_GET_BETRIEBSSTAETTEN(%1)").arg(f.erstes),
              QStringLiteral("SELECT * FROM P_GET_AKT_BESAMUNGEN(%1)").arg(f.erstes),
              QStringLiteral("SELECT * FROM P_GET_KALBUNGEN_TIER(%1)").arg(f.erstes),
              QStringLiteral("SELECT ID, BEZEICHNUNG FROM T_RASSEN WHERE VERWENDET = 'T'"),
              QStringLiteral(
                  "SELECT ID, BEZEICHNUNG FROM T_BETRIEBSSTAETTEN ORDER BY BEZEICHNUNG")}) {
            db::Query q(tr, sql);
            n += AlleLesen(q);
        }
        tr.Commit();
        state.counters["Zeilen"] = n;
    }
}
BENCHMARK(KarteBlankesLesen)->Unit(benchmark::kMillisecond);

void AuswahlListen(benchmark::State& state)
{
    F();
    for (auto _ : state) {
        TfrmTierWahl wahl(nullptr, 0, 1);
        wahl.SetMaske(0);
        wahl.SetBetrieb(0);
        wahl.Einlesen();
        wahl.show();
        QApplication::processEvents();
        state.counters["Tiere"] = wahl.Modell().rowCount();
    }
}
BENCHMARK(AuswahlListen)->Unit(benchmark::kMillisecond);

void AuswahlBlankesLesen(benchmark::State& state)
{
    F();
    QStringList teil;
    {
        TfrmTierWahl wahl(nullptr, 0, 1);
        wahl.SetMaske(0);
        wahl.SetBetrieb(0);
        teil = wahl.AuswahlSQL();
    }
    for (auto _ : state) {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        db::Query q(tr, TierWahl::ErgebnisSQL(teil));
        state.counters["Tiere"] = AlleLesen(q);
        tr.Commit();
    }
}
BENCHMARK(AuswahlBlankesLesen)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Tools::DeutschEinstellen();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture.reset();
    return 0;
}
