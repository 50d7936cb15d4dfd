#include "ProgTrace.h"

#include <SystemInfo.h>

#include <QDateTime>
#include <QFile>
#include <QMutex>

namespace ProgTrace {

namespace {
QMutex mutex;
bool fileOn = false;
}  // namespace

QString TraceFileName()
{
    const QString programFolder = platform::programFolder();
    const QString folder =
        platform::isWritableFolder(programFolder) ? programFolder : platform::dataFolder();
    return folder + QStringLiteral("/debug.txt");
}

void SetTraceFile(bool on)
{
    QMutexLocker lock(&mutex);
    fileOn = on;
}

void Trace(const QString& text)
{
    QMutexLocker lock(&mutex);
    if (!fileOn)
        return;
    QFile file(TraceFileName());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QString line =
        QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss ")) + text
        + QStringLiteral("\r\n");
    file.write(line.toUtf8());
}

void Clear()
{
    QMutexLocker lock(&mutex);
    QFile file(TraceFileName());
    if (file.exists())
        file.resize(0);
}

}  // namespace ProgTrace
