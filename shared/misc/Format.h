#pragma once

#include <QString>
#include <QVariantList>

#include <stdexcept>

namespace Tools {

// A format string that does not fit its arguments.
class EFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The system's format function: %s, %d, %u, %x, %f, %e, %g, %n and %m with optional "-", width and
// ".precision", and %%. Numbers use the system's decimal comma, not the machine's locale. Throws
// EFormatError when a placeholder has no argument of a fitting kind.
QString Format(const QString& format, const QVariantList& args);

}  // namespace Tools
