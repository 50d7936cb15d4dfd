#pragma once

#include <QString>

// The database name of the INI file ([Datenbank] Name) as the wizard shows and writes it: a host
// and a file. An empty host is the embedded engine's file on this machine (the default); a host
// names a database server, written "host:file" ("host/port:file" for another port).
namespace Einrichtung {

struct DatenbankOrt {
    QString rechner;
    QString datei;

    bool operator==(const DatenbankOrt&) const = default;
};

// Splits a stored name. A path ("/..."), a name without a colon and a Windows path ("C:\..." or
// "C:/...", also ":C:\..." of older set-ups) are files on this machine; otherwise the text before
// the first colon is the host and the rest the file on it (which may be a Windows path).
DatenbankOrt DatenbankNameLesen(const QString& name);

// The stored name: the file alone without a host, else "host:file". Both parts are trimmed.
QString DatenbankNameBilden(const QString& rechner, const QString& datei);

// The machine to ping for a host: without the port of "host/port".
QString PingRechner(const QString& rechner);

}  // namespace Einrichtung
