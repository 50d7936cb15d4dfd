// Replay of one recorded page onto a QPainter: screen widget, QImage, QPdfWriter or QPrinter.

#include "Seitenspeicher.h"
#include "Verlauf.h"

#include "Tools.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>

#include <cmath>
#include <cstring>
#include <stdexcept>

using Tools::Round;

namespace {

std::int32_t i32(const QByteArray& b, int at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                        std::uint32_t(p[3]) << 24);
}
std::uint32_t u32(const QByteArray& b, int at)
{
    return std::uint32_t(i32(b, at));
}
std::uint8_t u8(const QByteArray& b, int at)
{
    return std::uint8_t(b[at]);
}
double f64(const QByteArray& b, int at)
{
    const std::uint64_t u = std::uint64_t(u32(b, at)) | std::uint64_t(u32(b, at + 4)) << 32;
    double d;
    std::memcpy(&d, &u, 8);
    return d;
}

Qt::PenStyle qtPenStyle(std::uint8_t style)
{
    static const Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                          Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen,
                                          Qt::SolidLine};
    return style <= psInsideFrame ? styles[style] : Qt::SolidLine;
}

Qt::BrushStyle qtBrushStyle(std::uint8_t style)
{
    static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush,         Qt::HorPattern,
                                            Qt::VerPattern,   Qt::FDiagPattern,    Qt::BDiagPattern,
                                            Qt::CrossPattern, Qt::DiagCrossPattern};
    return style <= exDiagCross ? styles[style] : Qt::NoBrush;
}

QImage decodeImage(const QByteArray& data, std::uint8_t kind)
{
    const char* format = kind == ikBitmap ? "BMP"
                         : kind == ikIcon ? "ICO"
                         : kind == ikJpeg ? "JPG"
                                          : "PNG";
    QImage image;
    if (!image.loadFromData(data, format))
        throw std::runtime_error("Ein aufgezeichnetes Bild kann nicht gelesen werden.");
    if (image.hasAlphaChannel()) {
        // Images are drawn opaquely, on white.
        QImage opaque(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter(&opaque).drawImage(0, 0, image);
        return opaque;
    }
    return image;
}

}  // namespace

class PageReplay {
public:
    PageReplay(TPaper& paper, QPainter& painter, double scale)
        : paper_(paper), painter_(painter), scale_(scale)
    {
    }

    void run(std::int16_t page, bool forPrinter)
    {
        if (page < 0)
            throw std::out_of_range("Eine Seite unter 0 kann nicht gezeigt werden.");
        paper_.Update();
        if (forPrinter) {
            paper_.zoom_ = 1.0;
            const QPoint offset = paper_.printerSetup_->Device().physicalOffset();
            offX_ = offset.x();
            offY_ = offset.y();
        }
        paper_.GetScale(forPrinter, scaleX_, scaleY_);
        paper_.ReCountDataPos();
        setDefault();
        if (paper_.stale_)
            paper_.UpdatePagesLists();
        if (std::size_t(page) >= paper_.pageLists_.size())
            return;
        const std::vector<std::uint32_t> list = paper_.pageLists_[std::size_t(page)];
        const QByteArray& stream = paper_.stream_;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const TSizeEntry& e = paper_.sizeList_[list[i]];
            const QByteArray fixed = stream.mid(int(e.DataPos), e.FixedSize);
            const QByteArray extra = stream.mid(int(e.DataPos + e.FixedSize), int(e.ExtraSize));
            draw(e.ItemType, fixed, extra);
            if (paper_.OnDrawObject && (i % 10 == 0 || i + 1 == list.size()))
                paper_.OnDrawObject(e.ItemType, std::int32_t(i));
        }
    }

    void setDefault()
    {
        QFont font("Times New Roman");
        font.setPointSize(std::max<int>(1, int(Round(10 * scale_ / 100))));
        painter_.setFont(font);
        textColor_ = Qt::black;
        QPen pen(Qt::black);
        pen.setWidth(int(
            Round(paper_.zoom_ * ((paper_.ppmmX_ + paper_.ppmmY_) / 2) * 0.17638888888888889L)));
        painter_.setPen(pen);
        painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter_.setBrush(QBrush(Qt::white, Qt::NoBrush));
        paper_.page_ = 1;
        font_ = TFontRecord{"Times New Roman", 10, 0, 0};
        pen_ = TPenRecord{psClear, 0, 0.5};
        brush_ = TBrushRecord{exClear, 0xFFFFFF, 0xFFFFFF, 0};
        align_ = 0;
    }

private:
    int x(long double v) const
    {
        return int(Round(v * paper_.zoom_ * scaleX_ * paper_.currUnits_ * scale_ / 100 - offX_));
    }
    int y(long double v) const
    {
        return int(Round(v * paper_.zoom_ * scaleY_ * paper_.currUnits_ * scale_ / 100 - offY_));
    }
    int lengthX(long double v) const
    {
        return int(Round(v * paper_.zoom_ * scaleX_ * paper_.currUnits_ * scale_ / 100));
    }
    int lengthY(long double v) const
    {
        return int(Round(v * paper_.zoom_ * scaleY_ * paper_.currUnits_ * scale_ / 100));
    }
    bool gradient() const { return brush_.Style >= exLinear && brush_.Style <= exConic; }

    // Figures cover x1..x2-1 and y1..y2-1, on screen and on paper alike.
    QRect figureRect(int x1, int y1, int x2, int y2) const
    {
        const QRect r = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
        if (painter_.pen().style() == Qt::NoPen)
            return QRect(r.x(), r.y(), r.width() - 1, r.height() - 1);
        return QRect(r.x(), r.y(), r.width() - 2, r.height() - 2);
    }

    void gradientIn(const QRect& box, const QPainterPath& clipRelative)
    {
        painter_.save();
        painter_.translate(box.topLeft());
        painter_.setClipPath(clipRelative, Qt::IntersectClip);
        TPainterDrawCanvas canvas(painter_);
        const TRectL all{0, 0, box.width(), box.height()};
        Drawing::GradientRect(canvas, all, all, brush_.Color, brush_.Color2,
                              std::uint8_t(brush_.Style - 7), brush_.Angle);
        painter_.restore();
    }

    void setFont(const QByteArray& f)
    {
        const int length = std::min<int>(u8(f, 0), 32);
        font_.Name = QString::fromUtf8(f.mid(1, length));
        font_.Size = i32(f, 36);
        font_.Color = u32(f, 40);
        font_.Style = u8(f, 44);
        QFont font(font_.Name);
        font.setPointSize(std::max<int>(1, int(Round(font_.Size * scale_ / 100))));
        font.setBold(font_.Style & fsBold);
        font.setItalic(font_.Style & fsItalic);
        font.setUnderline(font_.Style & fsUnderline);
        font.setStrikeOut(font_.Style & fsStrikeOut);
        if (font_.Style & fsNarrow)
            font.setStretch(65);
        painter_.setFont(font);
        textColor_ = ColorRefToQColor(font_.Color);
    }

    void setBrush(const QByteArray& f, const QByteArray& extra)
    {
        brush_ = TBrushRecord{TExBrushStyle(u8(f, 0)), u32(f, 4), u32(f, 8), u8(f, 12)};
        const QColor color = ColorRefToQColor(brush_.Color);
        if (extra.isEmpty()) {
            painter_.setBrush(QBrush(color, qtBrushStyle(brush_.Style)));
        } else {
            painter_.setBrush(QBrush(decodeImage(extra, ikBitmap)));
        }
    }

    void setPen(const QByteArray& f)
    {
        pen_ = TPenRecord{TPenStyle(u8(f, 0)), u32(f, 4), f64(f, 8)};
        QPen pen(ColorRefToQColor(pen_.Color));
        pen.setStyle(qtPenStyle(pen_.Style));
        // Width in units times millimetres per unit times millimetres per point: dimensionally odd,
        // but it is how every printed list has always looked (a 0.5 line prints about 0.18 mm wide
        // in tenths of a millimetre). Kept on purpose.
        pen.setWidth(
            int(Round(paper_.zoom_ * (paper_.currUnits_ * pen_.Width * 0.35277777777777778L) *
                      ((scaleX_ + scaleY_) / 2) * scale_ / 100)));
        painter_.setPen(pen);
    }

    QPointF alignedOrigin(const QString& text) const
    {
        const QFontMetricsF metrics(painter_.font(), painter_.device());
        qreal dx = 0;
        if ((align_ & TA_CENTER) == TA_CENTER)
            dx = -metrics.horizontalAdvance(text) / 2;
        else if (align_ & TA_RIGHT)
            dx = -metrics.horizontalAdvance(text);
        qreal dy = metrics.ascent();
        if ((align_ & TA_BASELINE) == TA_BASELINE)
            dy = 0;
        else if (align_ & TA_BOTTOM)
            dy = -metrics.descent();
        return QPointF(dx, dy);
    }

    void writeText(const QPointF& at, const QString& text)
    {
        painter_.save();
        painter_.setPen(textColor_);
        painter_.drawText(at, text);
        painter_.restore();
    }

    QPainterPath textPath(const QPointF& topLeft, const QString& text) const
    {
        QPainterPath path;
        const QFontMetricsF metrics(painter_.font(), painter_.device());
        path.addText(topLeft + QPointF(0, metrics.ascent()), painter_.font(), text);
        return path;
    }

    void textOut(const QByteArray& f, const QString& text)
    {
        const int px = x(i32(f, 0));
        const int py = y(i32(f, 4));
        const int angle = i32(f, 8);
        if (gradient()) {
            const QFontMetricsF metrics(painter_.font(), painter_.device());
            const QRect box(px, py, int(std::ceil(metrics.horizontalAdvance(text))),
                            int(std::ceil(metrics.height())));
            gradientIn(box, textPath(QPointF(0, 0), text));
            return;
        }
        painter_.save();
        painter_.translate(px, py);
        if (angle != 0)
            painter_.rotate(-angle);
        const QPointF origin = alignedOrigin(text);
        painter_.restore();
        painter_.save();
        painter_.translate(px, py);
        if (angle != 0)
            painter_.rotate(-angle);
        writeText(origin, text);
        painter_.restore();
    }

    void textRect(const QByteArray& f, const QString& text)
    {
        const QRect box =
            QRect(QPoint(x(i32(f, 0)), y(i32(f, 4))), QPoint(x(i32(f, 8)), y(i32(f, 12))))
                .normalized()
                .adjusted(0, 0, -1, -1);
        const QPoint at(x(i32(f, 16)), y(i32(f, 20)));
        if (gradient()) {
            gradientIn(box, textPath(QPointF(at - box.topLeft()), text));
            return;
        }
        painter_.save();
        painter_.setClipRect(box, Qt::IntersectClip);
        writeText(QPointF(at) + alignedOrigin(text), text);
        painter_.restore();
    }

    void arcLike(std::uint16_t type, const QByteArray& f)
    {
        const QRect box =
            QRect(QPoint(x(i32(f, 0)), y(i32(f, 4))), QPoint(x(i32(f, 8)), y(i32(f, 12))))
                .normalized();
        const QPointF c = QRectF(box).center();
        const qreal rx = std::max<qreal>(box.width() / 2.0, 1);
        const qreal ry = std::max<qreal>(box.height() / 2.0, 1);
        auto angleOf = [&](int px, int py) {
            return std::atan2(-(py - c.y()) / ry, (px - c.x()) / rx) * 180 / M_PI;
        };
        const qreal start = angleOf(x(i32(f, 16)), y(i32(f, 20)));
        qreal span = angleOf(x(i32(f, 24)), y(i32(f, 28))) - start;
        if (span <= 0)
            span += 360;
        const int a16 = int(std::lround(start * 16));
        const int s16 = int(std::lround(span * 16));
        const QRect drawBox = figureRect(box.left(), box.top(), box.right() + 1, box.bottom() + 1);
        if (type == 7) {
            painter_.drawArc(drawBox, a16, s16);
            return;
        }
        if (gradient()) {
            QPainterPath clip;
            const QRectF relative(0, 0, box.width(), box.height());
            clip.arcMoveTo(relative, start);
            if (type == 9)
                clip.moveTo(relative.center());
            clip.arcTo(relative, start, span);
            clip.closeSubpath();
            gradientIn(box, clip);
        }
        if (type == 8)
            painter_.drawChord(drawBox, a16, s16);
        else
            painter_.drawPie(drawBox, a16, s16);
    }

    std::vector<QPoint> points(const QByteArray& f, const QByteArray& extra) const
    {
        const std::int32_t n = i32(f, 0);
        if (n < 0 || qsizetype(n) * 8 > extra.size())
            throw std::runtime_error("Eine aufgezeichnete Punktliste ist beschädigt.");
        std::vector<QPoint> result;
        result.reserve(std::size_t(n));
        for (int i = 0; i < n; ++i)
            result.emplace_back(x(i32(extra, i * 8)), y(i32(extra, i * 8 + 4)));
        return result;
    }

    void polygon(const QByteArray& f, const QByteArray& extra)
    {
        const std::vector<QPoint> pts = points(f, extra);
        if (pts.empty())
            return;
        if (gradient()) {
            const QRect box = QPolygon(QList<QPoint>(pts.begin(), pts.end())).boundingRect();
            QPolygon relative;
            for (const QPoint& p : pts)
                relative << p - box.topLeft();
            QPainterPath clip;
            clip.setFillRule(Qt::OddEvenFill);
            clip.addPolygon(relative);
            gradientIn(QRect(box.topLeft(), QSize(box.width() - 1, box.height() - 1)), clip);
        }
        painter_.drawPolygon(pts.data(), int(pts.size()), Qt::OddEvenFill);
    }

    void bezier(const std::vector<QPoint>& pts)
    {
        if (pts.empty())
            return;
        QPainterPath path(pts[0]);
        for (std::size_t i = 1; i + 2 < pts.size(); i += 3)
            path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
        painter_.save();
        painter_.setBrush(Qt::NoBrush);
        painter_.drawPath(path);
        painter_.restore();
    }

    void figure(std::uint16_t type, const QByteArray& f)
    {
        const int x1 = x(i32(f, 0)), y1 = y(i32(f, 4)), x2 = x(i32(f, 8)), y2 = y(i32(f, 12));
        const QRect box = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
        const QRect area(box.topLeft(), QSize(box.width() - 1, box.height() - 1));
        const int cw = type == 15 ? std::abs(lengthX(i32(f, 16))) : 0;
        const int ch = type == 15 ? std::abs(lengthY(i32(f, 20))) : 0;
        if (gradient()) {
            QPainterPath clip;
            const QRectF relative(0, 0, area.width(), area.height());
            if (type == 13)
                clip.addEllipse(relative);
            else if (type == 15)
                clip.addRoundedRect(relative, cw / 2.0, ch / 2.0);
            else
                clip.addRect(relative);
            gradientIn(area, clip);
        }
        const QRect r = figureRect(x1, y1, x2, y2);
        switch (type) {
            case 13:
                painter_.drawEllipse(r);
                break;
            case 14:
                painter_.drawRect(r);
                break;
            case 15:
                painter_.drawRoundedRect(r, cw / 2.0, ch / 2.0);
                break;
            case 17:
                if (painter_.brush().style() != Qt::NoBrush)
                    painter_.fillRect(area, painter_.brush());
                break;
            default:
                break;
        }
    }

    void frame(std::uint16_t type, const QByteArray& f)
    {
        const QRect r =
            QRect(QPoint(x(i32(f, 0)), y(i32(f, 4))), QPoint(x(i32(f, 8)), y(i32(f, 12))))
                .normalized()
                .adjusted(0, 0, -2, -2);
        painter_.save();
        if (type == 16) {
            painter_.setPen(QPen(painter_.brush().color(), 0));
        } else {
            // XOR is not available on printers: the focus rectangle becomes a dotted frame.
            painter_.setPen(QPen(Qt::black, 0, Qt::DotLine));
        }
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(r);
        painter_.restore();
    }

    void image(std::uint16_t type, const QByteArray& f, const QByteArray& extra)
    {
        const std::uint8_t kind = u8(f, 16);
        if (kind == ikOther)
            return;
        if (kind == ikPicture) {
            QPicture picture;
            QBuffer buffer;
            buffer.setData(extra);
            buffer.open(QIODevice::ReadOnly);
            if (!picture.load(&buffer))
                throw std::runtime_error(
                    "Eine aufgezeichnete Zeichnung kann nicht gelesen werden.");
            const QRect source = picture.boundingRect();
            QRect dest = type == 5 ? QRect(x(i32(f, 0)), y(i32(f, 4)), 0, 0) : QRect();
            const double factor = scale_ / 100 * paper_.zoom_;
            if (type == 5) {
                dest.setWidth(int(Round(source.width() * factor)));
                dest.setHeight(int(Round(source.height() * factor)));
            } else {
                dest =
                    QRect(QPoint(x(i32(f, 0)), y(i32(f, 4))), QPoint(x(i32(f, 8)), y(i32(f, 12))))
                        .normalized();
            }
            if (source.isEmpty())
                return;
            painter_.save();
            painter_.translate(dest.topLeft());
            // A picture plays back scaled by the ratio of the device's resolution to its own.
            const qreal dpiX = qreal(picture.logicalDpiX()) / painter_.device()->logicalDpiX();
            const qreal dpiY = qreal(picture.logicalDpiY()) / painter_.device()->logicalDpiY();
            painter_.scale(dpiX * dest.width() / source.width(),
                           dpiY * dest.height() / source.height());
            painter_.drawPicture(-source.topLeft(), picture);
            painter_.restore();
            return;
        }
        const QImage decoded = decodeImage(extra, kind);
        QRect dest;
        if (type == 5) {
            const double factor = scale_ / 100 * paper_.zoom_;
            const int px = x(i32(f, 0)), py = y(i32(f, 4));
            dest = QRect(QPoint(px, py), QPoint(px + int(Round(decoded.width() * factor)) - 1,
                                                py + int(Round(decoded.height() * factor)) - 1));
        } else {
            dest = QRect(QPoint(x(i32(f, 0)), y(i32(f, 4))), QPoint(x(i32(f, 8)), y(i32(f, 12))))
                       .normalized()
                       .adjusted(0, 0, -1, -1);
        }
        painter_.drawImage(dest, decoded);
    }

    void region(const QByteArray& f, const QByteArray& data)
    {
        const QRect box =
            QRect(QPoint(x(i32(f, 0)), y(i32(f, 4))), QPoint(x(i32(f, 8)), y(i32(f, 12))))
                .normalized();
        const int w = std::abs(i32(f, 8) - i32(f, 0));
        const int h = std::abs(i32(f, 12) - i32(f, 4));
        if (data.size() < 32)
            throw std::runtime_error("Aufgezeichnete Flächendaten sind beschädigt.");
        const std::uint32_t count = u32(data, 8);
        if (qsizetype(32 + count * 16ull) > data.size())
            throw std::runtime_error("Aufgezeichnete Flächendaten sind beschädigt.");
        QRegion shape;
        for (std::uint32_t i = 0; i < count; ++i) {
            const int at = int(32 + i * 16);
            shape += QRect(QPoint(i32(data, at), i32(data, at + 4)),
                           QPoint(i32(data, at + 8) - 1, i32(data, at + 12) - 1));
        }
        if (w == 0 || h == 0 || shape.isEmpty())
            return;
        shape.translate(-shape.boundingRect().topLeft());
        painter_.save();
        painter_.translate(box.topLeft());
        painter_.scale(qreal(box.width() - 1) / w, qreal(box.height() - 1) / h);
        painter_.setClipRegion(shape, Qt::IntersectClip);
        if (gradient()) {
            TPainterDrawCanvas canvas(painter_);
            const TRectL all{0, 0, w, h};
            Drawing::GradientRect(canvas, all, all, brush_.Color, brush_.Color2,
                                  std::uint8_t(brush_.Style - 7), brush_.Angle);
        } else if (painter_.brush().style() != Qt::NoBrush) {
            painter_.fillRect(QRect(0, 0, w, h), painter_.brush());
        }
        if (painter_.pen().style() == Qt::SolidLine) {
            const int pw = std::max(1, painter_.pen().width());
            const QRegion inner = shape & shape.translated(pw, 0) & shape.translated(-pw, 0) &
                                  shape.translated(0, pw) & shape.translated(0, -pw);
            painter_.setClipRegion(shape - inner);
            painter_.fillRect(QRect(0, 0, w, h), painter_.pen().color());
        }
        painter_.restore();
    }

    void richText(const QByteArray& f, const QByteArray& rtf)
    {
        const int l = i32(f, 0), t = i32(f, 4), r = i32(f, 8), b = i32(f, 12);
        QTextDocument document;
        TPaper::layoutRichText(document, rtf, i32(f, 16), i32(f, 20), std::abs(r - l));
        // The rectangle is in tenths of a millimetre whatever the unit; its bottom lies 1 mm lower.
        const long double perTenthX = paper_.zoom_ * scaleX_ * 0.1L * scale_ / 100;
        const long double perTenthY = paper_.zoom_ * scaleY_ * 0.1L * scale_ / 100;
        painter_.save();
        painter_.translate(double(l * perTenthX - offX_), double(t * perTenthY - offY_));
        painter_.scale(double(perTenthX), double(perTenthY));
        const QRectF clip(0, 0, std::abs(r - l), std::abs(b + 10 - t));
        painter_.setClipRect(clip, Qt::IntersectClip);
        document.drawContents(&painter_, clip);
        painter_.restore();
    }

    void draw(std::uint16_t type, const QByteArray& f, const QByteArray& extra)
    {
        switch (type) {
            case 1:
                setDefault();
                break;
            case 2:
                setFont(f);
                break;
            case 3:
                setBrush(f, extra);
                break;
            case 4:
                setPen(f);
                break;
            case 5:
            case 6:
                image(type, f, extra);
                break;
            case 7:
            case 8:
            case 9:
                arcLike(type, f);
                break;
            case 10:
                polygon(f, extra);
                break;
            case 11: {
                const std::vector<QPoint> pts = points(f, extra);
                painter_.drawPolyline(pts.data(), int(pts.size()));
                break;
            }
            case 12:
                bezier(points(f, extra));
                break;
            case 13:
            case 14:
            case 15:
            case 17:
                figure(type, f);
                break;
            case 16:
            case 18:
                frame(type, f);
                break;
            case 19:
                textOut(f, QString::fromUtf8(extra));
                break;
            case 20:
                textRect(f, QString::fromUtf8(extra));
                break;
            case 21:
                painter_.drawLine(x(i32(f, 0)), y(i32(f, 4)), x(i32(f, 8)), y(i32(f, 12)));
                break;
            case 22:
                region(f, extra);
                break;
            case 23:
                richText(f, extra);
                break;
            case 24:
                align_ = u32(f, 0);
                break;
            default:
                break;
        }
    }

    TPaper& paper_;
    QPainter& painter_;
    double scale_;
    long double scaleX_ = 0, scaleY_ = 0;
    long double offX_ = 0, offY_ = 0;
    QColor textColor_;
    // The replay's own records: replaying never changes what the store records or measures next.
    TFontRecord font_;
    TPenRecord pen_;
    TBrushRecord brush_;
    std::uint32_t align_ = 0;
};

void TPaper::DrawToCanvas(QPainter& painter, double scale, std::int16_t page, bool forPrinter)
{
    PageReplay(*this, painter, scale).run(page, forPrinter);
}

void TPaper::SetDefault(QPainter& painter, double scale)
{
    PageReplay replay(*this, painter, scale);
    replay.setDefault();
}
