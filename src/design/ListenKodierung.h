#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

// The ";"-separated texts in which list designs and search masks keep their output fields,
// restrictions and sort keys, the code tables of their editors and the designer's field entries.
// The texts know no quoting: a ";" inside a value would end its token and shift every later
// group, so the writers refuse such values.
namespace ListenKodierung {

// A value that cannot go into an encoding; what() is the German message for the user.
class EKodierung : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The tokens of an encoding, front to back until the text is empty: "A;B;" gives A and B,
// "A;;B" gives A, an empty token and B.
QStringList Tokens(const QString& text);

// A code table: the text an editor shows and the code that is stored, in pick-list order.
struct Code {
    QString angezeigt;
    QString gespeichert;
};
using Codetabelle = QList<Code>;

const Codetabelle& DesignerOperatoren();  // 10 entries, "gleich" "=" ... "nicht leer" "IS NOT NULL"
const Codetabelle& MaskenOperatoren();    // 4 entries
const Codetabelle& Verknuepfungen();      // "" "", "und" "AND", "oder" "OR"
const Codetabelle& Sortierrichtungen();   // "aufsteigend" "ASC", "absteigend" "DESC"
const Codetabelle& MaskenFelder();        // "Geschlecht" "GESCHLECHT", "Status", "Art"

// The shown texts of a table, for pick lists.
QStringList Angezeigt(const Codetabelle& tabelle);
// Writing a grid cell: the code of the first entry showing the text; an unknown text unchanged.
QString Schreiben(const Codetabelle& tabelle, const QString& angezeigt);
// Reading a stored code: the shown text of the first entry with that code; an unknown code
// leaves the cell empty.
QString Lesen(const Codetabelle& tabelle, const QString& gespeichert);

// One restriction as stored: field token (or mask field), operator code, value as typed,
// conjunction code linking it to the next one.
struct Bedingung {
    QString feld;
    QString operation;
    QString wert;
    QString verknuepfung;
    bool operator==(const Bedingung&) const = default;
};
// FIELD;OPERATOR;VALUE;CONJUNCTION per restriction, the last conjunction written empty, so a
// non-empty text ends with ";". Throws EKodierung when a token holds ";".
QString BedingungenKodieren(const QList<Bedingung>& bedingungen);
// Four tokens at a time; a short last group gets empty tokens.
QList<Bedingung> BedingungenLesen(const QString& text);

// One sort key as stored: field token and "ASC"/"DESC".
struct Sortierung {
    QString feld;
    QString richtung;
    bool operator==(const Sortierung&) const = default;
};
// FIELD;DIRECTION per key, no trailing separator. Throws EKodierung when a token holds ";".
QString SortierungKodieren(const QList<Sortierung>& sortierungen);
QList<Sortierung> SortierungLesen(const QString& text);

// The output field tokens joined by ";", no trailing separator.
QString FelderKodieren(const QStringList& tokens);
QStringList FelderLesen(const QString& text);

// The designer's entry of an output field, "KOMBI;FELD;BREITE;SORTIERUNG;TEXT": the shown caption,
// the field token, the proposed width, "T" when it may be a sort key, the proposed title.
struct FeldEintrag {
    QString kombi;
    QString feld;
    QString breite;
    QString sortierung;
    QString text;
    bool operator==(const FeldEintrag&) const = default;

    // From the five-part text (ListenTools builds those of the pseudo fields).
    static FeldEintrag AusText(const QString& eintrag);
    bool Sortierbar() const { return sortierung == QLatin1String("T"); }
};

// The designer's field column: a field's KOMBI is stored as the token of the first entry with
// that KOMBI (the text itself when none has it); a token reads back as the KOMBI of the first
// entry with that token (empty when none has it).
QString FeldToken(const QList<FeldEintrag>& felder, const QString& kombi);
QString FeldKombi(const QList<FeldEintrag>& felder, const QString& token);

// The message for a ";" in a value: names the value.
QString SemikolonMeldung(const QString& wert);

}  // namespace ListenKodierung
