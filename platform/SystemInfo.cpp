#include "SystemInfo.h"

#include "XdgPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace platform {

QString currentUserName()
{
    const QString fromEnv = qEnvironmentVariable("USERNAME");
    if (!fromEnv.isEmpty())
        return fromEnv;
    if (const passwd* pw = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString dataFolder()
{
    const QString folder = dataFolderPath();
    QDir().mkpath(folder);
    return folder;
}

QString tempFolder()
{
    const QString folder = QDir::tempPath();
    QDir().mkpath(folder);
    return folder;
}

bool isWritableFolder(const QString& folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

}  // namespace platform
