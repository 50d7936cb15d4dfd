#pragma once

class TfrmHaupt;

// Gives the main window's herd statistics and the livestock register their windows.
void StatistikAktionenVerbinden(TfrmHaupt& haupt);
