#include "DbServer.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTextStream>

#include <unistd.h>

namespace platform::DbServer {

namespace {

const QStringList ServerProgramme = {QStringLiteral("/usr/sbin/fbguard"),
                                     QStringLiteral("/usr/sbin/firebird")};
const QString InitSkript = QStringLiteral("/etc/init.d/firebird3.0");

QString startBefehl()
{
    return QStringLiteral("systemctl start %1").arg(Dienst);
}

StartResult ausfuehren(const QString& programm, const QStringList& argumente)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programm, argumente);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished(1000);
        return {StartResult::Failed,
                QStringLiteral("Der Start des Datenbank-Servers mit \"%1 %2\" hat nicht "
                               "geantwortet.")
                    .arg(programm, argumente.join(QLatin1Char(' ')))};
    }
    if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return {StartResult::Started, {}};
    return {StartResult::Failed,
            QStringLiteral("Der Datenbank-Server konnte nicht gestartet werden:\r%1")
                .arg(QString::fromLocal8Bit(p.readAll()).trimmed())};
}

}  // namespace

bool isListening(const QString& host, int port, int timeoutMs)
{
    QTcpSocket socket;
    socket.connectToHost(host, quint16(port));
    const bool verbunden = socket.waitForConnected(timeoutMs);
    socket.abort();
    return verbunden;
}

bool isInstalled()
{
    for (const QString& p : ServerProgramme)
        if (QFileInfo(p).isExecutable())
            return true;
    return false;
}

StartResult start()
{
    if (!isInstalled())
        return {StartResult::NotInstalled, {}};
    if (::geteuid() != 0)
        return {StartResult::NoRights,
                QStringLiteral("Der Datenbank-Server läuft nicht. Nur ein Administrator kann "
                               "ihn starten,\rz. B. mit dem Befehl: sudo %1")
                    .arg(startBefehl())};
    const QString systemctl = QStandardPaths::findExecutable(QStringLiteral("systemctl"));
    if (!systemctl.isEmpty() && QFileInfo::exists(QStringLiteral("/run/systemd/system")))
        return ausfuehren(systemctl, {QStringLiteral("start"), Dienst});
    if (QFileInfo(InitSkript).isExecutable())
        return ausfuehren(InitSkript, {QStringLiteral("start")});
    return {StartResult::Failed,
            QStringLiteral("Auf diesem Rechner ist kein Dienst-Manager zum Starten des "
                           "Datenbank-Servers zu finden.")};
}

bool hasServicesEntry(const QString& path)
{
    QFile datei(path);
    if (!datei.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&datei);
    static const QRegularExpression dienst(QStringLiteral("(^|\\s)gds_db(\\s|$)"));
    while (!in.atEnd()) {
        QString zeile = in.readLine();
        zeile = zeile.left(zeile.indexOf(QLatin1Char('#')));
        if (dienst.match(zeile).hasMatch())
            return true;
    }
    return false;
}

}  // namespace platform::DbServer
