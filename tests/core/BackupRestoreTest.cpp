#include <BackupRestore.h>

#include <IniDatei.h>
#include <TestDatabase.h>

#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

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

}  // namespace
