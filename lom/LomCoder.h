#pragma once

#include "LomConst.h"

#include <cstdint>
#include <string>
#include <string_view>

// The EU ear-tag (LOM) coder: the printed ear tag of 27 countries to one 15-digit number and back.
// No state between calls; any thread may call it.
namespace Lom {

// Ear-tag text as the user typed it (blanks, dashes, lower case, country letters or a numeric
// prefix allowed) to its number. Returns 0 with the number set, or a negative error code whose
// German text LomFehlertext gives; on an error the number is 0.
int EncodeLom(std::string_view text, int64_t& nummer);

// Printed form of a number ("DE 01 234 56789"); when no country form applies, the number with 15
// digits, zeros in front. Never fails.
std::string DecodeLom(int64_t nummer);

}  // namespace Lom
