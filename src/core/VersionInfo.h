#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The file-version list without its window: which files, in which order, whether their MD5
// matches the release's checksum list, and the text for the clipboard.
namespace VersionInfo {

inline const QString Fehlerhaft = QStringLiteral("Datei fehlerhaft, oder falsche Version!");

struct TFileInfo {
    QString name;
    QString ordner;
    QString version;
    QString beschreibung;
    bool pruefsummeOk = true;
};

// The release's own files that are listed right after the program, in this order.
const QStringList& FesteListe();

// "name=32 hex digits" lines; names compared without case. A value that is not 32 characters
// after trimming counts as 16 zero bytes (no file matches it).
QMap<QString, QByteArray> PruefsummenLesen(const QStringList& zeilen);

// The display order: the program's own file, then the fixed list's files in its order, then the
// rest sorted without case. Paths compared without case; a path twice is listed once.
QStringList Ordnen(const QStringList& pfade, const QString& programm);

// One row's data for a path; the version is the one compiled into our own binaries.
TFileInfo DateiInfo(const QString& pfad);

// Marks every listed file whose MD5 differs, or that cannot be read; unlisted files stay OK.
void PruefsummenPruefen(QList<TFileInfo>& dateien, const QMap<QString, QByteArray>& liste);

// The shared objects loaded into this process.
QStringList GeladeneModule();

// The folder of the database server's extension modules.
QString UDFVerzeichnis();

// The program, its extension module, the release's other programs and every loaded module.
QStringList DateienSammeln(const QString& programm, const QString& programmOrdner,
                           const QString& udfOrdner);

// The checksum list shipped with the release next to the program; empty when there is none.
QStringList PruefsummenDatei(const QString& programmOrdner);

struct Kopf {
    QString programmOrdner;
    QString datenbank;
    QString programmVersion;
    QString betriebssystem;
};
// The clipboard text: lines ended by CR LF.
QString ZwischenablageText(const Kopf& kopf, const QList<TFileInfo>& dateien);

}  // namespace VersionInfo
