#include "FEigenschaftenLinie.h"

#include "ListenDruckCodes.h"

#include <DBComboBox.h>
#include <DBTools.h>

#include <DataSet.h>
#include <Field.h>

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmEigenschaftenLinie::TfrmEigenschaftenLinie(db::DataSet& daten, const QString& artFeld,
                                               const QString& breiteFeld, QWidget* owner)
    : TZRDialog(owner), art_(new TDBComboBox(this)), breite_(new TDBComboBox(this))
{
    setObjectName(QStringLiteral("frmEigenschaftenLinie"));
    setWindowTitle(QStringLiteral("Eigenschaften Linie"));
    setHelpContext(HilfeKontext);
    art_->setObjectName(QStringLiteral("Art"));
    for (const ListenDruckCodes::RCode& c : ListenDruckCodes::LinienArten())
        art_->addItem(c.Text, c.Code);
    breite_->setObjectName(QStringLiteral("Breite"));
    for (const ListenDruckCodes::RBreite& b : ListenDruckCodes::LinienBreiten())
        breite_->addItem(b.Text, b.Code);
    art_->SetDataSource(&daten);
    art_->SetDataField(artFeld);
    breite_->SetDataSource(&daten);
    breite_->SetDataField(breiteFeld);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Ok"));
    ok->setDefault(true);
    auto* abbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    abbrechen->setObjectName(QStringLiteral("Abbrechen"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("Linienart"), this), 0, 0);
    form->addWidget(art_, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Breite"), this), 1, 0);
    form->addWidget(breite_, 1, 1);
    form->setColumnStretch(1, 1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(ok);
    knoepfe->addWidget(abbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(knoepfe);
    art_->setMinimumWidth(180);
}

TfrmEigenschaftenLinie::~TfrmEigenschaftenLinie()
{
    // The record outlives the dialog: the boxes let go of it before they are torn down.
    art_->SetDataSource(nullptr);
    breite_->SetDataSource(nullptr);
}

void LinieAnpassen(QWidget* owner, db::DataSet& daten, const QString& breiteFeld,
                   const QString& artFeld)
{
    if (!daten.Active() || (daten.IsEmpty() && daten.State() != db::DataSetState::Insert))
        return;
    const QString art = daten.FieldByName(artFeld).AsString();
    const int breite = daten.FieldByName(breiteFeld).AsInteger();
    TfrmEigenschaftenLinie dialog(daten, artFeld, breiteFeld, owner);
    if (dialog.exec() == QDialog::Accepted || !DBTools::Bearbeitet(daten))
        return;
    daten.FieldByName(artFeld).SetString(art);
    daten.FieldByName(breiteFeld).SetInteger(breite);
}
