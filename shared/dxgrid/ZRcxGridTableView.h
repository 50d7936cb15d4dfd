#pragma once

#include "ZRcxGridLayout.h"
#include "ZRcxGridOptions.h"

#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>
#include <optional>

class QPainter;

// A cell painter that forms may take over (the custom-draw event of a view): the handler draws the
// cell and sets `done`; otherwise the cell is drawn as usual. A check-box cell without text shows
// its box centred; a click on the box or Space on the cell toggles it.
class TZRcxGridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using CustomDraw =
        std::function<void(QPainter*, const QStyleOptionViewItem&, const QModelIndex&, bool& done)>;
    explicit TZRcxGridCellDelegate(QObject* parent = nullptr);

    // Per column; an empty handler removes it.
    void SetOnCustomDrawCell(int column, CustomDraw handler);
    void SetFocusRect(bool on) { focusRect_ = on; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    // Where the box of a check-box cell is drawn: centred in the cell.
    static QRect CheckRect(const QStyleOptionViewItem& option);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QHash<int, CustomDraw> handlers_;
    bool focusRect_ = false;
};

// The system's table view: the option defaults, the empty-view text, Enter as double click, the
// indicator with the layout popup and the column layout kept in the layout file.
// The view's objectName, with the objectName of its window in front, names its layout.
class TZRcxGridTableView : public QTableView {
    Q_OBJECT
public:
    explicit TZRcxGridTableView(QWidget* parent = nullptr);
    ~TZRcxGridTableView() override;

    const TZRcxGridTableOptionsView& OptionsView() const { return optionsView_; }
    void SetOptionsView(const TZRcxGridTableOptionsView& options);
    const TZRcxGridTableOptionsBehavior& OptionsBehavior() const { return optionsBehavior_; }
    void SetOptionsBehavior(const TZRcxGridTableOptionsBehavior& options);
    void SetEmptyText(const QString& text);
    void SetEnterToDblClick(bool on);

    TZRcxGridCellDelegate* CellDelegate() const { return delegate_; }

    // The text drawn in an empty view when EmptyText is blank.
    static QString StandardLeertext();
    // What the view shows in place of rows now: nothing while it has rows.
    QString Leertext() const;

    // The name of the view's section in the layout file.
    QString LayoutName() const;
    // The columns as they are now; a column is named by the model's header (Qt::UserRole, or the
    // caption when the model gives no field name there).
    ZRcxGrid::Layout AktuellesLayout() const;
    void LayoutAnwenden(const ZRcxGrid::Layout& layout);

    // Every shown column as wide as its title and the rows read so far; with automatic width
    // the columns then share the view's width in that proportion.
    void SpaltenNachInhalt();
    // Keeps the designed layout (first call only), then applies the layout saved in the layout
    // file; a view without a saved layout keeps its design.
    void RestoreLayout();
    // Writes the current layout into the layout file. Throws std::runtime_error when it cannot.
    void StoreLayout();
    void SaveInternalLayout();
    void RestoreInternalLayout();
    bool HatInternesLayout() const { return internesLayout_.has_value(); }

    void setModel(QAbstractItemModel* model) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    // Takes over a column header of a derived view.
    void SetKopf(QHeaderView* kopf);
    // The name of a column in layouts.
    virtual QString SpaltenName(int section) const;
    // Section moves that a view allows (the banded view keeps columns inside their band).
    virtual void SpalteVerschoben(int logical, int oldVisual, int newVisual);

private:
    void OptionenAnwenden();
    void SpaltenEinpassen(int festeSpalte = -1);
    void ZeilenhoehenPlanen();
    void ZeilenhoehenAnpassen();
    void IndikatorMenue(const QPoint& pos);

    TZRcxGridTableOptionsView optionsView_;
    TZRcxGridTableOptionsBehavior optionsBehavior_;
    TZRcxGridCellDelegate* delegate_;
    std::optional<ZRcxGrid::Layout> internesLayout_;
    bool einpassen_ = false;
    bool hoehenGeplant_ = false;
    // A model the view no longer shows must not refit it any more.
    QList<QMetaObject::Connection> modellVerbindungen_;
};
