#include "Rasse.h"

#include "DBTools.h"

#include <Field.h>
#include <Meldung.h>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TRasseDaten::TRasseDaten(db::Transaction& transaktion) : daten_(transaktion)
{
    daten_.SetSelectSQL("select BEZEICHNUNG, ID, VERWENDET from T_RASSEN where verwendet = 'F'");
    daten_.SetModifySQL(
        "UPDATE T_RASSEN SET BEZEICHNUNG = :BEZEICHNUNG, ID = :ID, "
        "VERWENDET = :VERWENDET WHERE ID = :OLD_ID");
    daten_.Open();
    daten_.RecordCount();
}

int TRasseDaten::Uebernehmen(int position)
{
    if (position < 0 || position >= daten_.RecordCount())
        return 0;
    daten_.MoveTo(position);
    daten_.Edit();
    daten_.FieldByName("VERWENDET").SetString("T");
    try {
        daten_.Post();
    } catch (...) {
        daten_.Cancel();
        throw;
    }
    return daten_.FieldByName("ID").AsInteger();
}

TfrmRasse::TfrmRasse(db::Transaction& transaktion, QWidget* owner)
    : TZRDialog(owner),
      daten_(transaktion),
      gitter_(new QTableView(this)),
      ok_(new QPushButton("Ok", this)),
      abbrechen_(new QPushButton("Abbrechen", this))
{
    setWindowTitle("Rasse hinzufügen");
    setHelpContext(13140);

    db::DataSet& d = daten_.Daten();
    d.FieldByName("BEZEICHNUNG").DisplayLabel = "Rasse";
    d.FieldByName("ID").Visible = false;
    d.FieldByName("VERWENDET").Visible = false;
    modell_.SetDataSet(&d);
    // The grid only chooses: an edit in it could otherwise be posted when the dataset moves on.
    gitter_->setModel(&modell_);
    gitter_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gitter_->setSelectionBehavior(QAbstractItemView::SelectRows);
    gitter_->setSelectionMode(QAbstractItemView::SingleSelection);
    gitter_->verticalHeader()->hide();
    gitter_->horizontalHeader()->setStretchLastSection(true);
    gitter_->setMinimumSize(280, 240);
    if (modell_.rowCount() > 0)
        gitter_->setCurrentIndex(modell_.index(0, 0));
    ok_->setEnabled(modell_.rowCount() > 0);
    ok_->setDefault(true);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gitter_);
    layout->addLayout(knoepfe);

    connect(ok_, &QPushButton::clicked, this, &TfrmRasse::Ok);
    connect(abbrechen_, &QPushButton::clicked, this, &TfrmRasse::reject);
}

int TfrmRasse::Oeffnen(db::Transaction& transaktion, QWidget* owner)
{
    TfrmRasse dlg(transaktion, owner);
    return dlg.exec() == QDialog::Accepted ? dlg.RasseID() : 0;
}

void TfrmRasse::Ok()
{
    if (DBTools::Sicher([&] { rasseID_ = daten_.Uebernehmen(gitter_->currentIndex().row()); }) &&
        rasseID_ > 0)
        accept();
}
