#include "FGrundeinstellungenDaten.h"

#include "DBTools.h"
#include "Grundeinstellungen.h"

#include <BesamungConst.h>
#include <Field.h>
#include <Query.h>

#include <QLocale>

#include <cmath>
#include <stdexcept>
#include <type_traits>

namespace GrundeinstellungenDaten {

const std::vector<Kategorie>& Kategorien()
{
    static const std::vector<Kategorie> kategorien{
        {TGrundKat::gkBetrieb, 0, QStringLiteral("Betrieb"), 13110},
        {TGrundKat::gkBetriebsgruppen, 9, QStringLiteral("Betriebsgruppen"), 13120},
        {TGrundKat::gkBetriebsstaetten, 9, QStringLiteral("Betriebsstätten"), 13130},
        {TGrundKat::gkRassen, 5, QStringLiteral("Rassen"), 13140},
        {TGrundKat::gkFruchtbarkeit, 2, QStringLiteral("Fruchtbarkeit"), 13150},
        {TGrundKat::gkEigenbesamung, 2, QStringLiteral("Eigenbesamung"), 13155},
        {TGrundKat::gkTermine, 6, QStringLiteral("Termine global"), 13160},
        {TGrundKat::gkPrognosen, 1, QStringLiteral("Prognosen"), 13170},
        {TGrundKat::gkGV, 10, QStringLiteral("GV Schlüssel"), 13180},
        {TGrundKat::gkHIT, 8, QStringLiteral("HI Tier"), 13190},
        {TGrundKat::gkHITSystem, 8, QStringLiteral("HI Tier System"), 13191},
        {TGrundKat::gkFarben, 3, QStringLiteral("Farben"), 13192},
        {TGrundKat::gkSicherung, 4, QStringLiteral("Sicherung"), 13193},
        {TGrundKat::gkUpdates, 4, QStringLiteral("Updates"), 13194},
    };
    return kategorien;
}

QString JaNeinSchluessel(bool wert)
{
    return wert ? QStringLiteral("1") : QStringLiteral("0");
}

bool JaNeinWert(const QString& schluessel)
{
    return schluessel.trimmed() == QLatin1String("1");
}

int ZeilenWert(const QString& text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double wert = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(wert) || std::fabs(wert) > 2147483647.0)
        return 0;
    return int(std::trunc(wert));
}

namespace {

template <int (TEinstellungen::*Get)() const, void (TEinstellungen::*Set)(const int&)>
TerminZeile zahl(const char* text, int max)
{
    return {QString::fromUtf8(text), TerminZeile::Zahl, max,
            [](const TEinstellungen& e) { return (e.*Get)(); },
            [](TEinstellungen& e, int wert) { (e.*Set)(wert); }};
}

template <bool (TEinstellungen::*Get)() const, void (TEinstellungen::*Set)(const bool&)>
TerminZeile schalter(const char* text, TerminZeile::Art art)
{
    return {QString::fromUtf8(text), art, 1,
            [](const TEinstellungen& e) { return (e.*Get)() ? 1 : 0; },
            [](TEinstellungen& e, int wert) { (e.*Set)(wert == 1); }};
}

}  // namespace

const std::vector<TerminZeile>& TerminZeilen()
{
    using E = TEinstellungen;
    static const std::vector<TerminZeile> zeilen{
        zahl<&E::GetTerminDeckfaehigVorher, &E::SetTerminDeckfaehigVorher>(
            "\"deckfähig\" x Tage vorher anzeigen", 100),
        schalter<&E::GetTerminDeckfaehigRindernAnzeigen, &E::SetTerminDeckfaehigRindernAnzeigen>(
            "\"deckfähig\" wenn \"nächstes rindern\" anzeigen", TerminZeile::JaNein),
        schalter<&E::GetTerminRindernWeitersetzen, &E::SetTerminRindernWeitersetzen>(
            "\"nächstes Rindern\" nach Ablauf weitersetzen", TerminZeile::JaNein),
        zahl<&E::GetTerminRindernVorher, &E::SetTerminRindernVorher>(
            "\"nächstes rindern\" x Tage vorher anzeigen", 100),
        zahl<&E::GetTerminRindernNachher, &E::SetTerminRindernNachher>(
            "\"nächstes rindern\" x Tage nachher anzeigen", 100),
        zahl<&E::GetTerminTraechtigUntersuchenVorher, &E::SetTerminTraechtigUntersuchenVorher>(
            "\"Trächtigkeitsuntersuchung\" x Tage vorher anzeigen", 100),
        zahl<&E::GetTerminTrockenVorher, &E::SetTerminTrockenVorher>(
            "\"trockenstellen\" x Tage vorher anzeigen", 100),
        zahl<&E::GetTerminKalbenVorher, &E::SetTerminKalbenVorher>(
            "\"soll kalben\" x Tage vorher anzeigen", 100),
        {QStringLiteral("Einheit für Harnstoff"), TerminZeile::Harnstoff, 1,
         [](const E& e) { return e.GetHarnstoffAnzeige() == 1 ? 1 : 0; },
         [](E& e, int wert) { e.SetHarnstoffAnzeige(wert); }},
        zahl<&E::GetHarnstoffAnzeigen, &E::SetHarnstoffAnzeigen>(
            "Harnstoff - Hinweis bis x Tage nach PM anzeigen", 100),
        zahl<&E::GetHarnstoffMinimal, &E::SetHarnstoffMinimal>(
            "Harnstoff - Hinweis Grenzwert unten (in ppm)", 1000),
        zahl<&E::GetHarnstoffMaximal, &E::SetHarnstoffMaximal>(
            "Harnstoff - Hinweis Grenzwert oben (in ppm)", 1000),
        zahl<&E::GetZellzahlAnzeigen, &E::SetZellzahlAnzeigen>(
            "Zellzahl - Hinweis bis x Tage nach PM anzeigen", 100),
        // Thresholds of 100 to 400 thousand cells are common: a maximum of 100 would cut a stored
        // 300 down to 100 as soon as the row is entered, and store that on "Ok".
        zahl<&E::GetZellzahlMaximal, &E::SetZellzahlMaximal>(
            "Zellzahl - Hinweis Grenzwert(in 1000)", 1000),
        schalter<&E::GetStatusTrockenSetzen, &E::SetStatusTrockenSetzen>(
            "Status \"trocken\" automatisch setzen", TerminZeile::NeinJa),
        schalter<&E::GetTerminAnfuetternAnzeigen, &E::SetTerminAnfuetternAnzeigen>(
            "Anfüttern - Hinweis anzeigen", TerminZeile::NeinJa),
        zahl<&E::GetTerminAnfuettern, &E::SetTerminAnfuettern>(
            "Anfüttern x Tage vor voraussichtlicher Kalbung beginnen", 100),
        zahl<&E::GetTerminAnfuetternVorher, &E::SetTerminAnfuetternVorher>(
            "Anfüttern - Hinweis x Tage vor dem Termin anzeigen", 100),
    };
    return zeilen;
}

std::vector<EigenbesamungZeile> EigenbesamungZeilen(int station)
{
    using Z = EigenbesamungZeile;
    std::vector<Z> zeilen;
    switch (BesamungConst::Stationen().at(std::size_t(station)).Meldung) {
        case BesamungConst::MeldeartHoechstaedt:
            zeilen = {{QStringLiteral("Betriebsnummer"), QStringLiteral("Betriebsnummer"), Z::Zahl,
                       999999999},
                      {QStringLiteral("Besamer-Nr"), QStringLiteral("Besamer"), Z::Text}};
            break;
        case BesamungConst::MeldeartRUW:
            zeilen = {{QStringLiteral("Betriebsnummer"), QStringLiteral("Betriebsnummer"), Z::Zahl,
                       999999},
                      {QStringLiteral("Personen-Nr"), QStringLiteral("EBBPersNr"), Z::Zahl, 9999},
                      {QStringLiteral("Regional-Nr"), QStringLiteral("RegionalNr"), Z::Zahl, 99}};
            break;
        case BesamungConst::MeldeartTriesdorf:
            zeilen = {{QStringLiteral("Betriebsnummer"), QStringLiteral("Betriebsnummer"), Z::Zahl,
                       999999999},
                      {QStringLiteral("Computer-Aussenstelle"),
                       QStringLiteral("Computeraussenstelle"), Z::Zahl, 9999},
                      {QStringLiteral("Ständiger Besamer"), QStringLiteral("StaendigerBesamer"),
                       Z::Zahl, 9999},
                      {QStringLiteral("Tatsächlicher Vertreter"), QStringLiteral("TatsVertreter"),
                       Z::Zahl, 9999},
                      {QStringLiteral("Vertragsbesamer"), QStringLiteral("Vertragsbesamer"),
                       Z::Zahl, 9999}};
            break;
    }
    zeilen.push_back({QStringLiteral("e-Mail Absender"), QStringLiteral("EMail-From"), Z::Text});
    zeilen.push_back({QStringLiteral("e-Mail Empfänger"), QStringLiteral("EMail-To"), Z::Text});
    zeilen.push_back(
        {QStringLiteral("e-Mail Server (SMTP)"), QStringLiteral("EMail-Host"), Z::Text});
    zeilen.push_back(
        {QStringLiteral("e-Mail Benutzername"), QStringLiteral("EMail-Username"), Z::Text});
    zeilen.push_back(
        {QStringLiteral("e-Mail Passwort"), QStringLiteral("EMail-Password"), Z::Text});
    zeilen.push_back({QStringLiteral("Passwort vor senden abfragen"),
                      QStringLiteral("EMail-PromtUser"), Z::JaNein});
    return zeilen;
}

QStringList StationsCodes(const QString& liste)
{
    QStringList codes;
    for (const QString& code : liste.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!code.trimmed().isEmpty())
            codes << code.trimmed();
    return codes;
}

QString StationAnhaengen(const QString& liste, const QString& code)
{
    QStringList codes = StationsCodes(liste);
    codes << code;
    return codes.join(QLatin1Char(';'));
}

QString StationEntfernen(const QString& liste, const QString& code)
{
    QStringList codes = StationsCodes(liste);
    codes.removeOne(code);
    return codes.join(QLatin1Char(';'));
}

int StationPortionen(db::Transaction& tr, const QString& code)
{
    db::Query q(
        tr, QStringLiteral("SELECT COUNT(*) FROM T_CONTAINER_PORTION WHERE STATION = :STATION"));
    q.Param(QStringLiteral("STATION")).SetString(code);
    q.Open();
    return q.Eof() ? 0 : q.Field(0).AsInteger();
}

const std::vector<GVFaktor>& GVFaktoren()
{
    static const std::vector<GVFaktor> faktoren{
        {QStringLiteral("BOVANTIS"), QStringLiteral("Milchkühe"), 1.0},
        {QStringLiteral("KALB6M"), QStringLiteral("Kälber bis 6 Monate"), 0.3},
        {QStringLiteral("M6M1J"), QStringLiteral("Männl. Rinder ü. 6 M. - 1 J."), 0.6},
        {QStringLiteral("M1J2J"), QStringLiteral("Männl. Rinder ü. 1 J. - 2 J."), 0.6},
        {QStringLiteral("MU2J"), QStringLiteral("Männl. Rinder ü. 2 J."), 1.0},
        {QStringLiteral("W6M1J"), QStringLiteral("Weibl. Rinder ü. 6 M. - 1 J. Eigen"), 0.6},
        {QStringLiteral("P6M1J"), QStringLiteral("Weibl. Rinder ü. 6 M. - 1 J. Pension"), 0.6},
        {QStringLiteral("W1J2J"), QStringLiteral("Weibl. Rinder ü. 1 - 2 J. Eigen"), 0.6},
        {QStringLiteral("P1J2J"), QStringLiteral("Weibl. Rinder ü. 1 - 2 J. Pension"), 0.6},
        {QStringLiteral("WU2J"), QStringLiteral("Weibl. Rinder ü. 2 J. Eigen"), 1.0},
        {QStringLiteral("PU2J"), QStringLiteral("Weibl. Rinder ü. 2 J. Pension"), 1.0},
        {QStringLiteral("MUTTERKUH"), QStringLiteral("Mutter- und Ammenkühe"), 1.0},
    };
    return faktoren;
}

QString NeuerGVSchluesselName(int anzahl)
{
    return QStringLiteral("Neuer Eintrag ") + QString::number(anzahl + 1);
}

HITStandard HITStandardwerte()
{
    HITStandard s;
    const auto vorgabe = [&s](const QString& schluessel, const auto& wert) {
        if constexpr (std::is_same_v<std::decay_t<decltype(wert)>, QString>) {
            if (schluessel == QLatin1String("HIT-Primär-Addr"))
                s.primaerAddr = wert;
            else if (schluessel == QLatin1String("HIT-Primär-IP"))
                s.primaerIP = wert;
            else if (schluessel == QLatin1String("HIT-Sekundär-Addr"))
                s.sekundaerAddr = wert;
            else if (schluessel == QLatin1String("HIT-Sekundär-IP"))
                s.sekundaerIP = wert;
        }
    };
#define BOVANTIS_HIT_VORGABE(Art, Name, Schluessel, Vorgabe) \
    vorgabe(QStringLiteral(Schluessel), EinstellungsArt::Art(Vorgabe));
    BOVANTIS_DB_EINSTELLUNGEN(BOVANTIS_HIT_VORGABE)
#undef BOVANTIS_HIT_VORGABE
    s.portNormal = 2222;
    s.portTest = 2223;
    return s;
}

std::optional<int> MittelGerundet(const QList<qint64>& werte)
{
    if (werte.isEmpty())
        return std::nullopt;
    qint64 summe = 0;
    for (qint64 w : werte)
        summe += w;
    // Half up: floor(summe / n + 1/2) in integers.
    const qint64 n = werte.size();
    const qint64 zaehler = 2 * summe + n;
    const qint64 nenner = 2 * n;
    qint64 q = zaehler / nenner;
    if (zaehler % nenner != 0 && zaehler < 0)
        --q;
    return int(q);
}

namespace Berechnen {

namespace {

QList<qint64> spalte(db::Query& q, int index)
{
    QList<qint64> werte;
    for (q.Open(); !q.Eof(); q.Next())
        if (!q.Field(index).IsNull())
            werte << q.Field(index).AsInt64();
    return werte;
}

// Days from the date in column `von` to the date in column `bis`, per row.
QList<qint64> tageZwischen(db::Query& q, int von, int bis)
{
    QList<qint64> werte;
    for (q.Open(); !q.Eof(); q.Next())
        if (!q.Field(von).IsNull() && !q.Field(bis).IsNull())
            werte << q.Field(von).AsDate().daysTo(q.Field(bis).AsDate());
    return werte;
}

std::optional<int> durchschnittUeberNull(db::Transaction& tr, const QString& sql, const QDate& ab)
{
    db::Query q(tr, sql);
    q.Param(QStringLiteral("DATUM")).SetDate(ab);
    q.Open();
    if (q.Eof() || q.Field(0).IsNull())
        return std::nullopt;
    const int wert = int(std::trunc(q.Field(0).AsDouble()));
    if (wert <= 0)
        return std::nullopt;
    return wert;
}

}  // namespace

std::optional<int> SollKalben(db::Transaction& tr, int rasse, const QDate& ab)
{
    // MIN, not MAX: of several inseminations 270 to 320 days before a calving the last one is the
    // one that took; the earliest would overstate the gestation.
    db::Query q(tr, QStringLiteral("SELECT MIN(K.DATUM - B.DATUM)\n"
                                   "FROM T_STAMMDATEN S\n"
                                   "JOIN T_KALBUNGEN K\n"
                                   "ON K.TIER = S.ID\n"
                                   "JOIN T_BESAMUNGEN B\n"
                                   "ON B.TIER = S.ID\n"
                                   "WHERE S.RASSE = :RASSE\n"
                                   "AND S.GESCHLECHT = 'W'\n"
                                   "AND K.DATUM > :DATUM\n"
                                   "AND B.DATUM < K.DATUM\n"
                                   "AND K.DATUM - B.DATUM < 320\n"
                                   "AND K.DATUM - B.DATUM > 270\n"
                                   "GROUP BY K.ID"));
    q.Param(QStringLiteral("RASSE")).SetInteger(rasse);
    q.Param(QStringLiteral("DATUM")).SetDate(ab);
    return MittelGerundet(spalte(q, 0));
}

std::optional<int> MKaelberVerkaufen(db::Transaction& tr, const QDate& ab)
{
    return durchschnittUeberNull(
        tr,
        QStringLiteral("SELECT AVG(T.VERKAUFT - T.GEBDAT) FROM T_STAMMDATEN T\n"
                       "WHERE T.GESCHLECHT = 'M' AND T.VERKAUFT IS NOT NULL\n"
                       "AND T.STATUS = 'J' AND T.VERKAUFT >= :DATUM"),
        ab);
}

std::optional<int> KalbBesamen(db::Transaction& tr, const QDate& ab)
{
    db::Query q(tr, QStringLiteral(
                        "SELECT MIN(B.DATUM), T.GEBDAT FROM T_STAMMDATEN T JOIN T_BESAMUNGEN B\n"
                        "ON B.TIER = T.ID WHERE B.DATUM >= :DATUM AND B.DATUM - T.GEBDAT < 1000\n"
                        "GROUP BY T.ID, T.GEBDAT"));
    q.Param(QStringLiteral("DATUM")).SetDate(ab);
    return MittelGerundet(tageZwischen(q, 1, 0));
}

std::optional<int> KuhBesamen(db::Transaction& tr, const QDate& ab)
{
    db::Query q(tr, QStringLiteral(
                        "SELECT K.DATUM, MIN(B.DATUM) FROM T_KALBUNGEN K JOIN T_BESAMUNGEN B\n"
                        "ON B.TIER = K.TIER WHERE B.DATUM > K.DATUM AND B.DATUM - K.DATUM < 180\n"
                        "AND K.DATUM >= :DATUM GROUP BY K.ID, K.DATUM"));
    q.Param(QStringLiteral("DATUM")).SetDate(ab);
    return MittelGerundet(tageZwischen(q, 0, 1));
}

std::optional<int> MastVerkaufen(db::Transaction& tr, const QDate& ab)
{
    return durchschnittUeberNull(
        tr,
        QStringLiteral("SELECT AVG(T.VERKAUFT - T.GEBDAT) FROM T_STAMMDATEN T\n"
                       "WHERE T.VERKAUFT IS NOT NULL AND T.STATUS = 'M' AND T.VERKAUFT >= :DATUM"),
        ab);
}

}  // namespace Berechnen

}  // namespace GrundeinstellungenDaten

using namespace GrundeinstellungenDaten;

TGrundeinstellungenDaten::TGrundeinstellungenDaten(TEinstellungen& einstellungen,
                                                   db::Database& datenbank)
    : e_(einstellungen),
      ta_(datenbank, QStringLiteral("TAGrundeinstellungen")),
      gruppen_(ta_),
      staetten_(ta_),
      rassen_(ta_),
      gvSchluessel_(ta_)
{
    gruppen_.SetSelectSQL(QStringLiteral(
        "select G.*, CASE WHEN NUMMER IS NULL THEN NULL ELSE ZRNV_FORMATBNR(NUMMER) END BNR "
        "from T_BETRIEBSGRUPPEN G"));
    gruppen_.SetDeleteSQL(QStringLiteral("DELETE FROM T_BETRIEBSGRUPPEN WHERE ID = :OLD_ID"));
    staetten_.SetSelectSQL(QStringLiteral("select * from V_BETRIEBSSTAETTEN_GRUPPEN"));
    staetten_.SetDeleteSQL(QStringLiteral("DELETE FROM T_BETRIEBSSTAETTEN WHERE ID = :OLD_ID"));
    rassen_.SetSelectSQL(QStringLiteral("select * from T_RASSEN where verwendet = 'T'"));
    rassen_.SetModifySQL(QStringLiteral(
        "UPDATE T_RASSEN SET VERWENDET = :VERWENDET, "
        "TRAECHTIG_UNTERSUCHUNG = :TRAECHTIG_UNTERSUCHUNG, TROCKENSTELLEN = :TROCKENSTELLEN, "
        "SOLL_KALBEN = :SOLL_KALBEN, NAECHSTES_RINDERN = :NAECHSTES_RINDERN, "
        "KALB_BESAMEN_ANZEIGEN = :KALB_BESAMEN_ANZEIGEN, "
        "KUH_BESAMEN_ANZEIGEN = :KUH_BESAMEN_ANZEIGEN WHERE ID = :OLD_ID"));
    QStringList faktoren;
    for (const GVFaktor& f : GVFaktoren())
        faktoren << f.feld;
    gvSchluessel_.SetSelectSQL(
        QStringLiteral("select * from T_GV_SCHLUESSEL order by BEZEICHNUNG"));
    gvSchluessel_.SetInsertSQL(
        QStringLiteral("INSERT INTO T_GV_SCHLUESSEL (ID, BEZEICHNUNG, %1) "
                       "VALUES (:ID, :BEZEICHNUNG, :%2)")
            .arg(faktoren.join(QStringLiteral(", ")), faktoren.join(QStringLiteral(", :"))));
    QStringList setzen{QStringLiteral("BEZEICHNUNG = :BEZEICHNUNG")};
    for (const QString& f : faktoren)
        setzen << f + QStringLiteral(" = :") + f;
    gvSchluessel_.SetModifySQL(QStringLiteral("UPDATE T_GV_SCHLUESSEL SET %1 WHERE ID = :OLD_ID")
                                   .arg(setzen.join(QStringLiteral(", "))));
    gvSchluessel_.SetDeleteSQL(QStringLiteral("DELETE FROM T_GV_SCHLUESSEL WHERE ID = :OLD_ID"));
    gvSchluessel_.SetGenerator(QStringLiteral("ID"), QStringLiteral("GEN_T_GV_SCHLUESSEL_ID"));
    ta_.Start();
}

void TGrundeinstellungenDaten::Neu(db::DataSet& daten, int id)
{
    daten.Close();
    daten.Open();
    if (id > 0)
        DBTools::LocateInteger(daten, QStringLiteral("ID"), id, false);
}

bool TGrundeinstellungenDaten::RasseWerteSetzen(int rasseID,
                                                const std::vector<std::pair<QString, int>>& werte)
{
    const int aktuell =
        rassen_.IsEmpty() ? 0 : rassen_.FieldByName(QStringLiteral("ID")).AsInteger();
    if (!DBTools::LocateInteger(rassen_, QStringLiteral("ID"), rasseID, false))
        throw std::runtime_error("Die Rasse ist nicht mehr vorhanden.");
    bool geaendert = false;
    for (const auto& [feld, wert] : werte)
        geaendert = geaendert || rassen_.FieldByName(feld).AsInteger() != wert;
    if (geaendert) {
        rassen_.Edit();
        for (const auto& [feld, wert] : werte)
            rassen_.FieldByName(feld).SetInteger(wert);
        if (!DBTools::Posten(rassen_))
            return false;
    }
    DBTools::LocateInteger(rassen_, QStringLiteral("ID"), aktuell, false);
    return true;
}

bool TGrundeinstellungenDaten::RasseNichtVerwenden()
{
    rassen_.Edit();
    rassen_.FieldByName(QStringLiteral("VERWENDET")).SetString(QStringLiteral("F"));
    return DBTools::Posten(rassen_);
}

bool TGrundeinstellungenDaten::GVSchluesselSetzen(int id, const QString& name,
                                                  const QStringList& faktoren)
{
    if (!DBTools::LocateInteger(gvSchluessel_, QStringLiteral("ID"), id, false))
        throw std::runtime_error("Der GV - Schlüssel ist nicht mehr vorhanden.");
    gvSchluessel_.Edit();
    gvSchluessel_.FieldByName(QStringLiteral("BEZEICHNUNG")).SetString(name);
    const std::vector<GVFaktor>& felder = GVFaktoren();
    for (std::size_t i = 0; i < felder.size(); ++i) {
        QString text = faktoren.value(qsizetype(i)).trimmed();
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double wert = QLocale::c().toDouble(text, &ok);
        gvSchluessel_.FieldByName(felder[i].feld)
            .SetDouble(ok ? std::round(wert * 100.0) / 100.0 : 0.0);
    }
    return DBTools::Posten(gvSchluessel_);
}

std::optional<int> TGrundeinstellungenDaten::GVSchluesselAnhaengen(int anzahl)
{
    gvSchluessel_.Append();
    gvSchluessel_.FieldByName(QStringLiteral("BEZEICHNUNG"))
        .SetString(NeuerGVSchluesselName(anzahl));
    for (const GVFaktor& f : GVFaktoren())
        gvSchluessel_.FieldByName(f.feld).SetDouble(f.vorgabe);
    if (!DBTools::Posten(gvSchluessel_))
        return std::nullopt;
    return gvSchluessel_.FieldByName(QStringLiteral("ID")).AsInteger();
}

void TGrundeinstellungenDaten::Commit()
{
    ta_.Commit();
}

void TGrundeinstellungenDaten::Zuruecknehmen()
{
    if (ta_.Active())
        ta_.Rollback();
}
