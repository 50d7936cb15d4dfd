#include "DBZRBaseEdit.h"

#include "DBControlTools.h"

#include <Error.h>
#include <Meldung.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

TDBZRBaseEdit::TDBZRBaseEdit(QWidget* parent) : QLineEdit(parent)
{
    link_.OnActiveChange = [this] { ActiveChange(); };
    link_.OnDataChange = [this] { DataChange(); };
    link_.OnEditingChange = [this] { EditingChange(); };
    link_.OnUpdateData = [this] { UpdateData(); };
    connect(this, &QLineEdit::textEdited, this, [this] { link_.SetModified(); });
    DataChange();
    EditingChange();
}

TDBZRBaseEdit::~TDBZRBaseEdit()
{
    link_.OnActiveChange = {};
    link_.OnDataChange = {};
    link_.OnEditingChange = {};
    link_.OnUpdateData = {};
}

void TDBZRBaseEdit::SetDataSource(db::DataSet* dataSet)
{
    link_.SetDataSource(dataSet);
    EditingChange();
}

void TDBZRBaseEdit::SetDataField(const QString& name)
{
    link_.SetDataField(name);
}

void TDBZRBaseEdit::SetReadOnly(bool on)
{
    link_.SetReadOnly(on);
}

void TDBZRBaseEdit::ActiveChange()
{
    EditingChange();
}

void TDBZRBaseEdit::DataChange()
{
    // Without a dataset the edit is a plain entry field: its text is the form's.
    if (!DataSource())
        return;
    const db::Field* f = link_.GetField();
    if (!f || !link_.Active()) {
        alignment_ = Qt::AlignLeft;
        setAlignment(alignment_);
        setMaxLength(32767);
        setText({});
        return;
    }
    const Qt::Alignment ausrichtung = FeldText::Alignment(*f);
    if (ausrichtung != alignment_) {
        clear();
        alignment_ = ausrichtung;
    }
    setAlignment(alignment_);
    const bool textFeld =
        f->DataType() == db::FieldType::Char || f->DataType() == db::FieldType::VarChar;
    // Setting the length again would drop the user's selection.
    const int laenge = textFeld && f->Size > 0 ? f->Size : 32767;
    if (laenge != maxLength())
        setMaxLength(laenge);
    // An unchanged text keeps the user's selection (the dataset re-shows the record on Edit).
    const QString neu = focused_ && link_.CanModify() ? FeldText::EditText(*f) : f->DisplayText();
    if (neu != text())
        setText(neu);
}

void TDBZRBaseEdit::EditingChange()
{
    setReadOnly(DataSource() && !link_.Editing());
}

void TDBZRBaseEdit::UpdateData()
{
    if (db::Field* f = link_.GetField())
        FeldText::SetText(*f, text());
}

void TDBZRBaseEdit::Reset()
{
    link_.Reset();
    selectAll();
}

bool TDBZRBaseEdit::EditCanModify()
{
    return DBControlTools::EditOderMelden(link_);
}

void TDBZRBaseEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && link_.GetField()) {
        Reset();
        event->accept();
        return;
    }
    const bool aendernd =
        event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace ||
        (event->key() == Qt::Key_Insert && event->modifiers() & Qt::ShiftModifier) ||
        event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::Undo);
    const QString text = event->text();
    const bool zeichen = !text.isEmpty() && text.at(0).isPrint() &&
                         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (zeichen && link_.GetField() && !FeldText::IsValidChar(*link_.GetField(), text.at(0))) {
        QApplication::beep();
        event->accept();
        return;
    }
    if ((zeichen || aendernd) && DataSource() && !EditCanModify()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TDBZRBaseEdit::focusInEvent(QFocusEvent* event)
{
    if (!verlassen_) {
        focused_ = true;
        if (!link_.Modified())
            link_.Reset();
    }
    QLineEdit::focusInEvent(event);
}

bool TDBZRBaseEdit::Verlassen_Schreiben()
{
    try {
        link_.UpdateRecord();
        return true;
    } catch (const db::Error& e) {
        Tools::MeldungError(e.Message());
        FokusZurueck();
        return false;
    }
}

void TDBZRBaseEdit::FokusZurueck()
{
    setFocus(Qt::OtherFocusReason);
    selectAll();
    // Closing the message gives the focus back to where the user went; take it again after that.
    QTimer::singleShot(0, this, [this] {
        setFocus(Qt::OtherFocusReason);
        selectAll();
    });
}

void TDBZRBaseEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A popup (menu, completer) or another window takes the focus only for a while: the control
    // is not left.
    if (verlassen_ || !focused_ || event->reason() == Qt::PopupFocusReason ||
        event->reason() == Qt::ActiveWindowFocusReason)
        return;
    verlassen_ = true;
    const bool ok = Verlassen_Schreiben();
    verlassen_ = false;
    if (!ok)
        return;
    focused_ = false;
    link_.Reset();
    emit Verlassen();
}
