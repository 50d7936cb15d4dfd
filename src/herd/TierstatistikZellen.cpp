#include "TierstatistikZellen.h"

#include <QColor>

#include <algorithm>

TTierstatistikRaster TierstatistikRaster(int anzahl, int bildschirmBreite)
{
    TTierstatistikRaster r;
    r.spalten = std::max(1, std::min(anzahl, bildschirmBreite / TTierstatistikZellen::Breite));
    r.zeilen = std::max(1, anzahl / r.spalten + (anzahl % r.spalten ? 1 : 0));
    return r;
}

int TTierstatistikZellen::Finden(int tierID, std::uint8_t art) const
{
    for (std::size_t i = 0; i < zellen_.size(); ++i)
        if (zellen_[i]->TierID == tierID && zellen_[i]->Art == art)
            return int(i);
    return -1;
}

int TTierstatistikZellen::Hinzufuegen(int tierID, std::uint8_t art, bool& neu)
{
    const int vorhanden = Finden(tierID, art);
    neu = vorhanden < 0;
    if (!neu)
        return vorhanden;
    auto zelle = std::make_unique<TTierstatistikItem>();
    zelle->TierID = tierID;
    zelle->Art = art;
    zelle->Bitmap = QImage(Breite, Hoehe, QImage::Format_RGB32);
    zelle->Bitmap.fill(Qt::white);
    zellen_.push_back(std::move(zelle));
    return Anzahl() - 1;
}

int TTierstatistikZellen::Entfernen(int index)
{
    if (index < 0 || index >= Anzahl())
        return -1;
    zellen_.erase(zellen_.begin() + index);
    return zellen_.empty() ? -1 : std::min(index, Anzahl() - 1);
}
