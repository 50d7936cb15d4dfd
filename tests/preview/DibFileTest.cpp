#include "Dib.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

// Pillow, run as a separate program, dumps a bitmap as "width height" and one hex RGB triple per
// pixel.
QVector<QRgb> readWithPillow(const QString& path, QSize& size)
{
    QProcess python;
    python.start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral("-c"),
         QStringLiteral(
             "import sys\nfrom PIL import Image\nim=Image.open(sys.argv[1]).convert('RGB')\n"
             "print(im.size[0], im.size[1])\nprint(im.tobytes().hex())"),
         path});
    python.waitForFinished(30000);
    const QList<QByteArray> lines = python.readAllStandardOutput().split('\n');
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    if (lines.size() < 2)
        return {};
    const QList<QByteArray> dims = lines[0].split(' ');
    size = QSize(dims.value(0).toInt(), dims.value(1).toInt());
    const QByteArray rgb = QByteArray::fromHex(lines[1]);
    QVector<QRgb> out;
    for (int i = 0; i + 2 < rgb.size(); i += 3)
        out.push_back(qRgb(static_cast<std::uint8_t>(rgb[i]), static_cast<std::uint8_t>(rgb[i + 1]),
                           static_cast<std::uint8_t>(rgb[i + 2])));
    return out;
}

int expand(int v, int bits)
{
    return bits == 5 ? (v << 3) | (v >> 2) : (v << 2) | (v >> 4);
}

struct DepthCase {
    const char* name;
    int bits;
    int greenBits;  // 16 bits only: 5 or 6
    bool compressed;
};

void PrintTo(const DepthCase& c, std::ostream* os)
{
    *os << c.name;
}

class DibWrittenFile : public ::testing::TestWithParam<DepthCase> {};

// A picture with runs and noise at every depth; the colour each pixel must have is worked out here
// from its raw value, not through the bitmap's own conversion.
TEST_P(DibWrittenFile, IndependentReadersSeeTheSamePixels)
{
    const DepthCase& c = GetParam();
    const int width = 13, height = 5;
    TDIB dib;
    QVector<QRgb> table;
    if (c.bits <= 8) {
        for (int i = 0; i < (1 << c.bits); ++i)
            table.push_back(qRgb((i * 37) % 256, (i * 91 + 7) % 256, 255 - i));
        dib.SetPalette(table);
    }
    if (c.bits == 16)
        dib.SetNowPixelFormat(PixelFormatFromBits(5, c.greenBits, 5));
    dib.SetSize(width, height, c.bits);
    ASSERT_EQ(dib.GetBitCount(), c.bits);
    std::mt19937 random(c.bits * 10 + c.greenBits);
    QVector<QRgb> expected;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = (x < 6 && y % 2 == 0) ? 0x00123456u : random();
            std::uint32_t stored;
            QRgb colour;
            if (c.bits <= 8) {
                stored = v % (1u << c.bits);
                colour = table[static_cast<int>(stored)];
            } else if (c.bits == 16) {
                stored = v & 0xFFFF;
                if (c.greenBits == 5)
                    stored &= 0x7FFF;
                const int g = c.greenBits;
                colour = qRgb(expand(static_cast<int>(stored >> (5 + g)) & 31, 5),
                              expand(static_cast<int>(stored >> 5) & ((1 << g) - 1), g),
                              expand(static_cast<int>(stored) & 31, 5));
            } else if (c.bits == 32) {
                stored = v & 0xFFFFFF;
                colour =
                    qRgb(static_cast<int>(stored >> 16), static_cast<int>((stored >> 8) & 0xFF),
                         static_cast<int>(stored & 0xFF));
            } else {
                stored = v & 0xFFFFFF;
                colour =
                    qRgb(static_cast<int>(stored & 0xFF), static_cast<int>((stored >> 8) & 0xFF),
                         static_cast<int>(stored >> 16));
            }
            dib.SetPixel(x, y, stored);
            expected.push_back(colour);
        }
    }
    if (c.compressed) {
        dib.Compress();
        ASSERT_TRUE(dib.IsCompressed());
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bild.bmp"));
    dib.SaveToFile(path);

    // Qt turns 5-bit components into 8 bits without filling the low bits; allow for it there.
    const int tolerance = c.bits == 16 ? 7 : 0;
    auto toleranceFor = [&](const char* reader) {
        return std::string(reader) == "TDIB" ? 0 : tolerance;
    };
    auto compare = [&](const QVector<QRgb>& got, const char* reader) {
        ASSERT_EQ(got.size(), expected.size()) << reader;
        for (int i = 0; i < got.size(); ++i) {
            const QRgb a = got[i], e = expected[i];
            ASSERT_LE(std::abs(qRed(a) - qRed(e)), toleranceFor(reader))
                << reader << " pixel " << i;
            ASSERT_LE(std::abs(qGreen(a) - qGreen(e)), toleranceFor(reader))
                << reader << " pixel " << i;
            ASSERT_LE(std::abs(qBlue(a) - qBlue(e)), toleranceFor(reader))
                << reader << " pixel " << i;
        }
    };
    QImage qt(path, "BMP");
    ASSERT_FALSE(qt.isNull());
    QVector<QRgb> qtPixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            qtPixels.push_back(qt.pixel(x, y));
    compare(qtPixels, "QImage");
    QSize pilSize;
    const QVector<QRgb> pil = readWithPillow(path, pilSize);
    EXPECT_EQ(pilSize, QSize(width, height));
    compare(pil, "Pillow");

    TDIB back;
    back.LoadFromFile(path);
    compare(
        [&] {
            QVector<QRgb> own;
            const QImage img = back.ToImage();
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    own.push_back(img.pixel(x, y));
            return own;
        }(),
        "TDIB");
}

INSTANTIATE_TEST_SUITE_P(
    Depths, DibWrittenFile,
    ::testing::Values(DepthCase{"Bits1", 1, 0, false}, DepthCase{"Bits4", 4, 0, false},
                      DepthCase{"Bits8", 8, 0, false}, DepthCase{"Bits16x555", 16, 5, false},
                      DepthCase{"Bits16x565", 16, 6, false}, DepthCase{"Bits24", 24, 0, false},
                      DepthCase{"Bits32", 32, 0, false}, DepthCase{"Rle4", 4, 0, true},
                      DepthCase{"Rle8", 8, 0, true}),
    [](const ::testing::TestParamInfo<DepthCase>& info) { return std::string(info.param.name); });

TEST(DibFileLayout, TwoByTwoEightBitFile)
{
    TDIB dib;
    dib.SetSize(2, 2, 8);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    dib.SaveToStream(buffer);
    const QByteArray bytes = buffer.data();
    ASSERT_EQ(bytes.size(), 14 + 40 + 1024 + 8);
    auto u32 = [&bytes](int at) {
        return static_cast<std::uint8_t>(bytes[at]) |
               (static_cast<std::uint8_t>(bytes[at + 1]) << 8) |
               (static_cast<std::uint8_t>(bytes[at + 2]) << 16) |
               (static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 3])) << 24);
    };
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(u32(2), 1086u);
    EXPECT_EQ(u32(10), 1078u);
}

TEST(DibFileLayout, SixteenBitsWriteBitFieldsAndMasks)
{
    TDIBSharedImage image;
    TColorTable table{};
    image.NewImage(3, 1, 16, PixelFormatFromBits(5, 6, 5), table, false);
    const auto& info = image.BitmapInfo();
    ASSERT_EQ(info.size(), 52u);
    EXPECT_EQ(info[16], 3);
    EXPECT_EQ(info[40] | (info[41] << 8), 0xF800);
    EXPECT_EQ(info[44] | (info[45] << 8), 0x07E0);
    EXPECT_EQ(info[48], 0x1F);
    TDIBSharedImage narrow;
    narrow.NewImage(3, 1, 24, PixelFormatFromBits(8, 8, 8), table, false);
    EXPECT_EQ(narrow.WidthBytes(), 12);
    narrow.NewImage(1, 1, 1, PixelFormatFromBits(8, 8, 8), table, false);
    EXPECT_EQ(narrow.WidthBytes(), 4);
}

TEST(DibPixelFormat, BitsMasksPackAndUnpack)
{
    const TDIBPixelFormat f = PixelFormatFromBits(5, 6, 5);
    EXPECT_EQ(f.RShift, 8);
    EXPECT_EQ(f.GShift, 3);
    EXPECT_EQ(f.BShift, 3);
    EXPECT_EQ(f.RFill, 3);
    EXPECT_EQ(f.GFill, 2);
    EXPECT_EQ(f.BFill, 3);
    std::uint8_t r, g, b;
    UnpackPixelRGB(f, 0xFFFF, r, g, b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 255);
    EXPECT_EQ(b, 255);
    EXPECT_EQ(CountMaskBits(0x07E0), 6);
    EXPECT_EQ(CountMaskBits(0), 0);
    EXPECT_EQ(PackPixelRGB(f, 0xFF, 0, 0x08), 0xF801u);
}

struct NewImageErrorCase {
    const char* name;
    int bits;
    TDIBPixelFormat format;
    const char* message;
};

void PrintTo(const NewImageErrorCase& c, std::ostream* os)
{
    *os << c.name;
}

class DibNewImageRefused : public ::testing::TestWithParam<NewImageErrorCase> {};

TEST_P(DibNewImageRefused, WithTheMessage)
{
    TDIBSharedImage image;
    TColorTable table{};
    try {
        image.NewImage(4, 4, GetParam().bits, GetParam().format, table, false);
        FAIL() << "no error";
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DibNewImageRefused,
    ::testing::Values(NewImageErrorCase{"TwentyFourWith555", 24, PixelFormatFromBits(5, 5, 5),
                                        "PixelFormat in invalid"},
                      NewImageErrorCase{"SixteenWith888", 16, PixelFormatFromBits(8, 8, 8),
                                        "PixelFormat in invalid"},
                      NewImageErrorCase{"TwoBits", 2, PixelFormatFromBits(8, 8, 8),
                                        "Bitcount in invalid (2)"}),
    [](const ::testing::TestParamInfo<NewImageErrorCase>& info) {
        return std::string(info.param.name);
    });

// --- Files built byte by byte: legal variants the writer never makes, checked against QImage.

QByteArray le16(int v)
{
    return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char((v >> 8) & 0xFF));
}
QByteArray le32(std::int64_t v)
{
    return le16(static_cast<int>(v & 0xFFFF)) + le16(static_cast<int>((v >> 16) & 0xFFFF));
}

struct FileLayout {
    int width = 3;
    int height = 2;  // negative: top-down
    int bits = 8;
    int compression = 0;
    std::int64_t colorsUsed = 0;
    int tableEntries = 256;  // entries actually written
    int gap = 0;             // bytes between the table and the pixels
    bool core = false;
    std::int64_t imageSize = -1;
    std::int64_t offsetOverride = -1;
    int headerSize = 40;
    QByteArray pixels;  // empty: a pattern of width bytes x lines
};

QByteArray buildFile(FileLayout s)
{
    const int lines = std::abs(s.height);
    const int wb = ((s.width * s.bits + 31) >> 5) * 4;
    if (s.pixels.isEmpty())
        for (int i = 0; i < wb * lines; ++i)
            s.pixels.append(char((i * 7 + 3) % (1 << std::min(s.bits, 8))));
    QByteArray info;
    if (s.core) {
        info = le32(12) + le16(s.width) + le16(s.height) + le16(1) + le16(s.bits);
    } else {
        info = le32(s.headerSize) + le32(s.width) + le32(s.height) + le16(1) + le16(s.bits) +
               le32(s.compression) + le32(s.imageSize >= 0 ? s.imageSize : s.pixels.size()) +
               le32(0) + le32(0) + le32(s.colorsUsed) + le32(0);
        info.append(QByteArray(std::max(0, s.headerSize - 40), '\0'));
    }
    // Readers differ on the pixels an RLE stream skips (Qt leaves them uninitialised), so the RLE
    // fixtures compared with Qt cover every pixel; entry 0 is black for the explicit cases.
    const bool rle = s.compression == 1 || s.compression == 2;
    for (int i = 0; i < s.tableEntries; ++i) {
        info.append(char((i * 3) % 256));
        info.append(char(rle && i == 0 ? 0 : (i * 5 + 1) % 256));
        info.append(char(rle && i == 0 ? 0 : 255 - i % 256));
        if (!s.core)
            info.append('\0');
    }
    info.append(QByteArray(s.gap, '\x77'));
    const std::int64_t offset = s.offsetOverride >= 0 ? s.offsetOverride : 14 + info.size();
    return "BM" + le32(14 + info.size() + s.pixels.size()) + le32(0) + le32(offset) + info +
           s.pixels;
}

QImage loadDib(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TDIB dib;
    dib.LoadFromStream(buffer);
    return dib.ToImage();
}

void expectSamePixels(const QImage& own, const QImage& reference)
{
    ASSERT_FALSE(reference.isNull());
    ASSERT_EQ(own.size(), reference.size());
    for (int y = 0; y < own.height(); ++y)
        for (int x = 0; x < own.width(); ++x)
            ASSERT_EQ(own.pixel(x, y) & 0xFFFFFF, reference.pixel(x, y) & 0xFFFFFF)
                << x << "," << y;
}

struct LegalCase {
    const char* name;
    FileLayout layout;
};

void PrintTo(const LegalCase& c, std::ostream* os)
{
    *os << c.name;
}

class DibLegalFile : public ::testing::TestWithParam<LegalCase> {};

TEST_P(DibLegalFile, ReadsAsQImageDoes)
{
    const QByteArray bytes = buildFile(GetParam().layout);
    expectSamePixels(loadDib(bytes), QImage::fromData(bytes, "BMP"));
}

FileLayout layout(std::function<void(FileLayout&)> change)
{
    FileLayout s;
    change(s);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DibLegalFile,
    ::testing::Values(LegalCase{"Plain8", layout([](FileLayout&) {})},
                      LegalCase{"TopDown", layout([](FileLayout& s) { s.height = -2; })},
                      LegalCase{"CoreHeader", layout([](FileLayout& s) { s.core = true; })},
                      LegalCase{"GapBeforePixels", layout([](FileLayout& s) { s.gap = 6; })},
                      LegalCase{"ShortTable", layout([](FileLayout& s) {
                                    s.colorsUsed = 20;
                                    s.tableEntries = 20;
                                    s.pixels = QByteArray(8, '\x13');
                                })},
                      LegalCase{"ForeignRle4", layout([](FileLayout& s) {
                                    s.width = 8;
                                    s.bits = 4;
                                    s.compression = 2;
                                    s.tableEntries = 16;
                                    s.pixels = QByteArray(
                                        "\x04\x12\x00\x04\x34\x56\x00\x00"
                                        "\x03\xAB\x05\xCD\x00\x00\x00\x01",
                                        16);
                                })},
                      LegalCase{"TwentyFourBitsWithGap", layout([](FileLayout& s) {
                                    s.bits = 24;
                                    s.tableEntries = 0;
                                    s.gap = 2;
                                })}),
    [](const ::testing::TestParamInfo<LegalCase>& info) { return std::string(info.param.name); });

// Qt leaves skipped pixels uninitialised and Pillow 9 mishandles the delta escape; ImageMagick
// reads this stream as the expected indices below (a run of 2, a delta of 3 right and 1 up, an
// absolute run of 3), skipped pixels black.
TEST(DibReadFile, ForeignRle8WithDelta)
{
    QBuffer buffer;
    buffer.setData(buildFile(layout([](FileLayout& s) {
        s.width = 6;
        s.height = 3;
        s.compression = 1;
        s.pixels = QByteArray(
            "\x02\x05\x00\x02\x03\x01\x01\x09\x00\x00\x00\x03\x07\x08\x09\x00\x00\x01", 18);
    })));
    buffer.open(QIODevice::ReadOnly);
    TDIB dib;
    dib.LoadFromStream(buffer);
    const std::uint32_t expected[3][6] = {
        {7, 8, 9, 0, 0, 0}, {0, 0, 0, 0, 0, 9}, {5, 5, 0, 0, 0, 0}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(dib.GetPixel(x, y), expected[y][x]) << x << "," << y;
}

// Masks of a file go through the same check as a new shape: 32 bits need 8-8-8.
TEST(DibReadFile, FullWidthMasksAreRefused)
{
    QByteArray bytes = buildFile(layout([](FileLayout& s) {
        s.bits = 32;
        s.compression = 3;
        s.tableEntries = 0;
        s.gap = 12;
    }));
    bytes.replace(14 + 40, 12, QByteArray(12, '\xFF'));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TDIB dib;
    try {
        dib.LoadFromStream(buffer);
        FAIL() << "no error";
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "PixelFormat in invalid");
    }
    EXPECT_TRUE(dib.GetEmpty());
}

TEST(DibReadFile, TopDownFileHasItsFirstStoredLineOnTop)
{
    const QImage img = loadDib(buildFile(layout([](FileLayout& s) {
        s.height = -2;
        s.pixels = QByteArray("\x01\x01\x01\x00\x02\x02\x02\x00", 8);
    })));
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, qRgb(255 - 1, 5 + 1, 3) & 0xFFFFFF);
}

TEST(DibReadFile, TableOverTwoHundredFiftySixEntriesIsSkipped)
{
    const QByteArray bytes = buildFile(layout([](FileLayout& s) {
        s.colorsUsed = 300;
        s.tableEntries = 300;
    }));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TDIB dib;
    dib.LoadFromStream(buffer);
    // pattern byte (i*7+3): line 0 from the top is the second stored line, its first byte 4*7+3 =
    // 31
    EXPECT_EQ(dib.GetPixel(0, 0), 31u);
    EXPECT_EQ(dib.GetPixel(0, 1), 3u);
    EXPECT_EQ(dib.ColorTable()[31].rgbBlue, 93);
}

TEST(DibReadFile, ClipboardFormHasNoFileHeader)
{
    TDIB dib;
    dib.SetSize(5, 3, 24);
    dib.SetPixel(4, 2, 0x123456);
    const QByteArray data = dib.SaveToClipboardFormat();
    EXPECT_EQ(data.size(), 40 + 16 * 3);
    TDIB back;
    back.LoadFromClipboardFormat(data);
    EXPECT_EQ(back.GetPixel(4, 2), 0x123456u);
}

TEST(DibReadFile, EmptyStreamLeavesEmptyImage)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadOnly);
    TDIBSharedImage image;
    image.ReadData(buffer);
    EXPECT_EQ(image.Size(), 0);
}

struct BadCase {
    const char* name;
    QByteArray bytes;
    const char* message;
};

void PrintTo(const BadCase& c, std::ostream* os)
{
    *os << c.name;
}

class DibBadFile : public ::testing::TestWithParam<BadCase> {};

TEST_P(DibBadFile, IsRefusedAndTheOldPictureStays)
{
    TDIB dib;
    dib.SetSize(2, 2, 24);
    dib.SetPixel(1, 1, 0xABCDEF);
    QBuffer buffer;
    buffer.setData(GetParam().bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        dib.LoadFromStream(buffer);
        FAIL() << "no error";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(QString::fromUtf8(e.what()).indexOf(QString::fromUtf8(GetParam().message)), -1)
            << e.what();
    }
    EXPECT_EQ(dib.GetWidth(), 2);
    EXPECT_EQ(dib.GetPixel(1, 1), 0xABCDEFu);
}

QByteArray truncatedBy(const QByteArray& b, int n)
{
    return b.left(b.size() - n);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DibBadFile,
    ::testing::Values(
        BadCase{"NotBM", "XY" + buildFile(FileLayout{}).mid(2), "DIB is invalid"},
        BadCase{"ShortFileHeader", QByteArray("BM\x10\x00", 4), "DIB is invalid"},
        BadCase{"HeaderSize108", buildFile(layout([](FileLayout& s) { s.headerSize = 108; })),
                "DIB is invalid"},
        BadCase{"CompressionFour", buildFile(layout([](FileLayout& s) { s.compression = 4; })),
                "DIB is invalid"},
        BadCase{"Rle8OnTwentyFourBits", buildFile(layout([](FileLayout& s) {
                    s.bits = 24;
                    s.tableEntries = 0;
                    s.compression = 1;
                })),
                "DIB is invalid"},
        BadCase{"TruncatedPixels", truncatedBy(buildFile(FileLayout{}), 3), "zu kurz"},
        BadCase{"TruncatedTable", buildFile(FileLayout{}).left(14 + 40 + 100), "zu kurz"},
        BadCase{"TruncatedHeader", buildFile(FileLayout{}).left(14 + 20), "unvollständig"},
        BadCase{"HugeDimensions", buildFile(layout([](FileLayout& s) {
                    s.width = 0x7FFFFFFF;
                    s.height = 0x7FFFFFFF;
                    s.bits = 32;
                    s.tableEntries = 0;
                    s.pixels = QByteArray(16, '\0');
                })),
                "zu groß"},
        BadCase{"LiesAboutItsSize", buildFile(layout([](FileLayout& s) {
                    s.width = 4000;
                    s.height = 3000;
                    s.pixels = QByteArray(64, '\0');
                })),
                "zu kurz"},
        BadCase{"NegativeWidth", buildFile(layout([](FileLayout& s) { s.width = -3; })),
                "ungültige Größe"},
        BadCase{"OffsetInsideHeader",
                buildFile(layout([](FileLayout& s) { s.offsetOverride = 30; })), "beschädigt"},
        BadCase{"OffsetPastEnd", buildFile(layout([](FileLayout& s) { s.offsetOverride = 5000; })),
                "zu kurz"},
        BadCase{"HugeColorsUsed",
                buildFile(layout([](FileLayout& s) { s.colorsUsed = 0xFFFFFFF; })), "zu kurz"},
        BadCase{"RleWithoutImageSize", buildFile(layout([](FileLayout& s) {
                    s.compression = 1;
                    s.imageSize = 0;
                })),
                "DIB is invalid"},
        BadCase{"RleTopDown", buildFile(layout([](FileLayout& s) {
                    s.compression = 1;
                    s.height = -2;
                })),
                "ungültige Größe"}),
    [](const ::testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

// ImageMagick writes RLE8 (it has no RLE4 writer); the picture must come back as the PNG it came
// from.
TEST(DibReadFile, ImageMagickRle8IsReadWithIdenticalPixels)
{
    QTemporaryDir dir;
    QImage source(23, 9, QImage::Format_Indexed8);
    QVector<QRgb> colours;
    for (int i = 0; i < 256; ++i)
        colours.push_back(qRgb(i, 255 - i, (i * 7) % 256));
    source.setColorTable(colours);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(x, y, static_cast<uint>(x < 10 ? y * 3 : (x * 13 + y) % 40));
    const QString png = dir.filePath(QStringLiteral("quelle.png"));
    const QString bmp = dir.filePath(QStringLiteral("rle8.bmp"));
    ASSERT_TRUE(source.save(png));
    const QString convert = QFile::exists(QStringLiteral("/usr/bin/convert"))
                                ? QStringLiteral("/usr/bin/convert")
                                : QStringLiteral("convert");
    ASSERT_EQ(QProcess::execute(convert, {png, QStringLiteral("-compress"), QStringLiteral("RLE"),
                                          QStringLiteral("BMP3:") + bmp}),
              0);
    TDIB dib;
    dib.LoadFromFile(bmp);
    ASSERT_TRUE(dib.IsCompressed());
    EXPECT_EQ(dib.GetBitCount(), 8);
    expectSamePixels(dib.ToImage(), source.convertToFormat(QImage::Format_RGB32));
}

TEST(DibReadFile, RleThatStopsEarlyLeavesZeroPixels)
{
    // One run of 2 pixels of index 5 and the end of the bitmap: the rest must be index 0.
    const QByteArray bytes = buildFile(layout([](FileLayout& s) {
        s.compression = 1;
        s.width = 4;
        s.height = 2;
        s.pixels = QByteArray("\x02\x05\x00\x01", 4);
    }));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TDIB dib;
    dib.LoadFromStream(buffer);
    EXPECT_EQ(dib.GetPixel(0, 1), 5u);
    EXPECT_EQ(dib.GetPixel(1, 1), 5u);
    EXPECT_EQ(dib.GetPixel(2, 1), 0u);
    EXPECT_EQ(dib.GetPixel(3, 0), 0u);
}

}  // namespace
