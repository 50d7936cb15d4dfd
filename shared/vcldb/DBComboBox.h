#pragma once

#include "FieldDataLink.h"

#include <QComboBox>

// The choice box bound to a field. A fixed list stores the chosen entry's value (its item data)
// and shows the entry whose value equals the field (texts compared without trailing blanks); an
// entry without value stands for NULL, and a field whose value has no entry shows no choice. An
// editable box stores its text, trimmed, whoever changed it (typing, completion, a chosen entry,
// the form); an empty text stores NULL and NULL shows as empty. Choosing or typing puts the
// dataset into edit state and writes the value at once; a value the field refuses is shown as a
// message and the box shows the field again. Entries added later do not change the field. Without
// a dataset it is a plain choice box.
class TDBComboBox : public QComboBox, public TFeldBindung {
    Q_OBJECT
public:
    explicit TDBComboBox(QWidget* parent = nullptr, bool freierText = false);
    ~TDBComboBox() override;

    void Eintrag(const QString& text, const QVariant& wert = {}) { addItem(text, wert); }

signals:
    // The user's choice or text went into the field.
    void Geschrieben();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Zeigen();
    int Position(const db::Field& f) const;
    void Gewaehlt(int index);
    void TextGeaendert(const QString& text);

    bool zeigt_ = false;
    bool schreibt_ = false;
};
