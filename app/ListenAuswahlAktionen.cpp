#include "ListenAuswahlAktionen.h"

#include "Aktionsnamen.h"
#include "Haupt.h"

#include <FListenAuswahl.h>
#include <FListenDesign.h>
#include <FListenDesignBildschirm.h>
#include <FListenDesignDruck.h>
#include <FWahlBetriebListen.h>
#include <ListenAustausch.h>

#include <Datenmodul.h>
#include <InternListeWahl.h>

#include <ZRVCLUtils.h>

void ListenAuswahlAktionenVerbinden(TfrmHaupt& haupt)
{
    haupt.Verbinden(Aktion::ListenAuswahl, [&haupt] {
        TfrmListenAuswahl dialog(&haupt);
        // User lists run their stored statements: the editors get no data of a host.
        dialog.ListenDesignStarten = ListenDesignStarten;
        dialog.ListenDesignBildschirmStarten = [](QWidget* owner, int listeId) {
            ListenDesignBildschirmStarten(owner, listeId, QString());
        };
        dialog.ListenDesignDruckStarten = [](QWidget* owner, int listeId) {
            ListenDesignDruckStarten(owner, listeId, nullptr);
        };
        QObject::connect(&dialog, &TfrmListenAuswahl::ListenGeaendert, &haupt,
                         &TfrmHaupt::ErzeugeListenMenue);
        dialog.exec();
    });
    haupt.Verbinden(Aktion::BetriebsstaetteAuswahl,
                    [&haupt] { ZRVCLUtils::ShowDialog<TfrmWahlBetriebListen>(&haupt); });
    InternListeWahl::ListeInDateiSpeichern = [](int listeId, const QString& datei) {
        TListenDesignImExport(DM()->Datenbank).ListeExportieren(listeId, datei);
    };
    InternListeWahl::ListeAusDateiLaden = [](const QString& datei, const QString& listenTyp) {
        return TListenDesignImExport(DM()->Datenbank).ListeImportieren(datei, listenTyp);
    };
}
