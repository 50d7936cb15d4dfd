#include <StammdatenLogik.h>

#include <gtest/gtest.h>

#include <functional>

using namespace Stammdaten;

namespace {

const QDate Heute(2025, 6, 15);
const QDate Geboren(2024, 1, 1);

TTier Rind()
{
    return {"DE 01 111 11111", Geboren, "W", "J", "N", {}, {}, {}, {}};
}

TEST(StammdatenLogik, JedePruefungSchlaegtMitIhremTextUndFeldFehl)
{
    struct Fall {
        int nr;
        std::function<void(TTier&)> aendern;
        bool besamungen;
        bool kalbungen;
        TFeld feld;
        const char* textAnfang;
    };
    const Fall faelle[] = {
        {1, [](TTier& t) { t.nummer = " "; }, false, false, TFeld::Nummer, "Sie müssen eine Nummer"},
        {2, [](TTier& t) { t.gebdat = {}; }, false, false, TFeld::Gebdat, "Sie müssen ein Geburtsdatum"},
        {3, [](TTier& t) { t.gebdat = Heute.addDays(1); }, false, false, TFeld::Gebdat,
         "Das Geburtsdatum darf nicht in der Zukunft"},
        {4, [](TTier& t) { t.gekauft = Heute.addDays(1); }, false, false, TFeld::Gekauft,
         "Das Gekauft-Datum darf nicht in der Zukunft"},
        {5, [](TTier& t) { t.verkauft = Heute.addDays(1); }, false, false, TFeld::Verkauft,
         "Das Verkauft-Datum darf nicht in der Zukunft"},
        {6, [](TTier& t) { t.geschlecht = "M"; t.status = "M"; }, true, false, TFeld::Maennlich,
         "Das Tier kann nicht männlich sein,\nda Besamungen"},
        {7, [](TTier& t) { t.geschlecht = "M"; t.statusExt = "M"; }, false, false, TFeld::Art,
         "Die Art \"Mutterkuh\" kann nicht für\nmännliche"},
        {8, [](TTier& t) { t.gekauft = Geboren.addDays(-1); }, false, false, TFeld::Gekauft,
         "Das Gekauft-Datum darf nicht vor dem Geburtsdatum"},
        {9, [](TTier& t) { t.verkauft = Geboren.addDays(-1); }, false, false, TFeld::Verkauft,
         "Das Verkauft-Datum darf nicht vor dem Geburtsdatum"},
        {10, [](TTier& t) { t.gekauft = QDate(2025, 1, 2); t.verkauft = QDate(2025, 1, 1); },
         false, false, TFeld::Verkauft, "Das Verkauft-Datum darf nicht vor dem Gekauft-Datum"},
        {11, [](TTier& t) { t.rindern = Geboren; }, false, false, TFeld::Rindern,
         "Das Datum des nächsten Rinderns"},
        {12, [](TTier& t) { t.status = "T"; t.trocken = Geboren; }, true, false, TFeld::Trocken,
         "Das Trockenstelldatum"},
        {13, [](TTier& t) { t.geschlecht = "M"; t.status = "D"; }, false, false, TFeld::Status,
         "Der Status ist nicht möglich, da das Tier männlich"},
        {14, [](TTier& t) { t.status = "Z"; }, false, false, TFeld::Status,
         "Der Status ist nicht möglich, da das Tier weiblich"},
        {15, [](TTier&) {}, false, true, TFeld::Status, "Der Status \"Jungrind\""},
        {16, [](TTier& t) { t.status = "L"; }, false, false, TFeld::Status, "Der Status \"leer\""},
        {17, [](TTier& t) { t.status = "D"; }, true, false, TFeld::Status, "Der Status \"deckfähig\""},
        {18, [](TTier& t) { t.status = "B"; }, false, false, TFeld::Status, "Der Status \"besamt\""},
        {19, [](TTier& t) { t.status = "T"; }, false, false, TFeld::Status, "Der Status \"trächtig\""},
        {20, [](TTier& t) { t.status = "R"; }, false, true, TFeld::Status, "Der Status \"trocken\""},
        {21, [](TTier& t) { t.status = "N"; }, false, false, TFeld::Status,
         "Der Status \"nicht trächtig\""},
        {22, [](TTier& t) { t.status = "U"; t.statusExt = "M"; }, false, false, TFeld::Art,
         "Die Art \"Mutterkuh\" macht keinen Sinn"},
    };
    ASSERT_FALSE(TierPruefen(Rind(), false, false, Heute));
    for (const Fall& f : faelle) {
        TTier t = Rind();
        f.aendern(t);
        const auto fehler = TierPruefen(t, f.besamungen, f.kalbungen, Heute);
        ASSERT_TRUE(fehler) << f.nr;
        EXPECT_EQ(fehler->nr, f.nr);
        EXPECT_EQ(fehler->feld, f.feld) << f.nr;
        EXPECT_TRUE(fehler->text.startsWith(QString::fromUtf8(f.textAnfang)))
            << f.nr << " " << fehler->text.toStdString();
    }
}

TEST(StammdatenLogik, GleicheDatenAnDenGrenzen)
{
    TTier t = Rind();
    t.gekauft = Geboren;
    t.verkauft = Heute;
    EXPECT_FALSE(TierPruefen(t, false, false, Heute));
    t.gebdat = Heute;
    t.gekauft = Heute;
    EXPECT_FALSE(TierPruefen(t, false, false, Heute));
    t = Rind();
    t.rindern = Geboren.addDays(1);
    EXPECT_FALSE(TierPruefen(t, false, false, Heute));
}

TEST(StammdatenLogik, StatuslistenNachGeschlechtUndGeschichte)
{
    auto buchstaben = [](const TListe& l) {
        QString s;
        for (const auto& e : l)
            s += e.second;
        return s;
    };
    struct Fall {
        const char* geschlecht;
        bool kalbungen;
        bool besamungen;
        const char* arten;
        const char* status;
    };
    const Fall faelle[] = {
        {"W", false, false, "NP", "JDUAM"},
        {"W", true, false, "NPM", "LDUAM"},
        {"W", false, true, "NP", "BTNUAM"},
        {"W", true, true, "NPM", "BTNRUAM"},
        {"M", false, false, "NP", "JZOM"},
    };
    for (const Fall& f : faelle) {
        const TStatuslisten l = StatuslistenAufbauen(f.geschlecht, f.kalbungen, f.besamungen);
        EXPECT_EQ(buchstaben(l.arten), f.arten) << f.status;
        EXPECT_EQ(buchstaben(l.status), f.status);
    }
    EXPECT_EQ(StatuslistenAufbauen("W", true, true).status[3].first, "trocken");
}

TEST(StammdatenLogik, TrockenInDerZukunftWirdHeute)
{
    TTier t = Rind();
    t.status = "R";
    t.trocken = Heute.addDays(3);
    EXPECT_TRUE(TrockenAnpassen(t, Heute));
    EXPECT_EQ(t.trocken, Heute);
    t.status = "T";
    t.trocken = Heute.addDays(3);
    EXPECT_FALSE(TrockenAnpassen(t, Heute));
    EXPECT_EQ(t.trocken, Heute.addDays(3));
}

TEST(StammdatenLogik, EinZeitraum)
{
    const QDate von(2025, 1, 1);
    EXPECT_FALSE(BetriebsstaettePruefen(von, von, Heute));
    EXPECT_FALSE(BetriebsstaettePruefen(von, {}, Heute));
    EXPECT_EQ(BetriebsstaettePruefen({}, {}, Heute)->feld, TFeld::Von);
    EXPECT_EQ(BetriebsstaettePruefen(Heute.addDays(1), {}, Heute)->nr, 2);
    EXPECT_EQ(BetriebsstaettePruefen(von, Heute.addDays(1), Heute)->nr, 3);
    const auto f = BetriebsstaettePruefen(von, von.addDays(-1), Heute);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->text, "Das Bis-Datum darf nicht vor dem Von-Datum sein.");
    EXPECT_EQ(f->feld, TFeld::Bis);
}

TEST(StammdatenLogik, ZeitraumFolge)
{
    const QDate m31(2024, 3, 31), a1(2024, 4, 1), a2(2024, 4, 2);
    struct Fall {
        QList<TZeitraum> zeitraeume;
        QDate gekauft, verkauft;
        int id;  // 0: passes
        const char* textAnfang;
    };
    const Fall faelle[] = {
        {{{1, Geboren, m31}, {2, m31, {}}}, {}, {}, 0, ""},
        {{{1, Geboren, m31}, {2, a1, {}}}, {}, {}, 2,
         "Das Zeitraum-Ende muß mit dem folgenden Beginn übereinstimmen."},
        {{{1, Geboren, m31}, {2, a2, {}}}, {}, {}, 2, "Das Zeitraum-Ende muß"},
        {{{1, Geboren, {}}, {2, a1, {}}}, {}, {}, 2, "Das Zeitraum-Ende darf nicht leer sein."},
        {{{1, Geboren, m31}, {2, m31, {}}}, a1, {}, 1, "Die Zeiträume stimmen nicht mit dem \"Gekauft\""},
        {{{1, Geboren, m31}, {2, m31, {}}}, {}, QDate(2024, 3, 30), 2,
         "Die Zeiträume stimmen nicht mit dem \"Verkauft\"-Datum überein.\n\nDas \"Verkauft\"-Datum "
         "lautet: 30.03.2024"},
        {{{1, Geboren.addDays(-10), Geboren.addDays(-1)}, {2, Geboren.addDays(-1), {}}}, {}, {}, 1,
         "Die Zeiträume stimmen nicht mit dem Geburtsdatum"},
    };
    for (const Fall& f : faelle) {
        const auto fehler = BetriebsstaettenPruefen(f.zeitraeume, Geboren, f.gekauft, f.verkauft);
        if (f.id == 0) {
            EXPECT_FALSE(fehler) << fehler->text.toStdString();
            continue;
        }
        ASSERT_TRUE(fehler) << f.textAnfang;
        EXPECT_EQ(fehler->id, f.id) << f.textAnfang;
        EXPECT_TRUE(fehler->text.startsWith(QString::fromUtf8(f.textAnfang)))
            << fehler->text.toStdString();
    }
}

TEST(StammdatenLogik, MeldungenNurBeiNeuemOderGeaendertemDatum)
{
    TTier t = Rind();
    t.gekauft = QDate(2025, 2, 1);
    struct Fall {
        bool neu;
        QDate gekauft, verkauft, altGekauft, altVerkauft;
        bool gelesen, auto_, zugang, abgang;
    };
    const QDate k(2025, 2, 1), v(2025, 5, 1);
    const Fall faelle[] = {
        {true, k, v, {}, {}, true, true, true, true},
        {true, {}, {}, {}, {}, true, true, false, false},
        {false, k, {}, {}, {}, true, true, true, false},
        {false, k, v, k, {}, true, true, false, true},
        {false, k, v, k, v, true, true, false, false},
        {false, k, {}, QDate(2025, 1, 1), {}, true, true, true, false},
        {false, k, v, {}, {}, false, true, false, false},
        {true, k, v, {}, {}, true, false, false, false},
        {false, {}, {}, k, v, true, true, false, false},
    };
    for (const Fall& f : faelle) {
        TTier tier = Rind();
        tier.gekauft = f.gekauft;
        tier.verkauft = f.verkauft;
        const TMeldungen m =
            MeldungenBestimmen(f.neu, tier, f.altGekauft, f.altVerkauft, f.gelesen, f.auto_);
        EXPECT_EQ(m.zugang, f.zugang) << &f - faelle;
        EXPECT_EQ(m.abgang, f.abgang) << &f - faelle;
    }
}

}  // namespace
