#include <Grundeinstellungen.h>
#include <ProgInit.h>

#include <ScopedEnv.h>

#include "ProgrammDatenbank.h"

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
