#pragma once

#include <QString>

class TfrmHaupt;

// The wiring of the core's windows into the main window: settings, information and program
// update, backup and restore, the stored lists and the layout editors of the built-in lists.
void GrundeinstellungenVerbinden(TfrmHaupt& haupt);
void InfoAktionenVerbinden(TfrmHaupt& haupt, QString& updateDatei);
void SicherungsAktionenVerbinden(TfrmHaupt& haupt, QString& updateDatei);
void ListenfensterVerbinden(TfrmHaupt& haupt);

// Gives every action of the main window whose window is part of this version its effect.
void AlleAktionenVerbinden(TfrmHaupt& haupt, QString& updateDatei);
