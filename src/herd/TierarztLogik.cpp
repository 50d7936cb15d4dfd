#include "TierarztLogik.h"

#include <DBTools.h>

#include <Error.h>
#include <Query.h>
#include <Transaction.h>

#include <functional>

namespace Tierarzt {

const QString MengenSQL = QStringLiteral(
    "SELECT FIRST 10 MENGE FROM T_TIERARZTANWENDUNG WHERE MENGE IS NOT NULL AND MENGE <> '' "
    "GROUP BY MENGE ORDER BY MAX(DATUM) DESC");

TKnoepfe Knoepfe(const QString& bestandsbuch, bool listeLeer)
{
    TKnoepfe k;
    const QString s =
        bestandsbuch.trimmed().isEmpty() ? QStringLiteral("N") : bestandsbuch.trimmed();
    k.loeschenText =
        s == QLatin1String("B") ? QStringLiteral("Stornieren") : QStringLiteral("Löschen");
    if (listeLeer)
        return k;
    k.bearbeiten = s == QLatin1String("J") || s == QLatin1String("N");
    k.buchen = s == QLatin1String("J");
    k.loeschen = s != QLatin1String("S");
    return k;
}

TAnwendung Folgeanwendung(const TAnwendung& letzte)
{
    TAnwendung neu = letzte;
    neu.id = 0;
    neu.datum = letzte.datum.isValid() ? letzte.datum.addDays(1) : QDate();
    return neu;
}

QString ZweiZeilen(const QString& oben, const QString& unten)
{
    return oben + QLatin1Char('\n') + unten;
}

QString WartezeitText(int milch, int fleisch)
{
    return QStringLiteral("%1 \n%2 ").arg(milch).arg(fleisch);
}

QString LoeschFrage(const QString& bestandsbuch, bool gruppe)
{
    const bool storno = bestandsbuch == QLatin1String("B");
    if (!gruppe)
        return storno ? QStringLiteral("Wollen Sie die ausgewählte Behandlung wirklich stornieren?")
                      : QStringLiteral("Wollen Sie die ausgewählte Behandlung wirklich löschen?");
    return storno ? QStringLiteral(
                        "Diese Behandlung ist eine Gruppenbehandlung.\rDie Stornierung ist "
                        "für alle betroffenen Tiere gültig.\rWollen Sie die ausgewählte "
                        "Behandlung wirklich stornieren?")
                  : QStringLiteral(
                        "Diese Behandlung ist eine Gruppenbehandlung.\rDie Löschung ist für "
                        "alle betroffenen Tiere gültig.\rWollen Sie die ausgewählte "
                        "Behandlung wirklich löschen?");
}

QString GruppenHinweis(int anzahl)
{
    if (anzahl <= MaxTiereImBestandsbuch)
        return {};
    return QStringLiteral(
               "Sie haben %1 Tiere ausgewählt.\rIm Bestandsbuch können aus Gründen der "
               "Darstellung\rmaximal %2 Tiere explizit aufgeführt werden.\rGeben Sie "
               "deshalb im Feld >Standort< auch\rdie Tiergruppe an,\rz.B.: \"Kuhstall, "
               "laktierende Kühe\".")
        .arg(anzahl)
        .arg(MaxTiereImBestandsbuch);
}

QString PflichtfeldFrage(const QString& feld)
{
    return QStringLiteral(
               "Das Feld >%1< ist im Bestandsbuch notwendig\rWollen Sie es trotzdem leer "
               "belassen?")
        .arg(feld);
}

QString MaximalAnwendungen()
{
    return QStringLiteral(
               "Es können maximal %1 Anwendungen eingegeben werden!\r\rLösung: Geben Sie "
               "eine weitere Behandlung ein.")
        .arg(MaxAnwendungen);
}

QString TierText(db::Transaction& tr, int tier)
{
    db::Query q(tr, QStringLiteral("SELECT NUMMER, NAME FROM T_STAMMDATEN WHERE ID = :ID"));
    q.Param(QStringLiteral("ID")).SetInteger(tier);
    q.Open();
    if (q.Eof())
        return QStringLiteral("mit der ID %1").arg(tier);
    const QString nummer = q.Field(0).AsString().trimmed();
    const QString name = q.Field(1).AsString().trimmed();
    return name.isEmpty() ? nummer : QStringLiteral("%1 (%2)").arg(nummer, name);
}

namespace {

QString Fehlertext(const db::Error& e)
{
    QString text;
    if (DBTools::DBFehlerText(e, text))
        return text;
    // A refusal raised by a trigger reads "exception n", "-NAME", "-text", "-At trigger ...":
    // the user is shown its text.
    constexpr long IscExcept = 335544517;
    const QStringList zeilen = e.Message().split(QLatin1Char('\n'));
    if (e.EngineCode() == IscExcept && zeilen.size() >= 3 && zeilen[2].startsWith(QLatin1Char('-')))
        return zeilen[2].mid(1).trimmed();
    return e.Message();
}

void Ausfuehren(db::Transaction& tr, const std::function<void()>& arbeit)
{
    tr.Start();
    try {
        arbeit();
        tr.Commit();
    } catch (const db::Error& e) {
        if (tr.Active())
            tr.Rollback();
        throw db::Error(Fehlertext(e));
    }
}

void Statement(db::Transaction& tr, const QString& sql, int leistung)
{
    db::Query q(tr, sql);
    q.Param(QStringLiteral("ID")).SetInteger(leistung);
    q.Execute();
}

}  // namespace

void Buchen(db::Transaction& tr, int leistung)
{
    Ausfuehren(tr, [&] {
        Statement(tr,
                  QStringLiteral("UPDATE T_TIERARZTLEISTUNG SET BESTANDSBUCH = 'B' WHERE ID = :ID"),
                  leistung);
    });
}

void Stornieren(db::Transaction& tr, int leistung)
{
    Ausfuehren(tr, [&] {
        Statement(tr,
                  QStringLiteral("UPDATE T_TIERARZTLEISTUNG SET BESTANDSBUCH = 'S' WHERE ID = :ID"),
                  leistung);
    });
}

void Loeschen(db::Transaction& tr, int leistung)
{
    // Explicit rather than by the cascade of the keys, so that nothing of the treatment is left
    // behind when a key was created without it.
    Ausfuehren(tr, [&] {
        Statement(tr, QStringLiteral("DELETE FROM T_TIERARZTANWENDUNG WHERE LEISTUNG = :ID"),
                  leistung);
        Statement(tr, QStringLiteral("DELETE FROM T_TIERARZTGRUPPE WHERE LEISTUNG = :ID"),
                  leistung);
        Statement(tr, QStringLiteral("DELETE FROM T_TIERARZTLEISTUNG WHERE ID = :ID"), leistung);
    });
}

void TiereZuordnen(db::Transaction& tr, int leistung, const QList<int>& tiere,
                   const QHash<int, QString>& texte)
{
    db::Query q(
        tr,
        QStringLiteral("INSERT INTO T_TIERARZTGRUPPE (TIER, LEISTUNG)\rVALUES (:TIER, :LEISTUNG)"));
    for (int tier : tiere) {
        try {
            q.Param(QStringLiteral("TIER")).SetInteger(tier);
            q.Param(QStringLiteral("LEISTUNG")).SetInteger(leistung);
            q.Execute();
        } catch (const db::Error& e) {
            db::Query da(tr, QStringLiteral("SELECT COUNT(*) FROM T_STAMMDATEN WHERE ID = :ID"));
            da.Param(QStringLiteral("ID")).SetInteger(tier);
            da.Open();
            const bool geloescht = da.Field(0).AsInteger() == 0;
            const QString name =
                geloescht && texte.contains(tier) ? texte.value(tier) : TierText(tr, tier);
            const QString ursache =
                geloescht ? QStringLiteral("Das Tier ist nicht mehr vorhanden.") : Fehlertext(e);
            throw db::Error(
                QStringLiteral("Die Behandlung konnte für das Tier %1 nicht gespeichert "
                               "werden:\r%2\r\rDie Behandlung wurde für keines der Tiere "
                               "gespeichert.")
                    .arg(name, ursache));
        }
    }
}

}  // namespace Tierarzt
