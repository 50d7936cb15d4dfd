#include "ZRPropGrid.h"

#include <QHeaderView>

ZRPropGridModel::ZRPropGridModel(TZRPropGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

int ZRPropGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : zeilen_;
}

int ZRPropGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant ZRPropGridModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || index.row() >= grid_->Properties().Count())
        return {};
    const TZRPropertiesItem& p = grid_->Properties().GetItem(index.row());
    return index.column() == 0 ? p.Caption() : p.GetAnzeigeWert();
}

QVariant ZRPropGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? grid_->TitleValues() : grid_->TitleData();
}

Qt::ItemFlags ZRPropGridModel::flags(const QModelIndex& index) const
{
    if (index.column() != 1)
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void ZRPropGridModel::Aktualisieren()
{
    const int zeilen = std::max(1, grid_->Properties().Count());
    if (zeilen != zeilen_) {
        beginResetModel();
        zeilen_ = zeilen;
        endResetModel();
    } else {
        emit dataChanged(index(0, 0), index(zeilen_ - 1, 1));
        emit headerDataChanged(Qt::Horizontal, 0, 1);
    }
}

TZRPropGridInplaceEdit::TZRPropGridInplaceEdit(TZRPropGrid* grid, QWidget* parent)
    : TZRGridInplaceEdit(grid, parent), propGrid_(grid)
{
}

TZRPropertiesItem* TZRPropGridInplaceEdit::Property() const
{
    const int r = propGrid_->Row() - 1;
    if (r < 0 || r >= propGrid_->Properties().Count())
        return nullptr;
    return &propGrid_->Properties().GetItem(r);
}

void TZRPropGridInplaceEdit::InhaltAktualisieren()
{
    TZRPropertiesItem* p = Property();
    if (!p) {
        setEnabled(false);
        clear();
        return;
    }
    setEnabled(true);
    const ZRGridRegeln::EditorArt art = ZRGridRegeln::PropertyEditor(p->EditType());
    SetEditStyle(art.stil);
    const QString wert = p->GetAnzeigeWert();
    if (wert != text())
        setText(wert);
    SetZahlenmodus(art.zahlenmodus);
    SetMax(p->Max());
    SetMin(p->Min());
    SetDigits(p->Digits());
}

void TZRPropGridInplaceEdit::ListeGewaehlt(const QString& text)
{
    propGrid_->SetEditText(propGrid_->Col(), propGrid_->Row(), text);
}

void TZRPropGridInplaceEdit::GetDropDownRows(QListWidget& liste, int& zeilen)
{
    const TZRPropertiesItem* p = Property();
    if (!p)
        return;
    liste.addItems(p->PickList().Texte());
    zeilen = p->DropDownRows();
}

TZRPropGrid::TZRPropGrid(QWidget* parent)
    : TZRCustomGrid(parent),
      properties_([this] { UpdateGrid(); }),
      model_(new ZRPropGridModel(this))
{
    setModel(model_);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    UpdateGrid();
}

TZRPropGrid::~TZRPropGrid() = default;

void TZRPropGrid::SetTitleValues(const QString& t)
{
    titleValues_ = t;
    emit model_->headerDataChanged(Qt::Horizontal, 0, 0);
}

void TZRPropGrid::SetTitleData(const QString& t)
{
    titleData_ = t;
    emit model_->headerDataChanged(Qt::Horizontal, 1, 1);
}

bool TZRPropGrid::GetEditorReadOnly() const
{
    const int r = Row() - 1;
    if (r < 0 || r >= properties_.Count())
        return true;
    const int typ = properties_.GetItem(r).EditType();
    return typ == 0 || typ == 5;
}

bool TZRPropGrid::CanEdit(int col, int row) const
{
    return col == 1 && row >= 1 && row <= properties_.Count();
}

void TZRPropGrid::UpdateGrid()
{
    if (!UpdatesErlaubt()) {
        aenderungOffen_ = true;
        return;
    }
    model_->Aktualisieren();
    setEnabled(properties_.Count() > 0);
    NachNeuaufbau(1);
}

TZRGridInplaceEdit* TZRPropGrid::CreateEditor(QWidget* parent)
{
    return new TZRPropGridInplaceEdit(this, parent);
}

void TZRPropGrid::SetEditText(int col, int row, const QString& text)
{
    if (!CanEdit(col, row))
        return;
    TZRPropertiesItem& p = properties_.GetItem(row - 1);
    p.SetAnzeigeWert(text);
    if (OnSetEditText)
        OnSetEditText(this, col, row, p.Value());
}

void TZRPropGrid::Verbreitern()
{
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setColumnWidth(1, std::max(0, viewport()->width() - columnWidth(0) - 1));
}

void TZRPropGrid::showEvent(QShowEvent* event)
{
    TZRCustomGrid::showEvent(event);
    Verbreitern();
}

void TZRPropGrid::resizeEvent(QResizeEvent* event)
{
    TZRCustomGrid::resizeEvent(event);
    Verbreitern();
}
