#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// Routines shared by the country rules of the ear-tag coder. Results are 0 or a negative error
// code of LomConst.h; a positive result is a country index.
namespace Lom {

constexpr int64_t kLandFaktor = 1'000'000'000'000;  // 10^12: the country code's place

// Removes every "-" and blank and upper-cases the text (ASCII letters only).
std::string LomNormalisieren(std::string_view text);

// Every character is 0-9 (an empty text passes).
bool NurZiffern(std::string_view text);
// Every character is A-Z (an empty text passes).
bool NurBuchstaben(std::string_view text);

// Reads the first `praefix` characters (2 or 3) as a number and finds it among the ISO codes;
// rest = the text behind the prefix. Index or -5.
int LandNummerErmitteln(std::string_view text, int praefix, std::string& rest);

// Country of a normalised text: letters, a two- or three-digit ISO code, else Germany for texts of
// at most 12 characters. Index or -5.
int LandErmitteln(std::string_view text, std::string& rest);

// number = value of the digits + code x 10^12; -7 and number 0 when a character is not a digit.
int LomPacken(std::string_view ziffern, int code, int64_t& nummer);

// Splits a number into its country and national part (the whole number for the letter forms
// 900..999). Index, or -3 (no country place) or -5 (unknown code).
int LandAusZahl(int64_t nummer, int64_t& national);

// Length checks. Surplus leading zeros are dropped (the text may get shorter); results 0, -2, -3,
// -7 or -9, and -4 for a length that fits none of several accepted lengths.
int LaengePruefen(std::string& ziffern, int n);
int LaengePruefen2(std::string& ziffern, int a, int b);
int LaengePruefen3(std::string& ziffern, int a, int b, int c);

// Decimal text of the value with the fill text repeated in front up to the width; a longer number
// is not cut.
std::string FormatZahl64(int breite, std::string_view fuell, int64_t wert);
std::string FormatZahl32(uint32_t wert, int breite, std::string_view fuell);

// Splits digits into groups of the given sizes, joined by the separator.
std::string Gruppieren(std::string_view ziffern, std::initializer_list<int> gruppen,
                       char trenner = ' ');

}  // namespace Lom
