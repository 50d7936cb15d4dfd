#include "Datenmodul.h"

#include "Bearbeitungskonflikt.h"
#include "DBConnect.h"
#include "DBTools.h"
#include "Grundeinstellungen.h"

#include <Error.h>
#include <Query.h>

#include <Meldung.h>
#include <ZRDebug.h>

#include <memory>
#include <stdexcept>

namespace {

const QString AlleBetriebsstaetten = QStringLiteral("Alle Betriebsstätten");

std::unique_ptr<TDM> datenmodul;

// Sets the query's parameters by name and opens it.
void oeffnen(db::Query& q, const QVariantMap& params)
{
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.Param(it.key()).SetVariant(it.value());
    q.Open();
}

// Runs f in the transaction, which it starts and commits; a failure rolls it back.
template <typename F>
void inTransaktion(db::Transaction& tr, F&& f)
{
    tr.Start();
    try {
        f();
        tr.Commit();
    } catch (...) {
        if (tr.Active())
            tr.Rollback();
        throw;
    }
}

}  // namespace

const QStringList TDM::Ereignisse = {
    QStringLiteral("CHANGE_STAMMDATEN"), QStringLiteral("CHANGE_TIERARZT"),
    QStringLiteral("CHANGE_EINSTELLUNGEN"), QStringLiteral("CHANGE_MLP")};

TDM::TDM(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("DM"));
    connect(&Datenbank, &db::Database::AfterConnect, this, &TDM::DatenbankAfterConnect);
    connect(&Datenbank, &db::Database::BeforeDisconnect, this, &TDM::DatenbankBeforeDisconnect);
    QDBFehler.setObjectName(QStringLiteral("QDBFehler"));
    QDBFehler.SetSelectSQL(QStringLiteral("select * from T_DB_FEHLER"));
    Ereignis.SetEvents(Ereignisse);
    connect(&Ereignis, &db::EventListener::EventAlert, this,
            [this](const QString& name, int) { EreignisMelden(name); });
}

TDM::~TDM()
{
    try {
        Trennen();
    } catch (const std::exception& e) {
        ZRDebug::DebugMsg(QStringLiteral("Datenbank trennen: ") + QString::fromUtf8(e.what()));
    }
    // The members go before this object's signals are cut: nothing may call back into them.
    disconnect(&Datenbank, nullptr, this, nullptr);
    disconnect(&Ereignis, nullptr, this, nullptr);
}

QList<db::Transaction*> TDM::Transaktionen()
{
    return {&TAStammdaten, &TATierarzt, &TATierarztEdit, &TADBFehler, &TABetriebsstaette};
}

bool TDM::Verbinden(const TDBConnect::Umgebung& umgebung)
{
    const TEinstellungen* einstellungen = Einstellungen();
    if (!einstellungen)
        throw std::logic_error("Die Datenbank wird vor den Einstellungen verbunden.");
    db::ConnectParams params;
    params.Name = einstellungen->GetDatenbankName();
    params.User = DBConnect::Benutzer;
    params.Password = DBConnect::Passwort;
    return TDBConnect(umgebung).DatenbankVerbinden(Datenbank, params) && Datenbank.Connected();
}

void TDM::Trennen()
{
    if (Datenbank.Connected())
        Datenbank.Close();
}

void TDM::DatenbankAfterConnect()
{
    verbunden_ = true;
    DBFehlerOeffnen();
    if (TEinstellungen* einstellungen = Einstellungen())
        einstellungen->Laden();
    Ereignis.Register();
}

void TDM::DatenbankBeforeDisconnect()
{
    verbunden_ = false;
    Ereignis.Unregister();
    DBFehlerSchliessen();
    // Work left open is never made permanent by a disconnect.
    for (db::Transaction* tr : Transaktionen()) {
        if (!tr->Active())
            continue;
        ZRDebug::DebugMsg(QStringLiteral("Transaktion ") + tr->Name() +
                          QStringLiteral(" ist noch aktiv!"));
        tr->Rollback();
    }
}

void TDM::EreignisMelden(const QString& name)
{
    switch (Ereignisse.indexOf(name)) {
        case 0:
            emit ChangeStammdaten();
            break;
        case 1:
            emit ChangeTierarzt();
            break;
        case 2:
            // The settings object may have been replaced or freed since the connect, so the
            // current one is reloaded; the windows then read the new values.
            if (Einstellungen())
                Einstellungen()->Laden();
            emit ChangeEinstellungen();
            break;
        case 3:
            emit ChangeMLP();
            break;
        default:
            break;
    }
}

QString TDM::SQLWertString(db::Transaction& tr, const QString& sql, const QVariantMap& params)
{
    db::Query q(tr, sql);
    oeffnen(q, params);
    return q.Eof() ? QString() : q.Field(0).AsString();
}

int TDM::SQLWertInteger(db::Transaction& tr, const QString& sql, const QVariantMap& params)
{
    db::Query q(tr, sql);
    oeffnen(q, params);
    return q.Eof() ? 0 : q.Field(0).AsInteger();
}

QDate TDM::SQLWertDatum(db::Transaction& tr, const QString& sql, const QVariantMap& params)
{
    db::Query q(tr, sql);
    oeffnen(q, params);
    return q.Eof() ? QDate() : q.Field(0).AsDate();
}

void TDM::SQLListe(db::Transaction& tr, const QString& sql, const QVariantMap& params, int spalte,
                   QStringList& liste)
{
    liste.clear();
    db::Query q(tr, sql);
    for (oeffnen(q, params); !q.Eof(); q.Next()) {
        const QString wert = q.Field(spalte).AsString().trimmed();
        if (!wert.isEmpty())
            liste << wert;
    }
}

void TDM::BetriebsstaettenListe(db::Transaction& tr, QStringList& namen, QList<int>* ids)
{
    namen.clear();
    namen << AlleBetriebsstaetten;
    if (ids) {
        ids->clear();
        *ids << 0;
    }
    db::Query q(tr, QStringLiteral("SELECT ID, BEZEICHNUNG FROM T_BETRIEBSSTAETTEN ORDER BY "
                                   "BEZEICHNUNG"));
    for (q.Open(); !q.Eof(); q.Next()) {
        namen << q.Field(1).AsString();
        if (ids)
            *ids << q.Field(0).AsInteger();
    }
}

QString TDM::BetriebsstaetteBezeichnung(int id)
{
    if (id <= 0)
        return AlleBetriebsstaetten;
    if (TABetriebsstaette.Active())
        TABetriebsstaette.Commit();
    QString name;
    inTransaktion(TABetriebsstaette, [&] {
        name = SQLWertString(TABetriebsstaette,
                             QStringLiteral("SELECT BEZEICHNUNG FROM T_BETRIEBSSTAETTEN WHERE ID "
                                            "= :ID"),
                             {{QStringLiteral("ID"), id}});
    });
    return name;
}

void TDM::DBFehlerOeffnen()
{
    if (!TADBFehler.Active())
        TADBFehler.Start();
    QDBFehler.Open();
    DBTools::FehlertabelleSetzen(&QDBFehler);
}

void TDM::DBFehlerSchliessen()
{
    if (DBTools::Fehlertabelle() == &QDBFehler)
        DBTools::FehlertabelleSetzen(nullptr);
    QDBFehler.Close();
    if (TADBFehler.Active())
        TADBFehler.Commit();
}

void TDM::HITMeldungAnlegen(db::Transaction& tr, const THITMeldung& m)
{
    db::Query q(tr);
    if (m.Meldung < 0) {
        const QString lom =
            SQLWertString(tr, QStringLiteral("SELECT NUMMER FROM T_STAMMDATEN WHERE ID = :TIER"),
                          {{QStringLiteral("TIER"), m.TierID}});
        q.SetSQL(
            QStringLiteral("INSERT INTO T_HITMELDUNGEN\r (MELDUNG, DATUM, BETRIEB, LOM)\r "
                           "VALUES (:MELDUNG, :DATUM, :BETRIEB, :LOM)"));
        q.Param(QStringLiteral("MELDUNG")).SetInteger(-m.Meldung);
        q.Param(QStringLiteral("BETRIEB")).SetString(m.Betrieb);
        q.Param(QStringLiteral("LOM")).SetString(lom);
    } else if (m.Meldung == 8) {
        q.SetSQL(
            QStringLiteral("INSERT INTO T_HITMELDUNGEN\r  (TIER, MELDUNG, DATUM, DATEN)\r  "
                           "VALUES (:TIER, :MELDUNG, :DATUM, :DATEN)"));
        q.Param(QStringLiteral("DATEN"))
            .SetString(QStringLiteral("MEHRLING=%1;VERLAUF=%2").arg(m.Mehrling).arg(m.Verlauf));
    } else {
        q.SetSQL(
            QStringLiteral("INSERT INTO T_HITMELDUNGEN\r  (TIER, MELDUNG, DATUM, BETRIEB)\r  "
                           "VALUES (:TIER, :MELDUNG, :DATUM, :BETRIEB)"));
        q.Param(QStringLiteral("BETRIEB")).SetString(m.Betrieb);
    }
    if (m.Meldung >= 0) {
        q.Param(QStringLiteral("TIER")).SetInteger(m.TierID);
        q.Param(QStringLiteral("MELDUNG")).SetInteger(m.Meldung);
    }
    q.Param(QStringLiteral("DATUM")).SetDate(m.Datum);
    q.Execute();
}

bool TDM::BetriebsstaetteWechseln(db::Transaction& tr, bool einzeln, int tierID,
                                  const QString& name, const QString& nummer, const QDate& gebdat,
                                  const QDate& gekauft, const QDate& verkauft, const QDate& datum,
                                  int stall, bool& alleJa)
{
    if ((gebdat.isValid() && datum < gebdat) || (gekauft.isValid() && datum < gekauft) ||
        (verkauft.isValid() && datum > verkauft)) {
        if (einzeln)
            Tools::MeldungError(
                QStringLiteral("Das Datum muß in der Zeit der\rBetriebszugehörigkeit des Tieres "
                               "liegen!"));
        else
            Tools::MeldungError(QStringLiteral("Das Datum muß in der Zeit der\r"
                                               "Betriebszugehörigkeit des Tieres\r%1 %2\rliegen!")
                                    .arg(name, nummer));
        return false;
    }

    db::Query q(tr, QStringLiteral("SELECT * FROM P_DO_TIER_BETRIEB_WECHSEL(:TIER_ID, :DATUM, "
                                   ":STALL, :FORCE)"));
    q.Param(QStringLiteral("TIER_ID")).SetInteger(tierID);
    q.Param(QStringLiteral("DATUM")).SetDate(datum);
    q.Param(QStringLiteral("STALL")).SetInteger(stall);
    q.Param(QStringLiteral("FORCE")).SetString(QStringLiteral("F"));
    for (;;) {
        q.Open();
        const QString status = q.Eof() ? QString() : q.Field(QStringLiteral("STATUS")).AsString();
        if (status == QLatin1String("E")) {
            Tools::MeldungError(QStringLiteral("Es ist ein Fehler aufgetreten!"));
            return false;
        }
        if (status == QLatin1String("F")) {
            const QString frage =
                einzeln ? QStringLiteral(
                              "Der Wechsel der Betriebsstätte liegt nicht am Ende der "
                              "Liste.\rWollen Sie dennoch diesen Wechsel eintragen?")
                        : QStringLiteral(
                              "Der Wechsel der Betriebsstätte liegt nicht am\rEnde der "
                              "Liste für das Tier\r%1 %2\rWollen Sie dennoch diesen "
                              "Wechsel eintragen?")
                              .arg(name, nummer);
            if (Tools::MeldungConfirm(frage, 1) != Tools::mrYes)
                return false;
            q.Close();
            q.Param(QStringLiteral("FORCE")).SetString(QStringLiteral("T"));
            continue;
        }
        if (status == QLatin1String("N")) {
            Tools::MeldungInfo(
                einzeln ? QStringLiteral(
                              "Da Sie Betriebsstätten-Änderungen nicht am Ende gemacht haben,\r"
                              "ist es nicht möglich, notwendige HIT-Meldungen vorzubereiten.\r"
                              "Bitte erledigen Sie dies, wenn notwendig, manuell!")
                        : QStringLiteral(
                              "Da Sie Betriebsstätten-Änderungen für das Tier\r%1 %2\rnicht am "
                              "Ende gemacht haben,\rist es nicht möglich, notwendige "
                              "HIT-Meldungen vorzubereiten.\rBitte erledigen Sie dies, wenn "
                              "notwendig, manuell!")
                              .arg(name, nummer));
            return true;
        }
        if (status != QLatin1String("H"))
            return false;

        const bool hitZu = q.Field(QStringLiteral("HIT_ZU")).AsString() == QLatin1String("T");
        const bool hitAb = q.Field(QStringLiteral("HIT_AB")).AsString() == QLatin1String("T");
        const QString bnrZu = q.Field(QStringLiteral("BNR_ZU")).AsString().trimmed();
        const QString bnrAb = q.Field(QStringLiteral("BNR_AB")).AsString().trimmed();
        q.Close();
        const TEinstellungen* einstellungen = Einstellungen();
        const bool meldungAuto = !einstellungen || einstellungen->GetMeldungAuto();
        if (!meldungAuto || !(hitZu || hitAb))
            return true;
        bool vorbereiten = false;
        if (einzeln) {
            vorbereiten = Tools::MeldungConfirm(QStringLiteral("Sollen die erforderlichen "
                                                               "Bewegungsmeldungen\ran HI - Tier "
                                                               "vorbereitet werden?"),
                                                0) == Tools::mrYes;
        } else if (alleJa) {
            vorbereiten = true;
        } else {
            const auto antwort = Tools::Meldung(
                QStringLiteral("Sollen die erforderlichen Bewegungsmeldungen\ran HI - Tier für "
                               "das Tier\r%1 %2\rvorbereitet werden?")
                    .arg(name, nummer),
                Tools::mtConfirmation, Tools::mbYesNo | Tools::Btn(Tools::mbYesToAll));
            alleJa = antwort == Tools::mrYesToAll;
            vorbereiten = antwort == Tools::mrYes || alleJa;
        }
        if (vorbereiten) {
            if (hitAb)
                HITMeldungAnlegen(tr, {tierID, -3, datum, bnrAb, 1, 0});
            if (hitZu)
                HITMeldungAnlegen(tr, {tierID, -14, datum, bnrZu, 1, 0});
        }
        return true;
    }
}

bool TDM::BetriebsstaetteWechselnListe(QList<int>& ids, int stall, const QDate& datum)
{
    // A window that keeps the animal transaction open (it commits retaining after each store)
    // keeps its datasets: the list's work is then undone to a savepoint instead of by a rollback.
    const bool offen = TAStammdaten.Active();
    const auto ausfuehren = [this](const QString& sql) { db::Query(TAStammdaten, sql).Execute(); };
    if (offen)
        ausfuehren(QStringLiteral("SAVEPOINT BETRIEB_WECHSEL"));
    else
        TAStammdaten.Start();
    bool ergebnis = true;
    struct Tier {
        int id;
        QString name, nummer;
        QDate gebdat, gekauft, verkauft;
    };
    QList<Tier> tiere;
    const Tier* aktuell = nullptr;
    try {
        {
            db::Query q(TAStammdaten, QStringLiteral("SELECT ID, NAME, NUMMER, GEBDAT, GEKAUFT, "
                                                     "VERKAUFT FROM T_STAMMDATEN"));
            for (q.Open(); !q.Eof(); q.Next()) {
                if (!ids.contains(q.Field(0).AsInteger()))
                    continue;
                tiere << Tier{q.Field(0).AsInteger(), q.Field(1).AsString(), q.Field(2).AsString(),
                              q.Field(3).AsDate(),    q.Field(4).AsDate(),   q.Field(5).AsDate()};
            }
        }
        bool alleJa = false;
        for (const Tier& t : tiere) {
            aktuell = &t;
            ids.removeAll(t.id);
            ergebnis =
                BetriebsstaetteWechseln(TAStammdaten, false, t.id, t.name, t.nummer, t.gebdat,
                                        t.gekauft, t.verkauft, datum, stall, alleJa) &&
                ergebnis;
        }
        aktuell = nullptr;
        if (offen) {
            ausfuehren(QStringLiteral("RELEASE SAVEPOINT BETRIEB_WECHSEL ONLY"));
            TAStammdaten.CommitRetaining();
        } else {
            TAStammdaten.Commit();
        }
    } catch (const std::exception& e) {
        try {
            if (offen) {
                ausfuehren(QStringLiteral("ROLLBACK TO SAVEPOINT BETRIEB_WECHSEL"));
                ausfuehren(QStringLiteral("RELEASE SAVEPOINT BETRIEB_WECHSEL ONLY"));
            } else if (TAStammdaten.Active()) {
                TAStammdaten.Rollback();
            }
        } catch (const db::Error&) {
            if (TAStammdaten.Active())
                TAStammdaten.Rollback();
        }
        if (!aktuell)
            throw;
        // Nothing of the list is stored: the user learns which animal stopped it and why.
        QString grund;
        const auto* dbFehler = dynamic_cast<const db::Error*>(&e);
        if (!dbFehler || !DBTools::DBFehlerText(*dbFehler, grund))
            grund = dbFehler ? dbFehler->Message() : QString::fromUtf8(e.what());
        throw db::Error(QStringLiteral("Der Wechsel der Betriebsstätte für das Tier\r%1 %2\r"
                                       "ist fehlgeschlagen:\r%3\r\rEs wurde kein Wechsel "
                                       "eingetragen.")
                            .arg(aktuell->name, aktuell->nummer, grund),
                        dbFehler ? dbFehler->SqlCode() : 0, dbFehler ? dbFehler->EngineCode() : 0,
                        dbFehler ? dbFehler->Constraint() : QString());
    }
    return ergebnis;
}

void TDM::TiereLoeschen(const QList<int>& ids)
{
    inTransaktion(TAStammdaten, [&] {
        db::Query q(TAStammdaten, QStringLiteral("EXECUTE PROCEDURE P_DO_TIER_LOESCHEN(:ID)"));
        for (int id : ids) {
            q.Param(QStringLiteral("ID")).SetInteger(id);
            q.Execute();
        }
    });
}

QString KNRFormatieren(int knr, int knrLaenge)
{
    if (knr <= 0)
        return {};
    const int breite = knr >= 1000 ? 6 : knrLaenge;
    return QStringLiteral("%1").arg(knr, breite, 10, QLatin1Char('0'));
}

QString KNRFormatieren(int knr)
{
    const TEinstellungen* einstellungen = Einstellungen();
    if (!einstellungen)
        throw std::logic_error("KNRFormatieren braucht das Einstellungsobjekt.");
    return KNRFormatieren(knr, einstellungen->GetKNRLaenge());
}

TDM* DM()
{
    return datenmodul.get();
}

void DMErzeugen()
{
    // Every window that saves a shared row asks through it.
    Bearbeitungskonflikt::Einrichten();
    datenmodul.reset();
    datenmodul = std::make_unique<TDM>();
}

void DMFreigeben()
{
    datenmodul.reset();
}
