#include "UdfTrace.h"

#include <atomic>
#include <string>
#include <syslog.h>

namespace Udf {

namespace {

void Systemlog(std::string_view zeile)
{
    // The text is data, never a format: it comes from SQL.
    const std::string text(zeile);
    syslog(LOG_USER | LOG_INFO, "bovantis_udf: %s", text.c_str());
}

std::atomic<TraceSenke> gSenke{Systemlog};

}  // namespace

void Trace(std::string_view zeile)
{
    gSenke.load()(zeile);
}

void TraceSenkeSetzen(TraceSenke senke)
{
    gSenke.store(senke != nullptr ? senke : Systemlog);
}

}  // namespace Udf
