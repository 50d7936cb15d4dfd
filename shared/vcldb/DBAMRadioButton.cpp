#include "DBAMRadioButton.h"

#include "DBControlTools.h"

#include <Error.h>
#include <Meldung.h>

TDBAMRadioButton::TDBAMRadioButton(QWidget* parent) : TAMRadioButton(parent)
{
    // The field, not the parent widget, groups the buttons.
    setAutoExclusive(false);
    link_.OnDataChange = [this] { DataChange(); };
}

TDBAMRadioButton::~TDBAMRadioButton()
{
    link_.OnDataChange = {};
}

void TDBAMRadioButton::SetValueChecked(const QString& v)
{
    checked_ = v;
    DataChange();
}

void TDBAMRadioButton::DataChange()
{
    const db::Field* f = link_.GetField();
    const bool an = f && link_.Active() && FeldText::EditText(*f) == checked_;
    if (isChecked() != an)
        setChecked(an);
    update();
}

void TDBAMRadioButton::nextCheckState()
{
    // A radio button is only ever checked by the user; the field's other buttons follow it.
    if (isChecked())
        return;
    db::Field* f = link_.GetField();
    if (!f || !DBControlTools::EditOderMelden(link_))
        return;
    try {
        FeldText::SetText(*f, checked_);
    } catch (const db::Error& e) {
        Tools::MeldungError(e.Message());
    }
}
