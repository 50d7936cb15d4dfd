#include <Database.h>
#include <Query.h>
#include <ScriptRunner.h>
#include <Services.h>
#include <Transaction.h>

#include <EngineRoot.h>
#include <Error.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <csignal>
#include <cstdio>
#include <memory>

#include <unistd.h>

namespace {

// What an ordinary user does on a first start: create the herd file, write, close, open, read.
void AnlegenUndOeffnen(const QString& ordner)
{
    const db::ConnectParams params{ordner + QStringLiteral("/herde.fdb"), {}, {}, {}};
    {
        db::Database d;
        d.Create(params);
        db::ScriptRunner(d).Run(QStringLiteral("CREATE TABLE T_X (ID INTEGER);"));
        db::Transaction tr(d);
        tr.Start();
        db::Query(tr, QStringLiteral("INSERT INTO T_X VALUES (7)")).Execute();
        tr.Commit();
    }
    db::Database d;
    d.Open(params);
    db::Transaction tr(d);
    tr.Start();
    db::Query q(tr, QStringLiteral("SELECT ID FROM T_X"));
    q.Open();
    EXPECT_EQ(q.Field(0).AsInteger(), 7);
}

// Runs this test program again as another user, with the engine's environment of its own.
std::unique_ptr<QProcess> AlsBenutzer(uid_t uid, gid_t gid, const QString& ordner,
                                      const QString& filter, const QString& auftrag = {})
{
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BOVANTIS_TEST_ORDNER"), ordner);
    if (!auftrag.isEmpty())
        env.insert(QStringLiteral("BOVANTIS_TEST_SCHREIBER"), auftrag);
    env.insert(QStringLiteral("HOME"), ordner);
    env.insert(QStringLiteral("TMPDIR"), ordner);
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.remove(QStringLiteral("FIREBIRD"));
    env.remove(QStringLiteral("FIREBIRD_LOCK"));
    p->setProcessEnvironment(env);
    p->setWorkingDirectory(ordner);
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->start(QStringLiteral("setpriv"),
             {QStringLiteral("--reuid=%1").arg(uid), QStringLiteral("--regid=%1").arg(gid),
              QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(),
              QStringLiteral("--gtest_filter=") + filter});
    return p;
}

QByteArray WartenAuf(QProcess& p, const QList<QByteArray>& zeichen)
{
    QByteArray ausgabe;
    const auto gefunden = [&] {
        for (const QByteArray& z : zeichen)
            if (ausgabe.contains(z))
                return true;
        return false;
    };
    while (!gefunden() && (p.waitForReadyRead(60000) || p.bytesAvailable() > 0))
        ausgabe += p.readAll();
    return ausgabe;
}

// What one user does in the two-user test: opens the herd file, waits for the other, stores
// animals one commit each.
void Schreiben(const QString& auftrag)
{
    const QStringList teile = auftrag.split(QLatin1Char('|'));
    db::Database d;
    try {
        d.Open({teile[0], {}, {}, {}});
    } catch (const db::Error& e) {
        std::printf("abgewiesen %ld\n%s\n--ende--\n", e.EngineCode(),
                    e.Message().toUtf8().constData());
        std::fflush(stdout);
        return;
    }
    std::puts("offen");
    std::fflush(stdout);
    char zeile[16];
    ASSERT_NE(std::fgets(zeile, sizeof zeile, stdin), nullptr);
    for (int i = 0; i < teile[2].toInt(); ++i) {
        db::Transaction tr(d);
        tr.Start();
        db::Query q(tr, QStringLiteral("INSERT INTO T_TIER (WER, NR, NAME) VALUES (:W, :N, :M)"));
        q.Param(QStringLiteral("W")).SetString(teile[1]);
        q.Param(QStringLiteral("N")).SetInteger(i);
        q.Param(QStringLiteral("M"))
            .SetString(QStringLiteral("Kuh %1 von %2").arg(i).arg(teile[1]));
        q.Execute();
        tr.Commit();
    }
    std::puts("fertig");
    std::fflush(stdout);
}

// The herd file of the two-user tests, in a folder every user may write.
QString HerdeAnlegen(const QTemporaryDir& dir)
{
    EXPECT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
    const QString pfad = dir.filePath(QStringLiteral("herde.fdb"));
    db::Database d;
    d.Create({pfad, {}, {}, {}});
    db::ScriptRunner(d).Run(
        QStringLiteral("CREATE TABLE T_TIER (WER VARCHAR(10) NOT NULL, NR INTEGER NOT NULL, "
                       "NAME VARCHAR(60), PRIMARY KEY (WER, NR));\n"
                       "CREATE INDEX IX_TIER_NAME ON T_TIER (NAME);\n"
                       "GRANT ALL ON T_TIER TO PUBLIC;\n"));
    d.Close();
    EXPECT_TRUE(QFile::setPermissions(pfad, QFileDevice::Permissions(0x6666)));
    return pfad;
}

const QString Schreiber =
    QStringLiteral("EngineRootTest.TwoUsersOnOneFileShareItOrTheSecondIsRefused");

}  // namespace

// The distribution's lock folder is open to its server's group only; an ordinary user of the
// program must still be able to use the embedded engine. Run as root, the test runs itself again
// as the user "nobody".
TEST(EngineRootTest, AnOrdinaryUserCreatesAndOpensADatabase)
{
    const QByteArray ordner = qgetenv("BOVANTIS_TEST_ORDNER");
    if (::getuid() != 0) {
        QTemporaryDir eigener;
        AnlegenUndOeffnen(ordner.isEmpty() ? eigener.path() : QString::fromLocal8Bit(ordner));
        return;
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ExeOwner | QFile::ReadOther |
                                                      QFile::WriteOther | QFile::ExeOther));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BOVANTIS_TEST_ORDNER"), dir.path());
    env.insert(QStringLiteral("HOME"), dir.path());
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.remove(QStringLiteral("FIREBIRD"));
    env.remove(QStringLiteral("FIREBIRD_LOCK"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir.path());
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(
        QStringLiteral("setpriv"),
        {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
         QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(),
         QStringLiteral("--gtest_filter=EngineRootTest.AnOrdinaryUserCreatesAndOpensADatabase")});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString ausgabe = QString::fromLocal8Bit(p.readAll());
    EXPECT_EQ(p.exitCode(), 0) << ausgabe.toStdString();
    EXPECT_TRUE(ausgabe.contains(QStringLiteral("[  PASSED  ] 1 test"))) << ausgabe.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("herde.fdb"))));
}

// A program without an end phase of its own (a test program, a tool) must still end on SIGTERM
// once the engine has taken the signal over, and not wait on with a shut-down engine.
TEST(EngineRootTest, AProgramWithoutEndPhaseEndsOnTermAfterTheEngineStarted)
{
    if (qEnvironmentVariableIsSet("BOVANTIS_TEST_WARTEN")) {
        QTemporaryDir dir;
        db::Database d;
        d.Create({dir.path() + QStringLiteral("/warten.fdb"), {}, {}, {}});
        std::fputs("bereit\n", stdout);
        std::fflush(stdout);
        QThread::sleep(60);
        return;
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BOVANTIS_TEST_WARTEN"), QStringLiteral("1"));
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--gtest_filter=EngineRootTest.AProgramWithoutEndPhaseEndsOnTermAfter"
                            "TheEngineStarted")});
    ASSERT_TRUE(p.waitForStarted());
    QByteArray ausgabe;
    while (!ausgabe.contains("bereit") && p.waitForReadyRead(30000))
        ausgabe += p.readAllStandardOutput();
    ASSERT_TRUE(ausgabe.contains("bereit")) << ausgabe.toStdString();
    ASSERT_EQ(::kill(pid_t(p.processId()), SIGTERM), 0);
    const bool beendet = p.waitForFinished(10000);
    if (!beendet) {
        p.kill();
        p.waitForFinished();
    }
    EXPECT_TRUE(beendet);
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 128 + SIGTERM);
}

// Two users store animals in one herd file at the same time. Their engines coordinate through one
// lock folder when they share a group; otherwise the second is refused and names the first. Never
// do both write without knowing of each other (which lost rows and broke index pages).
TEST(EngineRootTest, TwoUsersOnOneFileShareItOrTheSecondIsRefused)
{
    if (const QByteArray auftrag = qgetenv("BOVANTIS_TEST_SCHREIBER"); !auftrag.isEmpty()) {
        Schreiben(QString::fromUtf8(auftrag));
        return;
    }
    if (::getuid() != 0)
        GTEST_SKIP() << "Zwei Benutzer brauchen root.";
    struct Fall {
        const char* titel;
        gid_t gruppeDesZweiten;
        bool geteilt;
    };
    const Fall faelle[] = {
        {"one group: both store every animal", 65534, true},
        {"two groups: the second is refused and names the first", 65533, false},
    };
    constexpr int Anzahl = 400;
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.titel);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString pfad = HerdeAnlegen(dir);
        auto erster = AlsBenutzer(65534, 65534, dir.path(), Schreiber,
                                  QStringLiteral("%1|erster|%2").arg(pfad).arg(Anzahl));
        const QByteArray ersterOffen = WartenAuf(*erster, {"offen", "abgewiesen"});
        ASSERT_TRUE(ersterOffen.contains("offen")) << ersterOffen.toStdString();
        auto zweiter = AlsBenutzer(65533, f.gruppeDesZweiten, dir.path(), Schreiber,
                                   QStringLiteral("%1|zweiter|%2").arg(pfad).arg(Anzahl));
        const QByteArray zweiterOffen = WartenAuf(*zweiter, {"offen", "--ende--"});
        const bool abgewiesen = zweiterOffen.contains("abgewiesen");

        // Both at once: each write leaves at once, not when its process is waited for.
        for (QProcess* p : {erster.get(), zweiter.get()}) {
            if (p == zweiter.get() && abgewiesen)
                continue;
            p->write("los\n");
            ASSERT_TRUE(p->waitForBytesWritten(10000));
        }
        for (const auto& [p, bisher] :
             {std::pair{erster.get(), ersterOffen}, std::pair{zweiter.get(), zweiterOffen}}) {
            EXPECT_TRUE(p->waitForFinished(120000));
            const QString ausgabe = QString::fromUtf8(bisher + p->readAll());
            EXPECT_EQ(p->exitCode(), 0) << ausgabe.toStdString();
            EXPECT_TRUE(ausgabe.contains(QStringLiteral("[  PASSED  ] 1 test")))
                << ausgabe.toStdString();
        }

        if (f.geteilt) {
            EXPECT_FALSE(abgewiesen) << zweiterOffen.toStdString();
        } else {
            ASSERT_TRUE(abgewiesen) << zweiterOffen.toStdString();
            const QString meldung = QString::fromUtf8(zweiterOffen);
            EXPECT_TRUE(meldung.contains(QStringLiteral("abgewiesen 335545107")))
                << meldung.toStdString();
            EXPECT_TRUE(meldung.contains(
                QStringLiteral("Die Datenbank \"%1\" ist bereits vom Benutzer \"nobody\" geöffnet.")
                    .arg(pfad)))
                << meldung.toStdString();
        }

        db::Database d;
        d.Open({pfad, {}, {}, {}});
        db::Transaction tr(d);
        tr.Start();
        db::Query q(tr, QStringLiteral("SELECT WER, COUNT(*), COUNT(DISTINCT NR) FROM T_TIER "
                                       "GROUP BY WER ORDER BY WER"));
        q.Open();
        ASSERT_FALSE(q.Eof());
        EXPECT_EQ(q.Field(0).AsString(), QStringLiteral("erster"));
        EXPECT_EQ(q.Field(1).AsInteger(), Anzahl);
        EXPECT_EQ(q.Field(2).AsInteger(), Anzahl);
        q.Next();
        if (abgewiesen) {
            EXPECT_TRUE(q.Eof());
        } else {
            ASSERT_FALSE(q.Eof());
            EXPECT_EQ(q.Field(0).AsString(), QStringLiteral("zweiter"));
            EXPECT_EQ(q.Field(1).AsInteger(), Anzahl);
            EXPECT_EQ(q.Field(2).AsInteger(), Anzahl);
        }
        q.Close();
        tr.Commit();
        d.Close();

        // The engine's own validation of every page and index.
        QProcess gfix;
        gfix.setProcessChannelMode(QProcess::MergedChannels);
        gfix.start(QStringLiteral("gfix"), {QStringLiteral("-v"), QStringLiteral("-full"), pfad});
        ASSERT_TRUE(gfix.waitForFinished(120000));
        const QString pruefung = QString::fromLocal8Bit(gfix.readAll());
        EXPECT_EQ(gfix.exitCode(), 0) << pruefung.toStdString();
        EXPECT_TRUE(pruefung.trimmed().isEmpty()) << pruefung.toStdString();
    }
}

// A killed program leaves its entry in the register of attached files unlocked: the file is
// refused to another group while the program runs and opens again once it was killed.
TEST(EngineRootTest, AKilledUsersEntryNoLongerBlocksTheFile)
{
    if (::getuid() != 0)
        GTEST_SKIP() << "Zwei Benutzer brauchen root.";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pfad = HerdeAnlegen(dir);
    auto erster =
        AlsBenutzer(65534, 65534, dir.path(), Schreiber, QStringLiteral("%1|erster|1").arg(pfad));
    const QByteArray offen = WartenAuf(*erster, {"offen", "abgewiesen"});
    ASSERT_TRUE(offen.contains("offen")) << offen.toStdString();

    db::Database d;
    try {
        d.Open({pfad, {}, {}, {}});
        ADD_FAILURE() << "geöffnet, während ein Benutzer einer anderen Gruppe die Datei hat";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.EngineCode(), 335545107);
        EXPECT_TRUE(e.Message().contains(QStringLiteral("bereits vom Benutzer \"nobody\"")))
            << e.Message().toStdString();
    }
    // The engine's services would work on the file without the other engine's locks as well.
    const QString sicherung = dir.filePath(QStringLiteral("herde.fbk"));
    for (const auto& dienst : std::vector<std::function<void()>>{
             [&] { db::Services::Backup({}, pfad, sicherung); },
             [&] { db::Services::Restore({}, sicherung, pfad, true); }}) {
        try {
            dienst();
            ADD_FAILURE() << "Dienst lief, während ein Benutzer einer anderen Gruppe die Datei hat";
        } catch (const db::Error& e) {
            EXPECT_EQ(e.EngineCode(), 335545107) << e.Message().toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(sicherung));

    ASSERT_EQ(::kill(pid_t(erster->processId()), SIGKILL), 0);
    ASSERT_TRUE(erster->waitForFinished(10000));
    EXPECT_NO_THROW(d.Open({pfad, {}, {}, {}}));
    EXPECT_TRUE(d.Connected());
}
