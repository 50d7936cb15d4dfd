#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The country rules of the ear-tag coder: per country an encoder of the national part (normalised,
// behind the country letters or prefix), a print formatter and, where the country has one, a
// check-digit routine.
namespace Lom {

// National part to number; 0 or a negative error code.
using LandKodierer = int (*)(std::string national, int64_t& nummer);
// Printed form of a number, or the empty text when it does not fit the country's print form. The
// national part is the whole number for the letter forms (codes 900..999).
using LandDrucker = std::string (*)(int64_t national, int64_t ganz);

struct LandRegel {
    LandKodierer kodieren;
    LandDrucker drucken;
};

// The rules of the country with index 1..27.
const LandRegel& RegelNach(int index);

// Check digits over the digits of the base length: the digit 0..9, or -4 for another length.
int PruefzifferAT(std::string_view ziffern);  // 9 digits, checks position 7
int PruefzifferBE(std::string_view ziffern);  // 9 digits (or 8 without it), checks position 1
int PruefzifferFI(std::string_view ziffern);  // 10 digits, checks position 1
int PruefzifferIE(std::string_view ziffern);  // 12 digits, checks position 8
int PruefzifferNL(std::string_view ziffern);  // 9 digits, checks position 9
int PruefzifferPT(std::string_view ziffern);  // 10 digits, checks position 2

// Ireland, Italy and the United Kingdom have letter forms of their own (LomIrland.cpp,
// LomItalien.cpp, LomGrossbritannien.cpp).
int KodierenIE(std::string national, int64_t& nummer);
std::string DruckenIE(int64_t national, int64_t ganz);
int KodierenIT(std::string national, int64_t& nummer);
std::string DruckenIT(int64_t national, int64_t ganz);
int KodierenUK(std::string national, int64_t& nummer);
std::string DruckenUK(int64_t national, int64_t ganz);

// Italian provinces, index 1..103: the index of a two-letter code (-12 when unknown) and the code
// of an index (empty outside 1..103).
int ProvinzNachKuerzel(std::string_view kuerzel);
std::string_view ProvinzNachIndex(int index);

// British herd-mark letter codes, index 1..310: the index of a code (-12 when unknown) and the code
// of an index (empty outside 1..310).
int BuchstabenCodeIndex(std::string_view code);
std::string_view BuchstabenCodeNach(int index);

// Printed form "<letters> <digits grouped>" with the value written zero-padded to the width.
std::string DruckForm(int land, int64_t wert, int breite, std::initializer_list<int> gruppen,
                      char trenner = ' ');

// Digit value of a character '0'..'9'.
inline int Ziffer(char c)
{
    return c - '0';
}

}  // namespace Lom
