#include "ListenDialogAktionen.h"

#include "Aktionsnamen.h"
#include "Haupt.h"

#include <FBestandslisteParameter.h>
#include <FEreignisliste.h>
#include <FGesendeteHITMeldungen.h>
#include <FKalbeJournal.h>
#include <FSuchmasken.h>

#include <Datenmodul.h>

namespace {

template <class D>
void Zeigen(TfrmHaupt& haupt)
{
    D dialog(DM()->Datenbank, &haupt);
    dialog.exec();
}

}  // namespace

void ListenDialogAktionenVerbinden(TfrmHaupt& haupt)
{
    haupt.Verbinden(Aktion::Suchmasken, [&haupt] { Zeigen<TfrmSuchmasken>(haupt); });
    haupt.Verbinden(Aktion::Ereignisliste, [&haupt] { Zeigen<TfrmEreignisliste>(haupt); });
    haupt.Verbinden(Aktion::KalbeJournal, [&haupt] { Zeigen<TfrmKalbeJournal>(haupt); });
    haupt.Verbinden(Aktion::GesendeteHITMeldungen,
                    [&haupt] { Zeigen<TfrmGesendeteHITMeldungen>(haupt); });
    haupt.Verbinden(Aktion::BestandslisteParameter,
                    [&haupt] { Zeigen<TfrmBestandslisteParameter>(haupt); });
}
