#include "ZREditGrid.h"

#include <QHeaderView>

ZREditGridModel::ZREditGridModel(TZREditGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

int ZREditGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : zeilen_;
}

int ZREditGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : spalten_;
}

QVariant ZREditGridModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || index.row() >= grid_->Items().Count())
        return {};
    const QStringList& zellen = grid_->Items().GetItem(index.row()).Zellen;
    return index.column() < zellen.size() ? zellen.at(index.column()) : QString();
}

QVariant ZREditGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole ||
        section >= grid_->Columns().Count())
        return {};
    return grid_->Columns().GetItem(section).Title();
}

Qt::ItemFlags ZREditGridModel::flags(const QModelIndex& index) const
{
    // Read-only cells get a read-only editor too: their pick list still works.
    if (!grid_->CanEdit(index.column(), index.row() + 1))
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void ZREditGridModel::Aktualisieren()
{
    const int spalten = std::max(1, grid_->Columns().Count());
    const bool leer = grid_->Items().Count() == 0 || grid_->Columns().Count() == 0;
    const int zeilen = leer ? 1 : grid_->Items().Count();
    if (zeilen != zeilen_ || spalten != spalten_) {
        beginResetModel();
        zeilen_ = zeilen;
        spalten_ = spalten;
        endResetModel();
    } else {
        emit dataChanged(index(0, 0), index(zeilen_ - 1, spalten_ - 1));
        Titel();
    }
}

void ZREditGridModel::Titel()
{
    emit headerDataChanged(Qt::Horizontal, 0, spalten_ - 1);
}

TZREditGridInplaceEdit::TZREditGridInplaceEdit(TZREditGrid* grid, QWidget* parent)
    : TZRGridInplaceEdit(grid, parent), editGrid_(grid)
{
}

void TZREditGridInplaceEdit::InhaltAktualisieren()
{
    const int r = editGrid_->Row() - 1;
    const int c = editGrid_->Col();
    if (r < 0 || r >= editGrid_->Items().Count() || c >= editGrid_->Columns().Count()) {
        setEnabled(false);
        clear();
        return;
    }
    setEnabled(true);
    SetEditStyle(ZRGridRegeln::SpaltenEditor(editGrid_->Columns().GetItem(c).EditType()).stil);
    const QStringList& zellen = editGrid_->Items().GetItem(r).Zellen;
    if (c < zellen.size() && zellen.at(c) != text())
        setText(zellen.at(c));
}

void TZREditGridInplaceEdit::ListeGewaehlt(const QString& text)
{
    editGrid_->SetEditText(editGrid_->Col(), editGrid_->Row(), text);
}

void TZREditGridInplaceEdit::GetDropDownRows(QListWidget& liste, int& zeilen)
{
    const int c = editGrid_->Col();
    if (c >= editGrid_->Columns().Count())
        return;
    const TZRColumnsItem& spalte = editGrid_->Columns().GetItem(c);
    liste.addItems(spalte.PickList());
    zeilen = spalte.DropDownRows();
}

TZREditGrid::TZREditGrid(QWidget* parent)
    : TZRCustomGrid(parent),
      columns_([this] { UpdateGrid(); }, [this] { model_->Titel(); }),
      items_(columns_, [this] { UpdateGrid(); }),
      model_(new ZREditGridModel(this))
{
    setModel(model_);
    horizontalHeader()->setHighlightSections(false);
    UpdateGrid();
}

TZREditGrid::~TZREditGrid() = default;

TZREditItem& TZREditGrid::ZeileHinzufuegen()
{
    TZREditItem& zeile = items_.Add();
    SetCell(0, items_.Count());
    if (Editor())
        Editor()->InhaltAktualisieren();
    return zeile;
}

bool TZREditGrid::GetEditorReadOnly() const
{
    const int c = Col();
    if (c >= columns_.Count())
        return true;
    return ZRGridRegeln::SpaltenEditor(columns_.GetItem(c).EditType()).nurLesen;
}

bool TZREditGrid::CanEdit(int col, int row) const
{
    return row >= 1 && row <= items_.Count() && col >= 0 && col < columns_.Count();
}

void TZREditGrid::UpdateGrid()
{
    if (!UpdatesErlaubt()) {
        aenderungOffen_ = true;
        return;
    }
    model_->Aktualisieren();
    const int standard = horizontalHeader()->defaultSectionSize();
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int breite = c < columns_.Count() ? columns_.GetItem(c).Width() : -1;
        setColumnWidth(c, breite < 0 ? standard : breite);
    }
    setEnabled(items_.Count() > 0 && columns_.Count() > 0);
    NachNeuaufbau(Col());
}

TZRGridInplaceEdit* TZREditGrid::CreateEditor(QWidget* parent)
{
    return new TZREditGridInplaceEdit(this, parent);
}

void TZREditGrid::SetEditText(int col, int row, const QString& text)
{
    if (row < 1 || row > items_.Count())
        return;
    TZREditItem& zeile = items_.GetItem(row - 1);
    zeile.SetZelle(col, text);
    model_->Aktualisieren();
    if (OnSetEditText)
        OnSetEditText(this, col, row, col < zeile.Zellen.size() ? zeile.Zellen.at(col) : QString());
}

void TZREditGrid::showEvent(QShowEvent* event)
{
    TZRCustomGrid::showEvent(event);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}
