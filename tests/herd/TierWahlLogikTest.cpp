#include <TierWahlLogik.h>

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(TierWahlLogik, WhereZaehltNurAufDerAeusserenEbene)
{
    struct Fall {
        const char* sql;
        bool erwartet;
    };
    const Fall faelle[] = {
        {"FROM V_TIERWAHL_BASIS T", false},
        {"FROM V_TIERWAHL_BASIS T WHERE T.KNR > 5", true},
        {"FROM V_TIERWAHL_BASIS T\nwhere T.KNR > 5", true},
        {"FROM V_TIERWAHL_BASIS T WHERE(T.KNR > 5)", true},
        {"FROM (SELECT * FROM V_TIERWAHL_BASIS WHERE KNR > 5) T", false},
        {"FROM V_TIERWAHL_NOWHERE T", false},
        {"FROM V_TIERWAHL_BASIS T JOIN X ON X.WHERE_ID = T.ID", false},
        {"FROM \"WHERE\" T", false},
        {"FROM V_TIERWAHL_BASIS T /* WHERE */", false},
        {"FROM V_TIERWAHL_BASIS T -- WHERE\n", false},
        {"FROM V_TIERWAHL_BASIS T JOIN Y ON Y.A = 'x'' WHERE' ", false},
        {"FROM V_TIERWAHL_BASIS T WHERE T.ID IN (SELECT TIER FROM T_STAELLE WHERE STALL = 1)",
         true},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(TierWahl::HatAeussereWhere(QString::fromUtf8(f.sql)), f.erwartet) << f.sql;
}

TEST(TierWahlLogik, AuswahlSqlHaengtBetriebUndOrdnungAn)
{
    EXPECT_EQ(TierWahl::AuswahlSQL("FROM V_TIERWAHL_BASIS T", ""),
              QStringList({"FROM V_TIERWAHL_BASIS T", "ORDER BY T.KNR, T.GEBDAT"}));
    EXPECT_EQ(TierWahl::AuswahlSQL("FROM V_TIERWAHL_BASIS T", "Stall 1"),
              QStringList({"FROM V_TIERWAHL_BASIS T", "WHERE", "(BETRIEB = 'Stall 1')",
                           "ORDER BY T.KNR, T.GEBDAT"}));
    EXPECT_EQ(TierWahl::AuswahlSQL("FROM V T\r\nWHERE T.KNR > 1", "O'Brien's"),
              QStringList({"FROM V T", "WHERE T.KNR > 1", "AND", "(BETRIEB = 'O''Brien''s')",
                           "ORDER BY T.KNR, T.GEBDAT"}));
}

TEST(TierWahlLogik, SchnelllisteBeginntMitDenDreiSpaltenUndEndetMitDerOrdnung)
{
    const QString sql = TierWahl::SchnelllisteSQL(TierWahl::AuswahlSQL("FROM V T", ""));
    EXPECT_EQ(sql, "SELECT T.ID, T.NAME, T.NUMMER FROM V T\nORDER BY T.KNR, T.GEBDAT\n");
}

TEST(TierWahlLogik, SucheIgnoriertBlankUndGrossschreibung)
{
    struct Fall {
        const char* suche;
        const char* knr;
        const char* nummer;
        const char* name;
        bool passt;
    };
    const Fall faelle[] = {
        {"", "", "", "", true},
        {"de 01", "", "DE 01 234 56789", "Berta", true},
        {"berta", "007", "DE 01", "Ber Ta", true},
        {"07", "007", "DE 01", "Lisa", true},
        {"0 7", "007", "DE 01", "Lisa", true},
        {"99", "007", "DE 01", "Lisa", false},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(TierWahl::ZeilePasst(TierWahl::Suchtext(f.suche), f.knr, f.nummer, f.name),
                  f.passt)
            << f.suche;
}

TEST(TierWahlLogik, KnrOhneGueltigeZahlSortiertZuletzt)
{
    EXPECT_EQ(TierWahl::KnrSortwert("012"), 12);
    EXPECT_EQ(TierWahl::KnrSortwert(""), INT_MAX);
    EXPECT_EQ(TierWahl::KnrSortwert("abc"), INT_MAX);
    EXPECT_EQ(TierWahl::KnrSortwert("0"), INT_MAX);
    EXPECT_EQ(TierWahl::KnrSortwert("-4"), INT_MAX);
}

TEST(TierWahlLogik, ModiUndMindestanzahl)
{
    EXPECT_FALSE(TierWahl::Modus(0).mehrfach);
    EXPECT_EQ(TierWahl::Modus(2).okText, "Wechseln");
    EXPECT_TRUE(TierWahl::Modus(3).mehrfach);
    EXPECT_THROW(TierWahl::Modus(4), std::invalid_argument);
    EXPECT_EQ(TierWahl::MindestanzahlText(1), "Es muss mindestens 1 Tier ausgewählt werden.");
    EXPECT_EQ(TierWahl::MindestanzahlText(2), "Es müssen mindestens 2 Tiere ausgewählt werden.");
}

}  // namespace
