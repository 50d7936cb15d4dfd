#pragma once
// The codes of the list layouts as the layout editors show them: line styles and widths, the
// alignment, date-line, paper and line-start choices, and the font texts of the print layout.
// The font text is read by the list print's own reader (ListenDruckRegeln::SchriftLesen).

#include <QFont>
#include <QList>
#include <QString>

namespace ListenDruckCodes {

// A stored code and its shown text, in pick-list order.
struct RCode {
    QString Code;
    QString Text;
};
struct RBreite {
    int Code = 0;
    QString Text;
};

const QList<RCode>& LinienArten();          // S, D, P, DP, DPP
const QList<RBreite>& LinienBreiten();      // 0 (hairline), 50 .. 200 in steps of 25
const QList<RCode>& Ausrichtungen();        // L, R, C
const QList<RCode>& StandCodes();           // N, L, R
const QList<RCode>& PapierAusrichtungen();  // H, Q
const QList<RCode>& BeginnTitelCodes();     // T, F

// The date choice that turns bold rows off.
inline const QString DatumAus = QStringLiteral("-");
inline const QString DatumAusText = QStringLiteral("Deaktiviert");

// The shown text of a code; empty for a code the table does not have.
QString Text(const QList<RCode>& tabelle, const QString& code);
QString LinienBreiteText(int breite);

// The font a font text without a name stands for.
inline const QString StandardSchriftName = QStringLiteral("Arial");

// "Name;Size;[B][I][U][S]" as a font: size 10 when empty or no number, no name gives the
// standard font.
QFont SchriftAusText(const QString& text);
QString SchriftZuText(const QFont& schrift);
// "Name, Größe N" and ", fett", ", kursiv", ", unterstrichen", ", durchgestrichen".
QString SchriftBeschreibung(const QString& text);

}  // namespace ListenDruckCodes
