#pragma once
// Colour gradients and turned rectangles, drawn line by line and ring by ring on a canvas.

#include "Seitenspeicher.h"

#include <QPoint>
#include <QRect>
#include <QRegion>

#include <array>
#include <cstdint>
#include <vector>

class QPainter;

enum TGradType : std::uint8_t {
    gtNone,
    gtLinear,
    gtLinearDouble,
    gtRadial,
    gtRadialDouble,
    gtSquare,
    gtSquareDouble,
    gtConic
};

// A rectangle as Left, Top, Right, Bottom; Right and Bottom lie outside the area.
struct TRectL {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TRectL& o) const
    {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
};

// What the gradient routines draw with: a pen with mode, style, width and colour, a brush, and
// the primitives. The gradient routines set what they need and restore nothing.
class TDrawCanvas {
public:
    virtual ~TDrawCanvas() = default;
    virtual void SetPenModeCopy() = 0;
    virtual void SetPenStyle(TPenStyle style) = 0;
    virtual void SetPenWidth(int width) = 0;
    virtual void SetPenColor(TColor color) = 0;
    virtual void SetBrushSolid() = 0;
    virtual void SetBrushColor(TColor color) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void FillRect(const TRectL& r) = 0;
    virtual void Ellipse(const TRectL& r) = 0;
    virtual void Polygon(const std::vector<QPoint>& points) = 0;
};

// Draws on a QPainter. Figures cover Left..Right-1 and Top..Bottom-1 like the recorded rectangles;
// lines include their end point.
class TPainterDrawCanvas final : public TDrawCanvas {
public:
    explicit TPainterDrawCanvas(QPainter& painter);
    void SetPenModeCopy() override;
    void SetPenStyle(TPenStyle style) override;
    void SetPenWidth(int width) override;
    void SetPenColor(TColor color) override;
    void SetBrushSolid() override;
    void SetBrushColor(TColor color) override;
    void MoveTo(int x, int y) override { pos_ = QPoint(x, y); }
    void LineTo(int x, int y) override;
    void FillRect(const TRectL& r) override;
    void Ellipse(const TRectL& r) override;
    void Polygon(const std::vector<QPoint>& points) override;

private:
    QPainter& painter_;
    QPoint pos_;
};

namespace Drawing {

bool IsEmptyRect(const TRectL& r);
void CorrectRect(TRectL& r);
TRectL RectIntersection(const TRectL& r1, const TRectL& r2);
// The corners of R turned about its centre (the fifth repeats the first) and their winding region.
QRegion RotateRectToRGN(const TRectL& r, std::uint8_t angle, std::array<QPoint, 5>& points);
void DrawRotatedRectangle(TDrawCanvas& canvas, const TRectL& r, std::uint8_t angle);
void GradientRect(TDrawCanvas& canvas, const TRectL& r1, const TRectL& r2, TColor color1,
                  TColor color2, std::uint8_t kind, std::uint8_t angle);

}  // namespace Drawing
