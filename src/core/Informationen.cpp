#include "Informationen.h"

#include "DBConnect.h"
#include "FProgUpdate.h"
#include "Grundeinstellungen.h"
#include "Shell.h"
#include "Produkt.h"
#include "ProgUpdate.h"
#include "Skript.h"

#include <Database.h>
#include <Meldung.h>
#include <Process.h>
#include <Sanduhr.h>
#include <SystemInfo.h>
#include <Transaction.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSysInfo>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString Hersteller = QStringLiteral("Wendholm Software");
const QString Dank = QStringLiteral(
    "Unser Dank gilt allen Landwirten,\nBeratern und Tierärzten,\ndie mit ihren Hinweisen,\n"
    "Fragen und Wünschen\nan ZR Bovantis mitgearbeitet haben.");

QPushButton* NeuerKnopf(const QString& text, QWidget* eltern)
{
    // "|" in a caption is its line break.
    auto* k = new QPushButton(QString(text).replace(QLatin1Char('|'), QLatin1Char('\n')), eltern);
    k->setObjectName(QString(text).remove(QLatin1Char('|')));
    return k;
}

QString Datenbankname()
{
    return Einstellungen() ? Einstellungen()->GetDatenbankName() : QString();
}

}  // namespace

TfrmInformation::TfrmInformation(QWidget* parent) : TZRDialog(parent)
{
    setWindowTitle(QStringLiteral("Information"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setPosition(poScreenCenter);
    // The window follows its layout, so it grows with the thanks panel.
    setBorderStyle(bsSizeable);
    auto* rahmen = new QVBoxLayout(this);
    rahmen->setSizeConstraint(QLayout::SetFixedSize);
    auto* bild = new QLabel(this);
    bild->setObjectName(QStringLiteral("Bild"));
    bild->setMinimumWidth(360);
    const QPixmap titel(platform::programFolder() + QStringLiteral("/Titel.jpg"));
    if (titel.isNull()) {
        bild->setText(Produkt::Titel);
        QFont f = bild->font();
        f.setPointSize(f.pointSize() * 2);
        f.setBold(true);
        bild->setFont(f);
        bild->setAlignment(Qt::AlignCenter);
        bild->setMinimumHeight(80);
    } else {
        bild->setPixmap(titel);
    }
    rahmen->addWidget(bild);
    rahmen->addWidget(
        new QLabel(QStringLiteral("Version %1").arg(ProgUpdate::GetProgrammVersion()), this));
    rahmen->addWidget(new QLabel(QStringLiteral("© %1").arg(Hersteller), this));

    auto* panel = new QFrame(this);
    dankPanel_ = panel;
    dankPanel_->setObjectName(QStringLiteral("DankPanel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    dankPanel_->setFixedHeight(90);
    // The text scrolls inside the frame's border, not over it.
    auto* innen = new QVBoxLayout(panel);
    innen->setContentsMargins(0, 0, 0, 0);
    dankFlaeche_ = new QWidget(panel);
    innen->addWidget(dankFlaeche_);
    dankText_ = new QLabel(Dank, dankFlaeche_);
    dankText_->setAlignment(Qt::AlignHCenter);
    dankPanel_->hide();
    rahmen->addWidget(dankPanel_);
    lauftext_ = new QTimer(this);
    lauftext_->setInterval(40);
    connect(lauftext_, &QTimer::timeout, this, &TfrmInformation::Rollen);

    auto* knoepfe = new QHBoxLayout;
    dankesworte_ = new QPushButton(QStringLiteral("Dankesworte..."), this);
    knoepfe->addWidget(dankesworte_);
    knoepfe->addStretch();
    auto* schliessen = new QPushButton(QStringLiteral("Schließen"), this);
    schliessen->setDefault(true);
    knoepfe->addWidget(schliessen);
    rahmen->addLayout(knoepfe);
    connect(dankesworte_, &QPushButton::clicked, this, &TfrmInformation::DankesworteClick);
    connect(schliessen, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmInformation::DankesworteClick()
{
    const bool zeigen = dankPanel_->isHidden();
    dankPanel_->setVisible(zeigen);
    if (zeigen) {
        dankText_->move(0, dankFlaeche_->height());
        lauftext_->start();
    } else {
        lauftext_->stop();
    }
}

void TfrmInformation::Rollen()
{
    // The panel gets its width from the layout only once shown.
    dankText_->resize(dankFlaeche_->width(), dankText_->sizeHint().height());
    int y = dankText_->y() - 1;
    if (y < -dankText_->height())
        y = dankFlaeche_->height();
    dankText_->move(0, y);
}

TfrmVersionInfo::Quellen TfrmVersionInfo::StandardQuellen()
{
    Quellen q;
    q.programm = QCoreApplication::applicationFilePath();
    q.programmOrdner = platform::programFolder();
    q.udfOrdner = VersionInfo::UDFVerzeichnis();
    q.pruefsummen = VersionInfo::PruefsummenDatei(q.programmOrdner);
    return q;
}

TfrmVersionInfo::TfrmVersionInfo(const Quellen& quellen, QWidget* parent) : TZRDialog(parent)
{
    setWindowTitle(QStringLiteral("Versionen"));
    setBorderStyle(bsSizeable);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* rahmen = new QVBoxLayout(this);
    liste_ = new QTableWidget(0, 5, this);
    liste_->setHorizontalHeaderLabels({QStringLiteral("Datei"), QStringLiteral("Version"),
                                       QStringLiteral("Ort"), QStringLiteral("Beschreibung"),
                                       QString()});
    liste_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    liste_->setSelectionBehavior(QAbstractItemView::SelectRows);
    liste_->setShowGrid(false);
    liste_->verticalHeader()->hide();
    liste_->setWordWrap(false);
    liste_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    liste_->horizontalHeader()->setStretchLastSection(true);
    rahmen->addWidget(liste_);
    auto* unten = new QHBoxLayout;
    unten->addStretch();
    kopieren_ = NeuerKnopf(QStringLiteral("in Zwischen-|ablage kopieren"), this);
    unten->addWidget(kopieren_);
    auto* schliessen = new QPushButton(QStringLiteral("Schließen"), this);
    unten->addWidget(schliessen);
    rahmen->addLayout(unten);
    connect(schliessen, &QPushButton::clicked, this, &QDialog::accept);
    connect(kopieren_, &QPushButton::clicked, this, [this] {
        const VersionInfo::Kopf kopf{QDir::toNativeSeparators(platform::programFolder()),
                                     Datenbankname(), ProgUpdate::GetProgrammVersion(),
                                     QSysInfo::prettyProductName()};
        QGuiApplication::clipboard()->setText(VersionInfo::ZwischenablageText(kopf, dateien_));
    });

    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        for (const QString& pfad : VersionInfo::DateienSammeln(
                 quellen.programm, quellen.programmOrdner, quellen.udfOrdner))
            dateien_ << VersionInfo::DateiInfo(pfad);
        VersionInfo::PruefsummenPruefen(dateien_,
                                        VersionInfo::PruefsummenLesen(quellen.pruefsummen));
        ListeFuellen();
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    resize(1000, 500);
}

void TfrmVersionInfo::ListeFuellen()
{
    liste_->setRowCount(int(dateien_.size()));
    for (int i = 0; i < dateien_.size(); ++i) {
        const VersionInfo::TFileInfo& d = dateien_[i];
        const QStringList spalten = {d.name, d.version, d.ordner, d.beschreibung,
                                     d.pruefsummeOk ? QString() : VersionInfo::Fehlerhaft};
        for (int s = 0; s < spalten.size(); ++s)
            liste_->setItem(i, s, new QTableWidgetItem(spalten[s]));
    }
    liste_->resizeColumnsToContents();
}

TfrmSystemInfo::TfrmSystemInfo(QWidget* parent)
    : TZRDialog(parent),
      ordnerOeffnen_(&platform::openWithDesktop),
      skriptWaehlen_([](QWidget* owner) {
          QFileDialog wahl(owner, QStringLiteral("Datenbankskript auswählen"), QString(),
                           QStringLiteral("Datenbankskripte (*.sql);;Alle Dateien (*)"));
          wahl.setFileMode(QFileDialog::ExistingFile);
          return wahl.exec() == QDialog::Accepted ? wahl.selectedFiles().value(0) : QString();
      })
{
    setWindowTitle(QStringLiteral("System-Informationen"));
    auto* rahmen = new QHBoxLayout(this);
    auto* werte = new QGridLayout;
    const QList<std::pair<QString, QString>> zeilen = {
        {QStringLiteral("Programmverzeichnis:"),
         QDir::toNativeSeparators(platform::programFolder())},
        {QStringLiteral("Programmversion:"), ProgUpdate::GetProgrammVersion()},
        {QStringLiteral("Betriebssystem:"), QSysInfo::prettyProductName()},
        {QStringLiteral("Datenbank:"), Datenbankname()},
    };
    for (int i = 0; i < zeilen.size(); ++i) {
        werte->addWidget(new QLabel(zeilen[i].first, this), i, 0, Qt::AlignTop);
        auto* wert = new QLabel(zeilen[i].second, this);
        wert->setObjectName(zeilen[i].first);
        wert->setTextInteractionFlags(Qt::TextSelectableByMouse);
        werte->addWidget(wert, i, 1, Qt::AlignTop);
    }
    werte->setRowStretch(int(zeilen.size()), 1);
    rahmen->addLayout(werte, 1);

    auto* knoepfe = new QVBoxLayout;
    auto* schliessen = NeuerKnopf(QStringLiteral("Schließen"), this);
    auto* explorer = NeuerKnopf(QStringLiteral("Explorer|starten"), this);
    auto* versionen = NeuerKnopf(QStringLiteral("Datei-|versionen"), this);
    auto* skript = NeuerKnopf(QStringLiteral("Datenbankskript-|ausführen"), this);
    auto* palm = NeuerKnopf(QStringLiteral("Palm installieren"), this);
    // The handheld is not part of this version.
    palm->setEnabled(false);
    palm->setToolTip(TShell::NichtVerfuegbar);
    for (QPushButton* k : {schliessen, explorer, versionen, skript, palm})
        knoepfe->addWidget(k);
    knoepfe->addStretch();
    rahmen->addLayout(knoepfe);
    connect(schliessen, &QPushButton::clicked, this, &QDialog::accept);
    connect(explorer, &QPushButton::clicked, this, &TfrmSystemInfo::ExplorerStarten);
    connect(versionen, &QPushButton::clicked, this, &TfrmSystemInfo::DateiVersionen);
    connect(skript, &QPushButton::clicked, this, &TfrmSystemInfo::SkriptAusfuehren);
}

QLabel* TfrmSystemInfo::Wert(const QString& name) const
{
    return findChild<QLabel*>(name);
}

QPushButton* TfrmSystemInfo::Knopf(const QString& name) const
{
    return findChild<QPushButton*>(name);
}

void TfrmSystemInfo::ExplorerStarten()
{
    if (!ordnerOeffnen_(platform::programFolder()))
        Tools::MeldungError(QStringLiteral("Konnte den Explorer nicht starten."));
}

void TfrmSystemInfo::DateiVersionen()
{
    TfrmVersionInfo fenster(
        quellen_.programm.isEmpty() ? TfrmVersionInfo::StandardQuellen() : quellen_, this);
    fenster.exec();
}

void TfrmSystemInfo::SkriptAusfuehren()
{
    const QString datei = skriptWaehlen_(this);
    if (datei.isEmpty())
        return;
    if (Tools::Meldung(
            QStringLiteral("Achtung!\r\rDas ausführen des Skriptes kann Schäden an Ihren "
                           "Daten verursachen.\rFühren Sie das Skript nur dann aus, wenn "
                           "es von Wendholm Software\rempfohlen wird.\r\rWollen Sie das "
                           "Skript\r\r%1\r\rwirklich ausführen?")
                .arg(QDir::toNativeSeparators(datei)),
            Tools::mtConfirmation, Tools::mbYesNo, 0, Tools::DefaultButton(1)) != Tools::mrYes)
        return;
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Tools::MeldungError(QStringLiteral("Das Skript %1 kann nicht gelesen werden:\r%2")
                                .arg(QDir::toNativeSeparators(datei), f.errorString()));
        return;
    }
    const QString text = QString::fromUtf8(f.readAll());
    const TEinstellungen* e = Einstellungen();
    db::Database db;
    if (!e ||
        !DatenbankVerbinden(
            db,
            {e->GetDatenbankName(), DBConnect::Administrator, e->GetDatenbankAdminPasswort(), {}}))
        return;
    db::Transaction transaktion(db, QStringLiteral("Transaktion"));
    transaktion.Start();
    try {
        Sanduhr sanduhr;
        ZRDBScript::TSkriptDatenbank skript(transaktion);
        ZRDBScript::FuehreDBScriptAus(skript, text);
        if (transaktion.Active())
            transaktion.Commit();
    } catch (const ZRDBScript::ESkriptFehler& fehler) {
        Tools::MeldungError(fehler.Meldung());
        return;
    }
    db.Close();
    Tools::MeldungInfo(
        QStringLiteral("Das Datenbank-Skript wurde ausgeführt.\rBeenden Sie ZR Bovantis "
                       "und starten Sie das\rProgramm ggfs. erneut."));
}
