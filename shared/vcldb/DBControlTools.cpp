#include "DBControlTools.h"

#include <Error.h>
#include <Meldung.h>

#include <QFocusEvent>
#include <QTimer>
#include <QWidget>

namespace DBControlTools {

bool EditOderMelden(TFieldDataLink& link)
{
    if (link.Editing())
        return true;
    try {
        return link.Edit();
    } catch (const db::Error& e) {
        Tools::MeldungError(e.Message());
        return false;
    }
}

void Verlassen(QWidget* control, TFieldDataLink& link, QFocusEvent* event, bool& laeuft)
{
    if (laeuft || event->reason() == Qt::PopupFocusReason ||
        event->reason() == Qt::ActiveWindowFocusReason)
        return;
    laeuft = true;
    try {
        link.UpdateRecord();
    } catch (const db::Error& e) {
        Tools::MeldungError(e.Message());
        control->setFocus(Qt::OtherFocusReason);
        QTimer::singleShot(0, control, [control] { control->setFocus(Qt::OtherFocusReason); });
    }
    laeuft = false;
}

}  // namespace DBControlTools
