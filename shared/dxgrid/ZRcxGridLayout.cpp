#include "ZRcxGridLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <optional>
#include <stdexcept>

namespace ZRcxGrid {

namespace {

std::optional<QString>& LayoutDatei()
{
    static std::optional<QString> datei;
    return datei;
}

// The section name of a "[name]" line, or nothing. The first line of a file that an editor saved
// with a UTF-8 byte-order mark starts with the mark; it belongs to no section name.
std::optional<QString> SektionsName(const QByteArray& zeile)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray t = (zeile.startsWith(bom) ? zeile.mid(bom.size()) : zeile).trimmed();
    if (t.size() < 2 || !t.startsWith('[') || !t.endsWith(']'))
        return std::nullopt;
    return QString::fromUtf8(t.mid(1, t.size() - 2)).trimmed();
}

bool Gleich(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QByteArray DateiInhalt(const QString& datei)
{
    QFile f(datei);
    if (!f.exists())
        return {};
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("Die Layout-Datei %1 ist nicht lesbar.").arg(datei).toStdString());
    return f.readAll();
}

}  // namespace

QString LayoutDateiname(const QString& programmdatei, const QString& ordner)
{
    return QDir(ordner).filePath(QFileInfo(programmdatei).completeBaseName() +
                                 QStringLiteral("layout.ini"));
}

QString ZRcxGridLayoutIniFile()
{
    if (LayoutDatei())
        return *LayoutDatei();
    const QString ordner = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/Bovantis");
    return LayoutDateiname(QCoreApplication::applicationFilePath(), ordner);
}

void SetZRcxGridLayoutIniFile(const QString& datei)
{
    LayoutDatei() = datei;
}

Layout LayoutLesen(const QString& datei, const QString& sektion)
{
    Layout layout;
    QByteArray inhalt;
    try {
        inhalt = DateiInhalt(datei);
    } catch (const std::runtime_error&) {
        return layout;  // an unreadable file keeps the designed layout
    }
    bool drin = false;
    for (const QByteArray& zeile : inhalt.split('\n')) {
        if (const auto name = SektionsName(zeile)) {
            if (drin)
                break;  // the first section of a name counts
            drin = Gleich(*name, sektion);
            continue;
        }
        if (!drin)
            continue;
        const qsizetype gleich = zeile.indexOf('=');
        if (gleich <= 0)
            continue;
        const QString name = QString::fromUtf8(zeile.left(gleich)).trimmed();
        const QList<QByteArray> teile = zeile.mid(gleich + 1).trimmed().split(',');
        if (name.isEmpty() || teile.size() != 3)
            continue;
        bool ok1 = false, ok2 = false, ok3 = false;
        const int position = teile[0].toInt(&ok1);
        const int breite = teile[1].toInt(&ok2);
        const int sichtbar = teile[2].toInt(&ok3);
        if (!ok1 || !ok2 || !ok3 || position < 0 || breite < 0)
            continue;
        layout.append({name, position, breite, sichtbar != 0});
    }
    return layout;
}

void LayoutSchreiben(const QString& datei, const QString& sektion, const Layout& layout)
{
    if (sektion.contains(QLatin1Char(']')) || sektion.contains(QLatin1Char('\n')))
        throw std::runtime_error(
            QStringLiteral("Ungültiger Layout-Name: %1").arg(sektion).toStdString());
    const QByteArray inhalt = DateiInhalt(datei);
    const QByteArray umbruch = inhalt.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");

    QByteArray block = '[' + sektion.toUtf8() + ']' + umbruch;
    for (const SpaltenLayout& s : layout)
        block += s.name.toUtf8() + '=' + QByteArray::number(s.position) + ',' +
                 QByteArray::number(s.breite) + ',' + (s.sichtbar ? '1' : '0') + umbruch;

    QList<QByteArray> zeilen = inhalt.isEmpty() ? QList<QByteArray>() : inhalt.split('\n');
    if (!zeilen.isEmpty() && zeilen.last().isEmpty())
        zeilen.removeLast();
    QByteArray neu;
    bool ersetzt = false;
    bool ueberspringen = false;
    for (const QByteArray& zeile : zeilen) {
        if (const auto name = SektionsName(zeile)) {
            ueberspringen = false;
            if (!ersetzt && Gleich(*name, sektion)) {
                neu += block;
                ersetzt = true;
                ueberspringen = true;
                continue;
            }
        }
        if (!ueberspringen)
            neu += zeile + '\n';
    }
    if (!ersetzt)
        neu += block;

    QDir().mkpath(QFileInfo(datei).absolutePath());
    QSaveFile f(datei);
    if (!f.open(QIODevice::WriteOnly) || f.write(neu) != neu.size() || !f.commit())
        throw std::runtime_error(
            QStringLiteral("Die Layout-Datei %1 kann nicht geschrieben werden.")
                .arg(datei)
                .toStdString());
}

}  // namespace ZRcxGrid
