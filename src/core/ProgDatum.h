#pragma once

#include <QDate>

// The program's "today": every date the program calls today comes from here. It is the date the
// shared controls get from ZRDateTools::Heute().
namespace ProgDatum {

// The date part of the current time, or the date a test set.
QDate Heute();

// Tests only: fixes today to this date; an invalid date returns to the clock.
void HeuteSetzen(const QDate& datum);

}  // namespace ProgDatum
