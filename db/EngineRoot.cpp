#include "EngineRoot.h"

#include "Error.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <mutex>

#include <sys/stat.h>
#include <unistd.h>

namespace db {

namespace {

// The system's engine files (Debian's firebird3.0 packages), found at configure time.
const QString systemRoot = QStringLiteral(BOVANTIS_FIREBIRD_ROOT);

[[noreturn]] void Fail(const QString& what)
{
    throw Error(QStringLiteral("Die Konfiguration der Datenbank-Engine konnte nicht angelegt "
                               "werden:\n%1")
                    .arg(what));
}

void WriteFile(const QString& path, const QByteArray& content)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content)
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        Fail(path + QStringLiteral(": ") + file.errorString());
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Fail(path + QStringLiteral(": ") + file.errorString());
    return file.readAll();
}

// A symlinked intl/ is not accepted by the engine, so the files are copied.
void CopyFile(const QString& from, const QString& to)
{
    WriteFile(to, ReadFile(from));
}

void Link(const QString& target, const QString& link)
{
    if (QFileInfo(link).symLinkTarget() == target)
        return;
    const QString tmp = link + QStringLiteral(".new");
    QFile::remove(tmp);
    if (!QFile::link(target, tmp) || ::rename(QFile::encodeName(tmp), QFile::encodeName(link)) != 0)
        Fail(link);
}

// The engine's shared lock tables. Every process that opens one file must use the same folder,
// or two processes would write the file without knowing of each other: so it depends neither on
// the program folder nor on TMPDIR. The distribution's /tmp/firebird is open to its server's group
// only; this one belongs to the user, as the data folder and the embedded engine do.
QString LockFolder()
{
    const QString folder = QStringLiteral("/tmp/bovantis-firebird-lock-%1").arg(::getuid());
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        Fail(folder + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno)));
    struct stat st {};
    // Another user's folder under this name would see and could disturb our locks.
    if (::lstat(name.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
        (st.st_mode & 0077) != 0)
        Fail(folder + QStringLiteral(": gehört nicht dem Benutzer oder ist für andere offen"));
    return folder;
}

QString Prepare()
{
    const QString binDir = ExtensionModuleFolder();
    // One root per user and program folder: programs of other builds may restrict the engine to
    // their own folders.
    const QByteArray key =
        QCryptographicHash::hash(QFile::encodeName(binDir), QCryptographicHash::Sha1).toHex();
    const QString root = QDir::tempPath() + QStringLiteral("/bovantis-firebird-%1-%2")
                                                .arg(::getuid())
                                                .arg(QString::fromLatin1(key.left(12)));
    if (!QDir().mkpath(root + QStringLiteral("/intl")))
        Fail(root);

    QLockFile lock(root + QStringLiteral(".lock"));
    if (!lock.lock())
        Fail(root + QStringLiteral(".lock"));

    WriteFile(root + QStringLiteral("/firebird.conf"),
              QByteArray("# Written by the program at every start.\n"
                         "ServerMode = Classic\n"
                         "UdfAccess = Restrict ") +
                  QFile::encodeName(binDir) + "\n");
    // The UDR engine looks for its modules in the program's folder, beside the legacy ones: the
    // schema declares the extension functions as UDR functions of the same module.
    WriteFile(root + QStringLiteral("/plugins.conf"),
              QByteArray("# Written by the program at every start.\n"
                         "Plugin = UDR {\n"
                         "\tModule = $(dir_plugins)/udr_engine\n"
                         "\tConfig = UDR_config\n"
                         "}\n"
                         "\n"
                         "Config = UDR_config {\n"
                         "\tpath = ") +
                  QFile::encodeName(binDir) + "\n}\n");
    CopyFile(systemRoot + QStringLiteral("/firebird.msg"), root + QStringLiteral("/firebird.msg"));
    const QDir intl(systemRoot + QStringLiteral("/intl"));
    for (const QFileInfo& f : intl.entryInfoList(QDir::Files))
        CopyFile(f.absoluteFilePath(), root + QStringLiteral("/intl/") + f.fileName());
    Link(systemRoot + QStringLiteral("/plugins"), root + QStringLiteral("/plugins"));

    qputenv("FIREBIRD", QFile::encodeName(root));
    qputenv("FIREBIRD_LOCK", QFile::encodeName(LockFolder()));
    return root;
}

}  // namespace

QString ExtensionModuleFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}

QString PrepareEngineRoot()
{
    static std::mutex mutex;
    static QString root;
    std::lock_guard guard(mutex);
    if (root.isEmpty())
        root = Prepare();
    return root;
}

}  // namespace db
