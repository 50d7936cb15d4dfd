#include "ZRGridRegeln.h"

#include <algorithm>
#include <limits>

namespace ZRGridRegeln {

using FloatEditRegeln::Lesung;

Bereich StandardBereich(QChar sep)
{
    Bereich b;
    b.allowNull = false;
    b.sep = sep;
    return b;
}

void DigitsSetzen(Bereich& b, int digits)
{
    b.digits = std::clamp(digits, 0, FloatEditRegeln::MaxDigits);
}

void MinSetzen(Bereich& b, long double min)
{
    b.min = std::min(min, b.max);
}

void MaxSetzen(Bereich& b, long double max)
{
    b.max = std::max(max, b.min);
}

QString WertText(long double wert, const Bereich& b)
{
    return FloatEditRegeln::ZahlText(std::max(std::min(wert, b.max), b.min), b.digits, b.sep);
}

long double Wert(const QString& text, const Bereich& b)
{
    Bereich ohneGrenzen = b;
    ohneGrenzen.allowNull = false;
    ohneGrenzen.min = -std::numeric_limits<long double>::max();
    ohneGrenzen.max = std::numeric_limits<long double>::max();
    const Lesung l = FloatEditRegeln::Lesen(text, ohneGrenzen);
    const long double wert = l.art == Lesung::Zahl ? l.wert : b.min;
    return std::min(std::max(wert, b.min), b.max);
}

Verlassen VerlassenPruefen(const QString& text, long double eingangswert, const Bereich& b)
{
    Bereich pflicht = b;
    pflicht.allowNull = false;
    const Lesung l = FloatEditRegeln::Lesen(text, pflicht);
    if (l.art != Lesung::Zahl)
        return {false, WertText(eingangswert, b)};
    return {true, WertText(l.wert, b)};
}

int ListenHoehe(int eintraege, int zeilen, int zeilenHoehe)
{
    return std::min(eintraege, zeilen) * zeilenHoehe + 4;
}

int ErsteSichtbareZeile(int markiert, int eintraege, int zeilen)
{
    if (markiert < 0)
        return 0;
    return std::clamp(markiert - zeilen / 2, 0, std::max(0, eintraege - zeilen));
}

QPoint ListenPosition(const QRect& editor, int listenHoehe, const QRect& bildschirm)
{
    const int unten = editor.bottom() + 1;
    if (unten + listenHoehe > bildschirm.bottom() + 1)
        return {editor.left(), editor.top() - listenHoehe};
    return {editor.left(), unten};
}

EditorArt PropertyEditor(int editType)
{
    switch (editType) {
        case 0:
            return {KeinKnopf, true, false};
        case 2:
            return {KeinKnopf, false, true};
        case 4:
            return {Auswahlliste, false, false};
        case 5:
            return {Auswahlliste, true, false};
        case 6:
            return {Ellipse, false, false};
        default:
            return {KeinKnopf, false, false};
    }
}

EditorArt SpaltenEditor(int editType)
{
    EditorArt art;
    if (editType == 4 || editType == 5)
        art.stil = Auswahlliste;
    else if (editType == 6)
        art.stil = Ellipse;
    art.nurLesen = editType == 0 || editType == 5;
    return art;
}

}  // namespace ZRGridRegeln
