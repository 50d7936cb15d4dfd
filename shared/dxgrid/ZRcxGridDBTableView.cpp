#include "ZRcxGridDBTableView.h"

#include "ZRBandedHeader.h"

#include <DataSet.h>
#include <DataSetModel.h>
#include <Error.h>
#include <Meldung.h>

TZRcxGridDBTableView::TZRcxGridDBTableView(QWidget* parent)
    : TZRcxGridTableView(parent),
      model_(new db::DataSetModel(nullptr, this)),
      controller_(new TZRcxGridDataController(this))
{
    controller_->setSourceModel(model_);
    setModel(controller_);
    connect(model_, &db::DataSetModel::CurrentRowChanged, this, [this](int row) {
        if (folgen_)
            return;
        folgen_ = true;
        const int spalte = currentIndex().isValid() ? currentIndex().column() : 0;
        setCurrentIndex(row >= 0 ? controller_->index(row, spalte) : QModelIndex());
        folgen_ = false;
    });
}

TZRcxGridDBTableView::~TZRcxGridDBTableView() = default;

db::DataSet* TZRcxGridDBTableView::DataSet() const
{
    return model_->GetDataSet();
}

void TZRcxGridDBTableView::SetDataSet(db::DataSet* dataSet)
{
    model_->SetDataSet(dataSet);
    if (dataSet && dataSet->Active() && dataSet->RecNo() >= 0)
        setCurrentIndex(controller_->index(dataSet->RecNo(), 0));
}

int TZRcxGridDBTableView::CreateCheckColumn(const QString& name, const QString& caption,
                                            int position)
{
    return controller_->CreateCheckColumn(name, caption, position);
}

QString TZRcxGridDBTableView::SpaltenName(int section) const
{
    const int feld = model_->FieldIndex(controller_->SourceColumn(section));
    db::DataSet* ds = DataSet();
    if (model() != controller_ || feld < 0 || !ds)
        return TZRcxGridTableView::SpaltenName(section);
    return ds->Fields(feld).FieldName();
}

void TZRcxGridDBTableView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    TZRcxGridTableView::currentChanged(current, previous);
    db::DataSet* ds = DataSet();
    if (folgen_ || !ds || !ds->Active() || !current.isValid() || current.row() == ds->RecNo())
        return;
    folgen_ = true;
    try {
        // Moving on posts a pending edit; when that fails the row stays where the record is.
        ds->MoveTo(current.row());
    } catch (const db::Error& e) {
        Tools::MeldungError(e.Message());
        setCurrentIndex(controller_->index(ds->RecNo(), current.column()));
    }
    folgen_ = false;
}

QModelIndex TZRcxGridDBTableView::moveCursor(CursorAction cursorAction,
                                             Qt::KeyboardModifiers modifiers)
{
    if (cursorAction == MoveEnd && (modifiers & Qt::ControlModifier)) {
        try {
            controller_->RecordCount();
        } catch (const db::Error& e) {
            Tools::MeldungError(e.Message());
            return currentIndex();
        }
    }
    return TZRcxGridTableView::moveCursor(cursorAction, modifiers);
}

TZRcxGridDBBandedTableView::TZRcxGridDBBandedTableView(QWidget* parent)
    : TZRcxGridDBTableView(parent), bands_(new TZRBandedHeader(this))
{
    SetKopf(bands_);
    SetBandedOptionsView(bandedOptions_);
}

void TZRcxGridDBBandedTableView::SetBandedOptionsView(
    const TZRcxGridBandedTableOptionsView& options)
{
    bandedOptions_ = options;
    bands_->SetBandHeaderEndEllipsis(options.BandHeaderEndEllipsis);
    SetOptionsView(options);
}
