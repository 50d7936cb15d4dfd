#include "UdfFormat.h"

#include "UdfText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace Udf {

namespace {

constexpr int kMaxStellen = 18;
constexpr std::size_t kMaxBreite = 64;

std::string Fest(double wert, int stellen)
{
    std::array<char, 400> puffer{};
    std::snprintf(puffer.data(), puffer.size(), "%.*f", stellen, wert);
    std::string s(puffer.data());
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
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
    std::array<char, 64> puffer{};
    std::snprintf(puffer.data(), puffer.size(), "%.*E", std::max(stellen, 1) - 1, wert);
    std::string s(puffer.data());
    std::replace(s.begin(), s.end(), '.', ',');
    // The exponent has at least three digits: "E+002".
    const std::size_t e = s.find('E');
    std::string exponent = s.substr(e + 2);
    while (exponent.size() < 3)
        exponent.insert(0, "0");
    return s.substr(0, e + 2) + exponent;
}

std::string Allgemein(double wert, int stellen)
{
    std::array<char, 64> puffer{};
    std::snprintf(puffer.data(), puffer.size(), "%.*G", std::max(stellen, 1), wert);
    std::string s(puffer.data());
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
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
