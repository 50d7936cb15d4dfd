#include "Dib.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

TEST(Dib, EmptyThenWidthThenHeightGivesEightBitGrey)
{
    TDIB dib;
    EXPECT_TRUE(dib.GetEmpty());
    dib.SetWidth(100);
    EXPECT_EQ(dib.GetWidth(), 100);
    EXPECT_EQ(dib.GetHeight(), 1);
    EXPECT_EQ(dib.GetBitCount(), 8);
    EXPECT_EQ(dib.ColorTable()[77], MakeRGBQuad(77, 77, 77));
    dib.SetHeight(50);
    EXPECT_EQ(dib.GetWidth(), 100);
    EXPECT_EQ(dib.GetHeight(), 50);
    EXPECT_EQ(dib.GetBitCount(), 8);
}

// What the preview window's page bitmap needs: a 24-bit picture resized keeps 24 bits and starts
// black, and drawing into it lands in the pixels.
TEST(Dib, PreviewPageBitmapKeepsTwentyFourBitsAndStartsAtZero)
{
    QImage platform(10, 10, QImage::Format_RGB888);
    platform.fill(Qt::white);
    TDIB dib;
    dib.Assign(platform);
    EXPECT_EQ(dib.GetBitCount(), 24);
    EXPECT_EQ(dib.GetPixel(9, 9), 0xFFFFFFu);
    dib.SetWidth(300);
    dib.SetHeight(400);
    EXPECT_EQ(dib.GetBitCount(), 24);
    EXPECT_EQ(dib.GetWidth(), 300);
    EXPECT_EQ(dib.GetHeight(), 400);
    const std::uint8_t* bits = dib.GetPBitsReadOnly();
    EXPECT_TRUE(std::all_of(bits, bits + dib.GetSize(), [](std::uint8_t b) { return b == 0; }));
    dib.Paint([](QPainter& p) { p.fillRect(QRect(10, 20, 5, 5), QColor(0x11, 0x22, 0x33)); });
    EXPECT_EQ(dib.GetPixel(12, 22), 0x332211u);
    EXPECT_EQ(dib.GetPixel(9, 22), 0u);

    QImage target(600, 800, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        QPainter painter(&target);
        dib.Draw(painter, QRect(0, 0, 600, 800));
    }
    EXPECT_EQ(target.pixel(25, 45), qRgb(0x11, 0x22, 0x33));
    EXPECT_EQ(target.pixel(5, 5), qRgb(0, 0, 0));
}

TEST(Dib, SharedCopiesStayIndependent)
{
    TDIB a;
    a.SetSize(4, 4, 8);
    TDIB b(a);
    EXPECT_TRUE(b.SharesImageWith(a));
    b.SetPixel(1, 1, 9);
    EXPECT_FALSE(b.SharesImageWith(a));
    EXPECT_EQ(a.GetPixel(1, 1), 0u);
    EXPECT_EQ(b.GetPixel(1, 1), 9u);
    TDIB c;
    c.Assign(a);
    c.Paint([](QPainter& p) { p.fillRect(QRect(0, 0, 4, 4), Qt::white); });
    EXPECT_EQ(a.GetPixel(2, 2), 0u);
    EXPECT_EQ(c.GetPixel(2, 2), 255u);
}

TEST(Dib, PixelsPerDepth)
{
    TDIB four;
    four.SetSize(8, 1, 4);
    four.SetPixel(5, 0, 0xA);
    EXPECT_EQ(four.GetScanLineReadOnly(0)[2], 0x0A);
    four.SetPixel(4, 0, 0x3);
    EXPECT_EQ(four.GetScanLineReadOnly(0)[2], 0x3A);

    TDIB one;
    one.SetSize(9, 1, 1);
    one.SetPixel(8, 0, 1);
    EXPECT_EQ(one.GetScanLineReadOnly(0)[1], 0x80);

    TDIB rgb;
    rgb.SetSize(3, 2, 24);
    std::uint8_t* line = rgb.GetScanLine(1);
    line[3] = 1;
    line[4] = 2;
    line[5] = 3;
    EXPECT_EQ(rgb.GetPixel(1, 1), 3u + 2u * 256u + 1u * 65536u);

    TDIB word;
    word.SetSize(2, 2, 32);
    word.SetPixel(1, 0, 0xDEADBEEF);
    EXPECT_EQ(word.GetPixel(1, 0), 0xDEADBEEFu);

    EXPECT_EQ(rgb.GetPixel(-1, 0), 0u);
    rgb.SetPixel(3, 0, 0xFFFFFF);
    EXPECT_THROW(rgb.GetScanLine(-1), EInvalidGraphicOperation);
    try {
        rgb.GetScanLine(2);
        FAIL();
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "Index of the scanning line exceeded the range. (2)");
    }
}

TEST(Dib, ConvertToFourBitsUsesTheCubePalette)
{
    TDIB dib;
    dib.SetSize(3, 1, 24);
    dib.SetPixel(0, 0, 0xFFFFFF);
    dib.SetPixel(1, 0, 0x0000FF);  // red
    dib.SetPixel(2, 0, 0x000000);
    dib.SetBitCount(4);
    EXPECT_EQ(dib.GetBitCount(), 4);
    EXPECT_EQ(dib.ColorTable()[15], MakeRGBQuad(255, 255, 255));
    EXPECT_EQ(dib.ColorTable()[0], MakeRGBQuad(0, 0, 0));
    EXPECT_EQ(dib.GetPixel(0, 0), 15u);
    EXPECT_EQ(dib.GetPixel(1, 0), 8u);
    EXPECT_EQ(dib.GetPixel(2, 0), 0u);
}

TEST(Dib, ConversionsKeepThePicture)
{
    TDIB source;
    source.SetSize(5, 3, 8);
    for (int i = 0; i < 15; ++i)
        source.SetPixel(i % 5, i / 5, static_cast<std::uint32_t>(i * 17));
    const QImage original = source.ToImage();
    for (int bits : {16, 24, 32, 8}) {
        TDIB copy(source);
        copy.ConvertBitCount(bits);
        EXPECT_EQ(copy.GetBitCount(), bits);
        // grey levels are multiples of 17, which 5-bit components cannot all hold exactly
        const QImage got = copy.ToImage();
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_LE(std::abs(qRed(got.pixel(x, y)) - qRed(original.pixel(x, y))),
                          bits == 16 ? 4 : 0)
                    << bits;
    }
    TDIB indices(source);
    indices.SetPixel(0, 0, 200);
    TDIB wider(indices);
    wider.ConvertBitCount(8);
    EXPECT_TRUE(wider.SharesImageWith(indices));
    TDIB mono;
    mono.SetSize(2, 1, 1);
    mono.SetPixel(1, 0, 1);
    mono.ConvertBitCount(8);
    EXPECT_EQ(mono.GetPixel(1, 0), 1u);
    EXPECT_EQ(mono.GetPixel(0, 0), 0u);
}

TEST(Dib, NowPixelFormatRepacksSixteenBits)
{
    TDIB dib;
    dib.SetSize(1, 1, 16);
    dib.SetPixel(0, 0, 0x7C00);  // 5-5-5 red
    dib.SetNowPixelFormat(PixelFormatFromBits(5, 6, 5));
    EXPECT_EQ(dib.GetPixel(0, 0), 0xF800u);
}

TEST(Dib, CompressedBitmapDecompressesOnWrite)
{
    TDIB dib;
    dib.SetSize(20, 2, 8);
    dib.SetPixel(3, 1, 7);
    dib.Compress();
    ASSERT_TRUE(dib.IsCompressed());
    EXPECT_LT(dib.GetSize(), 20 * 2);
    dib.SetPixel(4, 1, 8);
    EXPECT_FALSE(dib.IsCompressed());
    EXPECT_EQ(dib.GetPixel(3, 1), 7u);
    EXPECT_EQ(dib.GetPixel(4, 1), 8u);
}

}  // namespace
