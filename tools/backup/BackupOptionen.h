#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the backup program's command line presets; what it does not name stays unset.
struct BackupOptionen {
    // -a: "r" (trimmed, in any case) restores, any other text backs up.
    std::optional<bool> ruecksicherung;
    // -b: run the action as soon as the window shows.
    bool start = false;
    // -f: no start question; with -b a backup ends the program when it is done.
    bool still = false;
    // -v and -d, trimmed.
    std::optional<QString> programmverzeichnis;
    std::optional<QString> sicherungsdatei;
};

// The option letters; each upper-case letter does what its lower-case twin does.
inline constexpr char BackupOptionenText[] = "a:bfv:d:A:BFV:D:";

// Reads the options of the arguments (the first is the program) with the C library's getopt:
// options and other arguments may be mixed unless POSIXLY_CORRECT is set, and the reading stops,
// silently, at the first undeclared option or the first option without its argument.
BackupOptionen BackupOptionenLesen(const QStringList& argumente);
