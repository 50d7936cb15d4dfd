#pragma once

#include <DataSet.h>
#include <Transaction.h>

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class TEinstellungen;

// What the settings dialog knows apart from its widgets: the categories, the rows of its property
// grids with their stores, the station list, the livestock-unit defaults and the "Berechnen"
// queries.
namespace GrundeinstellungenDaten {

enum class TGrundKat {
    gkBetrieb,
    gkBetriebsgruppen,
    gkBetriebsstaetten,
    gkRassen,
    gkFruchtbarkeit,
    gkEigenbesamung,
    gkTermine,
    gkPrognosen,
    gkGV,
    gkHIT,
    gkHITSystem,
    gkFarben,
    gkSicherung,
    gkUpdates,
};

struct Kategorie {
    TGrundKat wert;
    int bild;  // index into the dialog's category icons
    QString text;
    int hilfe;
};
// The fourteen categories in list order.
const std::vector<Kategorie>& Kategorien();

// Pick-list keys of the Boolean rows: "1" is true, everything else false.
QString JaNeinSchluessel(bool wert);
bool JaNeinWert(const QString& schluessel);
// A row value as an integer: the integer part of the number it shows, 0 when it shows none.
int ZeilenWert(const QString& text);

// A row of the appointment grid with the setting it shows.
struct TerminZeile {
    enum Art { Zahl, JaNein, NeinJa, Harnstoff };
    QString text;
    Art art;
    int max;  // number rows: 0 .. max
    std::function<int(const TEinstellungen&)> lesen;
    std::function<void(TEinstellungen&, int)> schreiben;
};
// Rows 0 to 17 in grid order.
const std::vector<TerminZeile>& TerminZeilen();

// A row of the own-insemination grid: stored as "Eigenbesamung-" + code + "-" + name.
struct EigenbesamungZeile {
    enum Art { Zahl, Text, JaNein };
    QString text;
    QString name;
    Art art;
    int max = 0;  // number rows: 0 .. max
};
// The rows for a station (index into the station table); they depend on its report layout.
std::vector<EigenbesamungZeile> EigenbesamungZeilen(int station);

// The station list of Eigenbesamung-Stationen: codes separated by ";".
QStringList StationsCodes(const QString& liste);
// Appends the code with ";" between codes.
QString StationAnhaengen(const QString& liste, const QString& code);
// Removes the first element that is exactly the code; a longer code that contains it stays.
QString StationEntfernen(const QString& liste, const QString& code);
// The number of semen portions in the stock that name the station.
int StationPortionen(db::Transaction& tr, const QString& code);

// A factor of a livestock-unit key: its column, its caption and the value of a new key.
struct GVFaktor {
    QString feld;
    QString text;
    double vorgabe;
};
// Grid rows 1 to 12 in order.
const std::vector<GVFaktor>& GVFaktoren();
// The name of a key added to `anzahl` existing ones.
QString NeuerGVSchluesselName(int anzahl);

// The default HIT server settings (the inventory's defaults) that "Standardwerte setzen" fills in.
struct HITStandard {
    QString primaerAddr, primaerIP, sekundaerAddr, sekundaerIP;
    int portNormal, portTest;
};
HITStandard HITStandardwerte();

// The mean of the values rounded half up; nothing without values.
std::optional<int> MittelGerundet(const QList<qint64>& werte);

// The "Berechnen" values over the calculation period from `ab`; nothing when no data matches.
namespace Berechnen {
std::optional<int> SollKalben(db::Transaction& tr, int rasse, const QDate& ab);
std::optional<int> MKaelberVerkaufen(db::Transaction& tr, const QDate& ab);
std::optional<int> KalbBesamen(db::Transaction& tr, const QDate& ab);
std::optional<int> KuhBesamen(db::Transaction& tr, const QDate& ab);
std::optional<int> MastVerkaufen(db::Transaction& tr, const QDate& ab);
}  // namespace Berechnen

}  // namespace GrundeinstellungenDaten

// The dialog's data: the settings it edits and its own transaction with the datasets of holdings,
// premises, breeds and livestock-unit keys. The transaction starts with the object and is
// committed by Commit only; destroying the object rolls it back.
class TGrundeinstellungenDaten {
public:
    TGrundeinstellungenDaten(TEinstellungen& einstellungen, db::Database& datenbank);

    TEinstellungen& Einstellungen() const { return e_; }
    db::Transaction& Transaktion() { return ta_; }
    db::DataSet& Gruppen() { return gruppen_; }
    db::DataSet& Staetten() { return staetten_; }
    db::DataSet& Rassen() { return rassen_; }
    db::DataSet& GVSchluessel() { return gvSchluessel_; }

    // Reopens the dataset; with an ID, that record becomes current.
    static void Neu(db::DataSet& daten, int id);

    // Posts the fertility values (column and value) into the breed when one differs; the record
    // current before stays current. False when the post was refused (its message was shown).
    bool RasseWerteSetzen(int rasseID, const std::vector<std::pair<QString, int>>& werte);
    // Takes the current breed out of use; false when refused.
    bool RasseNichtVerwenden();
    // Posts the key's name and its factors as typed (decimal comma, rounded to 2 places, 0 when
    // no number); false when refused.
    bool GVSchluesselSetzen(int id, const QString& name, const QStringList& faktoren);
    // Appends a key with the default factors, named after the `anzahl` keys there are; its ID,
    // nothing when refused.
    std::optional<int> GVSchluesselAnhaengen(int anzahl);

    void Commit();
    // Rolls back what the dialog changed in the database.
    void Zuruecknehmen();

private:
    TEinstellungen& e_;
    db::Transaction ta_;
    db::DataSet gruppen_;
    db::DataSet staetten_;
    db::DataSet rassen_;
    db::DataSet gvSchluessel_;
};
