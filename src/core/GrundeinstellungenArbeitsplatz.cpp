#include "GrundeinstellungenArbeitsplatz.h"

#include "Grundeinstellungen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The list colours, Windows colour values ($BBGGRR).
constexpr unsigned Listenfarben[15] = {0xFFFFFF, 0xC0C0C0, 0x00FF00, 0x00FFFF, 0xFF00FF,
                                       0xFFFF00, 0x91C8FF, 0x8080FF, 0x80FFFF, 0x80FF80,
                                       0x80FF00, 0xFFFF80, 0xFFAE5E, 0xFF80FF, 0x3399FF};

QColor WindowsFarbe(unsigned bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

QPixmap Farbfeld(unsigned bgr, const QSize& groesse)
{
    QPixmap bild(groesse);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    const QRect innen = QRect(QPoint(0, 0), groesse).adjusted(3, 3, -4, -4);
    p.fillRect(innen, WindowsFarbe(bgr));
    p.setPen(Qt::black);
    p.drawRect(innen);
    return bild;
}

}  // namespace

// ---- colours ----

TGrundeinstellungenFarben::TGrundeinstellungenFarben(TGrundeinstellungenDaten& daten)
    : TGrundeinstellungenSeite(TGrundKat::gkFarben, daten)
{
    listenfarbe_ = Auswahl(QStringLiteral("cbListenfarbe"));
    const QSize feld(120, 18);
    listenfarbe_->setIconSize(feld);
    for (unsigned farbe : Listenfarben)
        listenfarbe_->addItem(QIcon(Farbfeld(farbe, feld)), QString());
    statusSW_ = Schalter(QStringLiteral("Status-Symbole bei Druck in Schwarz/Weiß drucken"),
                         QStringLiteral("cbStatusSW"));
    symbolHintergrund_ = Schalter(QStringLiteral("Hintergrund bei Symbolleiste ausblenden"),
                                  QStringLiteral("cbSymbolHintergrund"));
    auto* farbe = new QHBoxLayout;
    farbe->addWidget(Beschriftung(QStringLiteral("Listenfarbe:")));
    farbe->addWidget(listenfarbe_);
    farbe->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(farbe);
    layout->addWidget(statusSW_);
    layout->addWidget(symbolHintergrund_);
    layout->addStretch();
}

void TGrundeinstellungenFarben::IniLaden()
{
    listenfarbe_->setCurrentIndex(E().GetListenmuster());
    statusSW_->setChecked(E().GetStatusIconSW());
}

void TGrundeinstellungenFarben::Laden()
{
    symbolHintergrund_->setChecked(E().GetVersteckeSymbolHintergrund());
}

bool TGrundeinstellungenFarben::Speichern()
{
    E().SetVersteckeSymbolHintergrund(symbolHintergrund_->isChecked());
    return true;
}

void TGrundeinstellungenFarben::IniSpeichern()
{
    E().SetListenmuster(listenfarbe_->currentIndex());
    E().SetStatusIconSW(statusSW_->isChecked());
}

// ---- backup ----

TGrundeinstellungenSicherung::TGrundeinstellungenSicherung(TGrundeinstellungenDaten& daten)
    : TGrundeinstellungenSeite(TGrundKat::gkSicherung, daten)
{
    const auto ordner = [this](QLineEdit*& edit, const QString& name) {
        edit = Text(name);
        auto* waehlen = new QToolButton(this);
        waehlen->setObjectName(name + QStringLiteral("Waehlen"));
        waehlen->setText(QStringLiteral("..."));
        waehlen->setToolTip(QStringLiteral("Wählen Sie das Sicherungsverzeichnis aus"));
        connect(waehlen, &QToolButton::clicked, this, [this, e = edit] { VerzeichnisWaehlen(e); });
        auto* zeile = new QHBoxLayout;
        zeile->addWidget(edit, 1);
        zeile->addWidget(waehlen);
        return zeile;
    };
    autoSicherung_ =
        Schalter(QStringLiteral("automatische Sicherung am Programmende (1 mal täglich)"),
                 QStringLiteral("cbAutoSicherung"));
    autoAnzahl_ = Zahl(QStringLiteral("edAutoAnzahl"),
                       QStringLiteral("Max. Anzahl der zu verwendenden Sicherungen"), 0, 2, 100);
    auto* manuell =
        new QGroupBox(QStringLiteral("Sicherungsverzeichnis (manuelle Sicherung)"), this);
    auto* manuellLayout = new QVBoxLayout(manuell);
    manuellLayout->addLayout(ordner(verzeichnis_, QStringLiteral("edSicherungVerzeichnis")));
    auto* automatisch = new QGroupBox(QStringLiteral("Automatische Sicherung"), this);
    auto* autoLayout = new QVBoxLayout(automatisch);
    autoLayout->addWidget(autoSicherung_);
    autoLayout->addWidget(Beschriftung(QStringLiteral("Sicherungsverzeichnis"), automatisch));
    autoLayout->addLayout(ordner(autoVerzeichnis_, QStringLiteral("edAutoVerzeichnis")));
    auto* anzahl = new QHBoxLayout;
    anzahl->addWidget(
        Beschriftung(QStringLiteral("Max. Anzahl der zu verwendenden Sicherungen"), automatisch));
    anzahl->addWidget(autoAnzahl_);
    anzahl->addStretch();
    autoLayout->addLayout(anzahl);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(manuell);
    layout->addWidget(automatisch);
    layout->addStretch();
}

void TGrundeinstellungenSicherung::IniLaden()
{
    verzeichnis_->setText(E().GetSicherungVerzeichnis());
    autoSicherung_->setChecked(E().GetAutoSicherungAktiv());
    autoVerzeichnis_->setText(E().GetAutoSicherungVerzeichnis());
    autoAnzahl_->SetValue(E().GetAutoSicherungAnzahl());
}

void TGrundeinstellungenSicherung::IniSpeichern()
{
    E().SetSicherungVerzeichnis(verzeichnis_->text());
    E().SetAutoSicherungAktiv(autoSicherung_->isChecked());
    E().SetAutoSicherungVerzeichnis(autoVerzeichnis_->text().trimmed());
    E().SetAutoSicherungAnzahl(Zahlwert(autoAnzahl_));
}

void TGrundeinstellungenSicherung::VerzeichnisWaehlen(QLineEdit* edit)
{
    const QString ordner = QFileDialog::getExistingDirectory(
        window(), QStringLiteral("Wählen Sie das Sicherungsverzeichnis aus"), edit->text());
    if (!ordner.isEmpty())
        edit->setText(ordner);
}

// ---- updates ----

TGrundeinstellungenUpdates::TGrundeinstellungenUpdates(TGrundeinstellungenDaten& daten)
    : TGrundeinstellungenSeite(TGrundKat::gkUpdates, daten)
{
    intervall_ = Auswahl(
        QStringLiteral("cbUpdateIntervall"),
        {QStringLiteral("Nie"), QStringLiteral("Jedes Monat"), QStringLiteral("Jedes halbe Jahr")});
    letztePruefung_ = Beschriftung(QString());
    letztePruefung_->setObjectName(QStringLiteral("lblLetztePruefung"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Automatische Prüfung auf Updates:"), intervall_);
    form->addRow(QStringLiteral("Letzte Prüfung:"), letztePruefung_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
}

void TGrundeinstellungenUpdates::IniLaden()
{
    intervall_->setCurrentIndex(E().GetUpdateIntervall());
    const QDateTime letzte = E().GetUpdateLastCheck();
    letztePruefung_->setText(letzte.isValid() ? letzte.date().toString(QStringLiteral("dd.MM.yyyy"))
                                              : QStringLiteral("Noch nie"));
}

void TGrundeinstellungenUpdates::IniSpeichern()
{
    E().SetUpdateIntervall(intervall_->currentIndex());
}
