#pragma once

#include <QWizard>

#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class TZRcxGridDBTableView;

namespace Einrichtung {

class TWizardData;

// The setup wizard's window: seven pages passed in order, from the program folder over the
// database connection to the first farm data. Finish commits the farm data and writes the
// database name into the INI file; any other way out stores nothing.
class TfrmHaupt : public QWizard {
    Q_OBJECT
public:
    enum Seite {
        Willkommen,
        Allgemein,
        Datenbankverbindung,
        Rassen,
        Betriebsgruppen,
        Betriebsstaetten,
        Fertig
    };

    // The program folder preset: where the programs lie.
    explicit TfrmHaupt(const QString& programmverzeichnis, QWidget* parent = nullptr);
    ~TfrmHaupt() override;

    TWizardData& Daten() { return *daten_; }

    // Asks whether to end without saving; true on "Ja".
    bool AbbruchBestaetigen();
    // The connection test with the host and file as entered; with its report in a dialog.
    bool DatenbankTesten(bool mitDialog);
    // The ping test of the host as entered, in a dialog.
    bool ErreichbarkeitTesten();
    // Edits a holding or premises in the wizard's transaction; -1 for a new one.
    void BetriebsgruppeBearbeiten(int id);
    void BetriebsstaetteBearbeiten(int id);

    void reject() override;
    void accept() override;

private:
    QWizardPage* SeiteWillkommen();
    QWizardPage* SeiteAllgemein();
    QWizardPage* SeiteDatenbankverbindung();
    QWizardPage* SeiteRassen();
    QWizardPage* SeiteBetriebsgruppen();
    QWizardPage* SeiteBetriebsstaetten();
    QWizardPage* SeiteFertig();

    bool AllgemeinNextButtonClick();
    void AllgemeinExitPage();
    void DatenbankverbindungEnterPage();
    bool DatenbankverbindungNextButtonClick();
    void DatenbankverbindungExitPage();
    bool DatenbankAnlegenFragen(const QString& datei);
    void RassenEnterPage();
    void RasseHinzuClick();
    void RasseEntfClick();
    void BetriebsgruppenEnterPage();
    void GruppeEntfClick();
    void BetriebsstaettenEnterPage();
    void BetriebEntfClick();
    void GitterZeigen();
    void WegweiserZeigen(int seite);

    std::unique_ptr<TWizardData> daten_;
    // The window may close without asking.
    bool schliessen_ = false;
    QListWidget* wegweiser_ = nullptr;
    QLineEdit* programmverzeichnis_ = nullptr;
    QLineEdit* dbRechner_ = nullptr;
    QLineEdit* dbDatei_ = nullptr;
    QProgressBar* fortschritt_ = nullptr;
    TZRcxGridDBTableView* rassen_ = nullptr;
    TZRcxGridDBTableView* gruppen_ = nullptr;
    TZRcxGridDBTableView* staetten_ = nullptr;
};

}  // namespace Einrichtung
