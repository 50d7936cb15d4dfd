#include "VersionInfo.h"

#include <Tools.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>

#include <link.h>

namespace VersionInfo {

namespace {

const QString Programmdatei = QStringLiteral("ZR_Bovantis");
const QString UdfDatei = QStringLiteral("bovantis_udf.so");
// The release's programs besides this one; those not installed are skipped.
const QStringList Programme = {QStringLiteral("ZRNVBackup"), QStringLiteral("ZRNVEinrichtung")};

int Modul(dl_phdr_info* info, size_t, void* ziel)
{
    if (info->dlpi_name && info->dlpi_name[0] == '/')
        static_cast<QStringList*>(ziel)->append(QFile::decodeName(info->dlpi_name));
    return 0;
}

}  // namespace

const QStringList& FesteListe()
{
    static const QStringList liste = {
        QStringLiteral("ZRNVBackup"),        QStringLiteral("ZRNVEinrichtung"),
        QStringLiteral("libzrmiscbase.so"),  QStringLiteral("libzrmisc90.so"),
        QStringLiteral("libzrvcldb90.so"),   QStringLiteral("libzrdxgrid90.so"),
        QStringLiteral("libzrpreview90.so"), UdfDatei,
        QStringLiteral("libfbclient.so.2"),  QStringLiteral("libzip.so.4"),
        QStringLiteral("libcurl.so.4"),
    };
    return liste;
}

QMap<QString, QByteArray> PruefsummenLesen(const QStringList& zeilen)
{
    QMap<QString, QByteArray> liste;
    for (const QString& zeile : zeilen) {
        const qsizetype gleich = zeile.indexOf(QLatin1Char('='));
        if (gleich <= 0)
            continue;
        const QString name = zeile.left(gleich).trimmed().toLower();
        const QByteArray wert = zeile.mid(gleich + 1).trimmed().toLatin1();
        QByteArray digest(16, '\0');
        if (wert.size() == 32) {
            const QByteArray roh = QByteArray::fromHex(wert);
            if (roh.size() == 16 && roh.toHex() == wert.toLower())
                digest = roh;
        }
        liste.insert(name, digest);
    }
    return liste;
}

QStringList Ordnen(const QStringList& pfade, const QString& programm)
{
    QStringList rest;
    QSet<QString> gesehen;
    for (const QString& p : pfade)
        if (!gesehen.contains(p.toLower())) {
            gesehen.insert(p.toLower());
            rest << p;
        }
    rest.sort(Qt::CaseInsensitive);
    QStringList ergebnis;
    auto nimm = [&](auto passt) {
        for (qsizetype i = 0; i < rest.size(); ++i)
            if (passt(rest[i])) {
                ergebnis << rest.takeAt(i);
                return;
            }
    };
    nimm([&](const QString& p) { return p.compare(programm, Qt::CaseInsensitive) == 0; });
    for (const QString& name : FesteListe())
        nimm([&](const QString& p) {
            return QFileInfo(p).fileName().compare(name, Qt::CaseInsensitive) == 0;
        });
    return ergebnis + rest;
}

TFileInfo DateiInfo(const QString& pfad)
{
    // Our own files say what they are; other modules carry no description on this system.
    static const QMap<QString, QString> beschreibungen = {
        {Programmdatei.toLower(), QStringLiteral("ZR Bovantis Hauptprogramm")},
        {QStringLiteral("zrnvbackup"), QStringLiteral("ZR Bovantis Datensicherung")},
        {QStringLiteral("zrnveinrichtung"), QStringLiteral("ZR Bovantis Einrichtung")},
        {UdfDatei.toLower(), QStringLiteral("ZR Bovantis Datenbankfunktionen")},
    };
    const QFileInfo fi(pfad);
    TFileInfo d;
    d.name = fi.fileName();
    d.ordner = QDir::toNativeSeparators(fi.absolutePath());
    d.beschreibung = beschreibungen.value(d.name.toLower());
    if (fi.isFile()) {
        const QString version = Tools::GetFileVersion(pfad);
        if (version != QLatin1String("unbekannt"))
            d.version = version;
    }
    return d;
}

void PruefsummenPruefen(QList<TFileInfo>& dateien, const QMap<QString, QByteArray>& liste)
{
    for (TFileInfo& d : dateien) {
        const auto soll = liste.constFind(d.name.toLower());
        if (soll == liste.constEnd())
            continue;
        QFile f(d.ordner + QLatin1Char('/') + d.name);
        QCryptographicHash md5(QCryptographicHash::Md5);
        // A file that cannot be read is what this list exists to show, not a reason to fail.
        d.pruefsummeOk = f.open(QIODevice::ReadOnly) && md5.addData(&f) && md5.result() == *soll;
    }
}

QStringList GeladeneModule()
{
    QStringList module;
    dl_iterate_phdr(&Modul, &module);
    return module;
}

QString UDFVerzeichnis()
{
    QProcess fbConfig;
    fbConfig.start(QStringLiteral("fb_config"), {QStringLiteral("--udfdir")});
    if (fbConfig.waitForFinished(3000) && fbConfig.exitStatus() == QProcess::NormalExit &&
        fbConfig.exitCode() == 0) {
        const QString ordner = QString::fromLocal8Bit(fbConfig.readAllStandardOutput()).trimmed();
        if (!ordner.isEmpty() && QFileInfo(ordner).isDir())
            return ordner;
    }
    const QString debian = QStringLiteral("/usr/lib/x86_64-linux-gnu/firebird/3.0/UDF");
    return QFileInfo(debian).isDir() ? debian : QString();
}

QStringList DateienSammeln(const QString& programm, const QString& programmOrdner,
                           const QString& udfOrdner)
{
    QStringList pfade = {programm};
    // The extension module may also sit next to the program (an installation without server).
    for (const QString& ordner : {udfOrdner, programmOrdner}) {
        const QString udf = ordner + QLatin1Char('/') + UdfDatei;
        if (!ordner.isEmpty() && QFileInfo(udf).isFile()) {
            pfade << udf;
            break;
        }
    }
    for (const QString& name : Programme) {
        const QString p = programmOrdner + QLatin1Char('/') + name;
        if (QFileInfo(p).isFile())
            pfade << p;
    }
    for (const QString& modul : GeladeneModule())
        pfade << modul;
    return Ordnen(pfade, programm);
}

QStringList PruefsummenDatei(const QString& programmOrdner)
{
    QFile f(programmOrdner + QStringLiteral("/bovantis.md5"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString ZwischenablageText(const Kopf& kopf, const QList<TFileInfo>& dateien)
{
    const QString nl = QStringLiteral("\r\n");
    QString t;
    t += QStringLiteral("Programmverzeichnis: ") + kopf.programmOrdner + nl;
    t += QStringLiteral("Datenbank:           ") + kopf.datenbank + nl;
    t += QStringLiteral("Programmversion:     ") + kopf.programmVersion + nl;
    t += QStringLiteral("Betriebssystem:      ") + kopf.betriebssystem + nl;
    t += nl + QStringLiteral("Dateien:") + nl + QStringLiteral("========") + nl + nl;
    for (const TFileInfo& d : dateien) {
        QString zeile = (d.name + QStringLiteral(", ")).leftJustified(20);
        zeile = (zeile + d.version + QStringLiteral(", ")).leftJustified(40);
        zeile += d.ordner;
        if (!d.pruefsummeOk)
            zeile += QStringLiteral(", ") + Fehlerhaft;
        t += zeile + nl;
    }
    t += nl + QStringLiteral("Ende der Dateiliste.") + nl + nl;
    return t;
}

}  // namespace VersionInfo
