#include "ProgrammDatenbank.h"

#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <SicherungFenster.h>

#include <MessageBoxScript.h>
#include <ScopedEnv.h>

#include <Query.h>
#include <Transaction.h>

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

int Tiere()
{
    db::Transaction tr(DM()->Datenbank);
    tr.Start();
    db::Query q(tr, "SELECT COUNT(*) FROM T_STAMMDATEN");
    q.Open();
    const int n = q.Field(0).AsString().toInt();
    tr.Commit();
    return n;
}

class RuecksicherungFensterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        ASSERT_TRUE(DM()->Verbinden());
        TBackupRestore br;
        SicherungEinrichten(br, *Einstellungen());
        br.Archiv = tmp.filePath("sicherung.zip");
        br.Sichern();
        archiv = br.Archiv;
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        db::Query(tr,
                  "INSERT INTO T_STAMMDATEN (ID, NUMMER, GEBDAT, GESCHLECHT, RASSE) VALUES "
                  "(1, 'DE 01 000 00001', DATE '2020-01-01', 'W', 1)")
            .Execute();
        tr.Commit();
    }
    void TearDown() override
    {
        EinstellungenFreigeben();
        if (DM())
            DM()->Trennen();
        DMFreigeben();
    }
    void Ausfuehren(TfrmRestore& dlg, const QString& datei)
    {
        dlg.Datei()->clear();
        QTest::keyClicks(dlg.Datei(), datei);
        QTest::mouseClick(dlg.findChild<QPushButton*>("btnAusfuehren"), Qt::LeftButton);
    }

    QTemporaryDir tmp;
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.path().toLocal8Bit()};
    ScopedEnv configHome{"XDG_CONFIG_HOME", tmp.filePath("xdg-config").toLocal8Bit()};
    ProgrammDatenbank datenbank{tmp.path()};
    QString archiv;
};

TEST_F(RuecksicherungFensterTest, RestoreReturnsToTheBackupAndTheProgramGoesOn)
{
    ASSERT_EQ(Tiere(), 1);
    TfrmRestore dlg;
    bool beendet = false;
    dlg.ProgrammBeenden = [&] { beendet = true; };
    dlg.show();
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    Ausfuehren(dlg, archiv);
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_TRUE(boxen.Shown()[0].text.contains("ZR Bovantis Sicherung, Erstellt: "));
    EXPECT_EQ(boxen.Shown()[1].text, "Die Rücksicherung ist erfolgreich durchgeführt worden.");
    EXPECT_FALSE(beendet);
    ASSERT_NE(DM(), nullptr);
    ASSERT_NE(Einstellungen(), nullptr);
    EXPECT_EQ(Tiere(), 0);
    EXPECT_EQ(Einstellungen()->IniLesenInteger("Palm", "HotsyncAction", 0), 3);
}

// The engine refuses a backup cut short: the program goes on with its old data, connected.
TEST_F(RuecksicherungFensterTest, FailedRestoreReconnectsToTheOldData)
{
    const QString gekuerzt = tmp.filePath("gekuerzt.zip");
    ASSERT_EQ(QProcess::execute("python3",
                                {"-c",
                                 "import zipfile,sys\n"
                                 "s=zipfile.ZipFile(sys.argv[1]); g=s.read('bovantis.gbk')\n"
                                 "with zipfile.ZipFile(sys.argv[2],'w') as z:\n"
                                 "  z.comment=s.comment; z.writestr('bovantis.gbk', g[:len(g)//2])",
                                 archiv, gekuerzt}),
              0);
    TfrmRestore dlg;
    bool beendet = false;
    dlg.ProgrammBeenden = [&] { beendet = true; };
    dlg.show();
    int protokolle = 0;
    QTimer schliessen;
    QObject::connect(&schliessen, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (w && w->objectName() == "frmProtokoll") {
            ++protokolle;
            static_cast<QDialog*>(w)->accept();
        }
    });
    schliessen.start(20);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    Ausfuehren(dlg, gekuerzt);
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(
        boxen.Shown()[1].text,
        "Es ist ein Fehler bei der Rücksicherung aufgetreten.\rIm Protokoll finden Sie Details.");
    EXPECT_EQ(protokolle, 1);
    EXPECT_FALSE(beendet);
    ASSERT_NE(DM(), nullptr);
    ASSERT_NE(Einstellungen(), nullptr);
    EXPECT_EQ(Tiere(), 1);
}

TEST_F(RuecksicherungFensterTest, ChecksBeforeTheRestoreStopIt)
{
    QProcess::execute("python3", {"-c",
                                  "import zipfile,sys\n"
                                  "with zipfile.ZipFile(sys.argv[1],'w') as z:\n"
                                  "  z.comment=b'fremd'; z.writestr('bovantis.gbk','x')",
                                  tmp.filePath("fremd.zip")});
    QFile::copy(archiv, tmp.filePath("sicherung.txt"));
    struct Fall {
        QString datei;
        std::uint16_t antwort;
        QString meldung;
    };
    const Fall faelle[] = {
        {tmp.filePath("fehlt.zip"), Tools::mrOk, "Die angegebene Sicherungsdatei existiert nicht"},
        {tmp.filePath("sicherung.txt"), Tools::mrNo, "Grund: Falsche Erweiterung"},
        {tmp.filePath("fremd.zip"), Tools::mrNo, "Grund: Fehlender oder falscher Kommentar"},
        {archiv, Tools::mrNo, "Soll die Rücksicherung gestartet werden?"},
    };
    TfrmRestore dlg;
    dlg.show();
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.datei.toStdString());
        MessageBoxScript boxen;
        boxen.AnswerWith(f.antwort);
        Ausfuehren(dlg, f.datei);
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_TRUE(boxen.Shown()[0].text.contains(f.meldung))
            << boxen.Shown()[0].text.toStdString();
        EXPECT_EQ(Tiere(), 1);
        EXPECT_TRUE(dlg.findChild<QPushButton*>("btnAusfuehren")->isEnabled());
    }
}

}  // namespace
