#include "FGesendeteHITMeldungen.h"

#include "FListeGesendeteHITMeldungen.h"

#include <Grundeinstellungen.h>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <stdexcept>

TfrmGesendeteHITMeldungen::TfrmGesendeteHITMeldungen(db::Database& datenbank, QWidget* owner)
    : TfrmInternListeDialog(datenbank, owner, QStringLiteral("TAGesendeteMeldungen")),
      von_(Datumsfeld("von")),
      bis_(Datumsfeld("bis"))
{
    setObjectName(QStringLiteral("frmGesendeteHITMeldungen"));
    setWindowTitle(QStringLiteral("Gesendete HIT Meldungen"));
    setHelpContext(HilfeKontext);
    const TEinstellungen* e = Einstellungen();
    if (!e)
        throw std::runtime_error("Die Einstellungen sind nicht geladen.");
    von_->setText(DatumText(e->GetGesendeteHITMeldungenVon()));
    bis_->setText(DatumText(e->GetGesendeteHITMeldungenBis()));

    auto* gruppe = new QGroupBox(QStringLiteral("Meldungen"), this);
    auto* raster = new QGridLayout(gruppe);
    const auto haken = [gruppe, raster](const char* name, const QString& text, bool an, int zeile,
                                        int spalte) {
        auto* c = new QCheckBox(text, gruppe);
        c->setObjectName(QString::fromLatin1(name));
        c->setChecked(an);
        raster->addWidget(c, zeile, spalte);
        return c;
    };
    geburt_ = haken("Geburt", QStringLiteral("Geburt"), e->GetGesendeteHITMeldungenGeburt(), 0, 0);
    zugang_ = haken("Zugang", QStringLiteral("Zugang"), e->GetGesendeteHITMeldungenZugang(), 1, 0);
    abgang_ = haken("Abgang", QStringLiteral("Abgang"), e->GetGesendeteHITMeldungenAbgang(), 2, 0);
    ausfuhr_ =
        haken("Ausfuhr", QStringLiteral("Ausfuhr"), e->GetGesendeteHITMeldungenAusfuhr(), 0, 1);
    tod_ = haken("Tod", QStringLiteral("Tod"), e->GetGesendeteHITMeldungenTod(), 1, 1);
    importmarkierung_ = haken("Importmarkierung", QStringLiteral("Importmarkierung"),
                              e->GetGesendeteHITMeldungenImportmarkierung(), 2, 1);
    ohrmarken_ = haken("OhrmarkenNachbestellung", QStringLiteral("Ohrmarken-Nachbestellung"),
                       e->GetGesendeteHITMeldungenOhrmarkenNachbestellung(), 0, 2);

    auto* zeitraum = new QHBoxLayout;
    zeitraum->addWidget(new QLabel(QStringLiteral("von"), this));
    zeitraum->addWidget(von_);
    zeitraum->addSpacing(12);
    zeitraum->addWidget(new QLabel(QStringLiteral("bis"), this));
    zeitraum->addWidget(bis_);
    zeitraum->addStretch(1);
    Oben()->addLayout(zeitraum);
    Oben()->addWidget(gruppe);

    DesignsEinrichten({ListenTyp, Felder, e->GetGesendeteHITMeldungenStandardDesigns(), -1, false,
                       ListenDialoge::HITGesendetBildschirmFelder(),
                       ListenDialoge::HITGesendetDruckFelder(), false,
                       [](db::Database& datenbank, QWidget* parent) -> TfrmListeNormal* {
                           return new TfrmListeGesendeteHITMeldungen(datenbank, parent);
                       }});
    resize(640, 480);
}

QCheckBox* TfrmGesendeteHITMeldungen::Meldung(const QString& name) const
{
    return findChild<QCheckBox*>(name);
}

void TfrmGesendeteHITMeldungen::EinstellungenSpeichern()
{
    TEinstellungen* e = Einstellungen();
    const auto [von, bis] = Zeitraum(von_, bis_);
    TIniDatei::Stapel stapel(e->IniDatei());
    e->SetGesendeteHITMeldungenVon(von);
    e->SetGesendeteHITMeldungenBis(bis);
    e->SetGesendeteHITMeldungenGeburt(geburt_->isChecked());
    e->SetGesendeteHITMeldungenZugang(zugang_->isChecked());
    e->SetGesendeteHITMeldungenAbgang(abgang_->isChecked());
    e->SetGesendeteHITMeldungenAusfuhr(ausfuhr_->isChecked());
    e->SetGesendeteHITMeldungenTod(tod_->isChecked());
    e->SetGesendeteHITMeldungenImportmarkierung(importmarkierung_->isChecked());
    e->SetGesendeteHITMeldungenOhrmarkenNachbestellung(ohrmarken_->isChecked());
    e->SetGesendeteHITMeldungenStandardDesigns(StandardDesigns());
    stapel.Abschliessen();
}

void TfrmGesendeteHITMeldungen::TexteErstellen(QString& daten, QString& schnellwahl, QString& titel)
{
    const TEinstellungen* e = Einstellungen();
    const QDate von = e->GetGesendeteHITMeldungenVon();
    const QDate bis = e->GetGesendeteHITMeldungenBis();
    if (!von.isValid() || !bis.isValid())
        throw std::runtime_error("Bitte geben Sie bei \"von\" und \"bis\" gültige Daten ein.");
    ListenDialoge::HITMeldungen m;
    m.geburt = e->GetGesendeteHITMeldungenGeburt();
    m.zugang = e->GetGesendeteHITMeldungenZugang();
    m.abgang = e->GetGesendeteHITMeldungenAbgang();
    m.ausfuhr = e->GetGesendeteHITMeldungenAusfuhr();
    m.tod = e->GetGesendeteHITMeldungenTod();
    m.importmarkierung = e->GetGesendeteHITMeldungenImportmarkierung();
    m.ohrmarkenNachbestellung = e->GetGesendeteHITMeldungenOhrmarkenNachbestellung();
    daten = ListenDialoge::HITGesendetDatenSQL(m, von, bis);
    schnellwahl = ListenDialoge::HITGesendetSchnellwahlSQL(m, von, bis);
    titel = ListenDialoge::Titelzusatz(von, bis);
}
