#pragma once
// What the three printouts of one animal share: the animal line of their page heads and the
// number texts of their columns.

#include <QString>

#include <functional>

namespace db {
class Query;
class Transaction;
}

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

// Runs a report's body in its own transaction: committed after the whole report, rolled back
// after a failure, which then reaches the caller (not hidden by a second one from the rollback).
// schliessen runs first either way and closes the report's queries.
void Ausfuehren(db::Transaction& transaktion, const std::function<void()>& inhalt,
                const std::function<void()>& schliessen);

}  // namespace TierDruck
