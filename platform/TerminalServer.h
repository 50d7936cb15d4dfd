#pragma once

#include <QString>

namespace platform {

// The machine-wide configuration file in which an administrator marks a terminal server.
inline const QString TerminalServerKonfiguration = QStringLiteral("/etc/zrbovantis.conf");

// True when the configuration file holds the line "IsTerminalServer=1" (also true, yes, on; the
// key in any case). A missing or unreadable file, or any other value, means no terminal server.
// Then every user gets INI and database files of his own in the data folder.
bool isTerminalServer(const QString& konfigurationsdatei = TerminalServerKonfiguration);

}  // namespace platform
