#pragma once

class QGroupBox;
class QWidget;
class TDBZRDateEdit;

namespace StatistikZeitraum {

// The group "Berechnungszeitraum" of the selection dialogs with its edits "von:" and "bis:".
QGroupBox* Gruppe(QWidget* parent, TDBZRDateEdit*& von, TDBZRDateEdit*& bis);

// False, after its message and with the focus on the edit, unless both dates are valid.
bool Gueltig(TDBZRDateEdit* von, TDBZRDateEdit* bis);

}  // namespace StatistikZeitraum
