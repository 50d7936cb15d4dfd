#include "TerminalServer.h"

#include <QFile>
#include <QStringList>

namespace platform {

bool isTerminalServer(const QString& konfigurationsdatei)
{
    QFile datei(konfigurationsdatei);
    if (!datei.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!datei.atEnd()) {
        const QString zeile = QString::fromUtf8(datei.readLine()).trimmed();
        const qsizetype gleich = zeile.indexOf(QLatin1Char('='));
        if (zeile.startsWith(QLatin1Char('#')) || zeile.startsWith(QLatin1Char(';')) || gleich < 0)
            continue;
        if (zeile.left(gleich).trimmed().compare(QLatin1String("IsTerminalServer"),
                                                 Qt::CaseInsensitive) != 0)
            continue;
        const QString wert = zeile.mid(gleich + 1).trimmed().toLower();
        return QStringList{QStringLiteral("1"), QStringLiteral("true"), QStringLiteral("yes"),
                           QStringLiteral("on")}
            .contains(wert);
    }
    return false;
}

}  // namespace platform
