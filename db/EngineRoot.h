#pragma once

#include <QString>

namespace db {

// Prepares the engine's private configuration root and points FIREBIRD at it. The root holds
// firebird.conf (ServerMode = Classic, so that several processes open one database file embedded
// at once, and UdfAccess restricted to the folder of the running program, where the extension
// module lies), plugins.conf, a link to the system's plugins and copies of intl/ and firebird.msg.
// It also points FIREBIRD_LOCK at the lock folder of the process's group, which every process of
// the program run by a member of that group shares, whichever user runs it.
// Runs once per process, before the first use of the engine; every connection and service does it
// itself, so programs only call it to learn the path. Throws db::Error when it cannot be written.
QString PrepareEngineRoot();

// The folder the engine may load extension modules from (the running program's folder).
QString ExtensionModuleFolder();

// Held while this process has a database file attached with the embedded engine. The engines of
// another group keep their lock tables in another folder and would not see this process's locks
// (see PrepareEngineRoot): while the guard is held, theirs refuses the file.
class EngineFileGuard {
public:
    // Throws db::Error (engine code isc_already_opened) naming the user whose engine of another
    // group has the file attached, or when the register of attached files cannot be used.
    explicit EngineFileGuard(const QString& file);
    ~EngineFileGuard();
    EngineFileGuard(const EngineFileGuard&) = delete;
    EngineFileGuard& operator=(const EngineFileGuard&) = delete;

private:
    QString schluessel_;
    QByteArray mutex_;
    QByteArray own_;
    int fd_ = -1;
};

}  // namespace db
