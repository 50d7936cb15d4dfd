#include "LomConst.h"
#include "LomLaender.h"
#include "LomTools.h"

#include <array>
#include <vector>

namespace Lom {

namespace {

constexpr int kHerdenmarke = 920;    // nine digits and a letter code
constexpr int kSiebenStellen = 921;  // seven digits and a check character
constexpr int kZehnStellen = 922;    // ten digits and a check character

// Two-letter herd-mark codes: each first letter with the second letters that occur with it.
constexpr std::array<std::string_view, 26> kZweiBuchstaben = {
    "AABDGJNOPRUVWY",
    "BABEFKOPST",
    "CAEFGLS",
    "DABCDEFLMNOPRU",
    "EABCFGHJKLM",
    "FAFNOPSTUVY",
    "GAFGHJLMSW",
    "HABCDEKLMNSW",
    "IENPVWX",
    "JABC",
    "KAEFGHJLNOPSTUVW",
    "LADEFHJKLMPQRST",
    "MAEGHJKLOPQ",
    "NACDEGJKLMNOPQRSWXZ",
    "OABCDEFGHJKLMNOPQRSTUVWXZ",
    "PAE",
    "QABCDEFGHJ",
    "RABCDOQ",
    "SBCEGHJKLMOPQRSTUVWXYZ",
    "TACDEFGHJK",
    "UABC",
    "VABCDEFGHJKLMNP",
    "WCDEGLOPQRTU",
    "XA",
    "YABCDEGHJKLMNOPQRSTUVWXYZ",
    "ZABCDEFGNOPQRST",
};

// Index 1..285 the two-letter codes in alphabetical order, 286..310 the single letters without I.
const std::vector<std::string>& BuchstabenCodes()
{
    static const std::vector<std::string> codes = [] {
        std::vector<std::string> v;
        for (std::string_view zeile : kZweiBuchstaben) {
            for (char zweiter : zeile.substr(1))
                v.push_back(std::string{zeile[0], zweiter});
        }
        for (char c = 'A'; c <= 'Z'; ++c) {
            if (c != 'I')
                v.push_back(std::string(1, c));
        }
        return v;
    }();
    return codes;
}

// Check character as two digits: 0-9 give 00-09, A-Z give 10-35.
int PruefzeichenCode(char c)
{
    if (c >= '0' && c <= '9')
        return Ziffer(c);
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return -1;
}

std::string Pruefzeichen(int64_t code)
{
    if (code > 35)
        return {};
    return std::string(1, static_cast<char>(code > 9 ? 55 + code : '0' + code));
}

int KodierenMitPruefzeichen(std::string_view ziffern, char pruef, int form, int64_t& nummer)
{
    const int code = PruefzeichenCode(pruef);
    if (!NurZiffern(ziffern) || code < 0)
        return kFalschesFormat;
    return LomPacken(std::string(ziffern) + FormatZahl64(2, "0", code), form, nummer);
}

}  // namespace

int BuchstabenCodeIndex(std::string_view code)
{
    const auto& codes = BuchstabenCodes();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] == code)
            return static_cast<int>(i + 1);
    }
    return kProvinzUnbekannt;
}

std::string_view BuchstabenCodeNach(int index)
{
    const auto& codes = BuchstabenCodes();
    if (index < 1 || index > static_cast<int>(codes.size()))
        return {};
    return codes[static_cast<std::size_t>(index - 1)];
}

int KodierenUK(std::string z, int64_t& nummer)
{
    const std::string_view s(z);
    if (s.size() == 12)
        return LomPacken(s, LandNach(UK).iso, nummer);
    if (s.size() == 8)
        return KodierenMitPruefzeichen(s.substr(0, 7), s[7], kSiebenStellen, nummer);
    if (s.size() == 11 && NurZiffern(s.substr(0, 2)))
        return KodierenMitPruefzeichen(s.substr(0, 10), s[10], kZehnStellen, nummer);
    if (s.size() == 10 || s.size() == 11) {
        const std::size_t n = s.size() - 9;
        if (!NurBuchstaben(s.substr(0, n)) || !NurZiffern(s.substr(n)))
            return kFalschesFormat;
        const int index = BuchstabenCodeIndex(s.substr(0, n));
        if (index < 0)
            return index;
        return LomPacken(std::string(s.substr(n)) + FormatZahl64(3, "0", index), kHerdenmarke,
                         nummer);
    }
    return kFalschesFormat;
}

std::string DruckenUK(int64_t, int64_t ganz)
{
    const int64_t form = ganz / kLandFaktor;
    const int64_t national = ganz % kLandFaktor;
    if (form == LandNach(UK).iso)
        return DruckForm(UK, national, 12, {3, 4, 5});
    if (form == kHerdenmarke) {
        const std::string_view code = BuchstabenCodeNach(static_cast<int>(national % 1000));
        if (code.empty())
            return {};
        return "UK " + std::string(code) + " " +
               Gruppieren(FormatZahl64(9, "0", national / 1000), {4, 5});
    }
    if (form == kSiebenStellen && national < 1'000'000'000) {
        const std::string pruef = Pruefzeichen(national % 100);
        if (pruef.empty())
            return {};
        return "UK " + Gruppieren(FormatZahl64(9, "0", national), {4, 3}) + "-" + pruef;
    }
    if (form == kZehnStellen) {
        const std::string pruef = Pruefzeichen(national % 100);
        if (pruef.empty())
            return {};
        return "UK " + Gruppieren(FormatZahl64(12, "0", national), {5, 5}) + "-" + pruef;
    }
    return {};
}

}  // namespace Lom
