#pragma once

#include "FieldDataLink.h"

#include <QLineEdit>

// An edit bound to one field of a dataset. It is read-only until the dataset edits: the first
// changing key puts the dataset into edit state. Without a dataset it is a plain entry field.
// Escape shows the field's value again. Leaving the control writes its value into the field; when
// the field refuses it, the user is told why, the focus stays and the text is selected. Unfocused
// it shows the field's display text, focused its edit text.
class TDBZRBaseEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDBZRBaseEdit(QWidget* parent = nullptr);
    ~TDBZRBaseEdit() override;

    db::DataSet* DataSource() const { return link_.GetDataSet(); }
    void SetDataSource(db::DataSet* dataSet);
    const QString& DataField() const { return link_.DataField(); }
    void SetDataField(const QString& name);
    bool ReadOnly() const { return link_.ReadOnly(); }
    void SetReadOnly(bool on);
    db::Field* Field() const { return link_.GetField(); }

    // Shows the field's value again and selects it.
    void Reset();

signals:
    // The control was left with its value written (the exit event).
    void Verlassen();

protected:
    TFieldDataLink& Link() { return link_; }
    // The four notifications of the link.
    virtual void ActiveChange();
    virtual void DataChange();
    virtual void EditingChange();
    virtual void UpdateData();

    // Starts editing for a key that changes the text; false when the field cannot be changed now.
    bool EditCanModify();
    // Writes the value back on leaving; true when it was taken. On failure the user was told.
    virtual bool Verlassen_Schreiben();

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // Returns the focus to the control after a refused value.
    void FokusZurueck();

private:
    TFieldDataLink link_;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    bool focused_ = false;
    bool verlassen_ = false;
};
