#include "FKalbeJournal.h"

#include <Grundeinstellungen.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <stdexcept>

TfrmKalbeJournal::TfrmKalbeJournal(db::Database& datenbank, QWidget* owner)
    : TfrmInternListeDialog(datenbank, owner, QStringLiteral("TAKalbeJournal")),
      von_(Datumsfeld("von")),
      bis_(Datumsfeld("bis"))
{
    setObjectName(QStringLiteral("frmKalbeJournal"));
    setWindowTitle(QStringLiteral("Kalbe-Journal"));
    setHelpContext(HilfeKontext);
    const TEinstellungen* e = Einstellungen();
    if (!e)
        throw std::runtime_error("Die Einstellungen sind nicht geladen.");
    von_->setText(DatumText(e->GetKalbeJournalVon()));
    bis_->setText(DatumText(e->GetKalbeJournalBis()));

    auto* zeitraum = new QHBoxLayout;
    zeitraum->addWidget(new QLabel(QStringLiteral("von"), this));
    zeitraum->addWidget(von_);
    zeitraum->addSpacing(12);
    zeitraum->addWidget(new QLabel(QStringLiteral("bis"), this));
    zeitraum->addWidget(bis_);
    zeitraum->addStretch(1);
    Oben()->addLayout(zeitraum);

    DesignsEinrichten({ListenTyp,
                       Felder,
                       e->GetKalbeJournalStandardDesigns(),
                       -1,
                       false,
                       ListenDialoge::KalbeJournalBildschirmFelder(),
                       ListenDialoge::KalbeJournalDruckFelder(),
                       true,
                       {}});
    resize(620, 400);
}

void TfrmKalbeJournal::EinstellungenSpeichern()
{
    TEinstellungen* e = Einstellungen();
    const auto [von, bis] = Zeitraum(von_, bis_);
    TIniDatei::Stapel stapel(e->IniDatei());
    e->SetKalbeJournalVon(von);
    e->SetKalbeJournalBis(bis);
    e->SetKalbeJournalStandardDesigns(StandardDesigns());
    stapel.Abschliessen();
}

void TfrmKalbeJournal::TexteErstellen(QString& daten, QString& schnellwahl, QString& titel)
{
    const TEinstellungen* e = Einstellungen();
    const QDate von = e->GetKalbeJournalVon();
    const QDate bis = e->GetKalbeJournalBis();
    if (!von.isValid() || !bis.isValid())
        throw std::runtime_error("Bitte geben Sie bei \"von\" und \"bis\" gültige Daten ein.");
    daten = ListenDialoge::KalbeJournalDatenSQL(von, bis);
    schnellwahl = ListenDialoge::KalbeJournalSchnellwahlSQL(von, bis);
    titel = ListenDialoge::Titelzusatz(von, bis);
}
