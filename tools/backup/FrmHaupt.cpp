#include "FrmHaupt.h"

#include "DesktopSymbol.h"

#include <Grundeinstellungen.h>
#include <Produkt.h>
#include <Protokoll.h>
#include <SicherungFenster.h>

#include <InstanceGuard.h>
#include <Meldung.h>
#include <NeuWert.h>
#include <Sanduhr.h>
#include <SystemInfo.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

namespace {

const QString Filter = QStringLiteral("Sicherungsdateien (*.zip);;Alle Dateien (*)");
const QString BackupFehler = QStringLiteral(
    "Es ist ein Fehler beim Backup aufgetreten.\rEine mögliche Ursache ist,\rdass "
    "der Datenträger nicht genügend Platz bietet.\rIm Protokoll finden Sie Details.");

QString Fehlertext(const std::exception& e)
{
    const char* klasse = dynamic_cast<const EBackupError*>(&e) ? "EBackupError" : "Exception";
    return QString::fromLatin1(klasse) + QStringLiteral(": ") + QString::fromUtf8(e.what());
}

QPushButton* Knopf(QWidget* owner, const QString& name, const QString& text)
{
    auto* b = new QPushButton(text, owner);
    b->setObjectName(name);
    return b;
}

// The small "..." button beside a field that opens its chooser.
QPushButton* Waehler(QWidget* owner, const QString& name, const QString& hinweis)
{
    auto* b = Knopf(owner, name, QStringLiteral("..."));
    b->setToolTip(hinweis);
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + 2 * b->sizeHint().height());
    return b;
}

QLineEdit* Feld(QWidget* owner, const QString& name)
{
    auto* edit = new QLineEdit(owner);
    edit->setObjectName(name);
    // Room for a usual path in full.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60);
    return edit;
}

}  // namespace

QString GetProgrammverzeichnis()
{
    return platform::programFolder() + QLatin1Char('/');
}

bool HauptprogrammLaeuft()
{
    try {
        return platform::InstanceGuard::isHeldByOtherProcess(Produkt::MutexName +
                                                             platform::currentUserName().toUpper());
    } catch (const std::exception&) {
        return true;
    }
}

TfrmHaupt::TfrmHaupt(const BackupOptionen& optionen, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      br_(std::make_unique<TBackupRestore>())
{
    setObjectName(QStringLiteral("frmHaupt"));
    setWindowTitle(QStringLiteral("Datensicherung"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* kopf = new QLabel(
        QStringLiteral("Datensicherung / Datenrücksicherung  für ZR Bovantis 3.0"), this);
    QFont kopfSchrift = kopf->font();
    kopfSchrift.setBold(true);
    kopfSchrift.setPointSizeF(kopfSchrift.pointSizeF() * 1.25);
    kopf->setFont(kopfSchrift);
    layout->addWidget(kopf);

    auto* art = new QGroupBox(QStringLiteral("Sicherungsart"), this);
    auto* artLayout = new QVBoxLayout(art);
    datensicherung_ = new QRadioButton(QStringLiteral("Datensicherung"), art);
    datensicherung_->setObjectName(QStringLiteral("Datensicherung"));
    ruecksicherungKnopf_ = new QRadioButton(QStringLiteral("Datenrücksicherung"), art);
    ruecksicherungKnopf_->setObjectName(QStringLiteral("Ruecksicherung"));
    rechnerEinstellungen_ = new QCheckBox(QStringLiteral("Rechner-Einstellungen rücksichern"), art);
    rechnerEinstellungen_->setObjectName(QStringLiteral("RechnerEinstellungen"));
    artLayout->addWidget(datensicherung_);
    artLayout->addWidget(ruecksicherungKnopf_);
    auto* eingerueckt = new QHBoxLayout;
    eingerueckt->addSpacing(20);
    eingerueckt->addWidget(rechnerEinstellungen_);
    eingerueckt->addStretch();
    artLayout->addLayout(eingerueckt);
    layout->addWidget(art);

    layout->addWidget(new QLabel(QStringLiteral("Programmverzeichnis von ZR Bovantis"), this));
    programmverzeichnis_ = Feld(this, QStringLiteral("Programmverzeichnis"));
    auto* ordnerWaehlen =
        Waehler(this, QStringLiteral("ProgrammverzeichnisWaehlen"),
                QStringLiteral("Wählen Sie das Programmverzeichnis von ZR Bovantis aus"));
    auto* ordnerZeile = new QHBoxLayout;
    ordnerZeile->addWidget(programmverzeichnis_, 1);
    ordnerZeile->addWidget(ordnerWaehlen);
    layout->addLayout(ordnerZeile);

    layout->addWidget(new QLabel(QStringLiteral("Sicherungsdatei:"), this));
    sicherungsdatei_ = Feld(this, QStringLiteral("Sicherungsdatei"));
    dateiWaehlen_ = Waehler(this, QStringLiteral("SicherungsdateiWaehlen"),
                            QStringLiteral("Wählen Sie die Sicherungsdatei aus"));
    auto* dateiZeile = new QHBoxLayout;
    dateiZeile->addWidget(sicherungsdatei_, 1);
    dateiZeile->addWidget(dateiWaehlen_);
    layout->addLayout(dateiZeile);

    einstSpeichern_ =
        Knopf(this, QStringLiteral("EinstSpeichern"), QStringLiteral("Einstellungen speichern"));
    auto* speichernZeile = new QHBoxLayout;
    speichernZeile->addWidget(einstSpeichern_);
    speichernZeile->addStretch();
    layout->addLayout(speichernZeile);

    auto* fortschrittZeile = new QHBoxLayout;
    fortschrittZeile->addWidget(new QLabel(QStringLiteral("Fortschritt:"), this));
    fortschritt_ = new QLabel(this);
    fortschritt_->setObjectName(QStringLiteral("Fortschritt"));
    fortschrittZeile->addWidget(fortschritt_, 1);
    layout->addLayout(fortschrittZeile);

    ausfuehren_ = Knopf(this, QStringLiteral("Ausfuehren"), QStringLiteral("Ausführen"));
    protokoll_ = Knopf(this, QStringLiteral("Protokoll"), QStringLiteral("Protokoll\nanzeigen"));
    ende_ = Knopf(this, QStringLiteral("Ende"), QStringLiteral("Beenden"));
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(ausfuehren_);
    knoepfe->addWidget(protokoll_);
    knoepfe->addWidget(ende_);
    layout->addLayout(knoepfe);
    // The three buttons alike, as high as the two lines of "Protokoll anzeigen".
    for (QPushButton* b : {ausfuehren_, protokoll_, ende_})
        b->setMinimumSize(protokoll_->sizeHint());

    // FormCreate: the folder, its settings, backup mode, the default archive, then the options.
    programmverzeichnis_->setText(GetProgrammverzeichnis());
    EinstellungenErzeugen(programmverzeichnis_->text());
    br_->OnFortschritt = [this](const QString& text) { FortschrittAnzeigen(text); };
    rechnerEinstellungen_->setChecked(false);
    SetRuecksicherung(false);
    protokoll_->setEnabled(false);
    sicherungsdatei_->setText(br_->Archivname());

    if (optionen.ruecksicherung)
        SetRuecksicherung(*optionen.ruecksicherung);
    start_ = optionen.start;
    still_ = optionen.still;
    if (optionen.programmverzeichnis)
        programmverzeichnis_->setText(*optionen.programmverzeichnis);
    if (optionen.sicherungsdatei)
        sicherungsdatei_->setText(*optionen.sicherungsdatei);

    connect(datensicherung_, &QRadioButton::clicked, this, [this] { SetRuecksicherung(false); });
    connect(ruecksicherungKnopf_, &QRadioButton::clicked, this,
            [this] { SetRuecksicherung(true); });
    connect(ordnerWaehlen, &QPushButton::clicked, this, [this] {
        const QString ordner = QFileDialog::getExistingDirectory(
            this, QStringLiteral("Programmverzeichnis auswählen"), programmverzeichnis_->text());
        if (!ordner.isEmpty())
            programmverzeichnis_->setText(ordner);
    });
    connect(dateiWaehlen_, &QPushButton::clicked, this, [this] {
        const QString start = sicherungsdatei_->text().isEmpty() ? br_->Sicherungsverzeichnis
                                                                 : sicherungsdatei_->text();
        const QString titel = QStringLiteral("Sicherungsdatei auswählen");
        const QString datei = ruecksicherung_
                                  ? QFileDialog::getOpenFileName(this, titel, start, Filter)
                                  : QFileDialog::getSaveFileName(this, titel, start, Filter);
        if (!datei.isEmpty())
            sicherungsdatei_->setText(datei);
    });
    connect(einstSpeichern_, &QPushButton::clicked, this, &TfrmHaupt::EinstSpeichernClick);
    connect(ausfuehren_, &QPushButton::clicked, this, &TfrmHaupt::AusfuehrenClick);
    connect(protokoll_, &QPushButton::clicked, this, &TfrmHaupt::ProtokollClick);
    connect(ende_, &QPushButton::clicked, this, &QWidget::close);
}

TfrmHaupt::~TfrmHaupt() = default;

void TfrmHaupt::EinstellungenErzeugen(const QString& programmverzeichnis)
{
    einstellungen_.reset();
    einstellungen_ = std::make_unique<TEinstellungen>(nullptr, programmverzeichnis);
    SicherungEinrichten(*br_, *einstellungen_);
    br_->Sicherungsverzeichnis = einstellungen_->GetSicherungVerzeichnis();
}

void TfrmHaupt::SetRuecksicherung(bool ruecksicherung)
{
    ruecksicherung_ = ruecksicherung;
    (ruecksicherung ? ruecksicherungKnopf_ : datensicherung_)->setChecked(true);
    rechnerEinstellungen_->setEnabled(ruecksicherung);
}

void TfrmHaupt::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (gestartet_)
        return;
    // The action runs once per start, when the window has shown.
    gestartet_ = true;
    if (QScreen* bildschirm = screen())
        move(bildschirm->availableGeometry().center() - rect().center());
    QTimer::singleShot(0, this, &TfrmHaupt::FormActivate);
}

void TfrmHaupt::FormActivate()
{
    if (!start_)
        return;
    if (still_ ||
        Tools::MeldungConfirm(
            QStringLiteral("Soll mit der Datensicherung bzw. -rücksicherung fortgesetzt werden?"),
            1) == Tools::mrYes)
        AusfuehrenClick();
}

bool TfrmHaupt::StillerLauf() const
{
    return start_ && still_ && !ruecksicherung_;
}

void TfrmHaupt::Fehler(const QString& text)
{
    ergebnis_ = 1;
    if (!StillerLauf()) {
        Tools::MeldungError(text);
        return;
    }
    // Nobody answers a message here: the caller waits for the exit code and reads the output.
    QString ausgabe = QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // The end of the protocol holds the reason; before it stand the engine's lines of progress.
    for (const QString& zeile :
         br_->Protokoll.mid(std::max<qsizetype>(0, br_->Protokoll.size() - 10)))
        ausgabe += QLatin1Char('\n') + zeile;
    std::fprintf(stderr, "%s\n", ausgabe.toLocal8Bit().constData());
    close();
}

void TfrmHaupt::KnoepfeFreigeben(bool ausfuehren, bool rest)
{
    ausfuehren_->setEnabled(ausfuehren);
    protokoll_->setEnabled(rest);
    ende_->setEnabled(rest);
}

void TfrmHaupt::AusfuehrenClick()
{
    QString ordner = programmverzeichnis_->text();
    if (!ordner.isEmpty() && !ordner.endsWith(QLatin1Char('/')))
        ordner += QLatin1Char('/');
    programmverzeichnis_->setText(ordner);
    if (ordner.isEmpty() || !QFileInfo(ordner).isDir()) {
        Fehler(QStringLiteral("Das Programmverzeichnis\r\r%1\r\rexistiert nicht").arg(ordner));
        programmverzeichnis_->setFocus();
        return;
    }
    const QString datei = sicherungsdatei_->text().trimmed();
    if (ruecksicherung_ && !QFileInfo(datei).isFile()) {
        Fehler(QStringLiteral("Die Sicherungsdatei\r\r%1\r\rexistiert nicht").arg(datei));
        sicherungsdatei_->setFocus();
        return;
    }
    if (ruecksicherung_ && HauptprogrammLaeuft() &&
        Tools::MeldungConfirm(
            QStringLiteral("ZR Bovantis läuft derzeit.\rSoll trotzdem fortgesetzt werden?"), 1) !=
            Tools::mrYes)
        return;
    // The data folder, INI file and connection follow the chosen program folder.
    try {
        EinstellungenErzeugen(ordner);
    } catch (const std::exception& e) {
        br_->Protokoll << Fehlertext(e);
        Fehler(QString::fromUtf8(e.what()));
        return;
    }
    br_->Archiv = datei;
    if (ruecksicherung_)
        RuecksicherungAusfuehren();
    else
        SicherungAusfuehren();
}

void TfrmHaupt::Fehlgeschlagen(const std::exception& e, const QString& meldung)
{
    br_->Protokoll << Fehlertext(e);
    fortschritt_->setText(QStringLiteral("Fehler!"));
    KnoepfeFreigeben(false, true);
    Fehler(meldung);
    if (!StillerLauf())
        ProtokollClick();
}

void TfrmHaupt::SicherungAusfuehren()
{
    KnoepfeFreigeben(false, false);
    try {
        Sanduhr sanduhr;
        einstellungen_->IniSpeichern();
        br_->Sichern();
    } catch (const std::exception& e) {
        Fehlgeschlagen(e, BackupFehler);
        return;
    }
    ergebnis_ = 0;
    if (start_ && still_) {
        close();
        return;
    }
    Tools::MeldungInfo(QStringLiteral("Das Backup ist erfolgreich durchgeführt worden."));
    KnoepfeFreigeben(false, true);
}

void TfrmHaupt::RuecksicherungAusfuehren()
{
    const QString datei = br_->Archiv;
    if (QFileInfo(datei).suffix().toUpper() != QStringLiteral("ZIP") &&
        Tools::MeldungConfirm(QStringLiteral("Die ausgewählte Datei ist möglicherweise keine "
                                             "Sicherungsdatei.\rGrund: Falsche Erweiterung\rSoll "
                                             "dennoch die Rücksicherung fortgesetzt werden?"),
                              1) != Tools::mrYes) {
        sicherungsdatei_->setFocus();
        return;
    }
    QString kommentar;
    switch (TBackupRestore::PruefeSicherungsdatei(datei, kommentar)) {
        case TBackupRestore::PruefungKeinZip:
            Fehler(QStringLiteral("Die Datei hat nicht das erforderliche Dateiformat"));
            return;
        case TBackupRestore::PruefungKeinKommentar:
            if (Tools::MeldungConfirm(QStringLiteral("Die Datei ist möglicherweise keine "
                                                     "Sicherungsdatei.\rGrund: Fehlender oder "
                                                     "falscher Kommentar\rSoll dennoch die "
                                                     "Rücksicherung fortgesetzt werden?"),
                                      1) != Tools::mrYes) {
                sicherungsdatei_->setFocus();
                return;
            }
            break;
        default:
            break;
    }
    if (Tools::MeldungConfirm(
            QStringLiteral("Soll die Rücksicherung gestartet werden?\rEs werden alle aktuellen "
                           "Daten gelöscht und auf den Stand\rder Sicherung zurückgesetzt.\r\rDer "
                           "Archiv-Kommentar lautet:\r%1\r\rZum Starten bestätigen Sie mit >Ja<")
                .arg(kommentar),
            1) != Tools::mrYes)
        return;
    KnoepfeFreigeben(false, false);
    try {
        Sanduhr sanduhr;
        br_->Ruecksichern(rechnerEinstellungen_->isChecked());
    } catch (const std::exception& e) {
        // The engine's own reason (a database still in use, a damaged backup) comes first.
        Fehlgeschlagen(e, QStringLiteral("Es ist ein Fehler bei der Rücksicherung "
                                         "aufgetreten:\r%1\rIm Protokoll finden Sie Details.")
                              .arg(QString::fromUtf8(e.what())));
        return;
    }
    ergebnis_ = 0;
    Tools::MeldungInfo(QStringLiteral("Die Rücksicherung ist erfolgreich durchgeführt worden."));
    KnoepfeFreigeben(false, true);
}

void TfrmHaupt::FortschrittAnzeigen(const QString& text)
{
    fortschritt_->setText(text == QStringLiteral("...") ? fortschritt_->text() + QLatin1Char('.')
                                                        : text);
    fortschritt_->repaint();
}

void TfrmHaupt::ProtokollClick()
{
    ProtokollZeigen(br_->Protokoll, true, this);
}

void TfrmHaupt::EinstSpeichernClick()
{
    if (Tools::MeldungConfirm(
            QStringLiteral("Sollen die Einstellungen als Symbol auf dem Desktop abgelegt werden?"),
            1) != Tools::mrYes)
        return;
    QStringList werte{QString()};
    for (;;) {
        if (!GetNeueWerte({QStringLiteral("Name:")}, werte, QStringLiteral("Symbolname"),
                          QStringLiteral("Geben Sie den Namen für das Symbol an:")))
            return;
        const QString name = werte.value(0).trimmed();
        if (name.isEmpty()) {
            Tools::MeldungInfo(QStringLiteral("Geben Sie einen Namen an."));
            continue;
        }
        // The name becomes a file name in the desktop folder.
        if (name.contains(QLatin1Char('/'))) {
            Tools::MeldungError(
                QStringLiteral("Der Name darf kein \"/\" enthalten.\rGeben Sie "
                               "einen anderen Namen an."));
            continue;
        }
        const QString datei = DesktopSymbol::Datei(name);
        if (QFileInfo::exists(datei) || QFileInfo(datei).isSymLink()) {
            Tools::MeldungError(
                QStringLiteral("Das Symbol existiert bereits.\rGeben Sie einen "
                               "anderen Namen an."));
            continue;
        }
        try {
            DesktopSymbol::Schreiben(
                datei, DesktopSymbol::Eintrag(
                           name, DesktopSymbol::Exec(QCoreApplication::applicationFilePath(),
                                                     ruecksicherung_, programmverzeichnis_->text(),
                                                     sicherungsdatei_->text())));
        } catch (const std::exception& e) {
            Tools::MeldungError(QString::fromUtf8(e.what()));
        }
        return;
    }
}
