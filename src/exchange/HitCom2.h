#pragma once

#include "HitDaten.h"

#include <QString>

#include <functional>
#include <memory>

class QTcpSocket;

// The client of the national cattle database HIT: one TCP connection, one request and its
// answer lines at a time (the line format is in HitZeilen.h). Blocking; used from one thread,
// the one that connects.
class THITCom2 {
public:
    // Kinds of a status event.
    enum StatusArt {
        Verbinde = 0,
        Fehlgeschlagen = 1,
        Verbunden = 2,
        Getrennt = 3,
        Fehler = 4,
        Info = 5
    };

    THITCom2();
    ~THITCom2();
    THITCom2(const THITCom2&) = delete;
    THITCom2& operator=(const THITCom2&) = delete;

    // Servers: the name is tried before the address; the backup when the primary fails.
    QString PrimaerAddr, PrimaerIP, SekundaerAddr, SekundaerIP;
    int PortNormal = 2222;
    int PortTest = 2223;
    bool NormalServer = true;
    // Milliseconds; a time-out of 0 passed to GetData waits StandardWartezeit.
    int StandardWartezeit = 60000;
    int VerbindungsWartezeit = 20000;

    // server 0 primary, 1 backup; art a StatusArt.
    std::function<void(int server, int art, const QString& text)> OnStatus;
    std::function<void()> OnDisconnected;
    // Asked when an answer is overdue: true ends the wait, false waits once more.
    std::function<void(bool& abbrechen)> OnAbbruchFrage;

    // Connects to the first server that answers with its greeting; false when none did.
    bool Verbinden();
    bool Connected() const;
    // The greeting lines of the current connection.
    const THITPAntworten& Begruessung() const { return begruessung_; }

    // Send a request; throw std::runtime_error without a connection and std::invalid_argument
    // for a value the line cannot carry (nothing is sent then).
    void Befehl_senden(const THITPBefehl& befehl);
    void Abfrage_senden(const THITPQuery& query);
    // The answer lines of the last request; false when no complete answer came in time or the
    // connection broke (the lines that came are kept in `antworten`). Milliseconds, 0 default.
    bool GetData(THITPAntworten& antworten, int zeitlimit);
    void Disconnect();

    bool LetzteAnfrageBefehl() const { return letzteBefehl_; }
    int BefehlZaehler() const { return befehlZaehler_; }
    const THITPBefehl& LetzterBefehl() const { return letzterBefehl_; }
    bool TrennungAngefordert() const { return trennungAngefordert_; }

private:
    bool VerbindenMit(int server, const QString& host, int port);
    void Senden(const QString& zeile);
    bool Lesen(int anfrage, THITPAntworten& antworten, int zeitlimit);
    void Verloren();
    void Status(int art, const QString& text);

    std::unique_ptr<QTcpSocket> socket_;
    int server_ = 0;
    int anfrage_ = 0;
    THITPAntworten begruessung_;
    bool letzteBefehl_ = false;
    int befehlZaehler_ = 0;
    THITPBefehl letzterBefehl_;
    bool trennungAngefordert_ = false;
};
