#include "UdfDatum.h"

#include <algorithm>
#include <array>
#include <ctime>

namespace Udf {

namespace {

// German names in ISO8859_1 ("M\xE4rz").
constexpr std::array<std::string_view, 7> kTage = {"Montag",  "Dienstag", "Mittwoch", "Donnerstag",
                                                   "Freitag", "Samstag",  "Sonntag"};
constexpr std::array<std::string_view, 7> kTageKurz = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
constexpr std::array<std::string_view, 12> kMonate = {
    "Januar", "Februar", "M\xE4rz",   "April",   "Mai",      "Juni",
    "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
constexpr std::array<std::string_view, 12> kMonateKurz = {
    "Jan", "Feb", "M\xE4r", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};

std::string Zweistellig(int n)
{
    return (n < 10 ? "0" : "") + std::to_string(n);
}

std::string Vierstellig(int n)
{
    const std::string s = std::to_string(n);
    return std::string(s.size() < 4 ? 4 - s.size() : 0, '0') + s;
}

}  // namespace

Kalenderdatum TagNachDatum(int tagnummer)
{
    int64_t nday = static_cast<int64_t>(tagnummer) - (1721119 - 2400001);
    const int64_t century = (4 * nday - 1) / 146097;
    nday = 4 * nday - 1 - 146097 * century;
    int64_t day = nday / 4;
    nday = (4 * day + 3) / 1461;
    day = 4 * day + 3 - 1461 * nday;
    day = (day + 4) / 4;
    int64_t month = (5 * day - 3) / 153;
    day = 5 * day - 3 - 153 * month;
    day = (day + 5) / 5;
    int64_t year = 100 * century + nday;
    if (month < 10) {
        month += 3;
    } else {
        month -= 9;
        year += 1;
    }
    return {static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
}

int DatumNachTag(const Kalenderdatum& datum)
{
    int64_t month = datum.monat;
    int64_t year = datum.jahr;
    if (month > 2) {
        month -= 3;
    } else {
        month += 9;
        year -= 1;
    }
    const int64_t c = year / 100;
    const int64_t ya = year - 100 * c;
    return static_cast<int>((146097 * c) / 4 + (1461 * ya) / 4 + (153 * month + 2) / 5 + datum.tag +
                            1721119 - 2400001);
}

int Wochentag(int tagnummer)
{
    // Day 0, 17.11.1858, was a Wednesday.
    return static_cast<int>(((static_cast<int64_t>(tagnummer) + 2) % 7 + 7) % 7) + 1;
}

std::string DatumLang(int tagnummer)
{
    const Kalenderdatum d = TagNachDatum(tagnummer);
    return Zweistellig(d.tag) + "." + Zweistellig(d.monat) + "." + Vierstellig(d.jahr);
}

std::string DatumKurz(int tagnummer)
{
    const Kalenderdatum d = TagNachDatum(tagnummer);
    return Zweistellig(d.tag) + "." + Zweistellig(d.monat) + "." + Zweistellig(d.jahr % 100);
}

int Heute()
{
    const std::time_t jetzt = std::time(nullptr);
    std::tm t{};
    localtime_r(&jetzt, &t);
    return DatumNachTag({t.tm_year + 1900, t.tm_mon + 1, t.tm_mday});
}

std::string_view WochentagName(int tagnummer)
{
    return kTage[static_cast<std::size_t>(Wochentag(tagnummer) - 1)];
}

std::optional<std::string> DatumFormatieren(int tagnummer, std::string_view muster)
{
    if (muster.empty())
        return DatumLang(tagnummer);
    const Kalenderdatum d = TagNachDatum(tagnummer);
    const auto wt = static_cast<std::size_t>(Wochentag(tagnummer) - 1);
    const auto monat = static_cast<std::size_t>(d.monat - 1);
    std::string out;
    bool nachStunde = false;  // "m" right after an hour token means minutes
    std::size_t i = 0;
    while (i < muster.size()) {
        const char c = muster[i];
        const char klein = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (c == '\'' || c == '"') {
            const std::size_t ende = muster.find(c, i + 1);
            if (ende == std::string_view::npos)
                return std::nullopt;
            out += muster.substr(i + 1, ende - i - 1);
            i = ende + 1;
            continue;
        }
        if (std::string_view("dmyhnsztc").find(klein) == std::string_view::npos) {
            out += c == '/' ? '.' : c;
            ++i;
            continue;
        }
        std::size_t n = 1;
        while (i + n < muster.size() && (muster[i + n] | 0x20) == klein)
            ++n;
        i += n;
        // The time of day is not part of the date: hours, minutes and seconds are 0.
        const bool minute = klein == 'm' && nachStunde && n <= 2;
        nachStunde = klein == 'h';
        switch (minute ? 'n' : klein) {
            case 'd':
                if (n == 1)
                    out += std::to_string(d.tag);
                else if (n == 2)
                    out += Zweistellig(d.tag);
                else if (n == 3)
                    out += kTageKurz[wt];
                else if (n == 4)
                    out += kTage[wt];
                else if (n == 5)
                    out += DatumLang(tagnummer);
                else
                    out += std::string(kTage[wt]) + ", " + std::to_string(d.tag) + ". " +
                           std::string(kMonate[monat]) + " " + std::to_string(d.jahr);
                break;
            case 'm':
                if (n == 1)
                    out += std::to_string(d.monat);
                else if (n == 2)
                    out += Zweistellig(d.monat);
                else if (n == 3)
                    out += kMonateKurz[monat];
                else
                    out += kMonate[monat];
                break;
            case 'y':
                out += n <= 2 ? Zweistellig(d.jahr % 100) : Vierstellig(d.jahr);
                break;
            case 'h':
            case 'n':
            case 's':
                out += n == 1 ? "0" : "00";
                break;
            case 'z':
                out += n < 3 ? "0" : "000";
                break;
            case 't':
                out += n == 1 ? "00:00" : "00:00:00";
                break;
            case 'c':
                out += DatumLang(tagnummer);
                break;
        }
    }
    return out;
}

std::optional<int> MonateAddieren(int tagnummer, int monate, int jahre)
{
    // The fields as isc_encode_date takes them, unchecked: a month beyond the year's end and a
    // day beyond the month's end run on by that formula's arithmetic (31.01. + 1 month is the
    // 31st day from 01.02.).
    const Kalenderdatum d = TagNachDatum(tagnummer);
    int64_t monat = int64_t{d.monat} + monate;
    int64_t jahr = int64_t{d.jahr} + jahre;
    if (monat > 2) {
        monat -= 3;
    } else {
        monat += 9;
        jahr -= 1;
    }
    const int64_t c = jahr / 100;
    const int64_t ya = jahr - 100 * c;
    const int64_t tag =
        (146097 * c) / 4 + (1461 * ya) / 4 + (153 * monat + 2) / 5 + d.tag + 1721119 - 2400001;
    if (!ImBereich(tag))
        return std::nullopt;
    return static_cast<int>(tag);
}

}  // namespace Udf
