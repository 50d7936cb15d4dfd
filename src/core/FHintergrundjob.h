#pragma once

#include "Hintergrundjob.h"

#include <ZRDialog.h>

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;

// The face of a dialog that waits for long work: what it does, a line of its state, the progress
// bar (moving until a total is known) and one button, "Abbrechen".
struct TFortschrittsanzeige {
    QLabel* info;
    QProgressBar* balken;
    QPushButton* knopf;
};
TFortschrittsanzeige FortschrittsanzeigeAufbauen(QDialog& dialog, const QString& text);

// A running job, modal: what it does, its progress and "Abbrechen". Closes itself when the work
// has ended; every way of closing it before cancels the work.
class TfrmHintergrundjob : public TZRDialog {
    Q_OBJECT
public:
    TfrmHintergrundjob(THintergrundjob& job, const QString& titel, const QString& text,
                       QWidget* parent = nullptr);

    // Starts the job and shows the dialog until the work has ended.
    THintergrundjob::Ende Ausfuehren();

    QLabel* Info() const { return info_; }
    QProgressBar* Fortschrittsbalken() const { return balken_; }
    QPushButton* Knopf() const { return knopf_; }

    void reject() override;

private:
    THintergrundjob& job_;
    QLabel* info_;
    QProgressBar* balken_;
    QPushButton* knopf_;
};
