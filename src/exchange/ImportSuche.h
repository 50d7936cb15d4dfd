#pragma once

#include <QString>
#include <QVariantMap>

class ImportZeile;
class TADISProtokoll;

namespace ImportSuche {

// The ear-tag rule: the text as a whole number, else through the ear-tag coder; a bare national
// number below 10^10 gets the country 276. The animal is looked up by that number, then by its
// printed ear tag, and loaded into the row. Result: the animal's ID; 0 for a new row when
// creating is allowed; -1 for an invalid ear tag (log entry 2 with the text); -2 for a missing
// animal that may not be created (log entry 1 with the printed ear tag when protokollieren).
int TierSuchen(ImportZeile& stammdaten, const QString& text, qint64& nummer, bool anlegen,
               bool protokollieren, TADISProtokoll& protokoll);

// Finds a row by a statement whose first column is the ID (values as parameters) and loads it.
// Result: the ID; 0 for a new row when creating is allowed; -2 otherwise.
int DatensatzSuchen(ImportZeile& zeile, const QString& sql, const QVariantMap& werte, bool anlegen);

}  // namespace ImportSuche
