#pragma once

#include "BackupOptionen.h"

#include <BackupRestore.h>

#include <QWidget>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TEinstellungen;

// The program folder of the suite: the folder of this program, which is installed beside the
// main program; ends with "/".
QString GetProgrammverzeichnis();

// True when the main program runs for this user (it holds its per-user lock); a lock that cannot
// be checked counts as held.
bool HauptprogrammLaeuft();

// The backup program's window: backup or restore of the database of a program folder, started
// from the window or at once from the command line.
class TfrmHaupt : public QWidget {
    Q_OBJECT
public:
    // Throws std::runtime_error when the settings of the program folder cannot be read.
    explicit TfrmHaupt(const BackupOptionen& optionen, QWidget* parent = nullptr);
    ~TfrmHaupt() override;

    // The program's exit code: 0 unless the last action ended in a failure.
    int Ergebnis() const { return ergebnis_; }
    bool Ruecksicherung() const { return ruecksicherung_; }
    void SetRuecksicherung(bool ruecksicherung);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    void AusfuehrenClick();
    void ProtokollClick();
    void EinstSpeichernClick();
    void FortschrittAnzeigen(const QString& text);
    void SicherungAusfuehren();
    void RuecksicherungAusfuehren();
    // The settings and the backup object for the program folder.
    void EinstellungenErzeugen(const QString& programmverzeichnis);
    // The automatic backup without questions: it ends the program, also after a failure.
    bool StillerLauf() const;
    // An error: shown, or in the automatic backup without questions written to the error
    // output; then the exit code tells of it.
    void Fehler(const QString& text);
    void Fehlgeschlagen(const std::exception& e, const QString& meldung);
    void KnoepfeFreigeben(bool ausfuehren, bool rest);

    bool start_ = false;
    bool still_ = false;
    bool gestartet_ = false;
    bool ruecksicherung_ = false;
    int ergebnis_ = 0;
    std::unique_ptr<TEinstellungen> einstellungen_;
    std::unique_ptr<TBackupRestore> br_;

    QRadioButton* datensicherung_;
    QRadioButton* ruecksicherungKnopf_;
    QCheckBox* rechnerEinstellungen_;
    QLineEdit* programmverzeichnis_;
    QLineEdit* sicherungsdatei_;
    QPushButton* dateiWaehlen_;
    QPushButton* einstSpeichern_;
    QLabel* fortschritt_;
    QPushButton* ausfuehren_;
    QPushButton* protokoll_;
    QPushButton* ende_;
};
