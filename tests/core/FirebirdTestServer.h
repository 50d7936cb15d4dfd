#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A database server of its own for tests: the distribution's server program, started on a free
// port of 127.0.0.1 with a private configuration, security database (administrator password
// AdminPasswort) and lock folder, and stopped again by the destructor. Never touches the machine's
// own server. When it cannot run here, Laeuft() is false and Grund() says why.
class FirebirdTestServer {
public:
    static inline const QString AdminPasswort = QStringLiteral("kuhglocke");

    FirebirdTestServer();
    ~FirebirdTestServer();
    FirebirdTestServer(const FirebirdTestServer&) = delete;
    FirebirdTestServer& operator=(const FirebirdTestServer&) = delete;

    bool Laeuft() const { return grund_.isEmpty(); }
    const QString& Grund() const { return grund_; }
    int Port() const { return port_; }
    // A folder for database files the server opens.
    QString Ordner() const { return dir_.path() + QStringLiteral("/daten"); }
    // The connection name of a file through this server.
    QString Name(const QString& datei) const;

    // Kills the server as a crash would, and starts it again on the same port.
    void Abschiessen();
    bool Starten();

private:
    bool Einrichten();

    QTemporaryDir dir_;
    QProcess server_;
    QString grund_;
    int port_ = 0;
};
