#include "ContainerLogik.h"

#include <BesamungConst.h>
#include <BesamungFunc.h>

#include <Query.h>

#include <cmath>

namespace Container {

double Bestand(int gesamt, int ganzeVerwendungen, int halbeVerwendungen)
{
    return gesamt - ganzeVerwendungen - halbeVerwendungen / 2.0;
}

QString ArtText(const QString& art)
{
    const QString a = art.trimmed();
    if (a == QLatin1String("B"))
        return QStringLiteral("Besamung");
    if (a == QLatin1String("L"))
        return QStringLiteral("Verlust");
    if (a == QLatin1String("N"))
        return QStringLiteral("Vernichtet");
    if (a == QLatin1String("R"))
        return QStringLiteral("Rückgabe");
    return art;
}

QString TeilungText(const QString& teilung)
{
    const QString t = teilung.trimmed();
    if (t == QLatin1String("F"))
        return QStringLiteral("nein");
    if (t == QLatin1String("1"))
        return QStringLiteral("1. Hälfte");
    return QStringLiteral("2. Hälfte");
}

QString StationText(const QString& code)
{
    int index = -1;
    if (!BesamungFunc::StationIndex(code.trimmed(), index))
        return QStringLiteral("Fehler!");
    return BesamungConst::Stationen()[size_t(index)].Kurzname;
}

int AnzahlVerwendungen(const QString& art, double anzahl)
{
    if (art.trimmed() == QLatin1String("B"))
        return 1;
    const double ganz = std::floor(anzahl);
    return ganz >= 1 ? int(ganz) : 1;
}

QString ZumTierSQL(int portion)
{
    return QStringLiteral(
               "SELECT S.ID, S.NAME, S.NUMMER FROM T_CONTAINER_VERWENDUNG V\rLEFT JOIN "
               "(T_BESAMUNGEN B JOIN T_STAMMDATEN S\rON B.TIER = S.ID) ON V.BESAMUNG = B.ID\r"
               "WHERE V.PORTION = %1 AND S.ID IS NOT NULL ORDER BY V.DATUM, V.ART")
        .arg(portion);
}

double PortionBestand(db::Transaction& tr, int portion)
{
    db::Query q(tr, QStringLiteral(
                        "SELECT P.ANZAHL_GESAMT, (SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG V "
                        "WHERE V.PORTION = P.ID AND V.PORTIONSTEILUNG = 'F'), (SELECT COUNT(*) "
                        "FROM T_CONTAINER_VERWENDUNG V WHERE V.PORTION = P.ID AND "
                        "V.PORTIONSTEILUNG <> 'F') FROM T_CONTAINER_PORTION P WHERE P.ID = :ID"));
    q.Param(QStringLiteral("ID")).SetInteger(portion);
    q.Open();
    if (q.Eof())
        return 0;
    return Bestand(q.Field(0).AsInteger(), q.Field(1).AsInteger(), q.Field(2).AsInteger());
}

namespace {

void MitID(db::Transaction& tr, const QString& sql, int id)
{
    db::Query q(tr, sql);
    q.Param(QStringLiteral("ID")).SetInteger(id);
    q.Execute();
}

}  // namespace

void LieferungLoeschen(db::Transaction& tr, int lieferung)
{
    MitID(tr, QStringLiteral("EXECUTE PROCEDURE P_DO_CONTAINER_LIEFER_LOESCHEN(:ID)"), lieferung);
}

void PortionLoeschen(db::Transaction& tr, int portion)
{
    MitID(tr, QStringLiteral("EXECUTE PROCEDURE P_DO_CONTAINER_PORTION_LOESCHEN(:ID)"), portion);
}

void VerwendungLoeschen(db::Transaction& tr, int verwendung)
{
    MitID(tr, QStringLiteral("DELETE FROM T_CONTAINER_VERWENDUNG WHERE ID = :ID"), verwendung);
}

void WeitereVerwendungen(db::Transaction& tr, int anzahl, const QString& art, const QDate& datum,
                         int portion, const QString& teilung)
{
    if (anzahl <= 0)
        return;
    db::Query q(tr,
                QStringLiteral("INSERT INTO T_CONTAINER_VERWENDUNG (ART, BESAMUNG, DATUM, PORTION, "
                               "PORTIONSTEILUNG) VALUES (:ART, NULL, :DATUM, :PORTION, "
                               ":PORTIONSTEILUNG)"));
    for (int i = 0; i < anzahl; ++i) {
        q.Param(QStringLiteral("ART")).SetString(art);
        q.Param(QStringLiteral("DATUM")).SetDate(datum);
        q.Param(QStringLiteral("PORTION")).SetInteger(portion);
        q.Param(QStringLiteral("PORTIONSTEILUNG")).SetString(teilung);
        q.Execute();
    }
}

}  // namespace Container
