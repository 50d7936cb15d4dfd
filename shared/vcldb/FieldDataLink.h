#pragma once

#include <DataLink.h>
#include <DataSet.h>
#include <Field.h>

#include <QString>

#include <functional>
#include <optional>

// Binds one control to one field of a dataset: tells it when the dataset opens or closes, when
// the shown record or the field's value changes, when editing begins or ends, and asks it for its
// pending value before the record is written.
class TFieldDataLink : public db::DataLink {
public:
    TFieldDataLink() = default;

    // The dataset the control shows (the data source); null unbinds it.
    void SetDataSource(db::DataSet* dataSet);
    void SetDataField(const QString& name);
    const QString& DataField() const { return fieldName_; }
    // The bound field; null while the dataset is missing or has no field of that name.
    db::Field* GetField() const;

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    // The control may change the field: a field that is not read-only in a dataset that can
    // write the record back.
    bool CanModify() const;
    // The dataset edits and the control may change the field.
    bool Editing() const { return editing_; }
    // Puts the dataset into edit state when the control may change the field.
    bool Edit();

    // The control's value differs from the field's.
    bool Modified() const { return modified_; }
    void SetModified(bool on = true) { modified_ = on; }
    // Shows the field's value again and forgets the control's changes.
    void Reset();
    // Writes a pending value of the control into the field; errors pass on (the value stays
    // pending).
    void UpdateRecord();

    std::function<void()> OnActiveChange;
    std::function<void()> OnDataChange;
    std::function<void()> OnEditingChange;
    std::function<void()> OnUpdateData;

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled() override;
    void RecordChanged(db::Field* field) override;
    void EditingChanged() override;
    void UpdateData() override;

private:
    void DatenGeaendert();
    void EditingNeu();

    QString fieldName_;
    bool readOnly_ = false;
    bool editing_ = false;
    bool modified_ = false;
};

// The field binding that data-aware controls offer their forms.
class TFeldBindung {
public:
    db::DataSet* DataSource() const { return link_.GetDataSet(); }
    void SetDataSource(db::DataSet* dataSet) { link_.SetDataSource(dataSet); }
    const QString& DataField() const { return link_.DataField(); }
    void SetDataField(const QString& name) { link_.SetDataField(name); }
    bool ReadOnly() const { return link_.ReadOnly(); }
    void SetReadOnly(bool on) { link_.SetReadOnly(on); }
    db::Field* Field() const { return link_.GetField(); }

protected:
    TFieldDataLink link_;
};

// The texts of a field as the edit controls show and read them.
namespace FeldText {
// The value as it is edited: numbers with "," and no grouping, dates "dd.MM.yyyy", texts without
// the padding of CHAR columns; empty for NULL.
QString EditText(const db::Field& field);
// Sets the field from an edited text; an empty text gives NULL. Dates are completed as typed
// short (ZRDateTools::FormatDateNice). Throws db::Error with a German message for a text that
// the field cannot take.
void SetText(db::Field& field, const QString& text);
// Whether a typed character may go into the field at all.
bool IsValidChar(const db::Field& field, QChar ch);
// The smallest and largest number a numeric column can hold; none for other columns. A NUMERIC
// column is taken as stored in 64 bits: its storage type is not known here.
struct Grenzen {
    long double min;
    long double max;
};
std::optional<Grenzen> ZahlGrenzen(const db::Field& field);
Qt::Alignment Alignment(const db::Field& field);
}  // namespace FeldText
