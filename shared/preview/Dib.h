#pragma once

#include "DibImage.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;
class QPainter;

// A file that cannot be opened, written or completed.
class EDibFileError : public std::runtime_error {
public:
    explicit EDibFileError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

struct TDIBProgress {
    enum Stage { Starting, Running, Ending };
    Stage stage = Starting;
    int percent = 0;
    bool redrawNow = false;
    QRect rect;
    QString message;
};

// Device-independent bitmap of 1, 4, 8, 16, 24 or 32 bits per pixel over a shared pixel store.
// Copies share the store until one of them writes. Lines are counted from the top.
class TDIB {
public:
    TDIB();
    TDIB(const TDIB& other);
    TDIB& operator=(const TDIB& other);
    ~TDIB();

    void Clear();
    void SetSize(int width, int height, int bitCount);
    void SetWidth(int width);
    void SetHeight(int height);
    void SetBitCount(int bitCount);
    void ConvertBitCount(int bitCount);
    void SetNowPixelFormat(const TDIBPixelFormat& format);

    int GetWidth() const { return m_image->Width(); }
    int GetHeight() const { return m_image->Height(); }
    int GetBitCount() const { return m_image->BitCount(); }
    int GetWidthBytes() const { return m_image->WidthBytes(); }
    std::int64_t GetSize() const { return m_image->Size(); }
    bool GetEmpty() const { return m_image->Size() == 0; }
    bool IsCompressed() const { return m_image->Compressed(); }
    const TDIBPixelFormat& GetPixelFormat() const { return m_image->PixelFormat(); }
    const TDIBPixelFormat& NowPixelFormat() const { return m_nowPixelFormat; }
    bool SharesImageWith(const TDIB& other) const { return m_image == other.m_image; }

    void Assign(const TDIB& source);
    // Takes the QImage's depth where the bitmap has one (mono, indexed 8, 16, 24 and 32 bits),
    // else 24 bits.
    void Assign(const QImage& source);

    // The picture as a top-down QImage, for drawing and for the clipboard.
    QImage ToImage() const;
    void Draw(QPainter& target, const QRect& rect) const;
    // Draws into the bitmap: the painter works on a true-colour copy whose result is stored back
    // at the bitmap's depth, colours of 1 to 8 bits mapped to the nearest table entry.
    void Paint(const std::function<void(QPainter&)>& draw);

    std::uint32_t GetPixel(int x, int y);
    void SetPixel(int x, int y, std::uint32_t value);
    std::uint8_t* GetScanLine(int y);
    const std::uint8_t* GetScanLineReadOnly(int y) const;
    std::uint8_t* GetPBits();
    const std::uint8_t* GetPBitsReadOnly() const { return m_image->Pixels(); }
    const std::vector<std::uint8_t>& GetBitmapInfo() const { return m_image->BitmapInfo(); }
    int GetBitmapInfoSize() const { return static_cast<int>(m_image->BitmapInfo().size()); }

    HPalette GetPalette() { return m_image->GetPalette(); }
    int GetPaletteCount() const { return m_image->PaletteCount(); }
    const TColorTable& ColorTable() const { return m_colorTable; }
    // The first entries replace the colour table; the rest are kept.
    void SetPalette(const QVector<QRgb>& colors);
    void UpdatePalette();

    void Compress();
    void Decompress();

    void LoadFromStream(QIODevice& stream);
    void SaveToStream(QIODevice& stream);
    void ReadData(QIODevice& stream);
    void WriteData(QIODevice& stream);
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName);
    // The clipboard's device-independent form: info block and pixels, no file header.
    QByteArray SaveToClipboardFormat();
    void LoadFromClipboardFormat(const QByteArray& data);

    void Blur(int bitCount, int radius);
    void Greyscale(int bitCount);
    void Mirror(bool horizontal, bool vertical);
    void Negative();

    std::function<void(const TDIBProgress&)> OnProgress;
    // Milliseconds of a steady clock; tests put a fake here.
    std::function<std::int64_t()> Clock;

private:
    void SetImage(std::shared_ptr<TDIBSharedImage> image);
    void Changing();
    void StartProgress(const QString& name);
    void UpdateProgress(int line);
    void EndProgress();
    void SetGreyColorTable(int bitCount);
    std::int64_t now() const;

    std::shared_ptr<TDIBSharedImage> m_image;
    TColorTable m_colorTable{};
    TDIBPixelFormat m_nowPixelFormat;
    QString m_progressName;
    int m_progressStartLine = 0;
    std::int64_t m_progressTime = 0;
    int m_progressPercent = 0;
    int m_progressLine = 0;
};

namespace DibPixels {
// One pixel's raw value on a line: an index for up to 8 bits, the stored word otherwise (24 bits
// as blue + green·256 + red·65536, the byte order of the line).
std::uint32_t Raw(const std::uint8_t* line, int x, int bitCount);
void SetRaw(std::uint8_t* line, int x, int bitCount, std::uint32_t value);
// The pixel's colour through the image's colour table or pixel format.
QRgb Color(const TDIBSharedImage& image, const std::uint8_t* line, int x);
}  // namespace DibPixels
