#pragma once

#include <QString>

// The local database server as the connection routine needs it: is it there, is it running, can
// it be started. On this system the server comes from the distribution's package and is started
// by the service manager as root; a program can only start it with those rights.
namespace platform::DbServer {

inline constexpr int StandardPort = 3050;
inline const QString Paket = QStringLiteral("firebird3.0-server");
inline const QString Dienst = QStringLiteral("firebird3.0");
// The line the server's network service needs in the services file (four blanks).
inline const QString ServicesZeile = QStringLiteral("gds_db    3050/tcp");
inline const QString ServicesDatei = QStringLiteral("/etc/services");

// True when something accepts TCP connections on the port within the time.
bool isListening(const QString& host = QStringLiteral("127.0.0.1"), int port = StandardPort,
                 int timeoutMs = 500);

// True when the server's program files are installed on this machine.
bool isInstalled();

struct StartResult {
    enum Outcome {
        Started,       // the service manager accepted the start
        NoRights,      // only an administrator may start it; hint says how
        Failed,        // the start was refused; hint holds the reason
        NotInstalled,  // there is no server on this machine
    };
    Outcome outcome = Failed;
    QString hint;  // German, for the user
};

// Asks the service manager (systemd, else the init script) to start the server.
StartResult start();

// True when a line of the services file names the network service "gds_db". The file is only
// read: changing it needs an administrator, and the client uses port 3050 without the line too.
bool hasServicesEntry(const QString& path = ServicesDatei);

}  // namespace platform::DbServer
