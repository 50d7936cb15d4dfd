#include <Datenmodul.h>
#include <FHintergrundjob.h>
#include <FProgUpdate.h>
#include <Grundeinstellungen.h>
#include <ProgDatum.h>
#include <ProgInit.h>
#include <ProgUpdate.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <ProgrammDatenbank.h>

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <limits>
#include <memory>

using namespace ProgUpdate;

namespace {

TEST(ProgUpdateTest, VersionFormatieren)
{
    const struct {
        const char* ziffern;
        const char* text;
    } faelle[] = {
        {"3000000", "3.0.0"},
        {"3001004", "3.1.4"},
        {"12034005", "12.34.5"},
        {"0000001", "0.0.1"},
        {"", ""},
        {"300000", ""},
        {"1", ""},
        {"30a1004", ""},
        {" 3001004", ""},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(VersionFormatieren(f.ziffern), f.text) << f.ziffern;
}

TEST(ProgUpdateTest, VersionFileLinesAreTrimmedAndTheChecksumIsOptional)
{
    const QByteArray sha(32, '\xab');
    const QByteArray hex = sha.toHex();
    const struct {
        QByteArray inhalt;
        const char* version;
        bool mitSumme;
    } gut[] = {
        {"3001004", "3001004", false},
        {"3001004\n", "3001004", false},
        {"3001004\r\n", "3001004", false},
        {"  3001004  \n\n", "3001004", false},
        {"3001004\n" + hex + "\n", "3001004", true},
        {"3001004\r\n" + hex.toUpper() + "\r\n", "3001004", true},
    };
    for (const auto& f : gut) {
        const Versionsdatei v = VersionsdateiLesen(f.inhalt);
        EXPECT_EQ(v.version, f.version) << f.inhalt.constData();
        EXPECT_EQ(v.sha256, f.mitSumme ? sha : QByteArray()) << f.inhalt.constData();
    }
    const QByteArray schlecht[] = {"",
                                   "\n",
                                   "300100",
                                   "3.1.4",
                                   "<html>",
                                   "3001004\nxyz",
                                   "3001004\n" + hex.left(62),
                                   "3001004\n" + hex + "\n" + hex};
    for (const QByteArray& inhalt : schlecht)
        EXPECT_THROW(VersionsdateiLesen(inhalt), EUpdateFehler) << inhalt.constData();
}

TEST(ProgUpdateTest, OnlyHttpsOrThisMachineIsAnUpdateServer)
{
    const struct {
        const char* adresse;
        const char* basis;  // nullptr: refused
    } faelle[] = {
        {"https://update.example.org/zr", "https://update.example.org/zr/"},
        {"https://update.example.org/", "https://update.example.org/"},
        {"http://127.0.0.1:8080", "http://127.0.0.1:8080/"},
        {"http://localhost:1/", "http://localhost:1/"},
        {"http://update.example.org/", nullptr},
        {"ftp://update.example.org/", nullptr},
        {"update.example.org", nullptr},
        {"https://", nullptr},
    };
    for (const auto& f : faelle) {
        ScopedEnv adresse("BOVANTIS_UPDATE_URL", f.adresse);
        EXPECT_TRUE(UpdateServerEingerichtet());
        if (f.basis) {
            const Adresse a = UpdateAdresse();
            EXPECT_EQ(a.basis, f.basis);
            EXPECT_EQ(a.Versionsdatei(), QString(f.basis) + "support/aktzrnv3.txt");
            EXPECT_EQ(a.Installer("3.0.0"), QString(f.basis) + "cgi-bin/update.pl?version=3.0.0");
        } else {
            EXPECT_THROW(UpdateAdresse(), EUpdateFehler) << f.adresse;
        }
    }
}

TEST(ProgUpdateTest, OwnVersionInBothForms)
{
    EXPECT_EQ(VersionFormatieren(GetProgrammVersionUpdate()), GetProgrammVersion());
}

// A web server on this machine serving a folder the test fills. Files under a folder named
// "langsam" are sent in small pieces with pauses, so that a download can be cancelled midway;
// files under "haengt" one byte every 0.2 seconds, as a server that nearly stalls. "/gross/<n>"
// declares n bytes and sends 64 KiB of them; "/endlos/" sends without a declared size until the
// client hangs up.
class Webserver {
public:
    explicit Webserver(const QString& wurzel)
    {
        const QString skript = wurzel + "/../server.py";
        QFile f(skript);
        if (!f.open(QIODevice::WriteOnly))
            throw std::runtime_error("server.py");
        f.write(R"(import http.server, os, sys, time
os.chdir(sys.argv[1])
class H(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *a):
        pass
    def copyfile(self, quelle, ziel):
        if 'haengt' in os.path.realpath(self.translate_path(self.path)):
            while True:
                stueck = quelle.read(1)
                if not stueck:
                    return
                ziel.write(stueck)
                ziel.flush()
                time.sleep(0.2)
        if 'langsam' not in os.path.realpath(self.translate_path(self.path)):
            return super().copyfile(quelle, ziel)
        while True:
            stueck = quelle.read(16384)
            if not stueck:
                return
            ziel.write(stueck)
            ziel.flush()
            time.sleep(0.05)
    def do_GET(self):
        if not self.path.startswith(('/gross/', '/endlos/')):
            return super().do_GET()
        self.send_response(200)
        if self.path.startswith('/gross/'):
            self.send_header('Content-Length', self.path.rsplit('/', 1)[1])
        self.end_headers()
        try:
            self.wfile.write(b'x' * 65536)
            while self.path.startswith('/endlos/'):
                self.wfile.write(b'x' * 65536)
        except OSError:
            pass
        self.close_connection = True
s = http.server.ThreadingHTTPServer(('127.0.0.1', 0), H)
print(s.server_address[1], flush=True)
s.serve_forever()
)");
        f.close();
        prozess_.start("python3", {skript, wurzel});
        if (!prozess_.waitForReadyRead(10000))
            throw std::runtime_error("Der Testserver startet nicht.");
        port = QString::fromLatin1(prozess_.readLine()).trimmed().toInt();
    }
    ~Webserver()
    {
        prozess_.kill();
        prozess_.waitForFinished();
    }
    int port = 0;

private:
    QProcess prozess_;
};

// A port nothing listens on.
int FreierPort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost);
    return s.serverPort();
}

// Clicks "Weiter >" once the download is done.
void WeiterKlicken(MessageBoxScript& script)
{
    script.Window<TfrmProgUpdate>(
        [](TfrmProgUpdate& d) {
            EXPECT_EQ(d.Info()->text(), "Download ist abgeschlossen");
            QTest::mouseClick(d.Knopf(), Qt::LeftButton);
        },
        [](TfrmProgUpdate& d) { return d.Knopf()->text() == "Weiter >"; });
}

class ProgUpdatePruefungTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(web.isValid() && tmp.isValid() && daten.isValid());
        ASSERT_TRUE(QDir().mkpath(wurzel + "/support") && QDir().mkpath(wurzel + "/cgi-bin"));
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        server = std::make_unique<Webserver>(wurzel);
    }
    void TearDown() override
    {
        server.reset();
        EinstellungenFreigeben();
        DMFreigeben();
    }

    static void Schreiben(const QString& pfad, const QByteArray& inhalt)
    {
        QFile f(pfad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
    }
    QString Url() const { return QString("http://127.0.0.1:%1/").arg(server->port); }
    // The version file and the installer that cgi-bin/update.pl answers with.
    void Ausliefern(const QByteArray& version, const QByteArray& installer,
                    const QByteArray& genannt)
    {
        Schreiben(wurzel + "/support/aktzrnv3.txt", version + "\n" + genannt.toHex() + "\n");
        Schreiben(wurzel + "/cgi-bin/update.pl", installer);
    }
    static QByteArray Sha(const QByteArray& b)
    {
        return QCryptographicHash::hash(b, QCryptographicHash::Sha256);
    }
    // What is left in the temporary folder.
    QStringList Reste() const
    {
        return QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    QTemporaryDir web;
    QTemporaryDir tmp;
    QTemporaryDir daten;
    QString wurzel = web.path() + "/www";
    ScopedEnv tmpdir{"TMPDIR", tmp.path().toLocal8Bit()};
    ScopedEnv datenHome{"XDG_DATA_HOME", daten.path().toLocal8Bit()};
    std::unique_ptr<Webserver> server;
};

TEST_F(ProgUpdatePruefungTest, NewVersionIsDownloadedVerifiedAndKept)
{
    const QByteArray installer = "#!/bin/sh\nexit 0\n" + QByteArray(300000, 'x');
    Ausliefern("9000000", installer, Sha(installer));
    ScopedEnv a("BOVANTIS_UPDATE_URL", Url().toLatin1());
    MessageBoxScript script;
    script.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    WeiterKlicken(script);
    const QString pfad = ProgrammUpdate(false);
    ASSERT_EQ(script.Shown().size(), 2);
    EXPECT_EQ(script.Shown()[0].text, "Ihre Version:       " + GetProgrammVersion() +
                                          "\rAktuelle Version: 9.0.0\r\rSoll nun ein Update "
                                          "durchgeführt werden?");
    EXPECT_TRUE(script.Shown()[1].text.startsWith("Es wird nun ZR Bovantis beendet"));
    EXPECT_EQ(script.PendingWindows(), 0);
    ASSERT_FALSE(pfad.isEmpty());
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), installer);
    // Only this user may read, change or run it, in a folder only this user can enter.
    struct stat datei {
    }, ordner{};
    ASSERT_EQ(::stat(QFile::encodeName(pfad).constData(), &datei), 0);
    ASSERT_EQ(::stat(QFile::encodeName(QFileInfo(pfad).path()).constData(), &ordner), 0);
    EXPECT_EQ(datei.st_mode & 0777, 0700u);
    EXPECT_EQ(ordner.st_mode & 0777, 0700u);
    EXPECT_TRUE(QFileInfo(pfad).path().startsWith(tmp.path()));
    EXPECT_EQ(Einstellungen()->GetUpdateLastCheck().date(), QDate::currentDate());
}

TEST_F(ProgUpdatePruefungTest, SameVersionNeedsNoUpdateEvenWithLineEnds)
{
    for (const QByteArray& ende : {QByteArray(), QByteArray("\n"), QByteArray("\r\n\r\n")}) {
        Schreiben(wurzel + "/support/aktzrnv3.txt", GetProgrammVersionUpdate().toLatin1() + ende);
        ScopedEnv a("BOVANTIS_UPDATE_URL", Url().toLatin1());
        MessageBoxScript script;
        script.AnswerWith(Tools::mrOk);
        EXPECT_TRUE(ProgrammUpdate(false).isEmpty());
        ASSERT_EQ(script.Shown().size(), 1);
        EXPECT_EQ(script.Shown()[0].text,
                  "Sie haben die aktuellste Version installiert.\rEin "
                  "Update ist nicht erforderlich.");
        EXPECT_EQ(Einstellungen()->GetUpdateLastCheck().date(), QDate::currentDate());
    }
}

TEST_F(ProgUpdatePruefungTest, WrongChecksumIsToldAndNothingStays)
{
    const QByteArray installer = "#!/bin/sh\nrm -rf /\n";
    for (const QByteArray& genannt : {Sha("ein anderes Programm"), QByteArray()}) {
        Ausliefern("9000000", installer, genannt);
        ScopedEnv a("BOVANTIS_UPDATE_URL", Url().toLatin1());
        MessageBoxScript script;
        script.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
        WeiterKlicken(script);
        EXPECT_TRUE(ProgrammUpdate(false).isEmpty());
        ASSERT_EQ(script.Shown().size(), 2);
        EXPECT_EQ(script.Shown()[1].type, Tools::mtError);
        EXPECT_TRUE(script.Shown()[1].text.contains("Prüfsumme"))
            << script.Shown()[1].text.toStdString();
        // Without a named checksum nothing is even downloaded.
        EXPECT_EQ(script.PendingWindows() == 0, !genannt.isEmpty());
        script.DropPendingWindows();
        EXPECT_EQ(Reste(), QStringList());
    }
}

TEST_F(ProgUpdatePruefungTest, TransferErrorsAreShownAndTheCallerGoesOn)
{
    const struct {
        const char* fall;
        std::function<QString()> adresse;
        const char* meldung;
    } faelle[] = {
        {"server down", [] { return QString("http://127.0.0.1:%1/").arg(FreierPort()); },
         "nicht erreichbar:\rEr nimmt keine Verbindung an."},
        {"no version file", [this] { return Url() + "fehlt/"; }, "Fehler 404"},
        {"not https", [] { return QString("http://update.example.org/"); }, "keine https"},
        {"no server", [] { return QString(" "); }, "kein Update-Server"},
    };
    for (const auto& f : faelle) {
        ScopedEnv a("BOVANTIS_UPDATE_URL", f.adresse().toLatin1());
        MessageBoxScript script;
        script.AnswerWith(Tools::mrOk);
        QString pfad = "unverändert";
        EXPECT_NO_THROW(pfad = ProgrammUpdate(false)) << f.fall;
        EXPECT_TRUE(pfad.isEmpty()) << f.fall;
        ASSERT_EQ(script.Shown().size(), 1) << f.fall;
        EXPECT_EQ(script.Shown()[0].type, Tools::mtError) << f.fall;
        EXPECT_TRUE(script.Shown()[0].text.contains(f.meldung))
            << script.Shown()[0].text.toStdString();
    }
}

TEST_F(ProgUpdatePruefungTest, InstallerMissingOnTheServerEndsTheDownloadWithItsError)
{
    Schreiben(wurzel + "/support/aktzrnv3.txt", "9000000\n" + Sha("x").toHex());
    ScopedEnv a("BOVANTIS_UPDATE_URL", Url().toLatin1());
    MessageBoxScript script;
    script.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    EXPECT_TRUE(ProgrammUpdate(false).isEmpty());
    ASSERT_EQ(script.Shown().size(), 2);
    EXPECT_TRUE(script.Shown()[1].text.contains("Fehler 404"))
        << script.Shown()[1].text.toStdString();
    EXPECT_EQ(Reste(), QStringList());
}

TEST_F(ProgUpdatePruefungTest, CancelledDownloadLeavesNoPartialFile)
{
    QDir().rmdir(wurzel + "/cgi-bin");
    ASSERT_TRUE(QDir().mkpath(wurzel + "/langsam"));
    ASSERT_TRUE(QFile::link(wurzel + "/langsam", wurzel + "/cgi-bin"));
    const QByteArray installer(2 << 20, 'i');
    Ausliefern("9000000", installer, Sha(installer));
    ScopedEnv a("BOVANTIS_UPDATE_URL", Url().toLatin1());
    MessageBoxScript script;
    script.AnswerWith(Tools::mrYes);
    QStringList waehrenddessen;
    script.Window<TfrmProgUpdate>(
        [&](TfrmProgUpdate& d) {
            EXPECT_EQ(d.Info()->text(), "Verbunden");
            waehrenddessen = QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
            EXPECT_EQ(d.Knopf()->text(), "Abbrechen");
            QTest::mouseClick(d.Knopf(), Qt::LeftButton);
        },
        [](TfrmProgUpdate& d) { return d.Fortschrittsbalken()->value() >= 32; });
    EXPECT_TRUE(ProgrammUpdate(false).isEmpty());
    EXPECT_EQ(script.PendingWindows(), 0);
    EXPECT_EQ(script.Shown().size(), 1);
    EXPECT_EQ(waehrenddessen.size(), 1);  // the partial download was there
    EXPECT_EQ(Reste(), QStringList());
}

// A server that nearly stalls: the search runs off the GUI thread, its dialog cancels it at once,
// and without the user the time limit ends it with a German message.
TEST_F(ProgUpdatePruefungTest, ASlowServerCanBeCancelledAndIsGivenUpAfterTheTimeLimit)
{
    ASSERT_TRUE(QDir().mkpath(wurzel + "/haengt/support"));
    Schreiben(wurzel + "/haengt/support/aktzrnv3.txt", QByteArray(100, '3'));
    ScopedEnv a("BOVANTIS_UPDATE_URL", (Url() + "haengt/").toLatin1());
    {
        MessageBoxScript script;
        QElapsedTimer seitKlick;
        script.Window<TfrmHintergrundjob>([&](TfrmHintergrundjob& d) {
            EXPECT_EQ(d.windowTitle(), "Update suchen");
            EXPECT_EQ(d.Knopf()->text(), "Abbrechen");
            Bildschirmfoto(d, "update-suchen.png");
            QTest::mouseClick(d.Knopf(), Qt::LeftButton);
            seitKlick.start();
        });
        EXPECT_TRUE(ProgrammUpdate(false, nullptr, std::chrono::seconds(60)).isEmpty());
        ASSERT_TRUE(seitKlick.isValid());
        EXPECT_LT(seitKlick.elapsed(), 3000);
        EXPECT_TRUE(script.Shown().isEmpty()) << script.Shown()[0].text.toStdString();
    }
    {
        MessageBoxScript script;
        script.AnswerWith(Tools::mrOk);
        QElapsedTimer uhr;
        uhr.start();
        EXPECT_TRUE(ProgrammUpdate(false, nullptr, std::chrono::seconds(2)).isEmpty());
        EXPECT_GE(uhr.elapsed(), 1900);
        EXPECT_LT(uhr.elapsed(), 6000);
        ASSERT_EQ(script.Shown().size(), 1);
        EXPECT_EQ(script.Shown()[0].type, Tools::mtError);
        EXPECT_EQ(script.Shown()[0].text,
                  "Die Prüfung auf ein Update ist fehlgeschlagen.\r\rDer Update-Server hat nicht "
                  "innerhalb von 2 Sekunden geantwortet.\rBitte prüfen Sie die "
                  "Internet-Verbindung und versuchen Sie es später erneut.");
    }
}

// An answer too large for an installer or for the temporary folder is refused before it fills
// the disk, and one that grows beyond the limit is stopped; nothing of it stays.
TEST_F(ProgUpdatePruefungTest, OversizedInstallersAreRefusedAndLeaveNothing)
{
    const qint64 frei = QStorageInfo(tmp.path()).bytesAvailable();
    ASSERT_GT(frei, 0);
    const struct {
        const char* fall;
        QString pfad;
        qint64 hoechstens;
        const char* meldung;
    } faelle[] = {
        {"3 GB declared", "gross/3221225472", MaxInstaller,
         "Das Update ist mit 3072 MB größer als jedes Update von ZR Bovantis (höchstens 512 MB); "
         "es wird nicht geladen."},
        {"more than the free space", "gross/" + QString::number(frei + (qint64(1) << 30)),
         std::numeric_limits<qint64>::max(), "ist nicht genug Platz für das Update: es braucht "},
        {"growing without a size", "endlos/", qint64(1) << 20,
         "Das Update wird größer als jedes Update von ZR Bovantis (höchstens 1 MB); der Download "
         "wurde abgebrochen."},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.fall);
        QString pfad;
        {
            Installerdatei installer;
            pfad = installer.Pfad();
            try {
                installer.Laden(Url() + f.pfad, {}, f.hoechstens);
                ADD_FAILURE() << "geladen";
            } catch (const EUpdateFehler& e) {
                EXPECT_TRUE(e.Text().contains(f.meldung)) << e.Text().toStdString();
            }
            EXPECT_EQ(QFileInfo(pfad).size(), 0);
        }
        EXPECT_FALSE(QFileInfo::exists(pfad));
        EXPECT_EQ(Reste(), QStringList());
    }
}

// What killed updates left in the temporary folder goes at the next start: only this program's
// folders, of processes that have ended, that no running process works in.
TEST_F(ProgUpdatePruefungTest, LeftoversOfEndedUpdatesAreRemoved)
{
    QProcess beendet;
    beendet.start("true");
    ASSERT_TRUE(beendet.waitForStarted());
    const QString tot = QString::number(beendet.processId());
    ASSERT_TRUE(beendet.waitForFinished());
    const QString lebt = QString::number(QCoreApplication::applicationPid());
    const QStringList weg = {"zrnv-" + tot + "-a1B2c3", "bovantis-update-" + tot + "-Xy12z9"};
    const QStringList bleiben = {"zrnv-" + lebt + "-a1B2c3", "zrnv-" + tot + "-laeuft",
                                 "zrnv-fremd", "bovantis-sicherung-" + tot + "-a1B2c3"};
    for (const QString& name : weg + bleiben) {
        ASSERT_TRUE(QDir(tmp.path()).mkpath(name));
        Schreiben(tmp.filePath(name + "/zrnvAbCdEf"), "#!/bin/sh\n");
    }
    // An installer started at the last end, still running from its folder.
    QProcess installer;
    installer.setWorkingDirectory(tmp.filePath("zrnv-" + tot + "-laeuft"));
    installer.start("sleep", {"30"});
    ASSERT_TRUE(installer.waitForStarted());

    QStringList erwartet;
    for (const QString& name : weg)
        erwartet << QDir(tmp.path()).filePath(name);
    QStringList entfernt = ResteEntfernen();
    entfernt.sort();
    erwartet.sort();
    EXPECT_EQ(entfernt.join('|'), erwartet.join('|'));
    QStringList uebrig = Reste();
    QStringList sollUebrig = bleiben;
    uebrig.sort();
    sollUebrig.sort();
    EXPECT_EQ(uebrig.join('|'), sollUebrig.join('|'));
    installer.kill();
    installer.waitForFinished();
}

TEST_F(ProgUpdatePruefungTest, ForcedModeAsksNothingBeforeTheDownload)
{
    const QByteArray installer = "#!/bin/sh\n";
    Ausliefern(GetProgrammVersionUpdate().toLatin1(), installer, Sha(installer));
    ScopedEnv a("BOVANTIS_UPDATE_URL", Url().toLatin1());
    MessageBoxScript script;
    script.AnswerWith(Tools::mrOk);
    WeiterKlicken(script);
    const QString pfad = ProgrammUpdate(true);
    EXPECT_FALSE(pfad.isEmpty());
    ASSERT_EQ(script.Shown().size(), 1);
    EXPECT_TRUE(script.Shown()[0].text.startsWith("Es wird nun ZR Bovantis beendet"));
    QFile::remove(pfad);
}

TEST_F(ProgUpdatePruefungTest, StartQuestionOnlyWhenDueAndAServerIsSet)
{
    Schreiben(wurzel + "/support/aktzrnv3.txt", GetProgrammVersionUpdate().toLatin1());
    {
        // No server in this installation: no question, the check stays due.
        ScopedEnv a("BOVANTIS_UPDATE_URL", "");
        MessageBoxScript script;
        EXPECT_TRUE(UpdatePruefungBeimStart().isEmpty());
        EXPECT_TRUE(script.Shown().isEmpty());
        EXPECT_FALSE(Einstellungen()->GetUpdateLastCheck().isValid());
    }
    ScopedEnv a("BOVANTIS_UPDATE_URL", Url().toLatin1());
    {
        // Yes: the check runs.
        MessageBoxScript script;
        script.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
        EXPECT_TRUE(UpdatePruefungBeimStart().isEmpty());
        ASSERT_EQ(script.Shown().size(), 2);
        EXPECT_EQ(script.Shown()[0].checkCaption, "In Zukunft nicht mehr auf Updates prüfen");
        EXPECT_TRUE(script.Shown()[1].text.startsWith("Sie haben die aktuellste Version"));
        EXPECT_EQ(Einstellungen()->GetUpdateIntervall(), 1);
    }
    {
        // Checked today: not due.
        MessageBoxScript script;
        EXPECT_TRUE(UpdatePruefungBeimStart().isEmpty());
        EXPECT_TRUE(script.Shown().isEmpty());
    }
    {
        // No with the check box: the last check is today and there are no more questions.
        Einstellungen()->SetUpdateLastCheck(QDateTime(QDate(2020, 1, 1), QTime(12, 0)));
        MessageBoxScript script;
        script.Answer(MessageBoxScript::Click(Tools::mrNo),
                      [](QDialog& box) { box.findChild<QCheckBox*>()->setChecked(true); });
        EXPECT_TRUE(UpdatePruefungBeimStart().isEmpty());
        EXPECT_EQ(script.Shown().size(), 1);
        EXPECT_EQ(Einstellungen()->GetUpdateLastCheck().date(), QDate::currentDate());
        EXPECT_EQ(Einstellungen()->GetUpdateIntervall(), 0);
    }
}

// The whole start: a downloaded installer ends phase 2, and the end phase runs it.
TEST(ProgUpdateStartTest, ADownloadedInstallerEndsTheStartAndRunsAtTheEnd)
{
    QTemporaryDir tmp, web, installTmp;
    ScopedEnv runtimeDir{"XDG_RUNTIME_DIR", tmp.path().toLocal8Bit()};
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.path().toLocal8Bit()};
    ScopedEnv tmpdir{"TMPDIR", installTmp.path().toLocal8Bit()};
    ProgrammDatenbank datenbank{tmp.path()};
    const QString wurzel = web.path() + "/www";
    ASSERT_TRUE(QDir().mkpath(wurzel + "/support") && QDir().mkpath(wurzel + "/cgi-bin"));
    const QString spur = tmp.path() + "/installiert";
    const QByteArray installer = "#!/bin/sh\necho \"$@\" > '" + spur.toUtf8() + "'\n";
    {
        QFile v(wurzel + "/support/aktzrnv3.txt"), i(wurzel + "/cgi-bin/update.pl");
        ASSERT_TRUE(v.open(QIODevice::WriteOnly) && i.open(QIODevice::WriteOnly));
        v.write("9000000\n" +
                QCryptographicHash::hash(installer, QCryptographicHash::Sha256).toHex());
        i.write(installer);
    }
    Webserver server(wurzel);
    ScopedEnv adresse("BOVANTIS_UPDATE_URL",
                      QString("http://127.0.0.1:%1/").arg(server.port).toLatin1());

    TProgInit::Umgebung u = TProgInit::StandardUmgebung();
    u.argumente = {"-Hinweise"};
    u.benutzerName = [] { return QStringLiteral("tester"); };
    TProgInit prog(u);
    EinstellungenFreigeben();
    ASSERT_TRUE(prog.InitProgramm());
    ASSERT_TRUE(prog.HauptfensterErzeugen());
    MessageBoxScript script;
    script.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    WeiterKlicken(script);
    EXPECT_FALSE(prog.InitProgramm2());
    ASSERT_EQ(script.Shown().size(), 3);
    EXPECT_EQ(script.Shown()[0].checkCaption, "In Zukunft nicht mehr auf Updates prüfen");
    ASSERT_FALSE(prog.UpdateDatei().isEmpty());
    EXPECT_FALSE(QFile::exists(spur));
    prog.DeInitProgramm(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(spur); }, 5000));
    QFile f(spur);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("/SP- /SILENT /NOICONS /DIR="));
    // The data were saved before the installer ran.
    const QStringList sicherungen =
        QDir(tmp.filePath("Bovantis/sicherung")).entryList({"Update-*.zip"}, QDir::Files);
    ASSERT_EQ(sicherungen.size(), 1);
    EXPECT_TRUE(QRegularExpression("^Update-\\d\\d\\.\\d\\d\\.\\d{4}-\\d\\d-\\d\\d-\\d\\d\\.zip$")
                    .match(sicherungen[0])
                    .hasMatch())
        << sicherungen[0].toStdString();
}

}  // namespace
