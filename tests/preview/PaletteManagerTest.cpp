#include "Dib.h"
#include "PaletteManager.h"

#include <gtest/gtest.h>

namespace {

TColorTable tableOf(int seed)
{
    TColorTable t{};
    for (int i = 0; i < 256; ++i)
        t[static_cast<std::size_t>(i)] =
            MakeRGBQuad(static_cast<std::uint8_t>(i * seed), static_cast<std::uint8_t>(i + seed),
                        static_cast<std::uint8_t>(255 - i));
    return t;
}

TEST(PaletteManager, EqualTablesShareOnePaletteUntilTheLastRelease)
{
    TPaletteManager manager;
    HPalette a = manager.AcquirePalette(tableOf(3), 16);
    HPalette b = manager.AcquirePalette(tableOf(3), 16);
    ASSERT_NE(a, 0u);
    EXPECT_EQ(a, b);
    const HPalette kept = b;
    manager.ReleasePalette(a);
    EXPECT_EQ(a, 0u);
    EXPECT_EQ(manager.ColorTable(kept).size(), 16);
    EXPECT_EQ(manager.ColorTable(kept)[1], qRgb(3, 4, 254));
    manager.ReleasePalette(b);
    EXPECT_EQ(manager.ItemCount(), 0);
    EXPECT_TRUE(manager.ColorTable(kept).isEmpty());
}

TEST(PaletteManager, SameColourSumDifferentEntriesGetTheirOwnPalette)
{
    TPaletteManager manager;
    TColorTable first{}, second{};
    first[0] = MakeRGBQuad(10, 0, 0);
    second[0] = MakeRGBQuad(0, 10, 0);
    const HPalette a = manager.AcquirePalette(first, 2);
    const HPalette b = manager.AcquirePalette(second, 2);
    EXPECT_NE(a, b);
    EXPECT_EQ(manager.ItemCount(), 2);
}

TEST(PaletteManager, OnlyTheCountedEntriesAreCompared)
{
    TPaletteManager manager;
    TColorTable first = tableOf(5), second = tableOf(5);
    second[200] = MakeRGBQuad(1, 2, 3);
    EXPECT_EQ(manager.AcquirePalette(first, 16), manager.AcquirePalette(second, 16));
    EXPECT_NE(manager.AcquirePalette(first, 256), manager.AcquirePalette(second, 256));
}

TEST(PaletteManager, ReleasingZeroOrAForeignHandleChangesNothing)
{
    TPaletteManager manager;
    HPalette held = manager.AcquirePalette(tableOf(1), 4);
    HPalette zero = 0;
    manager.ReleasePalette(zero);
    HPalette foreign = held + 1000;
    manager.ReleasePalette(foreign);
    EXPECT_EQ(foreign, held + 1000);
    EXPECT_EQ(manager.ItemCount(), 1);
}

TEST(PaletteManager, ImpossibleCountGivesHandleZeroThatStaysCached)
{
    TPaletteManager manager;
    HPalette none = manager.AcquirePalette(tableOf(1), 0);
    EXPECT_EQ(none, 0u);
    manager.ReleasePalette(none);
    EXPECT_EQ(manager.ItemCount(), 1);
}

TEST(PaletteManager, EntryLayoutsSwapRedAndBlue)
{
    const TPaletteEntry e = QuadToPaletteEntry(MakeRGBQuad(1, 2, 3));
    EXPECT_EQ(e.peRed, 1);
    EXPECT_EQ(e.peGreen, 2);
    EXPECT_EQ(e.peBlue, 3);
    EXPECT_EQ(e.peFlags, 0);
    TColorTable t = tableOf(7);
    EXPECT_EQ(PaletteEntriesToQuads(QuadsToPaletteEntries(t)), t);
}

// Bitmaps go through the process's manager: copies with one colour table use one palette, and the
// palette follows a table change.
TEST(PaletteManager, BitmapsWithEqualTablesShareThroughTheCache)
{
    const int before = SharedPaletteManager().ItemCount();
    {
        TDIB a, b;
        a.SetSize(4, 4, 8);
        b.SetSize(2, 2, 8);
        const HPalette pa = a.GetPalette();
        EXPECT_EQ(pa, b.GetPalette());
        EXPECT_EQ(SharedPaletteManager().ColorTable(pa)[200], qRgb(200, 200, 200));
        b.SetPalette({qRgb(255, 0, 0)});
        const HPalette pb = b.GetPalette();
        EXPECT_NE(pb, pa);
        EXPECT_EQ(SharedPaletteManager().ColorTable(pb)[0], qRgb(255, 0, 0));
        EXPECT_EQ(SharedPaletteManager().ItemCount(), before + 2);
    }
    EXPECT_EQ(SharedPaletteManager().ItemCount(), before);
}

}  // namespace
