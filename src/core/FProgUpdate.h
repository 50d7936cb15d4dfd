#pragma once

#include "ProgUpdate.h"

#include <ZRDialog.h>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

// The download of the installer, with its progress; "Abbrechen" stops it and removes the part
// already loaded.
class TfrmProgUpdate : public TZRDialog {
    Q_OBJECT
public:
    TfrmProgUpdate(QString url, QWidget* parent = nullptr);
    ~TfrmProgUpdate() override;

    // The loaded installer after the dialog closed with OK; the caller takes it over.
    std::unique_ptr<ProgUpdate::Installerdatei> InstallerUebernehmen();
    // The transfer's error after the dialog closed because of it; else empty.
    const QString& Fehler() const { return fehler_; }

    QLabel* Info() const { return info_; }
    QProgressBar* Fortschrittsbalken() const { return balken_; }
    QPushButton* Knopf() const { return knopf_; }

    // While loading, every way of closing cancels the download.
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void Laden();

    QString url_;
    std::unique_ptr<ProgUpdate::Installerdatei> installer_;
    QString fehler_;
    bool abbrechbar_ = true;
    bool abgebrochen_ = false;
    bool gestartet_ = false;
    QLabel* info_ = nullptr;
    QProgressBar* balken_ = nullptr;
    QPushButton* knopf_ = nullptr;
};

// The whole check: version file, comparison, question, download, checksum. Returns the path of
// a verified installer to run at the program's end, or empty. Errors are shown here; none leaves.
// Forced mode skips the "already current" exit and the question (the data need a newer program).
QString ProgrammUpdate(bool zwang, QWidget* parent = nullptr);

// The start's update question when the check is due; the installer's path or empty.
QString UpdatePruefungBeimStart(QWidget* parent = nullptr);
