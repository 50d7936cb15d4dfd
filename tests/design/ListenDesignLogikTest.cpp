#include <ListenDesignLogik.h>

#include <gtest/gtest.h>

#include <optional>

namespace {

using Feld = TListenDesignLogik::Feld;
using Quellen = TListenDesignLogik::Quellen;

const QString Mitte = QStringLiteral(
    "Die Datenquelle in der Mitte darf dort nicht stehen.\r"
    "Ändern Sie die Reihenfolge");
const QString AlleP = QStringLiteral(
    "Diese Datenquellen können nicht\r"
    "miteinander verbunden werden\r"
    "Sie müssen eine Quelle durch eine andere austauschen");

struct QuellenFall {
    Quellen q;
    QList<int> pQuellen;  // sources of type "P"
    QString fehler;
};

TEST(ListenDesignLogikTest, QuellenPruefen)
{
    const Quellen eine{1, {}, {}, {}, {}, {}, {}};
    const Quellen zwei{1, 2, {}, 11, 21, {}, {}};
    const Quellen drei{1, 2, 3, 11, 21, 22, 31};
    const QuellenFall faelle[] = {
        {{}, {}, "Sie müssen mindestens eine Quelle angeben"},
        {eine, {}, ""},
        {eine, {1}, "Diese Datenquelle ist allein nicht erlaubt\rSie benötigen eine weitere"},
        {{1, 2, {}, 11, {}, {}, {}},
         {},
         "Geben Sie die Verbindungsfelder für die Quellen 1 und 2 an"},
        {{1, 2, 3, 11, 21, {}, 31},
         {},
         "Geben Sie die Verbindungsfelder für die Quellen 2 und 3 an"},
        {zwei, {}, ""},
        {zwei, {1}, ""},
        {zwei, {2}, ""},
        {zwei, {1, 2}, "Diese Datenquellen können nicht\rmiteinander direkt verbunden werden"},
        // The placement table of three sources.
        {drei, {}, ""},
        {drei, {3}, Mitte},
        {drei, {2}, Mitte},
        {drei, {2, 3}, Mitte},
        {drei, {1}, ""},
        {drei, {1, 3}, ""},
        {drei, {1, 2}, ""},
        {drei, {1, 2, 3}, AlleP},
    };
    int n = 0;
    for (const QuellenFall& f : faelle) {
        const QList<int> p = f.pQuellen;
        EXPECT_EQ(TListenDesignLogik::QuellenPruefen(f.q, [&p](int q) { return p.contains(q); }),
                  f.fehler)
            << "case " << n;
        ++n;
    }
}

TEST(ListenDesignLogikTest, QuellenBereinigenLoeschtWasNichtMehrSteht)
{
    Quellen q{{}, 2, 3, 11, 21, 22, 31};
    TListenDesignLogik::QuellenBereinigen(q);
    EXPECT_FALSE(q.quelle2 || q.quelle3 || q.feld12_1 || q.feld12_2 || q.feld23_2 || q.feld23_3);
    Quellen r{1, 2, {}, 11, 21, 22, 31};
    TListenDesignLogik::QuellenBereinigen(r);
    EXPECT_EQ(r.feld12_1, 11);
    EXPECT_EQ(r.feld12_2, 21);
    EXPECT_FALSE(r.feld23_2 || r.feld23_3);
}

QList<Feld> Katalog()
{
    return {
        {"Tier: Nummer", "Q1.NUMMER", "120", "T", "Nummer"},
        {"Tier: Name", "Q1.NAME", "150", "T", "Name"},
        {"Tier: Status", "Q1.STATUSIDX", "", "F", "St."},
        {"Kalbung: Datum", "Q2.DATUM", "90", "T", "Kalbedatum"},
    };
}

QStringList Kombis(const QList<Feld>& f)
{
    return TListenDesignLogik::Kombis(f);
}

TEST(ListenDesignLogikTest, AusgabefelderAusFelder)
{
    TListenDesignLogik l;
    l.AusgabefelderLaden(Katalog(), "Q1.NAME;S.N2;Q9.WEG;S.F;Q1.NUMMER");
    EXPECT_EQ(Kombis(l.Sichtbar()), QStringList({"Tier: Name", "Fortlaufende Nummer (2)",
                                                 "Fester Wert", "Tier: Nummer"}));
    EXPECT_EQ(l.Sichtbar().at(1).feld, "S.N2");
    EXPECT_EQ(Kombis(l.Verfuegbar()), QStringList({"Tier: Status", "Kalbung: Datum",
                                                   "Fortlaufende Nummer", "Fester Wert"}));
    EXPECT_EQ(l.Felder(), "Q1.NAME;S.N2;S.F;Q1.NUMMER") << "the unknown token is dropped";
}

TEST(ListenDesignLogikTest, FortlaufendeNummernZaehlen)
{
    TListenDesignLogik l;
    l.AusgabefelderLaden(Katalog(), "");
    EXPECT_EQ(l.FelderPruefen(), "Sie müssen mindestend ein Feld zum anzeigen angeben");
    const int nummer = int(l.Verfuegbar().size()) - 2;
    for (int i = 0; i < 3; ++i) {
        const auto a = l.Hinzufuegen(nummer);
        ASSERT_TRUE(a);
        EXPECT_EQ(a->verfuegbar, nummer) << "the pseudo field stays available and selected";
        EXPECT_EQ(a->sichtbar, i);
    }
    EXPECT_EQ(Kombis(l.Sichtbar()),
              QStringList({"Fortlaufende Nummer (1)", "Fortlaufende Nummer (2)",
                           "Fortlaufende Nummer (3)"}));
    EXPECT_EQ(l.Felder(), "S.N1;S.N2;S.N3");
    EXPECT_EQ(l.Entfernen(1), 1);
    EXPECT_EQ(Kombis(l.Verfuegbar()).count("Fortlaufende Nummer"), 1)
        << "a pseudo field is dropped";
    l.Hinzufuegen(nummer);
    EXPECT_EQ(l.Felder(), "S.N1;S.N3;S.N2");
    EXPECT_EQ(l.NaechsteNummer("S.N"), 4);
    EXPECT_EQ(l.NaechsteNummer("S.F"), 1);
    l.Hinzufuegen(nummer + 1);
    EXPECT_EQ(l.Sichtbar().last().feld, "S.F1");
    EXPECT_EQ(l.FelderPruefen(), "");
    EXPECT_FALSE(l.Hinzufuegen(-1));
    EXPECT_FALSE(l.Entfernen(7));
}

TEST(ListenDesignLogikTest, NaechsteNummerIstDieErsteLuecke)
{
    struct Fall {
        const char* felder;
        int nummer;
    };
    for (const Fall& f : {Fall{"", 1}, Fall{"S.N1;S.N2;S.N3", 4}, Fall{"S.N1;S.N3", 2},
                          Fall{"S.N3;S.N2", 1}, Fall{"S.N2;S.F1;S.N1", 3}}) {
        TListenDesignLogik l;
        l.AusgabefelderLaden(Katalog(), f.felder);
        EXPECT_EQ(l.NaechsteNummer("S.N"), f.nummer) << f.felder;
    }
}

TEST(ListenDesignLogikTest, AlleFelderOhnePseudofelder)
{
    TListenDesignLogik l;
    l.AusgabefelderLaden(Katalog(), "S.N1;Q1.NAME");
    l.AlleHinzufuegen();
    EXPECT_EQ(l.Felder(), "S.N1;Q1.NAME;Q1.NUMMER;Q1.STATUSIDX;Q2.DATUM");
    EXPECT_EQ(Kombis(l.Verfuegbar()), QStringList({"Fortlaufende Nummer", "Fester Wert"}));
    l.AlleHinzufuegen();
    EXPECT_EQ(l.Sichtbar().size(), 5) << "nothing more to add, no pseudo field added";
    l.AlleEntfernen();
    EXPECT_TRUE(l.Sichtbar().isEmpty());
    EXPECT_EQ(Kombis(l.Verfuegbar()),
              QStringList({"Fortlaufende Nummer", "Fester Wert", "Tier: Name", "Tier: Nummer",
                           "Tier: Status", "Kalbung: Datum"}));
}

TEST(ListenDesignLogikTest, AufUndAb)
{
    TListenDesignLogik l;
    l.AusgabefelderLaden(Katalog(), "Q1.NUMMER;Q1.NAME;S.F1");
    EXPECT_EQ(l.Auf(0), 0);
    EXPECT_EQ(l.Ab(2), 2);
    EXPECT_EQ(l.Ab(0), 1);
    EXPECT_EQ(l.Felder(), "Q1.NAME;Q1.NUMMER;S.F1");
    EXPECT_EQ(l.Auf(2), 1);
    EXPECT_EQ(l.Felder(), "Q1.NAME;S.F1;Q1.NUMMER");
}

TEST(ListenDesignLogikTest, EinschraenkungenUndSortierungImRaster)
{
    TListenDesignLogik l;
    l.AusgabefelderLaden(Katalog(), "Q1.NUMMER");
    EXPECT_EQ(l.EinschraenkungsFelder(),
              QStringList({"Tier: Nummer", "Tier: Name", "Tier: Status", "Kalbung: Datum"}));
    EXPECT_EQ(l.SortierFelder(), QStringList({"Tier: Nummer", "Tier: Name", "Kalbung: Datum"}));

    // A restriction on a field no longer offered goes, those after it keep their values; an
    // unknown code leaves its cell empty.
    const QList<QStringList> zeilen = l.EinschraenkungsZeilen(
        "Q1.NAME;=;Berta;OR;Q3.WEG;<;5;AND;Q2.DATUM;>=;01.01.2024;XOR;Q1.NUMMER;LIKE;DE;");
    EXPECT_EQ(zeilen, (QList<QStringList>{{"Tier: Name", "gleich", "Berta", "oder"},
                                          {"Kalbung: Datum", "größer o. gleich", "01.01.2024", ""},
                                          {"Tier: Nummer", "", "DE", ""}}));
    EXPECT_EQ(l.Bedingungen({{"Tier: Name", "gleich", "Berta", "oder"},
                             {"Kalbung: Datum", "leer", "", "und"}}),
              "Q1.NAME;=;Berta;OR;Q2.DATUM;IS NULL;;");
    EXPECT_EQ(l.Bedingungen({}), "");
    EXPECT_THROW(l.Bedingungen({{"Tier: Name", "gleich", "A;B", ""}}), ListenKodierung::EKodierung);

    EXPECT_EQ(l.SortierungsZeilen("Q9.X;ASC;Q1.NAME;DESC;Q1.NUMMER;RUNTER"),
              (QList<QStringList>{{"Tier: Name", "absteigend"}, {"Tier: Nummer", ""}}));
    EXPECT_EQ(l.Sortierung({{"Tier: Name", "absteigend"}, {"Tier: Nummer", "aufsteigend"}}),
              "Q1.NAME;DESC;Q1.NUMMER;ASC");
    // The round trip of page 2 and page 3 gives the same rows back.
    const QList<QStringList> wieder = l.EinschraenkungsZeilen(l.Bedingungen(zeilen));
    EXPECT_EQ(wieder.size(), 3);
    EXPECT_EQ(wieder.at(0), zeilen.at(0));
}

TEST(ListenDesignLogikTest, SymbolRundherum)
{
    EXPECT_EQ(TListenDesignLogik::SymbolNachher(std::nullopt, 23), 0);
    EXPECT_EQ(TListenDesignLogik::SymbolVorher(std::nullopt, 23), 0);
    EXPECT_EQ(TListenDesignLogik::SymbolNachher(21, 23), 22);
    EXPECT_EQ(TListenDesignLogik::SymbolNachher(22, 23), 0);
    EXPECT_EQ(TListenDesignLogik::SymbolVorher(0, 23), 22);
    EXPECT_EQ(TListenDesignLogik::SymbolVorher(5, 23), 4);
    EXPECT_EQ(TListenDesignLogik::SymbolZaehler(4, 23), "(5/23)");
}

TEST(ListenDesignLogikTest, TestspaltenAusDenAngezeigtenFeldern)
{
    TListenDesignLogik l;
    l.AusgabefelderLaden(Katalog(), "Q1.STATUSIDX;S.N1;Q1.NUMMER;S.F2");
    const std::vector<ListenSpalten::LayoutZeile> layout = l.TestLayout();
    ASSERT_EQ(layout.size(), 4u);
    EXPECT_EQ(layout[0].feld, "Q1.STATUSIDX");
    EXPECT_FALSE(layout[0].breite) << "an empty width is the grid's own";
    EXPECT_EQ(layout[1].titel, "Fortlaufende Nummer (1)");
    EXPECT_EQ(layout[2].breite, 120);
    EXPECT_EQ(layout[2].titel, "Nummer");
    EXPECT_EQ(layout[3].wert, "fest");
    EXPECT_FALSE(layout[2].autobreite);

    // The columns the list grid makes of them: status picture, running number, field, fixed text.
    ListenSpalten::Umgebung u;
    u.datenfelder = QStringList({"Q1STATUSIDX", "Q1NUMMER"});
    u.clientBreite = 100;
    const ListenSpalten::Ergebnis e = ListenSpalten::SpaltenAnlegen(layout, u);
    ASSERT_EQ(e.spalten.size(), 4u);
    EXPECT_EQ(e.spalten[0].art, ListenSpalten::Art::StatusIcon);
    EXPECT_EQ(e.spalten[0].breite, 20);
    EXPECT_EQ(e.spalten[2].breite, 50) << "cut to the grid's width minus 50";

    TListenDesignLogik eine;
    eine.AusgabefelderLaden(Katalog(), "Q1.NAME");
    EXPECT_TRUE(eine.TestLayout().at(0).autobreite) << "a single column sizes itself";
}

}  // namespace
