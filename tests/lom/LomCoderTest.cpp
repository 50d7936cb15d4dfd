#include <LomCoder.h>
#include <LomLaender.h>
#include <LomTools.h>

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

using namespace Lom;

namespace {

struct RundCase {
    const char* eingabe;
    int64_t nummer;
    const char* gedruckt;
};

int64_t Kodiert(std::string_view text, int* fehler = nullptr)
{
    int64_t n = -1;
    const int r = EncodeLom(text, n);
    if (fehler != nullptr)
        *fehler = r;
    return n;
}

}  // namespace

// Every country: the printed form in, its number out, and back to the printed form.
TEST(EncodeLom, CountriesRoundTrip)
{
    const std::vector<RundCase> cases = {
        {"AT 123 456 189", 40000123456189, "AT 123 456 189"},
        {"AT 1234561893456", 40000123456189, "AT 123 456 189"},  // extended: 3-6 repeated
        {"BE 3 1234 5678", 56000312345678, "BE 3 1234 5678"},
        {"BE 10000003", 56000010000003, "BE 0 1000 0003"},  // 8 digits, check digit 0
        {"DE 01 234 56789", 276000123456789, "DE 01 234 56789"},
        {"DK 12345 6789", 208000123456789, "DK 12345 6789"},
        {"DK 123 4567 8901", 208012345678901, "DK 123 4567 8901"},
        {"FI 7 123 456 789", 246007123456789, "FI 7 123 456 789"},
        {"FI 71234567896789", 246007123456789, "FI 7 123 456 789"},
        {"FR 123 456 7890", 250001234567890, "FR 123 456 7890"},
        {"EL 1234 5678 9012", 300123456789012, "EL 1234 5678 9012"},
        {"EL 12345678901289012", 300123456789012, "EL 1234 5678 9012"},
        {"IE 12 34567 8 9012", 372123456789012, "IE 12 34567 8 9012"},
        {"IE ABCD 1234 Q", 930000731123415, "IE ABCD 1234 Q"},
        {"ie abcd-1234-q", 930000731123415, "IE ABCD 1234 Q"},
        {"IT 001123456789", 380001123456789, "IT 001123456789"},
        {"IT TO 123456789", 380001123456789, "IT 001123456789"},
        {"IT 103123456789", 380103123456789, "IT 103123456789"},   // VB, the last province
        {"IT 001123456", 380001000123456, "IT 001000123456"},      // 9 digits padded to 12
        {"IT 0011234567891", 380001123456789, "IT 001123456789"},  // 13th digit dropped
        {"IT 123 TO 456 A 789", 910010123456789, "IT123TO456A789"},
        {"IT TO 123 456 B 789", 910011123456789, "IT123TO456B789"},
        {"LU 123456", 442000000123456, "LU 123456"},
        {"LU 12345678", 442000312345678, "LU 3 1234 5678"},  // check digit put in front
        {"LU 3 1234 5678", 442000312345678, "LU 3 1234 5678"},
        {"NL 123 456 782", 528000123456782, "NL 123 456 782"},
        {"NL 1234567825678", 528000123456782, "NL 123 456 782"},
        {"PT 1 0 3456 7890", 620001034567890, "PT 1 0 3456 7890"},
        {"PT 1034567890890", 620001034567890, "PT 1 0 3456 7890"},
        {"ES 1 2 34 5678 9012", 724123456789012, "ES 1 2 34 5678 9012"},
        {"SE 12345 6789 0", 752001234567890, "SE 12345 6789 0"},
        {"SE 001234567890", 752001234567890, "SE 12345 6789 0"},  // 12 digits lose "00"
        {"SE 123456-7890-1", 752012345678901, "SE 123456-7890-1"},
        {"SE 912345678901", 752012345678901, "SE 123456-7890-1"},  // 12 digits lose one
        {"UK 123 4567 89012", 826123456789012, "UK 123 4567 89012"},
        {"UK 1234 567-A", 921000123456710, "UK 1234 567-A"},
        {"UK 1234 567-5", 921000123456705, "UK 1234 567-5"},
        {"UK 12345 67890-Z", 922123456789035, "UK 12345 67890-Z"},
        {"UK AB 1234 56789", 920123456789002, "UK AB 1234 56789"},
        {"UK ZT 1234 56789", 920123456789285, "UK ZT 1234 56789"},
        {"UK A 1234 56789", 920123456789286, "UK A 1234 56789"},
        {"BG 12 345678", 100000012345678, "BG 12 345678"},
        {"CY 1 2345 6789", 196000123456789, "CY 1 2345 6789"},
        {"CZ 123456 789", 203000123456789, "CZ 123456 789"},
        {"EE 12345 67890", 233001234567890, "EE 12345 67890"},
        {"HU 12 345 6789 0", 348001234567890, "HU 12 345 6789 0"},
        {"HU 12345678906789", 348001234567890, "HU 12 345 6789 0"},
        {"LT 12345678", 440000012345678, "LT 12345678"},
        {"LV 12345678 9012", 428123456789012, "LV 12345678 9012"},
        {"MT 123456789012", 470123456789012, "MT 123456789012"},
        {"PL 12 34567 8901 2", 616123456789012, "PL 12 34567 8901 2"},
        {"RO 123 4567 89012", 642123456789012, "RO 123 4567 89012"},
        {"RO 12345678", 642123000045678, "RO 123 0000 45678"},  // 8 digits: 3 + 0000 + 5
        {"SI 12345678", 705000012345678, "SI 12345678"},
        {"SI 123456", 705000000123456, "SI 00123456"},
        {"SK 123456789", 703000123456789, "SK 123456789"},
        {"SK 123456789012", 703123456789012, "SK 123456789012"},
    };
    for (const RundCase& c : cases) {
        SCOPED_TRACE(c.eingabe);
        int fehler = 1;
        EXPECT_EQ(Kodiert(c.eingabe, &fehler), c.nummer);
        EXPECT_EQ(fehler, 0) << LomFehlertext(fehler);
        EXPECT_EQ(DecodeLom(c.nummer), c.gedruckt);
        // The printed form reads back to the same number.
        EXPECT_EQ(Kodiert(c.gedruckt), c.nummer);
    }
    // Every country of the coder is among them, each with its own letters and code.
    std::set<std::string_view> gedruckt, buchstaben;
    std::set<int> iso;
    for (const RundCase& c : cases)
        gedruckt.insert(std::string_view(c.gedruckt).substr(0, 2));
    for (int i = 1; i <= kLaenderAnzahl; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(buchstaben.insert(LandNach(i).buchstaben).second);
        EXPECT_TRUE(iso.insert(LandNach(i).iso).second);
        EXPECT_TRUE(gedruckt.count(LandNach(i).buchstaben));
    }
    EXPECT_EQ(gedruckt, buchstaben);
}

// The many ways users type one German ear tag.
TEST(EncodeLom, GermanSpellingsAndCountryDetection)
{
    const std::vector<std::pair<const char*, int64_t>> cases = {
        {"de 01-234 56789", 276000123456789},
        {"DE0123456789", 276000123456789},
        {"276 01 234 56789", 276000123456789},
        {"0123456789", 276000123456789},
        {"DE 000123456789", 276000123456789},  // surplus leading zeros dropped
        {"DE 22 345 67890", 276002234567890},
        {"40000123456189", 40000123456189},  // a stored number that a country prints
        {"040123456189", 40000123456189},    // numeric prefix 040: Austria
        {"056312345678", 56000312345678},    // numeric prefix 056: Belgium
    };
    for (const auto& [text, nummer] : cases) {
        SCOPED_TRACE(text);
        int fehler = 1;
        EXPECT_EQ(Kodiert(text, &fehler), nummer);
        EXPECT_EQ(fehler, 0);
    }
}

TEST(EncodeLom, ErrorCodes)
{
    const std::vector<std::pair<const char*, int>> cases = {
        {"", kKeineLom},
        {"DE", kKeineLom},
        {" - ", kKeineLom},
        {"DE 123", kZuKurz},
        {"DE 123456789012345", kZuLang},
        {"AT 1234567890", kFalscheLaenge},       // neither 9 nor 13 digits
        {"1234567890123", kLandUnbekannt},       // 13 digits, no known prefix
        {"AT 123 456 789", kPruefzifferFalsch},  // check digit would be 1
        {"BE 4 1234 5678", kPruefzifferFalsch},
        {"FI 6 123 456 789", kPruefzifferFalsch},
        {"IE 12 34567 5 9012", kPruefzifferFalsch},
        {"IE ABCD 1234 A", kPruefzifferFalsch},
        {"NL 123 456 789", kPruefzifferFalsch},
        {"PT 1 5 3456 7890", kPruefzifferFalsch},
        {"LU 4 1234 5678", kPruefzifferFalsch},
        {"UK 12345678A9Z", kFalschesFormat},
        {"UK 12345678901A", kZifferErwartet},  // 12 characters must be digits
        {"DE 17 345 67890", kFalschesFormat},
        {"DE 19 345 67890", kFalschesFormat},
        {"DE 23 345 67890", kFalschesFormat},
        {"123456789012", kFalschesFormat},  // German, 12 significant digits
        {"AT 12A456189", kFalschesFormat},
        {"IE ABC1 1234 Q", kFalschesFormat},
        {"IT 123 TO 456 D 789", kFalschesFormat},
        {"UK 12345", kFalschesFormat},
        {"AT 1234561890000", kErweiterungFalsch},
        {"FI 71234567890000", kErweiterungFalsch},
        {"DE*0123456789", kZeichenUnzulaessig},
        {"DE 01 234 5678ä", kZeichenUnzulaessig},
        {"IT 000123456789", kProvinzUnbekannt},
        {"IT 104123456789", kProvinzUnbekannt},
        {"IT XX 123456789", kProvinzUnbekannt},
        {"IT 123 XX 456 A 789", kProvinzUnbekannt},
        {"UK II 123456789", kProvinzUnbekannt},
        {"IT 12345", kZuKurz},
        {"IT 12345678901234", kZuLang},
        {"IT TO12345", kZuKurz},
        {"BE 12345678", kPruefzifferFehlt},  // 8 digits, check digit would be 3
        {"1001234567", kZuKurz},             // prefix 100 is Bulgaria, not Germany
    };
    for (const auto& [text, code] : cases) {
        SCOPED_TRACE(text);
        int fehler = 0;
        EXPECT_EQ(Kodiert(text, &fehler), 0);
        EXPECT_EQ(fehler, code) << LomFehlertext(fehler);
    }
}

// Every error code has a text of its own; success and unknown codes have none.
TEST(LomFehlertext, EveryErrorHasItsOwnText)
{
    std::set<std::string_view> texte;
    for (int code = kKeineLom; code >= kPruefzifferFehlt; --code) {
        EXPECT_FALSE(LomFehlertext(code).empty()) << code;
        EXPECT_TRUE(texte.insert(LomFehlertext(code)).second) << code;
    }
    for (int code : {0, 1, kPruefzifferFehlt - 1, INT_MIN, INT_MAX})
        EXPECT_TRUE(LomFehlertext(code).empty()) << code;
}

TEST(DecodeLom, FallsBackToFifteenDigits)
{
    const std::vector<std::pair<int64_t, const char*>> cases = {
        {999000000000001, "999000000000001"},  // no country owns 999
        {12345, "000000000012345"},
        {0, "000000000000000"},
        {40001000000000, "040001000000000"},   // Austrian part beyond 9 digits
        {930000731123400, "930000731123400"},  // Irish letter form with check place 00
        {930456976123415, "930456976123415"},  // Irish letters beyond ZZZZ
        {911040123456789, "911040123456789"},  // Italian province 104
        {910013123456789, "910013123456789"},  // Italian letter digit 3
        {920123456789311, "920123456789311"},  // British letter code 311
        {921000123456736, "921000123456736"},  // British check code 36
        {923000000000001, "923000000000001"},
        {1000000000000000, "1000000000000000"},  // more than 15 digits: not cut
        {-1, "0000000000000-1"},
    };
    for (const auto& [nummer, text] : cases)
        EXPECT_EQ(DecodeLom(nummer), text) << nummer;
    EXPECT_FALSE(DecodeLom(INT64_MIN).empty());
}

TEST(LomTools, LengthChecks)
{
    struct Case {
        const char* ein;
        int a, b, c;  // b, c = 0: fewer lengths
        int ergebnis;
        const char* aus;
    };
    const std::vector<Case> cases = {
        {"0001234567", 7, 0, 0, 0, "1234567"},
        {"0001234567", 6, 0, 0, kZuLang, "0001234567"},
        {"12345", 7, 0, 0, kZuKurz, "12345"},
        {"", 7, 0, 0, kFalschesFormat, ""},
        {"12a4567", 7, 0, 0, kZifferErwartet, "12a4567"},
        {"123456789", 13, 9, 0, 0, "123456789"},
        {"1234567890123", 9, 13, 0, 0, "1234567890123"},
        {"1234567890", 9, 13, 0, kFalscheLaenge, "1234567890"},
        {"12345678", 9, 13, 0, kFalscheLaenge, "12345678"},
        {"12345678901234", 9, 13, 0, kZuLang, "12345678901234"},
        {"1234567", 6, 7, 8, 0, "1234567"},
        {"00123456", 6, 7, 8, 0, "123456"},
        {"12345", 6, 7, 8, kFalscheLaenge, "12345"},
        {"123456789", 6, 7, 8, kZuLang, "123456789"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ein);
        std::string z = c.ein;
        const int r = c.c ? LaengePruefen3(z, c.a, c.b, c.c)
                          : (c.b ? LaengePruefen2(z, c.a, c.b) : LaengePruefen(z, c.a));
        EXPECT_EQ(r, c.ergebnis);
        EXPECT_EQ(z, c.aus);
    }
}

TEST(LomTools, PackingAndFormatting)
{
    int64_t n = -1;
    EXPECT_EQ(LomPacken("0123456789", 276, n), 0);
    EXPECT_EQ(n, 276000123456789);
    EXPECT_EQ(LomPacken("01234X6789", 276, n), kZifferErwartet);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(FormatZahl64(6, "0", 42), "000042");
    EXPECT_EQ(FormatZahl64(2, "0", 12345), "12345");
    EXPECT_EQ(FormatZahl64(5, "*", -7), "***-7");
    EXPECT_EQ(FormatZahl32(4000000000u, 12, " "), "  4000000000");
}

TEST(LomLaender, CheckDigitRoutines)
{
    EXPECT_EQ(PruefzifferAT("123456189"), 1);
    EXPECT_EQ(PruefzifferAT("000000000"), 9);  // never 0
    EXPECT_EQ(PruefzifferBE("12345678"), 3);   // 8 digits: the check place left empty
    EXPECT_EQ(PruefzifferBE("312345678"), 3);
    EXPECT_EQ(PruefzifferFI("0123456789"), 7);
    EXPECT_EQ(PruefzifferIE("123456789012"), 8);
    EXPECT_EQ(PruefzifferNL("123456789"), 2);
    EXPECT_EQ(PruefzifferPT("1234567890"), 0);
    for (auto* f :
         {PruefzifferAT, PruefzifferBE, PruefzifferFI, PruefzifferIE, PruefzifferNL, PruefzifferPT})
        EXPECT_EQ(f("1234"), kFalscheLaenge);
}

// Every province and every British letter code is distinct, and each goes through the coder and
// back in both Italian forms and in the British form.
TEST(LomLaender, ProvincesAndLetterCodesRoundTrip)
{
    std::set<std::string_view> provinzen;
    for (int i = 1; i <= 103; ++i) {
        const std::string p(ProvinzNachIndex(i));
        SCOPED_TRACE(p);
        EXPECT_EQ(p.size(), 2u);
        EXPECT_TRUE(provinzen.insert(ProvinzNachIndex(i)).second);
        EXPECT_EQ(ProvinzNachKuerzel(p), i);

        const int64_t numerisch = 380000000000000 + i * int64_t{1000000000} + 123456789;
        EXPECT_EQ(Kodiert("IT " + p + " 123456789"), numerisch);
        EXPECT_EQ(Kodiert(DecodeLom(numerisch)), numerisch);

        const int64_t buchstaben = 910000000000000 + i * int64_t{10000000000} + 123456789;
        EXPECT_EQ(Kodiert("IT 123 " + p + " 456 A 789"), buchstaben);
        EXPECT_EQ(DecodeLom(buchstaben), "IT123" + p + "456A789");
    }
    EXPECT_TRUE(ProvinzNachIndex(0).empty());
    EXPECT_TRUE(ProvinzNachIndex(104).empty());
    EXPECT_EQ(ProvinzNachKuerzel("to"), kProvinzUnbekannt);
    EXPECT_EQ(ProvinzNachKuerzel("TOR"), kProvinzUnbekannt);

    std::set<std::string_view> codes;
    for (int i = 1; i <= 310; ++i) {
        const std::string c(BuchstabenCodeNach(i));
        SCOPED_TRACE(c);
        EXPECT_TRUE(codes.insert(BuchstabenCodeNach(i)).second);
        EXPECT_EQ(BuchstabenCodeIndex(c), i);
        const std::string text = "UK " + c + " 1234 56789";
        EXPECT_EQ(Kodiert(text), 920123456789000 + i);
        EXPECT_EQ(DecodeLom(920123456789000 + i), text);
    }
    EXPECT_TRUE(BuchstabenCodeNach(0).empty());
    EXPECT_TRUE(BuchstabenCodeNach(311).empty());
    EXPECT_EQ(BuchstabenCodeIndex("I"), kProvinzUnbekannt);  // not told apart from 1
}
