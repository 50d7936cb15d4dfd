#include "DBAMCheckbox.h"

#include "DBControlTools.h"

TDBAMCheckbox::TDBAMCheckbox(QWidget* parent) : TAMCheckBox(parent)
{
    link_.OnDataChange = [this] { DataChange(); };
    link_.OnUpdateData = [this] { UpdateData(); };
}

TDBAMCheckbox::~TDBAMCheckbox()
{
    link_.OnDataChange = {};
    link_.OnUpdateData = {};
}

void TDBAMCheckbox::SetValueChecked(const QString& v)
{
    checked_ = v;
    DataChange();
}

void TDBAMCheckbox::SetValueUnchecked(const QString& v)
{
    unchecked_ = v;
    DataChange();
}

void TDBAMCheckbox::SetValueGrayed(const QString& v)
{
    grayed_ = v;
    DataChange();
}

void TDBAMCheckbox::DataChange()
{
    Qt::CheckState zustand = Qt::Unchecked;
    if (const db::Field* f = link_.GetField(); f && link_.Active()) {
        const QString text = FeldText::EditText(*f);
        if (text == checked_)
            zustand = Qt::Checked;
        else if (text == grayed_)
            zustand = Qt::PartiallyChecked;
    }
    setCheckState(zustand);
    update();
}

void TDBAMCheckbox::nextCheckState()
{
    // The box changes only when the field can take the change; otherwise it stays as stored.
    if (!DBControlTools::EditOderMelden(link_))
        return;
    // A click checks or unchecks; grayed is only ever shown from the field.
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    link_.SetModified();
}

void TDBAMCheckbox::UpdateData()
{
    db::Field* f = link_.GetField();
    if (!f)
        return;
    const QString& wert = checkState() == Qt::Checked            ? checked_
                          : checkState() == Qt::PartiallyChecked ? grayed_
                                                                 : unchecked_;
    FeldText::SetText(*f, wert);
}

void TDBAMCheckbox::focusOutEvent(QFocusEvent* event)
{
    TAMCheckBox::focusOutEvent(event);
    DBControlTools::Verlassen(this, link_, event, verlassen_);
}
