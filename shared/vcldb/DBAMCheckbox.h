#pragma once

#include "FieldDataLink.h"

#include <AMCbRb.h>

// The themed check box bound to a field: checked when the field's text is exactly ValueChecked,
// grayed when it is ValueGrayed, unchecked otherwise. A click puts the dataset into edit state
// and the box's state goes into the field as ValueChecked, ValueUnchecked or ValueGrayed when
// the record is written or the box is left.
class TDBAMCheckbox : public TAMCheckBox, public TFeldBindung {
    Q_OBJECT
public:
    explicit TDBAMCheckbox(QWidget* parent = nullptr);
    ~TDBAMCheckbox() override;

    const QString& ValueChecked() const { return checked_; }
    void SetValueChecked(const QString& v);
    const QString& ValueUnchecked() const { return unchecked_; }
    void SetValueUnchecked(const QString& v);
    const QString& ValueGrayed() const { return grayed_; }
    void SetValueGrayed(const QString& v);

protected:
    void nextCheckState() override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void DataChange();
    void UpdateData();

    QString checked_, unchecked_, grayed_;
    bool verlassen_ = false;
};
