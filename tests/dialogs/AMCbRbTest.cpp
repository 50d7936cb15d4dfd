#include <AMCbRb.h>

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace AMCbRb;

namespace {

const QString LangerText =
    QStringLiteral("Tiere mit einer Kalbung im laufenden Jahr in der Liste anzeigen");

// Each test chooses the drawing mode; the default is restored afterwards.
class AMCbRbTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { SetThemeActive(GetParam()); }
    void TearDown() override { SetThemeActive(true); }
};

}  // namespace

TEST(AMCbRb, GlyphCellsOfTheStates)
{
    struct Case {
        bool radio;
        Qt::CheckState state;
        bool enabled;
        int cell;
    };
    const std::vector<Case> cases = {
        {false, Qt::Unchecked, true, 0},        {false, Qt::Checked, true, 1},
        {false, Qt::PartiallyChecked, true, 2}, {false, Qt::Unchecked, false, 0},
        {false, Qt::Checked, false, 3},         {false, Qt::PartiallyChecked, false, 2},
        {true, Qt::Unchecked, true, 0},         {true, Qt::Checked, true, 1},
        {true, Qt::Unchecked, false, 0},        {true, Qt::Checked, false, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GlyphZelle(c.radio, c.state, c.enabled), c.cell)
            << c.radio << " " << c.state << " " << c.enabled;
}

TEST(AMCbRb, GlyphAndTextPlaces)
{
    EXPECT_EQ(GlyphPlatz(taRightJustify, 100, 12, 12), QRect(1, 1, 12, 12));
    EXPECT_EQ(GlyphPlatz(taLeftJustify, 100, 12, 12), QRect(87, 1, 12, 12));
    EXPECT_EQ(TextPlatz(taRightJustify, QSize(100, 40), 7, 12), QRect(19, 1, 80, 38));
    EXPECT_EQ(TextPlatz(taLeftJustify, QSize(100, 40), 7, 12), QRect(1, 1, 80, 38));
    EXPECT_EQ(TextPlatz(taRightJustify, QSize(10, 1), 7, 12), QRect(19, 1, 0, 0));
    EXPECT_EQ(OhneKuerzel(QStringLiteral("&Ja && Nein&")), QStringLiteral("Ja & Nein&"));
}

TEST(AMCbRb, CaptionWrapsAndEndsWithAnEllipsis)
{
    const QFontMetrics fm(QFont(QStringLiteral("Sans"), 10));
    const int w = fm.horizontalAdvance(QStringLiteral("Tiere mit einer"));
    const TCaption c = CaptionUmbrechen(LangerText, fm, QRect(5, 3, w, 100 * fm.height()));
    ASSERT_GE(c.Lines.size(), 4);
    EXPECT_EQ(c.Lines[0], QStringLiteral("Tiere mit einer"));
    EXPECT_EQ(c.Lines.join(QLatin1Char(' ')), LangerText);
    EXPECT_EQ(c.Bounds.topLeft(), QPoint(5, 3));
    EXPECT_EQ(c.Bounds.height(), int(c.Lines.size()) * fm.height());
    EXPECT_LE(c.Bounds.width(), w);

    // Only two lines fit: the second ends with an ellipsis.
    const TCaption two = CaptionUmbrechen(LangerText, fm, QRect(0, 0, w, 2 * fm.height() + 3));
    ASSERT_EQ(two.Lines.size(), 2);
    EXPECT_TRUE(two.Lines[1].endsWith(QChar(0x2026)));

    // A word longer than the line ends with an ellipsis; tabs and line breaks count.
    const TCaption word = CaptionUmbrechen(QStringLiteral("Besamungsstationsverzeichnis ja"), fm,
                                           QRect(0, 0, w / 2, 10 * fm.height()));
    EXPECT_TRUE(word.Lines[0].endsWith(QChar(0x2026)));
    EXPECT_EQ(word.Lines[1], QStringLiteral("ja"));
    const TCaption breaks =
        CaptionUmbrechen(QStringLiteral("a\r\nb\tc"), fm, QRect(0, 0, 500, 10 * fm.height()));
    EXPECT_EQ(breaks.Lines, (QStringList{"a", "b  c"}));
}

TEST(AMCbRb, HostDefaultsAndSetters)
{
    TAMCbRbHost host;
    EXPECT_EQ(host.Margin(), 7);
    EXPECT_EQ(host.NumGlyphs(), 4);
    EXPECT_EQ(host.TransparentColor(), QColor(128, 128, 0));
    EXPECT_EQ(host.FontActive()->Color(), QColor(0, 0, 255));
    EXPECT_EQ(host.FontInactive()->Color(), QColor(0, 0, 0));
    EXPECT_EQ(host.Glyph().size(), QSize(48, 12));
    EXPECT_EQ(host.GlyphRect(2), QRect(24, 0, 12, 12));

    QSignalSpy changed(&host, &TAMCbRbHost::changed);
    host.SetMargin(7);
    host.FontInactive()->SetColor(Qt::black);
    EXPECT_EQ(changed.count(), 0);
    host.SetMargin(3);
    host.FontActive()->SetStyle(fsBold);
    host.FontInactive()->SetColor(Qt::red);
    host.SetTransparentColor(Qt::magenta);
    EXPECT_EQ(changed.count(), 4);

    QImage sheet(40, 10, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    host.SetGlyph(sheet);
    EXPECT_EQ(host.GlyphWidth(), 10);
    host.SetNumGlyphs(0);
    EXPECT_EQ(host.GlyphWidth(), 0);
    host.SetNumGlyphs(4);
    host.SetGlyph(QImage());
    EXPECT_EQ(host.Glyph().size(), QSize(48, 12));
    EXPECT_EQ(host.Glyph(), StandardGlyph());

    // The transparent colour of a cell is left out when it is drawn.
    QImage small(4, 4, QImage::Format_RGB32);
    small.fill(QColor(128, 128, 0));
    small.setPixelColor(1, 1, Qt::black);
    const QImage cell = GlyphBild(small, QRect(0, 0, 2, 2), QColor(128, 128, 0));
    EXPECT_EQ(cell.size(), QSize(2, 2));
    EXPECT_EQ(cell.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(cell.pixelColor(1, 1), QColor(Qt::black));
    // The default sheet's cells differ: empty, ticked, grayed, ticked and disabled.
    const QImage standard = StandardGlyph();
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            EXPECT_NE(standard.copy(host.GlyphRect(a)), standard.copy(host.GlyphRect(b))) << a << b;
}

TEST_P(AMCbRbTest, CheckBoxCaptionRunsOverSeveralLines)
{
    TAMCbRbHost host;
    TAMCheckBox box;
    box.SetHost(&host);
    box.setText(LangerText);
    const int oneLine = box.sizeHint().height();
    const int narrow = box.heightForWidth(120);
    EXPECT_GT(narrow, oneLine);
    box.resize(120, narrow);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));

    const TAMLayout l = box.Layout();
    EXPECT_EQ(l.Themed, GetParam());
    EXPECT_FALSE(l.Placeholder);
    EXPECT_GE(l.Caption.Lines.size(), 3);
    EXPECT_EQ(l.Caption.Lines.join(QLatin1Char(' ')), LangerText);
    EXPECT_TRUE(l.TextRect.contains(l.Caption.Bounds)) << l.Caption.Bounds.height();
    EXPECT_GT(l.TextRect.left(), l.Box.right());
    EXPECT_TRUE(box.rect().contains(l.Box));
    if (!GetParam()) {
        EXPECT_EQ(l.Box, QRect(1, 1, 12, 12));
        EXPECT_EQ(l.TextRect.left(), 7 + 12);
    }

    // Every caption line answers the mouse.
    QTest::mouseClick(&box, Qt::LeftButton, {},
                      QPoint(l.TextRect.left() + 4, l.Caption.Bounds.bottom() - 2));
    EXPECT_TRUE(box.isChecked());
    EXPECT_FALSE(box.grab().isNull());

    // Caption left of the box: the box at the right edge, the text ending before it.
    box.SetAlignment(taLeftJustify);
    const TAMLayout left = box.Layout();
    EXPECT_GE(left.Box.right(), box.width() - 2);
    EXPECT_LT(left.TextRect.right(), left.Box.left());
    EXPECT_GE(left.Caption.Lines.size(), 3);
    if (!GetParam()) {
        EXPECT_EQ(left.TextRect.right() + 1, box.width() - 7 - 12);
    }
    EXPECT_FALSE(box.grab().isNull());
}

TEST_P(AMCbRbTest, RadioButtonCaptionRunsOverSeveralLines)
{
    TAMCbRbHost host;
    TAMRadioButton radio;
    radio.SetHost(&host);
    radio.setText(LangerText);
    radio.resize(140, radio.heightForWidth(140));
    const TAMLayout l = radio.Layout();
    EXPECT_GE(l.Caption.Lines.size(), 2);
    EXPECT_TRUE(l.TextRect.contains(l.Caption.Bounds));
    radio.setChecked(true);
    radio.setEnabled(false);
    if (!GetParam()) {
        EXPECT_EQ(radio.Layout().Cell, 3);
    }
    EXPECT_FALSE(radio.grab().isNull());
}

INSTANTIATE_TEST_SUITE_P(Modes, AMCbRbTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Themed" : "Classic"; });

TEST(AMCbRb, ClassicCellsHostChangesAndHostRemoval)
{
    SetThemeActive(false);
    auto* host = new TAMCbRbHost;
    TAMCheckBox box;
    box.setTristate(true);
    box.SetHost(host);
    box.setText(QStringLiteral("Trächtig"));
    box.resize(200, 30);

    box.setCheckState(Qt::Checked);
    box.setEnabled(false);
    EXPECT_EQ(box.Layout().Cell, 3);
    box.setCheckState(Qt::PartiallyChecked);
    EXPECT_EQ(box.Layout().Cell, 2);
    box.setEnabled(true);
    EXPECT_EQ(box.Layout().Cell, 2);
    EXPECT_FALSE(box.grab().isNull());

    host->SetMargin(20);
    EXPECT_EQ(box.Layout().TextRect.left(), 20 + 12);

    // With themes on the glyph plays no part.
    SetThemeActive(true);
    EXPECT_TRUE(box.Layout().Themed);
    SetThemeActive(false);

    delete host;
    EXPECT_EQ(box.Host(), nullptr);
    const TAMLayout placeholder = box.Layout();
    EXPECT_TRUE(placeholder.Placeholder);
    EXPECT_EQ(placeholder.Caption.Lines, QStringList{QStringLiteral("Trächtig")});
    EXPECT_EQ(placeholder.Caption.Bounds.center().x(), box.rect().center().x());
    EXPECT_FALSE(box.grab().isNull());
    SetThemeActive(true);
}
