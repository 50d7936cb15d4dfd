#pragma once

#include <QString>

#include <array>

// The table of the insemination stations. The code is what the database stores (STATION columns,
// settings keys); the name is shown in lists and the short name in narrow places. The order is
// fixed: indexes are stored and passed around.
namespace BesamungConst {

// Layout of a station's insemination report.
enum Meldeart : int { MeldeartTriesdorf = 0, MeldeartHoechstaedt = 1, MeldeartRUW = 2 };

struct Station {
    QString Code;
    QString Name;
    QString Kurzname;
    Meldeart Meldung;
};

constexpr int AnzahlStationen = 10;

// Stations with rules of their own: the default own station, the one whose follow-up
// inseminations keep the first certificate number, and the one that counts inseminations 1 to 9.
constexpr int StationMeggle = 4;
constexpr int StationBVN = 5;
constexpr int StationRUW = 8;

const std::array<Station, AnzahlStationen>& Stationen();

}  // namespace BesamungConst
