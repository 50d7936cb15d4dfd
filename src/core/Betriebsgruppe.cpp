#include "Betriebsgruppe.h"

#include "DBTools.h"

#include <DBAMCheckbox.h>
#include <Meldung.h>
#include <DBZRBaseEdit.h>

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TBetriebsgruppeDaten::TBetriebsgruppeDaten(db::Transaction& transaktion, int id)
    : daten_(transaktion)
{
    daten_.SetSelectSQL("SELECT ID, BEZEICHNUNG, NUMMER, GV FROM T_BETRIEBSGRUPPEN");
    daten_.SetInsertSQL(
        "INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER, GV) "
        "VALUES (:ID, :BEZEICHNUNG, :NUMMER, :GV)");
    daten_.SetModifySQL(
        "UPDATE T_BETRIEBSGRUPPEN SET BEZEICHNUNG = :BEZEICHNUNG, "
        "NUMMER = :NUMMER, GV = :GV WHERE ID = :OLD_ID");
    daten_.SetGenerator("ID", "G_BETRIEBSGRUPPEN");
    daten_.Open();
    if (id <= 0) {
        daten_.Append();
        daten_.FieldByName("GV").SetString("T");
    } else {
        DBTools::LocateInteger(daten_, "ID", id, false);
    }
}

TBetriebsgruppeDaten::~TBetriebsgruppeDaten()
{
    Verwerfen();
}

bool TBetriebsgruppeDaten::Speichern()
{
    if (daten_.FieldByName("BEZEICHNUNG").AsString().trimmed().isEmpty()) {
        Tools::MeldungError(QStringLiteral("Bitte geben Sie eine Bezeichnung ein."));
        return false;
    }
    return DBTools::Posten(daten_);
}

void TBetriebsgruppeDaten::Verwerfen()
{
    if (daten_.State() == db::DataSetState::Edit || daten_.State() == db::DataSetState::Insert)
        daten_.Cancel();
}

TfrmBetriebsgruppe::TfrmBetriebsgruppe(db::Transaction& transaktion, int id, QWidget* owner)
    : TZRDialog(owner),
      daten_(transaktion, id),
      bezeichnung_(new TDBZRBaseEdit(this)),
      nummer_(new TDBZRBaseEdit(this)),
      gv_(new TDBAMCheckbox(this)),
      ok_(new QPushButton("Ok", this)),
      abbrechen_(new QPushButton("Abbrechen", this))
{
    setWindowTitle("Betriebsgruppe");
    setHelpContext(13120);

    bezeichnung_->SetDataSource(&daten_.Daten());
    bezeichnung_->SetDataField("BEZEICHNUNG");
    nummer_->SetDataSource(&daten_.Daten());
    nummer_->SetDataField("NUMMER");
    nummer_->setMaxLength(15);
    gv_->setText("Betrieb fließt in die GV-Berechnung ein");
    gv_->SetValueChecked("T");
    gv_->SetValueUnchecked("F");
    gv_->SetDataSource(&daten_.Daten());
    gv_->SetDataField("GV");
    ok_->setDefault(true);

    auto* felder = new QFormLayout;
    felder->addRow("Bezeichnung:", bezeichnung_);
    felder->addRow("Betriebsnummer:", nummer_);
    felder->addRow(gv_);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(felder);
    layout->addSpacing(8);
    layout->addLayout(knoepfe);
    bezeichnung_->setMinimumWidth(220);

    connect(ok_, &QPushButton::clicked, this, &TfrmBetriebsgruppe::Ok);
    connect(abbrechen_, &QPushButton::clicked, this, &TfrmBetriebsgruppe::reject);
}

TfrmBetriebsgruppe::~TfrmBetriebsgruppe() = default;

bool TfrmBetriebsgruppe::Oeffnen(db::Transaction& transaktion, int id, QWidget* owner)
{
    TfrmBetriebsgruppe dlg(transaktion, id, owner);
    return dlg.exec() == QDialog::Accepted;
}

void TfrmBetriebsgruppe::Ok()
{
    DBTools::Sicher([&] {
        daten_.Daten().UpdateRecord();
        if (daten_.Speichern())
            accept();
    });
}

void TfrmBetriebsgruppe::done(int result)
{
    daten_.Verwerfen();
    TZRDialog::done(result);
}
