#include "ComboFeldBindung.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

TComboFeldBindung::TComboFeldBindung(QComboBox* box, db::DataSet& dataSet, const QString& feld)
    : QObject(box), box_(box)
{
    link_.SetDataSource(&dataSet);
    link_.SetDataField(feld);
    link_.OnDataChange = [this] { Zeigen(); };
    link_.OnActiveChange = [this] { Zeigen(); };
    link_.OnUpdateData = [this] {
        if (db::Field* f = link_.GetField(); f && box_->isEditable() && link_.Modified())
            f->SetString(box_->currentText().trimmed());
    };
    if (box_->isEditable()) {
        connect(box_, &QComboBox::editTextChanged, this, [this](const QString& text) {
            if (zeigt_)
                return;
            if (!link_.Edit()) {
                Zeigen();
                return;
            }
            // Going into edit shows the stored text again; the typed one stays.
            if (box_->currentText() != text) {
                zeigt_ = true;
                const QSignalBlocker still(box_);
                box_->setEditText(text);
                zeigt_ = false;
            }
            link_.SetModified();
        });
    } else {
        connect(box_, &QComboBox::activated, this, [this](int position) {
            db::Field* f = link_.GetField();
            if (!f || !link_.Edit()) {
                Zeigen();
                return;
            }
            const QVariant wert = box_->itemData(position);
            if (wert.isValid())
                f->SetValue(wert);
            else
                f->SetNull();
        });
    }
    Zeigen();
}

TComboFeldBindung::~TComboFeldBindung()
{
    link_.SetDataSource(nullptr);
}

void TComboFeldBindung::Zeigen()
{
    zeigt_ = true;
    const QSignalBlocker still(box_);
    db::Field* f = link_.GetField();
    const bool hatSatz = f && link_.GetDataSet() && link_.GetDataSet()->Active() &&
                         (!link_.GetDataSet()->IsEmpty() ||
                          link_.GetDataSet()->State() == db::DataSetState::Insert);
    if (box_->isEditable()) {
        box_->setEditText(hatSatz ? f->AsString().trimmed() : QString());
    } else if (!hatSatz) {
        box_->setCurrentIndex(-1);
    } else if (f->IsNull()) {
        int leer = -1;
        for (int i = 0; i < box_->count() && leer < 0; ++i)
            if (!box_->itemData(i).isValid())
                leer = i;
        box_->setCurrentIndex(leer);
    } else {
        int treffer = -1;
        const QString text = f->AsString().trimmed();
        for (int i = 0; i < box_->count() && treffer < 0; ++i)
            if (box_->itemData(i).isValid() && box_->itemData(i).toString().trimmed() == text)
                treffer = i;
        box_->setCurrentIndex(treffer);
    }
    link_.SetModified(false);
    zeigt_ = false;
}
