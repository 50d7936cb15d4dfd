#include "DBFloatEdit.h"

#include <Error.h>
#include <Meldung.h>

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <stdexcept>

using FloatEditRegeln::Lesung;
using FloatEditRegeln::Taste;

TDBFloatEdit::TDBFloatEdit(QWidget* parent) : TDBZRBaseEdit(parent)
{
    // The system keeps German number conventions whatever the machine's locale.
    bereich_.sep = QLatin1Char(',');
    setAlignment(Qt::AlignRight);
}

void TDBFloatEdit::SetDigits(int digits)
{
    const auto wert = Value();
    bereich_.digits = std::clamp(digits, 0, FloatEditRegeln::MaxDigits);
    NeuZeigen(wert);
}

void TDBFloatEdit::NeuZeigen(std::optional<long double> wert)
{
    // A bound edit shows the field again (the text holds only the shown decimals).
    if (Field() && Link().Active() && !Link().Modified())
        DataChange();
    else
        SetValue(wert);
}

void TDBFloatEdit::SetMin(long double min)
{
    bereich_.min = std::min(min, bereich_.max);
}

void TDBFloatEdit::SetMax(long double max)
{
    bereich_.max = std::max(max, bereich_.min);
}

void TDBFloatEdit::SetFactor(long double factor)
{
    if (factor == 0)
        throw std::invalid_argument("TDBFloatEdit: der Faktor darf nicht 0 sein.");
    const auto wert = Value();
    factor_ = factor;
    NeuZeigen(wert);
}

std::optional<long double> TDBFloatEdit::Value() const
{
    FloatEditRegeln::Bereich offen = bereich_;
    offen.min = -std::numeric_limits<long double>::max();
    offen.max = std::numeric_limits<long double>::max();
    offen.allowNull = true;
    const Lesung l = FloatEditRegeln::Lesen(text(), offen);
    if (l.art != Lesung::Zahl)
        return std::nullopt;
    return l.wert / factor_;
}

void TDBFloatEdit::SetValue(std::optional<long double> value)
{
    Zeigen(value ? std::optional<long double>(*value * factor_) : std::nullopt);
}

void TDBFloatEdit::Zeigen(std::optional<long double> angezeigt)
{
    // A stored value outside the range is shown as it is: the edit does not hide what is stored.
    const QString neu = angezeigt
                            ? FloatEditRegeln::ZahlText(*angezeigt, bereich_.digits, bereich_.sep)
                            : QString();
    if (neu != text())
        setText(neu);
}

std::optional<long double> TDBFloatEdit::FeldWert() const
{
    const db::Field* f = Field();
    if (!f || f->IsNull())
        return std::nullopt;
    return f->AsDouble();
}

void TDBFloatEdit::DataChange()
{
    if (!Field() || !Link().Active()) {
        TDBZRBaseEdit::DataChange();
        return;
    }
    // Setting the length again would drop the user's selection.
    if (maxLength() != 32767)
        setMaxLength(32767);
    setAlignment(Qt::AlignRight);
    SetValue(FeldWert());
}

FloatEditRegeln::Bereich TDBFloatEdit::Pruefbereich() const
{
    const db::Field* f = Field();
    const std::optional<FeldText::Grenzen> g = f ? FeldText::ZahlGrenzen(*f) : std::nullopt;
    return g ? FloatEditRegeln::InSpalte(bereich_, g->min, g->max, factor_) : bereich_;
}

QString TDBFloatEdit::Fehlertext() const
{
    const FloatEditRegeln::Bereich b = Pruefbereich();
    const Lesung l = FloatEditRegeln::Lesen(text(), b);
    return l.art == Lesung::Unlesbar || l.art == Lesung::Ausserhalb
               ? FloatEditRegeln::Fehlertext(l, b)
               : QString();
}

void TDBFloatEdit::UpdateData()
{
    db::Field* f = Field();
    if (!f)
        return;
    const FloatEditRegeln::Bereich b = Pruefbereich();
    const Lesung l = FloatEditRegeln::Lesen(text(), b);
    switch (l.art) {
        case Lesung::Leer:
            f->SetNull();
            return;
        case Lesung::Zahl: {
            const long double wert = l.wert / factor_;
            if (f->IsNumeric() && f->DataType() != db::FieldType::Numeric &&
                f->DataType() != db::FieldType::Float && f->DataType() != db::FieldType::Double)
                f->SetInt64(qint64(std::llround(double(wert))));
            else
                f->SetDouble(double(wert));
            return;
        }
        case Lesung::Unlesbar:
        case Lesung::Ausserhalb:
            throw db::Error(FloatEditRegeln::Fehlertext(l, b));
    }
}

void TDBFloatEdit::focusInEvent(QFocusEvent* event)
{
    TDBZRBaseEdit::focusInEvent(event);
    if (!Link().Modified())
        eintrittsText_ = text();
}

bool TDBFloatEdit::Verlassen_Schreiben()
{
    // Only an entry is checked: a stored value outside the range (or a NULL where the edit wants
    // a number) can be passed over untouched; the user need not change what he did not type.
    // Without a dataset the form checks the entry when it takes it.
    if (!DataSource() || !Link().Modified())
        return TDBZRBaseEdit::Verlassen_Schreiben();
    const FloatEditRegeln::Bereich b = Pruefbereich();
    const Lesung l = FloatEditRegeln::Lesen(text(), b);
    if (l.art == Lesung::Unlesbar || l.art == Lesung::Ausserhalb) {
        Tools::MeldungError(FloatEditRegeln::Fehlertext(l, b));
        setText(eintrittsText_);
        Link().SetModified(false);
        FokusZurueck();
        return false;
    }
    return TDBZRBaseEdit::Verlassen_Schreiben();
}

void TDBFloatEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && DataSource()) {
        // Esc only undoes typing; it must not put an untouched record into edit.
        if (Link().Modified()) {
            setText(eintrittsText_);
            Link().SetModified(false);
        }
        selectAll();
        event->accept();
        return;
    }
    const QString zeichen = event->text();
    if (zeichen.isEmpty() || !zeichen.at(0).isPrint() ||
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        TDBZRBaseEdit::keyPressEvent(event);
        return;
    }
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int laenge = hasSelectedText() ? int(selectedText().size()) : 0;
    const Taste t = FloatEditRegeln::Zeichen(text(), start, laenge, zeichen.at(0), bereich_);
    event->accept();
    if (t.art == Taste::Ablehnen) {
        QApplication::beep();
        return;
    }
    if (DataSource() && !EditCanModify())
        return;
    if (t.art == Taste::Ersetzen) {
        setText(t.text);
        setSelection(t.selStart, t.selLen);
        Link().SetModified();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
