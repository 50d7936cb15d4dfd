// The program as a user starts it, ended by a signal (kill, Ctrl+C, a logout): it must run its
// normal end phase and leave a consistent database, never hang or lose its lock.
#include <ProgrammDatenbank.h>

#include <Database.h>
#include <EngineRoot.h>
#include <Query.h>
#include <Transaction.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

class ProgrammEndeTest : public ::testing::Test {
protected:
    QTemporaryDir runtime;

    // The trace's last line before the message loop: the start's own work is done.
    bool ImLauf() const
    {
        QFile protokoll(runtime.filePath("debug.txt"));
        return protokoll.open(QIODevice::ReadOnly) &&
               protokoll.readAll().contains("Programm starten...");
    }

    void Starten(QProcess& p)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("USERNAME", "ende");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("XDG_DATA_HOME", runtime.path());
        env.insert("BOVANTIS_PROTOKOLL_ORDNER", runtime.path());
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QCoreApplication::applicationDirPath() + "/ZR_Bovantis", {"-DEBUG"});
        ASSERT_TRUE(p.waitForStarted());
    }

    // Sends the signal and waits at most a few seconds for the program's own end.
    static void Beenden(QProcess& p, int signal)
    {
        ASSERT_EQ(::kill(pid_t(p.processId()), signal), 0);
        const bool beendet = p.waitForFinished(10000);
        if (!beendet) {
            p.kill();
            p.waitForFinished();
        }
        EXPECT_TRUE(beendet) << "hängt nach Signal " << signal;
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << p.readAll().toStdString();
        EXPECT_EQ(p.exitCode(), 0) << p.readAll().toStdString();
    }

    // The attachments on the file other than the one asking; with a user, only that user's.
    static int AndereVerbindungen(db::Database& d, const QString& benutzer = {})
    {
        db::Transaction tr(d);
        tr.Start();
        db::Query q(tr,
                    "SELECT COUNT(*) FROM MON$ATTACHMENTS "
                    "WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION AND MON$SYSTEM_FLAG = 0" +
                        (benutzer.isEmpty() ? QString() : " AND MON$USER = '" + benutzer + "'"));
        q.Open();
        return q.Field(0).AsInteger();
    }
};

}  // namespace

TEST_F(ProgrammEndeTest, TermAndIntEndTheRunningProgramThroughItsEndPhase)
{
    ProgrammDatenbank datenbank(runtime.path());
    const db::ConnectParams params{datenbank.pfad, {}, {}, {}};
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        QProcess programm;
        Starten(programm);
        {
            db::Database d;
            d.Open(params);
            // The program's own connection, after the database check's administrator one.
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return AndereVerbindungen(d, "BOVANTIS") > 0; }, 30000));
            ASSERT_EQ(AndereVerbindungen(d), 1) << programm.readAll().toStdString();
            // Past the start's own work (the data initialisation) into the running program.
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return ImLauf() || programm.state() != QProcess::Running; }, 30000));
            ASSERT_EQ(programm.state(), QProcess::Running) << programm.readAll().toStdString();
        }
        Beenden(programm, signal);

        // The program detached; the file reads and validates.
        db::Database d;
        d.Open(params);
        EXPECT_EQ(AndereVerbindungen(d), 0);
        d.Close();
        QProcess gfix;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("FIREBIRD", db::PrepareEngineRoot());
        gfix.setProcessEnvironment(env);
        gfix.setProcessChannelMode(QProcess::MergedChannels);
        gfix.start("gfix", {"-v", "-full", "-user", "SYSDBA", datenbank.pfad});
        ASSERT_TRUE(gfix.waitForFinished(60000));
        const QString bericht = QString::fromLocal8Bit(gfix.readAll());
        EXPECT_EQ(gfix.exitCode(), 0) << bericht.toStdString();
        EXPECT_TRUE(bericht.trimmed().isEmpty()) << bericht.toStdString();
    }
}

// Waiting for a database server that does not come: the signal ends the wait at once.
TEST_F(ProgrammEndeTest, TermEndsTheWaitForTheServer)
{
    ASSERT_TRUE(QDir().mkpath(runtime.filePath("Bovantis")));
    QFile ini(runtime.filePath("Bovantis/Bovantis.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    // No server runs here: the connection fails at once and the wait dialog comes up.
    ini.write("[Datenbank]\nName=127.0.0.1:/daten/herde.fdb\n");
    ini.close();
    QProcess programm;
    Starten(programm);
    QThread::msleep(3000);
    ASSERT_EQ(programm.state(), QProcess::Running) << programm.readAll().toStdString();
    Beenden(programm, SIGTERM);
}

// Reports to the national database are waiting: the end question is not asked when nobody can
// answer it; the program ends in time and the reports stay for the next start.
TEST_F(ProgrammEndeTest, TermWithPendingReportsEndsWithoutAskingAndKeepsThem)
{
    ProgrammDatenbank datenbank(runtime.path());
    const db::ConnectParams params{datenbank.pfad, {}, {}, {}};
    const auto offeneMeldungen = [&] {
        db::Database d;
        d.Open(params);
        db::Transaction tr(d);
        tr.Start();
        db::Query q(tr, "SELECT COUNT(*) FROM T_HITMELDUNGEN");
        q.Open();
        return q.Field(0).AsInteger();
    };
    {
        db::Database d;
        d.Open(params);
        db::Transaction tr(d);
        tr.Start();
        db::Query(tr, "INSERT INTO T_HITMELDUNGEN (ID, MELDUNG, DATUM) VALUES (1, 1, CURRENT_DATE)")
            .Execute();
        db::Query(tr, "INSERT INTO T_HITMELDUNGEN (ID, MELDUNG, DATUM) VALUES (2, 2, CURRENT_DATE)")
            .Execute();
        tr.Commit();
    }
    QProcess programm;
    Starten(programm);
    QTRY_VERIFY_WITH_TIMEOUT(ImLauf() || programm.state() != QProcess::Running, 30000);
    ASSERT_EQ(programm.state(), QProcess::Running) << programm.readAll().toStdString();
    QElapsedTimer uhr;
    uhr.start();
    Beenden(programm, SIGTERM);
    EXPECT_LT(uhr.elapsed(), 10000);
    EXPECT_EQ(offeneMeldungen(), 2);
    QFile protokoll(runtime.filePath("debug.txt"));
    ASSERT_TRUE(protokoll.open(QIODevice::ReadOnly));
    EXPECT_TRUE(protokoll.readAll().contains("2 HIT-Meldungen bleiben vorbereitet"));
}
