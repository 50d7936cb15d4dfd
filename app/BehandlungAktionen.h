#pragma once

class TfrmHaupt;

// Gives the main window's treatment actions their windows.
void BehandlungAktionenVerbinden(TfrmHaupt& haupt);
