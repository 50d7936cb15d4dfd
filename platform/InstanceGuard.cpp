#include "InstanceGuard.h"

#include <QDir>
#include <QFile>

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <stdexcept>

namespace platform {

namespace {

QString lockPath(const QString& name)
{
    return runtimeFolder() + QLatin1Char('/') + name + QStringLiteral(".lock");
}

int openLockFile(const QString& name)
{
    const QByteArray path = QFile::encodeName(lockPath(name));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        throw std::runtime_error("Die Sperrdatei " + path.toStdString() +
                                 " kann nicht geöffnet werden.");
    return fd;
}

}  // namespace

QString runtimeFolder()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::tempPath() + QStringLiteral("/bovantis-") + QString::number(::getuid());
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return dir;
}

InstanceGuard::~InstanceGuard()
{
    release();
}

std::unique_ptr<InstanceGuard> InstanceGuard::tryAcquire(const QString& name)
{
    const int fd = openLockFile(name);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<InstanceGuard>(new InstanceGuard(name, fd));
}

std::unique_ptr<InstanceGuard> InstanceGuard::acquire(const QString& name)
{
    const int fd = openLockFile(name);
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            throw std::runtime_error("Die Sperrdatei " + lockPath(name).toStdString() +
                                     " kann nicht gesperrt werden.");
        }
    }
    return std::unique_ptr<InstanceGuard>(new InstanceGuard(name, fd));
}

bool InstanceGuard::isHeldByOtherProcess(const QString& name)
{
    if (!QFile::exists(lockPath(name)))
        return false;
    const int fd = openLockFile(name);
    // A lock of this process's own through another descriptor counts as held too; the callers
    // (the backup program before a restore) never hold it themselves.
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

void InstanceGuard::release()
{
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace platform
