// A stored list of a herd of 2,000 and of 20,000 animals (the benchmark's argument) with 15
// columns in its list window, beside a bare fetch of the same SQL through the database layer. Run:
// build/bin/bench_listen (offscreen unless QT_QPA_PLATFORM says otherwise); one herd size with
// --benchmark_filter=/20000.

#include "FListeNormal.h"
#include "ZRDBcxGridBovantis.h"

#include <TestDatabase.h>

#include <Memory.h>
#include <Query.h>
#include <Transaction.h>
#include <ZRcxGridDBTableView.h>

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <utility>

namespace {

constexpr int Liste = 41;

struct Spalte {
    const char* feld;
    const char* titel;
    int breite;
};

// The hidden animal ID and 15 shown columns.
const Spalte spalten[] = {
    {"TIERID", "ID", 40},       {"NUMMER", "Nummer", 110},
    {"KNR", "KNR", 50},         {"NAME", "Name", 100},
    {"GEBDAT", "Geboren", 80},  {"GESCHLECHT", "G", 30},
    {"VATER", "Vater", 90},     {"VATERNR", "Vater-Nr.", 90},
    {"MUTTER", "Mutter", 90},   {"MUTTERNR", "Mutter-Nr.", 110},
    {"GEKAUFT", "Gekauft", 80}, {"GEKAUFTBEM", "Bemerkung", 120},
    {"STATUS", "Status", 40},   {"RASSE", "Rasse", 40},
    {"RINDERN", "Rindern", 80}, {"TROCKEN", "Trocken", 80},
};

QString DatenSQL()
{
    QString felder;
    for (const Spalte& s : spalten) {
        const QString spalte = QString::fromLatin1(s.feld) == "TIERID"
                                   ? QStringLiteral("ID")
                                   : QString::fromLatin1(s.feld);
        felder += QStringLiteral("%1Q1.%2 AS Q1%3")
                      .arg(felder.isEmpty() ? "" : ", ", spalte, QString::fromLatin1(s.feld));
    }
    return QStringLiteral("SELECT %1 FROM T_STAMMDATEN Q1 WHERE (#Q1.ID#) ORDER BY Q1.NUMMER")
        .arg(felder);
}

struct Fixture {
    const int tiere;
    TestDatabase datenbank;

    explicit Fixture(int anzahl) : tiere(anzahl)
    {
        db::Transaction tr(datenbank.Db());
        tr.Start();
        db::Query tier(tr,
                       "INSERT INTO T_STAMMDATEN (NUMMER, KNR, NAME, GEBDAT, GESCHLECHT, VATER, "
                       "VATERNR, MUTTER, MUTTERNR, GEKAUFT, GEKAUFTBEM, RASSE, RINDERN) VALUES "
                       "(:NUMMER, :KNR, :NAME, :GEBDAT, 'W', 'Stier', '123456', 'Mutter', "
                       "'DE 0999999999', DATE '2020-03-01', 'vom Nachbarhof', 1, DATE "
                       "'2021-05-01')");
        for (int i = 1; i <= tiere; ++i) {
            tier.Param("NUMMER").SetString(
                QStringLiteral("DE 0%1").arg(i, 9, 10, QLatin1Char('0')));
            tier.Param("KNR").SetInteger(i);
            tier.Param("NAME").SetString(QStringLiteral("Kuh %1").arg(i));
            tier.Param("GEBDAT").SetDate(QDate(2015, 1, 1).addDays(i));
            tier.Execute();
        }
        db::Query l(tr,
                    "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, MENUE, MENUE_REIHUNG, SQL, "
                    "SQL_SW, MULTI_LINE_SHORT_BILDSCHIRM) VALUES (:ID, 'Herde', 'Herde', 'T', "
                    "1, :SQL, 'SELECT Q1.ID FROM T_STAMMDATEN Q1 WHERE (#Q1.ID#)', 'F')");
        l.Param("ID").SetInteger(Liste);
        l.Param("SQL").SetString(DatenSQL());
        l.Execute();
        db::Query f(tr,
                    "INSERT INTO T_LISTEN_BILDSCHIRM (ID, LISTE, FELD, BREITE, TITEL, SICHTBAR, "
                    "ZEILE, WERT, AUSRICHTUNG, AUTOBREITE, UEBERSCHRIFT) VALUES (:ID, :LISTE, "
                    ":FELD, :BREITE, :TITEL, :SICHTBAR, 1, NULL, 'L', 'F', 'F')");
        int id = 1;
        for (const Spalte& s : spalten) {
            f.Param("ID").SetInteger(id++);
            f.Param("LISTE").SetInteger(Liste);
            f.Param("FELD").SetString(QStringLiteral("Q1.") + QString::fromLatin1(s.feld));
            f.Param("BREITE").SetInteger(s.breite);
            f.Param("TITEL").SetString(QString::fromLatin1(s.titel));
            f.Param("SICHTBAR").SetString(QString::fromLatin1(s.feld) == "TIERID" ? "F" : "T");
            f.Execute();
        }
        tr.Commit();
    }
};

// Built at the first use of a herd size, outside every timing; one herd at a time.
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

// Every row, every value as text: what the window has to read for the whole list.
void BareFetch(benchmark::State& state)
{
    Fixture& f = F(state);
    const QString sql =
        QString(DatenSQL()).replace(QStringLiteral("#Q1.ID#"), QStringLiteral("1 = 1"));
    int zeilen = 0;
    for (auto _ : state) {
        db::Transaction tr(f.datenbank.Db());
        tr.Start();
        db::Query q(tr, sql);
        zeilen = 0;
        for (q.Open(); !q.Eof(); q.Next()) {
            for (int c = 0; c < q.FieldCount(); ++c)
                benchmark::DoNotOptimize(q.Field(c).AsString());
            ++zeilen;
        }
    }
    state.counters["rows"] = zeilen;
}

// From the window's creation until its first rows are painted.
void ListenfensterErsteZeilen(benchmark::State& state)
{
    Fixture& f = F(state);
    int zeilen = 0;
    for (auto _ : state) {
        TfrmListeNormal fenster(f.datenbank.Db());
        fenster.resize(1200, 700);
        fenster.ListeLaden(false, Liste, 0, QString(), QString(), QString());
        fenster.show();
        QApplication::processEvents();
        state.PauseTiming();
        zeilen = fenster.Grid()->GetTableView()->model()->rowCount();
        if (zeilen <= 0)
            state.SkipWithError("the window shows no rows");
        state.ResumeTiming();
    }
    state.counters["rows"] = zeilen;
}

// The whole list: shown, then scrolled to its last row.
void ListenfensterGanz(benchmark::State& state)
{
    Fixture& f = F(state);
    int zeilen = 0;
    for (auto _ : state) {
        TfrmListeNormal fenster(f.datenbank.Db());
        fenster.resize(1200, 700);
        fenster.ListeLaden(false, Liste, 0, QString(), QString(), QString());
        fenster.show();
        QApplication::processEvents();
        TZRcxGridDBTableView* view = fenster.Grid()->GetTableView();
        view->scrollToBottom();
        QApplication::processEvents();
        state.PauseTiming();
        zeilen = view->model()->rowCount();
        if (zeilen != f.tiere)
            state.SkipWithError("the window did not read the whole list");
        state.ResumeTiming();
    }
    state.counters["rows"] = zeilen;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    db::KeepFreedMemory();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    // Grouped by herd size, so that each herd is built once.
    const std::pair<const char*, void (*)(benchmark::State&)> laeufe[] = {
        {"BareFetch", BareFetch},
        {"ListenfensterErsteZeilen", ListenfensterErsteZeilen},
        {"ListenfensterGanz", ListenfensterGanz}};
    for (const int tiere : {2000, 20000})
        for (const auto& [name, lauf] : laeufe)
            benchmark::RegisterBenchmark(name, lauf)->Arg(tiere)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture.reset();
    return 0;
}
