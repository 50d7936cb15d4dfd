#include "DesktopSymbol.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <stdexcept>

namespace DesktopSymbol {

namespace {

// Characters that make an argument of an Exec key need quotes.
const QString Reserviert = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");

// One argument of an Exec key: within double quotes ", `, $ and \ get a backslash; a literal %
// is doubled, since a single one starts a field code.
QString Argument(const QString& text, bool immerQuoten)
{
    bool quoten = immerQuoten || text.isEmpty();
    for (const QChar c : text)
        quoten = quoten || Reserviert.contains(c);
    QString ergebnis;
    for (const QChar c : text) {
        if (quoten && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                       c == QLatin1Char('\\')))
            ergebnis += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            ergebnis += QLatin1Char('%');
        ergebnis += c;
    }
    return quoten ? QLatin1Char('"') + ergebnis + QLatin1Char('"') : ergebnis;
}

// A value of a desktop entry: backslash and control characters escaped, so it stays one line.
QString Wert(const QString& text)
{
    QString ergebnis;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            ergebnis += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            ergebnis += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            ergebnis += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            ergebnis += QStringLiteral("\\r");
        else
            ergebnis += c;
    }
    return ergebnis;
}

}  // namespace

QString Ordner()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString Datei(const QString& name)
{
    return Ordner() + QLatin1Char('/') + name + QStringLiteral(".desktop");
}

QString Exec(const QString& programm, bool ruecksicherung, const QString& ordner,
             const QString& archiv)
{
    return Argument(programm, false) + QStringLiteral(" -b -a ") +
           (ruecksicherung ? QStringLiteral("r") : QStringLiteral("s")) + QStringLiteral(" -v ") +
           Argument(ordner, true) + QStringLiteral(" -d ") + Argument(archiv, true);
}

QString Eintrag(const QString& name, const QString& exec)
{
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Version=1.0\n"
               "Type=Application\n"
               "Name=%1\n"
               "Exec=%2\n"
               "Terminal=false\n")
        .arg(Wert(name), Wert(exec));
}

void Schreiben(const QString& datei, const QString& eintrag)
{
    const auto fehler = [&](const QString& grund) {
        return std::runtime_error(QStringLiteral("Das Symbol %1 kann nicht angelegt werden:\r%2")
                                      .arg(QDir::toNativeSeparators(datei), grund)
                                      .toStdString());
    };
    if (!QDir().mkpath(QFileInfo(datei).absolutePath()))
        throw fehler(QStringLiteral("Der Ordner kann nicht angelegt werden."));
    QSaveFile ziel(datei);
    if (!ziel.open(QIODevice::WriteOnly) || ziel.write(eintrag.toUtf8()) < 0 || !ziel.commit())
        throw fehler(ziel.errorString());
    // Desktops start only executable entries they do not trust otherwise.
    if (!QFile::setPermissions(datei, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                          QFile::ExeOther)) {
        QFile::remove(datei);
        throw fehler(QStringLiteral("Die Datei kann nicht ausführbar gemacht werden."));
    }
}

}  // namespace DesktopSymbol
