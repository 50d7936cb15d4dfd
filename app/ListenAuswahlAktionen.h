#pragma once

class TfrmHaupt;

// Gives the main window's list selection and premises filter their windows, and the design
// chooser of the built-in lists the list exchange file.
void ListenAuswahlAktionenVerbinden(TfrmHaupt& haupt);
