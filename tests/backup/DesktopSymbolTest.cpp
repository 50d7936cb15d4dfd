#include <DesktopSymbol.h>

#include <ScopedEnv.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The starter as the desktop reads it: GLib's key file and its shell-like argument parser, which
// desktops use for Exec, then the doubled % undone. Name and arguments as JSON.
QJsonObject Lesen(const QString& datei)
{
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
                  "print(json.dumps({'name': k.get_string('Desktop Entry', 'Name'),\n"
                  "                  'type': k.get_string('Desktop Entry', 'Type'),\n"
                  "                  'argv': [a.replace('%%', '%') for a in argv]}))\n",
                  datei});
    python.waitForFinished(30000);
    const QByteArray fehler = python.readAllStandardError();
    EXPECT_EQ(python.exitCode(), 0) << fehler.toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

// desktop-file-validate's findings; empty when the file is valid.
QString Pruefen(const QString& datei)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("desktop-file-validate", {datei});
    if (!p.waitForFinished(30000))
        return "desktop-file-validate did not run: " + p.errorString();
    const QString ausgabe = QString::fromUtf8(p.readAll()).trimmed();
    if (p.exitCode() != 0 && ausgabe.isEmpty())
        return "exit code " + QString::number(p.exitCode());
    return ausgabe;
}

// Folders and archives with every character the Exec syntax reserves come back unchanged.
TEST(DesktopSymbolTest, ExecArgumentsComeBackUnchanged)
{
    QTemporaryDir tmp;
    struct Fall {
        QString programm;
        bool ruecksicherung;
        QString ordner;
        QString archiv;
        QString name;
    };
    const std::vector<Fall> faelle = {
        {"/opt/zr/ZRNVBackup", false, "/opt/zr/", "/home/bauer/Sicherung/2026-12-11.zip",
         "Sicherung Hof"},
        {"/opt/Bovantis 3/ZRNVBackup", true, "/opt/Bovantis 3/",
         "/home/bauer/Sicherungen (alt)/Stand \"Mai\" & Juni $HOME `x` 100% \\ende.zip",
         "Rücksicherung \\ Mai"},
        {"/opt/zr%u/ZRNVBackup", false, "/opt/zr'a;b|c<d>e~f*g?h#i/", "/tmp/a\tb.zip",
         "Tab\tund %f"},
        {"/opt/zr/ZRNVBackup", true, "", "", "leer"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.archiv.toStdString());
        const QString datei = tmp.filePath("probe.desktop");
        QFile::remove(datei);
        DesktopSymbol::Schreiben(
            datei, DesktopSymbol::Eintrag(f.name, DesktopSymbol::Exec(f.programm, f.ruecksicherung,
                                                                      f.ordner, f.archiv)));
        EXPECT_EQ(Pruefen(datei), "");
        EXPECT_TRUE(QFileInfo(datei).isExecutable());
        const QJsonObject gelesen = Lesen(datei);
        EXPECT_EQ(gelesen["name"].toString(), f.name);
        EXPECT_EQ(gelesen["type"].toString(), "Application");
        QStringList argv;
        for (const QJsonValue& a : gelesen["argv"].toArray())
            argv << a.toString();
        EXPECT_EQ(argv, QStringList({f.programm, "-b", "-a", f.ruecksicherung ? "r" : "s", "-v",
                                     f.ordner, "-d", f.archiv}));
    }
}

// The folder is the user's desktop as user-dirs.dirs names it.
TEST(DesktopSymbolTest, TheDesktopFolderIsTheUsersOne)
{
    QTemporaryDir tmp;
    ScopedEnv home("HOME", tmp.path().toLocal8Bit());
    ScopedEnv config("XDG_CONFIG_HOME", tmp.filePath("config").toLocal8Bit());
    EXPECT_EQ(DesktopSymbol::Datei("Hof"), tmp.filePath("Desktop/Hof.desktop"));
    QDir().mkpath(tmp.filePath("config"));
    QFile dirs(tmp.filePath("config/user-dirs.dirs"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    dirs.close();
    EXPECT_EQ(DesktopSymbol::Datei("Hof"), tmp.filePath("Schreibtisch/Hof.desktop"));
}

// A file that cannot be written is reported, and nothing half-written stays.
TEST(DesktopSymbolTest, AFailedWriteIsReported)
{
    QTemporaryDir tmp;
    QFile hindernis(tmp.filePath("keinordner"));
    ASSERT_TRUE(hindernis.open(QIODevice::WriteOnly));
    hindernis.close();
    const QString datei = tmp.filePath("keinordner/Hof.desktop");
    EXPECT_THROW(DesktopSymbol::Schreiben(datei, "[Desktop Entry]\n"), std::runtime_error);
    EXPECT_FALSE(QFileInfo::exists(datei));
}

}  // namespace
