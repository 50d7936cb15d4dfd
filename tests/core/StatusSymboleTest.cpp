#include <StatusSymbole.h>

#include <QColor>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QColor Mitte(const QImage& bild)
{
    // Inside the disc, above the letter.
    return bild.pixelColor(bild.width() / 2, bild.height() / 8);
}

TEST(StatusSymboleTest, EveryStatusIndexHasItsOwnPictureInEachSize)
{
    ASSERT_EQ(StatusSymbole::Anzahl(), 13) << "the twelve statuses and the due pregnancy check";
    QSet<QRgb> farben;
    for (int i = 0; i < StatusSymbole::Anzahl(); ++i) {
        const QImage klein = StatusSymbole::Bild(i, 16);
        ASSERT_EQ(klein.size(), QSize(16, 16)) << i;
        EXPECT_EQ(klein.pixelColor(0, 0).alpha(), 0) << "transparent corners " << i;
        farben.insert(Mitte(StatusSymbole::Bild(i, 64)).rgb());
        const QImage gross = StatusSymbole::Gross(i, false);
        ASSERT_EQ(gross.size(), QSize(32, 32)) << i;
        EXPECT_EQ(gross.pixelColor(0, 0), QColor(0xC0, 0xC0, 0xC0)) << "grey background " << i;
    }
    EXPECT_EQ(farben.size(), StatusSymbole::Anzahl()) << "no two statuses look alike";
    EXPECT_EQ(StatusSymbole::Icons().size(), StatusSymbole::Anzahl());
}

TEST(StatusSymboleTest, BlackAndWhitePicturesHoldNoColour)
{
    for (int i = 0; i < StatusSymbole::Anzahl(); ++i) {
        const QImage bild = StatusSymbole::Gross(i, true);
        for (int y = 0; y < bild.height(); ++y)
            for (int x = 0; x < bild.width(); ++x) {
                const QColor c = bild.pixelColor(x, y);
                ASSERT_TRUE(c.red() == c.green() && c.green() == c.blue())
                    << "index " << i << " at " << x << "," << y;
            }
        EXPECT_NE(StatusSymbole::Gross(i, true), StatusSymbole::Gross(i, false)) << i;
    }
}

TEST(StatusSymboleTest, UnknownIndexesHaveNoPicture)
{
    for (int i : {-1, 13, 1000}) {
        EXPECT_TRUE(StatusSymbole::Bild(i, 16).isNull()) << i;
        EXPECT_TRUE(StatusSymbole::Gross(i, false).isNull()) << i;
    }
}

}  // namespace
