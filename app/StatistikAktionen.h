#pragma once

class TfrmHaupt;

// Gives the main window's herd statistics their windows.
void StatistikAktionenVerbinden(TfrmHaupt& haupt);
