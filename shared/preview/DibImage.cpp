#include "DibImage.h"

#include "Rle.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

void put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::uint8_t* p, std::uint32_t v)
{
    put16(p, v);
    put16(p + 2, v >> 16);
}

std::uint32_t get16(const std::uint8_t* p)
{
    return p[0] | (static_cast<std::uint32_t>(p[1]) << 8);
}
std::uint32_t get32(const std::uint8_t* p)
{
    return get16(p) | (get16(p + 2) << 16);
}

bool masksEqual(const TDIBPixelFormat& f, std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return static_cast<std::uint32_t>(f.RBitMask) == r &&
           static_cast<std::uint32_t>(f.GBitMask) == g &&
           static_cast<std::uint32_t>(f.BBitMask) == b;
}

[[noreturn]] void truncated()
{
    throw EInvalidGraphic(
        QStringLiteral("Die Bitmap-Daten sind unvollständig: die Datei endet vorzeitig."));
}

void readExactly(QIODevice& stream, void* target, std::int64_t length)
{
    if (length > 0 && stream.read(static_cast<char*>(target), length) != length)
        truncated();
}

void skip(QIODevice& stream, std::int64_t length)
{
    char buffer[4096];
    while (length > 0) {
        const std::int64_t chunk = std::min<std::int64_t>(length, sizeof buffer);
        readExactly(stream, buffer, chunk);
        length -= chunk;
    }
}

// Refuses a pixel block the stream cannot hold before it is allocated; a sequential stream is
// checked by the read itself.
void checkAvailable(QIODevice& stream, std::int64_t needed)
{
    if (!stream.isSequential() && stream.size() - stream.pos() < needed)
        throw EInvalidGraphic(
            QStringLiteral(
                "Die Bitmap-Datei ist zu kurz: %1 Bytes Bilddaten erwartet, %2 vorhanden.")
                .arg(needed)
                .arg(stream.size() - stream.pos()));
}

}  // namespace

bool TDIBPixelFormat::operator==(const TDIBPixelFormat& o) const
{
    return RBitMask == o.RBitMask && GBitMask == o.GBitMask && BBitMask == o.BBitMask &&
           RBitCount == o.RBitCount && GBitCount == o.GBitCount && BBitCount == o.BBitCount &&
           RShift == o.RShift && GShift == o.GShift && BShift == o.BShift && RFill == o.RFill &&
           GFill == o.GFill && BFill == o.BFill;
}

namespace {
// Masks from a file can have up to 32 bits each; what does not fit a 32-bit pixel falls away.
std::int32_t bitMask(int count, int shift)
{
    if (shift >= 32)
        return 0;
    const std::uint64_t mask = ((std::uint64_t{1} << count) - 1) << shift;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(mask));
}
}  // namespace

TDIBPixelFormat PixelFormatFromBits(int r, int g, int b)
{
    TDIBPixelFormat f;
    f.RBitMask = bitMask(r, g + b);
    f.GBitMask = bitMask(g, b);
    f.BBitMask = bitMask(b, 0);
    f.RBitCount = r;
    f.GBitCount = g;
    f.BBitCount = b;
    f.RShift = g + b - (8 - r);
    f.GShift = b - (8 - g);
    f.BShift = 8 - b;
    f.RFill = 8 - r;
    f.GFill = 8 - g;
    f.BFill = 8 - b;
    return f;
}

int CountMaskBits(std::uint32_t mask)
{
    int bit = 0;
    while (bit <= 30 && (mask & (1u << bit)) == 0)
        ++bit;
    int count = 0;
    while (bit <= 31 && (mask & (1u << bit)) != 0) {
        ++count;
        ++bit;
    }
    return count;
}

TDIBPixelFormat PixelFormatFromMasks(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return PixelFormatFromBits(CountMaskBits(red), CountMaskBits(green), CountMaskBits(blue));
}

// Shifts may be negative for unusual masks; they then turn into a shift the other way.
namespace {
std::uint32_t shiftRight(std::uint32_t v, int s)
{
    return s >= 0 ? v >> s : v << -s;
}
std::uint32_t shiftLeft(std::uint32_t v, int s)
{
    return s >= 0 ? v << s : v >> -s;
}
}  // namespace

std::uint32_t PackPixelRGB(const TDIBPixelFormat& f, std::uint8_t red, std::uint8_t green,
                           std::uint8_t blue)
{
    return (shiftLeft(red, f.RShift) & static_cast<std::uint32_t>(f.RBitMask)) |
           (shiftLeft(green, f.GShift) & static_cast<std::uint32_t>(f.GBitMask)) |
           (shiftRight(blue, f.BShift) & static_cast<std::uint32_t>(f.BBitMask));
}

// The low bits are filled with the component's top bits (shift by its bit count), so 5 and 6
// bits spread evenly over 0..255; shifting by the fill field would OR in far more than the
// missing bits and lighten every colour.
void UnpackPixelRGB(const TDIBPixelFormat& f, std::uint32_t pixel, std::uint8_t& red,
                    std::uint8_t& green, std::uint8_t& blue)
{
    red = static_cast<std::uint8_t>(
        shiftRight(pixel & static_cast<std::uint32_t>(f.RBitMask), f.RShift));
    red = static_cast<std::uint8_t>(red | shiftRight(red, f.RBitCount));
    green = static_cast<std::uint8_t>(
        shiftRight(pixel & static_cast<std::uint32_t>(f.GBitMask), f.GShift));
    green = static_cast<std::uint8_t>(green | shiftRight(green, f.GBitCount));
    blue = static_cast<std::uint8_t>(shiftLeft(
        static_cast<std::uint8_t>(pixel & static_cast<std::uint32_t>(f.BBitMask)), f.BShift));
    blue = static_cast<std::uint8_t>(blue | shiftRight(blue, f.BBitCount));
}

void FillGreyRamp(TColorTable& table)
{
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] =
            MakeRGBQuad(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i),
                        static_cast<std::uint8_t>(i));
}

TDIBSharedImage::TDIBSharedImage()
{
    reset();
}

// The process's empty image outlives nothing that holds a palette, so it never touches the manager
// during shutdown.
TDIBSharedImage::~TDIBSharedImage()
{
    if (m_palette != 0)
        SharedPaletteManager().ReleasePalette(m_palette);
}

void TDIBSharedImage::reset()
{
    if (m_palette != 0)
        SharedPaletteManager().ReleasePalette(m_palette);
    m_bitCount = 0;
    m_bitmapInfo.clear();
    m_colorTableChanged = true;
    FillGreyRamp(m_colorTable);
    m_colorTablePos = 40;
    m_compressed = false;
    m_height = 0;
    m_paletteCount = 0;
    m_pixels.clear();
    m_pixelFormat = PixelFormatFromBits(8, 8, 8);
    m_size = 0;
    m_width = 0;
    m_widthBytes = 0;
}

void TDIBSharedImage::NewImage(int width, int height, int bitCount,
                               const TDIBPixelFormat& pixelFormat, const TColorTable& colorTable,
                               bool compressed)
{
    newImage(width, height, bitCount, pixelFormat, colorTable, compressed, true);
}

void TDIBSharedImage::newImage(int width, int height, int bitCount,
                               const TDIBPixelFormat& pixelFormat, const TColorTable& colorTable,
                               bool compressed, bool zeroFill)
{
    reset();
    switch (bitCount) {
        case 1:
        case 4:
        case 8:
        case 24:
        case 32:
            if (!masksEqual(pixelFormat, 0xFF0000, 0xFF00, 0xFF))
                throw EInvalidGraphicOperation(QStringLiteral("PixelFormat in invalid"));
            break;
        case 16:
            if (!masksEqual(pixelFormat, 0x7C00, 0x3E0, 0x1F) &&
                !masksEqual(pixelFormat, 0xF800, 0x7E0, 0x1F))
                throw EInvalidGraphicOperation(QStringLiteral("PixelFormat in invalid"));
            break;
        default:
            throw EInvalidGraphicOperation(
                QStringLiteral("Bitcount in invalid (%1)").arg(bitCount));
    }
    const std::int64_t widthBytes = ((static_cast<std::int64_t>(width) * bitCount + 31) >> 5) * 4;
    if (width < 1 || height < 1 || widthBytes > kMaxDibImageBytes / height)
        throw EInvalidGraphicOperation(
            QStringLiteral("Ungültige Bitmap-Größe %1 × %2 Punkte bei %3 Bit.")
                .arg(width)
                .arg(height)
                .arg(bitCount));
    m_bitCount = bitCount;
    m_height = height;
    m_width = width;
    m_widthBytes = static_cast<int>(widthBytes);
    const std::int64_t size = widthBytes * height;
    m_size = size;
    m_pixelFormat = pixelFormat;
    m_paletteCount = bitCount <= 8 ? 1 << bitCount : 0;

    std::uint32_t compression = 0;
    if (bitCount == 16 || bitCount == 32)
        compression = 3;
    else if (compressed && bitCount == 4)
        compression = 2;
    else if (compressed && bitCount == 8)
        compression = 1;
    const bool masks = compression == 3;
    m_colorTablePos = masks ? 52 : 40;
    m_bitmapInfo.assign(static_cast<std::size_t>(m_colorTablePos + 4 * m_paletteCount), 0);
    std::uint8_t* info = m_bitmapInfo.data();
    put32(info, 40);
    put32(info + 4, static_cast<std::uint32_t>(width));
    put32(info + 8, static_cast<std::uint32_t>(height));
    put16(info + 12, 1);
    put16(info + 14, static_cast<std::uint32_t>(bitCount));
    put32(info + 16, compression);
    put32(info + 20, static_cast<std::uint32_t>(size));
    if (masks) {
        put32(info + 40, static_cast<std::uint32_t>(pixelFormat.RBitMask));
        put32(info + 44, static_cast<std::uint32_t>(pixelFormat.GBitMask));
        put32(info + 48, static_cast<std::uint32_t>(pixelFormat.BBitMask));
    }
    m_colorTable = colorTable;
    std::memcpy(info + m_colorTablePos, colorTable.data(),
                static_cast<std::size_t>(m_paletteCount) * 4);
    m_compressed = compression == 1 || compression == 2;
    if (compressed)
        return;
    if (zeroFill)
        m_pixels.assign(static_cast<std::size_t>(size), 0);
    else
        m_pixels.resize(static_cast<std::size_t>(size));
}

void TDIBSharedImage::setImageSize(std::uint32_t size)
{
    m_size = size;
    put32(m_bitmapInfo.data() + 20, size);
}

void TDIBSharedImage::Duplicate(const TDIBSharedImage& source)
{
    if (source.m_size == 0) {
        reset();
        return;
    }
    NewImage(source.m_width, source.m_height, source.m_bitCount, source.m_pixelFormat,
             source.m_colorTable, source.m_compressed);
    if (m_compressed)
        setImageSize(static_cast<std::uint32_t>(source.m_size));
    m_pixels = source.m_pixels;
}

void TDIBSharedImage::Compress(const TDIBSharedImage& source)
{
    if (source.m_compressed || source.m_size == 0) {
        Duplicate(source);
        return;
    }
    NewImage(source.m_width, source.m_height, source.m_bitCount, source.m_pixelFormat,
             source.m_colorTable, true);
    if (!m_compressed) {
        Duplicate(source);
        return;
    }
    const std::vector<std::uint8_t> encoded =
        m_bitCount == 4 ? Rle::EncodeRLE4(source.Pixels(), m_width, m_height, m_widthBytes)
                        : Rle::EncodeRLE8(source.Pixels(), m_width, m_height, m_widthBytes);
    m_pixels.assign(encoded.begin(), encoded.end());
    setImageSize(static_cast<std::uint32_t>(m_pixels.size()));
}

void TDIBSharedImage::Decompress(const TDIBSharedImage& source)
{
    if (!source.m_compressed) {
        Duplicate(source);
        return;
    }
    NewImage(source.m_width, source.m_height, source.m_bitCount, source.m_pixelFormat,
             source.m_colorTable, false);
    if (m_bitCount == 8)
        Rle::DecodeRLE8(source.Pixels(), source.m_pixels.size(), Pixels(), m_width, m_height,
                        m_widthBytes);
    else
        Rle::DecodeRLE4(source.Pixels(), source.m_pixels.size(), Pixels(), m_width, m_height,
                        m_widthBytes);
}

std::uint8_t* TDIBSharedImage::Line(int y)
{
    return m_pixels.data() +
           static_cast<std::size_t>(m_height - 1 - y) * static_cast<std::size_t>(m_widthBytes);
}

const std::uint8_t* TDIBSharedImage::Line(int y) const
{
    return m_pixels.data() +
           static_cast<std::size_t>(m_height - 1 - y) * static_cast<std::size_t>(m_widthBytes);
}

void TDIBSharedImage::ReadData(QIODevice& stream, std::int64_t pixelOffset)
{
    const QString invalid = QString::fromLatin1(DibMessages::kInvalid);
    std::uint8_t header[40] = {};
    const qint64 got = stream.read(reinterpret_cast<char*>(header), 4);
    if (got <= 0) {
        reset();
        return;
    }
    if (got != 4)
        throw EInvalidGraphic(invalid);
    const std::uint32_t headerSize = get32(header);
    std::int64_t consumed = 4;
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t imageSize = 0;
    if (headerSize == 12) {
        readExactly(stream, header + 4, 8);
        width = static_cast<std::int32_t>(get16(header + 4));
        height = static_cast<std::int32_t>(get16(header + 6));
        bitCount = static_cast<int>(get16(header + 10));
    } else if (headerSize == 40) {
        readExactly(stream, header + 4, 36);
        width = static_cast<std::int32_t>(get32(header + 4));
        height = static_cast<std::int32_t>(get32(header + 8));
        bitCount = static_cast<int>(get16(header + 14));
        compression = get32(header + 16);
        imageSize = get32(header + 20);
        colorsUsed = get32(header + 32);
    } else {
        throw EInvalidGraphic(invalid);
    }
    consumed += headerSize - 4;
    if (compression > 3 || (compression == 1 && bitCount != 8) ||
        (compression == 2 && bitCount != 4) ||
        (compression == 3 && bitCount != 16 && bitCount != 32))
        throw EInvalidGraphic(invalid);
    const bool compressed = compression == 1 || compression == 2;
    // RLE lines are always stored bottom-up; a top-down RLE picture would come out upside down.
    if (width < 1 || height == 0 || height == INT32_MIN || (compressed && height < 0))
        throw EInvalidGraphic(
            QStringLiteral("Die Bitmap hat eine ungültige Größe (%1 × %2 Punkte).")
                .arg(width)
                .arg(height));

    TDIBPixelFormat pixelFormat = PixelFormatFromBits(8, 8, 8);
    if (compression == 3) {
        std::uint8_t masks[12];
        readExactly(stream, masks, 12);
        consumed += 12;
        pixelFormat = PixelFormatFromMasks(get32(masks), get32(masks + 4), get32(masks + 8));
    } else if (bitCount == 16) {
        pixelFormat = PixelFormatFromBits(5, 5, 5);
    }

    std::int64_t colorCount = colorsUsed;
    if (colorCount == 0 && bitCount <= 8)
        colorCount = std::int64_t{1} << bitCount;
    const int entrySize = headerSize == 12 ? 3 : 4;
    const std::int64_t tableBytes = colorCount * entrySize;
    checkAvailable(stream, tableBytes);
    TColorTable table{};
    const std::int64_t kept = std::min<std::int64_t>(colorCount, 256);
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(kept * entrySize));
    readExactly(stream, raw.data(), static_cast<std::int64_t>(raw.size()));
    for (std::int64_t i = 0; i < kept; ++i) {
        const std::uint8_t* e = raw.data() + i * entrySize;
        table[static_cast<std::size_t>(i)] = MakeRGBQuad(e[2], e[1], e[0]);
        if (entrySize == 4)
            table[static_cast<std::size_t>(i)].rgbReserved = e[3];
    }
    // Entries beyond 256 cannot be used, but the pixels come after them.
    skip(stream, tableBytes - static_cast<std::int64_t>(raw.size()));
    consumed += tableBytes;

    if (pixelOffset >= 0) {
        if (pixelOffset < consumed)
            throw EInvalidGraphic(QStringLiteral(
                "Die Bitmap-Datei ist beschädigt: die Bilddaten beginnen innerhalb des Kopfes."));
        checkAvailable(stream, pixelOffset - consumed);
        skip(stream, pixelOffset - consumed);
    }

    const bool topDown = height < 0;
    const int lines = topDown ? -height : height;
    const std::int64_t widthBytes = ((static_cast<std::int64_t>(width) * bitCount + 31) >> 5) * 4;
    // Compared by division: the product of two 32-bit sizes can pass even 64 bits.
    if (widthBytes > kMaxDibImageBytes / lines)
        throw EInvalidGraphic(QStringLiteral("Die Bitmap ist zu groß (%1 × %2 Punkte, %3 Bit).")
                                  .arg(width)
                                  .arg(lines)
                                  .arg(bitCount));
    if (compressed) {
        if (imageSize == 0)
            throw EInvalidGraphic(invalid);
        checkAvailable(stream, imageSize);
    } else {
        checkAvailable(stream, widthBytes * lines);
    }

    // Uncompressed pixels are read in full or the store is discarded, so they need no clearing.
    newImage(width, lines, bitCount, pixelFormat, table, compressed, false);
    if (compressed) {
        setImageSize(imageSize);
        m_pixels.assign(imageSize, 0);
        readExactly(stream, m_pixels.data(), imageSize);
    } else if (topDown) {
        for (int y = 0; y < lines; ++y)
            readExactly(stream, Line(y), m_widthBytes);
    } else {
        readExactly(stream, m_pixels.data(), m_size);
    }
}

HPalette TDIBSharedImage::GetPalette()
{
    if (m_paletteCount == 0)
        return 0;
    if (m_colorTableChanged) {
        SharedPaletteManager().ReleasePalette(m_palette);
        m_palette = SharedPaletteManager().AcquirePalette(m_colorTable, m_paletteCount);
        m_colorTableChanged = false;
    }
    return m_palette;
}

void TDIBSharedImage::SetColorTable(const TColorTable& table)
{
    m_colorTable = table;
    m_colorTableChanged = true;
    if (m_size > 0 && m_paletteCount > 0)
        std::memcpy(m_bitmapInfo.data() + m_colorTablePos, table.data(),
                    static_cast<std::size_t>(m_paletteCount) * 4);
}

std::shared_ptr<TDIBSharedImage> EmptySharedImage()
{
    static const std::shared_ptr<TDIBSharedImage> empty = std::make_shared<TDIBSharedImage>();
    return empty;
}
