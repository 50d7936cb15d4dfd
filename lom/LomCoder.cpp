#include "LomCoder.h"

#include "LomLaender.h"
#include "LomTools.h"

namespace Lom {

int EncodeLom(std::string_view text, int64_t& nummer)
{
    nummer = 0;
    const std::string t = LomNormalisieren(text);
    for (char c : t) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')))
            return kZeichenUnzulaessig;
    }
    if (t.size() <= 2)
        return kKeineLom;
    // A digit text of 14 or 15 characters that a country can print is a stored number already.
    if ((t.size() == 14 || t.size() == 15) && NurZiffern(t)) {
        const int64_t wert = std::stoll(t);
        if (!NurZiffern(DecodeLom(wert))) {
            nummer = wert;
            return 0;
        }
    }
    std::string rest;
    const int land = LandErmitteln(t, rest);
    if (land < 0)
        return land;
    const int r = RegelNach(land).kodieren(std::move(rest), nummer);
    if (r != 0)
        nummer = 0;
    return r;
}

std::string DecodeLom(int64_t nummer)
{
    int64_t national = 0;
    const int land = LandAusZahl(nummer, national);
    std::string text;
    if (land > 0)
        text = RegelNach(land).drucken(national, nummer);
    return text.empty() ? FormatZahl64(15, "0", nummer) : text;
}

}  // namespace Lom
