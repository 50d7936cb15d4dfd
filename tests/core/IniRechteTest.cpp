#include <IniDatei.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
