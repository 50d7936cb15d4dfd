// User lists and search masks in the database: the statements P_GEN_SQL builds from designs over
// the catalogue, run on a small herd with the premises placeholder replaced as the list windows
// do; what it refuses; the layout rows and statements the triggers keep; the masks' queries; and
// the standard lists of a new database.

#include <TestDatabase.h>

#include <Error.h>
#include <ListenTools.h>
#include <Query.h>
#include <Transaction.h>

#include <gtest/gtest.h>

#include <optional>

namespace {

struct Entwurf {
    std::optional<int> q1 = {};
    std::optional<int> q2 = {};
    std::optional<int> q3 = {};
    std::optional<int> f12_1 = {};
    std::optional<int> f12_2 = {};
    std::optional<int> f23_2 = {};
    std::optional<int> f23_3 = {};
    QString dist = QStringLiteral("F");
    QString felder = {};
    QString bedingungen = {};
    QString sortierung = {};
};

class ListenDesignSqlTest : public DatabaseTest {
protected:
    void SetUp() override { tr_.Start(); }
    void TearDown() override { tr_.Rollback(); }

    int Sql(const QString& sql)
    {
        db::Query q(tr_, sql);
        q.Execute();
        return q.FieldCount() > 0 && !q.Eof() ? q.Field(0).AsInteger() : 0;
    }

    QString Text(const QString& sql)
    {
        db::Query q(tr_, sql);
        q.Open();
        return q.Eof() || q.Field(0).IsNull() ? QString() : q.Field(0).AsString();
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

    QStringList Spalten(const QString& sql)
    {
        db::Query q(tr_, sql);
        q.Open();
        QStringList namen;
        for (int i = 0; i < q.FieldCount(); ++i)
            namen << q.Column(i).Name;
        return namen;
    }

    // One column of a select's rows.
    QStringList Werte(const QString& sql, const QString& spalte)
    {
        db::Query q(tr_, sql);
        QStringList werte;
        for (q.Open(); !q.Eof(); q.Next())
            werte << q.Field(spalte).AsString().trimmed();
        return werte;
    }

    static void Setzen(db::Value& p, const std::optional<int>& wert)
    {
        if (wert)
            p.SetInteger(*wert);
        else
            p.SetNull();
    }

    QString GenSql(const Entwurf& e)
    {
        db::Query q(
            tr_, QStringLiteral("SELECT SQL FROM P_GEN_SQL(:Q1, :Q2, :Q3, :F12_1, :F12_2, :F23_2, "
                                ":F23_3, :DIST, :FELDER, :BEDINGUNGEN, :SORTIERUNG)"));
        Setzen(q.Param("Q1"), e.q1);
        Setzen(q.Param("Q2"), e.q2);
        Setzen(q.Param("Q3"), e.q3);
        Setzen(q.Param("F12_1"), e.f12_1);
        Setzen(q.Param("F12_2"), e.f12_2);
        Setzen(q.Param("F23_2"), e.f23_2);
        Setzen(q.Param("F23_3"), e.f23_3);
        q.Param("DIST").SetString(e.dist);
        q.Param("FELDER").SetString(e.felder);
        q.Param("BEDINGUNGEN").SetString(e.bedingungen);
        q.Param("SORTIERUNG").SetString(e.sortierung);
        q.Open();
        return q.Field(0).AsString();
    }

    // The engine's message of a design P_GEN_SQL refuses; empty when it builds a statement.
    QString Abgelehnt(const Entwurf& e)
    {
        try {
            GenSql(e);
        } catch (const db::Error& f) {
            return f.Message();
        }
        return {};
    }

    // The rows of a design's statement for a premises (<= 0: all), as a list window opens it.
    QString Liste(const Entwurf& e, int betriebsstaette = 0)
    {
        return Zeilen(ListenTools::BetriebsstaetteEinsetzen(GenSql(e), betriebsstaette));
    }

    int Tier(const QString& nummer, int knr, const QString& name, const char* gebdat,
             const char* geschlecht, const char* status, int stall)
    {
        db::Query q(tr_, QStringLiteral("INSERT INTO T_STAMMDATEN (NUMMER, KNR, NAME, GEBDAT, "
                                        "GESCHLECHT, RASSE, STATUS) VALUES (:NUMMER, :KNR, :NAME, "
                                        ":GEBDAT, :GESCHLECHT, 1, :STATUS) RETURNING ID"));
        q.Param("NUMMER").SetString(nummer);
        q.Param("KNR").SetInteger(knr);
        q.Param("NAME").SetString(name);
        q.Param("GEBDAT").SetString(QString::fromLatin1(gebdat));
        q.Param("GESCHLECHT").SetString(QString::fromLatin1(geschlecht));
        q.Param("STATUS").SetString(QString::fromLatin1(status));
        q.Execute();
        const int id = q.Field(0).AsInteger();
        Sql(QStringLiteral("INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (%1, '%2', %3)")
                .arg(id)
                .arg(QString::fromLatin1(gebdat))
                .arg(stall));
        return id;
    }

    // Anna (two calvings, two test days, an insemination by a bull of the farm) and Berta
    // (one calving, one test day) on the default premises and the pasture; Carl, a fattening bull,
    // without events; O'Hara, sold.
    void Herde()
    {
        weide_ =
            Sql("INSERT INTO T_BETRIEBSSTAETTEN (BEZEICHNUNG, GRUPPE) "
                "SELECT 'Weide', MIN(ID) FROM T_BETRIEBSGRUPPEN RETURNING ID");
        stall_ = Sql("SELECT MIN(ID) FROM T_BETRIEBSSTAETTEN");
        anna_ = Tier("DE 01", 1, "Anna", "01.01.2018", "W", "T", stall_);
        berta_ = Tier("DE 02", 2, "Berta", "01.06.2019", "W", "L", weide_);
        carl_ = Tier("DE 03", 3, "Carl", "01.01.2022", "M", "M", stall_);
        ohara_ = Tier("DE 04", 4, "O'Hara", "01.01.2017", "W", "L", stall_);
        Sql(QStringLiteral("UPDATE T_STAMMDATEN SET VERKAUFT = '01.07.2023' WHERE ID = %1")
                .arg(ohara_));
        for (const auto& [tier, datum] :
             {std::pair{anna_, "01.03.2021"}, std::pair{anna_, "01.04.2022"},
              std::pair{berta_, "10.02.2023"}})
            Sql(QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (%1, "
                               "'%2', 'W')")
                    .arg(tier)
                    .arg(QString::fromLatin1(datum)));
        Sql(
            QStringLiteral("INSERT INTO T_BULLEN_STAMM (NAME, HBNR, RASSE) VALUES ('Bulli', "
                           "'HB 7', 1)"));
        Sql(QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER, NUMMER, "
                           "BESAMUNGSSCHEIN_NR) VALUES (%1, '01.07.2022', 'Bulli', 'HB 7', 4711)")
                .arg(anna_));
        const int pm1 = Sql("INSERT INTO T_PROBEMELKEN (DATUM) VALUES ('01.05.2023') RETURNING ID");
        const int pm2 = Sql("INSERT INTO T_PROBEMELKEN (DATUM) VALUES ('01.06.2023') RETURNING ID");
        for (const auto& [tier, pm, milch] :
             {std::tuple{anna_, pm1, "30.5"}, std::tuple{anna_, pm2, "28.5"},
              std::tuple{berta_, pm1, "31.0"}})
            Sql(QStringLiteral("INSERT INTO T_PROBEMELKEN_WERTE (TIER, PROBEMELKEN, TYP, MILCH) "
                               "VALUES (%1, %2, '1N', %3)")
                    .arg(tier)
                    .arg(pm)
                    .arg(QString::fromLatin1(milch)));
    }

    db::Transaction tr_{Db()};
    int stall_ = 0, weide_ = 0, anna_ = 0, berta_ = 0, carl_ = 0, ohara_ = 0;
};

// Catalogue IDs: sources 1 Tiere, 3 Letzte Kalbung, 2 Kalbungen, 4 Besamungen, 8 Letztes
// Probemelken, 11 Bullen; a source's fields count from its ID times 100.
constexpr int Tiere = 1, Kalbungen = 2, LetzteKalbung = 3, Besamungen = 4, LetztesPM = 8,
              Bullen = 11;
constexpr int TierID = 101, KalbungTier = 302, PMTier = 802, BesamungStier = 405, BulleName = 1102;

TEST_F(ListenDesignSqlTest, DesignsGiveTheirRowsInOrder)
{
    Herde();
    const Entwurf eine{.q1 = Tiere, .felder = "Q1.KNR;S.N1;Q1.NAME", .sortierung = "Q1.KNR;ASC"};
    struct Fall {
        const char* name;
        Entwurf e;
        int betriebsstaette;
        QString zeilen;
    };
    const Fall faelle[] = {
        {"eine Quelle", eine, 0, "1|Anna; 2|Berta; 3|Carl; 4|O'Hara"},
        {"absteigend",
         {.q1 = Tiere, .felder = "Q1.NAME", .sortierung = "Q1.GEBDAT;DESC"},
         0,
         "Carl; Berta; Anna; O'Hara"},
        {"mehrere Sortierungen",
         {.q1 = Tiere,
          .felder = "Q1.GESCHLECHT;Q1.NAME",
          .sortierung = "Q1.GESCHLECHT;ASC;Q1.NAME;DESC"},
         0,
         "M|Carl; W|O'Hara; W|Berta; W|Anna"},
        {"ohne Distinct",
         {.q1 = Tiere,
          .q2 = Kalbungen,
          .f12_1 = TierID,
          .f12_2 = 202,
          .felder = "Q1.NAME",
          .bedingungen = "Q2.DATUM;IS NOT NULL;;",
          .sortierung = "Q1.NAME;ASC"},
         0,
         "Anna; Anna; Berta"},
        {"Distinct",
         {.q1 = Tiere,
          .q2 = Kalbungen,
          .f12_1 = TierID,
          .f12_2 = 202,
          .dist = "T",
          .felder = "Q1.NAME",
          .bedingungen = "Q2.DATUM;IS NOT NULL;;",
          .sortierung = "Q1.NAME;ASC"},
         0,
         "Anna; Berta"},
        {"letzte Kalbung zum Tier",
         {.q1 = Tiere,
          .q2 = LetzteKalbung,
          .f12_1 = TierID,
          .f12_2 = KalbungTier,
          .felder = "Q1.KNR;Q2.DATUM;Q2.NR",
          .sortierung = "Q1.KNR;ASC"},
         0,
         "1|01.04.2022|2; 2|10.02.2023|1; 3|-|-; 4|-|-"},
        {"Tier zur letzten Kalbung",
         {.q1 = LetzteKalbung,
          .q2 = Tiere,
          .f12_1 = KalbungTier,
          .f12_2 = TierID,
          .felder = "Q2.NAME;Q1.DATUM",
          .sortierung = "Q1.DATUM;ASC"},
         0,
         "Anna|01.04.2022; Berta|10.02.2023"},
        {"drei Quellen",
         {.q1 = Tiere,
          .q2 = LetzteKalbung,
          .q3 = LetztesPM,
          .f12_1 = TierID,
          .f12_2 = KalbungTier,
          .f23_2 = KalbungTier,
          .f23_3 = PMTier,
          .felder = "Q1.NAME;Q2.DATUM;Q3.DATUM;Q3.MILCH",
          .sortierung = "Q1.KNR;ASC"},
         0,
         "Anna|01.04.2022|01.06.2023|28.5; Berta|10.02.2023|01.05.2023|31; Carl|-|-|-; "
         "O'Hara|-|-|-"},
        {"Besamung mit Bulle",
         {.q1 = Besamungen,
          .q2 = Bullen,
          .f12_1 = BesamungStier,
          .f12_2 = BulleName,
          .felder = "Q1.DATUM;Q1.BESAMUNGSSCHEIN_NR;Q2.HBNR"},
         0,
         "01.07.2022|4711|HB 7"},
        {"Quelle ohne Tiere", {.q1 = Bullen, .felder = "Q1.NAME"}, 7, "Bulli"},
        {"Betriebsstätte Stall", eine, -1, "1|Anna; 2|Berta; 3|Carl; 4|O'Hara"},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(Liste(f.e, f.betriebsstaette), f.zeilen) << f.name;

    // The premises placeholder: the animals on that premises only.
    EXPECT_EQ(Liste(eine, stall_), "1|Anna; 3|Carl; 4|O'Hara");
    EXPECT_EQ(Liste(eine, weide_), "2|Berta");
    // One result column per catalogue token, named by the token without its ".".
    EXPECT_EQ(Spalten(ListenTools::BetriebsstaetteEinsetzen(GenSql(eine), 0)),
              QStringList({"Q1KNR", "Q1NAME"}));
}

TEST_F(ListenDesignSqlTest, EveryOperatorTypesItsValueByTheFieldsKind)
{
    Herde();
    struct Fall {
        const char* bedingungen;
        const char* zeilen;
    };
    const Fall faelle[] = {
        {"Q1.NAME;=;Berta;", "2"},
        {"Q1.KNR;<;3;", "1; 2"},
        {"Q1.KNR;>;3;", "4"},
        {"Q1.KNR;<=;2;", "1; 2"},
        {"Q1.KNR;>=;3;", "3; 4"},
        {"Q1.GESCHLECHT;<>;W;", "3"},
        {"Q1.KNR;IN;1, 4;", "1; 4"},
        {"Q1.KNR;IN;(2,3);", "2; 3"},
        {"Q1.NAME;NOT IN;Anna,'Carl';", "2; 4"},
        {"Q1.VERKAUFT;IS NULL;;", "1; 2; 3"},
        {"Q1.VERKAUFT;IS NOT NULL;;", "4"},
        // A date as the farmer types it, and numbers with a decimal comma.
        {"Q1.GEBDAT;>;01.06.2019;", "3"},
        {"Q1.GEBDAT;>=;01.06.2019;", "2; 3"},
        {"Q1.GEBDAT;IN;01.01.2018,01.01.2022;", "1; 3"},
        {"Q1.KNR;=;2,0;", "2"},
        // Conjunctions: AND binds before OR, an empty one in the middle joins like AND.
        {"Q1.KNR;=;1;OR;Q1.KNR;=;4;", "1; 4"},
        {"Q1.GESCHLECHT;=;W;AND;Q1.KNR;>;1;OR;Q1.KNR;=;3;", "2; 3; 4"},
        {"Q1.GESCHLECHT;=;W;;Q1.KNR;>;3;", "4"},
        {"Q1.NAME;=;O'Hara;", "4"},
        {"Q1.NAME;=;'O''Hara';", "4"},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(Liste({.q1 = Tiere,
                         .felder = "Q1.KNR",
                         .bedingungen = QString::fromUtf8(f.bedingungen),
                         .sortierung = "Q1.KNR;ASC"}),
                  QString::fromLatin1(f.zeilen))
            << f.bedingungen;
}

TEST_F(ListenDesignSqlTest, ValuesStayValuesWhateverTheyHold)
{
    Herde();
    const int x = Tier("DE 05", 5, "X#1=1#", "01.01.2020", "W", "L", stall_);
    const char* versuche[] = {
        "x' OR '1'='1",
        "x') OR (1=1",
        "'; DELETE FROM T_STAMMDATEN; --",
        "x' || (SELECT FIRST 1 NAME FROM T_STAMMDATEN) || '",
    };
    for (const char* wert : versuche) {
        // The encoding has no escape: a ";" would end the value, so the attempts hold none.
        const QString w = QString::fromUtf8(wert).remove(QLatin1Char(';'));
        for (const char* op : {"=", "IN", "NOT IN"}) {
            const QString zeilen =
                Liste({.q1 = Tiere,
                       .felder = "Q1.KNR",
                       .bedingungen = QStringLiteral("Q1.NAME;%1;%2;").arg(QLatin1String(op), w),
                       .sortierung = "Q1.KNR;ASC"},
                      stall_);
            EXPECT_EQ(zeilen, QLatin1String(op) == QLatin1String("NOT IN") ? "1; 3; 4; 5" : "")
                << wert << " " << op;
        }
    }
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM T_STAMMDATEN"), 5);
    // A "#" in a value is no second placeholder: the list window replaces the real one.
    EXPECT_EQ(Liste({.q1 = Tiere, .felder = "Q1.ID", .bedingungen = "Q1.NAME;=;X#1=1#;"}, stall_),
              QString::number(x));
    EXPECT_EQ(Liste({.q1 = Tiere, .felder = "Q1.ID", .bedingungen = "Q1.NAME;=;X#1=1#;"}, weide_),
              "");
}

TEST_F(ListenDesignSqlTest, TokensOperatorsAndCodesOutsideTheCatalogueAreRefused)
{
    struct Fall {
        Entwurf e;
        const char* meldung;
    };
    const Fall faelle[] = {
        {{.q1 = Tiere, .felder = "Q1.GIBTSNICHT"},
         "Das Feld \"Q1.GIBTSNICHT\" ist in den gewählten Datenquellen nicht vorhanden."},
        {{.q1 = Tiere, .felder = "Q1.NAME;Q2.DATUM"},
         "Das Feld \"Q2.DATUM\" ist in den gewählten Datenquellen nicht vorhanden."},
        {{.q1 = Tiere, .felder = "Q1.NAME FROM T_STAMMDATEN --"},
         "Das Feld \"Q1.NAME FROM T_STAMMDATEN --\" ist in den gewählten Datenquellen nicht "
         "vorhanden."},
        {{.q1 = Tiere, .felder = "Q1.NAME "},
         "Das Feld \"Q1.NAME \" ist in den gewählten Datenquellen nicht vorhanden."},
        {{.q1 = Tiere, .felder = "q1.name"},
         "Das Feld \"q1.name\" ist in den gewählten Datenquellen nicht vorhanden."},
        {{.q1 = Tiere, .felder = "Q1.NAME", .bedingungen = "Q1.NAME) OR (1=1;=;x;"},
         "Das Feld \"Q1.NAME) OR (1=1\" ist in den gewählten Datenquellen nicht vorhanden."},
        {{.q1 = Tiere, .felder = "Q1.NAME", .bedingungen = "S.N1;=;1;"},
         "Das Feld \"S.N1\" ist in den gewählten Datenquellen nicht vorhanden."},
        {{.q1 = Tiere, .felder = "Q1.NAME", .bedingungen = "Q1.NAME;LIKE;A%;"},
         "Der Operator \"LIKE\" ist nicht erlaubt."},
        {{.q1 = Tiere, .felder = "Q1.NAME", .bedingungen = "Q1.NAME;= 'x' OR 1=1 OR 'a' =;x;"},
         "Der Operator \"= 'x' OR 1=1 OR 'a' =\" ist nicht erlaubt."},
        {{.q1 = Tiere, .felder = "Q1.NAME", .bedingungen = "Q1.NAME;=;x;XOR;Q1.KNR;=;1;"},
         "Die Verknüpfung \"XOR\" ist nicht erlaubt."},
        {{.q1 = Tiere, .felder = "Q1.NAME", .sortierung = "Q1.NAME;ASC, 1"},
         "Die Sortierung \"ASC, 1\" ist nicht erlaubt."},
        {{.q1 = Tiere, .felder = "Q1.NAME", .sortierung = "Q1.STATUSIDX;ASC"},
         "Nach dem Feld \"Q1.STATUSIDX\" kann nicht sortiert werden."},
        {{.q1 = Tiere, .q2 = LetzteKalbung, .felder = "Q1.NAME"},
         "Geben Sie die Verbindungsfelder für die Quellen 1 und 2 an"},
        {{.q1 = Tiere, .q2 = LetzteKalbung, .f12_1 = TierID, .f12_2 = 303, .felder = "Q1.NAME"},
         "Geben Sie die Verbindungsfelder für die Quellen 1 und 2 an"},
        {{.q1 = 99, .felder = "Q1.NAME"}, "Die Datenquelle 99 ist nicht vorhanden."},
        {{.felder = "Q1.NAME"}, "Sie müssen mindestens eine Quelle angeben"},
        {{.q1 = Tiere, .felder = "S.N1"}, "Sie müssen mindestend ein Feld zum anzeigen angeben"},
    };
    for (const Fall& f : faelle)
        EXPECT_TRUE(Abgelehnt(f.e).contains(QString::fromUtf8(f.meldung)))
            << f.meldung << "\n"
            << Abgelehnt(f.e).toStdString();
}

TEST_F(ListenDesignSqlTest, AStoredDesignHasItsStatementsAndOneLayoutRowPerToken)
{
    Herde();
    Sql("INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, QUELLE1, QUELLE2, FELD12_1, FELD12_2, DIST, "
        "FELDER, BEDINGUNGEN, SORTIERUNG, MENUE) VALUES (40, 'Kalbungen', 'Kalbungen', 1, 3, 101, "
        "302, 'F', 'Q1.ID;Q1.NAME;S.N1;Q2.DATUM;S.F2', 'Q1.GESCHLECHT;=;W;', 'Q1.KNR;DESC', 'F')");
    EXPECT_EQ(Zeilen("SELECT FELD, TITEL, BREITE, SICHTBAR, AUTOBREITE, UEBERSCHRIFT, ZEILE "
                     "FROM T_LISTEN_BILDSCHIRM WHERE LISTE = 40 ORDER BY ID"),
              "Q1.ID|Tier-ID|50|F|T|F|1; Q1.NAME|Name|100|T|T|F|1; "
              "S.N1|Fortlaufende Nummer (1)|40|T|T|F|1; Q2.DATUM|Kalbedatum|80|T|T|F|1; "
              "S.F2|Fester Wert (2)|80|T|T|F|1");
    // Print columns follow each other without overlap; the hidden ID takes no room.
    EXPECT_EQ(Zeilen("SELECT FELD, L_POSITION, BREITE, SICHTBAR, ZEILENUMBRUCH, LEERZEILE, "
                     "SCHRIFTSCHMAL FROM T_LISTEN_DRUCK WHERE LISTE = 40 ORDER BY ID"),
              "Q1.ID|0|13|F|F|F|F; Q1.NAME|0|26|T|F|F|F; S.N1|28|11|T|F|F|F; "
              "Q2.DATUM|41|21|T|F|F|F; S.F2|64|21|T|F|F|F");

    const QString sql = Text("SELECT SQL FROM T_LISTEN WHERE ID = 40");
    EXPECT_EQ(Zeilen(ListenTools::BetriebsstaetteEinsetzen(sql, stall_)),
              QStringLiteral("%1|O'Hara|-; %2|Anna|01.04.2022").arg(ohara_).arg(anna_));
    // The quick selection for the animal card: ID, NAME, NUMMER of the list's animals.
    EXPECT_EQ(Zeilen(ListenTools::BetriebsstaetteEinsetzen(
                  Text("SELECT SQL_SW FROM T_LISTEN WHERE ID = 40"), 0)),
              QStringLiteral("%1|O'Hara|DE 04; %2|Berta|DE 02; %3|Anna|DE 01")
                  .arg(ohara_)
                  .arg(berta_)
                  .arg(anna_));

    // The window's columns follow FELDER; the animal's ID is marked.
    EXPECT_EQ(Zeilen("SELECT FELD, TIER_ID FROM P_GET_LISTE_BILDSCHIRM_FELDER(40)"),
              "Q1.ID|T; Q1.NAME|F; S.N1|F; Q2.DATUM|F; S.F2|F");

    // A changed field list: kept rows keep what the layout editors made of them, removed ones
    // go, new ones come.
    Sql("UPDATE T_LISTEN_BILDSCHIRM SET TITEL = 'Kuh', BREITE = 140 WHERE LISTE = 40 "
        "AND FELD = 'Q1.NAME'");
    Sql("UPDATE T_LISTEN_DRUCK SET TITEL = 'Kuh' WHERE LISTE = 40 AND FELD = 'Q1.NAME'");
    Sql("UPDATE T_LISTEN SET FELDER = 'Q2.DATUM;Q1.NAME;Q1.KNR;Q1.ID' WHERE ID = 40");
    EXPECT_EQ(Zeilen("SELECT FELD, TITEL, BREITE, TIER_ID FROM P_GET_LISTE_BILDSCHIRM_FELDER(40)"),
              "Q2.DATUM|Kalbedatum|80|F; Q1.NAME|Kuh|140|F; Q1.KNR|Stallnummer (Zahl)|55|F; "
              "Q1.ID|Tier-ID|50|T");
    EXPECT_EQ(Zeilen("SELECT FELD, TITEL FROM T_LISTEN_DRUCK WHERE LISTE = 40 ORDER BY ID"),
              "Q1.ID|Tier-ID; Q1.NAME|Kuh; Q2.DATUM|Kalbedatum; Q1.KNR|Stallnummer (Zahl)");
    EXPECT_EQ(Spalten(ListenTools::BetriebsstaetteEinsetzen(
                  Text("SELECT SQL FROM T_LISTEN WHERE ID = 40"), 0)),
              QStringList({"Q2DATUM", "Q1NAME", "Q1KNR", "Q1ID"}));

    // A statement written by hand does not stay: the design's is put back.
    Sql("UPDATE T_LISTEN SET SQL = 'SELECT 1 FROM RDB$DATABASE', SQL_SW = NULL WHERE ID = 40");
    EXPECT_EQ(Text("SELECT SQL FROM T_LISTEN WHERE ID = 40").left(30),
              QStringLiteral("SELECT Q2.DATUM AS Q2DATUM, Q1"));
    EXPECT_FALSE(Text("SELECT SQL_SW FROM T_LISTEN WHERE ID = 40").isEmpty());

    // Deleting the list takes its layout rows with it.
    Sql("DELETE FROM T_LISTEN WHERE ID = 40");
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM T_LISTEN_BILDSCHIRM WHERE LISTE = 40"), 0);
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM T_LISTEN_DRUCK WHERE LISTE = 40"), 0);
}

TEST_F(ListenDesignSqlTest, ARefusedDesignIsNotStored)
{
    try {
        Sql("INSERT INTO T_LISTEN (ID, BEZEICHNUNG, QUELLE1, FELDER) VALUES (41, 'Böse', 1, "
            "'Q1.NAME;Q1.ID FROM RDB$DATABASE --')");
        ADD_FAILURE() << "gespeichert";
    } catch (const db::Error& e) {
        EXPECT_TRUE(
            e.Message().contains(QStringLiteral("ist in den gewählten Datenquellen nicht "
                                                "vorhanden")))
            << e.Message().toStdString();
    }
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM T_LISTEN WHERE ID = 41"), 0);
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM T_LISTEN_BILDSCHIRM WHERE LISTE = 41"), 0);
}

TEST_F(ListenDesignSqlTest, ListsWithoutDesignAndBuiltInListsKeepWhatTheyAreGiven)
{
    Sql("INSERT INTO T_LISTEN (ID, BEZEICHNUNG, SQL, FELDER) VALUES (42, 'Hand', "
        "'SELECT 1 AS Q1EINS FROM RDB$DATABASE', 'Q1.EINS')");
    Sql("INSERT INTO T_LISTEN (ID, BEZEICHNUNG, FELDER, BEDINGUNGEN) VALUES (-42, 'Intern', "
        "'ART;TIERID', 'EREIGNISLISTE')");
    EXPECT_EQ(Zeilen("SELECT ID, SQL, SQL_SW FROM T_LISTEN WHERE ID IN (42, -42) ORDER BY ID"),
              "-42|-|-; 42|SELECT 1 AS Q1EINS FROM RDB$DATABASE|-");
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM T_LISTEN_BILDSCHIRM WHERE LISTE IN (42, -42)"), 0);
    Sql("INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD) VALUES (-42, 'ART')");
    Sql("INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD) VALUES (-42, 'TIERID')");
    EXPECT_EQ(Zeilen("SELECT FELD, TIER_ID FROM P_GET_LISTE_BILDSCHIRM_FELDER(-42)"),
              "ART|F; TIERID|T");
}

TEST_F(ListenDesignSqlTest, ALongDesignOverThreeSourcesStores)
{
    Herde();
    QStringList felder;
    for (const char* f : {"ID",
                          "STATUSIDX",
                          "STATUS",
                          "STATUSTEXT",
                          "NUMMER",
                          "KNRDISPLAY",
                          "NAME",
                          "RASSE",
                          "GESCHLECHT",
                          "GEBDAT",
                          "ALTER_MONATE",
                          "VATER",
                          "MUTTER",
                          "GEKAUFT",
                          "VERKAUFT",
                          "LAKTATION",
                          "LETZTE_BESAMUNG",
                          "SOLL_KALBEN",
                          "TROCKENSTELLEN",
                          "BETRIEBSSTAETTE",
                          "BETRIEBSGRUPPE"})
        felder << QStringLiteral("Q1.") + QLatin1String(f);
    felder << "Q2.DATUM"
           << "Q2.NR"
           << "Q3.DATUM"
           << "Q3.MILCH"
           << "S.N1";
    ASSERT_EQ(felder.size(), 26);
    db::Query q(tr_,
                "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, QUELLE1, QUELLE2, QUELLE3, "
                "FELD12_1, FELD12_2, FELD23_2, FELD23_3, DIST, FELDER, BEDINGUNGEN, "
                "SORTIERUNG, MENUE) VALUES (43, 'Alles', 'Alles', 1, 3, 8, 101, 302, 302, "
                "802, 'T', :FELDER, :BEDINGUNGEN, :SORTIERUNG, 'T')");
    q.Param("FELDER").SetString(felder.join(QLatin1Char(';')));
    q.Param("BEDINGUNGEN")
        .SetString(
            "Q1.STATUS;IN;T,L,D,N,B,R,A;AND;Q1.GEBDAT;>=;01.01.2000;AND;Q3.MILCH;>;0;OR;"
            "Q1.NAME;NOT IN;Otto,Paul,Quirin,Rudi;OR;Q2.DATUM;IS NULL;;");
    q.Param("SORTIERUNG").SetString("Q1.KNRDISPLAY;ASC;Q1.NAME;DESC;Q2.DATUM;ASC");
    q.Execute();
    EXPECT_GT(Text("SELECT SQL FROM T_LISTEN WHERE ID = 43").size(), 1000);
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM T_LISTEN_BILDSCHIRM WHERE LISTE = 43"), 26);
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM T_LISTEN_DRUCK WHERE LISTE = 43"), 26);
    const QString sql =
        ListenTools::BetriebsstaetteEinsetzen(Text("SELECT SQL FROM T_LISTEN WHERE ID = 43"), 0);
    EXPECT_EQ(Spalten(sql).size(), 25);
    EXPECT_EQ(Werte(sql, "Q1NAME"), QStringList({"Anna", "Berta", "Carl", "O'Hara"}));
}

TEST_F(ListenDesignSqlTest, MasksGetTheirQueryFromBaseAndConditions)
{
    Herde();
    struct Fall {
        const char* basis;
        const char* bedingungen;
        const char* query;
        const char* tiere;
    };
    const Fall faelle[] = {
        {"V_TIERWAHL_BASIS", "", "FROM V_TIERWAHL_BASIS T", "Anna; Berta; Carl; O'Hara"},
        {"V_TIERWAHL_AKTUELL", "GESCHLECHT;=;W;",
         "FROM V_TIERWAHL_AKTUELL T WHERE ((T.GESCHLECHT = 'W'))", "Anna; Berta"},
        {"V_TIERWAHL_BASIS", "STATUS;IN;T, L;AND;GESCHLECHT;<>;M;",
         "FROM V_TIERWAHL_BASIS T WHERE ((T.STATUS IN ('T', 'L')) AND (T.GESCHLECHT <> 'M'))",
         "Anna; Berta; O'Hara"},
        {"V_TIERWAHL_BASIS", "STATUSEXT;NOT IN;(P,M);OR;GESCHLECHT;=;M;",
         "FROM V_TIERWAHL_BASIS T WHERE ((T.STATUSEXT NOT IN ('P', 'M')) OR (T.GESCHLECHT = 'M'))",
         "Anna; Berta; Carl; O'Hara"},
        {"V_TIERWAHL_BASIS", "GESCHLECHT;=;W') OR ('1'='1;",
         "FROM V_TIERWAHL_BASIS T WHERE ((T.GESCHLECHT = 'W'') OR (''1''=''1'))", ""},
    };
    for (const Fall& f : faelle) {
        const int id = Sql(
            QStringLiteral("INSERT INTO T_MASKEN (NAME, BASIS, BEDINGUNGEN, QUERY) "
                           "VALUES ('M', '%1', '%2', 'FROM T_STAMMDATEN T') "
                           "RETURNING ID")
                .arg(QLatin1String(f.basis), QString::fromUtf8(f.bedingungen).replace("'", "''")));
        const QString query =
            Text(QStringLiteral("SELECT QUERY FROM T_MASKEN WHERE ID = %1").arg(id));
        EXPECT_EQ(query, QString::fromUtf8(f.query));
        // As the animal selection runs it.
        EXPECT_EQ(Zeilen(QStringLiteral("SELECT T.NAME %1 ORDER BY T.NAME").arg(query)),
                  QString::fromUtf8(f.tiere))
            << f.bedingungen;
        EXPECT_EQ(Text(QStringLiteral("SELECT W FROM P_GEN_SQL_MASKEN('%1')")
                           .arg(QString::fromUtf8(f.bedingungen).replace("'", "''"))),
                  query.mid(QStringLiteral("FROM %1 T").arg(QLatin1String(f.basis)).size()));
        Sql(QStringLiteral("DELETE FROM T_MASKEN WHERE ID = %1").arg(id));
    }

    // Fields and operators other than the mask's, and base views that are none, are refused.
    for (const char* falsch : {"NAME;=;x;", "GESCHLECHT;LIKE;W;", "GESCHLECHT;=;W;XOR;"}) {
        EXPECT_THROW(Sql(QStringLiteral("INSERT INTO T_MASKEN (NAME, BEDINGUNGEN) VALUES ('F', "
                                        "'%1')")
                             .arg(QLatin1String(falsch))),
                     db::Error)
            << falsch;
    }
    EXPECT_THROW(Sql("INSERT INTO T_MASKEN (NAME, BASIS) VALUES ('F', 'T_STAMMDATEN')"), db::Error);
    // The shipped masks have their queries.
    EXPECT_EQ(Text("SELECT QUERY FROM T_MASKEN WHERE ID = 1"), "FROM V_TIERWAHL_AKTUELL T");
}

TEST_F(ListenDesignSqlTest, TheFieldsOfSourcesComeInTheCataloguesOrder)
{
    EXPECT_EQ(Zeilen("SELECT KOMBI, FELD, BREITE, TEXT, SORTIERUNG FROM "
                     "P_GET_DESIGN_FELDER(1, 3, NULL) ROWS 2"),
              "Tiere - Tier-ID|Q1.ID|50|Tier-ID|T; Tiere - Status-Symbol|Q1.STATUSIDX|20|"
              "Status-Symbol|F");
    const int tiere = Sql("SELECT COUNT(*) FROM T_DESIGN_LISTEN_FELDER WHERE QUELLE = 1");
    const int kalbung = Sql("SELECT COUNT(*) FROM T_DESIGN_LISTEN_FELDER WHERE QUELLE = 3");
    // The print editor passes 0 for an unused source, the designer NULL.
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM P_GET_DESIGN_FELDER(1, 3, 0)"), tiere + kalbung);
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM P_GET_DESIGN_FELDER(1, NULL, NULL)"), tiere);
    EXPECT_EQ(Text("SELECT LIST(FELD, ';') FROM (SELECT FELD FROM P_GET_DESIGN_FELDER(0, 3, 0))"),
              "Q2.ID;Q2.TIER;Q2.DATUM;Q2.NR;Q2.NUMMER;Q2.GESCHLECHT;Q2.VERLAUF;Q2.TROCKEN;Q2.TAGE");
    // A source used twice is told apart in the captions.
    EXPECT_EQ(Text("SELECT KOMBI FROM P_GET_DESIGN_FELDER(1, 1, NULL) WHERE FELD = 'Q2.NAME'"),
              "Tiere (2) - Name");
    // Every field of the catalogue can be shown: each source's view has its columns.
    db::Query quellen(tr_, "SELECT ID, QUELLE FROM T_DESIGN_LISTEN_QUELLEN ORDER BY ID");
    for (quellen.Open(); !quellen.Eof(); quellen.Next()) {
        const int id = quellen.Field(0).AsInteger();
        const QString felder = Text(QStringLiteral("SELECT LIST(FELD, ';') FROM (SELECT FELD "
                                                   "FROM P_GET_DESIGN_FELDER(%1, NULL, NULL))")
                                        .arg(id));
        EXPECT_EQ(
            Spalten(ListenTools::BetriebsstaetteEinsetzen(GenSql({.q1 = id, .felder = felder}), 0))
                .size(),
            felder.count(QLatin1Char(';')) + 1)
            << quellen.Field(1).AsString().toStdString();
    }
}

TEST_F(ListenDesignSqlTest, TheStandardListsOpenOnANewDatabase)
{
    Herde();
    Sql("INSERT INTO T_TERMINE (DATUM, TEXT) VALUES (CURRENT_DATE, 'Klauenpflege')");
    EXPECT_EQ(Zeilen("SELECT ID, BEZEICHNUNG, MENUE FROM T_LISTEN WHERE ID > 0 ORDER BY ID"),
              "101|Herde|F; 102|Abkalbungen|F; 103|Trockenstellen|F; 104|Besamen|F; "
              "105|Termine|F");
    EXPECT_EQ(Text("SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Termin-Liste'"), "105");
    db::Query listen(tr_, "SELECT ID, SQL, SQL_SW FROM T_LISTEN WHERE ID > 0 ORDER BY ID");
    for (listen.Open(); !listen.Eof(); listen.Next()) {
        for (int betriebsstaette : {0, stall_}) {
            EXPECT_NO_THROW(Zeilen(
                ListenTools::BetriebsstaetteEinsetzen(listen.Field(1).AsString(), betriebsstaette)))
                << listen.Field(0).AsInteger();
            EXPECT_NO_THROW(Zeilen(
                ListenTools::BetriebsstaetteEinsetzen(listen.Field(2).AsString(), betriebsstaette)))
                << listen.Field(0).AsInteger();
        }
        EXPECT_GT(Sql(QStringLiteral("SELECT COUNT(*) FROM T_LISTEN_BILDSCHIRM WHERE LISTE = %1")
                          .arg(listen.Field(0).AsInteger())),
                  0);
    }
    EXPECT_EQ(Zeilen(ListenTools::BetriebsstaetteEinsetzen(
                         Text("SELECT SQL FROM T_LISTEN WHERE ID = 101"), 0))
                  .count(QStringLiteral("; ")),
              2);
    EXPECT_TRUE(Zeilen(ListenTools::BetriebsstaetteEinsetzen(
                           Text("SELECT SQL FROM T_LISTEN WHERE ID = 105"), stall_))
                    .contains(QStringLiteral("Klauenpflege")));
}

}  // namespace
