#pragma once

#include "ZRPropEintraege.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The columns and rows of the edit grid apart from the widget.
class TZRColumnsItem {
public:
    TZRColumnsItem(Neuaufbau neuaufbau, std::function<void()> neuZeichnen)
        : neuaufbau_(std::move(neuaufbau)), neuZeichnen_(std::move(neuZeichnen))
    {
    }
    int DropDownRows() const { return dropDownRows_; }
    int EditType() const { return editType_; }
    QStringList& PickList() { return pickList_; }
    const QStringList& PickList() const { return pickList_; }
    const QString& Title() const { return title_; }
    // -1: the grid's default column width.
    int Width() const { return width_; }

    void SetDropDownRows(int r) { dropDownRows_ = r; }
    void SetEditType(int t);
    void SetTitle(const QString& t);
    void SetWidth(int w);

private:
    Neuaufbau neuaufbau_;
    std::function<void()> neuZeichnen_;
    int dropDownRows_ = 10;
    int editType_ = 1;
    QStringList pickList_;
    QString title_;
    int width_ = -1;
};

class TZREditItem {
public:
    QStringList Zellen;
    // Sets the cell when the row has that many cells.
    void SetZelle(int spalte, const QString& text);
};

class TZRColumns;

class TZREditItems {
public:
    TZREditItems(const TZRColumns& spalten, Neuaufbau neuaufbau)
        : spalten_(spalten), neuaufbau_(std::move(neuaufbau))
    {
    }
    // A new row with one empty cell per column.
    TZREditItem& Add();
    // Removes the row; nothing for an index outside the rows.
    void Delete(int index);
    void Clear();
    int Count() const { return int(items_.size()); }
    TZREditItem& GetItem(int index) { return *items_.at(index); }
    const TZREditItem& GetItem(int index) const { return *items_.at(index); }

private:
    friend class TZRColumns;
    const TZRColumns& spalten_;
    Neuaufbau neuaufbau_;
    std::vector<std::unique_ptr<TZREditItem>> items_;
};

class TZRColumns {
public:
    TZRColumns(Neuaufbau neuaufbau, std::function<void()> neuZeichnen)
        : neuaufbau_(std::move(neuaufbau)), neuZeichnen_(std::move(neuZeichnen))
    {
    }
    // A new column; every row of `zeilen` gets empty cells up to one per column.
    TZRColumnsItem& Add(TZREditItems& zeilen);
    int Count() const { return int(items_.size()); }
    TZRColumnsItem& GetItem(int index) { return *items_.at(index); }
    const TZRColumnsItem& GetItem(int index) const { return *items_.at(index); }

private:
    Neuaufbau neuaufbau_;
    std::function<void()> neuZeichnen_;
    std::vector<std::unique_ptr<TZRColumnsItem>> items_;
};
