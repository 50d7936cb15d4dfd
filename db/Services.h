#pragma once

#include "Error.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace db {

// A restore that failed on the backup itself (damaged, cut short, not a backup), as opposed to a
// server that cannot be reached or a file that cannot be written.
class DamagedBackup : public Error {
public:
    using Error::Error;
};

// Where the service manager runs and as whom: an empty server is the embedded engine of this
// process; otherwise the name of a database server.
struct ServiceParams {
    QString Server;
    QString User;
    QString Password;
};

// One line of a backup's or restore's verbose output.
using ServiceOutput = std::function<void(const QString& line)>;
// Inspects a complete restored copy (its connection name) before it takes the place of the
// database; throws to refuse it.
using RestoreCheck = std::function<void(const QString& copy)>;

// Backup, restore and user administration through the engine's services. Each call runs to its
// end and throws db::Error when the service fails; the verbose lines go to the caller as they
// come.
namespace Services {

void Backup(const ServiceParams& params, const QString& database, const QString& backupFile,
            const ServiceOutput& output = {});
// Restores into a new file; with replace an existing file is replaced (it must not be in use).
// A backup that is damaged or ends too early is a DamagedBackup, and the file that was there stays
// as it was: the restore goes into a new file beside it, which takes its place only when complete
// and accepted by check. A server's file is swapped in the file system, so the server must run on
// this machine and the database's folder must be writable here.
void Restore(const ServiceParams& params, const QString& backupFile, const QString& database,
             bool replace, const ServiceOutput& output = {}, const RestoreCheck& check = {});
// Removes the side files of restores that were killed in the folder (only files whose restore no
// longer runs); returns the paths removed.
QStringList RemoveLeftovers(const QString& folder);
// Adds a user to the server's security database.
void AddUser(const ServiceParams& params, const QString& user, const QString& password);

}  // namespace Services

}  // namespace db
