#include "TerminSpeicher.h"

#include <DataSet.h>
#include <Query.h>

namespace TerminSpeicher {

namespace {

QStringList Liste(db::Transaction& tr, const QString& sql)
{
    QStringList r;
    db::Query q(tr, sql);
    for (q.Open(); !q.Eof(); q.Next())
        if (const QString t = q.Field(0).AsString().trimmed(); !t.isEmpty())
            r.append(t);
    return r;
}

}  // namespace

void FesteTermineEinrichten(db::DataSet& qt)
{
    qt.SetSelectSQL(QStringLiteral("SELECT * FROM T_TERMINE"));
    qt.SetInsertSQL(QStringLiteral(
        "INSERT INTO T_TERMINE (ID, DATUM, VOR, NACH, TEXT, ERLEDIGT, BEMERKUNG, ERLEDIGEN) "
        "VALUES (:ID, :DATUM, :VOR, :NACH, :TEXT, :ERLEDIGT, :BEMERKUNG, :ERLEDIGEN)"));
    qt.SetModifySQL(QStringLiteral(
        "UPDATE T_TERMINE SET DATUM = :DATUM, VOR = :VOR, NACH = :NACH, TEXT = :TEXT, "
        "ERLEDIGT = :ERLEDIGT, BEMERKUNG = :BEMERKUNG, ERLEDIGEN = :ERLEDIGEN WHERE ID = :OLD_ID"));
    qt.SetDeleteSQL(QStringLiteral("DELETE FROM T_TERMINE WHERE ID = :OLD_ID"));
    qt.SetRefreshSQL(QStringLiteral("SELECT * FROM T_TERMINE WHERE ID = :ID"));
    qt.SetGenerator(QStringLiteral("ID"), QStringLiteral("G_TERMINE_ID"));
}

void TierTermineEinrichten(db::DataSet& qt)
{
    qt.SetSelectSQL(QStringLiteral("select * from P_GET_TERMINE_EINSTELLUNG"));
    qt.SetInsertSQL(QStringLiteral(
        "INSERT INTO T_TERMINE_EINSTELLUNG (ID, ANKERPUNKT, TERMIN, VOR, NACH, WOCHENTAGE, "
        "BETRIEBSSTAETTE, TIERKLASSE, TEXT, MEDIKAMENT, ERLEDIGEN) VALUES (:ID, :ANKERPUNKT, "
        ":TERMIN, :VOR, :NACH, :WOCHENTAGE, :BETRIEBSSTAETTE, :TIERKLASSE, :TEXT, :MEDIKAMENT, "
        ":ERLEDIGEN)"));
    qt.SetModifySQL(QStringLiteral(
        "UPDATE T_TERMINE_EINSTELLUNG SET ANKERPUNKT = :ANKERPUNKT, TERMIN = :TERMIN, VOR = :VOR, "
        "NACH = :NACH, WOCHENTAGE = :WOCHENTAGE, BETRIEBSSTAETTE = :BETRIEBSSTAETTE, TIERKLASSE = "
        ":TIERKLASSE, TEXT = :TEXT, MEDIKAMENT = :MEDIKAMENT, ERLEDIGEN = :ERLEDIGEN WHERE ID = "
        ":OLD_ID"));
    qt.SetDeleteSQL(QStringLiteral("DELETE FROM T_TERMINE_EINSTELLUNG WHERE ID = :OLD_ID"));
    qt.SetGenerator(QStringLiteral("ID"), QStringLiteral("G_TERMINE_EINSTELLUNG_ID"));
}

void TierTermineListeEinrichten(db::DataSet& daten)
{
    daten.SetSelectSQL(QStringLiteral(
        "select ERLEDIGEN, V_ANKERPUNKT || ASCII_CHAR(10) || V_TERMIN ANKER_TERMIN, "
        "VOR || ASCII_CHAR(10) || NACH VOR_NACH, WOCHENTAGE, V_BETRIEBSSTAETTE || ASCII_CHAR(10) "
        "|| V_TIERKLASSE STALL_KLASSE, COALESCE(TEXT, '') || ASCII_CHAR(10) || "
        "COALESCE(MEDIKAMENT, "
        "'') TEXT_MEDIKAMENT, ID from P_GET_TERMINE_EINSTELLUNG"));
}

QStringList Texte(db::Transaction& tr)
{
    return Liste(tr, QStringLiteral("SELECT DISTINCT TEXT FROM T_TERMINE ORDER BY TEXT"));
}

QStringList Medikamente(db::Transaction& tr)
{
    return Liste(tr, QStringLiteral("SELECT DISTINCT BEZEICHNUNG\r"
                                    "FROM T_MEDIKAMENTE\r"
                                    "WHERE ANZEIGEN = 'T'\r"
                                    "ORDER BY BEZEICHNUNG"));
}

QList<std::pair<int, QString>> Betriebsstaetten(db::Transaction& tr)
{
    QList<std::pair<int, QString>> r;
    db::Query q(tr, QStringLiteral("SELECT ID, BEZEICHNUNG FROM T_BETRIEBSSTAETTEN"));
    for (q.Open(); !q.Eof(); q.Next())
        r.append({q.Field(0).AsInteger(), q.Field(1).AsString().trimmed()});
    return r;
}

std::optional<TWiederholung> WiederholungLesen(db::Transaction& tr, int terminID)
{
    db::Query w(tr, QStringLiteral("SELECT ID, INTERVALL, INTERVALL_ART, BIS FROM "
                                   "T_TERMINE_WIEDERHOLEN WHERE TERMIN_ID = :TERMIN_ID"));
    w.Param(QStringLiteral("TERMIN_ID")).SetInteger(terminID);
    w.Open();
    if (w.Eof() || w.Field(0).IsNull())
        return std::nullopt;
    return TWiederholung{w.Field(0).AsInteger(), w.Field(1).AsInteger(), w.Field(2).AsString(),
                         w.Field(3).IsNull() ? QDate() : w.Field(3).AsDate()};
}

void WiederholungSpeichern(db::Transaction& tr, int terminID, int wiederholungID,
                           const std::optional<TWiederholung>& w)
{
    const auto binden = [&](db::Query& q) {
        q.Param(QStringLiteral("INTERVALL")).SetInteger(w->intervall);
        q.Param(QStringLiteral("ART")).SetString(w->art);
        q.Param(QStringLiteral("BIS")).SetDate(w->bis);
    };
    if (wiederholungID == 0 && w) {
        db::Query q(tr, QStringLiteral("INSERT INTO T_TERMINE_WIEDERHOLEN (TERMIN_ID, INTERVALL, "
                                       "INTERVALL_ART, BIS) VALUES (:TERMIN_ID, :INTERVALL, :ART, "
                                       ":BIS);"));
        q.Param(QStringLiteral("TERMIN_ID")).SetInteger(terminID);
        binden(q);
        q.Execute();
    } else if (wiederholungID != 0 && w) {
        db::Query q(tr, QStringLiteral("UPDATE T_TERMINE_WIEDERHOLEN SET INTERVALL = :INTERVALL,"
                                       "INTERVALL_ART = :ART,BIS = :BIS WHERE (ID = :ID);"));
        q.Param(QStringLiteral("ID")).SetInteger(wiederholungID);
        binden(q);
        q.Execute();
    } else if (wiederholungID != 0) {
        db::Query q(tr, QStringLiteral("DELETE FROM T_TERMINE_WIEDERHOLEN WHERE (ID = :ID);"));
        q.Param(QStringLiteral("ID")).SetInteger(wiederholungID);
        q.Execute();
    }
}

void FesterTerminLoeschen(db::Transaction& tr, int id)
{
    for (const QString& sql :
         {QStringLiteral("DELETE FROM T_TERMINE_WIEDERHOLEN WHERE TERMIN_ID = :ID"),
          QStringLiteral("DELETE FROM T_TERMINE WHERE ID = :ID")}) {
        db::Query q(tr, sql);
        q.Param(QStringLiteral("ID")).SetInteger(id);
        q.Execute();
    }
}

void TierTerminLoeschen(db::Transaction& tr, int id)
{
    db::Query q(tr, QStringLiteral("DELETE FROM T_TERMINE_EINSTELLUNG WHERE ID = :ID"));
    q.Param(QStringLiteral("ID")).SetInteger(id);
    q.Execute();
}

}  // namespace TerminSpeicher
