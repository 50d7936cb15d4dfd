#include <StammdatenLogik.h>

#include <gtest/gtest.h>

#include <QLocale>

#include <array>
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
        {1, [](TTier& t) { t.nummer = " "; }, false, false, TFeld::Nummer,
         "Sie müssen eine Nummer"},
        {2, [](TTier& t) { t.gebdat = {}; }, false, false, TFeld::Gebdat,
         "Sie müssen ein Geburtsdatum"},
        {3, [](TTier& t) { t.gebdat = Heute.addDays(1); }, false, false, TFeld::Gebdat,
         "Das Geburtsdatum darf nicht in der Zukunft"},
        {4, [](TTier& t) { t.gekauft = Heute.addDays(1); }, false, false, TFeld::Gekauft,
         "Das Gekauft-Datum darf nicht in der Zukunft"},
        {5, [](TTier& t) { t.verkauft = Heute.addDays(1); }, false, false, TFeld::Verkauft,
         "Das Verkauft-Datum darf nicht in der Zukunft"},
        {6,
         [](TTier& t) {
             t.geschlecht = "M";
             t.status = "M";
         },
         true, false, TFeld::Maennlich, "Das Tier kann nicht männlich sein,\nda Besamungen"},
        {7,
         [](TTier& t) {
             t.geschlecht = "M";
             t.statusExt = "M";
         },
         false, false, TFeld::Art, "Die Art \"Mutterkuh\" kann nicht für\nmännliche"},
        {8, [](TTier& t) { t.gekauft = Geboren.addDays(-1); }, false, false, TFeld::Gekauft,
         "Das Gekauft-Datum darf nicht vor dem Geburtsdatum"},
        {9, [](TTier& t) { t.verkauft = Geboren.addDays(-1); }, false, false, TFeld::Verkauft,
         "Das Verkauft-Datum darf nicht vor dem Geburtsdatum"},
        {10,
         [](TTier& t) {
             t.gekauft = QDate(2025, 1, 2);
             t.verkauft = QDate(2025, 1, 1);
         },
         false, false, TFeld::Verkauft, "Das Verkauft-Datum darf nicht vor dem Gekauft-Datum"},
        {11, [](TTier& t) { t.rindern = Geboren; }, false, false, TFeld::Rindern,
         "Das Datum des nächsten Rinderns"},
        {12,
         [](TTier& t) {
             t.status = "T";
             t.trocken = Geboren;
         },
         true, false, TFeld::Trocken, "Das Trockenstelldatum"},
        {13,
         [](TTier& t) {
             t.geschlecht = "M";
             t.status = "D";
         },
         false, false, TFeld::Status, "Der Status ist nicht möglich, da das Tier männlich"},
        {14, [](TTier& t) { t.status = "Z"; }, false, false, TFeld::Status,
         "Der Status ist nicht möglich, da das Tier weiblich"},
        {15, [](TTier&) {}, false, true, TFeld::Status, "Der Status \"Jungrind\""},
        {16, [](TTier& t) { t.status = "L"; }, false, false, TFeld::Status, "Der Status \"leer\""},
        {17, [](TTier& t) { t.status = "D"; }, true, false, TFeld::Status,
         "Der Status \"deckfähig\""},
        {18, [](TTier& t) { t.status = "B"; }, false, false, TFeld::Status,
         "Der Status \"besamt\""},
        {19, [](TTier& t) { t.status = "T"; }, false, false, TFeld::Status,
         "Der Status \"trächtig\""},
        {20, [](TTier& t) { t.status = "R"; }, false, true, TFeld::Status,
         "Der Status \"trocken\""},
        {21, [](TTier& t) { t.status = "N"; }, false, false, TFeld::Status,
         "Der Status \"nicht trächtig\""},
        {22,
         [](TTier& t) {
             t.status = "U";
             t.statusExt = "M";
         },
         false, false, TFeld::Art, "Die Art \"Mutterkuh\" macht keinen Sinn"},
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
        {"W", false, false, "NP", "JDUAM"}, {"W", true, false, "NPM", "LDUAM"},
        {"W", false, true, "NP", "BTNUAM"}, {"W", true, true, "NPM", "BTNRUAM"},
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
        {{{1, Geboren, m31}, {2, a1, {}}},
         {},
         {},
         2,
         "Das Zeitraum-Ende muß mit dem folgenden Beginn übereinstimmen."},
        {{{1, Geboren, m31}, {2, a2, {}}}, {}, {}, 2, "Das Zeitraum-Ende muß"},
        {{{1, Geboren, {}}, {2, a1, {}}}, {}, {}, 2, "Das Zeitraum-Ende darf nicht leer sein."},
        {{{1, Geboren, m31}, {2, m31, {}}},
         a1,
         {},
         1,
         "Die Zeiträume stimmen nicht mit dem \"Gekauft\""},
        {{{1, Geboren, m31}, {2, m31, {}}},
         {},
         QDate(2024, 3, 30),
         2,
         "Die Zeiträume stimmen nicht mit dem \"Verkauft\"-Datum überein.\n\nDas "
         "\"Verkauft\"-Datum "
         "lautet: 30.03.2024"},
        {{{1, Geboren.addDays(-10), Geboren.addDays(-1)}, {2, Geboren.addDays(-1), {}}},
         {},
         {},
         1,
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

TEST(StammdatenLogik, BemerkungListePasstImmerInIhrenRaum)
{
    const QString lang250(250, QLatin1Char('a'));
    const QString lang300(300, QLatin1Char('b'));
    struct Fall {
        QString bemerkung;
        QString erwartet;
    };
    const Fall faelle[] = {
        {"", ""},
        {"kurz", "kurz"},
        {QString(200, QLatin1Char('c')), QString(200, QLatin1Char('c'))},
        {QString(201, QLatin1Char('c')), QString(190, QLatin1Char('c')) + " ..."},
        {lang300, lang300.left(190) + " ..."},
        {lang250 + "\r\nzweite Zeile", lang250.left(190) + " ..."},
        {"erste\nzweite", "erste ..."},
        {"erste\rzweite", "erste ..."},
        {"\nnur zweite", " ..."},
    };
    for (const Fall& f : faelle) {
        const QString l = BemerkungListe(f.bemerkung);
        EXPECT_EQ(l, f.erwartet) << f.bemerkung.left(20).toStdString();
        EXPECT_LE(l.size(), 200);
    }
}

TEST(StammdatenLogik, SeitenknoepfeUndSchalterNachTierUndSeite)
{
    struct Fall {
        const char* name;
        TFreigabeEingang e;
        std::array<bool, SeitenAnzahl> seiten;
        bool besamungenKnopf, kalbungenKnopf, ubernehmen, rindern, kalbungOhneBesamung;
    };
    auto ein = [](bool neu, const char* g, const char* st, bool bes, bool kalb, int seite) {
        TFreigabeEingang e;
        e.neu = neu;
        e.geschlecht = QString::fromLatin1(g);
        e.status = QString::fromLatin1(st);
        e.hatBesamungen = e.besamungenVorhanden = bes;
        e.hatKalbungen = e.kalbungenVorhanden = kalb;
        e.seite = seite;
        return e;
    };
    const Fall faelle[] = {
        {"Färse ohne Kalbung",
         ein(false, "W", "D", false, false, 0),
         {true, true, true, false, true, false, false, false},
         true,
         false,
         false,
         true,
         true},
        {"Kuh tragend",
         ein(false, "W", "T", true, true, 0),
         {true, true, true, true, true, true, true, true},
         false,
         true,
         false,
         false,
         false},
        {"Kuh trocken auf Seite 1",
         ein(false, "W", "R", true, true, 1),
         {true, true, true, true, true, true, true, true},
         false,
         false,
         false,
         false,
         false},
        {"Kuh auf der Laktationsgrafik",
         ein(false, "W", "B", true, true, 5),
         {true, true, true, true, true, true, true, true},
         false,
         false,
         true,
         true,
         false},
        {"neues Tier weiblich",
         ein(true, "W", "J", false, false, 0),
         {true, false, false, false, false, false, false, false},
         true,
         false,
         false,
         false,
         true},
        {"neues Tier mit Besamung",
         ein(true, "W", "B", true, false, 0),
         {true, false, false, false, false, false, false, false},
         true,
         true,
         false,
         true,
         false},
        {"neues Tier männlich",
         ein(true, "M", "J", false, false, 0),
         {true, false, false, false, false, false, false, false},
         false,
         false,
         false,
         false,
         false},
        {"Bulle",
         ein(false, "M", "Z", false, false, 0),
         {true, true, true, false, true, false, false, false},
         false,
         false,
         false,
         false,
         false},
        {"leere Kuh",
         ein(false, "W", "L", false, true, 7),
         {true, true, true, true, true, true, true, true},
         false,
         false,
         true,
         true,
         true},
    };
    for (const Fall& f : faelle) {
        const TFreigabe r = SchalterFreigeben(f.e);
        for (int s = 0; s < SeitenAnzahl; ++s)
            EXPECT_EQ(r.seiten[s], f.seiten[s]) << f.name << " Seite " << s;
        EXPECT_EQ(r.besamungenKnopf, f.besamungenKnopf) << f.name;
        EXPECT_EQ(r.kalbungenKnopf, f.kalbungenKnopf) << f.name;
        EXPECT_EQ(r.ubernehmen, f.ubernehmen) << f.name;
        EXPECT_EQ(r.rindern, f.rindern) << f.name;
        EXPECT_EQ(r.kalbungOhneBesamung, f.kalbungOhneBesamung) << f.name;
        EXPECT_EQ(r.kalbungenMenue, f.e.geschlecht == "W") << f.name;
        EXPECT_EQ(r.besamungenMenue, f.e.hatBesamungen) << f.name;
    }
}

TEST(StammdatenLogik, TrockenNurFuerTrockeneOderTragendeKuh)
{
    struct Fall {
        const char* status;
        bool kalbungen, trocken, sollKalben;
    };
    const Fall faelle[] = {
        {"R", true, true, true},   {"T", true, true, true},    {"T", false, false, true},
        {"B", true, false, false}, {"J", false, false, false}, {"", true, false, false},
    };
    for (const Fall& f : faelle) {
        const TTrockenFreigabe t = TrockenFreigeben(f.status, f.kalbungen);
        EXPECT_EQ(t.trocken, f.trocken) << f.status << f.kalbungen;
        EXPECT_EQ(t.sollKalben, f.sollKalben) << f.status << f.kalbungen;
    }
}

TEST(StammdatenLogik, TierBezeichnungUndTitel)
{
    EXPECT_EQ(TierBezeichnung(false, "007", "Berta", "DE 01"), "007 - Berta - DE 01");
    EXPECT_EQ(TierBezeichnung(false, "", "Berta", "DE 01"), "Berta - DE 01");
    EXPECT_EQ(TierBezeichnung(false, "007", " ", "DE 01"), "007 - DE 01");
    EXPECT_EQ(TierBezeichnung(true, "007", "Berta", "DE 01"), "");
    EXPECT_EQ(Titel("Berta - DE 01", sBetriebsstaetten), "Berta - DE 01 - Betriebsstätten");
    EXPECT_EQ(Titel("", sStammdaten), "Stammdaten");
    EXPECT_EQ(SeitenHilfe(sZwischenkalbezeit), 2730);
    EXPECT_EQ(SeitenHinweis(sBetriebsstaetten), "Betriebsstätten (Umsch - F2)");
}

TEST(StammdatenLogik, SchrittknopfZurueckNurObenLinks)
{
    // Button 56 x 40, glyph 32 x 32: back while x < (56 - 16) / 2 + 16 = 36 and y < 4 + 16 = 20.
    const QSize knopf(56, 40), glyphe(32, 32);
    struct Fall {
        QPoint pos;
        bool zurueck;
    };
    const Fall faelle[] = {{{0, 0}, true},    {{35, 19}, true},  {{36, 19}, false},
                           {{35, 20}, false}, {{55, 39}, false}, {{10, 30}, false}};
    for (const Fall& f : faelle)
        EXPECT_EQ(SchnellZurueck(knopf, glyphe, f.pos), f.zurueck) << f.pos.x() << "," << f.pos.y();
}

TEST(StammdatenLogik, TastenDerKarte)
{
    struct Fall {
        int taste;
        Qt::KeyboardModifiers mod;
        int seite;
        TTaste::TAktion aktion;
        int zielSeite;
    };
    const Fall faelle[] = {
        {Qt::Key_PageUp, Qt::NoModifier, 0, TTaste::Zurueck, -1},
        {Qt::Key_PageDown, Qt::KeypadModifier, 0, TTaste::Weiter, -1},
        {Qt::Key_F2, Qt::NoModifier, 3, TTaste::Seite, 0},
        {Qt::Key_F2, Qt::ShiftModifier, 0, TTaste::Seite, 1},
        {Qt::Key_F2, Qt::ControlModifier, 0, TTaste::Keine, -1},
        {Qt::Key_F3, Qt::NoModifier, 0, TTaste::Besamung, -1},
        {Qt::Key_F4, Qt::NoModifier, 0, TTaste::Kalbung, -1},
        {Qt::Key_F5, Qt::NoModifier, 0, TTaste::Seite, 2},
        {Qt::Key_F6, Qt::NoModifier, 0, TTaste::Seite, 3},
        {Qt::Key_F7, Qt::NoModifier, 0, TTaste::Seite, 4},
        {Qt::Key_F8, Qt::NoModifier, 0, TTaste::Seite, 5},
        {Qt::Key_F9, Qt::NoModifier, 0, TTaste::Seite, 6},
        {Qt::Key_F10, Qt::NoModifier, 0, TTaste::Keine, -1},
        {Qt::Key_F11, Qt::NoModifier, 0, TTaste::Seite, 7},
        {Qt::Key_K, Qt::ControlModifier, 5, TTaste::Kurven, -1},
        {Qt::Key_L, Qt::ControlModifier, 5, TTaste::Leistungen, -1},
        {Qt::Key_K, Qt::ControlModifier, 0, TTaste::Keine, -1},
        {Qt::Key_PageUp, Qt::ShiftModifier, 0, TTaste::Keine, -1},
        {Qt::Key_A, Qt::NoModifier, 0, TTaste::Keine, -1},
    };
    for (const Fall& f : faelle) {
        const TTaste t = TasteAuswerten(f.taste, f.mod, f.seite);
        EXPECT_EQ(t.aktion, f.aktion) << f.taste;
        if (f.aktion == TTaste::Seite) {
            EXPECT_EQ(t.seite, f.zielSeite) << f.taste;
        }
    }
}

TEST(StammdatenLogik, NaechstesRindernRuecktNachGanzenZyklen)
{
    struct Fall {
        QDate rindern;
        int zyklus;
        QDate erwartet;
    };
    const Fall faelle[] = {
        {Heute.addDays(-10), 21, Heute.addDays(11)},
        {Heute, 21, Heute},
        {Heute.addDays(-21), 21, Heute},
        {Heute.addDays(-22), 21, Heute.addDays(20)},
        {Heute.addDays(-100), 21, Heute.addDays(5)},
        {Heute.addDays(3), 21, Heute.addDays(3)},
        {Heute.addDays(-10), 0, Heute.addDays(-10)},
        {Heute.addDays(-10), -5, Heute.addDays(-10)},
        {{}, 21, {}},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(NaechstesRindern(f.rindern, Heute, f.zyklus), f.erwartet)
            << f.rindern.toString().toStdString() << " " << f.zyklus;
}

TEST(StammdatenLogik, MLPErsatztexteUndHarnstoff)
{
    EXPECT_EQ(MLPErsatztext("2T"), "--   --   trocken   --   --");
    EXPECT_EQ(MLPErsatztext("2A"), "--   --   ausgefallen  --   --");
    EXPECT_EQ(MLPErsatztext("2K"), "--   --   kalb   --   --");
    EXPECT_EQ(MLPErsatztext("1"), "");
    EXPECT_EQ(MLPErsatztext(""), "");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(HarnstoffText(253, 10), "25,3");
    EXPECT_EQ(HarnstoffText(253, 1), "253");
}

TEST(StammdatenLogik, ZeitraumSchluesselAendertSichMitZeitraumUndDaten)
{
    const QList<TZeitraum> z{{1, QDate(2024, 1, 1), QDate(2024, 3, 31)},
                             {2, QDate(2024, 4, 2), {}}};
    const QString k = ZeitraumSchluessel(z, Geboren, {}, {});
    EXPECT_EQ(k, ZeitraumSchluessel(z, Geboren, {}, {}));
    QList<TZeitraum> anders = z;
    anders[1].von = QDate(2024, 4, 1);
    EXPECT_NE(k, ZeitraumSchluessel(anders, Geboren, {}, {}));
    EXPECT_NE(k, ZeitraumSchluessel(z, Geboren, QDate(2024, 2, 1), {}));
}

}  // namespace
