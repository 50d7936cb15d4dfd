#pragma once

#include <QString>
#include <QStringList>

// The window-free rules of the animal selection.
namespace TierWahl {

// 0 single animal, 1 delete, 2 premises change, 3 group treatment.
struct TModus {
    QString titel;
    QString okText;
    bool mehrfach = false;
};
// Throws std::invalid_argument for a mode outside 0..3.
const TModus& Modus(int modus);

// True when sql has the word WHERE outside parentheses, string literals, quoted names and
// comments: only such a WHERE belongs to the outer statement.
bool HatAeussereWhere(const QString& sql);

// The choice's FROM/WHERE part as lines: the mask's text, the premises condition when a premises
// is named (quotes doubled, so any name is a literal), the order.
QStringList AuswahlSQL(const QString& maskenQuery, const QString& betrieb);

// "SELECT T.ID, T.NAME, T.NUMMER " and the lines of the part, each ended by a line break.
QString SchnelllisteSQL(const QStringList& teil);
// The statement of the selection's rows.
QString ErgebnisSQL(const QStringList& teil);

// Upper case without blanks: the form in which search text and values are compared.
QString Suchtext(const QString& text);
// suchtext already normalised; an empty one passes every row.
bool ZeilePasst(const QString& suchtext, const QString& knrDisplay, const QString& nummer,
                const QString& name);

// Order of the short-number column: empty, non-numeric or non-positive values sort last.
int KnrSortwert(const QString& knr);

// The message for too few marks.
QString MindestanzahlText(int mindestanzahl);

}  // namespace TierWahl
