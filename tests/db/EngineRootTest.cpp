#include <Database.h>
#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

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
    p.start(QStringLiteral("setpriv"),
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
