#include "FProgUpdate.h"

#include "FHintergrundjob.h"
#include "Grundeinstellungen.h"

#include <CheckMessageBox.h>
#include <Meldung.h>

#include <QDateTime>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <optional>

using namespace ProgUpdate;

TfrmProgUpdate::TfrmProgUpdate(QString url, QWidget* parent)
    : TZRDialog(parent), url_(std::move(url))
{
    setWindowTitle(QStringLiteral("Update laden...."));
    const TFortschrittsanzeige anzeige = FortschrittsanzeigeAufbauen(
        *this, QStringLiteral("Lade aktuelles Update für ZR Bovantis...."));
    info_ = anzeige.info;
    balken_ = anzeige.balken;
    knopf_ = anzeige.knopf;
    connect(knopf_, &QPushButton::clicked, this, [this] {
        if (abbrechbar_)
            reject();
        else
            accept();
    });
}

TfrmProgUpdate::~TfrmProgUpdate() = default;

std::unique_ptr<Installerdatei> TfrmProgUpdate::InstallerUebernehmen()
{
    if (result() != Accepted)
        return {};
    return std::move(installer_);
}

void TfrmProgUpdate::showEvent(QShowEvent* e)
{
    TZRDialog::showEvent(e);
    if (!gestartet_) {
        gestartet_ = true;
        QTimer::singleShot(0, this, &TfrmProgUpdate::Laden);
    }
}

void TfrmProgUpdate::Laden()
{
    abbrechbar_ = true;
    try {
        installer_ = std::make_unique<Installerdatei>();
    } catch (const EUpdateFehler& e) {
        fehler_ = e.Text();
        abbrechbar_ = false;
        reject();
        return;
    }
    job_ = std::make_unique<THintergrundjob>(
        [installer = installer_.get(), url = url_](THintergrundjob::Kontext& k) {
            installer->Laden(url, [&k](qint64 geladen, qint64 gesamt) {
                k.Fortschritt(geladen, gesamt);
                return !k.Abbrechen();
            });
        });
    bool verbunden = false;
    connect(job_.get(), &THintergrundjob::Fortschritt, this,
            [this, verbunden](qint64 geladen, qint64 gesamt) mutable {
                if (!verbunden && (geladen > 0 || gesamt > 0)) {
                    verbunden = true;
                    info_->setText(QStringLiteral("Verbunden"));
                }
                if (gesamt > 0 && balken_->maximum() != int(gesamt / 1024))
                    balken_->setRange(0, int(gesamt / 1024));
                balken_->setValue(int(geladen / 1024));
            });
    connect(job_.get(), &THintergrundjob::Beendet, this, [this](THintergrundjob::Ende ende) {
        if (ende == THintergrundjob::Ende::Abgebrochen)
            return;  // the dialog closed with the cancel
        if (ende != THintergrundjob::Ende::Fertig) {
            fehler_ = job_->Fehler();
            // Failed: nothing of the download stays behind.
            installer_.reset();
            abbrechbar_ = false;
            reject();
            return;
        }
        abbrechbar_ = false;
        balken_->setRange(0, 1);
        balken_->setValue(1);
        knopf_->setText(QStringLiteral("Weiter >"));
        info_->setText(QStringLiteral("Download ist abgeschlossen"));
    });
    job_->Starten();
}

void TfrmProgUpdate::reject()
{
    if (abbrechbar_ && job_)
        job_->Abbrechen();
    TZRDialog::reject();
}

namespace {

// The version file, fetched off the GUI thread while a dialog offers to cancel; empty when the
// user cancelled.
std::optional<QByteArray> VersionsdateiLaden(const Adresse& adresse, QWidget* parent,
                                             std::chrono::milliseconds zeitlimit)
{
    QByteArray inhalt;
    THintergrundjob job([&inhalt, url = adresse.Versionsdatei()](THintergrundjob::Kontext& k) {
        inhalt = TextLaden(url, [&k](qint64, qint64) { return !k.Abbrechen(); });
    });
    job.SetZeitlimit(zeitlimit);
    TfrmHintergrundjob dialog(job, QStringLiteral("Update suchen"),
                              QStringLiteral("Suche nach einer neueren Version von ZR "
                                             "Bovantis...."),
                              parent);
    dialog.Info()->setText(QStringLiteral("Verbindung zum Update-Server..."));
    switch (dialog.Ausfuehren()) {
        case THintergrundjob::Ende::Fertig:
            return inhalt;
        case THintergrundjob::Ende::Zeitueberschritten:
            throw EUpdateFehler(
                QStringLiteral("Der Update-Server hat nicht innerhalb von %1 Sekunden "
                               "geantwortet.\rBitte prüfen Sie die Internet-Verbindung und "
                               "versuchen Sie es später erneut.")
                    .arg(std::chrono::duration_cast<std::chrono::seconds>(zeitlimit).count()));
        case THintergrundjob::Ende::Fehler:
            throw EUpdateFehler(job.Fehler());
        case THintergrundjob::Ende::Abgebrochen:
        case THintergrundjob::Ende::Laeuft:
            break;
    }
    return std::nullopt;
}

}  // namespace

QString ProgrammUpdate(bool zwang, QWidget* parent, std::chrono::milliseconds zeitlimit)
{
    Einstellungen()->SetUpdateLastCheck(QDateTime::currentDateTime());
    try {
        const Adresse adresse = UpdateAdresse();
        // Fetched in the forced mode too: it names the installer's checksum.
        const std::optional<QByteArray> versionsdatei =
            VersionsdateiLaden(adresse, parent, zeitlimit);
        if (!versionsdatei)
            return {};
        const Versionsdatei aktuell = VersionsdateiLesen(*versionsdatei);
        if (!zwang && aktuell.version == GetProgrammVersionUpdate()) {
            Tools::MeldungInfo(
                QStringLiteral("Sie haben die aktuellste Version installiert.\rEin Update ist "
                               "nicht erforderlich."));
            return {};
        }
        if (!zwang &&
            Tools::MeldungConfirmFormat(
                QStringLiteral("Ihre Version:       %s\rAktuelle Version: %s\r\r"
                               "Soll nun ein Update durchgeführt werden?"),
                {GetProgrammVersion(), VersionFormatieren(aktuell.version)}) != Tools::mrYes)
            return {};
        if (aktuell.sha256.isEmpty())
            throw EUpdateFehler(QStringLiteral(
                "Die Versionsdatei des Update-Servers nennt keine Prüfsumme des Updates."));
        TfrmProgUpdate dialog(adresse.Installer(GetProgrammVersion()), parent);
        dialog.exec();
        if (!dialog.Fehler().isEmpty())
            throw EUpdateFehler(dialog.Fehler());
        const std::unique_ptr<Installerdatei> installer = dialog.InstallerUebernehmen();
        if (!installer)
            return {};
        if (!installer->PruefsummeStimmt(aktuell.sha256)) {
            Tools::MeldungError(QStringLiteral(
                "Das geladene Update ist beschädigt oder stammt nicht vom Hersteller:\r"
                "seine Prüfsumme stimmt nicht.\r\rDas Update wird nicht ausgeführt."));
            return {};
        }
        const QString pfad = installer->Behalten();
        Tools::MeldungInfo(
            QStringLiteral("Es wird nun ZR Bovantis beendet und das Update "
                           "durchgeführt.\rAnschließend wird ZR Bovantis wieder "
                           "gestartet."));
        return pfad;
    } catch (const EUpdateFehler& e) {
        Tools::MeldungError(QStringLiteral("Die Prüfung auf ein Update ist fehlgeschlagen.\r\r") +
                            e.Text());
        return {};
    }
}

QString UpdatePruefungBeimStart(QWidget* parent)
{
    TEinstellungen& einstellungen = *Einstellungen();
    // Without a server there is nothing to offer; the menu's check says so when asked.
    if (!UpdateServerEingerichtet() || !einstellungen.UpdatePruefungFaellig())
        return {};
    bool nieMehr = false;
    const auto antwort = CheckMessageDlg(
        QStringLiteral("Soll auf der Internetseite des Herstellers nach einer neueren Version von "
                       "ZR Bovantis gesucht werden?\r\rDazu wird eine Internet-Verbindung "
                       "benötigt, die Sie ggfs. vorher herstellen müssen."),
        Tools::mtConfirmation, Tools::mbYesNo,
        QStringLiteral("In Zukunft nicht mehr auf Updates prüfen"), nieMehr);
    QString installer;
    if (antwort == Tools::mrYes)
        installer = ProgrammUpdate(false, parent);
    else
        einstellungen.SetUpdateLastCheck(QDateTime::currentDateTime());
    if (nieMehr && installer.isEmpty())
        einstellungen.SetUpdateIntervall(0);
    return installer;
}
