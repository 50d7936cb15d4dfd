#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace db {
class DataSet;
class Error;
class Query;
class Transaction;
}  // namespace db

// Posting, executing and deleting with the user text of a violated database constraint, locating
// a record by an integer key and reading records into lists.
namespace DBTools {

// The open dataset over T_DB_FEHLER (CONSTR, BESCHREIBUNG) that holds the user texts of the
// constraints; the data module sets it after each connect and clears it before the disconnect.
void FehlertabelleSetzen(db::DataSet* tabelle);
db::DataSet* Fehlertabelle();

// The user text of the "I_…" constraint a database error names. Found are names in double quotes
// (unique, primary and foreign keys, unique indexes) and the unquoted names of CHECK violations.
bool DBFehlerText(const QString& meldung, QString& text);
// The same for a caught error; the constraint the engine reported is tried first.
bool DBFehlerText(const db::Error& fehler, QString& text);

// Shows the text as an error, focuses the control when one is given and ends the current action
// with SilentAbort. Windows use it for their own input checks as well.
[[noreturn]] void DBFehlerMelden(QWidget* control, const QString& text);

// Posts a record in edit or insert state (after the bound controls wrote their values).
// A violated constraint with a user text: Melden shows it and aborts silently; otherwise the
// edit is cancelled, Fehlertext holds the text and the result is false. A database error without
// a user text is re-raised with Weiterwerfen, otherwise the edit is cancelled (false). Any other
// error is re-raised with Melden, otherwise the edit is cancelled (false).
bool SicherPosten(db::DataSet& dataSet, bool Melden, QString& Fehlertext, bool Weiterwerfen);
bool Posten(db::DataSet& dataSet);

// When the dataset has a record (or is inserting one) and the question is empty or answered
// "Ja" (default "Nein"): executes the SQL in the dataset's transaction and returns true. A
// violated constraint with a user text shows it and aborts silently; other errors propagate.
bool SQLAusfuehrenMitFrage(db::DataSet& query, const QString& sql, const QString& frage);
// The same guard and question, then deletes the current record.
bool LoeschenMitFrage(db::DataSet& dataSet, const QString& frage);

// Positions the dataset on the record whose integer field has the value: from the current
// record to the end first, then from the start up to it; when there is none the dataset stays
// where it was. With anzeigeAnhalten the bound controls stop following during the search.
bool LocateInteger(db::DataSet& dataSet, const QString& feld, int wert, bool anzeigeAnhalten);

// Whether the dataset is editing or inserting a record.
bool Bearbeitet(const db::DataSet& dataSet);
// Ends a dialog's own transaction when it is active: committed when its work is to be kept,
// rolled back otherwise.
void TransaktionBeenden(db::Transaction& transaktion, bool festschreiben);
// Runs a user's action of a window: a silent abort (its message was shown) ends it quietly, a
// database or other error is shown in the program's error box; the window stays usable with its
// values. False when the action did not run to its end.
bool Sicher(const std::function<void()>& aktion);

// The named column of an open statement's current row as text.
QString FeldAlsString(db::Query& query, const QString& feld);
// Clears the list and adds "NAME=value" for every field of the current record.
void DatensatzAlsListe(db::DataSet& dataSet, QStringList& liste);

}  // namespace DBTools
