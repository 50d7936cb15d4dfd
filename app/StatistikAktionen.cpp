#include "StatistikAktionen.h"

#include "Aktionsnamen.h"

#include <FTierbestandStatistik.h>

#include <Datenmodul.h>
#include <Haupt.h>

#include <stdexcept>

void StatistikAktionenVerbinden(TfrmHaupt& haupt)
{
    haupt.Verbinden(Aktion::TierbestandStatistik, [&haupt] {
        if (!DM() || !DM()->Datenbank.Connected())
            throw std::runtime_error("Die Statistik kann ohne Datenbank nicht geöffnet werden.");
        TierbestandStatistikAnzeigen(&haupt, &haupt, DM()->Datenbank);
    });
}
