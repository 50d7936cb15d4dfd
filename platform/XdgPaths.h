#pragma once

#include <QString>

namespace platform {

// $XDG_DATA_HOME, or ~/.local/share when it is unset or not absolute.
QString xdgDataHome();

// $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute.
QString xdgConfigHome();

// Where dataFolder() lies, without creating it (to ask whether it exists).
QString dataFolderPath();

}  // namespace platform
