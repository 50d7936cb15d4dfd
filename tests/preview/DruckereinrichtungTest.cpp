#include "FakeDrucker.h"
#include "Seitenspeicher.h"

#include <gtest/gtest.h>

namespace {

TEST(Papierformate, TableRowsAndOrientationOfTheWideOnes)
{
    ASSERT_EQ(PaperFormats.size(), 79u);
    EXPECT_EQ(PaperFormats[pfLETTER].Code, 1);
    EXPECT_EQ(PaperFormats[pfA4].Code, 9);
    EXPECT_EQ(PaperFormats[pfCustom].Code, 256);
    EXPECT_EQ(PaperFormats[pfPENV_10].Code, 105);
    for (std::size_t i = 0; i < PaperFormats.size(); ++i) {
        const TPaperFormatType& row = PaperFormats[i];
        const bool wide = i == pfLEDGER || i == pf15X11 || i == pfENV_B6 ||
                          i == pfDBL_JAPANESE_POSTCARD || i == pfFANFOLD_US;
        EXPECT_EQ(row.WidthMM > row.HeightMM, wide) << row.Name;
        EXPECT_NEAR(row.WidthInch * 25.4, row.WidthMM, 1.0) << row.Name;
        EXPECT_NEAR(row.HeightInch * 25.4, row.HeightMM, 1.0) << row.Name;
    }
}

class Druckereinrichtung : public ::testing::Test {
protected:
    FakeDrucker drucker;
    TPrinterSetup setup{drucker};
    int changes = 0;
    void SetUp() override
    {
        setup.OnChangeFormat = [this] { ++changes; };
    }
};

TEST_F(Druckereinrichtung, CreatingASetupLeavesThePrinterOrientationAlone)
{
    drucker.orient = TPrinterOrientation::poLandscape;
    TPrinterSetup another(drucker);
    EXPECT_EQ(drucker.orientationWrites, 0);
    EXPECT_EQ(drucker.orient, TPrinterOrientation::poLandscape);
    another.Update();
    EXPECT_EQ(another.PaperWidth_MM(), 297);
}

TEST_F(Druckereinrichtung, OrientationSwapsTheSizes)
{
    setup.Update();
    setup.SetOrientation(TPrinterOrientation::poLandscape);
    EXPECT_EQ(setup.PaperWidth_MM(), 297);
    EXPECT_EQ(setup.PaperHeight_MM(), 210);
    EXPECT_NEAR(setup.PixelsPerMM_byX(), 600 / 25.4, 0.01);
    EXPECT_EQ(changes, 1);
    setup.SetOrientation(TPrinterOrientation::poPortrait);
    EXPECT_EQ(setup.PaperWidth_MM(), 210);
    EXPECT_EQ(setup.PaperHeight_MM(), 297);
    setup.SetOrientation(TPrinterOrientation::poPortrait);
    EXPECT_EQ(changes, 2);
}

TEST_F(Druckereinrichtung, CustomSizeSurvivesUpdateOnlyWithoutATableCode)
{
    setup.SetWidth_MM(100);
    EXPECT_EQ(setup.PaperFormat(), pfCustom);
    EXPECT_DOUBLE_EQ(setup.PaperWidth_Inch(), 3.937007874015748);
    for (int code : {256, 0, 4711}) {
        drucker.code = code;
        setup.Update();
        EXPECT_EQ(setup.PaperFormat(), pfCustom) << code;
        EXPECT_EQ(setup.PaperWidth_MM(), 100) << code;
    }
    drucker.code = 9;
    setup.Update();
    EXPECT_EQ(setup.PaperFormat(), pfA4);
    EXPECT_EQ(setup.PaperWidth_MM(), 210);
}

TEST_F(Druckereinrichtung, FormatsByValueAndByName)
{
    setup.SetPaperFormat(pfTABLOID);
    EXPECT_EQ(setup.PaperWidth_MM(), 279);
    EXPECT_EQ(setup.PaperHeight_MM(), 432);
    EXPECT_DOUBLE_EQ(setup.PaperWidth_Inch(), 11);
    EXPECT_DOUBLE_EQ(setup.PaperHeight_Inch(), 17);
    EXPECT_TRUE(setup.SetFormatByName("a4"));
    EXPECT_EQ(setup.PaperFormat(), pfA4);
    EXPECT_TRUE(setup.SetFormatByName("b4 (iso)"));
    EXPECT_EQ(setup.PaperFormat(), pfISO_B4);
    EXPECT_EQ(setup.PaperFormatName(), "B4 (ISO)");
    EXPECT_FALSE(setup.SetFormatByName("Kuhfladen"));
    EXPECT_EQ(setup.PaperFormat(), pfISO_B4);
}

TEST_F(Druckereinrichtung, ZeroSizesKeepThePixelsPerMillimetre)
{
    setup.Update();
    const double before = setup.PixelsPerMM_byX();
    setup.SetWidth_MM(0);
    EXPECT_DOUBLE_EQ(setup.PixelsPerMM_byX(), before);
}

TEST(Seitengeometrie, WidthOnA96DpiScreenDoesNotDependOnThePrinter)
{
    for (int dpi : {300, 600, 1200}) {
        FakeDrucker drucker;
        drucker.dpi = dpi;
        TPaper paper(drucker);
        paper.SetScreenDpi(96);
        paper.Clear();
        EXPECT_EQ(paper.Width(), 794) << dpi;
        EXPECT_NEAR(paper.Height(), 1123, 1) << dpi;
    }
}

TEST(Seitengeometrie, ScaleForScreenIsTheLargerOfBoth)
{
    FakeDrucker drucker;
    drucker.paperMM = QSizeF(210, 297 * 23.7 / 23.6);
    TPaper paper(drucker);
    paper.Clear();
    long double x = 0, y = 0;
    paper.GetScale(true, x, y);
    EXPECT_LT(x, y);
    long double sx = 0, sy = 0;
    paper.GetScale(false, sx, sy);
    EXPECT_EQ(sx, y);
    EXPECT_EQ(sy, y);
}

TEST(Seitengeometrie, UnitsFireOncePerChange)
{
    FakeDrucker drucker;
    TPaper paper(drucker);
    int fired = 0;
    paper.OnChangeUnits = [&] { ++fired; };
    paper.SetUnits(unTenthMillimeters);
    paper.SetUnits(unTenthMillimeters);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(paper.CurrUnits(), 0.1L);
    const std::vector<std::pair<TUnits, long double>> table = {{unMillimeters, 1.0L},
                                                               {unCentimeters, 10.0L},
                                                               {unInches, 25.4L},
                                                               {unTenthInches, 2.54L},
                                                               {unHundredthInches, 0.254L}};
    for (auto [unit, mm] : table)
        EXPECT_EQ(CurrUnitsOf(unit), mm);
}

TEST(Seitengeometrie, ReplacingSetupAndMarginsTakesOwnershipAndRebindsTheChangeEvent)
{
    FakeDrucker drucker;
    TPaper paper(drucker);
    paper.SetScreenDpi(96);
    int sizeChanges = 0;
    paper.OnChangeSize = [&] { ++sizeChanges; };
    auto replacement = std::make_unique<TPrinterSetup>(drucker);
    TPrinterSetup* raw = replacement.get();
    paper.SetPrinterSetup(std::move(replacement));
    EXPECT_EQ(&paper.PrinterSetup(), raw);
    raw->SetOrientation(TPrinterOrientation::poLandscape);
    EXPECT_EQ(sizeChanges, 1);
    EXPECT_EQ(paper.Width(), 1123);
    auto margins = std::make_unique<TIndentions>();
    margins->Left = 25;
    paper.SetIndentions(std::move(margins));
    EXPECT_EQ(paper.Indentions().Left, 25);
    EXPECT_THROW(paper.SetIndentions(nullptr), std::invalid_argument);
}

TEST(Systemdrucker, WithoutAnInstalledPrinterAPdfFilePrinterStandsIn)
{
    SystemPrinterDevice& device = SystemPrinter();
    EXPECT_GT(device.logicalDpiX(), 0);
    EXPECT_GT(device.physicalSize().width(), 0);
    if (device.isPdfFallback()) {
        EXPECT_EQ(device.paperCode(), 9);
    }
    TPaper paper;
    paper.Clear();
    EXPECT_GT(paper.PrinterSetup().PixelsPerMM_byX(), 0);
}

}  // namespace
