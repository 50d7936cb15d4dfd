#include "Hilfe.h"

#include "Meldung.h"

#include <Help.h>

namespace Tools {

namespace {
HilfeSystem& ersatz()
{
    static HilfeSystem system;
    return system;
}
}  // namespace

bool HilfeAnzeigen(int helpContext)
{
    const bool shown = ersatz() ? ersatz()(helpContext) : platform::Help::show(helpContext);
    if (!shown)
        MeldungInfo(QStringLiteral("Für dieses Programm ist keine Hilfe installiert."));
    return shown;
}

void SetHilfeSystem(HilfeSystem system)
{
    ersatz() = std::move(system);
}

}  // namespace Tools
