#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Udf {

// Formats one floating-point number with a pattern of the system's format function: literal text,
// "%%", and conversions "%[index:][-][width][.precision]type" with type f (fixed, 2 decimals by
// default), n (fixed with thousands separators), e (scientific, precision = digits, 15 by default)
// or g (general, 15 significant digits by default). German separators (decimal ",", thousands
// "."). The pattern is parsed here and never handed to a printf-style function. Nothing when it
// does not fit the one number (another conversion type, a second conversion, "*" widths, an open
// "%", a number that is not finite).
std::optional<std::string> FormatFloat(double wert, std::string_view muster);

}  // namespace Udf
