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

bool Schreiben(TFieldDataLink& link, bool& schreibt, const std::function<void(db::Field&)>& setzen)
{
    db::Field* f = link.GetField();
    if (!f)
        return false;
    schreibt = true;
    bool ok = EditOderMelden(link);
    if (ok) {
        try {
            setzen(*f);
        } catch (const db::Error& e) {
            Tools::MeldungError(e.Message());
            ok = false;
        }
    }
    schreibt = false;
    return ok;
}

void TextSetzen(db::Field& field, const QString& text)
{
    if (text.isEmpty())
        field.SetNull();
    else
        field.SetString(text);
}

bool HatSatz(const TFieldDataLink& link)
{
    const db::DataSet* ds = link.GetDataSet();
    if (!ds || !link.Active() || !link.GetField())
        return false;
    return !ds->IsEmpty() || ds->State() == db::DataSetState::Insert ||
           ds->State() == db::DataSetState::Edit;
}

}  // namespace DBControlTools
