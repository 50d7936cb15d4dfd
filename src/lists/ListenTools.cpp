#include "ListenTools.h"

namespace ListenTools {

QString BetriebsstaetteEinsetzenZumDatum(const QString& sql, int betriebsstaette, bool& ersetzt,
                                         const QDate& datum)
{
    ersetzt = false;
    const qsizetype anfang = sql.indexOf(QLatin1Char('#'));
    if (anfang < 0)
        return sql;
    const qsizetype ende = sql.indexOf(QLatin1Char('#'), anfang + 1);
    if (ende < 0)
        return sql;
    const QString a = sql.mid(anfang + 1, ende - anfang - 1);
    QString bedingung;
    if (betriebsstaette <= 0)
        bedingung = QStringLiteral("1=1");
    else if (datum.isValid())
        bedingung = QStringLiteral(
                        "((%1 IS NULL) OR ((SELECT STALL FROM "
                        "P_GET_BETRIEBSSTAETTE_DATUM(%1, '%3')) = %2))")
                        .arg(a)
                        .arg(betriebsstaette)
                        .arg(datum.toString(QStringLiteral("dd.MM.yyyy")));
    else
        bedingung =
            QStringLiteral(
                "((%1 IS NULL) OR ((SELECT STALL FROM P_GET_LETZTE_BETRIEBSSTAETTE(%1)) = %2))")
                .arg(a)
                .arg(betriebsstaette);
    ersetzt = true;
    return sql.left(anfang) + bedingung + sql.mid(ende + 1);
}

QString BetriebsstaetteEinsetzenGefunden(const QString& sql, int betriebsstaette, bool& ersetzt)
{
    return BetriebsstaetteEinsetzenZumDatum(sql, betriebsstaette, ersetzt, QDate());
}

QString BetriebsstaetteEinsetzen(const QString& sql, int betriebsstaette)
{
    bool ersetzt = false;
    return BetriebsstaetteEinsetzenZumDatum(sql, betriebsstaette, ersetzt, QDate());
}

bool IstFortlaufendeNummer(const QString& feldname)
{
    return feldname.startsWith(QLatin1String("S.N"));
}

bool IstFesterWert(const QString& feldname)
{
    return feldname.startsWith(QLatin1String("S.F"));
}

bool IstPseudoFeld(const QString& feldname)
{
    return IstFortlaufendeNummer(feldname) || IstFesterWert(feldname);
}

int PseudoFeldNummer(const QString& feldname)
{
    bool ok = false;
    const int n = feldname.mid(3).toInt(&ok);
    return ok ? n : 0;
}

namespace {

QString PseudoEintrag(const QString& name, const QString& feld, int n)
{
    const QString s = n != 0 ? QStringLiteral(" (%1)").arg(n) : QString();
    const QString t = n != 0 ? QString::number(n) : QString();
    return name + s + QLatin1Char(';') + feld + t + QStringLiteral(";;F;") + name + s;
}

}  // namespace

QString FortlaufendeNummerEintrag(int n)
{
    return PseudoEintrag(QStringLiteral("Fortlaufende Nummer"), QStringLiteral("S.N"), n);
}

QString FesterWertEintrag(int n)
{
    return PseudoEintrag(QStringLiteral("Fester Wert"), QStringLiteral("S.F"), n);
}

}  // namespace ListenTools
