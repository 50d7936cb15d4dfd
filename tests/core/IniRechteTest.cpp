#include <Grundeinstellungen.h>
#include <IniDatei.h>

#include <ScopedEnv.h>

#include <Dateirechte.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

TEST(IniRechteTest, OnlyTheOwnerMayReadTheFileWithThePasswords)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath("Bovantis.ini");
    const auto nurBesitzer = QFile::ReadOwner | QFile::WriteOwner;
    const auto rechte = [&] {
        return QFile::permissions(pfad) & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                           QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
    };

    TIniDatei ini(pfad);
    ini.Schreiben("Datenbank", "AdminPasswort", "kuhglocke");
    EXPECT_EQ(rechte(), nurBesitzer);

    // A file that an older installation left readable for everybody is closed at its next change.
    ASSERT_TRUE(QFile::setPermissions(pfad, nurBesitzer | QFile::ReadGroup | QFile::ReadOther));
    ini.Schreiben("Datenbank", "Name", "/daten/Bovantis.fdb");
    EXPECT_EQ(rechte(), nurBesitzer);
    EXPECT_EQ(ini.LesenString("Datenbank", "AdminPasswort", ""), "kuhglocke");
}

TEST(IniRechteTest, AFileThatCannotBeReadIsRefusedAndNeverOverwritten)
{
    QTemporaryDir dir;
    ScopedEnv dataHome{"XDG_DATA_HOME", dir.filePath("xdg").toLocal8Bit()};
    const QString pfad = dir.filePath("Bovantis.ini");
    const QByteArray inhalt = "[Datenbank]\nName=/media/stick/Bovantis.fdb\nAdminPasswort=geheim\n";
    {
        QFile f(pfad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
    }
    ASSERT_TRUE(QFile::setPermissions(pfad, QFileDevice::WriteOwner));
    const auto inhaltJetzt = [&] {
        QFile::setPermissions(pfad, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile f(pfad);
        const QByteArray gelesen = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        QFile::setPermissions(pfad, QFileDevice::WriteOwner);
        return gelesen;
    };
    const auto erwarteLesefehler = [&](const std::function<void()>& zugriff) {
        try {
            zugriff();
            ADD_FAILURE() << "the unreadable file was taken as readable";
        } catch (const std::runtime_error& e) {
            const QString text = QString::fromUtf8(e.what());
            EXPECT_TRUE(
                text.startsWith("Die Einstellungsdatei " + pfad + " kann nicht gelesen werden: "))
                << text.toStdString();
        }
    };

    Dateirechte rechte;
    if (QFile(pfad).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "Die Rechte des Tests setzen sich über die Dateirechte hinweg "
                        "(Capabilities lassen sich nicht senken).";

    TIniDatei ini(pfad);
    erwarteLesefehler([&] { ini.Lesen("Datenbank", "Name"); });
    erwarteLesefehler([&] { ini.Schreiben("Datenbank", "Name", "/neu.fdb"); });
    erwarteLesefehler([&] { ini.Speichern(); });
    // The settings of a program stop before any default could be written over the file.
    erwarteLesefehler([&] {
        TEinstellungen::Umgebung u;
        u.exeName = "/opt/bovantis/bin/ZR_Bovantis";
        u.benutzerName = "tester";
        u.heute = [] { return QDate(2026, 12, 10); };
        TEinstellungen e(nullptr, dir.path(), u);
        e.GetDatenbankAdminPasswort();
    });
    EXPECT_EQ(inhaltJetzt(), inhalt);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Bovantis.ini"});
}
