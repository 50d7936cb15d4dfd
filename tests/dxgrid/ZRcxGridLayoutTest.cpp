#include <ZRcxGridLayout.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ZRcxGrid;

namespace {

QByteArray Lesen(const QString& datei)
{
    QFile f(datei);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

void Schreiben(const QString& datei, const QByteArray& inhalt)
{
    QFile f(datei);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}

}  // namespace

TEST(ZRcxGridLayout, FileIsNamedAfterTheProgram)
{
    EXPECT_EQ(LayoutDateiname(QStringLiteral("/opt/x/Prog.exe"), QStringLiteral("/cfg")),
              QStringLiteral("/cfg/Proglayout.ini"));
    EXPECT_EQ(LayoutDateiname(QStringLiteral("/usr/bin/ZRNVBackup"), QStringLiteral("/cfg")),
              QStringLiteral("/cfg/ZRNVBackuplayout.ini"));
    SetZRcxGridLayoutIniFile(QStringLiteral("/daten/Bovantis.ini"));
    EXPECT_EQ(ZRcxGridLayoutIniFile(), QStringLiteral("/daten/Bovantis.ini"));
}

TEST(ZRcxGridLayout, ReplacesOnlyItsSectionAndKeepsTheRest)
{
    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("unter/Bovantis.ini"));
    const Layout eins = {{QStringLiteral("KNR"), 1, 80, true},
                         {QStringLiteral("NAME"), 0, 120, false}};
    // A missing file (and folder) is created.
    LayoutSchreiben(datei, QStringLiteral("frmA.View1"), eins);
    EXPECT_EQ(LayoutLesen(datei, QStringLiteral("FRMA.VIEW1")), eins);

    // The workstation's own settings around the section stay as they are, umlauts and CRLF too.
    Schreiben(datei,
              "; Kommentar\r\n[Datenbank]\r\nName=/srv/hof.fdb\r\n[frma.view1]\r\n"
              "ALT=0,10,1\r\n[Zustand]\r\nOrt=M\xc3\xbcnchen\r\n");
    const Layout zwei = {{QStringLiteral("KNR"), 0, 50, true}};
    LayoutSchreiben(datei, QStringLiteral("frmA.View1"), zwei);
    EXPECT_EQ(Lesen(datei),
              QByteArray("; Kommentar\r\n[Datenbank]\r\nName=/srv/hof.fdb\r\n"
                         "[frmA.View1]\r\nKNR=0,50,1\r\n[Zustand]\r\nOrt=M\xc3\xbcnchen\r\n"));
    EXPECT_EQ(LayoutLesen(datei, QStringLiteral("frmA.View1")), zwei);
    EXPECT_TRUE(LayoutLesen(datei, QStringLiteral("frmA.View2")).isEmpty());
}

TEST(ZRcxGridLayout, SkipsKeysItCannotRead)
{
    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("x.ini"));
    Schreiben(datei, "[v]\nA=1,2\nB=x,1,1\nC=-1,5,1\nD=2,30,0\n=1,1,1\n[v]\nE=0,1,1\n");
    EXPECT_EQ(LayoutLesen(datei, QStringLiteral("v")),
              (Layout{{QStringLiteral("D"), 2, 30, false}}));
    EXPECT_TRUE(
        LayoutLesen(dir.filePath(QStringLiteral("fehlt.ini")), QStringLiteral("v")).isEmpty());
}

TEST(ZRcxGridLayout, RefusesUnwritableFiles)
{
    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("datei"));
    Schreiben(datei, "x");
    // A folder that is a file cannot be made, whoever runs the test.
    EXPECT_THROW(LayoutSchreiben(datei + QStringLiteral("/a.ini"), QStringLiteral("v"), {}),
                 std::runtime_error);
    EXPECT_THROW(LayoutSchreiben(dir.path(), QStringLiteral("v"), {}), std::runtime_error);
    EXPECT_EQ(Lesen(datei), QByteArray("x"));
}
