#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The window-free rules of the search masks: the filter grid's rows and the stored conditions,
// and the order change of two masks.
namespace Suchmasken {

// The grid rows (field, operator, value, conjunction as shown) of the stored conditions: only
// groups on the three mask fields; an operator or conjunction code not in its table stays empty.
QList<QStringList> FilterZeilen(const QString& bedingungen);
// The conditions of the grid rows: shown texts become codes (a text not in its table stays as
// typed), the last conjunction is written empty; no rows give an empty text. Throws
// ListenKodierung::EKodierung for a ";" in a cell.
QString BedingungenErstellen(const QList<QStringList>& zeilen);

// One write of the order change: the mask gets the position value.
struct Reihung {
    int maske;
    int wert;
    bool operator==(const Reihung&) const = default;
};
// Mask a at position b changes places with mask c at position d in three writes, no two masks
// sharing a value at any time: c to a free value, a to d, c to b. The free value is -d, or
// `frei` when -d could be taken (d is 0 or negative).
QList<Reihung> Tauschen(int a, int b, int c, int d, int frei);

}  // namespace Suchmasken
