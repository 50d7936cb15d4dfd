#include "GrundeinstellungenFruchtbarkeit.h"

#include "Grundeinstellungen.h"

#include <Field.h>

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace GrundeinstellungenDaten;

TGrundeinstellungenFruchtbarkeit::TGrundeinstellungenFruchtbarkeit(TGrundeinstellungenDaten& daten)
    : TGrundeinstellungenSeite(TGrundKat::gkFruchtbarkeit, daten)
{
    rassenWahl_ = Auswahl(QStringLiteral("cbRasse"));
    rassenWahl_->setMinimumContentsLength(24);
    connect(rassenWahl_, &QComboBox::activated, this,
            &TGrundeinstellungenFruchtbarkeit::RasseGewaehlt);

    struct Zeile {
        const char* vor;
        const char* feld;
        const char* nach;
        int max;
    };
    static const Zeile zeilen[] = {
        {"Kälber mit", "KALB_BESAMEN_ANZEIGEN", "Tagen zum besamen anzeigen", 1000},
        {"nächstes Rindern", "NAECHSTES_RINDERN", "Tage nach Besamung", 50},
        {"Trächtigkeitsuntersuchung", "TRAECHTIG_UNTERSUCHUNG", "Tage nach Besamung", 300},
        {"trockenstellen mit", "TROCKENSTELLEN", "Tagen nach Besamung", 500},
        {"soll kalben mit", "SOLL_KALBEN", "Tagen nach Besamung", 600},
        {"Kühe mit", "KUH_BESAMEN_ANZEIGEN", "Tagen nach Kalbung zum bes. anzeigen", 300},
    };
    auto* raster = new QGridLayout;
    raster->addWidget(Beschriftung(QStringLiteral("Rasse:")), 0, 0);
    raster->addWidget(rassenWahl_, 0, 1, 1, 3);
    int r = 1;
    for (const Zeile& z : zeilen) {
        const QString feld = QString::fromLatin1(z.feld);
        TDBFloatEdit* edit =
            Zahl(QStringLiteral("ed") + feld, QString::fromUtf8(z.vor), 0, 1, z.max);
        werte_.push_back({edit, feld});
        raster->addWidget(Beschriftung(QString::fromUtf8(z.vor)), r, 0);
        raster->addWidget(edit, r, 1);
        raster->addWidget(Beschriftung(QString::fromUtf8(z.nach)), r, 2);
        if (feld == QLatin1String("SOLL_KALBEN")) {
            sollKalben_ = edit;
            auto* berechnen =
                Knopf(QStringLiteral("Berechnen"), QStringLiteral("btnSollKalbenBerechnen"));
            connect(berechnen, &QPushButton::clicked, this,
                    &TGrundeinstellungenFruchtbarkeit::SollKalbenBerechnen);
            raster->addWidget(berechnen, r, 3);
        }
        ++r;
    }
    raster->setColumnStretch(4, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(raster);
    layout->addStretch();
}

bool TGrundeinstellungenFruchtbarkeit::Pruefen()
{
    // The values belong to the breed shown; without a breed there are none.
    return rasseID_ <= 0 || ZahlenPruefen();
}

void TGrundeinstellungenFruchtbarkeit::RassenZeigen()
{
    db::DataSet& rassen = Daten().Rassen();
    rassenWahl_->clear();
    if (rassen.Active()) {
        const int bezeichnung = rassen.FieldByName(QStringLiteral("BEZEICHNUNG")).Index();
        for (int i = 0; i < rassen.RecordCount(); ++i)
            rassenWahl_->addItem(rassen.ValueAt(i, bezeichnung).AsString());
        rassenWahl_->setCurrentIndex(rassen.RecNo());
    }
    RasseZeigen();
}

void TGrundeinstellungenFruchtbarkeit::RasseGewaehlt(int position)
{
    if (position < 0)
        return;
    db::DataSet& rassen = Daten().Rassen();
    if (!RasseUebernehmen()) {
        rassenWahl_->setCurrentIndex(rassen.RecNo());
        return;
    }
    rassen.Locate(QStringLiteral("BEZEICHNUNG"), {rassenWahl_->itemText(position)});
    RasseZeigen();
}

void TGrundeinstellungenFruchtbarkeit::RasseZeigen()
{
    db::DataSet& rassen = Daten().Rassen();
    const bool da = rassen.Active() && !rassen.IsEmpty();
    rasseID_ = da ? rassen.FieldByName(QStringLiteral("ID")).AsInteger() : 0;
    for (const auto& [edit, feld] : werte_) {
        edit->setEnabled(da);
        edit->SetValue(da ? std::optional<long double>(rassen.FieldByName(feld).AsInteger())
                          : std::nullopt);
    }
}

bool TGrundeinstellungenFruchtbarkeit::RasseUebernehmen()
{
    if (rasseID_ <= 0)
        return true;
    if (!ZahlenPruefen())
        return false;
    std::vector<std::pair<QString, int>> werte;
    for (const auto& [edit, feld] : werte_)
        werte.emplace_back(feld, Zahlwert(edit));
    return Daten().RasseWerteSetzen(rasseID_, werte);
}

void TGrundeinstellungenFruchtbarkeit::SollKalbenBerechnen()
{
    if (rasseID_ <= 0)
        return;
    if (const std::optional<int> wert =
            Berechnen::SollKalben(Daten().Transaktion(), rasseID_, E().ZeitraumBeginn()))
        sollKalben_->SetValue(*wert);
}
