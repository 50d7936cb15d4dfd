#include "HerdeAktionen.h"

#include "Aktionsnamen.h"

#include "BullenStammdaten.h"
#include "Container.h"
#include "Medikamente.h"
#include "Stammdaten.h"
#include "StammdatenNeueBetriebsstaette.h"
#include "TierWahl.h"

#include <Datenmodul.h>
#include <Haupt.h>

void HerdeAktionenVerbinden(TfrmHaupt& haupt)
{
    haupt.Verbinden(Aktion::StammdatenNeu, [&haupt] {
        TfrmStammdaten karte(&haupt);
        karte.TierAnzeigen(0, 1, {});
        karte.exec();
    });
    haupt.Verbinden(Aktion::StammdatenBearbeiten, [&haupt] {
        int id = 0;
        QString sql;
        if (!FTierWahl::TierWaehlen(&haupt, 0, id, sql) || id <= 0)
            return;
        TfrmStammdaten karte(&haupt);
        karte.TierAnzeigen(id, 0, sql);
        karte.exec();
    });
    haupt.Verbinden(Aktion::BetriebWechsel, [&haupt] {
        haupt.BetriebWechsel(
            [&haupt] {
                QList<int> ids;
                QString sql;
                if (!FTierWahl::TiereWaehlen(&haupt, 2, ids, sql, 1))
                    ids.clear();
                return ids;
            },
            [&haupt](QDate& datum, int& stall) {
                return FNeueBetriebsstaette::NeueBetriebsstaetteWaehlen(&haupt, datum, stall);
            });
    });
    haupt.Verbinden(Aktion::TierLoeschen, [&haupt] {
        haupt.TierLoeschen([&haupt] {
            QList<int> ids;
            QString sql;
            FTierWahl::TiereWaehlen(&haupt, 1, ids, sql, 1);
            return ids;
        });
    });
    haupt.Verbinden(Aktion::Medikamente,
                    [&haupt] { TfrmMedikamente::Oeffnen(DM()->Datenbank, &haupt); });
    haupt.Verbinden(Aktion::BullenStammdaten, [&haupt] {
        TfrmBullenStammdaten bullen(&haupt);
        bullen.exec();
    });
    haupt.Verbinden(Aktion::Besamungscontainer, [&haupt] { FContainer::ContainerOeffnen(&haupt); });
}
