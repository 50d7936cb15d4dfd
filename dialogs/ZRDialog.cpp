#include "ZRDialog.h"

#include <Hilfe.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

TZRDialog::TZRDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setContentsMargins(DefaultBorderWidth, DefaultBorderWidth, DefaultBorderWidth,
                       DefaultBorderWidth);
}

bool TZRDialog::HilfeAnzeigen()
{
    return Tools::HilfeAnzeigen(helpContext_);
}

void TZRDialog::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        // Size and place before the window appears, so it does not jump.
        if (!testAttribute(Qt::WA_Resized))
            adjustSize();
        if (borderStyle_ == bsDialog)
            setFixedSize(size());
        if (position_ != poDesigned) {
            QRect area;
            const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
            if (position_ == poOwnerFormCenter && owner && owner->isVisible())
                area = owner->frameGeometry();
            else if (const QScreen* screen =
                         owner ? owner->screen() : QGuiApplication::primaryScreen())
                area = screen->availableGeometry();
            if (area.isValid()) {
                const QSize frame = frameGeometry().size().expandedTo(size());
                move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
            }
        }
    }
    QDialog::setVisible(visible);
}

void TZRDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        HilfeAnzeigen();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
