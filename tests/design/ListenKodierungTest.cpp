#include <ListenKodierung.h>

#include <gtest/gtest.h>

using namespace ListenKodierung;

namespace {

struct TokenFall {
    const char* text;
    QStringList tokens;
};

TEST(ListenKodierungTest, TokensVonVornBisDerTextLeerIst)
{
    const TokenFall faelle[] = {
        {"", {}},
        {"A", {"A"}},
        {"A;B", {"A", "B"}},
        {"A;B;", {"A", "B"}},
        {"A;;B", {"A", "", "B"}},
        {";", {""}},
        {"Q1.VERKAUFT;IS NULL;;", {"Q1.VERKAUFT", "IS NULL", ""}},
    };
    for (const TokenFall& f : faelle)
        EXPECT_EQ(Tokens(QString::fromUtf8(f.text)), f.tokens) << f.text;
}

struct BedingungsFall {
    QList<Bedingung> bedingungen;
    const char* text;
    // What reading the text gives back, when it differs from the written restrictions.
    QList<Bedingung> gelesen;
};

TEST(ListenKodierungTest, BedingungenSchreibenUndLesen)
{
    const BedingungsFall faelle[] = {
        {{}, "", {}},
        // The last conjunction is always written empty.
        {{{"Q1.GESCHLECHT", "=", "W", "AND"}},
         "Q1.GESCHLECHT;=;W;",
         {{"Q1.GESCHLECHT", "=", "W", ""}}},
        {{{"Q1.GESCHLECHT", "=", "W", "OR"}, {"Q1.KNR", ">", "100", ""}},
         "Q1.GESCHLECHT;=;W;OR;Q1.KNR;>;100;",
         {}},
        {{{"Q1.VERKAUFT", "IS NULL", "", ""}}, "Q1.VERKAUFT;IS NULL;;", {}},
        {{{"GESCHLECHT", "IN", "W,M", "AND"}, {"STATUS", "<>", "", "AND"}},
         "GESCHLECHT;IN;W,M;AND;STATUS;<>;;",
         {{"GESCHLECHT", "IN", "W,M", "AND"}, {"STATUS", "<>", "", ""}}},
    };
    for (const BedingungsFall& f : faelle) {
        const QString text = BedingungenKodieren(f.bedingungen);
        EXPECT_EQ(text, QString::fromUtf8(f.text));
        EXPECT_EQ(BedingungenLesen(text), f.gelesen.isEmpty() ? f.bedingungen : f.gelesen)
            << f.text;
    }
}

TEST(ListenKodierungTest, SortierungUndFelder)
{
    const QList<Sortierung> s{{"Q1.KNR", "ASC"}, {"Q1.NAME", "DESC"}};
    EXPECT_EQ(SortierungKodieren(s), "Q1.KNR;ASC;Q1.NAME;DESC");
    EXPECT_EQ(SortierungLesen("Q1.KNR;ASC;Q1.NAME;DESC"), s);
    EXPECT_EQ(SortierungKodieren({}), "");
    EXPECT_TRUE(SortierungLesen("").isEmpty());
    EXPECT_EQ(FelderKodieren({"Q1.KNR", "Q1.NAME", "S.N1"}), "Q1.KNR;Q1.NAME;S.N1");
    EXPECT_EQ(FelderLesen("Q1.KNR;Q1.NAME;S.N1"), QStringList({"Q1.KNR", "Q1.NAME", "S.N1"}));
    EXPECT_EQ(FelderKodieren({}), "");
}

TEST(ListenKodierungTest, SemikolonInEinemWertWirdAbgewiesen)
{
    // Unrefused, "W;X" would end the value after W and shift every later group by one token.
    try {
        BedingungenKodieren({{"Q1.NAME", "=", "W;X", "AND"}, {"Q1.KNR", ">", "1", ""}});
        FAIL() << "the value with a semicolon was written";
    } catch (const EKodierung& e) {
        const QString text = QString::fromStdString(e.what());
        EXPECT_TRUE(text.contains("\"W;X\"")) << text.toStdString();
        EXPECT_TRUE(text.contains("Semikolon")) << text.toStdString();
    }
    EXPECT_THROW(SortierungKodieren({{"Q1;KNR", "ASC"}}), EKodierung);
    EXPECT_THROW(FelderKodieren({"Q1.KNR", "S.F1;x"}), EKodierung);
    // A conjunction on the last row is dropped, so a stray ";" there harms nothing.
    EXPECT_EQ(BedingungenKodieren({{"Q1.KNR", ">", "1", "A;B"}}), "Q1.KNR;>;1;");
}

TEST(ListenKodierungTest, Codetabellen)
{
    EXPECT_EQ(
        Angezeigt(DesignerOperatoren()),
        QStringList({"gleich", "kleiner als", "größer als", "kleiner o. gleich", "größer o. gleich",
                     "nicht gleich", "in Liste", "nicht in Liste", "leer", "nicht leer"}));
    QStringList codes;
    for (const Code& c : DesignerOperatoren())
        codes << c.gespeichert;
    EXPECT_EQ(codes, QStringList({"=", "<", ">", "<=", ">=", "<>", "IN", "NOT IN", "IS NULL",
                                  "IS NOT NULL"}));
    EXPECT_EQ(Angezeigt(MaskenOperatoren()),
              QStringList({"gleich", "nicht gleich", "in Liste", "nicht in Liste"}));
    EXPECT_EQ(Angezeigt(Verknuepfungen()), QStringList({"", "und", "oder"}));
    EXPECT_EQ(Angezeigt(Sortierrichtungen()), QStringList({"aufsteigend", "absteigend"}));
    EXPECT_EQ(Angezeigt(MaskenFelder()), QStringList({"Geschlecht", "Status", "Art"}));

    for (const Codetabelle* t : {&DesignerOperatoren(), &MaskenOperatoren(), &Verknuepfungen(),
                                 &Sortierrichtungen(), &MaskenFelder()})
        for (const Code& c : *t) {
            EXPECT_EQ(Schreiben(*t, c.angezeigt), c.gespeichert);
            EXPECT_EQ(Lesen(*t, c.gespeichert), c.angezeigt);
        }
    EXPECT_EQ(Schreiben(MaskenFelder(), "Art"), "STATUSEXT");
    // Writing passes an unknown text through; reading an unknown code leaves the cell empty.
    EXPECT_EQ(Schreiben(DesignerOperatoren(), "ungefähr"), "ungefähr");
    EXPECT_EQ(Lesen(Verknuepfungen(), "XOR"), "");
    EXPECT_EQ(Lesen(MaskenOperatoren(), ">"), "") << "not a mask operator";
}

TEST(ListenKodierungTest, FeldspalteUndFeldeintrag)
{
    const QList<FeldEintrag> felder{
        FeldEintrag::AusText("Tier: Nummer;Q1.NUMMER;120;T;Nummer"),
        FeldEintrag::AusText("Tier: Name;Q1.NAME;;F;Name"),
        FeldEintrag::AusText("Tier: Nummer;Q2.NUMMER;80;T;Nr."),
    };
    EXPECT_EQ(felder.at(0), (FeldEintrag{"Tier: Nummer", "Q1.NUMMER", "120", "T", "Nummer"}));
    EXPECT_TRUE(felder.at(0).Sortierbar());
    EXPECT_FALSE(felder.at(1).Sortierbar());
    EXPECT_EQ(FeldToken(felder, "Tier: Nummer"), "Q1.NUMMER") << "the first entry counts";
    EXPECT_EQ(FeldToken(felder, "frei"), "frei");
    EXPECT_EQ(FeldKombi(felder, "Q2.NUMMER"), "Tier: Nummer");
    EXPECT_EQ(FeldKombi(felder, "Q3.X"), "");
    EXPECT_EQ(FeldEintrag::AusText("Fester Wert (2);S.F2;;F;Fester Wert (2)"),
              (FeldEintrag{"Fester Wert (2)", "S.F2", "", "F", "Fester Wert (2)"}));
}

}  // namespace
