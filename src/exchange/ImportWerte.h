#pragma once

#include <QDate>
#include <QString>

#include <optional>

// Conversions of values read from import files. A value that does not convert is absent: the
// import drops it without a message and leaves the column empty.
namespace ImportWerte {

// Lower case, each blank-separated word with a capital, a trailing " ET" (embryo transfer) kept
// in capitals, double blanks collapsed: "ANNA ET" -> "Anna ET", "BERTA  DE LUX" -> "Berta De Lux".
QString NameNormalisieren(const QString& name);

// A whole number; "." and "," are no part of one.
std::optional<qint64> Ganzzahl(const QString& text);
// A decimal number with "." or "," before its decimals, independent of the workstation.
std::optional<double> Dezimal(const QString& text);
// A date as dd.MM.yyyy.
std::optional<QDate> Datum(const QString& text);
QString OhneFuehrendeNullen(const QString& text);
// A parent's or bull's number from an ADIS file: an ear tag the coder accepts in its printed
// form, any other text without leading zeros.
QString Ohrmarke(const QString& text);

}  // namespace ImportWerte
