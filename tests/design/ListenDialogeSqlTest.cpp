// The database side of the built-in list dialogs on hand-built herds: the event list, the
// calving journal, the sent HIT reports and the herd on a day, each through the SQL text its
// dialog builds.

#include <ListenDialogeLogik.h>

#include <TestDatabase.h>

#include <Query.h>
#include <Transaction.h>

#include <gtest/gtest.h>

namespace {

class ListenDialogeSqlTest : public DatabaseTest {
protected:
    void SetUp() override { tr_.Start(); }
    void TearDown() override { tr_.Rollback(); }

    int Sql(const QString& sql)
    {
        db::Query q(tr_, sql);
        q.Execute();
        return q.FieldCount() > 0 && !q.Eof() ? q.Field(0).AsInteger() : 0;
    }

    // All rows, columns joined by "|", rows by "; ", NULL as "-", dates as dd.MM.yyyy.
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

    int Tier(const QString& name, const QString& gebdat, const QString& geschlecht = "W",
             int knr = 0, const QString& nummer = {})
    {
        return Sql(QStringLiteral("INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, "
                                  "RASSE, KNR) VALUES ('%1', '%2', '%3', '%4', 1, %5) RETURNING ID")
                       .arg(nummer.isEmpty() ? QStringLiteral("DE %1").arg(name) : nummer, name,
                            gebdat, geschlecht)
                       .arg(knr > 0 ? QString::number(knr) : QStringLiteral("NULL")));
    }

    db::Transaction tr_{Db()};
};

TEST_F(ListenDialogeSqlTest, EventListHasEveryKindOfThePeriodAndOnlyTheTickedOnes)
{
    const int anna = Tier("Anna", "01.03.2019", "W", 7);
    const int berta = Tier("Berta", "01.03.2019", "W", 8);
    Sql(QStringLiteral("UPDATE T_STAMMDATEN SET GEKAUFT = '01.01.2024', GEKAUFTBEM = 'vom "
                       "Nachbarn' WHERE ID = %1")
            .arg(anna));
    Sql(QStringLiteral("UPDATE T_STAMMDATEN SET VERKAUFT = '31.01.2024', VERKAUFTBEM = "
                       "'Schlachtung', TROCKEN = '10.01.2024' WHERE ID = %1")
            .arg(berta));
    for (const char* tag : {"31.12.2023", "05.01.2024", "01.02.2024"})
        Sql(QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER, NUMMER) VALUES (%1, "
                           "'%2', 'Anton', 'HB1')")
                .arg(anna)
                .arg(QLatin1String(tag)));
    Sql(QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NUMMER, VERLAUF, "
                       "TROCKEN) VALUES (%1, '20.01.2024', 'W', 'DE Kalb', 'leicht', "
                       "'01.12.2023')")
            .arg(anna));
    // Berta's dry-off is kept twice (with her coming calving and with her): one event.
    Sql(QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, TROCKEN) VALUES (%1, "
                       "'01.02.2024', 'M', '10.01.2024')")
            .arg(berta));
    const int leistung =
        Sql("INSERT INTO T_TIERARZTLEISTUNG (GRUND, ARZNEIMITTEL) VALUES "
            "('Mastitis', 'Penicillin') RETURNING ID");
    Sql(QStringLiteral("INSERT INTO T_TIERARZTGRUPPE (TIER, LEISTUNG) VALUES (%1, %2)")
            .arg(anna)
            .arg(leistung));
    // The register keeps the treatment of an animal that was deleted.
    Sql(QStringLiteral("INSERT INTO T_TIERARZTGRUPPE (TIER, LEISTUNG, TIER_NUMMER, TIER_KNR, "
                       "TIER_NAME) VALUES (NULL, %1, 'DE Weg', 12, 'Weg')")
            .arg(leistung));
    for (const char* tag : {"15.01.2024", "20.02.2024"})
        Sql(QStringLiteral("INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM) VALUES (%1, '%2')")
                .arg(leistung)
                .arg(QLatin1String(tag)));

    const QDate von(2024, 1, 1);
    const QDate bis(2024, 1, 31);
    const QString a = QString::number(anna);
    const QString b = QString::number(berta);
    const QStringList alle{
        "Zugang|" + a + "|007|Anna|DE Anna|01.01.2024|vom Nachbarn",
        "Abgang|" + b + "|008|Berta|DE Berta|31.01.2024|Schlachtung",
        "Besamung|" + a + "|007|Anna|DE Anna|05.01.2024|Nr. 2, Anton (HB1)",
        "Trockenstellen|" + b + "|008|Berta|DE Berta|10.01.2024|-",
        "Kalbung|" + a + "|007|Anna|DE Anna|20.01.2024|Nr. 1, W, DE Kalb, leicht",
        "Behandlung|-||-|-|15.01.2024|Mastitis: Penicillin",
        "Behandlung|" + a + "|007|Anna|DE Anna|15.01.2024|Mastitis: Penicillin"};
    ListenDialoge::Ereignisse art;
    EXPECT_EQ(Zeilen(ListenDialoge::EreignislisteDatenSQL(art, von, bis)), alle.join("; "));

    // Each kind alone; none at all gives no row.
    bool ListenDialoge::Ereignisse::*arten[] = {
        &ListenDialoge::Ereignisse::zugang,   &ListenDialoge::Ereignisse::abgang,
        &ListenDialoge::Ereignisse::besamung, &ListenDialoge::Ereignisse::trockenstellen,
        &ListenDialoge::Ereignisse::kalbung,  &ListenDialoge::Ereignisse::behandlung};
    const ListenDialoge::Ereignisse keine{false, false, false, false, false, false};
    EXPECT_EQ(Zeilen(ListenDialoge::EreignislisteDatenSQL(keine, von, bis)), "");
    for (int i = 0; i < 6; ++i) {
        ListenDialoge::Ereignisse eine = keine;
        eine.*arten[i] = true;
        QStringList erwartet;
        for (const QString& z : alle)
            if (z.startsWith(alle[i].section('|', 0, 0) + "|"))
                erwartet << z;
        EXPECT_EQ(Zeilen(ListenDialoge::EreignislisteDatenSQL(eine, von, bis)), erwartet.join("; "))
            << i;
    }

    // The quick list leaves out the row without an animal.
    EXPECT_EQ(Zeilen(ListenDialoge::EreignislisteSchnellwahlSQL(art, von, bis)),
              QStringList({a + "|Anna|DE Anna", b + "|Berta|DE Berta", a + "|Anna|DE Anna",
                           b + "|Berta|DE Berta", a + "|Anna|DE Anna", a + "|Anna|DE Anna"})
                  .join("; "));
}

TEST_F(ListenDialogeSqlTest, CalvingJournalShowsSixInseminationsTheLastBullAndTheExpectedCalving)
{
    const int clara = Tier("Clara", "01.03.2019", "W", 3);
    Sql(QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (%1, "
                       "'01.03.2023', 'W')")
            .arg(clara));
    // Before the first calving: not part of the second one.
    Sql(QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER) VALUES (%1, '01.06.2022', "
                       "'Alt')")
            .arg(clara));
    const char* besamungen[][2] = {{"01.05.2023", "Anton"}, {"22.05.2023", "Bruno"},
                                   {"12.06.2023", "Carl"},  {"03.07.2023", "Dieter"},
                                   {"24.07.2023", "Emil"},  {"14.08.2023", "Fritz"},
                                   {"04.09.2023", "Gustav"}};
    for (const auto& b : besamungen)
        Sql(QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER) VALUES (%1, '%2', '%3')")
                .arg(clara)
                .arg(QLatin1String(b[0]), QLatin1String(b[1])));
    Sql(QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NUMMER, VERLAUF, "
                       "TROCKEN, BEMERKUNG) VALUES (%1, '12.06.2024', 'MW', 'DE Zwilling', "
                       "'schwer', '20.04.2024', 'Tierarzt da')")
            .arg(clara));
    // A heifer's first calving after two inseminations, on the last day of the period.
    const int dora = Tier("Dora", "01.03.2022", "W", 4);
    for (const char* tag : {"01.08.2023", "22.08.2023"})
        Sql(QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER) VALUES (%1, '%2', "
                           "'Hugo')")
                .arg(dora)
                .arg(QLatin1String(tag)));
    Sql(QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (%1, "
                       "'30.06.2024', 'M')")
            .arg(dora));
    // After the period.
    Sql(QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (%1, "
                       "'01.07.2024', 'W')")
            .arg(Tier("Erna", "01.03.2022")));

    // Breed 1 carries for 281 days.
    const QString c = QString::number(clara);
    const QString d = QString::number(dora);
    EXPECT_EQ(Zeilen(ListenDialoge::KalbeJournalDatenSQL(QDate(2024, 6, 1), QDate(2024, 6, 30))),
              c +
                  "|003|Clara|DE Clara|01.03.2019|2|12.06.2024|MW|DE Zwilling|schwer|Tierarzt "
                  "da|01.05.2023|22.05.2023|12.06.2023|03.07.2023|24.07.2023|14.08.2023|Gustav|"
                  "20.04.2024|11.06.2024; " +
                  d +
                  "|004|Dora|DE Dora|01.03.2022|1|30.06.2024|M|-|-|-|01.08.2023|22.08.2023|-|"
                  "-|-|-|Hugo|-|29.05.2024");
    EXPECT_EQ(
        Zeilen(ListenDialoge::KalbeJournalSchnellwahlSQL(QDate(2024, 6, 1), QDate(2024, 6, 30))),
        c + "|Clara|DE Clara; " + d + "|Dora|DE Dora");
    EXPECT_EQ(Zeilen(ListenDialoge::KalbeJournalDatenSQL(QDate(2024, 6, 13), QDate(2024, 6, 29))),
              "");
}

TEST_F(ListenDialogeSqlTest, SentReportsFollowEveryFlagAndTheInclusiveToDate)
{
    const QString lom = QStringLiteral("DE 01 234 56789");
    const int tier = Tier("Gerda", "01.03.2020", "W", 5, lom);
    const QStringList arten{"GEBURT", "ZUGANG", "ABGANG", "AUSFUHR", "TOD", "IMPMARK", "LOMNACHB"};
    for (const QString& art : arten + QStringList{"EUEIN"})
        Sql(QStringLiteral("INSERT INTO T_HIT_GESENDET (ZEIT, MELDUNG, TIER, BETRIEB, SCHWERE, "
                           "ERGEBNIS, WERTE) VALUES ('10.03.2024 10:00:00', '%1', '%2', "
                           "'276091234567890', 0, 'ok', '%1-Werte')")
                .arg(art, art == "TOD" ? QStringLiteral("DE 09 999 99999") : lom));
    // Outside the period 10.03. to 11.03.: the evening before and the day after.
    Sql("INSERT INTO T_HIT_GESENDET (ZEIT, MELDUNG, TIER) VALUES ('09.03.2024 23:59:59', "
        "'GEBURT', 'DE 01')");
    Sql("INSERT INTO T_HIT_GESENDET (ZEIT, MELDUNG, TIER) VALUES ('12.03.2024 00:00:00', "
        "'GEBURT', 'DE 01')");
    Sql("INSERT INTO T_HIT_GESENDET (ZEIT, MELDUNG, TIER) VALUES ('11.03.2024 23:59:59', "
        "'ZUGANG', 'DE 02')");

    const auto meldungen = [&](const ListenDialoge::HITMeldungen& m) {
        return Zeilen(QStringLiteral("SELECT MELDUNG, TIER, TIERID FROM (%1) ORDER BY ID")
                          .arg(ListenDialoge::HITGesendetDatenSQL(m, QDate(2024, 3, 10),
                                                                  QDate(2024, 3, 11))));
    };
    bool ListenDialoge::HITMeldungen::*flags[] = {
        &ListenDialoge::HITMeldungen::geburt,
        &ListenDialoge::HITMeldungen::zugang,
        &ListenDialoge::HITMeldungen::abgang,
        &ListenDialoge::HITMeldungen::ausfuhr,
        &ListenDialoge::HITMeldungen::tod,
        &ListenDialoge::HITMeldungen::importmarkierung,
        &ListenDialoge::HITMeldungen::ohrmarkenNachbestellung};
    const ListenDialoge::HITMeldungen keine{false, false, false, false, false, false, false};
    EXPECT_EQ(meldungen(keine), "");
    for (int i = 0; i < 7; ++i) {
        ListenDialoge::HITMeldungen eine = keine;
        eine.*flags[i] = true;
        QString erwartet =
            arten[i] + "|" +
            (arten[i] == "TOD" ? "DE 09 999 99999|-" : lom + "|" + QString::number(tier));
        if (arten[i] == "ZUGANG")
            erwartet += "; ZUGANG|DE 02|-";
        EXPECT_EQ(meldungen(eine), erwartet) << arten[i].toStdString();
    }
    // The report of an unknown ear tag is listed but not in the card's quick list.
    EXPECT_EQ(Zeilen(ListenDialoge::HITGesendetSchnellwahlSQL(
                         ListenDialoge::HITMeldungen{}, QDate(2024, 3, 10), QDate(2024, 3, 11)))
                  .split("; ")
                  .size(),
              6);
    EXPECT_EQ(
        Zeilen(QStringLiteral("SELECT COUNT(*), MIN(GESENDET) FROM (%1)")
                   .arg(ListenDialoge::HITGesendetDatenSQL(
                       ListenDialoge::HITMeldungen{}, QDate(2024, 3, 10), QDate(2024, 3, 11)))),
        "8|10.03.2024 10:00:00");
}

class BestandAmTagTest : public ListenDialogeSqlTest {
protected:
    // The day of the list: 01.06.2026.
    const QDate tag{2026, 6, 1};
    QString Geboren(int tageVorher) { return tag.addDays(-tageVorher).toString("dd.MM.yyyy"); }

    QString Namen(const ListenDialoge::Bestandsparameter& p, int betrieb = 0)
    {
        QStringList namen =
            Zeilen(QStringLiteral("SELECT Q1NAME FROM (%1)")
                       .arg(ListenDialoge::BestandDatenSQL(p, betrieb).replace('\r', ' ')))
                .split("; ", Qt::SkipEmptyParts);
        namen.sort();
        return namen.join(' ');
    }
};

TEST_F(BestandAmTagTest, AgeLimitsInDaysMonthsAndYearsAtTheirEdges)
{
    for (int tage : {4, 5, 29, 30, 181, 182, 363, 364, 365, 729, 730, 731})
        Tier(QStringLiteral("T%1").arg(tage), Geboren(tage));
    ListenDialoge::Bestandsparameter p;
    p.am = tag;
    EXPECT_EQ(Namen(p), "T181 T182 T29 T30 T363 T364 T365 T4 T5 T729 T730 T731");

    struct Fall {
        bool von;
        int wertVon;
        int einheitVon;
        bool bis;
        int wertBis;
        int einheitBis;
        const char* erwartet;
    };
    const Fall faelle[] = {
        {true, 5, 0, false, 0, 0, "T181 T182 T29 T30 T363 T364 T365 T5 T729 T730 T731"},
        {true, 1, 1, true, 6, 1, "T181 T182 T30"},               // 30 to 182 days
        {true, 12, 1, false, 0, 0, "T364 T365 T729 T730 T731"},  // 364 days
        {false, 0, 0, true, 12, 1, "T181 T182 T29 T30 T363 T364 T4 T5"},
        {false, 0, 0, true, 24, 1, "T181 T182 T29 T30 T363 T364 T365 T4 T5 T729"},  // 729
        {true, 1, 2, true, 2, 2, "T365 T729 T730"},  // 365 to 730 days
    };
    for (const Fall& f : faelle) {
        p.alterVon = f.von;
        p.wertVon = f.wertVon;
        p.einheitVon = f.einheitVon;
        p.alterBis = f.bis;
        p.wertBis = f.wertBis;
        p.einheitBis = f.einheitBis;
        EXPECT_EQ(Namen(p), f.erwartet) << f.wertVon << "/" << f.wertBis;
    }
}

TEST_F(BestandAmTagTest, HerdOnTheDayWithClassesPremisesAndDaysInfo)
{
    const int verkauftAm = Tier("VerkauftAm", Geboren(800));
    Sql(QStringLiteral("UPDATE T_STAMMDATEN SET VERKAUFT = '%1' WHERE ID = %2")
            .arg(Geboren(0))
            .arg(verkauftAm));
    Sql(QStringLiteral("UPDATE T_STAMMDATEN SET VERKAUFT = '%1' WHERE ID = %2")
            .arg(Geboren(1))
            .arg(Tier("VerkauftVorher", Geboren(800))));
    Sql(QStringLiteral("UPDATE T_STAMMDATEN SET GEKAUFT = '%1' WHERE ID = %2")
            .arg(Geboren(-1))
            .arg(Tier("GekauftDanach", Geboren(800))));
    Sql(QStringLiteral("UPDATE T_STAMMDATEN SET GEKAUFT = '%1' WHERE ID = %2")
            .arg(Geboren(0))
            .arg(Tier("GekauftAm", Geboren(800), "M")));
    Tier("GeborenDanach", Geboren(-1));
    const int kuh = Tier("Kuh", Geboren(1500));
    Sql(QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (%1, '%2', 'W')")
            .arg(kuh)
            .arg(Geboren(100)));
    // Her first calving comes after the day: still a heifer then.
    Sql(QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (%1, '%2', 'W')")
            .arg(Tier("Kalbin", Geboren(900)))
            .arg(Geboren(-5)));

    ListenDialoge::Bestandsparameter p;
    p.am = tag;
    EXPECT_EQ(Namen(p), "GekauftAm Kalbin Kuh VerkauftAm");
    for (const auto& [klasse, erwartet] :
         std::initializer_list<std::pair<int, const char*>>{{1, "GekauftAm"},
                                                            {2, "Kalbin Kuh VerkauftAm"},
                                                            {3, "Kalbin VerkauftAm"},
                                                            {4, "Kuh"}}) {
        p.tierklasse = klasse;
        EXPECT_EQ(Namen(p), erwartet) << klasse;
    }

    // A premises whose name has an apostrophe; the cow moved there nine days before the day.
    const int weide =
        Sql("INSERT INTO T_BETRIEBSSTAETTEN (BEZEICHNUNG, GRUPPE, STANDARD) VALUES "
            "('Bauer''s Weide', 1, 'F') RETURNING ID");
    Sql(QStringLiteral("INSERT INTO T_STAELLE (TIER, VON, BIS, STALL) VALUES (%1, '%2', '%3', 1)")
            .arg(kuh)
            .arg(Geboren(1500), Geboren(10)));
    Sql(QStringLiteral("INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (%1, '%2', %3)")
            .arg(kuh)
            .arg(Geboren(9))
            .arg(weide));
    p.tierklasse = 0;
    EXPECT_EQ(Namen(p, weide), "Kuh");
    p.am = tag.addDays(-10);
    EXPECT_EQ(Namen(p, weide), "");
    p.am = tag;
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT Q1AKT_BETRIEB, Q1TAGEINFO, Q1T_ALTER FROM (%1) WHERE "
                                    "TIERID = %2")
                         .arg(ListenDialoge::BestandDatenSQL(p, 0))
                         .arg(kuh)),
              "Bauer's Weide|100 / - / -|4 J 1 M");
    EXPECT_EQ(Zeilen(QStringLiteral("SELECT ID FROM (%1)")
                         .arg(ListenDialoge::BestandSchnellwahlSQL(p, weide))),
              QString::number(kuh));
}

TEST(ListenDialogeLogik, AgeDaysTitlesAndPrintFieldsThatDoNotOverlap)
{
    EXPECT_EQ(ListenDialoge::AlterTage(1, 1), 30);
    EXPECT_EQ(ListenDialoge::AlterTage(1, 6), 182);
    EXPECT_EQ(ListenDialoge::AlterTage(1, 12), 364);
    EXPECT_EQ(ListenDialoge::AlterTage(1, 24), 729);
    EXPECT_EQ(ListenDialoge::AlterTage(2, 3), 1095);
    EXPECT_EQ(ListenDialoge::AlterTage(0, 17), 17);

    ListenDialoge::Bestandsparameter p;
    p.am = QDate(2026, 6, 1);
    EXPECT_EQ(ListenDialoge::BestandTitelzusatz(p), "am 01.06.2026");
    p.alterVon = p.alterBis = true;
    p.wertVon = 2;
    p.wertBis = 5;
    p.einheitVon = p.einheitBis = 2;
    EXPECT_EQ(ListenDialoge::BestandTitelzusatz(p),
              "am 01.06.2026, Alter von 2 Jahr(e) bis 5 Jahr(e)");
    p.alterVon = false;
    p.wertBis = 24;
    p.einheitBis = 1;
    EXPECT_EQ(ListenDialoge::BestandTitelzusatz(p), "am 01.06.2026, Alter bis 24 Monat(e)");
    EXPECT_EQ(ListenDialoge::Titelzusatz(QDate(2024, 1, 1), QDate(2024, 1, 31)),
              "von 01.01.2024 bis 31.01.2024");

    // Every default print design keeps its visible columns apart on each line and on the paper.
    for (const auto& [felder, breite] : {std::pair{ListenDialoge::EreignislisteDruckFelder(), 190},
                                         std::pair{ListenDialoge::KalbeJournalDruckFelder(), 277},
                                         std::pair{ListenDialoge::HITGesendetDruckFelder(), 190},
                                         std::pair{ListenDialoge::BestandDruckFelder(), 190}}) {
        for (const ListenDialoge::NeuesFeld& a : felder) {
            if (!a.sichtbar)
                continue;
            EXPECT_LE(a.position + a.breite, breite) << a.feld.toStdString();
            for (const ListenDialoge::NeuesFeld& b : felder) {
                if (&a != &b && b.sichtbar && a.zeile == b.zeile) {
                    EXPECT_TRUE(a.position + a.breite <= b.position ||
                                b.position + b.breite <= a.position)
                        << a.feld.toStdString() << " / " << b.feld.toStdString();
                }
            }
        }
    }
}

}  // namespace
