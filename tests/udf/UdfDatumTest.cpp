#include "UdfTestHilfen.h"

#include <UdfBreiten.h>
#include <UdfExport.h>

#include <gtest/gtest.h>

using namespace Udf;

TEST(UdfDatum, DayNumbersAreTheEngines)
{
    // The engine counts from 17.11.1858; 1.1.2000 is its day 51544.
    EXPECT_EQ(DatumNachTag({1858, 11, 17}), 0);
    EXPECT_EQ(DatumNachTag({2000, 1, 1}), 51544);
    EXPECT_EQ(Wochentag(DatumNachTag({2024, 12, 12})), 4);  // a Thursday
    EXPECT_EQ(Wochentag(DatumNachTag({1858, 11, 15})), 1);  // before day 0: a Monday
    // Every day of the engine's range converts there and back, one day after the other.
    int vorher = DatumNachTag({1, 1, 1}) - 1;
    for (int jahr = 1; jahr <= 9999; ++jahr) {
        for (int monat = 1; monat <= 12; ++monat) {
            const int tage =
                monat == 2 ? ((jahr % 4 == 0 && jahr % 100 != 0) || jahr % 400 == 0 ? 29 : 28)
                           : (monat == 4 || monat == 6 || monat == 9 || monat == 11 ? 30 : 31);
            for (int tag = 1; tag <= tage; ++tag) {
                const int n = DatumNachTag({jahr, monat, tag});
                ASSERT_EQ(n, vorher + 1) << tag << "." << monat << "." << jahr;
                const Kalenderdatum d = TagNachDatum(n);
                ASSERT_TRUE(d.jahr == jahr && d.monat == monat && d.tag == tag) << n;
                vorher = n;
            }
        }
    }
}

TEST(ZRNV_ALTER, AgeTexts)
{
    const ISC_TIMESTAMP geburt = Zeitpunkt(2024, 1, 1);
    const ISC_TIMESTAMP null{0, 0};
    const std::vector<std::pair<int, const char*>> cases = {
        {1, "1 Tag"}, {0, "0 Tage"}, {14, "14 Tage"},  {-3, "-3 Tage"},   {15, "2 W"},
        {62, "8 W"},  {63, "2 M"},   {400, "1 J 1 M"}, {730, "1 J 11 M"}, {36525, "100 J 0 M"},
    };
    for (const auto& [tage, text] : cases) {
        SCOPED_TRACE(tage);
        const ISC_TIMESTAMP abgang{geburt.timestamp_date + tage, 0};
        Puffer<Breite::Alter> out;
        EXPECT_STREQ(ZRNV_ALTER(&geburt, &abgang, &null, out.get()), text);
        // Without an exit the reference date counts.
        Puffer<Breite::Alter> bezug;
        EXPECT_STREQ(ZRNV_ALTER(&geburt, &null, &abgang, bezug.get()), text);
        EXPECT_TRUE(out.unversehrt() && bezug.unversehrt());
    }
    Puffer<Breite::Alter> out;
    EXPECT_STREQ(ZRNV_ALTER(&null, &geburt, &geburt, out.get()), "");
}

TEST(ZRNV_DATE2STR, DateTexts)
{
    const ISC_TIMESTAMP datum = Zeitpunkt(2024, 3, 5, 12 * 3600 * 10000);
    const ISC_TIMESTAMP null{0, 0};
    Puffer<Breite::Datum> lang;
    EXPECT_STREQ(ZRNV_DATE2STR(&datum, lang.get()), "05.03.2024");
    Puffer<Breite::DatumKurz> kurz;
    EXPECT_STREQ(ZRNV_DATE2STRSHORT(&datum, kurz.get()), "05.03.24");
    Puffer<Breite::Wochentag> wt;
    EXPECT_STREQ(ZRNV_WOCHENTAG(&datum, wt.get()), "Dienstag");
    const ISC_TIMESTAMP sonntag = Zeitpunkt(2024, 3, 10);
    EXPECT_STREQ(ZRNV_WOCHENTAG(&sonntag, wt.get()), "Sonntag");
    const ISC_TIMESTAMP fruehe = Zeitpunkt(1, 1, 1);
    EXPECT_STREQ(ZRNV_DATE2STR(&fruehe, lang.get()), "01.01.0001");
    for (auto* f : {ZRNV_DATE2STR, ZRNV_DATE2STRSHORT, ZRNV_WOCHENTAG}) {
        Puffer<Breite::Wochentag> leer;
        EXPECT_STREQ(f(&null, leer.get()), "");
    }
    EXPECT_TRUE(lang.unversehrt() && kurz.unversehrt() && wt.unversehrt());
}

TEST(ZRNV_DATE2STR_FORMAT, PatternsAreParsedNotPrinted)
{
    const ISC_TIMESTAMP datum = Zeitpunkt(2024, 3, 5);
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"dd.mm.yyyy", "05.03.2024"},
        {"d.m.yy", "5.3.24"},
        {"DD.MM.YYYY", "05.03.2024"},
        {"dddd", "Dienstag"},
        {"ddd, d. mmm", "Di, 5. M\xE4r"},
        {"mmmm yyyy", "M\xE4rz 2024"},
        {"yyyy/mm/dd", "2024.03.05"},
        {"'KW' dd", "KW 05"},
        {"\"am\" d.m.", "am 5.3."},
        {"ddddd", "05.03.2024"},
        {"dddddd", "Dienstag, 5. M\xE4"},  // cut at 15
        {"", "05.03.2024"},
        {"%x%", "%x%"},
        {"dd.mm. hh:mm", "05.03. 00:00"},  // minutes after hours; no time of day
        {"c", "05.03.2024"},
        {"'offen", "-ERROR-"},
    };
    for (const auto& [muster, text] : cases) {
        SCOPED_TRACE(muster);
        Puffer<Breite::DatumFormat> out;
        EXPECT_STREQ(ZRNV_DATE2STR_FORMAT(&datum, muster, out.get()), text);
        EXPECT_TRUE(out.unversehrt());
    }
    const ISC_TIMESTAMP null{0, 0};
    Puffer<Breite::DatumFormat> out;
    EXPECT_STREQ(ZRNV_DATE2STR_FORMAT(&null, "dd", out.get()), "");
}

TEST(ZRNV_DATE2STR_HEUTE, TodayInWords)
{
    const ISC_TIMESTAMP heute{Heute(), 0};
    const ISC_TIMESTAMP gestern{Heute() - 1, 0};
    const ISC_TIMESTAMP null{0, 0};
    const ISC_LONG eins = 1, null32 = 0;
    Puffer<Breite::Datum> out;
    EXPECT_STREQ(ZRNV_DATE2STR_HEUTE(&heute, &eins, out.get()), "Heute");
    EXPECT_STREQ(ZRNV_DATE2STR_HEUTE(&heute, &null32, out.get()), "heute");
    EXPECT_STREQ(ZRNV_DATE2STR_HEUTE(&gestern, &eins, out.get()), DatumLang(Heute() - 1).c_str());
    EXPECT_STREQ(ZRNV_DATE2STR_HEUTE(&null, &eins, out.get()), "");
}

TEST(ZRNV_TERMIN_LAGE, MovesToTheNearestAllowedDay)
{
    const ISC_TIME mittag = 12 * 3600 * 10000;
    const ISC_TIMESTAMP donnerstag = Zeitpunkt(2024, 12, 12, mittag);
    const std::vector<std::pair<const char*, int>> cases = {
        {"FR", 1},    {"MO;SO", -3}, {"SO;MO", 3},  {"DO;FR", 0},  {"", 0},
        {"XX;YY", 0}, {"mo", -3},    {"DI;SA", -2}, {"MI,SA", -1}, {"MOxSO", -3},
    };
    for (const auto& [liste, schritt] : cases) {
        SCOPED_TRACE(liste);
        const ISC_TIMESTAMP* r = ZRNV_TERMIN_LAGE(&donnerstag, liste);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->timestamp_date, donnerstag.timestamp_date + schritt);
        EXPECT_EQ(r->timestamp_time, mittag);
    }
    EXPECT_EQ(ZRNV_TERMIN_LAGE(&donnerstag, nullptr)->timestamp_date, donnerstag.timestamp_date);
}

TEST(ZRNV_SORT_WOCHENTAGE, WeekdayOrder)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"SO;MO", "MO;SO"}, {"FR;DI", "DI;FR"},     {"SO;SA;FR;DO;MI;DI;MO", ""},  // every day
        {"mo;di", ""},  // codes are upper case
        {"", ""},           {"MODIMI", "MO;DI;MI"},
    };
    for (const auto& [liste, text] : cases) {
        SCOPED_TRACE(liste);
        Puffer<Breite::WochentageSortiert> out;
        EXPECT_STREQ(ZRNV_SORT_WOCHENTAGE(liste, out.get()), text);
    }
    Puffer<Breite::WochentageSortiert> out;
    EXPECT_STREQ(ZRNV_SORT_WOCHENTAGE(nullptr, out.get()), "");
}

TEST(ZRNV_DATE_ADD, MonthsAndYears)
{
    struct Case {
        Kalenderdatum von;
        int monate, jahre;
        Kalenderdatum bis;
    };
    const std::vector<Case> cases = {
        {{2024, 1, 15}, 1, 0, {2024, 2, 15}},
        {{2024, 12, 15}, 3, 0, {2025, 3, 15}},  // carried into the next year
        {{2024, 1, 15}, -13, 0, {2022, 12, 15}},
        {{2024, 1, 31}, 1, 0, {2024, 2, 29}},  // held to the month's end
        {{2023, 1, 31}, 1, 0, {2023, 2, 28}},
        {{2024, 2, 29}, 0, 1, {2025, 2, 28}},
        {{2024, 5, 31}, 25, 2, {2028, 6, 30}},
    };
    const ISC_TIME zeit = 4711;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.monate);
        const ISC_TIMESTAMP von{DatumNachTag(c.von), zeit};
        const ISC_LONG m = c.monate, j = c.jahre;
        const ISC_TIMESTAMP* r = ZRNV_DATE_ADD(&von, &m, &j);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->timestamp_date, DatumNachTag(c.bis));
        EXPECT_EQ(r->timestamp_time, zeit);
    }
    // Beyond the engine's years the date stays as it was.
    const ISC_TIMESTAMP von = Zeitpunkt(2024, 1, 1);
    const ISC_LONG m = 0, j = 10000;
    EXPECT_EQ(ZRNV_DATE_ADD(&von, &m, &j)->timestamp_date, von.timestamp_date);
    // SQL NULL stays NULL.
    EXPECT_EQ(ZRNV_DATE_ADD(nullptr, &m, &j), nullptr);
    EXPECT_EQ(ZRNV_TERMIN_LAGE(nullptr, "MO"), nullptr);
}
