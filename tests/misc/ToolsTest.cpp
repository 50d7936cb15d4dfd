#include <Tools.h>
#include <ToolsGui.h>

#include <ScopedEnv.h>
#include <TestProtokoll.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcessEnvironment>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <numbers>

using namespace Tools;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(Tools, TextRoutines)
{
    EXPECT_EQ(GetStrValue(3, QStringLiteral("ab")), QStringLiteral("ababab"));
    EXPECT_EQ(GetStrValue(0, QStringLiteral("ab")), QString());
    EXPECT_EQ(GetStrValue(-2, QStringLiteral("ab")), QString());

    EXPECT_EQ(Copyex(QStringLiteral("Kalbung"), 3), QStringLiteral("lbung"));
    EXPECT_EQ(Copyex(QStringLiteral("Kalbung"), 0), QStringLiteral("Kalbung"));
    EXPECT_EQ(Copyex(QStringLiteral("Kalbung"), 8), QString());
    EXPECT_EQ(Copyex(QStringLiteral("Kalbung"), 100), QString());

    QString s = QStringLiteral("Kuh kuh Kuh");
    EXPECT_EQ(Replace(QStringLiteral("Kuh"), QStringLiteral("Rind"), s),
              QStringLiteral("Rind kuh Rind"));
    EXPECT_EQ(s, QStringLiteral("Rind kuh Rind"));
    QString unchanged = QStringLiteral("abc");
    EXPECT_EQ(Replace(QString(), QStringLiteral("x"), unchanged), QStringLiteral("abc"));

    EXPECT_EQ(LangString(QStringLiteral("ab"), 4), QStringLiteral("ab  "));
    EXPECT_EQ(LangString(QStringLiteral("abcdef"), 4), QStringLiteral("abcd"));
    EXPECT_EQ(LangString(QStringLiteral("ab"), 0), QString());

    struct FillCase {
        const char* s;
        int width;
        const char* fill;
        bool leftAligned;
        const char* expected;
    };
    // A fill of several characters is repeated whole, once per missing character.
    const std::vector<FillCase> fills = {
        {"7", 3, "0", false, "007"},       {"7", 3, ".", true, "7.."},
        {"12345", 3, "0", false, "12345"}, {"7", 3, "  ", false, "    7"},
        {"7", 3, "ab", true, "7abab"},     {"abc", 3, "  ", false, "abc"},
        {"7", 3, "", false, "7"},
    };
    for (const FillCase& c : fills)
        EXPECT_EQ(FormatString(QString::fromLatin1(c.s), c.width, QString::fromLatin1(c.fill),
                               c.leftAligned),
                  QString::fromLatin1(c.expected))
            << c.s << " " << c.width << " '" << c.fill << "'";

    EXPECT_EQ(GetZeilenzahl(QString()), 1);
    EXPECT_EQ(GetZeilenzahl(QStringLiteral("a\rb\r\nc")), 3);
    EXPECT_EQ(GetZeilenzahl(QStringLiteral("a\nb")), 1);

    struct CharCase {
        const char* text;
        bool ziffern;
        bool buchstaben;
        bool mitUmlauten;
    };
    const std::vector<CharCase> cases = {
        {"", true, true, true},
        {"0123456789", true, false, false},
        {"12a", false, false, false},
        {"Mueller", false, true, true},
        {"M\xC3\xBCller", false, false, false},  // lower-case ü: only a-z are upper-cased
        {"M\xC3\x9CLLER", false, false, true},
        {"STRA\xC3\x9F"
         "E",
         false, false, true},
        {"AB CD", false, false, false},
        {"\xD9\xA3", false, false, false},  // an Arabic-Indic digit is no digit 0-9
    };
    for (const CharCase& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(nurZiffern(text), c.ziffern) << c.text;
        EXPECT_EQ(nurChar(text, false), c.buchstaben) << c.text;
        EXPECT_EQ(nurChar(text, true), c.mitUmlauten) << c.text;
    }
}

TEST(Tools, NumbersInTheGermanManner)
{
    EXPECT_EQ(FormatZahl(7u, 3, QStringLiteral("0")), QStringLiteral("007"));
    EXPECT_EQ(FormatZahl(12345u, 3, QStringLiteral("0")), QStringLiteral("12345"));
    EXPECT_EQ(FormatZahl(4294967295u, 0, QStringLiteral(" ")), QStringLiteral("4294967295"));
    EXPECT_EQ(FormatZahl(42u, 4, QStringLiteral("  ")), QStringLiteral("    42"));
    EXPECT_EQ(FormatZahl(3.14159L, 6, 2, QStringLiteral("  ")), QStringLiteral("    3,14"));

    struct FloatCase {
        long double value;
        int width;
        int decimals;
        const char* expected;
    };
    const std::vector<FloatCase> floats = {
        {3.14159L, 6, 2, "  3,14"},
        {-0.5L, 0, 1, "-0,5"},
        {2.675L, 0, 2, "2,68"},  // halves of the decimal digits go up
        {0.125L, 0, 2, "0,13"},
        {9.995L, 0, 2, "10,00"},
        {0.5L, 0, 0, "1"},
        {-2.5L, 0, 0, "-3"},
        {-0.001L, 0, 1, "0,0"},
        {0.0L, 3, 0, "  0"},
        {1e-20L, 0, 2, "0,00"},
        {1234567.891L, 0, 1, "1234567,9"},
        {1e20L, 0, 0, "100000000000000000000"},
    };
    for (const FloatCase& c : floats)
        EXPECT_EQ(FormatZahl(c.value, c.width, c.decimals, QStringLiteral(" ")),
                  QString::fromLatin1(c.expected))
            << double(c.value);

    const std::vector<std::pair<std::int32_t, const char*>> ints = {
        {0, "0"},
        {999, "999"},
        {1000, "1.000"},
        {-123456, "-123.456"},
        {1234567, "1.234.567"},
        {-2147483647 - 1, "-2.147.483.648"}};
    for (const auto& [value, expected] : ints)
        EXPECT_EQ(FormatInt(value), QString::fromLatin1(expected)) << value;

    const std::vector<std::pair<int, const char*>> romans = {
        {0, ""},       {-5, ""},    {1, "I"},          {4, "IV"},
        {49, "XLIX"},  {900, "CM"}, {1994, "MCMXCIV"}, {3999, "MMMCMXCIX"},
        {4000, "MMMM"}};
    for (const auto& [value, expected] : romans)
        EXPECT_EQ(IntToRome(value), QString::fromLatin1(expected)) << value;
}

TEST(Tools, ConversionsWithDefault)
{
    const long double def = -99;
    const std::vector<std::pair<const char*, long double>> cases = {
        {"1,5", 1.5L}, {" 2,25 ", 2.25L}, {"-0,5", -0.5L}, {"+3", 3},   {"1,5e3", 1500},
        {"42", 42},    {"1.5", def},      {"1,5x", def},   {"", def},   {"abc", def},
        {"inf", def},  {"nan", def},      {"1,2,3", def},  {"--1", def}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(StrToFloatDef(QString::fromLatin1(text), def), expected) << text;

    const std::vector<std::tuple<const char*, int, std::int32_t>> fakt = {
        {"1,5", 100, 150}, {"1.5", 100, 150}, {"-1,999", 1, -1}, {"2,675", 100, 267},
        {"x", 10, 0},      {"", 10, 0},       {"1e20", 100, 0}};
    for (const auto& [text, factor, expected] : fakt)
        EXPECT_EQ(GetFaktWert(QString::fromLatin1(text), factor), expected) << text;

    long double x = 1.25L;
    IncExt(x, 0.5L);
    EXPECT_EQ(x, 1.75L);
}

TEST(Tools, RoundHalfToEvenAndMulDivHalfAwayFromZero)
{
    const std::vector<std::pair<long double, std::int64_t>> rounds = {
        {0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {-0.5L, 0}, {-1.5L, -2}, {2.4L, 2}, {-2.6L, -3}};
    for (const auto& [value, expected] : rounds)
        EXPECT_EQ(Round(value), expected) << double(value);
    EXPECT_THROW(Round(1e30L), std::range_error);
    EXPECT_THROW(Round(std::numeric_limits<long double>::quiet_NaN()), std::range_error);

    const std::vector<std::tuple<int, int, int, int>> muldivs = {{5, 3, 2, 8},
                                                                 {-5, 3, 2, -8},
                                                                 {5, -3, -2, 8},
                                                                 {10, 10, 3, 33},
                                                                 {1, 1, 0, -1},
                                                                 {2147483647, 2, 1, -1},
                                                                 {2147483647, 2, 2, 2147483647},
                                                                 {7, 1, 2, 4},
                                                                 {-7, 1, 2, -4}};
    for (const auto& [a, b, c, expected] : muldivs)
        EXPECT_EQ(MulDiv(a, b, c), expected) << a << "*" << b << "/" << c;
}

TEST(Tools, RoundIsHalfToEvenInEveryRoundingMode)
{
    // A library may leave another rounding mode set; Round must not follow it.
    struct ModusZurueck {
        int alt = std::fegetround();
        ~ModusZurueck() { std::fesetround(alt); }
    } zurueck;
    const std::vector<std::pair<long double, std::int64_t>> rounds = {
        {0.5L, 0},
        {1.5L, 2},
        {2.5L, 2},
        {-0.5L, 0},
        {-1.5L, -2},
        {-2.5L, -2},
        {2.4L, 2},
        {2.6L, 3},
        {-2.4L, -2},
        {-2.6L, -3},
        {0.49999999999999999L, 0},
        {7.0L, 7},
        {-7.0L, -7},
        {4611686018427387903.5L, 4611686018427387904},
        {-4611686018427387904.5L, -4611686018427387904}};
    for (const auto& [modus, name] :
         std::vector<std::pair<int, const char*>>{{FE_TONEAREST, "zum Nächsten"},
                                                  {FE_UPWARD, "aufwärts"},
                                                  {FE_DOWNWARD, "abwärts"},
                                                  {FE_TOWARDZERO, "zur Null"}}) {
        ASSERT_EQ(std::fesetround(modus), 0) << name;
        for (const auto& [value, expected] : rounds)
            EXPECT_EQ(Round(value), expected) << name << ": " << double(value);
        EXPECT_THROW(Round(std::numeric_limits<long double>::infinity()), std::range_error) << name;
    }
}

TEST(Tools, RangesClampUpperFirst)
{
    EXPECT_EQ(GetInBereich(0, 14, 20), 14);
    EXPECT_EQ(GetInBereich(5, 1, 3), 5);
    EXPECT_EQ(GetInBereich(5, 1, -100), 5);
    EXPECT_EQ(GetInBereich(std::int64_t(-10), std::int64_t(10), std::int64_t(-11)), -10);
    EXPECT_EQ(GetInBereich(0.0f, 1.0f, 0.5f), 0.5f);
    EXPECT_EQ(GetInBereich(0.0, 1.0, 1.5), 1.0);
    EXPECT_EQ(GetInBereich(2.0L, 1.0L, 1.5L), 2.0L);

    EXPECT_TRUE(IsInBereich(1, 10, 10));
    EXPECT_TRUE(IsInBereich(1, 10, 1));
    EXPECT_FALSE(IsInBereich(1, 10, 11));
    EXPECT_FALSE(IsInBereich(5, 1, 3));
    EXPECT_TRUE(IsInBereich(std::int64_t(1) << 40, std::int64_t(1) << 41, std::int64_t(1) << 40));
    EXPECT_FALSE(IsInBereich(0.0f, 1.0f, 1.0001f));
    EXPECT_TRUE(IsInBereich(0.0, 1.0, 1.0));
    EXPECT_FALSE(IsInBereich(0.0L, 1.0L, -0.1L));
}

TEST(Tools, FilesFoldersAndPrograms)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeFile(dir.filePath("kurz.zip"), QByteArray("PK\x03", 3));
    writeFile(dir.filePath("echt.zip"), QByteArray("PK\x03\x04rest", 8));
    writeFile(dir.filePath("falsch.zip"), QByteArray("PK\x03\x05", 4));
    EXPECT_FALSE(TestZipDatei(dir.filePath("kurz.zip")));
    EXPECT_TRUE(TestZipDatei(dir.filePath("echt.zip")));
    EXPECT_FALSE(TestZipDatei(dir.filePath("falsch.zip")));
    EXPECT_FALSE(TestZipDatei(dir.filePath("fehlt.zip")));

    for (const char* sub : {"b", "A", "c", ".versteckt"})
        ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromLatin1(sub)));
    QStringList list{QStringLiteral("alt")};
    GetVerzeichnisse(dir.path() + QLatin1Char('/'), list);
    EXPECT_EQ(list, (QStringList{"A", "b", "c"}));

    // Our own binaries carry their version; foreign and missing files are unknown.
    const QString own = GetFileVersion(QCoreApplication::applicationFilePath());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+( \\(\\d+\\))?$"))
                    .match(own)
                    .hasMatch())
        << own.toStdString();
    EXPECT_EQ(GetFileVersion(dir.filePath("echt.zip")), QStringLiteral("unbekannt"));
    EXPECT_EQ(GetFileVersion(QStringLiteral("/bin/sh")), QStringLiteral("unbekannt"));
    EXPECT_EQ(GetFileVersion(dir.filePath("fehlt")), QStringLiteral("unbekannt"));
    EXPECT_EQ(GetFileVersion(dir.path()), QStringLiteral("unbekannt"));

    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\S+ Version \\d+\\.\\d+ \\(Build \\d+: .*\\)$"))
            .match(GetOSVersion())
            .hasMatch())
        << GetOSVersion().toStdString();
    EXPECT_TRUE(WindowsDirectory().endsWith(QLatin1Char('/')));

    EXPECT_GT(
        ProgrammStarten(QStringLiteral("/bin/true"), QStringLiteral("-x \"a b\""), dir.path()), 32);
    EXPECT_LE(ProgrammStarten(dir.filePath("gibtesnicht")), 32);
    EXPECT_LE(ProgrammStarten(QString()), 32);
}

TEST(Tools, ProtokollAppendsAndNeverEmptiesTheFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SetzeProtokollOrdner(dir.path());
    const QString file = dir.filePath("debug.txt");

    Protokollieren = false;
    EXPECT_FALSE(Protokoll(QStringLiteral("still"), true));
    EXPECT_FALSE(QFile::exists(file));

    Protokollieren = true;
    EXPECT_TRUE(Protokoll(QStringLiteral("erste"), true));
    EXPECT_TRUE(Protokoll(QStringLiteral("A\r\nB\n\rC\nD"), false));
    const QString text = QString::fromUtf8(readFile(file));
    const QString stamp = QStringLiteral("\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d ");
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^") + stamp + QStringLiteral("erste\r\n") +
                                   stamp + QStringLiteral("A\r\n {20}B\r\n {20}C\r\n {20}D\r\n$"))
                    .match(text)
                    .hasMatch())
        << text.toStdString();

    // New starts the file anew.
    EXPECT_TRUE(Protokoll(QStringLiteral("neu"), true));
    EXPECT_TRUE(readFile(file).endsWith("neu\r\n"));
    EXPECT_EQ(readFile(file).count('\n'), 1);

    // A file that cannot be appended to keeps its lines and the call does not throw.
    if (::geteuid() != 0) {
        const QByteArray before = readFile(file);
        QFile::setPermissions(file, QFileDevice::ReadOwner);
        EXPECT_FALSE(Protokoll(QStringLiteral("verloren"), false));
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        EXPECT_EQ(readFile(file), before);
    }
    SetzeProtokollOrdner(dir.filePath("gibtesnicht"));
    EXPECT_FALSE(Protokoll(QStringLiteral("nirgends"), false));

    Protokollieren = false;
    SetzeProtokollOrdner(QString());
}

TEST(Tools, ProtokollOrdnerFromTheEnvironment)
{
    QTemporaryDir umgebung, gesetzt;
    ASSERT_TRUE(umgebung.isValid() && gesetzt.isValid());
    ScopedEnv variable(ProtokollOrdnerVariable, QFile::encodeName(umgebung.path()));
    EXPECT_EQ(ProtokollOrdner(), umgebung.path());
    Protokollieren = true;
    EXPECT_TRUE(Protokoll(QStringLiteral("hier"), true));
    Protokollieren = false;
    EXPECT_TRUE(readFile(umgebung.filePath("debug.txt")).endsWith("hier\r\n"));
    // A folder set by the program itself comes first.
    SetzeProtokollOrdner(gesetzt.path());
    EXPECT_EQ(ProtokollOrdner(), gesetzt.path());
    SetzeProtokollOrdner(QString());
    EXPECT_EQ(ProtokollOrdner(), umgebung.path());
}

TEST(Tools, TestsKeepTheirTraceOutOfTheBuild)
{
    ScopedEnv ohne(ProtokollOrdnerVariable, QByteArray());
    const QString ordner = ProtokollInTempOrdner();
    EXPECT_TRUE(QFileInfo(ordner).isDir());
    EXPECT_NE(QFileInfo(ordner).canonicalFilePath(),
              QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath());
    EXPECT_EQ(ProtokollOrdner(), ordner);
    // Programs the tests start inherit the folder.
    EXPECT_EQ(QProcessEnvironment::systemEnvironment().value(
                  QString::fromLatin1(ProtokollOrdnerVariable)),
              ordner);
    // Called again (by a test after the test program's start), it keeps the folder of the run.
    EXPECT_EQ(ProtokollInTempOrdner(), ordner);
}

TEST(Tools, ArcNormalisesByAFullTurn)
{
    const long double pi = std::numbers::pi_v<long double>;
    const QPoint c(0, 0);
    const QSize r(10, 10);

    const TPoints quarter = MyArc(c, r, 0, pi / 2);
    ASSERT_GE(quarter.size(), 46u);
    ASSERT_LE(quarter.size(), 47u);
    EXPECT_EQ(quarter.front(), QPoint(10, 0));
    EXPECT_EQ(quarter.back(), QPoint(0, 10));
    EXPECT_EQ(quarter[15], QPoint(9, 5));  // 30 degrees

    EXPECT_EQ(MyArc(c, r, 1, 1).size(), 1u);
    // 270 degrees is -90 degrees (straight up on the screen), not +90.
    EXPECT_EQ(MyArc(QPoint(50, 50), r, 3 * pi / 2, 3 * pi / 2), (TPoints{QPoint(50, 40)}));
    EXPECT_EQ(MyArc(QPoint(50, 50), r, 5 * pi / 2, 5 * pi / 2), (TPoints{QPoint(50, 60)}));
    // Start after end runs on clockwise through the full turn: 90 degrees to 360.
    const TPoints back = MyArc(QPoint(100, 50), QSize(20, 10), pi / 2, 0);
    EXPECT_EQ(back.front(), QPoint(100, 60));
    EXPECT_EQ(back.back(), QPoint(120, 50));
    EXPECT_GE(back.size(), 136u);
    EXPECT_LE(back.size(), 137u);
}

namespace {

// MyArc of the angles, run in a child process so that an endless loop fails the test after a
// few seconds instead of hanging it. The child reports the point count, or -1 for a point off
// the ellipse.
long arcPunkteImKind(long double start, long double end)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return -2;
    const pid_t kind = ::fork();
    if (kind == 0) {
        ::close(pipeFds[0]);
        ::alarm(5);
        const TPoints points = MyArc(QPoint(100, 100), QSize(30, 20), start, end);
        long n = long(points.size());
        for (const QPoint& p : points) {
            if (std::abs(p.x() - 100) > 30 || std::abs(p.y() - 100) > 20)
                n = -1;
        }
        const bool written = ::write(pipeFds[1], &n, sizeof n) == sizeof n;
        ::_exit(written ? 0 : 1);
    }
    ::close(pipeFds[1]);
    long n = -2;
    if (kind < 0 || ::read(pipeFds[0], &n, sizeof n) != sizeof n)
        n = -2;
    ::close(pipeFds[0]);
    int status = 0;
    if (kind > 0)
        ::waitpid(kind, &status, 0);
    return n;
}

}  // namespace

TEST(Tools, ArcOfUnusableAnglesReturnsAtOnce)
{
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double max = std::numeric_limits<long double>::max();
    struct ArcCase {
        long double start;
        long double end;
        long minPunkte;  // -2: the child hung or died
        long maxPunkte;
    };
    // One turn has 181 points at most (one per 2 degrees and the end point).
    const std::vector<ArcCase> cases = {{nan, 1, 0, 0},          {0, nan, 0, 0},
                                        {nan, nan, 0, 0},        {inf, 0, 0, 0},
                                        {0, -inf, 0, 0},         {-inf, inf, 0, 0},
                                        {1e30L, 0, 1, 182},      {0, -1e30L, 1, 182},
                                        {max, -max, 1, 182},     {1e19L, 1e19L + 1, 1, 182},
                                        {1e6L, 1e6L + 1, 1, 182}};
    for (const ArcCase& c : cases) {
        const long n = arcPunkteImKind(c.start, c.end);
        EXPECT_GE(n, c.minPunkte) << double(c.start) << " .. " << double(c.end);
        EXPECT_LE(n, c.maxPunkte) << double(c.start) << " .. " << double(c.end);
    }
}

TEST(Tools, SplinesSampleElevenPointsPerSegment)
{
    const TPoints line = SplinePunkte({{0, 0}, {10, 10}, {20, 20}}, 3, 1000);
    ASSERT_EQ(line.size(), 22u);
    EXPECT_EQ(line.front(), QPoint(0, 0));
    EXPECT_EQ(line.back(), QPoint(20, 20));
    for (const QPoint& p : line)
        EXPECT_EQ(p.x(), p.y());
    for (const QPoint& p : SplinePunkte({{0, 0}, {10, 10}, {20, 20}}, 3, 15))
        EXPECT_LE(p.y(), 15);
    // Count beyond the points is limited to them; fewer than two draw nothing.
    EXPECT_EQ(SplinePunkte({{0, 0}, {10, 10}}, 5, 100).size(), 11u);
    EXPECT_TRUE(SplinePunkte({{0, 0}, {10, 10}}, 1, 100).empty());
    // The inner tangent (200, 0) is shortened to (50, 0): at t = 0.5 x = 100 - 50 / 8.
    EXPECT_EQ(SplinePunkte({{0, 0}, {200, 0}, {400, 0}}, 3, 100)[5], QPoint(94, 0));

    TPointsArray lines{{QPoint(1, 1)}};
    Spline2({ExPoint(0, 0), ExPoint(10, 0)}, 100, -100, lines);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].size(), 11u);
    EXPECT_EQ(lines[0].back(), QPoint(10, 0));

    // The steep tangent (1, 10) is flattened to (0.1, 1): at t = 0.5 y = 5 - 1 / 8.
    Spline2({ExPoint(0, 0), ExPoint(1, 10), ExPoint(2, 20)}, 100, -100, lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0][5].y(), 4);

    Spline2({ExPoint(0, 0), ExPoint(10, 100)}, 50, -100, lines);
    for (const QPoint& p : lines[0])
        EXPECT_LE(p.y(), 50);

    // A run below MinY: one line down to MinY, then single points on MinY.
    Spline2({ExPoint(0, 10), ExPoint(100, -10), ExPoint(200, 10)}, 100, 0, lines);
    ASSERT_GT(lines.size(), 2u);
    int singles = 0;
    for (const TPoints& l : lines) {
        for (const QPoint& p : l)
            EXPECT_GE(p.y(), 0);
        singles += l.size() == 1 ? 1 : 0;
    }
    EXPECT_GT(singles, 0);
    EXPECT_EQ(lines.front().front(), QPoint(0, 10));
}

TEST(Tools, SplineDrawsOnAPainter)
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setPen(Qt::black);
        Spline(painter, {{0, 0}, {20, 20}, {39, 39}}, 3, 100);
    }
    EXPECT_EQ(image.pixelColor(20, 20), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(30, 5), QColor(Qt::white));
}

TEST(Tools, TelephoneNumbers)
{
    const std::vector<std::pair<const char*, const char*>> solid = {
        {"+49 (171) 123-45/6", "0049171123456"}, {" 0171 / 22 ", "017122"}, {"", ""}};
    for (const auto& [in, out] : solid)
        EXPECT_EQ(GetSolidFonNumber(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;

    struct TidyCase {
        const char* in;
        int maxLen;
        const char* tidy;
        const char* solid;
    };
    const std::vector<TidyCase> cases = {
        {"012/345", 30, "0 12 / 3 45", "012345"},
        {"0171 1234567", 30, "0 17 11 23 45 67", "01711234567"},
        {"0171 1234567", 12, "0 1711234567", "01711234567"},
        {"0171 1234567", 0, "01711234567", "01711234567"},
        {" (0)171-22 ", 30, "(0) 1 71 - 22", "017122"},
        {"+49 171", 30, "+ 4 91 71", "0049171"},
        {" Tel. 0171 ", 30, "Tel. 0171", "Tel. 0171"},
    };
    for (const TidyCase& c : cases) {
        QString s;
        EXPECT_EQ(TidyFonNumber(QString::fromLatin1(c.in), c.maxLen, s),
                  QString::fromLatin1(c.tidy))
            << c.in;
        EXPECT_EQ(s, QString::fromLatin1(c.solid)) << c.in;
    }
}

TEST(Tools, EnterMovesTheFocusOn)
{
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* a = new QLineEdit(&form);
    auto* b = new QLineEdit(&form);
    auto* c = new QLineEdit(&form);
    for (QLineEdit* e : {a, b, c})
        layout->addWidget(e);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    a->setFocus();

    int key = Qt::Key_A;
    SimTab(a, key);
    QCoreApplication::processEvents();
    EXPECT_EQ(key, Qt::Key_A);
    EXPECT_TRUE(a->hasFocus());

    key = Qt::Key_Return;
    SimTab(a, key);
    EXPECT_EQ(key, 0);
    EXPECT_TRUE(a->hasFocus());  // posted: it moves once the event loop runs
    QCoreApplication::processEvents();
    EXPECT_TRUE(b->hasFocus());

    key = Qt::Key_Enter;
    EXPECT_TRUE(SimTabControl(a, key));
    EXPECT_EQ(key, 0);
    EXPECT_TRUE(a->hasFocus());
    key = Qt::Key_Tab;
    EXPECT_FALSE(SimTabControl(c, key));
    EXPECT_EQ(key, Qt::Key_Tab);
    c->setEnabled(false);
    key = Qt::Key_Return;
    EXPECT_TRUE(SimTabControl(c, key));
    EXPECT_TRUE(a->hasFocus());
}
