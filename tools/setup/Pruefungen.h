#pragma once

#include <Icmp.h>

#include <QString>

#include <functional>

namespace Einrichtung {

// The line callback of the tests: each line of the test's report.
using ZeilenMelder = std::function<void(const QString& zeile)>;

// Connects to the database as the program's user and disconnects again, with a connection of its
// own.
class TDBTest {
public:
    ZeilenMelder OnZeile;

    // True when the connection was made and closed again.
    bool Testen(const QString& rechner, const QString& datei);

private:
    void Melden(const QString& zeile);
};

// Pings the database's machine. Only an echo answer is a success: a time-out, an unreachable host
// or an expired TTL is none.
class TPingTest {
public:
    // One echo request (host, time-out in ms).
    using Senden = std::function<platform::EchoReply(const QString&, int)>;
    // The wait between two tries.
    using Pause = std::function<void(int ms)>;

    static constexpr int AntwortZeitMs = 1000;
    static constexpr int PauseMs = 500;

    explicit TPingTest(Senden senden = {}, Pause pause = {});

    ZeilenMelder OnZeile;

    // The result of the last try; false for no tries. An empty host is this machine.
    bool Testen(const QString& rechner, int versuche);

    // The report line of an answer; empty for none.
    static QString AntwortZeile(const platform::EchoReply& antwort);

private:
    void Melden(const QString& zeile);

    Senden senden_;
    Pause pause_;
};

}  // namespace Einrichtung
