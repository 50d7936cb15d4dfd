#include <ListenTools.h>

#include <Query.h>
#include <TestDatabase.h>
#include <Transaction.h>

#include <gtest/gtest.h>

using namespace ListenTools;

namespace {

struct PlatzhalterFall {
    const char* sql;
    int betriebsstaette;
    QDate datum;
    const char* erwartet;
    bool ersetzt;
};

const PlatzhalterFall PlatzhalterFaelle[] = {
    {"SELECT * FROM T S WHERE #S.ID# AND X", 0, {}, "SELECT * FROM T S WHERE 1=1 AND X", true},
    {"SELECT * FROM T S WHERE #S.ID# AND X", -1, QDate(2024, 3, 5),
     "SELECT * FROM T S WHERE 1=1 AND X", true},
    {"SELECT * FROM T S WHERE #S.ID AND X", 3, {}, "SELECT * FROM T S WHERE #S.ID AND X", false},
    {"SELECT * FROM T S WHERE #S.ID AND X", 0, {}, "SELECT * FROM T S WHERE #S.ID AND X", false},
    {"SELECT * FROM T S", 3, {}, "SELECT * FROM T S", false},
    {"SELECT * FROM T S WHERE #S.ID# AND X",
     3,
     {},
     "SELECT * FROM T S WHERE ((S.ID IS NULL) OR ((SELECT STALL FROM "
     "P_GET_LETZTE_BETRIEBSSTAETTE(S.ID)) = 3)) AND X",
     true},
    {"SELECT * FROM T S WHERE #S.ID# AND X", 3, QDate(2024, 3, 5),
     "SELECT * FROM T S WHERE ((S.ID IS NULL) OR ((SELECT STALL FROM "
     "P_GET_BETRIEBSSTAETTE_DATUM(S.ID, '05.03.2024')) = 3)) AND X",
     true},
    {"WHERE (#Q1.ID#) AND A = '#B#'", 0, {}, "WHERE (1=1) AND A = '#B#'", true},
    {"WHERE ## AND X", 0, {}, "WHERE 1=1 AND X", true},
};

TEST(ListenToolsPlatzhalterTest, ErsetztNurDenErstenPlatzhalter)
{
    for (const PlatzhalterFall& f : PlatzhalterFaelle) {
        SCOPED_TRACE(f.sql);
        bool ersetzt = !f.ersetzt;
        EXPECT_EQ(BetriebsstaetteEinsetzenZumDatum(f.sql, f.betriebsstaette, ersetzt, f.datum),
                  QString::fromUtf8(f.erwartet));
        EXPECT_EQ(ersetzt, f.ersetzt);
        if (!f.datum.isValid()) {
            bool gefunden = !f.ersetzt;
            EXPECT_EQ(BetriebsstaetteEinsetzenGefunden(f.sql, f.betriebsstaette, gefunden),
                      QString::fromUtf8(f.erwartet));
            EXPECT_EQ(gefunden, f.ersetzt);
            EXPECT_EQ(BetriebsstaetteEinsetzen(f.sql, f.betriebsstaette),
                      QString::fromUtf8(f.erwartet));
        }
    }
}

TEST(ListenToolsPseudoFeldTest, NamenUndNummern)
{
    struct Fall {
        const char* name;
        bool nummer;
        bool fest;
        int n;
    };
    const Fall faelle[] = {
        {"S.N", true, false, 0},   {"S.N12", true, false, 12},   {"S.Nx", true, false, 0},
        {"S.F", false, true, 0},   {"S.F3", false, true, 3},     {"s.n", false, false, 0},
        {"s.f2", false, false, 2}, {"S.ID", false, false, 0},    {"S.", false, false, 0},
        {"", false, false, 0},     {"Q1.NAME", false, false, 0},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(IstFortlaufendeNummer(f.name), f.nummer);
        EXPECT_EQ(IstFesterWert(f.name), f.fest);
        EXPECT_EQ(IstPseudoFeld(f.name), f.nummer || f.fest);
        EXPECT_EQ(PseudoFeldNummer(f.name), f.n);
    }
}

TEST(ListenToolsPseudoFeldTest, DesignerEintraege)
{
    EXPECT_EQ(FortlaufendeNummerEintrag(0), "Fortlaufende Nummer;S.N;;F;Fortlaufende Nummer");
    EXPECT_EQ(FortlaufendeNummerEintrag(2),
              "Fortlaufende Nummer (2);S.N2;;F;Fortlaufende Nummer (2)");
    EXPECT_EQ(FesterWertEintrag(0), "Fester Wert;S.F;;F;Fester Wert");
    EXPECT_EQ(FesterWertEintrag(11), "Fester Wert (11);S.F11;;F;Fester Wert (11)");
}

// The replaced SQL runs on the engine: rows of other premises drop out, rows without an animal
// pass, and the condition beside the placeholder still holds for every row.
class ListenToolsDatenbankTest : public DatabaseTest {
public:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        db::Transaction tr(Db());
        tr.Start();
        const char* sqls[] = {
            "INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG) VALUES (11, 'Hof A')",
            "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (21, 'Nord', 11)",
            "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (22, 'Sued', 11)",
            "CREATE TABLE T_LT (N INTEGER NOT NULL, TIER INTEGER, AKTIV INTEGER NOT NULL)",
        };
        for (const char* sql : sqls)
            db::Query(tr, sql).Execute();
        tr.Commit();
        tr.Start();
        // Animal 1 stays in 21; animal 2 moves from 21 to 22 on 1.6.2024.
        const int tier1 = Tier(tr, "DE 01", {{QDate(2024, 1, 1), QDate(), 21}});
        const int tier2 =
            Tier(tr, "DE 02",
                 {{QDate(2024, 1, 1), QDate(2024, 6, 1), 21}, {QDate(2024, 6, 1), QDate(), 22}});
        // N: 1 animal 1 active, 2 animal 2 active, 3 no animal active, 4 no animal inactive,
        // 5 animal 2 inactive.
        const struct {
            int n;
            int tier;
            int aktiv;
        } zeilen[] = {{1, tier1, 1}, {2, tier2, 1}, {3, 0, 1}, {4, 0, 0}, {5, tier2, 0}};
        db::Query ins(tr, "INSERT INTO T_LT (N, TIER, AKTIV) VALUES (:N, :TIER, :AKTIV)");
        for (const auto& z : zeilen) {
            ins.Param("N").SetInteger(z.n);
            if (z.tier)
                ins.Param("TIER").SetInteger(z.tier);
            else
                ins.Param("TIER").SetNull();
            ins.Param("AKTIV").SetInteger(z.aktiv);
            ins.Execute();
        }
        tr.Commit();
    }

    struct Aufenthalt {
        QDate von;
        QDate bis;
        int stall;
    };

    static int Tier(db::Transaction& tr, const QString& nummer, const std::vector<Aufenthalt>& orte)
    {
        db::Query q(tr,
                    "INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) "
                    "VALUES (:NUMMER, 'Berta', DATE '2024-01-01', 'W', 1) RETURNING ID");
        q.Param("NUMMER").SetString(nummer);
        q.Execute();
        const int id = q.Field(0).AsInteger();
        db::Query s(
            tr, "INSERT INTO T_STAELLE (TIER, VON, BIS, STALL) VALUES (:T, :VON, :BIS, :STALL)");
        for (const Aufenthalt& o : orte) {
            s.Param("T").SetInteger(id);
            s.Param("VON").SetDate(o.von);
            s.Param("BIS").SetDate(o.bis);
            s.Param("STALL").SetInteger(o.stall);
            s.Execute();
        }
        return id;
    }

    static QList<int> Zeilen(const QString& sql)
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr, sql);
        QList<int> n;
        for (q.Open(); !q.Eof(); q.Next())
            n << q.Field("N").AsInteger();
        return n;
    }
};

TEST_F(ListenToolsDatenbankTest, PlatzhalterFiltertNachBetriebsstaette)
{
    const QString sql = "SELECT L.N FROM T_LT L WHERE #L.TIER# AND L.AKTIV = 1 ORDER BY L.N";
    const struct {
        int betriebsstaette;
        QDate datum;
        QList<int> zeilen;
    } faelle[] = {
        {0, {}, {1, 2, 3}},
        {-1, {}, {1, 2, 3}},
        {21, {}, {1, 3}},
        {22, {}, {2, 3}},
        {99, {}, {3}},
        {21, QDate(2024, 3, 1), {1, 2, 3}},
        {22, QDate(2024, 3, 1), {3}},
        {22, QDate(2024, 7, 1), {2, 3}},
        {21, QDate(2023, 12, 31), {3}},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(
            QStringLiteral("%1 %2").arg(f.betriebsstaette).arg(f.datum.toString()).toStdString());
        bool ersetzt = false;
        EXPECT_EQ(
            Zeilen(BetriebsstaetteEinsetzenZumDatum(sql, f.betriebsstaette, ersetzt, f.datum)),
            f.zeilen);
        EXPECT_TRUE(ersetzt);
    }
}

}  // namespace
