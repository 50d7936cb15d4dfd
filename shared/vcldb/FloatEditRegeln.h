#pragma once

#include <QChar>
#include <QString>

// The number rules of the data-aware number edit (TDBFloatEdit), apart from the widget.
namespace FloatEditRegeln {

constexpr int MaxDigits = 18;

// Fixed notation with `digits` decimals and `sep` as decimal separator, no grouping.
QString ZahlText(long double wert, int digits, QChar sep);

// What an entry means when the edit is left.
struct Lesung {
    enum Art {
        Leer,        // empty (or only "-" or the separator) with AllowNull: the field gets NULL
        Zahl,        // a number within Min .. Max, rounded to `digits` decimals
        Unlesbar,    // no number
        Ausserhalb,  // a number outside Min .. Max
    };
    Art art = Leer;
    long double wert = 0;
};

struct Bereich {
    int digits = 1;
    long double min = 0;
    long double max = 99999999.9L;
    bool allowNull = true;
    QChar sep = QLatin1Char(',');
};

// Reads the displayed text. Without AllowNull an empty text (or "-", or the separator) reads as 0
// and must then lie in the range like any other number.
Lesung Lesen(const QString& text, const Bereich& b);

// What a typed character does to the text (text, selection) of the edit.
struct Taste {
    enum Art {
        Ablehnen,  // swallowed, with a beep
        Annehmen,  // the edit inserts it as usual
        Ersetzen,  // the edit's text becomes `text`, with `selStart`/`selLen` selected
    };
    Art art = Ablehnen;
    QString text;
    int selStart = 0;
    int selLen = 0;
};

// The key filter for printable characters: digits, one separator (only with decimals, at most
// `digits` after it), one leading "-" (only when Min is negative). A lone "-" becomes "-0" and a
// lone separator "0,0", with the last "0" selected so that the next digit replaces it.
Taste Zeichen(const QString& text, int selStart, int selLen, QChar ch, const Bereich& b);

// The message for an entry that Lesen does not accept.
QString Fehlertext(const Lesung& l, const Bereich& b);

// Narrows the edit's range to what the column can hold (spalteMin .. spalteMax in field units;
// the edit shows field values × factor). The bounds are rounded inwards to `digits` decimals, so
// that every value that passes still fits once it is rounded for the column.
Bereich InSpalte(const Bereich& b, long double spalteMin, long double spalteMax,
                 long double factor);

}  // namespace FloatEditRegeln
