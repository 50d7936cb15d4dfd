#pragma once

#include "ZRGridRegeln.h"

#include <QLineEdit>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

class TZRCustomGrid;
class TZRGridInplaceEdit;

// The editor's drop-down list: a frameless window that does not take the activation, so that the
// focus stays in the editor; the editor hands it the keys while it is open.
class TPopupListbox : public QListWidget {
    Q_OBJECT
public:
    explicit TPopupListbox(TZRGridInplaceEdit* editor);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TZRGridInplaceEdit* editor_;
};

// The cell editor: plain, with an ellipsis button or with a pick list, optionally restricted to
// numbers with Digits decimals within Min .. Max.
class TZRGridInplaceEdit : public QLineEdit {
    Q_OBJECT
public:
    TZRGridInplaceEdit(TZRCustomGrid* grid, QWidget* parent);
    ~TZRGridInplaceEdit() override;

    TZRCustomGrid* Grid() const { return grid_; }

    ZRGridRegeln::EditStyle EditStyle() const { return editStyle_; }
    void SetEditStyle(ZRGridRegeln::EditStyle stil);
    bool Zahlenmodus() const { return zahlenmodus_; }
    void SetZahlenmodus(bool an) { zahlenmodus_ = an; }
    int Digits() const { return bereich_.digits; }
    long double Min() const { return bereich_.min; }
    long double Max() const { return bereich_.max; }
    void SetDigits(int d);
    void SetMin(long double m);
    void SetMax(long double m);
    long double GetWert() const;
    void SetWert(long double x);
    long double Eingangswert() const { return eingangswert_; }
    void Betreten();

    bool DroppedDown() const { return droppedDown_; }
    void DropDown();
    void CloseUp(bool accept);
    TPopupListbox* Liste() const { return aktiveListe_; }

    // Number mode: false (text restored and selected) when the cell may not be left.
    bool VerlassenPruefen();
    // Keys of the pick list and the ellipsis (Enter, Esc, Alt+Up/Down, Alt+Enter, keys for the
    // open list); true when consumed.
    bool SondertastenBehandeln(QKeyEvent* event);

    // Refreshes style, text and number settings for the grid's current cell.
    virtual void InhaltAktualisieren() = 0;

protected:
    virtual void ListeGewaehlt(const QString& text) = 0;
    // Fills the list and gives the number of visible rows.
    virtual void GetDropDownRows(QListWidget& liste, int& zeilen) = 0;

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class TPopupListbox;
    bool AufKnopf(const QPoint& p) const;
    QRect KnopfRechteck() const;
    void NeuSchreiben();

    TZRCustomGrid* grid_;
    int knopfBreite_;
    TPopupListbox* aktiveListe_ = nullptr;
    TPopupListbox* eigeneListe_ = nullptr;
    ZRGridRegeln::EditStyle editStyle_ = ZRGridRegeln::KeinKnopf;
    bool droppedDown_ = false;
    bool tracking_ = false;
    bool knopfGedrueckt_ = false;
    ZRGridRegeln::Bereich bereich_;
    long double eingangswert_ = 0;
    bool zahlenmodus_ = false;
    bool abgewiesen_ = false;
};

// Hands the cells to the grid's own editor and commits through the grid.
class ZRGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ZRGridDelegate(TZRCustomGrid* grid);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    TZRCustomGrid* grid_;
};

// The base of the property grid and the edit grid: rows and columns rebuilt from collections,
// rebuilds held between BeginUpdate and EndUpdate, and an editor always shown on the current cell.
// Rows are counted as the user sees them, the title row being row 0.
class TZRCustomGrid : public QTableView {
    Q_OBJECT
public:
    explicit TZRCustomGrid(QWidget* parent = nullptr);
    ~TZRCustomGrid() override;

    bool UpdatesErlaubt() const { return updatesErlaubt_; }
    bool AenderungOffen() const { return aenderungOffen_; }
    void BeginUpdate();
    void EndUpdate(bool force = false);

    int Col() const;
    int Row() const;
    void SetCell(int col, int row);

    TZRGridInplaceEdit* Editor() const { return editor_; }
    void SetDroppedDown(bool offen);

    std::function<void(TZRCustomGrid*, int col, int row)> OnElippsisclicked;
    std::function<void(TZRGridInplaceEdit*, int col, int row, QStringList&)> OnPicklistDropdown;
    std::function<void(TZRCustomGrid*, int col, int row, const QString& wert)> OnSetEditText;
    // A key pressed in the cell editor that the open pick list does not take; true swallows it.
    std::function<bool(TZRCustomGrid*, QKeyEvent*)> OnKeyPress;

    virtual bool GetEditorReadOnly() const = 0;
    virtual void UpdateGrid() = 0;
    // The cell exists and takes edits (its editor may still be read-only).
    virtual bool CanEdit(int col, int row) const = 0;
    void reset() override;

signals:
    // After every rebuild of rows and columns.
    void Neuaufgebaut();

protected:
    friend class ZRGridDelegate;
    friend class TZRGridInplaceEdit;
    virtual TZRGridInplaceEdit* CreateEditor(QWidget* parent) = 0;
    virtual void SetEditText(int col, int row, const QString& text) = 0;
    // Called by UpdateGrid once the rows are rebuilt.
    void NachNeuaufbau(int col);
    void EditorZeigen();

    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mousePressEvent(QMouseEvent* event) override;

    bool aenderungOffen_ = true;

private:
    void EditorGeschaffen(TZRGridInplaceEdit* e) { editor_ = e; }
    void EditorWeg(TZRGridInplaceEdit* e);

    bool updatesErlaubt_ = true;
    bool editorImmer_ = true;
    bool zeigenGeplant_ = false;
    TZRGridInplaceEdit* editor_ = nullptr;
};
