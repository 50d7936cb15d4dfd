#pragma once

#include <FloatEditRegeln.h>

#include <QPoint>
#include <QRect>
#include <QString>

// The rules of the small editing grids' cell editor, apart from the widgets: numbers with decimals
// and a range, the pick list's size and place, and which editor a cell gets.
namespace ZRGridRegeln {

using Bereich = FloatEditRegeln::Bereich;

// The grids' defaults differ from the number edit's: no empty value.
Bereich StandardBereich(QChar sep);

// Digits are at most 18; a new maximum below the minimum becomes the minimum, a new minimum above
// the maximum becomes the maximum.
void DigitsSetzen(Bereich& b, int digits);
void MinSetzen(Bereich& b, long double min);
void MaxSetzen(Bereich& b, long double max);

// The value clamped to Min .. Max in fixed notation with the bereich's decimals.
QString WertText(long double wert, const Bereich& b);
// The value of a text: "-", the separator alone and an empty text are 0, a text that is no number
// is Min; the result is clamped to Min .. Max.
long double Wert(const QString& text, const Bereich& b);

// Leaving a number cell: the text to show and whether the cell may be left. A text that is no
// number or lies outside the range goes back to the value the cell had when it was entered.
struct Verlassen {
    bool erlaubt = false;
    QString text;
};
Verlassen VerlassenPruefen(const QString& text, long double eingangswert, const Bereich& b);

// The pick list shows at most `zeilen` rows (4 pixels of frame).
int ListenHoehe(int eintraege, int zeilen, int zeilenHoehe);
// The first visible row when entry `markiert` is to stand zeilen / 2 rows below the top.
int ErsteSichtbareZeile(int markiert, int eintraege, int zeilen);
// Under the editor at its left edge; above it when the list would leave the screen at the bottom.
QPoint ListenPosition(const QRect& editor, int listenHoehe, const QRect& bildschirm);

enum EditStyle { KeinKnopf = 0, Ellipse = 1, Auswahlliste = 2 };

struct EditorArt {
    EditStyle stil = KeinKnopf;
    bool nurLesen = false;
    bool zahlenmodus = false;
};
// Property grid: 0 read-only, 1/3 text, 2 number, 4 pick text, 5 pick key/text (only the list
// changes it), 6 ellipsis, any other text.
EditorArt PropertyEditor(int editType);
// Edit grid: 4/5 pick list, 6 ellipsis; 0 and 5 read-only.
EditorArt SpaltenEditor(int editType);

}  // namespace ZRGridRegeln
