#include "UdfFormat.h"

#include "UdfText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <charconv>
#include <stdexcept>

namespace Udf {

namespace {

constexpr int kMaxStellen = 18;
constexpr std::size_t kMaxBreite = 64;

// Locale-free conversion (the engine's process may run with any C locale), then the German
// decimal comma.
std::string Umwandeln(double wert, std::chars_format art, int stellen)
{
    std::array<char, 400> puffer{};
    const auto [ende, fehler] =
        std::to_chars(puffer.data(), puffer.data() + puffer.size(), wert, art, stellen);
    if (fehler != std::errc{})
        throw std::runtime_error("Zahl nicht darstellbar");
    std::string s(puffer.data(), ende);
    std::replace(s.begin(), s.end(), '.', ',');
    std::replace(s.begin(), s.end(), 'e', 'E');
    return s;
}

std::string Fest(double wert, int stellen)
{
    return Umwandeln(wert, std::chars_format::fixed, stellen);
}

std::string MitTausendernFest(double wert, int stellen)
{
    const std::string fest = Fest(std::fabs(wert), stellen);
    const std::size_t komma = std::min(fest.find(','), fest.size());
    std::string s = MitTausendern(std::string_view(fest).substr(0, komma)) + fest.substr(komma);
    return (std::signbit(wert) && fest.find_first_not_of("0,") != std::string::npos ? "-" : "") + s;
}

std::string Wissenschaftlich(double wert, int stellen)
{
    const std::string s = Umwandeln(wert, std::chars_format::scientific, std::max(stellen, 1) - 1);
    // The exponent has at least three digits: "E+003".
    const std::size_t e = s.find('E');
    const std::string_view exponent = std::string_view(s).substr(e + 2);
    std::string out = s.substr(0, e + 2);
    out.append(exponent.size() < 3 ? 3 - exponent.size() : 0, '0');
    out.append(exponent);
    return out;
}

std::string Allgemein(double wert, int stellen)
{
    return Umwandeln(wert, std::chars_format::general, std::max(stellen, 1));
}

// Reads digits at pos; -1 when there are none.
int Zahl(std::string_view muster, std::size_t& pos)
{
    int wert = -1;
    while (pos < muster.size() && muster[pos] >= '0' && muster[pos] <= '9') {
        wert = std::min((wert < 0 ? 0 : wert) * 10 + (muster[pos] - '0'), 100000);
        ++pos;
    }
    return wert;
}

}  // namespace

std::optional<std::string> FormatFloat(double wert, std::string_view muster)
{
    if (!std::isfinite(wert))
        return std::nullopt;
    std::string out;
    int naechstes = 0;  // the argument the next conversion takes
    std::size_t i = 0;
    while (i < muster.size()) {
        if (muster[i] != '%') {
            out += muster[i++];
            continue;
        }
        ++i;
        if (i < muster.size() && muster[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::size_t pos = i;
        int zahl = Zahl(muster, pos);
        if (pos < muster.size() && muster[pos] == ':') {
            if (zahl < 0)
                return std::nullopt;
            naechstes = zahl;
            ++pos;
            zahl = -1;
        } else {
            pos = i;
        }
        bool links = false;
        if (pos < muster.size() && muster[pos] == '-') {
            links = true;
            ++pos;
        }
        const int breite = Zahl(muster, pos);
        int stellen = -1;
        if (pos < muster.size() && muster[pos] == '.') {
            ++pos;
            stellen = std::max(Zahl(muster, pos), 0);
        }
        if (pos >= muster.size() || naechstes != 0)
            return std::nullopt;
        const char typ = static_cast<char>(muster[pos] | 0x20);
        std::string text;
        switch (typ) {
            case 'f':
                text = Fest(wert, std::min(stellen < 0 ? 2 : stellen, kMaxStellen));
                break;
            case 'n':
                text = MitTausendernFest(wert, std::min(stellen < 0 ? 2 : stellen, kMaxStellen));
                break;
            case 'e':
                text = Wissenschaftlich(wert, std::min(stellen < 0 ? 15 : stellen, kMaxStellen));
                break;
            case 'g':
                text = Allgemein(wert, std::min(stellen < 0 ? 15 : stellen, kMaxStellen));
                break;
            default:
                return std::nullopt;
        }
        const std::size_t b = std::min(static_cast<std::size_t>(std::max(breite, 0)), kMaxBreite);
        if (text.size() < b)
            text.insert(links ? text.size() : 0, b - text.size(), ' ');
        out += text;
        ++naechstes;
        i = pos + 1;
    }
    return out;
}

}  // namespace Udf
