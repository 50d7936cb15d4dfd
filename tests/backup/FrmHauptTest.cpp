// The window as a user works with it, and the restore of a starter's command line.
#include "BackupUmgebung.h"

#include <BackupOptionen.h>
#include <DesktopSymbol.h>
#include <FrmHaupt.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>

#include <InstanceGuard.h>
#include <NeuWert.h>
#include <Protokoll.h>
#include <SystemInfo.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

class FrmHauptTest : public BackupUmgebung {
protected:
    void SetUp() override
    {
        TierAnlegen(1);
        archiv = tmp.filePath("sicherung.zip");
        TfrmHaupt fenster(BackupOptionenLesen({"ZRNVBackup", "-d", archiv}));
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        Klicken(fenster, "Ausfuehren");
        ASSERT_EQ(boxen.Shown().size(), 1);
        ASSERT_EQ(boxen.Shown()[0].text, "Das Backup ist erfolgreich durchgeführt worden.");
        TierAnlegen(2);
    }
    static void Klicken(TfrmHaupt& fenster, const char* knopf)
    {
        auto* k = fenster.findChild<QAbstractButton*>(knopf);
        ASSERT_NE(k, nullptr) << knopf;
        ASSERT_TRUE(k->isEnabled()) << knopf;
        // A radio button takes clicks on its circle and text only.
        QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(8, k->height() / 2));
    }
    static bool Frei(TfrmHaupt& fenster, const char* knopf)
    {
        return fenster.findChild<QPushButton*>(knopf)->isEnabled();
    }
    // The texts of the protocol windows, each closed at once.
    static void ProtokolleSammeln(MessageBoxScript& skript, QStringList& texte)
    {
        skript.EveryWindow<TfrmProtokoll>([&texte](TfrmProtokoll& p) {
            texte << p.Memo()->toPlainText();
            p.accept();
        });
    }
    static void NameEingeben(MessageBoxScript& skript, const QString& name)
    {
        skript.Window<TNeuerWert>([name](TNeuerWert& d) {
            EXPECT_EQ(d.windowTitle(), "Symbolname");
            // Typed as a whole: the test's key events know no umlauts.
            d.Edits()[0]->setText(name);
            QTest::mouseClick(d.findChild<QPushButton*>("Button1"), Qt::LeftButton);
        });
    }

    QString archiv;
};

const QString Startfrage = "Soll mit der Datensicherung bzw. -rücksicherung fortgesetzt werden?";
const QString Erfolg = "Die Rücksicherung ist erfolgreich durchgeführt worden.";

// A desktop starter's command line: the start question, the final question with the archive's
// comment, the restore; the program's exit code is 0. The action runs once per start.
TEST_F(FrmHauptTest, StarterRestoresAfterItsQuestions)
{
    ASSERT_EQ(Tiere(), 2);
    TfrmHaupt fenster(BackupOptionenLesen(
        {"ZRNVBackup", "-b", "-a", "r", "-v", GetProgrammverzeichnis(), "-d", archiv}));
    EXPECT_TRUE(fenster.Ruecksicherung());
    EXPECT_TRUE(fenster.findChild<QCheckBox*>("RechnerEinstellungen")->isEnabled());
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    fenster.show();
    QTRY_COMPARE_WITH_TIMEOUT(boxen.Pending(), 0, 120000);
    ASSERT_EQ(boxen.Shown().size(), 3);
    EXPECT_EQ(boxen.Shown()[0].text, Startfrage);
    EXPECT_TRUE(boxen.Shown()[1].text.startsWith("Soll die Rücksicherung gestartet werden?"));
    EXPECT_TRUE(boxen.Shown()[1].text.contains("ZR Bovantis Sicherung, Erstellt: "));
    EXPECT_EQ(boxen.Shown()[2].text, Erfolg);
    EXPECT_EQ(Tiere(), 1);
    EXPECT_EQ(fenster.Ergebnis(), 0);
    EXPECT_FALSE(Frei(fenster, "Ausfuehren"));
    EXPECT_TRUE(Frei(fenster, "Protokoll"));
    EXPECT_TRUE(Frei(fenster, "Ende"));
    // A later showing does not start it again.
    fenster.hide();
    fenster.show();
    // The start would come with the next round of the event loop.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(boxen.Shown().size(), 3);
}

// A starter's start question answered No runs nothing.
TEST_F(FrmHauptTest, StartQuestionNoRunsNothing)
{
    TfrmHaupt fenster(BackupOptionenLesen({"ZRNVBackup", "-b", "-d", tmp.filePath("neu.zip")}));
    MessageBoxScript boxen;
    boxen.Answer(MessageBoxScript::Enter());
    fenster.show();
    QTRY_COMPARE(boxen.Pending(), 0);
    EXPECT_EQ(boxen.Shown()[0].text, Startfrage);
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath("neu.zip")));
    EXPECT_TRUE(Frei(fenster, "Ausfuehren"));
}

TEST_F(FrmHauptTest, RestoreOfAnotherExtensionAsksFirst)
{
    const QString anders = tmp.filePath("sicherung.bak");
    ASSERT_TRUE(QFile::copy(archiv, anders));
    TfrmHaupt fenster(BackupOptionenLesen({"ZRNVBackup", "-a", "r", "-d", anders}));
    fenster.show();
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrNo);
        Klicken(fenster, "Ausfuehren");
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text,
                  "Die ausgewählte Datei ist möglicherweise keine Sicherungsdatei.\rGrund: Falsche "
                  "Erweiterung\rSoll dennoch die Rücksicherung fortgesetzt werden?");
        EXPECT_TRUE(Frei(fenster, "Ausfuehren"));
    }
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrNo);
        Klicken(fenster, "Ausfuehren");
        ASSERT_EQ(boxen.Shown().size(), 2);
        EXPECT_TRUE(boxen.Shown()[1].text.startsWith("Soll die Rücksicherung gestartet werden?"));
    }
    EXPECT_EQ(Tiere(), 2);
    // A zip without the marker, then no zip at all.
    const QString fremd = tmp.filePath("fremd.zip");
    ASSERT_EQ(QProcess::execute("python3", {"-c",
                                            "import zipfile,sys\n"
                                            "with zipfile.ZipFile(sys.argv[1],'w') as z:\n"
                                            "  z.writestr('bovantis.gbk', b'x')",
                                            fremd}),
              0);
    fenster.findChild<QLineEdit*>("Sicherungsdatei")->setText(fremd);
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrNo);
        Klicken(fenster, "Ausfuehren");
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_TRUE(boxen.Shown()[0].text.contains("Grund: Fehlender oder falscher Kommentar"));
    }
    fenster.findChild<QLineEdit*>("Sicherungsdatei")->setText(tmp.filePath("config"));
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        Klicken(fenster, "Ausfuehren");
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text,
                  "Die Sicherungsdatei\r\r" + tmp.filePath("config") + "\r\rexistiert nicht");
        EXPECT_EQ(fenster.Ergebnis(), 1);
    }
    EXPECT_EQ(Tiere(), 2);
}

// Restore asks while the main program of this user runs; a backup does not.
TEST_F(FrmHauptTest, RestoreWhileTheMainProgramRunsAsks)
{
    const auto hauptprogramm = platform::InstanceGuard::tryAcquire(
        "ZRBovantisMutex" + platform::currentUserName().toUpper());
    ASSERT_TRUE(hauptprogramm);
    ASSERT_TRUE(HauptprogrammLaeuft());
    {
        TfrmHaupt fenster(BackupOptionenLesen({"ZRNVBackup", "-a", "R", "-d", archiv}));
        fenster.show();
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrNo);
        Klicken(fenster, "Ausfuehren");
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text,
                  "ZR Bovantis läuft derzeit.\rSoll trotzdem fortgesetzt werden?");
        EXPECT_TRUE(Frei(fenster, "Ausfuehren"));
    }
    {
        TfrmHaupt fenster(BackupOptionenLesen({"ZRNVBackup", "-d", tmp.filePath("zwei.zip")}));
        fenster.show();
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        Klicken(fenster, "Ausfuehren");
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text, "Das Backup ist erfolgreich durchgeführt worden.");
    }
    EXPECT_EQ(Tiere(), 2);
}

// A replace-restore while another connection has the database open is refused by the engine;
// its reason is shown, the data stay and the exit code tells of the failure.
TEST_F(FrmHauptTest, RestoreWhileTheDatabaseIsInUseIsRefused)
{
    db::Database andere;
    andere.Open(TestDatabase::Params(datenbank.pfad));
    TfrmHaupt fenster(BackupOptionenLesen({"ZRNVBackup", "-a", "r", "-d", archiv}));
    fenster.show();
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    QStringList protokolle;
    MessageBoxScript protokollSkript;
    ProtokolleSammeln(protokollSkript, protokolle);
    Klicken(fenster, "Ausfuehren");
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[1].type, Tools::mtError);
    EXPECT_TRUE(boxen.Shown()[1].text.startsWith(
        "Es ist ein Fehler bei der Rücksicherung aufgetreten:\rDie Datenbank "))
        << boxen.Shown()[1].text.toStdString();
    EXPECT_TRUE(boxen.Shown()[1].text.contains("wird noch benutzt"));
    ASSERT_EQ(protokolle.size(), 1);
    EXPECT_TRUE(protokolle[0].contains("EBackupError: Die Datenbank"))
        << protokolle[0].toStdString();
    EXPECT_EQ(fenster.findChild<QLabel*>("Fortschritt")->text(), "Fehler!");
    EXPECT_EQ(fenster.Ergebnis(), 1);
    EXPECT_FALSE(Frei(fenster, "Ausfuehren"));
    EXPECT_TRUE(Frei(fenster, "Protokoll"));
    andere.Close();
    EXPECT_EQ(Tiere(), 2);
}

// The backup button runs once; the protocol shows what happened.
TEST_F(FrmHauptTest, BackupRunsOnceFromTheButton)
{
    const QString neu = tmp.filePath("neu.zip");
    TfrmHaupt fenster(BackupOptionenLesen({"ZRNVBackup"}));
    EXPECT_FALSE(Frei(fenster, "Protokoll"));
    EXPECT_FALSE(fenster.findChild<QCheckBox*>("RechnerEinstellungen")->isEnabled());
    // The default archive lies in the backup folder, named by the start time.
    EXPECT_TRUE(QFileInfo(fenster.findChild<QLineEdit*>("Sicherungsdatei")->text())
                    .fileName()
                    .contains(QRegularExpression(R"(^\d{4}-\d\d-\d\d-\d\d-\d\d-\d\d\.zip$)")));
    fenster.findChild<QLineEdit*>("Sicherungsdatei")->setText(neu);
    fenster.show();
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    Klicken(fenster, "Ausfuehren");
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(fenster.findChild<QLabel*>("Fortschritt")->text(), "Fertig");
    EXPECT_FALSE(Frei(fenster, "Ausfuehren"));
    EXPECT_EQ(fenster.Ergebnis(), 0);
    QStringList protokolle;
    MessageBoxScript protokollSkript;
    ProtokolleSammeln(protokollSkript, protokolle);
    Klicken(fenster, "Protokoll");
    ASSERT_EQ(protokolle.size(), 1);
    EXPECT_TRUE(protokolle[0].contains("Zip Datei erstellen"));
    EXPECT_EQ(ArchivLesen(neu).value(2), "True");
}

// A failed backup: with questions the error and the protocol show and the window stays open;
// the automatic backup without questions shows nothing and closes. Both end with code 1.
TEST_F(FrmHauptTest, FailedBackupTellsOfItself)
{
    QFile hindernis(tmp.filePath("keinordner"));
    ASSERT_TRUE(hindernis.open(QIODevice::WriteOnly));
    hindernis.close();
    const QString ziel = tmp.filePath("keinordner/a.zip");
    for (const bool still : {false, true}) {
        SCOPED_TRACE(still);
        QStringList argumente{"ZRNVBackup", "-b", "-d", ziel};
        if (still)
            argumente << "-f";
        TfrmHaupt fenster(BackupOptionenLesen(argumente));
        MessageBoxScript boxen;
        if (!still)
            boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
        QStringList protokolle;
        MessageBoxScript protokollSkript;
        ProtokolleSammeln(protokollSkript, protokolle);
        fenster.show();
        QTRY_COMPARE_WITH_TIMEOUT(fenster.Ergebnis(), 1, 60000);
        EXPECT_EQ(fenster.findChild<QLabel*>("Fortschritt")->text(), "Fehler!");
        EXPECT_FALSE(Frei(fenster, "Ausfuehren"));
        if (still) {
            EXPECT_TRUE(boxen.Shown().isEmpty());
            EXPECT_TRUE(protokolle.isEmpty());
            EXPECT_FALSE(fenster.isVisible());
        } else {
            ASSERT_EQ(boxen.Shown().size(), 2);
            EXPECT_TRUE(
                boxen.Shown()[1].text.startsWith("Es ist ein Fehler beim Backup "
                                                 "aufgetreten."));
            ASSERT_EQ(protokolle.size(), 1);
            EXPECT_TRUE(
                protokolle[0].contains("EBackupError: Erstellung der Backup-Datei war "
                                       "nicht erfolgreich"))
                << protokolle[0].toStdString();
            EXPECT_TRUE(fenster.isVisible());
            EXPECT_TRUE(Frei(fenster, "Ende"));
        }
    }
    EXPECT_FALSE(QFileInfo::exists(ziel));
}

// The starter on the desktop: a blank name and a name in use ask again; the starter made names
// this program with the window's action, folder and archive.
TEST_F(FrmHauptTest, SettingsBecomeADesktopStarter)
{
    const QString desktop = tmp.filePath("Schreibtisch");
    QDir().mkpath(tmp.filePath("config"));
    QFile dirs(tmp.filePath("config/user-dirs.dirs"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    dirs.close();
    QDir().mkpath(desktop);
    QFile vorhanden(desktop + "/Hof.desktop");
    ASSERT_TRUE(vorhanden.open(QIODevice::WriteOnly));
    vorhanden.close();

    const QString ordner = tmp.filePath("Programm \"alt\"") + "/";
    const QString datei = tmp.filePath("Sicherung $1 100%.zip");
    TfrmHaupt fenster(BackupOptionenLesen({"ZRNVBackup", "-v", ordner, "-d", datei}));
    fenster.show();
    Klicken(fenster, "Ruecksicherung");
    EXPECT_TRUE(fenster.Ruecksicherung());
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrNo);
        Klicken(fenster, "EinstSpeichern");
        EXPECT_EQ(boxen.Shown().size(), 1);
    }
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk).AnswerWith(Tools::mrOk);
    NameEingeben(boxen, "   ");
    NameEingeben(boxen, " Hof ");
    NameEingeben(boxen, " Rücksicherung Hof ");
    Klicken(fenster, "EinstSpeichern");
    ASSERT_EQ(boxen.Shown().size(), 3);
    EXPECT_EQ(boxen.Shown()[0].text,
              "Sollen die Einstellungen als Symbol auf dem Desktop abgelegt werden?");
    EXPECT_EQ(boxen.Shown()[1].text, "Geben Sie einen Namen an.");
    EXPECT_EQ(boxen.Shown()[2].text,
              "Das Symbol existiert bereits.\rGeben Sie einen anderen Namen an.");
    EXPECT_EQ(boxen.PendingWindows(), 0);

    const QString starter = desktop + "/Rücksicherung Hof.desktop";
    ASSERT_TRUE(QFileInfo(starter).isFile());
    EXPECT_TRUE(QFileInfo(starter).isExecutable());
    QFile hof(desktop + "/Hof.desktop");
    EXPECT_EQ(hof.size(), 0);
    QProcess pruefen;
    pruefen.setProcessChannelMode(QProcess::MergedChannels);
    pruefen.start("desktop-file-validate", {starter});
    ASSERT_TRUE(pruefen.waitForFinished(30000));
    EXPECT_EQ(pruefen.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(pruefen.readAll()).trimmed(), "");
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import sys, json, gi\n"
                  "gi.require_version('GLib', '2.0')\n"
                  "from gi.repository import GLib\n"
                  "k = GLib.KeyFile()\n"
                  "k.load_from_file(sys.argv[1], GLib.KeyFileFlags.NONE)\n"
                  "r = GLib.shell_parse_argv(k.get_string('Desktop Entry', 'Exec'))\n"
                  "argv = r[1] if isinstance(r, tuple) else r\n"
                  "print(json.dumps([a.replace('%%', '%') for a in argv]))\n",
                  starter});
    ASSERT_TRUE(python.waitForFinished(30000));
    QStringList argv;
    for (const QJsonValue& a : QJsonDocument::fromJson(python.readAllStandardOutput()).array())
        argv << a.toString();
    EXPECT_EQ(argv, QStringList({QCoreApplication::applicationFilePath(), "-b", "-a", "r", "-v",
                                 ordner, "-d", datei}));
    // The starter's command line gives the window back what it had.
    const BackupOptionen zurueck = BackupOptionenLesen(argv);
    EXPECT_EQ(zurueck.ruecksicherung, true);
    EXPECT_EQ(zurueck.programmverzeichnis, ordner);
    EXPECT_EQ(zurueck.sicherungsdatei, datei);
}

TEST_F(FrmHauptTest, Screenshots)
{
    TfrmHaupt fenster(BackupOptionenLesen({"ZRNVBackup", "-d", tmp.filePath("neu.zip")}));
    fenster.show();
    Bildschirmfoto(fenster, "ZRNVBackup_Datensicherung.png");
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    Klicken(fenster, "Ausfuehren");
    Bildschirmfoto(fenster, "ZRNVBackup_nach_Datensicherung.png");
    Klicken(fenster, "Ruecksicherung");
    fenster.findChild<QCheckBox*>("RechnerEinstellungen")->setChecked(true);
    Bildschirmfoto(fenster, "ZRNVBackup_Ruecksicherung.png");
}

}  // namespace
