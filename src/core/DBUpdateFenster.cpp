#include "DBUpdateFenster.h"

#include "Besamungsstation.h"
#include "DBConnect.h"
#include "FProgUpdate.h"
#include "Grundeinstellungen.h"
#include "Protokoll.h"

#include <Database.h>
#include <Meldung.h>
#include <SystemInfo.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <memory>

TfrmDBUpdate::TfrmDBUpdate(QWidget* owner) : TZRDialog(owner)
{
    setObjectName(QStringLiteral("frmDBUpdate"));
    setWindowTitle(QStringLiteral("Datenupdate"));
    // Nothing to cancel: a step runs to its end or is undone.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Die Datenbank wird auf den Stand dieser Programmversion gebracht."), this));
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("lblSchritt"));
    text_->setMinimumWidth(420);
    layout->addWidget(text_);
    balken_ = new QProgressBar(this);
    balken_->setObjectName(QStringLiteral("pbSchritte"));
    layout->addWidget(balken_);
}

void TfrmDBUpdate::Anzeigen(const QString& text, int fertig, int gesamt)
{
    text_->setText(text);
    balken_->setRange(0, qMax(gesamt, 1));
    balken_->setValue(qMin(fertig, qMax(gesamt, 1)));
    if (!isVisible())
        show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

TDMUpdate::Umgebung DBUpdateUmgebung(const TEinstellungen& einstellungen, QWidget* owner,
                                     const TDBConnect::Umgebung& verbindung)
{
    TDMUpdate::Umgebung u;
    u.datenbankName = einstellungen.GetDatenbankName();
    u.adminPasswort = einstellungen.GetDatenbankAdminPasswort();
    u.archiv = platform::programFolder() + QLatin1Char('/') + DatenUpdate::ArchivName;
    u.verbinden = [verbindung](db::Database& d, const db::ConnectParams& p) {
        return TDBConnect(verbindung).DatenbankVerbinden(d, p);
    };
    u.stationWaehlen = [owner] {
        Tools::MeldungInfo(
            QStringLiteral("Bitte wählen Sie im folgenden Dialog ihre Besamungsstation."));
        TfrmBesamungsstation dlg(owner);
        dlg.Vorbereiten(QString(), true);
        dlg.exec();
        return dlg.Station();
    };
    u.updateHinweis = [owner](const QString& text) {
        const auto antwort = Tools::Meldung(
            text + QStringLiteral("\rBitte aktualisieren Sie ZR Bovantis auf die aktuelle "
                                  "Version.\rSie finden sie auf unserer Internetseite im "
                                  "Support-Bereich.\r\rWollen Sie das Update jetzt direkt "
                                  "starten? Eine Internet-Verbindung\rmuss vorhanden sein!"),
            Tools::mtError, Tools::mbYesNo);
        return antwort == Tools::mrYes ? ProgrammUpdate(true, owner) : QString();
    };
    u.fehlerMelden = [owner](const QString& text, const QStringList& protokoll) {
        Tools::MeldungError(text);
        ProtokollZeigen(protokoll, true, owner);
    };
    return u;
}

bool DatenbankAktualisieren(const TEinstellungen& einstellungen, QString& updateDatei,
                            QWidget* owner, const TDBConnect::Umgebung& verbindung)
{
    TDMUpdate::Umgebung u = DBUpdateUmgebung(einstellungen, owner, verbindung);
    std::unique_ptr<TfrmDBUpdate> fenster;
    u.fortschritt = [&fenster, owner](const QString& text, int fertig, int gesamt) {
        if (!fenster)
            fenster = std::make_unique<TfrmDBUpdate>(owner);
        fenster->Anzeigen(text, fertig, gesamt);
    };
    TDMUpdate update(std::move(u));
    const bool ok = update.PruefeDatenbankVersion();
    updateDatei = update.UpdateDatei();
    return ok;
}
