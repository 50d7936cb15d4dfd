#include "ZRcxGridDataController.h"

#include <Error.h>
#include <Meldung.h>

#include <algorithm>
#include <limits>
#include <stdexcept>

TZRcxGridDataController::TZRcxGridDataController(QObject* parent) : QAbstractProxyModel(parent) {}

void TZRcxGridDataController::setSourceModel(QAbstractItemModel* source)
{
    beginResetModel();
    for (const QMetaObject::Connection& c : std::as_const(verbindungen_))
        disconnect(c);
    verbindungen_.clear();
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        // Structural changes other than rows coming and going reorder or renumber the columns or
        // records, so the controller starts afresh; the unbound values no longer name their
        // records then.
        const auto vorher = [this] { beginResetModel(); };
        const auto neu = [this] { QuelleZurueckgesetzt(true); };
        verbindungen_ << connect(source, &QAbstractItemModel::modelAboutToBeReset, this, vorher)
                      << connect(
                             source, &QAbstractItemModel::modelReset, this,
                             [this] { QuelleZurueckgesetzt(sourceModel()->rowCount() != zeilen_); })
                      << connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this, vorher)
                      << connect(source, &QAbstractItemModel::layoutChanged, this, neu)
                      << connect(source, &QAbstractItemModel::rowsAboutToBeMoved, this, vorher)
                      << connect(source, &QAbstractItemModel::rowsMoved, this, neu)
                      << connect(source, &QAbstractItemModel::columnsAboutToBeInserted, this,
                                 vorher)
                      << connect(source, &QAbstractItemModel::columnsInserted, this, neu)
                      << connect(source, &QAbstractItemModel::columnsAboutToBeRemoved, this, vorher)
                      << connect(source, &QAbstractItemModel::columnsRemoved, this, neu)
                      << connect(source, &QAbstractItemModel::columnsAboutToBeMoved, this, vorher)
                      << connect(source, &QAbstractItemModel::columnsMoved, this, neu);
        verbindungen_ << connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this,
                                 [this](const QModelIndex& p, int first, int last) {
                                     if (!p.isValid())
                                         beginInsertRows({}, first, last);
                                 });
        verbindungen_ << connect(source, &QAbstractItemModel::rowsInserted, this,
                                 [this](const QModelIndex& p, int first, int last) {
                                     if (p.isValid())
                                         return;
                                     for (Spalte& s : ungebunden_) {
                                         if (first < s.werte.size())
                                             s.werte.insert(first, last - first + 1, QVariant());
                                     }
                                     zeilen_ = sourceModel()->rowCount();
                                     endInsertRows();
                                 });
        verbindungen_ << connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                                 [this](const QModelIndex& p, int first, int last) {
                                     if (!p.isValid())
                                         beginRemoveRows({}, first, last);
                                 });
        verbindungen_ << connect(
            source, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex& p, int first, int last) {
                if (p.isValid())
                    return;
                for (Spalte& s : ungebunden_) {
                    if (first < s.werte.size())
                        s.werte.remove(first,
                                       std::min<qsizetype>(last + 1, s.werte.size()) - first);
                }
                zeilen_ = sourceModel()->rowCount();
                endRemoveRows();
            });
        verbindungen_ << connect(source, &QAbstractItemModel::dataChanged, this,
                                 [this](const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                        const QList<int>& roles) {
                                     if (topLeft.parent().isValid())
                                         return;
                                     const auto [links, rechts] =
                                         Spaltenbereich(topLeft.column(), bottomRight.column());
                                     if (links <= rechts)
                                         emit dataChanged(index(topLeft.row(), links),
                                                          index(bottomRight.row(), rechts), roles);
                                 });
        verbindungen_ << connect(source, &QAbstractItemModel::headerDataChanged, this,
                                 [this](Qt::Orientation o, int first, int last) {
                                     if (o == Qt::Vertical) {
                                         emit headerDataChanged(o, first, last);
                                         return;
                                     }
                                     const auto [links, rechts] = Spaltenbereich(first, last);
                                     if (links <= rechts)
                                         emit headerDataChanged(o, links, rechts);
                                 });
    }
    Zuordnen();
    for (Spalte& s : ungebunden_)
        s.werte.clear();
    zeilen_ = source ? source->rowCount() : 0;
    endResetModel();
}

void TZRcxGridDataController::QuelleZurueckgesetzt(bool werteVerwerfen)
{
    // A reset with the same number of records is a record posted, cancelled or re-read in place;
    // anything else means the indices may name other records now, and a tick left on the wrong
    // record would act on it.
    if (werteVerwerfen) {
        for (Spalte& s : ungebunden_)
            s.werte.clear();
    }
    Zuordnen();
    zeilen_ = sourceModel()->rowCount();
    endResetModel();
}

void TZRcxGridDataController::Zuordnen()
{
    spalten_.clear();
    const int quellSpalten = sourceModel() ? sourceModel()->columnCount() : 0;
    for (int c = 0; c < quellSpalten; ++c)
        spalten_.push_back(c);
    for (size_t k = 0; k < ungebunden_.size(); ++k) {
        const auto pos =
            std::min<size_t>(size_t(std::max(0, ungebunden_[k].position)), spalten_.size());
        spalten_.insert(spalten_.begin() + std::ptrdiff_t(pos), -int(k) - 1);
    }
}

std::pair<int, int> TZRcxGridDataController::Spaltenbereich(int first, int last) const
{
    int links = int(spalten_.size());
    int rechts = -1;
    for (int c = 0; c < int(spalten_.size()); ++c) {
        if (spalten_[size_t(c)] >= first && spalten_[size_t(c)] <= last) {
            links = std::min(links, c);
            rechts = std::max(rechts, c);
        }
    }
    return {links, rechts};
}

int TZRcxGridDataController::CreateCheckColumn(const QString& name, const QString& caption,
                                               int position)
{
    beginResetModel();
    ungebunden_.push_back({name, caption, position, {}});
    Zuordnen();
    endResetModel();
    return int(std::find(spalten_.begin(), spalten_.end(), -int(ungebunden_.size())) -
               spalten_.begin());
}

int TZRcxGridDataController::Ungebunden(int column) const
{
    if (column < 0 || column >= int(spalten_.size()) || spalten_[size_t(column)] >= 0)
        return -1;
    return -spalten_[size_t(column)] - 1;
}

int TZRcxGridDataController::SourceColumn(int column) const
{
    if (column < 0 || column >= int(spalten_.size()))
        return -1;
    return std::max(-1, spalten_[size_t(column)]);
}

int TZRcxGridDataController::ColumnByName(const QString& name) const
{
    for (int c = 0; c < columnCount(); ++c) {
        if (headerData(c, Qt::Horizontal, Qt::UserRole)
                .toString()
                .compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

int TZRcxGridDataController::RecordCount() const
{
    Erreichen(std::numeric_limits<int>::max());
    return rowCount();
}

void TZRcxGridDataController::Erreichen(int recordIndex) const
{
    QAbstractItemModel* quelle = sourceModel();
    while (quelle && recordIndex >= rowCount() && quelle->canFetchMore({}))
        quelle->fetchMore({});
}

void TZRcxGridDataController::Pruefen(int recordIndex, int column) const
{
    Erreichen(recordIndex);
    if (recordIndex < 0 || recordIndex >= rowCount() || column < 0 || column >= columnCount())
        throw std::out_of_range(QStringLiteral("Datensatz %1, Spalte %2 gibt es nicht.")
                                    .arg(recordIndex)
                                    .arg(column)
                                    .toStdString());
}

QVariant TZRcxGridDataController::Values(int recordIndex, int column) const
{
    Pruefen(recordIndex, column);
    return data(index(recordIndex, column), Qt::EditRole);
}

void TZRcxGridDataController::SetValues(int recordIndex, int column, const QVariant& value)
{
    Pruefen(recordIndex, column);
    if (!setData(index(recordIndex, column), value, Qt::EditRole))
        throw std::runtime_error(QStringLiteral("Der Wert in Zeile %1 kann nicht geändert werden.")
                                     .arg(recordIndex + 1)
                                     .toStdString());
}

QModelIndex TZRcxGridDataController::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex TZRcxGridDataController::parent(const QModelIndex&) const
{
    return {};
}

int TZRcxGridDataController::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->rowCount();
}

int TZRcxGridDataController::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(spalten_.size());
}

QModelIndex TZRcxGridDataController::mapToSource(const QModelIndex& proxyIndex) const
{
    const int quelle = proxyIndex.isValid() ? SourceColumn(proxyIndex.column()) : -1;
    if (quelle < 0 || !sourceModel())
        return {};
    return sourceModel()->index(proxyIndex.row(), quelle);
}

QModelIndex TZRcxGridDataController::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.parent().isValid())
        return {};
    const auto it = std::find(spalten_.begin(), spalten_.end(), sourceIndex.column());
    if (it == spalten_.end())
        return {};
    return index(sourceIndex.row(), int(it - spalten_.begin()));
}

QVariant TZRcxGridDataController::data(const QModelIndex& index, int role) const
{
    const int k = index.isValid() ? Ungebunden(index.column()) : -1;
    if (k < 0)
        return QAbstractProxyModel::data(index, role);
    const QList<QVariant>& werte = ungebunden_[size_t(k)].werte;
    const QVariant wert = index.row() < werte.size() ? werte[index.row()] : QVariant();
    switch (role) {
        case Qt::EditRole:
            return wert;
        case Qt::CheckStateRole:
            return wert.toBool() ? Qt::Checked : Qt::Unchecked;
        case Qt::TextAlignmentRole:
            return QVariant(Qt::AlignCenter);
        default:
            return {};
    }
}

bool TZRcxGridDataController::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int k = index.isValid() ? Ungebunden(index.column()) : -1;
    if (k < 0) {
        // The delegate commits from Qt's event loop, where a refusal of the dataset would end
        // the program; the user gets the message and the cell keeps its stored value.
        try {
            return QAbstractProxyModel::setData(index, value, role);
        } catch (const db::Error& e) {
            Tools::MeldungError(e.Message());
            return false;
        }
    }
    QVariant wert;
    if (role == Qt::CheckStateRole)
        wert = value.toInt() == Qt::Checked;
    else if (role == Qt::EditRole && (!value.isValid() || value.typeId() == QMetaType::Bool))
        wert = value;
    else
        return false;
    QList<QVariant>& werte = ungebunden_[size_t(k)].werte;
    if (werte.size() <= index.row())
        werte.resize(index.row() + 1);
    werte[index.row()] = wert;
    emit dataChanged(index, index, {Qt::EditRole, Qt::CheckStateRole});
    return true;
}

QModelIndex TZRcxGridDataController::buddy(const QModelIndex& index) const
{
    // The proxy's own buddy goes through the source, which has no cell for an unbound column.
    return index.isValid() && Ungebunden(index.column()) >= 0 ? index
                                                              : QAbstractProxyModel::buddy(index);
}

Qt::ItemFlags TZRcxGridDataController::flags(const QModelIndex& index) const
{
    if (!index.isValid() || Ungebunden(index.column()) < 0)
        return QAbstractProxyModel::flags(index);
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
           Qt::ItemNeverHasChildren;
}

QVariant TZRcxGridDataController::headerData(int section, Qt::Orientation orientation,
                                             int role) const
{
    if (!sourceModel())
        return {};
    if (orientation == Qt::Vertical)
        return sourceModel()->headerData(section, orientation, role);
    const int k = Ungebunden(section);
    if (k < 0) {
        const int quelle = SourceColumn(section);
        return quelle < 0 ? QVariant() : sourceModel()->headerData(quelle, orientation, role);
    }
    switch (role) {
        case Qt::DisplayRole:
            return ungebunden_[size_t(k)].caption;
        case Qt::UserRole:
            return ungebunden_[size_t(k)].name;
        default:
            return {};
    }
}

bool TZRcxGridDataController::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && sourceModel() && sourceModel()->canFetchMore({});
}

void TZRcxGridDataController::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || !sourceModel())
        return;
    try {
        sourceModel()->fetchMore({});
    } catch (const db::Error& e) {
        Tools::MeldungError(e.Message());
    }
}
