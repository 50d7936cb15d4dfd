#include "HitCom2.h"

#include "HitZeilen.h"

#include <QDeadlineTimer>
#include <QTcpSocket>

#include <stdexcept>

THITCom2::THITCom2() = default;

THITCom2::~THITCom2()
{
    if (socket_)
        socket_->abort();
}

void THITCom2::Status(int art, const QString& text)
{
    if (OnStatus)
        OnStatus(server_, art, text);
}

bool THITCom2::VerbindenMit(int server, const QString& host, int port)
{
    server_ = server;
    Status(Verbinde, QStringLiteral("Verbinde mit %1:%2 ...").arg(host).arg(port));
    socket_ = std::make_unique<QTcpSocket>();
    socket_->connectToHost(host, quint16(port));
    if (!socket_->waitForConnected(VerbindungsWartezeit)) {
        Status(Fehlgeschlagen, QStringLiteral("Keine Verbindung zu %1:%2: %3")
                                   .arg(host)
                                   .arg(port)
                                   .arg(socket_->errorString()));
        socket_.reset();
        return false;
    }
    anfrage_ = 0;
    THITPAntworten gruss;
    if (!Lesen(0, gruss, VerbindungsWartezeit) || gruss.isEmpty() || gruss.last().Schwere >= 3) {
        Status(
            Fehlgeschlagen,
            QStringLiteral("Der Server %1:%2 hat sich nicht bereit gemeldet.").arg(host).arg(port));
        if (socket_)
            socket_->abort();
        socket_.reset();
        return false;
    }
    begruessung_ = gruss;
    Status(Verbunden, QStringLiteral("Verbunden mit %1:%2").arg(host).arg(port));
    for (const THITPAntwort& a : gruss)
        Status(Info, a.Texte.join(QLatin1Char(';')));
    return true;
}

bool THITCom2::Verbinden()
{
    Disconnect();
    trennungAngefordert_ = false;
    befehlZaehler_ = 0;
    letzteBefehl_ = false;
    const int port = NormalServer ? PortNormal : PortTest;
    const QString kandidaten[2][2] = {{PrimaerAddr, PrimaerIP}, {SekundaerAddr, SekundaerIP}};
    for (int server = 0; server < 2; ++server)
        for (const QString& host : kandidaten[server])
            if (!host.trimmed().isEmpty() && VerbindenMit(server, host.trimmed(), port))
                return true;
    return false;
}

bool THITCom2::Connected() const
{
    return socket_ && socket_->state() == QAbstractSocket::ConnectedState;
}

void THITCom2::Senden(const QString& zeile)
{
    if (!Connected())
        throw std::runtime_error("Keine Verbindung zum HIT-Server.");
    const QByteArray daten = HitZeilen::Kodieren(zeile);
    socket_->write(daten);
    if (!socket_->waitForBytesWritten(VerbindungsWartezeit) && socket_->bytesToWrite() > 0) {
        Verloren();
        throw std::runtime_error("Die Anfrage konnte nicht an den HIT-Server gesendet werden.");
    }
}

void THITCom2::Befehl_senden(const THITPBefehl& befehl)
{
    const QString zeile = HitZeilen::BefehlZeile(anfrage_ + 1, befehl);
    Senden(zeile);
    ++anfrage_;
    letzteBefehl_ = true;
    letzterBefehl_ = befehl;
    if (befehl.Flags[HITFlag::Zaehlen] != 0)
        ++befehlZaehler_;
}

void THITCom2::Abfrage_senden(const THITPQuery& query)
{
    const QString zeile = HitZeilen::AbfrageZeile(anfrage_ + 1, query);
    Senden(zeile);
    ++anfrage_;
    letzteBefehl_ = false;
}

void THITCom2::Verloren()
{
    if (!socket_)
        return;
    socket_->abort();
    socket_.reset();
    Status(Getrennt, QStringLiteral("Die Verbindung zum HIT-Server wurde getrennt."));
    if (OnDisconnected)
        OnDisconnected();
}

bool THITCom2::Lesen(int anfrage, THITPAntworten& antworten, int zeitlimit)
{
    antworten.clear();
    QDeadlineTimer frist(zeitlimit > 0 ? zeitlimit : StandardWartezeit);
    while (socket_) {
        while (socket_->canReadLine()) {
            const QString zeile = QString::fromLatin1(socket_->readLine());
            HitZeilen::Antwortzeile z;
            if (!HitZeilen::AntwortLesen(zeile, z)) {
                Status(Fehler, QStringLiteral("Unverständliche Antwort: %1").arg(zeile.trimmed()));
                continue;
            }
            if (z.anfrage != anfrage)
                continue;  // a late answer to a request given up on
            antworten << z.antwort;
            if (z.letzte)
                return true;
        }
        if (socket_->state() != QAbstractSocket::ConnectedState) {
            Verloren();
            return false;
        }
        if (frist.hasExpired()) {
            bool abbrechen = true;
            if (OnAbbruchFrage)
                OnAbbruchFrage(abbrechen);
            if (abbrechen) {
                Status(Fehler, QStringLiteral("Der HIT-Server hat nicht rechtzeitig geantwortet."));
                return false;
            }
            frist.setRemainingTime(zeitlimit > 0 ? zeitlimit : StandardWartezeit);
        }
        if (!socket_->waitForReadyRead(int(qMax<qint64>(1, frist.remainingTime()))) &&
            socket_->state() != QAbstractSocket::ConnectedState) {
            Verloren();
            return false;
        }
    }
    return false;
}

bool THITCom2::GetData(THITPAntworten& antworten, int zeitlimit)
{
    if (!socket_) {
        antworten.clear();
        return false;
    }
    return Lesen(anfrage_, antworten, zeitlimit);
}

void THITCom2::Disconnect()
{
    if (!socket_)
        return;
    trennungAngefordert_ = true;
    socket_->disconnectFromHost();
    if (socket_->state() != QAbstractSocket::UnconnectedState)
        socket_->waitForDisconnected(1000);
    socket_.reset();
    Status(Getrennt, QStringLiteral("Verbindung getrennt."));
    if (OnDisconnected)
        OnDisconnected();
}
