#include <DbugIntf.h>
#include <Tools.h>
#include <ZRDebug.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using namespace ZRDebug;

namespace {

// A running viewer that keeps what it gets.
struct Empfangen {
    Tools::TMsgDlgType type;
    QString prefix;
    QString text;
    std::thread::id thread;
};

class MemoryViewer : public DbugIntf::TDebugViewer {
public:
    void Line(Tools::TMsgDlgType type, const QString& prefix, const QString& text) override
    {
        QMutexLocker lock(&mutex);
        lines.push_back({type, prefix, text, std::this_thread::get_id()});
    }
    void Clear() override
    {
        QMutexLocker lock(&mutex);
        ++clears;
    }
    QStringList texts(std::thread::id of = {}) const
    {
        QMutexLocker lock(&mutex);
        QStringList out;
        for (const Empfangen& l : lines) {
            if (of == std::thread::id() || l.thread == of)
                out << l.text;
        }
        return out;
    }

    mutable QMutex mutex;
    std::vector<Empfangen> lines;
    int clears = 0;
};

const QString Trenner = QString(30, QLatin1Char('-'));

class ZRDebugTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Tools::SetzeProtokollOrdner(dir.path());
        DbugIntf::SetDebugFile(QString());
        DbugIntf::SetDebugViewer(viewer);
        SetDebugOptionen(enterExitOhneModul());
    }
    void TearDown() override
    {
        DbugIntf::SetDebugViewer(nullptr);
        DbugIntf::SetDebugFile(QString());
        SetStackQuelle({});
        Tools::SetzeProtokollOrdner(QString());
    }

    // Enter and exit lines on for every unit, without the module (the test program's name).
    static TDebugOptionen enterExitOhneModul()
    {
        TDebugOptionen o;
        o.DisplayEnterExit = true;
        o.DefaultVisible = true;
        o.DisplayModuleName = false;
        return o;
    }

    QByteArray traceFile() const
    {
        QFile f(dir.filePath("debug.txt"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void writeIni(const char* text)
    {
        QFile f(dir.filePath("debug.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QTemporaryDir dir;
    std::shared_ptr<MemoryViewer> viewer = std::make_shared<MemoryViewer>();
};

int zeileInnen = 0;
int zeileAussen = 0;

void innen()
{
    zeileInnen = __LINE__ + 1;
    DebugEnterProc();
    DebugExitProc();
}

void aussen()
{
    zeileAussen = __LINE__ + 1;
    DebugEnterProc();
    innen();
    DebugExitProc();
}

int zeileStapel = 0;

// A frame of the test program's own that no dynamic symbol names.
[[gnu::noinline]] void stapelAufzeichnen()
{
    zeileStapel = __LINE__ + 1;
    DebugCallStack(4, false);
    // Keeps the call from becoming a jump, which would leave this frame off the stack.
    asm volatile("" ::: "memory");
}

QString nr(int line)
{
    return QStringLiteral("%1").arg(line, 4, 10, QLatin1Char('0'));
}

}  // namespace

TEST_F(ZRDebugTest, EnterAndExitLinesNestWithTheirDepth)
{
    aussen();
    const auto at = [](int line) { return QStringLiteral("ZRDebugTest: (") + nr(line); };
    EXPECT_EQ(viewer->texts(),
              (QStringList{Trenner, at(zeileAussen) + QStringLiteral(") >> aussen"),
                           at(zeileInnen) + QStringLiteral(")   >> innen"),
                           at(zeileInnen + 1) + QStringLiteral(")   << innen"),
                           at(zeileAussen + 2) + QStringLiteral(") << aussen")}))
        << viewer->texts().join(QLatin1Char('\n')).toStdString();
    for (const Empfangen& l : viewer->lines)
        EXPECT_EQ(l.type, Tools::mtInformation);

    // With the module, the source name instead of the unit and no line number.
    TDebugOptionen o = enterExitOhneModul();
    o.DisplayModuleName = true;
    o.DisplaySourceName = true;
    o.DisplayLineNumber = false;
    SetDebugOptionen(o);
    viewer->lines.clear();
    innen();
    const QString module = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    EXPECT_EQ(viewer->texts(),
              (QStringList{Trenner, module + QStringLiteral(": ZRDebugTest.cpp: >> innen"),
                           module + QStringLiteral(": ZRDebugTest.cpp: << innen")}));
}

TEST_F(ZRDebugTest, ExitWithoutEnterKeepsTheDepthAtZero)
{
    DebugExitProc();
    DebugExitProc();
    innen();
    const QStringList t = viewer->texts();
    ASSERT_EQ(t.size(), 5);
    EXPECT_TRUE(t[0].endsWith(
        QLatin1String(") << ZRDebugTest_ExitWithoutEnterKeepsTheDepthAtZero_Test::TestBody")));
    EXPECT_TRUE(t[1].endsWith(
        QLatin1String(") << ZRDebugTest_ExitWithoutEnterKeepsTheDepthAtZero_Test::TestBody")));
    EXPECT_EQ(t[2], Trenner);
    EXPECT_TRUE(t[3].endsWith(QLatin1String(") >> innen")));
}

TEST_F(ZRDebugTest, DebugIniDecidesWhatIsWritten)
{
    // Without "debug.ini" enter and exit lines are off; messages always go out.
    SetDebugOptionen(TDebugOptionen::Lesen(dir.filePath("debug.ini")));
    aussen();
    DebugMsg(QStringLiteral("immer"));
    EXPECT_EQ(viewer->texts(), QStringList{QStringLiteral("immer")});

    writeIni(
        "[global]\r\nDisplayEnterExit=1\r\nDefaultVisible=0\r\nDisplayModuleName = 0\r\n"
        "DisplayLineNumber=nein\r\nDisplayLineNumber=0\r\n"
        "[Visible]\r\nzrdebugtest= 1 \r\nTools=0\r\n");
    const TDebugOptionen o = TDebugOptionen::Lesen(dir.filePath("debug.ini"));
    EXPECT_TRUE(o.DisplayEnterExit);
    EXPECT_FALSE(o.DisplayModuleName);
    EXPECT_TRUE(o.DisplayLineNumber);  // not an integer: the default; the repeated key is ignored
    EXPECT_TRUE(o.Sichtbar(QStringLiteral("ZRDebugTest")));
    EXPECT_FALSE(o.Sichtbar(QStringLiteral("Tools")));
    EXPECT_FALSE(o.Sichtbar(QStringLiteral("ProgInit")));

    SetDebugOptionen(o);
    viewer->lines.clear();
    innen();
    EXPECT_EQ(viewer->texts().size(), 3);

    // An invisible unit writes nothing, but its depth still counts.
    TDebugOptionen hidden = o;
    hidden.Visible = {{QStringLiteral("zrdebugtest"), QStringLiteral("0")}};
    SetDebugOptionen(hidden);
    viewer->lines.clear();
    DebugEnterProc();
    SetDebugOptionen(o);
    innen();
    SetDebugOptionen(hidden);
    DebugExitProc();
    EXPECT_EQ(viewer->texts(), (QStringList{QStringLiteral("ZRDebugTest: (") + nr(zeileInnen) +
                                                QStringLiteral(")   >> innen"),
                                            QStringLiteral("ZRDebugTest: (") + nr(zeileInnen + 1) +
                                                QStringLiteral(")   << innen")}));
}

TEST_F(ZRDebugTest, MessagesOfAllKinds)
{
    DebugMsgs({QStringLiteral("eins"), QStringLiteral("zwei")});
    DebugMsgFmt(QStringLiteral("%d Tiere, %.1f l"), {3, 12.25});
    DebugMsgFmt(QStringLiteral("%d"), {QStringLiteral("kein Zahl")});  // never throws
    DebugBool(QStringLiteral("Fertig"), true);
    DebugMsgProc(QStringLiteral("Hallo"));
    DebugMsgProc();
    DbugIntf::SendInteger(QStringLiteral("Anzahl"), -4);
    DbugIntf::SendDateTime(QStringLiteral("Am"), QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
    const QStringList t = viewer->texts();
    ASSERT_EQ(t.size(), 9);
    EXPECT_EQ(t[0], QStringLiteral("eins"));
    EXPECT_EQ(t[1], QStringLiteral("zwei"));
    EXPECT_EQ(t[2], QStringLiteral("3 Tiere, 12,3 l"));
    EXPECT_TRUE(t[3].contains(QLatin1String("'%d'"))) << t[3].toStdString();
    EXPECT_EQ(t[4], QStringLiteral("Fertig= True"));
    EXPECT_EQ(t[5], QStringLiteral("ZRDebugTest_MessagesOfAllKinds_Test::TestBody: Hallo"));
    EXPECT_EQ(t[6], QStringLiteral("ZRDebugTest_MessagesOfAllKinds_Test::TestBody"));
    EXPECT_EQ(t[7], QStringLiteral("Anzahl = -4"));
    EXPECT_EQ(t[8], QStringLiteral("Am=04.03.2026 05:06:07"));

    // The viewer's indentation prefix follows method enter and exit.
    viewer->lines.clear();
    DbugIntf::SendMethodEnter(QStringLiteral("Laden"));
    DbugIntf::SendDebug(QStringLiteral("innen"));
    DbugIntf::SendMethodExit(QStringLiteral("Laden"));
    DbugIntf::SendDebug(QStringLiteral("aussen"));
    ASSERT_EQ(viewer->lines.size(), 4u);
    EXPECT_EQ(viewer->lines[0].text, QStringLiteral("Entering Laden"));
    EXPECT_EQ(viewer->lines[0].prefix, QStringLiteral("    "));
    EXPECT_EQ(viewer->lines[1].prefix, QStringLiteral("    "));
    EXPECT_EQ(viewer->lines[2].text, QStringLiteral("Exiting Laden"));
    EXPECT_EQ(viewer->lines[2].prefix, QStringLiteral("    "));
    EXPECT_EQ(viewer->lines[3].prefix, QString());
}

TEST_F(ZRDebugTest, ProcedureNamesFromSignatures)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"bool TProgInit::InitProgramm()", "TProgInit::InitProgramm"},
        {"TProgInit::Umgebung TProgInit::StandardUmgebung()", "TProgInit::StandardUmgebung"},
        {"void {anonymous}::innen()", "innen"},
        {"(anonymous namespace)::innen()", "innen"},
        {"virtual void A::B<std::pair<int, int> >::f(int) const", "A::B<std::pair<int, int> >::f"},
        {"void f(T) [with T = int]", "f"},
        {"TProgInit::Ausfuehren()::<lambda()>", "TProgInit::Ausfuehren"},
        {"bool A::operator()(int)", "A::operator()"},
        {"main", "main"},
        {"", ""}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ProzedurName(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
}

TEST_F(ZRDebugTest, CallStackSkipsLibraryFramesThatStillCount)
{
    const TCodeOrt libc{QStringLiteral("/lib/x86_64-linux-gnu/libc.so.6"),
                        {},
                        {},
                        0,
                        QStringLiteral("__libc_start_main")};
    const TCodeOrt qt{QStringLiteral("/usr/lib/libQt6Widgets.so.6"),
                      QStringLiteral("x"),
                      {},
                      0,
                      QStringLiteral("QWidget::event")};
    const TCodeOrt std{QStringLiteral("/work/bin/ZR_Bovantis"),
                       QStringLiteral("ZR_Bovantis"),
                       {},
                       0,
                       QStringLiteral("std::function<void ()>::operator()")};
    const TCodeOrt own{QStringLiteral("/work/bin/ZR_Bovantis"),
                       QStringLiteral("ProgInit"),
                       {},
                       42,
                       QStringLiteral("TProgInit::InitProgramm")};

    SetStackQuelle([&] { return std::vector<TCodeOrt>(10, libc); });
    DebugCallStack(10, true);
    EXPECT_EQ(viewer->texts(), (QStringList{Trenner, QStringLiteral("CallStack:"), Trenner}));

    SetStackQuelle([&] { return std::vector<TCodeOrt>{qt, own, std, own, own}; });
    viewer->lines.clear();
    DebugCallStack(4, true);
    EXPECT_EQ(viewer->texts(),
              (QStringList{Trenner, QStringLiteral("CallStack:"),
                           QStringLiteral("ProgInit   42:  TProgInit::InitProgramm"),
                           QStringLiteral("ProgInit   42:  TProgInit::InitProgramm"), Trenner}));
    viewer->lines.clear();
    DebugCallStack(2, false);
    EXPECT_EQ(viewer->texts()[2], QStringLiteral("x   0:  QWidget::event"));
    EXPECT_EQ(viewer->texts().size(), 5);

    // The real stack of this thread: at most Count frames in the line format.
    SetStackQuelle({});
    viewer->lines.clear();
    DebugCallStack(3, false);
    const QStringList t = viewer->texts();
    ASSERT_GE(t.size(), 3);
    EXPECT_LE(t.size(), 6);
    for (int i = 2; i + 1 < t.size(); ++i)
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\S*   \\d+:  .*$")).match(t[i]).hasMatch())
            << t[i].toStdString();
}

TEST_F(ZRDebugTest, CallStackNamesTheProgramsOwnFunctions)
{
    SetDebugFile(false);
    stapelAufzeichnen();
    const QString erwartet =
        QStringLiteral("ZRDebugTest   %1:  stapelAufzeichnen").arg(zeileStapel);
    const QStringList texts = viewer->texts();
    ASSERT_GE(texts.size(), 3);
    EXPECT_EQ(texts[2].toStdString(), erwartet.toStdString())
        << texts.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QString::fromUtf8(traceFile()).contains(erwartet + QLatin1String("\r\n")))
        << traceFile().toStdString();
    // The test body that called it is named too, though none of its symbols is exported.
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const QString& t) {
        return t.startsWith(QLatin1String("ZRDebugTest   ")) &&
               t.contains(QLatin1String("CallStackNamesTheProgramsOwnFunctions"));
    })) << texts.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ZRDebugTest, TraceFileLinesAndClear)
{
    DebugMsg(QStringLiteral("ohne Datei"));
    EXPECT_FALSE(QFile::exists(dir.filePath("debug.txt")));

    SetDebugFile(false);
    EXPECT_EQ(DbugIntf::DebugFile(), dir.filePath("debug.txt"));
    DebugMsg(QStringLiteral("A\r\nB"));
    DebugMsg(QStringLiteral("C\nD\rE"));
    DebugMsg(QStringLiteral("\x03"));  // a text like any other, not the clear command
    const QString stamp = QStringLiteral("\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d ");
    const QString text = QString::fromUtf8(traceFile());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^") + stamp + QStringLiteral("A\r\n {20}B\r\n") +
                                   stamp + QStringLiteral("C\r\n {20}D\r\n {20}E\r\n") + stamp +
                                   QStringLiteral("\x03\r\n$"))
                    .match(text)
                    .hasMatch())
        << text.toStdString();
    EXPECT_EQ(viewer->texts().last(), QStringLiteral("\x03"));
    EXPECT_EQ(viewer->clears, 0);

    DebugClear();
    EXPECT_FALSE(QFile::exists(dir.filePath("debug.txt")));
    EXPECT_EQ(viewer->clears, 1);
    DebugMsg(QStringLiteral("wieder"));
    EXPECT_TRUE(traceFile().endsWith("wieder\r\n"));
    EXPECT_EQ(traceFile().count('\n'), 1);

    // A trace file that cannot be written is skipped without a word to the caller.
    DbugIntf::SetDebugFile(QStringLiteral("/dev/full"));
    EXPECT_NO_THROW(DebugMsg(QStringLiteral("voll")));
    DbugIntf::SetDebugFile(dir.filePath("fehlt/debug.txt"));
    EXPECT_NO_THROW(DebugMsg(QStringLiteral("nirgends")));
    EXPECT_EQ(viewer->texts().last(), QStringLiteral("nirgends"));
}

TEST_F(ZRDebugTest, NoViewerMeansTheFileOnly)
{
    DbugIntf::SetDebugViewer(nullptr);
    EXPECT_EQ(DbugIntf::StartDebugWin(), nullptr);
    SetDebugFile(false);
    DebugMsg(QStringLiteral("nur Datei"));
    EXPECT_TRUE(traceFile().endsWith("nur Datei\r\n"));
    // A viewer the user starts later is used.
    DbugIntf::SetDebugViewer(viewer);
    DebugMsg(QStringLiteral("beides"));
    EXPECT_EQ(viewer->texts(), QStringList{QStringLiteral("beides")});
}

TEST_F(ZRDebugTest, ThreadsKeepTheirOwnDepth)
{
    SetDebugFile(false);
    auto work = [] {
        for (int i = 0; i < 50; ++i) {
            DebugEnterProc();
            aussen();
            DebugExitProc();
        }
    };
    std::thread t1(work);
    std::thread t2(work);
    const auto id1 = t1.get_id();
    const auto id2 = t2.get_id();
    t1.join();
    t2.join();
    for (const auto id : {id1, id2}) {
        const QStringList lines = viewer->texts(id);
        ASSERT_EQ(lines.size(), 50 * 7);
        for (int i = 0; i < 50; ++i) {
            EXPECT_TRUE(lines[7 * i].startsWith(QLatin1String("---")));
            EXPECT_TRUE(lines[7 * i + 1].contains(QLatin1String(") >> ")));
            EXPECT_TRUE(lines[7 * i + 2].endsWith(QLatin1String(")   >> aussen")));
            EXPECT_TRUE(lines[7 * i + 3].endsWith(QLatin1String(")     >> innen")));
            EXPECT_TRUE(lines[7 * i + 4].endsWith(QLatin1String(")     << innen")));
            EXPECT_TRUE(lines[7 * i + 5].endsWith(QLatin1String(")   << aussen")));
            EXPECT_TRUE(lines[7 * i + 6].contains(QLatin1String(") << ")));
        }
    }
    // Every line reached the file whole: 2 threads x 50 x 7 lines, each with its time stamp.
    const QList<QByteArray> fileLines = traceFile().split('\n');
    EXPECT_EQ(fileLines.size(), 2 * 50 * 7 + 1);
    for (int i = 0; i + 1 < fileLines.size(); ++i)
        EXPECT_TRUE(fileLines[i].endsWith('\r') && fileLines[i].size() > 21);
}
