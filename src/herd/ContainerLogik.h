#pragma once

#include <QDate>
#include <QString>

namespace db {
class Transaction;
}

// The rules of the semen containers and their writes, without a window.
namespace Container {

// Straws left of a portion: every whole use takes one straw, every half use (first or second
// half) half a straw, whatever the kind of use. May become negative.
double Bestand(int gesamt, int ganzeVerwendungen, int halbeVerwendungen);

// Texts the lists show for the stored codes.
// Kind of use: B, L, N, R; any other value as it is.
QString ArtText(const QString& art);
// Division: "F" "nein", "1" "1. Hälfte", anything else "2. Hälfte".
QString TeilungText(const QString& teilung);
// The short name of the station with this code; "Fehler!" for a code of no station.
QString StationText(const QString& code);

// How many uses one entry stores: one for an insemination ("B"), otherwise the whole part of
// the count, at least one.
int AnzahlVerwendungen(const QString& art, double anzahl);

// The quick list of the animal card for the animals inseminated with a portion's straws. Uses
// without an insemination (loss, destruction, return) name no animal and are left out.
QString ZumTierSQL(int portion);

// The portion's stock as the transaction sees it.
double PortionBestand(db::Transaction& tr, int portion);

// Deletes in the transaction; the caller commits or rolls back.
void LieferungLoeschen(db::Transaction& tr, int lieferung);
void PortionLoeschen(db::Transaction& tr, int portion);
void VerwendungLoeschen(db::Transaction& tr, int verwendung);
// The further uses of a multiple entry: anzahl rows like the one stored, without insemination.
void WeitereVerwendungen(db::Transaction& tr, int anzahl, const QString& art, const QDate& datum,
                         int portion, const QString& teilung);

}  // namespace Container
