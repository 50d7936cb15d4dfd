#include "ProgrammDatenbank.h"

#include <BackupRestore.h>
#include <ProgInit.h>

#include <MessageBoxScript.h>
#include <ScopedEnv.h>

#include <Query.h>
#include <Transaction.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const char* const Auftrag = "BOVANTIS_RUECKSICHERUNG_KIND";

// The restore a child process runs until the test kills it: database and archive from the
// environment.
TEST(SicherungsResteStartTest, KindprozessRuecksicherung)
{
    const QStringList auftrag = qEnvironmentVariable(Auftrag).split(QLatin1Char('\n'));
    if (auftrag.size() != 2)
        GTEST_SKIP() << "nur als Kindprozess des Tests unten";
    TBackupRestore r;
    r.SetDatenbank(auftrag[0]);
    r.Archiv = auftrag[1];
    r.Ruecksichern(false);
}

// A restore killed while it extracts the backup leaves the extracted part in its temporary folder;
// the next start removes it, and the database is still the one it was.
TEST(SicherungsResteStartTest, StartAfterAKilledRestoreRemovesItsLeftovers)
{
    QTemporaryDir runtime;
    ScopedEnv runtimeDir{"XDG_RUNTIME_DIR", runtime.path().toLocal8Bit()};
    ScopedEnv dataHome{"XDG_DATA_HOME", runtime.path().toLocal8Bit()};
    const QString temp = runtime.filePath("tmp");
    ASSERT_TRUE(QDir().mkpath(temp));
    ScopedEnv tmpdir{"TMPDIR", temp.toLocal8Bit()};
    ProgrammDatenbank datenbank{runtime.path()};
    {
        db::Database d;
        d.Open(TestDatabase::Params(datenbank.pfad));
        db::Transaction tr(d);
        tr.Start();
        db::Query(tr,
                  "INSERT INTO T_STAMMDATEN (ID, NUMMER, GEBDAT, GESCHLECHT, RASSE) VALUES "
                  "(1, 'DE 01 000 00001', DATE '2020-01-01', 'W', 1)")
            .Execute();
        tr.Commit();
    }
    // A database member that takes a while to extract.
    const QString archiv = runtime.filePath("sicherung.zip");
    ASSERT_EQ(QProcess::execute(
                  "python3", {"-c",
                              "import zipfile,sys\n"
                              "with zipfile.ZipFile(sys.argv[1],'w',zipfile.ZIP_DEFLATED) as z:\n"
                              "  with z.open('bovantis.gbk','w') as g:\n"
                              "    for i in range(768): g.write(bytes(1<<20))",
                              archiv}),
              0);

    QProcess kind;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(Auftrag, datenbank.pfad + "\n" + archiv);
    kind.setProcessEnvironment(env);
    kind.start(QCoreApplication::applicationFilePath(),
               {"--gtest_filter=SicherungsResteStartTest.KindprozessRuecksicherung"});
    ASSERT_TRUE(kind.waitForStarted());
    QElapsedTimer uhr;
    uhr.start();
    bool gefunden = false;
    while (!gefunden && kind.state() != QProcess::NotRunning && uhr.elapsed() < 60000) {
        gefunden = !QDir(temp).entryList({"bovantis-sicherung-*"}, QDir::Dirs).isEmpty();
        if (!gefunden)
            kind.waitForFinished(5);
    }
    ASSERT_TRUE(gefunden) << "the restore ended before its temporary folder was seen";
    kind.kill();
    ASSERT_TRUE(kind.waitForFinished());
    ASSERT_FALSE(QDir(temp).entryList({"bovantis-sicherung-*"}, QDir::Dirs).isEmpty());

    {
        // The start up to the database check.
        TProgInit::Umgebung u = TProgInit::StandardUmgebung();
        u.argumente = {"-DBUPDATE"};
        u.benutzerName = [] { return QStringLiteral("tester"); };
        MessageBoxScript boxen;
        TProgInit prog(u);
        prog.InitProgramm();
        EXPECT_TRUE(boxen.Shown().isEmpty());
    }
    EXPECT_EQ(QDir(temp).entryList({"bovantis-sicherung-*"}, QDir::Dirs), QStringList());
    // The database is the one it was, with its data.
    db::Database d;
    d.Open(TestDatabase::Params(datenbank.pfad));
    db::Transaction tr(d);
    tr.Start();
    db::Query q(tr, "SELECT COUNT(*) FROM T_STAMMDATEN WHERE NUMMER = 'DE 01 000 00001'");
    q.Open();
    EXPECT_EQ(q.Field(0).AsInteger(), 1);
}

}  // namespace
