#include <DBConnect.h>
#include <Warten.h>

#include <Database.h>
#include <Error.h>

#include <MessageBoxScript.h>

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

using Start = platform::DbServer::StartResult;

constexpr long NetzwerkFehler = 335544721;

// A server and a machine as the connection routine sees them; every call is written to the log.
struct FakeServer {
    QStringList log;
    // Names that connect; every other attempt fails.
    QStringList erreichbar;
    // Names that connect only once the server was checked.
    QStringList erreichbarNachPruefung;
    bool geprueft = false;
    bool serverLaeuft = true;
    Start::Outcome start = Start::Started;
    // Outcomes of the user checks in order: 0 succeeds, otherwise the engine code of the failure.
    std::deque<long> benutzer;
    bool servicesEintrag = true;
    bool einrichtungDa = true;
    // The user presses "Abbrechen" in the wait dialog.
    bool abgebrochen = false;

    TDBConnect::Umgebung umgebung(bool terminalServer = false)
    {
        TDBConnect::Umgebung u;
        u.terminalServer = terminalServer;
        u.nameSpeichern = [this](const QString& n) { log << "speichern " + n; };
        u.adminPasswort = [] { return QStringLiteral("kuhglocke"); };
        u.verbinden = [this](db::Database&, const db::ConnectParams& p) {
            log << "verbinden " + p.Name;
            EXPECT_EQ(p.User, "BOVANTIS");
            if (erreichbar.contains(p.Name) ||
                (geprueft && erreichbarNachPruefung.contains(p.Name)))
                return;
            throw db::Error("unavailable database", -902, 335544375);
        };
        u.serverLaeuft = [this] { return serverLaeuft; };
        u.aufServerWarten = [this] {
            log << "warten";
            return !abgebrochen;
        };
        u.pause = [this](int ms) { log << QStringLiteral("pause %1").arg(ms); };
        u.serverStarten = [this] {
            log << "starten";
            return Start{start, start == Start::Started ? QString() : "Bitte als root starten"};
        };
        u.benutzerPruefen = [this](const QString& name, const QString& passwort) {
            log << "benutzer " + name;
            EXPECT_EQ(passwort, "kuhglocke");
            const long code = benutzer.empty() ? 0 : benutzer.front();
            if (!benutzer.empty())
                benutzer.pop_front();
            if (code != 0)
                throw db::Error("Fehler beim Server", -902, code);
            geprueft = true;
        };
        u.servicesEintragVorhanden = [this] {
            log << "services";
            return servicesEintrag;
        };
        u.einrichtungStarten = [this] {
            log << "einrichtung";
            return einrichtungDa;
        };
        return u;
    }
};

struct Fall {
    const char* titel;
    QString name;
    std::function<void(FakeServer&)> einrichten;
    bool ergebnis;
    QStringList log;
    // Texts that the shown messages contain, one per message.
    QStringList meldungen;
    bool terminalServer = false;
};

}  // namespace

TEST(DBConnectTest, NameRulesAndAttempts)
{
    const QString fehler = "Zur Datenbank\r>> %1 <<\rkonnte nicht verbunden werden.";
    const std::vector<Fall> faelle = {
        {"embedded file: one attempt, nothing else",
         "/daten/bovantis.fdb",
         [](FakeServer& s) { s.erreichbar = {"/daten/bovantis.fdb"}; },
         true,
         {"speichern /daten/bovantis.fdb", "verbinden /daten/bovantis.fdb"},
         {}},
        {"missing embedded file: message with the details, then the wizard",
         "/daten/fehlt.fdb",
         [](FakeServer&) {},
         false,
         {"speichern /daten/fehlt.fdb", "verbinden /daten/fehlt.fdb", "einrichtung"},
         {fehler.arg("/daten/fehlt.fdb") + "\r\rMöglicherweise ist die Datenbank nicht "
                                           "gestartet.\rÜberprüfen Sie im folgenden Programm die "
                                           "Datenbankverbindung.\r\rFehler: db::Error\r"
                                           "unavailable database\r"}},
        {"other host: tried once, no server start, no user set-up",
         "server2:/srv/bovantis.fdb",
         [](FakeServer&) {},
         false,
         {"speichern server2:/srv/bovantis.fdb", "verbinden server2:/srv/bovantis.fdb",
          "einrichtung"},
         {fehler.arg("server2:/srv/bovantis.fdb")}},
        {"localhost: the 127.0.0.1 form works at once and is written back",
         "localhost:/daten/b.fdb",
         [](FakeServer& s) { s.erreichbar = {"127.0.0.1:/daten/b.fdb"}; },
         true,
         {"speichern localhost:/daten/b.fdb", "verbinden 127.0.0.1:/daten/b.fdb",
          "speichern 127.0.0.1:/daten/b.fdb"},
         {}},
        {"prefix in any case; works after the server and user check",
         "LocalHost:/daten/b.fdb",
         [](FakeServer& s) { s.erreichbarNachPruefung = {"127.0.0.1:/daten/b.fdb"}; },
         true,
         {"speichern LocalHost:/daten/b.fdb", "verbinden 127.0.0.1:/daten/b.fdb", "warten",
          "pause 2000", "benutzer 127.0.0.1:/daten/b.fdb", "verbinden 127.0.0.1:/daten/b.fdb",
          "speichern 127.0.0.1:/daten/b.fdb"},
         {}},
        {"only the localhost form works: both forms tried in order",
         "127.0.0.1:/daten/b.fdb",
         [](FakeServer& s) { s.erreichbarNachPruefung = {"localhost:/daten/b.fdb"}; },
         true,
         {"speichern 127.0.0.1:/daten/b.fdb", "verbinden 127.0.0.1:/daten/b.fdb", "warten",
          "pause 2000", "benutzer 127.0.0.1:/daten/b.fdb", "verbinden 127.0.0.1:/daten/b.fdb",
          "verbinden localhost:/daten/b.fdb", "speichern localhost:/daten/b.fdb"},
         {}},
        {"server down and no rights to start it: the message says what to run",
         "localhost:/d.fdb",
         [](FakeServer& s) {
             s.serverLaeuft = false;
             s.start = Start::NoRights;
             s.benutzer = {NetzwerkFehler + 1, NetzwerkFehler + 1, NetzwerkFehler + 1,
                           NetzwerkFehler + 1};
         },
         false,
         {"speichern localhost:/d.fdb", "verbinden 127.0.0.1:/d.fdb", "warten", "starten",
          "benutzer 127.0.0.1:/d.fdb", "warten", "starten", "benutzer 127.0.0.1:/d.fdb",
          "verbinden localhost:/d.fdb", "warten", "starten", "benutzer 127.0.0.1:/d.fdb", "warten",
          "starten", "benutzer 127.0.0.1:/d.fdb", "einrichtung"},
         {"Fehler beim Server\rSQL Code: -902\rError-Code: 335544722\r\rBitte als root starten"}},
        {"user check fails once: retried silently",
         "localhost:/d.fdb",
         [](FakeServer& s) {
             s.benutzer = {335544472};
             s.erreichbarNachPruefung = {"127.0.0.1:/d.fdb"};
         },
         true,
         {"speichern localhost:/d.fdb", "verbinden 127.0.0.1:/d.fdb", "warten", "pause 2000",
          "benutzer 127.0.0.1:/d.fdb", "warten", "pause 2000", "benutzer 127.0.0.1:/d.fdb",
          "verbinden 127.0.0.1:/d.fdb", "speichern 127.0.0.1:/d.fdb"},
         {}},
        {"network failure: services line checked once, whole check repeated once",
         "localhost:/d.fdb",
         [](FakeServer& s) {
             s.servicesEintrag = false;
             s.benutzer = {NetzwerkFehler, NetzwerkFehler, 0};
             s.erreichbarNachPruefung = {"127.0.0.1:/d.fdb"};
         },
         true,
         {"speichern localhost:/d.fdb", "verbinden 127.0.0.1:/d.fdb", "warten", "pause 2000",
          "benutzer 127.0.0.1:/d.fdb", "warten", "pause 2000", "benutzer 127.0.0.1:/d.fdb",
          "services", "warten", "pause 2000", "benutzer 127.0.0.1:/d.fdb",
          "verbinden 127.0.0.1:/d.fdb", "speichern 127.0.0.1:/d.fdb"},
         {}},
        {"server not installed: the package is named, the wizard starts, no second message",
         "localhost:/d.fdb",
         [](FakeServer& s) {
             s.serverLaeuft = false;
             s.start = Start::NotInstalled;
         },
         false,
         {"speichern localhost:/d.fdb", "verbinden 127.0.0.1:/d.fdb", "warten", "starten",
          "einrichtung"},
         {"Bitte lassen Sie das Paket \"firebird3.0-server\" installieren"}},
        {"\"Abbrechen\" while waiting for the server: nothing more is tried or shown",
         "localhost:/d.fdb",
         [](FakeServer& s) {
             s.serverLaeuft = false;
             s.abgebrochen = true;
         },
         false,
         {"speichern localhost:/d.fdb", "verbinden 127.0.0.1:/d.fdb", "warten"},
         {}},
        {"terminal server: the name exactly as stored, tried once, not written back",
         "localhost:/d.fdb",
         [](FakeServer& s) { s.erreichbar = {"localhost:/d.fdb"}; },
         true,
         {"verbinden localhost:/d.fdb"},
         {},
         true},
        {"older form \":C:...\" loses its first character",
         ":C:\\Daten\\b.fdb",
         [](FakeServer& s) { s.erreichbar = {"C:\\Daten\\b.fdb"}; },
         true,
         {"speichern C:\\Daten\\b.fdb", "verbinden C:\\Daten\\b.fdb"},
         {}},
        {"missing setup wizard: said in a message of its own",
         "/daten/fehlt.fdb",
         [](FakeServer& s) { s.einrichtungDa = false; },
         false,
         {"speichern /daten/fehlt.fdb", "verbinden /daten/fehlt.fdb", "einrichtung"},
         {fehler.arg("/daten/fehlt.fdb"),
          "Der Einrichtungsassistent \"ZRNVEinrichtung\" konnte nicht gestartet werden."}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.titel);
        FakeServer server;
        f.einrichten(server);
        MessageBoxScript script;
        for (int i = 0; i < f.meldungen.size(); ++i)
            script.AnswerWith(Tools::mrOk);
        TDBConnect verbindung(server.umgebung(f.terminalServer));
        db::Database d;
        EXPECT_EQ(verbindung.DatenbankVerbinden(d, {f.name, "BOVANTIS", "heuboden", {}}),
                  f.ergebnis);
        EXPECT_EQ(server.log, f.log);
        ASSERT_EQ(script.Shown().size(), f.meldungen.size());
        for (int i = 0; i < f.meldungen.size(); ++i) {
            EXPECT_EQ(script.Shown()[i].type, Tools::mtError);
            EXPECT_TRUE(script.Shown()[i].text.contains(f.meldungen[i]))
                << script.Shown()[i].text.toStdString();
        }
    }
}

TEST(DBConnectTest, AfterTheInstallationHintLaterConnectionsStillTry)
{
    FakeServer server;
    server.serverLaeuft = false;
    server.start = Start::NotInstalled;
    TDBConnect verbindung(server.umgebung());
    db::Database d;
    {
        MessageBoxScript script;
        script.AnswerWith(Tools::mrOk);
        EXPECT_FALSE(verbindung.DatenbankVerbinden(d, {"localhost:/d.fdb", "BOVANTIS", "", {}}));
    }
    // A later connection in the same process, e.g. after a restore to a local file.
    server.log.clear();
    MessageBoxScript script;
    script.AnswerWith(Tools::mrOk);
    EXPECT_FALSE(verbindung.DatenbankVerbinden(d, {"/daten/x.fdb", "BOVANTIS", "", {}}));
    EXPECT_EQ(server.log,
              (QStringList{"speichern /daten/x.fdb", "verbinden /daten/x.fdb", "einrichtung"}));
    ASSERT_EQ(script.Shown().size(), 1);
    EXPECT_TRUE(script.Shown()[0].text.startsWith("Zur Datenbank\r>> /daten/x.fdb <<"));
}

// A database server holds its files exclusively; the embedded engine then cannot open the file.
// The farmer learns that it is open elsewhere, not that the database may not be started, and the
// setup wizard (which cannot help) is not started.
TEST(DBConnectTest, AFileOpenElsewhereIsNamedAsTheCause)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath("herde.fdb");
    db::Database(nullptr).Create({pfad, {}, {}, {}});
    const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);

    FakeServer server;
    TDBConnect::Umgebung umgebung = server.umgebung();
    umgebung.verbinden = [](db::Database& d, const db::ConnectParams& p) { d.Open(p); };
    TDBConnect verbindung(umgebung);
    db::Database d;
    MessageBoxScript script;
    script.AnswerWith(Tools::mrOk);
    EXPECT_FALSE(verbindung.DatenbankVerbinden(d, {pfad, {}, {}, {}}));
    ::close(fd);
    EXPECT_FALSE(server.log.contains("einrichtung"));
    ASSERT_EQ(script.Shown().size(), 1);
    const QString text = script.Shown()[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Zur Datenbank\r>> %1 <<\rkonnte nicht verbunden "
                                               "werden, weil sie bereits anderweitig geöffnet ist.")
                                    .arg(pfad)))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Die Datenbank \"%1\" wird bereits von einem anderen "
                                             "Programm verwendet")
                                  .arg(pfad)))
        << text.toStdString();
    EXPECT_FALSE(text.contains("nicht gestartet")) << text.toStdString();
}

TEST(DBConnectTest, WaitDialogClosesWhenTheServerComesUpOrOnCancel)
{
    int fragen = 0;
    TfrmWarten warten([&] { return ++fragen >= 2; });
    EXPECT_EQ(warten.windowTitle(), "Warte...");
    EXPECT_EQ(warten.exec(), QDialog::Accepted);
    EXPECT_EQ(fragen, 2);
    EXPECT_EQ(warten.Restzeit(), TfrmWarten::Sekunden - 1);
    EXPECT_EQ(warten.findChild<QLabel*>("lblRestzeit")->text(), "Restzeit: 59 Sekunden");

    TfrmWarten abbrechen([] { return false; });
    MessageBoxScript skript;
    skript.Window<TfrmWarten>([](TfrmWarten& w) {
        QTest::mouseClick(w.findChild<QPushButton*>("btnAbbrechen"), Qt::LeftButton);
    });
    EXPECT_EQ(abbrechen.exec(), QDialog::Rejected);
    EXPECT_TRUE(abbrechen.Abgebrochen());
    EXPECT_FALSE(warten.Abgebrochen());
}

TEST(DBConnectTest, ServicesLineIsFoundAsNameOrAlias)
{
    QTemporaryDir dir;
    const struct {
        QByteArray inhalt;
        bool gefunden;
    } faelle[] = {
        {"gds_db    3050/tcp\n", true},
        {"gds-db\t\t3050/tcp\t\tgds_db\t\t# InterBase server\n", true},
        {"ftp 21/tcp\n# gds_db 3050/tcp\n", false},
        {"", false},
    };
    for (const auto& f : faelle) {
        QFile datei(dir.filePath("services"));
        ASSERT_TRUE(datei.open(QIODevice::WriteOnly | QIODevice::Truncate));
        datei.write(f.inhalt);
        datei.close();
        EXPECT_EQ(platform::DbServer::hasServicesEntry(datei.fileName()), f.gefunden)
            << f.inhalt.toStdString();
    }
    EXPECT_FALSE(platform::DbServer::hasServicesEntry(dir.filePath("fehlt")));
}
