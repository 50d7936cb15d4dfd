#include <ProgDatum.h>
#include <Waehrung.h>

#include <gtest/gtest.h>

namespace {

TEST(WaehrungTest, ConvertsAndRoundsHalfAwayFromZero)
{
    struct Fall {
        int von, nach;
        std::int64_t cent, erwartet;
    };
    using namespace Waehrung;
    const Fall faelle[] = {
        {EUR, DEM, 1000, 1956},   {EUR, DEM, -1000, -1956},  // 19.5583
        {DEM, EUR, 100, 51},      {DEM, EUR, -100, -51},     // 0.51129
        {EUR, ATS, 100, 1376},    {ATS, EUR, 1376, 100},     // 13.7603, 0.99998
        {DEM, ATS, 10000, 70355}, {ATS, DEM, 10000, 1421},   // 703.5544, 14.2135
        {EUR, EUR, 12345, 12345}, {DEM, DEM, -1, -1},       {EUR, DEM, 0, 0},
    };
    for (const Fall& f : faelle) {
        EXPECT_EQ(WaehrungUmrechnen(f.von, f.nach, Currency::AusCent(f.cent)),
                  Currency::AusCent(f.erwartet))
            << f.von << "->" << f.nach << " " << f.cent;
    }
    // Four-decimal amounts are cut to the cent, halves away from zero.
    EXPECT_EQ(WaehrungUmrechnen(EUR, EUR, Currency::AusRoh(12350)), Currency::AusCent(124));
    EXPECT_EQ(WaehrungUmrechnen(EUR, EUR, Currency::AusRoh(-12350)), Currency::AusCent(-124));
    EXPECT_EQ(WaehrungUmrechnen(EUR, EUR, Currency::AusRoh(12349)), Currency::AusCent(123));
    EXPECT_THROW(WaehrungUmrechnen(3, EUR, Currency()), std::out_of_range);
}

TEST(WaehrungTest, IndexOfCodes)
{
    EXPECT_EQ(Waehrung::WaehrungIndex("EUR"), 0);
    EXPECT_EQ(Waehrung::WaehrungIndex("DEM"), 1);
    EXPECT_EQ(Waehrung::WaehrungIndex("ATS"), 2);
    for (const char* sonst : {"", "CHF", "dem", "EURO"})
        EXPECT_EQ(Waehrung::WaehrungIndex(sonst), 0) << sonst;
    EXPECT_EQ(Waehrung::Waehrungen().value(2), QStringLiteral("ATS"));
    EXPECT_DOUBLE_EQ(Currency::AusDouble(-19.5649).AlsDouble(), -19.5649);
    EXPECT_EQ(Currency::AusDouble(0.00005).Roh(), 1);
}

TEST(ProgDatumTest, TestsCanFixTodayAndReturnToTheClock)
{
    ProgDatum::HeuteSetzen(QDate(2003, 2, 28));
    EXPECT_EQ(ProgDatum::Heute(), QDate(2003, 2, 28));
    ProgDatum::HeuteSetzen(QDate());
    const QDate heute = ProgDatum::Heute();
    EXPECT_TRUE(heute == QDate::currentDate() || heute.addDays(1) == QDate::currentDate());
}

}  // namespace
