#pragma once

#include <QDate>
#include <QString>

// Text rules that every user of a stored list design shares: the premises placeholder in the
// list's SQL and the names of the pseudo fields (running number, fixed text).
namespace ListenTools {

// Replaces the first "#…#" pair of the SQL, which encloses the animal-ID expression A:
//   premises <= 0                -> "1=1"
//   premises > 0, a valid date   -> A's premises on that date must be the premises
//   premises > 0, no date        -> A's latest premises must be the premises
// An empty A (NULL) passes. The replacement is parenthesised as a whole, so conditions next to the
// placeholder keep applying to every row. Ersetzt tells whether a placeholder was found; without
// one the SQL comes back unchanged.
QString BetriebsstaetteEinsetzenZumDatum(const QString& sql, int betriebsstaette, bool& ersetzt,
                                         const QDate& datum);
QString BetriebsstaetteEinsetzenGefunden(const QString& sql, int betriebsstaette, bool& ersetzt);
QString BetriebsstaetteEinsetzen(const QString& sql, int betriebsstaette);

// Pseudo field names: "S.N<n>" running number, "S.F<n>" fixed text (case-sensitive).
bool IstFortlaufendeNummer(const QString& feldname);
bool IstFesterWert(const QString& feldname);
bool IstPseudoFeld(const QString& feldname);
// n of a pseudo field name; 0 when it is empty or no number.
int PseudoFeldNummer(const QString& feldname);

// The list designer's field entries of the pseudo fields with number n.
QString FortlaufendeNummerEintrag(int n);
QString FesterWertEintrag(int n);

}  // namespace ListenTools
