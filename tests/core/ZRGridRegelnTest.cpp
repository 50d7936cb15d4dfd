#include <ZREditEintraege.h>
#include <ZRGridRegeln.h>
#include <ZRPropEintraege.h>

#include <gtest/gtest.h>

using namespace ZRGridRegeln;

namespace {

Bereich Zahlen(int digits, long double min, long double max)
{
    Bereich b = StandardBereich(QLatin1Char(','));
    DigitsSetzen(b, digits);
    MinSetzen(b, min);
    MaxSetzen(b, max);
    return b;
}

TEST(ZRGridRegelnTest, WertWirdBegrenztUndFormatiert)
{
    struct Fall {
        long double wert;
        int digits;
        long double min;
        long double max;
        const char* text;
    };
    const Fall faelle[] = {
        {12.34L, 1, 0, 999, "12,3"},
        {1000, 1, 0, 999, "999,0"},
        {-5, 1, 0, 999, "0,0"},
        {-5, 2, -10, 10, "-5,00"},
        {7, 0, 0, 999, "7"},
        {0.05L, 1, 0, 999, "0,1"},
        {123456789, 1, 0, 99999999.9L, "99999999,9"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.text);
        EXPECT_EQ(WertText(f.wert, Zahlen(f.digits, f.min, f.max)), f.text);
    }
}

TEST(ZRGridRegelnTest, TextWirdGelesen)
{
    struct Fall {
        const char* text;
        long double min;
        long double max;
        long double wert;
    };
    const Fall faelle[] = {
        {"12,5", 0, 999, 12.5L}, {"", 0, 999, 0},    {"-", -10, 10, 0},
        {",", 0, 999, 0},        {"abc", 3, 999, 3}, {"1000", 0, 999, 999},
        {"-20", -10, 10, -10},   {"1.5", 2, 999, 2}, {"", 5, 999, 5},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.text);
        EXPECT_DOUBLE_EQ(double(Wert(f.text, Zahlen(1, f.min, f.max))), double(f.wert));
    }
}

TEST(ZRGridRegelnTest, GrenzenPassenSichAneinanderAn)
{
    Bereich b = Zahlen(1, 0, 999);
    MaxSetzen(b, -5);
    EXPECT_EQ(b.max, 0);
    EXPECT_EQ(b.min, 0);
    b = Zahlen(1, 0, 999);
    MinSetzen(b, 2000);
    EXPECT_EQ(b.min, 999);
    EXPECT_EQ(b.max, 999);
    DigitsSetzen(b, 25);
    EXPECT_EQ(b.digits, 18);
    // The grids start without an empty value and with the number edit's range.
    const Bereich s = StandardBereich(QLatin1Char(','));
    EXPECT_FALSE(s.allowNull);
    EXPECT_EQ(s.digits, 1);
    EXPECT_EQ(s.min, 0);
    EXPECT_EQ(s.max, 99999999.9L);
}

TEST(ZRGridRegelnTest, VerlassenNurMitZahlImBereich)
{
    struct Fall {
        const char* text;
        bool erlaubt;
        const char* danach;
    };
    const Fall faelle[] = {
        {"12,3", true, "12,3"}, {"12", true, "12,0"},   {"1000", false, "5,0"}, {"x", false, "5,0"},
        {"-1", false, "5,0"},   {"999", true, "999,0"}, {"", true, "0,0"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.text);
        const Verlassen v = VerlassenPruefen(f.text, 5, Zahlen(1, 0, 999));
        EXPECT_EQ(v.erlaubt, f.erlaubt);
        EXPECT_EQ(v.text, f.danach);
    }
}

TEST(ZRGridRegelnTest, ListeGroesseUndLage)
{
    EXPECT_EQ(ListenHoehe(3, 10, 17), 3 * 17 + 4);
    EXPECT_EQ(ListenHoehe(30, 10, 17), 10 * 17 + 4);
    EXPECT_EQ(ListenHoehe(0, 10, 17), 4);
    struct Fall {
        int markiert;
        int eintraege;
        int zeilen;
        int oben;
    };
    const Fall faelle[] = {
        {15, 30, 10, 10}, {2, 30, 10, 0}, {29, 30, 10, 20}, {-1, 30, 10, 0}, {2, 3, 10, 0}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.markiert);
        EXPECT_EQ(ErsteSichtbareZeile(f.markiert, f.eintraege, f.zeilen), f.oben);
    }
    const QRect bildschirm(0, 0, 800, 600);
    EXPECT_EQ(ListenPosition(QRect(100, 200, 80, 17), 174, bildschirm), QPoint(100, 217));
    EXPECT_EQ(ListenPosition(QRect(100, 500, 80, 17), 174, bildschirm), QPoint(100, 326));
    EXPECT_EQ(ListenPosition(QRect(100, 409, 80, 17), 174, bildschirm), QPoint(100, 426));
    EXPECT_EQ(ListenPosition(QRect(100, 410, 80, 17), 174, bildschirm), QPoint(100, 236));
}

TEST(ZRGridRegelnTest, EditorNachEditTyp)
{
    struct Fall {
        int typ;
        EditStyle prop;
        bool propNurLesen;
        bool zahl;
        EditStyle spalte;
        bool spalteNurLesen;
    };
    const Fall faelle[] = {
        {0, KeinKnopf, true, false, KeinKnopf, true},
        {1, KeinKnopf, false, false, KeinKnopf, false},
        {2, KeinKnopf, false, true, KeinKnopf, false},
        {3, KeinKnopf, false, false, KeinKnopf, false},
        {4, Auswahlliste, false, false, Auswahlliste, false},
        {5, Auswahlliste, true, false, Auswahlliste, true},
        {6, Ellipse, false, false, Ellipse, false},
        {7, KeinKnopf, false, false, KeinKnopf, false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.typ);
        const EditorArt p = PropertyEditor(f.typ);
        EXPECT_EQ(p.stil, f.prop);
        EXPECT_EQ(p.nurLesen, f.propNurLesen);
        EXPECT_EQ(p.zahlenmodus, f.zahl);
        const EditorArt s = SpaltenEditor(f.typ);
        EXPECT_EQ(s.stil, f.spalte);
        EXPECT_EQ(s.nurLesen, f.spalteNurLesen);
        EXPECT_FALSE(s.zahlenmodus);
    }
}

TEST(ZRPropEintraegeTest, SchluesselUndText)
{
    int aufbauten = 0;
    TZRProperties props([&] { ++aufbauten; });
    TZRPropertiesItem& p = props.Add();
    EXPECT_EQ(aufbauten, 1);
    EXPECT_EQ(p.EditType(), 1);
    EXPECT_EQ(p.DropDownRows(), 10);
    EXPECT_EQ(p.Digits(), 1);
    EXPECT_EQ(p.Min(), 0);
    EXPECT_EQ(p.Max(), 999);
    p.PickList().Add("21", "Nord");
    p.PickList().Add("22", "Sued");
    p.SetEditType(5);
    p.SetValue("99");
    EXPECT_EQ(p.GetAnzeigeWert(), "");
    p.SetValue("22");
    EXPECT_EQ(p.GetAnzeigeWert(), "Sued");
    const int vorher = aufbauten;
    p.SetAnzeigeWert("Nord");
    EXPECT_EQ(p.Value(), "21");
    p.SetAnzeigeWert("Ost");
    EXPECT_EQ(p.Value(), "21");
    p.SetAnzeigeWert("Nord");
    EXPECT_EQ(aufbauten, vorher + 1) << "only a change rebuilds";
    p.SetEditType(4);
    p.SetAnzeigeWert("Ost");
    EXPECT_EQ(p.Value(), "Ost");
    EXPECT_EQ(p.GetAnzeigeWert(), "Ost");
}

TEST(ZRPropEintraegeTest, SortierteListe)
{
    TZRPropPickList liste;
    liste.Add("1", "Zebu");
    liste.Add("2", "Angus");
    EXPECT_EQ(liste.Texte(), QStringList({"Zebu", "Angus"}));
    liste.SetSorted(true);
    liste.Add("3", "Fleckvieh");
    liste.Add("4", "Ärmelkuh");
    EXPECT_EQ(liste.Texte(), QStringList({"Angus", "Ärmelkuh", "Fleckvieh", "Zebu"}));
    EXPECT_EQ(liste.Schluessel(1), "4");
}

TEST(ZREditEintraegeTest, NeueSpalteGibtJederZeileEineZelle)
{
    int aufbauten = 0;
    TZRColumns spalten([&] { ++aufbauten; }, {});
    TZREditItems zeilen(spalten, [&] { ++aufbauten; });
    spalten.Add(zeilen);
    TZREditItem& a = zeilen.Add();
    TZREditItem& b = zeilen.Add();
    a.SetZelle(0, "x");
    spalten.Add(zeilen);
    EXPECT_EQ(a.Zellen, QStringList({"x", ""}));
    EXPECT_EQ(b.Zellen, QStringList({"", ""}));
    b.SetZelle(5, "weg");
    EXPECT_EQ(b.Zellen, QStringList({"", ""}));
    EXPECT_EQ(aufbauten, 4);
    EXPECT_EQ(spalten.GetItem(0).Width(), -1);
    EXPECT_EQ(spalten.GetItem(0).DropDownRows(), 10);
}

}  // namespace
