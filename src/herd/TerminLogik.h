#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <utility>

// Texts and codes of the appointment windows.
namespace Termin {

// Anchor events and animal classes: code and text, in the order of the choice lists.
const QList<std::pair<QString, QString>>& Ankerpunkte();
const QList<std::pair<QString, QString>>& Tierklassen();

// The seven weekday codes MO..SO and the box captions.
const QStringList& WochentagCodes();
const QStringList& WochentagTitel();
// Boxes from the stored text: an empty text ticks all, otherwise a box is ticked when its code
// occurs in the text.
std::array<bool, 7> WochentageLesen(const QString& text);
// The ticked codes in the order MO..SO joined with ";"; empty when none is ticked.
QString WochentageText(const std::array<bool, 7>& boxen);

// Interval kinds of the list "Tage", "Wochen", "Monate" and their letters T, W, M; any other
// stored letter shows as "Tage".
int IntervallArtPosition(const QString& code);
QString IntervallArtCode(int position);

// The select of the fixed appointments: all of them, or only those still current. The list
// addresses the appointment's own ID; the repetition row's ID is not selected.
QString FesteTermineSQL(bool vergangeneAnzeigen);

// "Heute: " and the text for a due date of today, otherwise "dd.MM.yyyy: " and the text.
QString TerminAnzeige(const QDate& termin, const QDate& heute, const QString& text);

// A remark as the choice list shows it: its first line, followed by " ..." when it has more.
QString BemerkungKurz(const QString& bemerkung);

// A period entered in either order: the earlier date first.
std::pair<QDate, QDate> ZeitraumOrdnen(const QDate& von, const QDate& bis);
// Dates inside SQL texts, whatever the machine's locale.
QString SqlDatum(const QDate& datum);
// The completed appointments of [von, bis]: the procedure's end is exclusive, so it gets the day
// after bis.
QString ErledigteDatenSQL(const QDate& von, const QDate& bis, bool tierbezogen, bool feste);
// The animals of those rows for the animal card's quick list (never the fixed appointments).
QString ErledigteSchnellwahlSQL(const QDate& von, const QDate& bis, bool tierbezogen);
QString ErledigteTitelzusatz(const QDate& von, const QDate& bis);

}  // namespace Termin
