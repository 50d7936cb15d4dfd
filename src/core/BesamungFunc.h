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

// The default own-insemination station: the first of the codes separated by ";"; an empty or
// unknown first code gives the station coded "MEGGLE".
int StandardStation(const QString& eigenbesamungStationen);

// The station's insemination count (1 to 9) for an insemination with the number nr that is the
// anzahl-th in its lactation: the station coded "RUW" counts 1 to 9 and starts again, every other
// station follows the insemination number 1 to 3.
int BesNrBY(int station, int nr, int anzahl);

// Whether an insemination with this station count starts a certificate of its own. At the
// station coded "BVN" only the first insemination does; the others keep its certificate.
bool EigenerBesamungsschein(int station, int besNrBY);

}  // namespace BesamungFunc
