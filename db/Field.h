#pragma once

#include "Query.h"
#include "Value.h"

#include <QString>
#include <QVariant>

#include <functional>

namespace db {

class DataSet;

// A column of a dataset: its settings for the controls and grids, and the current record's value.
// Settings stay when the dataset closes and opens again with the same columns.
class Field {
public:
    Field(DataSet& dataSet, const QString& name, FieldType type, int size, bool calculated);

    const QString& FieldName() const { return name_; }
    FieldType DataType() const { return type_; }
    bool Calculated() const { return calculated_; }
    bool IsNumeric() const;
    // The field's position among the dataset's fields.
    int Index() const;
    DataSet& GetDataSet() const { return dataSet_; }

    QString DisplayLabel;  // grid titles; the field name when empty
    // Dates: "dd.mm.yyyy", "hh:nn" and the like. Numbers: "0", "0.00", "#,##0.00", "0.0 %" and
    // the like, with the German separators.
    QString DisplayFormat;
    QString EditMask;
    bool Required = false;
    int Size = 0;  // characters of a text field
    bool Visible = true;
    bool ReadOnly = false;
    int Scale = 0;  // decimal places of a NUMERIC column
    // Called after the value changed through a setter.
    std::function<void(Field&)> OnChange;

    QString Label() const { return DisplayLabel.isEmpty() ? name_ : DisplayLabel; }

    // The current record's value; in edit and insert state the edited value.
    const Value& AsValue() const;
    bool IsNull() const { return AsValue().IsNull(); }
    int AsInteger() const { return AsValue().AsInteger(); }
    qint64 AsInt64() const { return AsValue().AsInt64(); }
    double AsDouble() const { return AsValue().AsDouble(); }
    QString AsString() const { return AsValue().AsString(); }
    QDate AsDate() const { return AsValue().AsDate(); }
    QDateTime AsDateTime() const { return AsValue().AsDateTime(); }
    bool AsBoolean() const { return AsValue().AsBoolean(); }
    QVariant AsVariant() const { return AsValue().AsVariant(); }
    // The value as the record was read (before the edit).
    Value OldValue() const;
    // The value formatted with DisplayFormat (empty for NULL).
    QString DisplayText() const;
    static QString Format(const Value& value, FieldType type, const QString& displayFormat);

    // Setters need the dataset in edit or insert state (calculated fields: in the calculation
    // handler) and throw db::Error otherwise.
    void SetValue(QVariant value);
    void SetNull() { Store(QVariant()); }
    void SetInteger(int v) { Store(v); }
    void SetInt64(qint64 v) { Store(QVariant::fromValue(v)); }
    void SetDouble(double v) { Store(v); }
    void SetString(const QString& v) { SetValue(v); }
    void SetDate(const QDate& v) { Store(v.isValid() ? QVariant(v) : QVariant()); }
    void SetDateTime(const QDateTime& v) { Store(v.isValid() ? QVariant(v) : QVariant()); }
    void SetBoolean(bool v) { Store(v); }

private:
    friend class DataSet;
    // Sets a value that needs no conversion.
    void Store(QVariant&& value);
    DataSet& dataSet_;
    QString name_;
    FieldType type_;
    bool calculated_;
    int index_ = -1;
};

}  // namespace db
