#include "Hilfe.h"

#include "Meldung.h"

#include <Help.h>

namespace Tools {

void HilfeAnzeigen(int helpContext)
{
    if (!platform::Help::show(helpContext))
        MeldungInfo(QStringLiteral("Für dieses Programm ist keine Hilfe installiert."));
}

}  // namespace Tools
