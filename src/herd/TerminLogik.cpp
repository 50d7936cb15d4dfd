#include "TerminLogik.h"

namespace Termin {

namespace {

QString TF(bool wert)
{
    return wert ? QStringLiteral("T") : QStringLiteral("F");
}

}  // namespace

const QList<std::pair<QString, QString>>& Ankerpunkte()
{
    static const QList<std::pair<QString, QString>> liste = {
        {"GE", "Geburt"},
        {"SK", "Soll kalben"},
        {"KA", "Kalbung"},
        {"ZU", "Zugang"},
        {"AB", "Abgang"},
        {"BE", "Besamung"},
        {"RI", "Rindern"},
        {"TU", "Trächtigkeitsuntersuchung"},
        {"TS", "Trockenstellen"},
        {"TB", "Behandlung"},
        {"WM", "Behandlung, Wartezeit-Ende Milch"},
        {"WF", "Behandlung, Wartezeit-Ende Fleisch"},
        {"BW", "Betriebsstätten Wechsel"},
    };
    return liste;
}

const QList<std::pair<QString, QString>>& Tierklassen()
{
    static const QList<std::pair<QString, QString>> liste = {{"AL", "Alle Tiere"},
                                                             {"GM", "männlich"},
                                                             {"GW", "weiblich"},
                                                             {"KA", "Kalbin"},
                                                             {"KU", "Kuh"}};
    return liste;
}

const QStringList& WochentagCodes()
{
    static const QStringList codes = {"MO", "DI", "MI", "DO", "FR", "SA", "SO"};
    return codes;
}

const QStringList& WochentagTitel()
{
    static const QStringList titel = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    return titel;
}

std::array<bool, 7> WochentageLesen(const QString& text)
{
    std::array<bool, 7> boxen{};
    const QString t = text.trimmed().toUpper();
    for (int i = 0; i < 7; ++i)
        boxen[i] = t.isEmpty() || t.contains(WochentagCodes()[i]);
    return boxen;
}

QString WochentageText(const std::array<bool, 7>& boxen)
{
    QStringList codes;
    for (int i = 0; i < 7; ++i)
        if (boxen[i])
            codes << WochentagCodes()[i];
    return codes.join(QLatin1Char(';'));
}

int IntervallArtPosition(const QString& code)
{
    const QString c = code.trimmed();
    if (c == QLatin1String("W"))
        return 1;
    if (c == QLatin1String("M"))
        return 2;
    return 0;
}

QString IntervallArtCode(int position)
{
    return position == 1   ? QStringLiteral("W")
           : position == 2 ? QStringLiteral("M")
                           : QStringLiteral("T");
}

QString FesteTermineSQL(bool vergangeneAnzeigen)
{
    const QString bedingung =
        vergangeneAnzeigen ? QString()
                           : QStringLiteral(
                                 "WHERE ((DATUM + NACH >= CURRENT_DATE) AND (ERLEDIGEN = 'F')) OR\r"
                                 "((ERLEDIGT IS NULL) AND (ERLEDIGEN = 'T'))");
    return QStringLiteral(
               "SELECT T.ERLEDIGEN, IIF(W.TERMIN_ID IS NULL, 'F', 'T') WIEDERHOLUNG, "
               "T.DATUM, T.VOR, T.NACH, T.TEXT, T.ERLEDIGT, T.BEMERKUNG, T.ID "
               "FROM T_TERMINE T LEFT JOIN T_TERMINE_WIEDERHOLEN W ON T.ID = "
               "W.TERMIN_ID %1 ORDER BY DATUM, TEXT")
        .arg(bedingung);
}

QString TerminAnzeige(const QDate& termin, const QDate& heute, const QString& text)
{
    if (termin == heute)
        return QStringLiteral("Heute: ") + text.trimmed();
    return termin.toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral(": ") + text.trimmed();
}

QString BemerkungKurz(const QString& bemerkung)
{
    QString text = bemerkung;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const qsizetype umbruch = text.indexOf(QLatin1Char('\n'));
    return umbruch < 0 ? text : text.left(umbruch) + QStringLiteral(" ...");
}

std::pair<QDate, QDate> ZeitraumOrdnen(const QDate& von, const QDate& bis)
{
    if (von.isValid() && bis.isValid() && von > bis)
        return {bis, von};
    return {von, bis};
}

QString SqlDatum(const QDate& datum)
{
    return datum.toString(QStringLiteral("dd.MM.yyyy"));
}

QString ErledigteDatenSQL(const QDate& von, const QDate& bis, bool tierbezogen, bool feste)
{
    return QStringLiteral(
               "SELECT ID, TIER TIERID, KNR, NAME, NUMMER, DATUM, TEXT, ERLEDIGT, "
               "BEMERKUNG FROM P_GET_ERLEDIGTE_TERMINE('%1','%2','%3','%4') ORDER BY "
               "ERLEDIGT, NUMMER, TEXT")
        .arg(SqlDatum(von), SqlDatum(bis.addDays(1)), TF(tierbezogen), TF(feste));
}

QString ErledigteSchnellwahlSQL(const QDate& von, const QDate& bis, bool tierbezogen)
{
    return QStringLiteral(
               "SELECT TIER ID, NAME, NUMMER FROM P_GET_ERLEDIGTE_TERMINE('%1','%2',"
               "'%3','F') ORDER BY ERLEDIGT, NUMMER, TEXT")
        .arg(SqlDatum(von), SqlDatum(bis.addDays(1)), TF(tierbezogen));
}

QString ErledigteTitelzusatz(const QDate& von, const QDate& bis)
{
    return QStringLiteral("von ") + SqlDatum(von) + QStringLiteral(" bis ") + SqlDatum(bis);
}

}  // namespace Termin
