#pragma once

#include <QList>
#include <QPixmap>

class QAbstractItemModel;
class QAbstractItemView;
class QPainter;
class QStyleOptionViewItem;

namespace ZRcxGrid {

// Draws picture `imageIndex` of `images` into the cell of a custom-draw handler, over the cell's
// background: at the cell's left + x and top + y, where -1 centres in that direction. An index
// outside the list leaves the bare background. The cell counts as drawn either way (done = true).
void DrawImagelistOnCell(const QList<QPixmap>& images, int imageIndex, QPainter* painter,
                         const QStyleOptionViewItem& cell, bool& done, int x = -1, int y = -1);

// Where a picture of `bild` size lands in a cell; -1 centres.
QPoint BildPosition(const QRect& zelle, const QSize& bild, int x, int y);

// Negates a Boolean column in every row of the model (all rows, also those not fetched yet); any
// value that is not Boolean, also an empty one, becomes false. The view, when given, does not
// repaint until all rows are done. Throws std::runtime_error when the model refuses a value.
void ToggleBooleanCell(QAbstractItemModel& model, int column, QAbstractItemView* view = nullptr);

}  // namespace ZRcxGrid
