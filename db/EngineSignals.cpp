#include "EngineSignals.h"

#include "Error.h"
#include "FbApi.h"

#include <ibase.h>

#include <atomic>
#include <csignal>

#include <unistd.h>

namespace db {

namespace {

std::atomic<void (*)()> notifyOnSignal{nullptr};

int OnShutdown(const int reason, const int mask, void* /*arg*/)
{
    if (reason != fb_shutrsn_signal)
        return 0;
    auto notify = notifyOnSignal.load();
    if (mask == fb_shut_finish) {
        // Only reached without a program's own end: the engine has closed its attachments and
        // given back its shared locks, so the process may go now.
        ::_exit(128 + SIGTERM);
    }
    if (!notify)
        return 0;
    notify();
    // Any other answer than 0 refuses the shutdown; the program ends through its own end phase.
    return 1;
}

}  // namespace

void KeepEngineOnSignal(void (*notify)())
{
    notifyOnSignal.store(notify);
    // The engine's first use prepares its root before anything of the client library runs, and
    // registers the callback.
    fb::Master();
}

void WatchEngineSignals()
{
    static const bool registered = [] {
        ISC_STATUS_ARRAY status{};
        if (fb_shutdown_callback(status, OnShutdown, fb_shut_confirmation | fb_shut_finish,
                                 nullptr) != 0)
            throw Error(QStringLiteral("Die Datenbank-Engine nimmt die Signalbehandlung nicht an "
                                       "(Fehler %1).")
                            .arg(status[1]));
        return true;
    }();
    (void)registered;
}

}  // namespace db
