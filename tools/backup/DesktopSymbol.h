#pragma once

#include <QString>

// The desktop starter of the backup program: a desktop entry file (the freedesktop.org standard)
// in the user's desktop folder that starts the program at once with an action,
// a program folder and an archive.
namespace DesktopSymbol {

// The user's desktop folder (XDG_DESKTOP_DIR of user-dirs.dirs, else ~/Desktop), without a
// trailing "/".
QString Ordner();

// The file of a starter named `name` in the desktop folder.
QString Datei(const QString& name);

// The command of the starter as its Exec key holds it: the program, then
// -b -a r|s -v "<folder>" -d "<archive>", each argument quoted and escaped as desktop entries
// ask, so that any folder or file name comes back unchanged.
QString Exec(const QString& programm, bool ruecksicherung, const QString& ordner,
             const QString& archiv);

// The whole file of the starter.
QString Eintrag(const QString& name, const QString& exec);

// Writes the starter (complete or not at all) and marks it executable; throws
// std::runtime_error with a German message when that fails.
void Schreiben(const QString& datei, const QString& eintrag);

}  // namespace DesktopSymbol
