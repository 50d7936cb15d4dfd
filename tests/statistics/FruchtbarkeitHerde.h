#pragma once
// A herd for the fertility statistics, with the test's today 15 June 2025 (first year of the
// calving interval chart: 2016), and twelve months of milk deliveries in 2024 (May missing).
//
// animal  calvings                          inseminations before them         left
// 201 A   2021-03-01, 2022-03-11, 2023-02-04  2020-05-20 | 2021-05-01, 2021-06-04 | 2022-05-05
// 202 B   2022-01-10, 2022-11-06              - | 2022-02-01
// 203 C   2024-04-01                          2023-05-01, 2023-05-22, 2023-06-30
// 204 D   2015-06-01, 2016-05-20              - | 2015-08-20
// 205 E   -                                   2022-08-01                        2022-10-01
// 206 F   2021-10-10                          2021-01-01                        2022-03-01
// 207 G   2021-05-01                          after it: 2021-07-01              2022-04-01
// 208 H   2022-07-01                          seven, 2021-09-01 to 2021-10-31

#include <Database.h>
#include <Query.h>
#include <Transaction.h>

#include <QString>
#include <QStringList>

namespace statistik_test {

inline void FruchtbarkeitHerdeAnlegen(db::Database& datenbank)
{
    QStringList sql;
    const auto tier = [&](int id, const char* geboren, const char* weg) {
        sql << QStringLiteral(
                   "INSERT INTO T_STAMMDATEN (ID, NUMMER, NAME, GEBDAT, GESCHLECHT, "
                   "STATUS, RASSE, VERKAUFT) VALUES (%1, 'DE 02 000 00%1', 'Kuh %1', "
                   "DATE '%2', 'W', 'B', 1, %3)")
                   .arg(id)
                   .arg(QString::fromLatin1(geboren),
                        weg ? QStringLiteral("DATE '%1'").arg(QString::fromLatin1(weg))
                            : QStringLiteral("NULL"));
    };
    const auto kalbung = [&](int id, const char* tag) {
        sql << QStringLiteral(
                   "INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (%1, "
                   "DATE '%2', 'W')")
                   .arg(id)
                   .arg(QString::fromLatin1(tag));
    };
    const auto besamung = [&](int id, const char* tag) {
        sql << QStringLiteral(
                   "INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (%1, DATE '%2', 1)")
                   .arg(id)
                   .arg(QString::fromLatin1(tag));
    };
    tier(201, "2018-01-01", nullptr);
    besamung(201, "2020-05-20");
    kalbung(201, "2021-03-01");
    besamung(201, "2021-05-01");
    besamung(201, "2021-06-04");
    kalbung(201, "2022-03-11");
    besamung(201, "2022-05-05");
    kalbung(201, "2023-02-04");
    tier(202, "2019-03-01", nullptr);
    kalbung(202, "2022-01-10");
    besamung(202, "2022-02-01");
    kalbung(202, "2022-11-06");
    tier(203, "2021-02-01", nullptr);
    besamung(203, "2023-05-01");
    besamung(203, "2023-05-22");
    besamung(203, "2023-06-30");
    kalbung(203, "2024-04-01");
    tier(204, "2013-01-01", nullptr);
    kalbung(204, "2015-06-01");
    besamung(204, "2015-08-20");
    kalbung(204, "2016-05-20");
    tier(205, "2020-01-01", "2022-10-01");
    besamung(205, "2022-08-01");
    tier(206, "2019-01-01", "2022-03-01");
    besamung(206, "2021-01-01");
    kalbung(206, "2021-10-10");
    tier(207, "2019-01-01", "2022-04-01");
    kalbung(207, "2021-05-01");
    besamung(207, "2021-07-01");
    tier(208, "2019-06-01", nullptr);
    for (const char* tag : {"2021-09-01", "2021-09-11", "2021-09-21", "2021-10-01", "2021-10-11",
                            "2021-10-21", "2021-10-31"})
        besamung(208, tag);
    kalbung(208, "2022-07-01");

    // 2024 without May; March in marks, June with 24,000 kg, the largest quantity.
    struct Monat {
        int monat;
        int menge;
        const char* fett;
        int keime;
        int zellen;
        const char* preis;
        const char* geld;
        const char* waehrung;
    };
    const Monat monate[] = {
        {1, 20000, "4.10", 20, 180, "40.00", "8000.00", "EUR"},
        {2, 19000, "4.15", 30, 190, "41.00", "7790.00", "EUR"},
        {3, 21000, "4.05", 50, 250, "60.00", "1000.00", "DEM"},
        {4, 22000, "4.00", 40, 200, "42.00", "9240.00", "EUR"},
        {6, 24000, "3.90", 35, 210, "43.00", "10320.00", "EUR"},
        {7, 23000, "3.95", 25, 220, "43.50", "10005.00", "EUR"},
        {8, 22500, "4.00", 20, 230, "44.00", "9900.00", "EUR"},
        {9, 21500, "4.10", 22, 240, "44.00", "9460.00", "EUR"},
        {10, 21000, "4.20", 24, 200, "45.00", "9450.00", "EUR"},
        {11, 20500, "4.25", 26, 190, "45.00", "9225.00", "EUR"},
        {12, 20000, "4.30", 28, 180, "46.00", "9200.00", "EUR"},
    };
    for (const Monat& m : monate)
        sql << QStringLiteral(
                   "INSERT INTO T_MILCHANLIEFERUNG (ID, MONAT, MENGE, FETT, EIWEIS, "
                   "KEIMZAHL, ZELLZAHL, PREIS37, PREISEIGEN, MILCHGELD, WAEHRUNG) "
                   "VALUES (%1, DATE '2024-%2-01', %3, %4, 3.40, %5, %6, %7, %7, %8, "
                   "'%9')")
                   .arg(m.monat)
                   .arg(m.monat, 2, 10, QLatin1Char('0'))
                   .arg(m.menge)
                   .arg(QString::fromLatin1(m.fett))
                   .arg(m.keime)
                   .arg(m.zellen)
                   .arg(QString::fromLatin1(m.preis), QString::fromLatin1(m.geld),
                        QString::fromLatin1(m.waehrung));

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
