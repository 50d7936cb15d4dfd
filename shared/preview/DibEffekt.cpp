#include "Dib.h"

#include <cstdlib>

namespace {

// Ends progress reporting however the work leaves.
class ProgressScope {
public:
    explicit ProgressScope(std::function<void()> end) : m_end(std::move(end)) {}
    ~ProgressScope() { m_end(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    std::function<void()> m_end;
};

struct ColumnSum {
    std::int64_t red = 0, green = 0, blue = 0, count = 0;
    void add(const ColumnSum& o, int sign)
    {
        red += sign * o.red;
        green += sign * o.green;
        blue += sign * o.blue;
        count += sign * o.count;
    }
};

// Writes a colour at the bitmap's depth the way the effects do: grey levels for up to 8 bits.
void putColor(TDIBSharedImage& image, std::uint8_t* line, int x, int red, int green, int blue,
              int grey)
{
    const int bits = image.BitCount();
    std::uint32_t v;
    if (bits == 1)
        v = grey > 127 ? 1 : 0;
    else if (bits == 4)
        v = static_cast<std::uint32_t>(grey >> 4);
    else if (bits == 8)
        v = static_cast<std::uint32_t>(grey);
    else if (bits == 24)
        v = static_cast<std::uint32_t>(blue) | (static_cast<std::uint32_t>(green) << 8) |
            (static_cast<std::uint32_t>(red) << 16);
    else
        v = PackPixelRGB(image.PixelFormat(), static_cast<std::uint8_t>(red),
                         static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(blue));
    DibPixels::SetRaw(line, x, bits, v);
}

void sourceLine(const TDIBSharedImage& source, int y, std::vector<QRgb>& out)
{
    const std::uint8_t* line = source.Line(y);
    for (int x = 0; x < source.Width(); ++x)
        out[static_cast<std::size_t>(x)] = DibPixels::Color(source, line, x);
}

}  // namespace

void TDIB::StartProgress(const QString& name)
{
    m_progressName = name;
    m_progressPercent = 0;
    m_progressLine = 0;
    m_progressStartLine = 0;
    m_progressTime = now();
    if (OnProgress)
        OnProgress({TDIBProgress::Starting, 0, false, QRect(0, 0, GetWidth(), GetHeight()), name});
}

void TDIB::UpdateProgress(int line)
{
    const std::int64_t time = now();
    const bool redraw = time - m_progressTime > 200 && m_progressLine - m_progressStartLine > 32 &&
                        (m_progressStartLine != 0 || m_progressLine < GetHeight() / 3);
    const int percent = GetHeight() > 0 ? line * 100 / GetHeight() : 0;
    if (percent != m_progressPercent || redraw) {
        if (OnProgress)
            OnProgress(
                {TDIBProgress::Running, percent, redraw,
                 QRect(0, m_progressStartLine, GetWidth(), m_progressLine - m_progressStartLine),
                 m_progressName});
        if (redraw) {
            m_progressStartLine = m_progressLine;
            m_progressTime = time;
        }
    }
    m_progressPercent = percent;
    ++m_progressLine;
}

void TDIB::EndProgress()
{
    if (OnProgress)
        OnProgress({TDIBProgress::Ending, 100, true,
                    QRect(0, m_progressStartLine, GetWidth(), GetHeight() - m_progressStartLine),
                    m_progressName});
}

// Grey levels spread over 0..255 by bit replication: 1 bit gives 0 and 255, 4 bits 17 apart.
void TDIB::SetGreyColorTable(int bitCount)
{
    m_colorTable = TColorTable{};
    const int top = (1 << bitCount) - 1;
    for (int i = 0; i <= top; ++i) {
        const auto v = static_cast<std::uint8_t>(i * 255 / top);
        m_colorTable[static_cast<std::size_t>(i)] = MakeRGBQuad(v, v, v);
    }
    UpdatePalette();
}

void TDIB::Blur(int bitCount, int radius)
{
    if (GetEmpty() || radius == 0)
        return;
    const int r = std::abs(radius);
    StartProgress(QStringLiteral("Blur"));
    ProgressScope end([this] { EndProgress(); });
    TDIB temp(*this);
    temp.Decompress();
    SetSize(GetWidth(), GetHeight(), bitCount);
    if (bitCount <= 8)
        SetGreyColorTable(bitCount);
    const TDIBSharedImage& source = *temp.m_image;
    const int width = GetWidth(), height = GetHeight();
    std::vector<ColumnSum> sums(static_cast<std::size_t>(width));
    std::vector<QRgb> colours(static_cast<std::size_t>(width));
    auto addLine = [&](int y, int sign) {
        sourceLine(source, y, colours);
        for (int x = 0; x < width; ++x) {
            const QRgb c = colours[static_cast<std::size_t>(x)];
            sums[static_cast<std::size_t>(x)].add({qRed(c), qGreen(c), qBlue(c), 1}, sign);
        }
    };
    int first = 0;
    int last = std::min(r, height - 1);
    for (int y = first; y <= last; ++y)
        addLine(y, 1);
    for (int y = 0; y < height; ++y) {
        if (y - first == r + 1) {
            addLine(first, -1);
            ++first;
        }
        // At the bottom edge the window only shrinks; adding the last line again would weight it
        // twice.
        if (last - y == r - 1 && last < height - 1) {
            ++last;
            addLine(last, 1);
        }
        std::uint8_t* target = GetScanLine(y);
        ColumnSum acc;
        int firstColumn = 0;
        int lastColumn = std::min(r, width - 1);
        for (int x = firstColumn; x <= lastColumn; ++x)
            acc.add(sums[static_cast<std::size_t>(x)], 1);
        for (int x = 0; x < width; ++x) {
            if (x - firstColumn == r + 1) {
                acc.add(sums[static_cast<std::size_t>(firstColumn)], -1);
                ++firstColumn;
            }
            if (lastColumn - x == r - 1 && lastColumn < width - 1) {
                ++lastColumn;
                acc.add(sums[static_cast<std::size_t>(lastColumn)], 1);
            }
            const int red = static_cast<int>(acc.red / acc.count);
            const int green = static_cast<int>(acc.green / acc.count);
            const int blue = static_cast<int>(acc.blue / acc.count);
            const int grey = static_cast<int>((acc.red + acc.green + acc.blue) / acc.count / 3);
            putColor(*m_image, target, x, red, green, blue, grey);
        }
        UpdateProgress(y);
    }
}

void TDIB::Greyscale(int bitCount)
{
    if (GetEmpty())
        return;
    TDIB temp(*this);
    temp.Decompress();
    SetSize(GetWidth(), GetHeight(), bitCount);
    if (bitCount <= 8)
        SetGreyColorTable(bitCount);
    std::uint8_t red[256], green[256], blue[256];
    for (int i = 0; i < 256; ++i) {
        red[i] = static_cast<std::uint8_t>(static_cast<int>(i * 0.3588L));
        green[i] = static_cast<std::uint8_t>(static_cast<int>(i * 0.402L));
        blue[i] = static_cast<std::uint8_t>(static_cast<int>(i * 0.2392L));
    }
    StartProgress(QStringLiteral("Greyscale"));
    ProgressScope end([this] { EndProgress(); });
    const TDIBSharedImage& source = *temp.m_image;
    std::vector<QRgb> colours(static_cast<std::size_t>(GetWidth()));
    for (int y = 0; y < GetHeight(); ++y) {
        sourceLine(source, y, colours);
        std::uint8_t* target = GetScanLine(y);
        for (int x = 0; x < GetWidth(); ++x) {
            const QRgb c = colours[static_cast<std::size_t>(x)];
            const int g = red[qRed(c)] + green[qGreen(c)] + blue[qBlue(c)];
            putColor(*m_image, target, x, g, g, g, g);
        }
        UpdateProgress(y);
    }
}

void TDIB::Mirror(bool horizontal, bool vertical)
{
    if (GetEmpty() || (!horizontal && !vertical))
        return;
    StartProgress(QStringLiteral("Mirror"));
    ProgressScope end([this] { EndProgress(); });
    Changing();
    const int width = GetWidth(), height = GetHeight(), bits = GetBitCount();
    auto swapPixels = [bits](std::uint8_t* a, int xa, std::uint8_t* b, int xb) {
        const std::uint32_t va = DibPixels::Raw(a, xa, bits);
        DibPixels::SetRaw(a, xa, bits, DibPixels::Raw(b, xb, bits));
        DibPixels::SetRaw(b, xb, bits, va);
    };
    auto mirrorLine = [&](std::uint8_t* line) {
        for (int x = 0; x < width / 2; ++x)
            swapPixels(line, x, line, width - 1 - x);
    };
    if (!horizontal) {
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(GetWidthBytes()));
        for (int y = 0; y < height / 2; ++y) {
            std::uint8_t* a = m_image->Line(y);
            std::uint8_t* b = m_image->Line(height - 1 - y);
            std::copy_n(a, buffer.size(), buffer.data());
            std::copy_n(b, buffer.size(), a);
            std::copy_n(buffer.data(), buffer.size(), b);
            UpdateProgress(2 * y);
        }
    } else if (!vertical) {
        for (int y = 0; y < height; ++y) {
            mirrorLine(m_image->Line(y));
            UpdateProgress(y);
        }
    } else {
        for (int y = 0; y < height / 2; ++y) {
            std::uint8_t* a = m_image->Line(y);
            std::uint8_t* b = m_image->Line(height - 1 - y);
            for (int x = 0; x < width; ++x)
                swapPixels(a, x, b, width - 1 - x);
            UpdateProgress(2 * y);
        }
        if (height % 2 != 0)
            mirrorLine(m_image->Line(height / 2));
    }
}

void TDIB::Negative()
{
    if (GetEmpty())
        return;
    if (GetBitCount() <= 8) {
        for (TRGBQuad& q : m_colorTable) {
            q.rgbRed = static_cast<std::uint8_t>(255 - q.rgbRed);
            q.rgbGreen = static_cast<std::uint8_t>(255 - q.rgbGreen);
            q.rgbBlue = static_cast<std::uint8_t>(255 - q.rgbBlue);
        }
        UpdatePalette();
        return;
    }
    std::uint8_t* bits = GetPBits();
    for (std::int64_t i = 0; i < GetSize(); ++i)
        bits[i] = static_cast<std::uint8_t>(255 - bits[i]);
}
