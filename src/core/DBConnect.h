#pragma once

#include <DbServer.h>

#include <QString>
#include <QStringList>

#include <functional>

namespace db {
class Database;
struct ConnectParams;
}  // namespace db

// Connects a database of the program to the herd database.
//
// A name without a host ("/path/file.fdb") is the local file, opened by the embedded engine in one
// attempt. A name "localhost:path" or "127.0.0.1:path" goes to the database server on this
// machine: the routine tries both forms and, between them, makes sure the server runs and knows
// the program's user. Any other host is tried once. When everything fails, one message with the
// details is shown and the setup wizard is started.
namespace DBConnect {

// The program's own database user.
inline const QString Benutzer = QStringLiteral("BOVANTIS");
inline const QString Passwort = QStringLiteral("heuboden");
// The server's administrator.
inline const QString Administrator = QStringLiteral("SYSDBA");

// The two forms of the local server, tried in this order.
inline const QStringList LokalPraefixe = {QStringLiteral("127.0.0.1:"),
                                          QStringLiteral("localhost:")};

// The setup wizard in the program folder.
inline const QString Einrichtung = QStringLiteral("ZRNVEinrichtung");

}  // namespace DBConnect

class TDBConnect {
public:
    // What the routine needs of the machine, the settings and the server; tests replace entries.
    struct Umgebung {
        bool terminalServer = false;
        // Writes the database name back into the INI file.
        std::function<void(const QString& name)> nameSpeichern;
        std::function<QString()> adminPasswort;
        // One attempt to attach; throws on failure.
        std::function<void(db::Database&, const db::ConnectParams&)> verbinden;
        std::function<bool()> serverLaeuft;
        // Waits up to a minute for the server to come up; false when the user cancelled (or the
        // program is asked to end).
        std::function<bool()> aufServerWarten;
        std::function<void(int ms)> pause;
        std::function<platform::DbServer::StartResult()> serverStarten;
        // Adds the program's user when the server does not know it; throws on failure.
        std::function<void(const QString& datenbankName, const QString& adminPasswort)>
            benutzerPruefen;
        std::function<bool()> servicesEintragVorhanden;
        // Starts the setup wizard without waiting for it; false when it could not be started.
        std::function<bool()> einrichtungStarten;
    };
    // The machine, the program's settings object and the wait dialog.
    static Umgebung StandardUmgebung();

    explicit TDBConnect(Umgebung umgebung = StandardUmgebung());

    // Connects d with the given name and user. Never throws for a failed connection: shows its
    // message, starts the setup wizard (unless the database is open elsewhere in a way that cannot
    // be shared) and returns false.
    bool DatenbankVerbinden(db::Database& d, db::ConnectParams params);

    // The last failed attempt.
    const QString& LetzterFehler() const { return letzterFehler_; }
    const QString& LetzteFehlerklasse() const { return letzteFehlerklasse_; }

private:
    bool VerbindungVersuchen(db::Database& d, const db::ConnectParams& params);
    bool ServerUndBenutzerPruefen(const QString& pfad, QString& fehlertext);
    void AufDatenbankServerWarten();
    void DatenbankServerStarten();
    void FirebirdInstallieren();
    void EinrichtungStarten();

    Umgebung umgebung_;
    QString letzterFehler_;
    QString letzteFehlerklasse_;
    long letzterCode_ = 0;
    // Set once the missing server was reported in this call: no further message then.
    bool abbruch_ = false;
    // What the user can do about a server that could not be started.
    QString startHinweis_;
};

// With the program's environment.
bool DatenbankVerbinden(db::Database& d, const db::ConnectParams& params);

// Makes sure the server behind the database name knows the program's user: looks for it in any
// letter case and adds it when missing, as the administrator. Throws db::Error.
void ProgrammbenutzerPruefen(const QString& datenbankName, const QString& adminPasswort);
