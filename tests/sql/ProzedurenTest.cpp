// The read procedures of the animal card, the calving and insemination dialogs, the semen
// containers, the medicine register, milk recording and the appointments, on a small herd.

#include <TestDatabase.h>

#include <Query.h>
#include <Transaction.h>

#include <gtest/gtest.h>

namespace {

class ProzedurenTest : public DatabaseTest {
protected:
    void SetUp() override { tr_.Start(); }
    void TearDown() override { tr_.Rollback(); }

    int Sql(const QString& sql)
    {
        db::Query q(tr_, sql);
        q.Execute();
        return q.FieldCount() > 0 && !q.Eof() ? q.Field(0).AsInteger() : 0;
    }

    // All rows of a select, columns joined by "|" and rows by "; ", NULL shown as "-".
    QString Zeilen(const QString& sql)
    {
        db::Query q(tr_, sql);
        QStringList zeilen;
        for (q.Open(); !q.Eof(); q.Next()) {
            QStringList werte;
            for (int i = 0; i < q.FieldCount(); ++i) {
                const db::Value& v = q.Field(i);
                werte << (v.IsNull() ? QStringLiteral("-")
                          : v.AsVariant().typeId() == QMetaType::QDate
                              ? v.AsDate().toString(QStringLiteral("dd.MM.yyyy"))
                              : v.AsString().trimmed());
            }
            zeilen << werte.join(QLatin1Char('|'));
        }
        return zeilen.join(QStringLiteral("; "));
    }

    // A cow of breed 1 (281 days gestation, pregnancy check after 42 days) with two calvings and
    // inseminations before and after them.
    int Kuh()
    {
        const int kuh =
            Sql("INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE, "
                "STATUS, KNR) VALUES ('DE 0200000001', 'Berta', '01.03.2019', 'W', 1, "
                "'B', 7) RETURNING ID");
        Sql(QStringLiteral("INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (%1, '01.03.2019', 1)")
                .arg(kuh));
        const char* besamungen[][3] = {{"01.05.2021", "Anton", "HB1"},
                                       {"22.05.2021", "Bruno", "HB2"},
                                       {"01.04.2023", "Carl", "HB3"}};
        for (const auto& b : besamungen)
            Sql(QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER, NUMMER) VALUES "
                               "(%1, '%2', '%3', '%4')")
                    .arg(kuh)
                    .arg(b[0], b[1], b[2]));
        Sql(QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NUMMER) VALUES "
                           "(%1, '28.02.2022', 'W', 'DE 0200000002')")
                .arg(kuh));
        Sql(QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NUMMER, TROCKEN) "
                           "VALUES (%1, '05.01.2024', 'MM', 'ZWILLINGE', '10.11.2023')")
                .arg(kuh));
        return kuh;
    }

    db::Transaction tr_{Db()};
};

TEST_F(ProzedurenTest, CalvingsAndInseminationsOfTheCard)
{
    const int kuh = Kuh();
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT NR, DATUM, GESCHLECHT, ANZAHL_BES, STIER, HBNR "
                                    "FROM P_GET_KALBUNGEN_TIER(%1)")
                         .arg(kuh)),
              "1|28.02.2022|W|2|Bruno|HB2; 2|05.01.2024|MM|1|Carl|HB3");
    EXPECT_EQ(
        Zeilen(QStringLiteral("SELECT NR, DATUM, STIER FROM P_GET_AKT_BESAMUNGEN(%1)").arg(kuh)),
        "")
        << "no insemination since the last calving";
    Sql(QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER) VALUES (%1, '10.03.2024', "
                       "'Dieter')")
            .arg(kuh));
    EXPECT_EQ(
        Zeilen(QStringLiteral("SELECT NR, DATUM, STIER FROM P_GET_AKT_BESAMUNGEN(%1)").arg(kuh)),
        "1|10.03.2024|Dieter");
    const int erste =
        Sql(QStringLiteral("SELECT ID FROM T_KALBUNGEN WHERE TIER = %1 AND NR = 1").arg(kuh));
    const int zweite =
        Sql(QStringLiteral("SELECT ID FROM T_KALBUNGEN WHERE TIER = %1 AND NR = 2").arg(kuh));
    EXPECT_EQ(
        Zeilen(
            QStringLiteral("SELECT NR, DATUM, STIER FROM P_GET_BESAMUNGEN_KALBUNG(%1)").arg(erste)),
        "1|01.05.2021|Anton; 2|22.05.2021|Bruno");
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT * FROM P_GET_KALBUNG_DATUM_BEREICH(%1)").arg(zweite)),
              "05.01.2024|28.02.2022");
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT * FROM P_GET_KALBUNG_DATUM_BEREICH(%1)").arg(erste)),
              "28.02.2022|-");
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT * FROM P_GET_ZWKZ_TIER(%1)").arg(kuh)),
              "282|0; 279|676");
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT * FROM P_GET_LETZTE_KALBUNG(%1)").arg(kuh)),
              QStringLiteral("%1|05.01.2024").arg(zweite));
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT * FROM P_IST_KUH(%1)").arg(kuh)), "T");
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT * FROM P_GET_MLP_TIER_LAK_DAUER(%1, 1)").arg(kuh)),
              "28.02.2022|05.01.2024|10.11.2023|10.11.2023");
}

TEST_F(ProzedurenTest, ExpectedDatesStatusIconAndDaysInfoFollowTheLastInsemination)
{
    const int kuh = Kuh();
    Sql(QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM) VALUES (%1, CURRENT_DATE - 50)")
            .arg(kuh));
    EXPECT_EQ(Sql(QStringLiteral("SELECT SOLL_KALBEN - CURRENT_DATE FROM P_GET_SOLL_KALBEN(%1)")
                      .arg(kuh)),
              281 - 50);
    EXPECT_EQ(
        Sql(QStringLiteral("SELECT TROCKEN - CURRENT_DATE FROM P_GET_TROCKENSTELLEN(%1)").arg(kuh)),
        225 - 50);
    EXPECT_EQ(Sql(QStringLiteral("SELECT STATUSIDX FROM P_STATUS_INDEX(%1)").arg(kuh)), 12)
        << "inseminated 50 days ago, the pregnancy check is due after 42";
    const int tageSeitKalbung =
        Sql("SELECT CURRENT_DATE - CAST('05.01.2024' AS DATE) "
            "FROM RDB$DATABASE");
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT TAGE FROM P_KUH_TAG_INFO(%1)").arg(kuh)),
              QStringLiteral("%1 / 50 / 231").arg(tageSeitKalbung));
    Sql(QStringLiteral("UPDATE T_STAMMDATEN SET STATUS = 'N' WHERE ID = %1").arg(kuh));
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT * FROM P_GET_SOLL_KALBEN(%1)").arg(kuh)), "-")
        << "not pregnant";
    EXPECT_EQ(Sql(QStringLiteral("SELECT STATUSIDX FROM P_STATUS_INDEX(%1)").arg(kuh)), 5);
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT TAGE FROM P_KUH_TAG_INFO(%1)").arg(kuh)),
              QStringLiteral("%1 / - / -").arg(tageSeitKalbung));
}

TEST_F(ProzedurenTest, ANewCalfTakesOverBreedDamSireAndPremises)
{
    const int kuh = Kuh();
    Sql("INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (2, 'Abkalbebox', 1)");
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT STATUS FROM P_DO_TIER_BETRIEB_WECHSEL(%1, "
                                    "'01.12.2023', 2, 'F')")
                         .arg(kuh)),
              "H");
    const int kalb = Sql(QStringLiteral("SELECT KALB_ID FROM P_DO_NEUES_KALB('DE 0200000003', "
                                        "'05.01.2024', 'M', %1)")
                             .arg(kuh));
    ASSERT_GT(kalb, 0);
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT NUMMER, GESCHLECHT, RASSE, MUTTER, MUTTERNR, VATER, "
                                    "VATERNR, STATUS, STATUSEXT FROM T_STAMMDATEN WHERE ID = %1")
                         .arg(kalb)),
              "DE 02 000 00003|M|1|Berta|DE 02 000 00001|Carl|HB3|J|N");
    EXPECT_EQ(
        Zeilen(QStringLiteral("SELECT VON, BIS, STALL FROM T_STAELLE WHERE TIER = %1").arg(kalb)),
        "05.01.2024|-|2");
    const int kalbung =
        Sql(QStringLiteral("SELECT ID FROM T_KALBUNGEN WHERE TIER = %1 AND NR = 2").arg(kuh));
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT ID, NUMMER, GESCHLECHT FROM "
                                    "P_GET_KAELBER_V_KALBUNG(%1)")
                         .arg(kalbung)),
              QStringLiteral("%1|DE 02 000 00003|M").arg(kalb));
    EXPECT_EQ(Zeilen("SELECT * FROM P_GET_LETZTE_LOM"), "DE 02 000 00003");
}

TEST_F(ProzedurenTest, SemenStockCountsHalfPortionsAsHalfStraws)
{
    const int bulle =
        Sql("INSERT INTO T_BULLEN_STAMM (NAME, HBNR, RASSE) VALUES ('Anton', "
            "'HB1', 1) RETURNING ID");
    const int lieferung =
        Sql("INSERT INTO T_CONTAINER_LIEFERUNG (DATUM) VALUES ('01.01.2024') "
            "RETURNING ID");
    const int portion = Sql(QStringLiteral("INSERT INTO T_CONTAINER_PORTION (LIEFERUNG, BULLE, "
                                           "ANZAHL_GESAMT, STATION) VALUES (%1, %2, 2, 'GRUB') "
                                           "RETURNING ID")
                                .arg(lieferung)
                                .arg(bulle));
    for (const char* teilung : {"F", "1", "2", "F", "1"})
        Sql(QStringLiteral("INSERT INTO T_CONTAINER_VERWENDUNG (ART, DATUM, PORTIONSTEILUNG, "
                           "PORTION) VALUES ('L', '02.01.2024', '%1', %2)")
                .arg(teilung)
                .arg(portion));
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT ANZAHL_GESAMT, CAST(ANZAHL_VORHANDEN * 10 AS INTEGER), "
                                    "NAME, HBNR, STATION_NICE FROM V_CONTAINER_INHALT "
                                    "WHERE ID = %1")
                         .arg(portion)),
              "2|-15|Anton|HB1|Grub")
        << "2 straws - 2 whole - 3 halves may go below zero";
    EXPECT_EQ(Zeilen("SELECT STIER, NUMMER FROM V_STIER_WAHL"), "Anton|HB1");
    Sql(QStringLiteral("EXECUTE PROCEDURE P_DO_CONTAINER_LIEFER_LOESCHEN(%1)").arg(lieferung));
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG"), 0);
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM T_CONTAINER_PORTION"), 0);
}

TEST_F(ProzedurenTest, ShortNumbersFollowTheFarmsLength)
{
    const struct {
        const char* laenge;
        int knr;
        const char* anzeige;
    } faelle[] = {{nullptr, 7, "007"}, {"6", 7, "000007"}, {"3", 1234, "001234"},
                  {"x", 42, "042"},    {"3", 0, ""},       {"6", -1, ""}};
    for (const auto& f : faelle) {
        Sql("DELETE FROM T_EINSTELLUNGEN WHERE NAME = 'KNRLaenge'");
        if (f.laenge)
            Sql(QStringLiteral("INSERT INTO T_EINSTELLUNGEN (NAME, WERT) VALUES ('KNRLaenge', "
                               "'%1')")
                    .arg(f.laenge));
        EXPECT_EQ(Zeilen(QStringLiteral("SELECT KNRDISPLAY FROM P_GET_KNR(%1)").arg(f.knr)),
                  QString::fromLatin1(f.anzeige))
            << f.knr;
    }
}

TEST_F(ProzedurenTest, AppointmentsMoveToTheNearestAllowedWeekday)
{
    // 02.05.2024 is a Thursday.
    const struct {
        const char* tage;
        const char* datum;
    } faelle[] = {{"FR", "03.05.2024"},    {"MO;SO", "29.04.2024"}, {"SO;MO", "05.05.2024"},
                  {"DO;FR", "02.05.2024"}, {"", "02.05.2024"},      {"XY", "02.05.2024"},
                  {"mo", "29.04.2024"}};
    // As P_UPDATE_TERMINE_ERLEDIGEN calls it: a DATE in, the TIMESTAMP result cast back to DATE.
    for (const auto& f : faelle)
        EXPECT_EQ(Zeilen(QStringLiteral("SELECT CAST(ZRNV_TERMIN_LAGE(CAST(DATE '2024-05-02' AS "
                                        "TIMESTAMP), '%1') AS DATE) FROM RDB$DATABASE")
                             .arg(f.tage)),
                  QString::fromLatin1(f.datum))
            << f.tage;
}

TEST_F(ProzedurenTest, RepeatedFixedAppointmentsComeBackAfterTheyAreDone)
{
    const int termin =
        Sql("INSERT INTO T_TERMINE (DATUM, VOR, NACH, TEXT, ERLEDIGEN) VALUES "
            "('01.01.2024', 2, 1, 'Klauenpflege', 'T') RETURNING ID");
    Sql(QStringLiteral("INSERT INTO T_TERMINE_WIEDERHOLEN (TERMIN_ID, INTERVALL, INTERVALL_ART) "
                       "VALUES (%1, 2, 'W')")
            .arg(termin));
    const auto faellig = [&](const char* tag) {
        return Zeilen(QStringLiteral("SELECT TERMIN, TEXT FROM P_GET_TERMINE_FAELLIG('%1') "
                                     "WHERE TIERID IS NULL")
                          .arg(tag));
    };
    EXPECT_EQ(faellig("30.12.2023"), "01.01.2024|Klauenpflege");
    EXPECT_EQ(faellig("28.12.2023"), "");
    EXPECT_EQ(faellig("13.01.2024"), "15.01.2024|Klauenpflege") << "the second occurrence";
    EXPECT_EQ(faellig("10.01.2024"), "01.01.2024|Klauenpflege") << "still open: it must be done";
    Sql(QStringLiteral("UPDATE T_TERMINE SET ERLEDIGT = '10.01.2024' WHERE ID = %1").arg(termin));
    EXPECT_EQ(faellig("10.01.2024"), "");
    EXPECT_EQ(faellig("14.01.2024"), "15.01.2024|Klauenpflege");
    EXPECT_EQ(Zeilen("SELECT ID, TIER, TEXT, ERLEDIGT FROM "
                     "P_GET_ERLEDIGTE_TERMINE('01.01.2024', '11.01.2024', 'T', 'T')"),
              QStringLiteral("%1|-|Klauenpflege|10.01.2024").arg(termin));
    EXPECT_EQ(Zeilen("SELECT ID FROM P_GET_ERLEDIGTE_TERMINE('01.01.2024', '10.01.2024', 'T', "
                     "'T')"),
              "")
        << "the end day is exclusive";
}

TEST_F(ProzedurenTest, MilkRecordingRowsOfACow)
{
    const int kuh = Kuh();
    const int pm1 =
        Sql("INSERT INTO T_PROBEMELKEN (NUMMER, DATUM) VALUES (1, '10.03.2022') "
            "RETURNING ID");
    const int pm2 =
        Sql("INSERT INTO T_PROBEMELKEN (NUMMER, DATUM) VALUES (2, '10.02.2024') "
            "RETURNING ID");
    Sql(QStringLiteral("INSERT INTO T_PROBEMELKEN_WERTE (TIER, PROBEMELKEN, TYP, MILCH, LTAGE, "
                       "LMILCH, LFETT, LEIWEIS) VALUES (%1, %2, '1N', 30.5, 300, 9000, 4.00, "
                       "3.50)")
            .arg(kuh)
            .arg(pm1));
    EXPECT_EQ(
        Zeilen(QStringLiteral("SELECT KALBTEXT, NUMMER, MILCH FROM P_GET_MLP_TIER(%1)").arg(kuh)),
        "1. Kalbung am 28.02.2022|-|-; -|1|30.5; -|-|-; 2. Kalbung am 05.01.2024|-|-; -|-|-");
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT LAK, TAGE, LMILCH, LFETT, LFETTPRO, LEIWEIS "
                                    "FROM P_GET_MLP_TIER_LAKT_LEI(%1)")
                         .arg(kuh)),
              "1|300|9000|360|4|315; 2|-|-|-|-|-");
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT ID, TIER, KNRDISPLAY, LKALBUNG, TYP FROM "
                                    "P_GET_MLP_EINZELWERTE(%1)")
                         .arg(pm2)),
              QStringLiteral("-|%1|007|2. 05.01.2024|-").arg(kuh))
        << "a cow without values yet is listed for entry";
}

TEST_F(ProzedurenTest, TheMedicineRegisterListsEntriesWithTheirAnimals)
{
    const int kuh = Kuh();
    const int rind =
        Sql("INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) VALUES "
            "('DE 0200000009', '01.01.2023', 'W', 1) RETURNING ID");
    const auto behandlung = [&](const char* buch, std::initializer_list<int> tiere,
                                const char* datum) {
        const int id = Sql(QStringLiteral("INSERT INTO T_TIERARZTLEISTUNG (BESTANDSBUCH, "
                                          "ARZNEIMITTEL, WMILCH) VALUES ('%1', 'Penicillin', 5) "
                                          "RETURNING ID")
                               .arg(buch));
        for (int t : tiere)
            Sql(QStringLiteral("INSERT INTO T_TIERARZTGRUPPE (TIER, LEISTUNG) VALUES (%1, %2)")
                    .arg(t)
                    .arg(id));
        for (int tag = 0; tag < 2; ++tag)
            Sql(QStringLiteral("INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM, MENGE) VALUES "
                               "(%1, CAST('%2' AS DATE) + %3, '%4 ml')")
                    .arg(id)
                    .arg(datum)
                    .arg(tag)
                    .arg(10 + tag));
        return id;
    };
    const int einzeln = behandlung("J", {kuh}, "02.03.2024");
    const int gruppe = behandlung("B", {kuh, rind}, "05.03.2024");
    behandlung("N", {kuh}, "06.03.2024");
    behandlung("J", {kuh}, "06.04.2024");
    EXPECT_EQ(Zeilen("SELECT LID, TIERID, ANZAHL, KNR, ART, DATUMSORT, ANW1_MENGE, ANW2_DATUM, "
                     "ANW3_DATUM FROM P_GET_BESTANDSBUCH('01.03.2024', '31.03.2024') "
                     "ORDER BY DATUMSORT"),
              QStringLiteral("%1|%2|1|007|Kuh|02.03.2024|10 ml|03.03.2024|-; "
                             "%3|-|2||Rinder|05.03.2024|10 ml|06.03.2024|-")
                  .arg(einzeln)
                  .arg(kuh)
                  .arg(gruppe));
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT ID, GRUPPE, DATUM, MENGE FROM "
                                    "P_GET_BEHANDLUNGEN_TIER(%1) WHERE ID = %2")
                         .arg(rind)
                         .arg(gruppe)),
              QStringLiteral("%1|2|05.03.2024\n06.03.2024|10 ml\n11 ml").arg(gruppe));
    EXPECT_EQ(Zeilen("SELECT ID FROM P_GET_BEHANDLUNGEN_GRUPPEN"), QString::number(gruppe));
}

// The register is a legal record: deleting an animal keeps its booked and cancelled entries
// with the animal as the register printed it; open entries and treatments outside the
// register that concerned it alone go with it, and it leaves the open entries of a group.
TEST_F(ProzedurenTest, TheMedicineRegisterKeepsBookedEntriesOfADeletedAnimal)
{
    const int kuh = Kuh();
    const int rind =
        Sql("INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE, KNR) VALUES "
            "('DE 0200000009', 'Clara', '01.01.2023', 'W', 1, 12) RETURNING ID");
    const auto behandlung = [&](const char* buch, std::initializer_list<int> tiere,
                                const char* datum) {
        const int id = Sql(QStringLiteral("INSERT INTO T_TIERARZTLEISTUNG (BESTANDSBUCH, "
                                          "ARZNEIMITTEL) VALUES ('%1', 'Penicillin') RETURNING ID")
                               .arg(buch));
        for (int t : tiere)
            Sql(QStringLiteral("INSERT INTO T_TIERARZTGRUPPE (TIER, LEISTUNG) VALUES (%1, %2)")
                    .arg(t)
                    .arg(id));
        Sql(QStringLiteral("INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM, MENGE) VALUES "
                           "(%1, '%2', '10 ml')")
                .arg(id)
                .arg(datum));
        return id;
    };
    const int gebucht = behandlung("B", {kuh}, "02.03.2024");
    const int storniert = behandlung("S", {kuh, rind}, "03.03.2024");
    const int offen = behandlung("J", {kuh}, "04.03.2024");
    const int ohneBuch = behandlung("N", {kuh}, "05.03.2024");
    const int offeneGruppe = behandlung("J", {kuh, rind}, "06.03.2024");
    const QString bestandsbuch = QStringLiteral(
        "SELECT LID, TIERID, ANZAHL, KNR, ART, NAME, REPLACE(IDENTITAET, "
        "ASCII_CHAR(10), ','), BESTANDSBUCH FROM P_GET_BESTANDSBUCH('01.03.2024', "
        "'31.03.2024') ORDER BY DATUMSORT");
    const QString vorher = Zeilen(bestandsbuch);

    Sql(QStringLiteral("EXECUTE PROCEDURE P_DO_TIER_LOESCHEN(%1)").arg(kuh));

    EXPECT_EQ(Zeilen(bestandsbuch),
              QStringLiteral("%1|-|1|007|Kuh|Berta|DE 02 000 00001|B; "
                             "%2|-|2||Rinder|-|DE 02 000 00001,DE 02 000 00009|S; "
                             "%3|%4|1|012|Rind|Clara|DE 02 000 00009|J")
                  .arg(gebucht)
                  .arg(storniert)
                  .arg(offeneGruppe)
                  .arg(rind))
        << "before: " << vorher.toStdString();
    for (const int weg : {offen, ohneBuch})
        EXPECT_EQ(
            Sql(QStringLiteral("SELECT COUNT(*) FROM T_TIERARZTLEISTUNG WHERE ID = %1").arg(weg)),
            0);

    // Deleted directly (the handheld conduit), the group's other animal is kept as well.
    Sql(QStringLiteral("DELETE FROM T_STAMMDATEN WHERE ID = %1").arg(rind));
    EXPECT_EQ(Zeilen(bestandsbuch),
              QStringLiteral("%1|-|1|007|Kuh|Berta|DE 02 000 00001|B; "
                             "%2|-|2||Rinder|-|DE 02 000 00001,DE 02 000 00009|S")
                  .arg(gebucht)
                  .arg(storniert));
}

}  // namespace
