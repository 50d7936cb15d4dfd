#include "LomTools.h"

#include "LomConst.h"

#include <algorithm>

namespace Lom {

std::string LomNormalisieren(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '-' || c == ' ')
            continue;
        out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}

bool NurZiffern(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool NurBuchstaben(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

int LandNummerErmitteln(std::string_view text, int praefix, std::string& rest)
{
    const auto n = static_cast<std::size_t>(praefix);
    if (text.size() < n || !NurZiffern(text.substr(0, n)))
        return kLandUnbekannt;
    int code = 0;
    for (char c : text.substr(0, n))
        code = code * 10 + (c - '0');
    for (int i = 1; i <= kLaenderAnzahl; ++i) {
        if (LandNach(i).iso == code) {
            rest = std::string(text.substr(n));
            return i;
        }
    }
    return kLandUnbekannt;
}

int LandErmitteln(std::string_view text, std::string& rest)
{
    if (text.size() >= 2) {
        for (int i = 1; i <= kLaenderAnzahl; ++i) {
            if (text.substr(0, 2) == LandNach(i).buchstaben) {
                rest = std::string(text.substr(2));
                return i;
            }
        }
    }
    for (int praefix : {2, 3}) {
        const int index = LandNummerErmitteln(text, praefix, rest);
        if (index > 0)
            return index;
    }
    if (text.size() <= 12) {
        rest = std::string(text);
        return DE;
    }
    return kLandUnbekannt;
}

int LomPacken(std::string_view ziffern, int code, int64_t& nummer)
{
    nummer = 0;
    int64_t wert = 0;
    for (char c : ziffern) {
        if (c < '0' || c > '9')
            return kZifferErwartet;
        wert = wert * 10 + (c - '0');
    }
    nummer = wert + code * kLandFaktor;
    return 0;
}

int LandAusZahl(int64_t nummer, int64_t& national)
{
    national = 0;
    const int64_t c = nummer / kLandFaktor;
    if (c >= 1000)
        return kZuLang;
    if (c < 900) {
        for (int i = 1; i <= kLaenderAnzahl; ++i) {
            if (LandNach(i).iso == c) {
                national = nummer - c * kLandFaktor;
                return i;
            }
        }
        return kLandUnbekannt;
    }
    for (int i = 1; i <= kLaenderAnzahl; ++i) {
        const int alt = LandNach(i).alternativ;
        if (alt == c || alt == c / 10) {
            national = nummer;
            return i;
        }
    }
    return kLandUnbekannt;
}

int LaengePruefen(std::string& ziffern, int n)
{
    if (ziffern.empty())
        return kFalschesFormat;
    const auto laenge = static_cast<int>(ziffern.size());
    const auto nullen = static_cast<int>(
        std::find_if(ziffern.begin(), ziffern.end(), [](char c) { return c != '0'; }) -
        ziffern.begin());
    if (laenge - nullen <= n && laenge > n)
        ziffern.erase(0, static_cast<std::size_t>(laenge - n));
    if (!NurZiffern(ziffern))
        return kZifferErwartet;
    const auto jetzt = static_cast<int>(ziffern.size());
    if (jetzt == n)
        return 0;
    return jetzt > n ? kZuLang : kZuKurz;
}

int LaengePruefen2(std::string& ziffern, int a, int b)
{
    if (LaengePruefen(ziffern, std::min(a, b)) == 0)
        return 0;
    const int r = LaengePruefen(ziffern, std::max(a, b));
    return r == kZuKurz ? kFalscheLaenge : r;
}

int LaengePruefen3(std::string& ziffern, int a, int b, int c)
{
    if (LaengePruefen(ziffern, std::min(a, b)) == 0 || LaengePruefen(ziffern, std::max(a, b)) == 0)
        return 0;
    const int r = LaengePruefen(ziffern, c);
    return r == kZuKurz ? kFalscheLaenge : r;
}

std::string FormatZahl64(int breite, std::string_view fuell, int64_t wert)
{
    std::string text = std::to_string(wert);
    if (fuell.empty())
        return text;
    std::string vorn;
    while (static_cast<int>(vorn.size() + text.size()) < breite)
        vorn += fuell;
    return vorn + text;
}

std::string FormatZahl32(uint32_t wert, int breite, std::string_view fuell)
{
    return FormatZahl64(breite, fuell, static_cast<int64_t>(wert));
}

std::string Gruppieren(std::string_view ziffern, std::initializer_list<int> gruppen, char trenner)
{
    std::string out;
    std::size_t pos = 0;
    for (int g : gruppen) {
        if (!out.empty())
            out += trenner;
        out += ziffern.substr(pos, static_cast<std::size_t>(g));
        pos += static_cast<std::size_t>(g);
    }
    return out;
}

}  // namespace Lom
