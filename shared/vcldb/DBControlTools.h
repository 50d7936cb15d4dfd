#pragma once

#include "FieldDataLink.h"

class QFocusEvent;
class QWidget;

// What the bound check box and radio button share.
namespace DBControlTools {

// Puts the dataset into edit state for the control; a refusal of the dataset is shown. False
// when the field cannot be changed now.
bool EditOderMelden(TFieldDataLink& link);

// Leaving a control: its pending value goes into the field; when the field refuses it, the user
// is told and the focus returns. `laeuft` guards against the focus changes of the message.
void Verlassen(QWidget* control, TFieldDataLink& link, QFocusEvent* event, bool& laeuft);

}  // namespace DBControlTools
