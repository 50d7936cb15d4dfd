#include "FakeDrucker.h"
#include "Leinwand.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {

// 254 dpi for printer, screen and images: one unit (tenth of a millimetre) is one pixel.
class Leinwand : public ::testing::Test {
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

    static QImage blank()
    {
        QImage image(600, 600, QImage::Format_RGB32);
        image.setDotsPerMeterX(10000);
        image.setDotsPerMeterY(10000);
        image.fill(Qt::white);
        return image;
    }

    static QRect ink(const QImage& image)
    {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y).lightness() < 160)
                    box |= QRect(x, y, 1, 1);
        return box;
    }

    // The same drawing on the screen canvas and through the page store.
    std::pair<QImage, QImage> both(const std::function<void(IMyCanvas&)>& draw)
    {
        QImage screen = blank();
        {
            QPainter painter(&screen);
            auto canvas = std::make_shared<TMyGDICanvas>(painter);
            draw(*canvas);
        }
        paper.Clear();
        paper.SetAlign(taRightJustify, 0);  // left over from text printed before the chart
        {
            std::shared_ptr<IMyCanvas> canvas = std::make_shared<TMyPreviewCanvas>(paper);
            draw(*canvas);
        }
        QImage replayed = blank();
        QPainter painter(&replayed);
        paper.DrawToCanvas(painter, 100, 1, false);
        return {screen, replayed};
    }
};

TEST_F(Leinwand, TurnedAndAlignedTextLandsAlikeOnScreenAndPaper)
{
    struct Case {
        TAlignment h;
        TVAlignment v;
        int angle;
    };
    const std::vector<Case> cases = {{taLeftJustify, tvaTop, 0},   {taRightJustify, tvaTop, 0},
                                     {taCenter, tvaCenter, 0},     {taRightJustify, tvaBottom, 0},
                                     {taRightJustify, tvaTop, 90}, {taCenter, tvaCenter, 90},
                                     {taCenter, tvaTop, 45},       {taRightJustify, tvaCenter, 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.h) << "/" << int(c.v) << "/" << c.angle);
        auto [screen, replayed] = both([&](IMyCanvas& canvas) {
            canvas.SetzeSchrift("DejaVu Sans", 14, fsBold, 0, false);
            canvas.TextOut(300, 300, "Laktation", c.h, c.v, c.angle);
        });
        const QRect a = ink(screen), b = ink(replayed);
        ASSERT_FALSE(a.isEmpty());
        EXPECT_NEAR(a.left(), b.left(), 3);
        EXPECT_NEAR(a.top(), b.top(), 3);
        EXPECT_NEAR(a.right(), b.right(), 3);
        EXPECT_NEAR(a.bottom(), b.bottom(), 3);
    }
}

TEST_F(Leinwand, FiguresLandAlike)
{
    auto [screen, replayed] = both([](IMyCanvas& canvas) {
        canvas.SetzePen(0, 1, psSolid);
        canvas.SetzeBrush(0x000000, exSolid);
        canvas.Rectangle(10, 10, 100, 60);
        canvas.Ellipse(QRect(200, 10, 100, 80));
        canvas.Pie(10, 200, 210, 400, 210, 300, 110, 200);  // the upper right quarter
        canvas.SetzeBrushClear();
        canvas.Polyline({{300, 300}, {400, 350}, {500, 300}});
    });
    EXPECT_EQ(ink(screen), ink(replayed));
    EXPECT_EQ(screen.pixelColor(150, 250), QColor(Qt::black));
    EXPECT_EQ(screen.pixelColor(60, 250), QColor(Qt::white));
}

TEST_F(Leinwand, UnknownBrushStyleRecordsSolidAndTheFontKeepsNarrow)
{
    TMyPreviewCanvas canvas(paper);
    canvas.SetzeBrush(0x123456, exConic);
    EXPECT_EQ(paper.CurrentBrush().Style, exSolid);
    EXPECT_EQ(paper.CurrentBrush().Color, 0x123456u);
    canvas.SetzeSchrift("DejaVu Sans", 9, fsItalic, 0, true);
    EXPECT_EQ(paper.CurrentFont().Style, fsItalic | fsNarrow);
    canvas.SetzePen(0xFF, 3, psDot);
    EXPECT_EQ(paper.CurrentPen().Width, 3.0);
}

TEST_F(Leinwand, TurnedTextLeavesTheScreenCanvasAsItWas)
{
    QImage image = blank();
    QPainter painter(&image);
    TMyGDICanvas canvas(painter);
    canvas.SetzeSchrift("DejaVu Sans", 12, 0, 0, false);
    const QFont before = painter.font();
    const QTransform transform = painter.transform();
    canvas.TextOut(300, 300, "hoch", taLeftJustify, tvaTop, 90);
    EXPECT_EQ(painter.font(), before);
    EXPECT_EQ(painter.transform(), transform);
    painter.end();
    const QRect box = ink(image);
    EXPECT_GT(box.height(), box.width());  // written upward
    EXPECT_LE(box.bottom(), 300);
}

TEST_F(Leinwand, NarrowTypeIsNarrowerOnScreen)
{
    QImage image = blank();
    QPainter painter(&image);
    TMyGDICanvas canvas(painter);
    canvas.SetzeSchrift("DejaVu Sans", 12, 0, 0, false);
    const int wide = canvas.TextWidth("Milchmenge");
    canvas.SetzeSchrift("DejaVu Sans", 12, 0, 0, true);
    EXPECT_NEAR(canvas.TextWidth("Milchmenge"), wide * 0.65, wide * 0.05);
}

}  // namespace
