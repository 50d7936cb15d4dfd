#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <ProgInit.h>
#include <TerminListe.h>
#include <ZRcxGridDBTableView.h>

#include <Query.h>

#include <MessageBoxScript.h>
#include <ScopedEnv.h>

#include <ProgrammDatenbank.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ProgInitDatenbankTest : public ::testing::Test {
protected:
    TProgInit::Umgebung Umgebung()
    {
        TProgInit::Umgebung u = TProgInit::StandardUmgebung();
        u.argumente = {"-Hinweise"};
        u.benutzerName = [] { return QStringLiteral("tester"); };
        u.jetzt = [] { return QDateTime(QDate(2026, 12, 10), QTime(9, 0)); };
        u.einrichtungStarten = [this] {
            ++einrichtungStarts;
            return false;
        };
        return u;
    }

    int einrichtungStarts = 0;

    QTemporaryDir tmp;
    ScopedEnv runtimeDir{"XDG_RUNTIME_DIR", tmp.path().toLocal8Bit()};
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.path().toLocal8Bit()};
};

}  // namespace

TEST_F(ProgInitDatenbankTest, UnusableDatabaseShowsTheFailureAndTriesTheSetupWizard)
{
    // A file that is no database (a missing one is made from the create scripts).
    const QString datei = tmp.filePath("Bovantis/kaputt.fdb");
    QDir().mkpath(tmp.filePath("Bovantis"));
    QFile kaputt(datei);
    ASSERT_TRUE(kaputt.open(QIODevice::WriteOnly));
    kaputt.write(QByteArray(4096, 'x'));
    kaputt.close();
    QFile ini(tmp.filePath("Bovantis/Bovantis.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Datenbank]\nName=" + datei.toUtf8() + "\n");
    ini.close();

    // The database check before anything else connects finds it unusable.
    TProgInit prog(Umgebung());
    MessageBoxScript script;
    script.AnswerWith(Tools::mrOk).AnswerWith(Tools::mrOk);
    EXPECT_FALSE(prog.InitProgramm());
    EXPECT_EQ(prog.Abschnitt(), "Grundeinstellungen");
    ASSERT_EQ(script.Shown().size(), 2);
    EXPECT_TRUE(script.Shown()[0].text.startsWith("Zur Datenbank\r>> " + datei +
                                                  " <<\rkonnte nicht verbunden werden."))
        << script.Shown()[0].text.toStdString();
    // The wizard's start was tried, and its failure reported.
    EXPECT_EQ(einrichtungStarts, 1);
    EXPECT_TRUE(script.Shown()[1].text.startsWith(
        "Der Einrichtungsassistent \"ZRNVEinrichtung\" konnte nicht gestartet werden."));
    ASSERT_NE(DM(), nullptr);
    EXPECT_FALSE(DM()->Verbunden());
    prog.DeInitProgramm(false);
    EXPECT_EQ(DM(), nullptr);
}

TEST_F(ProgInitDatenbankTest, TheStartConnectsInitialisesTheDataAndTheEndDisconnects)
{
    ProgrammDatenbank datenbank(tmp.path());
    {
        // A dry cow whose dry-off date has passed: P_INIT_DATEN gives her the dry status.
        db::Database d;
        d.Open(TestDatabase::Params(datenbank.pfad));
        db::Transaction tr(d);
        tr.Start();
        db::Query q(tr,
                    "INSERT INTO T_STAMMDATEN (ID, NUMMER, GEBDAT, GESCHLECHT, RASSE, STATUS, "
                    "TROCKEN) VALUES (1, 'DE 01 000 00001', DATE '2020-01-01', 'W', 1, 'T', "
                    "DATE '2021-01-01')");
        q.Execute();
        tr.Commit();
    }
    TProgInit prog(Umgebung());
    ASSERT_TRUE(prog.InitProgramm());
    ASSERT_TRUE(prog.HauptfensterErzeugen());
    ASSERT_TRUE(prog.InitProgramm2());
    ASSERT_NE(DM(), nullptr);
    EXPECT_TRUE(DM()->Verbunden());
    // The settings read their farm-wide values through the data module's connection.
    EXPECT_FALSE(Einstellungen()->Werte().isEmpty());
    {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        EXPECT_EQ(DM()->SQLWertString(tr, "SELECT STATUS FROM T_STAMMDATEN WHERE ID = 1"), "R");
        tr.Commit();
    }
    prog.DeInitProgramm(false);
    EXPECT_EQ(DM(), nullptr);
    EXPECT_EQ(Einstellungen(), nullptr);
}

TEST(ProgInitErsteDatenbankTest, OnlyTheFirstStartMakesTheEmptyDatabase)
{
    struct Fall {
        const char* name;
        // The INI file before the start (none when empty); %1 stands for the data folder.
        QString ini;
        // The database the INI file names; relative to the data folder.
        QString datenbank;
        bool angelegt;
    };
    const std::vector<Fall> faelle = {
        {"no INI file yet", QString(), "Bovantis.fdb", true},
        {"an INI file another program began", "[Zustand]\nLetzteMaske=1\n", "Bovantis.fdb", true},
        {"the USB stick is not plugged in", "[Datenbank]\nName=%1stick/Bovantis.fdb\n",
         "stick/Bovantis.fdb", false},
        {"the database was moved away", "[Datenbank]\nName=%1Bovantis.fdb\n", "Bovantis.fdb",
         false},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        QTemporaryDir tmp;
        ScopedEnv runtimeDir{"XDG_RUNTIME_DIR", tmp.path().toLocal8Bit()};
        ScopedEnv dataHome{"XDG_DATA_HOME", tmp.path().toLocal8Bit()};
        const QString daten = tmp.filePath("Bovantis/");
        const QString datenbank = daten + fall.datenbank;
        if (!fall.ini.isEmpty()) {
            ASSERT_TRUE(QDir().mkpath(daten));
            QFile ini(daten + "Bovantis.ini");
            ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write(QString(fall.ini).replace("%1", daten).toUtf8());
        }
        TProgInit::Umgebung u = TProgInit::StandardUmgebung();
        u.argumente = {"-Hinweise"};
        u.benutzerName = [] { return QStringLiteral("tester"); };
        u.jetzt = [] { return QDateTime(QDate(2026, 12, 10), QTime(9, 0)); };
        int einrichtungStarts = 0;
        u.einrichtungStarten = [&einrichtungStarts] {
            ++einrichtungStarts;
            return false;
        };
        TProgInit prog(u);
        MessageBoxScript script;
        if (!fall.angelegt)
            script.AnswerWith(Tools::mrOk).AnswerWith(Tools::mrOk);
        int termineZeilen = -1;
        if (fall.angelegt) {
            // A reminder start on the new database shows its shipped appointment list.
            script.Window<TfrmTerminListe>([&termineZeilen](TfrmTerminListe& liste) {
                termineZeilen = liste.Grid()->GetTableView()->model()->rowCount();
                QTest::mouseClick(liste.StartenKnopf(), Qt::LeftButton);
            });
        }
        EXPECT_EQ(prog.InitProgramm(), fall.angelegt);
        if (fall.angelegt) {
            ASSERT_TRUE(prog.HauptfensterErzeugen());
            EXPECT_TRUE(prog.InitProgramm2());
            EXPECT_EQ(termineZeilen, 0) << "the empty herd has no appointment due";
            EXPECT_TRUE(prog.Hauptfenster()->isVisible());
        }
        EXPECT_EQ(QFile::exists(datenbank), fall.angelegt);
        if (!fall.angelegt) {
            // The connection's report, and the setup wizard is offered.
            ASSERT_EQ(script.Shown().size(), 2);
            EXPECT_TRUE(script.Shown()[0].text.startsWith("Zur Datenbank\r>> " + datenbank +
                                                          " <<\rkonnte nicht verbunden werden."))
                << script.Shown()[0].text.toStdString();
            EXPECT_TRUE(script.Shown()[1].text.contains("\"ZRNVEinrichtung\""));
            EXPECT_EQ(einrichtungStarts, 1);
            EXPECT_FALSE(QFileInfo::exists(daten + "stick"))
                << "a folder for the missing database was made";
            EXPECT_TRUE(QDir(daten).entryList({"*.fdb*"}, QDir::Files).isEmpty());
        } else {
            EXPECT_TRUE(script.Shown().isEmpty());
            EXPECT_TRUE(DM()->Verbunden());
        }
        prog.DeInitProgramm(false);
    }
}
