// With a herd of 2,000 and of 20,000 animals (the benchmark's argument): opening (filling and
// showing) the animal card on one of them with the whole herd in its quick list, and the animal
// selection listing them, each beside a bare db::Query fetch of the same rows. Run:
// build/bin/bench_stammdaten (offscreen unless QT_QPA_PLATFORM says otherwise); one herd size with
// --benchmark_filter=/20000.

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
#include <utility>

namespace {

struct Fixture {
    const int tiere;
    TestDatabase t;
    QTemporaryDir daten;
    int erstes = 0;
    const QString schnellSQL = QStringLiteral(
        "SELECT T.ID, T.NAME, T.NUMMER FROM V_TIERWAHL_AKTUELL T ORDER BY T.KNR, T.GEBDAT");

    explicit Fixture(int anzahl) : tiere(anzahl)
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
                    .arg(tiere));
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

// Made at the first use of a herd size, freed before the next size (the data module exists once)
// and before the application object.
std::unique_ptr<Fixture> fixture;

Fixture& F(const benchmark::State& state)
{
    const int tiere = static_cast<int>(state.range(0));
    if (!fixture || fixture->tiere != tiere) {
        fixture.reset();
        fixture = std::make_unique<Fixture>(tiere);
    }
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
    Fixture& f = F(state);
    for (auto _ : state) {
        TfrmStammdaten karte;
        karte.TierAnzeigen(f.erstes, 0, f.schnellSQL);
        karte.show();
        QApplication::processEvents();
        state.counters["Tiere"] = karte.Schnellwahl().RecordCount();
    }
}

// The rows the card shows when it opens: the quick list, the animal, its periods, current
// inseminations and calvings, the breeds and premises.
void KarteBlankesLesen(benchmark::State& state)
{
    Fixture& f = F(state);
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

void AuswahlListen(benchmark::State& state)
{
    F(state);
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

void AuswahlBlankesLesen(benchmark::State& state)
{
    F(state);
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

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Tools::DeutschEinstellen();
    benchmark::Initialize(&argc, argv);
    // Grouped by herd size, so that each herd is built once.
    const std::pair<const char*, void (*)(benchmark::State&)> laeufe[] = {
        {"KarteOeffnen", KarteOeffnen},
        {"KarteBlankesLesen", KarteBlankesLesen},
        {"AuswahlListen", AuswahlListen},
        {"AuswahlBlankesLesen", AuswahlBlankesLesen}};
    for (const int tiere : {2000, 20000})
        for (const auto& [name, lauf] : laeufe)
            benchmark::RegisterBenchmark(name, lauf)->Arg(tiere)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture.reset();
    return 0;
}
