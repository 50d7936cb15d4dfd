#include "Verlauf.h"

#include "Tools.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using Tools::MulDiv;
using Tools::Round;

TPainterDrawCanvas::TPainterDrawCanvas(QPainter& painter) : painter_(painter) {}

void TPainterDrawCanvas::SetPenModeCopy()
{
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TPainterDrawCanvas::SetPenStyle(TPenStyle style)
{
    QPen pen = painter_.pen();
    static const Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                          Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen,
                                          Qt::SolidLine};
    pen.setStyle(style <= psInsideFrame ? styles[style] : Qt::SolidLine);
    painter_.setPen(pen);
}

void TPainterDrawCanvas::SetPenWidth(int width)
{
    QPen pen = painter_.pen();
    pen.setWidth(width);
    painter_.setPen(pen);
}

void TPainterDrawCanvas::SetPenColor(TColor color)
{
    QPen pen = painter_.pen();
    pen.setColor(ColorRefToQColor(color));
    painter_.setPen(pen);
}

void TPainterDrawCanvas::SetBrushSolid()
{
    QBrush brush = painter_.brush();
    brush.setStyle(Qt::SolidPattern);
    painter_.setBrush(brush);
}

void TPainterDrawCanvas::SetBrushColor(TColor color)
{
    QBrush brush = painter_.brush();
    brush.setColor(ColorRefToQColor(color));
    painter_.setBrush(brush);
}

void TPainterDrawCanvas::LineTo(int x, int y)
{
    if (painter_.pen().style() != Qt::NoPen)
        painter_.drawLine(pos_, QPoint(x, y));
    pos_ = QPoint(x, y);
}

void TPainterDrawCanvas::FillRect(const TRectL& r)
{
    painter_.fillRect(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), painter_.brush());
}

void TPainterDrawCanvas::Ellipse(const TRectL& r)
{
    if (painter_.pen().style() == Qt::NoPen)
        painter_.drawEllipse(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top));
    else
        painter_.drawEllipse(QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1)));
}

void TPainterDrawCanvas::Polygon(const std::vector<QPoint>& points)
{
    painter_.drawPolygon(points.data(), int(points.size()), Qt::OddEvenFill);
}

namespace Drawing {
namespace {

constexpr long double kPi = 3.14159265358979323846264338327950288L;
long double radians(long double degrees)
{
    return degrees * kPi / 180;
}

struct Rgb {
    int r, g, b;
};
Rgb components(TColor color)
{
    const TColor c = ColorToRGB(color);
    return {int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)};
}
TColor toColor(int r, int g, int b)
{
    return TColor(std::uint8_t(r)) | TColor(std::uint8_t(g)) << 8 | TColor(std::uint8_t(b)) << 16;
}

QPoint RotatePoint(QPoint p, std::int16_t angle)
{
    const long double a = radians(angle);
    return QPoint(int(Round(p.x() * std::cos(a) + p.y() * std::sin(a))),
                  int(Round(p.y() * std::cos(a) - p.x() * std::sin(a))));
}

std::array<QPoint, 5> rotatedCorners(const TRectL& r, std::uint8_t angle)
{
    const int hw = std::abs(r.Right - r.Left) / 2;
    const int hh = std::abs(r.Bottom - r.Top) / 2;
    std::array<QPoint, 5> p = {QPoint(-hw, -hh), QPoint(hw, -hh), QPoint(hw, hh), QPoint(-hw, hh),
                               QPoint(-hw, -hh)};
    for (QPoint& q : p)
        q = RotatePoint(q, std::int16_t(-int(angle))) + QPoint(r.Left + hw, r.Top + hh);
    p[4] = p[0];
    return p;
}

void linearGradient(TDrawCanvas& canvas, const TRectL& r1, const TRectL& r2, TColor color1,
                    TColor color2, std::uint8_t angle, bool twice)
{
    const Rgb c1 = components(color1);
    const Rgb c2 = components(color2);
    const int W = std::abs(r1.Right - r1.Left);
    const int H = std::abs(r1.Bottom - r1.Top);
    const TRectL area = RectIntersection(r1, r2);
    if (IsEmptyRect(area) || angle > 180)
        return;
    const int x0 = area.Left;
    const int y0 = area.Top;
    const int cw = std::abs(area.Right - area.Left);
    const int ch = std::abs(area.Bottom - area.Top);
    const int less = twice ? 0 : 1;
    int t, N, d, steps;
    if (angle < 45)
        t = angle;
    else if (angle < 90)
        t = 90 - angle;
    else if (angle < 135)
        t = angle - 90;
    else
        t = 180 - angle;
    const long double slope = std::tan(radians(t));
    const bool horizontalBands = angle < 45 || angle >= 135;
    if (horizontalBands) {
        N = H + int(Round(slope * W));
        d = int(Round(slope * cw));
        steps = ch + d;
    } else {
        N = W + int(Round(slope * H));
        d = int(Round(slope * ch));
        steps = cw + d;
    }
    if (steps == 0 || N <= 0)
        return;
    canvas.SetPenModeCopy();
    canvas.SetPenStyle(psSolid);
    canvas.SetPenWidth(2);
    const int M = N / 2 + 1;
    for (int i = 0; i <= steps; ++i) {
        auto mix = [&](int a, int b) {
            if (!twice)
                return (a * (N - i) + b * i) / N;
            if (i <= M)
                return (a * (M - i) + b * i) / M;
            return (a * (i - M) + b * (N - i)) / (N - M);
        };
        canvas.SetPenColor(toColor(mix(c1.r, c2.r), mix(c1.g, c2.g), mix(c1.b, c2.b)));
        if (angle < 45) {
            canvas.MoveTo(x0, y0 - d + i);
            canvas.LineTo(x0 + cw, y0 + i);
        } else if (angle < 90) {
            canvas.MoveTo(x0 + cw - i, y0);
            canvas.LineTo(x0 + cw + d - i - less, y0 + ch);
        } else if (angle < 135) {
            canvas.MoveTo(x0 + cw + d - i - less, y0);
            canvas.LineTo(x0 + cw - i, y0 + ch);
        } else {
            canvas.MoveTo(x0, y0 + ch - i + d);
            canvas.LineTo(x0 + cw, y0 + ch - i);
        }
    }
}

void ring(TDrawCanvas& canvas, bool square, std::uint8_t angle, int cx, int cy, int sx, int sy,
          int W, int H)
{
    if (square) {
        const long double s = std::sin(radians(angle));
        sx += int(Round(s * sx / 2));
        sy += int(Round(s * sy / 2));
        DrawRotatedRectangle(canvas, {cx - sx, cy - sy, cx + sx, cy + sy}, angle);
        return;
    }
    const long double half = std::sqrt(2.0L) / 2;
    if (sx - 1 > half * std::abs(W) && sy - 1 > half * std::abs(H))
        return;
    canvas.Ellipse({cx - sx, cy - sy, cx + sx, cy + sy});
}

int ringCount(int rx, int ry)
{
    return std::clamp(std::min(rx, ry), 2, 128);
}

void radialGradient(TDrawCanvas& canvas, const TRectL& r, TColor color1, TColor color2,
                    std::uint8_t angle, bool square)
{
    const Rgb c1 = components(color1);
    const Rgb c2 = components(color2);
    const int W = r.Right - r.Left;
    const int H = r.Bottom - r.Top;
    int rx = W / 2, ry = H / 2;
    if (!square && angle != 0) {
        rx = int(Round(W * angle / 100.0L));
        ry = int(Round(H * angle / 100.0L));
    }
    const int n = ringCount(rx, ry);
    const int cx = (r.Left + r.Right) / 2;
    const int cy = (r.Top + r.Bottom) / 2;
    canvas.SetPenStyle(psClear);
    canvas.SetBrushSolid();
    canvas.SetBrushColor(color1);
    canvas.FillRect(r);
    for (int k = n - 1; k >= 0; --k) {
        canvas.SetBrushColor(toColor(c2.r + MulDiv(k, c1.r - c2.r, n - 1),
                                     c2.g + MulDiv(k, c1.g - c2.g, n - 1),
                                     c2.b + MulDiv(k, c1.b - c2.b, n - 1)));
        ring(canvas, square, angle, cx, cy, MulDiv(k + 1, rx, n), MulDiv(k + 1, ry, n), W, H);
    }
}

void radialDoubleGradient(TDrawCanvas& canvas, const TRectL& r, TColor color1, TColor color2,
                          std::uint8_t angle, bool square)
{
    const Rgb c1 = components(color1);
    const Rgb c2 = components(color2);
    const int W = r.Right - r.Left;
    const int H = r.Bottom - r.Top;
    int rx = W, ry = H;
    if (!square && angle != 0) {
        rx = int(Round(W * angle / 100.0L));
        ry = int(Round(H * angle / 100.0L));
    }
    const int n = ringCount(rx, ry);
    const int m = n / 2;
    const int cx = (r.Left + r.Right) / 2;
    const int cy = (r.Top + r.Bottom) / 2;
    canvas.SetPenStyle(psClear);
    canvas.SetPenColor(color2);
    canvas.SetBrushColor(color2);
    canvas.SetBrushSolid();
    canvas.FillRect(r);
    auto draw = [&](int k) {
        ring(canvas, square, angle, cx, cy, MulDiv(k + 2, rx, 2 * n), MulDiv(k + 2, ry, 2 * n), W,
             H);
    };
    for (int k = n; k >= m; --k) {
        auto mix = [&](int a, int b) { return (b * (k - m) + a * (n - k)) / (n - m); };
        canvas.SetBrushColor(toColor(mix(c1.r, c2.r), mix(c1.g, c2.g), mix(c1.b, c2.b)));
        draw(k);
    }
    for (int k = m; k >= 0; --k) {
        auto mix = [&](int a, int b) { return (b * (m - k) + a * k) / m; };
        canvas.SetBrushColor(toColor(mix(c1.r, c2.r), mix(c1.g, c2.g), mix(c1.b, c2.b)));
        draw(k);
    }
}

void conicGradient(TDrawCanvas& canvas, const TRectL& r, TColor color1, TColor color2)
{
    const Rgb c1 = components(color1);
    const Rgb c2 = components(color2);
    const int W = std::abs(r.Right - r.Left);
    const int H = std::abs(r.Bottom - r.Top);
    // A rectangle without extent has no border to run along.
    if (W + H == 0)
        return;
    const int cx = r.Left + W / 2;
    const int cy = r.Top + H / 2;
    canvas.SetPenWidth(2);
    auto line = [&](int x, int y, int w) {
        auto mix = [&](int a, int b) { return (a * w + b * (W + H - w)) / (W + H); };
        canvas.SetPenColor(toColor(mix(c1.r, c2.r), mix(c1.g, c2.g), mix(c1.b, c2.b)));
        canvas.MoveTo(cx, cy);
        canvas.LineTo(x, y);
    };
    for (int i = 0; i <= W; ++i) {
        line(r.Left + i, r.Top, i);
        line(r.Left + i, r.Bottom, i + H);
    }
    for (int j = 0; j <= H; ++j) {
        line(r.Right, r.Top + j, j + W);
        line(r.Left, r.Top + j, j);
    }
}

}  // namespace

bool IsEmptyRect(const TRectL& r)
{
    return r.Left == 0 && r.Top == 0 && r.Right == 0 && r.Bottom == 0;
}

void CorrectRect(TRectL& r)
{
    if (r.Right < r.Left)
        std::swap(r.Left, r.Right);
    if (r.Bottom < r.Top)
        std::swap(r.Top, r.Bottom);
}

TRectL RectIntersection(const TRectL& r1, const TRectL& r2)
{
    TRectL a = r1, b = r2;
    CorrectRect(a);
    CorrectRect(b);
    const bool xOverlap = b.Right > a.Left && a.Right > b.Left;
    const bool yOverlap = b.Bottom > a.Top && a.Bottom > b.Top;
    if (!xOverlap || !yOverlap)
        return {};
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
}

QRegion RotateRectToRGN(const TRectL& r, std::uint8_t angle, std::array<QPoint, 5>& points)
{
    points = rotatedCorners(r, angle);
    return QRegion(QPolygon(QList<QPoint>(points.begin(), points.end())), Qt::WindingFill);
}

void DrawRotatedRectangle(TDrawCanvas& canvas, const TRectL& r, std::uint8_t angle)
{
    const std::array<QPoint, 5> p = rotatedCorners(r, angle);
    canvas.Polygon(std::vector<QPoint>(p.begin(), p.end()));
}

void GradientRect(TDrawCanvas& canvas, const TRectL& r1, const TRectL& r2, TColor color1,
                  TColor color2, std::uint8_t kind, std::uint8_t angle)
{
    TRectL a = r1, b = r2;
    CorrectRect(a);
    CorrectRect(b);
    switch (kind) {
        case gtLinear:
            linearGradient(canvas, a, b, color1, color2, angle, false);
            break;
        case gtLinearDouble:
            linearGradient(canvas, a, b, color1, color2, angle, true);
            break;
        case gtRadial:
            radialGradient(canvas, a, color1, color2, angle, false);
            break;
        case gtSquare:
            radialGradient(canvas, a, color1, color2, angle, true);
            break;
        case gtRadialDouble:
            radialDoubleGradient(canvas, a, color1, color2, angle, false);
            break;
        case gtSquareDouble:
            radialDoubleGradient(canvas, a, color1, color2, angle, true);
            break;
        case gtConic:
            conicGradient(canvas, a, color1, color2);
            break;
        default:
            break;
    }
}

}  // namespace Drawing
