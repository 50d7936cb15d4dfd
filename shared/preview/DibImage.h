#pragma once

#include "PaletteManager.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

class QIODevice;

// A picture file or stream that cannot be read as a bitmap.
class EInvalidGraphic : public std::runtime_error {
public:
    explicit EInvalidGraphic(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// An operation on a bitmap that its shape does not allow.
class EInvalidGraphicOperation : public std::runtime_error {
public:
    explicit EInvalidGraphicOperation(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }
};

// Bit fields of 16- and 32-bit pixels; shifts turn a masked component into 8 bits and fills
// replicate its top bits into the low ones.
struct TDIBPixelFormat {
    std::int32_t RBitMask = 0, GBitMask = 0, BBitMask = 0;
    std::int32_t RBitCount = 0, GBitCount = 0, BBitCount = 0;
    std::int32_t RShift = 0, GShift = 0, BShift = 0;
    std::int32_t RFill = 0, GFill = 0, BFill = 0;
    bool operator==(const TDIBPixelFormat& o) const;
    bool operator!=(const TDIBPixelFormat& o) const { return !(*this == o); }
};

TDIBPixelFormat PixelFormatFromBits(int redBits, int greenBits, int blueBits);
int CountMaskBits(std::uint32_t mask);
TDIBPixelFormat PixelFormatFromMasks(std::uint32_t red, std::uint32_t green, std::uint32_t blue);
std::uint32_t PackPixelRGB(const TDIBPixelFormat& format, std::uint8_t red, std::uint8_t green,
                           std::uint8_t blue);
void UnpackPixelRGB(const TDIBPixelFormat& format, std::uint32_t pixel, std::uint8_t& red,
                    std::uint8_t& green, std::uint8_t& blue);
void FillGreyRamp(TColorTable& table);

// Largest pixel buffer a stored or read bitmap may have; anything bigger is refused before any
// allocation.
constexpr std::int64_t kMaxDibImageBytes = 256 * 1024 * 1024;

// Leaves new elements uninitialised on resize, so a buffer that a read fills completely is not
// cleared first; every other new buffer is zero-filled explicitly.
template <typename T>
struct TUninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = TUninitialisedAllocator<U>;
    };
    TUninitialisedAllocator() = default;
    template <typename U>
    TUninitialisedAllocator(const TUninitialisedAllocator<U>&) noexcept
    {
    }
    template <typename U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// The pixel store behind TDIB: bitmap info block (header, masks, colour table), bottom-up lines
// padded to 32 bits, or RLE bytes. Every store is a plain memory image; new buffers start at zero.
// Shared between bitmaps through shared_ptr; a writer takes a copy first.
class TDIBSharedImage {
public:
    TDIBSharedImage();
    ~TDIBSharedImage();
    TDIBSharedImage(const TDIBSharedImage&) = delete;
    TDIBSharedImage& operator=(const TDIBSharedImage&) = delete;

    void NewImage(int width, int height, int bitCount, const TDIBPixelFormat& pixelFormat,
                  const TColorTable& colorTable, bool compressed);
    void Duplicate(const TDIBSharedImage& source);
    void Compress(const TDIBSharedImage& source);
    void Decompress(const TDIBSharedImage& source);
    // Reads the info block, colour table and pixels. pixelOffset counts from the info block's
    // start (the file header's offset less 14); -1 when the stream has no file header, and the
    // pixels follow the colour table.
    void ReadData(QIODevice& stream, std::int64_t pixelOffset = -1);

    HPalette GetPalette();
    void SetColorTable(const TColorTable& table);

    int BitCount() const { return m_bitCount; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int WidthBytes() const { return m_widthBytes; }
    int NextLine() const { return -m_widthBytes; }
    std::int64_t Size() const { return m_size; }
    int PaletteCount() const { return m_paletteCount; }
    bool Compressed() const { return m_compressed; }
    const TColorTable& ColorTable() const { return m_colorTable; }
    const TDIBPixelFormat& PixelFormat() const { return m_pixelFormat; }
    const std::vector<std::uint8_t>& BitmapInfo() const { return m_bitmapInfo; }
    std::uint8_t* Pixels() { return m_pixels.data(); }
    const std::uint8_t* Pixels() const { return m_pixels.data(); }
    // Line y counted from the top.
    std::uint8_t* Line(int y);
    const std::uint8_t* Line(int y) const;

private:
    void reset();
    void newImage(int width, int height, int bitCount, const TDIBPixelFormat& pixelFormat,
                  const TColorTable& colorTable, bool compressed, bool zeroFill);
    void setImageSize(std::uint32_t size);

    int m_bitCount = 0;
    std::vector<std::uint8_t> m_bitmapInfo;
    bool m_colorTableChanged = true;
    TColorTable m_colorTable{};
    int m_colorTablePos = 40;
    bool m_compressed = false;
    int m_height = 0;
    HPalette m_palette = 0;
    int m_paletteCount = 0;
    std::vector<std::uint8_t, TUninitialisedAllocator<std::uint8_t>> m_pixels;
    TDIBPixelFormat m_pixelFormat;
    std::int64_t m_size = 0;
    int m_width = 0;
    int m_widthBytes = 0;
};

// The one empty image of the process; every empty TDIB refers to it.
std::shared_ptr<TDIBSharedImage> EmptySharedImage();

namespace DibMessages {
inline const char* const kInvalid = "DIB is invalid";
}
