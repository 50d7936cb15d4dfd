#pragma once

#include <QString>

namespace platform {

// The stand-in for the platform's help viewer. The application registers its help file once;
// showing a context opens that file with the desktop's viewer. False when there is no help file
// (or no viewer could be started): the caller tells the user.
class Help {
public:
    static void setHelpFile(const QString& path);
    static QString helpFile();
    static bool show(int context);
};

}  // namespace platform
