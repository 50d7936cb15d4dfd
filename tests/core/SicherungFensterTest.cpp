#include <Grundeinstellungen.h>
#include <Protokoll.h>
#include <SicherungFenster.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class SicherungFensterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.Db().Close();
        TEinstellungen::Umgebung u = TEinstellungen::StandardUmgebung();
        u.benutzerName = "Maier";
        einstellungen = std::make_unique<TEinstellungen>(nullptr, tmp.filePath("daten") + "/", u);
        einstellungen->SetDatenbankName(t.Path());
        einstellungen->SetSicherungVerzeichnis(tmp.filePath("sicherung"));
    }

    QTemporaryDir tmp;
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.filePath("xdg-data").toLocal8Bit()};
    ScopedEnv configHome{"XDG_CONFIG_HOME", tmp.filePath("xdg-config").toLocal8Bit()};
    TestDatabase t;
    std::unique_ptr<TEinstellungen> einstellungen;
};

TEST_F(SicherungFensterTest, BackupDialogWritesTheArchiveNamedInItsEdit)
{
    TfrmBackup dlg(*einstellungen);
    dlg.show();
    EXPECT_TRUE(dlg.Datei()->text().startsWith(tmp.filePath("sicherung") + "/"));
    const QString archiv = tmp.filePath("anders/meine.zip");
    dlg.Datei()->clear();
    QTest::keyClicks(dlg.Datei(), archiv);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    QTest::mouseClick(dlg.findChild<QPushButton*>("btnAusfuehren"), Qt::LeftButton);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, "Das Backup ist erfolgreich durchgeführt worden.");
    EXPECT_EQ(dlg.Fortschritt()->text(), "Fertig");
    QString kommentar;
    EXPECT_EQ(TBackupRestore::PruefeSicherungsdatei(archiv, kommentar), 0);
    EXPECT_FALSE(dlg.findChild<QPushButton*>("btnAusfuehren")->isEnabled());
    EXPECT_TRUE(dlg.findChild<QPushButton*>("btnSchliessen")->isEnabled());
}

TEST_F(SicherungFensterTest, FailedBackupShowsErrorAndProtocol)
{
    einstellungen->SetDatenbankName(tmp.filePath("gibt-es-nicht.fdb"));
    TfrmBackup dlg(*einstellungen);
    dlg.show();
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    QStringList protokoll;  // the texts of the protocol windows, each closed at once
    MessageBoxScript protokollSchliessen;
    protokollSchliessen.EveryWindow<TfrmProtokoll>([&](TfrmProtokoll& p) {
        protokoll << p.Memo()->toPlainText();
        p.accept();
    });
    QTest::mouseClick(dlg.findChild<QPushButton*>("btnAusfuehren"), Qt::LeftButton);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.startsWith("Es ist ein Fehler beim Backup aufgetreten."));
    EXPECT_EQ(dlg.Fortschritt()->text(), "Fehler!");
    EXPECT_EQ(protokoll.size(), 1);
    EXPECT_TRUE(
        protokoll.join("\n").contains("EBackupError: Verbindung mit der Datenbank nicht möglich"))
        << protokoll.join("\n").toStdString();
    EXPECT_TRUE(dlg.findChild<QPushButton*>("btnProtokoll")->isEnabled());
}

TEST_F(SicherungFensterTest, AutomaticBackupGoesIntoTheRing)
{
    einstellungen->SetAutoSicherungVerzeichnis(tmp.filePath("auto"));
    AutoSicherungDurchfuehren(*einstellungen);
    AutoSicherungDurchfuehren(*einstellungen);
    QString kommentar;
    EXPECT_EQ(TBackupRestore::PruefeSicherungsdatei(tmp.filePath("auto/sicherung1.zip"), kommentar),
              0);
    EXPECT_EQ(TBackupRestore::PruefeSicherungsdatei(tmp.filePath("auto/sicherung2.zip"), kommentar),
              0);
}

TEST_F(SicherungFensterTest, ABackupComesBeforeTheProgramUpdate)
{
    einstellungen->SetAutoSicherungVerzeichnis(tmp.filePath("auto"));
    const QDateTime zeit(QDate(2026, 12, 11), QTime(7, 5, 9));
    const QString archiv = tmp.filePath("auto/Update-11.12.2026-07-05-09.zip");
    EXPECT_EQ(UpdateSicherungsname(*einstellungen, zeit), archiv);
    MessageBoxScript boxen;
    EXPECT_TRUE(SicherungVorUpdate(*einstellungen, zeit));
    EXPECT_TRUE(boxen.Shown().isEmpty());
    // Read back by another zip reader: the engine's backup, the INI file and the marker.
    QProcess python;
    python.start("python3", {"-c",
                             "import zipfile,sys\n"
                             "z=zipfile.ZipFile(sys.argv[1])\n"
                             "print(','.join(sorted(z.namelist())))\n"
                             "print(z.comment.decode('latin-1'))\n"
                             "print(len(z.read('bovantis.gbk')) > 0)",
                             archiv});
    ASSERT_TRUE(python.waitForFinished(30000));
    const QStringList zeilen = QString::fromUtf8(python.readAllStandardOutput()).split('\n');
    ASSERT_GE(zeilen.size(), 3) << python.readAllStandardError().toStdString();
    EXPECT_EQ(zeilen[0], "Bovantis.ini,bovantis.gbk");
    EXPECT_TRUE(zeilen[1].startsWith("ZR Bovantis Sicherung, Erstellt: "))
        << zeilen[1].toStdString();
    EXPECT_EQ(zeilen[2], "True");
}

TEST_F(SicherungFensterTest, AFailedBackupBeforeTheUpdateLetsTheUserDecide)
{
    einstellungen->SetAutoSicherungVerzeichnis(tmp.filePath("auto"));
    einstellungen->SetDatenbankName(tmp.filePath("gibt-es-nicht.fdb"));
    for (const auto& [antwort, installieren] :
         std::vector<std::pair<std::uint16_t, bool>>{{Tools::mrNo, false}, {Tools::mrYes, true}}) {
        SCOPED_TRACE(installieren);
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk).AnswerWith(antwort);
        QStringList protokoll;  // the texts of the protocol windows, each closed at once
        MessageBoxScript protokollSchliessen;
        protokollSchliessen.EveryWindow<TfrmProtokoll>([&](TfrmProtokoll& p) {
            protokoll << p.Memo()->toPlainText();
            p.accept();
        });
        const QDateTime zeit(QDate(2026, 12, 11), QTime(7, 5, 9));
        EXPECT_EQ(SicherungVorUpdate(*einstellungen, zeit), installieren);
        ASSERT_EQ(boxen.Shown().size(), 2);
        EXPECT_TRUE(boxen.Shown()[0].text.startsWith("Es ist ein Fehler beim Backup aufgetreten."));
        EXPECT_EQ(boxen.Shown()[1].text,
                  "Vor dem Programm-Update konnte keine Datensicherung erstellt werden.\rSoll das "
                  "Update trotzdem installiert werden?");
        EXPECT_EQ(protokoll.size(), 1);
        EXPECT_FALSE(QFile::exists(UpdateSicherungsname(*einstellungen, zeit)));
    }
}

// A long path shows where it begins, and a usual one shows whole.
TEST_F(SicherungFensterTest, FileFieldShowsTheBeginningOfItsPath)
{
    {
        TfrmBackup dlg(*einstellungen);
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        const QLineEdit* edit = dlg.Datei();
        EXPECT_EQ(edit->cursorPosition(), 0);
        EXPECT_LT(edit->fontMetrics().horizontalAdvance(edit->text()),
                  edit->contentsRect().width() - 8)
            << edit->text().toStdString();
    }
    einstellungen->SetSicherungVerzeichnis(
        tmp.filePath("Betrieb Sonnenhof/Datensicherungen der Herde/jeden Freitag/auf dem "
                     "zweiten Datenträger im Büro"));
    TfrmBackup dlg(*einstellungen);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(dlg.Datei()->cursorPosition(), 0);
    Bildschirmfoto(dlg, "datensicherung.png");
}

}  // namespace
