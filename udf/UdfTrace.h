#pragma once

#include <string_view>

// Trace lines of the extension functions. Inside the database engine there is no trace log of the
// programs: lines go to the system log (facility user, level info, tagged "bovantis_udf"), where
// the administrator's log filters switch them on or off.
namespace Udf {

using TraceSenke = void (*)(std::string_view zeile);

void Trace(std::string_view zeile);

// Replaces the sink (tests); null restores the system log.
void TraceSenkeSetzen(TraceSenke senke);

}  // namespace Udf
