#pragma once

#include "ZRGrids.h"
#include "ZRPropEintraege.h"

#include <QAbstractTableModel>

class TZRPropGrid;

// Caption and value of every property; row 0 of the grid is the title row (the header).
class ZRPropGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ZRPropGridModel(TZRPropGrid* grid);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Rows for the current properties: a reset when their number changed, else new contents.
    void Aktualisieren();

private:
    TZRPropGrid* grid_;
    int zeilen_ = 1;
};

class TZRPropGridInplaceEdit : public TZRGridInplaceEdit {
    Q_OBJECT
public:
    TZRPropGridInplaceEdit(TZRPropGrid* grid, QWidget* parent);
    void InhaltAktualisieren() override;

protected:
    void ListeGewaehlt(const QString& text) override;
    void GetDropDownRows(QListWidget& liste, int& zeilen) override;

private:
    TZRPropertiesItem* Property() const;
    TZRPropGrid* propGrid_;
};

// Named values in two columns, caption and value, each row with its own edit type (see
// ZRGridRegeln::PropertyEditor). Only the value column can be selected and edited.
class TZRPropGrid : public TZRCustomGrid {
    Q_OBJECT
public:
    explicit TZRPropGrid(QWidget* parent = nullptr);
    ~TZRPropGrid() override;

    TZRProperties& Properties() { return properties_; }
    QString TitleValues() const { return titleValues_; }
    QString TitleData() const { return titleData_; }
    void SetTitleValues(const QString& t);
    void SetTitleData(const QString& t);

    bool GetEditorReadOnly() const override;
    void UpdateGrid() override;
    bool CanEdit(int col, int row) const override;

protected:
    TZRGridInplaceEdit* CreateEditor(QWidget* parent) override;
    void SetEditText(int col, int row, const QString& text) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class TZRPropGridInplaceEdit;
    void Verbreitern();

    TZRProperties properties_;
    ZRPropGridModel* model_;
    QString titleValues_;
    QString titleData_;
};
