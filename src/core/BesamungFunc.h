#pragma once

#include <QList>
#include <QString>

// Lookups in the station table of BesamungConst.
namespace BesamungFunc {

// A station as a list shows it: its name, with its index in the station table attached.
struct StationsEintrag {
    QString Name;
    int Index = 0;
    bool operator==(const StationsEintrag&) const = default;
};

// The index of the station with exactly this code (case-sensitive); false leaves index unchanged.
bool StationIndex(const QString& code, int& index);

// The stations for a list, from codes separated by ";".
// Ausser false: the stations the codes name, in the order given; unknown codes are skipped.
// Ausser true: every station in table order except those the codes name. Codes are compared
// whole, so a code that merely ends in another station's code excludes nothing else.
QList<StationsEintrag> StationenListe(const QString& codes, bool Ausser);

}  // namespace BesamungFunc
