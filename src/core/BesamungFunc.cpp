#include "BesamungFunc.h"

#include "BesamungConst.h"

#include <QStringList>

#include <algorithm>

namespace BesamungFunc {

bool StationIndex(const QString& code, int& index)
{
    const auto& stationen = BesamungConst::Stationen();
    for (int i = 0; i < BesamungConst::AnzahlStationen; ++i) {
        if (stationen[i].Code == code) {
            index = i;
            return true;
        }
    }
    return false;
}

QList<StationsEintrag> StationenListe(const QString& codes, bool Ausser)
{
    const auto& stationen = BesamungConst::Stationen();
    const QStringList teile = codes.split(QLatin1Char(';'));
    QList<StationsEintrag> liste;
    if (Ausser) {
        for (int i = 0; i < BesamungConst::AnzahlStationen; ++i) {
            if (!teile.contains(stationen[i].Code))
                liste.append({stationen[i].Name, i});
        }
    } else {
        for (const QString& teil : teile) {
            int index = 0;
            if (StationIndex(teil, index))
                liste.append({stationen[index].Name, index});
        }
    }
    return liste;
}

int StandardStation(const QString& eigenbesamungStationen)
{
    int index = BesamungConst::StationMeggle;
    StationIndex(eigenbesamungStationen.section(QLatin1Char(';'), 0, 0), index);
    return index;
}

int BesNrBY(int station, int nr, int anzahl)
{
    if (station == BesamungConst::StationRUW)
        return (std::max(anzahl, 1) - 1) % 9 + 1;
    return (std::max(nr, 1) - 1) % 3 + 1;
}

bool EigenerBesamungsschein(int station, int besNrBY)
{
    return station != BesamungConst::StationBVN || besNrBY == 1;
}

}  // namespace BesamungFunc
