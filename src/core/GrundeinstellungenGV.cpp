#include "GrundeinstellungenGV.h"

#include "DBTools.h"

#include <Field.h>
#include <FloatEditRegeln.h>
#include <Meldung.h>
#include <ZRPropGrid.h>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace GrundeinstellungenDaten;

TGrundeinstellungenGV::TGrundeinstellungenGV(TGrundeinstellungenDaten& daten)
    : TGrundeinstellungenSeite(TGrundKat::gkGV, daten)
{
    wahl_ = Auswahl(QStringLiteral("cbGVSchluessel"));
    wahl_->setMinimumContentsLength(24);
    auto* neu = Knopf(QStringLiteral("Schlüssel hinzufügen"), QStringLiteral("btnGVNeu"));
    auto* weg = Knopf(QStringLiteral("Schlüssel entfernen"), QStringLiteral("btnGVEntfernen"));
    auto* wahl = new QHBoxLayout;
    wahl->addWidget(wahl_);
    wahl->addWidget(neu);
    wahl->addWidget(weg);
    wahl->addStretch();
    ort_ = new QVBoxLayout(this);
    ort_->setContentsMargins(0, 0, 0, 0);
    ort_->addWidget(Beschriftung(QStringLiteral("GV Schlüssel:")));
    ort_->addLayout(wahl);
    connect(wahl_, &QComboBox::activated, this, &TGrundeinstellungenGV::SchluesselGewaehlt);
    connect(neu, &QPushButton::clicked, this, &TGrundeinstellungenGV::SchluesselHinzufuegen);
    connect(weg, &QPushButton::clicked, this, &TGrundeinstellungenGV::SchluesselEntfernen);
}

bool TGrundeinstellungenGV::Pruefen()
{
    return ZahlenPruefen() && NamePruefen();
}

void TGrundeinstellungenGV::SchluesselLaden(int id)
{
    const int gewaehlt = id == -1 ? id_ : id;
    db::DataSet& schluessel = Daten().GVSchluessel();
    schluessel.Close();
    schluessel.Open();
    wahl_->clear();
    ids_.clear();
    const int idFeld = schluessel.FieldByName(QStringLiteral("ID")).Index();
    const int nameFeld = schluessel.FieldByName(QStringLiteral("BEZEICHNUNG")).Index();
    for (int i = 0; i < schluessel.RecordCount(); ++i) {
        const int s = schluessel.ValueAt(i, idFeld).AsInteger();
        ids_ << s;
        wahl_->addItem(schluessel.ValueAt(i, nameFeld).AsString(), s);
    }
    wahl_->setCurrentIndex(ids_.isEmpty() ? -1 : std::max<int>(0, int(ids_.indexOf(gewaehlt))));
    id_ = wahl_->currentIndex() < 0 ? -1 : wahl_->currentData().toInt();
    emit SchluesselGelesen();

    gitter_ = NeuesGitter(ort_, gitter_, QStringLiteral("grdGVSchluessel"),
                          QStringLiteral("Bezeichnung"), QStringLiteral("Werte"));
    gitter_->setColumnWidth(0, gitter_->fontMetrics().horizontalAdvance(
                                   QStringLiteral("Weibl. Rinder ü. 6 M. - 1 J. Pension")) +
                                   16);
    if (id_ < 0)
        return;
    DBTools::LocateInteger(schluessel, QStringLiteral("ID"), id_, false);
    gitter_->BeginUpdate();
    TZRPropertiesItem& name = gitter_->Properties().Add();
    name.SetCaption(QStringLiteral("Bezeichnung"));
    name.SetEditType(1);
    name.SetValue(schluessel.FieldByName(QStringLiteral("BEZEICHNUNG")).AsString());
    for (const GVFaktor& f : GVFaktoren()) {
        TZRPropertiesItem& p = gitter_->Properties().Add();
        p.SetCaption(f.text);
        p.SetEditType(2);
        p.SetDigits(2);
        p.SetMin(0);
        p.SetMax(2.5L);
        p.SetValue(FloatEditRegeln::ZahlText(schluessel.FieldByName(f.feld).AsDouble(), 2,
                                             QLatin1Char(',')));
    }
    gitter_->EndUpdate();
}

bool TGrundeinstellungenGV::NamePruefen()
{
    if (!gitter_ || id_ < 0)
        return true;
    const QString name = gitter_->Properties().GetItem(0).Value().trimmed();
    if (!name.isEmpty() && name.size() <= 50)
        return true;
    Zeigen();
    Tools::MeldungError(name.isEmpty() ? QStringLiteral("Bitte geben Sie eine Bezeichnung für den "
                                                        "GV - Schlüssel ein.")
                                       : QStringLiteral("Die Bezeichnung des GV - Schlüssels darf "
                                                        "höchstens 50 Zeichen lang sein."));
    gitter_->setFocus();
    gitter_->SetCell(1, 1);
    return false;
}

bool TGrundeinstellungenGV::Speichern()
{
    if (id_ < 0 || !gitter_)
        return true;
    if (!NamePruefen())
        return false;
    QStringList faktoren;
    for (std::size_t i = 0; i < GVFaktoren().size(); ++i)
        faktoren << gitter_->Properties().GetItem(int(i) + 1).Value();
    return Daten().GVSchluesselSetzen(id_, gitter_->Properties().GetItem(0).Value().trimmed(),
                                      faktoren);
}

void TGrundeinstellungenGV::SchluesselGewaehlt(int position)
{
    if (position < 0 || wahl_->itemData(position).toInt() == id_)
        return;
    const int neu = wahl_->itemData(position).toInt();
    if (!Speichern()) {
        wahl_->setCurrentIndex(int(ids_.indexOf(id_)));
        return;
    }
    SchluesselLaden(neu);
}

void TGrundeinstellungenGV::SchluesselHinzufuegen()
{
    if (!Speichern())
        return;
    const std::optional<int> id = Daten().GVSchluesselAnhaengen(int(ids_.size()));
    if (!id)
        return;
    SchluesselLaden(*id);
    gitter_->setFocus();
    gitter_->SetCell(1, 2);
}

void TGrundeinstellungenGV::SchluesselEntfernen()
{
    db::DataSet& schluessel = Daten().GVSchluessel();
    if (id_ < 0 || !DBTools::LocateInteger(schluessel, QStringLiteral("ID"), id_, false))
        return;
    if (!DBTools::LoeschenMitFrage(
            schluessel, QStringLiteral("Wollen Sie diesen GV - Schlüssel wirklich löschen?")))
        return;
    id_ = -1;
    SchluesselLaden(-1);
}
