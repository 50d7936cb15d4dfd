#include "Help.h"

#include "Process.h"

#include <QFileInfo>

namespace platform {

namespace {
QString& registeredFile()
{
    static QString file;
    return file;
}
}  // namespace

void Help::setHelpFile(const QString& path)
{
    registeredFile() = path;
}

QString Help::helpFile()
{
    return registeredFile();
}

bool Help::show(int /*context*/)
{
    // The desktop viewers open the file as a whole; they take no topic numbers.
    const QString file = registeredFile();
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return false;
    return openWithDesktop(file);
}

}  // namespace platform
