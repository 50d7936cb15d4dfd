#include <Zip.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

// Python's zipfile module is the independent reader and writer of the format here.
QString Python(const QString& skript, const QStringList& argumente = {})
{
    QProcess p;
    p.start(QStringLiteral("python3"), QStringList{QStringLiteral("-c"), skript} + argumente);
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

void Schreiben(const QString& pfad, const QByteArray& inhalt)
{
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(inhalt), inhalt.size());
}

QByteArray Lesen(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ZipTest : public ::testing::Test {
protected:
    QString Pfad(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(ZipTest, MissingFileBecomesEmptyArchive)
{
    TZip zip;
    zip.SetFilename(Pfad("neu.zip"));
    EXPECT_EQ(zip.GetCount(), 0);
    EXPECT_EQ(QFileInfo(Pfad("neu.zip")).size(), 22);
    EXPECT_EQ(Python("import zipfile,sys; z=zipfile.ZipFile(sys.argv[1]); print(len(z.namelist()))",
                     {Pfad("neu.zip")}),
              "0");
}

TEST_F(ZipTest, AddedFilesAndCommentAreReadByAnotherReader)
{
    QDir().mkpath(Pfad("a/b"));
    QByteArray gross;
    for (int i = 0; i < 100000; ++i)
        gross += QByteArray::number(i) + ';';
    Schreiben(Pfad("a/b/daten.gbk"), gross);
    Schreiben(Pfad("a/Bovantis.ini"), "[Palm]\nHotsyncAction=1\n");

    TZip zip;
    zip.SetFilename(Pfad("s.zip"));
    zip.FileList = {Pfad("a/b/daten.gbk"), Pfad("a/Bovantis.ini")};
    EXPECT_EQ(zip.Add(), 2);
    EXPECT_TRUE(zip.FileList.isEmpty());
    const QString kommentar =
        QStringLiteral("ZR Bovantis Sicherung, Erstellt: 11.12.2026 01:02:03");
    zip.SetZipComment(kommentar);

    const QString aus = Python(
        "import zipfile,sys,hashlib\n"
        "z=zipfile.ZipFile(sys.argv[1]); assert z.testzip() is None\n"
        "print(z.comment.decode())\n"
        "for n in z.namelist(): print(n, hashlib.md5(z.read(n)).hexdigest())",
        {Pfad("s.zip")});
    const QStringList zeilen = aus.split('\n');
    ASSERT_EQ(zeilen.size(), 3) << aus.toStdString();
    EXPECT_EQ(zeilen[0], kommentar);
    auto md5 = [](const QByteArray& b) {
        return QString::fromLatin1(QCryptographicHash::hash(b, QCryptographicHash::Md5).toHex());
    };
    EXPECT_EQ(zeilen[1], "daten.gbk " + md5(gross));
    EXPECT_EQ(zeilen[2], "Bovantis.ini " + md5(Lesen(Pfad("a/Bovantis.ini"))));

    // Opened again, the comment and the members are what was written.
    TZip wieder;
    wieder.SetFilename(Pfad("s.zip"));
    EXPECT_EQ(wieder.GetZipComment(), kommentar);
    ASSERT_EQ(wieder.GetCount(), 2);
    EXPECT_EQ(wieder.GetFileInfo(0).FileName, "daten.gbk");
    EXPECT_EQ(wieder.GetFileInfo(0).UncompressedSize, quint64(gross.size()));
    EXPECT_LT(wieder.GetFileInfo(0).CompressedSize, wieder.GetFileInfo(0).UncompressedSize);
}

TEST_F(ZipTest, ForeignArchiveIsListedAndExtractedUnderBareNames)
{
    Python(
        "import zipfile,sys\n"
        "with zipfile.ZipFile(sys.argv[1],'w',zipfile.ZIP_DEFLATED) as z:\n"
        "  z.comment=b'x'*100\n"
        "  z.writestr('ordner/innen/datei.txt','Inhalt mit Umlaut \\u00e4')\n"
        "  z.writestr('zwei.txt','2')",
        {Pfad("fremd.zip")});
    TZip zip;
    zip.SetFilename(Pfad("fremd.zip"));
    EXPECT_EQ(zip.GetZipComment(), QString(100, 'x'));
    ASSERT_EQ(zip.GetCount(), 2);
    EXPECT_EQ(zip.GetFileInfo(0).FileName, "ordner\\innen\\datei.txt");
    EXPECT_THROW(zip.GetFileInfo(2), ZipException);

    QDir().mkpath(Pfad("aus"));
    zip.ExtractDir = Pfad("aus");
    zip.FileList = {zip.GetFileInfo(0).FileName};
    EXPECT_EQ(zip.Extract(), 1);
    EXPECT_EQ(QString::fromUtf8(Lesen(Pfad("aus/datei.txt"))),
              QStringLiteral("Inhalt mit Umlaut ä"));
}

TEST_F(ZipTest, FailuresAreExceptionsAndChangeNothing)
{
    Schreiben(Pfad("x.txt"), "x");
    struct Fall {
        const char* name;
        std::function<void(TZip&)> aktion;
    };
    const Fall faelle[] = {
        {"Add without archive",
         [&](TZip& z) {
             z.FileList = {Pfad("x.txt")};
             z.Add();
         }},
        {"Add without files",
         [&](TZip& z) {
             z.SetFilename(Pfad("l.zip"));
             z.Add();
         }},
        {"Extract without files",
         [&](TZip& z) {
             z.SetFilename(Pfad("l.zip"));
             z.Extract();
         }},
        {"Add of a missing file",
         [&](TZip& z) {
             z.SetFilename(Pfad("l.zip"));
             z.FileList = {Pfad("fehlt")};
             z.Add();
         }},
        {"Extract of a missing member",
         [&](TZip& z) {
             z.SetFilename(Pfad("l.zip"));
             z.ExtractDir = dir.path();
             z.FileList = {"fehlt"};
             z.Extract();
         }},
        {"not a zip", [&](TZip& z) { z.SetFilename(Pfad("x.txt")); }},
        {"folder missing", [&](TZip& z) { z.SetFilename(Pfad("nicht/da.zip")); }},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        TZip zip;
        EXPECT_THROW(f.aktion(zip), ZipException);
    }
    EXPECT_EQ(Lesen(Pfad("x.txt")), "x");
    EXPECT_FALSE(QFileInfo::exists(Pfad("nicht")));
}

TEST_F(ZipTest, DamagedMemberLeavesNoPartialFile)
{
    QByteArray inhalt;
    for (int i = 0; i < 200000; ++i)
        inhalt += QByteArray::number(i * 7919 % 100003);
    Schreiben(Pfad("gross.bin"), inhalt);
    TZip zip;
    zip.SetFilename(Pfad("k.zip"));
    zip.FileList = {Pfad("gross.bin")};
    zip.Add();
    const qint64 groesse = zip.GetFileInfo(0).CompressedSize;
    // Overwrite the middle of the compressed data.
    QFile f(Pfad("k.zip"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(40 + groesse / 2);
    f.write(QByteArray(64, '\x55'));
    f.close();

    QDir().mkpath(Pfad("aus"));
    TZip wieder;
    wieder.SetFilename(Pfad("k.zip"));
    wieder.ExtractDir = Pfad("aus");
    wieder.FileList = {"gross.bin"};
    EXPECT_THROW(wieder.Extract(), ZipException);
    EXPECT_TRUE(QDir(Pfad("aus")).isEmpty());
}

// A member that holds more than it declares (a crafted bomb whose declared size passed the
// caller's limits) is refused while it is written, and leaves nothing behind.
TEST_F(ZipTest, MemberLargerThanItsDeclaredSizeIsRefused)
{
    Python(
        "import zipfile,sys,struct\n"
        "with zipfile.ZipFile(sys.argv[1],'w',zipfile.ZIP_DEFLATED) as z:\n"
        "  z.writestr('bombe.ini', bytes(8<<20))\n"
        "b=bytearray(open(sys.argv[1],'rb').read())\n"
        "struct.pack_into('<I',b,22,1000)\n"
        "i=b.find(b'PK\\x01\\x02'); struct.pack_into('<I',b,i+24,1000)\n"
        "open(sys.argv[1],'wb').write(b)",
        {Pfad("bombe.zip")});
    TZip zip;
    zip.SetFilename(Pfad("bombe.zip"));
    ASSERT_EQ(zip.GetFileInfo(0).UncompressedSize, 1000u);
    QDir().mkpath(Pfad("aus"));
    zip.ExtractDir = Pfad("aus");
    zip.FileList = {"bombe.ini"};
    EXPECT_THROW(zip.Extract(), ZipException);
    EXPECT_TRUE(QDir(Pfad("aus")).isEmpty());
}

// Archives written by hand with Python, each read by the directory reader and extracted into a
// private folder: what lands there, and that nothing lands beside it.
TEST_F(ZipTest, CraftedArchivesAreListedAndExtractedSafely)
{
    struct Fall {
        const char* name;
        const char* skript;  // writes sys.argv[1]
        QStringList erwarteteNamen;
        bool oem;
        QString mitglied;  // extracted, when not empty
        QString datei;     // the file it becomes in the folder
        QByteArray inhalt;
    };
    const char* kopf = "import zipfile,sys,struct\np=sys.argv[1]\n";
    const Fall faelle[] = {
        {"stored and deflated",
         "with zipfile.ZipFile(p,'w') as z:\n"
         "  z.writestr('roh.txt','gespeichert')\n"
         "  z.writestr(zipfile.ZipInfo('gepackt.txt'),'gepackt'*50,zipfile.ZIP_DEFLATED)\n",
         {"roh.txt", "gepackt.txt"},
         false,
         "gepackt.txt",
         "gepackt.txt",
         QByteArray("gepackt").repeated(50)},
        {"CP850 name from a FAT host",
         "i=zipfile.ZipInfo('MXrz\\\\K\\x5fhe.ads'); i.create_system=0\n"
         "with zipfile.ZipFile(p,'w') as z: z.writestr(i,'adis')\n"
         "b=open(p,'rb').read().replace(b'MXrz',b'M\\x84rz').replace(b'K_he',b'K\\x81he')\n"
         "open(p,'wb').write(b)\n",
         {QStringLiteral("März\\Kühe.ads")},
         true,
         QStringLiteral("März\\Kühe.ads"),
         QStringLiteral("Kühe.ads"),
         "adis"},
        {"Latin-1 name from a Unix host stays ANSI",
         "i=zipfile.ZipInfo('MXrz.txt'); i.create_system=3\n"
         "with zipfile.ZipFile(p,'w') as z: z.writestr(i,'x')\n"
         "b=open(p,'rb').read().replace(b'MXrz',b'M\\xe4rz')\n"
         "open(p,'wb').write(b)\n",
         {QStringLiteral("März.txt")},
         false,
         {},
         {},
         {}},
        {"parent folders",
         "with zipfile.ZipFile(p,'w') as z: z.writestr('../../raus.txt','b')\n",
         {"..\\..\\raus.txt"},
         false,
         "../../raus.txt",
         "raus.txt",
         "b"},
        {"absolute path",
         "with zipfile.ZipFile(p,'w') as z: z.writestr('/tmp/abs.txt','c')\n",
         {"\\tmp\\abs.txt"},
         false,
         "/tmp/abs.txt",
         "abs.txt",
         "c"},
        {"backslashes and a drive",
         "with zipfile.ZipFile(p,'w') as z: z.writestr('C:\\\\x\\\\..\\\\lauf.txt','d')\n",
         {"C:\\x\\..\\lauf.txt"},
         false,
         "C:\\x\\..\\lauf.txt",
         "lauf.txt",
         "d"},
        {"self-extractor in front",
         "import io\nbuf=io.BytesIO()\n"
         "with zipfile.ZipFile(buf,'w') as z: z.writestr('sfx.txt','e')\n"
         "open(p,'wb').write(b'MZ'+bytes(998))\n"
         "with zipfile.ZipFile(p,'a') as z: z.writestr('sfx.txt','e')\n",
         {"sfx.txt"},
         false,
         "sfx.txt",
         "sfx.txt",
         "e"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        QTemporaryDir d;
        const QString archiv = d.filePath("a.zip");
        Python(QString::fromUtf8(kopf) + QString::fromUtf8(f.skript), {archiv});
        TZip zip;
        zip.SetFilename(archiv);
        QStringList namen;
        for (int i = 0; i < zip.GetCount(); ++i)
            namen << zip.GetFileInfo(i).FileName;
        EXPECT_EQ(namen, f.erwarteteNamen);
        EXPECT_EQ(zip.Oem(), f.oem);
        if (f.mitglied.isEmpty())
            continue;
        QDir(d.path()).mkpath("aus/innen");
        zip.ExtractDir = d.filePath("aus/innen");
        zip.FileList = {f.mitglied};
        EXPECT_EQ(zip.Extract(), 1);
        EXPECT_EQ(QDir(d.filePath("aus/innen")).entryList(QDir::Files | QDir::NoDotAndDotDot),
                  QStringList{f.datei});
        EXPECT_EQ(Lesen(d.filePath("aus/innen/" + f.datei)), f.inhalt);
        EXPECT_EQ(QDir(d.filePath("aus")).entryList(QDir::Files), QStringList());
        EXPECT_EQ(QDir(d.path()).entryList(QDir::Files), QStringList{"a.zip"});
    }
    EXPECT_FALSE(QFileInfo::exists("/tmp/abs.txt") && Lesen("/tmp/abs.txt") == "c");
}

TEST_F(ZipTest, SelfExtractorShiftsTheDataStart)
{
    Python(
        "import zipfile,sys\n"
        "open(sys.argv[1],'wb').write(b'MZ'+bytes(998))\n"
        "with zipfile.ZipFile(sys.argv[1],'a') as z: z.writestr('a.txt','a')\n",
        {Pfad("sfx.zip")});
    Python(
        "import zipfile,sys\nwith zipfile.ZipFile(sys.argv[1],'w') as z: "
        "z.writestr('a.txt','a')\n",
        {Pfad("ohne.zip")});
    TZip mit;
    mit.SetFilename(Pfad("sfx.zip"));
    TZip ohne;
    ohne.SetFilename(Pfad("ohne.zip"));
    EXPECT_EQ(ohne.DataStart(), 0);
    EXPECT_EQ(mit.DataStart(), 1000);
    EXPECT_EQ(mit.EndRecord().Position, ohne.EndRecord().Position + 1000);
    EXPECT_EQ(mit.GetFileInfo(0).Header.size(), 46);
    EXPECT_EQ(quint8(mit.GetFileInfo(0).Header[0]), 'P');
}

// The end record is searched in the last 65,535 bytes only.
TEST_F(ZipTest, EndRecordSearchWindow)
{
    for (const auto& [laenge, gefunden] :
         {std::pair{100, true}, std::pair{65513, true}, std::pair{65514, false}}) {
        SCOPED_TRACE(laenge);
        const QString pfad = Pfad(QStringLiteral("k%1.zip").arg(laenge));
        Python(
            "import zipfile,sys\nwith zipfile.ZipFile(sys.argv[1],'w') as z:\n"
            "  z.writestr('a.txt','a')\n"
            "b=bytearray(open(sys.argv[1],'rb').read())\n"
            "b[-2:]=int(sys.argv[2]).to_bytes(2,'little')\n"
            "open(sys.argv[1],'wb').write(bytes(b)+b'k'*int(sys.argv[2]))\n",
            {pfad, QString::number(laenge)});
        TZip zip;
        if (gefunden) {
            zip.SetFilename(pfad);
            EXPECT_EQ(zip.GetZipComment(), QString(laenge, 'k'));
            EXPECT_EQ(zip.GetCount(), 1);
        } else {
            EXPECT_THROW(zip.SetFilename(pfad), ZipException);
            EXPECT_EQ(zip.GetCount(), 0);
        }
    }
}

// A link member is never made, and a link already in the folder is replaced, not followed.
TEST_F(ZipTest, LinksNeverLeadOutOfTheFolder)
{
    Python(
        "import zipfile,sys\n"
        "i=zipfile.ZipInfo('zeiger'); i.create_system=3; i.external_attr=(0o120777<<16)\n"
        "with zipfile.ZipFile(sys.argv[1],'w') as z:\n"
        "  z.writestr(i,'/etc/passwd')\n"
        "  z.writestr('ziel.txt','neu')\n",
        {Pfad("l.zip")});
    QDir().mkpath(Pfad("aus"));
    Schreiben(Pfad("draussen.txt"), "alt");
    ASSERT_TRUE(QFile::link(Pfad("draussen.txt"), Pfad("aus/ziel.txt")));
    TZip zip;
    zip.SetFilename(Pfad("l.zip"));
    ASSERT_EQ(zip.GetCount(), 2);
    EXPECT_TRUE(zip.GetFileInfo(0).IsLink());
    EXPECT_FALSE(zip.GetFileInfo(1).IsLink());
    zip.ExtractDir = Pfad("aus");
    zip.FileList = {"zeiger"};
    EXPECT_THROW(zip.Extract(), ZipException);
    zip.FileList = {"ziel.txt"};
    EXPECT_EQ(zip.Extract(), 1);
    EXPECT_FALSE(QFileInfo(Pfad("aus/ziel.txt")).isSymLink());
    EXPECT_EQ(Lesen(Pfad("aus/ziel.txt")), "neu");
    EXPECT_EQ(Lesen(Pfad("draussen.txt")), "alt");
}

// A member that claims more than the free room is refused before anything is written.
TEST_F(ZipTest, MemberLargerThanTheFreeRoomIsRefused)
{
    Python(
        "import struct,sys,zlib\n"
        "name=b'riesig.bin'; data=b'x'; crc=zlib.crc32(data)\n"
        "x=struct.pack('<HHQQ',1,16,1<<60,1)\n"
        "lokal=struct.pack('<IHHHHHIIIHH',0x04034b50,45,0,0,0,0,crc,0xFFFFFFFF,0xFFFFFFFF,"
        "len(name),len(x))+name+x+data\n"
        "zentral=struct.pack('<IHHHHHHIIIHHHHHII',0x02014b50,45,45,0,0,0,0,crc,0xFFFFFFFF,"
        "0xFFFFFFFF,len(name),len(x),0,0,0,0,0)+name+x\n"
        "ende=struct.pack('<IHHHHIIH',0x06054b50,0,0,1,1,len(zentral),len(lokal),0)\n"
        "open(sys.argv[1],'wb').write(lokal+zentral+ende)",
        {Pfad("riesig.zip")});
    TZip zip;
    zip.SetFilename(Pfad("riesig.zip"));
    ASSERT_EQ(zip.GetFileInfo(0).UncompressedSize, std::uint64_t(1) << 60);
    QDir().mkpath(Pfad("aus"));
    zip.ExtractDir = Pfad("aus");
    zip.FileList = {"riesig.bin"};
    try {
        zip.Extract();
        ADD_FAILURE() << "no exception";
    } catch (const ZipException& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith("Not enough free space")) << e.what();
    }
    EXPECT_TRUE(QDir(Pfad("aus")).isEmpty());
}

// A checksum error is a question: No drops the member, Yes keeps it, Cancel stops the run;
// without an answer the run fails.
TEST_F(ZipTest, ChecksumErrorAsksTheCaller)
{
    Python(
        "import zipfile,sys,struct\n"
        "with zipfile.ZipFile(sys.argv[1],'w') as z:\n"
        "  z.writestr('a.txt','aaaa')\n"
        "  z.writestr('b.txt','bbbb')\n"
        "b=bytearray(open(sys.argv[1],'rb').read())\n"
        "b[b.find(b'aaaa')]=ord('x')\n"
        "open(sys.argv[1],'wb').write(b)",
        {Pfad("crc.zip")});
    struct Fall {
        std::optional<TZip::Antwort> antwort;
        int ergebnis;
        QStringList dateien;
    };
    const Fall faelle[] = {
        {TZip::Antwort::Nein, 1, {"b.txt"}},
        {TZip::Antwort::Ja, 2, {"a.txt", "b.txt"}},
        {TZip::Antwort::Abbrechen, 0, {}},
        {std::nullopt, -1, {}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.ergebnis);
        QTemporaryDir aus;
        TZip zip;
        zip.SetFilename(Pfad("crc.zip"));
        zip.ExtractDir = aus.path();
        zip.FileList = {"a.txt", "b.txt"};
        QStringList fragen;
        if (f.antwort)
            zip.OnFrage = [&](const QString& frage) {
                fragen << frage;
                return *f.antwort;
            };
        if (f.ergebnis < 0) {
            EXPECT_THROW(zip.Extract(), ZipException);
        } else {
            EXPECT_EQ(zip.Extract(), f.ergebnis);
            EXPECT_EQ(fragen, QStringList{"\"a.txt\" may be corrupted (CRC error).\n"
                                          "Extract this file anyway? ..."});
        }
        EXPECT_EQ(QDir(aus.path()).entryList(QDir::Files), f.dateien);
    }
}

// Relative names count from AddDir, without changing the process's current folder.
TEST_F(ZipTest, AddDirResolvesRelativeNames)
{
    QDir().mkpath(Pfad("basis/unter"));
    Schreiben(Pfad("basis/unter/a.txt"), "a");
    Schreiben(Pfad("basis/b.txt"), "b");
    const QString vorher = QDir::currentPath();
    for (const auto& [flags, namen] : {std::pair{0, QString("b.txt unter/a.txt")},
                                       std::pair{TZip::AddOhnePfad, QString("a.txt b.txt")}}) {
        SCOPED_TRACE(flags);
        const QString archiv = Pfad(QStringLiteral("d%1.zip").arg(flags));
        TZip zip;
        zip.SetFilename(archiv);
        zip.AddDir = Pfad("basis");
        zip.AddFlags = flags;
        zip.FileList = {"unter/a.txt", Pfad("basis/b.txt")};
        EXPECT_EQ(zip.Add(), 2);
        EXPECT_TRUE(zip.AddDir.isEmpty());
        EXPECT_EQ(Python("import zipfile,sys; print(' "
                         "'.join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))",
                         {archiv}),
                  namen);
    }
    EXPECT_EQ(QDir::currentPath(), vorher);
}

TEST_F(ZipTest, ProgressIsReportedPerMember)
{
    Schreiben(Pfad("eins.txt"), QByteArray(3000, '1'));
    Schreiben(Pfad("zwei.txt"), QByteArray(5000, '2'));
    TZip zip;
    zip.SetFilename(Pfad("p.zip"));
    zip.FileList = {Pfad("eins.txt"), Pfad("zwei.txt")};
    zip.Add();
    QDir().mkpath(Pfad("aus"));
    zip.ExtractDir = Pfad("aus");
    zip.FileList = {"eins.txt", "zwei.txt"};
    QStringList begonnen;
    qint64 zuletzt = 0;
    QString ende;
    zip.OnZEDBeginFileEvent = [&](const QString& n, qint64 g, int dateien, qint64 gesamt) {
        begonnen << QStringLiteral("%1 %2 %3 %4").arg(n).arg(g).arg(dateien).arg(gesamt);
    };
    zip.OnZEDProgressEvent = [&](const QString&, qint64 erledigt, qint64) { zuletzt = erledigt; };
    zip.OnZEDEndBatchEvent = [&](int fertig, int dateien, qint64 gesamt) {
        ende = QStringLiteral("%1 %2 %3").arg(fertig).arg(dateien).arg(gesamt);
    };
    EXPECT_EQ(zip.Extract(), 2);
    EXPECT_EQ(begonnen, (QStringList{"eins.txt 3000 2 8000", "zwei.txt 5000 2 8000"}));
    EXPECT_EQ(zuletzt, 8000);
    EXPECT_EQ(ende, "2 2 8000");
}

}  // namespace
