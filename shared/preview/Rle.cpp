#include "Rle.h"

namespace Rle {

namespace {

// The padding keeps every pair on an even offset.
class Output {
public:
    void put(std::uint8_t b) { m_bytes.push_back(b); }
    void pair(std::uint8_t a, std::uint8_t b)
    {
        put(a);
        put(b);
    }
    void padEven()
    {
        if (m_bytes.size() % 2 != 0)
            put(0);
    }
    std::size_t size() const { return m_bytes.size(); }
    std::uint8_t& at(std::size_t i) { return m_bytes[i]; }
    std::vector<std::uint8_t> take() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

void encodeLine8(const std::uint8_t* p, int width, Output& out)
{
    int x = 0;
    while (x < width) {
        const int rest = width - x;
        if (rest > 2 && p[x + 1] == p[x]) {
            const std::uint8_t value = p[x];
            int length = 2;
            x += 2;
            while (x < width && p[x] == value && length < 255) {
                ++length;
                ++x;
            }
            out.pair(static_cast<std::uint8_t>(length), value);
        } else if (rest > 2 && p[x + 1] == p[x + 2]) {
            out.pair(1, p[x]);
            ++x;
        } else if (rest < 4) {
            if (rest == 2) {
                out.pair(1, p[x]);
                out.pair(1, p[x + 1]);
                x += 2;
            } else {
                out.pair(1, p[x]);
                ++x;
            }
        } else {
            const std::size_t head = out.size();
            out.pair(0, 0);
            out.put(p[x]);
            out.put(p[x + 1]);
            out.put(p[x + 2]);
            int length = 3;
            x += 3;
            while (x < width && length < 255) {
                const int left = width - x;
                if (left > 3 && p[x + 1] == p[x] && p[x + 2] == p[x] && p[x + 3] == p[x])
                    break;
                out.put(p[x]);
                ++length;
                ++x;
            }
            out.at(head + 1) = static_cast<std::uint8_t>(length);
        }
        out.padEven();
    }
    out.pair(0, 0);
}

void encodeLine4(const std::uint8_t* line, int width, Output& out)
{
    auto n = [line](int i) -> std::uint8_t {
        const std::uint8_t b = line[i / 2];
        return (i % 2 == 0) ? static_cast<std::uint8_t>(b >> 4)
                            : static_cast<std::uint8_t>(b & 0x0F);
    };
    auto pairByte = [&](int i) -> std::uint8_t {
        return static_cast<std::uint8_t>((n(i) << 4) | n(i + 1));
    };
    int x = 0;
    while (x < width) {
        const int rest = width - x;
        if (rest > 3 && n(x) == n(x + 2)) {
            const std::uint8_t b = pairByte(x);
            std::uint8_t c = b;
            int length = 2;
            x += 2;
            while (x < width && length < 255 && n(x) == (c & 0x0F)) {
                ++length;
                ++x;
                c = static_cast<std::uint8_t>((c << 4) | (c >> 4));
            }
            out.pair(static_cast<std::uint8_t>(length), b);
        } else if (rest > 5 && n(x + 2) == n(x + 4) && n(x + 3) == n(x + 5)) {
            out.pair(2, pairByte(x));
            x += 2;
        } else if (rest < 4) {
            while (width - x >= 2) {
                out.pair(2, pairByte(x));
                x += 2;
            }
            if (width - x == 1) {
                out.pair(1, static_cast<std::uint8_t>(n(x) << 4));
                ++x;
            }
        } else {
            const std::size_t head = out.size();
            out.pair(0, 0);
            out.put(pairByte(x));
            out.put(pairByte(x + 2));
            int length = 4;
            x += 4;
            while (width - x >= 2 && length < 254) {
                if (width - x > 3 && n(x) == n(x + 2) && n(x + 1) == n(x + 3))
                    break;
                out.put(pairByte(x));
                length += 2;
                x += 2;
            }
            out.at(head + 1) = static_cast<std::uint8_t>(length);
        }
        out.padEven();
    }
    out.pair(0, 0);
}

template <typename LineEncoder>
std::vector<std::uint8_t> encode(const std::uint8_t* pixels, int width, int height, int widthBytes,
                                 LineEncoder encodeLine)
{
    Output out;
    for (int y = 0; y < height; ++y)
        encodeLine(pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(widthBytes),
                   width, out);
    out.pair(0, 1);
    return out.take();
}

// Column and line are 64-bit: a hostile stream can push them far beyond any int before it ends.
template <typename PutPixel>
void decode(const std::uint8_t* data, std::size_t length, int height, bool fourBit, PutPixel put)
{
    std::size_t pos = 0;
    std::int64_t column = 0;
    std::int64_t line = 0;
    auto align = [&pos] { pos += pos % 2; };
    while (pos + 2 <= length && line < height) {
        const std::uint8_t first = data[pos];
        const std::uint8_t second = data[pos + 1];
        pos += 2;
        if (first > 0) {
            for (int i = 0; i < first; ++i) {
                const std::uint8_t v =
                    fourBit ? static_cast<std::uint8_t>(i % 2 == 0 ? second >> 4 : second & 0x0F)
                            : second;
                put(column + i, line, v);
            }
            column += first;
        } else if (second == 0) {
            column = 0;
            ++line;
        } else if (second == 1) {
            return;
        } else if (second == 2) {
            if (pos + 2 > length)
                return;
            column += data[pos];
            line += data[pos + 1];
            pos += 2;
        } else {
            const std::size_t bytes = fourBit ? (second + 1u) / 2u : second;
            if (pos + bytes > length)
                return;
            for (int i = 0; i < second; ++i) {
                const std::uint8_t v =
                    fourBit ? static_cast<std::uint8_t>(i % 2 == 0 ? data[pos + i / 2] >> 4
                                                                   : data[pos + i / 2] & 0x0F)
                            : data[pos + i];
                put(column + i, line, v);
            }
            column += second;
            pos += bytes;
        }
        align();
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeRLE8(const std::uint8_t* pixels, int width, int height,
                                     int widthBytes)
{
    return encode(pixels, width, height, widthBytes, encodeLine8);
}

std::vector<std::uint8_t> EncodeRLE4(const std::uint8_t* pixels, int width, int height,
                                     int widthBytes)
{
    return encode(pixels, width, height, widthBytes, encodeLine4);
}

void DecodeRLE8(const std::uint8_t* data, std::size_t dataLength, std::uint8_t* pixels, int width,
                int height, int widthBytes)
{
    decode(data, dataLength, height, false, [&](std::int64_t x, std::int64_t y, std::uint8_t v) {
        if (x >= 0 && x < width && y >= 0 && y < height)
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(widthBytes) +
                   static_cast<std::size_t>(x)] = v;
    });
}

void DecodeRLE4(const std::uint8_t* data, std::size_t dataLength, std::uint8_t* pixels, int width,
                int height, int widthBytes)
{
    decode(data, dataLength, height, true, [&](std::int64_t x, std::int64_t y, std::uint8_t v) {
        if (x < 0 || x >= width || y < 0 || y >= height)
            return;
        std::uint8_t& b =
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(widthBytes) +
                   static_cast<std::size_t>(x / 2)];
        b = (x % 2 == 0) ? static_cast<std::uint8_t>((b & 0x0F) | (v << 4))
                         : static_cast<std::uint8_t>((b & 0xF0) | v);
    });
}

}  // namespace Rle
