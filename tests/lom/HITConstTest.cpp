#include <HITConst.h>

#include <gtest/gtest.h>

using namespace HITConst;

TEST(HITConst, ReportTypesAreFoundExactly)
{
    EXPECT_EQ(MeldungIndex("GEBURT"), 8);
    EXPECT_EQ(cMeldungBez[static_cast<std::size_t>(MeldungIndex("GEBURT"))], "Geburt");
    EXPECT_EQ(MeldungIndex("geburt"), -1);
    // The pending report rows store these indexes.
    EXPECT_EQ(MeldungIndex("ABGANG"), 3);
    EXPECT_EQ(MeldungIndex("ZUGANG"), 14);
    EXPECT_EQ(cMeldungBez[16], "PIN Änderung");
}

TEST(HITConst, FieldTablesRunParallel)
{
    EXPECT_EQ(FeldIndex("MEHRLING"), 40);
    EXPECT_EQ(FeldIndex("MEHRLADR"), 64);
    EXPECT_EQ(cFeldBez[40], "Mehrling");
    EXPECT_EQ(cFeldBez[64], "Mehrling");
    EXPECT_EQ(cFeldCode[64], "cMEHRLADR");
    const int lomX = FeldIndex("LOM_X");
    EXPECT_EQ(lomX, 65);
    EXPECT_TRUE(cFeldBez[static_cast<std::size_t>(lomX)].empty());
    EXPECT_EQ(FeldIndex("GEB_DATR"), 20);
    EXPECT_EQ(cFeldBez[20], "Geburtsdatum");
    EXPECT_EQ(cFeldCode[20], "DATUM");
    EXPECT_EQ(cFeld[77], "TIMEOUT");
    EXPECT_EQ(cFeldBez[77], "Timeout");
    EXPECT_EQ(FeldIndex("timeout"), -1);
}

TEST(HITConst, QueryLanguageWords)
{
    EXPECT_EQ(cVergleich[0], "=");
    EXPECT_EQ(cVergleich[9], "NOT BETWEEN");
    EXPECT_EQ(cVerknuepfung[4], "OR NOT");
    EXPECT_EQ(cFunktion[7], "$ALPHABNR");
    EXPECT_EQ(cFunktion[18], "!BEWMELD");
}
