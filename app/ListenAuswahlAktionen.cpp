#include "ListenAuswahlAktionen.h"

#include "Aktionsnamen.h"
#include "Haupt.h"

#include <FListenAuswahl.h>
#include <FWahlBetriebListen.h>
#include <ListenAustausch.h>

#include <Datenmodul.h>
#include <InternListeWahl.h>

#include <ZRVCLUtils.h>

void ListenAuswahlAktionenVerbinden(TfrmHaupt& haupt)
{
    haupt.Verbinden(Aktion::ListenAuswahl, [&haupt] {
        TfrmListenAuswahl dialog(&haupt);
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
