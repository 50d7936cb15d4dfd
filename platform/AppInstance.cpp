#include "AppInstance.h"

#include "InstanceGuard.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace platform {

AppInstance::AppInstance(const QString& name, QObject* parent)
    : QObject(parent),
      socketPath_(runtimeFolder() + QLatin1Char('/') + name + QStringLiteral(".sock")),
      claimName_(name + QStringLiteral(".sock"))
{
}

AppInstance::~AppInstance() = default;

bool AppInstance::anotherInstanceRuns()
{
    // The probe, the removal of a stale socket and the listen are one step: of two starts at once
    // each would otherwise find no listener, and the later one would delete the socket the
    // earlier one had just begun to listen on.
    const std::unique_ptr<InstanceGuard> claim = InstanceGuard::acquire(claimName_);
    QLocalSocket probe;
    probe.connectToServer(socketPath_);
    if (probe.waitForConnected(500)) {
        probe.write("activate\n");
        probe.waitForBytesWritten(500);
        probe.disconnectFromServer();
        return true;
    }
    // A socket file without a listener is left over from an ended process.
    QLocalServer::removeServer(socketPath_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (server_->listen(socketPath_)) {
        connect(server_, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* client = server_->nextPendingConnection()) {
                connect(client, &QLocalSocket::readyRead, this, [this, client] {
                    if (client->readAll().startsWith("activate"))
                        emit activationRequested();
                    client->deleteLater();
                });
            }
        });
    }
    return false;
}

}  // namespace platform
