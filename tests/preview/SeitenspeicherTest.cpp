#include "FakeDrucker.h"
#include "Seitenspeicher.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Independent little-endian readers of the item stream.
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
    std::uint64_t u = std::uint64_t(u32(b, at)) | std::uint64_t(u32(b, at + 4)) << 32;
    double d;
    std::memcpy(&d, &u, 8);
    return d;
}

class Seitenspeicher : public ::testing::Test {
protected:
    FakeDrucker drucker;
    TPaper paper{drucker};

    QByteArray fixedOf(std::size_t index) const
    {
        const TSizeEntry& e = paper.SizeList().at(index);
        return paper.Stream().mid(int(e.DataPos), e.FixedSize);
    }
    QByteArray extraOf(std::size_t index) const
    {
        const TSizeEntry& e = paper.SizeList().at(index);
        return paper.Stream().mid(int(e.DataPos + e.FixedSize), int(e.ExtraSize));
    }
};

TEST_F(Seitenspeicher, FixedPartsOfEveryFigureHoldTheirCoordinatesInOrder)
{
    struct Case {
        std::function<void(TPaper&)> record;
        std::uint16_t type;
        std::vector<std::int32_t> values;
    };
    const std::vector<Case> cases = {
        {[](TPaper& p) { p.Arc(1, -2, 3, 4, 5, 6, 7, -8); }, 7, {1, -2, 3, 4, 5, 6, 7, -8}},
        {[](TPaper& p) { p.Chord(9, 8, 7, 6, 5, 4, 3, 2); }, 8, {9, 8, 7, 6, 5, 4, 3, 2}},
        {[](TPaper& p) { p.Pie(-100000, 2, 3, 4, 5, 6, 7, 8); }, 9, {-100000, 2, 3, 4, 5, 6, 7, 8}},
        {[](TPaper& p) { p.Ellipse(10, 20, 30, 40); }, 13, {10, 20, 30, 40}},
        {[](TPaper& p) { p.Rectangle(QRect(10, 20, 5, 6)); }, 14, {10, 20, 15, 26}},
        {[](TPaper& p) { p.RoundRect(1, 2, 3, 4, 5, 6); }, 15, {1, 2, 3, 4, 5, 6}},
        {[](TPaper& p) { p.FrameRect(QRect(0, 0, 10, 10)); }, 16, {0, 0, 10, 10}},
        {[](TPaper& p) { p.FillRect(QRect(-5, -5, 10, 10)); }, 17, {-5, -5, 5, 5}},
        {[](TPaper& p) { p.DrawFocusRect(QRect(1, 1, 1, 1)); }, 18, {1, 1, 2, 2}},
        {[](TPaper& p) { p.Line(100, 200, 300, 400); }, 21, {100, 200, 300, 400}},
        {[](TPaper& p) { p.TextOut(11, 22, "abc", 90); }, 19, {11, 22, 90}},
        {[](TPaper& p) { p.TextRect(QRect(1, 2, 10, 20), 3, 4, "x"); }, 20, {1, 2, 11, 22, 3, 4}},
        {[](TPaper& p) { p.RichText(QRect(0, 0, 100, 50), 7, -1, "{\\rtf1 a}"); },
         23,
         {0, 0, 100, 50, 7, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        paper.Clear();
        paper.SetPage(3);
        c.record(paper);
        ASSERT_EQ(paper.SizeList().size(), 1u);
        const TSizeEntry& e = paper.SizeList()[0];
        EXPECT_EQ(e.ItemType, c.type);
        EXPECT_EQ(e.Page, 3);
        EXPECT_EQ(e.DataPos, 0u);
        EXPECT_EQ(e.FixedSize, c.values.size() * 4);
        const QByteArray fixed = fixedOf(0);
        for (std::size_t i = 0; i < c.values.size(); ++i)
            EXPECT_EQ(i32(fixed, int(i * 4)), c.values[i]);
    }
}

TEST_F(Seitenspeicher, FontRecordLayout)
{
    paper.SetFont(QString(40, 'N'), 12, fsBold | fsUnderline, 0x00112233, true);
    const TSizeEntry& e = paper.SizeList().at(0);
    EXPECT_EQ(e.ItemType, 2);
    EXPECT_EQ(e.Page, -1);
    EXPECT_EQ(e.FixedSize, 48);
    EXPECT_EQ(e.ExtraSize, 0u);
    const QByteArray f = fixedOf(0);
    EXPECT_EQ(u8(f, 0), 32);
    EXPECT_EQ(f.mid(1, 32), QByteArray(32, 'N'));
    EXPECT_EQ(i32(f, 36), 12);
    EXPECT_EQ(u32(f, 40), 0x00112233u);
    EXPECT_EQ(u8(f, 44), 1 | 4 | 16);
}

TEST_F(Seitenspeicher, BrushAndPenRecordLayout)
{
    paper.SetBrush(exConic, 0x0000FF, 0xFF0000, nullptr, 45);
    paper.SetPen(psDashDot, 0x00ABCDEF, 2.75);
    QImage pattern(8, 8, QImage::Format_RGB32);
    pattern.fill(Qt::red);
    paper.SetBrush(exSolid, 0x000000, 0, &pattern, 0);

    const QByteArray b = fixedOf(0);
    EXPECT_EQ(paper.SizeList()[0].FixedSize, 16);
    EXPECT_EQ(paper.SizeList()[0].ExtraSize, 0u);
    EXPECT_EQ(u8(b, 0), 14);
    EXPECT_EQ(u32(b, 4), 0x0000FFu);
    EXPECT_EQ(u32(b, 8), 0xFF0000u);
    EXPECT_EQ(u8(b, 12), 45);

    const QByteArray p = fixedOf(1);
    EXPECT_EQ(paper.SizeList()[1].ItemType, 4);
    EXPECT_EQ(paper.SizeList()[1].Page, -1);
    EXPECT_EQ(u8(p, 0), 3);
    EXPECT_EQ(u32(p, 4), 0x00ABCDEFu);
    EXPECT_DOUBLE_EQ(f64(p, 8), 2.75);

    // The brush bitmap is stored as a bitmap file.
    const QByteArray bmp = extraOf(2);
    EXPECT_TRUE(bmp.startsWith("BM"));
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(bmp, "BMP"));
    EXPECT_EQ(decoded.size(), QSize(8, 8));
    EXPECT_EQ(paper.SizeList()[2].DataPos, 32u);
}

TEST_F(Seitenspeicher, PointListsAndTextsCountTheirVariablePart)
{
    paper.Polygon({});
    paper.Polyline({{1, 2}, {-3, 4}, {5, 6}});
    paper.TextOut(0, 0, "", 0);
    paper.TextOut(0, 0, "Kuh € Öl", 0);
    paper.PolyBezier({{7, 8}});

    EXPECT_EQ(i32(fixedOf(0), 0), 0);
    EXPECT_EQ(paper.SizeList()[0].ExtraSize, 0u);
    EXPECT_EQ(i32(fixedOf(1), 0), 3);
    const QByteArray pts = extraOf(1);
    ASSERT_EQ(pts.size(), 24);
    EXPECT_EQ(i32(pts, 8), -3);
    EXPECT_EQ(i32(pts, 20), 6);
    EXPECT_EQ(paper.SizeList()[2].ExtraSize, 0u);
    // Texts are UTF-8: ExtraSize counts bytes.
    EXPECT_EQ(extraOf(3), QByteArray("Kuh \xE2\x82\xAC \xC3\x96l"));
    EXPECT_EQ(paper.SizeList()[3].ExtraSize, 11u);
    // Each item's data starts where the previous one ended.
    std::uint32_t offset = 0;
    for (const TSizeEntry& e : paper.SizeList()) {
        EXPECT_EQ(e.DataPos, offset);
        offset += e.FixedSize + e.ExtraSize;
    }
    EXPECT_EQ(offset, std::uint32_t(paper.Stream().size()));
}

TEST_F(Seitenspeicher, ImagePlacementAndFrame)
{
    QImage image(30, 10, QImage::Format_RGB32);
    image.fill(Qt::blue);
    paper.Draw(5, 6, image, ikJpeg);
    paper.StretchDraw(QRect(1, 2, 100, 50), image, ikPng);
    const QByteArray place = fixedOf(0);
    EXPECT_EQ(paper.SizeList()[0].FixedSize, 24);
    EXPECT_EQ(i32(place, 0), 5);
    EXPECT_EQ(i32(place, 4), 6);
    EXPECT_EQ(i32(place, 8), 30);
    EXPECT_EQ(i32(place, 12), 10);
    EXPECT_EQ(u8(place, 16), 4);
    EXPECT_TRUE(extraOf(0).startsWith("\xFF\xD8\xFF"));
    const QByteArray frame = fixedOf(1);
    EXPECT_EQ(i32(frame, 8), 101);
    EXPECT_EQ(i32(frame, 12), 52);
    EXPECT_EQ(u8(frame, 16), 5);
    EXPECT_EQ(frame.mid(17, 7), QByteArray(7, '\0'));
}

TEST_F(Seitenspeicher, BrushCopyRecordsABitmapOfTheSourceSize)
{
    QImage source(100, 100, QImage::Format_RGB32);
    source.fill(Qt::black);
    paper.BrushCopy(QRect(0, 0, 60, 20), source, QRect(10, 10, 30, 10), 0x000000);
    EXPECT_EQ(paper.SizeList()[0].ItemType, 6);
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(extraOf(0), "BMP"));
    EXPECT_EQ(decoded.size(), QSize(30, 10));
    // Black was the given colour: it takes the bitmap canvas's white brush.
    EXPECT_EQ(decoded.pixel(0, 0), qRgb(255, 255, 255));
}

TEST_F(Seitenspeicher, RegionDataHasHeaderAndRectangles)
{
    QRegion region(QRect(10, 10, 20, 5));
    region += QRect(10, 15, 5, 5);
    paper.DrawRegion(region);
    const QByteArray box = fixedOf(0);
    EXPECT_EQ(i32(box, 0), 10);
    EXPECT_EQ(i32(box, 8), 30);
    EXPECT_EQ(i32(box, 12), 20);
    const QByteArray data = extraOf(0);
    EXPECT_EQ(u32(data, 0), 32u);
    EXPECT_EQ(u32(data, 4), 1u);
    const std::uint32_t count = u32(data, 8);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(u32(data, 12), count * 16);
    EXPECT_EQ(data.size(), int(32 + count * 16));
    EXPECT_EQ(i32(data, 32), 10);
    EXPECT_EQ(i32(data, 32 + 8), 30);
    EXPECT_EQ(i32(data, 48 + 12), 20);
}

TEST_F(Seitenspeicher, AlignmentValues)
{
    const std::vector<std::pair<std::pair<TAlignment, std::uint32_t>, std::uint32_t>> cases = {
        {{taLeftJustify, 0}, 0},
        {{taRightJustify, 0}, 2},
        {{taCenter, 0}, 6},
        {{taRightJustify, TA_BOTTOM}, 10},
        {{taCenter, TA_BASELINE}, 30}};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        paper.SetAlign(cases[i].first.first, cases[i].first.second);
        EXPECT_EQ(paper.SizeList()[i].FixedSize, 4);
        EXPECT_EQ(paper.SizeList()[i].Page, 1);
        EXPECT_EQ(u32(fixedOf(i), 0), cases[i].second);
        EXPECT_EQ(paper.CurrentAlign(), cases[i].second);
    }
}

TEST_F(Seitenspeicher, PageListsInterleaveChangesOfEveryPage)
{
    paper.SetPage(1);
    paper.Line(0, 0, 1, 1);
    paper.SetAlign(taRightJustify, 0);
    paper.SetPage(2);
    paper.SetFont("Arial", 10, 0, 0, false);
    paper.Line(0, 0, 2, 2);
    paper.SetPage(3);
    paper.Rectangle(0, 0, 3, 3);
    paper.SetPen(psSolid, 0, 1);

    EXPECT_EQ(paper.GetItemsCountOnPage(1), 4);  // line, align, font, pen
    EXPECT_EQ(paper.GetItemsCountOnPage(2), 3);  // font, line, pen: page 1's alignment is not here
    EXPECT_EQ(paper.GetItemsCountOnPage(3), 3);
    EXPECT_EQ(paper.GetItemsCountOnPage(0), 2);
    EXPECT_EQ(paper.GetItemsCountOnPage(5), 0);
    EXPECT_THROW(paper.GetItemsCountOnPage(-1), std::out_of_range);
    EXPECT_THROW(paper.SetPage(-2), std::out_of_range);
    EXPECT_EQ(paper.GetPage(), 3);

    paper.Clear();
    EXPECT_EQ(paper.GetItemsCountOnPage(1), 0);
    EXPECT_TRUE(paper.Stream().isEmpty());
    paper.Line(1, 2, 3, 4);
    EXPECT_EQ(paper.SizeList()[0].DataPos, 0u);
}

TEST_F(Seitenspeicher, ReCountDataPosRestoresOffsetsFromSizes)
{
    paper.TextOut(1, 2, "abc", 0);
    paper.Line(1, 2, 3, 4);
    paper.Polygon({{1, 1}, {2, 2}});
    std::vector<std::uint32_t> before;
    for (const TSizeEntry& e : paper.SizeList())
        before.push_back(e.DataPos);
    paper.ReCountDataPos();
    std::vector<std::uint32_t> after;
    for (const TSizeEntry& e : paper.SizeList())
        after.push_back(e.DataPos);
    EXPECT_EQ(after, before);
    EXPECT_EQ(after, (std::vector<std::uint32_t>{0, 15, 31}));
}

TEST(SeitenspeicherTwips, ConversionsTruncateAfterAddingAHalf)
{
    const std::vector<std::pair<std::int32_t, std::int32_t>> toTwips = {
        {254, 1440}, {1, 6}, {-1, -5}, {0, 0}, {-254, -1439}, {2540, 14400}};
    for (auto [tmm, twips] : toTwips)
        EXPECT_EQ(TPaper::TMM2Twips(tmm), twips) << tmm;
    const std::vector<std::pair<std::int32_t, std::int32_t>> toTmm = {
        {1440, 254}, {1, 0}, {3, 1}, {-3, 0}, {-6, -0}, {-12, -1}};
    for (auto [twips, tmm] : toTmm)
        EXPECT_EQ(TPaper::Twips2TMM(twips), tmm) << twips;
}

TEST_F(Seitenspeicher, TextExtentUsesPrinterMetricsAndUnits)
{
    // No geometry update yet: measuring must not divide by zero.
    paper.SetFont("DejaVu Sans", 10, 0, 0, false);
    const QSize mm = paper.TextExtent("Milchleistung");
    EXPECT_GT(mm.width(), 10);
    EXPECT_GT(mm.height(), 2);
    paper.SetUnits(unTenthMillimeters);
    const QSize tenth = paper.TextExtent("Milchleistung");
    EXPECT_NEAR(tenth.width(), mm.width() * 10, 10);
    // The resolution of the printer does not change the measure in units.
    drucker.dpi = 300;
    paper.Clear();
    EXPECT_NEAR(paper.TextExtent("Milchleistung").width(), tenth.width(), 3);
}

TEST_F(Seitenspeicher, CurrentRecordsBelongToEachStore)
{
    TPaper other(drucker);
    paper.SetFont("DejaVu Sans", 30, 0, 0, false);
    other.SetFont("DejaVu Sans", 8, 0, 0, false);
    EXPECT_EQ(paper.CurrentFont().Size, 30);
    EXPECT_GT(paper.TextWidth("Kalbung"), other.TextWidth("Kalbung") * 3);
}

TEST_F(Seitenspeicher, RichTextBounds)
{
    QRect empty(100, 200, 500, 300);
    std::int32_t last = -1;
    EXPECT_TRUE(paper.RichTextBounds(empty, 0, last, ""));
    EXPECT_EQ(last, 0);
    EXPECT_EQ(empty.y() + empty.height(), 200);

    QByteArray rtf = "{\\rtf1{\\fonttbl{\\f0 DejaVu Sans;}}\\f0\\fs24 ";
    for (int i = 0; i < 40; ++i)
        rtf += "Zeile\\par ";
    rtf += "}";
    QRect big(0, 0, 1000, 100000);
    last = -1;
    EXPECT_TRUE(paper.RichTextBounds(big, 0, last, rtf));
    const int fullHeight = big.height();
    EXPECT_GT(fullHeight, 40 * 30);

    QRect small(0, 0, 1000, fullHeight / 4);
    last = -1;
    EXPECT_FALSE(paper.RichTextBounds(small, 0, last, rtf));
    EXPECT_GT(last, 0);
    EXPECT_EQ(last % 6, 0);  // breaks at the start of a line "Zeile" + separator
    EXPECT_LE(small.height(), fullHeight / 4);
    // The rest from there fits into the remaining three quarters and more.
    QRect rest(0, 0, 1000, fullHeight);
    std::int32_t restLast = -1;
    EXPECT_TRUE(paper.RichTextBounds(rest, last, restLast, rtf));
}

}  // namespace
