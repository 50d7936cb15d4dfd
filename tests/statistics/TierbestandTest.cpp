#include "../herd/TierStatistikTestHilfe.h"

#include <Tierbestand.h>

#include <ProgDatum.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace {

// A herd of its own for each chart; today is 15 June 2025.
class Quelle final : public TPrognoseDatenquelle {
public:
    static inline const QDate HeuteDatum{2025, 6, 15};
    static int T(int tage) { return int(HeuteDatum.toJulianDay()) + tage; }

    int Heute() override { return T(0); }
    TPrognoseEinstellungen Einstellungen() override { return {}; }
    TGVFaktoren GVFaktoren() override
    {
        TGVFaktoren f;
        f.Bovantis = 1.0;
        f.Kalb6M = 0.3;
        f.MU2J = 1.0;
        return f;
    }
    std::vector<TPrognoseTier> Tiere(int, int) override { return tiere; }
    std::map<int, std::vector<TAufenthalt>> Aufenthalte(int, int, int) override
    {
        return aufenthalte;
    }
    std::map<int, std::vector<TKalbungNr>> Kalbungen(int, int) override { return kalbungen; }

    TPrognoseTier& Tier(const char* geschlecht, int geburt, const char* status, int kuhSeit = 0)
    {
        TPrognoseTier t;
        t.ID = int(tiere.size()) + 1;
        t.Geburt = T(geburt);
        t.Geschlecht = QString::fromLatin1(geschlecht);
        t.Status = QString::fromLatin1(status);
        t.StatusExt = QStringLiteral("N");
        t.Tragezeit = 281;
        t.KuhSeit = kuhSeit == 0 ? 0 : T(kuhSeit);
        tiere.push_back(t);
        aufenthalte[t.ID].push_back({t.Geburt, 0});
        return tiere.back();
    }

    std::vector<TPrognoseTier> tiere;
    std::map<int, std::vector<TAufenthalt>> aufenthalte;
    std::map<int, std::vector<TKalbungNr>> kalbungen;
};

QDate D(int tage)
{
    return Quelle::HeuteDatum.addDays(tage);
}

class TierbestandTest : public ::testing::Test {
protected:
    void SetUp() override { ProgDatum::HeuteSetzen(Quelle::HeuteDatum); }
    void TearDown() override { ProgDatum::HeuteSetzen(QDate()); }

    // A screen chart of 630 x 400 (no main window) over the herd, drawn once.
    TTierbestand& Zeichnen(int von, int bis, int art = TTierbestand::KomplettNormal,
                           bool prognose = true, bool bisDirekt = false)
    {
        auto q = std::make_unique<Quelle>(quelle);
        chart = std::make_unique<TTierbestand>(nullptr, std::move(q));
        chart->Init();
        leinwand = std::make_shared<AufzeichnendeLeinwand>();
        chart->AlsBildschirm(leinwand);
        chart->Art = art;
        chart->Prognose = prognose;
        chart->Von = D(von);
        if (bisDirekt)
            chart->Bis = D(bis);
        else
            chart->SetBis(D(bis));
        chart->Zeichnen();
        return *chart;
    }
    // The rectangles of the bands (the legend's boxes are rounded).
    const std::vector<AufzeichnendeLeinwand::Figur>& Bloecke() const { return leinwand->rechtecke; }
    std::vector<QString> Datumstexte() const
    {
        std::vector<QString> t;
        for (const auto& text : leinwand->texte)
            if (text.s.size() == 8 && text.s[2] == QLatin1Char('.'))
                t.push_back(text.s);
        return t;
    }

    Quelle quelle;
    std::unique_ptr<TTierbestand> chart;
    std::shared_ptr<AufzeichnendeLeinwand> leinwand;
};

TEST(TierbestandSkala, TopAndStepOfTheScale)
{
    struct Fall {
        int maximum, top, schritt;
    };
    for (const Fall& f : {Fall{0, 10, 10}, Fall{95, 100, 20}, Fall{501, 550, 50}, Fall{87, 90, 10},
                          Fall{100, 100, 20}, Fall{499, 500, 50}}) {
        int top = 0, schritt = 0;
        TTierbestand::Skala(f.maximum, top, schritt);
        EXPECT_EQ(top, f.top) << f.maximum;
        EXPECT_EQ(schritt, f.schritt) << f.maximum;
    }
    EXPECT_EQ(TTierbestand::DatumSchritt(30), 1);
    EXPECT_EQ(TTierbestand::DatumSchritt(35), 1);
    EXPECT_EQ(TTierbestand::DatumSchritt(36), 14);
    EXPECT_EQ(TTierbestand::DatumSchritt(100), 14);
    EXPECT_EQ(TTierbestand::DatumSchritt(400), 28);
}

TEST_F(TierbestandTest, RectangleScaleAndEmptyHerd)
{
    TTierbestand& c = Zeichnen(-29, 0);
    EXPECT_EQ(c.Breite, 630);
    EXPECT_EQ(c.Hoehe, 400);
    EXPECT_EQ(QRect(QPoint(c.Links, c.Oben), QPoint(c.Rechts, c.Unten)),
              QRect(QPoint(40, 50), QPoint(610, 345)));
    EXPECT_EQ(c.SkalaMax, 10);
    EXPECT_TRUE(Bloecke().empty());
    ASSERT_NE(leinwand->Finde("0"), nullptr);
    ASSERT_NE(leinwand->Finde("10"), nullptr);
    EXPECT_EQ(leinwand->Finde("10")->y, 50);
    EXPECT_EQ(leinwand->Finde("0")->y, 345);
    EXPECT_EQ(leinwand->Finde("0")->x, 36) << "right-aligned at the tick's left end";
    EXPECT_EQ(leinwand->flaechen, 1) << "the aqua background";
}

TEST_F(TierbestandTest, DateLabelsEveryDayFortnightOrFourWeeks)
{
    struct Fall {
        int tage;
        std::size_t labels;
    };
    for (const Fall& f : {Fall{30, 30}, Fall{100, 8}, Fall{400, 15}}) {
        Zeichnen(-f.tage + 1, 0);
        const std::vector<QString> t = Datumstexte();
        ASSERT_EQ(t.size(), f.labels) << f.tage;
        EXPECT_EQ(t.front(), D(-f.tage + 1).toString("dd.MM.yy")) << "from the first day";
    }
}

TEST_F(TierbestandTest, BandsStackFromTheLastBandUpAndSplitAtTomorrow)
{
    // Two bulls over two years (band 7) and three cows (band 9): the same counts every day.
    quelle.Tier("M", -1000, "Z");
    quelle.Tier("M", -1000, "Z");
    for (int i = 0; i < 3; ++i)
        quelle.Tier("W", -1000, "A", -500);
    TTierbestand& c = Zeichnen(-5, 4);
    ASSERT_EQ(c.SkalaMax, 10);
    const long double breite = 570.0L / 10;
    const long double hoehe = 295.0L / 10;
    // Past block [-5, 0] and forecast block [1, 4], each with cows under bulls.
    ASSERT_EQ(Bloecke().size(), 4u);
    const auto& kuehe = Bloecke()[0];
    const auto& bullen = Bloecke()[1];
    EXPECT_EQ(kuehe.punkte[0], QPoint(40, int(345 - 3 * hoehe)));
    EXPECT_EQ(kuehe.punkte[1], QPoint(int(40 + 6 * breite) + 1, 345 + 1));
    EXPECT_EQ(kuehe.brush, 0x0000FFu) << "red";
    EXPECT_EQ(kuehe.stift, 0x5A5A5Au) << "grey frame in the past";
    EXPECT_EQ(bullen.punkte[0].y(), int(345 - 5 * hoehe));
    EXPECT_EQ(bullen.punkte[1].y(), int(345 - 3 * hoehe) + 1);
    EXPECT_EQ(bullen.brush, 0x007FFFu) << "orange";
    const auto& prognose = Bloecke()[2];
    EXPECT_EQ(prognose.punkte[0].x(), int(40 + 6 * breite));
    EXPECT_EQ(prognose.brush, 0x0000AAu) << "the cows' forecast shade";
    EXPECT_EQ(prognose.stift, 0x0000AAu);

    // The livestock units: 2 bulls at 1.0 and 3 cows at 1.0 every day, black under white.
    ASSERT_EQ(leinwand->polylinien.size(), 2u);
    EXPECT_EQ(leinwand->polylinien[0].punkte.size(), 10u);
    EXPECT_EQ(leinwand->polylinien[0].stift, 0u);
    EXPECT_EQ(leinwand->polylinien[0].stiftBreite, 4);
    EXPECT_EQ(leinwand->polylinien[1].stift, 0xFFFFFFu);
    EXPECT_EQ(leinwand->polylinien[1].stiftBreite, 2);
    EXPECT_EQ(leinwand->polylinien[1].punkte[0],
              QPoint(int(40 + breite / 2), int(345 - 5 * hoehe)));

    // Without the forecast the same herd is one block up to today.
    Zeichnen(-5, 4, TTierbestand::KomplettNormal, false);
    EXPECT_EQ(chart->Bis, D(0));
    EXPECT_EQ(Bloecke().size(), 2u);
}

TEST_F(TierbestandTest, ACalvingStartsANewBlock)
{
    TPrognoseTier& rind = quelle.Tier("W", -700, "T");
    rind.Besamungen = 1;
    rind.SollKalben = Quelle::T(3);
    Zeichnen(-2, 5);
    // Past [-2, 0]: heifer; forecast [1, 2]: heifer; [3, 5]: cow and calf.
    ASSERT_EQ(Bloecke().size(), 4u);
    EXPECT_EQ(Bloecke()[2].brush, 0x0000AAu) << "cow, forecast";
    EXPECT_EQ(Bloecke()[3].brush, 0xAA0000u) << "female calf, forecast";
}

TEST_F(TierbestandTest, LegendOfEveryMode)
{
    for (int art : {0, 1, 2}) {
        Zeichnen(-10, 0, art);
        const std::vector<TBestandBand>& baender = TTierbestand::Baender(art);
        ASSERT_EQ(leinwand->rundboxen.size(), baender.size());
        ASSERT_EQ(baender.size(), art == 0 ? 11u : art == 1 ? 12u : 7u);
        for (std::size_t i = 0; i < baender.size(); ++i) {
            const QRect& box = leinwand->rundboxen[i];
            EXPECT_EQ(box.topLeft(), QPoint(40 + 30 + int(i / 2) * 150, 50 - 40 + int(i % 2) * 20));
            const auto* text = leinwand->Finde(QStringLiteral("  ") + baender[i].Text);
            ASSERT_NE(text, nullptr) << baender[i].Text.toStdString();
            EXPECT_EQ(text->x, box.right() + 1);
        }
    }
    EXPECT_EQ(TTierbestand::Baender(0)[9].Text, QStringLiteral("Kühe"));
    EXPECT_EQ(TTierbestand::Baender(1)[0].Kategorien, (std::vector<int>{0, 1, 5, 6}));
}

TEST_F(TierbestandTest, CowsByLactationStopAtTodayWithoutLine)
{
    TPrognoseTier& kuh = quelle.Tier("W", -1500, "L", -600);
    quelle.kalbungen[kuh.ID] = {{Quelle::T(-600), 1}, {Quelle::T(-200), 2}};
    TTierbestand& c = Zeichnen(-10, 30, TTierbestand::NurKuehe);
    EXPECT_EQ(c.Bis, D(0)) << "the cows' census has no forecast";
    EXPECT_EQ(c.Engine().Bis(), D(0));
    EXPECT_TRUE(leinwand->polylinien.empty());
    ASSERT_EQ(Bloecke().size(), 1u);
    EXPECT_EQ(Bloecke()[0].brush, 0x007FFFu) << "2 Laktationen";
    EXPECT_EQ(Bloecke()[0].punkte[1].x(), 610 + 1) << "the period's 11 days fill the width";

    // A period after today has no days: axes only.
    Zeichnen(5, 30, TTierbestand::NurKuehe, true, true);
    EXPECT_EQ(chart->Engine().Tage(), 0);
    EXPECT_TRUE(Bloecke().empty());
    EXPECT_EQ(leinwand->linien.size(), 2u + 2u) << "two axes and the scale's 0 and 10";
}

TEST_F(TierbestandTest, ValuesOfADay)
{
    for (int i = 0; i < 3; ++i)
        quelle.Tier("M", -20, "Z");
    quelle.Tier("W", -1000, "A", -400);
    quelle.Tier("W", -1000, "A", -400);
    TTierbestand& c = Zeichnen(-9, 0);
    const long double breite = 570.0L / 10;
    QString titel;
    std::vector<TBestandWert> werte;
    const int x = int(40 + 3 * breite + 5);
    c.TagesWerte(x, titel, werte);
    EXPECT_EQ(titel, QStringLiteral("Daten am ") + D(-6).toString("dd.MM.yyyy"));
    ASSERT_EQ(werte.size(), 13u);
    EXPECT_EQ(werte[0].Text, QStringLiteral("Kälber bis 3 M m."));
    EXPECT_EQ(werte[0].Wert, QStringLiteral("3"));
    EXPECT_EQ(werte[0].Fuellung, 0x800000u);
    EXPECT_EQ(werte[0].Schrift, 0xFFFFFFu);
    EXPECT_EQ(werte[9].Wert, QStringLiteral("2"));
    EXPECT_EQ(werte[11].Text, QStringLiteral("Gesamt"));
    EXPECT_EQ(werte[11].Wert, QStringLiteral("5"));
    EXPECT_EQ(werte[12].Text, QStringLiteral("GVE"));
    EXPECT_EQ(werte[12].Wert, QStringLiteral("2,90"));
    EXPECT_EQ(c.SpaltenMitte(x), int(40 + 3.5L * breite));

    c.TagesWerte(39, titel, werte);
    EXPECT_TRUE(werte.empty()) << "left of the axis";
    c.TagesWerte(610, titel, werte);
    EXPECT_TRUE(werte.empty()) << "right of the chart";

    Zeichnen(-9, 0, TTierbestand::NurKuehe);
    chart->TagesWerte(x, titel, werte);
    ASSERT_EQ(werte.size(), 8u) << "seven lactation bands and the total";
    EXPECT_EQ(werte.back().Text, QStringLiteral("Gesamt"));
}

TEST_F(TierbestandTest, EndOfThePeriodFollowsTheForecast)
{
    TTierbestand c(nullptr, std::make_unique<Quelle>());
    c.Prognose = true;
    c.Art = TTierbestand::KomplettNormal;
    c.SetBis(D(100));
    EXPECT_EQ(c.Bis, D(100));
    c.Art = TTierbestand::NurKuehe;
    c.SetBis(D(100));
    EXPECT_EQ(c.Bis, D(0)) << "the cows' census has no forecast";
    c.Art = TTierbestand::KomplettAntrag;
    c.SetBis(D(100));
    c.SetPrognose(false);
    EXPECT_EQ(c.Bis, D(0));
    c.SetBis(D(-3));
    EXPECT_EQ(c.Bis, D(-3));

    TTierbestand kopie(nullptr, std::make_unique<Quelle>());
    c.Von = D(-50);
    c.Stall = 22;
    kopie.Assign(c);
    EXPECT_EQ(kopie.Von, D(-50));
    EXPECT_EQ(kopie.Bis, D(-3));
    EXPECT_EQ(kopie.Art, TTierbestand::KomplettAntrag);
    EXPECT_FALSE(kopie.Prognose);
    EXPECT_EQ(kopie.Stall, 22);
}

}  // namespace
