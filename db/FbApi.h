#pragma once

// Private to db/: the only header that includes Firebird's interface.

#include "Error.h"

#include <firebird/Interface.h>

#include <QByteArray>
#include <QString>

namespace db::fb {

using Status = Firebird::ThrowStatusWrapper;

// The engine's master interface; prepares the private root before the first use.
Firebird::IMaster* Master();
Firebird::IUtil* Util();
Firebird::IProvider* Provider();

// The engine's failure as our exception.
Error ToError(Firebird::IStatus* status);

// The status object of this thread, reused by the calls that do not nest; each use starts clean.
class StatusLease {
public:
    StatusLease();
    ~StatusLease();
    StatusLease(const StatusLease&) = delete;
    StatusLease& operator=(const StatusLease&) = delete;
    Status& Get() { return wrapper_; }

private:
    Firebird::IStatus* status_;
    bool shared_;
    Status wrapper_;
};

// Runs f with a throwing status wrapper and turns engine failures into db::Error.
template <typename F>
decltype(auto) Call(F&& f)
{
    StatusLease lease;
    try {
        return f(lease.Get());
    } catch (const Firebird::FbException& e) {
        throw ToError(e.getStatus());
    }
}

// Text towards the database is ISO8859_1; characters it cannot hold are refused, never replaced.
QByteArray ToLatin1(const QString& text);
// The same into a buffer of text.size() bytes, without an allocation per value.
void ToLatin1(const QString& text, char* out);
// As ToLatin1 into a buffer, but false instead of an exception (the buffer then holds garbage).
bool Latin1Into(const QString& text, char* out);
inline QString FromLatin1(const char* data, qsizetype size)
{
    return QString::fromLatin1(data, size);
}

// Owns a reference-counted or disposable interface pointer.
template <typename T>
struct Released {
    void operator()(T* p) const
    {
        if (p)
            p->release();
    }
};

}  // namespace db::fb
