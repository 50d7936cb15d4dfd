#pragma once

#include <QString>
#include <QStringList>

// Start of a program at the user's login, as an XDG autostart entry
// ($XDG_CONFIG_HOME/autostart/<name>.desktop, the name lower-cased with "-" for blanks).
namespace platform::Autostart {

QString entryFile(const QString& name);

// True when the entry exists.
bool isEnabled(const QString& name);

// Writes the entry that starts the program with the arguments. Throws std::runtime_error when the
// entry cannot be written.
void enable(const QString& name, const QString& program, const QStringList& arguments);

// Removes the entry when present. Throws std::runtime_error when it exists and cannot be removed.
void disable(const QString& name);

// The Exec line of an entry: arguments quoted and escaped as the desktop entry format asks.
QString execLine(const QString& program, const QStringList& arguments);

}  // namespace platform::Autostart
