#include "UdfTestHilfen.h"

#include <BesamungConst.h>
#include <UdfBreiten.h>
#include <UdfExport.h>

#include <gtest/gtest.h>

#include <QByteArray>

#include <fstream>
#include <map>
#include <set>
#include <regex>
#include <sstream>
#include <thread>

using namespace Udf;

TEST(ZRNV_ENCODELOM, NumberOrZero)
{
    const std::vector<std::pair<const char*, ISC_INT64>> gueltig = {
        {"DE 01 234 56789", 276000123456789},
        {"de 01-234 56789", 276000123456789},
        {"IE ABCD 1234 Q", 930000731123415},
        {"40000123456189", 40000123456189},
    };
    for (const auto& [text, nummer] : gueltig) {
        const ISC_INT64* r = ZRNV_ENCODELOM(text);
        ASSERT_NE(r, nullptr) << text;
        EXPECT_EQ(*r, nummer) << text;
    }
    // A text the coder refuses gives 0; only no text at all gives NULL.
    for (const char* text : {"", "DE", "AT 123 456 789", "DE*1", "1234567890123", "M\xFCller"}) {
        const ISC_INT64* r = ZRNV_ENCODELOM(text);
        ASSERT_NE(r, nullptr) << text;
        EXPECT_EQ(*r, 0) << text;
    }
    EXPECT_EQ(ZRNV_ENCODELOM(nullptr), nullptr);
}

TEST(ZRNV_ENCODELOM, EachThreadHasItsOwnResult)
{
    const ISC_INT64* hier = ZRNV_ENCODELOM("DE 01 234 56789");
    const ISC_INT64* dort = nullptr;
    std::thread([&] {
        dort = ZRNV_ENCODELOM("AT 123 456 189");
        EXPECT_EQ(*dort, 40000123456189);
    }).join();
    EXPECT_NE(hier, dort);
    EXPECT_EQ(*hier, 276000123456789);
}

TEST(ZRNV_DECODELOM, PrintedFormOrEmpty)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"276000123456789", "DE 01 234 56789"},
        {"930000731123415", "IE ABCD 1234 Q"},
        {"910010123456789", "IT123TO456A789"},
        {"999000000000001", "999000000000001"},
        {"12345", "000000000012345"},
        {"0", ""},
        {"-276000123456789", ""},
        {"abc", ""},
        {"12a", ""},
        {"", ""},
        {"99999999999999999999", ""},  // beyond 64 bits
    };
    for (const auto& [text, gedruckt] : cases) {
        Puffer<Breite::LomGedruckt> out;
        EXPECT_STREQ(ZRNV_DECODELOM(text, out.get()), gedruckt) << text;
        EXPECT_TRUE(out.unversehrt());
    }
    Puffer<Breite::LomGedruckt> out;
    EXPECT_STREQ(ZRNV_DECODELOM(nullptr, out.get()), "");
}

TEST(ZRNV_HIT, ReportTypesAndSeverities)
{
    const std::vector<std::pair<const char*, const char*>> meldungen = {
        {"GEBURT", "Geburt"},
        {"LOMNACHB", "Ohrmarken-Nachbestellung"},
        {"BTR_H", "PIN \xC4nderung"},  // ISO8859_1, as the database speaks
        {"geburt", "geburt"},
        {"XYZ", "XYZ"},
        {"", ""},
    };
    for (const auto& [code, name] : meldungen) {
        Puffer<Breite::Meldung> out;
        EXPECT_STREQ(ZRNV_HIT_MELDUNG_DISP(code, out.get()), name) << code;
    }
    const std::vector<std::pair<ISC_LONG, const char*>> schweren = {
        {0, "Ok"},
        {1, "Hinweis"},
        {2, "Nachfrage"},
        {3, "Fehler"},
        {4, "sofortiger Abbruch"},
        {-3, "Pars. Fehler"},
        {5, "Unbekannt"},
        {-1, "Unbekannt"},
    };
    for (const auto& [schwere, text] : schweren) {
        Puffer<Breite::Schwere> out;
        EXPECT_STREQ(ZRNV_HIT_SCHWERE(&schwere, out.get()), text) << schwere;
        EXPECT_TRUE(out.unversehrt());
    }
}

TEST(ZRNV_HIT_MELDUNG_WERTE, ReadableLines)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"LOM=x;GEB_DATR=01.02.2024;XYZ=1", "Geburtsdatum: 01.02.2024"},
        {"  BNR15=1;GESCHL_R= 1 ;RASSE=01  ", "Geschlecht: 1\rRasse: 01"},
        {"LNACHBIVR=J",
         "OM-Nachbestellung \xFC"
         "ber IVR m\xF6glich: J"},
        {"LOM_X=5", ": 5"},     // a field without a name
        {"=5", ": 5"},          // the empty code is the table's first entry
        {"X; GEB_DATR=1", ""},  // keys are not trimmed
        {"GEB_DATR;TOD_DAT=2", "Todesdatum: 2"},
        {"ORT=M\xFCnchen;;", "Ort: M\xFCnchen"},
        {"", ""},
    };
    for (const auto& [text, zeilen] : cases) {
        Puffer<Breite::WerteText> out;
        EXPECT_STREQ(ZRNV_HIT_MELDUNG_WERTE(text, out.get()), zeilen) << text;
    }
    // Names are longer than keys: the lines of a full input are cut at the room.
    std::string lang;
    while (lang.size() + 10 <= Breite::Werte)
        lang += "LOMS_UN=J;";
    Puffer<Breite::WerteText> out;
    EXPECT_EQ(std::string(ZRNV_HIT_MELDUNG_WERTE(lang.c_str(), out.get())).size(),
              Breite::WerteText);
    EXPECT_TRUE(out.unversehrt());
}

TEST(ZRNV_MELDUNG_WERTE, ValueOfAKey)
{
    const char* text = "LOM=DE 01 234 56789; GEB_DATR = 01.02.2024 ;MEHRLING=2;MEHRLING=3";
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"LOM", "DE 01 234 56789"},
        {"GEB_DATR", "01.02.2024"},
        {"MEHRLING", "2"},
        {"mehrling", ""},
        {"XYZ", ""},
    };
    for (const auto& [key, wert] : cases) {
        Puffer<Breite::Werte> out;
        EXPECT_STREQ(ZRNV_MELDUNG_WERTE(text, key, out.get()), wert) << key;
    }
    Puffer<Breite::Werte> out;
    EXPECT_STREQ(ZRNV_MELDUNG_WERTE(nullptr, "LOM", out.get()), "");
}

TEST(ZRNV_BESAMUNGSSTATION, ShortNamesOfTheStationTable)
{
    // Same codes and short names as the programs' station table, in ISO8859_1.
    for (const auto& station : BesamungConst::Stationen()) {
        const QByteArray code = station.Code.toLatin1();
        Puffer<Breite::Station> out;
        EXPECT_EQ(QByteArray(ZRNV_BESAMUNGSSTATION(code.constData(), out.get())),
                  station.Kurzname.toLatin1())
            << code.constData();
    }
    Puffer<Breite::Station> out;
    EXPECT_STREQ(ZRNV_BESAMUNGSSTATION(" RUW ", out.get()), "RUW");
    EXPECT_STREQ(ZRNV_BESAMUNGSSTATION("ruw", out.get()), "Fehler!");
    EXPECT_STREQ(ZRNV_BESAMUNGSSTATION("", out.get()), "Fehler!");
    EXPECT_STREQ(ZRNV_BESAMUNGSSTATION(nullptr, out.get()), "Fehler!");
}

// The declarations give each text the room the module cuts at.
TEST(UdfDeclarations, WidthsMatchTheModule)
{
    std::ifstream datei(BOVANTIS_UDF_SQL);
    ASSERT_TRUE(datei.is_open());
    std::stringstream inhalt;
    inhalt << datei.rdbuf();
    const std::string sql = inhalt.str();

    // Last CSTRING of each declaration: the result (by parameter or by reference).
    const std::map<std::string, std::size_t> ergebnis = {
        {"ZRNV_ALTER", Breite::Alter},
        {"ZRNV_DATE2STR", Breite::Datum},
        {"ZRNV_DATE2STRSHORT", Breite::DatumKurz},
        {"ZRNV_DATE2STR_FORMAT", Breite::DatumFormat},
        {"ZRNV_DATE2STR_HEUTE", Breite::Datum},
        {"ZRNV_WOCHENTAG", Breite::Wochentag},
        {"ZRNV_FORMATBNR", Breite::Bnr},
        {"ZRNV_CORRECTBNR", Breite::BnrKorrigiert},
        {"ZRNV_DECODELOM", Breite::LomGedruckt},
        {"ZRNV_FORMATZAHL", Breite::FormatZahl},
        {"ZRNV_FORMATFLOAT", Breite::FormatFloat},
        {"ZRNV_FORMATINT", Breite::FormatInt},
        {"ZRNV_HARNSTOFF", Breite::Harnstoff},
        {"ZRNV_DEBUG", Breite::Debug},
        {"ZRNV_TERMIN_LAGE", Breite::Wochentage},
        {"ZRNV_GET_FELD", Breite::Feldliste},
        {"ZRNV_DEL_FELD", Breite::Feldliste},
        {"ZRNV_GET_QUELLE", Breite::Feldname},
        {"ZRNV_IS_SPEZIALFELD", Breite::Feldname},
        {"ZRNV_GET_FELD_PUR", Breite::Feldname},
        {"ZRNV_BLOB_LEFT", Breite::BlobLinks},
        {"ZRNV_SORT_WOCHENTAGE", Breite::WochentageSortiert},
        {"EOL", Breite::Eol},
        {"ZRNV_STR_CAT", Breite::StrCat},
        {"ZRNV_GESCHLECHT", Breite::Geschlecht},
        {"ZRNV_HIT_MELDUNG_DISP", Breite::Meldung},
        {"ZRNV_HIT_SCHWERE", Breite::Schwere},
        {"ZRNV_HIT_MELDUNG_WERTE", Breite::WerteText},
        {"ZRNV_MELDUNG_WERTE", Breite::Werte},
        {"ZRNV_BESAMUNGSSTATION", Breite::Station},
        {"ZRNV_ENCODELOM", Breite::Lom},
    };
    const std::regex deklaration(R"(DECLARE EXTERNAL FUNCTION (\w+)([^;]*);)");
    const std::regex cstring(R"(CSTRING\((\d+)\))");
    std::set<std::string> gesehen;
    for (auto it = std::sregex_iterator(sql.begin(), sql.end(), deklaration);
         it != std::sregex_iterator(); ++it) {
        const std::string name = (*it)[1];
        const std::string rumpf = (*it)[2];
        gesehen.insert(name);
        EXPECT_NE(rumpf.find("ENTRY_POINT '" + name + "' MODULE_NAME 'bovantis_udf'"),
                  std::string::npos)
            << name;
        std::size_t letzte = 0;
        for (auto c = std::sregex_iterator(rumpf.begin(), rumpf.end(), cstring);
             c != std::sregex_iterator(); ++c)
            letzte = std::stoul((*c)[1]);
        if (ergebnis.contains(name)) {
            EXPECT_EQ(letzte, ergebnis.at(name)) << name;
        }
        // Dates are always declared as TIMESTAMP: a DATE argument is 4 bytes, the module reads 8.
        EXPECT_EQ(std::regex_search(rumpf, std::regex(R"(\bDATE\b)")), false) << name;
    }
    EXPECT_EQ(gesehen.size(), 34u);
}
