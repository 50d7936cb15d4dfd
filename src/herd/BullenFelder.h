#pragma once

#include <FieldDataLink.h>

#include <QComboBox>
#include <QPlainTextEdit>
#include <QStringList>
#include <QValidator>

class TZRcxGridDBTableView;

// Bound controls the bull and semen-container dialogs need beyond the shared ones: a long text,
// a choice list of fixed values and the upper-case entry of numbers.

// A long text bound to a field. Typing puts the dataset into edit state and writes each change.
class TFeldMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TFeldMemo(QWidget* parent = nullptr);
    ~TFeldMemo() override;

    void SetDataSource(db::DataSet* dataSet) { link_.SetDataSource(dataSet); }
    void SetDataField(const QString& name) { link_.SetDataField(name); }

private:
    void DataChange();
    void Geaendert();

    TFieldDataLink link_;
    bool zeigt_ = false;
    // The control writes its own text: the field's echo must not replace it.
    bool schreibt_ = false;
};

// A drop-down list whose entries stand for field values (the item data). A choice puts the
// dataset into edit state and writes the value; a value without an entry shows no entry. With
// freierText the list is editable and the typed text is the value.
class TFeldAuswahl : public QComboBox {
    Q_OBJECT
public:
    explicit TFeldAuswahl(QWidget* parent = nullptr, bool freierText = false);
    ~TFeldAuswahl() override;

    void SetDataSource(db::DataSet* dataSet) { link_.SetDataSource(dataSet); }
    void SetDataField(const QString& name) { link_.SetDataField(name); }
    void Eintrag(const QString& text, const QVariant& wert) { addItem(text, wert); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DataChange();
    void Gewaehlt(int index);
    void TextGeaendert(const QString& text);

    TFieldDataLink link_;
    bool zeigt_ = false;
    bool schreibt_ = false;
};

// Turns what is typed or pasted into upper case.
class TGrossschreibung : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Puts the view's columns of these fields first, in this order, each as wide as its contents
// (sharing the view's width in that proportion), with the user's saved layout
// over it; again each time the dataset opens, since a closed dataset has no columns and the
// header forgets their order with them.
void SpaltenFolge(TZRcxGridDBTableView& ansicht, const QStringList& felder);
