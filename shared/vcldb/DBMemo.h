#pragma once

#include "FieldDataLink.h"

#include <QPlainTextEdit>

// The long text bound to a field. Typing puts the dataset into edit state and writes each change
// at once; an emptied memo stores NULL and NULL shows as empty. It is read-only while the field
// cannot be changed. Tab moves on to the next control. Without a dataset it is a plain memo.
class TDBMemo : public QPlainTextEdit, public TFeldBindung {
    Q_OBJECT
public:
    explicit TDBMemo(QWidget* parent = nullptr);
    ~TDBMemo() override;

private:
    void Zeigen();
    void Geaendert();

    bool zeigt_ = false;
    bool schreibt_ = false;
};
