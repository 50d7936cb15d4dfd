#pragma once

#include <Abort.h>

// Ends the current user action after its message was already shown. Whoever runs an action
// catches it and ignores it, showing nothing more. The database layer's own, so that a save the
// user ended at a conflict ends the same way.
using SilentAbort = db::Abort;
