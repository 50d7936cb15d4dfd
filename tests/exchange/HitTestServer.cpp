#include "HitTestServer.h"

#include <QFile>
#include <QTcpServer>

#include <gtest/gtest.h>

HitTestServer::HitTestServer()
{
    const QString skript = qEnvironmentVariable("BOVANTIS_SOURCE_DIR") +
                           QStringLiteral("/tests/exchange/hitserver/hitserver.py");
    prozess_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    prozess_.start(QStringLiteral("python3"), {skript, QStringLiteral("--mitschrift"),
                                               ordner_.filePath(QStringLiteral("mitschrift.txt"))});
    if (!prozess_.waitForStarted(10000)) {
        ADD_FAILURE() << "HIT-Testserver startet nicht: " << skript.toStdString();
        return;
    }
    while (!prozess_.canReadLine() && prozess_.waitForReadyRead(10000)) {
    }
    port_ = prozess_.readLine().trimmed().toInt();
    if (port_ <= 0)
        ADD_FAILURE() << "HIT-Testserver nennt keinen Port";
}

HitTestServer::~HitTestServer()
{
    prozess_.kill();
    prozess_.waitForFinished(5000);
}

QByteArray HitTestServer::Mitschrift() const
{
    QFile datei(ordner_.filePath(QStringLiteral("mitschrift.txt")));
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

int HitTestServer::FreierPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}
