#include "StatistikAktionen.h"

#include "Aktionsnamen.h"

#include <FBesamungsindexStatistik.h>
#include <FMilchanlieferungStatistik.h>
#include <FTierbestandStatistik.h>
#include <FViehverzeichnis.h>
#include <FZwischenkalbezeitStatistik.h>

#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <Haupt.h>

#include <stdexcept>

namespace {

db::Database& Datenbank()
{
    if (!DM() || !DM()->Datenbank.Connected())
        throw std::runtime_error("Die Statistik kann ohne Datenbank nicht geöffnet werden.");
    return DM()->Datenbank;
}

}  // namespace

void StatistikAktionenVerbinden(TfrmHaupt& haupt)
{
    haupt.Verbinden(Aktion::TierbestandStatistik,
                    [&haupt] { TierbestandStatistikAnzeigen(&haupt, &haupt, Datenbank()); });
    haupt.Verbinden(Aktion::MilchanlieferungStatistik,
                    [&haupt] { MilchanlieferungStatistikAnzeigen(&haupt, &haupt, Datenbank()); });
    haupt.Verbinden(Aktion::ZwischenkalbezeitStatistik,
                    [&haupt] { ZwischenkalbezeitStatistikAnzeigen(&haupt, &haupt, Datenbank()); });
    haupt.Verbinden(Aktion::BesamungsindexStatistik,
                    [&haupt] { BesamungsindexStatistikAnzeigen(&haupt, &haupt, Datenbank()); });
    haupt.Verbinden(Aktion::Viehverzeichnis, [&haupt] {
        db::Database& datenbank = Datenbank();
        if (!Einstellungen())
            throw std::runtime_error("Das Viehverzeichnis braucht die Einstellungen.");
        TfrmViehverzeichnis fenster(*Einstellungen(), datenbank, &haupt);
        fenster.exec();
    });
}
