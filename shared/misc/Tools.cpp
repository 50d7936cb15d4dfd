#include "Tools.h"

#include "DbugIntf.h"

#include <Process.h>
#include <SystemInfo.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <sys/utsname.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <limits>
#include <numbers>
#include <stdexcept>

namespace Tools {

std::atomic<bool> Protokollieren{false};

// ---- Text ----

QString GetStrValue(int count, const QString& s)
{
    return count > 0 ? s.repeated(count) : QString();
}

QString Copyex(const QString& s, int index)
{
    return s.mid(std::max(index, 1) - 1);
}

QString Replace(const QString& oldPattern, const QString& newPattern, QString& s)
{
    if (!oldPattern.isEmpty())
        s.replace(oldPattern, newPattern, Qt::CaseSensitive);
    return s;
}

QString LangString(const QString& s, int len)
{
    if (len <= 0)
        return {};
    return s.leftJustified(len, QLatin1Char(' '), true);
}

QString FormatString(const QString& s, int width, const QString& fill, bool leftAligned)
{
    const QString pad = GetStrValue(width - int(s.size()), fill);
    return leftAligned ? s + pad : pad + s;
}

int GetZeilenzahl(const QString& s)
{
    return 1 + int(s.count(QLatin1Char('\r')));
}

bool nurZiffern(const QString& s)
{
    return std::all_of(s.begin(), s.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

bool nurChar(const QString& s, bool mitUmlauten)
{
    for (QChar c : s) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            continue;
        // Only the upper-case umlauts: the letters a-z are the only ones upper-cased above.
        if (mitUmlauten &&
            (c == QChar(0xC4) || c == QChar(0xD6) || c == QChar(0xDC) || c == QChar(0xDF)))
            continue;
        return false;
    }
    return true;
}

// ---- Numbers ----

QString FormatZahl(std::uint32_t value, int width, const QString& fill)
{
    return FormatString(QString::number(value), width, fill, false);
}

namespace {

// Value in fixed notation with the given decimals, rounded half away from zero on its 18
// significant decimal digits (the precision of the extended type), decimal comma.
QString festKomma(long double value, int decimals)
{
    decimals = std::clamp(decimals, 0, 255);
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NAN")
                                 : (value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF"));
    const bool negative = std::signbit(value);
    std::string digits = "0";
    int pointAt = 1;  // digits before the decimal point
    if (value != 0) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17Le", std::fabs(value));
        const std::string text(buf);
        const auto e = text.find('e');
        digits = text.substr(0, 1) + text.substr(2, e - 2);
        pointAt = std::atoi(text.c_str() + e + 1) + 1;
    }
    if (pointAt < 1) {
        digits.insert(0, std::size_t(1 - pointAt), '0');
        pointAt = 1;
    }
    const std::size_t keep = std::size_t(pointAt + decimals);
    if (digits.size() < keep)
        digits.append(keep - digits.size(), '0');
    if (digits.size() > keep) {
        const bool up = digits[keep] >= '5';
        digits.resize(keep);
        if (up) {
            std::size_t i = keep;
            while (i > 0 && digits[i - 1] == '9')
                digits[--i] = '0';
            if (i == 0) {
                digits.insert(0, 1, '1');
                ++pointAt;
            } else {
                ++digits[i - 1];
            }
        }
    }
    std::string intPart = digits.substr(0, std::size_t(pointAt));
    intPart.erase(0, std::min(intPart.find_first_not_of('0'), intPart.size() - 1));
    const std::string frac = digits.substr(std::size_t(pointAt));
    QString out = QString::fromLatin1(intPart);
    if (!frac.empty())
        out += DezimalTrenner + QString::fromLatin1(frac);
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    return negative && !zero ? QLatin1Char('-') + out : out;
}

}  // namespace

QString FormatZahl(long double value, int width, int decimals, const QString& fill)
{
    return FormatString(festKomma(value, decimals), width, fill, false);
}

QString FormatInt(std::int32_t value)
{
    const QString digits = QString::number(std::llabs(value));
    QString out;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += TausenderTrenner;
        out += digits[i];
    }
    return value < 0 ? QLatin1Char('-') + out : out;
}

QString IntToRome(int value)
{
    static const std::pair<int, const char*> table[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
        {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    QString out;
    for (const auto& [amount, letters] : table) {
        while (value >= amount) {
            out += QLatin1String(letters);
            value -= amount;
        }
    }
    return out;
}

long double StrToFloatDef(const QString& s, long double defaultValue)
{
    QString text = s.trimmed();
    if (text.isEmpty() || text.contains(QLatin1Char('.')))
        return defaultValue;
    text.replace(DezimalTrenner, QLatin1Char('.'));
    if (text.startsWith(QLatin1Char('+')))
        text.remove(0, 1);
    const QByteArray bytes = text.toLatin1();
    long double value = 0;
    const auto [end, ec] =
        std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), value);
    if (ec != std::errc() || end != bytes.constData() + bytes.size() || !std::isfinite(value))
        return defaultValue;
    return value;
}

std::int32_t GetFaktWert(const QString& s, std::int32_t factor)
{
    QString text = s;
    text.replace(QLatin1Char('.'), DezimalTrenner);
    const long double value = std::trunc(StrToFloatDef(text, 0) * factor);
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return 0;
    return std::int32_t(value);
}

void IncExt(long double& x, long double delta)
{
    x += delta;
}

std::int64_t Round(long double value)
{
    // Built from floor and an exact subtraction rather than nearbyint, which follows whatever
    // rounding mode the process (or a library it loaded) has set.
    const long double below = std::floor(value);
    const long double fraction = value - below;
    long double r = below;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(below, 2.0L) != 0))
        r = below + 1;
    if (!(r >= -9223372036854775808.0L && r < 9223372036854775808.0L))
        throw std::range_error("Round: Der Wert liegt außerhalb des ganzzahligen Bereichs");
    return std::int64_t(r);
}

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c)
{
    if (c == 0)
        return -1;
    const std::int64_t n = std::int64_t(a) * b;
    std::int64_t q = n / c;
    const std::int64_t r = n % c;
    if (2 * std::llabs(r) >= std::llabs(std::int64_t(c)))
        q += ((n < 0) != (c < 0)) ? -1 : 1;
    if (q < std::numeric_limits<std::int32_t>::min() ||
        q > std::numeric_limits<std::int32_t>::max())
        return -1;
    return std::int32_t(q);
}

// ---- Ranges ----

namespace {
template <class T>
T clampUpperFirst(T lower, T upper, T value)
{
    if (value > upper)
        value = upper;
    if (value < lower)
        value = lower;
    return value;
}
}  // namespace

std::int32_t GetInBereich(std::int32_t lower, std::int32_t upper, std::int32_t value)
{
    return clampUpperFirst(lower, upper, value);
}
std::int64_t GetInBereich(std::int64_t lower, std::int64_t upper, std::int64_t value)
{
    return clampUpperFirst(lower, upper, value);
}
float GetInBereich(float lower, float upper, float value)
{
    return clampUpperFirst(lower, upper, value);
}
double GetInBereich(double lower, double upper, double value)
{
    return clampUpperFirst(lower, upper, value);
}
long double GetInBereich(long double lower, long double upper, long double value)
{
    return clampUpperFirst(lower, upper, value);
}
bool IsInBereich(std::int32_t lower, std::int32_t upper, std::int32_t value)
{
    return lower <= value && value <= upper;
}
bool IsInBereich(std::int64_t lower, std::int64_t upper, std::int64_t value)
{
    return lower <= value && value <= upper;
}
bool IsInBereich(float lower, float upper, float value)
{
    return lower <= value && value <= upper;
}
bool IsInBereich(double lower, double upper, double value)
{
    return lower <= value && value <= upper;
}
bool IsInBereich(long double lower, long double upper, long double value)
{
    return lower <= value && value <= upper;
}

// ---- Programs, files and the system ----

int ProgrammStarten(const QString& fileName, const QString& params, const QString& dir,
                    int /*showCmd*/)
{
    if (fileName.trimmed().isEmpty())
        return ProgrammNichtGefunden;
    // URLs (http:, mailto:, file:) and folders go to the desktop, like the shell's default action.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    const bool opened =
        (scheme.match(fileName).hasMatch() || QFileInfo(fileName).isDir())
            ? platform::openWithDesktop(fileName)
            : platform::startDetached(fileName, QProcess::splitCommand(params), dir);
    return opened ? ProgrammGestartet : ProgrammNichtGefunden;
}

void GetVerzeichnisse(const QString& path, QStringList& list)
{
    list = QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    list.sort(Qt::CaseInsensitive);
}

QString WindowsDirectory()
{
    return QStringLiteral("/etc/");
}

QString GetFileVersion(const QString& fileName)
{
    const QString unknown = QStringLiteral("unbekannt");
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly) || file.size() == 0)
        return unknown;
    const uchar* data = file.map(0, file.size());
    if (!data)
        return unknown;
    const char* begin = reinterpret_cast<const char*>(data);
    const char* end = begin + file.size();
    static const std::string mark = "BOVANTIS_FILEVERSION=";
    const std::boyer_moore_horspool_searcher searcher(mark.begin(), mark.end());
    for (const char* at = begin;;) {
        at = std::search(at, end, searcher);
        if (at == end)
            return unknown;
        at += mark.size();
        if (at < end && *at >= '0' && *at <= '9') {
            const char* stop = std::find(at, std::min(end, at + 64), '\0');
            return QString::fromLatin1(at, stop - at);
        }
    }
}

QString GetOSVersion()
{
    utsname u{};
    if (::uname(&u) != 0)
        return QStringLiteral("unbekannt");
    static const QRegularExpression release(QStringLiteral("^(\\d+)\\.(\\d+)(?:\\.(\\d+))?"));
    const auto m = release.match(QString::fromLocal8Bit(u.release));
    if (!m.hasMatch())
        return QStringLiteral("unbekannt");
    QString distribution;
    QFile osRelease(QStringLiteral("/etc/os-release"));
    if (osRelease.open(QIODevice::ReadOnly | QIODevice::Text)) {
        while (!osRelease.atEnd()) {
            const QString line = QString::fromUtf8(osRelease.readLine()).trimmed();
            if (line.startsWith(QLatin1String("PRETTY_NAME="))) {
                distribution = line.mid(12);
                if (distribution.size() >= 2 && distribution.startsWith(QLatin1Char('"')))
                    distribution = distribution.mid(1, distribution.size() - 2);
            }
        }
    }
    const QString build = m.captured(3).isEmpty() ? QStringLiteral("0") : m.captured(3);
    return QStringLiteral("%1 Version %2.%3 (Build %4: %5)")
        .arg(QString::fromLocal8Bit(u.sysname), m.captured(1), m.captured(2), build, distribution);
}

bool TestZipDatei(const QString& fileName)
{
    std::ifstream in(QFile::encodeName(fileName).toStdString(), std::ios::binary);
    unsigned char head[4] = {};
    if (!in.read(reinterpret_cast<char*>(head), 4))
        return false;
    return head[0] == 'P' && head[1] == 'K' && head[2] == 3 && head[3] == 4;
}

namespace {

QMutex ordnerMutex;
QString& ordnerOverride()
{
    static QString folder;
    return folder;
}

// Also answers in a process without an application object (the database extension module).
QString programmOrdner()
{
    if (QCoreApplication::instance())
        return platform::programFolder();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

QMutex protokollMutex;

}  // namespace

QString ProtokollOrdner()
{
    {
        QMutexLocker lock(&ordnerMutex);
        if (!ordnerOverride().isEmpty())
            return ordnerOverride();
    }
    const QString ausUmgebung = qEnvironmentVariable(ProtokollOrdnerVariable);
    if (!ausUmgebung.isEmpty())
        return ausUmgebung;
    const QString program = programmOrdner();
    return platform::isWritableFolder(program) ? program : platform::dataFolder();
}

void SetzeProtokollOrdner(const QString& folder)
{
    QMutexLocker lock(&ordnerMutex);
    ordnerOverride() = folder;
}

QString ProtokollZeitstempel()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss "));
}

bool Protokoll(const QString& text, bool neu)
{
    if (!Protokollieren)
        return false;
    try {
        const QByteArray bytes = DbugIntf::TraceDateiZeile(ProtokollZeitstempel(), text).toUtf8();
        QMutexLocker lock(&protokollMutex);
        QFile file(ProtokollOrdner() + QStringLiteral("/debug.txt"));
        // A file that cannot be appended to is left alone: its earlier lines are the record the
        // user needs after a failure.
        const QIODevice::OpenMode mode = (neu || !file.exists())
                                             ? QIODevice::WriteOnly | QIODevice::Truncate
                                             : QIODevice::WriteOnly | QIODevice::Append;
        if (!file.open(mode | QIODevice::Unbuffered))
            return false;
        return file.write(bytes) == bytes.size();
    } catch (...) {
        return false;
    }
}

// ---- Geometry ----

QSize Size(int cx, int cy)
{
    return QSize(cx, cy);
}

TExPoint ExPoint(long double x, long double y)
{
    return TExPoint{x, y};
}

TExPoint ExPoint(const QPoint& p)
{
    return TExPoint{static_cast<long double>(p.x()), static_cast<long double>(p.y())};
}

namespace {

int rund(long double v)
{
    return int(std::trunc(v + 0.5L));
}

constexpr long double Pi = std::numbers::pi_v<long double>;

// Cubic Hermite segment from p0 to p1 with tangents t0, t1 at t = k / 10, k = 0..10.
TExPoint hermite(const TExPoint& p0, const TExPoint& p1, const TExPoint& t0, const TExPoint& t1,
                 int k)
{
    const long double t = k / 10.0L, t2 = t * t, t3 = t2 * t;
    const long double h00 = 2 * t3 - 3 * t2 + 1, h01 = -2 * t3 + 3 * t2;
    const long double h10 = t3 - 2 * t2 + t, h11 = t3 - t2;
    return {h00 * p0.X + h01 * p1.X + h10 * t0.X + h11 * t1.X,
            h00 * p0.Y + h01 * p1.Y + h10 * t0.Y + h11 * t1.Y};
}

// Tangents: (0, 0) at both ends, half the difference of the neighbours inside.
std::vector<TExPoint> tangenten(const std::vector<TExPoint>& p)
{
    std::vector<TExPoint> t(p.size());
    for (std::size_t i = 1; i + 1 < p.size(); ++i)
        t[i] = {(p[i + 1].X - p[i - 1].X) / 2, (p[i + 1].Y - p[i - 1].Y) / 2};
    return t;
}

}  // namespace

TPoints MyArc(const QPoint& center, const QSize& radius, long double startAngle,
              long double endAngle)
{
    // An angle that is no number has no point on the arc.
    if (!std::isfinite(startAngle) || !std::isfinite(endAngle))
        return {};
    // Into -pi .. pi by whole turns in one exact step: turning by 2 pi at a time never ends for
    // angles where 2 pi is below the precision.
    const auto normalise = [](long double a) { return std::remainder(a, 2 * Pi); };
    startAngle = normalise(startAngle);
    endAngle = normalise(endAngle);
    if (startAngle > endAngle)
        endAngle += 2 * Pi;
    constexpr long double step = 0.0349065850398866L;  // 2 degrees
    TPoints out;
    for (long double a = startAngle;;) {
        out.emplace_back(rund(center.x() + std::cos(a) * radius.width()),
                         rund(center.y() + std::sin(a) * radius.height()));
        if (a >= endAngle)
            break;
        a = std::min(a + step, endAngle);
    }
    return out;
}

TPoints SplinePunkte(const TPoints& points, int count, int maxY)
{
    count = std::min(count, int(points.size()));
    TPoints out;
    if (count < 2)
        return out;
    std::vector<TExPoint> p;
    for (int i = 0; i < count; ++i)
        p.push_back(ExPoint(points[std::size_t(i)]));
    std::vector<TExPoint> t = tangenten(p);
    for (TExPoint& tangent : t) {
        const long double len = std::hypot(tangent.X, tangent.Y);
        if (len > 50) {
            tangent.X *= 50 / len;
            tangent.Y *= 50 / len;
        }
    }
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
        for (int k = 0; k <= 10; ++k) {
            const TExPoint c = hermite(p[i], p[i + 1], t[i], t[i + 1], k);
            out.emplace_back(rund(c.X), std::min(rund(c.Y), maxY));
        }
    }
    return out;
}

void Spline2(const std::vector<TExPoint>& points, int maxY, int minY, TPointsArray& lines)
{
    lines.clear();
    std::vector<TExPoint> t = tangenten(points);
    for (TExPoint& tangent : t) {
        if (std::fabs(tangent.Y) > 0.0001L) {
            const long double r = std::fabs(tangent.X / tangent.Y);
            if (r < 1) {
                tangent.X *= r;
                tangent.Y *= r;
            }
        }
    }
    bool previousBelow = false;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        for (int k = 0; k <= 10; ++k) {
            const TExPoint c = hermite(points[i], points[i + 1], t[i], t[i + 1], k);
            const long double y = std::min(c.Y, static_cast<long double>(maxY));
            const bool below = y < minY;
            if (k == 0 || (below && previousBelow))
                lines.emplace_back();
            lines.back().emplace_back(int(std::trunc(c.X)), std::max(minY, int(std::trunc(y))));
            previousBelow = below;
        }
    }
}

// ---- Telephone numbers ----

namespace {
bool istFonTrenner(QChar c)
{
    return c == QLatin1Char('(') || c == QLatin1Char(')') || c == QLatin1Char('+') ||
           c == QLatin1Char('-') || c == QLatin1Char('/');
}
}  // namespace

QString GetSolidFonNumber(const QString& s)
{
    QString text = s.trimmed();
    if (text.startsWith(QLatin1Char('+')))
        text.replace(0, 1, QStringLiteral("00"));
    QString out;
    for (QChar c : text) {
        if (c != QLatin1Char(' ') && !istFonTrenner(c))
            out += c;
    }
    return out;
}

QString TidyFonNumber(const QString& s, int maxLen, QString& solid)
{
    QString text = s.trimmed();
    solid = text;
    for (QChar c : text) {
        if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char(' ') && !istFonTrenner(c))
            return text;
    }
    text.remove(QLatin1Char(' '));
    solid = GetSolidFonNumber(text);
    int digits = 0;
    for (int i = int(text.size()) - 1; i >= 0; --i) {
        if (istFonTrenner(text[i])) {
            text.insert(i + 1, QLatin1Char(' '));
            text.insert(i, QLatin1Char(' '));
            digits = 0;
        } else if (++digits % 2 == 0) {
            text.insert(i, QLatin1Char(' '));
        }
    }
    text.replace(QLatin1String("  "), QLatin1String(" "));
    text.replace(QLatin1String("( "), QLatin1String("("));
    text.replace(QLatin1String(" )"), QLatin1String(")"));
    if (text.startsWith(QLatin1Char(' ')))
        text.remove(0, 1);
    while (text.size() > maxLen) {
        const qsizetype blank = text.lastIndexOf(QLatin1Char(' '));
        if (blank < 0)
            break;
        text.remove(blank, 1);
    }
    return text;
}

}  // namespace Tools
