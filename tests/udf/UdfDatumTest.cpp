#include "UdfTestHilfen.h"

#include <UdfBreiten.h>
#include <UdfExport.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace Udf;

TEST(UdfDatum, DayNumbersAreTheEngines)
{
    // The engine counts from 17.11.1858; 1.1.2000 is its day 51544.
    EXPECT_EQ(DatumNachTag({1858, 11, 17}), 0);
    EXPECT_EQ(DatumNachTag({2000, 1, 1}), 51544);
    EXPECT_EQ(Wochentag(DatumNachTag({2024, 12, 12})), 4);  // a Thursday
    EXPECT_EQ(Wochentag(DatumNachTag({1858, 11, 15})), 1);  // before day 0: a Monday
    EXPECT_EQ(DatumNachTag({1, 1, 1}), kErsterTag);
    EXPECT_EQ(DatumNachTag({9999, 12, 31}), kLetzterTag);
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

TEST(ZRNV_ALTER, DatesOutsideTheEnginesRangeGiveNull)
{
    const ISC_TIMESTAMP erster{kErsterTag, 0}, letzter{kLetzterTag, 0}, null{0, 0};
    const ISC_TIMESTAMP davor{kErsterTag - 1, 0}, danach{kLetzterTag + 1, 0};
    struct Case {
        const ISC_TIMESTAMP *geburt, *abgang, *bezug;
        const char* text;  // nullptr: NULL
    };
    const std::vector<Case> cases = {
        {&erster, &letzter, &null, "9998 J 9 M"},
        {&erster, &null, &letzter, "9998 J 9 M"},
        {&letzter, &erster, &null, "-3652058 Tage"},
        {&davor, &letzter, &null, nullptr},
        {&erster, &danach, &null, nullptr},
        {&erster, &null, &danach, nullptr},
        {&erster, &letzter, &danach, nullptr},  // even where the exit date counts
        {&null, &null, &davor, nullptr},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const Case& c = cases[i];
        Puffer<Breite::Alter> out;
        const char* r = ZRNV_ALTER(c.geburt, c.abgang, c.bezug, out.get());
        if (c.text == nullptr) {
            EXPECT_EQ(r, nullptr);
            EXPECT_STREQ(out.get(), "");  // what the engine shows of a declared result buffer
        } else {
            EXPECT_STREQ(r, c.text);
        }
        EXPECT_TRUE(out.unversehrt());
    }
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

// The calendar's ends: the engine's first and last day are written as any other; a day beyond
// them gives NULL instead of a year 0 or 10000 (cut to a wrong four-digit year) or names read
// from before the month table.
TEST(UdfDatum, TextsAtAndBeyondTheCalendarEnds)
{
    struct Case {
        int tag;
        const char *lang, *kurz, *wochentag, *format;  // nullptr: NULL
    };
    const std::vector<Case> cases = {
        {kErsterTag, "01.01.0001", "01.01.01", "Montag", "Mo 1. Januar 01"},
        {kErsterTag + 1, "02.01.0001", "02.01.01", "Dienstag", "Di 2. Januar 01"},
        {kLetzterTag - 1, "30.12.9999", "30.12.99", "Donnerstag", "Do 30. Dezember"},
        {kLetzterTag, "31.12.9999", "31.12.99", "Freitag", "Fr 31. Dezember"},
        {kErsterTag - 1, nullptr, nullptr, nullptr, nullptr},
        {kErsterTag - 366, nullptr, nullptr, nullptr, nullptr},
        {kLetzterTag + 1, nullptr, nullptr, nullptr, nullptr},
        {kLetzterTag + 366, nullptr, nullptr, nullptr, nullptr},
        {INT_MIN, nullptr, nullptr, nullptr, nullptr},
        {INT_MAX, nullptr, nullptr, nullptr, nullptr},
    };
    const auto pruefen = [](const char* r, const char* out, const char* text) {
        if (text == nullptr) {
            EXPECT_EQ(r, nullptr);
            EXPECT_STREQ(out, "");  // what the engine shows of a declared result buffer
        } else {
            EXPECT_STREQ(r, text);
        }
    };
    const ISC_LONG gross = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        const ISC_TIMESTAMP datum{c.tag, 4711};
        Puffer<Breite::Datum> lang, heute;
        pruefen(ZRNV_DATE2STR(&datum, lang.get()), lang.get(), c.lang);
        pruefen(ZRNV_DATE2STR_HEUTE(&datum, &gross, heute.get()), heute.get(), c.lang);
        Puffer<Breite::DatumKurz> kurz;
        pruefen(ZRNV_DATE2STRSHORT(&datum, kurz.get()), kurz.get(), c.kurz);
        Puffer<Breite::Wochentag> wt;
        pruefen(ZRNV_WOCHENTAG(&datum, wt.get()), wt.get(), c.wochentag);
        Puffer<Breite::DatumFormat> format;
        pruefen(ZRNV_DATE2STR_FORMAT(&datum, "ddd d. mmmm yy", format.get()), format.get(),
                c.format);
        EXPECT_TRUE(lang.unversehrt() && heute.unversehrt() && kurz.unversehrt() &&
                    wt.unversehrt() && format.unversehrt());
    }
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

TEST(ZRNV_TERMIN_LAGE, StaysWithinTheEnginesRange)
{
    // 01.01.0001 was a Monday, 31.12.9999 a Friday.
    const ISC_TIME zeit = 4711;
    struct Case {
        int tag;
        const char* liste;
        int ergebnis;
    };
    const std::vector<Case> cases = {
        {kLetzterTag, "DO", kLetzterTag - 1},      // the Thursday before
        {kLetzterTag, "FR", kLetzterTag},          // the day itself
        {kLetzterTag, "SO", kLetzterTag},          // the Sunday after lies beyond: unchanged
        {kLetzterTag, "SA", kLetzterTag},          // the Saturday after, too
        {kLetzterTag - 1, "SA", kLetzterTag - 1},  // two days on lies beyond
        {kLetzterTag - 1, "FR", kLetzterTag},      // onto the last day
        {kErsterTag, "DI", kErsterTag + 1},        // the Tuesday after
        {kErsterTag, "SO", kErsterTag},            // the Sunday before lies beyond: unchanged
        {kErsterTag, "FR", kErsterTag},            // the Friday before, too
        {kErsterTag + 1, "MO", kErsterTag},        // onto the first day
        {kErsterTag + 2, "SO", kErsterTag + 2},    // three days back lies beyond
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.tag) + " " + c.liste);
        const ISC_TIMESTAMP datum{c.tag, zeit};
        const ISC_TIMESTAMP* r = ZRNV_TERMIN_LAGE(&datum, c.liste);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->timestamp_date, c.ergebnis);
        EXPECT_EQ(r->timestamp_time, zeit);
    }
    for (const int tag : {kErsterTag - 1, kLetzterTag + 1, INT_MIN, INT_MAX}) {
        const ISC_TIMESTAMP datum{tag, zeit};
        EXPECT_EQ(ZRNV_TERMIN_LAGE(&datum, "MO"), nullptr) << tag;
    }
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
    // The fields run on as the engine's date encoder computes them: a day beyond the month's end
    // counts on into the next month, and a month field beyond 14 or below -9 drifts by the
    // encoder's month lengths of 30.6 days.
    const std::vector<Case> cases = {
        {{2024, 1, 15}, 1, 0, {2024, 2, 15}},
        {{2024, 1, 31}, 1, 0, {2024, 3, 2}},  // 31 days from 01.02. in a leap year
        {{2023, 1, 31}, 1, 0, {2023, 3, 3}},
        {{2024, 3, 31}, -1, 0, {2024, 3, 2}},
        {{2024, 2, 29}, 0, 1, {2025, 3, 1}},
        {{2024, 11, 30}, 2, 0, {2025, 1, 30}},   // month 13 is the next January
        {{2024, 12, 31}, 2, 0, {2025, 3, 3}},    // month 14, day 31 of February
        {{2024, 1, 15}, -1, 0, {2023, 12, 15}},  // month 0 is the December before
        {{2024, 12, 15}, 3, 0, {2025, 3, 17}},   // month 15: the encoder's drift
        {{2024, 12, 15}, 3, 1, {2026, 3, 17}},
        {{2024, 1, 15}, -13, 0, {2022, 12, 14}},
        {{2024, 5, 31}, 25, 2, {2028, 7, 4}},
        {{9999, 12, 31}, 0, 0, {9999, 12, 31}},
        {{9999, 11, 30}, 1, 0, {9999, 12, 30}},
        {{9999, 12, 31}, 1, 0, {9999, 12, 31}},  // beyond the engine's years: unchanged
        {{9999, 1, 31}, 0, 1, {9999, 1, 31}},
        {{1, 1, 1}, 0, 0, {1, 1, 1}},
        {{1, 2, 28}, -1, 0, {1, 1, 28}},
        {{1, 1, 31}, -1, 0, {1, 1, 31}},
        {{1, 12, 31}, 0, -1, {1, 12, 31}},
        {{1, 1, 1}, 11, 9998, {9999, 12, 1}},
    };
    const ISC_TIME zeit = 4711;
    for (const Case& c : cases) {
        SCOPED_TRACE(DatumLang(DatumNachTag(c.von)) + " + " + std::to_string(c.monate) + " M " +
                     std::to_string(c.jahre) + " J");
        const ISC_TIMESTAMP von{DatumNachTag(c.von), zeit};
        const ISC_LONG m = c.monate, j = c.jahre;
        const ISC_TIMESTAMP* r = ZRNV_DATE_ADD(&von, &m, &j);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(DatumLang(r->timestamp_date), DatumLang(DatumNachTag(c.bis)));
        EXPECT_EQ(r->timestamp_time, zeit);
    }
    // Beyond the engine's years the date stays as it was.
    const ISC_TIMESTAMP von = Zeitpunkt(2024, 1, 1);
    const ISC_LONG m = 0, j = 10000;
    EXPECT_EQ(ZRNV_DATE_ADD(&von, &m, &j)->timestamp_date, von.timestamp_date);
    // SQL NULL stays NULL, and so does a date outside the engine's range.
    EXPECT_EQ(ZRNV_DATE_ADD(nullptr, &m, &j), nullptr);
    const ISC_LONG null = 0;
    for (const int tag : {kErsterTag - 1, kLetzterTag + 1, INT_MIN, INT_MAX}) {
        const ISC_TIMESTAMP ausserhalb{tag, 0};
        EXPECT_EQ(ZRNV_DATE_ADD(&ausserhalb, &null, &null), nullptr) << tag;
    }
    EXPECT_EQ(ZRNV_TERMIN_LAGE(nullptr, "MO"), nullptr);
}
