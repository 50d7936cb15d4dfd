#pragma once

#include "Hintergrundjob.h"
#include "ProgUpdate.h"

#include <ZRDialog.h>

#include <chrono>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

// The download of the installer off the GUI thread, with its progress; "Abbrechen" stops it and
// removes the part already loaded.
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
    // Declared after the file it writes: it ends before the file goes.
    std::unique_ptr<THintergrundjob> job_;
    QString fehler_;
    bool abbrechbar_ = true;
    bool gestartet_ = false;
    QLabel* info_ = nullptr;
    QProgressBar* balken_ = nullptr;
    QPushButton* knopf_ = nullptr;
};

// How long the search for a newer version may take in all before it is given up.
inline constexpr std::chrono::seconds PruefungZeitlimit{30};

// The whole check: version file, comparison, question, download, checksum. Returns the path of
// a verified installer to run at the program's end, or empty. Errors are shown here; none leaves.
// Forced mode skips the "already current" exit and the question (the data need a newer program).
// The version file is fetched off the GUI thread with a dialog that can cancel it.
QString ProgrammUpdate(bool zwang, QWidget* parent = nullptr,
                       std::chrono::milliseconds zeitlimit = PruefungZeitlimit);

// The start's update question when the check is due; the installer's path or empty.
QString UpdatePruefungBeimStart(QWidget* parent = nullptr);
