#include "PrognoseDatenbank.h"

#include <Grundeinstellungen.h>
#include <ProgDatum.h>

#include <Transaction.h>

namespace {

// The animals present at some time of the period; BIS is the day after its last day.
const QString TierBedingung = QStringLiteral(
    "WHERE S.GEBDAT <= :BIS\r"
    "AND (S.VERKAUFT IS NULL OR S.VERKAUFT >= :VON)\r"
    "AND (S.GEKAUFT IS NULL OR S.GEKAUFT <= :BIS)");

int Tag(const db::Value& v)
{
    return v.IsNull() ? 0 : int(v.AsDate().toJulianDay());
}

int Zahl(const db::Value& v)
{
    return v.IsNull() ? 0 : v.AsInteger();
}

}  // namespace

TPrognoseDatenbank::TPrognoseDatenbank(db::Transaction& transaktion,
                                       const TEinstellungen* einstellungen)
    : transaktion_(transaktion),
      einstellungen_(einstellungen),
      tiere_(transaktion,
             QStringLiteral("SELECT (SELECT DATUM FROM P_GET_ERSTE_KALBUNG(S.ID)) KUHSEIT,\r"
                            "S.ID,\r"
                            "S.GEBDAT,\r"
                            "S.GESCHLECHT,\r"
                            "S.STATUS,\r"
                            "S.STATUSEXT,\r"
                            "R.SOLL_KALBEN,\r"
                            "(SELECT COUNT(*) FROM T_BESAMUNGEN B WHERE B.TIER = S.ID) "
                            "BESAMUNGEN,\r"
                            "(SELECT MAX(B.DATUM) FROM T_BESAMUNGEN B WHERE B.TIER = S.ID) "
                            "LBESAMUNG,\r"
                            "(SELECT MAX(K.DATUM) FROM T_KALBUNGEN K WHERE K.TIER = S.ID) "
                            "LKALBUNG,\r"
                            "(SELECT MAX(B.DATUM) + R.SOLL_KALBEN FROM T_BESAMUNGEN B WHERE "
                            "B.Tier = S.ID) SOLLKALBEN\r"
                            "FROM T_STAMMDATEN S\r"
                            "JOIN T_RASSEN R\r"
                            "ON R.ID = S.RASSE\r") +
                 TierBedingung),
      // The stays of P_GET_BETRIEBSSTAETTEN for the whole herd at once.
      aufenthalte_(transaktion,
                   QStringLiteral("SELECT A.TIER, A.VON, A.BIS\r"
                                  "FROM T_STAELLE A\r"
                                  "JOIN T_BETRIEBSSTAETTEN B ON B.ID = A.STALL\r"
                                  "JOIN T_BETRIEBSGRUPPEN G ON G.ID = B.GRUPPE\r"
                                  "JOIN T_STAMMDATEN S ON S.ID = A.TIER\r") +
                       TierBedingung +
                       QStringLiteral("\rAND G.GV = 'T'\r"
                                      "AND ((:STALL = 0) OR (A.STALL = :STALL))\r"
                                      "ORDER BY A.TIER, A.VON, A.BIS NULLS LAST, A.ID")),
      // The calvings of P_GET_KALBUNGEN_TIER for the whole herd at once.
      kalbungen_(transaktion, QStringLiteral("SELECT K.TIER, K.DATUM, K.NR\r"
                                             "FROM T_KALBUNGEN K\r"
                                             "JOIN T_STAMMDATEN S ON S.ID = K.TIER\r") +
                                  TierBedingung +
                                  QStringLiteral("\rORDER BY K.TIER, K.DATUM, K.NR")),
      schluessel_(transaktion, QStringLiteral("SELECT * FROM T_GV_SCHLUESSEL WHERE ID = :ID")),
      ersterSchluessel_(
          transaktion, QStringLiteral("SELECT FIRST 1 * FROM T_GV_SCHLUESSEL ORDER BY BEZEICHNUNG"))
{
    if (!transaktion_.Active())
        transaktion_.Start();
    for (db::Query* q : {&tiere_, &aufenthalte_, &kalbungen_, &schluessel_, &ersterSchluessel_})
        q->Prepare();
}

int TPrognoseDatenbank::Heute()
{
    return int(ProgDatum::Heute().toJulianDay());
}

TPrognoseEinstellungen TPrognoseDatenbank::Einstellungen()
{
    TPrognoseEinstellungen e;
    if (einstellungen_) {
        e.MKalbVerkaufen = einstellungen_->GetPrognoseMKalbVerkaufen();
        e.MastVerkaufen = einstellungen_->GetPrognoseMastVerkaufen();
        e.KalbBesamen = einstellungen_->GetPrognoseKalbBesamen();
        e.KuhBesamen = einstellungen_->GetPrognoseKuhBesamen();
        e.MaxKuhzahl = einstellungen_->GetPrognoseMaxKuhzahl();
    }
    return e;
}

TGVFaktoren TPrognoseDatenbank::GVFaktoren()
{
    if (!transaktion_.Active())
        transaktion_.Start();
    schluessel_.Param(QStringLiteral("ID"))
        .SetInteger(einstellungen_ ? einstellungen_->GetGVSchluessel() : -1);
    db::Query* q = &schluessel_;
    q->Open();
    if (q->Eof()) {
        q->Close();
        q = &ersterSchluessel_;
        q->Open();
    }
    TGVFaktoren f;
    if (!q->Eof()) {
        const auto wert = [q](const char* spalte) {
            const db::Value& v = q->Field(QString::fromLatin1(spalte));
            return v.IsNull() ? 0.0 : v.AsDouble();
        };
        f.Bovantis = wert("BOVANTIS");
        f.Mutterkuh = wert("MUTTERKUH");
        f.Kalb6M = wert("KALB6M");
        f.M6M1J = wert("M6M1J");
        f.M1J2J = wert("M1J2J");
        f.MU2J = wert("MU2J");
        f.W6M1J = wert("W6M1J");
        f.W1J2J = wert("W1J2J");
        f.WU2J = wert("WU2J");
        f.P6M1J = wert("P6M1J");
        f.P1J2J = wert("P1J2J");
        f.PU2J = wert("PU2J");
    }
    q->Close();
    return f;
}

void TPrognoseDatenbank::Zeitraum(db::Query& q, int von, int ende)
{
    if (!transaktion_.Active())
        transaktion_.Start();
    q.Close();
    q.Param(QStringLiteral("VON")).SetDate(QDate::fromJulianDay(von));
    q.Param(QStringLiteral("BIS")).SetDate(QDate::fromJulianDay(ende));
}

std::vector<TPrognoseTier> TPrognoseDatenbank::Tiere(int von, int ende)
{
    Zeitraum(tiere_, von, ende);
    std::vector<TPrognoseTier> tiere;
    const int kuhSeit = tiere_.FieldIndex(QStringLiteral("KUHSEIT"));
    const int id = tiere_.FieldIndex(QStringLiteral("ID"));
    const int gebdat = tiere_.FieldIndex(QStringLiteral("GEBDAT"));
    const int geschlecht = tiere_.FieldIndex(QStringLiteral("GESCHLECHT"));
    const int status = tiere_.FieldIndex(QStringLiteral("STATUS"));
    const int statusExt = tiere_.FieldIndex(QStringLiteral("STATUSEXT"));
    const int tragezeit = tiere_.FieldIndex(QStringLiteral("SOLL_KALBEN"));
    const int besamungen = tiere_.FieldIndex(QStringLiteral("BESAMUNGEN"));
    const int lBesamung = tiere_.FieldIndex(QStringLiteral("LBESAMUNG"));
    const int lKalbung = tiere_.FieldIndex(QStringLiteral("LKALBUNG"));
    const int sollKalben = tiere_.FieldIndex(QStringLiteral("SOLLKALBEN"));
    for (tiere_.Open(); !tiere_.Eof(); tiere_.Next()) {
        TPrognoseTier t;
        t.ID = tiere_.Field(id).AsInteger();
        t.Geburt = Tag(tiere_.Field(gebdat));
        t.Geschlecht = tiere_.Field(geschlecht).AsString().trimmed();
        t.Status = tiere_.Field(status).AsString().trimmed();
        t.StatusExt = tiere_.Field(statusExt).AsString().trimmed();
        t.KuhSeit = Tag(tiere_.Field(kuhSeit));
        t.Tragezeit = Zahl(tiere_.Field(tragezeit));
        t.Besamungen = Zahl(tiere_.Field(besamungen));
        t.LetzteBesamung = Tag(tiere_.Field(lBesamung));
        t.LetzteKalbung = Tag(tiere_.Field(lKalbung));
        t.SollKalben = Tag(tiere_.Field(sollKalben));
        tiere.push_back(std::move(t));
    }
    tiere_.Close();
    return tiere;
}

std::map<int, std::vector<TAufenthalt>> TPrognoseDatenbank::Aufenthalte(int von, int ende,
                                                                        int stall)
{
    Zeitraum(aufenthalte_, von, ende);
    aufenthalte_.Param(QStringLiteral("STALL")).SetInteger(stall);
    std::map<int, std::vector<TAufenthalt>> aufenthalte;
    for (aufenthalte_.Open(); !aufenthalte_.Eof(); aufenthalte_.Next())
        aufenthalte[aufenthalte_.Field(0).AsInteger()].push_back(
            {Tag(aufenthalte_.Field(1)), Tag(aufenthalte_.Field(2))});
    aufenthalte_.Close();
    return aufenthalte;
}

std::map<int, std::vector<TKalbungNr>> TPrognoseDatenbank::Kalbungen(int von, int ende)
{
    Zeitraum(kalbungen_, von, ende);
    std::map<int, std::vector<TKalbungNr>> kalbungen;
    for (kalbungen_.Open(); !kalbungen_.Eof(); kalbungen_.Next())
        kalbungen[kalbungen_.Field(0).AsInteger()].push_back(
            {Tag(kalbungen_.Field(1)), Zahl(kalbungen_.Field(2))});
    kalbungen_.Close();
    return kalbungen;
}
