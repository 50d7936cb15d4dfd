#include "DataSetModel.h"

#include "DataSet.h"
#include "Error.h"

namespace db {

DataSetModel::DataSetModel(DataSet* dataSet, QObject* parent) : QAbstractTableModel(parent)
{
    SetDataSet(dataSet);
}

void DataSetModel::SetDataSet(DataSet* dataSet)
{
    disconnect(onFetched_);
    DataLink::SetDataSet(dataSet);
    if (dataSet)
        onFetched_ = connect(dataSet, &DataSet::RowsFetched, this, &DataSetModel::ShowFetched);
    Reset();
}

void DataSetModel::Reset()
{
    beginResetModel();
    columns_.clear();
    rows_ = 0;
    if (DataSet* ds = GetDataSet(); ds && ds->Active()) {
        for (int i = 0; i < ds->FieldCount(); ++i) {
            if (ds->Fields(i).Visible)
                columns_.push_back(i);
        }
        rows_ = ds->FetchedCount();
    }
    endResetModel();
}

int DataSetModel::FieldIndex(int column) const
{
    return column >= 0 && column < int(columns_.size()) ? columns_[size_t(column)] : -1;
}

int DataSetModel::ColumnOfField(const QString& name) const
{
    DataSet* ds = GetDataSet();
    for (size_t c = 0; ds && c < columns_.size(); ++c) {
        if (ds->Fields(columns_[c]).FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return int(c);
    }
    return -1;
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    const int fieldIndex = FieldIndex(index.column());
    DataSet* ds = GetDataSet();
    // While the dataset's controls are disabled it may hold fewer records than reported.
    if (!index.isValid() || fieldIndex < 0 || index.row() >= rowCount() ||
        index.row() >= ds->FetchedCount())
        return {};
    Field& f = ds->Fields(fieldIndex);
    // Called while the view paints, where an exception cannot be handled: a row that cannot be
    // read (lazy decoding) or formatted shows as an empty cell.
    try {
        switch (role) {
            case Qt::DisplayRole:
                return Field::Format(ds->ValueAt(index.row(), fieldIndex), f.DataType(),
                                     f.DisplayFormat);
            case Qt::EditRole:
                return ds->ValueAt(index.row(), fieldIndex).AsVariant();
            case Qt::TextAlignmentRole:
                return f.IsNumeric() ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                     : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
            default:
                return {};
        }
    } catch (const Error&) {
        return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const int fieldIndex = FieldIndex(section);
    return fieldIndex < 0 ? QVariant() : QVariant(GetDataSet()->Fields(fieldIndex).Label());
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const int fieldIndex = FieldIndex(index.column());
    if (fieldIndex < 0)
        return f;
    DataSet* ds = GetDataSet();
    const Field& field = ds->Fields(fieldIndex);
    if (ds->Modifiable() && !field.ReadOnly && !field.Calculated())
        f |= Qt::ItemIsEditable;
    return f;
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int fieldIndex = FieldIndex(index.column());
    if (role != Qt::EditRole || fieldIndex < 0 || !(flags(index) & Qt::ItemIsEditable))
        return false;
    DataSet* ds = GetDataSet();
    if (ds->RecNo() != index.row())
        ds->MoveTo(index.row());
    ds->Edit();
    ds->Fields(fieldIndex).SetValue(value);
    return true;
}

bool DataSetModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && Active() &&
           (GetDataSet()->CanFetchMore() || GetDataSet()->FetchedCount() > rows_);
}

void DataSetModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || !Active())
        return;
    if (GetDataSet()->FetchedCount() <= rows_)
        GetDataSet()->FetchMore();
    // Also when the dataset kept quiet: its controls may be disabled.
    ShowFetched();
}

void DataSetModel::ShowFetched()
{
    DataSet* ds = GetDataSet();
    const int count = ds && ds->Active() ? ds->FetchedCount() : 0;
    if (count <= rows_)
        return;
    beginInsertRows({}, rows_, count - 1);
    rows_ = count;
    endInsertRows();
}

void DataSetModel::ActiveChanged()
{
    Reset();
}

void DataSetModel::DataSetChanged()
{
    Reset();
    if (Active())
        emit CurrentRowChanged(GetDataSet()->RecNo());
}

void DataSetModel::DataSetScrolled()
{
    emit CurrentRowChanged(GetDataSet()->RecNo());
}

void DataSetModel::RecordChanged(Field*)
{
    const int row = GetDataSet()->RecNo();
    if (row >= 0 && row < rows_ && !columns_.empty())
        emit dataChanged(index(row, 0), index(row, int(columns_.size()) - 1));
}

}  // namespace db
