#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace db {
class DataSet;
class Transaction;
}  // namespace db

// The rules of the design chooser of the built-in lists apart from its frame, and the services of
// other parts of the program it calls.
namespace InternListeWahl {

// The design IDs of a ";"-list; an entry that is no number counts as -1.
QList<int> StandardIDs(const QString& standardDesigns);
// The check marks for the designs in grid order: with a default selection the designs it names,
// without one the first design.
std::vector<bool> Haken(const QList<int>& ids, const QString& standardDesigns);
// The ticked IDs in grid order, joined with ";".
QString StandardText(const QList<int>& ids, const std::vector<bool>& haken);

// Inserts a built-in design of the list type with the next lower ID of G_LISTEN_ID_INTERN and
// returns the ID. Child rows that the database may have made for it on its own are removed: the
// host's field events give the design its fields.
int DesignAnlegen(db::Transaction& tr, const QString& bezeichnung, const QString& titel,
                  const QString& felder, const QString& listenTyp);
// Removes the design's screen, print and line rows, for a schema that does not cascade.
void KindzeilenLoeschen(db::Transaction& tr, int listeId);

// Set by the list designer: the screen and print layout editors of a design, modal.
inline std::function<void(QWidget* owner, int listeId, const QString& datenSQL)>
    ListenDesignBildschirmStarten;
inline std::function<void(QWidget* owner, int listeId, db::DataSet* daten)>
    ListenDesignDruckStarten;
// Set by the list exchange file: writes a design to a file; reads a file as a new design of the
// list type and returns its ID.
inline std::function<void(int listeId, const QString& datei)> ListeInDateiSpeichern;
inline std::function<int(const QString& datei, const QString& listenTyp)> ListeAusDateiLaden;

}  // namespace InternListeWahl
