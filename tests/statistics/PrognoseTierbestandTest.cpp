#include <PrognoseTierbestand.h>

#include <gtest/gtest.h>

#include <climits>

namespace {

// A herd built by hand: animals, their stays and calvings; today is 15 June 2025.
class Herde final : public TPrognoseDatenquelle {
public:
    static inline const QDate HeuteDatum{2025, 6, 15};
    static int T(int tage) { return int(HeuteDatum.toJulianDay()) + tage; }

    int Heute() override { return T(0); }
    TPrognoseEinstellungen Einstellungen() override { return einstellungen; }
    TGVFaktoren GVFaktoren() override { return faktoren; }
    std::vector<TPrognoseTier> Tiere(int, int) override
    {
        ++lesungen;
        return tiere;
    }
    std::map<int, std::vector<TAufenthalt>> Aufenthalte(int, int, int stall) override
    {
        gefragterStall = stall;
        return aufenthalte;
    }
    std::map<int, std::vector<TKalbungNr>> Kalbungen(int, int) override { return kalbungen; }

    // An animal present from `da` on (or born there) until `weg` (0: still here).
    TPrognoseTier& Tier(const char* geschlecht, int geburt, const char* status = "J",
                        int da = INT_MIN, int weg = 0, const char* statusExt = "N")
    {
        TPrognoseTier t;
        t.ID = int(tiere.size()) + 1;
        t.Geburt = geburt;
        t.Geschlecht = QString::fromLatin1(geschlecht);
        t.Status = QString::fromLatin1(status);
        t.StatusExt = QString::fromLatin1(statusExt);
        t.Tragezeit = 281;
        tiere.push_back(t);
        aufenthalte[t.ID].push_back({da == INT_MIN ? geburt : da, weg});
        return tiere.back();
    }

    std::vector<TPrognoseTier> tiere;
    std::map<int, std::vector<TAufenthalt>> aufenthalte;
    std::map<int, std::vector<TKalbungNr>> kalbungen;
    TPrognoseEinstellungen einstellungen;
    TGVFaktoren faktoren;
    int lesungen = 0;
    int gefragterStall = -1;
};

QDate D(int tage)
{
    return QDate::fromJulianDay(Herde::T(tage));
}

class PrognoseTest : public ::testing::Test {
protected:
    // The census from `von` to `bis` days after today.
    void Bestand(int von, int bis, int stall = 0)
    {
        engine.SetVon(D(von));
        engine.SetBis(D(bis));
        engine.BestandBerechnen(stall);
    }
    int N(int tag, int kategorie) const { return engine.GetTag(D(tag))[std::size_t(kategorie)]; }
    int Summe(int tag) const
    {
        int s = 0;
        for (int n : engine.GetTag(D(tag)))
            s += n;
        return s;
    }
    // The last day (after today) on which the category holds animals; INT_MIN for none.
    int LetzterTag(int kategorie, int von, int bis) const
    {
        int letzter = INT_MIN;
        for (int d = von; d <= bis; ++d)
            if (N(d, kategorie) > 0)
                letzter = d;
        return letzter;
    }

    Herde herde;
    TPrognoseTierbestand engine{herde};
};

TEST_F(PrognoseTest, PeriodAndEmptyCensus)
{
    engine.SetVon(D(3));
    engine.SetBis(D(10));
    EXPECT_EQ(engine.Von(), D(3));
    EXPECT_EQ(engine.Bis(), D(10));

    herde.Tier("M", Herde::T(-100), "Z");
    Bestand(10, 3);
    EXPECT_EQ(engine.Tage(), 0);
    EXPECT_EQ(engine.GetTag(D(5)), TPrognoseTierbestand::TTagesBestand{});
    EXPECT_EQ(engine.GetGVE(D(5)), 0.0L);
    EXPECT_EQ(engine.GetMaximum(), 0);
    EXPECT_EQ(herde.lesungen, 0) << "nothing read for an empty period";

    Bestand(-5, -1, 7);
    EXPECT_EQ(herde.gefragterStall, 7);
    EXPECT_EQ(engine.Tage(), 5);
    EXPECT_EQ(engine.GetTag(D(-6)), TPrognoseTierbestand::TTagesBestand{}) << "outside";
    EXPECT_EQ(engine.GetTag(D(0)), TPrognoseTierbestand::TTagesBestand{}) << "outside";
    EXPECT_EQ(N(-5, 1), 1);
    EXPECT_EQ(engine.GetMaximum(), 1);
}

TEST_F(PrognoseTest, ArrivalCountsDepartureDoesNotBirthOnTheFirstDay)
{
    herde.Tier("M", Herde::T(-30));                                      // born on the first day
    herde.Tier("W", Herde::T(-30));                                      // born on the first day
    herde.Tier("M", Herde::T(-500), "Z", Herde::T(-20), Herde::T(-10));  // stays 10 days
    Bestand(-30, -1);
    EXPECT_EQ(N(-30, 0), 1);
    EXPECT_EQ(N(-30, 5), 1);
    EXPECT_EQ(N(-21, 3), 0);
    EXPECT_EQ(N(-20, 3), 1) << "the day it arrives";
    EXPECT_EQ(N(-11, 3), 1);
    EXPECT_EQ(N(-10, 3), 0) << "the day its stay ends";
}

TEST_F(PrognoseTest, AgeClassesOfEveryGroup)
{
    struct Fall {
        const char* geschlecht;
        const char* statusExt;
        int kategorien[5];  // at the ages 0, 91, 182, 365, 730
    };
    const Fall faelle[] = {
        {"M", "N", {0, 1, 2, 3, 4}},
        {"W", "N", {5, 6, 7, 8, 9}},
        {"W", "P", {5, 6, 10, 11, 12}},
        {"W", "M", {5, 6, 7, 8, 9}},
    };
    const int alter[] = {0, 91, 182, 365, 730};
    for (const Fall& f : faelle) {
        herde = Herde();
        // Born 800 days ago, bull status so that no selling age applies.
        herde.Tier(f.geschlecht, Herde::T(-800), "Z", Herde::T(-800), 0, f.statusExt);
        Bestand(-800, -1);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(N(-800 + alter[i], f.kategorien[i]), 1)
                << f.geschlecht << f.statusExt << " Alter " << alter[i];
            EXPECT_EQ(N(-800 + alter[i] - 1, f.kategorien[i]), 0)
                << f.geschlecht << f.statusExt << " Alter " << alter[i] - 1;
            EXPECT_EQ(Summe(-800 + alter[i]), 1);
        }
    }
}

TEST_F(PrognoseTest, CowsFromTheirFirstCalvingSucklerCowsApart)
{
    herde.Tier("W", Herde::T(-900), "L").KuhSeit = Herde::T(-100);
    herde.Tier("W", Herde::T(-900), "L", INT_MIN, 0, "M").KuhSeit = Herde::T(-50);
    Bestand(-200, -1);
    EXPECT_EQ(N(-101, 9), 2);
    EXPECT_EQ(N(-100, 9), 1);
    EXPECT_EQ(N(-100, 13), 1);
    EXPECT_EQ(N(-51, 9), 1);
    EXPECT_EQ(N(-50, 14), 1);
    EXPECT_EQ(N(-1, 13), 1);
    EXPECT_EQ(N(-1, 14), 1);
}

TEST_F(PrognoseTest, MalesLeaveAtTheirSellingAge)
{
    herde.Tier("M", Herde::T(-10), "J");   // calf: sold at 42 days
    herde.Tier("M", Herde::T(-300), "M");  // fattening animal: at 500 days
    herde.Tier("M", Herde::T(-300), "Z");  // breeding bull: stays
    Bestand(-10, 365);
    EXPECT_EQ(LetzterTag(0, -10, 365), -10 + 41) << "through the day it is 41 days old";
    EXPECT_EQ(LetzterTag(3, -10, 365), 365) << "the bull to the end of the period";
    // The fattening animal is in category 3 from its 365th day, sold after its 499th.
    int letzter = INT_MIN;
    for (int d = -10; d <= 365; ++d)
        if (Summe(d) == 2 && N(d, 3) == 2)
            letzter = d;
    EXPECT_EQ(letzter, -300 + 499);

    // Older than its selling age: it stays through today only.
    herde = Herde();
    herde.Tier("M", Herde::T(-60), "J");
    Bestand(-5, 30);
    EXPECT_EQ(LetzterTag(0, -5, 30), 0);
    EXPECT_EQ(LetzterTag(1, -5, 30), INT_MIN);
}

TEST_F(PrognoseTest, ASellingAgeNeverKeepsAnAnimalBeyondItsStay)
{
    // Leaves in five days, before the selling age of 42 days.
    herde.Tier("M", Herde::T(-10), "J", INT_MIN, Herde::T(5));
    Bestand(-10, 100);
    EXPECT_EQ(LetzterTag(0, -10, 100), 4);
}

TEST_F(PrognoseTest, PregnantHeiferCalvesInTheForecast)
{
    TPrognoseTier& rind = herde.Tier("W", Herde::T(-700), "T");
    rind.Besamungen = 1;
    rind.LetzteBesamung = Herde::T(-251);
    rind.SollKalben = Herde::T(30);
    Bestand(-10, 100);
    EXPECT_EQ(N(0, 8), 1) << "today a heifer of 1 to 2 years";
    EXPECT_EQ(N(29, 8), 1) << "the day before her calving";
    EXPECT_EQ(N(29, 13), 0);
    EXPECT_EQ(N(30, 13), 1) << "a cow from her calving on";
    EXPECT_EQ(N(30, 8), 0);
    EXPECT_EQ(N(29, 5), 0);
    EXPECT_EQ(N(30, 5), 1) << "her calf, the first of the run: female";
    EXPECT_EQ(N(100, 5) + N(100, 6), 1) << "the female calf stays";
    EXPECT_EQ(Summe(100), 2);
}

TEST_F(PrognoseTest, HeifersCalveByAgeOrOverdueWithTheirCalf)
{
    // Never inseminated: inseminated at 600 days, calves 281 days later.
    herde.Tier("W", Herde::T(-500), "J");
    Bestand(0, 400);
    EXPECT_EQ(N(-500 + 600 + 281 - 1, 13), 0);
    EXPECT_EQ(N(-500 + 600 + 281, 13), 1);
    EXPECT_EQ(N(-500 + 600 + 281, 5), 1) << "her calf";

    // Overdue: calves tomorrow, with her calf.
    herde = Herde();
    TPrognoseTier& rind = herde.Tier("W", Herde::T(-700), "T");
    rind.Besamungen = 1;
    rind.SollKalben = Herde::T(-5);
    Bestand(0, 10);
    EXPECT_EQ(N(0, 8), 1);
    EXPECT_EQ(N(1, 13), 1);
    EXPECT_EQ(N(1, 5), 1);
}

TEST_F(PrognoseTest, CalvesAlternateFemaleMaleAcrossCows)
{
    for (int tag : {30, 20, 40}) {
        TPrognoseTier& rind = herde.Tier("W", Herde::T(-700), "T");
        rind.Besamungen = 1;
        rind.SollKalben = Herde::T(tag);
    }
    Bestand(0, 60);
    // In the order of the animals: female on day 30, male on day 20, female on day 40.
    EXPECT_EQ(N(30, 5), 1);
    EXPECT_EQ(N(20, 0), 1);
    EXPECT_EQ(N(20, 5), 0);
    EXPECT_EQ(N(40, 5), 2);
    EXPECT_EQ(N(40, 0), 1);

    // Every census starts with a female calf again.
    Bestand(0, 60);
    EXPECT_EQ(N(30, 5), 1);
    EXPECT_EQ(N(20, 0), 1);
}

TEST_F(PrognoseTest, CowCalvingCycle)
{
    // Calved 100 days ago, inseminated 50 days ago: calves 231 days from now, is inseminated
    // again 42 days after that and calves 281 days later.
    TPrognoseTier& kuh = herde.Tier("W", Herde::T(-1000), "T");
    kuh.KuhSeit = Herde::T(-400);
    kuh.LetzteKalbung = Herde::T(-100);
    kuh.Besamungen = 2;
    kuh.LetzteBesamung = Herde::T(-50);
    kuh.SollKalben = Herde::T(231);
    Bestand(0, 700);
    const int zweites = 231 + 42 + 281;
    EXPECT_EQ(N(230, 5), 0);
    EXPECT_EQ(N(231, 5), 1) << "female";
    EXPECT_EQ(N(zweites - 1, 0), 0);
    EXPECT_EQ(N(zweites, 0), 1) << "male, sold at 42 days";
    EXPECT_EQ(LetzterTag(0, 0, 700), zweites + 41);
    EXPECT_EQ(N(700, 13), 1);
}

TEST_F(PrognoseTest, ACowWithoutInseminationSinceHerLastCalvingIsInseminatedAfterIt)
{
    // Calved 10 days ago on the day her last insemination expected: that calving has happened,
    // no calf comes tomorrow; the next insemination follows 42 days after the calving.
    TPrognoseTier& kuh = herde.Tier("W", Herde::T(-1000), "L");
    kuh.KuhSeit = Herde::T(-400);
    kuh.LetzteKalbung = Herde::T(-10);
    kuh.Besamungen = 1;
    kuh.LetzteBesamung = Herde::T(-291);
    kuh.SollKalben = Herde::T(-10);
    Bestand(0, 400);
    for (int d = 1; d < -10 + 42 + 281; ++d)
        ASSERT_EQ(N(d, 5) + N(d, 0), 0) << "no calf on day " << d;
    EXPECT_EQ(N(-10 + 42 + 281, 5), 1);
}

TEST_F(PrognoseTest, NoCalvingsForPhasingOutInfertileOrFatteningCows)
{
    for (const char* status : {"A", "U", "M"}) {
        herde = Herde();
        TPrognoseTier& kuh = herde.Tier("W", Herde::T(-1000), status);
        kuh.KuhSeit = Herde::T(-400);
        kuh.LetzteKalbung = Herde::T(-400);
        Bestand(0, 700);
        EXPECT_EQ(N(700, 13), 1) << status;
        EXPECT_EQ(Summe(700), 1) << status << ": no calves";
    }
    // A fattening heifer is sold at 500 days.
    herde = Herde();
    herde.Tier("W", Herde::T(-400), "M");
    Bestand(0, 200);
    EXPECT_EQ(LetzterTag(8, 0, 200), 99);
}

TEST_F(PrognoseTest, SettingsThatNeverAdvanceEndTheForecast)
{
    herde.einstellungen.KuhBesamen = -281;
    TPrognoseTier& kuh = herde.Tier("W", Herde::T(-1000), "L");
    kuh.KuhSeit = Herde::T(-400);
    kuh.LetzteKalbung = Herde::T(-100);
    Bestand(0, 400);  // returns
    EXPECT_EQ(N(400, 13), 1);
    EXPECT_LE(engine.GetMaximum(), 2);
}

TEST_F(PrognoseTest, TheCowCapHoldsOnForecastDaysOnly)
{
    for (int i = 0; i < 12; ++i) {
        TPrognoseTier& kuh = herde.Tier("W", Herde::T(-1000), "A");
        kuh.KuhSeit = Herde::T(-400);
    }
    Bestand(-5, 30);
    EXPECT_EQ(N(-1, 13), 12);
    EXPECT_EQ(N(0, 13), 12) << "today is not capped";
    EXPECT_EQ(N(1, 13), 10);
    EXPECT_EQ(N(30, 13), 10);

    herde.einstellungen.MaxKuhzahl = 60;
    Bestand(-5, 30);
    EXPECT_EQ(N(30, 13), 12);

    herde.einstellungen.MaxKuhzahl = 10;
    Bestand(-5, 0);
    EXPECT_EQ(N(0, 13), 12) << "a period ending today has no forecast and no cap";
}

TEST_F(PrognoseTest, NoForecastForAnimalsThatLeftOrWereNeverHere)
{
    TPrognoseTier& weg = herde.Tier("W", Herde::T(-1000), "T", Herde::T(-1000), Herde::T(-5));
    weg.KuhSeit = Herde::T(-400);
    weg.SollKalben = Herde::T(30);
    TPrognoseTier& fremd = herde.Tier("W", Herde::T(-700), "T");
    fremd.SollKalben = Herde::T(40);
    herde.aufenthalte.erase(fremd.ID);
    Bestand(-10, 60);
    EXPECT_EQ(N(-6, 13), 1);
    EXPECT_EQ(N(-5, 13), 0);
    EXPECT_EQ(engine.GetMaximum(), 1);
}

TEST_F(PrognoseTest, TheOpenStayDecidesWhateverTheOrderOfTheStays)
{
    TPrognoseTier& kuh = herde.Tier("W", Herde::T(-1000), "A");
    kuh.KuhSeit = Herde::T(-400);
    // Delivered with the open stay first.
    herde.aufenthalte[kuh.ID] = {{Herde::T(-50), 0}, {Herde::T(-1000), Herde::T(-60)}};
    Bestand(-70, 10);
    EXPECT_EQ(N(-61, 13), 1);
    EXPECT_EQ(N(-55, 13), 0);
    EXPECT_EQ(N(-50, 13), 1);
    EXPECT_EQ(N(10, 13), 1) << "still here: forecast";
}

TEST_F(PrognoseTest, EverySexOtherThanMaleIsFemale)
{
    for (const char* geschlecht : {"", "X"}) {
        herde = Herde();
        TPrognoseTier& rind = herde.Tier(geschlecht, Herde::T(-700), "T");
        rind.Besamungen = 1;
        rind.SollKalben = Herde::T(30);
        Bestand(-5, 60);
        EXPECT_EQ(N(0, 8), 1) << geschlecht;
        EXPECT_EQ(N(29, 8), 1) << geschlecht;
        EXPECT_EQ(N(30, 8), 0) << geschlecht << ": counted once, by the forecast";
        EXPECT_EQ(N(30, 13), 1) << geschlecht;
    }
}

TEST_F(PrognoseTest, LivestockUnits)
{
    herde.faktoren.Kalb6M = 0.3;
    herde.faktoren.Bovantis = 1.0;
    for (int i = 0; i < 3; ++i)
        herde.Tier("M", Herde::T(-20), "Z");
    for (int i = 0; i < 2; ++i)
        herde.Tier("W", Herde::T(-1000), "A").KuhSeit = Herde::T(-400);
    Bestand(-1, -1);
    EXPECT_EQ(N(-1, 0), 3);
    EXPECT_NEAR(double(engine.GetGVE(D(-1))), 2.9, 1e-12);
    EXPECT_EQ(engine.GetGVE(D(0)), 0.0L);
    EXPECT_DOUBLE_EQ(engine.Faktor(5), 0.3);
    EXPECT_DOUBLE_EQ(engine.Faktor(14), 0.0);
}

TEST_F(PrognoseTest, LactationCensusStopsAtToday)
{
    TPrognoseTier& kuh = herde.Tier("W", Herde::T(-2000), "L");
    kuh.KuhSeit = Herde::T(-800);
    herde.kalbungen[kuh.ID] = {
        {Herde::T(-800), 1}, {Herde::T(-400), 2}, {Herde::T(-100), 0}, {Herde::T(-50), -3}};
    // A heifer: no lactation.
    herde.Tier("W", Herde::T(-500), "J");
    TPrognoseTier& alt = herde.Tier("W", Herde::T(-3000), "L");
    alt.KuhSeit = Herde::T(-2500);
    for (int nr = 1; nr <= 8; ++nr)
        herde.kalbungen[alt.ID].push_back({Herde::T(-2500 + (nr - 1) * 300), nr});
    engine.SetVon(D(-900));
    engine.SetBis(D(100));
    engine.LaktationenBerechnen(0);
    EXPECT_EQ(engine.Bis(), D(0));
    EXPECT_EQ(engine.Tage(), 901);
    EXPECT_EQ(N(-801, 21), 0);
    EXPECT_EQ(N(-800, 21), 1);
    EXPECT_EQ(N(-401, 21), 1);
    EXPECT_EQ(N(-400, 20), 1);
    EXPECT_EQ(N(0, 20), 1) << "calvings without a number of at least 1 are left out";
    EXPECT_EQ(N(-900, 16), 1) << "sixth lactation";
    EXPECT_EQ(N(-701, 16), 1);
    EXPECT_EQ(N(-700, 15), 1) << "seventh";
    EXPECT_EQ(N(0, 15), 1) << "eighth";
    for (int k = 0; k < TPrognoseTierbestand::KategorienBestand; ++k)
        EXPECT_EQ(N(-400, k), 0);
    EXPECT_EQ(engine.GetMaximum(), 2);

    // Starting after today: empty.
    engine.SetVon(D(5));
    engine.SetBis(D(10));
    engine.LaktationenBerechnen(0);
    EXPECT_EQ(engine.Tage(), 0);
}

}  // namespace
