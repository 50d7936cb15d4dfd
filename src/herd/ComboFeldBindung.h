#pragma once

#include <FieldDataLink.h>

#include <QObject>

class QComboBox;

// A choice box bound to a field of a dataset. A fixed list stores the chosen item's data (an item
// without data stores NULL) and shows the item whose data equals the field; an editable box
// stores and shows the text. Choosing or typing puts the dataset into edit state; the value goes
// into the field at once (fixed list) or when the record is written (editable box).
class TComboFeldBindung : public QObject {
    Q_OBJECT
public:
    TComboFeldBindung(QComboBox* box, db::DataSet& dataSet, const QString& feld);
    ~TComboFeldBindung() override;

private:
    void Zeigen();
    QComboBox* box_;
    TFieldDataLink link_;
    bool zeigt_ = false;
};
