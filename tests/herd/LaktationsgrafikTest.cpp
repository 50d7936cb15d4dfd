#include "../preview/DruckTestHilfe.h"
#include "HerdeTest.h"
#include "LaktationsgrafikSeite.h"
#include "LaktationsgrafikTier.h"
#include <Bildschirmfoto.h>
#include "TierStatistikTestHilfe.h"

#include <DBIndexImage.h>
#include <Haupt.h>
#include <ZRcxGridDBTableView.h>

#include <AMCbRb.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEnterEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr TColor Gruen = 0x008000;
constexpr TColor Gelb = 0x00FFFF;
constexpr TColor Weiss = 0xFFFFFF;
constexpr TColor Blau = 0xFF0000;
constexpr TColor Dunkelrot = 0x000080;
constexpr TColor Lila = 0x800080;

// Berta: three lactations. The second (calved 10.04.2022, dried off 20.03.2023) has test days
// on days 5 to 310, one of them missed (day 130) and one without fat (day 220); two
// inseminations and a treatment; its 305-day yield is 9500 kg. The third is open, with its dry-off
// ahead of today (15.01.2024) and one insemination and treatment of its own.
class Laktationsgrafik : public HerdeTest {
protected:
    const QDate k1{2021, 3, 1};
    const QDate k2{2022, 4, 10};
    const QDate k3{2023, 5, 20};

    void SetUp() override
    {
        HerdeTest::SetUp();
        ProgDatum::HeuteSetzen(QDate(2024, 1, 15));
        Kalbung(berta, k1);
        Kalbung(berta, k2);
        Kalbung(berta, k3, QDate(2023, 3, 20));
        Ausfuehren({QStringLiteral("UPDATE T_STAMMDATEN SET TROCKEN = '2024-04-01' WHERE ID = %1")
                        .arg(berta)});

        Probetag(berta, k1.addDays(20), "1N", 28, 4.3, 3.2, 120, 220, 4.9, 12.0);
        Probetag(berta, k1.addDays(300), "1N", 20, 4.2, 3.3, 140, 230, 4.8, 11.9, 300, 8000, 4.2,
                 3.3);

        const double milch[] = {30, 38, 36, 34, 0, 31, 29, 27, 25, 22, 18};
        const int tage[] = {5, 40, 70, 100, 130, 160, 190, 220, 250, 280, 310};
        for (int i = 0; i < 11; ++i) {
            const QDate d = k2.addDays(tage[i]);
            if (tage[i] == 130)
                Probetag(berta, d, "2A");
            else if (tage[i] == 280)
                Probetag(berta, d, "1N", milch[i], 4.0, 3.4, 150, 250, 4.8, 11.5, 280, 9500, 4.1,
                         3.4);
            else
                Probetag(berta, d, "1N", milch[i], tage[i] == 220 ? 0 : 4.0, 3.4, 150, 250, 4.8,
                         11.5, tage[i], tage[i] == 310 ? 10400 : 0);
        }
        Probetag(berta, k3.addDays(10), "1N", 35, 3.9, 3.2, 90, 200, 4.9, 12.0);
        Probetag(berta, k3.addDays(45), "1N", 39, 4.0, 3.3, 100, 210, 4.9, 11.8, 45, 1500, 4.0,
                 3.3);

        Ausfuehren({Besamung(berta, QDate(2021, 7, 1), "Anton", "HB001"),
                    Besamung(berta, QDate(2022, 6, 15), "Bruno", "HB123"),
                    Besamung(berta, QDate(2022, 7, 6), "Carlo", "HB456"),
                    Besamung(berta, QDate(2023, 8, 1), "Dino", "HB789")});
        Behandlung(berta, QDate(2022, 5, 1), "Mastitis", "Euter", "Penicillin", 5, 10);
        Behandlung(berta, QDate(2023, 6, 1), "Lahmheit", "Klauen", "Mittel X", 0, 3);
        tr.Start();
    }

    void Kalbung(int tier, const QDate& datum, const QDate& trocken = {}, int nr = 0)
    {
        Ausfuehren({QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, TROCKEN, NR) "
                                   "VALUES (%1, '%2', 'W', %3, %4)")
                        .arg(tier)
                        .arg(datum.toString(Qt::ISODate))
                        .arg(trocken.isValid() ? "'" + trocken.toString(Qt::ISODate) + "'"
                                               : QStringLiteral("NULL"))
                        .arg(nr > 0 ? QString::number(nr) : QStringLiteral("NULL"))});
    }

    static QString Besamung(int tier, const QDate& d, const char* stier, const char* nummer)
    {
        return QStringLiteral(
                   "INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER, NUMMER) VALUES (%1, "
                   "'%2', '%3', '%4')")
            .arg(tier)
            .arg(d.toString(Qt::ISODate), QString::fromUtf8(stier), QString::fromUtf8(nummer));
    }

    // Values of 0 are stored as NULL.
    void Probetag(int tier, const QDate& d, const char* typ, double milch = 0, double fett = 0,
                  double eiweis = 0, int zellzahl = 0, int harnstoff = 0, double lactose = 0,
                  double tm = 0, int ltage = 0, int lmilch = 0, double lfett = 0,
                  double leiweis = 0)
    {
        db::Transaction t2(t.Db());
        t2.Start();
        db::Query pm(t2, "INSERT INTO T_PROBEMELKEN (DATUM) VALUES (:D) RETURNING ID");
        pm.Param("D").SetDate(d);
        pm.Execute();
        const int id = pm.Field(0).AsInteger();
        db::Query w(t2,
                    "INSERT INTO T_PROBEMELKEN_WERTE (TIER, PROBEMELKEN, TYP, MILCH, FETT, "
                    "EIWEIS, ZELLZAHL, HARNSTOFF, LACTOSE, TROCKENMASSE, LTAGE, LMILCH, LFETT, "
                    "LEIWEIS) VALUES (:TIER, :PM, :TYP, :MILCH, :FETT, :EIWEIS, :ZZ, :HS, :LAC, "
                    ":TM, :LTAGE, :LMILCH, :LFETT, :LEIWEIS)");
        const auto zahl = [&](const char* p, double v) {
            if (v == 0)
                w.Param(p).SetNull();
            else
                w.Param(p).SetDouble(v);
        };
        w.Param("TIER").SetInteger(tier);
        w.Param("PM").SetInteger(id);
        w.Param("TYP").SetString(QString::fromLatin1(typ));
        zahl("MILCH", milch);
        zahl("FETT", fett);
        zahl("EIWEIS", eiweis);
        zahl("ZZ", zellzahl);
        zahl("HS", harnstoff);
        zahl("LAC", lactose);
        zahl("TM", tm);
        zahl("LTAGE", ltage);
        zahl("LMILCH", lmilch);
        zahl("LFETT", lfett);
        zahl("LEIWEIS", leiweis);
        w.Execute();
        t2.Commit();
    }

    void Behandlung(int tier, const QDate& d, const char* grund, const char* kategorie,
                    const char* mittel, int wmilch, int wfleisch)
    {
        db::Transaction t2(t.Db());
        t2.Start();
        db::Query l(t2,
                    "INSERT INTO T_TIERARZTLEISTUNG (GRUND, KATEGORIE, ARZNEIMITTEL, WMILCH, "
                    "WFLEISCH) VALUES (:G, :K, :A, :WM, :WF) RETURNING ID");
        l.Param("G").SetString(QString::fromUtf8(grund));
        l.Param("K").SetString(QString::fromUtf8(kategorie));
        l.Param("A").SetString(QString::fromUtf8(mittel));
        l.Param("WM").SetInteger(wmilch);
        l.Param("WF").SetInteger(wfleisch);
        l.Execute();
        const int id = l.Field(0).AsInteger();
        db::Query g(t2, "INSERT INTO T_TIERARZTGRUPPE (TIER, LEISTUNG) VALUES (:T, :L)");
        g.Param("T").SetInteger(tier);
        g.Param("L").SetInteger(id);
        g.Execute();
        db::Query a(t2, "INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM) VALUES (:L, :D)");
        a.Param("L").SetInteger(id);
        a.Param("D").SetDate(d);
        a.Execute();
        t2.Commit();
    }

    void LeistungenOeffnen(int tier)
    {
        leistungen.Close();
        leistungen.SetSelectSQL("SELECT * FROM P_GET_MLP_TIER_LAKT_LEI(:TIER_ID)");
        leistungen.Param("TIER_ID").SetInteger(tier);
        leistungen.Open();
        leistungen.Last();
    }

    // A chart of the animal in the given mode on the recorder (print in tenths of a mm, inside
    // a print job that gives the pen its width).
    std::unique_ptr<TLaktationsgrafikTier> Zeichne(int tier, std::uint8_t modus, bool balken,
                                                   int laktation = 2, bool farbig = true,
                                                   std::shared_ptr<IMyCanvas> canvas = {})
    {
        if (canvas)
            leinwand.reset();
        else
            canvas = leinwand;
        LeistungenOeffnen(tier);
        std::unique_ptr<TLaktationsgrafikTier> g;
        if (modus == TTierStatistik::Bildschirm) {
            g = std::make_unique<TLaktationsgrafikTier>(&tr);
            g->AlsBildschirm(canvas);
            g->Leistungen = &leistungen;
            g->Faktor = 1;
            g->Breite = 1000;
            g->Hoehe = 600;
        } else if (modus == TTierStatistik::Miniatur) {
            g = TLaktationsgrafikTier::CreateMiniatur(canvas, &tr, &leistungen, "7 Berta");
            g->Breite = 250;
            g->Hoehe = 150;
        } else {
            g = TLaktationsgrafikTier::CreateDruck(&tr, &leistungen, "7 Berta", farbig);
            g->Canvas = canvas;
            g->Ursprung = QPoint(200, 200);
            g->Breite = 2570;
            g->Hoehe = 1700;
        }
        g->TierID = tier;
        g->Balken = balken;
        g->Laktation = laktation;
        if (modus == TTierStatistik::Druckmodus) {
            TStatistikDruck druck(*g, drucker, std::make_unique<AufzeichnendeAusgabe>());
            g->Zeichnen();
        } else {
            g->Zeichnen();
        }
        return g;
    }

    std::vector<QString> TexteBei(int x) const
    {
        std::vector<QString> s;
        for (const auto& t : leinwand->texte)
            if (t.x == x)
                s.push_back(t.s);
        return s;
    }
    template <class L>
    static int Anzahl(const L& liste, TColor stift, int breite = 0)
    {
        return int(std::count_if(liste.begin(), liste.end(), [&](const auto& f) {
            return f.stift == stift && (breite == 0 || f.stiftBreite == breite);
        }));
    }

    db::Transaction tr{t.Db()};
    db::DataSet leistungen{tr};
    FakeDrucker drucker;
    std::shared_ptr<AufzeichnendeLeinwand> leinwand = std::make_shared<AufzeichnendeLeinwand>();
};

using S = std::vector<QString>;

TEST_F(Laktationsgrafik, CurvesOfOneLactationInPiecesWithTheirSymbols)
{
    auto g = Zeichne(berta, TTierStatistik::Bildschirm, false);
    EXPECT_EQ(g->Kalbung, k2);
    EXPECT_EQ(g->NaechsteKalbung, k3);
    EXPECT_EQ(g->Trocken, QDate(2023, 3, 20));
    EXPECT_EQ(g->LaktationsLaenge(), 365) << "345 days are shown as a year";
    EXPECT_EQ(QRect(QPoint(g->Links, g->Oben), QPoint(g->Rechts, g->Unten)),
              QRect(QPoint(30, 10), QPoint(971, 576)));

    // Milk on the right (0..60), the other measures on the left (0..12), a day number every
    // four weeks.
    EXPECT_EQ(TexteBei(g->Rechts + 5), (S{"0", "10", "20", "30", "40", "50", "60"}));
    EXPECT_EQ(TexteBei(g->Links - 5),
              (S{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}));
    S tage;
    for (int i = 28; i <= 364; i += 28)
        tage.push_back(QString::number(i));
    std::vector<QString> unten;
    for (const auto& t : leinwand->texte)
        if (t.y == g->Unten + 9)
            unten.push_back(t.s);
    EXPECT_EQ(unten, tage);

    // The missed day 130 splits every curve: 5 points (the calving, days 5 to 100) and 6 points,
    // that is 4 + 5 spline segments. Fat also stops at day 220, which has none.
    for (TColor farbe : {Gruen, Weiss, Blau, Dunkelrot, Lila})
        EXPECT_EQ(Anzahl(leinwand->polylinien, farbe, 2), 9) << farbe;
    EXPECT_EQ(Anzahl(leinwand->polylinien, Gelb, 2), 7);
    EXPECT_EQ(Anzahl(leinwand->polylinien, 0, 2), 9) << "cell count";
    for (const auto& p : leinwand->polylinien)
        EXPECT_EQ(p.punkte.size(), 11u);
    // The milk curve starts at the calving with the value of day 5 (30 kg).
    const auto milch = std::find_if(leinwand->polylinien.begin(), leinwand->polylinien.end(),
                                    [](const auto& p) { return p.stift == Gruen; });
    EXPECT_EQ(milch->punkte.front(), QPoint(30, int(576 - 30.0 / 60 * 566)));
    EXPECT_EQ(milch->punkte.back().x(), int(5.0 / 365 * 940 + 30));

    // A symbol on every test-day point; the added calving point on the left edge has none.
    EXPECT_EQ(Anzahl(leinwand->ellipsen, Gruen), 10);
    EXPECT_EQ(leinwand->ellipsen.front().punkte[0],
              QPoint(int(5.0 / 365 * 940 + 30) - 4, int(576 - 30.0 / 60 * 566) - 4));
    int rauten = 0, quadrate = 0, volleQuadrate = 0, volleRauten = 0;
    for (const auto& p : leinwand->polygone) {
        rauten += p.stift == Gelb && p.leer;
        quadrate += p.stift == Weiss && p.leer;
        volleQuadrate += p.stift == Dunkelrot && !p.leer && p.brush == Dunkelrot;
        volleRauten += p.stift == Lila && !p.leer && p.brush == Lila;
    }
    EXPECT_EQ(rauten, 9);
    EXPECT_EQ(quadrate, 10);
    EXPECT_EQ(volleQuadrate, 10);
    EXPECT_EQ(volleRauten, 10);
    EXPECT_EQ(Anzahl(leinwand->linienStifte, 0, 2), 20) << "plus signs of the cell count";
    EXPECT_EQ(Anzahl(leinwand->linienStifte, Blau, 2), 20) << "crosses of urea";

    // Every curve stays between the plot's top and bottom.
    for (const auto& p : leinwand->polylinien)
        for (const QPoint& q : p.punkte) {
            EXPECT_GE(q.y(), g->Oben);
            EXPECT_LE(q.y(), g->Unten);
        }
    EXPECT_EQ(leinwand->Finde("Milch"), nullptr) << "no legend on screen";
}

TEST_F(Laktationsgrafik, AFirstLactationLongerThanAYearAndOneWithoutCalving)
{
    auto g = Zeichne(berta, TTierStatistik::Bildschirm, false, 1);
    EXPECT_EQ(g->LaktationsLaenge(), 406) << "up to the next calving";
    EXPECT_NE(leinwand->Finde("392"), nullptr);
    EXPECT_EQ(leinwand->Finde("420"), nullptr);
    EXPECT_EQ(Anzahl(leinwand->polylinien, Gruen, 2), 2) << "from the calving over days 20, 300";
    EXPECT_EQ(Anzahl(leinwand->ellipsen, Gruen), 2);

    leinwand = std::make_shared<AufzeichnendeLeinwand>();
    g = Zeichne(berta, TTierStatistik::Bildschirm, false, 9);
    EXPECT_FALSE(g->Kalbung.isValid());
    EXPECT_TRUE(leinwand->polylinien.empty());
    EXPECT_TRUE(leinwand->ellipsen.empty());
    EXPECT_TRUE(g->Ereignisse.empty());
    EXPECT_EQ(TexteBei(g->Rechts + 5).size(), 7u) << "the axes are there";
    EXPECT_NE(leinwand->Finde("364"), nullptr);
}

TEST_F(Laktationsgrafik, EventMarksOfTheLactationWithTheirHints)
{
    auto g = Zeichne(berta, TTierStatistik::Bildschirm, false);
    ASSERT_EQ(g->Ereignisse.size(), 4u);
    const auto& e = g->Ereignisse;
    EXPECT_EQ(e[0].art, TLaktationsgrafikTier::Trockenstellung);
    EXPECT_EQ(e[0].hinweis, " trockengestellt: 20.03.2023 ");
    EXPECT_EQ(e[0].x, int(g->X(QDate(2023, 3, 20))));
    EXPECT_EQ(e[1].art, TLaktationsgrafikTier::Besamung);
    EXPECT_EQ(e[1].hinweis,
              " Besamung:\r***************\r Datum:   15.06.2022 \r Stier:      Bruno \r HB-Nr:   "
              "HB123 | Besamung:  Datum: 15.06.2022  Stier: Bruno  HB-Nr: HB123");
    EXPECT_EQ(e[2].datum, QDate(2022, 7, 6));
    EXPECT_EQ(e[3].art, TLaktationsgrafikTier::Behandlung);
    EXPECT_EQ(e[3].hinweis,
              QStringLiteral(
                  " Tierärztliche Behandlung: \r********************************\r Grund:       "
                  "     Mastitis \r Kategorie:       Euter \r Arzneimittel:    Penicillin \r "
                  "Wartezeit M:   5 \r Wartezeit F:    10 \r Datum:            01.05.2022 | "
                  "Tierärztliche Behandlung:   Grund: Mastitis  Kategorie: Euter  Arzneimittel: "
                  "Penicillin  Wartezeit M: 5  Wartezeit F: 10  Datum: 01.05.2022"));
    EXPECT_EQ(KurzHinweis(e[1].hinweis),
              " Besamung:\r***************\r Datum:   15.06.2022 \r Stier:      Bruno \r HB-Nr:   "
              "HB123 ");
    EXPECT_EQ(LangHinweis(e[0].hinweis), e[0].hinweis);

    // The open lactation: dry-off still ahead, the treatment without a waiting time for milk.
    g = Zeichne(berta, TTierStatistik::Bildschirm, false, 3);
    ASSERT_EQ(g->Ereignisse.size(), 3u);
    EXPECT_EQ(g->Ereignisse[0].hinweis, " trockenstellen: 01.04.2024 ");
    EXPECT_TRUE(g->Ereignisse[1].hinweis.contains("Stier:      Dino "));
    EXPECT_TRUE(g->Ereignisse[2].hinweis.contains("Wartezeit M: 0  Wartezeit F: 3"));

    // Bar mode, thumbnails and print have no marks.
    for (auto [modus, balken] : {std::pair{TTierStatistik::Bildschirm, true},
                                 {TTierStatistik::Miniatur, false},
                                 {TTierStatistik::Druckmodus, false}})
        EXPECT_TRUE(Zeichne(berta, std::uint8_t(modus), balken)->Ereignisse.empty()) << int(modus);
}

TEST_F(Laktationsgrafik, BarsOfThe305DayPerformances)
{
    auto g = Zeichne(berta, TTierStatistik::Bildschirm, true);
    EXPECT_EQ(g->MaxMilch, 9500);
    EXPECT_EQ(g->Einheit, 10);
    EXPECT_EQ(TexteBei(g->Links - 5), (S{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_TRUE(TexteBei(g->Rechts + 5).empty()) << "no milk axis";
    // Three lactations in five slots of 188 pixels, each label centred under its slot.
    for (int lak = 1; lak <= 3; ++lak) {
        const auto* t = leinwand->Finde(QStringLiteral("%1. Lak").arg(lak));
        ASSERT_NE(t, nullptr) << lak;
        EXPECT_EQ(t->x, 30 + 188 * (lak - 1) + 94);
    }
    EXPECT_EQ(leinwand->Finde("4. Lak"), nullptr);
    EXPECT_EQ(leinwand->Finde("28"), nullptr) << "no week scale";

    // The plot, then milk, fat and protein of each lactation: 50 pixels wide, 2 apart.
    ASSERT_EQ(leinwand->rechtecke.size(), 10u);
    const auto saeule = [&](int i) {
        return QRect(leinwand->rechtecke[std::size_t(i)].punkte[0],
                     leinwand->rechtecke[std::size_t(i)].punkte[1]);
    };
    EXPECT_EQ(saeule(1), QRect(QPoint(49, int(576 - 0.8 * 566)), QPoint(100, 576)));
    EXPECT_EQ(leinwand->rechtecke[1].brush, Gruen);
    EXPECT_EQ(saeule(2).left(), 99);
    EXPECT_EQ(saeule(2).top(), int(576 - 336.0 / 1000 * 566)) << "8000 kg at 4.2 %";
    EXPECT_EQ(leinwand->rechtecke[2].brush, Gelb);
    EXPECT_EQ(saeule(3).top(), int(576 - 264.0 / 1000 * 566));
    EXPECT_EQ(saeule(4).left(), 49 + 188) << "second lactation";
    EXPECT_EQ(saeule(4).top(), int(576 - 0.95 * 566));

    // The fat percentage of the first lactation as a diamond over its column, outlined black
    // first.
    const int y = int(576 - 4.2 * 100 / 1000 * 566);
    std::vector<AufzeichnendeLeinwand::Figur> rauten;
    for (const auto& p : leinwand->polygone)
        if (p.punkte[0] == QPoint(99 + 25, y - 4))
            rauten.push_back(p);
    ASSERT_EQ(rauten.size(), 2u);
    EXPECT_EQ(rauten[0].stift, 0u);
    EXPECT_EQ(rauten[0].stiftBreite, 4);
    EXPECT_EQ(rauten[1].stift, Gelb);
}

TEST_F(Laktationsgrafik, AYieldOver10000KgWidensTheScale)
{
    tr.Commit();
    Ausfuehren({QStringLiteral("UPDATE T_PROBEMELKEN_WERTE SET LMILCH = 10001 WHERE TIER = %1 "
                               "AND LMILCH = 9500")
                    .arg(berta)});
    tr.Start();
    auto g = Zeichne(berta, TTierStatistik::Bildschirm, true);
    EXPECT_EQ(g->Einheit, 15);
    EXPECT_EQ(g->Skala[0], 15000);
    EXPECT_EQ(TexteBei(g->Links - 5).size(), 16u);
    EXPECT_EQ(TexteBei(g->Links - 5).back(), "15");
}

// A bought cow whose calvings here are its third and fourth.
TEST_F(Laktationsgrafik, LactationsNumberedFromThreeStandInTheirOwnSlots)
{
    tr.Commit();
    Kalbung(anna, QDate(2022, 2, 1), {}, 3);
    Kalbung(anna, QDate(2023, 3, 1), {}, 4);
    Probetag(anna, QDate(2022, 2, 20), "1N", 33, 4.1, 3.5, 0, 0, 0, 0, 19, 600, 4.1, 3.5);
    Probetag(anna, QDate(2022, 11, 20), "1N", 20, 4.3, 3.6, 0, 0, 0, 0, 292, 8200, 4.3, 3.6);
    Probetag(anna, QDate(2023, 3, 20), "1N", 36, 4.0, 3.4, 0, 0, 0, 0, 19, 700, 4.0, 3.4);
    tr.Start();

    auto g = Zeichne(anna, TTierStatistik::Bildschirm, true);
    EXPECT_EQ(leinwand->Finde("1. Lak"), nullptr);
    const auto* t = leinwand->Finde("3. Lak");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->x, 30 + 188 * 2 + 94);
    ASSERT_NE(leinwand->Finde("4. Lak"), nullptr);
    for (const auto& r : leinwand->rechtecke)
        for (const QPoint& p : r.punkte) {
            EXPECT_GE(p.x(), g->Links);
            EXPECT_LE(p.x(), g->Rechts);
        }

    leinwand = std::make_shared<AufzeichnendeLeinwand>();
    g = Zeichne(anna, TTierStatistik::Bildschirm, false, 3);
    EXPECT_EQ(g->Kalbung, QDate(2022, 2, 1));
    EXPECT_EQ(Anzahl(leinwand->polylinien, Gruen, 2), 2) << "calving point and two test days";
}

TEST_F(Laktationsgrafik, SettersRedrawOnlyWhatTheModeShows)
{
    LeistungenOeffnen(berta);
    auto g = std::make_unique<TLaktationsgrafikTier>(&tr);
    g->AlsBildschirm(leinwand);
    g->Leistungen = &leistungen;
    g->Breite = 800;
    g->Hoehe = 500;
    g->TierID = berta;
    g->SetLaktation(2);
    EXPECT_EQ(leinwand->flaechen, 1) << "curve mode: the lactation redraws";
    g->SetBalken(true);
    EXPECT_EQ(leinwand->flaechen, 2);
    g->SetZellzahl(false);
    g->SetLaktation(1);
    g->SetHarnstoff(false);
    EXPECT_EQ(leinwand->flaechen, 2) << "bar mode ignores curve-only settings";
    g->SetMenge(false);
    EXPECT_EQ(leinwand->flaechen, 3);
    g->SetMenge(false);
    EXPECT_EQ(leinwand->flaechen, 3) << "no change, no drawing";

    leinwand->polylinien.clear();
    g->SetBalken(false);
    EXPECT_EQ(g->Kalbung, k1) << "the lactation chosen in bar mode";
    EXPECT_EQ(Anzahl(leinwand->polylinien, Gelb, 2), 2);
    EXPECT_EQ(Anzahl(leinwand->polylinien, Gruen, 2), 0);
    EXPECT_EQ(Anzahl(leinwand->polylinien, 0, 2), 0) << "no cell count";
    EXPECT_EQ(Anzahl(leinwand->polylinien, Blau, 2), 0) << "no urea";

    // Inside an update bracket all changes draw once.
    const int vorher = leinwand->flaechen;
    g->BeginUpdate();
    g->SetFett(false);
    g->SetLaktation(2);
    g->SetLaktose(false);
    g->EndUpdate();
    EXPECT_EQ(leinwand->flaechen, vorher + 1);

    auto kopie = std::make_unique<TLaktationsgrafikTier>(&tr);
    kopie->AlsDruckEinrichten(true);
    kopie->OptionenUebernehmen(*g);
    EXPECT_EQ(
        std::tuple(kopie->Menge, kopie->Fett, kopie->Eiweiss, kopie->Zellzahl, kopie->Harnstoff,
                   kopie->Laktose, kopie->Trockenmasse, kopie->Balken, kopie->Laktation),
        std::tuple(false, false, true, false, false, false, true, false, 2));
}

TEST_F(Laktationsgrafik, PrintWithLegendSubtitleAndPaperColours)
{
    auto g = Zeichne(berta, TTierStatistik::Druckmodus, false);
    EXPECT_EQ(QRect(QPoint(g->Links, g->Oben), QPoint(g->Rechts, g->Unten)),
              QRect(QPoint(300, 300), QPoint(2671, 1801)));
    const auto* titel = leinwand->Finde("7 Berta - 2. Laktation");
    ASSERT_NE(titel, nullptr);
    EXPECT_EQ(QPoint(titel->x, titel->y), QPoint(200, 200));
    // The legend runs from the right edge leftwards, the milk last.
    const char* reihe[] = {"Trockenmasse", "Laktose", "Harnstoff", "Zellzahl",
                           "Eiweiß",       "Fett",    "Milch"};
    int x = g->Rechts + 1;
    for (const char* text : reihe) {
        const auto* t = leinwand->Finde(QString::fromUtf8(text));
        ASSERT_NE(t, nullptr) << text;
        EXPECT_EQ(t->y, 250) << text;
        EXPECT_LT(t->x, x) << text;
        x = t->x;
    }
    // Yellow and white would vanish on paper.
    EXPECT_GT(Anzahl(leinwand->polylinien, 0x0080FF), 0);
    EXPECT_GT(Anzahl(leinwand->polylinien, 0x808080), 0);
    EXPECT_EQ(Anzahl(leinwand->polylinien, Gelb), 0);
    EXPECT_EQ(Anzahl(leinwand->polylinien, Weiss), 0);
    EXPECT_EQ(leinwand->flaechen, 0) << "no background on paper";
    EXPECT_EQ(leinwand->ellipsen.front().punkte[1].x() - leinwand->ellipsen.front().punkte[0].x(),
              40);

    leinwand = std::make_shared<AufzeichnendeLeinwand>();
    g = Zeichne(berta, TTierStatistik::Druckmodus, true, 2, false);
    EXPECT_NE(leinwand->Finde("7 Berta - Gesamt"), nullptr);
    EXPECT_EQ(leinwand->Finde("Zellzahl"), nullptr) << "bar mode has three measures";
    for (const auto& t : leinwand->texte)
        EXPECT_EQ(t.farbe, 0u) << t.s.toStdString();
    // Columns hatched in black, the legend boxes too.
    std::vector<TExBrushStyle> stile;
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(leinwand->rechtecke[i].brush, 0u);
        stile.push_back(leinwand->rechtecke[i].stil);
    }
    EXPECT_EQ(stile, (std::vector<TExBrushStyle>{exDiagCross, exBDiagonal, exFDiagonal}));
    const auto& kasten = leinwand->rechtecke.back();
    EXPECT_EQ(kasten.punkte[1] - kasten.punkte[0], QPoint(40, 30));
    EXPECT_EQ(kasten.stil, exDiagCross) << "milk is the last legend entry";

    leinwand = std::make_shared<AufzeichnendeLeinwand>();
    Zeichne(berta, TTierStatistik::Druckmodus, true);
    EXPECT_EQ(leinwand->rechtecke[1].brush, 0x00FF80u) << "light green milk columns in print";
}

TEST_F(Laktationsgrafik, ThumbnailsDrawNoTextButTheSubtitle)
{
    Zeichne(berta, TTierStatistik::Miniatur, false);
    ASSERT_EQ(leinwand->texte.size(), 1u);
    EXPECT_EQ(leinwand->texte[0].s, "7 Berta - 2. Laktation");
    EXPECT_EQ(Anzahl(leinwand->polylinien, Gruen, 1), 9);
    EXPECT_TRUE(leinwand->ellipsen.empty());

    leinwand = std::make_shared<AufzeichnendeLeinwand>();
    Zeichne(berta, TTierStatistik::Miniatur, true);
    ASSERT_EQ(leinwand->texte.size(), 1u);
    EXPECT_EQ(leinwand->texte[0].s, "7 Berta - Gesamt");
    EXPECT_EQ(leinwand->rechtecke.size(), 10u);
    EXPECT_TRUE(leinwand->polygone.empty()) << "no percentage symbols";
}

// The printout through the print engine into a PDF file, read back by pdftotext.
TEST_F(Laktationsgrafik, PrintedToPdf)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    ASSERT_FALSE(pdftotext.isEmpty()) << "poppler-utils is needed";
    LeistungenOeffnen(berta);
    for (bool balken : {false, true}) {
        QTemporaryDir ordner;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        QPrinterGeraet geraet(printer);
        auto ausgabe = std::make_unique<QPrinterOutput>(printer);
        ausgabe->FileNameQuery = [&](const QString&) {
            return QDir(ordner.path()).filePath("laktation");
        };
        auto g = TLaktationsgrafikTier::CreateDruck(&tr, &leistungen, "7 Berta", true);
        g->TierID = berta;
        g->Laktation = 2;
        g->Balken = balken;
        TStatistikDruck druck(*g, geraet, std::move(ausgabe));
        druck.Titel = g->GetTitel();
        druck.DruckeInhalt(nullptr);
        druck.Preview->Print();
        const QString datei = QDir(ordner.path()).filePath("laktation.pdf");
        ASSERT_TRUE(QFileInfo::exists(datei));
        QProcess leser;
        leser.start(pdftotext, {"-layout", datei, "-"});
        ASSERT_TRUE(leser.waitForFinished(30000));
        const QString text = QString::fromUtf8(leser.readAllStandardOutput());
        if (balken) {
            for (const char* s : {"7 Berta - Gesamt", "1. Lak", "3. Lak", "Milch", "Eiweiß"})
                EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s << "\n" << text.toStdString();
            EXPECT_FALSE(text.contains("Zellzahl"));
        } else {
            for (const char* s : {"7 Berta - 2. Laktation", "Trockenmasse", "Laktose", "364", "60"})
                EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s << "\n" << text.toStdString();
        }
    }
}

// The chart on the card's picture, with its marks over it, and the pictures of every mode.
TEST_F(Laktationsgrafik, ScreenPictureCarriesTheMarks)
{
    LeistungenOeffnen(berta);
    QWidget flaeche;
    flaeche.resize(1020, 640);
    auto* bild = new QLabel(&flaeche);
    bild->setGeometry(10, 20, 1000, 600);
    auto g = TLaktationsgrafikTier::CreateBildschirm(
        bild, &tr, TLaktationsgrafikSeite::SymbolBilder(), &leistungen);
    g->Faktor = 1;
    g->Breite = 1000;
    g->Hoehe = 600;
    g->TierID = berta;
    g->Laktation = 2;
    g->Zeichnen();
    ASSERT_EQ(bild->pixmap().size(), QSize(1000, 600));
    EXPECT_EQ(g->Canvas, nullptr) << "the painter is gone";
    const QImage img = bild->pixmap().toImage();
    EXPECT_EQ(img.pixelColor(3, 3), QColor(0, 255, 255)) << "aqua around the plot";
    EXPECT_EQ(img.pixelColor(500, 15), QColor(0, 234, 234)) << "light aqua inside";

    QList<QLabel*> marken = flaeche.findChildren<QLabel*>("LaktationsSymbol");
    ASSERT_EQ(marken.size(), 4);
    for (QLabel* m : marken) {
        EXPECT_TRUE(g->IstEreignisSymbol(m));
        EXPECT_EQ(m->y(), 20 + 576 - 16 - 10);
    }
    EXPECT_FALSE(g->IstEreignisSymbol(bild));
    const QLabel* behandlung = marken[3];
    EXPECT_EQ(behandlung->x(), 10 + int(g->X(QDate(2022, 5, 1))) - 8);
    EXPECT_TRUE(behandlung->toolTip().startsWith(" Tierärztliche Behandlung: \n****"));
    EXPECT_FALSE(behandlung->toolTip().contains('|'));
    EXPECT_TRUE(behandlung->statusTip().startsWith(" Tierärztliche Behandlung:   Grund: Mastitis"));
    Bildschirmfoto(flaeche, "laktationsgrafik-kurven.png");

    // Drawing again replaces the marks; bar mode has none.
    QPointer<QLabel> alt = marken[0];
    g->Zeichnen();
    EXPECT_TRUE(alt.isNull());
    EXPECT_EQ(flaeche.findChildren<QLabel*>("LaktationsSymbol").size(), 4);
    g->SetBalken(true);
    EXPECT_TRUE(flaeche.findChildren<QLabel*>("LaktationsSymbol").isEmpty());
    BildSpeichern(bild->pixmap().toImage(), "laktationsgrafik-balken.png");
    g->SetBalken(false);
    g.reset();
    EXPECT_TRUE(flaeche.findChildren<QLabel*>("LaktationsSymbol").isEmpty())
        << "the chart frees its marks";

    // Thumbnail and print, colour and black and white, as pictures.
    for (auto [modus, balken, farbig, name] :
         {std::tuple{TTierStatistik::Miniatur, false, true, "miniatur"},
          {TTierStatistik::Druckmodus, false, true, "druck"},
          {TTierStatistik::Druckmodus, true, false, "druck-balken-sw"}}) {
        const bool druck = modus == TTierStatistik::Druckmodus;
        QImage ziel(druck ? QSize(2970, 2100) : QSize(250, 150), QImage::Format_RGB32);
        ziel.fill(Qt::white);
        if (druck) {
            ziel.setDotsPerMeterX(10000);
            ziel.setDotsPerMeterY(10000);
        }
        {
            QPainter painter(&ziel);
            painter.setRenderHint(QPainter::Antialiasing);
            Zeichne(berta, std::uint8_t(modus), balken, 2, farbig,
                    std::make_shared<TMyGDICanvas>(painter));
        }
        if (druck)
            ziel = ziel.scaled(1485, 1050, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        BildSpeichern(ziel, QStringLiteral("laktationsgrafik-%1.png").arg(name));
    }
}

TEST_F(Laktationsgrafik, ThePageDrivesTheChart)
{
    TfrmHaupt haupt;
    TLaktationsgrafikSeite seite(tr);
    seite.resize(1100, 760);
    seite.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&seite));
    seite.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&seite));
    seite.SetTier(berta);

    auto* wahl = seite.findChild<QComboBox*>("cbLaktation");
    ASSERT_NE(wahl, nullptr);
    QStringList eintraege;
    for (int i = 0; i < wahl->count(); ++i)
        eintraege << wahl->itemText(i);
    EXPECT_EQ(eintraege, QStringList({"1. Lak", "2. Lak", "3. Lak"}));
    EXPECT_EQ(wahl->currentIndex(), 2);
    TLaktationsgrafikTier& g = seite.Grafik();
    EXPECT_EQ(g.Laktation, 3);
    EXPECT_EQ(g.Kalbung, k3);
    EXPECT_EQ(seite.Leistungen().RecNo(), 2) << "the last lactation is current";
    auto* bild = seite.findChild<QLabel*>("imgLaktationsgrafik");
    EXPECT_EQ(bild->pixmap().size(), bild->size());
    EXPECT_EQ(seite.StatusBild()->toolTip(), "aktueller Status");

    auto* ansicht = seite.findChild<TZRcxGridDBTableView*>("ViewLaktationsleistungen");
    ASSERT_NE(ansicht, nullptr);
    QStringList kopf;
    for (int c = 0; c < ansicht->model()->columnCount(); ++c)
        kopf << ansicht->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(kopf, QStringList({"Lak.", "Kalbung", "Trocken", "Tage", "Milch", "Fett (kg)",
                                 "Fett (%)", "Eiweis (kg)", "Eiweis (%)"}));
    EXPECT_EQ(ansicht->model()->rowCount(), 3);
    EXPECT_EQ(ansicht->model()->index(1, 6).data().toString(), "4,10");

    // The user picks the second lactation: its marks appear over the picture.
    wahl->setFocus();
    QTest::keyClick(wahl, Qt::Key_Up);
    EXPECT_EQ(g.Laktation, 2);
    QList<QLabel*> marken = seite.findChildren<QLabel*>("LaktationsSymbol");
    ASSERT_EQ(marken.size(), 4);
    QLabel* marke = marken[1];
    EXPECT_TRUE(marke->isVisible());
    QHelpEvent hilfe(QEvent::ToolTip, QPoint(4, 4), marke->mapToGlobal(QPoint(4, 4)));
    QCoreApplication::sendEvent(marke, &hilfe);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains("Stier:      Bruno"));
    QToolTip::hideText();
    // The tip window goes now, not in some later test's event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QEnterEvent hinein(QPointF(4, 4), QPointF(4, 4), marke->mapToGlobal(QPointF(4, 4)));
    QCoreApplication::sendEvent(marke, &hinein);
    EXPECT_EQ(haupt.Statusfeld(0)->text(),
              "  Besamung:  Datum: 15.06.2022  Stier: Bruno  HB-Nr: HB123");

    // Ctrl+L shows the performances; the curve-only boxes and the choice rest.
    QTest::keyClick(&seite, Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(g.Balken);
    EXPECT_TRUE(seite.findChild<QToolButton*>("btnLaktationsleistungen")->isChecked());
    EXPECT_FALSE(wahl->isEnabled());
    for (const char* box : {"cbZELLZAHL", "cbHARNSTOFF", "cbLACTOSE", "cbTROCKENMASSE"})
        EXPECT_FALSE(seite.findChild<TAMCheckBox*>(box)->isEnabled()) << box;
    EXPECT_TRUE(seite.findChildren<QLabel*>("LaktationsSymbol").isEmpty());
    EXPECT_TRUE(seite.findChild<TAMCheckBox*>("cbFETT")->isEnabled());
    Bildschirmfoto(seite, "laktationsgrafik-seite-balken.png");

    QTest::mouseClick(seite.findChild<TAMCheckBox*>("cbFETT"), Qt::LeftButton);
    EXPECT_FALSE(g.Fett);

    QTest::keyClick(&seite, Qt::Key_K, Qt::ControlModifier);
    EXPECT_FALSE(g.Balken);
    EXPECT_TRUE(wahl->isEnabled());
    EXPECT_TRUE(seite.findChild<TAMCheckBox*>("cbZELLZAHL")->isEnabled());
    QTest::mouseClick(seite.findChild<TAMCheckBox*>("cbZELLZAHL"), Qt::LeftButton);
    EXPECT_FALSE(g.Zellzahl);
    Bildschirmfoto(seite, "laktationsgrafik-seite-kurven.png");
}

}  // namespace
