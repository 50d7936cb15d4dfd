#include "DatenbankName.h"

#include <QRegularExpression>

namespace Einrichtung {

namespace {

bool IstWindowsPfad(const QString& name)
{
    static const QRegularExpression laufwerk(QStringLiteral("^[A-Za-z]:[\\\\/]"));
    return laufwerk.match(name).hasMatch();
}

}  // namespace

DatenbankOrt DatenbankNameLesen(const QString& name)
{
    const QString wert = name.trimmed();
    const qsizetype doppelpunkt = wert.indexOf(QLatin1Char(':'));
    if (doppelpunkt < 0 || wert.startsWith(QLatin1Char('/')) || IstWindowsPfad(wert))
        return {QString(), wert};
    if (doppelpunkt == 0)
        return {QString(), wert.mid(1).trimmed()};
    return {wert.left(doppelpunkt).trimmed(), wert.mid(doppelpunkt + 1).trimmed()};
}

QString DatenbankNameBilden(const QString& rechner, const QString& datei)
{
    const QString host = rechner.trimmed();
    if (host.isEmpty())
        return datei.trimmed();
    return host + QLatin1Char(':') + datei.trimmed();
}

QString PingRechner(const QString& rechner)
{
    return rechner.section(QLatin1Char('/'), 0, 0).trimmed();
}

}  // namespace Einrichtung
