#include "BesamungLogik.h"

#include <BesamungConst.h>
#include <BesamungFunc.h>
#include <DBTools.h>
#include <Datenmodul.h>

#include <Error.h>
#include <Field.h>
#include <Query.h>
#include <Transaction.h>

#include <QElapsedTimer>

#include <algorithm>
#include <stdexcept>

namespace Besamung {

namespace {

// Engine codes of a row that another transaction changed or inserted just before us.
constexpr long KonfliktCodes[] = {
    335544336 /* deadlock, update conflict */, 335545096 /* update conflict */,
    335544665 /* unique key violation */, 335544349 /* duplicate in unique index */};
constexpr long SperrCodes[] = {335544345 /* lock conflict */, 335544510 /* lock timeout */};

bool enthaelt(const long* begin, const long* end, long code)
{
    return std::find(begin, end, code) != end;
}

void binden(db::Query& q, const QVariantMap& params)
{
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        if (q.HasParam(it.key()))
            q.Param(it.key()).SetVariant(it.value());
}

const QString DatumFormat = QStringLiteral("dd.MM.yyyy");
const QString Speicherpunkt = QStringLiteral("BESAMUNG_SPEICHERN");

}  // namespace

QString TeilungCode(TTeilung teilung)
{
    switch (teilung) {
        case TTeilung::ErsteHaelfte:
            return QStringLiteral("1");
        case TTeilung::ZweiteHaelfte:
            return QStringLiteral("2");
        case TTeilung::Nein:
            break;
    }
    return QStringLiteral("F");
}

TTeilung TeilungAusCode(const QString& code)
{
    if (code == QLatin1String("F"))
        return TTeilung::Nein;
    if (code == QLatin1String("1"))
        return TTeilung::ErsteHaelfte;
    return TTeilung::ZweiteHaelfte;
}

QString Bedingung(const TFenster& fenster)
{
    QString sql = QStringLiteral(" FROM T_BESAMUNGEN WHERE (TIER = :TIER_ID)");
    if (fenster.von.isValid() && !fenster.bis.isValid())
        sql += QStringLiteral(" AND (DATUM > :VON)");
    else if (fenster.von.isValid() && fenster.bis.isValid())
        sql += QStringLiteral(" AND (DATUM < :BIS AND DATUM > :VON)");
    else if (fenster.bis.isValid())
        sql += QStringLiteral(" AND (DATUM < :BIS)");
    return sql;
}

QVariantMap BedingungParameter(int tierID, const TFenster& fenster)
{
    QVariantMap p{{QStringLiteral("TIER_ID"), tierID}};
    if (fenster.von.isValid())
        p.insert(QStringLiteral("VON"), fenster.von);
    if (fenster.bis.isValid())
        p.insert(QStringLiteral("BIS"), fenster.bis);
    return p;
}

bool ImFenster(const QDate& datum, const TFenster& fenster)
{
    if (fenster.von.isValid() && datum < fenster.von)
        return false;
    return !(fenster.bis.isValid() && datum > fenster.bis);
}

QString Pruefbulle(const QDate& pruefbulleBis, const QDate& heute)
{
    return !pruefbulleBis.isValid() || pruefbulleBis > heute ? QStringLiteral("T")
                                                             : QStringLiteral("F");
}

QString BemerkungKurz(const QString& bemerkung)
{
    QString text = bemerkung;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const int umbruch = text.indexOf(QLatin1Char('\n'));
    return umbruch < 0 ? text : text.left(umbruch) + QStringLiteral(" ...");
}

TPruefung Pruefen(const QDate& datum, const QDate& heute, const QDate& gebdat,
                  const TFenster& fenster, bool neueEigenbesamung, bool portionGewaehlt,
                  bool fensterBestaetigt)
{
    if (!datum.isValid())
        return {TPruefung::Fehler, QStringLiteral("Sie müssen ein Datum für die Besamung eingeben"),
                TPruefFeld::Datum};
    if (datum > heute)
        return {TPruefung::Fehler,
                QStringLiteral("Das Besamungsdatum darf nicht in der Zukunft liegen"),
                TPruefFeld::Datum};
    if (gebdat.isValid() && datum < gebdat)
        return {TPruefung::Fehler,
                QStringLiteral("Das Besamungsdatum darf nicht vor dem Geburtsdatum sein"),
                TPruefFeld::Datum};
    if (!fensterBestaetigt && !ImFenster(datum, fenster))
        return {TPruefung::Frage,
                QStringLiteral("Das Besamungsdatum ist nicht in der Laktation\r"
                               "Soll diese trotzdem eingetragen werden?"),
                TPruefFeld::Datum};
    if (neueEigenbesamung && !portionGewaehlt)
        return {TPruefung::Fehler,
                QStringLiteral("Wählen Sie die verwendete Portion für die Besamung aus"),
                TPruefFeld::Portion};
    return {};
}

QString TPortion::Text() const
{
    const auto& stationen = BesamungConst::Stationen();
    const QString stationName =
        stationIndex >= 0 ? stationen[stationIndex].Kurzname : QStringLiteral("Fehler!");
    return QStringLiteral("Lieferung: %1, Bulle: %2, %3, %4")
        .arg(lieferung.toString(DatumFormat), bulle, hbnr, stationName);
}

QString ScheinNummerSchluessel(int station)
{
    return QStringLiteral("Besamungsschein-Nummer-") + BesamungConst::Stationen()[station].Code;
}

TBesamungDaten::TBesamungDaten(db::Transaction& transaktion)
    : transaktion_(&transaktion), daten_(transaktion)
{
    daten_.SetSelectSQL(
        QStringLiteral("SELECT ID, TIER, DATUM, STIER, NUMMER, NR, BEMERKUNG, BESAMUNGSSCHEIN_NR, "
                       "BES_NR_BY, EJAKULAT_NR, DOPPELBESAMUNG, PRUEFBULLE FROM T_BESAMUNGEN "
                       "WHERE ID = :ID"));
    daten_.SetInsertSQL(QStringLiteral(
        "INSERT INTO T_BESAMUNGEN (ID, TIER, DATUM, STIER, NUMMER, NR, BEMERKUNG, "
        "BESAMUNGSSCHEIN_NR, BES_NR_BY, EJAKULAT_NR, DOPPELBESAMUNG, PRUEFBULLE) VALUES (:ID, "
        ":TIER, :DATUM, :STIER, :NUMMER, :NR, :BEMERKUNG, :BESAMUNGSSCHEIN_NR, :BES_NR_BY, "
        ":EJAKULAT_NR, :DOPPELBESAMUNG, :PRUEFBULLE)"));
    daten_.SetModifySQL(QStringLiteral(
        "UPDATE T_BESAMUNGEN SET TIER = :TIER, DATUM = :DATUM, STIER = :STIER, NUMMER = :NUMMER, "
        "NR = :NR, BEMERKUNG = :BEMERKUNG, BESAMUNGSSCHEIN_NR = :BESAMUNGSSCHEIN_NR, "
        "BES_NR_BY = :BES_NR_BY, EJAKULAT_NR = :EJAKULAT_NR, DOPPELBESAMUNG = :DOPPELBESAMUNG, "
        "PRUEFBULLE = :PRUEFBULLE WHERE ID = :OLD_ID"));
    daten_.SetDeleteSQL(QStringLiteral("DELETE FROM T_BESAMUNGEN WHERE ID = :OLD_ID"));
    daten_.SetGenerator(QStringLiteral("ID"), QStringLiteral("G_BESAMUNGEN"));
}

TBesamungDaten::~TBesamungDaten()
{
    if (daten_.State() == db::DataSetState::Edit || daten_.State() == db::DataSetState::Insert)
        daten_.Cancel();
}

void TBesamungDaten::TransaktionSetzen(db::Transaction& transaktion)
{
    transaktion_ = &transaktion;
    daten_.SetTransaction(transaktion);
}

void TBesamungDaten::Oeffnen(int tierID, int kalbungID, const QDate& gebdat, TModus modus,
                             int besamungID, int nr, const QString& eigenbesamungStationen)
{
    if (!transaktion_->Active())
        transaktion_->Start();
    tierID_ = tierID;
    gebdat_ = gebdat;
    modus_ = modus;
    portion_ = {};
    vorschlag_ = 0;
    Fenster(kalbungID);
    station_ = BesamungFunc::StandardStation(eigenbesamungStationen);

    daten_.Close();
    daten_.Param(QStringLiteral("ID")).SetInteger(modus == Aendern ? besamungID : -1);
    daten_.Open();
    if (modus == Aendern && besamungID < 0) {
        daten_.Append();
        daten_.FieldByName(QStringLiteral("TIER")).SetInteger(tierID_);
        daten_.FieldByName(QStringLiteral("NR")).SetInteger(nr);
    } else if (modus == Aendern) {
        if (daten_.IsEmpty())
            throw std::runtime_error(QStringLiteral("Die Besamung %1 gibt es nicht mehr.")
                                         .arg(besamungID)
                                         .toStdString());
    } else {
        daten_.Append();
        Vorgaben();
    }

    teilung_ = TTeilung::Nein;
    if (modus != Aendern) {
        eigen_ = true;
        return;
    }
    eigen_ = false;
    if (besamungID < 0)
        return;
    db::Query q(*transaktion_,
                QStringLiteral("SELECT PORTIONSTEILUNG, PORTION FROM T_CONTAINER_VERWENDUNG\r"
                               "WHERE BESAMUNG = :ID"));
    q.Param(QStringLiteral("ID")).SetInteger(besamungID);
    q.Open();
    if (q.Eof())
        return;
    eigen_ = true;
    teilung_ = TeilungAusCode(q.Field(0).AsString());
    PortionAnzeigen(q.Field(1).AsInteger());
}

void TBesamungDaten::NeuerSatz()
{
    portion_ = {};
    vorschlag_ = 0;
    teilung_ = TTeilung::Nein;
    daten_.Append();
    Vorgaben();
}

void TBesamungDaten::Fenster(int kalbungID)
{
    fenster_ = {};
    if (kalbungID < 1) {
        db::Query q(*transaktion_,
                    QStringLiteral("SELECT MAX(DATUM) VON FROM T_KALBUNGEN WHERE TIER = :TIER"));
        q.Param(QStringLiteral("TIER")).SetInteger(tierID_);
        q.Open();
        if (!q.Eof())
            fenster_.von = q.Field(0).AsDate();
        return;
    }
    db::Query q(*transaktion_, QStringLiteral("SELECT KALBUNG_DATUM BIS, K_VOR_DATUM VON\r"
                                              "FROM P_GET_KALBUNG_DATUM_BEREICH(:KALBUNG_ID)"));
    q.Param(QStringLiteral("KALBUNG_ID")).SetInteger(kalbungID);
    q.Open();
    if (!q.Eof()) {
        fenster_.bis = q.Field(QStringLiteral("BIS")).AsDate();
        fenster_.von = q.Field(QStringLiteral("VON")).AsDate();
    }
}

int TBesamungDaten::Anzahl(const QString& select)
{
    db::Query q(*transaktion_, select + Bedingung(fenster_));
    binden(q, BedingungParameter(tierID_, fenster_));
    q.Open();
    return q.Eof() ? 0 : q.Field(0).AsInteger();
}

void TBesamungDaten::Vorgaben()
{
    const int nr = std::max(1, Anzahl(QStringLiteral("SELECT MAX(NR) + 1")));
    daten_.FieldByName(QStringLiteral("TIER")).SetInteger(tierID_);
    daten_.FieldByName(QStringLiteral("NR")).SetInteger(nr);
    const int anzahl = station_ == BesamungConst::StationRUW
                           ? std::max(1, Anzahl(QStringLiteral("SELECT COUNT(*) + 1")))
                           : 1;
    daten_.FieldByName(QStringLiteral("BES_NR_BY"))
        .SetInteger(BesamungFunc::BesNrBY(station_, nr, anzahl));
    daten_.FieldByName(QStringLiteral("DOPPELBESAMUNG")).SetString(QStringLiteral("F"));
}

std::optional<TPortion> TBesamungDaten::PortionLesen(int portionID)
{
    db::Query q(
        *transaktion_,
        QStringLiteral("SELECT L.DATUM, B.NAME, B.HBNR, P.STATION, P.EJAKULAT_NR, "
                       "B.PRUEFBULLE_BIS FROM T_CONTAINER_PORTION P\r"
                       "JOIN T_BULLEN_STAMM B ON P.BULLE = B.ID JOIN T_CONTAINER_LIEFERUNG L\r"
                       "ON L.ID = P.LIEFERUNG WHERE P.ID = :ID"));
    q.Param(QStringLiteral("ID")).SetInteger(portionID);
    q.Open();
    if (q.Eof())
        return std::nullopt;
    TPortion p;
    p.id = portionID;
    p.lieferung = q.Field(0).AsDate();
    p.bulle = q.Field(1).AsString();
    p.hbnr = q.Field(2).AsString();
    p.station = q.Field(3).AsString();
    if (!BesamungFunc::StationIndex(p.station, p.stationIndex))
        p.stationIndex = -1;
    if (!q.Field(4).IsNull())
        p.ejakulatNr = q.Field(4).AsInteger();
    p.pruefbulleBis = q.Field(5).AsDate();
    return p;
}

void TBesamungDaten::PortionAnzeigen(int portionID)
{
    const std::optional<TPortion> p = PortionLesen(portionID);
    portion_ = p.value_or(TPortion{});
    if (p)
        station_ = p->stationIndex;
}

QString TBesamungDaten::PortionWaehlen(int portionID, const QDate& heute)
{
    const std::optional<TPortion> p = PortionLesen(portionID);
    if (!p)
        throw std::runtime_error(
            QStringLiteral("Die Portion %1 gibt es nicht mehr.").arg(portionID).toStdString());
    if (daten_.State() == db::DataSetState::Browse)
        daten_.Edit();
    daten_.FieldByName(QStringLiteral("STIER")).SetString(p->bulle);
    daten_.FieldByName(QStringLiteral("NUMMER")).SetString(p->hbnr);
    db::Field& ejakulat = daten_.FieldByName(QStringLiteral("EJAKULAT_NR"));
    if (p->ejakulatNr)
        ejakulat.SetInteger(*p->ejakulatNr);
    else
        ejakulat.SetNull();
    daten_.FieldByName(QStringLiteral("PRUEFBULLE")).SetString(Pruefbulle(p->pruefbulleBis, heute));
    PortionAnzeigen(portionID);
    if (!IstNeu())
        return {};

    // The station count follows the rules of the portion's station, not those of the default.
    db::Field& besNrBY = daten_.FieldByName(QStringLiteral("BES_NR_BY"));
    const int nr = daten_.FieldByName(QStringLiteral("NR")).AsInteger();
    const int anzahl = station_ == BesamungConst::StationRUW
                           ? std::max(1, Anzahl(QStringLiteral("SELECT COUNT(*) + 1")))
                           : 1;
    besNrBY.SetInteger(BesamungFunc::BesNrBY(station_, nr, anzahl));

    vorschlag_ = 0;
    if (station_ < 0)
        return {};
    db::Field& schein = daten_.FieldByName(QStringLiteral("BESAMUNGSSCHEIN_NR"));
    QString warnung;
    int nummer = 0;
    if (BesamungFunc::EigenerBesamungsschein(station_, besNrBY.AsInteger())) {
        vorschlag_ = ScheinNummerVorschlagen();
        nummer = vorschlag_;
    } else {
        db::Query q(*transaktion_,
                    QStringLiteral("SELECT MAX(BESAMUNGSSCHEIN_NR) FROM T_BESAMUNGEN WHERE TIER = "
                                   ":TIER AND BESAMUNGSSCHEIN_NR IS NOT NULL"));
        q.Param(QStringLiteral("TIER")).SetInteger(tierID_);
        q.Open();
        if (!q.Eof() && !q.Field(0).IsNull()) {
            nummer = q.Field(0).AsInteger();
        } else {
            nummer = ScheinNummerVorschlagen();
            warnung = QStringLiteral(
                "Überprüfen Sie die Besamungsschein-Nummer.\r"
                "Sie konnte nicht sicher ermittelt werden.");
        }
    }
    if (nummer > 0)
        schein.SetInteger(nummer);
    else
        schein.SetNull();
    return warnung;
}

int TBesamungDaten::ScheinNummerVorschlagen()
{
    if (station_ < 0)
        return 0;
    db::Query q(*transaktion_,
                QStringLiteral("SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = :NAME"));
    q.Param(QStringLiteral("NAME")).SetString(ScheinNummerSchluessel(station_));
    q.Open();
    const int letzte = q.Eof() ? 0 : q.Field(0).AsString().trimmed().toInt();
    return letzte <= 0 ? 0 : letzte + 1;
}

TPruefung TBesamungDaten::Pruefen(const QDate& heute, bool fensterBestaetigt)
{
    return Besamung::Pruefen(daten_.FieldByName(QStringLiteral("DATUM")).AsDate(), heute, gebdat_,
                             fenster_, IstNeu() && EigenUndNeu(), PortionGewaehlt(),
                             fensterBestaetigt);
}

int TBesamungDaten::ScheinNummerSperren(int station)
{
    const QString name = ScheinNummerSchluessel(station);
    // The engine reports a conflict both when the other workstation committed while we waited
    // (the next try sees its number) and when it still held the row at the end of the lock
    // time-out: only a conflict before the time-out is worth another try.
    const qint64 wartezeit = qint64(transaktion_->Options().lockTimeout) * 1000;
    for (int versuch = 1;; ++versuch) {
        QElapsedTimer uhr;
        uhr.start();
        try {
            db::Query u(
                *transaktion_,
                QStringLiteral("UPDATE T_EINSTELLUNGEN SET WERT = WERT WHERE NAME = :NAME"));
            u.Param(QStringLiteral("NAME")).SetString(name);
            u.Execute();
            if (u.RowsAffected() == 0) {
                db::Query i(*transaktion_, QStringLiteral("INSERT INTO T_EINSTELLUNGEN (NAME, "
                                                          "WERT) VALUES (:NAME, '0')"));
                i.Param(QStringLiteral("NAME")).SetString(name);
                i.Execute();
            }
            break;
        } catch (const db::Error& e) {
            const bool konflikt =
                enthaelt(std::begin(KonfliktCodes), std::end(KonfliktCodes), e.EngineCode());
            const bool gesperrt =
                enthaelt(std::begin(SperrCodes), std::end(SperrCodes), e.EngineCode()) ||
                (konflikt && uhr.elapsed() >= wartezeit);
            if (konflikt && !gesperrt && versuch < 5)
                continue;
            if (konflikt || gesperrt)
                throw std::runtime_error(
                    "Die Besamungsschein-Nummer der Station wird gerade an einem anderen "
                    "Arbeitsplatz vergeben.\rSpeichern Sie die Besamung bitte gleich noch einmal.");
            throw;
        }
    }
    db::Query q(*transaktion_,
                QStringLiteral("SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = :NAME"));
    q.Param(QStringLiteral("NAME")).SetString(name);
    q.Open();
    return q.Eof() ? 0 : q.Field(0).AsString().trimmed().toInt();
}

void TBesamungDaten::Buchen(int besamungID)
{
    db::Query v(*transaktion_,
                QStringLiteral("INSERT INTO T_CONTAINER_VERWENDUNG (ART, BESAMUNG, DATUM,\r"
                               "PORTIONSTEILUNG, PORTION) VALUES (:ART, :BESAMUNG, :DATUM,\r"
                               ":TEILUNG, :PORTION)"));
    v.Param(QStringLiteral("ART")).SetString(QStringLiteral("B"));
    v.Param(QStringLiteral("BESAMUNG")).SetInteger(besamungID);
    v.Param(QStringLiteral("DATUM")).SetDate(daten_.FieldByName(QStringLiteral("DATUM")).AsDate());
    v.Param(QStringLiteral("TEILUNG")).SetString(TeilungCode(teilung_));
    v.Param(QStringLiteral("PORTION")).SetInteger(portion_.id);
    v.Execute();

    db::Query m(*transaktion_,
                QStringLiteral("INSERT INTO T_BESAMUNGSMELDUNG (BESAMUNG, TIER, GESENDET, WERTE)\r"
                               "VALUES (:BESAMUNG, :TIER, :GESENDET, :WERTE)"));
    m.Param(QStringLiteral("BESAMUNG")).SetInteger(besamungID);
    m.Param(QStringLiteral("TIER")).SetInteger(tierID_);
    m.Param(QStringLiteral("GESENDET")).SetNull();
    m.Param(QStringLiteral("WERTE")).SetString(QString());
    m.Execute();
}

void TBesamungDaten::Speichern()
{
    const bool buchen = IstNeu() && EigenUndNeu() && PortionGewaehlt();
    const db::Field& besNrBY = daten_.FieldByName(QStringLiteral("BES_NR_BY"));
    const bool scheinSpeichern =
        buchen && station_ >= 0 &&
        BesamungFunc::EigenerBesamungsschein(station_, besNrBY.AsInteger());
    // What the user entered, to start over with when a booking fails after the record was
    // written: the savepoint takes the record back, the dataset does not.
    QVariantList eingabe;
    for (int i = 0; i < daten_.FieldCount(); ++i)
        eingabe << daten_.Fields(i).AsValue().AsVariant();

    auto ausfuehren = [this](const QString& sql) {
        db::Query q(*transaktion_, sql);
        q.Execute();
    };
    ausfuehren(QStringLiteral("SAVEPOINT ") + Speicherpunkt);
    bool geschrieben = false;
    try {
        db::Field& schein = daten_.FieldByName(QStringLiteral("BESAMUNGSSCHEIN_NR"));
        // A new bought insemination has no certificate; a number shown is left from a portion
        // chosen before the kind was switched.
        if (IstNeu() && modus_ != Aendern && !eigen_ && !schein.IsNull())
            schein.SetNull();
        if (scheinSpeichern) {
            const int letzte = ScheinNummerSperren(station_);
            // The proposal went to another workstation meanwhile: the next free number instead.
            if (vorschlag_ > 0 && !schein.IsNull() && schein.AsInteger() == vorschlag_ &&
                letzte >= vorschlag_)
                schein.SetInteger(letzte + 1);
        }
        DBTools::Posten(daten_);
        geschrieben = true;
        if (buchen) {
            Buchen(daten_.FieldByName(QStringLiteral("ID")).AsInteger());
            if (scheinSpeichern && !schein.IsNull()) {
                db::Query q(*transaktion_, QStringLiteral("UPDATE T_EINSTELLUNGEN SET WERT = "
                                                          ":WERT WHERE NAME = :NAME"));
                q.Param(QStringLiteral("WERT")).SetString(QString::number(schein.AsInteger()));
                q.Param(QStringLiteral("NAME")).SetString(ScheinNummerSchluessel(station_));
                q.Execute();
            }
        }
        ausfuehren(QStringLiteral("RELEASE SAVEPOINT ") + Speicherpunkt + QStringLiteral(" ONLY"));
    } catch (...) {
        ausfuehren(QStringLiteral("ROLLBACK TO SAVEPOINT ") + Speicherpunkt);
        ausfuehren(QStringLiteral("RELEASE SAVEPOINT ") + Speicherpunkt + QStringLiteral(" ONLY"));
        if (geschrieben && buchen) {
            daten_.Close();
            daten_.Param(QStringLiteral("ID")).SetInteger(-1);
            daten_.Open();
            daten_.Append();
            for (int i = 0; i < daten_.FieldCount(); ++i)
                if (daten_.Fields(i).FieldName() != QLatin1String("ID"))
                    daten_.Fields(i).SetValue(eingabe[i]);
        }
        throw;
    }
    if (DM() && transaktion_ == &DM()->TAStammdaten)
        transaktion_->CommitRetaining();
}

QStringList TBesamungDaten::Bemerkungen()
{
    QStringList liste;
    db::Query q(*transaktion_, QStringLiteral("SELECT BEMERKUNG FROM T_BESAMUNGEN\r"
                                              "WHERE BEMERKUNG IS NOT NULL ORDER BY BEMERKUNG"));
    for (q.Open(); !q.Eof(); q.Next()) {
        const QString text = q.Field(0).AsString();
        if (!text.trimmed().isEmpty() && (liste.isEmpty() || liste.last() != text))
            liste << text;
    }
    return liste;
}

}  // namespace Besamung
