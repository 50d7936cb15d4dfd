#include "StatistikHerde.h"

#include <PrognoseDatenbank.h>

#include <ProgDatum.h>

#include <TestDatabase.h>

#include <gtest/gtest.h>

namespace {

using statistik_test::Heute;

class PrognoseDatenbankTest : public DatabaseTest {
protected:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        statistik_test::HerdeAnlegen(Db());
    }
    void SetUp() override { ProgDatum::HeuteSetzen(Heute); }
    void TearDown() override { ProgDatum::HeuteSetzen(QDate()); }

    int N(int tag, int kategorie) const
    {
        return engine.GetTag(Heute.addDays(tag))[std::size_t(kategorie)];
    }
    void Zeitraum(int von, int bis)
    {
        engine.SetVon(Heute.addDays(von));
        engine.SetBis(Heute.addDays(bis));
    }

    db::Transaction tr{Db()};
    TPrognoseDatenbank quelle{tr, nullptr};
    TPrognoseTierbestand engine{quelle};
};

TEST_F(PrognoseDatenbankTest, HerdCensusWithForecast)
{
    Zeitraum(-20, 60);
    engine.BestandBerechnen(0);
    EXPECT_EQ(N(-20, 13), 2) << "Berta and Vera";
    EXPECT_EQ(N(-20, 8), 1) << "Heidi";
    EXPECT_EQ(N(-6, 13), 2);
    EXPECT_EQ(N(-5, 13), 1) << "Vera has left";
    EXPECT_EQ(N(-11, 0), 0);
    EXPECT_EQ(N(-10, 0), 1) << "Max is born";
    EXPECT_EQ(N(31, 0), 1);
    EXPECT_EQ(N(32, 0), 0) << "Max is sold at 42 days";
    EXPECT_EQ(N(29, 8), 1);
    EXPECT_EQ(N(30, 13), 2) << "Heidi has calved";
    EXPECT_EQ(N(30, 5), 1) << "her calf";
    EXPECT_EQ(N(60, 13) + N(60, 5), 3);
    int paula = 0;
    for (int k = 7; k <= 12; ++k)
        paula += N(0, k);
    EXPECT_EQ(paula, 1) << "only Heidi: Paula's holding does not count";
    // The "Standard" key, as the settings dialog shows it while none is chosen: cow 1.0, heifer
    // of 1 to 2 years 0.6, calf 0.3.
    EXPECT_NEAR(double(engine.GetGVE(Heute)), 1.9, 1e-9);
    EXPECT_EQ(engine.GetMaximum(), 4);
}

TEST_F(PrognoseDatenbankTest, OnePremises)
{
    Zeitraum(-20, 60);
    engine.BestandBerechnen(22);
    EXPECT_EQ(N(0, 8), 1);
    EXPECT_EQ(N(0, 13), 0);
    EXPECT_EQ(N(0, 0), 0);
    EXPECT_EQ(N(30, 13), 1);
}

TEST_F(PrognoseDatenbankTest, LactationCensus)
{
    Zeitraum(-20, 60);
    engine.LaktationenBerechnen(0);
    EXPECT_EQ(engine.Bis(), Heute);
    EXPECT_EQ(N(0, 20), 1) << "Berta in her second lactation";
    EXPECT_EQ(N(-6, 21), 1) << "Vera in her first";
    EXPECT_EQ(N(-5, 21), 0);
    EXPECT_EQ(engine.GetMaximum(), 2);
}

}  // namespace
