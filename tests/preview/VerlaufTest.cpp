#include "Verlauf.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

using namespace Drawing;

// Records what the gradient routines draw.
class RecordingCanvas final : public TDrawCanvas {
public:
    struct Line {
        QPoint from, to;
        TColor color;
        int width;
    };
    struct Shape {
        char kind;  // 'F' fill, 'E' ellipse, 'P' polygon
        TRectL rect;
        std::vector<QPoint> points;
        TColor brush;
    };
    std::vector<Line> lines;
    std::vector<Shape> shapes;
    TPenStyle penStyle = psSolid;
    int penWidth = 1;
    TColor pen = 0, brush = 0;
    QPoint pos;

    void SetPenModeCopy() override {}
    void SetPenStyle(TPenStyle s) override { penStyle = s; }
    void SetPenWidth(int w) override { penWidth = w; }
    void SetPenColor(TColor c) override { pen = c; }
    void SetBrushSolid() override {}
    void SetBrushColor(TColor c) override { brush = c; }
    void MoveTo(int x, int y) override { pos = {x, y}; }
    void LineTo(int x, int y) override
    {
        lines.push_back({pos, {x, y}, pen, penWidth});
        pos = {x, y};
    }
    void FillRect(const TRectL& r) override { shapes.push_back({'F', r, {}, brush}); }
    void Ellipse(const TRectL& r) override { shapes.push_back({'E', r, {}, brush}); }
    void Polygon(const std::vector<QPoint>& p) override { shapes.push_back({'P', {}, p, brush}); }
};

constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;

TEST(Rechteckhilfen, IntersectionCorrectionAndEmptiness)
{
    EXPECT_TRUE(IsEmptyRect(RectIntersection({0, 0, 10, 10}, {10, 0, 20, 10})));
    EXPECT_EQ(RectIntersection({10, 10, 0, 0}, {5, 5, 20, 20}), (TRectL{5, 5, 10, 10}));
    EXPECT_FALSE(IsEmptyRect({5, 5, 5, 5}));
    EXPECT_TRUE(IsEmptyRect({0, 0, 0, 0}));
    TRectL r{10, 20, 0, 5};
    CorrectRect(r);
    EXPECT_EQ(r, (TRectL{0, 5, 10, 20}));
}

TEST(Verlauf, LinearAtAngleZeroDrawsOneLinePerRowFromFirstToSecondColour)
{
    RecordingCanvas c;
    GradientRect(c, {0, 0, 100, 50}, {0, 0, 100, 50}, kRed, kBlue, gtLinear, 0);
    ASSERT_EQ(c.lines.size(), 51u);
    EXPECT_EQ(c.lines.front().color, kRed);
    EXPECT_EQ(c.lines.back().color, kBlue);
    EXPECT_EQ(c.lines[10].from, QPoint(0, 10));
    EXPECT_EQ(c.lines[10].to, QPoint(100, 10));
    EXPECT_EQ(c.lines[10].width, 2);
    EXPECT_EQ(c.lines[25].color, TColor((255 * 25 / 50) << 16 | (255 * 25 / 50)));
}

TEST(Verlauf, LinearAtNinetyDegreesSingleSlantsDoubleIsVertical)
{
    RecordingCanvas single, twice;
    GradientRect(single, {0, 0, 40, 20}, {0, 0, 40, 20}, kRed, kBlue, gtLinear, 90);
    GradientRect(twice, {0, 0, 40, 20}, {0, 0, 40, 20}, kRed, kBlue, gtLinearDouble, 90);
    for (int i : {0, 7, 40}) {
        EXPECT_EQ(single.lines[i].from, QPoint(40 - i - 1, 0));
        EXPECT_EQ(single.lines[i].to, QPoint(40 - i, 20));
        EXPECT_EQ(twice.lines[i].from.x(), twice.lines[i].to.x());
    }
    // The double kind reaches the second colour at N div 2 + 1 and returns to the first at N.
    EXPECT_EQ(twice.lines[40 / 2 + 1].color, kBlue);
    EXPECT_EQ(twice.lines[40].color, kRed);
}

TEST(Verlauf, NothingForNoneAndForAnglesAbove180)
{
    for (std::uint8_t kind : {std::uint8_t(gtNone), std::uint8_t(8)}) {
        RecordingCanvas c;
        GradientRect(c, {0, 0, 10, 10}, {0, 0, 10, 10}, kRed, kBlue, kind, 0);
        EXPECT_TRUE(c.lines.empty() && c.shapes.empty());
    }
    for (std::uint8_t kind : {std::uint8_t(gtLinear), std::uint8_t(gtLinearDouble)}) {
        RecordingCanvas c;
        GradientRect(c, {0, 0, 10, 10}, {0, 0, 10, 10}, kRed, kBlue, kind, 181);
        EXPECT_TRUE(c.lines.empty());
    }
}

TEST(Verlauf, RadialRingCountIsKeptBetween2And128)
{
    struct Case {
        TRectL r;
        std::size_t rings;
    };
    for (const Case& k : {Case{{0, 0, 10, 3}, 2}, Case{{0, 0, 1000, 800}, 128}}) {
        RecordingCanvas c;
        GradientRect(c, k.r, k.r, kRed, kBlue, gtRadial, 0);
        ASSERT_EQ(c.shapes.size(), 1 + k.rings);
        EXPECT_EQ(c.shapes.front().kind, 'F');
        EXPECT_EQ(c.shapes[1].brush, kRed);       // the outermost ring
        EXPECT_EQ(c.shapes.back().brush, kBlue);  // the centre
        EXPECT_EQ(c.penStyle, psClear);
    }
}

TEST(Verlauf, RadialAngleFiftyEqualsZeroOnEvenSizesAndHundredSkipsEnclosingRings)
{
    RecordingCanvas zero, fifty, hundred;
    GradientRect(zero, {0, 0, 200, 100}, {0, 0, 200, 100}, kRed, kBlue, gtRadial, 0);
    GradientRect(fifty, {0, 0, 200, 100}, {0, 0, 200, 100}, kRed, kBlue, gtRadial, 50);
    GradientRect(hundred, {0, 0, 200, 100}, {0, 0, 200, 100}, kRed, kBlue, gtRadial, 100);
    ASSERT_EQ(zero.shapes.size(), fifty.shapes.size());
    for (std::size_t i = 0; i < zero.shapes.size(); ++i)
        EXPECT_EQ(zero.shapes[i].rect, fifty.shapes[i].rect);
    EXPECT_LT(hundred.shapes.size(), 1 + 100u);
}

TEST(Verlauf, RadialDoubleWithOddRingCountStaysBetweenTheColours)
{
    RecordingCanvas c;
    const TColor a = 0x204060, b = 0xC0A080;
    GradientRect(c, {0, 0, 7, 9}, {0, 0, 7, 9}, a, b, gtRadialDouble, 0);
    for (const auto& s : c.shapes)
        for (int shift : {0, 8, 16}) {
            const int v = int((s.brush >> shift) & 0xFF);
            EXPECT_GE(v, int((a >> shift) & 0xFF));
            EXPECT_LE(v, int((b >> shift) & 0xFF));
        }
}

TEST(Verlauf, SquareAtNinetyIsEnlargedAndTurned)
{
    RecordingCanvas flat, turned;
    GradientRect(flat, {0, 0, 100, 100}, {0, 0, 100, 100}, kRed, kBlue, gtSquare, 0);
    GradientRect(turned, {0, 0, 100, 100}, {0, 0, 100, 100}, kRed, kBlue, gtSquare, 90);
    const auto& f = flat.shapes[1].points;  // the outermost ring, axis-parallel
    EXPECT_EQ(f[0], QPoint(0, 0));
    EXPECT_EQ(f[2], QPoint(100, 100));
    const auto& t = turned.shapes[1].points;  // enlarged by half: 75 instead of 50 from the centre
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[4], t[0]);
    for (const QPoint& p : t) {
        EXPECT_EQ(std::abs(p.x() - 50), 75);
        EXPECT_EQ(std::abs(p.y() - 50), 75);
    }
}

TEST(Verlauf, ConicDrawsOneLinePerBorderPointAndGuardsAnEmptyRectangle)
{
    RecordingCanvas c;
    GradientRect(c, {0, 0, 4, 2}, {0, 0, 4, 2}, kRed, kBlue, gtConic, 0);
    EXPECT_EQ(c.lines.size(), 16u);
    EXPECT_EQ(c.lines[0].color, kBlue);  // the top left corner has the second colour
    EXPECT_EQ(c.lines[0].from, QPoint(2, 1));
    EXPECT_EQ(c.lines[9].to, QPoint(4, 2));
    EXPECT_EQ(c.lines[9].color, kRed);  // the bottom right corner has the first
    RecordingCanvas empty;
    GradientRect(empty, {5, 5, 5, 5}, {5, 5, 5, 5}, kRed, kBlue, gtConic, 0);
    EXPECT_TRUE(empty.lines.empty());
}

TEST(Verlauf, RotatedRectangleRegionAndPainterOutput)
{
    std::array<QPoint, 5> points;
    const QRegion region = RotateRectToRGN({0, 0, 40, 20}, 90, points);
    EXPECT_EQ(points[4], points[0]);
    EXPECT_EQ(region.boundingRect().width(), 20);
    EXPECT_EQ(region.boundingRect().height(), 40);

    QImage image(100, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        TPainterDrawCanvas canvas(painter);
        GradientRect(canvas, {0, 0, 100, 60}, {0, 0, 100, 60}, kRed, kBlue, gtLinear, 0);
    }
    EXPECT_GT(image.pixelColor(50, 0).red(), 240);
    EXPECT_LT(image.pixelColor(50, 0).blue(), 15);
    EXPECT_GT(image.pixelColor(50, 59).blue(), 240);
    EXPECT_LT(image.pixelColor(50, 59).red(), 15);
}

}  // namespace
