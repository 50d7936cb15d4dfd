#include "GrundeinstellungenEigenbesamung.h"

#include "Besamungsstation.h"
#include "Grundeinstellungen.h"

#include <BesamungConst.h>
#include <BesamungFunc.h>
#include <Meldung.h>
#include <ZRPropGrid.h>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace GrundeinstellungenDaten;

TGrundeinstellungenEigenbesamung::TGrundeinstellungenEigenbesamung(TGrundeinstellungenDaten& daten)
    : TGrundeinstellungenSeite(TGrundKat::gkEigenbesamung, daten)
{
    stationen_ = Auswahl(QStringLiteral("cbStation"));
    stationen_->setMinimumContentsLength(30);
    auto* neu =
        Knopf(QStringLiteral("Besamungsstation hinzufügen"), QStringLiteral("btnStationNeu"));
    stationEntfernen_ =
        Knopf(QStringLiteral("Besamungsstation entfernen"), QStringLiteral("btnStationEntfernen"));
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(neu);
    knoepfe->addWidget(stationEntfernen_);
    knoepfe->addStretch();
    ort_ = new QVBoxLayout(this);
    ort_->setContentsMargins(0, 0, 0, 0);
    ort_->addWidget(Beschriftung(QStringLiteral("Besamungsstation")));
    ort_->addWidget(stationen_);
    ort_->addLayout(knoepfe);
    connect(stationen_, &QComboBox::activated, this,
            &TGrundeinstellungenEigenbesamung::StationGewaehlt);
    connect(neu, &QPushButton::clicked, this,
            &TGrundeinstellungenEigenbesamung::StationHinzufuegen);
    connect(stationEntfernen_, &QPushButton::clicked, this,
            &TGrundeinstellungenEigenbesamung::StationEntfernen);
}

bool TGrundeinstellungenEigenbesamung::Speichern()
{
    GitterSpeichern();
    return true;
}

void TGrundeinstellungenEigenbesamung::StationLaden(bool neuFuellen, bool letzte)
{
    if (neuFuellen) {
        stationen_->clear();
        for (const BesamungFunc::StationsEintrag& s :
             BesamungFunc::StationenListe(E().GetEigenbesamungStationen(), false))
            stationen_->addItem(s.Name, s.Index);
        stationen_->setCurrentIndex(stationen_->count() == 0 ? -1
                                    : letzte                 ? stationen_->count() - 1
                                                             : 0);
    }
    const int station = stationen_->currentIndex() < 0 ? -1 : stationen_->currentData().toInt();
    if (station == station_ && gitter_)
        return;
    station_ = station;
    stationen_->setEnabled(stationen_->count() > 0);
    stationEntfernen_->setEnabled(stationen_->count() > 0);
    gitter_ = NeuesGitter(ort_, gitter_, QStringLiteral("grdEigenbesamung"),
                          QStringLiteral("Parameter"), QStringLiteral("Werte"));
    gitter_->setColumnWidth(0, gitter_->fontMetrics().horizontalAdvance(
                                   QStringLiteral("Passwort vor senden abfragen")) +
                                   16);
    if (station_ < 0)
        return;
    gitter_->BeginUpdate();
    for (const EigenbesamungZeile& z : EigenbesamungZeilen(station_)) {
        TZRPropertiesItem& p = gitter_->Properties().Add();
        p.SetCaption(z.text);
        switch (z.art) {
            case EigenbesamungZeile::Zahl:
                p.SetEditType(2);
                p.SetDigits(0);
                p.SetMin(0);
                p.SetMax(z.max);
                p.SetValue(QString::number(E().GetEigenbesamungInteger(station_, z.name)));
                break;
            case EigenbesamungZeile::Text:
                p.SetEditType(1);
                p.SetValue(E().GetEigenbesamungString(station_, z.name));
                break;
            case EigenbesamungZeile::JaNein:
                p.SetEditType(5);
                p.PickList().Add(QStringLiteral("1"), QStringLiteral("Ja"));
                p.PickList().Add(QStringLiteral("0"), QStringLiteral("Nein"));
                p.SetValue(E().GetEigenbesamungString(station_, z.name));
                break;
        }
    }
    gitter_->EndUpdate();
}

void TGrundeinstellungenEigenbesamung::GitterSpeichern()
{
    if (station_ < 0 || !gitter_)
        return;
    const std::vector<EigenbesamungZeile> zeilen = EigenbesamungZeilen(station_);
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        const QString wert = gitter_->Properties().GetItem(int(i)).Value();
        if (zeilen[i].art == EigenbesamungZeile::Zahl)
            E().SetEigenbesamungInteger(station_, zeilen[i].name, ZeilenWert(wert));
        else
            E().SetEigenbesamungString(station_, zeilen[i].name, wert);
    }
}

void TGrundeinstellungenEigenbesamung::StationGewaehlt(int position)
{
    if (position < 0 || stationen_->itemData(position).toInt() == station_)
        return;
    // The values shown go into the dialog's one settings bracket (Bearbeiten keeps an open one):
    // "Abbrechen" takes them back with everything else.
    E().Bearbeiten();
    GitterSpeichern();
    StationLaden(false, false);
}

void TGrundeinstellungenEigenbesamung::StationHinzufuegen()
{
    TfrmBesamungsstation dlg(window());
    dlg.Vorbereiten(E().GetEigenbesamungStationen(), false);
    if (dlg.exec() != QDialog::Accepted || dlg.Station().isEmpty())
        return;
    E().Bearbeiten();
    GitterSpeichern();
    E().SetEigenbesamungStationen(StationAnhaengen(E().GetEigenbesamungStationen(), dlg.Station()));
    StationLaden(true, true);
}

void TGrundeinstellungenEigenbesamung::StationEntfernen()
{
    if (station_ < 0)
        return;
    const QString code = BesamungConst::Stationen()[std::size_t(station_)].Code;
    if (StationPortionen(Daten().Transaktion(), code) > 0) {
        Tools::MeldungInfo(QStringLiteral(
            "Diese Besamungsstation wird verwendet.\rSie können sie deshalb nicht löschen!"));
        return;
    }
    if (Tools::MeldungConfirm(
            QStringLiteral("Wollen Sie diese Besamungsstation wirklich löschen?")) != Tools::mrYes)
        return;
    E().Bearbeiten();
    E().SetEigenbesamungStationen(
        GrundeinstellungenDaten::StationEntfernen(E().GetEigenbesamungStationen(), code));
    station_ = -1;
    StationLaden(true, false);
}
