#include "VorschauLogik.h"

#include <gtest/gtest.h>

#include <Qt>

namespace {

TEST(VorschauLogik, ScrollAxisCentresSmallPagesAndKeepsTheRelativePositionOfLargeOnes)
{
    ScrollAchse achse;
    AchseAnpassen(achse, 300, 500);
    EXPECT_FALSE(achse.Enabled);
    EXPECT_EQ(achse.Offset, 100);
    EXPECT_EQ(achse.Limit(), 0);

    AchseAnpassen(achse, 1500, 500);
    EXPECT_TRUE(achse.Enabled);
    EXPECT_EQ(achse.Position, 0);
    EXPECT_EQ(achse.Limit(), 1000);
    achse.Position = 250;  // a quarter of the way
    AchseAnpassen(achse, 2500, 500);
    EXPECT_EQ(achse.Position, 500);
    EXPECT_EQ(achse.Offset, -500);
}

struct TastenFall {
    const char* name;
    int key;
    Blickpunkt vorher;
    Blickpunkt nachher;
};

TEST(VorschauLogik, KeysOfThePagePanel)
{
    // Three pages; scroll ranges 0..300 horizontally and 0..800 vertically.
    const TastenFall faelle[] = {
        {"Bild ab", Qt::Key_PageDown, {1, 10, 10}, {2, 10, 10}},
        {"Bild ab auf der letzten Seite", Qt::Key_PageDown, {3, 0, 0}, {3, 0, 0}},
        {"Bild auf", Qt::Key_PageUp, {2, 0, 0}, {1, 0, 0}},
        {"Pos1", Qt::Key_Home, {3, 0, 500}, {1, 0, 500}},
        {"Ende", Qt::Key_End, {1, 0, 0}, {3, 0, 0}},
        {"links am Rand", Qt::Key_Left, {1, 10, 0}, {1, 0, 0}},
        {"rechts", Qt::Key_Right, {1, 10, 0}, {1, 30, 0}},
        {"rechts am Rand", Qt::Key_Right, {1, 290, 0}, {1, 300, 0}},
        {"runter", Qt::Key_Down, {2, 0, 100}, {2, 0, 120}},
        {"runter unten blättert", Qt::Key_Down, {2, 0, 800}, {3, 0, 0}},
        {"runter unten auf der letzten Seite", Qt::Key_Down, {3, 0, 800}, {3, 0, 800}},
        {"hoch oben blättert ans Ende", Qt::Key_Up, {2, 0, 0}, {1, 0, 800}},
        {"hoch oben auf der ersten Seite", Qt::Key_Up, {1, 0, 0}, {1, 0, 0}},
        {"hoch", Qt::Key_Up, {1, 0, 15}, {1, 0, 0}},
    };
    for (const TastenFall& f : faelle) {
        const Blickpunkt b = TasteAnwenden(f.key, f.vorher, 300, 800, 1, 3);
        EXPECT_EQ(b.Seite, f.nachher.Seite) << f.name;
        EXPECT_EQ(b.X, f.nachher.X) << f.name;
        EXPECT_EQ(b.Y, f.nachher.Y) << f.name;
    }
}

TEST(VorschauLogik, PageFittingWithoutPageGivesNoScale)
{
    EXPECT_EQ(EinpassSkalierung(TFitScale::fitPageWidth, 800, 600, 794, 1123), 100);
    EXPECT_EQ(EinpassSkalierung(TFitScale::fitPageHeight, 800, 600, 794, 1123), 53);
    EXPECT_EQ(EinpassSkalierung(TFitScale::fitWholePage, 800, 600, 794, 1123), 53);
    EXPECT_EQ(EinpassSkalierung(TFitScale::fitPageWidth, 800, 600, 0, 1123), 0);
    EXPECT_EQ(SkalierungsGrenze(6000, 794, 1123), 534);
}

}  // namespace
