#include "LomConst.h"

namespace Lom {

namespace {

constexpr std::array<Land, kLaenderAnzahl> kLaender = {{
    {"AT", 40, 40},   {"BE", 56, 56},   {"DE", 276, 276}, {"DK", 208, 208}, {"FI", 246, 246},
    {"FR", 250, 250}, {"EL", 300, 300}, {"IE", 372, 930}, {"IT", 380, 91},  {"LU", 442, 442},
    {"NL", 528, 528}, {"PT", 620, 620}, {"ES", 724, 724}, {"SE", 752, 752}, {"UK", 826, 92},
    {"BG", 100, 100}, {"CY", 196, 196}, {"CZ", 203, 203}, {"EE", 233, 233}, {"HU", 348, 348},
    {"LT", 440, 440}, {"LV", 428, 428}, {"MT", 470, 470}, {"PL", 616, 616}, {"RO", 642, 642},
    {"SI", 705, 705}, {"SK", 703, 703},
}};

constexpr std::array<std::string_view, 15> kFehlertexte = {
    "",
    "Keine LOM zum Kodieren da.",
    "Angegebene LOM zu kurz!",
    "Angegebene LOM zu lang!",
    "Angegebene LOM hat falsche Länge!",
    "Angegebenes Land unbekannt!",
    "Prüfziffer falsch!",
    "Ziffer erwartet!",
    "Dieses Land wird momentan bei der Kodierung nicht unterstützt!",
    "Falsches Format für eine LOM dieses Landes!",
    "Sie haben eine erweiterte LOM angegeben, deren wiederholende Ziffern falsch sind.",
    "Ein Zeichen in der LOM ist unzulässig!",
    "Angegebene Provinz ist unbekannt!",
    "Angegebene LOM paßt nicht zu einer Serie zu gegebenem Zeitpunkt.",
    "Die Prüfziffer fehlt!",
};

}  // namespace

const Land& LandNach(int index)
{
    return kLaender.at(static_cast<std::size_t>(index - 1));
}

std::string_view LomFehlertext(int code)
{
    if (code > 0 || -code >= static_cast<int>(kFehlertexte.size()))
        return {};
    return kFehlertexte[static_cast<std::size_t>(-code)];
}

}  // namespace Lom
