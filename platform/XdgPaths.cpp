#include "XdgPaths.h"

#include <QDir>

namespace platform {

namespace {

QString xdgHome(const char* variable, const QString& vorgabe)
{
    const QString wert = qEnvironmentVariable(variable);
    if (!wert.isEmpty() && QDir::isAbsolutePath(wert))
        return wert;
    return QDir::homePath() + vorgabe;
}

}  // namespace

QString xdgDataHome()
{
    return xdgHome("XDG_DATA_HOME", QStringLiteral("/.local/share"));
}

QString xdgConfigHome()
{
    return xdgHome("XDG_CONFIG_HOME", QStringLiteral("/.config"));
}

QString dataFolderPath()
{
    return xdgDataHome() + QStringLiteral("/Bovantis");
}

}  // namespace platform
