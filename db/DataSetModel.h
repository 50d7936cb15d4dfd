#pragma once

#include "DataLink.h"

#include <QAbstractTableModel>

#include <vector>

namespace db {

class DataSet;

// A table model over a dataset for grids: one row per record, one column per visible field in
// field order, titled with the field's label. The display role is the field's display text, the
// edit role its value. Editing a cell moves the dataset to that record and sets the field; the
// record is posted when the dataset moves on (or by the caller). The model follows the dataset:
// CurrentRowChanged tells the view which record is current. The rows are the records the dataset
// has read; the view asks for more as it scrolls on (canFetchMore, fetchMore).
class DataSetModel : public QAbstractTableModel, private DataLink {
    Q_OBJECT
public:
    explicit DataSetModel(DataSet* dataSet = nullptr, QObject* parent = nullptr);

    void SetDataSet(DataSet* dataSet);
    DataSet* GetDataSet() const { return DataLink::GetDataSet(); }
    // The dataset's field index of a column, -1 when there is none.
    int FieldIndex(int column) const;
    int ColumnOfField(const QString& name) const;
    // Rebuilds the columns after fields were shown, hidden or relabelled.
    void Reset();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    // Throws db::Error when the dataset cannot read on.
    void fetchMore(const QModelIndex& parent) override;

signals:
    void CurrentRowChanged(int row);

private:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled() override;
    void RecordChanged(Field* field) override;
    // Adds the records the dataset read since the rows were last counted.
    void ShowFetched();

    std::vector<int> columns_;
    // The rows as last reported: the dataset tells of records read on (RowsFetched) only after
    // reading them.
    int rows_ = 0;
    QMetaObject::Connection onFetched_;
};

}  // namespace db
