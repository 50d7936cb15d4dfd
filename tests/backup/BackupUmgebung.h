#pragma once

#include <ProgrammDatenbank.h>
#include <ScopedEnv.h>

#include <Database.h>
#include <Query.h>
#include <Transaction.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A user's world for the backup program: the data folder with a fresh herd database (where the
// program's settings find it), runtime, configuration and home folders of their own.
class BackupUmgebung : public ::testing::Test {
protected:
    // The number of animals in the database.
    int Tiere() const
    {
        db::Database d;
        d.Open(TestDatabase::Params(datenbank.pfad));
        db::Transaction tr(d);
        tr.Start();
        db::Query q(tr, "SELECT COUNT(*) FROM T_STAMMDATEN");
        q.Open();
        return q.Field(0).AsInteger();
    }
    void TierAnlegen(int id) const
    {
        db::Database d;
        d.Open(TestDatabase::Params(datenbank.pfad));
        db::Transaction tr(d);
        tr.Start();
        db::Query(tr, QString("INSERT INTO T_STAMMDATEN (ID, NUMMER, GEBDAT, GESCHLECHT, RASSE) "
                              "VALUES (%1, 'DE 01 000 %2', DATE '2020-01-01', 'W', 1)")
                          .arg(id)
                          .arg(id, 5, 10, QChar('0')))
            .Execute();
        tr.Commit();
    }
    // The archive's members, comment and whether its database member holds data, read by
    // Python's zipfile.
    QStringList ArchivLesen(const QString& archiv) const
    {
        QProcess python;
        python.start("python3", {"-c",
                                 "import zipfile,sys\n"
                                 "z=zipfile.ZipFile(sys.argv[1])\n"
                                 "print(','.join(sorted(z.namelist())))\n"
                                 "print(z.comment.decode('latin-1'))\n"
                                 "print(z.testzip() is None and len(z.read('bovantis.gbk')) > 0)\n"
                                 "print(sys.argv[2] in z.read('Bovantis.ini').decode('utf-8'))",
                                 archiv, datenbank.pfad});
        python.waitForFinished(60000);
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        return QString::fromUtf8(python.readAllStandardOutput()).split('\n');
    }

    QTemporaryDir tmp;
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.path().toLocal8Bit()};
    ScopedEnv configHome{"XDG_CONFIG_HOME", tmp.filePath("config").toLocal8Bit()};
    ScopedEnv runtimeDir{"XDG_RUNTIME_DIR", tmp.filePath("run").toLocal8Bit()};
    ScopedEnv home{"HOME", tmp.path().toLocal8Bit()};
    bool ordner = QDir().mkpath(tmp.filePath("run"));
    ProgrammDatenbank datenbank{tmp.path()};
};
