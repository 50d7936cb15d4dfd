#include "DebugViewer.h"

namespace platform {

bool debugViewerInstalled()
{
    return false;
}

}  // namespace platform
