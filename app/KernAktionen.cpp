#include "KernAktionen.h"

#include "Aktionsnamen.h"
#include "BehandlungAktionen.h"
#include "BestandsbuchAktionen.h"
#include "Haupt.h"
#include "HerdeAktionen.h"
#include "ListenAuswahlAktionen.h"
#include "ListenDialogAktionen.h"
#include "MilchAktionen.h"
#include "StatistikAktionen.h"

#include <Datenmodul.h>
#include <FGrundeinstellungen.h>
#include <FListeNormal.h>
#include <FListenDesignBildschirm.h>
#include <FListenDesignDruck.h>
#include <Grundeinstellungen.h>
#include <Informationen.h>
#include <InternListeWahl.h>
#include <FProgUpdate.h>
#include <SicherungFenster.h>

#include <Meldung.h>

#include <stdexcept>

void GrundeinstellungenVerbinden(TfrmHaupt& haupt)
{
    haupt.Verbinden(Aktion::Grundeinstellungen, [&haupt] {
        TEinstellungen* einstellungen = Einstellungen();
        TDM* dm = DM();
        if (!einstellungen || !dm || !dm->Datenbank.Connected())
            throw std::runtime_error(
                "Die Grundeinstellungen sind ohne Datenbankverbindung nicht verfügbar.");
        TfrmGrundeinstellungen dlg(*einstellungen, dm->Datenbank, &haupt);
        dlg.exec();
    });
}

void InfoAktionenVerbinden(TfrmHaupt& haupt, QString& updateDatei)
{
    haupt.Verbinden(Aktion::UpdateTest, [&haupt, &updateDatei] {
        if (Tools::MeldungConfirm(QStringLiteral(
                "Soll auf der Internetseite des Herstellers nach einer neueren Version von "
                "ZR Bovantis gesucht werden?\r\rDazu wird eine Internet-Verbindung benötigt, die "
                "Sie ggfs. vorher herstellen müssen.\r\rWollen Sie fortfahren?")) != Tools::mrYes)
            return;
        updateDatei = ProgrammUpdate(false, &haupt);
        if (!updateDatei.isEmpty())
            haupt.close();
    });
    haupt.Verbinden(Aktion::HilfeInfo, [&haupt] {
        TfrmInformation fenster(&haupt);
        fenster.exec();
    });
    haupt.Verbinden(Aktion::HilfeSystemInfo, [&haupt] {
        TfrmSystemInfo fenster(&haupt);
        fenster.exec();
    });
}

void SicherungsAktionenVerbinden(TfrmHaupt& haupt, QString& updateDatei)
{
    haupt.Verbinden(Aktion::Datensicherung, [&haupt] {
        if (TEinstellungen* einstellungen = Einstellungen()) {
            TfrmBackup dlg(*einstellungen, &haupt);
            dlg.exec();
        }
    });
    haupt.Verbinden(Aktion::Datenruecksicherung, [&haupt, &updateDatei] {
        if (!Einstellungen() || !haupt.RuecksicherungVorbereiten())
            return;
        TfrmRestore dlg(&haupt);
        dlg.UpdateDatei = &updateDatei;
        dlg.exec();
    });
}

void ListenfensterVerbinden(TfrmHaupt& haupt)
{
    const auto zeigen = [&haupt](int listeId, int betrieb) {
        FListeNormal::ListeAnzeigen(&haupt, listeId, betrieb, {}, false,
                                    [&haupt](TfrmListe*) { haupt.ZeigeHinweis(); });
    };
    haupt.SetListeAnzeigen(zeigen);
    InternListeWahl::ListenDesignBildschirmStarten = ListenDesignBildschirmStarten;
    InternListeWahl::ListenDesignDruckStarten = ListenDesignDruckStarten;
    haupt.Verbinden(Aktion::ListenTermine, [zeigen] {
        const TEinstellungen* e = Einstellungen();
        if (!e || e->GetTerminListe() <= 0)
            throw std::runtime_error("Es ist keine Terminliste eingestellt.");
        zeigen(e->GetTerminListe(), e->GetAktBetriebListen());
    });
}

void AlleAktionenVerbinden(TfrmHaupt& haupt, QString& updateDatei)
{
    InfoAktionenVerbinden(haupt, updateDatei);
    SicherungsAktionenVerbinden(haupt, updateDatei);
    GrundeinstellungenVerbinden(haupt);
    HerdeAktionenVerbinden(haupt);
    MilchTerminAktionenVerbinden(haupt);
    BestandsbuchAktionenVerbinden(haupt);
    BehandlungAktionenVerbinden(haupt);
    StatistikAktionenVerbinden(haupt);
    ListenfensterVerbinden(haupt);
    ListenAuswahlAktionenVerbinden(haupt);
    ListenDialogAktionenVerbinden(haupt);
}
