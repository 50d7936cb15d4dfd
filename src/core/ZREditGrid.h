#pragma once

#include "ZREditEintraege.h"
#include "ZRGrids.h"

#include <QAbstractTableModel>

class TZREditGrid;

class ZREditGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ZREditGridModel(TZREditGrid* grid);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void Aktualisieren();
    void Titel();

private:
    TZREditGrid* grid_;
    int zeilen_ = 1;
    int spalten_ = 1;
};

class TZREditGridInplaceEdit : public TZRGridInplaceEdit {
    Q_OBJECT
public:
    TZREditGridInplaceEdit(TZREditGrid* grid, QWidget* parent);
    void InhaltAktualisieren() override;

protected:
    void ListeGewaehlt(const QString& text) override;
    void GetDropDownRows(QListWidget& liste, int& zeilen) override;

private:
    TZREditGrid* editGrid_;
};

// A table of defined columns (title, width, edit type, pick list) and rows of cell texts.
class TZREditGrid : public TZRCustomGrid {
    Q_OBJECT
public:
    explicit TZREditGrid(QWidget* parent = nullptr);
    ~TZREditGrid() override;

    TZRColumns& Columns() { return columns_; }
    const TZRColumns& Columns() const { return columns_; }
    TZREditItems& Items() { return items_; }
    const TZREditItems& Items() const { return items_; }
    // A new column; the rows get an empty cell for it.
    TZRColumnsItem& SpalteHinzufuegen() { return columns_.Add(items_); }
    // A new row; the current cell becomes its first column.
    TZREditItem& ZeileHinzufuegen();

    bool GetEditorReadOnly() const override;
    void UpdateGrid() override;
    bool CanEdit(int col, int row) const override;

protected:
    TZRGridInplaceEdit* CreateEditor(QWidget* parent) override;
    void SetEditText(int col, int row, const QString& text) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class TZREditGridInplaceEdit;
    TZRColumns columns_;
    TZREditItems items_;
    ZREditGridModel* model_;
};
