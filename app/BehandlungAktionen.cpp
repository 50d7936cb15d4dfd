#include "BehandlungAktionen.h"

#include "Aktionsnamen.h"

#include "Gruppenbehandlung.h"
#include "TierWahl.h"

#include <Haupt.h>

void BehandlungAktionenVerbinden(TfrmHaupt& haupt)
{
    haupt.Verbinden(Aktion::Gruppenbehandlung, [&haupt] {
        QList<int> tiere;
        QString sql;
        if (!FTierWahl::TiereWaehlen(&haupt, 3, tiere, sql, 1) || tiere.isEmpty())
            return;
        TfrmGruppenbehandlung dialog(&haupt);
        dialog.TiereSetzen(&tiere);
        dialog.exec();
    });
}
