#include <ProgInit.h>

#include <InstanceGuard.h>
#include <Meldung.h>
#include <ParamLst.h>
#include <Tools.h>
#include <ZRDateTools.h>
#include <ZRcxGridLayout.h>

#include <Grundeinstellungen.h>
#include <ProgDatum.h>

#include <MessageBoxScript.h>
#include <ScopedEnv.h>

#include <ProgrammDatenbank.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class ProgInitTest : public ::testing::Test {
protected:
    QTemporaryDir runtime;
    ScopedEnv runtimeDir{"XDG_RUNTIME_DIR", runtime.path().toLocal8Bit()};
    ScopedEnv dataHome{"XDG_DATA_HOME", runtime.path().toLocal8Bit()};
    ProgrammDatenbank datenbank{runtime.path()};

    TProgInit::Umgebung umgebung(QStringList args, const QString& user = "tester")
    {
        TProgInit::Umgebung u = TProgInit::StandardUmgebung();
        u.argumente = std::move(args);
        u.benutzerName = [user] { return user; };
        // A Thursday (the trace stays) on a clock that moves on 100 ms with every look at it.
        auto takt = std::make_shared<int>(0);
        u.jetzt = [takt] {
            return QDateTime(QDate(2026, 12, 10), QTime(9, 0)).addMSecs(100 * (*takt)++);
        };
        return u;
    }
};

}  // namespace

TEST_F(ProgInitTest, FailuresShowTheirSectionInBothPhases)
{
    struct Case {
        QString abschnitt;
        bool endePhase;
    };
    const std::vector<Case> cases = {
        {"Parameter", false},
        {"Protokollierung", false},
        {"Bildschirm", false},
        {"Grundeinstellungen", false},
        {"Datendateien", false},
        {"Terminfenster 1", false},
        {"Terminfenster 2", false},
        {"Update starten", true},
        {"Grundeinstellungen beenden", true},
        {"Datenbank trennen", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.abschnitt.toStdString());
        TProgInit::Umgebung u = umgebung({"-DEBUG"});
        u.beiAbschnitt = [c](const QString& abschnitt) {
            if (abschnitt == c.abschnitt)
                throw std::runtime_error("Test");
        };
        TProgInit prog(u);
        MessageBoxScript script;
        script.AnswerWith(Tools::mrOk);
        bool phase1 = prog.InitProgramm();
        bool phase2 = phase1 && prog.HauptfensterErzeugen() && prog.InitProgramm2();
        if (phase2)
            prog.DeInitProgramm(false);

        ASSERT_EQ(script.Shown().size(), 1);
        const Tools::ShownMessage& m = script.Shown()[0];
        EXPECT_EQ(m.type, Tools::mtError);
        const QString erwartet =
            (c.endePhase ? QStringLiteral("Es ist ein Fehler beim\rBeenden des Programms\r")
                         : QStringLiteral("Es ist ein Fehler bei der\rInitialisierung des "
                                          "Programms\r")) +
            QStringLiteral("im Abschnitt >%1< aufgetreten.\rstd::runtime_error: Test")
                .arg(c.abschnitt);
        EXPECT_EQ(m.text, erwartet);
        EXPECT_EQ(prog.Abschnitt(), c.abschnitt);
        EXPECT_EQ(phase2, c.endePhase);
    }
}

TEST_F(ProgInitTest, WednesdayStartEmptiesTheTraceBeforeProgrammstart)
{
    Tools::SetzeProtokollOrdner(runtime.path());
    const QString datei = runtime.path() + "/debug.txt";
    for (const QDate tag : {QDate(2026, 12, 10), QDate(2026, 12, 9)}) {
        SCOPED_TRACE(tag.toString().toStdString());
        {
            QFile f(datei);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("alte Zeile\r\n");
        }
        TProgInit::Umgebung u = umgebung({"-PROTOKOLL", "-DBUPDATE"});
        u.jetzt = [tag] { return QDateTime(tag, QTime(8, 0)); };
        TProgInit prog(u);
        prog.InitProgramm();
        QFile f(datei);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString inhalt = QString::fromUtf8(f.readAll());
        EXPECT_EQ(inhalt.contains("alte Zeile"), tag.dayOfWeek() != 3);
        EXPECT_TRUE(inhalt.contains("Programmstart"));
    }
    Tools::SetzeProtokollOrdner({});
}

TEST_F(ProgInitTest, NarrowScreenStopsTheStart)
{
    TProgInit::Umgebung u = umgebung({"-DEBUG"});
    u.bildschirmBreite = [] { return 799; };
    TProgInit prog(u);
    MessageBoxScript script;
    script.AnswerWith(Tools::mrOk);
    EXPECT_FALSE(prog.InitProgramm());
    ASSERT_EQ(script.Shown().size(), 1);
    EXPECT_TRUE(script.Shown()[0].text.contains("800 x 600 Bildpunkten"));
    EXPECT_EQ(prog.Abschnitt(), "Bildschirm");
}

TEST_F(ProgInitTest, SwitchesDecideMainWindowAndEnd)
{
    {
        TProgInit prog(umgebung({"/dbupdate"}));
        EXPECT_FALSE(prog.InitProgramm());
        EXPECT_FALSE(prog.ZweiteInstanz());
    }
    {
        TProgInit prog(umgebung({"-Hinweise"}));
        ASSERT_TRUE(prog.InitProgramm());
        EXPECT_FALSE(prog.HauptfensterZeigen());
        ASSERT_TRUE(prog.HauptfensterErzeugen());
        ASSERT_TRUE(prog.InitProgramm2());
        EXPECT_FALSE(prog.Hauptfenster()->isVisible());
        EXPECT_FALSE(prog.StartProgramm());
        prog.DeInitProgramm(false);
    }
    {
        MessageBoxScript script;
        script.AnswerWith(Tools::mrOk);
        TProgInit prog(umgebung({"-UPDATED", "-DEBUG"}));
        ASSERT_TRUE(prog.InitProgramm());
        ASSERT_EQ(script.Shown().size(), 1);
        EXPECT_EQ(script.Shown()[0].text,
                  "Das Update wurde abgeschlossen.\rZR Bovantis wird nun wieder gestartet.");
        EXPECT_TRUE(prog.HauptfensterZeigen());
    }
}

TEST_F(ProgInitTest, SharedControlsFollowTheProgramsTodayAndIniFile)
{
    TProgInit prog(umgebung({"-DEBUG"}));
    ASSERT_TRUE(prog.InitProgramm());
    ProgDatum::HeuteSetzen(QDate(2025, 2, 28));
    EXPECT_EQ(ZRDateTools::Heute(), QDate(2025, 2, 28));
    ProgDatum::HeuteSetzen(QDate());
    EXPECT_EQ(ZRcxGrid::ZRcxGridLayoutIniFile(), Einstellungen()->IniDateipfad());
    EXPECT_TRUE(ZRcxGrid::ZRcxGridLayoutIniFile().startsWith(runtime.path()));
}

TEST_F(ProgInitTest, SplashStaysAtLeastOneSecond)
{
    TProgInit::Umgebung u = umgebung({});
    u.jetzt = [] { return QDateTime::currentDateTime(); };
    TProgInit echt(u);
    // The splash appears inside InitProgramm; the second counts from there.
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(echt.InitProgramm());
    ASSERT_TRUE(echt.HauptfensterErzeugen());
    ASSERT_TRUE(echt.InitProgramm2());
    EXPECT_GE(timer.elapsed(), 950);
    EXPECT_TRUE(echt.Hauptfenster()->isVisible());
    // A new database's appointment list may be open in it ("... - [Fällige Termine]").
    EXPECT_TRUE(echt.Hauptfenster()->windowTitle().startsWith("ZR - Bovantis 3.0"))
        << echt.Hauptfenster()->windowTitle().toStdString();
    echt.DeInitProgramm(true);
}

TEST_F(ProgInitTest, OneInstancePerUser)
{
    {
        TProgInit erste(umgebung({"-DEBUG"}, "anna"));
        ASSERT_TRUE(erste.InitProgramm());
        EXPECT_TRUE(erste.BenutzerMutexGehalten());
        TProgInit zweite(umgebung({"-DEBUG"}, "anna"));
        EXPECT_FALSE(zweite.InitProgramm());
        EXPECT_TRUE(zweite.ZweiteInstanz());
        TProgInit andere(umgebung({"-DEBUG"}, "bernd"));
        EXPECT_TRUE(andere.InitProgramm());
    }
    TProgInit danach(umgebung({"-DEBUG"}, "anna"));
    EXPECT_TRUE(danach.InitProgramm());
}

TEST_F(ProgInitTest, SecondProcessOfTheSameUserEndsAtOnce)
{
    const QString program = QCoreApplication::applicationDirPath() + "/ZR_Bovantis";
    auto start = [&](QProcess& p, const QString& user) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("USERNAME", user);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("XDG_DATA_HOME", runtime.path());
        p.setProcessEnvironment(env);
        p.start(program, {"-DEBUG"});
        ASSERT_TRUE(p.waitForStarted());
    };
    auto waitForLock = [](const QString& name) {
        return QTest::qWaitFor([&] { return platform::InstanceGuard::isHeldByOtherProcess(name); },
                               10000);
    };

    QProcess erste, zweite, andere;
    start(erste, "anna");
    ASSERT_TRUE(waitForLock("ZRBovantisMutexANNA"));

    start(zweite, "anna");
    ASSERT_TRUE(zweite.waitForFinished(10000));
    EXPECT_EQ(zweite.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(zweite.exitCode(), 0);

    start(andere, "Bernd");
    EXPECT_TRUE(waitForLock("ZRBovantisMutexBERND"));
    EXPECT_EQ(andere.state(), QProcess::Running);
    EXPECT_EQ(erste.state(), QProcess::Running);

    for (QProcess* p : {&erste, &andere}) {
        p->terminate();
        if (!p->waitForFinished(5000)) {
            p->kill();
            p->waitForFinished();
        }
    }
}
