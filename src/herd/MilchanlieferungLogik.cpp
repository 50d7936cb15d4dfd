#include "MilchanlieferungLogik.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace Milchanlieferung {

namespace {

// Percent values in hundredths, as the database keeps them (two decimals).
std::int64_t Hundertstel(double prozent)
{
    return std::llround(prozent * 100);
}

}  // namespace

Zeitraum Quotenjahr(const QDate& heute)
{
    const QDate vormonat = QDate(heute.year(), heute.month(), 1).addMonths(-1);
    const int jahr = heute.month() >= 5 ? heute.year() : heute.year() - 1;
    return {QDate(jahr, 4, 1), vormonat};
}

Summen Summieren(const QList<Monat>& monate)
{
    Summen s;
    for (const Monat& m : monate) {
        s.geliefert += m.menge;
        s.fettGewichtet += m.fett * double(m.menge);
        s.referenzmenge = m.referenzmenge;
        s.referenzfett = m.referenzfett;
        if (m.menge > 0) {
            s.letzterLiefermonat = m.monat;
            s.letztesFett = m.fett;
        }
    }
    return s;
}

int RestTage(const QDate& letzterLiefermonat)
{
    const QDate von = QDate(letzterLiefermonat.year(), letzterLiefermonat.month(), 1).addMonths(1);
    const QDate bis(von.month() <= 3 ? von.year() : von.year() + 1, 3, 31);
    const int tage = int(von.daysTo(bis)) + 1;
    return tage <= 0 ? 365 : tage;
}

Ergebnis Berechnen(const Summen& s, int restTage, double gewaehltesFett)
{
    Ergebnis e;
    const std::int64_t schnittH =
        s.geliefert > 0 ? Hundertstel(s.fettGewichtet / double(s.geliefert)) : 0;
    const std::int64_t differenzH = schnittH - Hundertstel(s.referenzfett);
    e.durchschnittFett = double(schnittH) / 100;
    e.fettDifferenz = double(differenzH) / 100;
    e.fettDifferenzZeigen = restTage < 365;
    // kg × hundredths × factor in hundredths: whole numbers, so the rounding is exact. Half a kg
    // rounds away from zero, a deduction as much as an addition.
    const std::int64_t faktor = differenzH > 0 ? 9 : 18;
    const std::int64_t zehntausendstel = s.geliefert * differenzH * faktor;
    e.korrektur = zehntausendstel >= 0 ? (zehntausendstel + 5000) / 10000
                                       : -((-zehntausendstel + 5000) / 10000);
    e.korrigiert = s.geliefert + e.korrektur;
    e.rest = s.referenzmenge - e.korrigiert;
    e.ueberlieferung = e.rest < 0;
    if (e.ueberlieferung || restTage <= 0)
        return e;
    const double fett = std::max(gewaehltesFett, FettMinimum);
    e.proTag = std::int64_t(double(e.rest) / restTage + 0.5);
    e.proTagBeiFett = std::int64_t(double(e.rest) * s.referenzfett / restTage / fett + 0.5);
    return e;
}

QList<QDate> FreieMonate(const QList<QDate>& vorhandene, const QDate& heute)
{
    QSet<QDate> belegt;
    for (const QDate& d : vorhandene)
        belegt.insert(QDate(d.year(), d.month(), 1));
    QList<QDate> frei;
    const QDate letzter = QDate(heute.year(), heute.month(), 1).addMonths(-1);
    for (QDate m(1985, 1, 1); m <= letzter; m = m.addMonths(1))
        if (!belegt.contains(m))
            frei << m;
    return frei;
}

QString MonatText(const QDate& monat)
{
    return monat.toString(QStringLiteral("MM/yyyy"));
}

QString PreisEinheit(const QString& waehrung)
{
    if (waehrung == QLatin1String("DEM"))
        return QStringLiteral("Pf");
    if (waehrung == QLatin1String("ATS"))
        return QStringLiteral("g");
    return QStringLiteral("Cent");
}

QString GeldEinheit(const QString& waehrung)
{
    if (waehrung == QLatin1String("DEM"))
        return QStringLiteral("DM");
    if (waehrung == QLatin1String("ATS"))
        return QStringLiteral("ÖS");
    return QStringLiteral("Euro");
}

}  // namespace Milchanlieferung
