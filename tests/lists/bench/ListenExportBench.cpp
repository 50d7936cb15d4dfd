// Export of a list of 10,000 rows and 15 columns to each format, beside a plain QTextStream write
// of the same cells. Run: <build dir>/bin/bench_listenexport
#include <ListenExportFormate.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <benchmark/benchmark.h>

using ListenExport::Format;
using ListenExport::Typ;

namespace {

constexpr int Zeilen = 10000;

const ListenExport::Tabelle& Liste()
{
    static const ListenExport::Tabelle t = [] {
        ListenExport::Tabelle t;
        t.kopf = "Herdenübersicht";
        t.erstellt = QDateTime(QDate(2025, 2, 1), QTime(10, 15));
        const Typ typen[] = {Typ::Ganzzahl,  Typ::Text,          Typ::Text,    Typ::Datum,
                             Typ::Zahl,      Typ::Wahrheitswert, Typ::Text,    Typ::Datum,
                             Typ::Ganzzahl,  Typ::Zahl,          Typ::Zeit,    Typ::Text,
                             Typ::DatumZeit, Typ::Text,          Typ::Ganzzahl};
        for (int s = 0; s < 15; ++s)
            t.spalten.push_back({QStringLiteral("Spalte Ä%1").arg(s), typen[s],
                                 typen[s] == Typ::Zahl ? QStringLiteral("0.00") : QString()});
        t.werte.reserve(std::size_t(Zeilen) * 15);
        for (int z = 0; z < Zeilen; ++z)
            for (int s = 0; s < 15; ++s) {
                if ((z + s) % 11 == 0) {
                    t.werte.emplace_back();
                    continue;
                }
                switch (typen[s]) {
                    case Typ::Ganzzahl:
                        t.werte.emplace_back(z * 7 + s);
                        break;
                    case Typ::Zahl:
                        t.werte.emplace_back(z * 0.25 + s);
                        break;
                    case Typ::Datum:
                        t.werte.emplace_back(QDate(2020, 1, 1).addDays(z % 1500));
                        break;
                    case Typ::Zeit:
                        t.werte.emplace_back(QTime(z % 24, z % 60));
                        break;
                    case Typ::DatumZeit:
                        t.werte.emplace_back(
                            QDateTime(QDate(2021, 3, 1).addDays(z % 400), QTime(6, 30)));
                        break;
                    case Typ::Wahrheitswert:
                        t.werte.emplace_back(z % 3 == 0);
                        break;
                    default:
                        t.werte.emplace_back(
                            QStringLiteral("Kuh Ölke %1, \"Stall\" %2").arg(z).arg(s));
                }
            }
        return t;
    }();
    return t;
}

QString Datei(const QString& endung)
{
    static QTemporaryDir ordner;
    return ordner.filePath("liste." + endung);
}

void Exportieren(benchmark::State& state, Format format)
{
    const ListenExport::Tabelle& t = Liste();
    const QString datei = Datei(ListenExport::Dateiendung(format));
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray inhalt = ListenExport::Schreiben(format, t);
        QFile f(datei);
        f.open(QIODevice::WriteOnly);
        f.write(inhalt);
        bytes = inhalt.size();
    }
    state.counters["Bytes"] = double(bytes);
}

// The plain alternative: each cell's QVariant text, tab-separated, through a QTextStream.
void TextStreamSchreiben(benchmark::State& state)
{
    const ListenExport::Tabelle& t = Liste();
    const QString datei = Datei("plain");
    for (auto _ : state) {
        QFile f(datei);
        f.open(QIODevice::WriteOnly);
        QTextStream aus(&f);
        for (int z = 0; z < t.Zeilen(); ++z) {
            for (int s = 0; s < int(t.spalten.size()); ++s) {
                if (s)
                    aus << '\t';
                aus << t.Wert(z, s).toString();
            }
            aus << '\n';
        }
    }
}

}  // namespace

BENCHMARK(TextStreamSchreiben)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Exportieren, CSV, Format::CSV)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Exportieren, TabText, Format::TabText)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Exportieren, Zwischenablage, Format::Zwischenablage)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Exportieren, Text, Format::Text)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Exportieren, HTML, Format::HTML)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Exportieren, RTF, Format::RTF)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Exportieren, Excel, Format::Excel)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Exportieren, Word, Format::Word)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
