#pragma once

#include "FieldDataLink.h"

#include <AMCbRb.h>

// The themed radio button bound to a field: checked exactly when the field's text is
// ValueChecked; checking it puts ValueChecked into the field. Several buttons on one field with
// different values form one choice (give them no common parent group: the field decides).
class TDBAMRadioButton : public TAMRadioButton, public TFeldBindung {
    Q_OBJECT
public:
    explicit TDBAMRadioButton(QWidget* parent = nullptr);
    ~TDBAMRadioButton() override;

    const QString& ValueChecked() const { return checked_; }
    void SetValueChecked(const QString& v);

protected:
    void nextCheckState() override;

private:
    void DataChange();

    QString checked_;
};
