#include "Dib.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSaveFile>

#include <chrono>
#include <cstring>

namespace DibPixels {

std::uint32_t Raw(const std::uint8_t* line, int x, int bitCount)
{
    switch (bitCount) {
        case 1:
            return (line[x / 8] >> (7 - x % 8)) & 1u;
        case 4:
            return x % 2 == 0 ? line[x / 2] >> 4 : line[x / 2] & 0x0Fu;
        case 8:
            return line[x];
        case 16:
            return line[2 * x] | (static_cast<std::uint32_t>(line[2 * x + 1]) << 8);
        case 24:
            return line[3 * x] | (static_cast<std::uint32_t>(line[3 * x + 1]) << 8) |
                   (static_cast<std::uint32_t>(line[3 * x + 2]) << 16);
        default:
            return line[4 * x] | (static_cast<std::uint32_t>(line[4 * x + 1]) << 8) |
                   (static_cast<std::uint32_t>(line[4 * x + 2]) << 16) |
                   (static_cast<std::uint32_t>(line[4 * x + 3]) << 24);
    }
}

void SetRaw(std::uint8_t* line, int x, int bitCount, std::uint32_t v)
{
    switch (bitCount) {
        case 1: {
            const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
            line[x / 8] =
                static_cast<std::uint8_t>((v & 1u) ? line[x / 8] | bit : line[x / 8] & ~bit);
            break;
        }
        case 4: {
            std::uint8_t& b = line[x / 2];
            b = x % 2 == 0 ? static_cast<std::uint8_t>((b & 0x0F) | ((v & 15u) << 4))
                           : static_cast<std::uint8_t>((b & 0xF0) | (v & 15u));
            break;
        }
        case 8:
            line[x] = static_cast<std::uint8_t>(v);
            break;
        case 16:
            line[2 * x] = static_cast<std::uint8_t>(v);
            line[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
            break;
        case 24:
            line[3 * x] = static_cast<std::uint8_t>(v);
            line[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
            line[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
            break;
        default:
            for (int i = 0; i < 4; ++i)
                line[4 * x + i] = static_cast<std::uint8_t>(v >> (8 * i));
            break;
    }
}

QRgb Color(const TDIBSharedImage& image, const std::uint8_t* line, int x)
{
    const int bits = image.BitCount();
    const std::uint32_t raw = Raw(line, x, bits);
    if (bits <= 8) {
        const TRGBQuad& q = image.ColorTable()[raw];
        return qRgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    if (bits == 24)
        return qRgb(static_cast<int>((raw >> 16) & 0xFF), static_cast<int>((raw >> 8) & 0xFF),
                    static_cast<int>(raw & 0xFF));
    std::uint8_t r, g, b;
    UnpackPixelRGB(image.PixelFormat(), raw, r, g, b);
    return qRgb(r, g, b);
}

}  // namespace DibPixels

namespace {

TColorTable cubePalette(int r, int g, int b)
{
    TColorTable t{};
    const int rm = (1 << r) - 1, gm = (1 << g) - 1, bm = (1 << b) - 1;
    for (int i = 0; i < 256; ++i)
        t[static_cast<std::size_t>(i)] =
            MakeRGBQuad(static_cast<std::uint8_t>(((i >> (g + b)) & rm) * 255 / rm),
                        static_cast<std::uint8_t>(((i >> b) & gm) * 255 / gm),
                        static_cast<std::uint8_t>((i & bm) * 255 / bm));
    return t;
}

// Maps colours to the nearest of the first count table entries, remembering each answer: pictures
// have far fewer distinct colours than pixels.
class NearestColor {
public:
    NearestColor(const TColorTable& table, int count) : m_table(table), m_count(count) {}
    std::uint32_t index(QRgb c)
    {
        const auto it = m_cache.constFind(c);
        if (it != m_cache.constEnd())
            return *it;
        std::uint32_t best = 0;
        int bestDistance = INT32_MAX;
        for (int i = 0; i < m_count; ++i) {
            const TRGBQuad& q = m_table[static_cast<std::size_t>(i)];
            const int dr = qRed(c) - q.rgbRed, dg = qGreen(c) - q.rgbGreen,
                      db = qBlue(c) - q.rgbBlue;
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = static_cast<std::uint32_t>(i);
            }
        }
        m_cache.insert(c, best);
        return best;
    }

private:
    const TColorTable& m_table;
    int m_count;
    QHash<QRgb, std::uint32_t> m_cache;
};

// Stores colours at the depth of the target image.
void storeColors(TDIBSharedImage& target, const std::function<QRgb(int x, int y)>& colorAt)
{
    const int bits = target.BitCount();
    NearestColor nearest(target.ColorTable(), target.PaletteCount());
    for (int y = 0; y < target.Height(); ++y) {
        std::uint8_t* line = target.Line(y);
        for (int x = 0; x < target.Width(); ++x) {
            const QRgb c = colorAt(x, y);
            std::uint32_t v;
            if (bits <= 8)
                v = nearest.index(c);
            else if (bits == 24)
                v = static_cast<std::uint32_t>(qBlue(c)) |
                    (static_cast<std::uint32_t>(qGreen(c)) << 8) |
                    (static_cast<std::uint32_t>(qRed(c)) << 16);
            else
                v = PackPixelRGB(target.PixelFormat(), static_cast<std::uint8_t>(qRed(c)),
                                 static_cast<std::uint8_t>(qGreen(c)),
                                 static_cast<std::uint8_t>(qBlue(c)));
            DibPixels::SetRaw(line, x, bits, v);
        }
    }
}

void writeAll(QIODevice& stream, const void* data, std::int64_t length)
{
    if (length > 0 && stream.write(static_cast<const char*>(data), length) != length)
        throw EDibFileError(QStringLiteral("Die Bitmap konnte nicht geschrieben werden: %1")
                                .arg(stream.errorString()));
}

bool validFormatFor(int bitCount, const TDIBPixelFormat& f)
{
    if (bitCount == 16)
        return f == PixelFormatFromBits(5, 5, 5) || f == PixelFormatFromBits(5, 6, 5);
    return f.RBitMask == 0xFF0000 && f.GBitMask == 0xFF00 && f.BBitMask == 0xFF;
}

}  // namespace

TDIB::TDIB() : m_image(EmptySharedImage())
{
    m_colorTable = m_image->ColorTable();
    m_nowPixelFormat = m_image->PixelFormat();
}

TDIB::TDIB(const TDIB& other) : TDIB()
{
    Assign(other);
}

TDIB& TDIB::operator=(const TDIB& other)
{
    Assign(other);
    return *this;
}

TDIB::~TDIB() = default;

void TDIB::SetImage(std::shared_ptr<TDIBSharedImage> image)
{
    if (image == m_image)
        return;
    m_image = std::move(image);
    m_colorTable = m_image->ColorTable();
    m_nowPixelFormat = m_image->PixelFormat();
}

void TDIB::Changing()
{
    if (m_image.use_count() <= 1 && !m_image->Compressed())
        return;
    if (GetEmpty())
        return;
    auto copy = std::make_shared<TDIBSharedImage>();
    copy->Decompress(*m_image);
    SetImage(std::move(copy));
}

void TDIB::Clear()
{
    SetImage(EmptySharedImage());
}

void TDIB::SetSize(int width, int height, int bitCount)
{
    // Only 16-bit pictures have a choice of layout; every other depth is 8-8-8.
    TDIBPixelFormat format = m_nowPixelFormat;
    if (!validFormatFor(bitCount, format))
        format = bitCount == 16 ? PixelFormatFromBits(5, 5, 5) : PixelFormatFromBits(8, 8, 8);
    if (width == GetWidth() && height == GetHeight() && bitCount == GetBitCount() &&
        m_image->PixelFormat().RBitMask == format.RBitMask &&
        m_image->PixelFormat().GBitMask == format.GBitMask &&
        m_image->PixelFormat().BBitMask == format.BBitMask)
        return;
    if (width <= 0 || height <= 0) {
        Clear();
        return;
    }
    auto image = std::make_shared<TDIBSharedImage>();
    image->NewImage(width, height, bitCount, format, m_colorTable, false);
    SetImage(std::move(image));
}

void TDIB::SetWidth(int width)
{
    if (width <= 0)
        Clear();
    else if (GetEmpty())
        SetSize(width, std::max(GetHeight(), 1), 8);
    else
        SetSize(width, GetHeight(), GetBitCount());
}

void TDIB::SetHeight(int height)
{
    if (height <= 0)
        Clear();
    else if (GetEmpty())
        SetSize(std::max(GetWidth(), 1), height, 8);
    else
        SetSize(GetWidth(), height, GetBitCount());
}

void TDIB::SetBitCount(int bitCount)
{
    if (bitCount <= 0)
        Clear();
    else if (GetEmpty())
        SetSize(std::max(GetWidth(), 1), std::max(GetHeight(), 1), bitCount);
    else
        ConvertBitCount(bitCount);
}

void TDIB::ConvertBitCount(int bitCount)
{
    if (GetEmpty())
        return;
    TDIB temp(*this);
    temp.Decompress();
    const std::shared_ptr<TDIBSharedImage> before = m_image;
    SetSize(GetWidth(), GetHeight(), bitCount);
    if (m_image == before)
        return;
    const TDIBSharedImage& source = *temp.m_image;
    const int old = source.BitCount();
    if (old <= 8 && bitCount <= 8 && old <= bitCount) {
        for (int y = 0; y < GetHeight(); ++y)
            for (int x = 0; x < GetWidth(); ++x)
                DibPixels::SetRaw(m_image->Line(y), x, bitCount,
                                  DibPixels::Raw(source.Line(y), x, old));
        return;
    }
    if (bitCount <= 8) {
        if (bitCount == 1) {
            m_colorTable = TColorTable{};
            m_colorTable[1] = MakeRGBQuad(255, 255, 255);
        } else {
            m_colorTable = bitCount == 4 ? cubePalette(1, 2, 1) : cubePalette(3, 3, 2);
        }
        UpdatePalette();
    }
    storeColors(*m_image,
                [&source](int x, int y) { return DibPixels::Color(source, source.Line(y), x); });
}

void TDIB::SetNowPixelFormat(const TDIBPixelFormat& format)
{
    if (format == m_image->PixelFormat())
        return;
    m_nowPixelFormat = format;
    if (GetEmpty())
        return;
    TDIB temp(*this);
    temp.Decompress();
    auto image = std::make_shared<TDIBSharedImage>();
    image->NewImage(GetWidth(), GetHeight(), GetBitCount(), format, m_colorTable, false);
    const TDIBSharedImage& source = *temp.m_image;
    storeColors(*image,
                [&source](int x, int y) { return DibPixels::Color(source, source.Line(y), x); });
    SetImage(std::move(image));
}

void TDIB::Assign(const TDIB& source)
{
    if (&source != this)
        SetImage(source.m_image);
}

void TDIB::Assign(const QImage& source)
{
    if (source.isNull()) {
        Clear();
        return;
    }
    int bits = 24;
    TDIBPixelFormat format = PixelFormatFromBits(8, 8, 8);
    switch (source.format()) {
        case QImage::Format_Mono:
        case QImage::Format_MonoLSB:
            bits = 1;
            break;
        case QImage::Format_Indexed8:
            bits = 8;
            break;
        case QImage::Format_RGB16:
            bits = 16;
            format = PixelFormatFromBits(5, 6, 5);
            break;
        case QImage::Format_RGB555:
            bits = 16;
            format = PixelFormatFromBits(5, 5, 5);
            break;
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied:
            bits = 32;
            break;
        default:
            break;
    }
    TColorTable table = m_colorTable;
    const QVector<QRgb> colors = source.colorTable();
    for (int i = 0; i < std::min<int>(256, static_cast<int>(colors.size())); ++i)
        table[static_cast<std::size_t>(i)] =
            MakeRGBQuad(static_cast<std::uint8_t>(qRed(colors[i])),
                        static_cast<std::uint8_t>(qGreen(colors[i])),
                        static_cast<std::uint8_t>(qBlue(colors[i])));
    auto image = std::make_shared<TDIBSharedImage>();
    image->NewImage(source.width(), source.height(), bits, format, table, false);
    if (bits <= 8) {
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                DibPixels::SetRaw(image->Line(y), x, bits,
                                  static_cast<std::uint32_t>(source.pixelIndex(x, y)));
    } else {
        const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
        storeColors(*image, [&rgb](int x, int y) {
            return reinterpret_cast<const QRgb*>(rgb.constScanLine(y))[x];
        });
    }
    SetImage(std::move(image));
}

QImage TDIB::ToImage() const
{
    if (GetEmpty())
        return {};
    TDIBSharedImage plain;
    const TDIBSharedImage* source = m_image.get();
    if (m_image->Compressed()) {
        plain.Decompress(*m_image);
        source = &plain;
    }
    QImage out(GetWidth(), GetHeight(), QImage::Format_RGB32);
    const int bits = GetBitCount();
    if (bits <= 8) {
        // Indexed pictures go through one colour per table entry: large scans convert in a
        // fraction of the per-pixel way.
        QRgb colors[256];
        for (int i = 0; i < 256; ++i) {
            const TRGBQuad& q = source->ColorTable()[static_cast<std::size_t>(i)];
            colors[i] = qRgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
        }
        for (int y = 0; y < GetHeight(); ++y) {
            QRgb* target = reinterpret_cast<QRgb*>(out.scanLine(y));
            const std::uint8_t* line = source->Line(y);
            if (bits == 8) {
                for (int x = 0; x < GetWidth(); ++x)
                    target[x] = colors[line[x]];
            } else {
                for (int x = 0; x < GetWidth(); ++x)
                    target[x] = colors[DibPixels::Raw(line, x, bits)];
            }
        }
        return out;
    }
    for (int y = 0; y < GetHeight(); ++y) {
        QRgb* target = reinterpret_cast<QRgb*>(out.scanLine(y));
        const std::uint8_t* line = source->Line(y);
        for (int x = 0; x < GetWidth(); ++x)
            target[x] = DibPixels::Color(*source, line, x);
    }
    return out;
}

void TDIB::Draw(QPainter& target, const QRect& rect) const
{
    if (GetEmpty())
        return;
    target.drawImage(rect, ToImage());
}

void TDIB::Paint(const std::function<void(QPainter&)>& draw)
{
    if (GetEmpty())
        return;
    Changing();
    QImage canvas = ToImage();
    {
        QPainter painter(&canvas);
        draw(painter);
    }
    storeColors(*m_image, [&canvas](int x, int y) {
        return reinterpret_cast<const QRgb*>(canvas.constScanLine(y))[x];
    });
}

std::uint32_t TDIB::GetPixel(int x, int y)
{
    Decompress();
    if (x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight())
        return 0;
    const std::uint32_t raw = DibPixels::Raw(m_image->Line(y), x, GetBitCount());
    if (GetBitCount() == 24)
        return ((raw >> 16) & 0xFF) | (raw & 0xFF00) | ((raw & 0xFF) << 16);
    return raw;
}

void TDIB::SetPixel(int x, int y, std::uint32_t value)
{
    Changing();
    if (x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight())
        return;
    if (GetBitCount() == 24)
        value = ((value >> 16) & 0xFF) | (value & 0xFF00) | ((value & 0xFF) << 16);
    DibPixels::SetRaw(m_image->Line(y), x, GetBitCount(), value);
}

std::uint8_t* TDIB::GetScanLine(int y)
{
    Changing();
    if (y < 0 || y >= GetHeight())
        throw EInvalidGraphicOperation(
            QStringLiteral("Index of the scanning line exceeded the range. (%1)").arg(y));
    return m_image->Line(y);
}

const std::uint8_t* TDIB::GetScanLineReadOnly(int y) const
{
    if (y < 0 || y >= GetHeight())
        throw EInvalidGraphicOperation(
            QStringLiteral("Index of the scanning line exceeded the range. (%1)").arg(y));
    return m_image->Line(y);
}

std::uint8_t* TDIB::GetPBits()
{
    Changing();
    return m_image->Pixels();
}

void TDIB::SetPalette(const QVector<QRgb>& colors)
{
    for (int i = 0; i < std::min<int>(256, static_cast<int>(colors.size())); ++i)
        m_colorTable[static_cast<std::size_t>(i)] =
            MakeRGBQuad(static_cast<std::uint8_t>(qRed(colors[i])),
                        static_cast<std::uint8_t>(qGreen(colors[i])),
                        static_cast<std::uint8_t>(qBlue(colors[i])));
    UpdatePalette();
}

void TDIB::UpdatePalette()
{
    if (m_colorTable == m_image->ColorTable())
        return;
    const TColorTable wanted = m_colorTable;
    Changing();
    m_colorTable = wanted;
    if (m_image == EmptySharedImage()) {
        // The shared empty image is never written; an empty bitmap keeps the table for its next
        // shape.
        return;
    }
    m_image->SetColorTable(wanted);
}

void TDIB::Compress()
{
    if (m_image->Compressed() || (GetBitCount() != 4 && GetBitCount() != 8))
        return;
    auto image = std::make_shared<TDIBSharedImage>();
    image->Compress(*m_image);
    SetImage(std::move(image));
}

void TDIB::Decompress()
{
    if (!m_image->Compressed())
        return;
    auto image = std::make_shared<TDIBSharedImage>();
    image->Decompress(*m_image);
    SetImage(std::move(image));
}

void TDIB::LoadFromStream(QIODevice& stream)
{
    std::uint8_t header[14];
    const qint64 got = stream.read(reinterpret_cast<char*>(header), 14);
    if (got <= 0)
        return;
    if (got != 14 || header[0] != 'B' || header[1] != 'M')
        throw EInvalidGraphic(QString::fromLatin1(DibMessages::kInvalid));
    const std::uint32_t offset = header[10] | (header[11] << 8) | (header[12] << 16) |
                                 (static_cast<std::uint32_t>(header[13]) << 24);
    auto image = std::make_shared<TDIBSharedImage>();
    // An offset inside the file header is refused by the reader like any offset inside the info
    // block.
    image->ReadData(stream, offset >= 14 ? std::int64_t{offset} - 14 : 0);
    SetImage(std::move(image));
}

void TDIB::ReadData(QIODevice& stream)
{
    auto image = std::make_shared<TDIBSharedImage>();
    image->ReadData(stream);
    SetImage(std::move(image));
}

void TDIB::SaveToStream(QIODevice& stream)
{
    if (GetEmpty())
        return;
    const std::uint32_t infoSize = static_cast<std::uint32_t>(GetBitmapInfoSize());
    const std::uint32_t fileSize = static_cast<std::uint32_t>(GetSize()) + infoSize + 14;
    const std::uint32_t offset = infoSize + 14;
    const std::uint8_t header[14] = {'B',
                                     'M',
                                     static_cast<std::uint8_t>(fileSize),
                                     static_cast<std::uint8_t>(fileSize >> 8),
                                     static_cast<std::uint8_t>(fileSize >> 16),
                                     static_cast<std::uint8_t>(fileSize >> 24),
                                     0,
                                     0,
                                     0,
                                     0,
                                     static_cast<std::uint8_t>(offset),
                                     static_cast<std::uint8_t>(offset >> 8),
                                     static_cast<std::uint8_t>(offset >> 16),
                                     static_cast<std::uint8_t>(offset >> 24)};
    writeAll(stream, header, 14);
    WriteData(stream);
}

void TDIB::WriteData(QIODevice& stream)
{
    if (GetEmpty())
        return;
    writeAll(stream, GetBitmapInfo().data(), GetBitmapInfoSize());
    writeAll(stream, m_image->Pixels(), GetSize());
}

void TDIB::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EDibFileError(QStringLiteral("Die Bitmap-Datei \"%1\" kann nicht geöffnet werden: %2")
                                .arg(fileName, file.errorString()));
    LoadFromStream(file);
}

void TDIB::SaveToFile(const QString& fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EDibFileError(QStringLiteral("Die Bitmap-Datei \"%1\" kann nicht angelegt werden: %2")
                                .arg(fileName, file.errorString()));
    SaveToStream(file);
    if (!file.commit())
        throw EDibFileError(
            QStringLiteral("Die Bitmap-Datei \"%1\" konnte nicht gespeichert werden: %2")
                .arg(fileName, file.errorString()));
}

QByteArray TDIB::SaveToClipboardFormat()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteData(buffer);
    return buffer.data();
}

void TDIB::LoadFromClipboardFormat(const QByteArray& data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    ReadData(buffer);
}

std::int64_t TDIB::now() const
{
    if (Clock)
        return Clock();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
