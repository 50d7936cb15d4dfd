// A 200-page list report: laid out by the print job, then every page shown by the preview window,
// against drawing the same texts straight into an image with QPainter.

#include "Druckauftrag.h"
#include "VorschauFenster.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

namespace {

constexpr int kSeiten = 200;

// A4 at 600 dpi with a fixed geometry, so that runs compare across machines.
class BenchDrucker final : public PrinterDevice {
public:
    int paperCode() const override { return 9; }
    TPrinterOrientation orientation() const override { return TPrinterOrientation::poPortrait; }
    void setOrientation(TPrinterOrientation) override {}
    QSize physicalSize() const override { return QSize(4961, 7016); }
    QPoint physicalOffset() const override { return QPoint(0, 0); }
    int logicalDpiX() const override { return 600; }
    int logicalDpiY() const override { return 600; }
};

QString spalte(int zeile, int spalte)
{
    switch (spalte) {
        case 0:
            return QStringLiteral("DE 09 %1").arg(10000000 + zeile);
        case 1:
            return QStringLiteral("Berta %1").arg(zeile);
        case 2:
            return QStringLiteral("%1.0%2.2025").arg(zeile % 28 + 1).arg(zeile % 9 + 1);
        default:
            return QStringLiteral("%1,%2 kg").arg(20 + zeile % 15).arg(zeile % 10);
    }
}

constexpr int kSpaltenX[] = {0, 450, 900, 1600};

// The report pattern: header per page, rows with CheckNeueSeite, until 200 pages are full.
class ListenBericht final : public TDruck {
public:
    explicit ListenBericht(PrinterDevice& device) : TDruck(device, {}) {}
    int Zeilen = 0;

    void Seitenrahmen() override
    {
        Pos = SeitenrandOben();
        SetzeSchrift(QStringLiteral("DejaVu Sans"), 11, fsBold, 0, false);
        PrintText(0, QStringLiteral("Milchleistung der Herde"), true);
        Linie(0, Pos, GetPosRandRechts(), Pos);
        IncPos(15);
        SetzeSchrift(QStringLiteral("DejaVu Sans"), 9, 0, 0, false);
    }
    void NeueSeite() override
    {
        TDruck::NeueSeite();
        Seitenrahmen();
    }
    void DruckeInhalt(QObject*) override
    {
        InitDruck();
        Seitenrahmen();
        Zeilen = 0;
        const int hoehe = Zeilenhoehe();
        for (;;) {
            if (AktSeite() == kSeiten && Pos + hoehe > GetPosRandUnten())
                break;
            CheckNeueSeite(hoehe);
            ++Zeilen;
            for (int s = 0; s < 4; ++s)
                PrintText(kSpaltenX[s], spalte(Zeilen, s), false,
                          s == 3 ? taRightJustify : taLeftJustify);
            IncPos(hoehe);
        }
        Preview->SetMaxPage(kSeiten);
    }
};

void BM_BerichtAufbereiten(benchmark::State& state)
{
    BenchDrucker drucker;
    ListenBericht bericht(drucker);
    for (auto _ : state) {
        bericht.DruckeInhalt(nullptr);
        benchmark::DoNotOptimize(bericht.Paper().Stream().size());
    }
    state.counters["Zeilen"] = bericht.Zeilen;
}
BENCHMARK(BM_BerichtAufbereiten)->Unit(benchmark::kMillisecond);

// Every page of the report through the preview window's page rendering at 100 %.
void BM_VorschauSeiteZeigen(benchmark::State& state)
{
    BenchDrucker drucker;
    ListenBericht bericht(drucker);
    bericht.Paper().SetScreenDpi(96);
    bericht.DruckeInhalt(nullptr);
    TfmPreview& fenster = bericht.Preview->Form();
    bericht.Preview->SetScale(100);
    fenster.Rescale();
    int seite = 1;
    for (auto _ : state) {
        bericht.Preview->SetCurrentPage(std::int16_t(seite));
        fenster.UpdatePage();
        seite = seite % kSeiten + 1;
    }
    state.counters["Seiten/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_VorschauSeiteZeigen)->Unit(benchmark::kMillisecond);

// The plain alternative: the same rows of one page drawn into an image of the same size.
void BM_QPainterSeiteZeichnen(benchmark::State& state)
{
    BenchDrucker drucker;
    ListenBericht bericht(drucker);
    bericht.Paper().SetScreenDpi(96);
    bericht.DruckeInhalt(nullptr);
    const int proSeite = bericht.Zeilen / kSeiten;
    QImage bild(bericht.Paper().Width() + 2, bericht.Paper().Height() + 2, QImage::Format_RGB32);
    const double f = 96 / 254.0;
    QFont schrift(QStringLiteral("DejaVu Sans"));
    schrift.setPointSize(9);
    int seite = 1;
    for (auto _ : state) {
        bild.fill(Qt::white);
        QPainter painter(&bild);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setFont(schrift);
        const int ascent = painter.fontMetrics().ascent();
        for (int z = 0; z < proSeite; ++z) {
            const int zeile = (seite - 1) * proSeite + z + 1;
            const double y = (300 + z * 40) * f + ascent;
            for (int s = 0; s < 4; ++s)
                painter.drawText(QPointF((250 + kSpaltenX[s]) * f, y), spalte(zeile, s));
        }
        seite = seite % kSeiten + 1;
    }
    state.counters["Seiten/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_QPainterSeiteZeichnen)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
