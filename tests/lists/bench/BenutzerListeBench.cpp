// A user list designed over three sources of the catalogue (the animals, their last calving and
// their last test day) for a herd of 2,000 cows, opened in its list window, beside a bare fetch
// of the statement the database built for it. Run: build/bin/bench_benutzerliste (offscreen
// unless QT_QPA_PLATFORM says otherwise); it prints the statement's plan first, on stderr.

#include "FListeNormal.h"
#include "ListenTools.h"
#include "ZRDBcxGridBovantis.h"

#include <TestDatabase.h>

#include <Memory.h>
#include <Query.h>
#include <Transaction.h>
#include <ZRcxGridDBTableView.h>

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int Liste = 50;
constexpr int Kuehe = 2000;

// Sources 1 animals, 3 last calving, 8 last test day; joined animal ID = calving's animal =
// test day's animal (fields 101, 302, 802).
const char* const Felder =
    "Q1.ID;Q1.STATUSIDX;Q1.KNRDISPLAY;Q1.NAME;Q1.NUMMER;Q1.GEBDAT;Q1.LAKTATION;Q2.DATUM;Q2.TAGE;"
    "Q3.DATUM;Q3.MILCH;Q3.FETT;Q3.EIWEIS;Q3.ZELLZAHL";

struct Fixture {
    TestDatabase datenbank;
    QString sql;

    Fixture()
    {
        db::Transaction tr(datenbank.Db());
        tr.Start();
        db::Query tier(tr,
                       "INSERT INTO T_STAMMDATEN (NUMMER, KNR, NAME, GEBDAT, GESCHLECHT, "
                       "RASSE, STATUS) VALUES (:NUMMER, :KNR, :NAME, :GEBDAT, 'W', 1, 'T') "
                       "RETURNING ID");
        db::Query stall(tr, "INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (:TIER, :VON, 1)");
        db::Query kalbung(tr,
                          "INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (:TIER, "
                          ":DATUM, 'W')");
        db::Query pm(tr, "INSERT INTO T_PROBEMELKEN (DATUM) VALUES (:DATUM) RETURNING ID");
        db::Query wert(tr,
                       "INSERT INTO T_PROBEMELKEN_WERTE (TIER, PROBEMELKEN, TYP, MILCH, FETT, "
                       "EIWEIS, ZELLZAHL) VALUES (:TIER, :PM, '1N', :MILCH, 4.1, 3.4, 120)");
        QList<int> probemelken;
        for (int m = 0; m < 12; ++m) {
            pm.Param("DATUM").SetDate(QDate(2023, 1, 10).addMonths(m));
            pm.Execute();
            probemelken << pm.Field(0).AsInteger();
        }
        for (int i = 1; i <= Kuehe; ++i) {
            tier.Param("NUMMER").SetString(
                QStringLiteral("DE 0%1").arg(i, 9, 10, QLatin1Char('0')));
            tier.Param("KNR").SetInteger(i);
            tier.Param("NAME").SetString(QStringLiteral("Kuh %1").arg(i));
            tier.Param("GEBDAT").SetDate(QDate(2016, 1, 1).addDays(i % 900));
            tier.Execute();
            const int id = tier.Field(0).AsInteger();
            stall.Param("TIER").SetInteger(id);
            stall.Param("VON").SetDate(QDate(2016, 1, 1).addDays(i % 900));
            stall.Execute();
            for (int k = 0; k < 3; ++k) {
                kalbung.Param("TIER").SetInteger(id);
                kalbung.Param("DATUM").SetDate(QDate(2019, 3, 1).addDays(k * 400 + i % 200));
                kalbung.Execute();
            }
            for (int m = 0; m < probemelken.size(); ++m) {
                wert.Param("TIER").SetInteger(id);
                wert.Param("PM").SetInteger(probemelken[m]);
                wert.Param("MILCH").SetDouble(20.0 + (i + m) % 15);
                wert.Execute();
            }
        }
        db::Query l(tr,
                    "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, QUELLE1, QUELLE2, QUELLE3, "
                    "FELD12_1, FELD12_2, FELD23_2, FELD23_3, FELDER, SORTIERUNG, MENUE) VALUES "
                    "(:ID, 'Kühe', 'Kühe', 1, 3, 8, 101, 302, 302, 802, :FELDER, "
                    "'Q1.KNR;ASC', 'T')");
        l.Param("ID").SetInteger(Liste);
        l.Param("FELDER").SetString(QString::fromLatin1(Felder));
        l.Execute();
        db::Query s(tr, "SELECT SQL FROM T_LISTEN WHERE ID = :ID");
        s.Param("ID").SetInteger(Liste);
        s.Open();
        sql = ListenTools::BetriebsstaetteEinsetzen(s.Field(0).AsString(), 0);
        tr.Commit();
    }
};

std::unique_ptr<Fixture> fixture;

Fixture& F()
{
    if (!fixture)
        fixture = std::make_unique<Fixture>();
    return *fixture;
}

// Every row, every value as text: what the window has to read for the whole list.
void BareFetch(benchmark::State& state)
{
    Fixture& f = F();
    int zeilen = 0;
    for (auto _ : state) {
        db::Transaction tr(f.datenbank.Db());
        tr.Start();
        db::Query q(tr, f.sql);
        zeilen = 0;
        for (q.Open(); !q.Eof(); q.Next()) {
            for (int c = 0; c < q.FieldCount(); ++c)
                benchmark::DoNotOptimize(q.Field(c).AsString());
            ++zeilen;
        }
    }
    state.counters["rows"] = zeilen;
}

// The first rows of the bare fetch, as far as a window's first screen needs them.
void BareFetchErsteZeilen(benchmark::State& state)
{
    Fixture& f = F();
    for (auto _ : state) {
        db::Transaction tr(f.datenbank.Db());
        tr.Start();
        db::Query q(tr, f.sql);
        int zeilen = 0;
        for (q.Open(); !q.Eof() && zeilen < 40; q.Next()) {
            for (int c = 0; c < q.FieldCount(); ++c)
                benchmark::DoNotOptimize(q.Field(c).AsString());
            ++zeilen;
        }
    }
}

// From the window's creation until its first rows are painted.
void ListenfensterErsteZeilen(benchmark::State& state)
{
    Fixture& f = F();
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
    Fixture& f = F();
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
        if (zeilen != Kuehe)
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
    benchmark::RegisterBenchmark("BareFetch", BareFetch)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BareFetchErsteZeilen", BareFetchErsteZeilen)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ListenfensterErsteZeilen", ListenfensterErsteZeilen)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ListenfensterGanz", ListenfensterGanz)
        ->Unit(benchmark::kMillisecond);
    {
        // The generated statement's plan: its joins should go through the indexes.
        db::Transaction tr(F().datenbank.Db());
        tr.Start();
        db::Query q(tr, F().sql);
        std::fprintf(stderr, "Plan: %s\n", qPrintable(q.Plan()));
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture.reset();
    return 0;
}
