#include "ProgDatum.h"

#include <QDateTime>

namespace ProgDatum {

namespace {
QDate& Fest()
{
    static QDate datum;
    return datum;
}
}  // namespace

QDate Heute()
{
    const QDate fest = Fest();
    return fest.isValid() ? fest : QDate::currentDate();
}

void HeuteSetzen(const QDate& datum)
{
    Fest() = datum;
}

}  // namespace ProgDatum
