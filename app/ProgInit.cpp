#include "ProgInit.h"

#include "DBUpdateFenster.h"
#include "DatenbankAnlegen.h"
#include "Datenmodul.h"
#include "FGrundeinstellungen.h"
#include "FProgUpdate.h"
#include "Grundeinstellungen.h"
#include "Haupt.h"
#include "Informationen.h"
#include "KernAktionen.h"
#include "MilchAktionen.h"
#include "Produkt.h"
#include "ProgrammEnde.h"
#include "SicherungFenster.h"
#include "Splash.h"

#include <AppInstance.h>
#include <Help.h>
#include <InstanceGuard.h>
#include <Query.h>
#include <Transaction.h>
#include <Meldung.h>
#include <ParamLst.h>
#include <Process.h>
#include <SystemInfo.h>
#include <ZRDebug.h>
#include <ZRcxGridLayout.h>

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QThread>

namespace {

const QString InitFehler = QStringLiteral(
    "Es ist ein Fehler bei der\rInitialisierung des Programms\rim Abschnitt >%1< aufgetreten.");
const QString EndeFehler =
    QStringLiteral("Es ist ein Fehler beim\rBeenden des Programms\rim Abschnitt >%1< aufgetreten.");

}  // namespace

TProgInit::Umgebung TProgInit::StandardUmgebung()
{
    Umgebung u;
    u.argumente = QCoreApplication::arguments().mid(1);
    u.bildschirmBreite = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->geometry().width() : 0;
    };
    u.jetzt = [] { return QDateTime::currentDateTime(); };
    u.benutzerName = [] { return platform::currentUserName(); };
    u.einrichtungStarten = TDBConnect::StandardUmgebung().einrichtungStarten;
    return u;
}

TProgInit::TProgInit(Umgebung umgebung) : umgebung_(std::move(umgebung)) {}

TProgInit::~TProgInit()
{
    // After a failed end phase: the settings work on the data module's connection.
    EinstellungenFreigeben();
    DMFreigeben();
}

QWidget* TProgInit::Hauptfenster() const
{
    return frmHaupt_.get();
}

void TProgInit::SetzeAbschnitt(const QString& name, bool trace)
{
    abschnitt_ = name;
    if (trace)
        ZRDebug::DebugMsg(name);
    if (umgebung_.beiAbschnitt)
        umgebung_.beiAbschnitt(name);
}

void TProgInit::ZeigeInitFehler(const QString& text, const std::exception& e)
{
    const QString fehler =
        ZRDebug::KlassenName(e) + QStringLiteral(": ") + QString::fromUtf8(e.what());
    ZRDebug::DebugMsg(fehler);
    Tools::MeldungError(text + QLatin1Char('\r') + fehler);
}

void TProgInit::SplashFreigeben()
{
    frmSplash_.reset();
}

int TProgInit::Ausfuehren()
{
    QApplication::setApplicationDisplayName(Produkt::Titel);
    // A signal ends the run through the same end phase as closing the main window.
    TProgrammEnde ende([this] { return Hauptfenster(); });
    const auto ergebnis = [](bool ok) { return ok || TProgrammEnde::Angefordert() ? 0 : 1; };
    if (!InitProgramm()) {
        UpdateStarten();
        const bool gewollt =
            zweiteInstanz_ || (parameter_ && parameter_->IsSwitch(QStringLiteral("DBUPDATE")));
        return ergebnis(gewollt);
    }
    ZRDebug::DebugMsg(QStringLiteral("Init Objekt Application"));
    if (!HauptfensterErzeugen())
        return ergebnis(false);
    ZRDebug::DebugMsg(QStringLiteral("InitProgramm2"));
    if (InitProgramm2()) {
        ZRDebug::DebugMsg(QStringLiteral("StartProgramm"));
        const bool gestartet = StartProgramm();
        if (gestartet && !TProgrammEnde::Angefordert())
            QApplication::exec();
        ZRDebug::DebugMsg(QStringLiteral("DeInitProgramm"));
        DeInitProgramm(gestartet);
        return 0;
    }
    ZRDebug::DebugMsg(QStringLiteral("DeInitProgramm"));
    DeInitProgramm(false);
    return ergebnis(false);
}

bool TProgInit::InitProgramm()
{
    abschnitt_.clear();
    try {
        updateDatei_.clear();

        // A second start of the same user brings the first one to the front and ends silently.
        appInstance_ = std::make_unique<platform::AppInstance>(Produkt::MutexName +
                                                               umgebung_.benutzerName().toUpper());
        if (appInstance_->anotherInstanceRuns()) {
            zweiteInstanz_ = true;
            return false;
        }
        benutzerMutex_ = platform::InstanceGuard::tryAcquire(Produkt::MutexName +
                                                             umgebung_.benutzerName().toUpper());
        if (!benutzerMutex_) {
            zweiteInstanz_ = true;
            return false;
        }

        SetzeAbschnitt(QStringLiteral("Parameter"), false);
        parameter_ = std::make_unique<TParameter>(false, umgebung_.argumente);
        hauptfensterZeigen_ = !parameter_->IsSwitch(QStringLiteral("HINWEISE"));

        SetzeAbschnitt(QStringLiteral("Protokollierung"), false);
        InitProtokollierung();

        SetzeAbschnitt(QStringLiteral("Bildschirm"), true);
        if (!PruefeBildschirm())
            return false;

        splashEnde_ = umgebung_.jetzt().addSecs(1);

        SetzeAbschnitt(QStringLiteral("Grundeinstellungen"), true);
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        SicherungsResteEntfernen(*Einstellungen());
        // The shared grids keep their layouts in the workstation's INI file.
        ZRcxGrid::SetZRcxGridLayoutIniFile(Einstellungen()->IniDateipfad());
        platform::Help::setHelpFile(platform::programFolder() + QLatin1Char('/') +
                                    Produkt::HilfeDatei);
        const bool dbUpdate = parameter_->IsSwitch(QStringLiteral("DBUPDATE"));
        if (!dbUpdate && !parameter_->IsSwitch(QStringLiteral("DEBUG")) &&
            !parameter_->IsSwitch(QStringLiteral("HINWEISE"))) {
            frmSplash_ = std::make_unique<TfrmSplash>();
            frmSplash_->show();
            frmSplash_->repaint();
        }
        if (parameter_->IsSwitch(QStringLiteral("UPDATED")))
            Tools::MeldungInfo(QStringLiteral(
                "Das Update wurde abgeschlossen.\rZR Bovantis wird nun wieder gestartet."));
        // What killed updates left in the temporary folder; beside the database the update
        // itself finds its copies.
        ProgUpdate::ResteEntfernen();
        // The first start makes the database that the update then checks.
        ErsteDatenbankAnlegen();
        const bool ergebnis =
            DatenbankAktualisieren(*Einstellungen(), updateDatei_, nullptr, Verbindung()) &&
            !dbUpdate;
        if (!ergebnis)
            SplashFreigeben();
        return ergebnis;
    } catch (const std::exception& e) {
        ZeigeInitFehler(InitFehler.arg(abschnitt_), e);
        return false;
    }
}

void TProgInit::InitProtokollierung()
{
    if (parameter_->IsSwitch(QStringLiteral("DEBUG")) ||
        parameter_->IsSwitch(QStringLiteral("PROTOKOLL")))
        ZRDebug::SetDebugFile(false);
    if (umgebung_.jetzt().date().dayOfWeek() == 3)
        ZRDebug::DebugClear();
    ZRDebug::DebugMsg(QStringLiteral("Programmstart"));
}

bool TProgInit::PruefeBildschirm()
{
    if (umgebung_.bildschirmBreite() >= 800)
        return true;
    Tools::MeldungError(QStringLiteral(
        "Um das Programm verwenden zu können ist mindestens\reine Bildschirmauflösung "
        "von\r\r         800 x 600 Bildpunkten in 256 Farben\r\rerforderlich!"));
    return false;
}

bool TProgInit::HauptfensterErzeugen()
{
    try {
        auto fenster = std::make_unique<TfrmHaupt>();
        fenster->SetUpdateDatei([this] { return updateDatei_; });
        AlleAktionenVerbinden(*fenster, updateDatei_);
        frmHaupt_ = std::move(fenster);
        QObject::connect(appInstance_.get(), &platform::AppInstance::activationRequested,
                         frmHaupt_.get(), [w = frmHaupt_.get()] {
                             w->showNormal();
                             w->raise();
                             w->activateWindow();
                         });
        return true;
    } catch (const std::exception&) {
        Tools::MeldungError(
            QStringLiteral("Bei der Initialisierung des Programms ist ein Fehler aufgetreten!"));
        return false;
    }
}

bool TProgInit::InitProgramm2()
{
    try {
        SetzeAbschnitt(QStringLiteral("Datendateien"), true);
        if (!DatenInitialisieren()) {
            SplashFreigeben();
            return false;
        }
        // A downloaded installer ends the start here; the end phase runs it.
        updateDatei_ = UpdatePruefungBeimStart(frmHaupt_.get());
        if (!updateDatei_.isEmpty()) {
            SplashFreigeben();
            return false;
        }

        SetzeAbschnitt(QStringLiteral("Terminfenster 1"), true);
        if (!parameter_->IsSwitch(QStringLiteral("HINWEISE"))) {
            frmHaupt_->show();
            while (umgebung_.jetzt() < splashEnde_) {
                QCoreApplication::processEvents();
                QThread::msleep(10);
            }
        }

        SetzeAbschnitt(QStringLiteral("Terminfenster 2"), true);
        auto* haupt = dynamic_cast<TfrmHaupt*>(frmHaupt_.get());
        if (parameter_->IsSwitch(QStringLiteral("HINWEISE"))) {
            hauptfensterZeigen_ = TerminfensterZeigen(frmHaupt_.get());
            if (hauptfensterZeigen_) {
                frmHaupt_->show();
                if (haupt)
                    haupt->Aktivieren();
            }
        }
        if (hauptfensterZeigen_ && haupt)
            TerminlisteBeimStart(*haupt);

        SplashFreigeben();
        return true;
    } catch (const std::exception& e) {
        SplashFreigeben();
        ZeigeInitFehler(InitFehler.arg(abschnitt_), e);
        return false;
    }
}

void TProgInit::ErsteDatenbankAnlegen()
{
    // Only the first start makes the empty herd database. A database that the INI file names and
    // that is missing (a USB stick not plugged in, a renamed folder) is the connection's failure
    // to report, with the setup wizard; a new empty one there would hide the farmer's data.
    const TEinstellungen& einstellungen = *Einstellungen();
    if (!einstellungen.ErsterStart())
        return;
    const QString standard = einstellungen.StandardDatenbankName();
    // Read without writing the default: a first start that fails here is again a first start.
    if (einstellungen.IniDatei().LesenString(QStringLiteral("Datenbank"), QStringLiteral("Name"),
                                             standard) == standard)
        DatenbankAnlegen::FehlendeAnlegen(standard);
}

TDBConnect::Umgebung TProgInit::Verbindung() const
{
    TDBConnect::Umgebung verbindung = TDBConnect::StandardUmgebung();
    verbindung.einrichtungStarten = umgebung_.einrichtungStarten;
    return verbindung;
}

bool TProgInit::DatenInitialisieren()
{
    // The connection routine has shown its messages and started the setup wizard.
    if (!DM()->Verbinden(Verbindung()))
        return false;
    db::Transaction tr(DM()->Datenbank, QStringLiteral("InitDaten"));
    tr.Start();
    db::Query q(tr, QStringLiteral("EXECUTE PROCEDURE P_INIT_DATEN"));
    q.Execute();
    tr.Commit();
    if (auto* haupt = dynamic_cast<TfrmHaupt*>(frmHaupt_.get())) {
        haupt->AktBetriebListeChange();
        haupt->ErzeugeListenMenue();
    }
    return true;
}

bool TProgInit::StartProgramm()
{
    ZRDebug::DebugMsg(QStringLiteral("Programm starten..."));
    QDir().mkpath(platform::tempFolder());
    return hauptfensterZeigen_;
}

void TProgInit::DeInitProgramm(bool hauptfensterGezeigt)
{
    try {
        if (frmHaupt_)
            frmHaupt_->hide();

        if (Einstellungen() && hauptfensterGezeigt && Einstellungen()->AutoSicherungFaellig()) {
            SetzeAbschnitt(QStringLiteral("Auto-Sicherung"), true);
            AutoSicherungDurchfuehren(*Einstellungen());
        }

        SetzeAbschnitt(QStringLiteral("Update starten"), true);
        UpdateStarten();

        SetzeAbschnitt(QStringLiteral("Grundeinstellungen beenden"), true);
        EinstellungenFreigeben();

        SetzeAbschnitt(QStringLiteral("Datenbank trennen"), true);
        try {
            if (DM())
                DM()->Trennen();
        } catch (const std::exception& e) {
            ZRDebug::DebugMsg(QStringLiteral("Datenbank trennen: ") + QString::fromUtf8(e.what()));
        }
        DMFreigeben();

        SetzeAbschnitt(QStringLiteral("Parameter"), true);
        parameter_.reset();
        ZRDebug::DebugMsg(QStringLiteral("Programmende"));
    } catch (const std::exception& e) {
        ZeigeInitFehler(EndeFehler.arg(abschnitt_), e);
    }
}

void TProgInit::UpdateStarten()
{
    if (!benutzerMutex_ || updateDatei_.isEmpty())
        return;
    if (Einstellungen() && !SicherungVorUpdate(*Einstellungen(), umgebung_.jetzt()))
        return;
    benutzerMutex_.reset();
    const QString ordner = QDir::toNativeSeparators(platform::programFolder() + QLatin1Char('/'));
    platform::startDetached(updateDatei_,
                            {QStringLiteral("/SP-"), QStringLiteral("/SILENT"),
                             QStringLiteral("/NOICONS"), QStringLiteral("/DIR=") + ordner});
}
