// The lookups the animal selection, the list windows' premises filter and the animal card make for
// each animal read that animal's rows only: their page fetches stay the same when the herd in the
// same premises grows sixfold. The same measurement on the lookups as they were before the update
// step (joined from the premises, ranges on the date index) shows the growth, so it can fail.
// The results of the lookups on a small herd with several periods, calvings and inseminations.

#include <TestDatabase.h>

#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <QFile>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

// The procedures the selection, the list filter and the card call per animal; the update step
// brings each of them.
const char* const Prozeduren[] = {"P_GET_LETZTE_KALBUNG_DATUM",  "P_GET_LETZTE_BESAMUNG_DATUM",
                                  "P_GET_KALBUNGEN_TIER",        "P_GET_BETRIEBSSTAETTEN",
                                  "P_GET_BETRIEBSSTAETTE_DATUM", "P_GET_LETZTE_BETRIEBSSTAETTE"};

// The step's blocks that bring these procedures.
QStringList SchrittBloecke()
{
    QFile datei(QStringLiteral(BOVANTIS_SQL_UPDATE "/upd-1-27-1-28-1.sql"));
    EXPECT_TRUE(datei.open(QIODevice::ReadOnly)) << datei.fileName().toStdString();
    const QStringList alle = QString::fromUtf8(datei.readAll()).split(QStringLiteral("-=#=-"));
    QStringList bloecke;
    for (const char* name : Prozeduren) {
        const QString kopf = QStringLiteral("CREATE OR ALTER PROCEDURE %1 (").arg(name);
        const auto block = std::find_if(alle.begin(), alle.end(),
                                        [&](const QString& b) { return b.contains(kopf); });
        EXPECT_NE(block, alle.end()) << "the update step does not bring " << name;
        if (block != alle.end())
            bloecke << *block;
    }
    return bloecke;
}

class EinzeltierLesenTest : public ::testing::Test {
protected:
    db::Database& Db() { return datenbank_.Db(); }

    void Sql(const QString& sql)
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr, sql);
        q.SetParamCheck(false);
        q.Execute();
        tr.Commit();
    }

    // Animals von..bis (their IDs), all in premises 21 since 2020, status "B", each with an
    // insemination, a calving and two inseminations after it.
    void Herde(int von, int bis)
    {
        Sql(QStringLiteral(
                "EXECUTE BLOCK AS DECLARE I INTEGER = %1; BEGIN WHILE (I <= %2) DO BEGIN "
                "INSERT INTO T_STAMMDATEN (ID, NUMMER, KNR, NAME, GEBDAT, GESCHLECHT, RASSE, "
                "STATUS) VALUES (:I, 'DE 01 ' || LPAD(:I, 9, '0'), :I, 'Kuh ' || :I, "
                "DATE '2018-01-01' + MOD(:I, 300), 'W', 1, 'B'); "
                "INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (:I, DATE '2020-01-01', 21); "
                "INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (:I, DATE '2021-01-01' "
                "+ MOD(:I, 200), 'W'); "
                "INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (:I, DATE '2020-04-01' + "
                "MOD(:I, 200), 1); "
                "INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (:I, DATE '2021-06-01' + "
                "MOD(:I, 200), 1); "
                "INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (:I, DATE '2021-07-01' + "
                "MOD(:I, 200), 2); "
                "I = I + 1; END END")
                .arg(von)
                .arg(bis));
    }

    qint64 Seitenzugriffe()
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr, QStringLiteral(
                            "SELECT I.MON$PAGE_FETCHES FROM MON$IO_STATS I JOIN MON$ATTACHMENTS A "
                            "ON A.MON$STAT_ID = I.MON$STAT_ID "
                            "WHERE A.MON$ATTACHMENT_ID = CURRENT_CONNECTION"));
        q.Open();
        const qint64 n = q.Field(0).AsInt64();
        tr.Commit();
        return n;
    }

    // Page fetches of the per-animal lookups for animals 1..10, every row read.
    qint64 Lookups()
    {
        const auto lesen = [this] {
            db::Transaction tr(Db());
            tr.Start();
            for (const char* sql :
                 {"SELECT BETRIEB, STATUSIDX FROM V_TIERWAHL_AKTUELL WHERE ID <= 10",
                  "SELECT (SELECT STALL FROM P_GET_BETRIEBSSTAETTE_DATUM(S.ID, CURRENT_DATE)) "
                  "FROM T_STAMMDATEN S WHERE S.ID <= 10",
                  "SELECT P.BEZEICHNUNG FROM T_STAMMDATEN S, P_GET_BETRIEBSSTAETTEN(S.ID) P "
                  "WHERE S.ID <= 10",
                  "SELECT K.ANZAHL_BES, K.STIER FROM T_STAMMDATEN S, P_GET_KALBUNGEN_TIER(S.ID) K "
                  "WHERE S.ID <= 10"}) {
                db::Query q(tr, QString::fromLatin1(sql));
                for (q.Open(); !q.Eof(); q.Next())
                    ;
            }
            tr.Commit();
        };
        lesen();  // compiles the procedures and fills the cache
        const qint64 vorher = Seitenzugriffe();
        lesen();
        return Seitenzugriffe() - vorher;
    }

    void Einspielen(const QStringList& bloecke)
    {
        for (const QString& block : bloecke)
            db::ScriptRunner(Db()).Run(block);
    }

    TestDatabase datenbank_;
};

TEST_F(EinzeltierLesenTest, PageFetchesPerAnimalDoNotGrowWithTheHerd)
{
    const QStringList neu = SchrittBloecke();
    ASSERT_EQ(neu.size(), int(std::size(Prozeduren)));
    // Before the step: the same procedures without the "+ 0" that keeps the optimizer off the
    // premises' and the date's index.
    QStringList alt;
    for (const QString& block : neu)
        alt << QString(block).replace(QStringLiteral(" + 0"), QString());
    ASSERT_NE(alt, neu);

    Sql(
        QStringLiteral("INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER) VALUES (11, "
                       "'Hof', '276090000000011')"));
    Sql(QStringLiteral(
        "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (21, 'Nord', 11)"));

    Herde(1, 2000);
    const qint64 schemaKlein = Lookups();
    Einspielen(alt);
    const qint64 altKlein = Lookups();
    Einspielen(neu);
    const qint64 neuKlein = Lookups();

    Herde(2001, 12000);
    const qint64 neuGross = Lookups();
    Einspielen(alt);
    const qint64 altGross = Lookups();
    Einspielen(neu);
    const qint64 neuGrossNachSchritt = Lookups();

    // From 2,000 to 12,000 animals the indexes keep their depth: reading an animal's own rows
    // costs the same; the old plans read more of the premises' and the date's index each time.
    EXPECT_GT(altGross - altKlein, 200)
        << "the measurement does not see the old plans: " << altKlein << " -> " << altGross;
    EXPECT_LT(neuGross - neuKlein, 20) << neuKlein << " -> " << neuGross;
    EXPECT_LT(neuGrossNachSchritt - neuKlein, 20) << neuKlein << " -> " << neuGrossNachSchritt;
    EXPECT_EQ(schemaKlein, neuKlein) << "the schema and the update step differ";
}

// Premises periods with a change on one day and a period that has ended, calvings and
// inseminations before and after them: what the lookups answer.
TEST_F(EinzeltierLesenTest, LookupResultsOnASmallHerd)
{
    for (const char* sql :
         {"INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER, GV) VALUES (11, 'Hof', "
          "'276090000000011', 'T')",
          "INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER, GV) VALUES (12, 'Pacht', "
          "'276090000000012', 'F')",
          "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (21, 'Nord', 11)",
          "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (22, 'Sued', 12)",
          "INSERT INTO T_STAMMDATEN (ID, NUMMER, KNR, NAME, GEBDAT, GESCHLECHT, RASSE, STATUS) "
          "VALUES (1, 'DE 0100000001', 1, 'Anna', '01.01.2019', 'W', 1, 'B')",
          "INSERT INTO T_STAMMDATEN (ID, NUMMER, KNR, NAME, GEBDAT, GESCHLECHT, RASSE, STATUS) "
          "VALUES (2, 'DE 0100000002', 2, 'Berta', '01.01.2019', 'W', 1, 'L')",
          "INSERT INTO T_STAMMDATEN (ID, NUMMER, KNR, NAME, GEBDAT, GESCHLECHT, RASSE, STATUS) "
          "VALUES (3, 'DE 0100000003', 3, 'Clara', '01.01.2019', 'W', 1, 'J')",
          // Anna: Nord, then Sued from 01.06.2022 on, moved back the same day.
          "INSERT INTO T_STAELLE (ID, TIER, VON, BIS, STALL) VALUES (1, 1, '01.01.2019', "
          "'01.06.2022', 21)",
          "INSERT INTO T_STAELLE (ID, TIER, VON, BIS, STALL) VALUES (2, 1, '01.06.2022', "
          "'01.06.2022', 22)",
          "INSERT INTO T_STAELLE (ID, TIER, VON, STALL) VALUES (3, 1, '01.06.2022', 21)",
          // Berta: Nord, then Sued for good.
          "INSERT INTO T_STAELLE (ID, TIER, VON, BIS, STALL) VALUES (4, 2, '01.01.2019', "
          "'15.03.2023', 21)",
          "INSERT INTO T_STAELLE (ID, TIER, VON, STALL) VALUES (5, 2, '15.03.2023', 22)",
          "INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (1, '01.02.2021', 'W')",
          "INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (1, '01.03.2022', 'M')",
          "INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (2, '01.03.2022', 'W')",
          "INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (1, '01.05.2021', 1)",
          "INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (1, '01.05.2022', 1)",
          "INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (1, '22.05.2022', 2)",
          "INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR) VALUES (2, '01.06.2021', 1)"})
        Sql(QString::fromLatin1(sql));

    const auto zeilen = [this](const char* sql) {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr, QString::fromLatin1(sql));
        QStringList z;
        for (q.Open(); !q.Eof(); q.Next()) {
            QStringList w;
            for (int i = 0; i < q.FieldCount(); ++i)
                w << (q.Field(i).IsNull() ? QStringLiteral("-") : q.Field(i).AsString().trimmed());
            z << w.join(QLatin1Char('|'));
        }
        tr.Commit();
        return z.join(QStringLiteral("; ")).toStdString();
    };

    EXPECT_EQ(zeilen("SELECT ID, BETRIEB FROM V_TIERWAHL_AKTUELL ORDER BY ID"),
              "1|Nord; 2|Sued; 3|-");
    EXPECT_EQ(zeilen("SELECT S.ID, P.STALL, P.BEZEICHNUNG, P.GV FROM T_STAMMDATEN S "
                     "LEFT JOIN P_GET_LETZTE_BETRIEBSSTAETTE(S.ID) P ON 1 = 1 ORDER BY S.ID"),
              "1|21|Nord|T; 2|22|Sued|F; 3|-|-|-");
    EXPECT_EQ(zeilen("SELECT S.ID, P.STALL, P.BEZEICHNUNG, P.GV FROM T_STAMMDATEN S "
                     "LEFT JOIN P_GET_BETRIEBSSTAETTE_DATUM(S.ID, '01.06.2022') P ON 1 = 1 "
                     "ORDER BY S.ID"),
              "1|21|Nord|T; 2|21|Nord|T; 3|-|-|-");
    EXPECT_EQ(zeilen("SELECT S.ID, P.STALL FROM T_STAMMDATEN S "
                     "LEFT JOIN P_GET_BETRIEBSSTAETTE_DATUM(S.ID, '16.03.2023') P ON 1 = 1 "
                     "ORDER BY S.ID"),
              "1|21; 2|22; 3|-");
    EXPECT_EQ(zeilen("SELECT ID, STALL, GRUPPE, BEZEICHNUNG FROM P_GET_BETRIEBSSTAETTEN(1)"),
              "1|21|Hof|Nord; 2|22|Pacht|Sued; 3|21|Hof|Nord");
    EXPECT_EQ(zeilen("SELECT S.ID, K.DATUM, B.DATUM FROM T_STAMMDATEN S "
                     "LEFT JOIN P_GET_LETZTE_KALBUNG_DATUM(S.ID, '15.05.2022') K ON 1 = 1 "
                     "LEFT JOIN P_GET_LETZTE_BESAMUNG_DATUM(S.ID, '15.05.2022') B ON 1 = 1 "
                     "ORDER BY S.ID"),
              "1|01.03.2022|01.05.2022; 2|01.03.2022|-; 3|-|-");
    EXPECT_EQ(zeilen("SELECT K.DATUM, B.DATUM FROM P_GET_LETZTE_KALBUNG_DATUM(1, '28.02.2022') K "
                     "CROSS JOIN P_GET_LETZTE_BESAMUNG_DATUM(1, '28.02.2022') B"),
              "01.02.2021|01.05.2021");
}

}  // namespace
