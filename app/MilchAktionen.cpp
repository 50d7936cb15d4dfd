#include "MilchAktionen.h"

#include "Aktionsnamen.h"

#include "MLPEdit.h"
#include "Milchanlieferung.h"
#include "TerminListe.h"
#include "TerminVerwaltung.h"

#include <Datenmodul.h>
#include <FListeNormal.h>
#include <Grundeinstellungen.h>
#include <Haupt.h>
#include <Meldung.h>

#include <stdexcept>

namespace {

db::Database& Datenbank()
{
    if (!DM())
        throw std::runtime_error("Es besteht keine Verbindung zur Datenbank.");
    return DM()->Datenbank;
}

}  // namespace

void MilchTerminAktionenVerbinden(TfrmHaupt& haupt)
{
    haupt.Verbinden(Aktion::MLPBearbeiten, [&haupt] {
        TfrmMLPEdit fenster(Datenbank(), &haupt);
        fenster.exec();
    });
    haupt.Verbinden(Aktion::Milchanlieferung, [&haupt] {
        TfrmMilchanlieferung fenster(Datenbank(), &haupt);
        fenster.exec();
    });
    haupt.Verbinden(Aktion::TerminVerwaltung, [&haupt] {
        TfrmTerminVerwaltung fenster(Datenbank(), &haupt);
        fenster.exec();
    });
    haupt.Verbinden(Aktion::ErledigteTermine, [&haupt] {
        TfrmErledigteTermine fenster(Datenbank(), &haupt);
        fenster.exec();
    });
    FListeNormal::TerminErledigenDialog = [](QWidget* owner, int terminId, const QDate& datum,
                                             int tierId) {
        TfrmTerminErledigen dlg(Datenbank(), owner);
        dlg.Initialisieren(terminId, tierId, datum);
        return dlg.exec() == QDialog::Accepted;
    };
}

bool TerminfensterZeigen(QWidget* haupt)
{
    // A farm without a stored appointment list has nothing to be reminded of.
    const TEinstellungen* e = Einstellungen();
    if (!e || e->GetTerminListe() <= 0)
        return false;
    TfrmTerminListe fenster(Datenbank(), haupt);
    if (fenster.Ladefehler)
        return false;
    return fenster.Zeigen() == Tools::mrYes;
}

void TerminlisteBeimStart(TfrmHaupt& haupt)
{
    const TEinstellungen* e = Einstellungen();
    if (!e || !e->GetTerminProgStartAnzeigen() || e->GetTerminListe() <= 0)
        return;
    FListeNormal::ListeAnzeigen(&haupt, e->GetTerminListe(), e->GetAktBetriebListen(), {}, false,
                                [&haupt](TfrmListe*) { haupt.ZeigeHinweis(); });
}
