#include "Seitenspeicher.h"

#include "Tools.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPalette>
#include <QPainter>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include "RtfLeser.h"

#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

void putI32(QByteArray& b, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    const char bytes[4] = {char(u & 0xFF), char((u >> 8) & 0xFF), char((u >> 16) & 0xFF),
                           char((u >> 24) & 0xFF)};
    b.append(bytes, 4);
}
void putU32(QByteArray& b, std::uint32_t v)
{
    putI32(b, static_cast<std::int32_t>(v));
}
void putDouble(QByteArray& b, double v)
{
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    putU32(b, std::uint32_t(u & 0xFFFFFFFFu));
    putU32(b, std::uint32_t(u >> 32));
}
void putByte(QByteArray& b, std::uint8_t v)
{
    b.append(char(v));
}
void pad(QByteArray& b, int count)
{
    b.append(count, '\0');
}

QByteArray encodeImage(const QImage& image, TImageKind kind)
{
    const char* format = nullptr;
    switch (kind) {
        case ikBitmap:
            format = "BMP";
            break;
        case ikIcon:
            format = "ICO";
            break;
        case ikJpeg:
            format = "JPG";
            break;
        case ikPng:
            format = "PNG";
            break;
        case ikOther:
        case ikPicture:
            throw std::invalid_argument(
                "Ein Bild kann nicht als diese Bildart aufgezeichnet werden.");
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        throw std::runtime_error(std::string("Das Bild kann nicht im Format ") + format +
                                 " gespeichert werden.");
    return data;
}

QByteArray encodePicture(const QPicture& picture)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QPicture copy(picture);
    if (!copy.save(&buffer))
        throw std::runtime_error("Die Zeichnung kann nicht gespeichert werden.");
    return data;
}

// A pixel-per-tenth-millimetre device: rich text laid out on it measures in tenths of a millimetre.
QImage& tenthMillimetreDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(10000);
        image.setDotsPerMeterY(10000);
        return image;
    }();
    return device;
}

}  // namespace

TColor ColorToRGB(TColor color)
{
    if ((color & 0x80000000u) == 0)
        return color & 0x00FFFFFFu;
    static const QPalette::ColorRole roles[] = {
        QPalette::Button,          QPalette::Window,     QPalette::Highlight,
        QPalette::Window,          QPalette::Window,     QPalette::Base,
        QPalette::Shadow,          QPalette::WindowText, QPalette::Text,
        QPalette::HighlightedText, QPalette::Window,     QPalette::Window,
        QPalette::Window,          QPalette::Highlight,  QPalette::HighlightedText,
        QPalette::Button,          QPalette::Dark,       QPalette::PlaceholderText,
        QPalette::ButtonText,      QPalette::WindowText, QPalette::Light,
        QPalette::Shadow,          QPalette::Midlight,   QPalette::ToolTipText,
        QPalette::ToolTipBase};
    const std::uint32_t index = color & 0xFFu;
    const QPalette palette = QGuiApplication::palette();
    const QColor c = palette.color(index < std::size(roles) ? roles[index] : QPalette::WindowText);
    return TColor(c.red()) | (TColor(c.green()) << 8) | (TColor(c.blue()) << 16);
}

QColor ColorRefToQColor(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

TPaper::TPaper(PrinterDevice& device)
    : indentions_(std::make_unique<TIndentions>()),
      printerSetup_(std::make_unique<TPrinterSetup>(device))
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    screenDpi_ = screen ? screen->logicalDotsPerInch() : 96.0;
    bindPrinterSetup();
    printerSetup_->SetPaperFormat(pfA4);
    ppmmX_ = printerSetup_->PixelsPerMM_byX();
    ppmmY_ = printerSetup_->PixelsPerMM_byY();
}

TPaper::~TPaper() = default;

void TPaper::bindPrinterSetup()
{
    printerSetup_->OnChangeFormat = [this] { OnChangePrinterFormat(); };
}

void TPaper::OnChangePrinterFormat()
{
    Update();
    if (OnChangeSize)
        OnChangeSize();
}

void TPaper::record(std::uint16_t type, const QByteArray& fixed, const QByteArray& extra)
{
    if (stream_.size() + qsizetype(fixed.size()) + extra.size() >
        qsizetype(std::numeric_limits<std::uint32_t>::max()))
        throw std::length_error("Die Seitenaufzeichnung ist zu groß.");
    TSizeEntry entry;
    entry.ItemType = type;
    entry.Page = (type >= 2 && type <= 4) ? std::int16_t(-1) : page_;
    entry.DataPos = std::uint32_t(stream_.size());
    entry.FixedSize = std::uint8_t(fixed.size());
    entry.ExtraSize = std::uint32_t(extra.size());
    stream_.append(fixed);
    stream_.append(extra);
    SizesListAdd(entry);
}

void TPaper::SizesListAdd(const TSizeEntry& entry)
{
    if (entry.Page < -1)
        throw std::out_of_range("Seitennummern unter -1 sind nicht erlaubt.");
    sizeList_.push_back(entry);
    stale_ = true;
}

void TPaper::recordEightCoordinates(std::uint16_t type, const int (&v)[8])
{
    QByteArray fixed;
    for (int x : v)
        putI32(fixed, x);
    record(type, fixed);
}

void TPaper::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    recordEightCoordinates(7, {x1, y1, x2, y2, x3, y3, x4, y4});
}
void TPaper::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    recordEightCoordinates(8, {x1, y1, x2, y2, x3, y3, x4, y4});
}
void TPaper::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    recordEightCoordinates(9, {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TPaper::Draw(int x, int y, const QImage& image, TImageKind kind)
{
    QByteArray fixed;
    putI32(fixed, x);
    putI32(fixed, y);
    putI32(fixed, image.width());
    putI32(fixed, image.height());
    putByte(fixed, kind);
    // A QImage carries no transparent-colour setting; the replay draws opaquely anyway.
    pad(fixed, 7);
    record(5, fixed, encodeImage(image, kind));
}

void TPaper::Draw(int x, int y, const QPicture& picture)
{
    QByteArray fixed;
    putI32(fixed, x);
    putI32(fixed, y);
    putI32(fixed, picture.boundingRect().width());
    putI32(fixed, picture.boundingRect().height());
    putByte(fixed, ikPicture);
    pad(fixed, 7);
    record(5, fixed, encodePicture(picture));
}

static QByteArray frameRecord(const QRect& r, TImageKind kind)
{
    QByteArray fixed;
    putI32(fixed, r.x());
    putI32(fixed, r.y());
    putI32(fixed, r.x() + r.width());
    putI32(fixed, r.y() + r.height());
    putByte(fixed, kind);
    pad(fixed, 7);
    return fixed;
}

void TPaper::StretchDraw(const QRect& rect, const QImage& image, TImageKind kind)
{
    record(6, frameRecord(rect, kind), encodeImage(image, kind));
}

void TPaper::StretchDraw(const QRect& rect, const QPicture& picture)
{
    record(6, frameRecord(rect, ikPicture), encodePicture(picture));
}

void TPaper::BrushCopy(const QRect& dest, const QImage& bitmap, const QRect& source, TColor color)
{
    const int w = std::abs(source.width());
    const int h = std::abs(source.height());
    QImage copy = bitmap.copy(source.normalized()).convertToFormat(QImage::Format_RGB888);
    if (copy.size() != QSize(w, h))
        copy = copy.scaled(w, h);
    // The bitmap canvas's brush is white: pixels of Color take it.
    const QRgb key = ColorRefToQColor(color).rgb();
    for (int y = 0; y < copy.height(); ++y)
        for (int x = 0; x < copy.width(); ++x)
            if (copy.pixel(x, y) == key)
                copy.setPixel(x, y, qRgb(255, 255, 255));
    StretchDraw(dest, copy, ikBitmap);
}

void TPaper::recordRect(std::uint16_t type, int l, int t, int r, int b)
{
    QByteArray fixed;
    putI32(fixed, l);
    putI32(fixed, t);
    putI32(fixed, r);
    putI32(fixed, b);
    record(type, fixed);
}

void TPaper::Ellipse(int x1, int y1, int x2, int y2)
{
    recordRect(13, x1, y1, x2, y2);
}
void TPaper::Rectangle(int x1, int y1, int x2, int y2)
{
    recordRect(14, x1, y1, x2, y2);
}

void TPaper::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    QByteArray fixed;
    for (int v : {x1, y1, x2, y2, x3, y3})
        putI32(fixed, v);
    record(15, fixed);
}

void TPaper::FrameRect(const QRect& r)
{
    recordRect(16, r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
}
void TPaper::FillRect(const QRect& r)
{
    recordRect(17, r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
}
void TPaper::DrawFocusRect(const QRect& r)
{
    recordRect(18, r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
}
void TPaper::Line(int x1, int y1, int x2, int y2)
{
    recordRect(21, x1, y1, x2, y2);
}

void TPaper::recordPoints(std::uint16_t type, const std::vector<QPoint>& points)
{
    QByteArray fixed;
    putI32(fixed, std::int32_t(points.size()));
    QByteArray extra;
    extra.reserve(qsizetype(points.size()) * 8);
    for (const QPoint& p : points) {
        putI32(extra, p.x());
        putI32(extra, p.y());
    }
    record(type, fixed, extra);
}

void TPaper::Polygon(const std::vector<QPoint>& points)
{
    recordPoints(10, points);
}
void TPaper::Polyline(const std::vector<QPoint>& points)
{
    recordPoints(11, points);
}
void TPaper::PolyBezier(const std::vector<QPoint>& points)
{
    recordPoints(12, points);
}

void TPaper::TextOut(int x, int y, const QString& text, std::int32_t angle)
{
    QByteArray fixed;
    putI32(fixed, x);
    putI32(fixed, y);
    putI32(fixed, angle);
    record(19, fixed, text.toUtf8());
}

void TPaper::TextRect(const QRect& rect, int x, int y, const QString& text)
{
    QByteArray fixed;
    for (int v : {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height(), x, y})
        putI32(fixed, v);
    record(20, fixed, text.toUtf8());
}

void TPaper::RichText(const QRect& rect, std::int32_t firstChar, std::int32_t lastChar,
                      const QByteArray& rtf)
{
    QByteArray fixed;
    for (int v : {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height(), firstChar,
                  lastChar})
        putI32(fixed, v);
    record(23, fixed, rtf);
}

void TPaper::DrawRegion(const QRegion& region)
{
    const QRect box = region.boundingRect();
    QByteArray fixed;
    for (int v : {box.x(), box.y(), box.x() + box.width(), box.y() + box.height()})
        putI32(fixed, v);
    // Header of 32 bytes (size 32, type 1, count, size of the rectangles, bounds), then the
    // rectangles, each Left, Top, Right, Bottom with Right and Bottom outside.
    const int count = region.rectCount();
    QByteArray data;
    putU32(data, 32);
    putU32(data, 1);
    putU32(data, std::uint32_t(count));
    putU32(data, std::uint32_t(count) * 16);
    data.append(fixed);
    for (const QRect& r : region) {
        putI32(data, r.x());
        putI32(data, r.y());
        putI32(data, r.x() + r.width());
        putI32(data, r.y() + r.height());
    }
    record(22, fixed, data);
}

void TPaper::SetFont(const QString& name, std::int32_t size, std::uint8_t style, TColor color,
                     bool narrow)
{
    font_.Name = name.left(32);
    // The name field holds 32 bytes of UTF-8; a name that needs more loses whole characters.
    QByteArray nameBytes = font_.Name.toUtf8();
    while (nameBytes.size() > 32) {
        font_.Name.chop(1);
        nameBytes = font_.Name.toUtf8();
    }
    font_.Size = size;
    font_.Color = color;
    font_.Style = std::uint8_t((style & 15) | (narrow ? fsNarrow : 0));
    QByteArray fixed;
    putByte(fixed, std::uint8_t(nameBytes.size()));
    fixed.append(nameBytes);
    pad(fixed, 32 - int(nameBytes.size()) + 3);
    putI32(fixed, size);
    putU32(fixed, color);
    putByte(fixed, font_.Style);
    pad(fixed, 3);
    record(2, fixed);
}

void TPaper::SetBrush(TExBrushStyle style, TColor color, TColor color2, const QImage* bitmap,
                      std::uint8_t angle)
{
    brush_ = TBrushRecord{style, color, color2, angle};
    QByteArray fixed;
    putByte(fixed, style);
    pad(fixed, 3);
    putU32(fixed, color);
    putU32(fixed, color2);
    putByte(fixed, angle);
    pad(fixed, 3);
    record(3, fixed, bitmap ? encodeImage(*bitmap, ikBitmap) : QByteArray());
}

void TPaper::SetPen(TPenStyle style, TColor color, double width)
{
    pen_ = TPenRecord{style, color, width};
    QByteArray fixed;
    putByte(fixed, style);
    pad(fixed, 3);
    putU32(fixed, color);
    putDouble(fixed, width);
    record(4, fixed);
}

void TPaper::SetAlign(TAlignment alignment, std::uint32_t flags)
{
    const std::uint32_t base = alignment == taRightJustify ? TA_RIGHT
                               : alignment == taCenter     ? TA_CENTER
                                                           : 0;
    align_ = base + flags;
    QByteArray fixed;
    putU32(fixed, align_);
    record(24, fixed);
}

void TPaper::Clear()
{
    Update();
    sizeList_.clear();
    pageLists_.clear();
    stale_ = true;
    stream_.clear();
}

void TPaper::SetPage(std::int16_t page)
{
    if (page < -1)
        throw std::out_of_range("Seitennummern unter -1 sind nicht erlaubt.");
    page_ = page;
}

void TPaper::UpdatePagesLists()
{
    std::int16_t last = 1;
    for (const TSizeEntry& e : sizeList_)
        last = std::max(last, e.Page);
    pageLists_.assign(std::size_t(last) + 1, {});
    for (std::uint32_t i = 0; i < sizeList_.size(); ++i) {
        const std::int16_t page = sizeList_[i].Page;
        if (page == -1) {
            for (auto& list : pageLists_)
                list.push_back(i);
        } else {
            pageLists_[std::size_t(page)].push_back(i);
        }
    }
    stale_ = false;
}

std::int32_t TPaper::GetItemsCountOnPage(std::int16_t page)
{
    if (page < 0)
        throw std::out_of_range("Eine Seite unter 0 hat keine Liste.");
    if (stale_)
        UpdatePagesLists();
    return std::size_t(page) < pageLists_.size()
               ? std::int32_t(pageLists_[std::size_t(page)].size())
               : 0;
}

void TPaper::ReCountDataPos()
{
    std::uint32_t offset = 0;
    for (TSizeEntry& e : sizeList_) {
        e.DataPos = offset;
        offset += e.FixedSize + e.ExtraSize;
    }
    stale_ = true;
}

QFont TPaper::printerFont(const TFontRecord& record) const
{
    QFont font(record.Name);
    font.setPointSize(record.Size);
    font.setBold(record.Style & fsBold);
    font.setItalic(record.Style & fsItalic);
    font.setUnderline(record.Style & fsUnderline);
    font.setStrikeOut(record.Style & fsStrikeOut);
    return font;
}

QSize TPaper::TextExtent(const QString& text)
{
    if (ppmmX_ <= 0 || ppmmY_ <= 0)
        Update();
    if (ppmmX_ <= 0 || ppmmY_ <= 0)
        throw std::runtime_error(
            "Der Drucker meldet keine Papiergröße; Text kann nicht gemessen werden.");
    // The narrow bit is not applied: the text is measured at its full width.
    const QFontMetricsF metrics(printerFont(font_), &metricsDevice_);
    const long double w = metrics.horizontalAdvance(text);
    const long double h = metrics.height();
    return QSize(int(Tools::Round(w / ppmmX_ / currUnits_)),
                 int(Tools::Round(h / ppmmY_ / currUnits_)));
}

void TPaper::layoutRichText(QTextDocument& document, const QByteArray& rtf, std::int32_t firstChar,
                            std::int32_t lastChar, int widthTMM)
{
    document.documentLayout()->setPaintDevice(&tenthMillimetreDevice());
    document.setDocumentMargin(0);
    ReadRtf(rtf, document);
    const int length = document.characterCount() - 1;
    QTextCursor cursor(&document);
    if (lastChar >= 0 && lastChar < length) {
        cursor.setPosition(lastChar);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    if (firstChar > 0) {
        cursor.setPosition(0);
        cursor.setPosition(std::min(firstChar, length), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    document.setTextWidth(widthTMM);
}

bool TPaper::RichTextBounds(QRect& rect, std::int32_t firstChar, std::int32_t& lastChar,
                            const QByteArray& rtf)
{
    QTextDocument whole;
    ReadRtf(rtf, whole);
    const int length = whole.characterCount() - 1;
    if (length <= 0) {
        lastChar = 0;
        rect.setHeight(0);
        return true;
    }
    QTextDocument document;
    layoutRichText(document, rtf, firstChar, lastChar, rect.width());
    const int height = rect.height();
    const int start = std::max(firstChar, 0);
    int notFitting = -1;
    qreal usedBottom = 0;
    for (QTextBlock block = document.begin(); block.isValid() && notFitting < 0;
         block = block.next()) {
        const qreal top = document.documentLayout()->blockBoundingRect(block).top();
        const QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const qreal bottom = top + line.y() + line.height();
            if (bottom > height) {
                notFitting = start + block.position() + line.textStart();
                break;
            }
            usedBottom = bottom;
        }
    }
    lastChar = notFitting < 0 ? length : notFitting;
    rect.setHeight(int(std::ceil(usedBottom)));
    return lastChar >= length;
}

std::int32_t TPaper::TMM2Twips(std::int32_t value)
{
    return std::int32_t(static_cast<long double>(value) / 254 * 1440 + 0.5L);
}

std::int32_t TPaper::Twips2TMM(std::int32_t value)
{
    return std::int32_t(static_cast<long double>(value) / 1440 * 254 + 0.5L);
}

void TPaper::Update()
{
    printerSetup_->Update();
    const int dpiX = printerSetup_->Device().logicalDpiX();
    const int dpiY = printerSetup_->Device().logicalDpiY();
    if (dpiX > 0 && dpiY > 0) {
        metricsDevice_ = QImage(1, 1, QImage::Format_RGB32);
        metricsDevice_.setDotsPerMeterX(int(std::lround(dpiX / 0.0254)));
        metricsDevice_.setDotsPerMeterY(int(std::lround(dpiY / 0.0254)));
    }
    ppmmX_ = printerSetup_->PixelsPerMM_byX();
    ppmmY_ = printerSetup_->PixelsPerMM_byY();
    const long double denominator = printerSetup_->PaperWidth_MM() * ppmmX_;
    if (denominator != 0)
        zoom_ = double(screenDpi_ * printerSetup_->PaperWidth_Inch() / denominator);
    width_ = std::int32_t(Tools::Round(printerSetup_->PaperWidth_MM() * zoom_ * ppmmX_));
    height_ = std::int32_t(Tools::Round(printerSetup_->PaperHeight_MM() * zoom_ * ppmmY_));
}

void TPaper::GetScale(bool forPrinter, long double& x, long double& y) const
{
    if (forPrinter) {
        x = ppmmX_;
        y = ppmmY_;
    } else {
        x = y = std::max(ppmmX_, ppmmY_);
    }
}

void TPaper::SetUnits(TUnits value)
{
    if (value == units_)
        return;
    units_ = value;
    currUnits_ = CurrUnitsOf(value);
    if (OnChangeUnits)
        OnChangeUnits();
}

void TPaper::SetIndentions(std::unique_ptr<TIndentions> value)
{
    if (!value)
        throw std::invalid_argument("Die Seitenränder fehlen.");
    indentions_ = std::move(value);
}

void TPaper::SetPrinterSetup(std::unique_ptr<TPrinterSetup> value)
{
    if (!value)
        throw std::invalid_argument("Die Druckereinrichtung fehlt.");
    printerSetup_ = std::move(value);
    bindPrinterSetup();
    Update();
}
