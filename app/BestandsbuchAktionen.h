#pragma once

class TfrmHaupt;

// Gives the main window's medicine-register entry its dialog.
void BestandsbuchAktionenVerbinden(TfrmHaupt& haupt);
