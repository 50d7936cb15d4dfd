// Recording and replaying a 100-page list of 60 lines each, against drawing the same lines
// directly with QPainter.

#include "Seitenspeicher.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

constexpr int kPages = 100;
constexpr int kLines = 60;

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

QString lineText(int page, int line)
{
    return QStringLiteral("Kuh %1  Laktation %2  Milch 31,4 kg  Fett 4,12 %  Eiweiß 3,45 %")
        .arg(page * kLines + line)
        .arg(line % 7 + 1);
}

void recordList(TPaper& paper)
{
    paper.Clear();
    for (int page = 1; page <= kPages; ++page) {
        paper.SetPage(std::int16_t(page));
        paper.SetAlign(taLeftJustify, 0);
        for (int line = 0; line < kLines; ++line) {
            const int y = 200 + line * 45;
            paper.TextOut(150, y, lineText(page, line));
            paper.Line(150, y + 42, 1950, y + 42);
        }
    }
}

void prepare(TPaper& paper)
{
    paper.SetScreenDpi(96);
    paper.SetUnits(unTenthMillimeters);
    paper.SetFont("DejaVu Sans", 9, 0, 0, false);
    paper.SetPen(psSolid, 0, 5);
}

void BM_Record(benchmark::State& state)
{
    BenchDrucker drucker;
    TPaper paper(drucker);
    prepare(paper);
    for (auto _ : state) {
        recordList(paper);
        benchmark::DoNotOptimize(paper.Stream().size());
    }
    state.counters["pages/s"] =
        benchmark::Counter(double(kPages) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Record)->Unit(benchmark::kMillisecond);

void BM_ReplayPageToImage(benchmark::State& state)
{
    BenchDrucker drucker;
    TPaper paper(drucker);
    prepare(paper);
    recordList(paper);
    QImage image(paper.Width(), paper.Height(), QImage::Format_RGB32);
    int page = 1;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        paper.DrawToCanvas(painter, 100, std::int16_t(page), false);
        page = page % kPages + 1;
    }
    state.counters["pages/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReplayPageToImage)->Unit(benchmark::kMillisecond);

// The plain alternative: the same page drawn straight onto the image.
void BM_DirectPageToImage(benchmark::State& state)
{
    QImage image(794, 1123, QImage::Format_RGB32);
    const double f = 96 / 254.0;
    int page = 1;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        QFont font("DejaVu Sans");
        font.setPointSize(9);
        painter.setFont(font);
        for (int line = 0; line < kLines; ++line) {
            const int y = 200 + line * 45;
            painter.drawText(QPointF(150 * f, y * f + painter.fontMetrics().ascent()),
                             lineText(page, line));
            painter.drawLine(QPointF(150 * f, (y + 42) * f), QPointF(1950 * f, (y + 42) * f));
        }
        page = page % kPages + 1;
    }
    state.counters["pages/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DirectPageToImage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
