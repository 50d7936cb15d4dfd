#pragma once

#include "FieldDataLink.h"

#include <AMCbRb.h>

// The themed check box bound to a field: checked when the field's text is exactly ValueChecked,
// grayed when it is ValueGrayed, unchecked otherwise. A click puts the dataset into edit state
// and the box's state goes into the field as ValueChecked, ValueUnchecked or ValueGrayed when
// the record is written or the box is left.
class TDBAMCheckbox : public TAMCheckBox {
    Q_OBJECT
public:
    explicit TDBAMCheckbox(QWidget* parent = nullptr);
    ~TDBAMCheckbox() override;

    db::DataSet* DataSource() const { return link_.GetDataSet(); }
    void SetDataSource(db::DataSet* dataSet);
    const QString& DataField() const { return link_.DataField(); }
    void SetDataField(const QString& name);
    bool ReadOnly() const { return link_.ReadOnly(); }
    void SetReadOnly(bool on) { link_.SetReadOnly(on); }
    db::Field* Field() const { return link_.GetField(); }

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

    TFieldDataLink link_;
    QString checked_, unchecked_, grayed_;
    bool verlassen_ = false;
};
