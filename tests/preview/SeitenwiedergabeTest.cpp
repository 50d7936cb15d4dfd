#include "FakeDrucker.h"
#include "Seitenspeicher.h"

#include <gtest/gtest.h>

#include <Bildschirmfoto.h>

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// 254 dpi everywhere: one tenth of a millimetre is one pixel at scale 100.
class Seitenwiedergabe : public ::testing::Test {
protected:
    FakeDrucker drucker;
    TPaper paper{drucker};

    void SetUp() override
    {
        drucker.dpi = 254;
        drucker.offset = QPoint(0, 0);
        paper.SetScreenDpi(254);
        paper.SetUnits(unTenthMillimeters);
        paper.Clear();
    }

    static QImage blank(int w, int h)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.setDotsPerMeterX(10000);
        image.setDotsPerMeterY(10000);
        image.fill(Qt::white);
        return image;
    }

    QImage replay(std::int16_t page, double scale, int w, int h)
    {
        QImage image = blank(w, h);
        QPainter painter(&image);
        paper.DrawToCanvas(painter, scale, page, false);
        return image;
    }

    static int differingPixels(const QImage& a, const QImage& b)
    {
        int count = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
                if (std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                        std::abs(p.blue() - q.blue()) >
                    96)
                    ++count;
            }
        return count;
    }
};

TEST_F(Seitenwiedergabe, FiguresMatchTheSameDrawingDoneDirectlyAtTwoScales)
{
    paper.SetPen(psSolid, 0x0000FF, 6);  // 6 x 0.1 x 25.4/72 mm: 2 pixels at scale 100
    paper.SetBrush(exSolid, 0xFF0000, 0, nullptr, 0);
    paper.Rectangle(100, 100, 300, 200);
    paper.Ellipse(400, 100, 600, 300);
    paper.Line(50, 400, 550, 400);
    paper.Polygon({{100, 500}, {300, 450}, {250, 600}});

    for (double scale : {100.0, 200.0}) {
        SCOPED_TRACE(scale);
        const double f = scale / 100;
        const int w = int(700 * f), h = int(700 * f);
        const QImage replayed = replay(1, scale, w, h);

        auto s = [f](int v) { return int(std::lround(v * f)); };
        QImage direct = blank(w, h);
        {
            QPainter p(&direct);
            p.setPen(QPen(QColor(255, 0, 0), int(std::lround(2 * f))));
            p.setBrush(QColor(0, 0, 255));
            p.drawRect(QRect(s(100), s(100), s(200) - 1, s(100) - 1));
            p.drawEllipse(QRect(s(400), s(100), s(200) - 1, s(200) - 1));
            p.drawLine(s(50), s(400), s(550), s(400));
            const QPoint poly[] = {{s(100), s(500)}, {s(300), s(450)}, {s(250), s(600)}};
            p.drawPolygon(poly, 3, Qt::OddEvenFill);
        }
        EXPECT_LT(differingPixels(replayed, direct), w * h / 400);
        EXPECT_EQ(replayed.pixelColor(s(200), s(150)), QColor(0, 0, 255));
        EXPECT_EQ(replayed.pixelColor(s(200), s(250)), QColor(Qt::white));
    }
}

TEST_F(Seitenwiedergabe, ProgressEventEveryTenthItemAndTheLast)
{
    for (int i = 0; i < 25; ++i)
        paper.Line(i, 0, i, 10);
    std::vector<int> indices;
    paper.OnDrawObject = [&](std::uint16_t type, std::int32_t index) {
        EXPECT_EQ(type, 21);
        indices.push_back(index);
    };
    replay(1, 100, 50, 50);
    EXPECT_EQ(indices, (std::vector<int>{0, 10, 20, 24}));
    EXPECT_THROW(replay(-1, 100, 10, 10), std::out_of_range);
    indices.clear();
    replay(7, 100, 10, 10);
    EXPECT_TRUE(indices.empty());
}

TEST_F(Seitenwiedergabe, ReplayLeavesTheStoresOwnRecordsAlone)
{
    paper.SetFont("DejaVu Sans", 10, 0, 0, false);
    const int before = paper.TextWidth("Besamung");
    paper.SetPage(2);
    paper.SetFont("DejaVu Sans", 40, 0, 0, false);
    paper.TextOut(0, 0, "x");
    paper.SetFont("DejaVu Sans", 10, 0, 0, false);
    replay(1, 100, 50, 50);  // page 1's list ends with the 40-point font change
    EXPECT_EQ(paper.TextWidth("Besamung"), before);
    EXPECT_EQ(paper.GetPage(), 1);
}

TEST_F(Seitenwiedergabe, PolygonsOfMoreThanTenThousandPoints)
{
    std::vector<QPoint> points;
    for (int i = 0; i < 20000; ++i)
        points.emplace_back(int(std::lround(150 + 100 * std::cos(i * 2 * M_PI / 20000))),
                            int(std::lround(150 + 100 * std::sin(i * 2 * M_PI / 20000))));
    paper.SetBrush(exConic, 0x0000FF, 0xFF0000, nullptr, 0);
    paper.Polygon(points);
    const QImage image = replay(1, 100, 300, 300);
    EXPECT_NE(image.pixelColor(100, 100), QColor(Qt::white));
}

TEST_F(Seitenwiedergabe, PrinterOffsetsShiftTheOrigin)
{
    drucker.offset = QPoint(30, 20);
    paper.SetPen(psSolid, 0, 3);
    paper.Line(100, 100, 100, 150);
    QImage image = blank(300, 300);
    {
        QPainter painter(&image);
        paper.DrawToCanvas(painter, 100, 1, true);
    }
    EXPECT_EQ(image.pixelColor(70, 120), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(100, 120), QColor(Qt::white));
}

TEST_F(Seitenwiedergabe, GradientTextRegionAndRichTextDrawSomething)
{
    paper.SetFont("DejaVu Sans", 20, fsBold, 0, false);
    paper.SetBrush(exLinear, 0x0000FF, 0xFF0000, nullptr, 0);
    paper.TextOut(50, 50, "Verlauf");
    paper.Rectangle(50, 200, 400, 300);
    paper.SetBrush(exRadial, 0x00FF00, 0x000000, nullptr, 0);
    paper.Ellipse(450, 200, 650, 400);
    paper.SetBrush(exSolid, 0x808080, 0, nullptr, 0);
    paper.SetPen(psSolid, 0, 3);
    QRegion region(QRect(50, 450, 200, 50));
    region += QRect(50, 500, 50, 100);
    paper.DrawRegion(region);
    paper.SetAlign(taRightJustify, 0);
    paper.SetFont("DejaVu Sans", 12, 0, 0x008000, false);
    paper.TextOut(650, 470, "rechts");
    paper.TextOut(650, 700, "oben", 90);
    paper.RichText(QRect(300, 550, 300, 200), 0, -1,
                   "{\\rtf1{\\fonttbl{\\f0 DejaVu Sans;}}{\\colortbl;\\red255\\green0\\blue0;}"
                   "\\f0\\fs20 Normal \\b fett\\b0  \\cf1 rot\\cf0\\par\\qc Mitte \\'80}");
    const QImage image = replay(1, 100, 700, 800);
    BildSpeichern(image, "seitenwiedergabe.png");
    // Linear gradient at angle 0: first colour (red) on top, second (blue) at the bottom.
    EXPECT_GT(image.pixelColor(200, 205).red(), 200);
    EXPECT_GT(image.pixelColor(200, 295).blue(), 200);
    // The radial gradient's centre has the second colour, black.
    EXPECT_LT(image.pixelColor(550, 300).green(), 40);
    // The region is framed with the solid pen and filled grey inside.
    EXPECT_EQ(image.pixelColor(150, 475), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(50, 520), QColor(Qt::black));
    // Right-aligned text ends at x 650.
    bool inkLeft = false, inkRight = false;
    for (int y = 470; y < 500; ++y) {
        if (image.pixelColor(640, y).green() > 60 && image.pixelColor(640, y).red() < 60)
            inkLeft = true;
        if (image.pixelColor(660, y) != QColor(Qt::white))
            inkRight = true;
    }
    EXPECT_TRUE(inkLeft);
    EXPECT_FALSE(inkRight);
    // Rich text: something red in its rectangle.
    bool red = false;
    for (int y = 550; y < 750 && !red; ++y)
        for (int x = 300; x < 600 && !red; ++x) {
            const QColor c = image.pixelColor(x, y);
            red = c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_TRUE(red);
}

TEST_F(Seitenwiedergabe, ImagesOfEveryKindAndClippedText)
{
    QImage tile(20, 10, QImage::Format_RGB32);
    tile.fill(QColor(0, 0, 255));
    QPicture picture;
    {
        QPainter p(&picture);
        p.fillRect(QRect(0, 0, 40, 40), QColor(0, 255, 0));
    }
    paper.Draw(10, 10, tile, ikBitmap);
    paper.Draw(10, 50, tile, ikPng);
    paper.StretchDraw(QRect(100, 10, 80, 40), tile, ikJpeg);
    paper.StretchDraw(QRect(200, 10, 60, 60), picture);
    paper.SetFont("DejaVu Sans", 8, 0, 0, false);
    paper.TextRect(QRect(10, 200, 40, 40), 10, 200, "WWWWWWWW");
    const QImage image = replay(1, 200, 600, 600);
    BildSpeichern(image, "seitenwiedergabe-bilder.png");
    // Draw keeps the image's own pixel size, times the scale.
    EXPECT_EQ(image.pixelColor(20 + 39, 25), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(20 + 41, 25), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(30, 110), QColor(0, 0, 255));
    const QColor jpeg = image.pixelColor(300, 50);
    EXPECT_GT(jpeg.blue(), 230);
    EXPECT_LT(jpeg.red(), 25);
    EXPECT_EQ(image.pixelColor(461, 61), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(540, 61), QColor(Qt::white));
    // The text is cut at the rectangle's right edge.
    bool inside = false, beyond = false;
    for (int y = 400; y < 480; ++y) {
        inside |= image.pixelColor(60, y).lightness() < 100;
        for (int x = 102; x < 300; ++x)
            beyond |= image.pixelColor(x, y) != QColor(Qt::white);
    }
    EXPECT_TRUE(inside);
    EXPECT_FALSE(beyond);
}

TEST_F(Seitenwiedergabe, ConicBrushFillsEveryFigureInsideItsShapeOnly)
{
    struct Case {
        const char* name;
        std::function<void(TPaper&)> record;
        QPoint inside, outside;
    };
    const std::vector<Case> cases = {
        {"ellipse", [](TPaper& p) { p.Ellipse(0, 0, 200, 200); }, {100, 100}, {5, 5}},
        {"rectangle", [](TPaper& p) { p.Rectangle(0, 0, 200, 100); }, {100, 50}, {100, 150}},
        {"round rectangle",
         [](TPaper& p) { p.RoundRect(0, 0, 200, 200, 120, 120); },
         {100, 100},
         {4, 4}},
        {"fill", [](TPaper& p) { p.FillRect(QRect(0, 0, 200, 100)); }, {100, 50}, {100, 150}},
        {"pie", [](TPaper& p) { p.Pie(0, 0, 200, 200, 200, 100, 100, 0); }, {150, 50}, {50, 150}},
        {"chord",
         [](TPaper& p) { p.Chord(0, 0, 200, 200, 200, 100, 100, 0); },
         {160, 40},
         {110, 90}},
        {"polygon",
         [](TPaper& p) {
             p.Polygon({{0, 0}, {200, 0}, {0, 200}});
         },
         {50, 50},
         {150, 150}},
        {"region",
         [](TPaper& p) { p.DrawRegion(QRegion(QRect(0, 0, 200, 100))); },
         {100, 50},
         {100, 150}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        paper.Clear();
        paper.SetBrush(exConic, 0x0000FF, 0xFF0000, nullptr, 0);
        c.record(paper);
        const QImage image = replay(1, 100, 220, 220);
        EXPECT_NE(image.pixelColor(c.inside), QColor(Qt::white));
        EXPECT_EQ(image.pixelColor(c.outside), QColor(Qt::white));
    }
}

TEST_F(Seitenwiedergabe, PdfHoldsTheRecordedTexts)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext fehlt";
    drucker.dpi = 300;
    paper.Clear();
    paper.SetFont("DejaVu Sans", 12, 0, 0, false);
    paper.TextOut(200, 200, "Milchgeld 12,50 € für Kühe");
    paper.TextOut(200, 300, "Äpfel Öl Übermaß");
    paper.SetPage(2);
    paper.TextOut(200, 200, "Zweite Seite");

    QTemporaryDir dir;
    const QString file = dir.filePath("seiten.pdf");
    {
        QPdfWriter writer(file);
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        paper.DrawToCanvas(painter, 100, 1, true);
        writer.newPage();
        paper.DrawToCanvas(painter, 100, 2, true);
    }
    QProcess pdftotext;
    pdftotext.start("pdftotext", {file, "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(20000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains("Milchgeld 12,50 € für Kühe")) << text.toStdString();
    EXPECT_TRUE(text.contains("Äpfel Öl Übermaß")) << text.toStdString();
    EXPECT_TRUE(text.contains("Zweite Seite"));
    EXPECT_EQ(text.count('\f'), 2);
}

}  // namespace
