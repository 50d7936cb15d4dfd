#include <FloatEditRegeln.h>

#include <gtest/gtest.h>

using namespace FloatEditRegeln;

namespace {

Bereich B(int digits, long double min, long double max, bool allowNull = true)
{
    return {digits, min, max, allowNull, QLatin1Char(',')};
}

}  // namespace

TEST(FloatEditRegeln, ShowsFixedDecimalsWithTheSeparator)
{
    EXPECT_EQ(ZahlText(100, 2, QLatin1Char(',')), QStringLiteral("100,00"));
    EXPECT_EQ(ZahlText(25, 1, QLatin1Char(',')), QStringLiteral("25,0"));
    EXPECT_EQ(ZahlText(-5, 0, QLatin1Char(',')), QStringLiteral("-5"));
    EXPECT_EQ(ZahlText(-0.001L, 2, QLatin1Char(',')), QStringLiteral("0,00"));
    EXPECT_EQ(ZahlText(1234567.891L, 2, QLatin1Char('.')), QStringLiteral("1234567.89"));
}

TEST(FloatEditRegeln, ReadsEntries)
{
    const struct {
        const char* text;
        Bereich b;
        Lesung::Art art;
        long double wert;
    } faelle[] = {
        {"12,5", B(2, 0, 100), Lesung::Zahl, 12.5L},
        {"12,345", B(2, 0, 100), Lesung::Zahl, 12.35L},
        {"100", B(2, 0, 100), Lesung::Zahl, 100},
        {"150", B(2, 0, 100), Lesung::Ausserhalb, 150},
        {"-5", B(0, -10, 10), Lesung::Zahl, -5},
        {"-11", B(0, -10, 10), Lesung::Ausserhalb, -11},
        {"1,2,3", B(2, 0, 100), Lesung::Unlesbar, 0},
        {"1.5", B(2, 0, 100), Lesung::Unlesbar, 0},
        {"abc", B(2, 0, 100), Lesung::Unlesbar, 0},
        // Empty entries: NULL with AllowNull, otherwise 0, which must lie in the range.
        {"", B(2, 0, 100), Lesung::Leer, 0},
        {"-", B(2, -10, 100), Lesung::Leer, 0},
        {",", B(2, 0, 100), Lesung::Leer, 0},
        {"", B(2, 0, 100, false), Lesung::Zahl, 0},
        {"-", B(2, -10, 100, false), Lesung::Zahl, 0},
        {"", B(2, 5, 100, false), Lesung::Ausserhalb, 0},
    };
    for (const auto& f : faelle) {
        const Lesung l = Lesen(QString::fromUtf8(f.text), f.b);
        EXPECT_EQ(l.art, f.art) << f.text;
        EXPECT_DOUBLE_EQ(double(l.wert), double(f.wert)) << f.text;
    }
}

TEST(FloatEditRegeln, FiltersTypedCharacters)
{
    const struct {
        const char* text;
        int selStart, selLen;
        char ch;
        Bereich b;
        Taste::Art art;
        const char* ersetzt;
        int selStartNeu, selLenNeu;
    } faelle[] = {
        {"", 0, 0, '5', B(2, 0, 100), Taste::Annehmen, "", 0, 0},
        {"", 0, 0, 'a', B(2, 0, 100), Taste::Ablehnen, "", 0, 0},
        {"", 0, 0, '.', B(2, 0, 100), Taste::Ablehnen, "", 0, 0},
        // Minus only with a negative Min, only once and only in front.
        {"", 0, 0, '-', B(2, 0, 100), Taste::Ablehnen, "", 0, 0},
        {"", 0, 0, '-', B(2, -10, 100), Taste::Ersetzen, "-0", 1, 1},
        {"-0", 1, 1, '5', B(2, -10, 100), Taste::Annehmen, "", 0, 0},
        {"5", 1, 0, '-', B(2, -10, 100), Taste::Ablehnen, "", 0, 0},
        {"5", 0, 0, '-', B(2, -10, 100), Taste::Annehmen, "", 0, 0},
        {"-5", 0, 0, '-', B(2, -10, 100), Taste::Ablehnen, "", 0, 0},
        {"-5", 0, 2, '-', B(2, -10, 100), Taste::Ersetzen, "-0", 1, 1},
        // The separator: once, only with decimals; alone it becomes 0,0.
        {"", 0, 0, ',', B(2, 0, 100), Taste::Ersetzen, "0,0", 2, 1},
        {"", 0, 0, ',', B(0, 0, 100), Taste::Ablehnen, "", 0, 0},
        {"1,5", 3, 0, ',', B(2, 0, 100), Taste::Ablehnen, "", 0, 0},
        {"1,5", 1, 2, ',', B(2, 0, 100), Taste::Annehmen, "", 0, 0},
        {"12", 1, 0, ',', B(2, 0, 100), Taste::Annehmen, "", 0, 0},
        // No more decimals than Digits.
        {"1,25", 4, 0, '3', B(2, 0, 100), Taste::Ablehnen, "", 0, 0},
        {"1,25", 3, 1, '3', B(2, 0, 100), Taste::Annehmen, "", 0, 0},
        {"1,25", 0, 0, '3', B(2, 0, 100), Taste::Annehmen, "", 0, 0},
        {"125", 1, 0, ',', B(1, 0, 100), Taste::Ablehnen, "", 0, 0},
    };
    for (const auto& f : faelle) {
        const Taste t =
            Zeichen(QString::fromUtf8(f.text), f.selStart, f.selLen, QLatin1Char(f.ch), f.b);
        EXPECT_EQ(t.art, f.art) << f.text << " + " << f.ch;
        if (t.art == Taste::Ersetzen) {
            EXPECT_EQ(t.text, QString::fromUtf8(f.ersetzt)) << f.text << " + " << f.ch;
            EXPECT_EQ(t.selStart, f.selStartNeu);
            EXPECT_EQ(t.selLen, f.selLenNeu);
        }
    }
}

TEST(FloatEditRegeln, NamesTheAllowedRange)
{
    const Bereich b = B(2, 0, 100);
    EXPECT_EQ(Fehlertext({Lesung::Ausserhalb, 150}, b),
              QStringLiteral("Die Zahl liegt außerhalb des erlaubten Bereichs.\rErlaubt sind "
                             "Zahlen von 0,00 bis 100,00."));
    EXPECT_TRUE(
        Fehlertext({Lesung::Unlesbar, 0}, b).startsWith(QStringLiteral("Die Eingabe ist keine")));
}

TEST(FloatEditRegeln, RangeNarrowsToTheColumnInShownUnits)
{
    // A SMALLINT column (-32768 .. 32767) behind edits with different factors and decimals: a
    // bound that falls between two shown values is taken inwards, so that the rounded entry fits.
    const struct {
        const char* fall;
        Bereich b;
        long double factor;
        long double min;
        long double max;
    } faelle[] = {
        {"edit range wider", B(0, -1e9L, 1e9L), 1, -32768, 32767},
        {"edit range narrower", B(2, 0, 100), 1, 0, 100},
        {"half factor, no decimals", B(0, -1e9L, 1e9L), 0.5L, -16384, 16383},
        {"percent with one decimal", B(1, -1e9L, 1e9L), 100, -3276800, 3276700},
        {"negative factor", B(0, -1e9L, 1e9L), -1, -32767, 32768},
    };
    for (const auto& f : faelle) {
        const Bereich r = InSpalte(f.b, -32768, 32767, f.factor);
        EXPECT_EQ(r.min, f.min) << f.fall;
        EXPECT_EQ(r.max, f.max) << f.fall;
        EXPECT_EQ(r.digits, f.b.digits) << f.fall;
    }
}
