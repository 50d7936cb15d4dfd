#pragma once

#include <QList>

#include <vector>

// The rules of the list selection apart from its window.
namespace ListenAuswahl {

// The check marks of the rows: ticked exactly where the row's ID is among the given ones.
std::vector<bool> Haken(const QList<int>& ids, const QList<int>& angekreuzt);
// The ticked IDs in grid order.
QList<int> Angekreuzt(const QList<int>& ids, const std::vector<bool>& haken);
// The lists an output takes: with several lists the ticked ones in grid order, otherwise the
// current one (aktuell 0: none).
QList<int> Ausgabe(bool mehrere, const QList<int>& ids, const std::vector<bool>& haken,
                   int aktuell);

}  // namespace ListenAuswahl
