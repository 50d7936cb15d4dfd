#include "BesamungFunc.h"

#include "BesamungConst.h"

#include <QStringList>

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

}  // namespace BesamungFunc
