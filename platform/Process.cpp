#include "Process.h"

#include <QFileInfo>
#include <QProcess>

namespace platform {

bool startDetached(const QString& program, const QStringList& arguments,
                   const QString& workingFolder)
{
    const QFileInfo info(program);
    if (info.isFile() && !info.isExecutable())
        return openWithDesktop(program);
    return QProcess::startDetached(program, arguments, workingFolder);
}

bool openWithDesktop(const QString& path)
{
    return QProcess::startDetached(QStringLiteral("xdg-open"), {path});
}

}  // namespace platform
