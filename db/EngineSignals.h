#pragma once

namespace db {

// On SIGINT and SIGTERM the engine's client library would shut itself down at once, so that every
// later call fails and the program cannot end its work. This asks the library to let the program
// decide instead: the engine's own shutdown is refused and `notify` is called, from the signal
// handler, so it must be async-signal-safe.
void KeepEngineOnSignal(void (*notify)());

// Inside db/ only: set up at the engine's first use. Until a program asks for its own end, a
// signal lets the engine shut down (closing its attachments and giving back its shared locks) and
// then ends the process: a test or tool that has no end phase must not go on with an engine that
// has shut itself down, nor leave the lock tables of other processes held.
void WatchEngineSignals();

}  // namespace db
