#include "DruckTestHilfe.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// Ten units per character and lines of 50, so that layouts can be worked out by hand.
class FesterDruck : public TestDruck {
public:
    using TestDruck::TestDruck;
    int TextBreite(const QString& s) override { return 10 * int(s.size()); }
    int Zeilenhoehe() override { return 50; }
};

class Druckauftrag : public ::testing::Test {
protected:
    FakeDrucker drucker;
    FesterDruck druck{drucker, std::make_unique<AufzeichnendeAusgabe>()};

    void SetUp() override { druck.InitDruck(); }
};

TEST_F(Druckauftrag, InitDruckAndNeueSeiteSetMarginsPageAndPosition)
{
    druck.Pos = 1234;
    druck.SetSeitenrandLinks(100);
    druck.InitDruck();
    EXPECT_EQ(druck.AktSeite(), 1);
    EXPECT_EQ(druck.Pos, 250);
    for (int rand : {druck.SeitenrandLinks(), druck.SeitenrandRechts(), druck.SeitenrandOben(),
                     druck.SeitenrandUnten()})
        EXPECT_EQ(rand, 250);
    const TIndentions& gespiegelt = druck.Paper().Indentions();
    EXPECT_EQ(
        QRect(QPoint(gespiegelt.Left, gespiegelt.Top), QPoint(gespiegelt.Right, gespiegelt.Bottom)),
        QRect(QPoint(250, 250), QPoint(250, 250)));
    EXPECT_EQ(druck.GetPosRandRechts(), 2100 - 500);
    EXPECT_EQ(druck.GetPosRandUnten(), 2970 - 250);

    druck.SetSeitenrandOben(400);
    druck.Pos = 2000;
    druck.TDruck::NeueSeite();
    EXPECT_EQ(druck.AktSeite(), 2);
    EXPECT_EQ(druck.Pos, 400);
    EXPECT_EQ(druck.Paper().GetPage(), 2);
}

TEST_F(Druckauftrag, CheckNeueSeiteBreaksOnlyWhenTheHeightGoesBelowTheBottomMargin)
{
    druck.Pos = druck.GetPosRandUnten() - 50;
    druck.CheckNeueSeite(50);
    EXPECT_EQ(druck.AktSeite(), 1) << "exactly up to the bottom margin still fits";
    druck.CheckNeueSeite(51);
    EXPECT_EQ(druck.AktSeite(), 2);
    EXPECT_EQ(druck.Rahmen, 1) << "the descendant's NeueSeite runs";
}

TEST_F(Druckauftrag, PageNumbersBeyondTheStoresRangeAreRefused)
{
    druck.SetAktSeite(32767);
    EXPECT_THROW(druck.SetAktSeite(32768), std::overflow_error);
    EXPECT_EQ(druck.AktSeite(), 32767);
}

struct WrapFall {
    const char* name;
    QString text;
    int breite;
    QString erwartet;
};

TEST_F(Druckauftrag, GetWordWarp)
{
    const WrapFall faelle[] = {
        {"leer", "", 100, ""},
        {"passt", "a b", 100, "a b"},
        {"genau so breit", "abcde", 50, "abcde"},
        {"bricht am letzten passenden Leerzeichen", "aaa bbb ccc", 70, "aaa bbb\rccc"},
        {"jede Zeilenendung", "x\r\ny\nz\rw\n\rv", 100, "x\ry\rz\rw\rv"},
        {"Leerzeichen am Zeilenende", "ab   \r\ncd \t ", 100, "ab\rcd"},
        {"nur ein Leerzeichen entfällt", "aa  bb", 30, "aa \rbb"},
        {"leere Zeilen am Ende", "a\r\r\n\n", 100, "a"},
        {"überlanges Wort auf eigener Zeile", "kurz Überlangeswort ende", 60,
         "kurz\rÜberlangeswort\rende"},
        {"überlanges Wort am Anfang", "Überlangeswort kurz", 60, "Überlangeswort\rkurz"},
        {"überlanges Wort allein", "Überlangeswort", 60, "Überlangeswort"},
    };
    for (const WrapFall& f : faelle)
        EXPECT_EQ(druck.GetWordWarp(f.text, f.breite), f.erwartet) << f.name;
}

struct LayoutFall {
    const char* name;
    int oben;
    int unten;
    int links;
    int x1;
    int x2;
    QString text;
    int seiten;
    int zeilen;
    int letzteY;
};

QString zeilen(int n)
{
    QStringList liste;
    for (int i = 1; i <= n; ++i)
        liste << QStringLiteral("Zeile %1").arg(i);
    return liste.join('\r');
}

QString woerter(int n)
{
    return QStringList(n, QStringLiteral("wort")).join(' ');
}

// Header line at the top margin, the body from one line (50) below; a line fits while its bottom
// stays at or above the bottom margin.
TEST_F(Druckauftrag, BlockLayouts)
{
    const LayoutFall faelle[] = {
        // 2720 - 300 = 2420 per page: 48 lines (the 48th ends at 2700).
        {"40 Zeilen auf einer Seite", 250, 250, 250, 0, 1600, zeilen(40), 1, 40, 300 + 39 * 50},
        {"100 Zeilen: 48 + 48 + 4", 250, 250, 250, 0, 1600, zeilen(100), 3, 100, 300 + 3 * 50},
        // 2870 - 150 = 2720: 54 lines per page.
        {"schmale Ränder: 54 + 46", 100, 100, 100, 100, 1700, zeilen(100), 2, 100, 150 + 45 * 50},
        {"linker Rand verschiebt x", 250, 250, 400, 50, 300, zeilen(2), 1, 2, 350},
        // "wort wort wort wort" is 190 wide: four words per line, twelve words in three lines.
        {"umbrochene Wörter", 250, 250, 250, 0, 200, woerter(12), 1, 3, 400},
        // Three words (140) per line at 150: twelve words in four lines.
        {"schmalere Spalte", 250, 250, 250, 1000, 1150, woerter(12), 1, 4, 450},
        {"Spalte von rechts nach links", 250, 250, 250, 1150, 1000, woerter(12), 1, 4, 450},
        {"Umbruch mitten im Wortblock", 250, 250, 250, 0, 200, woerter(4 * 50), 2, 50,
         300 + 1 * 50},
    };
    for (const LayoutFall& f : faelle) {
        SCOPED_TRACE(f.name);
        druck.Raender = [&](TestDruck& d) {
            d.SetSeitenrandOben(f.oben);
            d.SetSeitenrandUnten(f.unten);
            d.SetSeitenrandLinks(f.links);
        };
        druck.Inhalt = [&](TestDruck& d) {
            d.SetzeSchrift(QStringLiteral("DejaVu Sans"), 10, 0, 0, false);
            d.PrintBlock(f.x1, f.x2, f.text, true);
        };
        druck.DruckeInhalt(nullptr);
        const auto texte = Texte(druck.Paper());
        std::vector<TextEintrag> block;
        for (const TextEintrag& t : texte)
            if (!t.text.startsWith("Kopf"))
                block.push_back(t);
        ASSERT_EQ(int(block.size()), f.zeilen);
        EXPECT_EQ(druck.AktSeite(), f.seiten);
        EXPECT_EQ(druck.Preview->MaxPage(), f.seiten);
        EXPECT_EQ(block.back().seite, f.seiten);
        EXPECT_EQ(block.back().y, f.letzteY);
        EXPECT_EQ(druck.Pos, f.letzteY + 50) << "NeueZeile ends one line below the block";
        for (const TextEintrag& t : block) {
            EXPECT_EQ(t.x, f.links + f.x1);
            EXPECT_LE(t.y + 50, druck.GetPosRandUnten()) << t.text.toStdString();
            EXPECT_LE(t.text.size() * 10, std::abs(f.x2 - f.x1)) << t.text.toStdString();
        }
    }
}

TEST_F(Druckauftrag, NextColumnOfARowThatBrokeThePageStandsBesideTheContinuation)
{
    druck.Seitenrahmen();
    druck.SetzeSchrift(QStringLiteral("DejaVu Sans"), 9, fsItalic, 0, false);
    druck.Pos = 2620;  // two lines fit, the third goes to page 2
    const bool umbruch = druck.PrintBlock(0, 500, "a\rb\rc\rd", false);
    druck.PrintText(800, QStringLiteral("Spalte 2"), false);

    EXPECT_TRUE(umbruch);
    const auto texte = Texte(druck.Paper());
    const TextEintrag* c = Finde(texte, "c");
    const TextEintrag* spalte = Finde(texte, "Spalte 2");
    ASSERT_TRUE(c && spalte);
    EXPECT_EQ(c->seite, 2);
    EXPECT_EQ(c->y, 300);
    EXPECT_EQ(spalte->seite, 2);
    EXPECT_EQ(spalte->y, c->y) << "the next column continues the row on the new page";
    EXPECT_EQ(c->stil, fsItalic) << "the block keeps its font after the page frame";
}

TEST_F(Druckauftrag, BlockWithoutBreakReturnsToItsStart)
{
    druck.Pos = 700;
    EXPECT_FALSE(druck.PrintBlock(0, 500, "a\rb\rc", false));
    EXPECT_EQ(druck.Pos, 700);
    EXPECT_FALSE(druck.PrintBlock(0, 500, "a\rb\rc", true));
    EXPECT_EQ(druck.Pos, 700 + 3 * 50);
}

TEST_F(Druckauftrag, PrintWertPrintsLabelPlainAndValueBold)
{
    druck.SetzeSchrift(QStringLiteral("DejaVu Sans"), 10, fsItalic | fsUnderline, 0, false);
    druck.Pos = 500;
    druck.PrintWert("Name:", "Berta", 0, 300, true, true);
    druck.PrintWert("Nummer:", "DE 01 234", 0, 300, false, false);
    const auto texte = Texte(druck.Paper());
    EXPECT_EQ(Finde(texte, "Name:")->stil, 0);
    EXPECT_EQ(Finde(texte, "Berta")->stil, fsBold);
    EXPECT_EQ(Finde(texte, "Berta")->x, 250 + 300);
    EXPECT_EQ(Finde(texte, "Nummer:")->stil, fsItalic | fsUnderline);
    EXPECT_EQ(Finde(texte, "Nummer:")->y, 550);
    EXPECT_EQ(druck.SchriftStil(), fsItalic | fsUnderline);
    EXPECT_EQ(druck.Pos, 550);
}

TEST_F(Druckauftrag, MarkerFlagTakesTheStandardAlignment)
{
    druck.StandardAusrichtung = TA_BOTTOM;
    druck.PrintText(100, "rechts unten", false, taRightJustify, kStandardAusrichtung);
    druck.PrintText(100, 900, "mitte", false, taCenter, 0);
    const auto texte = Texte(druck.Paper());
    EXPECT_EQ(Finde(texte, "rechts unten")->ausrichtung, TA_RIGHT + TA_BOTTOM);
    EXPECT_EQ(Finde(texte, "mitte")->ausrichtung, TA_CENTER);
    EXPECT_EQ(Finde(texte, "mitte")->y, 900);
    EXPECT_EQ(druck.Pos, 900);
}

// Real printer metrics from here on.
class DruckauftragMetrik : public ::testing::Test {
protected:
    FakeDrucker drucker;
    TestDruck druck{drucker, std::make_unique<AufzeichnendeAusgabe>()};
    void SetUp() override { druck.InitDruck(); }
};

TEST_F(DruckauftragMetrik, LineHeightFollowsTheSpacing)
{
    druck.SetzeSchrift(QStringLiteral("DejaVu Sans"), 10, 0, 0, false);
    const int h = druck.Paper().TextHeight("A");
    ASSERT_GT(h, 20);
    EXPECT_EQ(druck.Zeilenhoehe(), h);
    druck.Zeilenabstand = 1.5L;
    EXPECT_EQ(druck.Zeilenhoehe(), int(h * 1.5 + 0.5));
}

TEST_F(DruckauftragMetrik, NarrowBlocksWrapAtTheirNarrowWidthAndStayNarrowAcrossPages)
{
    const QString text = QStringList(120, QStringLiteral("Besamung")).join(' ');
    druck.SetzeSchrift(QStringLiteral("DejaVu Sans"), 10, 0, 0, false);
    const int breiteZeilen = druck.GetWordWarp(text, 600).count('\r') + 1;
    druck.SetzeSchrift(QStringLiteral("DejaVu Sans"), 10, 0, 0, true);
    const QString schmal = druck.GetWordWarp(text, 600);
    EXPECT_LT(schmal.count('\r') + 1, breiteZeilen * 85 / 100);
    for (const QString& zeile : schmal.split('\r'))
        EXPECT_LE(druck.TextBreite(zeile), 600);

    druck.Pos = druck.GetPosRandUnten() - 3 * druck.Zeilenhoehe();
    EXPECT_TRUE(druck.PrintBlock(0, 600, text, true));
    int narrowOnPage2 = 0;
    for (const TextEintrag& t : Texte(druck.Paper()))
        if (t.text.startsWith("Besamung")) {
            EXPECT_TRUE(t.stil & fsNarrow) << "line on page " << t.seite;
            if (t.seite == 2)
                ++narrowOnPage2;
        }
    EXPECT_GT(narrowOnPage2, 0);
}

const QByteArray kRtf =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Sans;}}\\f0\\fs20 Die Kuh gibt Milch. "
    "Die Kuh gibt Milch. Die Kuh gibt Milch. Die Kuh gibt Milch. Die Kuh gibt Milch.\\par}";

TEST_F(DruckauftragMetrik, RichTextBlockContinuesOnNewPagesAndSetsPos)
{
    QByteArray lang = "{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Sans;}}\\f0\\fs20 ";
    for (int i = 0; i < 150; ++i)
        lang += "Absatz " + QByteArray::number(i) + "\\par ";
    lang += "}";
    druck.Pos = 2000;
    druck.PrintTextBlockRich(lang, 0, 1600, true);
    EXPECT_GE(druck.AktSeite(), 2);
    EXPECT_GT(druck.Pos, druck.SeitenrandOben());
    EXPECT_LE(druck.Pos, druck.GetPosRandUnten());

    druck.InitDruck();
    druck.Pos = 500;
    druck.PrintTextBlockRich(kRtf, 0, 1600, false);
    EXPECT_EQ(druck.Pos, 500);
    EXPECT_EQ(druck.AktSeite(), 1);
}

TEST_F(DruckauftragMetrik, RichTextThatFitsNoEmptyPageEndsWithAnError)
{
    druck.SetSeitenrandUnten(2970 - 260);  // one millimetre between top and bottom margin
    druck.Pos = druck.SeitenrandOben();
    try {
        druck.PrintTextBlockRich(kRtf, 0, 1600, true);
        ADD_FAILURE() << "no error";
    } catch (const std::overflow_error&) {
        ADD_FAILURE() << "pages were added until the page numbers ran out";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(QString::fromUtf8(e.what()).indexOf("leere Seite"), -1);
    }
    EXPECT_LE(druck.AktSeite(), 2);
}

}  // namespace
