#include "../preview/DruckTestHilfe.h"

#include <ListenDruck.h>

#include <gtest/gtest.h>

#include <QVariant>

#include <algorithm>
#include <map>

using namespace ListenDruckRegeln;

namespace {

// ---------------------------------------------------------------- rules

TEST(ListenDruckRegeln, FontCodes)
{
    struct Fall {
        const char* code;
        const char* name;
        int groesse;
        std::uint8_t stil;
    } faelle[] = {
        {"Arial;12;", "Arial", 12, 0},
        {"Arial;12;B", "Arial", 12, fsBold},
        {"Times New Roman;9;UBI", "Times New Roman", 9, fsBold | fsItalic | fsUnderline},
        {"Arial;groß;S", "Arial", 10, fsStrikeOut},
        {"Arial", "Arial", 10, 0},
        {"Arial;;IB", "Arial", 10, fsBold | fsItalic},
        {"", "", 10, 0},
    };
    for (const Fall& f : faelle) {
        const RSchrift s = SchriftLesen(QString::fromUtf8(f.code));
        EXPECT_EQ(s.Name, QString::fromUtf8(f.name)) << f.code;
        EXPECT_EQ(s.Groesse, f.groesse) << f.code;
        EXPECT_EQ(s.Stil, f.stil) << f.code;
    }
}

TEST(ListenDruckRegeln, LineKindsAlignmentsAndAnchors)
{
    const std::pair<const char*, TPenStyle> arten[] = {
        {"S", psSolid},        {"D", psDash},  {"P", psDot}, {"DP", psDashDot},
        {"DPP", psDashDotDot}, {"X", psSolid}, {"", psSolid}};
    for (const auto& [code, art] : arten)
        EXPECT_EQ(LinienArt(code), art) << code;

    struct Fall {
        const char* code;
        std::uint8_t ausrichtung;
        int anker;  // column from 200 to 500
    } faelle[] = {{"L", 0, 200}, {"R", 1, 500}, {"C", 2, 350}, {"", 2, 350}, {"x", 2, 350}};
    for (const Fall& f : faelle) {
        EXPECT_EQ(Ausrichtung(f.code), f.ausrichtung) << f.code;
        EXPECT_EQ(AnkerX(f.ausrichtung, 200, 300), f.anker) << f.code;
    }
    EXPECT_EQ(AnkerX(2, 0, 305), 152) << "integer division";
}

TEST(ListenDruckRegeln, DueRowsBetweenLinesAndLineAdvance)
{
    const QDate heute(2026, 12, 11);
    const std::pair<std::optional<QDate>, bool> faellig[] = {{heute, true},
                                                             {heute.addDays(-30), true},
                                                             {heute.addDays(1), false},
                                                             {std::nullopt, false},
                                                             {QDate(), false}};
    for (const auto& [datum, fett] : faellig)
        EXPECT_EQ(Faellig(datum, heute), fett)
            << (datum ? datum->toString().toStdString() : "none");

    struct Fall {
        int zeilen;
        int n;
        bool linie;
    } faelle[] = {{0, 1, false}, {1, 1, true},  {2, 1, true}, {0, 0, false}, {1, 0, true},
                  {1, -5, true}, {2, 3, false}, {3, 3, true}, {4, 3, false}, {6, 3, true}};
    for (const Fall& f : faelle)
        EXPECT_EQ(LinieVorZeile(f.zeilen, f.n), f.linie) << f.zeilen << " rows, n " << f.n;

    EXPECT_EQ(LinienVorschub(0), 10);
    EXPECT_EQ(LinienVorschub(100), 10);
    EXPECT_EQ(LinienVorschub(400), 20);
}

TEST(ListenDruckRegeln, LinesOfVisibleColumnsAreNumberedFromOne)
{
    std::vector<RSpaltenInfo> spalten(4);
    spalten[0].Zeile = 3;
    spalten[1].Zeile = 1;
    spalten[2].Zeile = 7;
    spalten[2].Sichtbar = false;
    spalten[3].Zeile = 3;
    EXPECT_EQ(ZeilenNummerieren(spalten), 2);
    EXPECT_EQ(spalten[0].Zeile, 2);
    EXPECT_EQ(spalten[1].Zeile, 1);
    EXPECT_EQ(spalten[3].Zeile, 2);
}

// ---------------------------------------------------------------- page layout

// Rows held in memory: values by column name, QDate for dates, a null QVariant for NULL.
class TabellenDaten final : public IListenDaten {
public:
    TabellenDaten(QStringList namen, std::vector<std::vector<QVariant>> zeilen)
        : namen_(std::move(namen)), zeilen_(std::move(zeilen))
    {
    }
    void Oeffnen() override { offen = true; }
    void Schliessen() override { offen = false; }
    void Erster() override { i_ = 0; }
    void Naechster() override { ++i_; }
    bool Ende() const override { return i_ >= zeilen_.size(); }
    int Feld(const QString& name) const override { return int(namen_.indexOf(name)); }
    bool Numerisch(int) const override { return false; }
    bool IstLeer(int feld) const override { return wert(feld).isNull(); }
    QString Text(int feld, const QString&) const override
    {
        const QVariant& v = wert(feld);
        if (v.typeId() == QMetaType::QDate)
            return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
        return v.toString();
    }
    QDate Datum(int feld) const override { return wert(feld).toDate(); }
    int Zahl(int feld) const override { return wert(feld).toInt(); }
    bool offen = false;

private:
    const QVariant& wert(int feld) const { return zeilen_.at(i_).at(std::size_t(feld)); }
    QStringList namen_;
    std::vector<std::vector<QVariant>> zeilen_;
    std::size_t i_ = 0;
};

// The list print with its lines and icons recorded as they are drawn.
class AufzeichnenderDruck : public TListenDruck {
public:
    using TListenDruck::TListenDruck;
    struct Linie {
        int seite;
        TPenStyle art;
        int breite;
        int x1, y1, x2, y2;
    };
    std::vector<Linie> linien;
    std::vector<std::pair<QRect, int>> icons;

protected:
    void LinieZeichnen(TPenStyle art, int breite, int x1, int y1, int x2, int y2) override
    {
        linien.push_back({AktSeite(), art, breite, x1, y1, x2, y2});
        TListenDruck::LinieZeichnen(art, breite, x1, y1, x2, y2);
    }
    void IconZeichnen(const QRect& ziel, int index) override { icons.push_back({ziel, index}); }
};

constexpr auto Schrift = "DejaVu Sans;10;";

RDruckFeld Feld(const char* feld, const char* titel, int position, int zeile, int breite,
                const char* ausrichtung = "L")
{
    RDruckFeld f;
    f.Feld = QString::fromUtf8(feld);
    f.Titel = QString::fromUtf8(titel);
    f.Position = position;
    f.Zeile = zeile;
    f.Breite = breite;
    f.Schrift = QString::fromLatin1(Schrift);
    f.TitelSchrift = QStringLiteral("DejaVu Sans;10;B");
    f.Ausrichtung = QString::fromLatin1(ausrichtung);
    return f;
}

RListenDruckLayout Layout(std::vector<RDruckFeld> felder)
{
    RListenDruckLayout l;
    l.Design.Titel = QStringLiteral("Herde");
    l.Design.Schrift = QStringLiteral("DejaVu Sans;14;B");
    l.Design.Ausrichtung = QStringLiteral("C");
    l.Design.Stand = QStringLiteral("F");
    l.Felder = std::move(felder);
    return l;
}

class ListenDruckLayoutTest : public ::testing::Test {
protected:
    static constexpr int Rand = 100;  // 10 mm
    const QDate heute{2026, 12, 11};

    std::unique_ptr<AufzeichnenderDruck> Drucke(RListenDruckLayout layout, QStringList namen,
                                                std::vector<std::vector<QVariant>> zeilen,
                                                const QString& titelzusatz = {})
    {
        auto d = std::make_unique<AufzeichnenderDruck>(
            std::move(layout), std::make_unique<TabellenDaten>(namen, std::move(zeilen)), drucker,
            std::make_unique<AufzeichnendeAusgabe>());
        d->Heute = heute;
        d->Titelzusatz = titelzusatz;
        d->DruckeInhalt(nullptr);
        texte = Texte(d->Paper());
        return d;
    }
    std::vector<TextEintrag> Alle(const QString& text) const
    {
        std::vector<TextEintrag> treffer;
        for (const TextEintrag& t : texte)
            if (t.text == text)
                treffer.push_back(t);
        return treffer;
    }
    const TextEintrag& Eines(const QString& text) const
    {
        const TextEintrag* t = Finde(texte, text);
        if (!t)
            throw std::runtime_error("not printed: " + text.toStdString());
        return *t;
    }

    FakeDrucker drucker;
    std::vector<TextEintrag> texte;
};

TEST_F(ListenDruckLayoutTest, PrintLinesOneAndThreeBecomeTwoLinesPerRow)
{
    auto d =
        Drucke(Layout({Feld("Q1.NUMMER", "Nummer", 0, 1, 40), Feld("Q1.NAME", "Name", 0, 3, 40)}),
               {"Q1NUMMER", "Q1NAME"}, {{"DE 01", "Berta"}, {"DE 02", "Clara"}});
    EXPECT_EQ(d->Zeilenzahl, 2);
    EXPECT_EQ(d->Spalten[1].Zeile, 2);
    const int zh = d->Zeilenhoehe();
    EXPECT_EQ(Eines("Berta").y - Eines("DE 01").y, zh);
    EXPECT_EQ(Eines("DE 02").y - Eines("DE 01").y, 2 * zh);
    EXPECT_EQ(Eines("Name").y - Eines("Nummer").y, d->Spalten[1].TitelOffset);
    EXPECT_GT(d->Spalten[1].TitelOffset, 0);
    EXPECT_EQ(d->TitelHoehe, d->Spalten[1].TitelOffset * 2) << "two title lines of one font";
    EXPECT_EQ(Eines("DE 01").y, d->YUnterTitel);
}

TEST_F(ListenDruckLayoutTest, RowsDueTodayOrEarlierPrintBoldOthersAndUndatedPlain)
{
    RListenDruckLayout l =
        Layout({Feld("Q1.NUMMER", "Nummer", 0, 1, 30), Feld("Q1.DATUM", "Fällig", 40, 1, 30)});
    l.Design.DatumVergangenFett = QStringLiteral("Q1DATUM");
    const auto d = Drucke(l, {"Q1NUMMER", "Q1DATUM"},
                          {{"heute", heute},
                           {"morgen", heute.addDays(1)},
                           {"ohne", QVariant()},
                           {"vorher", heute.addDays(-400)}});
    const std::pair<const char*, bool> faelle[] = {
        {"heute", true}, {"morgen", false}, {"ohne", false}, {"vorher", true}};
    for (const auto& [text, fett] : faelle)
        EXPECT_EQ(bool(Eines(text).stil & fsBold), fett) << text;
    EXPECT_TRUE(Eines(QStringLiteral("11.12.2026")).stil & fsBold) << "every column of the row";

    l.Design.DatumVergangenFett = QStringLiteral("-");
    Drucke(l, {"Q1NUMMER", "Q1DATUM"}, {{"heute", heute}});
    EXPECT_FALSE(Eines("heute").stil & fsBold) << "a name the data lack switches it off";
}

TEST_F(ListenDruckLayoutTest, WrappingColumnPrintsItsBlockInsideItsColumnWhateverItsAlignment)
{
    const QString lang = QStringLiteral(
        "Lahmheit hinten links seit der letzten Klauenpflege beobachten und nachbehandeln");
    for (const char* ausrichtung : {"L", "R", "C"}) {
        RDruckFeld bemerkung = Feld("Q1.BEM", "Bemerkung", 50, 1, 30, ausrichtung);
        bemerkung.Umbruch = true;
        const auto d = Drucke(Layout({Feld("Q1.NUMMER", "Nummer", 0, 1, 30), bemerkung}),
                              {"Q1NUMMER", "Q1BEM"}, {{"DE 01", lang}, {"DE 02", "kurz"}});
        int zeilen = 0;
        int unten = 0;
        for (const TextEintrag& t : texte) {
            if (!lang.contains(t.text) || t.text.size() < 3 || t.y < d->YUnterTitel)
                continue;
            ++zeilen;
            EXPECT_EQ(t.x, Rand + 500) << ausrichtung << ": starts at the column's left edge";
            EXPECT_LE(t.x + d->Paper().TextWidth(t.text), Rand + 800)
                << ausrichtung << ": " << t.text.toStdString();
            unten = std::max(unten, t.y);
        }
        EXPECT_GE(zeilen, 3) << ausrichtung;
        EXPECT_EQ(Eines("DE 02").y, unten + d->Zeilenhoehe())
            << ausrichtung << ": the block pushes the next row down";
    }
}

TEST_F(ListenDruckLayoutTest, LinesBetweenRowsAfterEveryNthRowOfAPage)
{
    struct Fall {
        int n;
        int zeilen;
        std::vector<int> vor;  // rows (from 1) that get a line above
    } faelle[] = {{0, 4, {2, 3, 4}}, {1, 3, {2, 3}}, {3, 10, {4, 7, 10}}, {3, 3, {}}};
    for (const Fall& f : faelle) {
        RListenDruckLayout l = Layout({Feld("Q1.NUMMER", "Nummer", 0, 1, 30)});
        l.Design.Zwischen = {true, QStringLiteral("D"), 300};
        l.Design.LinieZwischenZeilen = f.n;
        std::vector<std::vector<QVariant>> zeilen;
        for (int i = 1; i <= f.zeilen; ++i)
            zeilen.push_back({QStringLiteral("Kuh %1").arg(i)});
        const auto d = Drucke(l, {"Q1NUMMER"}, zeilen);
        std::vector<int> vor;
        for (const auto& linie : d->linien) {
            EXPECT_EQ(linie.art, psDash);
            EXPECT_EQ(linie.breite, 300);
            EXPECT_EQ(linie.x1, Rand);
            EXPECT_EQ(linie.x2, 2100 - Rand);
            for (int i = 1; i <= f.zeilen; ++i)
                if (Eines(QStringLiteral("Kuh %1").arg(i)).y == linie.y1 + 15)
                    vor.push_back(i);
        }
        EXPECT_EQ(vor, f.vor) << "n " << f.n;
    }
}

TEST_F(ListenDruckLayoutTest, LinesBetweenRowsNeverStandAboveTheFirstRowOfAPage)
{
    RListenDruckLayout l = Layout({Feld("Q1.NUMMER", "Nummer", 0, 1, 30)});
    l.Design.Zwischen = {true, QStringLiteral("S"), 0};
    std::vector<std::vector<QVariant>> zeilen;
    for (int i = 1; i <= 150; ++i)
        zeilen.push_back({QStringLiteral("Kuh %1").arg(i)});
    const auto d = Drucke(l, {"Q1NUMMER"}, zeilen);
    ASSERT_GE(d->AktSeite(), 2);
    for (const auto& linie : d->linien)
        EXPECT_GT(linie.y1, d->YUnterTitel) << "page " << linie.seite;
    EXPECT_EQ(int(d->linien.size()), 150 - d->AktSeite());
}

TEST_F(ListenDruckLayoutTest, GroupGapWhereTheBlankLineColumnsChange)
{
    RDruckFeld gruppe = Feld("Q1.GRUPPE", "Gruppe", 0, 1, 30);
    gruppe.Leerzeile = true;
    const auto d =
        Drucke(Layout({gruppe, Feld("Q1.NUMMER", "Nummer", 40, 1, 30)}), {"Q1GRUPPE", "Q1NUMMER"},
               {{"Trocken", "a"}, {"Trocken", "b"}, {"Melkend", "c"}, {"Melkend", "d"}});
    const int zh = d->Zeilenhoehe();
    const int abstand = std::max(35, zh * 3 / 4);
    EXPECT_EQ(Eines("b").y - Eines("a").y, zh);
    EXPECT_EQ(Eines("c").y - Eines("b").y, zh + abstand);
    EXPECT_EQ(Eines("d").y - Eines("c").y, zh);
    EXPECT_EQ(Eines("a").y, d->YUnterTitel) << "no gap above the first row";
}

TEST_F(ListenDruckLayoutTest, TitleWithSuffixAndDateLine)
{
    struct Fall {
        const char* zusatz;
        const char* stand;
        const char* titel;
    } faelle[] = {{"Nord", "R", "Herde (Nord)"}, {"", "L", "Herde"}, {"", "F", "Herde"}};
    for (const Fall& f : faelle) {
        RListenDruckLayout l = Layout({Feld("Q1.NUMMER", "Nummer", 0, 1, 30)});
        l.Design.Stand = QString::fromLatin1(f.stand);
        const auto d = Drucke(l, {"Q1NUMMER"}, {{"DE 01"}}, QString::fromUtf8(f.zusatz));
        const TextEintrag& titel = Eines(QString::fromUtf8(f.titel));
        EXPECT_EQ(titel.x, Rand + (2100 - 2 * Rand) / 2) << f.titel;
        EXPECT_EQ(titel.y, Rand);
        const std::vector<TextEintrag> stand = Alle(QStringLiteral("Stand: 11.12.2026"));
        if (QString::fromLatin1(f.stand) == QLatin1String("F")) {
            EXPECT_TRUE(stand.empty());
            continue;
        }
        ASSERT_EQ(stand.size(), 1u) << f.stand;
        EXPECT_EQ(stand[0].y, titel.y) << "on the title's line";
        EXPECT_EQ(stand[0].x,
                  QString::fromLatin1(f.stand) == QLatin1String("R") ? 2100 - Rand : Rand);
    }
}

TEST_F(ListenDruckLayoutTest, EmptyStatusPrintsNoIconButKeepsItsLine)
{
    RListenDruckLayout l =
        Layout({Feld("Q1.STATUSIDX", "Status", 0, 1, 5), Feld("Q1.NUMMER", "Nummer", 0, 2, 30)});
    l.Design.KurzeZeilen = true;
    const auto d = Drucke(l, {"Q1STATUSIDX", "Q1NUMMER"}, {{3, "a"}, {QVariant(), "b"}, {1, "c"}});
    EXPECT_TRUE(Alle("Status").empty()) << "status columns have no title";
    ASSERT_EQ(d->icons.size(), 2u);
    EXPECT_EQ(d->icons[0].second, 3);
    EXPECT_EQ(d->icons[1].second, 1);
    const int zh = d->Zeilenhoehe();
    EXPECT_EQ(d->icons[0].first, QRect(Rand, d->YUnterTitel, zh, zh));
    EXPECT_EQ(Eines("c").y - Eines("b").y, 2 * zh);
    EXPECT_EQ(Eines("b").y - Eines("a").y, 2 * zh);
}

TEST_F(ListenDruckLayoutTest, ShortLinesLetBlankLastLinesTakeNoRoom)
{
    for (bool kurz : {false, true}) {
        RListenDruckLayout l =
            Layout({Feld("Q1.NUMMER", "Nummer", 0, 1, 30), Feld("Q1.NAME", "Name", 0, 2, 30)});
        l.Design.KurzeZeilen = kurz;
        const auto d = Drucke(l, {"Q1NUMMER", "Q1NAME"}, {{"a", "  "}, {"b", "Berta"}});
        const int zh = d->Zeilenhoehe();
        EXPECT_EQ(Eines("b").y - Eines("a").y, kurz ? zh : 2 * zh) << kurz;
    }
}

TEST_F(ListenDruckLayoutTest, PageBreaksRepeatTheFrameAndCloseEachPageWithItsLines)
{
    RListenDruckLayout l =
        Layout({Feld("S.N1", "Nr.", 0, 1, 10), Feld("Q1.NUMMER", "Nummer", 20, 1, 30),
                Feld("S.F1", "Fest", 60, 1, 30)});
    l.Felder[2].Wert = QStringLiteral("fester Text");
    l.Design.UeberTitel = {true, QStringLiteral("S"), 50};
    l.Design.UnterTitel = {true, QStringLiteral("S"), 400};
    l.Design.Unten = {true, QStringLiteral("DPP"), 0};
    l.Linien = {{-2, true, QStringLiteral("P"), 10}, {120, false, QStringLiteral("S"), 0}};
    std::vector<std::vector<QVariant>> zeilen;
    for (int i = 1; i <= 200; ++i)
        zeilen.push_back({QStringLiteral("DE %1").arg(i, 4, 10, QChar('0'))});
    auto d = Drucke(l, {"Q1NUMMER"}, zeilen);
    d->BetriebsstaetteDrucken = true;
    d->BetriebsstaettenName = QStringLiteral("Alle Betriebsstätten");
    d->linien.clear();
    d->DruckeInhalt(nullptr);
    texte = Texte(d->Paper());
    const int seiten = d->AktSeite();
    ASSERT_GE(seiten, 3);
    EXPECT_EQ(d->Preview->MaxPage(), seiten);
    EXPECT_EQ(d->LinksX, Rand - 20) << "widened to the vertical line left of the margin";
    EXPECT_EQ(d->RechtsX, Rand + 1200);

    const int unten = 2970 - 150;
    for (int s = 1; s <= seiten; ++s) {
        int titel = 0, nr = 0, betrieb = 0;
        for (const TextEintrag& t : texte) {
            if (t.seite != s)
                continue;
            titel += t.text == "Herde";
            nr += t.text == "Nr.";
            betrieb += t.text == "Alle Betriebsstätten";
            if (t.text == "Alle Betriebsstätten") {
                EXPECT_EQ(t.y, unten + 10);
            }
            if (t.text.startsWith("DE ")) {
                EXPECT_LE(t.y + d->Zeilenhoehe(), unten) << t.text.toStdString();
            }
        }
        EXPECT_EQ(titel, 1) << "page " << s;
        EXPECT_EQ(nr, 1) << "page " << s;
        EXPECT_EQ(betrieb, 1) << "page " << s;
        EXPECT_TRUE(Finde(texte, QStringLiteral("Seite %1").arg(s))) << s;

        std::vector<AufzeichnenderDruck::Linie> linien;
        for (const auto& li : d->linien)
            if (li.seite == s)
                linien.push_back(li);
        ASSERT_EQ(linien.size(), 5u) << "over, under, bottom and two vertical, page " << s;
        EXPECT_EQ(linien[1].y1 - linien[0].y1 - 10, d->TitelHoehe) << "title block under its line";
        EXPECT_EQ(linien[2].art, psDashDotDot);
        EXPECT_EQ(linien[3].art, psDot);
        EXPECT_EQ(linien[3].x1, Rand - 20);
        EXPECT_EQ(linien[3].y1, linien[0].y1) << "from the top of the titles";
        EXPECT_EQ(linien[4].y1, linien[1].y1) << "from below the titles";
        EXPECT_EQ(linien[4].y2, linien[2].y1) << "down to the last row";
    }
    for (int i = 1; i <= 200; ++i)
        EXPECT_EQ(Alle(QString::number(i)).size(), 1u) << "running number " << i;
    EXPECT_EQ(Alle("fester Text").size(), 200u);
}

}  // namespace
