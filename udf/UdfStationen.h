#pragma once

#include <string_view>

namespace Udf {

// Short name (ISO8859_1) of the insemination station with exactly this code, empty when no station
// has it. The module is loaded into the database engine and carries no Qt, so it holds the codes
// and short names of the station table (BesamungConst) as plain text; a test keeps both in step.
std::string_view StationKurzname(std::string_view code);

}  // namespace Udf
