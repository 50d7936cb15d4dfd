#include "ListenAuswahl.h"

namespace ListenAuswahl {

std::vector<bool> Haken(const QList<int>& ids, const QList<int>& angekreuzt)
{
    std::vector<bool> haken;
    haken.reserve(std::size_t(ids.size()));
    for (int id : ids)
        haken.push_back(angekreuzt.contains(id));
    return haken;
}

QList<int> Angekreuzt(const QList<int>& ids, const std::vector<bool>& haken)
{
    QList<int> ergebnis;
    for (int i = 0; i < ids.size() && i < int(haken.size()); ++i)
        if (haken[std::size_t(i)])
            ergebnis << ids[i];
    return ergebnis;
}

QList<int> Ausgabe(bool mehrere, const QList<int>& ids, const std::vector<bool>& haken, int aktuell)
{
    if (mehrere)
        return Angekreuzt(ids, haken);
    return aktuell != 0 ? QList<int>{aktuell} : QList<int>{};
}

}  // namespace ListenAuswahl
