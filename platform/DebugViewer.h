#pragma once

namespace platform {

// Whether the outside debug viewer, to which the trace log also sends its lines, is installed.
// No such viewer program exists on this platform, so the trace goes to the trace file only.
bool debugViewerInstalled();

}  // namespace platform
