#pragma once

#include <array>
#include <string_view>

// The vocabulary of the national cattle database HIT: report types, report fields with their
// value domains and German names (UTF-8), and the words of its query language. Parallel tables
// share their index; lookups compare the whole text exactly and take the first match.
namespace HITConst {

extern const std::array<std::string_view, 17> cMeldung;
extern const std::array<std::string_view, 17> cMeldungBez;

extern const std::array<std::string_view, 78> cFeld;
extern const std::array<std::string_view, 78> cFeldCode;
extern const std::array<std::string_view, 78> cFeldBez;

extern const std::array<std::string_view, 5> cVerknuepfung;
extern const std::array<std::string_view, 10> cVergleich;
extern const std::array<std::string_view, 19> cFunktion;

// Index of a report type code or field code, -1 when it is not in the table.
int MeldungIndex(std::string_view code);
int FeldIndex(std::string_view code);

}  // namespace HITConst
