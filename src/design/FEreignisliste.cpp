#include "FEreignisliste.h"

#include <Grundeinstellungen.h>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

const TEinstellungen& Geladen()
{
    const TEinstellungen* e = Einstellungen();
    if (!e)
        throw std::runtime_error("Die Einstellungen sind nicht geladen.");
    return *e;
}

}  // namespace

TfrmEreignisliste::TfrmEreignisliste(db::Database& datenbank, QWidget* owner)
    : TfrmInternListeDialog(datenbank, owner, QStringLiteral("TAEreignisliste")),
      von_(Datumsfeld("von")),
      bis_(Datumsfeld("bis"))
{
    setObjectName(QStringLiteral("frmEreignisliste"));
    setWindowTitle(QStringLiteral("Ereignisliste"));
    setHelpContext(HilfeKontext);
    const TEinstellungen& e = Geladen();
    von_->setText(DatumText(e.GetEreignislisteVon()));
    bis_->setText(DatumText(e.GetEreignislisteBis()));

    auto* gruppe = new QGroupBox(QStringLiteral("Ereignisse"), this);
    auto* raster = new QGridLayout(gruppe);
    const auto haken = [gruppe, raster](const char* name, bool an, int zeile, int spalte) {
        auto* c = new QCheckBox(QString::fromLatin1(name), gruppe);
        c->setObjectName(QString::fromLatin1(name));
        c->setChecked(an);
        raster->addWidget(c, zeile, spalte);
        return c;
    };
    zugang_ = haken("Zugang", e.GetEreignislisteZugang(), 0, 0);
    abgang_ = haken("Abgang", e.GetEreignislisteAbgang(), 1, 0);
    besamung_ = haken("Besamung", e.GetEreignislisteBesamung(), 0, 1);
    kalbung_ = haken("Kalbung", e.GetEreignislisteKalbung(), 1, 1);
    behandlung_ = haken("Behandlung", e.GetEreignislisteBehandlung(), 0, 2);
    trockenstellen_ = haken("Trockenstellen", e.GetEreignislisteTrockenstellen(), 1, 2);

    auto* zeitraum = new QHBoxLayout;
    zeitraum->addWidget(new QLabel(QStringLiteral("von"), this));
    zeitraum->addWidget(von_);
    zeitraum->addSpacing(12);
    zeitraum->addWidget(new QLabel(QStringLiteral("bis"), this));
    zeitraum->addWidget(bis_);
    zeitraum->addStretch(1);
    Oben()->addLayout(zeitraum);
    Oben()->addWidget(gruppe);

    DesignsEinrichten({ListenTyp,
                       Felder,
                       e.GetEreignislisteStandardDesigns(),
                       -1,
                       false,
                       ListenDialoge::EreignislisteBildschirmFelder(),
                       ListenDialoge::EreignislisteDruckFelder(),
                       false,
                       {}});
    resize(620, 460);
}

QCheckBox* TfrmEreignisliste::Ereignis(const QString& name) const
{
    return findChild<QCheckBox*>(name);
}

void TfrmEreignisliste::EinstellungenSpeichern()
{
    TEinstellungen* e = Einstellungen();
    const auto [von, bis] = Zeitraum(von_, bis_);
    TIniDatei::Stapel stapel(e->IniDatei());
    e->SetEreignislisteVon(von);
    e->SetEreignislisteBis(bis);
    e->SetEreignislisteZugang(zugang_->isChecked());
    e->SetEreignislisteAbgang(abgang_->isChecked());
    e->SetEreignislisteBesamung(besamung_->isChecked());
    e->SetEreignislisteTrockenstellen(trockenstellen_->isChecked());
    e->SetEreignislisteKalbung(kalbung_->isChecked());
    e->SetEreignislisteBehandlung(behandlung_->isChecked());
    e->SetEreignislisteStandardDesigns(StandardDesigns());
    stapel.Abschliessen();
}

void TfrmEreignisliste::TexteErstellen(QString& daten, QString& schnellwahl, QString& titel)
{
    const TEinstellungen& e = Geladen();
    const QDate von = e.GetEreignislisteVon();
    const QDate bis = e.GetEreignislisteBis();
    if (!von.isValid() || !bis.isValid())
        throw std::runtime_error("Bitte geben Sie bei \"von\" und \"bis\" gültige Daten ein.");
    ListenDialoge::Ereignisse art;
    art.zugang = e.GetEreignislisteZugang();
    art.abgang = e.GetEreignislisteAbgang();
    art.besamung = e.GetEreignislisteBesamung();
    art.trockenstellen = e.GetEreignislisteTrockenstellen();
    art.kalbung = e.GetEreignislisteKalbung();
    art.behandlung = e.GetEreignislisteBehandlung();
    daten = ListenDialoge::EreignislisteDatenSQL(art, von, bis);
    schnellwahl = ListenDialoge::EreignislisteSchnellwahlSQL(art, von, bis);
    titel = ListenDialoge::Titelzusatz(von, bis);
}
