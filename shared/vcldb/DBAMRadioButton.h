#pragma once

#include "FieldDataLink.h"

#include <AMCbRb.h>

// The themed radio button bound to a field: checked exactly when the field's text is
// ValueChecked; checking it puts ValueChecked into the field. Several buttons on one field with
// different values form one choice (give them no common parent group: the field decides).
class TDBAMRadioButton : public TAMRadioButton {
    Q_OBJECT
public:
    explicit TDBAMRadioButton(QWidget* parent = nullptr);
    ~TDBAMRadioButton() override;

    db::DataSet* DataSource() const { return link_.GetDataSet(); }
    void SetDataSource(db::DataSet* dataSet);
    const QString& DataField() const { return link_.DataField(); }
    void SetDataField(const QString& name);
    bool ReadOnly() const { return link_.ReadOnly(); }
    void SetReadOnly(bool on) { link_.SetReadOnly(on); }
    db::Field* Field() const { return link_.GetField(); }

    const QString& ValueChecked() const { return checked_; }
    void SetValueChecked(const QString& v);

protected:
    void nextCheckState() override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void DataChange();
    void UpdateData();

    TFieldDataLink link_;
    QString checked_;
    bool verlassen_ = false;
};
