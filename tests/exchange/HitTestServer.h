#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// The HIT test server (hitserver/hitserver.py) in a process of its own on 127.0.0.1, for the
// life of the object. Mitschrift() gives every request line it received, as bytes.
class HitTestServer {
public:
    HitTestServer();
    ~HitTestServer();
    HitTestServer(const HitTestServer&) = delete;
    HitTestServer& operator=(const HitTestServer&) = delete;

    int Port() const { return port_; }
    QByteArray Mitschrift() const;

    // A port on 127.0.0.1 where nothing listens.
    static int FreierPort();

private:
    QTemporaryDir ordner_;
    QProcess prozess_;
    int port_ = 0;
};
