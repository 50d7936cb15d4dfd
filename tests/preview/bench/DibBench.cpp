// Reading, compressing and decompressing a 4000 x 3000 8-bit bitmap, beside Qt's own BMP reader
// on the same file.

#include "Dib.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include <random>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr std::int64_t kPixelBytes = std::int64_t(kWidth) * kHeight;

// A scanned-looking picture: runs of a few grey levels with noise, so that RLE has work of both
// kinds (runs and literal stretches).
TDIB makePicture()
{
    TDIB dib;
    dib.SetSize(kWidth, kHeight, 8);
    QVector<QRgb> grey;
    for (int i = 0; i < 256; ++i)
        grey.append(qRgb(i, i, i));
    dib.SetPalette(grey);
    std::mt19937 random(11);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* line = dib.GetScanLine(y);
        for (int x = 0; x < kWidth; ++x)
            line[x] = (x / 40 + y / 40) % 2 ? std::uint8_t(200) : std::uint8_t(random() % 256);
    }
    return dib;
}

const QByteArray& fileBytes(bool compressed)
{
    static const QByteArray plain = [] {
        TDIB dib = makePicture();
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        dib.SaveToStream(buffer);
        return buffer.data();
    }();
    static const QByteArray rle = [] {
        TDIB dib = makePicture();
        dib.Compress();
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        dib.SaveToStream(buffer);
        return buffer.data();
    }();
    return compressed ? rle : plain;
}

void BM_DibRead(benchmark::State& state)
{
    QByteArray bytes = fileBytes(false);
    for (auto _ : state) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        TDIB dib;
        dib.LoadFromStream(buffer);
        benchmark::DoNotOptimize(dib.GetPBitsReadOnly());
    }
    state.SetBytesProcessed(state.iterations() * kPixelBytes);
}

void BM_QImageRead(benchmark::State& state)
{
    const QByteArray& bytes = fileBytes(false);
    for (auto _ : state) {
        QImage image;
        if (!image.loadFromData(bytes, "BMP"))
            state.SkipWithError("QImage cannot read the file");
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetBytesProcessed(state.iterations() * kPixelBytes);
}

void BM_DibCompress(benchmark::State& state)
{
    const TDIB source = makePicture();
    for (auto _ : state) {
        state.PauseTiming();
        TDIB dib;
        dib.Assign(source);
        dib.GetPBits();  // own copy, so that the timing holds the compression only
        state.ResumeTiming();
        dib.Compress();
        benchmark::DoNotOptimize(dib.GetSize());
    }
    state.SetBytesProcessed(state.iterations() * kPixelBytes);
}

void BM_DibDecompress(benchmark::State& state)
{
    QByteArray bytes = fileBytes(true);
    for (auto _ : state) {
        state.PauseTiming();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        TDIB dib;
        dib.LoadFromStream(buffer);
        state.ResumeTiming();
        dib.Decompress();
        benchmark::DoNotOptimize(dib.GetPBitsReadOnly());
    }
    state.SetBytesProcessed(state.iterations() * kPixelBytes);
}

void BM_QImageReadRle(benchmark::State& state)
{
    const QByteArray& bytes = fileBytes(true);
    for (auto _ : state) {
        QImage image;
        if (!image.loadFromData(bytes, "BMP"))
            state.SkipWithError("QImage cannot read RLE8");
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetBytesProcessed(state.iterations() * kPixelBytes);
}

BENCHMARK(BM_DibRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QImageRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DibCompress)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DibDecompress)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QImageReadRle)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
