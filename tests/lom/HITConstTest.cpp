#include <HITConst.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

using namespace HITConst;

namespace {

// A script of the schema as the database is created from it.
std::string Skript(const char* name)
{
    std::string pfad = BOVANTIS_SQL_CREATE;
    pfad.append("/").append(name);
    std::ifstream datei(pfad);
    EXPECT_TRUE(datei.good()) << pfad;
    std::ostringstream inhalt;
    inhalt << datei.rdbuf();
    return inhalt.str();
}

// The first number the pattern's group captures in the text, 0 when it does not occur.
std::size_t Zahl(const std::string& text, const std::string& muster)
{
    std::smatch m;
    if (!std::regex_search(text, m, std::regex(muster)))
        return 0;
    return std::stoul(m[1].str());
}

// Characters of a UTF-8 text when every one of them has a Latin-1 code, which the database
// functions hand over; npos otherwise.
std::size_t Latin1Laenge(std::string_view utf8)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i, ++n) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80)
            continue;
        if ((c != 0xC2 && c != 0xC3) || i + 1 >= utf8.size() ||
            (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) != 0x80)
            return std::string_view::npos;
        ++i;
    }
    return n;
}

template <std::size_t N>
void ErwarteVerschieden(const std::array<std::string_view, N>& tabelle, std::size_t ab,
                        const char* name)
{
    std::set<std::string_view> gesehen;
    for (std::size_t i = ab; i < N; ++i) {
        EXPECT_FALSE(tabelle[i].empty()) << name << "[" << i << "]";
        EXPECT_TRUE(gesehen.insert(tabelle[i]).second) << name << " doppelt: " << tabelle[i];
    }
}

std::string Klein(std::string_view text)
{
    std::string s(text);
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

}  // namespace

// Lookups take the first match, so a doubled code would hide the later entry; they compare the
// whole text exactly.
TEST(HITConst, EveryCodeIsFoundAtItsOwnIndex)
{
    ErwarteVerschieden(cMeldung, 1, "cMeldung");
    ErwarteVerschieden(cFeld, 1, "cFeld");
    for (std::size_t i = 1; i < cMeldung.size(); ++i) {
        EXPECT_EQ(MeldungIndex(cMeldung[i]), static_cast<int>(i)) << cMeldung[i];
        EXPECT_EQ(MeldungIndex(Klein(cMeldung[i])), -1) << cMeldung[i];
        EXPECT_EQ(MeldungIndex(std::string(cMeldung[i]) + " "), -1) << cMeldung[i];
    }
    for (std::size_t i = 1; i < cFeld.size(); ++i) {
        EXPECT_EQ(FeldIndex(cFeld[i]), static_cast<int>(i)) << cFeld[i];
        if (Klein(cFeld[i]) != cFeld[i]) {
            EXPECT_EQ(FeldIndex(Klein(cFeld[i])), -1) << cFeld[i];
        }
    }
    EXPECT_EQ(MeldungIndex("GEBURTEN"), -1);
    EXPECT_EQ(FeldIndex("LOM_"), -1);
}

// T_HITMELDUNGEN.MELDUNG keeps the index of the report type of pending reports: departures,
// births and arrivals are written with these numbers and read back by them.
TEST(HITConst, IndexesStoredInPendingReports)
{
    EXPECT_EQ(MeldungIndex("ABGANG"), 3);
    EXPECT_EQ(MeldungIndex("GEBURT"), 8);
    EXPECT_EQ(MeldungIndex("ZUGANG"), 14);
}

// The names reach the database through ZRNV_HIT_MELDUNG_DISP and ZRNV_HIT_MELDUNG_WERTE, which
// return Latin-1; the codes of sent reports are kept in T_HIT_GESENDET.MELDUNG.
TEST(HITConst, TextsFitWhereTheDatabaseKeepsThem)
{
    const std::size_t anzeige =
        Zahl(Skript("020_udf.sql"),
             R"(FUNCTION ZRNV_HIT_MELDUNG_DISP\b[^;]*?RETURNS\s+VARCHAR\((\d+)\))");
    const std::string tabellen = Skript("030_tables.sql");
    const std::size_t gesendet =
        Zahl(tabellen, R"(CREATE TABLE T_HIT_GESENDET \([^;]*\bMELDUNG\s+VARCHAR\((\d+)\))");
    ASSERT_GT(anzeige, 0u);
    ASSERT_GT(gesendet, 0u);

    ErwarteVerschieden(cMeldungBez, 1, "cMeldungBez");
    for (std::size_t i = 1; i < cMeldung.size(); ++i) {
        EXPECT_LE(cMeldung[i].size(), gesendet) << cMeldung[i];
        EXPECT_LE(Latin1Laenge(cMeldungBez[i]), anzeige) << cMeldungBez[i];
    }
    for (std::string_view name : cFeldBez)
        EXPECT_NE(Latin1Laenge(name), std::string_view::npos) << name;
}

// Each code set of the database (T_HIT_CODESETS.FELD) is the value domain of a report field,
// named "c" and the set's name.
TEST(HITConst, CodeSetsOfTheDatabaseBelongToFields)
{
    const std::string zeilen = Skript("070_reference_rows.sql");
    const std::regex muster(R"(INSERT INTO T_HIT_CODESETS \(FELD[^)]*\) VALUES \('([A-Z0-9_]+)')");
    std::set<std::string> felder;
    for (auto it = std::sregex_iterator(zeilen.begin(), zeilen.end(), muster);
         it != std::sregex_iterator(); ++it)
        felder.insert((*it)[1].str());
    ASSERT_FALSE(felder.empty());
    for (const std::string& feld : felder)
        EXPECT_NE(std::find(cFeldCode.begin(), cFeldCode.end(), "c" + feld), cFeldCode.end())
            << feld;
}

// The birth report's values (T_HITMELDUNGEN.DATEN) name the number of calves born together.
TEST(HITConst, BirthValuesAreShownByName)
{
    const int mehrling = FeldIndex("MEHRLING");
    ASSERT_GE(mehrling, 0);
    EXPECT_FALSE(cFeldBez[static_cast<std::size_t>(mehrling)].empty());
}

// A query is put together from these words; a doubled one would make two choices mean the same.
TEST(HITConst, QueryLanguageWordsAreDistinct)
{
    ErwarteVerschieden(cVerknuepfung, 1, "cVerknuepfung");
    ErwarteVerschieden(cVergleich, 0, "cVergleich");
    ErwarteVerschieden(cFunktion, 1, "cFunktion");
}
