#include "SicherungFenster.h"

#include "DBUpdateFenster.h"
#include "Datenmodul.h"
#include "Grundeinstellungen.h"
#include "IniDatei.h"
#include "Protokoll.h"
#include "Shell.h"

#include <Meldung.h>
#include <Query.h>
#include <Transaction.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString Filter = QStringLiteral("Sicherungsdateien (*.zip);;Alle Dateien (*)");

// The hourglass for as long as the object lives.
struct Sanduhr {
    Sanduhr() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sanduhr() { QApplication::restoreOverrideCursor(); }
};

// A text replaces the label, "..." appends a dot; the label shows at once.
void FortschrittBinden(TBackupRestore& br, QLabel* label)
{
    br.OnFortschritt = [label](const QString& text) {
        label->setText(text == QStringLiteral("...") ? label->text() + QLatin1Char('.') : text);
        label->repaint();
    };
}

QString Fehlertext(const std::exception& e)
{
    const char* klasse = dynamic_cast<const EBackupError*>(&e) ? "EBackupError" : "Exception";
    return QString::fromLatin1(klasse) + QStringLiteral(": ") + QString::fromUtf8(e.what());
}

QLineEdit* DateiFeld(QWidget* owner, QGridLayout* layout, int zeile, bool speichern,
                     const QString& ordner)
{
    auto* edit = new QLineEdit(owner);
    edit->setObjectName(QStringLiteral("edDatei"));
    // Room for a usual path in full.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60);
    auto* waehlen = new QPushButton(QStringLiteral("..."), owner);
    waehlen->setObjectName(QStringLiteral("btnDatei"));
    QObject::connect(waehlen, &QPushButton::clicked, owner, [=] {
        const QString start = edit->text().isEmpty() ? ordner : edit->text();
        const QString datei = speichern ? QFileDialog::getSaveFileName(owner, {}, start, Filter)
                                        : QFileDialog::getOpenFileName(owner, {}, start, Filter);
        if (!datei.isEmpty()) {
            edit->setText(datei);
            edit->setCursorPosition(0);
        }
    });
    auto* zeilenLayout = new QHBoxLayout;
    zeilenLayout->addWidget(edit, 1);
    zeilenLayout->addWidget(waehlen);
    layout->addLayout(zeilenLayout, zeile, 1);
    return edit;
}

QPushButton* Knopf(QWidget* owner, const QString& name, const QString& text)
{
    auto* b = new QPushButton(text, owner);
    b->setObjectName(name);
    return b;
}

// The automatic backup's window: no buttons, shown while the backup runs.
class TfrmAutoBackup : public TZRDialog {
public:
    explicit TfrmAutoBackup(QWidget* owner) : TZRDialog(owner)
    {
        setObjectName(QStringLiteral("frmAutoBackup"));
        setWindowTitle(QStringLiteral("Automatische Datensicherung"));
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        auto* layout = new QGridLayout(this);
        layout->addWidget(
            new QLabel(QStringLiteral("Es wird jetzt eine Datensicherung durchgeführt."), this), 0,
            0, 1, 2);
        layout->addWidget(new QLabel(QStringLiteral("Sicherungsdatei:"), this), 1, 0);
        datei = new QLabel(this);
        datei->setObjectName(QStringLiteral("lblDatei"));
        layout->addWidget(datei, 1, 1);
        layout->addWidget(new QLabel(QStringLiteral("Fortschritt:"), this), 2, 0);
        fortschritt = new QLabel(this);
        fortschritt->setObjectName(QStringLiteral("lblFortschritt"));
        layout->addWidget(fortschritt, 2, 1);
    }
    QLabel* datei;
    QLabel* fortschritt;
};

// The button row the backup and the restore window share.
void Knopfzeile(QWidget* owner, QGridLayout* layout, int zeile, QPushButton*& ausfuehren,
                QPushButton*& protokoll, QPushButton*& schliessen)
{
    ausfuehren = Knopf(owner, QStringLiteral("btnAusfuehren"), QStringLiteral("Ausführen"));
    protokoll = Knopf(owner, QStringLiteral("btnProtokoll"), QStringLiteral("Protokoll"));
    protokoll->setToolTip(QStringLiteral("anzeigen"));
    schliessen = Knopf(owner, QStringLiteral("btnSchliessen"), QStringLiteral("Schließen"));
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(ausfuehren);
    knoepfe->addWidget(protokoll);
    knoepfe->addWidget(schliessen);
    layout->addLayout(knoepfe, zeile, 0, 1, 2);
}

}  // namespace

void SicherungEinrichten(TBackupRestore& br, TEinstellungen& einstellungen)
{
    br.SetDatenbank(einstellungen.GetDatenbankName());
    br.AdminPasswort = einstellungen.GetDatenbankAdminPasswort();
    br.IniDatei = einstellungen.IniDateipfad();
    br.IniDateiname = einstellungen.IniDateiname();
    br.Datenverzeichnis = einstellungen.Datenverzeichnis();
}

QStringList SicherungsResteEntfernen(const TEinstellungen& einstellungen)
{
    // Read without writing defaults: a first start that fails later is again a first start.
    const TIniDatei& ini = einstellungen.IniDatei();
    TBackupRestore br;
    br.SetDatenbank(ini.LesenString(QStringLiteral("Datenbank"), QStringLiteral("Name"),
                                    einstellungen.StandardDatenbankName()));
    QStringList ordner{
        einstellungen.Datenverzeichnis(),
        ini.LesenString(QStringLiteral("AutoSicherung"), QStringLiteral("Verzeichnis"),
                        einstellungen.Datenverzeichnis() + QStringLiteral("sicherung")),
        ini.LesenString(QStringLiteral("Sicherung"), QStringLiteral("Verzeichnis"), QString())};
    // A database on another machine keeps its side files out of reach.
    if (QDir::isAbsolutePath(br.Datenbankpfad()) && br.AufDiesemRechner())
        ordner.prepend(QFileInfo(br.Datenbankpfad()).absolutePath());
    return TBackupRestore::ResteEntfernen(ordner);
}

TfrmBackup::TfrmBackup(TEinstellungen& einstellungen, QWidget* owner)
    : TZRDialog(owner), einstellungen_(einstellungen)
{
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(QStringLiteral("Datensicherung"));
    setHelpContext(13700);
    auto* layout = new QGridLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Es wird jetzt eine Datensicherung durchgeführt."), this), 0, 0,
        1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Sicherungsdatei:"), this), 1, 0);
    SicherungEinrichten(br_, einstellungen);
    br_.Sicherungsverzeichnis = einstellungen.GetSicherungVerzeichnis();
    datei_ = DateiFeld(this, layout, 1, true, br_.Sicherungsverzeichnis);
    layout->addWidget(new QLabel(QStringLiteral("Fortschritt:"), this), 2, 0);
    fortschritt_ = new QLabel(this);
    fortschritt_->setObjectName(QStringLiteral("lblFortschritt"));
    layout->addWidget(fortschritt_, 2, 1);
    Knopfzeile(this, layout, 3, ausfuehren_, protokoll_, schliessen_);
    FortschrittBinden(br_, fortschritt_);
    datei_->setText(br_.Archivname());
    // A long path shows its beginning, where the folder is told.
    datei_->setCursorPosition(0);
    connect(ausfuehren_, &QPushButton::clicked, this, &TfrmBackup::Ausfuehren);
    connect(protokoll_, &QPushButton::clicked, this,
            [this] { ProtokollZeigen(br_.Protokoll, true, this); });
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmBackup::Ausfuehren()
{
    const QString datei = datei_->text().trimmed();
    if (QFileInfo::exists(datei) &&
        Tools::MeldungConfirm(QStringLiteral("Die Datei \"%1\" existiert bereits.\rSoll sie "
                                             "überschrieben werden?")
                                  .arg(datei),
                              1) != Tools::mrYes)
        return;
    br_.Archiv = datei;
    ausfuehren_->setEnabled(false);
    protokoll_->setEnabled(false);
    schliessen_->setEnabled(false);
    try {
        {
            Sanduhr sanduhr;
            einstellungen_.IniSpeichern();
            br_.Sichern();
        }
        Tools::MeldungInfo(QStringLiteral("Das Backup ist erfolgreich durchgeführt worden."));
        protokoll_->setEnabled(true);
        schliessen_->setEnabled(true);
    } catch (const std::exception& e) {
        br_.Protokoll << Fehlertext(e);
        fortschritt_->setText(QStringLiteral("Fehler!"));
        Tools::MeldungError(
            QStringLiteral("Es ist ein Fehler beim Backup aufgetreten.\rEine mögliche "
                           "Ursache ist,\rdass der Datenträger nicht genügend Platz "
                           "bietet.\rIm Protokoll finden Sie Details."));
        protokoll_->setEnabled(true);
        schliessen_->setEnabled(true);
        ProtokollZeigen(br_.Protokoll, true, this);
    }
}

bool AutoSicherungDurchfuehren(TEinstellungen& einstellungen, const QString& archiv)
{
    TfrmAutoBackup fenster(TShell::Aktuell() ? TShell::Aktuell()->Fenster() : nullptr);
    TBackupRestore br;
    SicherungEinrichten(br, einstellungen);
    br.Sicherungsverzeichnis = einstellungen.GetAutoSicherungVerzeichnis();
    br.Archiv = archiv.isEmpty() ? einstellungen.AutoSicherungDateiname() : archiv;
    fenster.datei->setText(br.Archiv);
    FortschrittBinden(br, fenster.fortschritt);
    fenster.show();
    try {
        Sanduhr sanduhr;
        einstellungen.IniSpeichern();
        br.Sichern();
    } catch (const std::exception& e) {
        br.Protokoll << Fehlertext(e);
        fenster.fortschritt->setText(QStringLiteral("Fehler!"));
        Tools::MeldungError(
            QStringLiteral("Es ist ein Fehler beim Backup aufgetreten.\rEine mögliche "
                           "Ursache ist,\rdass nicht genügend freier Platz vorhanden "
                           "ist.\rIm Protokoll finden Sie Details."));
        ProtokollZeigen(br.Protokoll, true, &fenster);
        return false;
    }
    return true;
}

QString UpdateSicherungsname(const TEinstellungen& einstellungen, const QDateTime& zeitpunkt)
{
    QString ordner = einstellungen.GetAutoSicherungVerzeichnis();
    if (!ordner.endsWith(QLatin1Char('/')))
        ordner += QLatin1Char('/');
    return ordner + QStringLiteral("Update-") +
           zeitpunkt.toString(QStringLiteral("dd.MM.yyyy-hh-mm-ss")) + QStringLiteral(".zip");
}

bool SicherungVorUpdate(TEinstellungen& einstellungen, const QDateTime& zeitpunkt)
{
    if (AutoSicherungDurchfuehren(einstellungen, UpdateSicherungsname(einstellungen, zeitpunkt)))
        return true;
    return Tools::MeldungConfirm(QStringLiteral("Vor dem Programm-Update konnte keine "
                                                "Datensicherung erstellt werden.\rSoll das "
                                                "Update trotzdem installiert werden?"),
                                 1) == Tools::mrYes;
}

TfrmRestore::TfrmRestore(QWidget* owner) : TZRDialog(owner)
{
    setObjectName(QStringLiteral("frmRestore"));
    setWindowTitle(QStringLiteral("Datenrücksicherung"));
    setHelpContext(13800);
    TEinstellungen* einstellungen = Einstellungen();
    if (!einstellungen)
        throw std::logic_error("Rücksicherung ohne Einstellungen");
    SicherungEinrichten(br_, *einstellungen);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Wählen Sie die Sicherungsdatei aus, die "
                                                "rückgesichert werden soll"),
                                 this),
                      0, 0, 1, 2);
    datei_ = DateiFeld(this, layout, 1, false, einstellungen->GetSicherungVerzeichnis());
    mitIni_ = new QCheckBox(QStringLiteral("Rechner-Einstellungen rücksichern"), this);
    mitIni_->setObjectName(QStringLiteral("cbMitIni"));
    layout->addWidget(mitIni_, 2, 1);
    fortschritt_ = new QLabel(this);
    fortschritt_->setObjectName(QStringLiteral("lblFortschritt"));
    layout->addWidget(fortschritt_, 3, 1);
    Knopfzeile(this, layout, 4, ausfuehren_, protokoll_, schliessen_);
    FortschrittBinden(br_, fortschritt_);
    br_.OnAndereDatenbank = [](const QString& sicherung, const QString& aktuell) {
        const auto antwort = Tools::Meldung(
            QStringLiteral("Die Rechner-Einstellungen der Sicherung nennen die "
                           "Datenbank\r%1,\rdieser Rechner arbeitet mit der "
                           "Datenbank\r%2.\r\rJa: in die Datenbank der Sicherung "
                           "rücksichern.\rNein: in die Datenbank dieses Rechners rücksichern; "
                           "die Rechner-Einstellungen nennen weiter sie.\rAbbrechen: nicht "
                           "rücksichern.")
                .arg(sicherung, aktuell),
            Tools::mtConfirmation, Tools::mbYesNoCancel);
        return antwort == Tools::mrYes  ? TBackupRestore::Ziel::Sicherung
               : antwort == Tools::mrNo ? TBackupRestore::Ziel::Aktuell
                                        : TBackupRestore::Ziel::Abbrechen;
    };
    br_.OnNachEntpacken = [this] { DatenFreigeben(); };
    br_.OnNachRuecksicherung = [this] { NachRuecksicherung(); };
    ProgrammBeenden = [] { QApplication::quit(); };
    connect(ausfuehren_, &QPushButton::clicked, this, &TfrmRestore::Ausfuehren);
    connect(protokoll_, &QPushButton::clicked, this,
            [this] { ProtokollZeigen(br_.Protokoll, true, this); });
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmRestore::DatenFreigeben()
{
    freigegeben_ = true;
    EinstellungenFreigeben();
    if (DM())
        DM()->Trennen();
    DMFreigeben();
}

void TfrmRestore::NachRuecksicherung()
{
    try {
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
    } catch (const std::exception& e) {
        br_.Protokoll << Fehlertext(e);
        throw EBackupError(QStringLiteral("DB-Verbindungsfehler"), true, true);
    }
    // The restored data may stem from another program version: they are checked and brought up
    // to date like at a start, before the program works on them again.
    QString installer;
    const bool aktuell = DatenbankAktualisieren(*Einstellungen(), installer, this);
    if (UpdateDatei && !installer.isEmpty())
        *UpdateDatei = installer;
    if (!aktuell)
        throw EBackupError(QStringLiteral("Die Datenbank passt nicht zu dieser Programmversion"),
                           true, true);
    if (!DM()->Verbinden())
        throw EBackupError(QStringLiteral("DB-Verbindungsfehler"), true, true);
    try {
        db::Transaction tr(DM()->Datenbank, QStringLiteral("InitDaten"));
        tr.Start();
        db::Query q(tr, QStringLiteral("EXECUTE PROCEDURE P_INIT_DATEN"));
        q.Execute();
        tr.Commit();
    } catch (const std::exception& e) {
        br_.Protokoll << Fehlertext(e);
        throw EBackupError(QStringLiteral("DB-Verbindungsfehler"), true, true);
    }
    freigegeben_ = false;
    if (TShell* shell = TShell::Aktuell()) {
        shell->DatenbankErneuert();
    }
}

void TfrmRestore::Ausfuehren()
{
    const QString datei = datei_->text().trimmed();
    if (!QFileInfo(datei).isFile()) {
        Tools::MeldungError(QStringLiteral("Die angegebene Sicherungsdatei existiert nicht"));
        datei_->setFocus();
        return;
    }
    if (QFileInfo(datei).suffix().compare(QStringLiteral("zip"), Qt::CaseInsensitive) != 0 &&
        Tools::MeldungConfirm(QStringLiteral("Die ausgewählte Datei ist möglicherweise keine "
                                             "Sicherungsdatei.\rGrund: Falsche Erweiterung\rSoll "
                                             "dennoch die Rücksicherung fortgesetzt werden?"),
                              1) != Tools::mrYes) {
        datei_->setFocus();
        return;
    }
    QString kommentar;
    switch (TBackupRestore::PruefeSicherungsdatei(datei, kommentar)) {
        case TBackupRestore::PruefungKeinZip:
            Tools::MeldungError(
                QStringLiteral("Die Datei hat nicht das erforderliche Dateiformat"));
            return;
        case TBackupRestore::PruefungKeinKommentar:
            if (Tools::MeldungConfirm(
                    QStringLiteral("Die Datei ist möglicherweise keine "
                                   "Sicherungsdatei.\rGrund: Fehlender oder falscher "
                                   "Kommentar\rSoll dennoch die Rücksicherung "
                                   "fortgesetzt werden?"),
                    1) != Tools::mrYes)
                return;
            break;
        default:
            break;
    }
    if (Tools::MeldungConfirm(
            QStringLiteral("Soll die Rücksicherung gestartet werden?\rEs werden alle "
                           "aktuellen Daten gelöscht und auf den Stand\rder "
                           "Sicherung zurückgesetzt.\r\rDer Archiv-Kommentar "
                           "lautet:\r%1\r\rZum Starten bestätigen Sie mit >Ja<")
                .arg(kommentar),
            1) != Tools::mrYes)
        return;

    ausfuehren_->setEnabled(false);
    protokoll_->setEnabled(false);
    schliessen_->setEnabled(false);
    br_.Archiv = datei;
    try {
        {
            Sanduhr sanduhr;
            br_.Ruecksichern(mitIni_->isChecked());
        }
        Tools::MeldungInfo(
            QStringLiteral("Die Rücksicherung ist erfolgreich durchgeführt worden."));
        protokoll_->setEnabled(true);
        schliessen_->setEnabled(true);
        return;
    } catch (const std::exception& e) {
        br_.Protokoll << Fehlertext(e);
        fortschritt_->setText(QStringLiteral("Fehler!"));
        const auto* fehler = dynamic_cast<const EBackupError*>(&e);
        bool beenden = !fehler || fehler->Beenden;
        bool melden = !fehler || fehler->Melden;
        // The user stopped it before anything was touched.
        if (!beenden && !melden && !freigegeben_) {
            fortschritt_->setText(QString::fromUtf8(e.what()));
            ausfuehren_->setEnabled(true);
            protokoll_->setEnabled(true);
            schliessen_->setEnabled(true);
            return;
        }
        // Database and INI file are unchanged: the program goes on with them.
        if (!beenden && freigegeben_) {
            try {
                NachRuecksicherung();
            } catch (const std::exception& w) {
                br_.Protokoll << Fehlertext(w);
                beenden = true;
                melden = true;
            }
        }
        if (!beenden) {
            Tools::MeldungError(QStringLiteral("Es ist ein Fehler bei der Rücksicherung "
                                               "aufgetreten:\r%1\rIm Protokoll finden Sie "
                                               "Details.")
                                    .arg(QString::fromUtf8(e.what())));
            protokoll_->setEnabled(true);
            schliessen_->setEnabled(true);
            ProtokollZeigen(br_.Protokoll, true, this);
            return;
        }
        if (melden) {
            Tools::MeldungError(
                QStringLiteral("Es ist ein Fehler bei der Rücksicherung "
                               "aufgetreten.\rDas Programm wird nach der Anzeige des "
                               "Protokolls beendet."));
            ProtokollZeigen(br_.Protokoll, true, this);
        }
        reject();
        ProgrammBeenden();
    }
}
