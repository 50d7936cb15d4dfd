#include "FBestandslisteParameter.h"

#include <FrameInternListeWahl.h>
#include <Grundeinstellungen.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <stdexcept>
#include <tuple>

TfrmBestandslisteParameter::TfrmBestandslisteParameter(db::Database& datenbank, QWidget* owner)
    : TfrmInternListeDialog(datenbank, owner, QStringLiteral("TABestandslisteParameter")),
      am_(Datumsfeld("am"))
{
    setObjectName(QStringLiteral("frmBestandslisteParameter"));
    setWindowTitle(QStringLiteral("Bestandsliste"));
    setHelpContext(HilfeKontext);
    const TEinstellungen* e = Einstellungen();
    if (!e)
        throw std::runtime_error("Die Einstellungen sind nicht geladen.");

    auto* zeitpunkt = new QGroupBox(QStringLiteral("Zeitpunkt"), this);
    auto* z = new QHBoxLayout(zeitpunkt);
    z->addWidget(new QLabel(QStringLiteral("am"), zeitpunkt));
    z->addWidget(am_);
    z->addStretch(1);
    am_->setText(DatumText(e->GetBestandslisteParameterAm()));

    auto* alter = new QGroupBox(QStringLiteral("Alter"), this);
    auto* a = new QGridLayout(alter);
    const auto zeile = [this, alter, a](const char* haken, const QString& text, const char* wert,
                                        const char* einheit, int r, QCheckBox*& c, QSpinBox*& w,
                                        QComboBox*& eh) {
        c = new QCheckBox(text, alter);
        c->setObjectName(QString::fromLatin1(haken));
        w = new QSpinBox(alter);
        w->setObjectName(QString::fromLatin1(wert));
        w->setRange(0, 99999);
        eh = new QComboBox(alter);
        eh->setObjectName(QString::fromLatin1(einheit));
        for (int i = 0; i < 3; ++i)
            eh->addItem(ListenDialoge::EinheitName(i));
        a->addWidget(c, r, 0);
        a->addWidget(w, r, 1);
        a->addWidget(eh, r, 2);
        connect(c, &QCheckBox::toggled, this, [this] { FreigabeAktualisieren(); });
    };
    zeile("AlterVon", QStringLiteral("von"), "WertVon", "EinheitVon", 0, alterVon_, wertVon_,
          einheitVon_);
    zeile("AlterBis", QStringLiteral("bis"), "WertBis", "EinheitBis", 1, alterBis_, wertBis_,
          einheitBis_);
    a->setColumnStretch(3, 1);
    alterVon_->setChecked(e->GetBestandslisteParameterAlterVon());
    alterBis_->setChecked(e->GetBestandslisteParameterAlterBis());
    wertVon_->setValue(e->GetBestandslisteParameterWertVon());
    wertBis_->setValue(e->GetBestandslisteParameterWertBis());
    einheitVon_->setCurrentIndex(std::clamp(e->GetBestandslisteParameterEinheitVon(), 0, 2));
    einheitBis_->setCurrentIndex(std::clamp(e->GetBestandslisteParameterEinheitBis(), 0, 2));

    auto* klasse = new QGroupBox(QStringLiteral("Tierklasse"), this);
    auto* k = new QHBoxLayout(klasse);
    tierklasse_ = new QComboBox(klasse);
    tierklasse_->setObjectName(QStringLiteral("Tierklasse"));
    tierklasse_->addItems({QStringLiteral("Alle Tiere"), QStringLiteral("männliche"),
                           QStringLiteral("weibliche"), QStringLiteral("Kalbinnen"),
                           QStringLiteral("Kühe")});
    tierklasse_->setCurrentIndex(std::clamp(e->GetBestandslisteParameterTierklasse(), 0, 4));
    k->addWidget(tierklasse_);
    k->addStretch(1);

    auto* reihe = new QHBoxLayout;
    reihe->addWidget(zeitpunkt);
    reihe->addWidget(alter, 1);
    reihe->addWidget(klasse);
    Oben()->addLayout(reihe);
    FreigabeAktualisieren();

    DesignsEinrichten({ListenTyp,
                       Felder,
                       e->GetBestandslisteParameterStandardDesigns(),
                       e->GetAktBetriebListen(),
                       true,
                       ListenDialoge::BestandBildschirmFelder(),
                       ListenDialoge::BestandDruckFelder(),
                       false,
                       {}});
    resize(720, 460);
}

void TfrmBestandslisteParameter::FreigabeAktualisieren()
{
    for (auto [c, w, eh] : {std::tuple{alterVon_, wertVon_, einheitVon_},
                            std::tuple{alterBis_, wertBis_, einheitBis_}}) {
        w->setEnabled(c->isChecked());
        eh->setEnabled(c->isChecked());
    }
}

void TfrmBestandslisteParameter::EinstellungenSpeichern()
{
    TEinstellungen* e = Einstellungen();
    TIniDatei::Stapel stapel(e->IniDatei());
    e->SetBestandslisteParameterAm(Datum(am_));
    e->SetBestandslisteParameterAlterVon(alterVon_->isChecked());
    e->SetBestandslisteParameterAlterBis(alterBis_->isChecked());
    e->SetBestandslisteParameterWertVon(wertVon_->value());
    e->SetBestandslisteParameterWertBis(wertBis_->value());
    e->SetBestandslisteParameterEinheitVon(einheitVon_->currentIndex());
    e->SetBestandslisteParameterEinheitBis(einheitBis_->currentIndex());
    e->SetBestandslisteParameterTierklasse(tierklasse_->currentIndex());
    e->SetBestandslisteParameterStandardDesigns(StandardDesigns());
    stapel.Abschliessen();
}

void TfrmBestandslisteParameter::TexteErstellen(QString& daten, QString& schnellwahl,
                                                QString& titel)
{
    const TEinstellungen* e = Einstellungen();
    ListenDialoge::Bestandsparameter p;
    p.am = Datum(am_);
    if (!p.am.isValid())
        throw std::runtime_error("Bitte geben Sie bei \"am\" ein gültiges Datum ein.");
    p.alterVon = e->GetBestandslisteParameterAlterVon();
    p.alterBis = e->GetBestandslisteParameterAlterBis();
    p.wertVon = e->GetBestandslisteParameterWertVon();
    p.wertBis = e->GetBestandslisteParameterWertBis();
    p.einheitVon = e->GetBestandslisteParameterEinheitVon();
    p.einheitBis = e->GetBestandslisteParameterEinheitBis();
    p.tierklasse = e->GetBestandslisteParameterTierklasse();
    const int betrieb = Designs()->Betriebsstaette;
    daten = ListenDialoge::BestandDatenSQL(p, betrieb);
    schnellwahl = ListenDialoge::BestandSchnellwahlSQL(p, betrieb);
    titel = ListenDialoge::BestandTitelzusatz(p);
}
