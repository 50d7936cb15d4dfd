#pragma once
// What the three printouts of one animal share: the animal line of their page heads and the
// number texts of their columns.

#include <QString>

#include <functional>
#include <initializer_list>

class TDruck;

namespace db {
class Query;
class Transaction;
}  // namespace db

namespace TierDruck {

// "Tier: " followed by the formatted herd number, the name and the ear tag joined by " - ";
// an empty herd number or name is left out. The query stands on the animal's row (KNR, NAME,
// NUMMER).
QString TierZeile(const db::Query& tier);

// A number in the "#.0" / "#.00" / "#" style of the printed columns: stellen decimals with the
// system's decimal comma, a leading zero before the comma dropped, nothing for zero without
// decimals.
QString Zahl(double wert, int stellen);

// Line breaks of the database (LF, CR LF) as the print job's block printer breaks them (CR).
QString Zeilen(QString text);

// Opens the report's queries on the animal (parameter TIER_ID) in its transaction, started when
// needed; an animal deleted meanwhile ends the report with a message.
void TierOeffnen(db::Transaction& transaktion, int tierID, db::Query& tier,
                 std::initializer_list<db::Query*> weitere = {});

// The head of a landscape animal report at the top margin: the title centred and "Stand: " with
// today's date at the right margin (Arial 14 bold, line spacing abstandTitel), then a line and a
// half lower the animal line (Arial 10 bold, line spacing abstandTier).
void Kopf(TDruck& druck, const QString& titel, long double abstandTitel, long double abstandTier,
          const db::Query& tier);

// Runs a report's body in its own transaction: committed after the whole report, rolled back
// after a failure, which then reaches the caller (not hidden by a second one from the rollback).
// schliessen runs first either way and closes the report's queries.
void Ausfuehren(db::Transaction& transaktion, const std::function<void()>& inhalt,
                const std::function<void()>& schliessen);

}  // namespace TierDruck
