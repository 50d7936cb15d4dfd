#pragma once

class QWidget;
class TfrmHaupt;

// Gives the main window's milk-recording, milk-delivery and appointment actions their windows,
// and the list windows the completion of appointments.
void MilchTerminAktionenVerbinden(TfrmHaupt& haupt);

// The reminder start: shows the due appointments over the main window; true when the user asked
// for the whole program. Without a stored appointment list nothing is shown (false).
bool TerminfensterZeigen(QWidget* haupt);

// After the main window appears at start: the appointment list when the farm wants it then.
void TerminlisteBeimStart(TfrmHaupt& haupt);
