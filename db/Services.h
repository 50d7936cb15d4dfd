#pragma once

#include <QString>

#include <functional>

namespace db {

// Where the service manager runs and as whom: an empty server is the embedded engine of this
// process; otherwise the name of a database server.
struct ServiceParams {
    QString Server;
    QString User;
    QString Password;
};

// One line of a backup's or restore's verbose output.
using ServiceOutput = std::function<void(const QString& line)>;

// Backup, restore and user administration through the engine's services. Each call runs to its
// end and throws db::Error when the service fails; the verbose lines go to the caller as they
// come.
namespace Services {

void Backup(const ServiceParams& params, const QString& database, const QString& backupFile,
            const ServiceOutput& output = {});
// Restores into a new file; with replace an existing file is replaced (it must not be in use).
// A backup that is damaged or ends too early is an error, and the file that was there stays as it
// was: the restore goes into a new file beside it, which takes its place only when complete.
void Restore(const ServiceParams& params, const QString& backupFile, const QString& database,
             bool replace, const ServiceOutput& output = {});
// Adds a user to the server's security database.
void AddUser(const ServiceParams& params, const QString& user, const QString& password);

}  // namespace Services

}  // namespace db
