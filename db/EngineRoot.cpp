#include "EngineRoot.h"

#include "Error.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <ibase.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <utility>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
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
// the program folder nor on TMPDIR, nor on the user. The engine creates its files there with mode
// 0660 and resets that mode whenever their owner opens them, so only users of one group can share
// the folder: it is the folder of the process's group. A file attached meanwhile by an engine of
// another group is refused by EngineFileGuard. The distribution's /tmp/firebird is open to its
// server's group only.
QString LockFolder()
{
    const gid_t gruppe = ::getegid();
    const QString folder = QStringLiteral("/tmp/bovantis-firebird-lock-g%1").arg(gruppe);
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), 0770) != 0 && errno != EEXIST)
        Fail(folder + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno)));
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        Fail(folder + QStringLiteral(": ist kein Ordner"));
    // Only members of the group can have given the folder to it.
    if (st.st_gid != gruppe || (st.st_mode & 0007) != 0)
        Fail(folder + QStringLiteral(": gehört nicht der Gruppe des Benutzers oder ist für andere "
                                     "offen"));
    // Created under the user's umask; the other members must create their files as well.
    if ((st.st_mode & 0070) != 0070 &&
        (st.st_uid != ::geteuid() || ::chmod(name.constData(), 0770) != 0))
        Fail(folder + QStringLiteral(": die Gruppe des Benutzers darf darin nicht schreiben"));
    return folder;
}

// Who has which database file attached, by lock folder: one file per file, group and user, each
// locked shared by the processes that have the file attached. Open to every user, and sticky, so
// that no user can remove another's entries.
const QString Register = QStringLiteral("/tmp/bovantis-firebird-belegt");

[[noreturn]] void RegisterFail(const QString& what)
{
    throw Error(QStringLiteral("Das Verzeichnis der geöffneten Datenbanken kann nicht benutzt "
                               "werden:\n%1")
                    .arg(what));
}

QString SystemFehler(const QString& path)
{
    return path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

void RegisterPruefen()
{
    const QByteArray name = QFile::encodeName(Register);
    if (::mkdir(name.constData(), 01777) == 0)
        ::chmod(name.constData(), 01777);
    else if (errno != EEXIST)
        RegisterFail(SystemFehler(Register));
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        RegisterFail(Register + QStringLiteral(": ist kein Ordner"));
    if ((st.st_mode & 07777) != 01777 && st.st_uid == ::geteuid())
        ::chmod(name.constData(), 01777);
    else if ((st.st_mode & 07777) != 01777)
        RegisterFail(Register + QStringLiteral(": ist nicht für alle Benutzer beschreibbar"));
}

// Files are opened read-only: a shared or exclusive lock needs no more, and so a file created by
// another user (mode 0644) serves every user. An existing file is opened without O_CREAT, which
// the system refuses for another user's file in a sticky folder open to all (protected_regular).
int Oeffnen(const QByteArray& path)
{
    for (;;) {
        int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0)
            return fd;
        if (errno == EINTR)
            continue;
        if (errno != ENOENT)
            return -1;
        fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) {
            // Created under the user's umask.
            ::fchmod(fd, 0644);
            return fd;
        }
        if (errno != EEXIST && errno != EINTR)
            return -1;
    }
}

bool Sperren(int fd, int art)
{
    int r;
    do {
        r = ::flock(fd, art);
    } while (r != 0 && errno == EINTR);
    return r == 0;
}

QString BenutzerName(uid_t uid)
{
    if (const passwd* pw = ::getpwuid(uid))
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::number(uid);
}

// Closes on every way out.
struct Fd {
    int fd;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// The register's lock for one database file, held while looking and entering or leaving. Its file
// goes with the last entry; who locked a file just removed tries again.
int MutexSperren(const QByteArray& path)
{
    for (;;) {
        Fd mutex{Oeffnen(path)};
        if (mutex.fd < 0 || !Sperren(mutex.fd, LOCK_EX))
            return -1;
        struct stat offen {
        }, jetzt{};
        if (::fstat(mutex.fd, &offen) == 0 && ::lstat(path.constData(), &jetzt) == 0 &&
            offen.st_dev == jetzt.st_dev && offen.st_ino == jetzt.st_ino)
            return std::exchange(mutex.fd, -1);
    }
}

QStringList Eintraege(const QString& schluessel)
{
    return QDir(Register).entryList({schluessel + QStringLiteral("-g*")},
                                    QDir::Files | QDir::System);
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

EngineFileGuard::EngineFileGuard(const QString& file)
{
    struct stat datei {};
    if (::stat(QFile::encodeName(file).constData(), &datei) != 0)
        return;  // the engine reports the missing file
    RegisterPruefen();
    schluessel_ = QStringLiteral("%1-%2")
                      .arg(qulonglong(datei.st_dev), 0, 16)
                      .arg(qulonglong(datei.st_ino), 0, 16);
    const QString gruppe = QStringLiteral("%1-g%2-").arg(schluessel_).arg(::getegid());
    mutex_ = QFile::encodeName(Register + QLatin1Char('/') + schluessel_);
    own_ = QFile::encodeName(Register + QLatin1Char('/') + gruppe + QString::number(::geteuid()));

    // Looking and entering are one step, or two groups could both find the file free.
    Fd mutex{MutexSperren(mutex_)};
    if (mutex.fd < 0)
        RegisterFail(SystemFehler(QFile::decodeName(mutex_)));
    for (const QString& eintrag : Eintraege(schluessel_)) {
        if (eintrag.startsWith(gruppe))
            continue;
        Fd anderer{::open(QFile::encodeName(Register + QLatin1Char('/') + eintrag).constData(),
                          O_RDONLY | O_NOFOLLOW | O_CLOEXEC)};
        // An entry nobody holds is left by an engine that has ended; one that cannot be read
        // cannot be told from one in use.
        if (anderer.fd >= 0 && Sperren(anderer.fd, LOCK_EX | LOCK_NB))
            continue;
        const uid_t uid = eintrag.section(QLatin1Char('-'), -1).toUInt();
        throw Error(QStringLiteral("Die Datenbank \"%1\" ist bereits vom Benutzer \"%2\" "
                                   "geöffnet.\n\n"
                                   "Zwei Benutzer können dieselbe Datenbankdatei nur dann "
                                   "gleichzeitig öffnen, wenn sie dieselbe Hauptgruppe haben; "
                                   "sonst kann keiner sehen, was der andere gerade schreibt. "
                                   "Beenden Sie das Programm beim Benutzer \"%2\" und versuchen "
                                   "Sie es dann erneut, oder lassen Sie beide Benutzer über den "
                                   "Datenbank-Server verbinden.")
                        .arg(QDir::toNativeSeparators(file), BenutzerName(uid)),
                    0, isc_already_opened);
    }
    fd_ = Oeffnen(own_);
    if (fd_ < 0 || !Sperren(fd_, LOCK_SH)) {
        const QString fehler = SystemFehler(QFile::decodeName(own_));
        if (fd_ >= 0)
            ::close(fd_);
        RegisterFail(fehler);
    }
}

EngineFileGuard::~EngineFileGuard()
{
    if (fd_ < 0)
        return;
    // The entry goes with the last process of this group and user; under the register's lock, so
    // that no process is about to lock the entry just removed.
    Fd mutex{MutexSperren(mutex_)};
    if (mutex.fd >= 0 && Sperren(fd_, LOCK_EX | LOCK_NB)) {
        ::unlink(own_.constData());
        // Only its owner may remove it from the sticky folder; otherwise it stays, empty.
        if (Eintraege(schluessel_).isEmpty())
            ::unlink(mutex_.constData());
    }
    ::close(fd_);
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
