#pragma once

#include "FieldDataLink.h"

#include <functional>

class QFocusEvent;
class QWidget;

// What the bound controls share.
namespace DBControlTools {

// Puts the dataset into edit state for the control; a refusal of the dataset is shown. False
// when the field cannot be changed now.
bool EditOderMelden(TFieldDataLink& link);

// Leaving a control: its pending value goes into the field; when the field refuses it, the user
// is told and the focus returns. `laeuft` guards against the focus changes of the message.
void Verlassen(QWidget* control, TFieldDataLink& link, QFocusEvent* event, bool& laeuft);

// Writes a value of the control into the field at once, putting the dataset into edit state
// first. `schreibt` is set meanwhile, so that the control does not show the dataset's echo over
// its own text. A refusal of the dataset or the field is shown; false then.
bool Schreiben(TFieldDataLink& link, bool& schreibt, const std::function<void(db::Field&)>& setzen);

// The text rule of the bound text controls: an empty text stores NULL, NULL shows as empty.
void TextSetzen(db::Field& field, const QString& text);
// Whether the dataset holds a record the control can show (it is open and has one, or inserts).
bool HatSatz(const TFieldDataLink& link);

}  // namespace DBControlTools
