// The herd's calving intervals, gestation lengths and insemination index: the database
// procedures and the charts' counts on the herd of FruchtbarkeitHerde.h, whose figures are worked
// out by hand there; the charts' own rules on small tables; the pie's sweep on its picture.

#include "FruchtbarkeitHerde.h"

#include <BesamungsindexBestand.h>
#include <ZwischenkalbezeitBestand.h>

#include <ProgDatum.h>

#include <TestDatabase.h>

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

const QDate Heute{2025, 6, 15};

class HerdenFruchtbarkeitTest : public DatabaseTest {
protected:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        statistik_test::FruchtbarkeitHerdeAnlegen(Db());
    }
    void SetUp() override
    {
        ProgDatum::HeuteSetzen(Heute);
        tr.Start();
    }
    void TearDown() override { ProgDatum::HeuteSetzen(QDate()); }

    db::Transaction tr{Db()};
};

std::string Wert(const db::Value& v)
{
    return v.IsNull() ? "-" : std::to_string(v.AsInteger());
}

TEST_F(HerdenFruchtbarkeitTest, CalvingIntervalsAndGestationLengthsOfEveryCalving)
{
    db::Query q(tr, QStringLiteral("SELECT TIER, KALB_DATUM, TRAGZEIT, ZWKZ FROM "
                                   "P_GET_ZWKZ_BESTAND ORDER BY TIER, KALB_DATUM"));
    std::vector<std::string> zeilen;
    for (q.Open(); !q.Eof(); q.Next())
        zeilen.push_back(std::to_string(q.Field(0).AsInteger()) + " " +
                         q.Field(1).AsDate().toString(Qt::ISODate).toStdString() + " " +
                         Wert(q.Field(2)) + " " + Wert(q.Field(3)));
    // Gestation: days since the last insemination after the calving before; interval: days
    // since that calving.
    const std::vector<std::string> erwartet{
        "201 2021-03-01 285 -", "201 2022-03-11 280 375", "201 2023-02-04 275 330",
        "202 2022-01-10 - -",   "202 2022-11-06 278 300", "203 2024-04-01 276 -",
        "204 2015-06-01 - -",   "204 2016-05-20 274 354", "206 2021-10-10 282 -",
        "207 2021-05-01 - -",   "208 2022-07-01 243 -",
    };
    EXPECT_EQ(zeilen, erwartet);
}

TEST_F(HerdenFruchtbarkeitTest, InseminationsPerPregnancyOfAPeriod)
{
    const auto zeilen = [&](const QDate& von, const QDate& bis) {
        db::Query q(tr, QStringLiteral("SELECT TIER, DATUM, NR FROM "
                                       "P_GET_BESAMUNGSINDEX_BESTAND(:VON, :BIS) ORDER BY TIER"));
        q.Param("VON").SetDate(von);
        q.Param("BIS").SetDate(bis);
        std::vector<std::string> z;
        for (q.Open(); !q.Eof(); q.Next())
            z.push_back(std::to_string(q.Field(0).AsInteger()) + " " +
                        q.Field(1).AsDate().toString(Qt::ISODate).toStdString() + " " +
                        Wert(q.Field(2)));
        return z;
    };
    // B's first calving has no recorded insemination and says nothing about the index.
    EXPECT_EQ(
        zeilen(QDate(2022, 1, 1), QDate(2022, 12, 31)),
        (std::vector<std::string>{"201 2022-03-11 2", "202 2022-11-06 1", "208 2022-07-01 7"}));
    // Both ends of the period count.
    EXPECT_EQ(zeilen(QDate(2021, 3, 1), QDate(2021, 10, 10)),
              (std::vector<std::string>{"201 2021-03-01 1", "206 2021-10-10 1"}));
    EXPECT_EQ(zeilen(QDate(2024, 1, 1), QDate(2024, 12, 31)),
              (std::vector<std::string>{"203 2024-04-01 3"}));
    EXPECT_TRUE(zeilen(QDate(2025, 1, 1), QDate(2025, 6, 15)).empty());
}

TEST_F(HerdenFruchtbarkeitTest, CalvingIntervalChartCountsTheLastTenYears)
{
    auto chart = CreateBildschirm<TZwischenkalbezeitBestand>(nullptr, &tr);
    QImage bild(chart->Breite, chart->Hoehe, QImage::Format_RGB32);
    {
        QPainter maler(&bild);
        chart->SetCanvas(std::make_shared<TMyGDICanvas>(maler));
        chart->Zeichnen();
        chart->SetCanvas(nullptr);
    }
    EXPECT_EQ(chart->ErstesJahr(), 2016);
    const auto& g = chart->Gruppen();
    struct Jahr {
        int jahr, kalbungen, abschluesse, ignoriert, zwkz, tragzeit;
    };
    // 2021: (285 + 282) / 2 = 283.5 gives 284; G's first calving has neither value. 2022: B's
    // 300 days are an extreme value; (280 + 243) / 2 = 261.5 gives 262.
    for (const Jahr& j :
         {Jahr{2016, 1, 1, 0, 354, 274}, Jahr{2020, 0, 0, 0, 0, 0}, Jahr{2021, 2, 0, 0, 0, 284},
          Jahr{2022, 3, 1, 1, 375, 262}, Jahr{2023, 1, 1, 0, 330, 275}, Jahr{2024, 1, 0, 0, 0, 276},
          Jahr{2025, 0, 0, 0, 0, 0}}) {
        const TZwkzJahr& z = g[std::size_t(j.jahr - 2016)];
        EXPECT_EQ(z.Kalbungen, j.kalbungen) << j.jahr;
        EXPECT_EQ(z.Abschluesse, j.abschluesse) << j.jahr;
        EXPECT_EQ(z.Ignoriert, j.ignoriert) << j.jahr;
        EXPECT_EQ(z.ZwkzMittel, j.zwkz) << j.jahr;
        EXPECT_EQ(z.TragzeitMittel, j.tragzeit) << j.jahr;
    }
    // The middle of a bar's front face: 2022's 375 days above the plane in red, 2023's 330 days
    // below it in lime.
    const auto vorne = [&](int gruppe, int tage) {
        const long double u = chart->W / 20;
        const long double x = chart->X0 + (2 * gruppe + 1) * u - 2 * chart->D + 0.4L * u;
        const long double y = chart->BezugY() + 2 * chart->D - (tage - 365) * chart->Tag() / 2;
        return bild.pixelColor(int(x), int(y));
    };
    EXPECT_EQ(vorne(6, 375), QColor(255, 0, 0));
    EXPECT_EQ(vorne(7, 330), QColor(0, 255, 0));
}

TEST(ZwischenkalbezeitGruppen, ExtremeValuesYearsAndRounding)
{
    const auto zeile = [](int jahr, std::optional<int> t, std::optional<int> z) {
        return TZwkzZeile{QDate(jahr, 5, 1), t, z};
    };
    const auto g = TZwischenkalbezeitBestand::Gruppieren(
        {
            zeile(2025, 280, 400),
            zeile(2014, 280, 400),  // eleven years ago: not counted
            zeile(2016, 280, 300),  // only an ignored value
            zeile(2017, 200, 380),  // gestation too short: ignored
            zeile(2018, 282, 365),
            zeile(2018, 283, 366),
            zeile(2018, 282, std::nullopt),
            zeile(2018, 282, std::nullopt),
            zeile(2018, 283, std::nullopt),  // 282.4 -> 282
            zeile(2019, 282, std::nullopt),
            zeile(2019, 283, std::nullopt),  // 282.5 -> 283
            zeile(2020, std::nullopt, 600),
        },
        2016);
    EXPECT_EQ(g[9].Kalbungen, 1);
    EXPECT_EQ(g[9].ZwkzMittel, 400);
    EXPECT_EQ(g[0].Kalbungen, 1);
    EXPECT_EQ(g[0].Ignoriert, 1);
    EXPECT_TRUE(g[0].Tragzeiten.empty()) << "the gestation of an ignored row stays out";
    EXPECT_EQ(g[0].TragzeitMittel, 0);
    EXPECT_EQ(g[1].Ignoriert, 1);
    EXPECT_TRUE(g[1].Zwischenkalbezeiten.empty());
    EXPECT_EQ(g[2].TragzeitMittel, 282);
    EXPECT_EQ(g[2].ZwkzMittel, 366) << "365.5 rounds up";
    EXPECT_EQ(g[2].Abschluesse, 2);
    EXPECT_EQ(g[3].TragzeitMittel, 283);
    EXPECT_EQ(g[4].ZwkzMittel, 600);
    EXPECT_EQ(g[4].TragzeitMittel, 0);
}

TEST_F(HerdenFruchtbarkeitTest, CalvingIntervalYearUnderThePointer)
{
    auto c = CreateBildschirm<TZwischenkalbezeitBestand>(nullptr, &tr);
    const TZwischenkalbezeitBestand& chart = *c;
    // 630 x 400: X0 90, Y0 70, d 5, W 423, H 216; u = 21.15.
    EXPECT_EQ(chart.W, 423);
    EXPECT_EQ(chart.H, 216);
    const int y = 150;
    EXPECT_EQ(chart.JahrAnPosition(90 + 5, y), 0);
    EXPECT_EQ(chart.JahrAnPosition(90 + 38, y), 0) << "1.8 u";
    EXPECT_EQ(chart.JahrAnPosition(90 + 40, y), 1) << "from 2.2 u - 2 d on";
    EXPECT_EQ(chart.JahrAnPosition(90 + 425, y), -1) << "right of the last year";
    EXPECT_EQ(chart.JahrAnPosition(90 + 2 * 21 + 5, y), 1);
    EXPECT_EQ(chart.JahrAnPosition(90 + 19 * 21, y), 9);
    EXPECT_EQ(chart.JahrAnPosition(80, y), -1) << "left of the wall";
    EXPECT_EQ(chart.JahrAnPosition(100, 60), -1) << "above the wall";
    EXPECT_EQ(chart.JahrAnPosition(100, 70 + 216 + 11), -1) << "below the floor";
}

TEST(BesamungsZaehlungTest, HeadlineAndIndex)
{
    TBesamungsZaehlung a;
    a.Hinzufuegen(1, 1);
    a.AbgaengeSetzen(3);
    EXPECT_EQ(a.Kopfzeile(), QStringLiteral("1 Kalbung / 3 Abgänge"));
    TBesamungsZaehlung b;
    b.Hinzufuegen(2, 3);
    b.AbgaengeSetzen(1);
    EXPECT_EQ(b.Kopfzeile(), QStringLiteral("3 Kalbungen / 1 Abgang"));
    TBesamungsZaehlung c;
    c.Hinzufuegen(1, 2);
    c.Hinzufuegen(2, 1);
    c.Hinzufuegen(8, 1);
    EXPECT_EQ(c.IndexText(), QStringLiteral("Besamungsindex: 3,00"));
    EXPECT_EQ(c.Stuecke[5], 1) << "8 inseminations fall into \">= 6 Bes.\"";
    EXPECT_EQ(c.Gesamt, 4);
    TBesamungsZaehlung d;
    d.AbgaengeSetzen(2);
    EXPECT_EQ(d.IndexText(), QStringLiteral("Besamungsindex: -.--"));
    EXPECT_EQ(d.Kopfzeile(), QStringLiteral("0 Kalbungen / 2 Abgänge"));
}

QImage Zeichnen(TBesamungsindexBestand& chart)
{
    QImage bild(chart.Breite, chart.Hoehe, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter maler(&bild);
    chart.SetCanvas(std::make_shared<TMyGDICanvas>(maler));
    chart.Zeichnen();
    chart.SetCanvas(nullptr);
    return bild;
}

TEST_F(HerdenFruchtbarkeitTest, InseminationIndexPieRunsClockwiseFromTheTop)
{
    auto chart = CreateBildschirm<TBesamungsindexBestand>(nullptr, &tr);
    chart->Von = QDate(2022, 1, 1);
    chart->Bis = QDate(2022, 12, 31);
    chart->SetBeschriftung(false);
    const QImage bild = Zeichnen(*chart);
    const TBesamungsZaehlung& z = chart->Zaehlung();
    // 2, 1 and 7 inseminations; E and G left inseminated without a later calving, F calved
    // after its last insemination.
    EXPECT_EQ(z.Kalbungen, 3);
    EXPECT_EQ(z.Besamungen, 10);
    EXPECT_EQ(z.Abgaenge, 2);
    EXPECT_EQ(z.IndexText(), QStringLiteral("Besamungsindex: 3,33"));
    EXPECT_EQ(z.Kopfzeile(), QStringLiteral("3 Kalbungen / 2 Abgänge"));
    EXPECT_EQ(z.Stuecke, (std::array<int, 7>{1, 1, 0, 0, 0, 1, 2}));

    // Fifths of the pie from the top clockwise: "1 Bes." (-90..-18 degrees), "2 Bes." (-18..54),
    // ">= 6 Bes." (54..126) and "Abgang" (126..270).
    const auto farbe = [&](double grad) {
        const double t = grad * std::numbers::pi / 180;
        return bild.pixelColor(int(chart->Mitte.x() + 0.6 * chart->RX * std::cos(t)),
                               int(chart->Mitte.y() + 0.6 * chart->RY * std::sin(t)));
    };
    EXPECT_EQ(farbe(-54), QColor(0, 128, 0)) << "upper right: 1 Bes.";
    EXPECT_EQ(farbe(18), QColor(0, 255, 0)) << "right: 2 Bes.";
    EXPECT_EQ(farbe(90), QColor(128, 0, 0)) << "bottom: >= 6 Bes.";
    EXPECT_EQ(farbe(198), QColor(192, 192, 192)) << "left: Abgang";
    EXPECT_EQ(farbe(-100), QColor(192, 192, 192)) << "upper left: Abgang";
    // The side wall under the front rim, in the side colour of the slice above it.
    const QColor wand =
        bild.pixelColor(chart->Mitte.x(), chart->Mitte.y() + chart->RY + chart->Tiefe / 2);
    EXPECT_EQ(wand, QColor(96, 0, 0));
    // Nothing of the upper half's rim is drawn below the pie's top: above it the background.
    EXPECT_EQ(bild.pixelColor(chart->Mitte.x(), chart->Mitte.y() - chart->RY - 3),
              QColor(0, 255, 255));
}

TEST_F(HerdenFruchtbarkeitTest, InseminationIndexWithoutPregnancies)
{
    auto chart = CreateBildschirm<TBesamungsindexBestand>(nullptr, &tr);
    chart->Von = QDate(2025, 1, 1);
    chart->Bis = QDate(2025, 6, 15);
    const QImage bild = Zeichnen(*chart);
    EXPECT_EQ(chart->Zaehlung().Gesamt, 0);
    EXPECT_EQ(chart->Zaehlung().IndexText(), QStringLiteral("Besamungsindex: -.--"));
    EXPECT_EQ(bild.pixelColor(chart->Mitte), QColor(0, 255, 255)) << "no slice at all";
}

}  // namespace
