#pragma once

#include "DBConnect.h"
#include "DBUpdate.h"

#include <ZRDialog.h>

class QLabel;
class QProgressBar;
class TEinstellungen;

// Shows which update step runs while the database update works.
class TfrmDBUpdate : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmDBUpdate(QWidget* owner = nullptr);
    void Anzeigen(const QString& text, int fertig, int gesamt);

    QLabel* Text() const { return text_; }
    QProgressBar* Balken() const { return balken_; }

private:
    QLabel* text_;
    QProgressBar* balken_;
};

// The update as the program runs it: on the database the settings name, with the archive in the
// program folder, the program's messages, the station choice and the offer of a program update.
// The progress window appears when the first step begins.
TDMUpdate::Umgebung DBUpdateUmgebung(
    const TEinstellungen& einstellungen, QWidget* owner = nullptr,
    const TDBConnect::Umgebung& verbindung = TDBConnect::StandardUmgebung());

// Checks the database's version and updates it; false when the program must not go on. A program
// installer the update offer downloaded goes into updateDatei.
bool DatenbankAktualisieren(
    const TEinstellungen& einstellungen, QString& updateDatei, QWidget* owner = nullptr,
    const TDBConnect::Umgebung& verbindung = TDBConnect::StandardUmgebung());
