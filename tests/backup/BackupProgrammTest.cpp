// The program itself, started as the conduit and the desktop starters start it.
#include "BackupUmgebung.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

class BackupProgrammTest : public BackupUmgebung {
protected:
    struct Lauf {
        int exitCode = -1;
        QString fehler;
    };
    // Runs the program to its end, with the test's folders in its environment.
    Lauf Starten(const QStringList& argumente)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationDirPath() + "/ZRNVBackup", argumente);
        EXPECT_TRUE(p.waitForStarted());
        if (!p.waitForFinished(180000)) {
            ADD_FAILURE() << "the program did not end: " << argumente.join(' ').toStdString();
            p.kill();
            p.waitForFinished();
        }
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError())};
    }
    const QString programm = QCoreApplication::applicationDirPath() + "/";
};

TEST_F(BackupProgrammTest, AutomaticBackupWritesTheArchiveAndEndsWithZero)
{
    TierAnlegen(1);
    const QString archiv = tmp.filePath("sicherung/vor hotsync.zip");
    const Lauf lauf = Starten({"-b", "-f", "-a", "s", "-v", programm, "-d", archiv});
    EXPECT_EQ(lauf.exitCode, 0) << lauf.fehler.toStdString();
    const QStringList gelesen = ArchivLesen(archiv);
    ASSERT_GE(gelesen.size(), 4);
    EXPECT_EQ(gelesen[0], "Bovantis.ini,bovantis.gbk");
    EXPECT_TRUE(gelesen[1].startsWith("ZR Bovantis Sicherung, Erstellt: "))
        << gelesen[1].toStdString();
    EXPECT_EQ(gelesen[2], "True");
    // The settings of the data folder went with it: they name this database.
    EXPECT_EQ(gelesen[3], "True");
}

// A failed automatic backup closes the program too, with its reason on the error output and a
// code the caller can check.
TEST_F(BackupProgrammTest, FailedAutomaticBackupEndsWithNonZero)
{
    QFile hindernis(tmp.filePath("keinordner"));
    ASSERT_TRUE(hindernis.open(QIODevice::WriteOnly));
    hindernis.close();
    struct Fall {
        const char* name;
        QStringList argumente;
        QString grund;
    };
    const std::vector<Fall> faelle = {
        {"archive folder that cannot be made",
         {"-b", "-f", "-a", "s", "-v", programm, "-d", tmp.filePath("keinordner/a.zip")},
         "Es ist ein Fehler beim Backup aufgetreten."},
        {"missing program folder",
         {"-B", "-F", "-v", tmp.filePath("gibt-es-nicht"), "-d", tmp.filePath("b.zip")},
         "Das Programmverzeichnis"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        const Lauf lauf = Starten(f.argumente);
        EXPECT_EQ(lauf.exitCode, 1);
        EXPECT_TRUE(lauf.fehler.contains(f.grund)) << lauf.fehler.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath("b.zip")));
    EXPECT_TRUE(QDir(tmp.path()).entryList({"*.zip"}, QDir::Files).isEmpty());
}

}  // namespace
