#pragma once

#include "DBConnect.h"

#include <DataSet.h>
#include <Database.h>
#include <EventListener.h>
#include <Transaction.h>

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

// One pending report to the national cattle database (a row of T_HITMELDUNGEN).
struct THITMeldung {
    int TierID = 0;
    // 3 departure, 8 birth, 14 arrival; -3 and -14 are the holding-side departure and arrival of a
    // premises change, which name the animal by its ear tag.
    int Meldung = 0;
    QDate Datum;
    // The 15-digit holding number; empty for the animal card's rows, unused for births.
    QString Betrieb;
    // Births only: the number of calves born together and the index of the calving course.
    int Mehrling = 1;
    int Verlauf = 0;
};

// The main program's data module: the one connection to the herd database, the shared
// transactions, the hooks for the database's change events and small query helpers.
//
// Transactions are started and ended by the caller unless a routine says otherwise; a routine
// that starts one rolls it back when it fails.
class TDM : public QObject {
    Q_OBJECT
public:
    // The four change events in the order they are compared.
    static const QStringList Ereignisse;

    explicit TDM(QObject* parent = nullptr);
    ~TDM() override;

    db::Database Datenbank;
    // Animal data, animal deletion and premises changes.
    db::Transaction TAStammdaten{Datenbank, QStringLiteral("TAStammdaten")};
    db::Transaction TATierarzt{Datenbank, QStringLiteral("TATierarzt")};
    db::Transaction TATierarztEdit{Datenbank, QStringLiteral("TATierarztEdit")};
    db::Transaction TADBFehler{
        Datenbank, QStringLiteral("TADBFehler"), {db::TransactionOptions::ReadCommitted, true}};
    db::Transaction TABetriebsstaette{Datenbank, QStringLiteral("TABetriebsstaette")};
    // The user texts of the database's constraints, open while connected: the dataset helpers
    // show them for a violated constraint.
    db::DataSet QDBFehler{TADBFehler};

    // The four change events, registered while connected.
    db::EventListener Ereignis{Datenbank};

    // True from the connect until the disconnect begins.
    bool Verbunden() const { return verbunden_; }

    // Connects to the database named in the settings as the program's user. Never throws for a
    // failed connection: the connection routine has shown its messages then.
    // Connects through the connection routine, which may start the setup wizard on failure.
    bool Verbinden(const TDBConnect::Umgebung& umgebung = TDBConnect::StandardUmgebung());
    void Trennen();

    // Hands a change event to its signal; names compare exactly. The settings event first
    // reloads the program's settings object, when one exists.
    void EreignisMelden(const QString& name);

    // The first column of the first row; "", 0 or an invalid date when there is no row or the
    // value is NULL. Parameters are set by name.
    QString SQLWertString(db::Transaction& tr, const QString& sql, const QVariantMap& params = {});
    int SQLWertInteger(db::Transaction& tr, const QString& sql, const QVariantMap& params = {});
    QDate SQLWertDatum(db::Transaction& tr, const QString& sql, const QVariantMap& params = {});
    // Column spalte (0-based) of every row, trimmed, without empty values.
    void SQLListe(db::Transaction& tr, const QString& sql, const QVariantMap& params, int spalte,
                  QStringList& liste);

    // "Alle Betriebsstätten" (ID 0) followed by every premises in name order.
    void BetriebsstaettenListe(db::Transaction& tr, QStringList& namen, QList<int>* ids = nullptr);
    // The premises' name; "Alle Betriebsstätten" for 0 or less.
    QString BetriebsstaetteBezeichnung(int id);

    void DBFehlerOeffnen();
    void DBFehlerSchliessen();

    // Writes one pending report row in the caller's transaction; the caller commits it with the
    // rest of its work.
    void HITMeldungAnlegen(db::Transaction& tr, const THITMeldung& meldung);

    // Moves one animal to the premises stall from datum on, in the caller's transaction. einzeln:
    // one animal with plain questions; otherwise the questions name the animal and "Ja, alle"
    // (alleJa) prepares the reports of the following animals without asking. False when the
    // change was refused or not made.
    bool BetriebsstaetteWechseln(db::Transaction& tr, bool einzeln, int tierID, const QString& name,
                                 const QString& nummer, const QDate& gebdat, const QDate& gekauft,
                                 const QDate& verkauft, const QDate& datum, int stall,
                                 bool& alleJa);
    // The same for several animals in TAStammdaten, committed at the end (retaining when the
    // transaction was open already). On return ids holds the IDs that matched no animal. True
    // when every change was made; an animal refused by its checks or by the user stores nothing.
    // An error stores nothing of the whole list and is raised again naming the animal.
    bool BetriebsstaetteWechselnListe(QList<int>& ids, int stall, const QDate& datum);

    // Deletes the animals in list order, in TAStammdaten.
    void TiereLoeschen(const QList<int>& ids);

signals:
    // The database's change events; any number of windows listen while they are open.
    void ChangeStammdaten();
    void ChangeTierarzt();
    void ChangeEinstellungen();
    void ChangeMLP();

private:
    void DatenbankAfterConnect();
    void DatenbankBeforeDisconnect();
    QList<db::Transaction*> Transaktionen();

    bool verbunden_ = false;
};

// The short animal number as shown: empty for 0 or less, six digits from 1000 on, otherwise
// zero-filled to the configured width (3 or 6).
QString KNRFormatieren(int knr, int knrLaenge);
// With the width of the program's settings object, which must exist.
QString KNRFormatieren(int knr);

// The program's one data module: created by the start sequence before the settings object, freed
// by its end. Null while none exists.
TDM* DM();
void DMErzeugen();
void DMFreigeben();
