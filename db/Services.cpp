#include "Services.h"

#include "Database.h"
#include "EngineRoot.h"
#include "FbApi.h"
#include "Query.h"
#include "Transaction.h"

#include <ibase.h>

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <vector>

namespace db::Services {

namespace {

using namespace Firebird;

class Builder {
public:
    Builder(fb::Status& st, unsigned kind)
        : st_(st), b_(fb::Util()->getXpbBuilder(&st, kind, nullptr, 0))
    {
    }
    ~Builder() { b_->dispose(); }
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;
    IXpbBuilder* operator->() const { return b_; }
    unsigned Length() { return b_->getBufferLength(&st_); }
    const unsigned char* Buffer() { return b_->getBuffer(&st_); }

private:
    fb::Status& st_;
    IXpbBuilder* b_;
};

QByteArray Local(const QString& s)
{
    return s.toLocal8Bit();
}

// Attaches the service manager, starts the action, and reads its output to the end.
void Run(const ServiceParams& params, const std::function<void(fb::Status&, Builder&)>& action,
         bool verbose, const ServiceOutput& output)
{
    const QByteArray name = params.Server.isEmpty()
                                ? QByteArray("service_mgr")
                                : Local(params.Server) + QByteArray(":service_mgr");
    fb::Call([&](fb::Status& st) {
        Builder attach(st, IXpbBuilder::SPB_ATTACH);
        if (!params.User.isEmpty())
            attach->insertString(&st, isc_spb_user_name, fb::ToLatin1(params.User).constData());
        if (!params.Password.isEmpty())
            attach->insertString(&st, isc_spb_password, fb::ToLatin1(params.Password).constData());
        IService* service = fb::Provider()->attachServiceManager(&st, name.constData(),
                                                                 attach.Length(), attach.Buffer());
        try {
            Builder start(st, IXpbBuilder::SPB_START);
            action(st, start);
            service->start(&st, start.Length(), start.Buffer());

            const unsigned char item = verbose ? isc_info_svc_line : isc_info_svc_to_eof;
            std::vector<unsigned char> buffer(65000);
            for (bool more = true; more;) {
                service->query(&st, 0, nullptr, 1, &item, unsigned(buffer.size()), buffer.data());
                more = false;
                for (const unsigned char* p = buffer.data(); *p != isc_info_end;) {
                    const unsigned char tag = *p++;
                    if (tag == isc_info_svc_line || tag == isc_info_svc_to_eof) {
                        const auto len =
                            unsigned(isc_vax_integer(reinterpret_cast<const char*>(p), 2));
                        p += 2;
                        if (len > 0) {
                            more = true;
                            if (output) {
                                const QString text = QString::fromLocal8Bit(
                                    reinterpret_cast<const char*>(p), int(len));
                                for (const QString& line :
                                     text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                                    output(line);
                            }
                        }
                        p += len;
                    } else if (tag == isc_info_truncated || tag == isc_info_data_not_ready ||
                               tag == isc_info_svc_timeout) {
                        more = true;
                    } else {
                        break;
                    }
                }
            }
            service->detach(&st);
        } catch (...) {
            service->release();
            throw;
        }
    });
}

}  // namespace

namespace {

// An engine of another group that has the local file attached does not share our locks: the
// service is refused like an attachment would be.
std::unique_ptr<EngineFileGuard> LocalGuard(const ServiceParams& params, const QString& database)
{
    if (!params.Server.isEmpty())
        return nullptr;
    return std::make_unique<EngineFileGuard>(database);
}

}  // namespace

void Backup(const ServiceParams& params, const QString& database, const QString& backupFile,
            const ServiceOutput& output)
{
    const auto guard = LocalGuard(params, database);
    Run(
        params,
        [&](fb::Status& st, Builder& spb) {
            spb->insertTag(&st, isc_action_svc_backup);
            spb->insertString(&st, isc_spb_dbname, Local(database).constData());
            spb->insertString(&st, isc_spb_bkp_file, Local(backupFile).constData());
            if (output)
                spb->insertTag(&st, isc_spb_verbose);
        },
        bool(output), output);
}

namespace {

// The engine's restore reports a backup that ends too early only on its own stderr and then
// returns as if it had succeeded; a restore is complete only when it said so at its end.
const QString restoreFinished = QStringLiteral("finishing, closing, and going home");

// Restores into a file that must not exist yet; false when the restore did not run to its end
// (the file it made is then incomplete).
bool RestoreNew(const ServiceParams& params, const QString& backupFile, const QString& database,
                bool replace, const ServiceOutput& output)
{
    bool finished = false;
    Run(
        params,
        [&](fb::Status& st, Builder& spb) {
            spb->insertTag(&st, isc_action_svc_restore);
            spb->insertString(&st, isc_spb_bkp_file, Local(backupFile).constData());
            spb->insertString(&st, isc_spb_dbname, Local(database).constData());
            spb->insertInt(&st, isc_spb_options,
                           replace ? isc_spb_res_replace : isc_spb_res_create);
            spb->insertTag(&st, isc_spb_verbose);
        },
        true,
        [&](const QString& line) {
            if (line.contains(restoreFinished))
                finished = true;
            if (output)
                output(line);
        });
    return finished;
}

[[noreturn]] void Incomplete(const QString& backupFile)
{
    throw DamagedBackup(QStringLiteral("Die Sicherung %1 ist unvollständig oder beschädigt; sie "
                                       "wurde nicht zurückgeladen.")
                            .arg(backupFile));
}

// Codes of the engine's backup-and-restore facility: the backup file itself was refused.
bool BackupFacility(const Error& e)
{
    constexpr long first = 336330752;
    return e.EngineCode() >= first && e.EngineCode() < first + 65536;
}

QString Connection(const ServiceParams& params, const QString& database)
{
    return params.Server.isEmpty() ? database : params.Server + QLatin1Char(':') + database;
}

// Removes what a failed restore left behind; a file the engine keeps cannot be removed here and
// only costs room. A server that is gone leaves its file to this machine's file system.
void Discard(const ServiceParams& params, const QString& database)
{
    if (!params.Server.isEmpty()) {
        try {
            fb::Call([&](fb::Status& st) {
                Builder dpb(st, IXpbBuilder::DPB);
                dpb->insertString(&st, isc_dpb_user_name, fb::ToLatin1(params.User).constData());
                dpb->insertString(&st, isc_dpb_password, fb::ToLatin1(params.Password).constData());
                const QByteArray name = Local(Connection(params, database));
                IAttachment* a = fb::Provider()->attachDatabase(&st, name.constData(), dpb.Length(),
                                                                dpb.Buffer());
                try {
                    a->dropDatabase(&st);
                } catch (...) {
                    a->release();
                    throw;
                }
            });
        } catch (const Error&) {
        }
    }
    QFile::remove(database);
}

const QString sideMarker = QStringLiteral(".rueckladen-");
const QString sideSuffix = QStringLiteral(".tmp");
const QString lockSuffix = QStringLiteral(".lock");

// A name beside the target that nothing uses, locked for as long as the restore runs: the lock
// tells a later start whether the side file belongs to a restore that still runs.
QString NameBeside(const QString& database, std::unique_ptr<QLockFile>& lock)
{
    const QFileInfo target(database);
    for (;;) {
        const QString name = target.absolutePath() + QLatin1Char('/') + target.completeBaseName() +
                             sideMarker +
                             QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16,
                                                      QLatin1Char('0')) +
                             sideSuffix;
        if (QFileInfo::exists(name) || QFileInfo::exists(name + lockSuffix))
            continue;
        lock = std::make_unique<QLockFile>(name + lockSuffix);
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            throw Error(QStringLiteral("Im Ordner %1 kann keine Datei angelegt werden; die "
                                       "Datenbank kann nicht ersetzt werden.")
                            .arg(target.absolutePath()));
        return name;
    }
}

// Other attachments to the database; a file that cannot be opened has none.
int OtherAttachments(const ServiceParams& params, const QString& database)
{
    try {
        Database d;
        d.Open({Connection(params, database),
                params.Server.isEmpty() ? QString() : params.User,
                params.Server.isEmpty() ? QString() : params.Password,
                {}});
        Transaction t(d);
        t.Start();
        Query q(t, QStringLiteral("SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID "
                                  "<> CURRENT_CONNECTION AND MON$SYSTEM_FLAG = 0"));
        q.Open();
        return q.Field(0).AsInteger();
    } catch (const Error&) {
        return 0;
    }
}

// Runs the restore into a file that does not exist yet and hands it to the check. What an
// incomplete or refused restore made is removed; after an error only when the file is surely the
// restore's own (ours), never a file the engine refused to overwrite.
void RestoreChecked(const ServiceParams& params, const QString& backupFile, const QString& database,
                    const ServiceOutput& output, const RestoreCheck& check, bool ours)
{
    bool finished = false;
    try {
        finished = RestoreNew(params, backupFile, database, false, output);
    } catch (const Error& e) {
        if (ours)
            Discard(params, database);
        if (BackupFacility(e))
            throw DamagedBackup(e.Message(), e.SqlCode(), e.EngineCode());
        throw;
    }
    try {
        if (!finished)
            Incomplete(backupFile);
        if (check)
            check(Connection(params, database));
    } catch (...) {
        Discard(params, database);
        throw;
    }
}

}  // namespace

void Restore(const ServiceParams& params, const QString& backupFile, const QString& database,
             bool replace, const ServiceOutput& output, const RestoreCheck& check)
{
    const auto guard = LocalGuard(params, database);
    if (!replace || !QFileInfo::exists(database)) {
        // The engine refuses an existing file here, so what an incomplete restore made is its own.
        RestoreChecked(params, backupFile, database, output, check,
                       params.Server.isEmpty() && !QFileInfo::exists(database));
        return;
    }
    // The database that is there is given up only for a complete, accepted copy.
    std::unique_ptr<QLockFile> lock;
    const QString fresh = NameBeside(database, lock);
    RestoreChecked(params, backupFile, fresh, output, check, true);
    if (OtherAttachments(params, database) > 0) {
        Discard(params, fresh);
        throw Error(QStringLiteral("Die Datenbank %1 wird noch benutzt und kann nicht ersetzt "
                                   "werden.")
                        .arg(database));
    }
    // The restored copy gets the access the database had; a server's file may refuse it.
    QFile::setPermissions(fresh, QFileInfo(database).permissions());
    if (::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(database).constData()) !=
        0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        Discard(params, fresh);
        throw Error(
            QStringLiteral("Die Datenbank %1 kann nicht ersetzt werden: %2").arg(database, reason));
    }
}

QStringList RemoveLeftovers(const QString& folder)
{
    QStringList removed;
    const QDir dir(folder);
    // A side file without its lock was not made by a restore of this program and stays.
    for (const QString& name : dir.entryList(
             {QStringLiteral("*") + sideMarker + QStringLiteral("*") + sideSuffix + lockSuffix},
             QDir::Files | QDir::Hidden)) {
        QLockFile lock(dir.filePath(name));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        const QString side = dir.filePath(name.chopped(lockSuffix.size()));
        if (QFileInfo::exists(side) && QFile::remove(side))
            removed << side;
        lock.unlock();
    }
    return removed;
}

void AddUser(const ServiceParams& params, const QString& user, const QString& password)
{
    if (user.trimmed().isEmpty() || password.isEmpty())
        throw Error(QStringLiteral("Benutzername und Passwort dürfen nicht leer sein."));
    Run(params,
        [&](fb::Status& st, Builder& spb) {
            spb->insertTag(&st, isc_action_svc_add_user);
            spb->insertString(&st, isc_spb_sec_username, fb::ToLatin1(user).constData());
            spb->insertString(&st, isc_spb_sec_password, fb::ToLatin1(password).constData());
        },
        false, {});
}

}  // namespace db::Services
