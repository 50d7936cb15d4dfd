#include "BesamungPortionWahl.h"

#include <DBTools.h>

#include <DataSetModel.h>
#include <Database.h>
#include <Field.h>
#include <ZRDBcxGrid.h>
#include <ZRcxGridDBTableView.h>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

TfrmPortionWahl::TfrmPortionWahl(QWidget* owner)
    : TZRDialog(owner),
      grid_(new TZRDBcxGrid(this)),
      ok_(new QPushButton(QStringLiteral("Ok"), this)),
      abbrechen_(new QPushButton(QStringLiteral("Abbrechen"), this))
{
    setObjectName(QStringLiteral("frmPortionWahl"));
    setWindowTitle(QStringLiteral("Portion wählen"));
    setBorderStyle(bsSizeable);
    ansicht_ = grid_->CreateView<TZRcxGridDBTableView>(QStringLiteral("tvPortionen"));
    ansicht_->SetEmptyText(QStringLiteral("< Keine Portionen in der Auswahl >"));
    ok_->setDefault(true);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(knoepfe);
    resize(640, 360);

    connect(ok_, &QPushButton::clicked, this, &TfrmPortionWahl::Ok);
    connect(abbrechen_, &QPushButton::clicked, this, &TfrmPortionWahl::reject);
    connect(ansicht_, &QAbstractItemView::doubleClicked, this, &TfrmPortionWahl::Ok);
}

TfrmPortionWahl::~TfrmPortionWahl()
{
    // The view lets go of the rows before they go.
    ansicht_->SetDataSet(nullptr);
}

void TfrmPortionWahl::PortionenOeffnen(db::Database& datenbank, int portion, bool neueBesamung)
{
    ansicht_->SetDataSet(nullptr);
    portionen_.reset();
    db::TransactionOptions lesen;
    lesen.readOnly = true;
    transaktion_ =
        std::make_unique<db::Transaction>(datenbank, QStringLiteral("TAPortionWahl"), lesen);
    transaktion_->Start();
    portionen_ = std::make_unique<db::DataSet>(*transaktion_);
    portionen_->SetSelectSQL(
        QStringLiteral("SELECT C.ID, C.EJAKULAT_NR, C.BEHAELTER, L.DATUM, C.STATION_NICE, "
                       "C.ANZAHL_GESAMT, C.ANZAHL_VORHANDEN, C.PRUEFBULLE_BIS, C.NAME, C.HBNR "
                       "FROM V_CONTAINER_INHALT C JOIN T_CONTAINER_LIEFERUNG L ON L.ID = "
                       "C.LIEFERUNG ") +
        (neueBesamung ? QStringLiteral("WHERE C.ANZAHL_VORHANDEN > 0 ") : QString()) +
        QStringLiteral("ORDER BY C.NAME, C.HBNR, L.DATUM"));
    struct Spalte {
        const char* feld;
        const char* titel;
    };
    // In the order the columns are shown.
    const Spalte spalten[] = {{"NAME", "Stier"},
                              {"HBNR", "HB-Nr."},
                              {"DATUM", "Lieferung"},
                              {"ANZAHL_GESAMT", "Gesamt"},
                              {"ANZAHL_VORHANDEN", "vorhanden"},
                              {"BEHAELTER", "Behälter"},
                              {"STATION_NICE", "Station"}};
    for (int i = 0; i < portionen_->FieldCount(); ++i)
        portionen_->Fields(i).Visible = false;
    for (const Spalte& s : spalten) {
        db::Field& f = portionen_->FieldByName(QString::fromLatin1(s.feld));
        f.Visible = true;
        f.DisplayLabel = QString::fromUtf8(s.titel);
    }
    portionen_->FieldByName(QStringLiteral("DATUM")).DisplayFormat = QStringLiteral("dd.mm.yyyy");
    portionen_->Open();
    portionen_->RecordCount();
    ansicht_->SetDataSet(portionen_.get());
    QHeaderView* kopf = ansicht_->horizontalHeader();
    for (int ziel = 0; ziel < int(std::size(spalten)); ++ziel) {
        const int spalte =
            ansicht_->DataModel()->ColumnOfField(QString::fromLatin1(spalten[ziel].feld));
        kopf->moveSection(kopf->visualIndex(spalte), ziel);
    }
    if (portion >= 0)
        DBTools::LocateInteger(*portionen_, QStringLiteral("ID"), portion, false);
    ok_->setEnabled(!portionen_->IsEmpty());
}

void TfrmPortionWahl::Ok()
{
    if (!portionen_ || portionen_->IsEmpty())
        return;
    portion_ = portionen_->FieldByName(QStringLiteral("ID")).AsInteger();
    accept();
}
