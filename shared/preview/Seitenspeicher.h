#pragma once
// The page store: drawing recorded as items in a byte stream, replayed page by page later.

#include "Druckereinrichtung.h"

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPicture>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QTextDocument;

using TColor = std::uint32_t;  // 0x00BBGGRR, or a system colour reference (high bit set)

// A colour value resolved to RGB; system colour references take the application palette.
QColor ColorRefToQColor(TColor color);
TColor ColorToRGB(TColor color);

enum TExBrushStyle : std::uint8_t {
    exSolid,
    exClear,
    exHorizontal,
    exVertical,
    exFDiagonal,
    exBDiagonal,
    exCross,
    exDiagCross,
    exLinear,
    exLinearDouble,
    exRadial,
    exRadialDouble,
    exSquare,
    exSquareDouble,
    exConic
};

enum TPenStyle : std::uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame
};

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
constexpr std::uint8_t fsNarrow = 16;

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// Text alignment flags as recorded (left 0, right 2, centre 6; top 0, bottom 8, base line 24).
constexpr std::uint32_t TA_RIGHT = 2;
constexpr std::uint32_t TA_CENTER = 6;
constexpr std::uint32_t TA_BOTTOM = 8;
constexpr std::uint32_t TA_BASELINE = 24;

// Image kinds of the image items. Kind 3 holds a serialised QPicture; kind 5 a PNG file.
enum TImageKind : std::uint8_t {
    ikOther = 0,
    ikBitmap = 1,
    ikIcon = 2,
    ikPicture = 3,
    ikJpeg = 4,
    ikPng = 5
};

struct TSizeEntry {
    std::uint16_t ItemType;
    std::int16_t Page;
    std::uint32_t DataPos;
    std::uint8_t FixedSize;
    std::uint32_t ExtraSize;
};

struct TFontRecord {
    QString Name;
    std::int32_t Size = 10;
    TColor Color = 0;
    std::uint8_t Style = 0;
};

struct TBrushRecord {
    TExBrushStyle Style = exClear;
    TColor Color = 0xFFFFFF;
    TColor Color2 = 0xFFFFFF;
    std::uint8_t Angle = 0;
};

struct TPenRecord {
    TPenStyle Style = psClear;
    TColor Color = 0;
    double Width = 0.5;
};

// Rectangles are Left, Top, Right, Bottom with Right and Bottom outside (x + width, y + height).
class TPaper {
public:
    explicit TPaper(PrinterDevice& device = SystemPrinter());
    ~TPaper();
    TPaper(const TPaper&) = delete;
    TPaper& operator=(const TPaper&) = delete;

    // Recording; coordinates in Units.
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Draw(int x, int y, const QImage& image, TImageKind kind = ikBitmap);
    void Draw(int x, int y, const QPicture& picture);
    void StretchDraw(const QRect& rect, const QImage& image, TImageKind kind = ikBitmap);
    void StretchDraw(const QRect& rect, const QPicture& picture);
    void BrushCopy(const QRect& dest, const QImage& bitmap, const QRect& source, TColor color);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const QRect& r)
    {
        Ellipse(r.left(), r.top(), r.x() + r.width(), r.y() + r.height());
    }
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const QRect& r)
    {
        Rectangle(r.left(), r.top(), r.x() + r.width(), r.y() + r.height());
    }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void FrameRect(const QRect& r);
    void FillRect(const QRect& r);
    void DrawFocusRect(const QRect& r);
    void Line(int x1, int y1, int x2, int y2);
    void Polygon(const std::vector<QPoint>& points);
    void Polyline(const std::vector<QPoint>& points);
    void PolyBezier(const std::vector<QPoint>& points);
    void TextOut(int x, int y, const QString& text, std::int32_t angle = 0);
    void TextRect(const QRect& rect, int x, int y, const QString& text);
    void RichText(const QRect& rect, std::int32_t firstChar, std::int32_t lastChar,
                  const QByteArray& rtf);
    void DrawRegion(const QRegion& region);
    void SetFont(const QString& name, std::int32_t size, std::uint8_t style, TColor color,
                 bool narrow);
    void SetBrush(TExBrushStyle style, TColor color, TColor color2, const QImage* bitmap,
                  std::uint8_t angle);
    void SetPen(TPenStyle style, TColor color, double width);
    void SetAlign(TAlignment alignment, std::uint32_t flags);

    void Clear();
    void SetPage(std::int16_t page);
    std::int16_t GetPage() const { return page_; }
    std::int32_t GetItemsCountOnPage(std::int16_t page);
    void UpdatePagesLists();
    void ReCountDataPos();
    void SizesListAdd(const TSizeEntry& entry);

    QSize TextExtent(const QString& text);
    std::int32_t TextWidth(const QString& text) { return TextExtent(text).width(); }
    std::int32_t TextHeight(const QString& text) { return TextExtent(text).height(); }
    // How much of the rich text from firstChar on fits into rect (tenths of a millimetre).
    bool RichTextBounds(QRect& rect, std::int32_t firstChar, std::int32_t& lastChar,
                        const QByteArray& rtf);

    static std::int32_t TMM2Twips(std::int32_t value);
    static std::int32_t Twips2TMM(std::int32_t value);

    // Replay of one page onto any paint device's painter.
    void DrawToCanvas(QPainter& painter, double scale, std::int16_t page, bool forPrinter);
    void SetDefault(QPainter& painter, double scale);

    // Geometry.
    void Update();
    void GetScale(bool forPrinter, long double& x, long double& y) const;
    void SetUnits(TUnits value);
    TUnits Units() const { return units_; }
    long double CurrUnits() const { return currUnits_; }
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    double Zoom() const { return zoom_; }
    // The store owns both; the previous ones are freed.
    void SetIndentions(std::unique_ptr<TIndentions> value);
    void SetPrinterSetup(std::unique_ptr<TPrinterSetup> value);
    TIndentions& Indentions() { return *indentions_; }
    TPrinterSetup& PrinterSetup() { return *printerSetup_; }
    // Screen pixels per inch used for Zoom; taken from the primary screen, 96 without one.
    void SetScreenDpi(double dpi) { screenDpi_ = dpi; }

    // Read access for inspection and replay.
    const QByteArray& Stream() const { return stream_; }
    const std::vector<TSizeEntry>& SizeList() const { return sizeList_; }
    const TFontRecord& CurrentFont() const { return font_; }
    const TBrushRecord& CurrentBrush() const { return brush_; }
    const TPenRecord& CurrentPen() const { return pen_; }
    std::uint32_t CurrentAlign() const { return align_; }

    std::function<void()> OnChangeSize;
    std::function<void()> OnChangeUnits;
    std::function<void(std::uint16_t itemType, std::int32_t index)> OnDrawObject;

private:
    friend class PageReplay;
    void record(std::uint16_t type, const QByteArray& fixed, const QByteArray& extra = {});
    void recordEightCoordinates(std::uint16_t type, const int (&v)[8]);
    void recordRect(std::uint16_t type, int l, int t, int r, int b);
    void recordPoints(std::uint16_t type, const std::vector<QPoint>& points);
    void recordImage(std::uint16_t type, QByteArray fixed, const QByteArray& data);
    void bindPrinterSetup();
    void OnChangePrinterFormat();
    QFont printerFont(const TFontRecord& record) const;
    // Lays out the rich text from firstChar to lastChar (-1: to the end) in tenths of a millimetre.
    static void layoutRichText(QTextDocument& document, const QByteArray& rtf,
                               std::int32_t firstChar, std::int32_t lastChar, int widthTMM);

    QByteArray stream_;
    std::vector<TSizeEntry> sizeList_;
    std::vector<std::vector<std::uint32_t>> pageLists_;
    bool stale_ = true;
    std::int16_t page_ = 1;
    std::unique_ptr<TIndentions> indentions_;
    std::unique_ptr<TPrinterSetup> printerSetup_;
    TUnits units_ = unMillimeters;
    long double currUnits_ = 1.0L;
    long double ppmmX_ = 0;
    long double ppmmY_ = 0;
    double zoom_ = 1.0;
    std::int32_t width_ = 800;
    std::int32_t height_ = 600;
    double screenDpi_;
    QImage metricsDevice_;  // 1 x 1 with the printer's resolution, for font metrics

    TFontRecord font_;
    TBrushRecord brush_;
    TPenRecord pen_;
    std::uint32_t align_ = 0;
};
