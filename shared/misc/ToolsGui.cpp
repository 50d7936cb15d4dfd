#include "ToolsGui.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace Tools {

namespace {

bool isReturn(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The next control of the window's tab order after the focused one (or after Control).
void focusNext(QWidget* control)
{
    QWidget* window = control->window();
    QWidget* start = QApplication::focusWidget();
    if (!start || start->window() != window)
        start = control;
    for (QWidget* w = start->nextInFocusChain(); w && w != start; w = w->nextInFocusChain()) {
        if (w->window() == window && w->isEnabled() && w->isVisibleTo(window) &&
            (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

}  // namespace

void SimTab(QWidget* control)
{
    if (!control)
        return;
    QMetaObject::invokeMethod(
        control,
        [c = QPointer<QWidget>(control)] {
            if (c)
                focusNext(c);
        },
        Qt::QueuedConnection);
}

void SimTab(QWidget* control, int& key)
{
    if (!isReturn(key))
        return;
    key = 0;
    SimTab(control);
}

bool SimTabControl(QWidget* control, int& key)
{
    if (!isReturn(key))
        return false;
    key = 0;
    if (control && control->isEnabled() && control->isVisible() &&
        control->focusPolicy() != Qt::NoFocus)
        control->setFocus(Qt::OtherFocusReason);
    return true;
}

void Spline(QPainter& canvas, const TPoints& points, int count, int maxY)
{
    const TPoints curve = SplinePunkte(points, count, maxY);
    if (!curve.empty())
        canvas.drawPolyline(curve.data(), int(curve.size()));
}

}  // namespace Tools
