#include "Leinwand.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

Qt::PenStyle qtPenStyle(TPenStyle style)
{
    static const Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                          Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen,
                                          Qt::SolidLine};
    return style <= psInsideFrame ? styles[style] : Qt::SolidLine;
}

// Only the eight plain styles; anything else fills solid.
TExBrushStyle plainBrushStyle(TExBrushStyle style)
{
    return style <= exDiagCross ? style : exSolid;
}

Qt::BrushStyle qtBrushStyle(TExBrushStyle style)
{
    static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush,         Qt::HorPattern,
                                            Qt::VerPattern,   Qt::FDiagPattern,    Qt::BDiagPattern,
                                            Qt::CrossPattern, Qt::DiagCrossPattern};
    return styles[plainBrushStyle(style)];
}

// The offset of a turned text's origin when the text is shifted by (dx, dy) in its own frame.
QPoint turnedShift(int dx, int dy, int winkel)
{
    const double a = winkel * kPi / 180;
    return QPoint(int(std::lround(dx * std::cos(a) + dy * std::sin(a))),
                  int(std::lround(-dx * std::sin(a) + dy * std::cos(a))));
}

}  // namespace

TMyGDICanvas::TMyGDICanvas(QPainter& painter) : painter_(painter) {}

QRect TMyGDICanvas::figure(int x1, int y1, int x2, int y2) const
{
    const QRect r = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
    const int inset = painter_.pen().style() == Qt::NoPen ? 1 : 2;
    return QRect(r.x(), r.y(), r.width() - inset, r.height() - inset);
}

void TMyGDICanvas::Line(int x1, int y1, int x2, int y2)
{
    painter_.drawLine(x1, y1, x2, y2);
}

void TMyGDICanvas::Polygon(const std::vector<QPoint>& points)
{
    painter_.drawPolygon(points.data(), int(points.size()), Qt::OddEvenFill);
}

int TMyGDICanvas::TextWidth(const QString& s)
{
    return TextExtent(s).width();
}

QSize TMyGDICanvas::TextExtent(const QString& s)
{
    const QFontMetrics metrics(painter_.font(), painter_.device());
    return QSize(metrics.horizontalAdvance(s), metrics.height());
}

void TMyGDICanvas::TextOut(int x, int y, const QString& s, TAlignment ausrichtung,
                           TVAlignment vAusrichtung, int winkel)
{
    const QFontMetrics metrics(painter_.font(), painter_.device());
    const int width = metrics.horizontalAdvance(s);
    const int dx = ausrichtung == taRightJustify ? -width
                   : ausrichtung == taCenter     ? -width / 2
                                                 : 0;
    const int dy = vAusrichtung == tvaBottom   ? -metrics.descent()
                   : vAusrichtung == tvaCenter ? metrics.ascent() - metrics.height() / 2
                                               : metrics.ascent();
    painter_.save();
    painter_.translate(x, y);
    if (winkel != 0)
        painter_.rotate(-winkel);
    painter_.setPen(textColor_);
    painter_.drawText(dx, dy, s);
    painter_.restore();
}

void TMyGDICanvas::SetzeSchrift(const QString& name, int groesse, std::uint8_t stil, TColor farbe,
                                bool schmal)
{
    QFont font(name);
    font.setPointSize(std::max(1, groesse));
    font.setBold(stil & fsBold);
    font.setItalic(stil & fsItalic);
    font.setUnderline(stil & fsUnderline);
    font.setStrikeOut(stil & fsStrikeOut);
    if (schmal)
        font.setStretch(65);
    painter_.setFont(font);
    textColor_ = ColorRefToQColor(farbe);
}

void TMyGDICanvas::SetzeBrush(TColor farbe, TExBrushStyle stil)
{
    painter_.setBrush(QBrush(ColorRefToQColor(farbe), qtBrushStyle(stil)));
}

void TMyGDICanvas::SetzeBrushClear()
{
    painter_.setBrush(Qt::NoBrush);
}

void TMyGDICanvas::SetzePen(TColor farbe, int breite, TPenStyle stil)
{
    QPen pen(ColorRefToQColor(farbe));
    pen.setWidth(breite);
    pen.setStyle(qtPenStyle(stil));
    painter_.setPen(pen);
}

void TMyGDICanvas::FillRect(const QRect& r)
{
    if (painter_.brush().style() != Qt::NoBrush)
        painter_.fillRect(r, painter_.brush());
}

void TMyGDICanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    painter_.drawRect(figure(x1, y1, x2, y2));
}

void TMyGDICanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    painter_.drawEllipse(figure(x1, y1, x2, y2));
}

void TMyGDICanvas::Polyline(const std::vector<QPoint>& points)
{
    painter_.drawPolyline(points.data(), int(points.size()));
}

void TMyGDICanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    painter_.drawRoundedRect(figure(x1, y1, x2, y2), std::abs(x3) / 2.0, std::abs(y3) / 2.0);
}

void TMyGDICanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    const QRect box = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
    const QPointF c = QRectF(box).center();
    const double rx = std::max(box.width() / 2.0, 1.0);
    const double ry = std::max(box.height() / 2.0, 1.0);
    auto angleOf = [&](int px, int py) {
        return std::atan2(-(py - c.y()) / ry, (px - c.x()) / rx) * 180 / kPi;
    };
    const double start = angleOf(x3, y3);
    double span = angleOf(x4, y4) - start;
    if (span <= 0)
        span += 360;
    painter_.drawPie(figure(x1, y1, x2, y2), int(std::lround(start * 16)),
                     int(std::lround(span * 16)));
}

TMyPreviewCanvas::TMyPreviewCanvas(TPaper& paper) : paper_(paper) {}

void TMyPreviewCanvas::Line(int x1, int y1, int x2, int y2)
{
    paper_.Line(x1, y1, x2, y2);
}
void TMyPreviewCanvas::Polygon(const std::vector<QPoint>& points)
{
    paper_.Polygon(points);
}
int TMyPreviewCanvas::TextWidth(const QString& s)
{
    return paper_.TextWidth(s);
}
QSize TMyPreviewCanvas::TextExtent(const QString& s)
{
    return paper_.TextExtent(s);
}

void TMyPreviewCanvas::TextOut(int x, int y, const QString& s, TAlignment ausrichtung,
                               TVAlignment vAusrichtung, int winkel)
{
    // The shifts below assume left and top: an alignment recorded earlier on the page would add to
    // them.
    if (paper_.CurrentAlign() != 0)
        paper_.SetAlign(taLeftJustify, 0);
    const QSize extent = paper_.TextExtent(s);
    const int dx = ausrichtung == taRightJustify ? -extent.width()
                   : ausrichtung == taCenter     ? -extent.width() / 2
                                                 : 0;
    const int dy = vAusrichtung == tvaCenter   ? -extent.height() / 2
                   : vAusrichtung == tvaBottom ? -extent.height()
                                               : 0;
    const QPoint shift = turnedShift(dx, dy, winkel);
    paper_.TextOut(x + shift.x(), y + shift.y(), s, winkel);
}

void TMyPreviewCanvas::SetzeSchrift(const QString& name, int groesse, std::uint8_t stil,
                                    TColor farbe, bool schmal)
{
    paper_.SetFont(name, groesse, stil, farbe, schmal);
}

void TMyPreviewCanvas::SetzeBrush(TColor farbe, TExBrushStyle stil)
{
    paper_.SetBrush(plainBrushStyle(stil), farbe, 0, nullptr, 0);
}

void TMyPreviewCanvas::SetzeBrushClear()
{
    paper_.SetBrush(exClear, 0, 0, nullptr, 0);
}

void TMyPreviewCanvas::SetzePen(TColor farbe, int breite, TPenStyle stil)
{
    paper_.SetPen(stil, farbe, double(breite));
}

void TMyPreviewCanvas::FillRect(const QRect& r)
{
    paper_.FillRect(r);
}
void TMyPreviewCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    paper_.Rectangle(x1, y1, x2, y2);
}
void TMyPreviewCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    paper_.Ellipse(x1, y1, x2, y2);
}
void TMyPreviewCanvas::Polyline(const std::vector<QPoint>& points)
{
    paper_.Polyline(points);
}
void TMyPreviewCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    paper_.RoundRect(x1, y1, x2, y2, x3, y3);
}
void TMyPreviewCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    paper_.Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}
