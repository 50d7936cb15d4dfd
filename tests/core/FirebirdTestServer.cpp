#include "FirebirdTestServer.h"

#include <DbServer.h>
#include <EngineRoot.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpServer>

namespace {

const QString ServerProgramm = QStringLiteral("/usr/sbin/firebird");

// The distribution's engine folder (message file, character sets, plugins).
QString SystemWurzel()
{
    const QDir lib(QStringLiteral("/usr/lib"));
    QStringList kandidaten{QStringLiteral("/usr/lib/firebird/3.0")};
    for (const QString& d : lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        kandidaten << lib.filePath(d + QStringLiteral("/firebird/3.0"));
    for (const QString& k : kandidaten)
        if (QFileInfo::exists(k + QStringLiteral("/firebird.msg")))
            return k;
    return {};
}

bool Schreiben(const QString& pfad, const QByteArray& inhalt)
{
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size();
}

int FreierPort()
{
    QTcpServer s;
    if (!s.listen(QHostAddress::LocalHost, 0))
        return 0;
    return s.serverPort();
}

}  // namespace

FirebirdTestServer::FirebirdTestServer()
{
    if (!Einrichten() && grund_.isEmpty())
        grund_ = QStringLiteral("unbekannter Fehler");
}

FirebirdTestServer::~FirebirdTestServer()
{
    if (server_.state() == QProcess::NotRunning)
        return;
    server_.terminate();
    if (!server_.waitForFinished(10000)) {
        server_.kill();
        server_.waitForFinished(2000);
    }
}

QString FirebirdTestServer::Name(const QString& datei) const
{
    return QStringLiteral("127.0.0.1/%1:%2").arg(port_).arg(datei);
}

bool FirebirdTestServer::Einrichten()
{
    if (!QFileInfo(ServerProgramm).isExecutable()) {
        grund_ = ServerProgramm + QStringLiteral(" fehlt (Paket ") + platform::DbServer::Paket +
                 QLatin1Char(')');
        return false;
    }
    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
    const QString system = SystemWurzel();
    if (isql.isEmpty() || system.isEmpty()) {
        grund_ = QStringLiteral("isql-fb oder die Dateien der Engine fehlen");
        return false;
    }
    port_ = FreierPort();
    const QString wurzel = dir_.path() + QStringLiteral("/root");
    const QString sicherheit = dir_.path() + QStringLiteral("/security3.fdb");
    if (!dir_.isValid() || port_ == 0 || !QDir().mkpath(wurzel + QStringLiteral("/intl")) ||
        !QDir().mkpath(dir_.path() + QStringLiteral("/lock")) || !QDir().mkpath(Ordner())) {
        grund_ = QStringLiteral("kein temporärer Ordner oder Port");
        return false;
    }
    bool ok = Schreiben(wurzel + QStringLiteral("/firebird.conf"),
                        QStringLiteral("ServerMode = Super\n"
                                       "RemoteServicePort = %1\n"
                                       "RemoteBindAddress = 127.0.0.1\n"
                                       "SecurityDatabase = %2\n"
                                       "UdfAccess = Restrict %3\n")
                            .arg(port_)
                            .arg(sicherheit, db::ExtensionModuleFolder())
                            .toLocal8Bit()) &&
              // As in the program's own engine root: the schema's UDR functions lie there too.
              Schreiben(wurzel + QStringLiteral("/plugins.conf"),
                        QStringLiteral("Plugin = UDR {\n"
                                       "\tModule = $(dir_plugins)/udr_engine\n"
                                       "\tConfig = UDR_config\n"
                                       "}\n"
                                       "Config = UDR_config {\n"
                                       "\tpath = %1\n"
                                       "}\n")
                            .arg(db::ExtensionModuleFolder())
                            .toLocal8Bit()) &&
              QFile::copy(system + QStringLiteral("/firebird.msg"),
                          wurzel + QStringLiteral("/firebird.msg")) &&
              QFile::link(system + QStringLiteral("/plugins"), wurzel + QStringLiteral("/plugins"));
    const QDir intl(system + QStringLiteral("/intl"));
    for (const QString& f : intl.entryList(QDir::Files))
        ok = ok && QFile::copy(intl.filePath(f), wurzel + QStringLiteral("/intl/") + f);
    if (!ok) {
        grund_ = QStringLiteral("Konfiguration nicht schreibbar");
        return false;
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD"), wurzel);
    env.insert(QStringLiteral("FIREBIRD_LOCK"), dir_.path() + QStringLiteral("/lock"));
    env.insert(QStringLiteral("FIREBIRD_TMP"), dir_.path());

    // The security database, with the administrator in it.
    QProcess anlegen;
    anlegen.setProcessEnvironment(env);
    anlegen.setProcessChannelMode(QProcess::MergedChannels);
    anlegen.start(isql, {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA")});
    anlegen.write(QStringLiteral("create database '%1'; create user SYSDBA password '%2'; "
                                 "commit; quit;\n")
                      .arg(sicherheit, AdminPasswort)
                      .toLocal8Bit());
    anlegen.closeWriteChannel();
    if (!anlegen.waitForFinished(30000) || anlegen.exitCode() != 0 ||
        !QFileInfo::exists(sicherheit)) {
        grund_ = QStringLiteral("Sicherheitsdatenbank nicht angelegt: ") +
                 QString::fromLocal8Bit(anlegen.readAll());
        return false;
    }

    server_.setProcessEnvironment(env);
    server_.setProcessChannelMode(QProcess::MergedChannels);
    return Starten();
}

void FirebirdTestServer::Abschiessen()
{
    server_.kill();
    server_.waitForFinished(5000);
}

bool FirebirdTestServer::Starten()
{
    server_.start(ServerProgramm, {});
    if (!server_.waitForStarted(10000)) {
        grund_ = QStringLiteral("Server startet nicht: ") + server_.errorString();
        return false;
    }
    QElapsedTimer uhr;
    uhr.start();
    while (!platform::DbServer::isListening(QStringLiteral("127.0.0.1"), port_, 200)) {
        if (server_.state() == QProcess::NotRunning || uhr.elapsed() > 15000) {
            grund_ = QStringLiteral("Server nimmt keine Verbindungen an: ") +
                     QString::fromLocal8Bit(server_.readAll());
            return false;
        }
        server_.waitForFinished(100);
    }
    return true;
}
