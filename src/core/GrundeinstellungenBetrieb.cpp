#include "GrundeinstellungenBetrieb.h"

#include "Grundeinstellungen.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

TGrundeinstellungenBetrieb::TGrundeinstellungenBetrieb(TGrundeinstellungenDaten& daten)
    : TGrundeinstellungenSeite(TGrundKat::gkBetrieb, daten)
{
    name_ = Text(QStringLiteral("edName"));
    adresse_ = Text(QStringLiteral("edAdresse"));
    plz_ = Text(QStringLiteral("edPLZ"));
    plz_->setMaxLength(5);
    plz_->setMaximumWidth(70);
    ort_ = Text(QStringLiteral("edOrt"));
    flaeche_ = Zahl(QStringLiteral("edFlaeche"), QStringLiteral("Fläche"), 2, 0, 10000);
    waehrung_ = Auswahl(QStringLiteral("cbWaehrung"),
                        {QStringLiteral("EUR"), QStringLiteral("DEM"), QStringLiteral("ATS")});
    zeitraum_ = Auswahl(QStringLiteral("cbZeitraum"),
                        {QStringLiteral("alle Daten verwenden"), QStringLiteral("letzten 10 Jahre"),
                         QStringLiteral("letzten 5 Jahre"), QStringLiteral("letzten 3 Jahre"),
                         QStringLiteral("letzten 2 Jahre"), QStringLiteral("letztes Jahr")});
    knr_ = Auswahl(QStringLiteral("cbKNR"), {QStringLiteral("123"), QStringLiteral("123456")});

    auto* plzOrt = new QHBoxLayout;
    plzOrt->addWidget(plz_);
    plzOrt->addWidget(ort_, 1);
    auto* flaeche = new QHBoxLayout;
    flaeche->addWidget(flaeche_);
    flaeche->addWidget(Beschriftung(QStringLiteral("ha")));
    flaeche->addStretch();
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Name:"), name_);
    form->addRow(QStringLiteral("Adresse:"), adresse_);
    form->addRow(QStringLiteral("PLZ/Ort:"), plzOrt);
    form->addRow(QStringLiteral("Fläche:"), flaeche);
    form->addRow(QStringLiteral("Standardwährung"), waehrung_);
    form->addRow(QStringLiteral("Zeitraum für Berechnungen"), zeitraum_);
    form->addRow(QStringLiteral("KNR Anzeige"), knr_);
}

void TGrundeinstellungenBetrieb::Laden()
{
    name_->setText(E().GetBetriebName());
    adresse_->setText(E().GetBetriebAdresse());
    plz_->setText(E().GetBetriebPLZ());
    ort_->setText(E().GetBetriebOrt());
    flaeche_->SetValue(E().GetBetriebFlaeche());
    waehrung_->setCurrentIndex(E().GetStandardwaehrung());
    zeitraum_->setCurrentIndex(E().GetZeitraumBerechnungen());
    knr_->setCurrentIndex(E().GetKNRLaenge() == 6 ? 1 : 0);
}

bool TGrundeinstellungenBetrieb::Speichern()
{
    E().SetBetriebName(name_->text());
    E().SetBetriebAdresse(adresse_->text());
    E().SetBetriebPLZ(plz_->text());
    E().SetBetriebOrt(ort_->text());
    E().SetBetriebFlaeche(double(flaeche_->Value().value_or(0)));
    E().SetStandardwaehrung(waehrung_->currentIndex());
    E().SetZeitraumBerechnungen(zeitraum_->currentIndex());
    E().SetKNRLaenge(knr_->currentIndex() == 1 ? 6 : 3);
    return true;
}
