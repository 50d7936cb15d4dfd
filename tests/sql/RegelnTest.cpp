// What the database itself does on inserts, deletes and commits, and what its procedures do with
// the herd's rows.

#include <TestDatabase.h>

#include <Error.h>
#include <EventListener.h>
#include <Query.h>
#include <Transaction.h>

#include <QElapsedTimer>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// One statement in a transaction; returns the first column of its first row (or 0).
int Sql(db::Transaction& tr, const QString& sql)
{
    db::Query q(tr, sql);
    q.Execute();
    return q.FieldCount() > 0 && !q.Eof() ? q.Field(0).AsInteger() : 0;
}

QString Text(db::Transaction& tr, const QString& sql)
{
    db::Query q(tr, sql);
    q.Open();
    return q.Eof() ? QStringLiteral("<keine Zeile>") : q.Field(0).AsString().trimmed();
}

int NeuesTier(db::Transaction& tr, const QString& nummer, const QString& geschlecht = "W",
              const QString& status = "J")
{
    return Sql(tr, QStringLiteral("INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE, "
                                  "STATUS) VALUES ('%1', '01.03.2020', '%2', 1, '%3') RETURNING ID")
                       .arg(nummer, geschlecht, status));
}

class RegelnTest : public DatabaseTest {
protected:
    // Every test works in a transaction that is rolled back, so the suite's database stays as
    // created.
    void SetUp() override { tr_.Start(); }
    void TearDown() override { tr_.Rollback(); }
    db::Transaction tr_{Db()};
};

TEST_F(RegelnTest, InsertsWithoutIdTakeTheGeneratorAndExplicitIdsStay)
{
    const int tier = NeuesTier(tr_, "DE 0100000001");
    const int liste = Sql(tr_, "INSERT INTO T_LISTEN (BEZEICHNUNG) VALUES ('L') RETURNING ID");
    const QString einfuegen[] = {
        QStringLiteral("INSERT INTO T_HITMELDUNGEN (TIER, MELDUNG, DATUM, BETRIEB) VALUES "
                       "(%1, 3, '01.05.2024', '') RETURNING ID"),
        QStringLiteral("INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (%1, '01.03.2020', 1) "
                       "RETURNING ID"),
        QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (%1, "
                       "'01.01.2023', 'W') RETURNING ID"),
        QStringLiteral("INSERT INTO T_BESAMUNGSMELDUNG (BESAMUNG, TIER, GESENDET, WERTE) VALUES "
                       "(NULL, %1, NULL, '') RETURNING ID"),
        QStringLiteral("INSERT INTO T_HIT_GESENDET (ZEIT, MELDUNG, TIER) VALUES "
                       "(CURRENT_TIMESTAMP, 'ZUGANG', 'DE %1') RETURNING ID"),
        QStringLiteral("INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, ZEILE, BREITE, TITEL, "
                       "SICHTBAR, AUTOBREITE, UEBERSCHRIFT) VALUES (%2, 'ART', 1, 50, 'Art', 'T', "
                       "'T', 'F') RETURNING ID"),
        QStringLiteral("INSERT INTO T_LISTEN_DRUCK (LISTE, FELD, L_POSITION, ZEILE, BREITE, TITEL, "
                       "SICHTBAR, ZEILENUMBRUCH, LEERZEILE, SCHRIFTSCHMAL) VALUES (%2, 'ART', 0, "
                       "1, 50, 'Art', 'T', 'F', 'F', 'F') RETURNING ID"),
        QStringLiteral("INSERT INTO T_HIT_BESTANDSREGISTER (LOM) VALUES (%1) RETURNING ID"),
        QStringLiteral("INSERT INTO T_ZUCHTWERTE (TIER, MILCHKG) VALUES (%1, 100) RETURNING ID"),
    };
    for (const QString& sql : einfuegen) {
        const int id = Sql(tr_, QString(sql)
                                    .replace(QStringLiteral("%1"), QString::number(tier))
                                    .replace(QStringLiteral("%2"), QString::number(liste)));
        EXPECT_GT(id, 0) << sql.toStdString();
    }
    // The handheld conduit brings its own IDs.
    EXPECT_EQ(Sql(tr_, QStringLiteral("INSERT INTO T_HITMELDUNGEN (ID, TIER, MELDUNG) VALUES "
                                      "(1048577, %1, 14) RETURNING ID")
                           .arg(tier)),
              1048577);
    // Built-in list designs count down from -1.
    EXPECT_EQ(Sql(tr_, "SELECT FIRST 1 GEN_ID(G_LISTEN_ID_INTERN, -1) FROM RDB$DATABASE"), -1);
}

TEST_F(RegelnTest, NewCalvingsAndInseminationsAreNumberedWhenTheInsertGivesNone)
{
    const int tier = NeuesTier(tr_, "DE 0100000002");
    const auto kalbung = [&](const char* datum) {
        return Sql(tr_, QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES "
                                       "(%1, '%2', 'W') RETURNING NR")
                            .arg(tier)
                            .arg(datum));
    };
    const auto besamung = [&](const char* datum) {
        return Sql(tr_, QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM) VALUES (%1, '%2') "
                                       "RETURNING NR")
                            .arg(tier)
                            .arg(datum));
    };
    EXPECT_EQ(besamung("01.03.2022"), 1);
    EXPECT_EQ(besamung("22.03.2022"), 2);
    EXPECT_EQ(kalbung("01.01.2023"), 1);
    EXPECT_EQ(besamung("01.03.2023"), 1);
    EXPECT_EQ(kalbung("10.12.2023"), 2);
    // An imported calving keeps the number it brings.
    EXPECT_EQ(Sql(tr_, QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NR) "
                                      "VALUES (%1, '01.12.2024', 'M', 5) RETURNING NR")
                           .arg(tier)),
              5);

    // Deleting the first insemination of a cycle moves the later ones up.
    const int zweite = Sql(tr_, QStringLiteral("SELECT ID FROM T_BESAMUNGEN WHERE TIER = %1 AND "
                                               "DATUM = '22.03.2022'")
                                    .arg(tier));
    Sql(tr_,
        QStringLiteral("EXECUTE PROCEDURE P_DO_BESAMUNG_LOESCHEN(%1, NULL, NULL, 1)").arg(tier));
    EXPECT_EQ(Sql(tr_, QStringLiteral("SELECT NR FROM T_BESAMUNGEN WHERE ID = %1").arg(zweite)), 2)
        << "the running cycle has only the insemination of 01.03.2023";
    const int kalbung1 =
        Sql(tr_, QStringLiteral("SELECT ID FROM T_KALBUNGEN WHERE TIER = %1 AND NR = 1").arg(tier));
    Sql(tr_, QStringLiteral("EXECUTE PROCEDURE P_DO_BESAMUNG_LOESCHEN(NULL, NULL, %1, 1)")
                 .arg(kalbung1));
    EXPECT_EQ(Sql(tr_, QStringLiteral("SELECT NR FROM T_BESAMUNGEN WHERE ID = %1").arg(zweite)), 1);
    Sql(tr_,
        QStringLiteral("EXECUTE PROCEDURE P_DO_KALBUNG_LOESCHEN(%1, NULL, NULL)").arg(kalbung1));
    EXPECT_EQ(Text(tr_, QStringLiteral("SELECT LIST(NR, ',') FROM (SELECT NR FROM T_KALBUNGEN "
                                       "WHERE TIER = %1 ORDER BY DATUM)")
                            .arg(tier)),
              QStringLiteral("1,4"));
}

TEST_F(RegelnTest, TheNumericEarTagFollowsTheTagAndStaysEmptyForAnInvalidOne)
{
    const int tier = NeuesTier(tr_, "DE 0100000030");
    const auto zahl = [&] {
        return Text(tr_, QStringLiteral("SELECT COALESCE(CAST(NUMMER_NUM AS VARCHAR(20)), 'NULL') "
                                        "FROM T_STAMMDATEN WHERE ID = %1")
                             .arg(tier));
    };
    EXPECT_EQ(zahl(), QStringLiteral("276000100000030"));
    // Never a number that a join on another animal's tag could match.
    Sql(tr_, QStringLiteral("UPDATE T_STAMMDATEN SET NUMMER = 'AT 123 456 789' WHERE ID = %1")
                 .arg(tier));
    EXPECT_EQ(zahl(), QStringLiteral("NULL"));
    Sql(tr_,
        QStringLiteral("UPDATE T_STAMMDATEN SET NUMMER = 'DE 0100000031' WHERE ID = %1").arg(tier));
    EXPECT_EQ(zahl(), QStringLiteral("276000100000031"));
}

// One animal per ear-tag number whatever the spelling; the tag is kept in its printed form.
TEST_F(RegelnTest, AnEarTagIsStoredOnceAndInItsPrintedForm)
{
    const auto nummer = [&](int tier) {
        return Text(tr_, QStringLiteral("SELECT NUMMER FROM T_STAMMDATEN WHERE ID = %1").arg(tier));
    };
    const int tier = NeuesTier(tr_, "de0111111111");
    EXPECT_EQ(nummer(tier), QStringLiteral("DE 01 111 11111"));
    for (const char* schreibweise :
         {"DE 01 111 11111", "DE0111111111", "276 01 111 11111", "276000111111111"}) {
        try {
            NeuesTier(tr_, schreibweise);
            ADD_FAILURE() << schreibweise << " was stored a second time";
        } catch (const db::Error& e) {
            EXPECT_TRUE(e.Constraint().startsWith(QStringLiteral("I_STAMMDATEN_NUMMER")))
                << schreibweise << ": " << e.Message().toStdString();
        }
    }
    // Another spelling of its own tag is no conflict and is stored printed as well.
    Sql(tr_, QStringLiteral("UPDATE T_STAMMDATEN SET NUMMER = '276-01-111-11111' WHERE ID = %1")
                 .arg(tier));
    EXPECT_EQ(nummer(tier), QStringLiteral("DE 01 111 11111"));
    // A tag the coder refuses stays as typed, and two of them do not collide on the number.
    const int a = NeuesTier(tr_, "XY 123");
    const int b = NeuesTier(tr_, "XY 124");
    EXPECT_EQ(nummer(a), QStringLiteral("XY 123"));
    EXPECT_EQ(nummer(b), QStringLiteral("XY 124"));
}

// A join on the number of an ear tag the coder refuses (0) finds no animal: no animal is stored
// with that number.
TEST_F(RegelnTest, InvalidEarTagsJoinNoAnimal)
{
    const int gueltig = NeuesTier(tr_, "DE 01 234 56789");
    NeuesTier(tr_, "AT 123 456 789");  // wrong check digit
    NeuesTier(tr_, "unlesbar");
    db::Query q(tr_, QStringLiteral(
                         "SELECT T.LOM, S.ID FROM (SELECT 'DE 01 234 56789' LOM FROM RDB$DATABASE "
                         "UNION ALL SELECT 'AT 123 456 789' FROM RDB$DATABASE UNION ALL SELECT "
                         "'unlesbar' FROM RDB$DATABASE) T LEFT JOIN T_STAMMDATEN S ON "
                         "S.NUMMER_NUM = ZRNV_ENCODELOM(T.LOM) ORDER BY T.LOM"));
    QStringList zeilen;
    for (q.Open(); !q.Eof(); q.Next())
        zeilen << q.Field(0).AsString().trimmed() + QLatin1Char('=') +
                      (q.Field(1).IsNull() ? QStringLiteral("-") : q.Field(1).AsString());
    EXPECT_EQ(zeilen.join(QLatin1Char(' ')),
              QStringLiteral("AT 123 456 789=- DE 01 234 56789=%1 unlesbar=-").arg(gueltig));
}

TEST_F(RegelnTest, AViolatedConstraintNamesItselfAndHasItsUserText)
{
    NeuesTier(tr_, "DE 0100000003");
    try {
        NeuesTier(tr_, "DE 0100000003");
        FAIL() << "a second animal with the same ear tag was stored";
    } catch (const db::Error& e) {
        // The dataset helpers find the name after "I_ in the message, up to the next quote.
        const QString meldung = e.Message().toUpper();
        const int beginn = meldung.indexOf(QStringLiteral("\"I_"));
        ASSERT_GE(beginn, 0) << e.Message().toStdString();
        const QString name = meldung.mid(beginn + 1, meldung.indexOf('"', beginn + 1) - beginn - 1);
        EXPECT_EQ(name, QStringLiteral("I_STAMMDATEN_NUMMER"));
        db::Query q(tr_, QStringLiteral("SELECT BESCHREIBUNG FROM T_DB_FEHLER "
                                        "WHERE UPPER(CONSTR) = UPPER(:NAME)"));
        q.Param(QStringLiteral("NAME")).SetString(name);
        q.Open();
        ASSERT_FALSE(q.Eof());
        EXPECT_TRUE(q.Field(0).AsString().startsWith(
            QStringLiteral("Es gibt bereits ein Tier mit dieser Ohrmarkennummer.")));
    }
}

TEST_F(RegelnTest, EveryNamedConstraintHasAUserText)
{
    db::Query q(tr_,
                QStringLiteral("SELECT TRIM(C.RDB$CONSTRAINT_NAME) FROM "
                               "RDB$RELATION_CONSTRAINTS C WHERE C.RDB$CONSTRAINT_NAME "
                               "STARTING WITH 'I_' AND NOT EXISTS (SELECT 1 FROM T_DB_FEHLER F "
                               "WHERE UPPER(F.CONSTR) = C.RDB$CONSTRAINT_NAME)"));
    QStringList ohneText;
    for (q.Open(); !q.Eof(); q.Next())
        ohneText << q.Field(0).AsString();
    EXPECT_EQ(ohneText, QStringList());
    EXPECT_GT(Sql(tr_, "SELECT COUNT(*) FROM T_DB_FEHLER"), 20);
}

TEST_F(RegelnTest, DeletingAnAnimalTakesItsRowsAndKeepsWhatOthersNeed)
{
    const int kuh = NeuesTier(tr_, "DE 0100000004", "W", "B");
    const int andere = NeuesTier(tr_, "DE 0100000005");
    Sql(tr_, QStringLiteral("INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (%1, '01.03.2020', 1)")
                 .arg(kuh));
    Sql(tr_, QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES "
                            "(%1, '01.01.2023', 'W')")
                 .arg(kuh));
    Sql(tr_, QStringLiteral("INSERT INTO T_BEMERKUNGEN (TIER, BEMERKUNG) VALUES (%1, 'lahmt')")
                 .arg(kuh));
    const int besamung = Sql(tr_, QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM) VALUES "
                                                 "(%1, '01.03.2024') RETURNING ID")
                                      .arg(kuh));
    const int bulle = Sql(tr_,
                          "INSERT INTO T_BULLEN_STAMM (NAME, RASSE) VALUES ('Bert', 1) "
                          "RETURNING ID");
    const int lieferung = Sql(tr_,
                              "INSERT INTO T_CONTAINER_LIEFERUNG (DATUM) VALUES "
                              "('01.01.2024') RETURNING ID");
    const int portion =
        Sql(tr_, QStringLiteral("INSERT INTO T_CONTAINER_PORTION (LIEFERUNG, BULLE, "
                                "ANZAHL_GESAMT) VALUES (%1, %2, 10) RETURNING ID")
                     .arg(lieferung)
                     .arg(bulle));
    Sql(tr_, QStringLiteral("INSERT INTO T_CONTAINER_VERWENDUNG (ART, BESAMUNG, DATUM, "
                            "PORTIONSTEILUNG, PORTION) VALUES ('B', %1, '01.03.2024', 'F', %2)")
                 .arg(besamung)
                 .arg(portion));
    const auto behandlung = [&](std::initializer_list<int> tiere) {
        const int id = Sql(tr_,
                           "INSERT INTO T_TIERARZTLEISTUNG (GRUND) VALUES ('Mastitis') "
                           "RETURNING ID");
        for (int t : tiere)
            Sql(tr_, QStringLiteral("INSERT INTO T_TIERARZTGRUPPE (TIER, LEISTUNG) VALUES (%1, %2)")
                         .arg(t)
                         .arg(id));
        Sql(tr_, QStringLiteral("INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM) VALUES "
                                "(%1, '02.03.2024')")
                     .arg(id));
        return id;
    };
    const int allein = behandlung({kuh});
    const int gruppe = behandlung({kuh, andere});
    Sql(tr_, QStringLiteral("INSERT INTO T_HITMELDUNGEN (TIER, MELDUNG, DATUM, BETRIEB) VALUES "
                            "(%1, 3, '01.05.2024', '')")
                 .arg(kuh));
    Sql(tr_, QStringLiteral("INSERT INTO T_AUFSTALLUNG (NR, TIER, BETRIEBSSTAETTE) VALUES "
                            "(0, %1, 0)")
                 .arg(kuh));

    Sql(tr_, QStringLiteral("EXECUTE PROCEDURE P_DO_TIER_LOESCHEN(%1)").arg(kuh));

    for (const char* tabelle :
         {"T_STAELLE", "T_KALBUNGEN", "T_BEMERKUNGEN", "T_BESAMUNGEN", "T_TIERARZTGRUPPE"}) {
        EXPECT_EQ(
            Sql(tr_,
                QStringLiteral("SELECT COUNT(*) FROM %1 WHERE TIER = %2").arg(tabelle).arg(kuh)),
            0)
            << tabelle;
    }
    EXPECT_EQ(
        Sql(tr_,
            QStringLiteral("SELECT COUNT(*) FROM T_TIERARZTLEISTUNG WHERE ID = %1").arg(allein)),
        0);
    EXPECT_EQ(Sql(tr_, QStringLiteral("SELECT COUNT(*) FROM T_TIERARZTGRUPPE WHERE LEISTUNG = %1")
                           .arg(gruppe)),
              1)
        << "the group treatment stays for the other animal";
    EXPECT_EQ(Sql(tr_, QStringLiteral("SELECT CAST(ANZAHL_VORHANDEN * 10 AS INTEGER) FROM "
                                      "V_CONTAINER_INHALT WHERE ID = %1")
                           .arg(portion)),
              100)
        << "the straw used for the deleted insemination is back in stock";
    // The pending report can still be sent or deleted by hand.
    EXPECT_EQ(Text(tr_, "SELECT COALESCE(TIER, 0) || ' ' || LOM FROM T_HITMELDUNGEN"),
              QStringLiteral("0 DE 01 000 00004"));
    EXPECT_EQ(Text(tr_, "SELECT COALESCE(TIER, 0) FROM T_AUFSTALLUNG"), QStringLiteral("0"));

    // The handheld conduit deletes animals directly.
    Sql(tr_, QStringLiteral("DELETE FROM T_STAMMDATEN WHERE ID = %1").arg(andere));
    EXPECT_EQ(Sql(tr_, "SELECT COUNT(*) FROM T_TIERARZTGRUPPE"), 0);
}

TEST_F(RegelnTest, PremisesChangeAddsPeriodsAndSaysWhichReportsAreNeeded)
{
    Sql(tr_, "UPDATE T_BETRIEBSGRUPPEN SET NUMMER = '276090000000001' WHERE ID = 1");
    Sql(tr_,
        "INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER) VALUES "
        "(2, 'Pachtbetrieb', '276091111111111')");
    Sql(tr_, "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (2, 'Weide', 2)");
    Sql(tr_, "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (3, 'Jungvieh', 1)");
    const int tier = NeuesTier(tr_, "DE 0100000006");
    const auto wechsel = [&](const char* datum, int stall, const char* force) {
        db::Query q(tr_, QStringLiteral("SELECT STATUS || HIT_AB || HIT_ZU || ' ' || "
                                        "COALESCE(TRIM(BNR_AB), '-') || ' ' || "
                                        "COALESCE(TRIM(BNR_ZU), '-') "
                                        "FROM P_DO_TIER_BETRIEB_WECHSEL(%1, '%2', %3, '%4')")
                             .arg(tier)
                             .arg(datum)
                             .arg(stall)
                             .arg(force));
        q.Open();
        return q.Field(0).AsString();
    };
    const auto perioden = [&] {
        return Text(tr_, QStringLiteral("SELECT LIST(VON || '-' || COALESCE(BIS, '') || ':' || "
                                        "STALL, ' ') FROM (SELECT * FROM "
                                        "P_GET_BETRIEBSSTAETTEN(%1))")
                             .arg(tier));
    };

    EXPECT_EQ(wechsel("01.03.2020", 1, "F"), QStringLiteral("HFF - -")) << "the first period";
    EXPECT_EQ(wechsel("01.06.2021", 3, "F"), QStringLiteral("HFF - -")) << "same holding";
    EXPECT_EQ(wechsel("01.05.2022", 2, "F"), QStringLiteral("HTT 276090000000001 276091111111111"));
    EXPECT_EQ(perioden(), QStringLiteral("2020-03-01-2021-06-01:1 2021-06-01-2022-05-01:3 "
                                         "2022-05-01-:2"));
    EXPECT_EQ(wechsel("01.01.2022", 1, "F"), QStringLiteral("FFF - -"));
    EXPECT_EQ(perioden(), QStringLiteral("2020-03-01-2021-06-01:1 2021-06-01-2022-05-01:3 "
                                         "2022-05-01-:2"))
        << "nothing changes until the user agrees";
    EXPECT_EQ(wechsel("01.01.2022", 1, "T"), QStringLiteral("NFF - -"));
    EXPECT_EQ(perioden(), QStringLiteral("2020-03-01-2021-06-01:1 2021-06-01-2022-01-01:3 "
                                         "2022-01-01-2022-05-01:1 2022-05-01-:2"));
    EXPECT_EQ(wechsel("01.01.2022", 999, "T").left(1), QStringLiteral("E"));
    EXPECT_EQ(
        Text(tr_,
             QStringLiteral("SELECT BEZEICHNUNG FROM P_GET_LETZTE_BETRIEBSSTAETTE(%1)").arg(tier)),
        QStringLiteral("Weide"));
    EXPECT_EQ(Text(tr_, QStringLiteral("SELECT BEZEICHNUNG FROM "
                                       "P_GET_BETRIEBSSTAETTE_DATUM(%1, '15.02.2022')")
                            .arg(tier)),
              QStringLiteral("Stall"));
}

TEST_F(RegelnTest, StartUpWorkSetsDryCowsAndCreatesDueAppointmentsOnce)
{
    Sql(tr_, "EXECUTE PROCEDURE P_INIT_DATEN");
    const int kuh = NeuesTier(tr_, "DE 0100000007", "W", "T");
    Sql(tr_, QStringLiteral("UPDATE T_STAMMDATEN SET TROCKEN = CURRENT_DATE - 1 WHERE ID = %1")
                 .arg(kuh));
    Sql(tr_, QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM) VALUES (%1, CURRENT_DATE - 40)")
                 .arg(kuh));
    const int regel = Sql(tr_,
                          "INSERT INTO T_TERMINE_EINSTELLUNG (ANKERPUNKT, TERMIN, VOR, NACH, "
                          "TIERKLASSE, TEXT, ERLEDIGEN) VALUES ('BE', 42, 7, 0, 'GW', "
                          "'Trächtigkeit untersuchen', 'T') RETURNING ID");
    Sql(tr_,
        "INSERT INTO T_TERMINE_EINSTELLUNG (ANKERPUNKT, TERMIN, VOR, NACH, TIERKLASSE, TEXT) "
        "VALUES ('BE', 42, 7, 0, 'GM', 'nur Bullen')");

    Sql(tr_, "EXECUTE PROCEDURE P_INIT_DATEN");
    Sql(tr_, "EXECUTE PROCEDURE P_INIT_DATEN");
    EXPECT_EQ(Text(tr_, QStringLiteral("SELECT STATUS FROM T_STAMMDATEN WHERE ID = %1").arg(kuh)),
              QStringLiteral("R"));
    EXPECT_EQ(Text(tr_,
                   "SELECT LIST(TIER || ' ' || TEXT || ' ' || (TERMIN - CURRENT_DATE)) "
                   "FROM T_TERMINE_ERLEDIGEN"),
              QStringLiteral("%1 Trächtigkeit untersuchen 2").arg(kuh));
    EXPECT_EQ(Text(tr_, "SELECT LIST(TERMIN_ID || ' ' || TIERID) FROM V_TERMINE_FAELLIG"),
              QStringLiteral("%1 %2").arg(regel).arg(kuh));

    // A changed rule replaces its open appointments.
    Sql(tr_,
        QStringLiteral("UPDATE T_TERMINE_EINSTELLUNG SET TERMIN = 41 WHERE ID = %1").arg(regel));
    Sql(tr_, "EXECUTE PROCEDURE P_INIT_DATEN");
    EXPECT_EQ(Text(tr_, "SELECT LIST(TERMIN - CURRENT_DATE) FROM T_TERMINE_ERLEDIGEN"),
              QStringLiteral("1"));

    // Marked done, it is no longer due.
    Sql(tr_, "UPDATE T_TERMINE_ERLEDIGEN SET ERLEDIGT = CURRENT_DATE");
    EXPECT_EQ(Sql(tr_, "SELECT COUNT(*) FROM V_TERMINE_FAELLIG"), 0);

    // The farm can switch the automatic dry status off.
    const int zweite = NeuesTier(tr_, "DE 0100000008", "W", "T");
    Sql(tr_, QStringLiteral("UPDATE T_STAMMDATEN SET TROCKEN = CURRENT_DATE - 1 WHERE ID = %1")
                 .arg(zweite));
    Sql(tr_, "INSERT INTO T_EINSTELLUNGEN (NAME, WERT) VALUES ('Status-Trocken-Setzen', 'F')");
    Sql(tr_, "EXECUTE PROCEDURE P_INIT_DATEN");
    EXPECT_EQ(
        Text(tr_, QStringLiteral("SELECT STATUS FROM T_STAMMDATEN WHERE ID = %1").arg(zweite)),
        QStringLiteral("T"));
}

TEST_F(RegelnTest, ReferenceRowsShipWithTheDatabase)
{
    EXPECT_EQ(Text(tr_, "SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Version'"),
              QStringLiteral("1"));
    EXPECT_EQ(Text(tr_, "SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Unterversion'"),
              QStringLiteral("29"));
    EXPECT_EQ(Text(tr_,
                   "SELECT LIST(STATUS, '') FROM (SELECT STATUS FROM T_STATUS_IDX "
                   "ORDER BY STATUSIDX)"),
              QStringLiteral("JLDBTNUAMZOR"));
    EXPECT_GE(Sql(tr_, "SELECT COUNT(*) FROM T_RASSEN WHERE VERWENDET = 'T'"), 1);
    EXPECT_EQ(Text(tr_, "SELECT BESCHREIBUNG FROM T_STATUS_IDX WHERE STATUS = 'D'"),
              QStringLiteral("deckfähig"));
    EXPECT_GT(Sql(tr_, "SELECT COUNT(*) FROM T_HIT_CODESETS WHERE FELD = 'GESCHL_R'"), 0);
}

// The animal selection reads every mask as the FROM part of its select, adds a premises filter and
// its order; every base view has the columns it needs.
TEST_F(RegelnTest, EveryMaskReadsTheAnimalsOfItsBaseView)
{
    NeuesTier(tr_, "DE 0100000009");
    Sql(tr_, "INSERT INTO T_STAELLE (TIER, VON, STALL) SELECT ID, GEBDAT, 1 FROM T_STAMMDATEN");
    db::Query masken(tr_, "SELECT NAME, QUERY FROM T_MASKEN ORDER BY REIHUNG");
    int anzahl = 0;
    for (masken.Open(); !masken.Eof(); masken.Next()) {
        ++anzahl;
        const QString query = masken.Field(1).AsString();
        const QString sql = QStringLiteral(
                                "SELECT T.ID, T.STATUSIDX, T.KNR, T.KNRDISPLAY, T.NAME, "
                                "T.NUMMER,\rT.GEBDAT, T.BETRIEB ") +
                            query +
                            (query.contains(QStringLiteral("WHERE")) ? QStringLiteral(" AND ")
                                                                     : QStringLiteral(" WHERE ")) +
                            QStringLiteral("(BETRIEB = 'Stall') ORDER BY T.KNR, T.GEBDAT");
        db::Query q(tr_, sql);
        EXPECT_NO_THROW(q.Open()) << masken.Field(0).AsString().toStdString();
    }
    EXPECT_EQ(anzahl, Sql(tr_, "SELECT COUNT(*) FROM T_TIERWAHL_VIEWS"));
    EXPECT_EQ(Sql(tr_, "SELECT COUNT(*) FROM V_TIERWAHL_AKTUELL WHERE BETRIEB = 'Stall'"), 1);
}

// The handheld's synchronisation: rows changed on the PC get an age above the run's start, the
// conduit's own writes (HotSync flag on) keep theirs, and PC deletions leave a slow mark.
TEST_F(RegelnTest, ChangesOnThePcAreStampedForTheHandheld)
{
    Sql(tr_, "SELECT GEN_ID(G_PALM_AGE, 5) FROM RDB$DATABASE");
    const int alter = Sql(tr_, "SELECT GEN_ID(G_PALM_AGE, 0) FROM RDB$DATABASE");
    const int tier = NeuesTier(tr_, "DE 0100000011");
    const auto palmAge = [&] {
        return Sql(tr_, QStringLiteral("SELECT COALESCE(PALM_AGE, -1) FROM T_STAMMDATEN "
                                       "WHERE ID = %1")
                            .arg(tier));
    };
    EXPECT_EQ(palmAge(), alter + 1);
    // The flag is the module's, for the whole process: it must be off again whatever happens.
    struct Flag {
        db::Transaction& tr;
        explicit Flag(db::Transaction& t) : tr(t) { Setzen(1); }
        ~Flag() { Setzen(0); }
        void Setzen(int an) const
        {
            Sql(tr, QStringLiteral("SELECT ZRNV_SET_HOTSYNC(%1) FROM RDB$DATABASE").arg(an));
        }
    };
    int vomHandheld = 0;
    {
        const Flag conduit(tr_);
        Sql(tr_, QStringLiteral("UPDATE T_STAMMDATEN SET PALM_AGE = 3, PALM_ID = 77 WHERE ID = %1")
                     .arg(tier));
        vomHandheld = Sql(tr_, QStringLiteral("INSERT INTO T_BEMERKUNGEN (ID, TIER, BEMERKUNG) "
                                              "VALUES (1048600, %1, 'x') RETURNING PALM_AGE")
                                   .arg(tier));
        Sql(tr_, "DELETE FROM T_BEMERKUNGEN");
    }
    EXPECT_EQ(palmAge(), 3) << "the conduit's own write";
    EXPECT_EQ(vomHandheld, alter) << "a row the conduit brings gets the current age";
    EXPECT_EQ(Sql(tr_, "SELECT COUNT(*) FROM T_EINSTELLUNGEN WHERE WERT = 'HOTSYNC-SLOW'"), 0);

    Sql(tr_, QStringLiteral("UPDATE T_STAMMDATEN SET NAME = 'Liesl' WHERE ID = %1").arg(tier));
    EXPECT_EQ(palmAge(), alter + 1);
    Sql(tr_, QStringLiteral("DELETE FROM T_STAMMDATEN WHERE ID = %1").arg(tier));
    EXPECT_EQ(Text(tr_, "SELECT LIST(NAME) FROM T_EINSTELLUNGEN WHERE WERT = 'HOTSYNC-SLOW'"),
              QStringLiteral("Hotsync-Slow-T_STAMMDATEN"));
}

// Events reach the listeners when the changing transaction commits, not before.
TEST(EreignisTest, ChangesPostTheirEventOnCommit)
{
    TestDatabase t;
    db::EventListener listener(t.Db());
    listener.SetEvents(
        {"CHANGE_STAMMDATEN", "CHANGE_TIERARZT", "CHANGE_EINSTELLUNGEN", "CHANGE_MLP"});
    QSignalSpy spy(&listener, &db::EventListener::EventAlert);
    listener.Register();
    spy.wait(300);
    spy.clear();

    // A deletion on a table the handheld keeps also leaves a slow mark in T_EINSTELLUNGEN, which
    // is no change of the settings; nor is the handheld's clearing of the marks.
    const struct {
        const char* sql;
        QStringList ereignisse;
    } faelle[] = {
        {"INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) VALUES ('DE 0100000010', "
         "'01.01.2024', 'M', 1)",
         {"CHANGE_STAMMDATEN"}},
        {"INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) SELECT ID, '01.01.2025', 'W' FROM "
         "T_STAMMDATEN",
         {"CHANGE_STAMMDATEN"}},
        {"INSERT INTO T_TIERARZTLEISTUNG (GRUND) VALUES ('Husten')", {"CHANGE_TIERARZT"}},
        {"UPDATE T_EINSTELLUNGEN SET WERT = WERT WHERE NAME = 'Version'", {"CHANGE_EINSTELLUNGEN"}},
        {"INSERT INTO T_PROBEMELKEN (DATUM) VALUES ('01.02.2025')", {"CHANGE_MLP"}},
        {"DELETE FROM T_PROBEMELKEN", {"CHANGE_MLP"}},
        {"DELETE FROM T_EINSTELLUNGEN WHERE WERT = 'HOTSYNC-SLOW'", {}},
    };
    for (const auto& f : faelle) {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query(tr, QString::fromLatin1(f.sql)).Execute();
        spy.wait(300);
        EXPECT_TRUE(spy.isEmpty()) << f.sql << ": delivered before the commit";
        tr.Commit();
        QStringList erhalten;
        QElapsedTimer zeit;
        zeit.start();
        while (erhalten.size() < f.ereignisse.size() && zeit.elapsed() < 10000) {
            spy.wait(100);
            for (const auto& alarm : spy)
                erhalten << alarm[0].toString();
            spy.clear();
        }
        spy.wait(200);
        for (const auto& alarm : spy)
            erhalten << alarm[0].toString();
        spy.clear();
        erhalten.sort();
        EXPECT_EQ(erhalten, f.ereignisse) << f.sql;
    }
}

}  // namespace
