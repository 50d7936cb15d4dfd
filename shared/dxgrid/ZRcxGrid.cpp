#include "ZRcxGrid.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <stdexcept>

namespace ZRcxGrid {

namespace {

// Holds a view's repaints and lets them go on every way out.
class Aktualisierungssperre {
public:
    explicit Aktualisierungssperre(QAbstractItemView* view) : view_(view)
    {
        if (view_)
            view_->setUpdatesEnabled(false);
    }
    ~Aktualisierungssperre()
    {
        if (view_) {
            view_->setUpdatesEnabled(true);
            view_->viewport()->update();
        }
    }
    Aktualisierungssperre(const Aktualisierungssperre&) = delete;
    Aktualisierungssperre& operator=(const Aktualisierungssperre&) = delete;

private:
    QAbstractItemView* view_;
};

}  // namespace

QPoint BildPosition(const QRect& zelle, const QSize& bild, int x, int y)
{
    return {zelle.left() + (x == -1 ? (zelle.width() - bild.width()) / 2 : x),
            zelle.top() + (y == -1 ? (zelle.height() - bild.height()) / 2 : y)};
}

void DrawImagelistOnCell(const QList<QPixmap>& images, int imageIndex, QPainter* painter,
                         const QStyleOptionViewItem& cell, bool& done, int x, int y)
{
    QStyleOptionViewItem hintergrund = cell;
    hintergrund.text.clear();
    hintergrund.icon = QIcon();
    hintergrund.features &= ~QStyleOptionViewItem::HasDisplay;
    const QWidget* widget = cell.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &hintergrund, painter, widget);
    if (imageIndex >= 0 && imageIndex < images.size()) {
        const QPixmap& bild = images[imageIndex];
        const QSize groesse = bild.deviceIndependentSize().toSize();
        painter->drawPixmap(BildPosition(cell.rect, groesse, x, y), bild);
    }
    done = true;
}

void ToggleBooleanCell(QAbstractItemModel& model, int column, QAbstractItemView* view)
{
    Aktualisierungssperre sperre(view);
    while (model.canFetchMore({}))
        model.fetchMore({});
    for (int r = 0; r < model.rowCount(); ++r) {
        const QModelIndex index = model.index(r, column);
        const QVariant wert = model.data(index, Qt::EditRole);
        const bool neu = wert.typeId() == QMetaType::Bool ? !wert.toBool() : false;
        if (!model.setData(index, neu, Qt::EditRole))
            throw std::runtime_error(
                QStringLiteral("Der Wert in Zeile %1 kann nicht geändert werden.")
                    .arg(r + 1)
                    .toStdString());
    }
}

}  // namespace ZRcxGrid
