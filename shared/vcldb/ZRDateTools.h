#pragma once

#include <QDate>
#include <QString>

#include <functional>

namespace ZRDateTools {

// Completes a date as a German user types it short, relative to `heute`:
// - Separators are ".", ",", "-", "/" and blanks (the number pad has no "."); "1.2.", "1,2" and
//   "1-2-24" are the same entry.
// - Day only ("7", "7.", "07"): that day of today's month and year.
// - Day and month ("1.2", "1.2.", "0102"): that day of today's year.
// - Two-digit years ("1.2.24", "010224") lie between 80 years before and 19 years after today's
//   year: herd records reach back to old bulls and forward to due dates.
// - Four-digit years are taken as typed ("1.2.2024", "01022024").
// - Without separators the digits are read as d/dd, ddmm, ddmmyy or ddmmyyyy.
// The result is "dd.MM.yyyy". A text that does not name a valid date this way (31.2., three
// digits, letters) comes back trimmed but otherwise unchanged, so that reading it fails visibly.
QString FormatDateNice(const QString& text, const QDate& heute);
// The same relative to the program's today (Heute()).
QString FormatDateNice(const QString& text);

// Reads "dd.MM.yyyy" after completion; an invalid date when the text names none.
QDate DatumAusText(const QString& text, const QDate& heute);
QDate DatumAusText(const QString& text);
QString DatumText(const QDate& datum);

// The program's today. The program (and tests) may replace where it comes from; by default it is
// the machine's date.
QDate Heute();
void SetHeuteQuelle(std::function<QDate()> quelle);

}  // namespace ZRDateTools
