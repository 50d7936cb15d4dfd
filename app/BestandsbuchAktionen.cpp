#include "BestandsbuchAktionen.h"

#include "Aktionsnamen.h"

#include "Bestandsbuch.h"

#include <Datenmodul.h>
#include <Haupt.h>

#include <stdexcept>

void BestandsbuchAktionenVerbinden(TfrmHaupt& haupt)
{
    haupt.Verbinden(Aktion::Bestandsbuch, [&haupt] {
        if (!DM())
            throw std::runtime_error("Das Bestandsbuch kann ohne Datenbank nicht geöffnet werden.");
        TfrmBestandsbuch dialog(DM()->Datenbank, &haupt);
        dialog.exec();
    });
}
