#include "KleinesDateisystem.h"

#include <BackupRestore.h>

#include <IniDatei.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

QByteArray Lesen(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Schreiben(const QString& pfad, const QByteArray& inhalt)
{
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}

QString Python(const QString& skript, const QStringList& argumente)
{
    QProcess p;
    p.start(QStringLiteral("python3"), QStringList{QStringLiteral("-c"), skript} + argumente);
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// Copies the archive with the declared (uncompressed) size of one member set to groesse in its
// local and its central header, as a crafted archive would declare it.
void GroesseVortaeuschen(const QString& quelle, const QString& ziel, const QString& mitglied,
                         qint64 groesse)
{
    Python(
        "import zipfile,sys,struct\n"
        "src,dst,name,size=sys.argv[1],sys.argv[2],sys.argv[3],int(sys.argv[4])\n"
        "s=zipfile.ZipFile(src)\n"
        "with zipfile.ZipFile(dst,'w',zipfile.ZIP_DEFLATED) as z:\n"
        "  z.comment=s.comment\n"
        "  for n in s.namelist(): z.writestr(n, s.read(n))\n"
        "b=bytearray(open(dst,'rb').read())\n"
        "struct.pack_into('<I',b,zipfile.ZipFile(dst).getinfo(name).header_offset+22,size)\n"
        "i=b.find(b'PK\\x01\\x02')\n"
        "while i>=0:\n"
        "  nl=struct.unpack_from('<H',b,i+28)[0]\n"
        "  if b[i+46:i+46+nl].decode()==name: struct.pack_into('<I',b,i+24,size)\n"
        "  i=b.find(b'PK\\x01\\x02',i+4)\n"
        "open(dst,'wb').write(b)",
        {quelle, ziel, mitglied, QString::number(groesse)});
}

// The archive with the settings member replaced by the text.
void IniErsetzen(const QString& quelle, const QString& ziel, const QByteArray& ini)
{
    Python(
        "import zipfile,sys\n"
        "s=zipfile.ZipFile(sys.argv[1])\n"
        "with zipfile.ZipFile(sys.argv[2],'w') as z:\n"
        "  z.comment=s.comment; z.writestr('bovantis.gbk', s.read('bovantis.gbk'))\n"
        "  z.writestr('Bovantis.ini', sys.argv[3])",
        {quelle, ziel, QString::fromUtf8(ini)});
}

void Ausfuehren(const QString& pfad, const QString& sql)
{
    db::Database d;
    d.Open(TestDatabase::Params(pfad));
    db::ScriptRunner(d).Run(sql);
    d.Close();
}

// Side files of restores and backups beside the file.
QStringList Seitendateien(const QString& ordner)
{
    return QDir(ordner).entryList({"*.rueckladen-*", "*.sichern-*"}, QDir::Files | QDir::Hidden);
}

// A lock file as a process leaves it that was killed while holding it.
void VerwaisteSperre(const QString& pfad)
{
    {
        QLockFile sperre(pfad);
        ASSERT_TRUE(sperre.tryLock(0));
        sperre.unlock();
    }
    QProcess beendet;
    beendet.start("true", QStringList());
    ASSERT_TRUE(beendet.waitForStarted());
    const qint64 pid = beendet.processId();
    ASSERT_TRUE(beendet.waitForFinished());
    QLockFile sperre(pfad);
    ASSERT_TRUE(sperre.tryLock(0));
    // The lock's first line is its process: one that has ended.
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QList<QByteArray> zeilen = f.readAll().split('\n');
    f.close();
    zeilen[0] = QByteArray::number(pid);
    sperre.unlock();
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(zeilen.join('\n'));
}

// Every row of every user table, in a fixed order: the whole content of the database.
QStringList Inhalt(const QString& pfad)
{
    db::Database d;
    d.Open(TestDatabase::Params(pfad));
    db::Transaction tr(d);
    tr.Start();
    QStringList tabellen;
    db::Query t(tr, QStringLiteral("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE "
                                   "COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND RDB$VIEW_BLR IS NULL "
                                   "ORDER BY 1"));
    for (t.Open(); !t.Eof(); t.Next())
        tabellen << t.Field(0).AsString();
    QStringList zeilen;
    for (const QString& tabelle : tabellen) {
        db::Query q(tr, QStringLiteral("SELECT * FROM \"%1\"").arg(tabelle));
        QStringList tabZeilen;
        for (q.Open(); !q.Eof(); q.Next()) {
            QStringList felder;
            for (const db::Value& v : q.Row())
                felder << (v.IsNull() ? QStringLiteral("<null>") : v.AsString());
            tabZeilen << tabelle + QLatin1Char('|') + felder.join(QLatin1Char('|'));
        }
        tabZeilen.sort();
        zeilen << tabZeilen;
    }
    tr.Commit();
    d.Close();
    return zeilen;
}

class BackupRestoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db::ScriptRunner(t.Db()).Run(QStringLiteral(
            "CREATE TABLE T_PRUEF (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(40), "
            "BETRAG NUMERIC(12,2), TAG DATE, NOTIZ BLOB SUB_TYPE TEXT);\n"));
        QString script;
        for (int i = 1; i <= 300; ++i)
            script += QStringLiteral(
                          "INSERT INTO T_PRUEF VALUES (%1, 'Kuh %1 Größe', %1.25, "
                          "DATE '2026-01-01' + %1, 'Notiz ''%1''');\n")
                          .arg(i);
        script += QStringLiteral("INSERT INTO T_PRUEF VALUES (0, NULL, NULL, NULL, NULL);\n");
        db::ScriptRunner(t.Db()).Run(script);
        t.Db().Close();
        ini = dir.filePath("Bovantis.ini");
        Schreiben(ini, "[Datenbank]\nName=" + t.Path().toUtf8() + "\n[Palm]\nHotsyncAction=1\n");
        br.SetDatenbank(t.Path());
        br.IniDatei = ini;
        br.IniDateiname = "Bovantis.ini";
        br.Sicherungsverzeichnis = dir.filePath("sicherung");
    }

    void Aendern()
    {
        db::Database d;
        d.Open(TestDatabase::Params(t.Path()));
        db::ScriptRunner(d).Run(
            QStringLiteral("DELETE FROM T_PRUEF WHERE ID < 100;\n"
                           "UPDATE T_PRUEF SET NAME = 'geändert';\n"));
        d.Close();
        Schreiben(ini, "[Datenbank]\nName=neu\n");
    }

    TestDatabase t;
    QTemporaryDir dir;
    QString ini;
    TBackupRestore br;
};

TEST_F(BackupRestoreTest, RoundTripRestoresEveryRowAndTheIniFile)
{
    const QStringList vorher = Inhalt(t.Path());
    ASSERT_GT(vorher.size(), 300);
    const QByteArray iniVorher = Lesen(ini);
    QStringList fortschritt;
    br.OnFortschritt = [&](const QString& s) { fortschritt << s; };
    br.Sichern();
    EXPECT_TRUE(br.Archiv.startsWith(dir.filePath("sicherung/")));
    EXPECT_EQ(fortschritt.first(), "Backup ausführen  ");
    EXPECT_EQ(fortschritt.last(), "Fertig");
    // One dot for every hundred lines of the engine's output.
    EXPECT_EQ(fortschritt.count("..."), br.Protokoll.size() / 100);

    // The archive as another reader sees it.
    const QString aus = Python(
        "import zipfile,sys\n"
        "z=zipfile.ZipFile(sys.argv[1]); assert z.testzip() is None\n"
        "print(z.comment.decode()); print(sorted(z.namelist()))\n"
        "print(z.read('Bovantis.ini').decode())",
        {br.Archiv});
    EXPECT_TRUE(
        aus.startsWith("ZR Bovantis Sicherung, Erstellt: " + TIniDatei::DatumZeitText(br.Erstellt) +
                       "\n['Bovantis.ini', 'bovantis.gbk']"))
        << aus.toStdString();
    EXPECT_TRUE(aus.endsWith(QString::fromUtf8(iniVorher).trimmed()));

    Aendern();
    ASSERT_NE(Inhalt(t.Path()), vorher);

    TBackupRestore r;
    r.SetDatenbank(t.Path());
    r.IniDatei = ini;
    r.IniDateiname = "bovantis.INI";  // members are found without regard to case
    r.Archiv = br.Archiv;
    int entpackt = 0, fertig = 0;
    r.OnNachEntpacken = [&] { ++entpackt; };
    r.OnNachRuecksicherung = [&] { ++fertig; };
    r.Ruecksichern(true);
    EXPECT_EQ(entpackt, 1);
    EXPECT_EQ(fertig, 1);
    EXPECT_EQ(Inhalt(t.Path()), vorher);
    TIniDatei zurueck(ini);
    EXPECT_EQ(zurueck.LesenString("Datenbank", "Name", {}), t.Path());
    EXPECT_EQ(zurueck.LesenString("Palm", "HotsyncAction", {}), "3");
}

TEST_F(BackupRestoreTest, WithoutIniOnlyTheDatabaseIsRestored)
{
    const QStringList vorher = Inhalt(t.Path());
    br.Sichern();
    Aendern();
    TBackupRestore r;
    r.SetDatenbank(t.Path());
    r.IniDatei = ini;
    r.IniDateiname = "Bovantis-maier.ini";
    r.Archiv = br.Archiv;
    r.Ruecksichern(false);
    EXPECT_EQ(Inhalt(t.Path()), vorher);
    TIniDatei zurueck(ini);
    EXPECT_EQ(zurueck.LesenString("Datenbank", "Name", {}), "neu");
    EXPECT_EQ(zurueck.LesenString("Palm", "HotsyncAction", {}), "3");
}

// Database and INI file stay as they were, whatever is wrong with the archive.
TEST_F(BackupRestoreTest, BrokenArchiveLeavesDatabaseAndIniUnchanged)
{
    br.Sichern();
    Aendern();
    const QStringList vorher = Inhalt(t.Path());
    const QByteArray iniVorher = Lesen(ini);

    // A gbk cut short inside a valid zip: found only by the engine's restore.
    const QString gekuerzt = dir.filePath("gekuerzt.zip");
    Python(
        "import zipfile,sys\n"
        "s=zipfile.ZipFile(sys.argv[1]); g=s.read('bovantis.gbk')\n"
        "with zipfile.ZipFile(sys.argv[2],'w',zipfile.ZIP_DEFLATED) as z:\n"
        "  z.comment=s.comment; z.writestr('bovantis.gbk', g[:len(g)*2//3])\n"
        "  z.writestr('Bovantis.ini', '[Palm]\\nHotsyncAction=1\\n')",
        {br.Archiv, gekuerzt});
    // Damaged compressed data: found while extracting.
    const QString beschaedigt = dir.filePath("beschaedigt.zip");
    QFile::copy(br.Archiv, beschaedigt);
    {
        QFile f(beschaedigt);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(f.size() / 2);
        f.write(QByteArray(256, '\x5a'));
    }
    // Settings of another workstation's database.
    const QString fremdeIni = dir.filePath("fremde-ini.zip");
    Python(
        "import zipfile,sys\n"
        "s=zipfile.ZipFile(sys.argv[1])\n"
        "with zipfile.ZipFile(sys.argv[2],'w') as z:\n"
        "  z.comment=s.comment; z.writestr('bovantis.gbk', s.read('bovantis.gbk'))\n"
        "  z.writestr('Bovantis.ini', '[Datenbank]\\nName=/srv/andere.fdb\\n')",
        {br.Archiv, fremdeIni});
    // No database member at all.
    const QString ohneGbk = dir.filePath("ohne.zip");
    Python(
        "import zipfile,sys\n"
        "with zipfile.ZipFile(sys.argv[1],'w') as z: z.writestr('Bovantis.ini','x')",
        {ohneGbk});

    for (const QString& archiv : {gekuerzt, beschaedigt, fremdeIni, ohneGbk}) {
        SCOPED_TRACE(archiv.toStdString());
        TBackupRestore r;
        r.SetDatenbank(t.Path());
        r.IniDatei = ini;
        r.IniDateiname = "Bovantis.ini";
        r.Archiv = archiv;
        try {
            r.Ruecksichern(true);
            ADD_FAILURE() << "restore succeeded";
        } catch (const EBackupError& e) {
            EXPECT_FALSE(e.Beenden) << e.what();
        }
        EXPECT_EQ(Inhalt(t.Path()), vorher);
        EXPECT_EQ(Lesen(ini), iniVorher);
        EXPECT_EQ(QDir(dir.path()).entryList({"*.gbk"}, QDir::Files), QStringList());
    }
}

TEST_F(BackupRestoreTest, IniMemberOfAnotherUserIsMissingBeforeAnythingHappens)
{
    br.Sichern();
    TBackupRestore r;
    r.SetDatenbank(t.Path());
    r.IniDatei = ini;
    r.IniDateiname = "Bovantis-maier.ini";
    r.Archiv = br.Archiv;
    bool entpackt = false;
    r.OnNachEntpacken = [&] { entpackt = true; };
    try {
        r.Ruecksichern(true);
        FAIL();
    } catch (const EBackupError& e) {
        EXPECT_STREQ(e.what(), "Das Backup enthält nicht alle notwendigen Dateien");
        EXPECT_FALSE(e.Beenden);
        EXPECT_TRUE(e.Melden);
    }
    EXPECT_FALSE(entpackt);
}

TEST_F(BackupRestoreTest, FailedBackupKeepsTheOlderArchive)
{
    br.Archiv = dir.filePath("alt.zip");
    Schreiben(br.Archiv, "die alte Sicherung");
    br.SetDatenbank(dir.filePath("gibt-es-nicht.fdb"));
    EXPECT_THROW(br.Sichern(), EBackupError);
    EXPECT_EQ(Lesen(br.Archiv), "die alte Sicherung");
}

TEST_F(BackupRestoreTest, RemoteServerIsRefusedWithAMessage)
{
    br.SetDatenbank("dbserver:/srv/bovantis.fdb");
    EXPECT_EQ(br.Server(), "dbserver");
    EXPECT_EQ(br.Datenbankpfad(), "/srv/bovantis.fdb");
    br.Archiv = dir.filePath("x.zip");
    EXPECT_THROW(br.Sichern(), EBackupError);
    EXPECT_FALSE(QFile::exists(br.Archiv));
}

TEST_F(BackupRestoreTest, ArchiveCheck)
{
    br.Sichern();
    Schreiben(dir.filePath("text.zip"), "PK nichts");
    Python(
        "import zipfile,sys\n"
        "with zipfile.ZipFile(sys.argv[1],'w') as z:\n"
        "  z.comment=b'Eine andere Sicherung'; z.writestr('a','b')\n"
        "zipfile.ZipFile(sys.argv[2],'w').close()",
        {dir.filePath("fremd.zip"), dir.filePath("leer.zip")});
    struct Fall {
        QString datei;
        int ergebnis;
    };
    const Fall faelle[] = {{br.Archiv, 0},
                           {dir.filePath("text.zip"), 1},
                           {dir.filePath("leer.zip"), 1},
                           {dir.filePath("fehlt.zip"), 1},
                           {dir.filePath("fremd.zip"), 2}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.datei.toStdString());
        QString kommentar = "vorher";
        EXPECT_EQ(TBackupRestore::PruefeSicherungsdatei(f.datei, kommentar), f.ergebnis);
        EXPECT_EQ(kommentar, f.ergebnis == 0 ? "ZR Bovantis Sicherung, Erstellt: " +
                                                   TIniDatei::DatumZeitText(br.Erstellt)
                                             : QString());
    }
}

// A copy that this program cannot bring to its database version never replaces the database.
TEST_F(BackupRestoreTest, RestoredCopyOfAnotherVersionIsRefusedAndTheDatabaseStays)
{
    const QString original = dir.filePath("original.fdb");
    ASSERT_TRUE(QFile::copy(t.Path(), original));
    // An update archive with the steps from 1.26 on, and one that lacks the last of them.
    const QString updates = dir.filePath("dbupd.db");
    const QString ohneLetzten = dir.filePath("ohne-letzten.db");
    Python(
        "import zipfile,sys\n"
        "with zipfile.ZipFile(sys.argv[1],'w') as z:\n"
        "  z.writestr('upd-1-26-1-27-1.sql',''); z.writestr('upd-1-27-1-28-1.sql','')\n"
        "  z.writestr('upd-1-28-1-29-1.sql','')\n"
        "with zipfile.ZipFile(sys.argv[2],'w') as z:\n"
        "  z.writestr('upd-1-26-1-27-1.sql',''); z.writestr('upd-1-27-1-28-1.sql','')",
        {updates, ohneLetzten});
    struct Fall {
        const char* name;
        QString sql;
        QString updateArchiv;
        QString meldung;  // empty: the restore is accepted
    };
    const Fall faelle[] = {
        {"neuer", "UPDATE T_EINSTELLUNGEN SET WERT = '30' WHERE NAME = 'Unterversion';\n", updates,
         "Die Sicherung stammt von einer neueren Programmversion (Datenbankversion 1.30, dieses "
         "Programm arbeitet mit 1.29)."},
        {"neuere Hauptversion", "UPDATE T_EINSTELLUNGEN SET WERT = '2' WHERE NAME = 'Version';\n",
         updates, "Die Sicherung stammt von einer neueren Programmversion (Datenbankversion 2.29"},
        {"aelter ohne Update",
         "UPDATE T_EINSTELLUNGEN SET WERT = '25' WHERE NAME = 'Unterversion';\n", updates,
         "Die Sicherung hat die Datenbankversion 1.25; für sie gibt es kein Datenupdate auf die "
         "Version 1.29 (upd-1-25-1-26-1.sql fehlt)."},
        {"aelter ohne letzten Schritt",
         "UPDATE T_EINSTELLUNGEN SET WERT = '26' WHERE NAME = 'Unterversion';\n", ohneLetzten,
         "Die Sicherung hat die Datenbankversion 1.26; für sie gibt es kein Datenupdate auf die "
         "Version 1.29 (upd-1-28-1-29-1.sql fehlt)."},
        {"aelter ohne Archiv",
         "UPDATE T_EINSTELLUNGEN SET WERT = '26' WHERE NAME = 'Unterversion';\n",
         dir.filePath("fehlt.db"), "(upd-1-26-1-27-1.sql fehlt)"},
        {"fremde Datenbank", "DELETE FROM T_EINSTELLUNGEN WHERE NAME = 'Version';\n", updates,
         "Die Sicherung enthält keine Datenbank von ZR Bovantis"},
        {"aelter mit Update",
         "UPDATE T_EINSTELLUNGEN SET WERT = '26' WHERE NAME = 'Unterversion';\n",
         updates,
         {}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Ausfuehren(t.Path(), f.sql);
        br.Archiv = dir.filePath(QString::fromUtf8(f.name) + ".zip");
        br.Sichern();
        const QStringList gesichert = Inhalt(t.Path());
        ASSERT_TRUE(QFile::remove(t.Path()) && QFile::copy(original, t.Path()));
        Aendern();
        const QStringList vorher = Inhalt(t.Path());

        TBackupRestore r;
        r.SetDatenbank(t.Path());
        r.IniDatei = ini;
        r.IniDateiname = "Bovantis.ini";
        r.Archiv = br.Archiv;
        r.UpdateArchiv = f.updateArchiv;
        if (f.meldung.isEmpty()) {
            r.Ruecksichern(false);
            EXPECT_EQ(Inhalt(t.Path()), gesichert);
        } else {
            try {
                r.Ruecksichern(false);
                ADD_FAILURE() << "restore succeeded";
            } catch (const EBackupError& e) {
                EXPECT_TRUE(QString::fromUtf8(e.what()).contains(f.meldung)) << e.what();
                EXPECT_FALSE(e.Beenden);
                EXPECT_TRUE(e.Melden);
            }
            EXPECT_EQ(Inhalt(t.Path()), vorher);
        }
        EXPECT_EQ(Seitendateien(QFileInfo(t.Path()).absolutePath()), QStringList());
        ASSERT_TRUE(QFile::remove(t.Path()) && QFile::copy(original, t.Path()));
    }
}

// Settings in a backup may send the restore only into a database of this program or into a new
// file of the data folder, never over another file.
TEST_F(BackupRestoreTest, SettingsMayNameOnlyADatabaseOfThisProgramOrANewFileInTheDataFolder)
{
    br.Sichern();
    const QStringList gesichert = Inhalt(t.Path());
    const QString daten = dir.filePath("daten");
    ASSERT_TRUE(QDir().mkpath(daten) && QDir().mkpath(dir.filePath("anderswo")));
    const QString text = dir.filePath("notizen.txt");
    Schreiben(text, "Meine Notizen\n");
    const QString zweite = dir.filePath("anderswo/zweite.fdb");
    ASSERT_TRUE(QFile::copy(t.Path(), zweite));
    Ausfuehren(zweite, "DELETE FROM T_PRUEF;\n");
    const QString verweis = dir.filePath("verweis.fdb");
    ASSERT_TRUE(QFile::link(text, verweis));
    struct Fall {
        QString ziel;
        QString meldung;  // empty: restored into the target
    };
    const Fall faelle[] = {
        {text, "ist keine Datenbank von ZR Bovantis; sie wird nicht überschrieben."},
        {verweis, "ist keine Datenbank von ZR Bovantis"},
        {"relativ.fdb", "ohne vollständigen Pfad"},
        {"../relativ.fdb", "ohne vollständigen Pfad"},
        {dir.filePath("anderswo/neu.fdb"),
         "Eine neue Datenbank wird nur im Datenverzeichnis " + daten + " angelegt."},
        {daten + "/../anderswo/neu.fdb", "Eine neue Datenbank wird nur im Datenverzeichnis"},
        {daten + "/Neu.fdb", {}},
        {zweite, {}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.ziel.toStdString());
        const QString archiv = dir.filePath("ziel.zip");
        QFile::remove(archiv);
        IniErsetzen(br.Archiv, archiv, "[Datenbank]\nName=" + f.ziel.toUtf8() + "\n");
        const QByteArray iniVorher = Lesen(ini);
        TBackupRestore r;
        r.SetDatenbank(t.Path());
        r.IniDatei = ini;
        r.IniDateiname = "Bovantis.ini";
        r.Datenverzeichnis = daten + "/";
        r.Archiv = archiv;
        r.OnAndereDatenbank = [](const QString&, const QString&) {
            return TBackupRestore::Ziel::Sicherung;
        };
        bool entpackt = false;
        r.OnNachEntpacken = [&] { entpackt = true; };
        if (f.meldung.isEmpty()) {
            r.Ruecksichern(true);
            EXPECT_EQ(Inhalt(f.ziel), gesichert);
            EXPECT_EQ(TIniDatei(ini).LesenString("Datenbank", "Name", {}), f.ziel);
            Schreiben(ini, iniVorher);
            continue;
        }
        try {
            r.Ruecksichern(true);
            ADD_FAILURE() << "restore succeeded";
        } catch (const EBackupError& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(f.meldung)) << e.what();
            EXPECT_FALSE(e.Beenden);
        }
        EXPECT_FALSE(entpackt);
        EXPECT_EQ(Lesen(ini), iniVorher);
        EXPECT_EQ(Lesen(text), "Meine Notizen\n");
        EXPECT_FALSE(QFile::exists(dir.filePath("anderswo/neu.fdb")));
        EXPECT_FALSE(QFile::exists(QDir::current().filePath("relativ.fdb")));
        EXPECT_FALSE(QFile::exists(QDir::current().filePath("../relativ.fdb")));
    }
}

// The older archive of the name stays whole until the new one is complete.
TEST_F(BackupRestoreTest, FailedZipStepKeepsTheOlderArchiveOfTheSameName)
{
    const QByteArray alt = "die alte Sicherung";
    {
        SCOPED_TRACE("the settings file cannot be read");
        br.Archiv = dir.filePath("sicherung/alt.zip");
        ASSERT_TRUE(QDir().mkpath(dir.filePath("sicherung")));
        Schreiben(br.Archiv, alt);
        br.IniDatei = dir.filePath("fehlt.ini");
        EXPECT_THROW(br.Sichern(), EBackupError);
        EXPECT_EQ(Lesen(br.Archiv), alt);
        EXPECT_EQ(Seitendateien(dir.filePath("sicherung")), QStringList());
        br.IniDatei = ini;
    }
    {
        SCOPED_TRACE("the disk is full");
        // With the filling, room for the old archive and half the new one; without it, room for
        // the new one twice (the zip library rewrites the archive for its comment).
        br.Archiv = dir.filePath("probe.zip");
        br.Sichern();
        const qint64 groesse = QFileInfo(br.Archiv).size();
        ASSERT_GT(groesse, 64 * 1024);
        const qint64 seite = 4096;
        KleinesDateisystem klein(2 * groesse + 8 * seite);
        if (!klein.Bereit())
            GTEST_SKIP() << "kein tmpfs für den vollen Datenträger (nur als root)";
        br.Archiv = klein.Datei("alt.zip");
        Schreiben(br.Archiv, alt);
        Schreiben(klein.Datei("fuellung"), QByteArray(3 * groesse / 2 + 6 * seite, 'x'));
        EXPECT_THROW(br.Sichern(), EBackupError);
        EXPECT_EQ(Lesen(br.Archiv), alt);
        EXPECT_EQ(Seitendateien(klein.Pfad()), QStringList());
        // With room the archive takes the old one's place.
        ASSERT_TRUE(QFile::remove(klein.Datei("fuellung")));
        br.Sichern();
        QString kommentar;
        EXPECT_EQ(TBackupRestore::PruefeSicherungsdatei(br.Archiv, kommentar), 0);
    }
}

// The archive holds the data and the administrator password: it is no more readable than the
// database file.
TEST_F(BackupRestoreTest, ArchiveGetsTheDatabaseFilesPermissions)
{
    for (const mode_t modus : {mode_t(0600), mode_t(0640), mode_t(0660)}) {
        SCOPED_TRACE(modus);
        ASSERT_EQ(::chmod(QFile::encodeName(t.Path()).constData(), modus), 0);
        br.Archiv = dir.filePath(QStringLiteral("rechte-%1.zip").arg(modus, 0, 8));
        br.Sichern();
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(br.Archiv).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, modus);
    }
}

// Declared sizes are checked before anything is written, and the message names the cause.
TEST_F(BackupRestoreTest, OversizedMembersAreRefusedBeforeAnythingIsWritten)
{
    br.Sichern();
    Aendern();
    const QStringList vorher = Inhalt(t.Path());
    const QByteArray iniVorher = Lesen(ini);
    const auto refused = [&](const QString& archiv, bool mitIni, const QString& meldung) {
        TBackupRestore r;
        r.SetDatenbank(t.Path());
        r.IniDatei = ini;
        r.IniDateiname = "Bovantis.ini";
        r.Archiv = archiv;
        bool entpackt = false;
        r.OnNachEntpacken = [&] { entpackt = true; };
        try {
            r.Ruecksichern(mitIni);
            ADD_FAILURE() << "restore succeeded";
        } catch (const EBackupError& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(meldung)) << e.what();
            EXPECT_FALSE(e.Beenden);
        }
        EXPECT_FALSE(entpackt);
        EXPECT_EQ(Inhalt(t.Path()), vorher);
        EXPECT_EQ(Lesen(ini), iniVorher);
    };
    {
        SCOPED_TRACE("a settings file of 2 GiB");
        const QString gross = dir.filePath("gross.zip");
        GroesseVortaeuschen(br.Archiv, gross, "Bovantis.ini", qint64(2) << 30);
        refused(gross, true,
                "Die Rechner-Einstellungen \"Bovantis.ini\" in der Sicherung sind zu groß (2,00 "
                "GiB, erlaubt sind höchstens 16,00 MiB)");
    }
    {
        SCOPED_TRACE("a database larger than the temporary folder's room");
        const qint64 gbk = [&] {
            TZip zip;
            zip.SetFilename(br.Archiv);
            for (int i = 0; i < zip.GetCount(); ++i)
                if (zip.GetFileInfo(i).FileName == "bovantis.gbk")
                    return qint64(zip.GetFileInfo(i).UncompressedSize);
            return qint64(0);
        }();
        ASSERT_GT(gbk, 64 * 1024);
        KleinesDateisystem klein(gbk / 2);
        if (!klein.Bereit())
            GTEST_SKIP() << "kein tmpfs für den vollen Datenträger (nur als root)";
        ScopedEnv tmp("TMPDIR", klein.Pfad().toLocal8Bit());
        refused(br.Archiv, false,
                "Auf " + klein.Pfad() +
                    " ist nicht genügend freier Speicherplatz für die Rücksicherung");
        EXPECT_EQ(QDir(klein.Pfad()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList());
    }
}

// A database member the engine cannot restore is named as what it is.
TEST_F(BackupRestoreTest, DamagedDatabaseMemberIsNamedAsTheCause)
{
    br.Sichern();
    Aendern();
    const QStringList vorher = Inhalt(t.Path());
    const QString gekuerzt = dir.filePath("gekuerzt.zip");
    Python(
        "import zipfile,sys\n"
        "s=zipfile.ZipFile(sys.argv[1]); g=s.read('bovantis.gbk')\n"
        "with zipfile.ZipFile(sys.argv[2],'w',zipfile.ZIP_DEFLATED) as z:\n"
        "  z.comment=s.comment; z.writestr('bovantis.gbk', g[:len(g)//2])",
        {br.Archiv, gekuerzt});
    const QString verfaelscht = dir.filePath("verfaelscht.zip");
    Python(
        "import zipfile,sys\n"
        "s=zipfile.ZipFile(sys.argv[1]); g=bytearray(s.read('bovantis.gbk'))\n"
        "for i in range(200, len(g), 97): g[i]^=0x5a\n"
        "with zipfile.ZipFile(sys.argv[2],'w',zipfile.ZIP_DEFLATED) as z:\n"
        "  z.comment=s.comment; z.writestr('bovantis.gbk', bytes(g))",
        {br.Archiv, verfaelscht});
    const QString zufall = dir.filePath("zufall.zip");
    Python(
        "import zipfile,sys,os\n"
        "with zipfile.ZipFile(sys.argv[1],'w') as z:\n"
        "  z.writestr('bovantis.gbk', os.urandom(100000))",
        {zufall});
    for (const QString& archiv : {gekuerzt, verfaelscht, zufall}) {
        SCOPED_TRACE(archiv.toStdString());
        TBackupRestore r;
        r.SetDatenbank(t.Path());
        r.IniDatei = ini;
        r.Archiv = archiv;
        try {
            r.Ruecksichern(false);
            ADD_FAILURE() << "restore succeeded";
        } catch (const EBackupError& e) {
            EXPECT_STREQ(e.what(),
                         "Die Datenbank in der Sicherung ist beschädigt und kann nicht "
                         "rückgesichert werden; die Datenbank bleibt unverändert.");
            EXPECT_FALSE(e.Beenden);
        }
        EXPECT_EQ(Inhalt(t.Path()), vorher);
        EXPECT_EQ(Seitendateien(QFileInfo(t.Path()).absolutePath()), QStringList());
    }
}

// What killed runs left is removed at the next start, what a running one holds stays.
TEST_F(BackupRestoreTest, LeftoversOfKilledRunsAreRemovedUnlessStillInUse)
{
    const QString temp = dir.filePath("temp");
    const QString ablage = dir.filePath("ablage");
    ASSERT_TRUE(QDir().mkpath(temp) && QDir().mkpath(ablage));
    ScopedEnv tmpdir("TMPDIR", temp.toLocal8Bit());
    const auto anlegen = [](const QString& pfad) {
        QDir().mkpath(QFileInfo(pfad).absolutePath());
        Schreiben(pfad, QByteArray(4096, 'g'));
    };
    // Killed: their locks name a process that has ended.
    anlegen(temp + "/bovantis-sicherung-AbC123/bovantis.gbk");
    VerwaisteSperre(temp + "/bovantis-sicherung-AbC123/.sperre");
    anlegen(ablage + "/Bovantis.rueckladen-0badc0de.tmp");
    VerwaisteSperre(ablage + "/Bovantis.rueckladen-0badc0de.tmp.lock");
    anlegen(ablage + "/2026-01-01.zip.sichern-12345678.tmp");
    VerwaisteSperre(ablage + "/2026-01-01.zip.sichern-12345678.tmp.sperre");
    // Running: their locks are held.
    anlegen(temp + "/bovantis-sicherung-LaUft1/bovantis.gbk");
    QLockFile laeuftOrdner(temp + "/bovantis-sicherung-LaUft1/.sperre");
    laeuftOrdner.setStaleLockTime(0);
    ASSERT_TRUE(laeuftOrdner.tryLock(0));
    anlegen(ablage + "/Bovantis.rueckladen-00c0ffee.tmp");
    QLockFile laeuftDatei(ablage + "/Bovantis.rueckladen-00c0ffee.tmp.lock");
    laeuftDatei.setStaleLockTime(0);
    ASSERT_TRUE(laeuftDatei.tryLock(0));
    // Not provably ours: no lock, or another name.
    anlegen(temp + "/bovantis-sicherung-OhneSp/bovantis.gbk");
    anlegen(ablage + "/Bovantis.rueckladen-feedf00d.tmp");
    anlegen(ablage + "/Bovantis.fdb");
    anlegen(ablage + "/2026-01-01.zip");
    anlegen(temp + "/anderes-programm/bovantis.gbk");

    QStringList entfernt = TBackupRestore::ResteEntfernen({ablage, ablage + "/"});
    entfernt.sort();
    EXPECT_EQ(entfernt.join(' '), ablage + "/2026-01-01.zip.sichern-12345678.tmp " + ablage +
                                      "/Bovantis.rueckladen-0badc0de.tmp " + temp +
                                      "/bovantis-sicherung-AbC123");
    EXPECT_EQ(QDir(temp).entryList(QDir::Dirs | QDir::NoDotAndDotDot).join(' '),
              "anderes-programm bovantis-sicherung-LaUft1 bovantis-sicherung-OhneSp");
    EXPECT_EQ(QDir(ablage).entryList(QDir::Files | QDir::Hidden).join(' '),
              "2026-01-01.zip Bovantis.fdb Bovantis.rueckladen-00c0ffee.tmp "
              "Bovantis.rueckladen-00c0ffee.tmp.lock Bovantis.rueckladen-feedf00d.tmp");

    // A backup and a restore that end normally leave nothing behind.
    br.Archiv = ablage + "/neu.zip";
    br.Sichern();
    TBackupRestore r;
    r.SetDatenbank(t.Path());
    r.IniDatei = ini;
    r.Archiv = br.Archiv;
    r.Ruecksichern(false);
    EXPECT_EQ(QDir(temp).entryList({"bovantis-sicherung-*"}, QDir::Dirs).join(' '),
              "bovantis-sicherung-LaUft1 bovantis-sicherung-OhneSp");
    EXPECT_EQ(Seitendateien(QFileInfo(t.Path()).absolutePath()), QStringList());
    EXPECT_EQ(QDir(ablage).entryList({"neu.zip*"}, QDir::Files | QDir::Hidden),
              QStringList({"neu.zip"}));
}

}  // namespace
