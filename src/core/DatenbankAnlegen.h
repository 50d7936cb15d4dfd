#pragma once

#include <QString>

#include <functional>

// The herd database of a new installation. When the program starts for the first time and the data
// folder holds no database file yet, it makes one from the create scripts that lie next to it
// (sql/create/*.sql, run in name order), as the installer's empty database would have been. A
// database that the settings name and that is missing is never made anew (it is reported), an
// existing database is never touched, and a server's database ("host:path") is the server
// installation's business.
namespace DatenbankAnlegen {

// <program folder>/sql/create
QString Skriptordner();

// True for a database file of the embedded engine, false for "host:path".
bool IstLokal(const QString& datenbankname);

// Creates the database when the name is local and no file is there; true when it made one.
// The file appears only complete: it is built under a temporary name and renamed at the end, so
// that a failure or a crash never leaves a half-made database behind. Throws db::Error with a
// German message naming the script that failed.
bool FehlendeAnlegen(const QString& datenbankname, const QString& skriptordner = Skriptordner(),
                     const std::function<void(int fertig, int gesamt)>& fortschritt = {});

}  // namespace DatenbankAnlegen
