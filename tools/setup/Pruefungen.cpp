#include "Pruefungen.h"

#include "DatenbankName.h"

#include <DBConnect.h>

#include <Database.h>
#include <Error.h>

#include <QThread>

#include <exception>

namespace Einrichtung {

namespace {

QString FehlerZeile(const std::exception& e)
{
    if (const auto* d = dynamic_cast<const db::Error*>(&e))
        return QStringLiteral("Datenbankfehler: ") + d->Message();
    return QStringLiteral("Fehler: ") + QString::fromUtf8(e.what());
}

}  // namespace

void TDBTest::Melden(const QString& zeile)
{
    if (OnZeile)
        OnZeile(zeile);
}

bool TDBTest::Testen(const QString& rechner, const QString& datei)
{
    const QString name = DatenbankNameBilden(rechner, datei);
    try {
        Melden(QStringLiteral("Datenbank: ") + name);
        Melden(QStringLiteral("Verbinde"));
        db::Database verbindung;
        verbindung.Open({name, DBConnect::Benutzer, DBConnect::Passwort, {}});
        Melden(QStringLiteral("Verbunden"));
        Melden(QStringLiteral("Trennen"));
        verbindung.Close();
        Melden(QStringLiteral("Getrennt"));
        Melden(QString());
        Melden(QStringLiteral("Test erfolgreich"));
        return true;
    } catch (const std::exception& e) {
        Melden(FehlerZeile(e));
        Melden(QString());
        Melden(QStringLiteral("Test fehlgeschlagen"));
        return false;
    }
}

TPingTest::TPingTest(Senden senden, Pause pause)
    : senden_(std::move(senden)), pause_(std::move(pause))
{
    if (!senden_)
        senden_ = [](const QString& host, int ms) { return platform::IcmpEcho().send(host, ms); };
    if (!pause_)
        pause_ = [](int ms) { QThread::msleep(ms); };
}

void TPingTest::Melden(const QString& zeile)
{
    if (OnZeile)
        OnZeile(zeile);
}

QString TPingTest::AntwortZeile(const platform::EchoReply& a)
{
    using S = platform::EchoReply::Status;
    QString muster;
    switch (a.status) {
        case S::Reply:
            muster = QStringLiteral("Antwort von %1: Bytes %2, Zeit %3, TTL %4");
            break;
        case S::Error:
            muster = QStringLiteral("Antwort von %1: Fehler, Bytes %2, Zeit %3, TTL %4");
            break;
        case S::TimeOut:
            return QStringLiteral("Zeitüberschreitung");
        case S::Unreachable:
            muster = QStringLiteral("Antwort von %1: Nicht erreichbar, Bytes %2, Zeit %3, TTL %4");
            break;
        case S::TtlExceeded:
            muster = QStringLiteral("Antwort von %1: TTL Überschritten, Bytes %2, Zeit %3, TTL %4");
            break;
    }
    return muster.arg(a.source).arg(a.bytes).arg(a.timeMs).arg(a.ttl);
}

bool TPingTest::Testen(const QString& rechner, int versuche)
{
    QString host = PingRechner(rechner);
    if (host.isEmpty())
        host = QStringLiteral("127.0.0.1");
    bool ergebnis = false;
    for (int versuch = 0; versuch < versuche; ++versuch) {
        if (versuch > 0)
            pause_(PauseMs);
        try {
            const platform::EchoReply antwort = senden_(host, AntwortZeitMs);
            Melden(AntwortZeile(antwort));
            ergebnis = antwort.status == platform::EchoReply::Status::Reply;
        } catch (const std::exception& e) {
            Melden(FehlerZeile(e));
            ergebnis = false;
        }
    }
    return ergebnis;
}

}  // namespace Einrichtung
