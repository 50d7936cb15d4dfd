#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <Haupt.h>
#include <KernAktionen.h>
#include <Informationen.h>
#include <VersionInfo.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <Query.h>
#include <Transaction.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSysInfo>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using VersionInfo::TFileInfo;

namespace {

QByteArray Md5(const QByteArray& b)
{
    return QCryptographicHash::hash(b, QCryptographicHash::Md5);
}

void Schreiben(const QString& pfad, const QByteArray& inhalt)
{
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}

TEST(VersionInfoTest, OrderIsProgramThenFixedListThenTheRestAlphabetically)
{
    const QStringList pfade = {"/usr/lib/libz.so.1",      "/opt/zr/libzrvcldb90.so",
                               "/opt/zr/ZRNVBackup",      "/usr/lib/libQt6Core.so.6",
                               "/opt/zr/ZR_Bovantis",     "/opt/zr/libzrmisc90.so",
                               "/usr/lib/libc.so.6",      "/opt/zr/LIBZRMISC90.SO",
                               "/fb/UDF/bovantis_udf.so", "/opt/zr/libzrmiscbase.so"};
    EXPECT_EQ(
        VersionInfo::Ordnen(pfade, "/opt/zr/ZR_Bovantis"),
        QStringList({"/opt/zr/ZR_Bovantis", "/opt/zr/ZRNVBackup", "/opt/zr/libzrmiscbase.so",
                     "/opt/zr/libzrmisc90.so", "/opt/zr/libzrvcldb90.so", "/fb/UDF/bovantis_udf.so",
                     "/usr/lib/libc.so.6", "/usr/lib/libQt6Core.so.6", "/usr/lib/libz.so.1"}));
}

TEST(VersionInfoTest, ChecksumListLines)
{
    const QByteArray md5 = Md5("abc");
    const auto liste = VersionInfo::PruefsummenLesen(
        {"ZR_Bovantis=" + md5.toHex(), " libzrmisc90.so = " + md5.toHex().toUpper() + " ",
         "kurz=1234", "falsch=" + QByteArray(32, 'g'), "ohne Gleichheitszeichen", "=leer"});
    EXPECT_EQ(liste.size(), 4);
    EXPECT_EQ(liste.value("zr_bovantis"), md5);
    EXPECT_EQ(liste.value("libzrmisc90.so"), md5);
    EXPECT_EQ(liste.value("kurz"), QByteArray(16, '\0'));
    EXPECT_EQ(liste.value("falsch"), QByteArray(16, '\0'));
}

TEST(VersionInfoTest, ChangedOrUnreadableListedFilesAreMarkedUnlistedNever)
{
    QTemporaryDir dir;
    Schreiben(dir.path() + "/gut", "gut");
    Schreiben(dir.path() + "/geaendert", "verändert");
    Schreiben(dir.path() + "/fremd", "fremd");
    QList<TFileInfo> dateien;
    for (const char* name : {"gut", "geaendert", "fremd", "fehlt"})
        dateien << TFileInfo{name, dir.path(), "", "", true};
    // "fehlt" is listed but gone: marked, and the others are still checked.
    VersionInfo::PruefsummenPruefen(
        dateien, VersionInfo::PruefsummenLesen({"GUT=" + Md5("gut").toHex(),
                                                "geaendert=" + Md5("geaendert").toHex(),
                                                "fehlt=" + Md5("").toHex()}));
    EXPECT_TRUE(dateien[0].pruefsummeOk);
    EXPECT_FALSE(dateien[1].pruefsummeOk);
    EXPECT_TRUE(dateien[2].pruefsummeOk);
    EXPECT_FALSE(dateien[3].pruefsummeOk);
}

TEST(VersionInfoTest, ClipboardTextAlignsVersionsAndFolders)
{
    const QList<TFileInfo> dateien = {
        {"ZR_Bovantis", "/opt/zr", "3.0.0", "", true},
        {"libzrmisc90.so", "/opt/zr", "", "", false},
        {"ein_sehr_langer_dateiname.so", "/usr/lib", "1.2", "", true},
    };
    const QString text = VersionInfo::ZwischenablageText(
        {"/opt/zr", "/daten/Bovantis.fdb", "3.0.0", "Debian GNU/Linux 12"}, dateien);
    EXPECT_TRUE(text.endsWith("\r\n"));
    const QStringList zeilen = text.split("\r\n");
    ASSERT_EQ(zeilen.size(), 15);
    EXPECT_EQ(
        zeilen.mid(0, 8),
        QStringList({"Programmverzeichnis: /opt/zr", "Datenbank:           /daten/Bovantis.fdb",
                     "Programmversion:     3.0.0", "Betriebssystem:      Debian GNU/Linux 12", "",
                     "Dateien:", "========", ""}));
    // Short names: the version in column 20, the folder in column 40.
    EXPECT_EQ(zeilen[8].indexOf("3.0.0, "), 20);
    EXPECT_EQ(zeilen[8].indexOf("/opt/zr"), 40);
    EXPECT_TRUE(zeilen[8].startsWith("ZR_Bovantis, "));
    EXPECT_EQ(zeilen[9].indexOf(", "), 14);
    EXPECT_EQ(zeilen[9].indexOf(", ", 15), 20);
    EXPECT_EQ(zeilen[9].mid(40), "/opt/zr, Datei fehlerhaft, oder falsche Version!");
    // A long name pushes the version on; the folder still starts at 40 while there is room.
    EXPECT_TRUE(zeilen[10].startsWith("ein_sehr_langer_dateiname.so, 1.2, "));
    EXPECT_EQ(zeilen[10].indexOf("/usr/lib"), 40);
    EXPECT_EQ(zeilen.mid(11), QStringList({"", "Ende der Dateiliste.", "", ""}));
}

class InformationenTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(programm.isValid() && daten.isValid());
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        Einstellungen()->SetDatenbankName(Suite().Path());
        DM()->Datenbank.Open(TestDatabase::Params(Suite().Path()));
        // A release folder: the program, one of the other programs, the checksum list.
        Schreiben(programm.path() + "/ZR_Bovantis", "ELF BOVANTIS_FILEVERSION=3.0.0");
        Schreiben(programm.path() + "/ZRNVBackup", "verändertes Programm");
        quellen.programm = programm.path() + "/ZR_Bovantis";
        quellen.programmOrdner = programm.path();
        quellen.pruefsummen = {"zr_bovantis=" + Md5("ELF BOVANTIS_FILEVERSION=3.0.0").toHex(),
                               "ZRNVBackup=" + Md5("das echte Programm").toHex()};
    }
    void TearDown() override
    {
        EinstellungenFreigeben();
        DMFreigeben();
    }

    QTemporaryDir programm;
    QTemporaryDir daten;
    ScopedEnv datenHome{"XDG_DATA_HOME", daten.path().toLocal8Bit()};
    TfrmVersionInfo::Quellen quellen;
};

TEST_F(InformationenTest, VersionWindowListsMarksAndCopies)
{
    TfrmVersionInfo fenster(quellen);
    fenster.show();
    QTableWidget* liste = fenster.Liste();
    ASSERT_GE(liste->rowCount(), 3);
    EXPECT_EQ(liste->item(0, 0)->text(), "ZR_Bovantis");
    EXPECT_EQ(liste->item(0, 1)->text(), "3.0.0");
    EXPECT_EQ(liste->item(0, 2)->text(), programm.path());
    EXPECT_EQ(liste->item(0, 3)->text(), "ZR Bovantis Hauptprogramm");
    EXPECT_EQ(liste->item(0, 4)->text(), "");
    EXPECT_EQ(liste->item(1, 0)->text(), "ZRNVBackup");
    EXPECT_EQ(liste->item(1, 4)->text(), "Datei fehlerhaft, oder falsche Version!");
    // The test program's own modules follow, none of them listed, none marked.
    QStringList module;
    for (int i = 2; i < liste->rowCount(); ++i) {
        module << liste->item(i, 0)->text();
        EXPECT_EQ(liste->item(i, 4)->text(), "") << liste->item(i, 0)->text().toStdString();
    }
    EXPECT_TRUE(module.contains("libzrmiscbase.so"));
    EXPECT_TRUE(module.contains("libQt6Core.so.6"));

    QApplication::processEvents();
    Bildschirmfoto(fenster, "versionen.png");

    QApplication::clipboard()->clear();
    QTest::mouseClick(fenster.Kopieren(), Qt::LeftButton);
    const QString text = QApplication::clipboard()->text();
    EXPECT_TRUE(text.contains("Datenbank:           " + Suite().Path() + "\r\n"));
    EXPECT_TRUE(text.contains("\r\nZRNVBackup," + QString(9, ' ') + "," + QString(19, ' ') +
                              programm.path() + ", Datei fehlerhaft, oder falsche Version!\r\n"))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith("\r\nEnde der Dateiliste.\r\n\r\n"));
}

TEST_F(InformationenTest, SystemInfoShowsTheInstallationAndOpensItsWindows)
{
    TfrmSystemInfo fenster;
    fenster.SetVersionQuellen(quellen);
    fenster.show();
    QApplication::processEvents();
    EXPECT_EQ(fenster.windowTitle(), "System-Informationen");
    EXPECT_EQ(fenster.Wert("Datenbank:")->text(), Suite().Path());
    EXPECT_EQ(fenster.Wert("Betriebssystem:")->text(), QSysInfo::prettyProductName());
    EXPECT_EQ(fenster.Wert("Programmversion:")->text(), "3.0.0");
    EXPECT_EQ(fenster.Knopf("Explorerstarten")->text(), "Explorer\nstarten");
    EXPECT_TRUE(fenster.Knopf("Datenbankskript-ausführen")->isEnabled());

    QStringList geoeffnet;
    bool gelingt = true;
    fenster.SetOrdnerOeffnen([&](const QString& ordner) {
        geoeffnet << ordner;
        return gelingt;
    });
    {
        MessageBoxScript script;
        QTest::mouseClick(fenster.Knopf("Explorerstarten"), Qt::LeftButton);
        gelingt = false;
        script.AnswerWith(Tools::mrOk);
        QTest::mouseClick(fenster.Knopf("Explorerstarten"), Qt::LeftButton);
        ASSERT_EQ(script.Shown().size(), 1);
        EXPECT_EQ(script.Shown()[0].text, "Konnte den Explorer nicht starten.");
    }
    EXPECT_EQ(geoeffnet.size(), 2);
    EXPECT_EQ(geoeffnet.value(0), fenster.Wert("Programmverzeichnis:")->text());

    int zeilen = 0;
    MessageBoxScript versionen;
    versionen.Window<TfrmVersionInfo>([&](TfrmVersionInfo& v) {
        zeilen = v.Liste()->rowCount();
        v.reject();
    });
    QTest::mouseClick(fenster.Knopf("Datei-versionen"), Qt::LeftButton);
    EXPECT_TRUE(versionen.PendingWindows() == 0);
    EXPECT_GE(zeilen, 3);

    Bildschirmfoto(fenster, "systeminfo.png");
}

TEST_F(InformationenTest, SystemInfoRunsAChosenScriptOnlyAfterTheQuestion)
{
    const QString datei = daten.path() + "/neu.sql";
    Schreiben(datei,
              "CREATE TABLE T_SKRIPT_TEST (ID INTEGER);\n-=#=-\n"
              "INSERT INTO T_SKRIPT_TEST (ID) VALUES (42);\n"
              "GRANT ALL ON T_SKRIPT_TEST TO BOVANTIS;\n");
    TfrmSystemInfo fenster;
    int gewaehlt = 0;
    fenster.SetSkriptWaehlen([&](QWidget*) {
        ++gewaehlt;
        return gewaehlt == 1 ? QString() : datei;
    });
    auto tabelle = [] {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        db::Query q(tr,
                    "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'T_SKRIPT_TEST'");
        q.Open();
        return q.Field(0).AsInteger();
    };
    MessageBoxScript script;
    // Cancelled choice, then "Nein" to the warning: nothing runs.
    QTest::mouseClick(fenster.Knopf("Datenbankskript-ausführen"), Qt::LeftButton);
    script.AnswerWith(Tools::mrNo);
    QTest::mouseClick(fenster.Knopf("Datenbankskript-ausführen"), Qt::LeftButton);
    EXPECT_EQ(tabelle(), 0);
    script.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    QTest::mouseClick(fenster.Knopf("Datenbankskript-ausführen"), Qt::LeftButton);
    ASSERT_EQ(script.Shown().size(), 3);
    EXPECT_TRUE(script.Shown()[0].text.contains("\r\r" + QDir::toNativeSeparators(datei) +
                                                "\r\rwirklich ausführen?"));
    EXPECT_EQ(script.Shown()[2].text,
              "Das Datenbank-Skript wurde ausgeführt.\rBeenden Sie ZR Bovantis und "
              "starten Sie das\rProgramm ggfs. erneut.");
    EXPECT_EQ(tabelle(), 1);
    db::Transaction tr(DM()->Datenbank);
    tr.Start();
    db::Query q(tr, "SELECT ID FROM T_SKRIPT_TEST");
    q.Open();
    ASSERT_FALSE(q.Eof());
    EXPECT_EQ(q.Field(0).AsInteger(), 42);
}

TEST_F(InformationenTest, AboutBoxTogglesTheScrollingThanks)
{
    TfrmInformation fenster;
    fenster.show();
    QApplication::processEvents();
    EXPECT_TRUE(fenster.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(fenster.DankPanel()->isVisible());
    QTest::mouseClick(fenster.Dankesworte(), Qt::LeftButton);
    EXPECT_TRUE(fenster.DankPanel()->isVisible());
    EXPECT_TRUE(fenster.Lauftext()->isActive());
    auto* text = fenster.DankPanel()->findChild<QLabel*>();
    const int y = text->y();
    EXPECT_TRUE(QTest::qWaitFor([&] { return text->y() < y; }, 5000));
    Bildschirmfoto(fenster, "information.png");
    QTest::mouseClick(fenster.Dankesworte(), Qt::LeftButton);
    EXPECT_FALSE(fenster.DankPanel()->isVisible());
    EXPECT_FALSE(fenster.Lauftext()->isActive());
}

TEST_F(InformationenTest, HelpMenuActionsOpenTheirWindows)
{
    TfrmHaupt haupt;
    QString updateDatei;
    InfoAktionenVerbinden(haupt, updateDatei);
    {
        MessageBoxScript info;
        info.Window<TfrmInformation>([](TfrmInformation& f) { f.accept(); });
        haupt.Aktion("actHilfeInfo")->trigger();
        EXPECT_TRUE(info.PendingWindows() == 0);
    }
    {
        MessageBoxScript system;
        system.Window<TfrmSystemInfo>([](TfrmSystemInfo& f) { f.accept(); });
        haupt.Aktion("actHilfeSystemInfo")->trigger();
        EXPECT_TRUE(system.PendingWindows() == 0);
    }
    {
        // The update check from the menu: declined, nothing pending, the window stays.
        ScopedEnv adresse("BOVANTIS_UPDATE_URL", "https://update.example.org/");
        MessageBoxScript script;
        script.AnswerWith(Tools::mrNo);
        haupt.show();
        haupt.Aktion("actUpdateTest")->trigger();
        ASSERT_EQ(script.Shown().size(), 1);
        EXPECT_TRUE(script.Shown()[0].text.endsWith("Wollen Sie fortfahren?"));
        EXPECT_TRUE(updateDatei.isEmpty());
        EXPECT_TRUE(haupt.isVisible());
    }
}

}  // namespace
