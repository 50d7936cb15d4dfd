#include <ContainerLogik.h>

#include <gtest/gtest.h>

namespace {

TEST(ContainerLogik, BestandZaehltHalbeVerwendungenHalb)
{
    // One insemination and one loss whole, two half uses.
    EXPECT_DOUBLE_EQ(Container::Bestand(10, 2, 2), 7.0);
    EXPECT_DOUBLE_EQ(Container::Bestand(10, 2, 3), 6.5);
    EXPECT_DOUBLE_EQ(Container::Bestand(1, 2, 1), -1.5);
}

TEST(ContainerLogik, Anzeigetexte)
{
    const std::pair<const char*, const char*> arten[] = {
        {"B", "Besamung"}, {"L", "Verlust"}, {"N", "Vernichtet"}, {"R", "Rückgabe"}, {"X", "X"}};
    for (const auto& [code, text] : arten)
        EXPECT_EQ(Container::ArtText(code), QString::fromUtf8(text)) << code;
    const std::pair<const char*, const char*> teilungen[] = {
        {"F", "nein"}, {"1", "1. Hälfte"}, {"2", "2. Hälfte"}, {"X", "2. Hälfte"}};
    for (const auto& [code, text] : teilungen)
        EXPECT_EQ(Container::TeilungText(code), QString::fromUtf8(text)) << code;
    EXPECT_EQ(Container::StationText("RUW"), "RUW");
    EXPECT_EQ(Container::StationText("BVN"), "BVN");
    EXPECT_EQ(Container::StationText("MEMMINGEN"), "Memmingen");
    EXPECT_EQ(Container::StationText("XYZ"), "Fehler!");
    EXPECT_EQ(Container::StationText(""), "Fehler!");
}

TEST(ContainerLogik, AnzahlDerVerwendungen)
{
    const struct {
        const char* art;
        double anzahl;
        int verwendungen;
    } faelle[] = {{"B", 5, 1},   {"N", 3, 3},  {"N", 0, 1},    {"N", 1, 1},
                  {"L", 2.9, 2}, {"R", -4, 1}, {"N", 999, 999}};
    for (const auto& f : faelle)
        EXPECT_EQ(Container::AnzahlVerwendungen(f.art, f.anzahl), f.verwendungen)
            << f.art << " " << f.anzahl;
}

}  // namespace
