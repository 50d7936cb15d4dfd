#pragma once

#include "BackupRestore.h"

#include <ZRDialog.h>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TEinstellungen;

// What the windows take from the settings: connection, password and INI file.
void SicherungEinrichten(TBackupRestore& br, TEinstellungen& einstellungen);

// Removes what killed backups and restores left in the temporary folder and beside the
// database and the archives; for the start.
QStringList SicherungsResteEntfernen(const TEinstellungen& einstellungen);

// Manual backup.
class TfrmBackup : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmBackup(TEinstellungen& einstellungen, QWidget* owner = nullptr);
    TBackupRestore& Sicherung() { return br_; }
    QLineEdit* Datei() const { return datei_; }
    QLabel* Fortschritt() const { return fortschritt_; }

private:
    void Ausfuehren();

    TEinstellungen& einstellungen_;
    TBackupRestore br_;
    QLineEdit* datei_;
    QLabel* fortschritt_;
    QPushButton* ausfuehren_;
    QPushButton* protokoll_;
    QPushButton* schliessen_;
};

// The automatic backup into the given archive, or into the next file of the ring. The window
// shows while it runs; failures are shown with the protocol. True when the backup was made.
bool AutoSicherungDurchfuehren(TEinstellungen& einstellungen, const QString& archiv = {});

// "Update-dd.mm.yyyy-hh-nn-ss.zip" in the automatic backup's folder.
QString UpdateSicherungsname(const TEinstellungen& einstellungen, const QDateTime& zeitpunkt);
// The backup before a program update is installed. When it fails the user decides whether the
// update runs all the same; returns true when it may.
bool SicherungVorUpdate(TEinstellungen& einstellungen, const QDateTime& zeitpunkt);

// Restore. After its run the program works on the restored data, or on the old data when the
// restore failed; when neither is possible it ends.
class TfrmRestore : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmRestore(QWidget* owner = nullptr);
    TBackupRestore& Sicherung() { return br_; }
    QLineEdit* Datei() const { return datei_; }
    QCheckBox* MitIni() const { return mitIni_; }
    QLabel* Fortschritt() const { return fortschritt_; }
    // Ends the program after a failure it cannot go on from; the application's quit unless set.
    std::function<void()> ProgrammBeenden;
    // Receives the installer that the update offer of the restored data's version check loaded.
    QString* UpdateDatei = nullptr;

private:
    void Ausfuehren();
    void DatenFreigeben();
    void NachRuecksicherung();

    TBackupRestore br_;
    bool freigegeben_ = false;
    QLineEdit* datei_;
    QCheckBox* mitIni_;
    QLabel* fortschritt_;
    QPushButton* ausfuehren_;
    QPushButton* protokoll_;
    QPushButton* schliessen_;
};
