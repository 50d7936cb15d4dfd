#include "GrundeinstellungenPrognosen.h"

#include "Grundeinstellungen.h"

#include <Field.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

using namespace GrundeinstellungenDaten;

TGrundeinstellungenPrognosen::TGrundeinstellungenPrognosen(TGrundeinstellungenDaten& daten)
    : TGrundeinstellungenSeite(TGrundKat::gkPrognosen, daten)
{
    maxKuhzahl_ = Zahl(QStringLiteral("edMaxKuhzahl"), QStringLiteral("max. Kuhzahl"), 0, 0, 1000);
    mKalbVerkaufen_ =
        Zahl(QStringLiteral("edMKalbVerkaufen"), QStringLiteral("m. Kälber mit"), 0, 0, 1000);
    kalbBesamen_ = Zahl(QStringLiteral("edKalbBesamen"), QStringLiteral("Kälber mit"), 0, 0, 1000);
    kuhBesamen_ = Zahl(QStringLiteral("edKuhBesamen"), QStringLiteral("1. Besamung"), 0, 0, 400);
    mastVerkaufen_ =
        Zahl(QStringLiteral("edMastVerkaufen"), QStringLiteral("Masttiere mit"), 0, 0, 1000);
    gv_ = Auswahl(QStringLiteral("cbPrognoseGV"));
    gv_->setMinimumContentsLength(20);
    gvLinie_ =
        Schalter(QStringLiteral("GV in Tierbestandsgrafik anzeigen"), QStringLiteral("cbGVLinie"));

    auto* raster = new QGridLayout;
    raster->addWidget(Beschriftung(QStringLiteral("max. Kuhzahl:")), 0, 0);
    raster->addWidget(maxKuhzahl_, 0, 1);
    struct Zeile {
        const char* vor;
        TDBFloatEdit* edit;
        const char* nach;
        const char* knopf;
        std::function<std::optional<int>(db::Transaction&, const QDate&)> rechnen;
    };
    const Zeile zeilen[] = {
        {"m. Kälber mit", mKalbVerkaufen_, "Tagen verkaufen", "btnMKalbBerechnen",
         Berechnen::MKaelberVerkaufen},
        {"Kälber mit", kalbBesamen_, "Tagen besamen", "btnKalbBerechnen", Berechnen::KalbBesamen},
        {"1. Besamung", kuhBesamen_, "Tage nach Kalbung", "btnKuhBerechnen", Berechnen::KuhBesamen},
        {"Masttiere mit", mastVerkaufen_, "Tagen verkaufen", "btnMastBerechnen",
         Berechnen::MastVerkaufen},
    };
    int r = 1;
    for (const Zeile& z : zeilen) {
        raster->addWidget(Beschriftung(QString::fromUtf8(z.vor)), r, 0);
        raster->addWidget(z.edit, r, 1);
        raster->addWidget(Beschriftung(QString::fromUtf8(z.nach)), r, 2);
        auto* k = Knopf(QStringLiteral("Berechnen"), QString::fromLatin1(z.knopf));
        raster->addWidget(k, r, 3);
        connect(k, &QPushButton::clicked, this, [this, edit = z.edit, rechnen = z.rechnen] {
            if (const std::optional<int> wert =
                    rechnen(Daten().Transaktion(), E().ZeitraumBeginn()))
                edit->SetValue(*wert);
        });
        ++r;
    }
    raster->setColumnStretch(4, 1);
    auto* gv = new QHBoxLayout;
    gv->addWidget(Beschriftung(QStringLiteral("zu verwendender GV - Schlüssel")));
    gv->addWidget(gv_);
    gv->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(raster);
    layout->addSpacing(12);
    layout->addLayout(gv);
    layout->addWidget(gvLinie_);
    layout->addStretch();
}

void TGrundeinstellungenPrognosen::Laden()
{
    maxKuhzahl_->SetValue(E().GetPrognoseMaxKuhzahl());
    mKalbVerkaufen_->SetValue(E().GetPrognoseMKalbVerkaufen());
    kalbBesamen_->SetValue(E().GetPrognoseKalbBesamen());
    kuhBesamen_->SetValue(E().GetPrognoseKuhBesamen());
    mastVerkaufen_->SetValue(E().GetPrognoseMastVerkaufen());
    gvLinie_->setChecked(E().GetGVLinie());
}

bool TGrundeinstellungenPrognosen::Speichern()
{
    E().SetPrognoseMaxKuhzahl(Zahlwert(maxKuhzahl_));
    E().SetPrognoseMKalbVerkaufen(Zahlwert(mKalbVerkaufen_));
    E().SetPrognoseKalbBesamen(Zahlwert(kalbBesamen_));
    E().SetPrognoseKuhBesamen(Zahlwert(kuhBesamen_));
    E().SetPrognoseMastVerkaufen(Zahlwert(mastVerkaufen_));
    if (gv_->currentIndex() >= 0)
        E().SetGVSchluessel(gv_->currentData().toInt());
    E().SetGVLinie(gvLinie_->isChecked());
    return true;
}

void TGrundeinstellungenPrognosen::GVSchluesselZeigen()
{
    const int gewaehlt =
        gv_->currentIndex() >= 0 ? gv_->currentData().toInt() : E().GetGVSchluessel();
    db::DataSet& schluessel = Daten().GVSchluessel();
    gv_->clear();
    const int idFeld = schluessel.FieldByName(QStringLiteral("ID")).Index();
    const int nameFeld = schluessel.FieldByName(QStringLiteral("BEZEICHNUNG")).Index();
    for (int i = 0; i < schluessel.RecordCount(); ++i)
        gv_->addItem(schluessel.ValueAt(i, nameFeld).AsString(),
                     schluessel.ValueAt(i, idFeld).AsInteger());
    gv_->setCurrentIndex(gv_->count() == 0 ? -1 : std::max(0, gv_->findData(gewaehlt)));
}
