#include "Betriebsstaette.h"

#include "DBTools.h"

#include <DBAMCheckbox.h>
#include <DBZRBaseEdit.h>
#include <Field.h>
#include <Meldung.h>

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TBetriebsstaetteDaten::TBetriebsstaetteDaten(db::Transaction& transaktion, db::DataSet& gruppen,
                                             int id)
    : daten_(transaktion)
{
    daten_.SetSelectSQL("SELECT ID, BEZEICHNUNG, GRUPPE, STANDARD FROM V_BETRIEBSSTAETTEN_GRUPPEN");
    daten_.SetInsertSQL(
        "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE, STANDARD) "
        "VALUES (:ID, :BEZEICHNUNG, :GRUPPE, :STANDARD)");
    daten_.SetModifySQL(
        "UPDATE T_BETRIEBSSTAETTEN SET BEZEICHNUNG = :BEZEICHNUNG, "
        "GRUPPE = :GRUPPE, STANDARD = :STANDARD WHERE ID = :OLD_ID");
    daten_.SetGenerator("ID", "G_BETRIEBSSTAETTEN");
    daten_.Open();
    if (id <= 0) {
        const bool erste = daten_.IsEmpty();
        daten_.Append();
        daten_.FieldByName("STANDARD").SetString(erste ? "T" : "F");
        if (gruppen.Active() && !gruppen.IsEmpty())
            daten_.FieldByName("GRUPPE").SetInteger(gruppen.FieldByName("ID").AsInteger());
        if (erste)
            daten_.FieldByName("BEZEICHNUNG").SetString("Stall");
    } else {
        DBTools::LocateInteger(daten_, "ID", id, false);
    }
    warStandard_ = daten_.FieldByName("STANDARD").AsString() == "T";
}

TBetriebsstaetteDaten::~TBetriebsstaetteDaten()
{
    Verwerfen();
}

bool TBetriebsstaetteDaten::Speichern()
{
    db::Field& standard = daten_.FieldByName("STANDARD");
    if (warStandard_ && standard.AsString() == "F") {
        Tools::MeldungError(
            QStringLiteral("Damit diese Betriebsstätte nicht mehr als Standard\r"
                           "verwendet wird, müssen Sie eine andere Betriebsstätte\r"
                           "als Standard markieren."));
        if (daten_.State() == db::DataSetState::Browse)
            daten_.Edit();
        standard.SetString("T");
        return false;
    }
    if (daten_.FieldByName("BEZEICHNUNG").AsString().trimmed().isEmpty()) {
        Tools::MeldungError(QStringLiteral("Bitte geben Sie eine Bezeichnung ein."));
        return false;
    }
    if (daten_.FieldByName("GRUPPE").IsNull()) {
        Tools::MeldungError(QStringLiteral("Bitte wählen Sie eine Betriebsgruppe."));
        return false;
    }
    return DBTools::Posten(daten_);
}

void TBetriebsstaetteDaten::Verwerfen()
{
    if (daten_.State() == db::DataSetState::Edit || daten_.State() == db::DataSetState::Insert)
        daten_.Cancel();
}

TfrmBetriebsstaette::TfrmBetriebsstaette(db::Transaction& transaktion, db::DataSet& gruppen, int id,
                                         QWidget* owner)
    : TZRDialog(owner),
      daten_(transaktion, gruppen, id),
      bezeichnung_(new TDBZRBaseEdit(this)),
      gruppe_(new QComboBox(this)),
      standard_(new TDBAMCheckbox(this)),
      ok_(new QPushButton("Ok", this)),
      abbrechen_(new QPushButton("Abbrechen", this))
{
    setWindowTitle("Betriebsstätte");
    setHelpContext(13130);

    bezeichnung_->SetDataSource(&daten_.Daten());
    bezeichnung_->SetDataField("BEZEICHNUNG");
    bezeichnung_->setMinimumWidth(220);
    gruppe_->setMaxVisibleItems(10);
    if (gruppen.Active()) {
        const int id = gruppen.FieldByName("ID").Index();
        const int bezeichnung = gruppen.FieldByName("BEZEICHNUNG").Index();
        for (int i = 0; i < gruppen.RecordCount(); ++i)
            gruppe_->addItem(gruppen.ValueAt(i, bezeichnung).AsString(),
                             gruppen.ValueAt(i, id).AsInteger());
    }
    GruppeZeigen();
    standard_->setText("Standardbetrieb");
    standard_->SetValueChecked("T");
    standard_->SetValueUnchecked("F");
    standard_->SetDataSource(&daten_.Daten());
    standard_->SetDataField("STANDARD");
    ok_->setDefault(true);

    auto* felder = new QFormLayout;
    felder->addRow("Bezeichnung:", bezeichnung_);
    felder->addRow("Betriebsgruppe:", gruppe_);
    felder->addRow(standard_);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(felder);
    layout->addSpacing(8);
    layout->addLayout(knoepfe);

    connect(gruppe_, &QComboBox::activated, this, &TfrmBetriebsstaette::GruppeGewaehlt);
    connect(ok_, &QPushButton::clicked, this, &TfrmBetriebsstaette::Ok);
    connect(abbrechen_, &QPushButton::clicked, this, &TfrmBetriebsstaette::reject);
}

TfrmBetriebsstaette::~TfrmBetriebsstaette() = default;

bool TfrmBetriebsstaette::Oeffnen(db::Transaction& transaktion, db::DataSet& gruppen, int id,
                                  QWidget* owner)
{
    TfrmBetriebsstaette dlg(transaktion, gruppen, id, owner);
    return dlg.exec() == QDialog::Accepted;
}

void TfrmBetriebsstaette::GruppeZeigen()
{
    const db::Field& gruppe = daten_.Daten().FieldByName("GRUPPE");
    gruppe_->setCurrentIndex(gruppe.IsNull() ? -1 : gruppe_->findData(gruppe.AsInteger()));
}

void TfrmBetriebsstaette::GruppeGewaehlt(int position)
{
    db::DataSet& d = daten_.Daten();
    if (d.State() == db::DataSetState::Browse)
        d.Edit();
    d.FieldByName("GRUPPE").SetInteger(gruppe_->itemData(position).toInt());
}

void TfrmBetriebsstaette::Ok()
{
    DBTools::Sicher([&] {
        daten_.Daten().UpdateRecord();
        if (daten_.Speichern())
            accept();
    });
}

void TfrmBetriebsstaette::done(int result)
{
    daten_.Verwerfen();
    TZRDialog::done(result);
}
