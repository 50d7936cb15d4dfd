#include <BullenLogik.h>

#include <gtest/gtest.h>

#include <optional>

namespace {

const QDate heute(2026, 5, 10);

struct PruefFall {
    const char* name;
    Bullen::TBulle bulle;
    std::optional<Bullen::TFeld> feld;
    const char* text;
};

class BullenPruefung : public ::testing::TestWithParam<PruefFall> {};

TEST_P(BullenPruefung, MeldetDenErstenFehlerMitSeinemFeld)
{
    const PruefFall& f = GetParam();
    const auto fehler = Bullen::Pruefen(f.bulle, heute);
    ASSERT_EQ(fehler.has_value(), f.feld.has_value());
    if (!fehler)
        return;
    EXPECT_EQ(fehler->feld, *f.feld);
    EXPECT_EQ(fehler->text, QString::fromUtf8(f.text));
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, BullenPruefung,
    ::testing::Values(
        PruefFall{"Vollstaendig", {"Rambo", "DE123", QDate(2020, 1, 1), heute}, std::nullopt, ""},
        PruefFall{"OhneDaten", {"Rambo", "DE123", {}, {}}, std::nullopt, ""},
        PruefFall{"OhneName",
                  {"", "DE123", {}, {}},
                  Bullen::TFeld::Name,
                  "Sie müssen einen Namen für den Bullen eingeben."},
        PruefFall{"NameNurLeerzeichen",
                  {"   ", "DE123", {}, {}},
                  Bullen::TFeld::Name,
                  "Sie müssen einen Namen für den Bullen eingeben."},
        PruefFall{"NameVorNummer",
                  {"", "", QDate(2030, 1, 1), {}},
                  Bullen::TFeld::Name,
                  "Sie müssen einen Namen für den Bullen eingeben."},
        PruefFall{"OhneNummer",
                  {"Rambo", " ", {}, {}},
                  Bullen::TFeld::HBNR,
                  "Sie müssen eine Herdbuch-Nummer für den Bullen eingeben."},
        PruefFall{"GeburtMorgen",
                  {"Rambo", "DE123", heute.addDays(1), heute.addDays(1)},
                  Bullen::TFeld::GebDat,
                  "Das Geburtsdatum darf nicht in der Zukunft sein."},
        PruefFall{"GeburtHeute", {"Rambo", "DE123", heute, {}}, std::nullopt, ""},
        PruefFall{"VerwendungMorgen",
                  {"Rambo", "DE123", {}, heute.addDays(1)},
                  Bullen::TFeld::LetzteVerwendung,
                  "Die letzte Verwendung darf nicht in der Zukunft sein."}),
    [](const auto& info) { return std::string(info.param.name); });

struct SuchFall {
    const char* suche;
    const char* name;
    const char* nummer;
    bool passt;
};

class BullenSuche : public ::testing::TestWithParam<SuchFall> {};

TEST_P(BullenSuche, IgnoriertLeerzeichenUndSchreibweise)
{
    const SuchFall& f = GetParam();
    EXPECT_EQ(Bullen::Passt(Bullen::Suchtext(f.suche), f.name, f.nummer), f.passt)
        << f.suche << " in " << f.name << " / " << f.nummer;
}

INSTANTIATE_TEST_SUITE_P(Faelle, BullenSuche,
                         ::testing::Values(SuchFall{"ram", "Rambo", "DE 0581", true},
                                           SuchFall{"R A M", "Rambo", "DE 0581", true},
                                           SuchFall{"bo", "Ram Bo", "", true},
                                           SuchFall{"de05", "Rambo", "DE 0581", true},
                                           SuchFall{" de 0 5 ", "Rambo", "de0581", true},
                                           SuchFall{"xy", "Rambo", "DE 0581", false},
                                           SuchFall{"", "Rambo", "", true},
                                           SuchFall{"   ", "Rambo", "", true},
                                           SuchFall{"ä", "BÄR", "", true}));

TEST(BullenLogik, SuchtextIstGrossOhneLeerzeichen)
{
    EXPECT_EQ(Bullen::Suchtext(" de 12\t3 "), "DE123");
}

TEST(BullenLogik, NeuerBulleIstKeinPruefbulle)
{
    EXPECT_LT(Bullen::KeinPruefbulle(), heute);
    EXPECT_EQ(Bullen::KeinPruefbulle(), QDate(1900, 1, 1));
}

}  // namespace
