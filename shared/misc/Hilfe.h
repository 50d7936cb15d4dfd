#pragma once

namespace Tools {

// Shows the help for a help context through the registered help file. Without a help file the
// user gets a message instead.
void HilfeAnzeigen(int helpContext);

}  // namespace Tools
