#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Dates of the engine: a day number counted from 17.11.1858 (day 0). The arithmetic is the
// engine's own (isc_decode_date/isc_encode_date), so that no client library is loaded into the
// engine's process. Names and separators are German whatever the process locale.
namespace Udf {

struct Kalenderdatum {
    int jahr;
    int monat;  // 1..12
    int tag;    // 1..31
};

Kalenderdatum TagNachDatum(int tagnummer);
int DatumNachTag(const Kalenderdatum& datum);

// The engine's range, 01.01.0001 to 31.12.9999. The calendar arithmetic and the names hold only
// within it.
constexpr int kErsterTag = -678575;
constexpr int kLetzterTag = 2973483;
constexpr bool ImBereich(int64_t tagnummer)
{
    return tagnummer >= kErsterTag && tagnummer <= kLetzterTag;
}

// Monday = 1 .. Sunday = 7.
int Wochentag(int tagnummer);

// The date as "dd.MM.yyyy" or "dd.MM.yy".
std::string DatumLang(int tagnummer);
std::string DatumKurz(int tagnummer);

// Today's day number in the engine's local time.
int Heute();

// Full German weekday name ("Montag").
std::string_view WochentagName(int tagnummer);

// The date written with a date pattern (d, dd, ddd, dddd, ddddd, dddddd, m, mm, mmm, mmmm, y, yy,
// yyyy, c, "/" as the date separator, text in single or double quotes, other characters as they
// stand; letters in either case). Time tokens (h, n, s, z, t, and m after h) give a time of 0:00.
// Nothing when the pattern cannot be used (an open quote); an empty pattern gives dd.mm.yyyy.
std::optional<std::string> DatumFormatieren(int tagnummer, std::string_view muster);

// Adds months to the month field and years to the year field and encodes the fields again as
// isc_encode_date does; nothing when the result leaves the engine's range.
std::optional<int> MonateAddieren(int tagnummer, int monate, int jahre);

}  // namespace Udf
