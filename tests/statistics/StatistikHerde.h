#pragma once
// A small herd around the test's today, 15 June 2025, in a fresh database. Day offsets are from
// today.
//
// Berta: cow, born -1000, calved -600 and -200, inseminated -150 (calves +131), premises Nord.
// Heidi: heifer, born -700, inseminated -251 (calves +30), premises Süd.
// Max:   male calf, status J, born -10 (sold at 42 days: last day +31), premises Nord.
// Vera:  cow, born -900, calved -400, left on -5, premises Nord.
// Paula: heifer, born -500, on premises Weide of a holding that does not count for livestock
//        units.

#include <Database.h>
#include <Query.h>
#include <Transaction.h>

#include <QDate>
#include <QString>
#include <QStringList>

namespace statistik_test {

inline const QDate Heute{2025, 6, 15};

inline QString Datum(int tage)
{
    return QStringLiteral("DATE '%1'").arg(Heute.addDays(tage).toString(Qt::ISODate));
}

inline void HerdeAnlegen(db::Database& datenbank)
{
    QStringList sql = {
        "INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER, GV) VALUES (11, 'Hof', "
        "'276090000000011', 'T')",
        "INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER, GV) VALUES (12, 'Pacht', "
        "'276090000000012', 'F')",
        "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (21, 'Nord', 11)",
        "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (22, 'Süd', 11)",
        "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (23, 'Weide', 12)",
    };
    struct Tier {
        int id;
        const char* name;
        int geburt;
        const char* geschlecht;
        const char* status;
        int stall;
        int weg;  // 0: still here
    };
    const Tier tiere[] = {
        {101, "Berta", -1000, "W", "T", 21, 0}, {102, "Heidi", -700, "W", "T", 22, 0},
        {103, "Max", -10, "M", "J", 21, 0},     {104, "Vera", -900, "W", "L", 21, -5},
        {105, "Paula", -500, "W", "J", 23, 0},
    };
    for (const Tier& t : tiere) {
        sql << QStringLiteral(
                   "INSERT INTO T_STAMMDATEN (ID, NUMMER, NAME, GEBDAT, GESCHLECHT, "
                   "STATUS, RASSE, VERKAUFT) VALUES (%1, 'DE 01 000 00%1', '%2', %3, "
                   "'%4', '%5', 1, %6)")
                   .arg(t.id)
                   .arg(QString::fromLatin1(t.name), Datum(t.geburt),
                        QString::fromLatin1(t.geschlecht), QString::fromLatin1(t.status),
                        t.weg ? Datum(t.weg) : QStringLiteral("NULL"));
        sql << QStringLiteral(
                   "INSERT INTO T_STAELLE (TIER, VON, BIS, STALL) VALUES (%1, %2, %3, "
                   "%4)")
                   .arg(t.id)
                   .arg(Datum(t.geburt), t.weg ? Datum(t.weg) : QStringLiteral("NULL"))
                   .arg(t.stall);
    }
    const auto kalbung = [&](int tier, int tag) {
        sql << QStringLiteral(
                   "INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (%1, %2, "
                   "'W')")
                   .arg(tier)
                   .arg(Datum(tag));
    };
    const auto besamung = [&](int tier, int tag) {
        sql << QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM) VALUES (%1, %2)")
                   .arg(tier)
                   .arg(Datum(tag));
    };
    besamung(101, -881);
    kalbung(101, -600);
    besamung(101, -481);
    kalbung(101, -200);
    besamung(101, -150);
    besamung(102, -251);
    besamung(104, -681);
    kalbung(104, -400);

    db::Transaction tr(datenbank);
    tr.Start();
    for (const QString& s : sql) {
        db::Query q(tr, s);
        q.SetParamCheck(false);
        q.Execute();
    }
    tr.Commit();
}

}  // namespace statistik_test
