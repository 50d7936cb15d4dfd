#include "LayoutEditorControls.h"

#include <DBComboBox.h>

#include <DBAMCheckbox.h>
#include <DBFloatEdit.h>
#include <DBZRBaseEdit.h>

#include <QComboBox>

namespace LayoutEditor {

TDBAMCheckbox* Haken(const QString& text, db::DataSet& ds, const QString& feld, const char* name,
                     QWidget* parent)
{
    auto* h = new TDBAMCheckbox(parent);
    h->setObjectName(QLatin1String(name));
    h->setText(text);
    h->SetValueChecked(QStringLiteral("T"));
    h->SetValueUnchecked(QStringLiteral("F"));
    h->SetDataSource(&ds);
    h->SetDataField(feld);
    return h;
}

TDBFloatEdit* Zahl(db::DataSet& ds, const QString& feld, int min, int max, bool leerErlaubt,
                   const char* name, QWidget* parent)
{
    auto* e = new TDBFloatEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->SetDigits(0);
    e->SetMin(min);
    e->SetMax(max);
    e->SetAllowNull(leerErlaubt);
    e->SetDataSource(&ds);
    e->SetDataField(feld);
    e->setMaximumWidth(70);
    return e;
}

TDBZRBaseEdit* Text(db::DataSet& ds, const QString& feld, int laenge, const char* name,
                    QWidget* parent)
{
    auto* e = new TDBZRBaseEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(laenge);
    e->SetDataSource(&ds);
    e->SetDataField(feld);
    return e;
}

QComboBox* Auswahl(const QList<ListenDruckCodes::RCode>& codes, db::DataSet& ds,
                   const QString& feld, const char* name, QWidget* parent)
{
    auto* box = new TDBComboBox(parent);
    box->setObjectName(QLatin1String(name));
    for (const ListenDruckCodes::RCode& c : codes)
        box->addItem(c.Text, c.Code);
    box->SetDataSource(&ds);
    box->SetDataField(feld);
    return box;
}

}  // namespace LayoutEditor
