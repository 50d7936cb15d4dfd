#pragma once

#include <DBConnect.h>

#include <QDateTime>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <exception>
#include <functional>
#include <memory>

class QWidget;
class TParameter;
class TfrmSplash;

namespace platform {
class AppInstance;
class InstanceGuard;
}  // namespace platform

// The main program's start and end sequence. Each phase keeps the name of its current section; a
// failure inside a phase is shown with that name and the phase reports failure.
class TProgInit {
public:
    // What the sequence asks of its surroundings; tests replace single entries.
    struct Umgebung {
        QStringList argumente;  // the command line without the program
        std::function<int()> bildschirmBreite;
        std::function<QDateTime()> jetzt;
        std::function<QString()> benutzerName;
        // Called whenever a section is entered, before its work (tests provoke failures here).
        std::function<void(const QString& abschnitt)> beiAbschnitt;
        // Starts the setup wizard after a failed connection; true when it runs.
        std::function<bool()> einrichtungStarten;
    };
    static Umgebung StandardUmgebung();

    explicit TProgInit(Umgebung umgebung);
    ~TProgInit();
    TProgInit(const TProgInit&) = delete;
    TProgInit& operator=(const TProgInit&) = delete;

    // The whole run as the main block does it; returns the process's exit code.
    int Ausfuehren();

    bool InitProgramm();
    // Creates the main window; false (after its message) when that fails.
    bool HauptfensterErzeugen();
    bool InitProgramm2();
    bool StartProgramm();
    void DeInitProgramm(bool hauptfensterGezeigt);
    void UpdateStarten();

    const QString& Abschnitt() const { return abschnitt_; }
    bool HauptfensterZeigen() const { return hauptfensterZeigen_; }
    const QString& UpdateDatei() const { return updateDatei_; }
    QWidget* Hauptfenster() const;
    const TParameter* Parameter() const { return parameter_.get(); }
    // True when this process holds the per-user lock.
    bool BenutzerMutexGehalten() const { return benutzerMutex_ != nullptr; }
    bool ZweiteInstanz() const { return zweiteInstanz_; }

private:
    void SetzeAbschnitt(const QString& name, bool trace);
    void InitProtokollierung();
    bool PruefeBildschirm();
    void ErsteDatenbankAnlegen();
    bool DatenInitialisieren();
    // The connection routine, with this start's way of starting the setup wizard.
    TDBConnect::Umgebung Verbindung() const;
    void ZeigeInitFehler(const QString& text, const std::exception& e);
    void SplashFreigeben();

    Umgebung umgebung_;
    QString abschnitt_;
    QString updateDatei_;
    bool hauptfensterZeigen_ = false;
    bool zweiteInstanz_ = false;
    QDateTime splashEnde_;
    std::unique_ptr<platform::AppInstance> appInstance_;
    std::unique_ptr<platform::InstanceGuard> benutzerMutex_;
    std::unique_ptr<TParameter> parameter_;
    std::unique_ptr<TfrmSplash> frmSplash_;
    std::unique_ptr<QWidget> frmHaupt_;
};
