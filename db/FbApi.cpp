#include "FbApi.h"

#include "EngineRoot.h"
#include "EngineSignals.h"

#include <ibase.h>

#include <mutex>
#include <vector>

namespace db::fb {

Firebird::IMaster* Master()
{
    static Firebird::IMaster* master = [] {
        PrepareEngineRoot();
        Firebird::IMaster* m = Firebird::fb_get_master_interface();
        // Before the first attach, where the client library takes SIGINT and SIGTERM.
        WatchEngineSignals();
        return m;
    }();
    return master;
}

Firebird::IUtil* Util()
{
    return Master()->getUtilInterface();
}

Firebird::IProvider* Provider()
{
    static Firebird::IProvider* provider = Master()->getDispatcher();
    return provider;
}

namespace {

struct ThreadStatus {
    Firebird::IStatus* status = nullptr;
    bool inUse = false;
    ~ThreadStatus()
    {
        if (status)
            status->dispose();
    }
};

thread_local ThreadStatus threadStatus;

Firebird::IStatus* Lease(bool& shared)
{
    shared = !threadStatus.inUse;
    if (!shared)
        return Master()->getStatus();
    if (!threadStatus.status)
        threadStatus.status = Master()->getStatus();
    threadStatus.inUse = true;
    threadStatus.status->init();
    return threadStatus.status;
}

}  // namespace

StatusLease::StatusLease() : status_(Lease(shared_)), wrapper_(status_) {}

StatusLease::~StatusLease()
{
    if (shared_)
        threadStatus.inUse = false;
    else
        status_->dispose();
}

Error ToError(Firebird::IStatus* status)
{
    char buffer[4096];
    Util()->formatStatus(buffer, sizeof buffer, status);
    const QString message = QString::fromLatin1(buffer).trimmed();
    const intptr_t* v = status->getErrors();
    const long engineCode = v[0] == isc_arg_gds ? long(v[1]) : 0;
    const int sqlCode = int(isc_sqlcode(v));

    // The violated constraint or unique index is the first text argument of the violation.
    QString constraint;
    bool violation = false;
    for (const intptr_t* p = v; *p != isc_arg_end && constraint.isEmpty();) {
        const intptr_t kind = p[0];
        if (kind == isc_arg_gds) {
            const intptr_t code = p[1];
            violation = code == isc_unique_key_violation || code == isc_foreign_key ||
                        code == isc_check_constraint || code == isc_no_dup;
            p += 2;
        } else if (kind == isc_arg_string) {
            if (violation)
                constraint = QString::fromLatin1(reinterpret_cast<const char*>(p[1]));
            p += 2;
        } else if (kind == isc_arg_cstring) {
            if (violation)
                constraint = QString::fromLatin1(reinterpret_cast<const char*>(p[2]), p[1]);
            p += 3;
        } else {
            violation = false;
            p += 2;
        }
    }
    return Error(message, sqlCode, engineCode, constraint);
}

bool Latin1Into(const QString& text, char* out)
{
    const auto* chars = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    char16_t high = 0;
    for (qsizetype i = 0; i < n; ++i) {
        high |= chars[i] & 0xff00;
        out[i] = char(chars[i]);
    }
    return high == 0;
}

void ToLatin1(const QString& text, char* out)
{
    if (Latin1Into(text, out))
        return;
    for (const QChar c : text) {
        if (c.unicode() > 0xff)
            throw Error(QStringLiteral("Der Text enthält das Zeichen \"%1\", das die Datenbank "
                                       "nicht speichern kann:\n%2")
                            .arg(c)
                            .arg(text));
    }
}

QByteArray ToLatin1(const QString& text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    ToLatin1(text, bytes.data());
    return bytes;
}

}  // namespace db::fb
