#pragma once
// The bound controls both layout editors build their pages of.

#include "ListenDruckCodes.h"

#include <QList>
#include <QString>

class QComboBox;
class QWidget;
class TDBAMCheckbox;
class TDBFloatEdit;
class TDBZRBaseEdit;

namespace db {
class DataSet;
}

namespace LayoutEditor {

// A check box storing "T" / "F".
TDBAMCheckbox* Haken(const QString& text, db::DataSet& ds, const QString& feld, const char* name,
                     QWidget* parent);
// A whole-number edit with its range.
TDBFloatEdit* Zahl(db::DataSet& ds, const QString& feld, int min, int max, bool leerErlaubt,
                   const char* name, QWidget* parent);
TDBZRBaseEdit* Text(db::DataSet& ds, const QString& feld, int laenge, const char* name,
                    QWidget* parent);
// A choice of the shown texts that stores the codes.
QComboBox* Auswahl(const QList<ListenDruckCodes::RCode>& codes, db::DataSet& ds,
                   const QString& feld, const char* name, QWidget* parent);

}  // namespace LayoutEditor
