#include <gtest/gtest.h>

#include <dlfcn.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

namespace {

const std::set<std::string> kExporte = {
    "EOL",
    "ZRNV_ALTER",
    "ZRNV_BESAMUNGSSTATION",
    "ZRNV_BLOB_LEFT",
    "ZRNV_CORRECTBNR",
    "ZRNV_DATE2STR",
    "ZRNV_DATE2STRSHORT",
    "ZRNV_DATE2STR_FORMAT",
    "ZRNV_DATE2STR_HEUTE",
    "ZRNV_DATE_ADD",
    "ZRNV_DEBUG",
    "ZRNV_DECODELOM",
    "ZRNV_DEL_FELD",
    "ZRNV_ENCODELOM",
    "ZRNV_FORMATBNR",
    "ZRNV_FORMATFLOAT",
    "ZRNV_FORMATINT",
    "ZRNV_FORMATZAHL",
    "ZRNV_GESCHLECHT",
    "ZRNV_GET_FELD",
    "ZRNV_GET_FELD_PUR",
    "ZRNV_GET_HOTSYNC",
    "ZRNV_GET_QUELLE",
    "ZRNV_HARNSTOFF",
    "ZRNV_HIT_MELDUNG_DISP",
    "ZRNV_HIT_MELDUNG_WERTE",
    "ZRNV_HIT_SCHWERE",
    "ZRNV_IS_SPEZIALFELD",
    "ZRNV_MELDUNG_WERTE",
    "ZRNV_SET_HOTSYNC",
    "ZRNV_SORT_WOCHENTAGE",
    "ZRNV_STR_CAT",
    "ZRNV_TERMIN_LAGE",
    "ZRNV_WOCHENTAG",
};

std::string Modul()
{
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "bovantis_udf.so")
        .string();
}

}  // namespace

// The engine sees the 34 functions, the UDR plugin entry and nothing else of the module.
TEST(UdfModul, ExportsExactlyItsFunctions)
{
    const std::string befehl = "nm -D --defined-only '" + Modul() + "'";
    FILE* nm = popen(befehl.c_str(), "r");
    ASSERT_NE(nm, nullptr);
    std::set<std::string> namen;
    std::array<char, 512> zeile{};
    while (fgets(zeile.data(), zeile.size(), nm) != nullptr) {
        std::istringstream felder(zeile.data());
        std::string adresse, art, name;
        felder >> adresse >> art >> name;
        namen.insert(name);
    }
    ASSERT_EQ(pclose(nm), 0);
    std::set<std::string> erwartet = kExporte;
    erwartet.insert("firebird_udr_plugin");
    EXPECT_EQ(namen, erwartet);
}

// The module loads on its own, resolves every function, and keeps its flag across calls.
TEST(UdfModul, LoadsAndCalls)
{
    void* modul = dlopen(Modul().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(modul, nullptr) << dlerror();
    for (const std::string& name : kExporte)
        EXPECT_NE(dlsym(modul, name.c_str()), nullptr) << name;
    using Setzen = int (*)(const int*);
    using Lesen = int (*)();
    auto setzen = reinterpret_cast<Setzen>(dlsym(modul, "ZRNV_SET_HOTSYNC"));
    auto lesen = reinterpret_cast<Lesen>(dlsym(modul, "ZRNV_GET_HOTSYNC"));
    const int eins = 1, null = 0;
    EXPECT_EQ(lesen(), 0);
    EXPECT_EQ(setzen(&eins), 1);
    EXPECT_EQ(lesen(), 1);
    EXPECT_EQ(setzen(&null), 0);
    dlclose(modul);
}
