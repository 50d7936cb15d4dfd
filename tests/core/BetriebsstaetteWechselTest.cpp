#include <Datenmodul.h>

#include <Query.h>

#include <MessageBoxScript.h>
#include <TestDatabase.h>

#include <gtest/gtest.h>

namespace {

// Two holdings with their numbers; premises 21 and 23 belong to the first, 22 to the second.
const QString BnrA = "276090000000011";
const QString BnrB = "276090000000012";

void Ausfuehren(db::Database& d, const QStringList& sqls)
{
    db::Transaction tr(d);
    tr.Start();
    for (const QString& sql : sqls) {
        db::Query q(tr, sql);
        q.SetParamCheck(false);
        q.Execute();
    }
    tr.Commit();
}

class BetriebsstaetteWechselTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Ausfuehren(t.Db(), {"INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER) VALUES (11, "
                            "'Hof A', '" +
                                BnrA + "')",
                            "INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER) VALUES (12, "
                            "'Hof B', '" +
                                BnrB + "')",
                            "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES "
                            "(21, 'A Nord', 11)",
                            "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES "
                            "(22, 'B', 12)",
                            "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES "
                            "(23, 'A Sued', 11)"});
        dm.Datenbank.Open(t.Params());
    }

    // An animal born 1.1.2024 in premises 21, and from `spaeter` on in 23 when given.
    int Tier(const QString& nummer, const QDate& spaeter = {})
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr,
                    "INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) "
                    "VALUES (:NUMMER, 'Berta', DATE '2024-01-01', 'W', 1) RETURNING ID");
        q.Param("NUMMER").SetString(nummer);
        q.Execute();
        const int id = q.Field(0).AsInteger();
        db::Query s(tr,
                    "INSERT INTO T_STAELLE (TIER, VON, BIS, STALL) VALUES (:T, :VON, :BIS, "
                    ":STALL)");
        s.Param("T").SetInteger(id);
        s.Param("VON").SetDate(QDate(2024, 1, 1));
        s.Param("BIS").SetDate(spaeter);
        s.Param("STALL").SetInteger(21);
        s.Execute();
        if (spaeter.isValid()) {
            s.Param("VON").SetDate(spaeter);
            s.Param("BIS").SetNull();
            s.Param("STALL").SetInteger(23);
            s.Execute();
        }
        tr.Commit();
        return id;
    }

    // The pending reports as "MELDUNG BETRIEB LOM" in the order written.
    QStringList Meldungen()
    {
        QStringList zeilen;
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, "SELECT MELDUNG, BETRIEB, LOM FROM T_HITMELDUNGEN ORDER BY ID");
        for (q.Open(); !q.Eof(); q.Next())
            zeilen << QStringLiteral("%1 %2 %3")
                          .arg(q.Field(0).AsInteger())
                          .arg(q.Field(1).AsString(), q.Field(2).AsString());
        return zeilen;
    }

    // The animal's premises periods as "STALL from".
    QStringList Staelle(int tier)
    {
        QStringList zeilen;
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, "SELECT STALL, VON FROM T_STAELLE WHERE TIER = :T ORDER BY VON");
        q.Param("T").SetInteger(tier);
        for (q.Open(); !q.Eof(); q.Next())
            zeilen << QStringLiteral("%1 %2")
                          .arg(q.Field(0).AsInteger())
                          .arg(q.Field(1).AsDate().toString(Qt::ISODate));
        return zeilen;
    }

    bool Einzeln(int tier, const QString& nummer, const QDate& datum, int stall)
    {
        bool alleJa = false;
        dm.TAStammdaten.Start();
        const bool ok = dm.BetriebsstaetteWechseln(dm.TAStammdaten, true, tier, "Berta", nummer,
                                                   QDate(2024, 1, 1), {}, {}, datum, stall, alleJa);
        dm.TAStammdaten.Commit();
        return ok;
    }

    TestDatabase t;
    TDM dm;
};

}  // namespace

TEST_F(BetriebsstaetteWechselTest, AtTheEndBothReportsDepartureFirst)
{
    const int kuh = Tier("DE 01 000 00001");
    MessageBoxScript script;
    script.AnswerWith(Tools::mrYes);
    EXPECT_TRUE(Einzeln(kuh, "DE 01 000 00001", QDate(2024, 6, 1), 22));
    ASSERT_EQ(script.Shown().size(), 1);
    EXPECT_EQ(script.Shown()[0].text,
              "Sollen die erforderlichen Bewegungsmeldungen\ran HI - Tier vorbereitet werden?");
    EXPECT_EQ(Meldungen(),
              (QStringList{"3 " + BnrA + " DE 01 000 00001", "14 " + BnrB + " DE 01 000 00001"}));
    EXPECT_EQ(Staelle(kuh), (QStringList{"21 2024-01-01", "22 2024-06-01"}));
}

TEST_F(BetriebsstaetteWechselTest, WithinTheSameHoldingNothingIsAsked)
{
    const int kuh = Tier("DE 01 000 00002");
    MessageBoxScript script;
    EXPECT_TRUE(Einzeln(kuh, "DE 01 000 00002", QDate(2024, 6, 1), 23));
    EXPECT_TRUE(script.Shown().isEmpty());
    EXPECT_TRUE(Meldungen().isEmpty());
}

TEST_F(BetriebsstaetteWechselTest, InTheMiddleOnlyWhenConfirmedAndWithoutReports)
{
    const int kuh = Tier("DE 01 000 00003", QDate(2024, 8, 1));
    {
        MessageBoxScript script;
        script.AnswerWith(Tools::mrNo);
        EXPECT_FALSE(Einzeln(kuh, "DE 01 000 00003", QDate(2024, 6, 1), 22));
        ASSERT_EQ(script.Shown().size(), 1);
        EXPECT_TRUE(script.Shown()[0].text.startsWith(
            "Der Wechsel der Betriebsstätte liegt nicht am Ende der Liste."));
        EXPECT_EQ(Staelle(kuh), (QStringList{"21 2024-01-01", "23 2024-08-01"}));
    }
    MessageBoxScript script;
    script.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    EXPECT_TRUE(Einzeln(kuh, "DE 01 000 00003", QDate(2024, 6, 1), 22));
    ASSERT_EQ(script.Shown().size(), 2);
    EXPECT_EQ(script.Shown()[1].type, Tools::mtInformation);
    EXPECT_TRUE(script.Shown()[1].text.startsWith(
        "Da Sie Betriebsstätten-Änderungen nicht am Ende gemacht haben,"));
    EXPECT_EQ(Staelle(kuh), (QStringList{"21 2024-01-01", "22 2024-06-01", "23 2024-08-01"}));
    EXPECT_TRUE(Meldungen().isEmpty());
}

TEST_F(BetriebsstaetteWechselTest, DateOutsideTheAnimalsTimeIsRefused)
{
    const int kuh = Tier("DE 01 000 00004");
    struct Fall {
        QDate gekauft, verkauft, datum;
    };
    for (const Fall& f :
         {Fall{{}, {}, QDate(2023, 12, 31)}, Fall{QDate(2024, 3, 1), {}, QDate(2024, 2, 1)},
          Fall{{}, QDate(2024, 4, 1), QDate(2024, 4, 2)}}) {
        MessageBoxScript script;
        script.AnswerWith(Tools::mrOk);
        bool alleJa = false;
        dm.TAStammdaten.Start();
        EXPECT_FALSE(dm.BetriebsstaetteWechseln(dm.TAStammdaten, false, kuh, "Berta",
                                                "DE 01 000 00004", QDate(2024, 1, 1), f.gekauft,
                                                f.verkauft, f.datum, 22, alleJa));
        dm.TAStammdaten.Commit();
        ASSERT_EQ(script.Shown().size(), 1);
        EXPECT_EQ(script.Shown()[0].text,
                  "Das Datum muß in der Zeit der\rBetriebszugehörigkeit "
                  "des Tieres\rBerta DE 01 000 00004\rliegen!");
    }
    EXPECT_EQ(Staelle(kuh), QStringList{"21 2024-01-01"});
}

TEST_F(BetriebsstaetteWechselTest, ListYesToAllAsksOnceAndReportsUnknownIDs)
{
    const int a = Tier("DE 01 000 00005");
    const int b = Tier("DE 01 000 00006");
    MessageBoxScript script;
    script.AnswerWith(Tools::mrYesToAll);
    QList<int> ids{b, 9999, a};
    EXPECT_TRUE(dm.BetriebsstaetteWechselnListe(ids, 22, QDate(2024, 6, 1)));
    EXPECT_FALSE(dm.TAStammdaten.Active());
    EXPECT_EQ(ids, QList<int>{9999});
    ASSERT_EQ(script.Shown().size(), 1);
    EXPECT_EQ(script.Shown()[0].buttons, Tools::mbYesNo | Tools::Btn(Tools::mbYesToAll));
    EXPECT_TRUE(script.Shown()[0].text.contains("für das Tier\rBerta DE 01 000 00005\r"));
    EXPECT_EQ(Meldungen().size(), 4);
    EXPECT_EQ(Staelle(b), (QStringList{"21 2024-01-01", "22 2024-06-01"}));
}

TEST_F(BetriebsstaetteWechselTest, AFailureRollsTheWholeListBack)
{
    const int a = Tier("DE 01 000 00007");
    const int b = Tier("DE 01 000 00008");
    Ausfuehren(t.Db(), {"CREATE EXCEPTION E_TEST 'Testfehler'"});
    Ausfuehren(t.Db(), {"CREATE TRIGGER TEST_FEHLER FOR T_HITMELDUNGEN BEFORE INSERT AS BEGIN "
                        "IF (NEW.LOM = 'DE 01 000 00008') THEN EXCEPTION E_TEST; END"});
    MessageBoxScript script;
    script.AnswerWith(Tools::mrYesToAll);
    QList<int> ids{a, b};
    EXPECT_ANY_THROW(dm.BetriebsstaetteWechselnListe(ids, 22, QDate(2024, 6, 1)));
    EXPECT_FALSE(dm.TAStammdaten.Active());
    EXPECT_TRUE(Meldungen().isEmpty());
    EXPECT_EQ(Staelle(a), QStringList{"21 2024-01-01"});

    // The shared transaction can be started again by the next action.
    script.AnswerWith(Tools::mrNo);
    QList<int> nurA{a};
    EXPECT_TRUE(dm.BetriebsstaetteWechselnListe(nurA, 22, QDate(2024, 6, 1)));
    EXPECT_EQ(Staelle(a), (QStringList{"21 2024-01-01", "22 2024-06-01"}));
    EXPECT_TRUE(Meldungen().isEmpty());
}

TEST_F(BetriebsstaetteWechselTest, DeletingAnimalsIsOneUnitOfWork)
{
    const int a = Tier("DE 01 000 00009");
    const int b = Tier("DE 01 000 00010");
    dm.TiereLoeschen({a, b});
    EXPECT_FALSE(dm.TAStammdaten.Active());
    db::Transaction tr(t.Db());
    tr.Start();
    db::Query q(tr, "SELECT COUNT(*) FROM T_STAMMDATEN WHERE ID IN (:A, :B)");
    q.Param("A").SetInteger(a);
    q.Param("B").SetInteger(b);
    q.Open();
    EXPECT_EQ(q.Field(0).AsInteger(), 0);
}
