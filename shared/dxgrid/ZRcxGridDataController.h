#pragma once

#include <QAbstractProxyModel>
#include <QList>
#include <QVariant>

#include <vector>

// The rows of a view as the view's data controller sees them: the source model's columns, with
// unbound Boolean check-box columns placed between them. The values of an unbound column belong to
// the view, one per record index, and never reach the source (the forms keep a multiple selection
// there). A value starts empty (shown unticked) until the form or the user sets it.
class TZRcxGridDataController : public QAbstractProxyModel {
    Q_OBJECT
public:
    explicit TZRcxGridDataController(QObject* parent = nullptr);

    void setSourceModel(QAbstractItemModel* source) override;

    // Adds an unbound check-box column at `position` among the columns (clamped to the end);
    // `name` names it in layouts. Returns its column.
    int CreateCheckColumn(const QString& name, const QString& caption, int position);
    bool IsUnbound(int column) const { return Ungebunden(column) >= 0; }
    // The source column of a column, -1 for an unbound one.
    int SourceColumn(int column) const;
    int ColumnByName(const QString& name) const;

    // All records: the source reads the rest first.
    int RecordCount() const;
    // The value of a column in a record: the stored one of an unbound column, the source's edit
    // value otherwise. The source reads up to the record first. Throws std::out_of_range for a
    // record or column that does not exist.
    QVariant Values(int recordIndex, int column) const;
    // Writes a value; bound columns go through the source. Throws std::out_of_range as above and
    // std::runtime_error when the source refuses the value.
    void SetValues(int recordIndex, int column, const QVariant& value);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QModelIndex buddy(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    // Called by the view from the event loop: a source that cannot read on shows the message.
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Spalte {
        QString name;
        QString caption;
        int position;
        QList<QVariant> werte;  // per record index; missing entries are empty
    };

    // The unbound column at a column, -1 for a source column.
    int Ungebunden(int column) const;
    void Zuordnen();
    // Has the source read until the record is there (or it has no more); a failure to read
    // passes as db::Error.
    void Erreichen(int recordIndex) const;
    void Pruefen(int recordIndex, int column) const;
    // Maps a range of source columns to the smallest range of columns that covers it.
    std::pair<int, int> Spaltenbereich(int first, int last) const;
    void QuelleZurueckgesetzt(bool werteVerwerfen);

    std::vector<Spalte> ungebunden_;
    // Per column: the source column (>= 0) or -(unbound index + 1).
    std::vector<int> spalten_;
    // The rows as last reported by the source: its rows are read anew before it announces a reset.
    int zeilen_ = 0;
    QList<QMetaObject::Connection> verbindungen_;
};
