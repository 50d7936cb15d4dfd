#pragma once

class TfrmHaupt;

// Gives the main window's herd actions their windows.
void HerdeAktionenVerbinden(TfrmHaupt& haupt);
