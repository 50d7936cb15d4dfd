#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text helpers of the extension functions. Texts in and out are ISO8859_1 bytes.
namespace Udf {

// Writes the text, cut at `breite` bytes, zero-terminated into out (room for breite + 1 bytes).
char* Ausgeben(char* out, std::string_view text, std::size_t breite);

// An argument text: null counts as empty; never read beyond `breite` bytes.
std::string_view Argument(const char* text, std::size_t breite);

// UTF-8 (the tables of the shared libraries) to ISO8859_1; characters outside it become "?".
std::string Latin1(std::string_view utf8);

// Removes leading and trailing characters up to the blank (control characters included).
std::string_view Trimmen(std::string_view text);

// Digits of an unsigned value grouped in threes with "." (German thousands separator).
std::string MitTausendern(std::string_view ziffern);

// A whole number as text with German thousands separators: -2147483648 -> "-2.147.483.648".
std::string GanzzahlDeutsch(int64_t wert);

// Runs the body; any exception yields the fallback, so that nothing reaches the engine.
template <typename T, typename F>
T Sicher(T fallback, F&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

}  // namespace Udf
