#include "HerdeAktionen.h"

#include "TierWahl.h"

#include <Haupt.h>

void HerdeAktionenVerbinden(TfrmHaupt& haupt)
{
    haupt.Verbinden(QStringLiteral("actTierLoeschen"), [&haupt] {
        haupt.TierLoeschen([&haupt] {
            QList<int> ids;
            QString sql;
            FTierWahl::TiereWaehlen(&haupt, 1, ids, sql, 1);
            return ids;
        });
    });
}
