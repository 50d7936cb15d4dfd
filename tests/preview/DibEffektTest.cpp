#include "Dib.h"

#include <Bildschirmfoto.h>

#include <QDir>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <random>

namespace {

TDIB randomPicture(int width, int height, unsigned seed)
{
    TDIB dib;
    dib.SetSize(width, height, 24);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            dib.SetPixel(x, y, random() & 0xFFFFFF);
    return dib;
}

// Every output pixel is the truncated mean of the source pixels within the radius, each counted
// once.
TEST(DibBlur, EveryPixelIsTheMeanOfItsWindowEdgesIncluded)
{
    for (int radius : {1, 2, 4}) {
        const TDIB source = randomPicture(7, 5, static_cast<unsigned>(radius));
        const QImage before = source.ToImage();
        TDIB blurred(source);
        blurred.Blur(24, radius);
        const QImage after = blurred.ToImage();
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 7; ++x) {
                long r = 0, g = 0, b = 0, n = 0;
                for (int yy = std::max(0, y - radius); yy <= std::min(4, y + radius); ++yy)
                    for (int xx = std::max(0, x - radius); xx <= std::min(6, x + radius);
                         ++xx, ++n) {
                        r += qRed(before.pixel(xx, yy));
                        g += qGreen(before.pixel(xx, yy));
                        b += qBlue(before.pixel(xx, yy));
                    }
                ASSERT_EQ(after.pixel(x, y) & 0xFFFFFF,
                          qRgb(int(r / n), int(g / n), int(b / n)) & 0xFFFFFF)
                    << "radius " << radius << " at " << x << "," << y;
            }
        }
    }
}

TEST(DibBlur, RadiusZeroLeavesItAndNegativeRadiusCountsAsPositive)
{
    const TDIB source = randomPicture(6, 6, 3);
    TDIB untouched(source);
    untouched.Blur(24, 0);
    EXPECT_TRUE(untouched.SharesImageWith(source));
    TDIB minus(source), plus(source);
    minus.Blur(24, -2);
    plus.Blur(24, 2);
    EXPECT_EQ(minus.ToImage(), plus.ToImage());
    EXPECT_NE(plus.ToImage(), source.ToImage());
}

TEST(DibBlur, SinglePixelKeepsItsColourAndRedGoesToGreyEightyFive)
{
    TDIB one;
    one.SetSize(1, 1, 24);
    one.SetPixel(0, 0, 0x405060);
    one.Blur(24, 3);
    EXPECT_EQ(one.GetPixel(0, 0), 0x405060u);

    TDIB red;
    red.SetSize(4, 3, 24);
    red.Paint([](QPainter& p) { p.fillRect(QRect(0, 0, 4, 3), QColor(255, 0, 0)); });
    red.Blur(8, 1);
    EXPECT_EQ(red.GetBitCount(), 8);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(red.GetPixel(x, y), 85u);
    EXPECT_EQ(red.ColorTable()[85], MakeRGBQuad(85, 85, 85));
}

TEST(DibGreyscale, WeightsTruncate)
{
    TDIB dib;
    dib.SetSize(2, 1, 24);
    dib.SetPixel(0, 0, 0xFFFFFF);
    dib.SetPixel(1, 0, 0x00FF00);
    dib.Greyscale(24);
    EXPECT_EQ(dib.GetPixel(0, 0), 0xFDFDFDu);
    EXPECT_EQ(dib.GetPixel(1, 0), 0x666666u);
}

TEST(DibGreyscale, SameGreyWhateverTheSourceDepth)
{
    const QRgb colour = qRgb(200, 30, 90);
    TDIB trueColour;
    trueColour.SetSize(1, 1, 24);
    trueColour.SetPixel(0, 0, 0x5A1EC8);
    TDIB indexed;
    indexed.SetPalette({qRgb(0, 0, 0), colour});
    indexed.SetSize(1, 1, 8);
    indexed.SetPixel(0, 0, 1);
    trueColour.Greyscale(8);
    indexed.Greyscale(8);
    EXPECT_EQ(trueColour.GetPixel(0, 0), indexed.GetPixel(0, 0));
    EXPECT_EQ(trueColour.GetPixel(0, 0), static_cast<std::uint32_t>(71 + 12 + 21));
}

struct GreyTableCase {
    int bits;
    std::uint8_t second;  // grey of entry 1
    std::uint8_t top;     // grey of the last entry
};

class DibGreyTable : public ::testing::TestWithParam<GreyTableCase> {};

TEST_P(DibGreyTable, SpreadsOverTheWholeRange)
{
    TDIB dib;
    dib.SetSize(2, 1, 24);
    dib.SetPixel(1, 0, 0xFFFFFF);
    dib.Greyscale(GetParam().bits);
    const int top = (1 << GetParam().bits) - 1;
    EXPECT_EQ(dib.ColorTable()[0], MakeRGBQuad(0, 0, 0));
    EXPECT_EQ(dib.ColorTable()[1].rgbRed, GetParam().second);
    EXPECT_EQ(dib.ColorTable()[static_cast<std::size_t>(top)].rgbRed, GetParam().top);
    EXPECT_EQ(dib.ToImage().pixel(1, 0) & 0xFFFFFF,
              GetParam().bits == 8 ? qRgb(253, 253, 253) & 0xFFFFFF : 0xFFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(Cases, DibGreyTable,
                         ::testing::Values(GreyTableCase{1, 255, 255}, GreyTableCase{4, 17, 255},
                                           GreyTableCase{8, 1, 255}));

TEST(DibMirror, BothDirectionsTurnByHalfIncludingTheMiddleLine)
{
    for (int bits : {4, 8, 24}) {
        TDIB dib;
        dib.SetSize(3, 3, bits);
        for (int i = 0; i < 9; ++i)
            dib.SetPixel(i % 3, i / 3, static_cast<std::uint32_t>(i + 1));
        TDIB both(dib), horizontal(dib), vertical(dib);
        both.Mirror(true, true);
        horizontal.Mirror(true, false);
        vertical.Mirror(false, true);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 3; ++x) {
                EXPECT_EQ(both.GetPixel(x, y), dib.GetPixel(2 - x, 2 - y)) << bits;
                EXPECT_EQ(horizontal.GetPixel(x, y), dib.GetPixel(2 - x, y)) << bits;
                EXPECT_EQ(vertical.GetPixel(x, y), dib.GetPixel(x, 2 - y)) << bits;
            }
        }
    }
}

TEST(DibNegative, TwiceRestoresAndIndexedChangesOnlyTheTable)
{
    const TDIB source = randomPicture(5, 4, 9);
    TDIB dib(source);
    dib.Negative();
    EXPECT_EQ(dib.ToImage().pixel(2, 2) & 0xFFFFFF, ~source.ToImage().pixel(2, 2) & 0xFFFFFF);
    dib.Negative();
    EXPECT_EQ(dib.ToImage(), source.ToImage());

    TDIB indexed;
    indexed.SetSize(3, 1, 8);
    indexed.SetPixel(1, 0, 10);
    const std::vector<std::uint8_t> pixelsBefore(indexed.GetPBitsReadOnly(),
                                                 indexed.GetPBitsReadOnly() + indexed.GetSize());
    indexed.Negative();
    EXPECT_EQ(std::vector<std::uint8_t>(indexed.GetPBitsReadOnly(),
                                        indexed.GetPBitsReadOnly() + indexed.GetSize()),
              pixelsBefore);
    EXPECT_EQ(indexed.ColorTable()[10], MakeRGBQuad(245, 245, 245));
}

TEST(DibProgress, ThousandLinesGiveStartRunningHintsAndEnd)
{
    TDIB dib;
    dib.SetSize(2, 1000, 24);
    std::int64_t clock = 0;
    dib.Clock = [&clock] { return clock += 3; };
    std::vector<TDIBProgress> events;
    std::vector<std::int64_t> times;
    dib.OnProgress = [&](const TDIBProgress& p) {
        events.push_back(p);
        times.push_back(clock);
    };
    dib.Greyscale(24);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front().stage, TDIBProgress::Starting);
    EXPECT_EQ(events.front().message, QStringLiteral("Greyscale"));
    EXPECT_EQ(events.back().stage, TDIBProgress::Ending);
    EXPECT_EQ(events.back().percent, 100);
    int lastPercent = 0, hints = 0, lastHintTop = 0;
    std::int64_t lastHintTime = times.front();
    for (std::size_t i = 1; i + 1 < events.size(); ++i) {
        const TDIBProgress& e = events[i];
        ASSERT_EQ(e.stage, TDIBProgress::Running);
        EXPECT_TRUE(e.percent != lastPercent || e.redrawNow) << i;
        if (e.redrawNow) {
            ++hints;
            EXPECT_GT(e.rect.bottom() + 1 - lastHintTop, 32);
            EXPECT_GT(times[i] - lastHintTime, 200);
            EXPECT_EQ(e.rect.top(), lastHintTop);
            lastHintTop = e.rect.bottom() + 1;
            lastHintTime = times[i];
        }
        lastPercent = e.percent;
    }
    EXPECT_EQ(lastPercent, 99);
    EXPECT_GT(hints, 3);
    const auto firstHint = std::find_if(events.begin(), events.end(), [](const TDIBProgress& e) {
        return e.stage == TDIBProgress::Running && e.redrawNow;
    });
    ASSERT_NE(firstHint, events.end());
    EXPECT_LT(firstHint->rect.bottom(), 1000 / 3);
    const long starts = std::count_if(events.begin(), events.end(), [](const TDIBProgress& e) {
        return e.stage == TDIBProgress::Starting;
    });
    EXPECT_EQ(starts, 1);
}

// The effects' result as a picture to look at: a test card blurred, greyed and mirrored.
TEST(DibEffectPicture, IsWrittenAsPng)
{
    TDIB dib;
    dib.SetSize(160, 100, 24);
    dib.Paint([](QPainter& p) {
        p.fillRect(QRect(0, 0, 160, 100), Qt::white);
        p.fillRect(QRect(10, 10, 60, 40), QColor(220, 30, 30));
        p.fillRect(QRect(90, 10, 60, 40), QColor(30, 160, 40));
        p.fillRect(QRect(10, 60, 140, 30), QColor(30, 60, 200));
        p.setPen(Qt::black);
        p.drawLine(0, 0, 159, 99);
    });
    TDIB blurred(dib), grey(dib), mirrored(dib);
    blurred.Blur(24, 4);
    grey.Greyscale(8);
    mirrored.Mirror(true, false);
    QImage sheet(160, 400, QImage::Format_RGB32);
    {
        QPainter p(&sheet);
        dib.Draw(p, QRect(0, 0, 160, 100));
        blurred.Draw(p, QRect(0, 100, 160, 100));
        grey.Draw(p, QRect(0, 200, 160, 100));
        mirrored.Draw(p, QRect(0, 300, 160, 100));
    }
    BildSpeichern(sheet, "dib-effekte.png");
    const QImage back(Bildschirmfotoordner() + "/dib-effekte.png");
    EXPECT_EQ(back.pixel(120, 330) & 0xFFFFFF, qRgb(220, 30, 30) & 0xFFFFFF);
    EXPECT_EQ(back.pixel(40, 30) & 0xFFFFFF, qRgb(220, 30, 30) & 0xFFFFFF);
}

}  // namespace
