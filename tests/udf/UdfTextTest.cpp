#include "UdfTestHilfen.h"

#include <UdfBreiten.h>
#include <UdfExport.h>
#include <UdfText.h>
#include <UdfTrace.h>

#include <gtest/gtest.h>

#include <climits>
#include <thread>
#include <string>
#include <vector>

using namespace Udf;

TEST(ZRNV_FORMATBNR, GroupsHoldingNumbers)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"276091234567890", "276 09 123 456 7890"},
        {"0912345678", "091 23 456 78 "},
        {"123", "123    "},
        {"", "    "},
        {"12345678901234567890", "123 45 678 901 23456"},  // cut at the declared width
    };
    for (const auto& [bnr, text] : cases) {
        SCOPED_TRACE(bnr);
        Puffer<Breite::Bnr> out;
        EXPECT_STREQ(ZRNV_FORMATBNR(bnr, out.get()), text);
        EXPECT_TRUE(out.unversehrt());
    }
    Puffer<Breite::Bnr> out;
    EXPECT_STREQ(ZRNV_FORMATBNR(nullptr, out.get()), "");
}

TEST(ZRNV_CORRECTBNR, RemovesBlanksAndAddsTheCountry)
{
    EXPECT_EQ(ZRNV_CORRECTBNR(nullptr), nullptr);
    EXPECT_STREQ(ZRNV_CORRECTBNR("09 123 456 7890"), "276091234567890");
    EXPECT_STREQ(ZRNV_CORRECTBNR("276 09 123 456 7890"), "276091234567890");
    EXPECT_STREQ(ZRNV_CORRECTBNR("0912345678"), "0912345678");
    EXPECT_STREQ(ZRNV_CORRECTBNR(""), "");
    EXPECT_STREQ(ZRNV_CORRECTBNR("12345678901234567890"), "123456789012345");
}

TEST(ZRNV_FORMATZAHL, PadsWithZerosWithinTheRoom)
{
    struct Case {
        ISC_LONG wert, breite;
        std::string text;
    };
    const std::vector<Case> cases = {
        {-5, 4, "00-5"},
        {42, 6, "000042"},
        {12345, 2, "12345"},
        {42, -3, "42"},
        {42, 1000000, std::string(30, '0') + "42"},  // never wider than the declared room
        {INT_MIN, 0, "-2147483648"},
    };
    for (const Case& c : cases) {
        Puffer<Breite::FormatZahl> out;
        EXPECT_EQ(ZRNV_FORMATZAHL(&c.wert, &c.breite, out.get()), c.text);
        EXPECT_TRUE(out.unversehrt());
    }
}

TEST(ZRNV_FORMATFLOAT, GermanNumbersAndRefusedPatterns)
{
    struct Case {
        double wert;
        const char* muster;
        const char* text;
    };
    const std::vector<Case> cases = {
        {1234.56, "%.2f", "1234,56"},
        {1234.56, "%f", "1234,56"},
        {1234.56, "%.1f kg", "1234,6 kg"},
        {1234.56, "%.2n", "1.234,56"},
        {-1234567.891, "%n", "-1.234.567,89"},
        {-0.001, "%.2n", "0,00"},
        {1234.56, "%10.1f|", "    1234,6|"},
        {1234.56, "%-10.1f|", "1234,6    |"},
        {1234.56, "%e", "1,23456000000000E+003"},
        {1234.56, "%.3e", "1,23E+003"},
        {1234.56, "%g", "1234,56"},
        {1234.56, "%0:.0f/%0:.1f", "1235/1234,6"},
        {50, "%.0f%%", "50%"},
        {1, "Text", "Text"},
        {1, "%s", "-ERROR-"},
        {1, "%d", "-ERROR-"},
        {1, "%x", "-ERROR-"},
        {1, "%n%n", "-ERROR-"},  // a second number is not there
        {1, "%f %s", "-ERROR-"},
        {1, "%1:f", "-ERROR-"},
        {1, "%*f", "-ERROR-"},
        {1, "%.2", "-ERROR-"},
        {1, "abc%", "-ERROR-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.muster);
        Puffer<Breite::FormatFloat> out;
        EXPECT_STREQ(ZRNV_FORMATFLOAT(&c.wert, c.muster, out.get()), c.text);
        EXPECT_TRUE(out.unversehrt());
    }
    // A width or number beyond the room is cut there.
    const double eins = 1;
    Puffer<Breite::FormatFloat> breit;
    const std::string_view rechts = ZRNV_FORMATFLOAT(&eins, "%1000000.2f", breit.get());
    EXPECT_EQ(rechts.size(), Breite::FormatFloat);
    EXPECT_EQ(rechts.find_first_not_of(' '), 60u);
    EXPECT_TRUE(rechts.ends_with("1,00"));
    EXPECT_TRUE(breit.unversehrt());
    const double gross = 1e300;
    Puffer<Breite::FormatFloat> out;
    const std::string text = ZRNV_FORMATFLOAT(&gross, "%.18f", out.get());
    EXPECT_EQ(text.size(), Breite::FormatFloat);
    EXPECT_TRUE(text.starts_with("1000000000"));
    EXPECT_TRUE(out.unversehrt());
}

TEST(ZRNV_FORMATINT, ThousandsSeparators)
{
    const std::vector<std::pair<ISC_LONG, const char*>> cases = {
        {0, "0"},
        {999, "999"},
        {1000, "1.000"},
        {-1234567, "-1.234.567"},
        {INT_MIN, "-2.147.483.648"},
        {INT_MAX, "2.147.483.647"},
    };
    for (const auto& [wert, text] : cases) {
        Puffer<Breite::FormatInt> out;
        EXPECT_STREQ(ZRNV_FORMATINT(&wert, out.get()), text);
        EXPECT_TRUE(out.unversehrt());
    }
}

TEST(ZRNV_HARNSTOFF, ValueWithUnit)
{
    struct Case {
        ISC_LONG wert, mgdl;
        const char* text;
    };
    const std::vector<Case> cases = {
        {255, 1, "25,5 mg/dl"}, {250, 7, "25,0 mg/dl"}, {0, 1, "0,0 mg/dl"},
        {-5, 1, "-0,5 mg/dl"},  {255, 0, "255 ppm"},    {INT_MIN, 1, "-214748364,8 mg/dl"},
    };
    for (const Case& c : cases) {
        Puffer<Breite::Harnstoff> out;
        EXPECT_STREQ(ZRNV_HARNSTOFF(&c.wert, &c.mgdl, out.get()), c.text);
        EXPECT_TRUE(out.unversehrt());
    }
}

namespace {
std::vector<std::string> gZeilen;
void Merken(std::string_view zeile)
{
    gZeilen.emplace_back(zeile);
}
}  // namespace

TEST(ZRNV_DEBUG, TracesTheTextAsData)
{
    gZeilen.clear();
    TraceSenkeSetzen(Merken);
    Puffer<Breite::Debug> out;
    EXPECT_STREQ(ZRNV_DEBUG("Trigger %s%n", out.get()), "Debug");
    EXPECT_STREQ(ZRNV_DEBUG(nullptr, out.get()), "Debug");
    TraceSenkeSetzen(nullptr);
    EXPECT_EQ(gZeilen, (std::vector<std::string>{"DB: Trigger %s%n", "DB: "}));
    EXPECT_TRUE(out.unversehrt());
}

TEST(ZRNV_FieldLists, QualifiedNames)
{
    Puffer<Breite::Feldliste> out;
    EXPECT_STREQ(ZRNV_GET_FELD("Q1.NAME;Q2.KNR;S.ALTER", out.get()), "Q1.NAME");
    EXPECT_STREQ(ZRNV_GET_FELD("Q1.NAME", out.get()), "Q1.NAME");
    EXPECT_STREQ(ZRNV_GET_FELD("", out.get()), "");
    EXPECT_STREQ(ZRNV_DEL_FELD("Q1.NAME;Q2.KNR;S.ALTER", out.get()), "Q2.KNR;S.ALTER");
    EXPECT_STREQ(ZRNV_DEL_FELD("Q1.NAME", out.get()), "");
    EXPECT_STREQ(ZRNV_DEL_FELD("Q1.NAME;", out.get()), "");

    const std::vector<std::pair<const char*, ISC_LONG>> quellen = {
        {"Q2.NAME", 2}, {"S.ALTER", 1}, {"Q", 1}, {"", 1}, {"Q0.X", 0}, {"Q9", 9}};
    for (const auto& [feld, quelle] : quellen)
        EXPECT_EQ(ZRNV_GET_QUELLE(feld), quelle) << feld;

    const std::vector<std::pair<const char*, ISC_LONG>> spezial = {
        {"S.ALTER", 1}, {"S.", 0}, {"s.ALTER", 0}, {"Q1.S.X", 0}, {"S.X", 1}};
    for (const auto& [feld, ist] : spezial)
        EXPECT_EQ(ZRNV_IS_SPEZIALFELD(feld), ist) << feld;

    Puffer<Breite::Feldname> pur;
    EXPECT_STREQ(ZRNV_GET_FELD_PUR("Q2.NAME", pur.get()), "NAME");
    EXPECT_STREQ(ZRNV_GET_FELD_PUR("NAME", pur.get()), "NAME");
    EXPECT_STREQ(ZRNV_GET_FELD_PUR("Q1.A.B", pur.get()), "A.B");
    EXPECT_TRUE(out.unversehrt() && pur.unversehrt());
}

// A missing text gives the empty result. Copying from a missing text is undefined even for no
// bytes, which only a sanitizer shows: the fuzz build reruns that input (tests/fuzz/corpus).
TEST(ZRNV_FieldLists, MissingTextsGiveEmptyResults)
{
    using Textfunktion = char* (*)(const char*, char*);
    const std::vector<std::pair<const char*, Textfunktion>> funktionen = {
        {"ZRNV_GET_FELD", ZRNV_GET_FELD},
        {"ZRNV_DEL_FELD", ZRNV_DEL_FELD},
        {"ZRNV_GET_FELD_PUR", ZRNV_GET_FELD_PUR},
        {"ZRNV_GESCHLECHT", ZRNV_GESCHLECHT},
        {"ZRNV_SORT_WOCHENTAGE", ZRNV_SORT_WOCHENTAGE},
    };
    for (const auto& [name, f] : funktionen) {
        SCOPED_TRACE(name);
        for (const char* text : {static_cast<const char*>(nullptr), ""}) {
            Puffer<Breite::Feldliste> out;
            EXPECT_STREQ(f(text, out.get()), "");
        }
    }
    EXPECT_EQ(ZRNV_GET_QUELLE(nullptr), 1);
    EXPECT_EQ(ZRNV_IS_SPEZIALFELD(nullptr), 0);
    Puffer<0> leer;
    EXPECT_STREQ(Ausgeben(leer.get(), std::string_view(), 0), "");
    EXPECT_TRUE(leer.unversehrt());
}

namespace {

// A blob that hands out its text in segments of a fixed size, as the engine does.
struct FakeBlob {
    std::string text;
    std::size_t segment;
    std::size_t pos = 0;
    int aufrufe = 0;
};

short SegmentLesen(void* hnd, ISC_UCHAR* buffer, ISC_USHORT groesse, ISC_USHORT* laenge)
{
    auto* blob = static_cast<FakeBlob*>(hnd);
    ++blob->aufrufe;
    const std::size_t n =
        std::min({blob->segment, static_cast<std::size_t>(groesse), blob->text.size() - blob->pos});
    std::memcpy(buffer, blob->text.data() + blob->pos, n);
    blob->pos += n;
    *laenge = static_cast<ISC_USHORT>(n);
    if (n == 0)
        return blb_got_eof;
    return n < blob->segment && blob->pos < blob->text.size() ? blb_got_fragment
                                                              : blb_got_full_segment;
}

std::string BlobLinks(FakeBlob& fake, ISC_LONG n, bool* unversehrt = nullptr)
{
    blobcallback cb{};
    cb.blob_get_segment = SegmentLesen;
    cb.blob_handle = &fake;
    cb.blob_total_length = static_cast<ISC_LONG>(fake.text.size());
    Puffer<Breite::BlobLinks> out;
    const std::string r = ZRNV_BLOB_LEFT(&cb, &n, out.get());
    if (unversehrt != nullptr)
        *unversehrt = out.unversehrt();
    return r;
}

}  // namespace

TEST(ZRNV_BLOB_LEFT, ReadsSegmentsUpToN)
{
    FakeBlob kurz{"Hallo Welt, wie geht's?", 4};
    EXPECT_EQ(BlobLinks(kurz, 10), "Hallo Welt");
    FakeBlob ganz{"Hallo Welt", 3};
    EXPECT_EQ(BlobLinks(ganz, 500), "Hallo Welt");  // n beyond the blob: the whole blob
    FakeBlob null{"Hallo", 3};
    EXPECT_EQ(BlobLinks(null, 0), "");
    EXPECT_EQ(BlobLinks(null, -1), "");
    EXPECT_EQ(null.aufrufe, 0);
    FakeBlob leer{"", 3};
    EXPECT_EQ(BlobLinks(leer, 5), "");

    // A blob and an n beyond the declared room: cut there, nothing written past it.
    FakeBlob lang{std::string(5000, 'x'), 700};
    bool unversehrt = false;
    EXPECT_EQ(BlobLinks(lang, 5000, &unversehrt), std::string(Breite::BlobLinks, 'x'));
    EXPECT_TRUE(unversehrt);

    Puffer<Breite::BlobLinks> out;
    const ISC_LONG n = 5;
    EXPECT_STREQ(ZRNV_BLOB_LEFT(nullptr, &n, out.get()), "");
    blobcallback ohneHandle{};
    ohneHandle.blob_get_segment = SegmentLesen;
    ohneHandle.blob_total_length = 5;
    EXPECT_STREQ(ZRNV_BLOB_LEFT(&ohneHandle, &n, out.get()), "");
}

TEST(ZRNV_Texts, EolConcatAndSex)
{
    Puffer<Breite::Eol> eol;
    EXPECT_STREQ(EOL(eol.get()), "\r\n");
    EXPECT_TRUE(eol.unversehrt());

    Puffer<Breite::StrCat> cat;
    EXPECT_STREQ(ZRNV_STR_CAT("ab", "cd", cat.get()), "abcd");
    EXPECT_STREQ(ZRNV_STR_CAT(nullptr, "cd", cat.get()), "cd");
    EXPECT_STREQ(ZRNV_STR_CAT("ab", nullptr, cat.get()), "ab");
    const std::string a(Breite::StrCatTeil, 'a'), b(Breite::StrCatTeil, 'b');
    EXPECT_EQ(ZRNV_STR_CAT(a.c_str(), b.c_str(), cat.get()), a + b);
    EXPECT_TRUE(cat.unversehrt());

    const std::vector<std::pair<const char*, const char*>> geschlechter = {
        {"M", "m"},       {"W", "w"},       {"MM", "m/m"},    {"MW", "m/w"},    {"WW", "w/w"},
        {"MMM", "m/m/m"}, {"MMW", "m/m/w"}, {"MWW", "m/w/w"}, {"WWW", "w/w/w"}, {"MER", "Mehrling"},
        {"m", "m"},       {"X", "X"},       {"", ""},         {"WMW", "WMW"},
    };
    for (const auto& [code, text] : geschlechter) {
        Puffer<Breite::Geschlecht> out;
        EXPECT_STREQ(ZRNV_GESCHLECHT(code, out.get()), text) << code;
        EXPECT_TRUE(out.unversehrt());
    }
}

TEST(ZRNV_HOTSYNC, OneFlagForTheProcess)
{
    const ISC_LONG eins = 1, null = 0, fuenf = 5;
    EXPECT_EQ(ZRNV_SET_HOTSYNC(&eins), 1);
    EXPECT_EQ(ZRNV_GET_HOTSYNC(), 1);
    EXPECT_EQ(ZRNV_SET_HOTSYNC(&null), 0);
    EXPECT_EQ(ZRNV_GET_HOTSYNC(), 0);
    EXPECT_EQ(ZRNV_SET_HOTSYNC(&fuenf), 5);
    std::thread([] { EXPECT_EQ(ZRNV_GET_HOTSYNC(), 1); }).join();
    EXPECT_EQ(ZRNV_SET_HOTSYNC(&null), 0);
}
