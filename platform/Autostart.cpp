#include "Autostart.h"

#include "XdgPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <stdexcept>

namespace platform::Autostart {

namespace {

QString quoted(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = argument.isEmpty();
    for (const QChar c : argument)
        needsQuotes = needsQuotes || reserved.contains(c);
    QString text;
    for (const QChar c : argument) {
        if (c == QLatin1Char('%'))
            text += QStringLiteral("%%");
        else if (needsQuotes && QStringLiteral("\"`$\\").contains(c))
            text += QLatin1Char('\\') + c;
        else
            text += c;
    }
    return needsQuotes ? QLatin1Char('"') + text + QLatin1Char('"') : text;
}

}  // namespace

QString entryFile(const QString& name)
{
    return xdgConfigHome() + QStringLiteral("/autostart/") +
           name.toLower().replace(QLatin1Char(' '), QLatin1Char('-')) + QStringLiteral(".desktop");
}

bool isEnabled(const QString& name)
{
    return QFile::exists(entryFile(name));
}

QString execLine(const QString& program, const QStringList& arguments)
{
    QStringList parts{quoted(program)};
    for (const QString& argument : arguments)
        parts << quoted(argument);
    // The value itself is a string of the entry format, in which a backslash is escaped again.
    return parts.join(QLatin1Char(' ')).replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}

void enable(const QString& name, const QString& program, const QStringList& arguments)
{
    const QString file = entryFile(name);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile entry(file);
    const QByteArray content = QStringLiteral(
                                   "[Desktop Entry]\n"
                                   "Type=Application\n"
                                   "Name=%1\n"
                                   "Exec=%2\n"
                                   "Terminal=false\n"
                                   "X-GNOME-Autostart-enabled=true\n")
                                   .arg(name, execLine(program, arguments))
                                   .toUtf8();
    if (!entry.open(QIODevice::WriteOnly) || entry.write(content) != content.size() ||
        !entry.commit())
        throw std::runtime_error(
            QStringLiteral("Der Autostart-Eintrag %1 kann nicht geschrieben werden: %2")
                .arg(file, entry.errorString())
                .toStdString());
}

void disable(const QString& name)
{
    QFile entry(entryFile(name));
    if (entry.exists() && !entry.remove())
        throw std::runtime_error(
            QStringLiteral("Der Autostart-Eintrag %1 kann nicht entfernt werden: %2")
                .arg(entry.fileName(), entry.errorString())
                .toStdString());
}

}  // namespace platform::Autostart
