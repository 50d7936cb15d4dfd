#include "GrundeinstellungenTermine.h"

#include "Grundeinstellungen.h"

#include <ZRPropGrid.h>

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace GrundeinstellungenDaten;

TGrundeinstellungenTermine::TGrundeinstellungenTermine(TGrundeinstellungenDaten& daten)
    : TGrundeinstellungenSeite(TGrundKat::gkTermine, daten)
{
    liste_ = Auswahl(QStringLiteral("cbTerminliste"));
    liste_->setMinimumContentsLength(24);
    start_ = Schalter(QStringLiteral("Termine bei Programmstart anzeigen"),
                      QStringLiteral("cbTermineStart"));
    autostart_ = Schalter(QStringLiteral("Termine bei Start des Computers anzeigen"),
                          QStringLiteral("cbAutostart"));
    auto* liste = new QHBoxLayout;
    liste->addWidget(Beschriftung(QStringLiteral("Terminliste:")));
    liste->addWidget(liste_);
    liste->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(liste);
    layout->addWidget(start_);
    layout->addWidget(autostart_);
    gitter_ = NeuesGitter(layout, nullptr, QStringLiteral("grdTermine"),
                          QStringLiteral("Parameter"), QStringLiteral("Werte"));
    gitter_->setColumnWidth(0, gitter_->fontMetrics().horizontalAdvance(QStringLiteral(
                                   "Anfüttern x Tage vor voraussichtlicher Kalbung beginnen")) +
                                   10);
}

void TGrundeinstellungenTermine::Laden()
{
    liste_->clear();
    liste_->addItems(E().TerminListenLaden());
    liste_->setCurrentIndex(E().TerminListeIndex());
    start_->setChecked(E().GetTerminProgStartAnzeigen());
    autostart_->setChecked(E().AutostartAktiv());

    gitter_->BeginUpdate();
    for (const TerminZeile& z : TerminZeilen()) {
        TZRPropertiesItem& p = gitter_->Properties().Add();
        p.SetCaption(z.text);
        const int wert = z.lesen(E());
        switch (z.art) {
            case TerminZeile::Zahl:
                p.SetEditType(2);
                p.SetDigits(0);
                p.SetMin(0);
                p.SetMax(z.max);
                p.SetValue(QString::number(wert));
                break;
            case TerminZeile::JaNein:
                p.SetEditType(5);
                p.PickList().Add(QStringLiteral("1"), QStringLiteral("Ja"));
                p.PickList().Add(QStringLiteral("0"), QStringLiteral("Nein"));
                p.SetValue(JaNeinSchluessel(wert == 1));
                break;
            case TerminZeile::NeinJa:
                p.SetEditType(5);
                p.PickList().Add(QStringLiteral("0"), QStringLiteral("Nein"));
                p.PickList().Add(QStringLiteral("1"), QStringLiteral("Ja"));
                p.SetValue(JaNeinSchluessel(wert == 1));
                break;
            case TerminZeile::Harnstoff:
                p.SetEditType(5);
                p.PickList().Add(QStringLiteral("0"), QStringLiteral("ppm"));
                p.PickList().Add(QStringLiteral("1"), QStringLiteral("mg / dl"));
                p.SetValue(JaNeinSchluessel(wert == 1));
                break;
        }
    }
    gitter_->EndUpdate();
}

bool TGrundeinstellungenTermine::Speichern()
{
    if (liste_->currentIndex() >= 0)
        E().SetTerminListeIndex(liste_->currentIndex());
    E().SetTerminProgStartAnzeigen(start_->isChecked());
    const std::vector<TerminZeile>& zeilen = TerminZeilen();
    for (std::size_t i = 0; i < zeilen.size(); ++i)
        zeilen[i].schreiben(E(), ZeilenWert(gitter_->Properties().GetItem(int(i)).Value()));
    return true;
}

void TGrundeinstellungenTermine::AusserhalbSpeichern()
{
    if (autostart_->isChecked() != E().AutostartAktiv())
        E().AutostartSetzen(autostart_->isChecked());
}
