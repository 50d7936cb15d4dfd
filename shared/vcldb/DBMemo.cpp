#include "DBMemo.h"

#include "DBControlTools.h"

TDBMemo::TDBMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    link_.OnActiveChange = [this] { Zeigen(); };
    link_.OnDataChange = [this] { Zeigen(); };
    link_.OnEditingChange = [this] { Zeigen(); };
    connect(this, &QPlainTextEdit::textChanged, this, &TDBMemo::Geaendert);
}

TDBMemo::~TDBMemo()
{
    link_.OnActiveChange = {};
    link_.OnDataChange = {};
    link_.OnEditingChange = {};
}

void TDBMemo::Zeigen()
{
    // Without a dataset the memo is the form's; its own write must not be shown over.
    if (schreibt_ || !DataSource())
        return;
    setReadOnly(!link_.CanModify());
    const QString text =
        DBControlTools::HatSatz(link_) && !Field()->IsNull() ? Field()->AsString() : QString();
    if (text == toPlainText())
        return;
    zeigt_ = true;
    setPlainText(text);
    zeigt_ = false;
}

void TDBMemo::Geaendert()
{
    if (zeigt_ || !DataSource())
        return;
    const QString text = toPlainText();
    if (!DBControlTools::Schreiben(link_, schreibt_,
                                   [&](db::Field& f) { DBControlTools::TextSetzen(f, text); }))
        Zeigen();
}
