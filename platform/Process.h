#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Starts a program without waiting for it. A document (anything that is not an executable file)
// is opened with the desktop's program for it. False when nothing could be started.
bool startDetached(const QString& program, const QStringList& arguments = {},
                   const QString& workingFolder = {});

// Opens a folder or file with the desktop's program for it.
bool openWithDesktop(const QString& path);

}  // namespace platform
