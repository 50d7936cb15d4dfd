#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace Lom {

// One country of the coder. The letters are its print prefix; the alternative code differs from
// the ISO code only for the letter forms of Ireland (930), Italy (91) and the United Kingdom (92).
struct Land {
    std::string_view buchstaben;
    int iso;
    int alternativ;
};

constexpr int kLaenderAnzahl = 27;

// Index 1..27 as the stored numbers and every search rely on it.
enum LandIndex {
    AT = 1,
    BE,
    DE,
    DK,
    FI,
    FR,
    EL,
    IE,
    IT,
    LU,
    NL,
    PT,
    ES,
    SE,
    UK,
    BG,
    CY,
    CZ,
    EE,
    HU,
    LT,
    LV,
    MT,
    PL,
    RO,
    SI,
    SK
};

// The country with index 1..27.
const Land& LandNach(int index);

// Error codes of the coder; 0 is success.
enum LomFehler {
    kKeineLom = -1,
    kZuKurz = -2,
    kZuLang = -3,
    kFalscheLaenge = -4,
    kLandUnbekannt = -5,
    kPruefzifferFalsch = -6,
    kZifferErwartet = -7,
    kNichtUnterstuetzt = -8,
    kFalschesFormat = -9,
    kErweiterungFalsch = -10,
    kZeichenUnzulaessig = -11,
    kProvinzUnbekannt = -12,
    kSerieFalsch = -13,
    kPruefzifferFehlt = -14,
};

// The German text of an error code (UTF-8); the empty text for 0 and for unknown codes.
std::string_view LomFehlertext(int code);

}  // namespace Lom
