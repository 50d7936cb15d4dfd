#include "TierSpeicher.h"

#include <Datenmodul.h>

#include <Abort.h>
#include <DataSet.h>
#include <Error.h>
#include <Query.h>
#include <Transaction.h>
#include <UpdateConflict.h>

#include <memory>
#include <stdexcept>

using namespace Stammdaten;

namespace {

void DatumSetzen(db::Query& q, const char* name, const QDate& d)
{
    q.Param(QString::fromLatin1(name)).SetDate(d);
}

void TextSetzen(db::Query& q, const char* name, const QString& s)
{
    if (s.isEmpty())
        q.Param(QString::fromLatin1(name)).SetNull();
    else
        q.Param(QString::fromLatin1(name)).SetString(s);
}

// What the card writes of a stored animal.
QString AendernSQL()
{
    return QStringLiteral(
        "UPDATE T_STAMMDATEN SET NUMMER = :NUMMER, KNR = :KNR, NAME = :NAME, GEBDAT = :GEBDAT, "
        "GESCHLECHT = :GESCHLECHT, VATER = :VATER, VATERNR = :VATERNR, MUTTER = :MUTTER, "
        "MUTTERNR = :MUTTERNR, GEKAUFT = :GEKAUFT, GEKAUFTBEM = :GEKAUFTBEM, VERKAUFT = "
        ":VERKAUFT, VERKAUFTBEM = :VERKAUFTBEM, RINDERN = :RINDERN, STATUS = :STATUS, STATUSEXT = "
        ":STATUSEXT, RASSE = :RASSE, TROCKEN = :TROCKEN, ABGANGSGRUND = :ABGANGSGRUND WHERE ID = "
        ":OLD_ID");
}

}  // namespace

TTierSpeicher::TTierSpeicher(TDM& dm) : dm_(dm) {}

TTierSatz TTierSpeicher::Laden(int id)
{
    db::Query q(dm_.TAStammdaten, QStringLiteral("SELECT * FROM T_STAMMDATEN WHERE ID = :TIER"));
    q.Param(QStringLiteral("TIER")).SetInteger(id);
    q.Open();
    if (q.Eof())
        throw std::runtime_error("Das Tier " + std::to_string(id) + " ist nicht vorhanden.");
    auto f = [&q](const char* n) -> const db::Value& { return q.Field(QString::fromLatin1(n)); };
    TTierSatz s;
    s.id = id;
    s.tier = {f("NUMMER").AsString(), f("GEBDAT").AsDate(),      f("GESCHLECHT").AsString(),
              f("STATUS").AsString(), f("STATUSEXT").AsString(), f("GEKAUFT").AsDate(),
              f("VERKAUFT").AsDate(), f("RINDERN").AsDate(),     f("TROCKEN").AsDate()};
    s.knr = f("KNR").IsNull() ? 0 : f("KNR").AsInteger();
    s.name = f("NAME").AsString();
    s.vater = f("VATER").AsString();
    s.vaterNr = f("VATERNR").AsString();
    s.mutter = f("MUTTER").AsString();
    s.mutterNr = f("MUTTERNR").AsString();
    s.gekauftBem = f("GEKAUFTBEM").AsString();
    s.verkauftBem = f("VERKAUFTBEM").AsString();
    s.rasse = f("RASSE").AsInteger();
    s.abgangsgrund = f("ABGANGSGRUND").IsNull() ? -1 : f("ABGANGSGRUND").AsInteger();
    const db::UpdateStatement update(AendernSQL());
    for (const QString& spalte : update.Columns())
        s.geladen.insert(spalte, q.Field(spalte).AsVariant());
    return s;
}

TTierSatz TTierSpeicher::Neu()
{
    TTierSatz s;
    s.tier.geschlecht = QStringLiteral("W");
    s.tier.status = QStringLiteral("J");
    s.tier.statusExt = QStringLiteral("N");
    s.rasse = dm_.SQLWertInteger(
        dm_.TAStammdaten, QStringLiteral("SELECT FIRST 1 ID FROM T_RASSEN WHERE VERWENDET = 'T'"));
    return s;
}

void TTierSpeicher::Geschichte(const TTierSatz& satz, bool& hatBesamungen, bool& hatKalbungen)
{
    hatBesamungen = hatKalbungen = false;
    if (satz.id <= 0 || satz.tier.geschlecht != QLatin1String("W"))
        return;
    const QVariantMap p{{QStringLiteral("ID"), satz.id}};
    hatBesamungen =
        dm_.SQLWertInteger(dm_.TAStammdaten,
                           QStringLiteral("SELECT COUNT(*) FROM P_GET_AKT_BESAMUNGEN(:ID)"), p) > 0;
    hatKalbungen = dm_.SQLWertInteger(
                       dm_.TAStammdaten,
                       QStringLiteral("SELECT COUNT(*) FROM T_KALBUNGEN WHERE TIER = :ID"), p) > 0;
}

std::optional<TZeitraumFehler> TTierSpeicher::ZeitraeumePruefen(const TTierSatz& satz,
                                                                QString& schluessel)
{
    QList<TZeitraum> zeitraeume;
    db::Query z(dm_.TAStammdaten,
                QStringLiteral("SELECT ID, VON, BIS FROM P_GET_BETRIEBSSTAETTEN(:TIER)"));
    z.Param(QStringLiteral("TIER")).SetInteger(satz.id);
    for (z.Open(); !z.Eof(); z.Next())
        zeitraeume << TZeitraum{z.Field(0).AsInteger(), z.Field(1).AsDate(), z.Field(2).AsDate()};
    const TTier& t = satz.tier;
    schluessel = ZeitraumSchluessel(zeitraeume, t.gebdat, t.gekauft, t.verkauft);
    return BetriebsstaettenPruefen(zeitraeume, t.gebdat, t.gekauft, t.verkauft);
}

TTierSpeicher::TErgebnis TTierSpeicher::Speichern(TTierSatz& satz, const QDate& heute,
                                                  bool meldungAuto, const QString& akzeptiert)
{
    TErgebnis e;
    TTier tier = satz.tier;
    TrockenAnpassen(tier, heute);
    bool besamungen = false, kalbungen = false;
    Geschichte(satz, besamungen, kalbungen);
    e.fehler = TierPruefen(tier, besamungen, kalbungen, heute);
    if (!e.fehler && satz.rasse <= 0)
        e.fehler = TFehler{0, QStringLiteral("Sie müssen eine Rasse für das Tier auswählen."),
                           TFeld::Rasse};
    if (e.fehler)
        return e;
    const bool neu = satz.id <= 0;
    QDate altGekauft, altVerkauft;
    bool gelesen = true;
    if (!neu) {
        TTierSatz geprueft = satz;
        geprueft.tier = tier;
        e.zeitraumFehler = ZeitraeumePruefen(geprueft, e.zeitraumSchluessel);
        if (e.zeitraumFehler && e.zeitraumSchluessel == akzeptiert)
            e.zeitraumFehler.reset();
        if (e.zeitraumFehler)
            return e;
        try {
            const QVariantMap p{{QStringLiteral("TIER"), satz.id}};
            altGekauft = dm_.SQLWertDatum(
                dm_.TAStammdaten,
                QStringLiteral("SELECT GEKAUFT FROM T_STAMMDATEN WHERE ID = :TIER"), p);
            altVerkauft = dm_.SQLWertDatum(
                dm_.TAStammdaten,
                QStringLiteral("SELECT VERKAUFT FROM T_STAMMDATEN WHERE ID = :TIER"), p);
        } catch (const std::exception&) {
            gelesen = false;
        }
    }
    e.meldungen = MeldungenBestimmen(neu, tier, altGekauft, altVerkauft, gelesen, meldungAuto);

    const QString aendern = AendernSQL();
    const db::UpdateStatement update(aendern);
    const auto binden = [&](db::Query& q) {
        q.Param(QStringLiteral("NUMMER")).SetString(tier.nummer.trimmed().toUpper());
        if (satz.knr > 0)
            q.Param(QStringLiteral("KNR")).SetInteger(satz.knr);
        else
            q.Param(QStringLiteral("KNR")).SetNull();
        TextSetzen(q, "NAME", satz.name);
        DatumSetzen(q, "GEBDAT", tier.gebdat);
        q.Param(QStringLiteral("GESCHLECHT")).SetString(tier.geschlecht);
        TextSetzen(q, "VATER", satz.vater);
        TextSetzen(q, "VATERNR", satz.vaterNr.toUpper());
        TextSetzen(q, "MUTTER", satz.mutter);
        TextSetzen(q, "MUTTERNR", satz.mutterNr.toUpper());
        DatumSetzen(q, "GEKAUFT", tier.gekauft);
        TextSetzen(q, "GEKAUFTBEM", satz.gekauftBem);
        DatumSetzen(q, "VERKAUFT", tier.verkauft);
        TextSetzen(q, "VERKAUFTBEM", satz.verkauftBem);
        DatumSetzen(q, "RINDERN", tier.rindern);
        q.Param(QStringLiteral("STATUS")).SetString(tier.status);
        q.Param(QStringLiteral("STATUSEXT")).SetString(tier.statusExt);
        q.Param(QStringLiteral("RASSE")).SetInteger(satz.rasse);
        DatumSetzen(q, "TROCKEN", tier.trocken);
        if (satz.abgangsgrund >= 0)
            q.Param(QStringLiteral("ABGANGSGRUND")).SetInteger(satz.abgangsgrund);
        else
            q.Param(QStringLiteral("ABGANGSGRUND")).SetNull();
        if (!neu)
            q.Param(QStringLiteral("OLD_ID")).SetInteger(satz.id);
    };
    // Writes the record; false when the row no longer holds the values as read.
    const auto schreiben = [&](db::Query& q, bool pruefen) {
        binden(q);
        if (pruefen) {
            for (const QString& spalte : update.Columns())
                q.Param(QStringLiteral("OLD_") + spalte).SetVariant(satz.geladen.value(spalte));
        }
        q.Execute();
        return neu || q.RowsAffected() > 0;
    };
    std::unique_ptr<db::Query> q;
    if (neu) {
        q = std::make_unique<db::Query>(
            dm_.TAStammdaten,
            QStringLiteral(
                "INSERT INTO T_STAMMDATEN (NUMMER, KNR, NAME, GEBDAT, GESCHLECHT, VATER, "
                "VATERNR, MUTTER, MUTTERNR, GEKAUFT, GEKAUFTBEM, VERKAUFT, VERKAUFTBEM, "
                "RINDERN, STATUS, STATUSEXT, RASSE, TROCKEN, ABGANGSGRUND) VALUES (:NUMMER, "
                ":KNR, :NAME, :GEBDAT, :GESCHLECHT, :VATER, :VATERNR, :MUTTER, :MUTTERNR, "
                ":GEKAUFT, :GEKAUFTBEM, :VERKAUFT, :VERKAUFTBEM, :RINDERN, :STATUS, "
                ":STATUSEXT, :RASSE, :TROCKEN, :ABGANGSGRUND) RETURNING ID"));
        schreiben(*q, false);
    } else if (satz.geladen.isEmpty()) {
        q = std::make_unique<db::Query>(dm_.TAStammdaten, aendern);
        schreiben(*q, false);
    } else {
        q = std::make_unique<db::Query>(dm_.TAStammdaten, update.Guarded(update.Columns()));
        db::UpdateConflict konflikt;
        konflikt.table = update.Table();
        bool gemeldet = false;
        bool geschrieben = true;
        try {
            geschrieben = schreiben(*q, true);
        } catch (const db::Error& fehler) {
            if (!db::IsUpdateConflict(fehler))
                throw;
            // The engine's own report: another workstation committed while this one waited.
            gemeldet = true;
            konflikt.overwritable =
                dm_.TAStammdaten.Options().isolation != db::TransactionOptions::Snapshot;
        }
        if (!geschrieben) {
            db::Query d(dm_.TAStammdaten, update.Differences(update.Columns()));
            d.Param(QStringLiteral("OLD_ID")).SetInteger(satz.id);
            for (const QString& spalte : update.Columns())
                d.Param(QStringLiteral("OLD_") + spalte).SetVariant(satz.geladen.value(spalte));
            d.Open();
            konflikt.deleted = d.Eof();
            konflikt.overwritable = !konflikt.deleted;
            for (int i = 0; !konflikt.deleted && i < d.FieldCount(); ++i)
                if (d.Field(i).AsInteger() != 0)
                    konflikt.changed << update.Columns().value(i);
            // Changed back in the meantime: nothing to write over.
            gemeldet = konflikt.deleted || !konflikt.changed.isEmpty();
            if (!gemeldet) {
                q = std::make_unique<db::Query>(dm_.TAStammdaten, aendern);
                schreiben(*q, false);
            }
        }
        if (gemeldet) {
            switch (db::AskConflict(konflikt)) {
                case db::ConflictAnswer::Overwrite:
                    q = std::make_unique<db::Query>(dm_.TAStammdaten, aendern);
                    schreiben(*q, false);
                    break;
                case db::ConflictAnswer::Reload:
                    e.neuLaden = true;
                    return e;
                case db::ConflictAnswer::Cancel:
                    throw db::Abort();
            }
        }
    }
    if (neu)
        satz.id = q->Field(0).AsInteger();
    satz.geladen.clear();
    for (const QString& spalte : update.Columns())
        satz.geladen.insert(spalte, q->Param(spalte).AsVariant());
    satz.tier = tier;
    satz.tier.nummer = tier.nummer.trimmed().toUpper();
    dm_.TAStammdaten.CommitRetaining();
    return e;
}

void TTierSpeicher::MeldungAnlegen(int tierID, int meldung, const QDate& datum)
{
    THITMeldung m;
    m.TierID = tierID;
    m.Meldung = meldung;
    m.Datum = datum;
    dm_.HITMeldungAnlegen(dm_.TAStammdaten, m);
    dm_.TAStammdaten.CommitRetaining();
}

int TTierSpeicher::MutterSuchen(const TTierSatz& satz)
{
    const QString teil = QStringLiteral(
        " FROM T_STAMMDATEN S JOIN T_KALBUNGEN K ON K.TIER = S.ID WHERE ((UPPER(S.NAME COLLATE "
        "DE_DE) = :NAME) OR (UPPER(S.NUMMER COLLATE DE_DE) = :NUMMER)) AND (K.DATUM = :GEBDAT)");
    const QVariantMap p{{QStringLiteral("NAME"), satz.mutter.toUpper()},
                        {QStringLiteral("NUMMER"), satz.mutterNr.toUpper()},
                        {QStringLiteral("GEBDAT"), satz.tier.gebdat}};
    if (dm_.SQLWertInteger(dm_.TAStammdaten, QStringLiteral("SELECT DISTINCT COUNT(*)") + teil,
                           p) != 1)
        return 0;
    return dm_.SQLWertInteger(dm_.TAStammdaten, QStringLiteral("SELECT DISTINCT S.ID") + teil, p);
}

QList<int> TTierSpeicher::Kaelber(int kalbungID)
{
    QList<int> r;
    db::Query q(dm_.TAStammdaten,
                QStringLiteral("SELECT ID FROM P_GET_KAELBER_V_KALBUNG(:KALBUNG_ID)"));
    q.Param(QStringLiteral("KALBUNG_ID")).SetInteger(kalbungID);
    for (q.Open(); !q.Eof(); q.Next())
        r << q.Field(0).AsInteger();
    return r;
}

QDate TTierSpeicher::TrockenBerechnen(int tierID)
{
    return dm_.SQLWertDatum(dm_.TAStammdaten,
                            QStringLiteral("SELECT TROCKEN FROM P_GET_TROCKENSTELLEN(:TIER)"),
                            {{QStringLiteral("TIER"), tierID}});
}

int TTierSpeicher::RindernZyklus(int rasse)
{
    return dm_.SQLWertInteger(
        dm_.TAStammdaten, QStringLiteral("SELECT NAECHSTES_RINDERN FROM T_RASSEN WHERE ID = :ID"),
        {{QStringLiteral("ID"), rasse}});
}

int TTierSpeicher::ZeitraumAnzahl(int tierID)
{
    return dm_.SQLWertInteger(dm_.TAStammdaten,
                              QStringLiteral("SELECT COUNT(*) FROM P_GET_BETRIEBSSTAETTEN(:TIER)"),
                              {{QStringLiteral("TIER"), tierID}});
}

std::optional<TTierSpeicher::TInfo> TTierSpeicher::Info(int tierID)
{
    db::Query q(dm_.TAStammdaten,
                QStringLiteral(
                    "SELECT CAST(ZRNV_ALTER(T.GEBDAT, T.VERKAUFT, CAST('NOW' AS DATE)) AS "
                    "VARCHAR(15)), (SELECT BEZEICHNUNG FROM P_GET_LETZTE_BETRIEBSSTAETTE(T.ID)), "
                    "(SELECT TAGE FROM P_KUH_TAG_INFO(T.ID)), "
                    "(SELECT SOLL_KALBEN FROM P_GET_SOLL_KALBEN(T.ID)), "
                    "(SELECT STATUSIDX FROM P_STATUS_INDEX(T.ID)) "
                    "FROM T_STAMMDATEN T WHERE T.ID = :TIER"));
    q.Param(QStringLiteral("TIER")).SetInteger(tierID);
    q.Open();
    if (q.Eof())
        return std::nullopt;
    TInfo i;
    i.alter = q.Field(0).AsString();
    i.betriebsstaette = q.Field(1).AsString();
    i.tage = q.Field(2).AsString();
    i.sollKalben = q.Field(3).AsDate();
    if (!q.Field(4).IsNull())
        i.statusIndex = q.Field(4).AsInteger();
    return i;
}

QStringList TTierSpeicher::BisherigeBemerkungen(TBemerkung spalte)
{
    QStringList werte;
    dm_.SQLListe(dm_.TAStammdaten,
                 QStringLiteral("SELECT DISTINCT %1 FROM T_STAMMDATEN ORDER BY %1")
                     .arg(spalte == TBemerkung::Gekauft ? QStringLiteral("GEKAUFTBEM")
                                                        : QStringLiteral("VERKAUFTBEM")),
                 {}, 0, werte);
    return werte;
}

namespace {

TTierSpeicher::TEintraege Eintraege(db::Transaction& tr, const QString& sql)
{
    TTierSpeicher::TEintraege r;
    db::Query q(tr, sql);
    for (q.Open(); !q.Eof(); q.Next())
        r.append({q.Field(0).AsInteger(), q.Field(1).AsString()});
    return r;
}

}  // namespace

TTierSpeicher::TEintraege TTierSpeicher::Rassen(db::Transaction& tr)
{
    return Eintraege(tr,
                     QStringLiteral("SELECT ID, BEZEICHNUNG FROM T_RASSEN WHERE VERWENDET = 'T'"));
}

TTierSpeicher::TEintraege TTierSpeicher::Betriebsstaetten(db::Transaction& tr)
{
    return Eintraege(
        tr, QStringLiteral("SELECT ID, BEZEICHNUNG FROM T_BETRIEBSSTAETTEN ORDER BY BEZEICHNUNG"));
}

int TTierSpeicher::StandardBetriebsstaette(db::Transaction& tr)
{
    db::Query q(tr, QStringLiteral("SELECT ID FROM T_BETRIEBSSTAETTEN WHERE STANDARD = 'T' "
                                   "ORDER BY BEZEICHNUNG DESC"));
    q.Open();
    return q.Eof() ? 0 : q.Field(0).AsInteger();
}

void TTierSpeicher::ListenEinrichten(const TListen& l)
{
    l.zeitraeume.SetSelectSQL(
        QStringLiteral("select ID, STALL, BEZEICHNUNG, VON, BIS, GRUPPE, BNR, GV from "
                       "P_GET_BETRIEBSSTAETTEN(:ID)"));
    l.zeitraeume.SetModifySQL(QStringLiteral(
        "update T_STAELLE set VON = :VON, BIS = :BIS, STALL = :STALL where ID = :OLD_ID"));
    l.zeitraeume.SetDeleteSQL(QStringLiteral("delete from T_STAELLE where ID = :OLD_ID"));
    l.zeitraeume.SetInsertSQL(
        QStringLiteral("insert into T_STAELLE (ID, TIER, VON, BIS, STALL) values (:ID, :TIER, "
                       ":VON, :BIS, :STALL)"));

    l.besamungen.SetSelectSQL(QStringLiteral("SELECT * FROM P_GET_AKT_BESAMUNGEN(:ID)"));
    l.kalbungen.SetSelectSQL(QStringLiteral(
        "select ID, NR, DATUM, GESCHLECHT, NUMMER, VERLAUF, STIER, HBNR, ANZAHL_BES, BEMERKUNG "
        "from P_get_kalbungen_tier(:ID)"));

    // The list text is computed by the card rather than read from the table's computed column,
    // so that every remark, however long and however stored, is cut the same way to its room.
    l.bemerkungen.SetSelectSQL(QStringLiteral(
        "select ID, TIER, DATUM, BEMERKUNG from T_BEMERKUNGEN where TIER = :TIER order by DATUM"));
    l.bemerkungen.SetInsertSQL(QStringLiteral(
        "insert into T_BEMERKUNGEN (ID, TIER, DATUM, BEMERKUNG) values (:ID, :TIER, :DATUM, "
        ":BEMERKUNG)"));
    l.bemerkungen.SetModifySQL(QStringLiteral(
        "update T_BEMERKUNGEN set DATUM = :DATUM, BEMERKUNG = :BEMERKUNG where ID = :OLD_ID"));
    l.bemerkungen.SetDeleteSQL(QStringLiteral("delete from T_BEMERKUNGEN where ID = :OLD_ID"));
    l.bemerkungen.SetGenerator(QStringLiteral("ID"), QStringLiteral("G_BEMERKUNGEN_ID"));

    l.mlp.SetSelectSQL(QStringLiteral("SELECT * FROM P_GET_MLP_TIER(:TIER)"));
}

QString TTierSpeicher::SchnellwahlAktuelle()
{
    return QStringLiteral(
        "SELECT STAMM.ID, STAMM.NAME, STAMM.NUMMER FROM T_STAMMDATEN STAMM, V_TIERWAHL_AKTUELL T "
        "WHERE (STAMM.ID = T.ID)");
}

QString TTierSpeicher::SchnellwahlTier(int tierID)
{
    return QStringLiteral("SELECT ID, NAME, NUMMER FROM T_STAMMDATEN WHERE ID = ") +
           QString::number(tierID);
}

QString TTierSpeicher::RasseName(db::Transaction& tr, int rasse)
{
    db::Query q(tr, QStringLiteral("SELECT BEZEICHNUNG FROM T_RASSEN WHERE ID = :ID"));
    q.Param(QStringLiteral("ID")).SetInteger(rasse);
    q.Open();
    return q.Eof() ? QString() : q.Field(0).AsString();
}

namespace {

// Runs a delete procedure of the breeding data (parameters TIER_ID, <art>_ID, NULL for a row
// without one, and <art>_NR).
void ZuchtdatenLoeschen(TDM& dm, const QString& sql, const QString& art, int tierID,
                        std::optional<int> id, int nr)
{
    db::Query q(dm.TAStammdaten, sql);
    if (id)
        q.Param(art + QStringLiteral("_ID")).SetInteger(*id);
    else
        q.Param(art + QStringLiteral("_ID")).SetNull();
    q.Param(QStringLiteral("TIER_ID")).SetInteger(tierID);
    q.Param(art + QStringLiteral("_NR")).SetInteger(nr);
    q.Execute();
    dm.TAStammdaten.CommitRetaining();
}

}  // namespace

void TTierSpeicher::BesamungLoeschen(int tierID, std::optional<int> besamungID, int nr)
{
    ZuchtdatenLoeschen(dm_,
                       QStringLiteral("EXECUTE PROCEDURE P_DO_BESAMUNG_LOESCHEN(:TIER_ID, "
                                      ":BESAMUNG_ID, NULL, :BESAMUNG_NR)"),
                       QStringLiteral("BESAMUNG"), tierID, besamungID, nr);
}

void TTierSpeicher::KalbungLoeschen(int tierID, std::optional<int> kalbungID, int nr)
{
    ZuchtdatenLoeschen(dm_,
                       QStringLiteral("EXECUTE PROCEDURE P_DO_KALBUNG_LOESCHEN(:KALBUNG_ID, "
                                      ":TIER_ID, :KALBUNG_NR)"),
                       QStringLiteral("KALBUNG"), tierID, kalbungID, nr);
}
