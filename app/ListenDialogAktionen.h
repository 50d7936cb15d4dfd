#pragma once

class TfrmHaupt;

// Gives the main window's search masks and built-in list dialogs (event list, calving journal,
// sent HIT reports, herd list by parameters) their windows.
void ListenDialogAktionenVerbinden(TfrmHaupt& haupt);
