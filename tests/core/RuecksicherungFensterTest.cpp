#include <ProgrammDatenbank.h>

#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <SicherungFenster.h>

#include <MessageBoxScript.h>
#include <ScopedEnv.h>

#include <Database.h>
#include <Query.h>
#include <Transaction.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "ProtokollSchliessen.h"

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
    static void Schreiben(const QString& sql)
    {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        db::Query(tr, sql).Execute();
        tr.Commit();
    }
    // Restores a backup whose data stand at 1.<unterversion>; the update offer is declined.
    void AndereVersionRuecksichern(int unterversion, const QString& meldung);
    // Restores with the settings of a backup that name another database.
    void AndereDatenbankRuecksichern(std::uint16_t antwort);

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
    ProtokollSchliessen protokolle;
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    Ausfuehren(dlg, gekuerzt);
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[1].text,
              "Es ist ein Fehler bei der Rücksicherung aufgetreten:\rDie Datenbank in der "
              "Sicherung ist beschädigt und kann nicht rückgesichert werden; die Datenbank bleibt "
              "unverändert.\rIm Protokoll finden Sie Details.");
    EXPECT_EQ(protokolle.gezeigt, 1);
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

void RuecksicherungFensterTest::AndereVersionRuecksichern(int unterversion, const QString& meldung)
{
    Schreiben(QStringLiteral("UPDATE T_EINSTELLUNGEN SET WERT = '%1' WHERE NAME = "
                             "'Unterversion'")
                  .arg(unterversion));
    TBackupRestore br;
    SicherungEinrichten(br, *Einstellungen());
    br.Archiv = tmp.filePath("andere-version.zip");
    br.Sichern();
    Schreiben("UPDATE T_EINSTELLUNGEN SET WERT = '29' WHERE NAME = 'Unterversion'");

    TfrmRestore dlg;
    bool beendet = false;
    dlg.ProgrammBeenden = [&] { beendet = true; };
    QString installer;
    dlg.UpdateDatei = &installer;
    dlg.show();
    ProtokollSchliessen protokolle;
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    Ausfuehren(dlg, br.Archiv);
    // The copy is refused before it replaces anything: the program goes on with its data.
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[1].text, "Es ist ein Fehler bei der Rücksicherung aufgetreten:\r" +
                                         meldung + "\rIm Protokoll finden Sie Details.");
    EXPECT_EQ(protokolle.gezeigt, 1);
    EXPECT_FALSE(beendet);
    EXPECT_TRUE(installer.isEmpty());
    ASSERT_NE(DM(), nullptr);
    ASSERT_NE(Einstellungen(), nullptr);
    EXPECT_TRUE(DM()->Verbunden());
    EXPECT_EQ(Tiere(), 1);
    db::Transaction tr(DM()->Datenbank);
    tr.Start();
    db::Query q(tr, "SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Unterversion'");
    q.Open();
    EXPECT_EQ(q.Field(0).AsString().trimmed(), "29");
    tr.Commit();
}

TEST_F(RuecksicherungFensterTest, RestoredDataNewerThanTheProgramAreRefused)
{
    AndereVersionRuecksichern(30,
                              "Die Sicherung stammt von einer neueren Programmversion "
                              "(Datenbankversion 1.30, dieses Programm arbeitet mit 1.29). "
                              "Sie kann erst nach einem Update des Programms rückgesichert "
                              "werden; die Datenbank bleibt unverändert.");
}

// The program's own update archive holds no scripts for the versions before 1.27.
TEST_F(RuecksicherungFensterTest, RestoredDataOlderThanTheUpdatesAreRefused)
{
    AndereVersionRuecksichern(26,
                              "Die Sicherung hat die Datenbankversion 1.26; für sie gibt es "
                              "kein Datenupdate auf die Version 1.29 (upd-1-26-1-27-1.sql "
                              "fehlt). Die Datenbank bleibt unverändert.");
}

// The program's own update archive holds the step from 1.27: a backup of that version is restored
// and brought to the program's version before the program goes on with it.
TEST_F(RuecksicherungFensterTest, RestoredDataOfTheVersionBeforeAreUpdatedByTheShippedArchive)
{
    DM()->Trennen();
    {
        db::Database d;
        d.Open(TestDatabase::Params(datenbank.pfad));
        SchemaVersion127(d);
    }
    ASSERT_TRUE(DM()->Verbinden());
    TBackupRestore br;
    SicherungEinrichten(br, *Einstellungen());
    br.Archiv = tmp.filePath("version-127.zip");
    br.Sichern();
    Schreiben("DELETE FROM T_STAMMDATEN");

    TfrmRestore dlg;
    bool beendet = false;
    dlg.ProgrammBeenden = [&] { beendet = true; };
    dlg.show();
    ProtokollSchliessen protokolle;
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    Ausfuehren(dlg, br.Archiv);
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[1].text, "Die Rücksicherung ist erfolgreich durchgeführt worden.");
    EXPECT_EQ(protokolle.gezeigt, 0);
    EXPECT_FALSE(beendet);
    ASSERT_NE(DM(), nullptr);
    EXPECT_TRUE(DM()->Verbunden());
    EXPECT_EQ(Tiere(), 1);
    db::Transaction tr(DM()->Datenbank);
    tr.Start();
    db::Query q(tr,
                "SELECT (SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Unterversion'), "
                "(SELECT COUNT(*) FROM RDB$RELATION_CONSTRAINTS WHERE RDB$CONSTRAINT_NAME = "
                "'I_STAMMDATEN_NUMMER_NUM') FROM RDB$DATABASE");
    q.Open();
    EXPECT_EQ(q.Field(0).AsString().trimmed(), "29");
    EXPECT_EQ(q.Field(1).AsInteger(), 1);
    tr.Commit();
}

void RuecksicherungFensterTest::AndereDatenbankRuecksichern(std::uint16_t antwort)
{
    const QString diese = datenbank.pfad;
    // A new database only in the data folder.
    const QString andere = tmp.filePath("Bovantis/Andere.fdb");
    ASSERT_TRUE(QDir().mkpath(tmp.filePath("ini")));
    const QString iniAlt = Einstellungen()->IniDateipfad();
    const QString ini = tmp.filePath("ini/") + Einstellungen()->IniDateiname();
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Datenbank]\nName=" + andere.toUtf8() + "\n[Zustand]\nAusDerSicherung=1\n");
    }
    // The backup holds one animal, this database two.
    TBackupRestore br;
    SicherungEinrichten(br, *Einstellungen());
    br.IniDatei = ini;
    br.Archiv = tmp.filePath("andere-datenbank.zip");
    br.Sichern();
    Schreiben(
        "INSERT INTO T_STAMMDATEN (ID, NUMMER, GEBDAT, GESCHLECHT, RASSE) VALUES "
        "(2, 'DE 01 000 00002', DATE '2020-01-01', 'W', 1)");

    TfrmRestore dlg;
    bool beendet = false;
    dlg.ProgrammBeenden = [&] { beendet = true; };
    dlg.show();
    dlg.MitIni()->setChecked(true);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(antwort);
    if (antwort != Tools::mrCancel)
        boxen.AnswerWith(Tools::mrOk);
    Ausfuehren(dlg, br.Archiv);
    EXPECT_EQ(boxen.Pending(), 0);
    ASSERT_GE(boxen.Shown().size(), 2);
    EXPECT_TRUE(boxen.Shown()[1].text.contains("\r" + andere + ",\r"))
        << boxen.Shown()[1].text.toStdString();
    EXPECT_TRUE(boxen.Shown()[1].text.contains("\r" + diese + ".\r"));
    EXPECT_EQ(boxen.Shown()[1].buttons, Tools::mbYesNoCancel);
    EXPECT_FALSE(beendet);
    ASSERT_NE(DM(), nullptr);
    ASSERT_NE(Einstellungen(), nullptr);
    EXPECT_TRUE(DM()->Verbunden());

    const auto tiereIn = [](const QString& pfad) {
        db::Database d;
        d.Open(TestDatabase::Params(pfad));
        db::Transaction tr(d);
        tr.Start();
        db::Query q(tr, "SELECT COUNT(*) FROM T_STAMMDATEN");
        q.Open();
        return q.Field(0).AsInteger();
    };
    const QString iniText = [&] {
        QFile f(iniAlt);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }();
    if (antwort == Tools::mrYes) {
        EXPECT_EQ(Einstellungen()->GetDatenbankName(), andere);
        EXPECT_EQ(Tiere(), 1);
        EXPECT_EQ(tiereIn(diese), 2);
        EXPECT_TRUE(iniText.contains("AusDerSicherung=1"));
    } else if (antwort == Tools::mrNo) {
        EXPECT_EQ(Einstellungen()->GetDatenbankName(), diese);
        EXPECT_EQ(Tiere(), 1);
        EXPECT_FALSE(QFile::exists(andere));
        EXPECT_TRUE(iniText.contains("AusDerSicherung=1"));
    } else {
        EXPECT_EQ(boxen.Shown().size(), 2);
        EXPECT_EQ(Einstellungen()->GetDatenbankName(), diese);
        EXPECT_EQ(Tiere(), 2);
        EXPECT_FALSE(QFile::exists(andere));
        EXPECT_FALSE(iniText.contains("AusDerSicherung"));
        EXPECT_TRUE(dlg.findChild<QPushButton*>("btnAusfuehren")->isEnabled());
    }
}

TEST_F(RuecksicherungFensterTest, SettingsNamingAnotherDatabaseRestoreIntoIt)
{
    AndereDatenbankRuecksichern(Tools::mrYes);
}

TEST_F(RuecksicherungFensterTest, SettingsNamingAnotherDatabaseAreMadeToNameThisOne)
{
    AndereDatenbankRuecksichern(Tools::mrNo);
}

TEST_F(RuecksicherungFensterTest, SettingsNamingAnotherDatabaseCancelTheRestore)
{
    AndereDatenbankRuecksichern(Tools::mrCancel);
}

}  // namespace
