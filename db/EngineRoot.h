#pragma once

#include <QString>

namespace db {

// Prepares the engine's private configuration root and points FIREBIRD at it. The root holds
// firebird.conf (ServerMode = Classic, so that several processes open one database file embedded
// at once, and UdfAccess restricted to the folder of the running program, where the extension
// module lies), plugins.conf, a link to the system's plugins and copies of intl/ and firebird.msg.
// Runs once per process, before the first use of the engine; every connection and service does it
// itself, so programs only call it to learn the path. Throws db::Error when it cannot be written.
QString PrepareEngineRoot();

// The folder the engine may load extension modules from (the running program's folder).
QString ExtensionModuleFolder();

}  // namespace db
