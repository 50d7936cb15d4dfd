#include "UdfText.h"

#include <cstring>

namespace Udf {

char* Ausgeben(char* out, std::string_view text, std::size_t breite)
{
    const std::size_t n = std::min(text.size(), breite);
    // An empty view may have no address at all (a missing argument), and memcpy takes none.
    if (n > 0)
        std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return out;
}

std::string_view Argument(const char* text, std::size_t breite)
{
    if (text == nullptr)
        return {};
    return std::string_view(text, strnlen(text, breite));
}

std::string Latin1(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            const auto f = static_cast<unsigned char>(utf8[++i]);
            out += static_cast<char>(((c & 0x03) << 6) | (f & 0x3F));
        } else {
            // Skip the continuation bytes of a character that ISO8859_1 lacks.
            while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80)
                ++i;
            out += '?';
        }
    }
    return out;
}

std::string_view Trimmen(std::string_view text)
{
    const auto leer = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && leer(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && leer(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string MitTausendern(std::string_view ziffern)
{
    std::string out;
    for (std::size_t i = 0; i < ziffern.size(); ++i) {
        if (i > 0 && (ziffern.size() - i) % 3 == 0)
            out += '.';
        out += ziffern[i];
    }
    return out;
}

std::string GanzzahlDeutsch(int64_t wert)
{
    const uint64_t betrag =
        wert < 0 ? 0 - static_cast<uint64_t>(wert) : static_cast<uint64_t>(wert);
    return (wert < 0 ? "-" : "") + MitTausendern(std::to_string(betrag));
}

}  // namespace Udf
