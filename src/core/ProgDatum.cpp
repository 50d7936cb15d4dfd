#include "ProgDatum.h"

#include <ZRDateTools.h>

namespace ProgDatum {

// The shared controls ask ZRDateTools for today; keeping the date there means both always agree.
QDate Heute()
{
    return ZRDateTools::Heute();
}

void HeuteSetzen(const QDate& datum)
{
    if (datum.isValid())
        ZRDateTools::SetHeuteQuelle([datum] { return datum; });
    else
        ZRDateTools::SetHeuteQuelle({});
}

}  // namespace ProgDatum
