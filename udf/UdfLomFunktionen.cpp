// Ear tags, national-database report texts and the insemination stations.
#include "UdfBreiten.h"
#include "UdfExport.h"
#include "UdfStationen.h"
#include "UdfText.h"

#include <HITConst.h>
#include <LomCoder.h>

#include <charconv>

using namespace Udf;

namespace {

thread_local ISC_INT64 tLomNummer;

// Walks "KEY=VALUE;KEY=VALUE": calls f(key, value) for every field with a "=", the key untrimmed;
// f returns false to stop.
template <typename F>
void FelderDurchlaufen(std::string_view text, F&& f)
{
    text = Trimmen(text);
    while (!text.empty()) {
        const std::size_t ende = text.find(';');
        const std::string_view feld = text.substr(0, ende);
        text = ende == std::string_view::npos ? std::string_view{} : text.substr(ende + 1);
        const std::size_t gleich = feld.find('=');
        if (gleich == std::string_view::npos)
            continue;
        if (!f(feld.substr(0, gleich), Trimmen(feld.substr(gleich + 1))))
            return;
    }
}

}  // namespace

ISC_INT64* ZRNV_ENCODELOM(const char* lom)
{
    if (lom == nullptr)
        return nullptr;
    // A text the coder refuses gives 0, which no stored animal carries (the schema keeps an
    // invalid tag's number NULL), so a join on it matches nothing.
    tLomNummer = 0;
    return Sicher(&tLomNummer, [&] {
        int64_t nummer = 0;
        if (Lom::EncodeLom(Argument(lom, Breite::Lom), nummer) == 0)
            tLomNummer = nummer;
        return &tLomNummer;
    });
}

char* ZRNV_DECODELOM(const char* ziffern, char* out)
{
    return Sicher(Ausgeben(out, "", 0), [&] {
        const std::string_view text = Trimmen(Argument(ziffern, Breite::LomGedruckt));
        int64_t nummer = 0;
        const auto [ende, fehler] = std::from_chars(text.data(), text.data() + text.size(), nummer);
        if (fehler != std::errc{} || ende != text.data() + text.size() || nummer <= 0)
            return Ausgeben(out, "", 0);
        return Ausgeben(out, Lom::DecodeLom(nummer), Breite::LomGedruckt);
    });
}

char* ZRNV_HIT_MELDUNG_DISP(const char* code, char* out)
{
    return Sicher(Ausgeben(out, "", 0), [&] {
        const std::string_view text = Argument(code, Breite::Meldung);
        const int index = HITConst::MeldungIndex(text);
        if (index < 0)
            return Ausgeben(out, text, Breite::Meldung);
        return Ausgeben(out, Latin1(HITConst::cMeldungBez[static_cast<std::size_t>(index)]),
                        Breite::Meldung);
    });
}

char* ZRNV_HIT_SCHWERE(const ISC_LONG* schwere, char* out)
{
    std::string_view text = "Unbekannt";
    switch (schwere != nullptr ? *schwere : 0) {
        case 0:
            text = "Ok";
            break;
        case 1:
            text = "Hinweis";
            break;
        case 2:
            text = "Nachfrage";
            break;
        case 3:
            text = "Fehler";
            break;
        case 4:
            text = "sofortiger Abbruch";
            break;
        case -3:
            text = "Pars. Fehler";
            break;
    }
    return Ausgeben(out, text, Breite::Schwere);
}

char* ZRNV_HIT_MELDUNG_WERTE(const char* text, char* out)
{
    return Sicher(Ausgeben(out, "", 0), [&] {
        std::string ergebnis;
        FelderDurchlaufen(
            Argument(text, Breite::Werte), [&](std::string_view key, std::string_view wert) {
                // Ear tag and holding number are shown elsewhere.
                if (key == "LOM" || key == "BNR15")
                    return true;
                const int index = HITConst::FeldIndex(key);
                if (index >= 0) {
                    ergebnis += '\r';
                    ergebnis += Latin1(HITConst::cFeldBez[static_cast<std::size_t>(index)]);
                    ergebnis += ": ";
                    ergebnis += wert;
                }
                return ergebnis.size() <= Breite::WerteText;
            });
        return Ausgeben(out, Trimmen(ergebnis), Breite::WerteText);
    });
}

char* ZRNV_MELDUNG_WERTE(const char* text, const char* schluessel, char* out)
{
    return Sicher(Ausgeben(out, "", 0), [&] {
        const std::string_view gesucht = Argument(schluessel, Breite::WerteSchluessel);
        std::string_view gefunden;
        FelderDurchlaufen(Argument(text, Breite::Werte),
                          [&](std::string_view key, std::string_view wert) {
                              if (Trimmen(key) != gesucht)
                                  return true;
                              gefunden = wert;
                              return false;
                          });
        return Ausgeben(out, gefunden, Breite::Werte);
    });
}

char* ZRNV_BESAMUNGSSTATION(const char* code, char* out)
{
    const std::string_view kurz = StationKurzname(Trimmen(Argument(code, Breite::StationCode)));
    return Ausgeben(out, kurz.empty() ? "Fehler!" : kurz, Breite::Station);
}
