#pragma once
// One drawing interface for charts: on a window or image canvas, or recorded into a page store.

#include "Seitenspeicher.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

class QPainter;

enum TVAlignment : std::uint8_t { tvaTop, tvaCenter, tvaBottom };

// Rectangles given as X1, Y1, X2, Y2 cover X1..X2-1 and Y1..Y2-1; a QRect stands for
// (x, y, x + width, y + height). Lines include their end point on both implementations.
// Held by std::shared_ptr; neither implementation owns what it draws on.
class IMyCanvas {
public:
    virtual ~IMyCanvas() = default;
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    virtual void Polygon(const std::vector<QPoint>& points) = 0;
    virtual int TextWidth(const QString& s) = 0;
    // Alignment is applied along the turned text, so both implementations place turned texts alike.
    virtual void TextOut(int x, int y, const QString& s, TAlignment ausrichtung,
                         TVAlignment vAusrichtung, int winkel) = 0;
    virtual void SetzeSchrift(const QString& name, int groesse, std::uint8_t stil, TColor farbe,
                              bool schmal) = 0;
    virtual void SetzeBrush(TColor farbe, TExBrushStyle stil) = 0;
    virtual void SetzeBrushClear() = 0;
    virtual void SetzePen(TColor farbe, int breite, TPenStyle stil) = 0;
    virtual void FillRect(const QRect& r) = 0;
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    void Rectangle(const QRect& r)
    {
        Rectangle(r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
    }
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    void Ellipse(const QRect& r) { Ellipse(r.x(), r.y(), r.x() + r.width(), r.y() + r.height()); }
    virtual void Polyline(const std::vector<QPoint>& points) = 0;
    virtual void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) = 0;
    // Counter-clockwise from the radial through (x3, y3) to the radial through (x4, y4).
    virtual void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    virtual QSize TextExtent(const QString& s) = 0;
};

// Draws in device pixels on a painter (widget, QImage, QPixmap).
class TMyGDICanvas final : public IMyCanvas {
public:
    explicit TMyGDICanvas(QPainter& painter);
    void Line(int x1, int y1, int x2, int y2) override;
    void Polygon(const std::vector<QPoint>& points) override;
    int TextWidth(const QString& s) override;
    void TextOut(int x, int y, const QString& s, TAlignment ausrichtung, TVAlignment vAusrichtung,
                 int winkel) override;
    void SetzeSchrift(const QString& name, int groesse, std::uint8_t stil, TColor farbe,
                      bool schmal) override;
    void SetzeBrush(TColor farbe, TExBrushStyle stil) override;
    void SetzeBrushClear() override;
    void SetzePen(TColor farbe, int breite, TPenStyle stil) override;
    void FillRect(const QRect& r) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Polyline(const std::vector<QPoint>& points) override;
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) override;
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    QSize TextExtent(const QString& s) override;
    using IMyCanvas::Ellipse;
    using IMyCanvas::Rectangle;

private:
    QRect figure(int x1, int y1, int x2, int y2) const;
    QPainter& painter_;
    QColor textColor_ = Qt::black;
};

// Records into a page store in its units.
class TMyPreviewCanvas final : public IMyCanvas {
public:
    explicit TMyPreviewCanvas(TPaper& paper);
    void Line(int x1, int y1, int x2, int y2) override;
    void Polygon(const std::vector<QPoint>& points) override;
    int TextWidth(const QString& s) override;
    void TextOut(int x, int y, const QString& s, TAlignment ausrichtung, TVAlignment vAusrichtung,
                 int winkel) override;
    void SetzeSchrift(const QString& name, int groesse, std::uint8_t stil, TColor farbe,
                      bool schmal) override;
    void SetzeBrush(TColor farbe, TExBrushStyle stil) override;
    void SetzeBrushClear() override;
    void SetzePen(TColor farbe, int breite, TPenStyle stil) override;
    void FillRect(const QRect& r) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Polyline(const std::vector<QPoint>& points) override;
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) override;
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    QSize TextExtent(const QString& s) override;
    using IMyCanvas::Ellipse;
    using IMyCanvas::Rectangle;

private:
    TPaper& paper_;
};
