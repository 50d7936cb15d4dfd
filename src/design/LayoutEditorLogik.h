#pragma once
// What the screen and print layout editors decide and store apart from their windows.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace db {
class Transaction;
}

namespace LayoutEditor {

// The status-icon column cannot be edited; a fixed-value column edits its text instead of its
// display format.
bool IstStatusSpalte(const QString& feld);
bool ZeigtWert(const QString& feld);

// A choice of the bold-date rule: the shown text and the stored result column name.
struct RDatumWahl {
    QString Text;
    QString Wert;
};
// "Deaktiviert", then the catalogue fields (caption, token) whose result column is a DATE
// column of the list's statement, in catalogue order, stored without their ".".
QList<RDatumWahl> DatumWahlen(const QList<QPair<QString, QString>>& katalog,
                              const QStringList& datumSpalten);

// The result columns of type DATE of a statement, read by preparing it (nothing runs).
QStringList DatumSpalten(db::Transaction& tr, const QString& sql);

struct RDatumFelder {
    QList<RDatumWahl> Wahlen;
    // Why only "Deaktiviert" is offered for a user list; empty when the list could be read.
    QString Fehler;
};
// The date choices of a list: internal lists (ID 0 or less) offer only "Deaktiviert"; so does a
// user list whose statement or catalogue cannot be read, with the reason.
RDatumFelder DatumFelderLaden(db::Transaction& tr, int listeId, int quelle1, int quelle2,
                              int quelle3, const QString& sql);

// Gives every print column of the list the field font and narrow flag, or the title font.
void SchriftFuerAlleSetzen(db::Transaction& tr, int listeId, const QString& schrift,
                           const QString& schmal);
void TitelSchriftFuerAlleSetzen(db::Transaction& tr, int listeId, const QString& schrift);

}  // namespace LayoutEditor
