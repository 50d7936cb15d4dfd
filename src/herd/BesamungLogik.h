#pragma once

#include <DataSet.h>

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

namespace db {
class Transaction;
}

// The insemination of one animal as the insemination dialog edits it, without the window.
namespace Besamung {

// 0 changes an insemination, 1 enters a new one, 2 the first ones of a new animal.
enum TModus : int { Aendern = 0, Neu = 1, Erste = 2 };

// How much of the straw an own insemination used.
enum class TTeilung { Nein, ErsteHaelfte, ZweiteHaelfte };
// "F", "1", "2" as T_CONTAINER_VERWENDUNG.PORTIONSTEILUNG stores them.
QString TeilungCode(TTeilung teilung);
// "F" is a whole straw, "1" the first half, anything else the second.
TTeilung TeilungAusCode(const QString& code);

// The lactation an insemination must lie in; an invalid date is no bound.
struct TFenster {
    QDate von;
    QDate bis;
};
// " FROM T_BESAMUNGEN WHERE (TIER = :TIER_ID)" narrowed to the inseminations strictly inside the
// window; the bounds are the parameters :VON and :BIS.
QString Bedingung(const TFenster& fenster);
// Parameters for the condition: TIER_ID and those bounds it names.
QVariantMap BedingungParameter(int tierID, const TFenster& fenster);
// Bounds are part of the window.
bool ImFenster(const QDate& datum, const TFenster& fenster);

// "T" while the bull is a test bull on `heute`: no end date, or one after today.
QString Pruefbulle(const QDate& pruefbulleBis, const QDate& heute);

// A remark as the remark choice lists it: its first line, with " ..." when more follows.
QString BemerkungKurz(const QString& bemerkung);

// The controls a failed check names.
enum class TPruefFeld { Keins, Datum, Portion };
struct TPruefung {
    enum TArt { Ok, Fehler, Frage };
    TArt art = Ok;
    QString text;
    TPruefFeld feld = TPruefFeld::Keins;
};
// The checks before an insemination is stored, in their order. A Frage is the lactation question:
// only Yes lets the insemination be stored; the checks then go on with fensterBestaetigt.
TPruefung Pruefen(const QDate& datum, const QDate& heute, const QDate& gebdat,
                  const TFenster& fenster, bool neueEigenbesamung, bool portionGewaehlt,
                  bool fensterBestaetigt = false);

// A portion of a delivery as the dialog shows it.
struct TPortion {
    int id = -1;
    QDate lieferung;
    QString bulle;
    QString hbnr;
    QString station;        // the code as stored
    int stationIndex = -1;  // -1 for an unknown code
    std::optional<int> ejakulatNr;
    QDate pruefbulleBis;
    // "Lieferung: <date>, Bulle: <name>, <herd-book number>, <station short name>"; "Fehler!" for
    // an unknown station.
    QString Text() const;
};

// The settings key of a station's last certificate number.
QString ScheinNummerSchluessel(int station);

// The record of T_BESAMUNGEN and what storing it books besides: the use of the portion, the
// pending insemination report and the station's last certificate number, all in the dialog's
// transaction. Certificate numbers are drawn while the station's settings row is locked, so two
// workstations never hand out one number twice, and a transaction rolled back takes its number
// back with it.
class TBesamungDaten {
public:
    explicit TBesamungDaten(db::Transaction& transaktion);
    ~TBesamungDaten();
    TBesamungDaten(const TBesamungDaten&) = delete;
    TBesamungDaten& operator=(const TBesamungDaten&) = delete;

    // Before Oeffnen only.
    void TransaktionSetzen(db::Transaction& transaktion);
    db::Transaction& Transaktion() const { return *transaktion_; }
    db::DataSet& Daten() { return daten_; }

    // Reads the lactation window and the default station, then positions on the insemination
    // (mode 0 with an ID) or starts a new record. Starts the transaction when it is not active.
    void Oeffnen(int tierID, int kalbungID, const QDate& gebdat, TModus modus, int besamungID,
                 int nr, const QString& eigenbesamungStationen);
    // Starts the next new insemination with its defaults (no portion chosen).
    void NeuerSatz();

    TModus Modus() const { return modus_; }
    int TierID() const { return tierID_; }
    const QDate& Gebdat() const { return gebdat_; }
    const TFenster& Fenster() const { return fenster_; }
    int StationIndex() const { return station_; }
    bool IstNeu() const { return daten_.State() == db::DataSetState::Insert; }

    // The kind: an own insemination takes its bull from a portion of the semen stock.
    bool Eigenbesamung() const { return eigen_; }
    void SetEigenbesamung(bool eigen) { eigen_ = eigen; }
    // Own and new: the portion decides the bull and its use is booked.
    bool EigenUndNeu() const { return eigen_ && modus_ != Aendern; }
    TTeilung Teilung() const { return teilung_; }
    void SetTeilung(TTeilung teilung) { teilung_ = teilung; }

    const TPortion& Portion() const { return portion_; }
    bool PortionGewaehlt() const { return portion_.id >= 0; }
    // Takes the portion's bull into the record, makes its station the station, counts
    // BES_NR_BY by that station's rule and proposes the certificate number. Returns a warning
    // for the user when the proposal is uncertain; empty otherwise.
    QString PortionWaehlen(int portionID, const QDate& heute);

    // The station's last stored certificate number + 1 as the transaction sees it; 0 when none
    // is stored or the station is unknown.
    int ScheinNummerVorschlagen();

    TPruefung Pruefen(const QDate& heute, bool fensterBestaetigt = false);
    // Stores the record with its bookings. A check is the caller's; a violated constraint shows
    // its text and aborts silently (DBTools). On failure nothing of it stays in the transaction
    // and the record keeps the user's values in insert or edit state.
    void Speichern();

    // The distinct remarks of all inseminations, in order.
    QStringList Bemerkungen();

private:
    void Fenster(int kalbungID);
    void Vorgaben();
    std::optional<TPortion> PortionLesen(int portionID);
    void PortionAnzeigen(int portionID);
    int Anzahl(const QString& select);
    // Locks the station's settings row in the transaction and returns its number.
    int ScheinNummerSperren(int station);
    void Buchen(int besamungID);

    db::Transaction* transaktion_;
    db::DataSet daten_;
    int tierID_ = 0;
    QDate gebdat_;
    TModus modus_ = Neu;
    TFenster fenster_;
    int station_ = 4;
    bool eigen_ = true;
    TTeilung teilung_ = TTeilung::Nein;
    TPortion portion_;
    // The certificate number proposed for the chosen portion; 0 when none.
    int vorschlag_ = 0;
};

}  // namespace Besamung
