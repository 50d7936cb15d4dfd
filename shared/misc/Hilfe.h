#pragma once

#include <functional>

namespace Tools {

// Shows the help for a help context through the registered help file. Without a help file the
// user gets a message instead. True when the help was shown.
bool HilfeAnzeigen(int helpContext);

// Replaces the help system (tests): it gets the context and tells whether it showed the help.
// An empty function restores the registered help file.
using HilfeSystem = std::function<bool(int helpContext)>;
void SetHilfeSystem(HilfeSystem system);

}  // namespace Tools
