#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace db {
class DataSet;
class Transaction;
}  // namespace db

// The appointments in the database, for the appointment windows; everything runs in the given
// transaction.
namespace TerminSpeicher {

// A fixed appointment (T_TERMINE), written back, new ones numbered by the generator.
void FesteTermineEinrichten(db::DataSet& daten);
// The animal-related rules (P_GET_TERMINE_EINSTELLUNG), written to T_TERMINE_EINSTELLUNG.
void TierTermineEinrichten(db::DataSet& daten);
// The list of the animal-related rules, two lines a cell.
void TierTermineListeEinrichten(db::DataSet& daten);

// The texts of the fixed appointments so far and the medicines shown for choice, sorted and
// without empty ones; the premises (ID, name).
QStringList Texte(db::Transaction& tr);
QStringList Medikamente(db::Transaction& tr);
QList<std::pair<int, QString>> Betriebsstaetten(db::Transaction& tr);

// The repetition of a fixed appointment.
struct TWiederholung {
    int id = 0;
    int intervall = 0;
    QString art;
    QDate bis;  // invalid: without end
};
std::optional<TWiederholung> WiederholungLesen(db::Transaction& tr, int terminID);
// Stores the repetition w of the appointment (its id 0: a new one), or deletes the stored one
// (id wiederholungID, 0 for none) when w is empty.
void WiederholungSpeichern(db::Transaction& tr, int terminID, int wiederholungID,
                           const std::optional<TWiederholung>& w);

// Deletes a fixed appointment with its repetition, or an animal-related rule.
void FesterTerminLoeschen(db::Transaction& tr, int id);
void TierTerminLoeschen(db::Transaction& tr, int id);

}  // namespace TerminSpeicher
