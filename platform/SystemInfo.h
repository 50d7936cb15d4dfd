#pragma once

#include <QString>

namespace platform {

// The user's name as the system names per-user files and locks: the environment variable USERNAME
// when set, else the login name of the effective user.
QString currentUserName();

// The folder of the running program's file.
QString programFolder();

// The data folder of the system ($XDG_DATA_HOME/Bovantis), created when missing.
QString dataFolder();

// The folder for temporary files, created with all parents when missing.
QString tempFolder();

// True when the folder can be written by this process.
bool isWritableFolder(const QString& folder);

}  // namespace platform
