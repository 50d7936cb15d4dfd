#include <Grundeinstellungen.h>
#include <ProgInit.h>

#include <Meldung.h>

#include <MessageBoxScript.h>
#include <ScopedEnv.h>

#include <Dateirechte.h>
#include <ProgrammDatenbank.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(ProgInitEinstellungenTest, TheStartCreatesTheSettingsAndTheEndFreesThem)
{
    QTemporaryDir tmp;
    ScopedEnv runtimeDir{"XDG_RUNTIME_DIR", tmp.path().toLocal8Bit()};
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.path().toLocal8Bit()};
    ProgrammDatenbank datenbank{tmp.path()};
    TProgInit::Umgebung u = TProgInit::StandardUmgebung();
    u.argumente = {"-Hinweise"};
    u.benutzerName = [] { return QStringLiteral("tester"); };
    u.jetzt = [] { return QDateTime(QDate(2026, 12, 10), QTime(9, 0)); };
    // The sections in which the settings object exists when they begin.
    QStringList mitEinstellungen;
    u.beiAbschnitt = [&](const QString& abschnitt) {
        if (Einstellungen())
            mitEinstellungen << abschnitt;
    };
    TProgInit prog(u);
    EinstellungenFreigeben();
    ASSERT_TRUE(prog.InitProgramm());
    ASSERT_NE(Einstellungen(), nullptr);
    EXPECT_EQ(Einstellungen()->Datenverzeichnis(), tmp.filePath("Bovantis/"));
    ASSERT_TRUE(prog.HauptfensterErzeugen());
    ASSERT_TRUE(prog.InitProgramm2());
    prog.DeInitProgramm(false);
    EXPECT_EQ(Einstellungen(), nullptr);
    // Created in "Grundeinstellungen", freed in "Grundeinstellungen beenden".
    EXPECT_EQ(mitEinstellungen, (QStringList{"Datendateien", "Terminfenster 1", "Terminfenster 2",
                                             "Update starten", "Grundeinstellungen beenden"}));
}

TEST(ProgInitEinstellungenTest, AnUnreadableIniFileStopsTheStartAndKeepsItsSettings)
{
    QTemporaryDir tmp;
    ScopedEnv runtimeDir{"XDG_RUNTIME_DIR", tmp.path().toLocal8Bit()};
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.path().toLocal8Bit()};
    ProgrammDatenbank datenbank{tmp.path()};
    const QString pfad = tmp.filePath("Bovantis/Bovantis.ini");
    const QByteArray inhalt =
        "[Datenbank]\nName=" + datenbank.pfad.toUtf8() + "\nAdminPasswort=geheim\n";
    {
        QFile f(pfad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
    }
    ASSERT_TRUE(QFile::setPermissions(pfad, QFileDevice::WriteOwner));

    TProgInit::Umgebung u = TProgInit::StandardUmgebung();
    u.argumente = {"-Hinweise"};
    u.benutzerName = [] { return QStringLiteral("tester"); };
    u.jetzt = [] { return QDateTime(QDate(2026, 12, 10), QTime(9, 0)); };
    {
        Dateirechte rechte;
        if (QFile(pfad).open(QIODevice::ReadOnly))
            GTEST_SKIP() << "Die Rechte des Tests setzen sich über die Dateirechte hinweg "
                            "(Capabilities lassen sich nicht senken).";
        TProgInit prog(u);
        MessageBoxScript script;
        script.AnswerWith(Tools::mrOk);
        EXPECT_FALSE(prog.InitProgramm());
        ASSERT_EQ(script.Shown().size(), 1);
        EXPECT_EQ(script.Shown()[0].type, Tools::mtError);
        EXPECT_TRUE(script.Shown()[0].text.startsWith(
            "Es ist ein Fehler bei der\rInitialisierung des Programms\rim Abschnitt "
            ">Grundeinstellungen< aufgetreten.\rstd::runtime_error: Die Einstellungsdatei " +
            pfad + " kann nicht gelesen werden: "))
            << script.Shown()[0].text.toStdString();
        EXPECT_EQ(Einstellungen(), nullptr);
    }
    ASSERT_TRUE(QFile::setPermissions(pfad, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), inhalt);
}
