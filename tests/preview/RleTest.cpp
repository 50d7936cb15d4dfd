#include "Rle.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

int widthBytesFor(int width, int bits)
{
    return ((width * bits + 31) >> 5) * 4;
}

// One 8-bit line of the given pixels, padded to whole words.
Bytes line8(const Bytes& pixels)
{
    Bytes line(static_cast<std::size_t>(widthBytesFor(static_cast<int>(pixels.size()), 8)), 0);
    std::copy(pixels.begin(), pixels.end(), line.begin());
    return line;
}

Bytes line4(const Bytes& pixels)
{
    Bytes line(static_cast<std::size_t>(widthBytesFor(static_cast<int>(pixels.size()), 4)), 0);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        line[i / 2] |= static_cast<std::uint8_t>(i % 2 == 0 ? pixels[i] << 4 : pixels[i]);
    return line;
}

struct EncodeCase {
    const char* name;
    int bits;
    Bytes pixels;
    Bytes expected;  // the line's encoding without the end-of-bitmap pair
};

void PrintTo(const EncodeCase& c, std::ostream* os)
{
    *os << c.name;
}

class RleEncodeLine : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(RleEncodeLine, MatchesTheExactEncoding)
{
    const EncodeCase& c = GetParam();
    const int width = static_cast<int>(c.pixels.size());
    const Bytes line = c.bits == 8 ? line8(c.pixels) : line4(c.pixels);
    const Bytes got = c.bits == 8
                          ? Rle::EncodeRLE8(line.data(), width, 1, static_cast<int>(line.size()))
                          : Rle::EncodeRLE4(line.data(), width, 1, static_cast<int>(line.size()));
    Bytes expected = c.expected;
    expected.push_back(0);
    expected.push_back(1);
    EXPECT_EQ(got, expected);
}

Bytes repeated(int count, std::uint8_t v)
{
    return Bytes(static_cast<std::size_t>(count), v);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RleEncodeLine,
    ::testing::Values(
        EncodeCase{"TenEqual8", 8, repeated(10, 7), {10, 7, 0, 0}},
        EncodeCase{"Absolute8PaddedToEven", 8, {1, 2, 3, 4, 5}, {0, 5, 1, 2, 3, 4, 5, 0, 0, 0}},
        EncodeCase{"Absolute8Even", 8, {1, 2, 3, 4}, {0, 4, 1, 2, 3, 4, 0, 0}},
        EncodeCase{"ThreeHundredEqual8", 8, repeated(300, 9), {255, 9, 45, 9, 0, 0}},
        EncodeCase{"TwoDifferent8", 8, {4, 8}, {1, 4, 1, 8, 0, 0}},
        EncodeCase{"OneThenRun8", 8, {3, 5, 5, 5}, {1, 3, 3, 5, 0, 0}},
        EncodeCase{"AbsoluteStopsBeforeFourEqual8",
                   8,
                   {1, 2, 3, 4, 6, 6, 6, 6},
                   {0, 4, 1, 2, 3, 4, 4, 6, 0, 0}},
        EncodeCase{"Alternating4", 4, {1, 2, 1, 2, 1, 2}, {2, 0x12, 2, 0x12, 2, 0x12, 0, 0}},
        EncodeCase{"SevenEqual4", 4, repeated(7, 5), {7, 0x55, 0, 0}},
        EncodeCase{"Short4OddWidth", 4, {1, 2, 3}, {2, 0x12, 1, 0x30, 0, 0}},
        EncodeCase{"Absolute4", 4, {1, 2, 3, 4, 5, 6}, {0, 6, 0x12, 0x34, 0x56, 0, 0, 0}}),
    [](const ::testing::TestParamInfo<EncodeCase>& info) { return std::string(info.param.name); });

// Random pictures with long runs and noise mixed, every width from 1 up, both depths.
TEST(RleRoundTrip, EveryPictureComesBackUnchanged)
{
    std::mt19937 random(20);
    for (int bits : {4, 8}) {
        for (int width = 1; width <= 70; ++width) {
            const int height = 1 + width % 5;
            const int wb = widthBytesFor(width, bits);
            Bytes pixels(static_cast<std::size_t>(wb * height), 0);
            const int maxValue = bits == 8 ? 255 : 15;
            for (int y = 0; y < height; ++y) {
                int x = 0;
                while (x < width) {
                    const int v = static_cast<int>(random() % (maxValue + 1));
                    const int runLength =
                        (random() % 3 == 0) ? 1 + static_cast<int>(random() % 300) : 1;
                    for (int i = 0; i < runLength && x < width; ++i, ++x) {
                        std::uint8_t& b =
                            pixels[static_cast<std::size_t>(y * wb + (bits == 8 ? x : x / 2))];
                        if (bits == 8)
                            b = static_cast<std::uint8_t>(v);
                        else
                            b |= static_cast<std::uint8_t>(x % 2 == 0 ? v << 4 : v);
                    }
                }
            }
            const Bytes encoded = bits == 8 ? Rle::EncodeRLE8(pixels.data(), width, height, wb)
                                            : Rle::EncodeRLE4(pixels.data(), width, height, wb);
            EXPECT_EQ(encoded.size() % 2, 0u);
            Bytes decoded(pixels.size(), 0);
            if (bits == 8)
                Rle::DecodeRLE8(encoded.data(), encoded.size(), decoded.data(), width, height, wb);
            else
                Rle::DecodeRLE4(encoded.data(), encoded.size(), decoded.data(), width, height, wb);
            ASSERT_EQ(decoded, pixels) << bits << " bits, width " << width;
        }
    }
}

TEST(RleDecode, DeltaMovesRightAndUp)
{
    const Bytes stream{2, 7, 0, 2, 3, 1, 1, 9, 0, 1};
    const int wb = widthBytesFor(8, 8);
    Bytes pixels(static_cast<std::size_t>(wb * 2), 0);
    Rle::DecodeRLE8(stream.data(), stream.size(), pixels.data(), 8, 2, wb);
    EXPECT_EQ(pixels[0], 7);
    EXPECT_EQ(pixels[1], 7);
    EXPECT_EQ(pixels[static_cast<std::size_t>(wb) + 5], 9);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), static_cast<long>(pixels.size()) - 3);
}

TEST(RleDecode, Rle4NibblesLandInTheirHalves)
{
    // absolute run of 3 nibbles after one pixel: columns 1..3 are 0xA, 0xB, 0xC
    const Bytes stream{1, 0x50, 0, 3, 0xAB, 0xC0, 0, 1};
    const int wb = widthBytesFor(4, 4);
    Bytes pixels(static_cast<std::size_t>(wb), 0);
    Rle::DecodeRLE4(stream.data(), stream.size(), pixels.data(), 4, 1, wb);
    EXPECT_EQ(pixels[0], 0x5A);
    EXPECT_EQ(pixels[1], 0xBC);
}

struct BoundCase {
    const char* name;
    Bytes stream;
};

void PrintTo(const BoundCase& c, std::ostream* os)
{
    *os << c.name;
}

class RleDecodeBounded : public ::testing::TestWithParam<BoundCase> {};

// Streams that run past the picture or end early write nothing outside the 4 x 2 target; a guard
// area around it catches any stray write.
TEST_P(RleDecodeBounded, NeverWritesOutsideThePicture)
{
    const int wb = 4;
    Bytes area(static_cast<std::size_t>(wb * 2 + 64), 0xEE);
    std::uint8_t* pixels = area.data() + 32;
    std::fill(pixels, pixels + wb * 2, 0);
    const Bytes& s = GetParam().stream;
    Rle::DecodeRLE8(s.data(), s.size(), pixels, 4, 2, wb);
    Rle::DecodeRLE4(s.data(), s.size(), pixels, 4, 2, wb);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(area[static_cast<std::size_t>(i)], 0xEE);
        EXPECT_EQ(area[area.size() - 1 - static_cast<std::size_t>(i)], 0xEE);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RleDecodeBounded,
    ::testing::Values(BoundCase{"RunPastLineEnd", {255, 1, 0, 1}},
                      BoundCase{"DeltaPastBottom", {0, 2, 200, 200, 9, 9}},
                      BoundCase{"AbsolutePastData", {0, 200, 1, 2, 3}},
                      BoundCase{"DeltaCutShort", {0, 2, 1}},
                      BoundCase{"NoEndOfBitmap", {4, 3, 0, 0, 4, 3, 0, 0, 4, 3, 0, 0, 4, 3}},
                      BoundCase{"OddLength", {4}}, BoundCase{"AbsoluteWideRows", {0, 255, 0, 0}}),
    [](const ::testing::TestParamInfo<BoundCase>& info) { return std::string(info.param.name); });

}  // namespace
