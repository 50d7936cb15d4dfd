#include <Zip.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    EXPECT_EQ(zip.GetFileInfo(0).FileName, "ordner/innen/datei.txt");
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

}  // namespace
