#pragma once

#include <cstddef>

// The room the database declares for each text (sql/create/020_udf.sql): the most characters a
// function reads or writes, without the terminating zero. A function never writes past these.
namespace Udf::Breite {

constexpr std::size_t Alter = 15;
constexpr std::size_t Datum = 10;
constexpr std::size_t DatumKurz = 8;
constexpr std::size_t DatumFormat = 15;
constexpr std::size_t Muster = 40;
constexpr std::size_t Wochentag = 20;
constexpr std::size_t Bnr = 20;
constexpr std::size_t BnrKorrigiert = 15;
constexpr std::size_t BnrEingabe = 40;
constexpr std::size_t Lom = 40;
constexpr std::size_t LomGedruckt = 20;
constexpr std::size_t FormatZahl = 32;
constexpr std::size_t FormatFloat = 64;
constexpr std::size_t FormatInt = 16;
constexpr std::size_t Harnstoff = 24;
constexpr std::size_t DebugText = 255;
constexpr std::size_t Debug = 5;
constexpr std::size_t Wochentage = 40;
constexpr std::size_t WochentageSortiert = 20;
constexpr std::size_t Feldliste = 2000;
constexpr std::size_t Feldname = 100;
constexpr std::size_t BlobLinks = 2000;
constexpr std::size_t Eol = 2;
constexpr std::size_t StrCatTeil = 1000;
constexpr std::size_t StrCat = 2000;
constexpr std::size_t Geschlecht = 10;
constexpr std::size_t Meldung = 30;
constexpr std::size_t Schwere = 18;
constexpr std::size_t Werte = 2000;
constexpr std::size_t WerteText = 8000;
constexpr std::size_t WerteSchluessel = 20;
constexpr std::size_t StationCode = 15;
constexpr std::size_t Station = 40;

}  // namespace Udf::Breite
