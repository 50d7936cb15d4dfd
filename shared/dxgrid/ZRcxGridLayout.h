#pragma once

#include <QList>
#include <QString>

// Column layouts of grid views and the file that keeps them.
namespace ZRcxGrid {

// The layout file of this program. By default "<program>layout.ini" in the user's configuration
// folder (the program folder is not writable on this system); the main program points it to its
// workstation INI file before its windows restore their layouts.
QString ZRcxGridLayoutIniFile();
void SetZRcxGridLayoutIniFile(const QString& datei);
// "<folder>/<program file without its extension>layout.ini".
QString LayoutDateiname(const QString& programmdatei, const QString& ordner);

// One column as the user arranged it.
struct SpaltenLayout {
    QString name;      // the column's field name, which stays when the design gains columns
    int position = 0;  // visual position
    int breite = 0;
    bool sichtbar = true;
    bool operator==(const SpaltenLayout&) const = default;
};
using Layout = QList<SpaltenLayout>;

// A view's section in the layout file: one key per column, "position,width,visible".
// Keys that cannot be read are skipped; an unknown section gives an empty layout.
Layout LayoutLesen(const QString& datei, const QString& sektion);
// Replaces the section (matched without regard to case, as the INI file's readers do) and keeps
// every other line of the file as it is. Throws std::runtime_error when the file cannot be written.
void LayoutSchreiben(const QString& datei, const QString& sektion, const Layout& layout);

}  // namespace ZRcxGrid
