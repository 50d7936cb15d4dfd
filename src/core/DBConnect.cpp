#include "DBConnect.h"

#include "Grundeinstellungen.h"
#include "Warten.h"

#include <Database.h>
#include <Error.h>
#include <Query.h>
#include <Transaction.h>

#include <Meldung.h>
#include <Process.h>
#include <SystemInfo.h>
#include <TerminalServer.h>
#include <ZRDebug.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <memory>

namespace {

// The engine's "network request failed".
constexpr long NetzwerkFehler = 335544721;
// The engine's "database already opened with engine instance, incompatible with current"; the
// database layer also refuses a file another group's embedded engine holds with it.
constexpr long BereitsGeoeffnet = 335545107;

QString fehlerText(const std::exception& e)
{
    if (const auto* dbFehler = dynamic_cast<const db::Error*>(&e))
        return dbFehler->Message();
    return QString::fromUtf8(e.what());
}

void warten(int ms)
{
    QElapsedTimer uhr;
    uhr.start();
    while (uhr.elapsed() < ms) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
}

// DDL takes no parameters: the name is an identifier and the password a quoted literal.
QString literal(const QString& text)
{
    QString t = text;
    return QLatin1Char('\'') + t.replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

}  // namespace

TDBConnect::Umgebung TDBConnect::StandardUmgebung()
{
    Umgebung u;
    const TEinstellungen* e = Einstellungen();
    u.terminalServer = e ? e->IsTerminalServer() : platform::isTerminalServer();
    u.nameSpeichern = [](const QString& name) {
        if (TEinstellungen* e = Einstellungen())
            e->SetDatenbankName(name);
    };
    u.adminPasswort = [] {
        const TEinstellungen* e = Einstellungen();
        return e ? e->GetDatenbankAdminPasswort() : QString();
    };
    u.verbinden = [](db::Database& d, const db::ConnectParams& p) { d.Open(p); };
    u.serverLaeuft = [] { return platform::DbServer::isListening(); };
    u.aufServerWarten = [] {
        TfrmWarten dialog([] { return platform::DbServer::isListening(); });
        return dialog.exec() == QDialog::Accepted || !dialog.Abgebrochen();
    };
    u.pause = warten;
    u.serverStarten = [] { return platform::DbServer::start(); };
    u.benutzerPruefen = ProgrammbenutzerPruefen;
    u.servicesEintragVorhanden = [] { return platform::DbServer::hasServicesEntry(); };
    u.einrichtungStarten = [] {
        const QString programm =
            platform::programFolder() + QLatin1Char('/') + DBConnect::Einrichtung;
        return QFileInfo(programm).isExecutable() && platform::startDetached(programm);
    };
    return u;
}

TDBConnect::TDBConnect(Umgebung umgebung) : umgebung_(std::move(umgebung)) {}

bool TDBConnect::DatenbankVerbinden(db::Database& d, db::ConnectParams params)
{
    QString detail;
    abbruch_ = false;
    startHinweis_.clear();
    QString name = params.Name;
    bool lokal = false;
    if (!umgebung_.terminalServer) {
        // A name written as ":C:..." by older set-ups.
        if (name.startsWith(QLatin1Char(':')) && name.size() > 2 && name.at(2) == QLatin1Char(':'))
            name.remove(0, 1);
        params.Name = name;
        umgebung_.nameSpeichern(name);
        for (const QString& praefix : DBConnect::LokalPraefixe) {
            if (name.startsWith(praefix, Qt::CaseInsensitive)) {
                name = name.mid(praefix.size());
                lokal = true;
                break;
            }
        }
    }

    bool verbunden = false;
    if (!lokal) {
        verbunden = VerbindungVersuchen(d, params);
    } else {
        for (const QString& praefix : DBConnect::LokalPraefixe) {
            params.Name = praefix + name;
            if (VerbindungVersuchen(d, params)) {
                verbunden = true;
                break;
            }
            const bool serverBereit = ServerUndBenutzerPruefen(name, detail);
            if (abbruch_)
                return false;
            if (serverBereit && VerbindungVersuchen(d, params)) {
                verbunden = true;
                break;
            }
        }
        if (verbunden)
            umgebung_.nameSpeichern(params.Name);
    }
    if (verbunden)
        return true;

    // Nothing is wrong with the connection: the setup wizard cannot help.
    if (letzterCode_ == BereitsGeoeffnet) {
        Tools::MeldungError(QStringLiteral("Zur Datenbank\r>> %1 <<\rkonnte nicht verbunden "
                                           "werden, weil sie bereits anderweitig geöffnet ist."
                                           "\r\r%2")
                                .arg(params.Name, letzterFehler_));
        return false;
    }
    if (!startHinweis_.isEmpty())
        detail += QStringLiteral("\r\r") + startHinweis_;
    Tools::MeldungError(
        QStringLiteral("Zur Datenbank\r>> %1 <<\rkonnte nicht verbunden werden.\r\r"
                       "Möglicherweise ist die Datenbank nicht gestartet.\r"
                       "Überprüfen Sie im folgenden Programm die Datenbankverbindung.\r\r"
                       "Fehler: %2\r%3\r%4")
            .arg(params.Name, letzteFehlerklasse_, letzterFehler_, detail));
    EinrichtungStarten();
    return false;
}

bool TDBConnect::VerbindungVersuchen(db::Database& d, const db::ConnectParams& params)
{
    try {
        umgebung_.verbinden(d, params);
        return true;
    } catch (const std::exception& e) {
        letzterFehler_ = fehlerText(e);
        letzteFehlerklasse_ = ZRDebug::KlassenName(e);
        const auto* dbFehler = dynamic_cast<const db::Error*>(&e);
        letzterCode_ = dbFehler ? dbFehler->EngineCode() : 0;
        // A connection whose set-up failed after the attach is of no use.
        if (d.Connected()) {
            try {
                d.Close();
            } catch (const std::exception&) {
                // The attach failed already; the engine drops the rest with the attachment.
            }
        }
        return false;
    }
}

bool TDBConnect::ServerUndBenutzerPruefen(const QString& pfad, QString& fehlertext)
{
    fehlertext.clear();
    bool servicesErgaenzt = false;
    for (;;) {
        try {
            for (int versuch = 1;; ++versuch) {
                AufDatenbankServerWarten();
                if (abbruch_)
                    return false;
                try {
                    // The server is always asked over TCP, whichever form failed.
                    umgebung_.benutzerPruefen(DBConnect::LokalPraefixe.first() + pfad,
                                              umgebung_.adminPasswort());
                    return true;
                } catch (const std::exception&) {
                    if (versuch >= 2)
                        throw;
                }
            }
        } catch (const std::exception& e) {
            fehlertext = QStringLiteral("\r\rAufgetretener Fehler:\r") + ZRDebug::KlassenName(e) +
                         QLatin1Char('\r') + fehlerText(e);
            const auto* dbFehler = dynamic_cast<const db::Error*>(&e);
            if (!dbFehler)
                return false;
            if (dbFehler->EngineCode() == NetzwerkFehler && !servicesErgaenzt) {
                servicesErgaenzt = true;
                if (!umgebung_.servicesEintragVorhanden())
                    startHinweis_ = QStringLiteral(
                                        "In der Datei %1 fehlt die Zeile \"%2\".\r"
                                        "Ein Administrator kann sie ergänzen.")
                                        .arg(platform::DbServer::ServicesDatei,
                                             platform::DbServer::ServicesZeile);
                continue;
            }
            fehlertext += QStringLiteral("\rSQL Code: %1\rError-Code: %2")
                              .arg(dbFehler->SqlCode())
                              .arg(dbFehler->EngineCode());
            return false;
        }
    }
}

void TDBConnect::AufDatenbankServerWarten()
{
    if (!umgebung_.aufServerWarten()) {
        abbruch_ = true;
        return;
    }
    if (umgebung_.serverLaeuft())
        umgebung_.pause(2000);
    else
        DatenbankServerStarten();
}

void TDBConnect::DatenbankServerStarten()
{
    const platform::DbServer::StartResult r = umgebung_.serverStarten();
    switch (r.outcome) {
        case platform::DbServer::StartResult::Started:
            break;
        case platform::DbServer::StartResult::NoRights:
        case platform::DbServer::StartResult::Failed:
            startHinweis_ = r.hint;
            break;
        case platform::DbServer::StartResult::NotInstalled:
            FirebirdInstallieren();
            break;
    }
}

void TDBConnect::FirebirdInstallieren()
{
    Tools::MeldungError(
        QStringLiteral("Konnte die Verbindung zur Datenbank nicht herstellen.\r"
                       "So wie es aussieht, ist der Datenbank-Server \"Firebird\"\r"
                       "nicht installiert. Dieser ist für die Funktionalität von ZR Bovantis\r"
                       "unbedingt erforderlich.\r\r"
                       "Bitte lassen Sie das Paket \"%1\" installieren\r"
                       "(als Administrator: apt install %1).\r\r"
                       "Anschließend wird der Einrichtungsassistent gestartet.")
            .arg(platform::DbServer::Paket));
    EinrichtungStarten();
    abbruch_ = true;
}

void TDBConnect::EinrichtungStarten()
{
    if (umgebung_.einrichtungStarten())
        return;
    Tools::MeldungError(
        QStringLiteral("Der Einrichtungsassistent \"%1\" konnte nicht gestartet werden.\r"
                       "Er fehlt im Programmordner oder ist nicht ausführbar.\r\r"
                       "Bitte richten Sie die Datenbankverbindung ein und starten Sie\r"
                       "ZR Bovantis anschließend erneut.")
            .arg(DBConnect::Einrichtung));
}

bool DatenbankVerbinden(db::Database& d, const db::ConnectParams& params)
{
    TDBConnect verbindung;
    return verbindung.DatenbankVerbinden(d, params);
}

void ProgrammbenutzerPruefen(const QString& datenbankName, const QString& adminPasswort)
{
    db::Database admin;
    admin.Open({datenbankName, DBConnect::Administrator, adminPasswort, {}});
    db::Transaction tr(admin, QStringLiteral("Benutzer"));
    tr.Start();
    db::Query vorhanden(
        tr, QStringLiteral("SELECT COUNT(*) FROM SEC$USERS WHERE UPPER(SEC$USER_NAME) = :NAME"));
    vorhanden.Param(QStringLiteral("NAME")).SetString(DBConnect::Benutzer.toUpper());
    vorhanden.Open();
    const bool fehlt = vorhanden.Field(0).AsInteger() == 0;
    vorhanden.Close();
    if (fehlt) {
        db::Query anlegen(tr, QStringLiteral("CREATE USER %1 PASSWORD %2")
                                  .arg(DBConnect::Benutzer, literal(DBConnect::Passwort)));
        anlegen.Execute();
    }
    tr.Commit();
    admin.Close();
}
