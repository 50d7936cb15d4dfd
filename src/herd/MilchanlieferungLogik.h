#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <cstdint>

// The quota-year computation of the milk deliveries and the month lists of their window.
namespace Milchanlieferung {

// The fat value of "noch lieferbar bei Fett" never goes below this: it divides.
constexpr double FettMinimum = 0.05;
constexpr double FettSchritt = 0.05;

// The months read for the quota year: from 1 April of its start to the month before today.
struct Zeitraum {
    QDate start;
    QDate ende;
};
Zeitraum Quotenjahr(const QDate& heute);

// One month of the quota year as read; a NULL quantity or fat counts as 0.
struct Monat {
    QDate monat;
    std::int64_t menge = 0;
    double fett = 0;
    std::int64_t referenzmenge = 0;
    double referenzfett = 0;
};

struct Summen {
    std::int64_t geliefert = 0;
    double fettGewichtet = 0;
    std::int64_t referenzmenge = 0;  // of the last month read
    double referenzfett = 0;
    QDate letzterLiefermonat;  // invalid when no month has a quantity above 0
    double letztesFett = 0;
    bool HatLieferung() const { return letzterLiefermonat.isValid(); }
};
Summen Summieren(const QList<Monat>& monate);

// Days from the first of the month after the last delivering month to the end of that month's
// quota year, both counted; 0 or less gives 365.
int RestTage(const QDate& letzterLiefermonat);

struct Ergebnis {
    double durchschnittFett = 0;
    double fettDifferenz = 0;
    bool fettDifferenzZeigen = false;
    std::int64_t korrektur = 0;
    std::int64_t korrigiert = 0;
    std::int64_t rest = 0;
    bool ueberlieferung = false;
    std::int64_t proTag = 0;
    std::int64_t proTagBeiFett = 0;
};
// gewaehltesFett below FettMinimum counts as FettMinimum.
Ergebnis Berechnen(const Summen& summen, int restTage, double gewaehltesFett);

// The months from January 1985 to the month before today's that have no row yet, oldest first.
QList<QDate> FreieMonate(const QList<QDate>& vorhandene, const QDate& heute);
// "mm/yyyy".
QString MonatText(const QDate& monat);

// The units beside the prices and beside the milk money.
QString PreisEinheit(const QString& waehrung);
QString GeldEinheit(const QString& waehrung);

}  // namespace Milchanlieferung
