#pragma once

#include "ZRcxGridDataController.h"
#include "ZRcxGridTableView.h"

namespace db {
class DataSet;
class DataSetModel;
}  // namespace db

class TZRBandedHeader;

// The table view over a dataset: one column per visible field, the dataset's current record is
// the view's current row and the other way round. Layouts name the columns by their fields.
// Unbound check-box columns hold a Boolean per record index in the view, not in the dataset:
//     const int auswahl = view->CreateCheckColumn("ListeViewAuswahl", QString(), 0);
//     view->DataController()->SetValues(recordIndex, auswahl, true);
class TZRcxGridDBTableView : public TZRcxGridTableView {
    Q_OBJECT
public:
    explicit TZRcxGridDBTableView(QWidget* parent = nullptr);
    ~TZRcxGridDBTableView() override;

    db::DataSet* DataSet() const;
    void SetDataSet(db::DataSet* dataSet);
    db::DataSetModel* DataModel() const { return model_; }
    TZRcxGridDataController* DataController() const { return controller_; }
    // Adds an unbound Boolean check-box column at `position` among the columns; returns its
    // column. Its values are dropped when the dataset reopens or gains or loses records.
    int CreateCheckColumn(const QString& name, const QString& caption, int position);

protected:
    QString SpaltenName(int section) const override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    // Ctrl+End goes to the last record, not the last one read so far.
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    db::DataSetModel* model_;
    TZRcxGridDataController* controller_;
    bool folgen_ = false;
};

// The banded table view: a two-level header with bands over the columns.
class TZRcxGridDBBandedTableView : public TZRcxGridDBTableView {
    Q_OBJECT
public:
    explicit TZRcxGridDBBandedTableView(QWidget* parent = nullptr);

    TZRBandedHeader* Bands() const { return bands_; }
    const TZRcxGridBandedTableOptionsView& BandedOptionsView() const { return bandedOptions_; }
    void SetBandedOptionsView(const TZRcxGridBandedTableOptionsView& options);

private:
    TZRBandedHeader* bands_;
    TZRcxGridBandedTableOptionsView bandedOptions_;
};
