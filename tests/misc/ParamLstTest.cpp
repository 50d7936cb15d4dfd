#include <ParamLst.h>

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* name;
    QStringList args;
    bool caseSensitive;
    QStringList switches;
    QStringList params;
};

}  // namespace

TEST(TParameter, SplitsSwitchesAndParameters)
{
    const std::vector<Case> cases = {
        {"gemischt",
         {"-DEBUG", "file.txt", "/protokoll"},
         false,
         {"DEBUG", "PROTOKOLL"},
         {"FILE.TXT"}},
        {"doppelter Strich", {"--x"}, false, {"-X"}, {}},
        {"Schreibweisen",
         {"-Hinweise", "/hinweise", "-HINWEISE"},
         false,
         {"HINWEISE", "HINWEISE", "HINWEISE"},
         {}},
        {"Umlaute", {"-größe", "müller"}, false, {"GRÖSSE"}, {"MÜLLER"}},
        {"Groß/klein erhalten", {"-Debug", "Datei.txt"}, true, {"Debug"}, {"Datei.txt"}},
        {"absoluter Pfad",
         {"/home/x/file", "/DEBUG", "/tmp/"},
         false,
         {"DEBUG"},
         {"/HOME/X/FILE", "/TMP/"}},
        {"Lauf über drei Argumente",
         {"\"C:\\Program", "Files", "x\"", "-a"},
         false,
         {"A"},
         {"C:\\PROGRAM FILES X"}},
        {"Lauf als Schalter", {"\"-ab", "cd\""}, false, {"AB CD"}, {}},
        {"Lauf in einem Argument", {"\"abc\"", "-d", "e"}, false, {"D"}, {"ABC", "E"}},
        {"Anführungszeichen allein", {"\"", "ab", "\""}, false, {}, {" AB "}},
        {"offener Lauf fällt weg", {"x", "\"abc", "def"}, false, {}, {"X"}},
        {"leer", {}, false, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TParameter p(c.caseSensitive, c.args);
        EXPECT_EQ(p.Switches(), c.switches);
        EXPECT_EQ(p.Params(), c.params);
    }
}

TEST(TParameter, LookupsIgnoreCaseInEveryMode)
{
    TParameter sensitive(true, {"-DEBUG", "Datei"});
    EXPECT_TRUE(sensitive.IsSwitch("debug"));
    EXPECT_TRUE(sensitive.IsParam("DATEI"));
    EXPECT_FALSE(sensitive.IsSwitch("Datei"));
    EXPECT_FALSE(sensitive.IsParam("DEBUG"));

    TParameter p(false, {"-x"});
    p.AddSwitch("neu");
    p.AddParam("wert");
    EXPECT_EQ(p.Switches(), QStringList({"X", "NEU"}));
    EXPECT_TRUE(p.IsParam("Wert"));
    p.Init();
    EXPECT_EQ(p.Switches(), QStringList({"X"}));
    EXPECT_TRUE(p.Params().isEmpty());
}
