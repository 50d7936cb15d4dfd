#include "ListenDialogeLogik.h"

#include <ListenTools.h>
#include <TerminLogik.h>

#include <cmath>

namespace ListenDialoge {

namespace {

QString TF(bool an)
{
    return an ? QStringLiteral("T") : QStringLiteral("F");
}

QList<NeuesFeld> Bildschirm(std::initializer_list<std::pair<const char*, const char*>> felder)
{
    QList<NeuesFeld> liste;
    for (const auto& [feld, titel] : felder)
        liste << NeuesFeld{QString::fromUtf8(feld), QString::fromUtf8(titel), 50, 0, 1, true};
    return liste;
}

// The eight values of the event list's procedure, in its order.
QStringList EreignisWerte(const Ereignisse& e, const QDate& von, const QDate& bis)
{
    return {TF(e.zugang),  TF(e.abgang),     TF(e.besamung),        TF(e.trockenstellen),
            TF(e.kalbung), TF(e.behandlung), Termin::SqlDatum(von), Termin::SqlDatum(bis)};
}

QStringList HITWerte(const HITMeldungen& m, const QDate& von, const QDate& bis)
{
    return {Termin::SqlDatum(von),
            Termin::SqlDatum(bis.addDays(1)),
            TF(m.geburt),
            TF(m.zugang),
            TF(m.importmarkierung),
            TF(m.abgang),
            TF(m.ausfuhr),
            TF(m.tod),
            TF(m.ohrmarkenNachbestellung)};
}

QString Einsetzen(QString text, const QStringList& werte)
{
    for (const QString& w : werte)
        text = text.arg(w);
    return text;
}

// The conditions of the herd list: base, minimum age, maximum age, class.
QString Bedingungen(const Bestandsparameter& p)
{
    const QString d = Termin::SqlDatum(p.am);
    QString text = QStringLiteral(
                       "((Q1.VERKAUFT IS NULL) OR (Q1.VERKAUFT >= '%1')) AND ((Q1.GEKAUFT IS NULL) "
                       "OR (Q1.GEKAUFT <= '%1')) AND (Q1.GEBDAT <= '%1')")
                       .arg(d);
    text += u' ';
    if (p.alterVon)
        text += QStringLiteral("AND (Q1.GEBDAT + %1 <= '%2')")
                    .arg(AlterTage(p.einheitVon, p.wertVon))
                    .arg(d);
    text += u' ';
    if (p.alterBis)
        text += QStringLiteral("AND (Q1.GEBDAT + %1 >= '%2')")
                    .arg(AlterTage(p.einheitBis, p.wertBis))
                    .arg(d);
    text += u' ';
    switch (p.tierklasse) {
        case 1:
            text += QStringLiteral("AND (Q1.GESCHLECHT = 'M')");
            break;
        case 2:
            text += QStringLiteral("AND (Q1.GESCHLECHT = 'W')");
            break;
        case 3:
            text += QStringLiteral(
                        "AND (Q1.GESCHLECHT = 'W') AND (Q1.ID NOT IN (SELECT K.TIER FROM "
                        "T_KALBUNGEN K WHERE K.TIER = Q1.ID AND K.DATUM <= '%1'))")
                        .arg(d);
            break;
        case 4:
            text += QStringLiteral(
                        "AND (Q1.ID IN (SELECT K.TIER FROM T_KALBUNGEN K WHERE K.TIER "
                        "= Q1.ID AND K.DATUM <= '%1'))")
                        .arg(d);
            break;
        default:
            break;
    }
    return text;
}

QString Premises(const QString& sql, int betriebsstaette, const QDate& am)
{
    bool ersetzt = false;
    return ListenTools::BetriebsstaetteEinsetzenZumDatum(sql, betriebsstaette, ersetzt, am);
}

}  // namespace

QString Titelzusatz(const QDate& von, const QDate& bis)
{
    return QStringLiteral("von ") + Termin::SqlDatum(von) + QStringLiteral(" bis ") +
           Termin::SqlDatum(bis);
}

// ------------------------------------------------------------------------------ event list

QString EreignislisteDatenSQL(const Ereignisse& e, const QDate& von, const QDate& bis)
{
    return Einsetzen(
        QStringLiteral("SELECT ART, TIERID, KNRDISPLAY, NAME, NUMMER, DATUM, TEXT\r"
                       "FROM P_GET_EREIGNISLISTE('%1', '%2', '%3', '%4', '%5', '%6', '%7', '%8')\r"
                       "ORDER BY SORTNR, DATUM, NUMMER"),
        EreignisWerte(e, von, bis));
}

QString EreignislisteSchnellwahlSQL(const Ereignisse& e, const QDate& von, const QDate& bis)
{
    return Einsetzen(
        QStringLiteral("SELECT TIERID ID, NAME, NUMMER\r"
                       "FROM P_GET_EREIGNISLISTE('%1', '%2', '%3', '%4', '%5', '%6', '%7', '%8')\r"
                       "WHERE TIERID IS NOT NULL\r"
                       "ORDER BY SORTNR, DATUM, NUMMER"),
        EreignisWerte(e, von, bis));
}

QList<NeuesFeld> EreignislisteBildschirmFelder()
{
    return Bildschirm({{"ART", "Art"},
                       {"TIERID", "Tier-ID"},
                       {"KNRDISPLAY", "KNR"},
                       {"NAME", "Name"},
                       {"NUMMER", "Nummer"},
                       {"DATUM", "Datum"},
                       {"TEXT", "Text"}});
}

QList<NeuesFeld> EreignislisteDruckFelder()
{
    // One line of a portrait page (190 mm between the margins), the columns side by side.
    return {{"ART", "Art", 24, 0},    {"TIERID", "Tier-ID", 13, 177}, {"KNRDISPLAY", "KNR", 12, 25},
            {"NAME", "Name", 26, 38}, {"NUMMER", "Nummer", 32, 65},   {"DATUM", "Datum", 20, 98},
            {"TEXT", "Text", 57, 119}};
}

// --------------------------------------------------------------------------- calving journal

QString KalbeJournalDatenSQL(const QDate& von, const QDate& bis)
{
    return QStringLiteral(
               "SELECT ID TIERID, KNRDISPLAY, NAME, NUMMER, GEBDAT, NR, DATUM, GESCHLECHT,\r"
               "KALBNUMMER, VERLAUF, BEMERKUNG, BES1_DATUM, BES2_DATUM, BES3_DATUM,\r"
               "BES4_DATUM, BES5_DATUM, BES6_DATUM, L_STIER, TROCKEN, SOLL_KALBEN\r"
               "FROM P_GET_KALBEJOURNAL('%1', '%2')")
        .arg(Termin::SqlDatum(von), Termin::SqlDatum(bis));
}

QString KalbeJournalSchnellwahlSQL(const QDate& von, const QDate& bis)
{
    return QStringLiteral(
               "SELECT ID, NAME, NUMMER\rFROM P_GET_KALBEJOURNAL('%1', '%2') WHERE ID IS NOT NULL")
        .arg(Termin::SqlDatum(von), Termin::SqlDatum(bis));
}

QList<NeuesFeld> KalbeJournalBildschirmFelder()
{
    return Bildschirm(
        {{"TIERID", "Tier-ID"},    {"KNRDISPLAY", "KNR"},         {"NAME", "Name"},
         {"NUMMER", "Nummer"},     {"GEBDAT", "Geb.Dat."},        {"NR", "Nr"},
         {"DATUM", "Datum"},       {"GESCHLECHT", "G."},          {"KALBNUMMER", "K.-Nummer"},
         {"VERLAUF", "Verlauf"},   {"BEMERKUNG", "Bemerkung"},    {"BES1_DATUM", "Bes. 1"},
         {"BES2_DATUM", "Bes. 2"}, {"BES3_DATUM", "Bes. 3"},      {"BES4_DATUM", "Bes. 4"},
         {"BES5_DATUM", "Bes. 5"}, {"BES6_DATUM", "Bes. 6"},      {"L_STIER", "l. Stier"},
         {"TROCKEN", "trocken"},   {"SOLL_KALBEN", "soll kalben"}});
}

QList<NeuesFeld> KalbeJournalDruckFelder()
{
    // Landscape (277 mm): the calving on the first line, the inseminations below it.
    QList<NeuesFeld> felder{{"TIERID", "Tier-ID", 12, 0},
                            {"KNRDISPLAY", "KNR", 12, 13},
                            {"NAME", "Name", 26, 26},
                            {"NUMMER", "Nummer", 32, 53},
                            {"GEBDAT", "Geb.Dat.", 20, 86},
                            {"NR", "Nr", 7, 107},
                            {"DATUM", "Datum", 20, 115},
                            {"GESCHLECHT", "G.", 8, 136},
                            {"KALBNUMMER", "K.-Nummer", 32, 145},
                            {"VERLAUF", "Verlauf", 30, 178},
                            {"BEMERKUNG", "Bemerkung", 68, 209}};
    for (int i = 0; i < 6; ++i)
        felder << NeuesFeld{QStringLiteral("BES%1_DATUM").arg(i + 1),
                            QStringLiteral("Bes. %1").arg(i + 1), 20, 26 + 21 * i, 2};
    felder << NeuesFeld{QStringLiteral("L_STIER"), QStringLiteral("l. Stier"), 26, 152, 2}
           << NeuesFeld{QStringLiteral("TROCKEN"), QStringLiteral("trocken"), 20, 179, 2}
           << NeuesFeld{QStringLiteral("SOLL_KALBEN"), QStringLiteral("soll kalben"), 22, 200, 2};
    return felder;
}

// ------------------------------------------------------------------------- sent HIT reports

QString HITGesendetDatenSQL(const HITMeldungen& m, const QDate& von, const QDate& bis)
{
    return Einsetzen(
        QStringLiteral("SELECT H.ID, H.GESENDET, H.MELDUNG, H.TIER, H.BETRIEB, H.SCHWERE,\r"
                       "H.ERGEBNIS, H.WERTE, S.ID TIERID\r"
                       "FROM P_GET_HITGESENDET('%1', '%2', '%3', '%4', '%5', \r"
                       "'%6', '%7', '%8', '%9') H\r"
                       "LEFT JOIN T_STAMMDATEN S ON S.NUMMER_NUM = ZRNV_ENCODELOM(H.TIER)"),
        HITWerte(m, von, bis));
}

QString HITGesendetSchnellwahlSQL(const HITMeldungen& m, const QDate& von, const QDate& bis)
{
    return Einsetzen(QStringLiteral("SELECT S.ID, S.NAME, S.NUMMER\r"
                                    "FROM P_GET_HITGESENDET('%1', '%2', '%3', '%4', '%5', \r"
                                    "'%6', '%7', '%8', '%9') H\r"
                                    "JOIN T_STAMMDATEN S ON S.NUMMER_NUM = ZRNV_ENCODELOM(H.TIER)\r"
                                    "WHERE S.ID IS NOT NULL"),
                     HITWerte(m, von, bis));
}

QList<NeuesFeld> HITGesendetBildschirmFelder()
{
    return Bildschirm({{"GESENDET", "Gesendet"},
                       {"MELDUNG", "Meldung"},
                       {"TIER", "Tier"},
                       {"BETRIEB", "Betrieb"},
                       {"SCHWERE", "Schwere"},
                       {"ERGEBNIS", "Ergebnis"},
                       {"WERTE", "Werte"},
                       {"TIERID", "Tier-ID"},
                       {"ID", "ID"}});
}

QList<NeuesFeld> HITGesendetDruckFelder()
{
    // Portrait, two lines: the report on the first, the answer and the values below it.
    return {{"GESENDET", "Gesendet", 36, 13},
            {"MELDUNG", "Meldung", 20, 50},
            {"TIER", "Tier", 32, 71},
            {"BETRIEB", "Betrieb", 34, 104},
            {"SCHWERE", "Schwere", 16, 139},
            {"ERGEBNIS", "Ergebnis", 88, 13, 2},
            {"WERTE", "Werte", 88, 102, 2},
            {"TIERID", "Tier-ID", 16, 156},
            {"ID", "ID", 12, 0}};
}

// -------------------------------------------------------------------------------- herd list

QString EinheitName(int einheit)
{
    switch (einheit) {
        case 0:
            return QStringLiteral("Tag(e)");
        case 2:
            return QStringLiteral("Jahr(e)");
        default:
            return QStringLiteral("Monat(e)");
    }
}

int AlterTage(int einheit, int wert)
{
    // The month is kept as the single-precision number it always was: 12 months are 364 days.
    const float tage = einheit == 0 ? 1.0f : einheit == 2 ? 365.0f : 30.416666f;
    return int(std::trunc(static_cast<long double>(tage) * static_cast<long double>(wert)));
}

QString BestandDatenSQL(const Bestandsparameter& p, int betriebsstaette)
{
    const QString sql =
        QStringLiteral(
            "SELECT Q1.STATUSIDX Q1STATUSIDX, Q1.KNR Q1KNR, Q1.KNRDISPLAY Q1KNRDISPLAY,\r"
            "Q1.NAME Q1NAME, Q1.NUMMER Q1NUMMER, Q1.GESCHLECHT Q1GESCHLECHT,\r"
            "Q1.GEBDAT Q1GEBDAT,\r"
            "CAST(ZRNV_ALTER(Q1.GEBDAT, Q1.VERKAUFT, '%2') AS VARCHAR(15)) Q1T_ALTER,\r"
            "(SELECT TAGE FROM P_KUH_TAG_INFO_DATUM(Q1.ID, '%2')) Q1TAGEINFO,\r"
            "(SELECT BEZEICHNUNG FROM P_GET_BETRIEBSSTAETTE_DATUM(Q1.ID, '%2')) Q1AKT_BETRIEB,\r"
            "Q1.ID TIERID FROM V_STAMMDATEN_EX Q1\r"
            "WHERE (#Q1.ID#) AND (%1)\r"
            "ORDER BY Q1.KNR ASC, Q1.GEBDAT ASC, Q1.NUMMER ASC")
            .arg(Bedingungen(p), Termin::SqlDatum(p.am));
    return Premises(sql, betriebsstaette, p.am);
}

QString BestandSchnellwahlSQL(const Bestandsparameter& p, int betriebsstaette)
{
    const QString sql = QStringLiteral(
                            "SELECT ST.ID, ST.NAME, ST.NUMMER FROM V_STAMMDATEN_EX Q1\r"
                            "JOIN T_STAMMDATEN ST ON ST.ID = Q1.ID\r"
                            "WHERE (#Q1.ID#) AND (%1)\r"
                            "ORDER BY Q1.KNR ASC, Q1.GEBDAT ASC, Q1.NUMMER ASC")
                            .arg(Bedingungen(p));
    return Premises(sql, betriebsstaette, p.am);
}

QString BestandTitelzusatz(const Bestandsparameter& p)
{
    QString text = QStringLiteral("am ") + Termin::SqlDatum(p.am);
    if (p.alterVon || p.alterBis) {
        QString alter;
        if (p.alterVon)
            alter += QStringLiteral("von %1 %2").arg(p.wertVon).arg(EinheitName(p.einheitVon));
        if (p.alterBis)
            alter += QStringLiteral(" bis %1 %2").arg(p.wertBis).arg(EinheitName(p.einheitBis));
        text += QStringLiteral(", Alter ") + alter.trimmed();
    }
    return text;
}

QList<NeuesFeld> BestandBildschirmFelder()
{
    return Bildschirm({{"Q1STATUSIDX", "Status-Symbol"},
                       {"Q1KNR", "KNR-Intern"},
                       {"Q1KNRDISPLAY", "KNR"},
                       {"Q1NAME", "Name"},
                       {"Q1NUMMER", "Nummer"},
                       {"Q1GESCHLECHT", "G."},
                       {"Q1GEBDAT", "Geb.Dat."},
                       {"Q1T_ALTER", "Alter"},
                       {"Q1TAGEINFO", "Tage-Info (seit Kalbung/trächtig/bis Kalbung)"},
                       {"Q1AKT_BETRIEB", "Aktueller Betrieb"},
                       {"TIERID", "Tier-ID"}});
}

QList<NeuesFeld> BestandDruckFelder()
{
    // One portrait line; the internal short number and the animal's key are not printed.
    return {{"Q1STATUSIDX", "Status-Symbol", 5, 0},  {"Q1KNR", "KNR-Intern", 10, 6, 1, false},
            {"Q1KNRDISPLAY", "KNR", 12, 6},          {"Q1NAME", "Name", 26, 19},
            {"Q1NUMMER", "Nummer", 32, 46},          {"Q1GESCHLECHT", "G.", 6, 79},
            {"Q1GEBDAT", "Geb.Dat.", 20, 86},        {"Q1T_ALTER", "Alter", 24, 107},
            {"Q1TAGEINFO", "Tage-Info", 28, 132},    {"Q1AKT_BETRIEB", "Akt. Betrieb", 29, 161},
            {"TIERID", "Tier-ID", 12, 178, 1, false}};
}

}  // namespace ListenDialoge
