#pragma once

#include <QChar>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <vector>

// Small routines all programs share: German number and text formatting, ranges, programs and
// files, chart geometry and telephone numbers. Widget-free; the focus helpers and the drawing of a
// spline are in ToolsGui.h.
namespace Tools {

// ---- Text ----

// S repeated Count times (empty for Count <= 0).
QString GetStrValue(int count, const QString& s);
// The part of S from the 1-based position Index to its end.
QString Copyex(const QString& s, int index);
// Replaces every occurrence of OldPattern (case-sensitive) in S, stores the result in S and
// returns it. An empty OldPattern changes nothing.
QString Replace(const QString& oldPattern, const QString& newPattern, QString& s);
// S padded at the right with blanks to Len characters, cut to Len when longer.
QString LangString(const QString& s, int len);
// S with Fill repeated (Width - length of S) times, after S when LeftAligned, else before it; S
// is never cut. A fill of several characters is repeated whole.
QString FormatString(const QString& s, int width, const QString& fill, bool leftAligned);
// The line count of a message text: 1 + the number of carriage returns.
int GetZeilenzahl(const QString& s);
// True when every character is a digit 0-9 (also for the empty text: callers check emptiness).
bool nurZiffern(const QString& s);
// True when every character is a letter A-Z after upper-casing a-z, or with umlauts also one of
// Ä, Ö, Ü, ß (also for the empty text).
bool nurChar(const QString& s, bool mitUmlauten);

// ---- Numbers ----

// The system's number conventions, whatever the machine's locale: decimal comma, thousands point.
constexpr QChar DezimalTrenner = QLatin1Char(',');
constexpr QChar TausenderTrenner = QLatin1Char('.');

// The decimal digits of Value, preceded by Fill repeated (Width - number of digits) times.
QString FormatZahl(std::uint32_t value, int width, const QString& fill);
// Value with Decimals decimals and a decimal comma (halves rounded away from zero on the decimal
// digits), preceded by Fill repeated (Width - length) times.
QString FormatZahl(long double value, int width, int decimals, const QString& fill);
// The decimal digits with a point between groups of three (1.234.567; -123.456).
QString FormatInt(std::int32_t value);
// The Roman numeral of Value; empty below 1.
QString IntToRome(int value);
// S as a number with the decimal comma; Default when S is not a number.
long double StrToFloatDef(const QString& s, long double defaultValue);
// S ("." or "," as decimal separator) multiplied by Factor, truncated toward zero; 0 when S is no
// number or the result does not fit 32 bits.
std::int32_t GetFaktWert(const QString& s, std::int32_t factor);
void IncExt(long double& x, long double delta);

// The system's rounding of a floating value to an integer: halves go to the even neighbour,
// whatever rounding mode the process has set.
std::int64_t Round(long double value);
// a * b / c with a 64-bit intermediate, halves rounded away from zero; -1 when c is 0 or the
// result does not fit 32 bits.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// ---- Ranges (arguments always Lower, Upper, Value) ----

// Value lowered to Upper, then raised to Lower (so Lower wins when Lower > Upper).
std::int32_t GetInBereich(std::int32_t lower, std::int32_t upper, std::int32_t value);
std::int64_t GetInBereich(std::int64_t lower, std::int64_t upper, std::int64_t value);
float GetInBereich(float lower, float upper, float value);
double GetInBereich(double lower, double upper, double value);
long double GetInBereich(long double lower, long double upper, long double value);
// Lower <= Value <= Upper.
bool IsInBereich(std::int32_t lower, std::int32_t upper, std::int32_t value);
bool IsInBereich(std::int64_t lower, std::int64_t upper, std::int64_t value);
bool IsInBereich(float lower, float upper, float value);
bool IsInBereich(double lower, double upper, double value);
bool IsInBereich(long double lower, long double upper, long double value);

// ---- Programs, files and the system ----

// The result values of ProgrammStarten: callers test for "greater than 32".
constexpr int ProgrammGestartet = 33;
constexpr int ProgrammNichtGefunden = 2;
// Starts a program or opens a document, folder or URL with the desktop's program for it. Params
// is one command-line text; Dir the working folder (empty for none). The show command has no
// meaning here: the desktop decides how the window appears.
int ProgrammStarten(const QString& fileName, const QString& params = {}, const QString& dir = {},
                    int showCmd = 5);
// Fills List with the sorted names of the (not hidden) subfolders of Path.
void GetVerzeichnisse(const QString& path, QStringList& list);
// The system's configuration folder, with a trailing "/".
QString WindowsDirectory();
// The version our own binaries carry ("3.0.27" or "3.0.27 (4)"); "unbekannt" for a missing or
// foreign file.
QString GetFileVersion(const QString& fileName);
// "<system> Version <major>.<minor> (Build <n>: <distribution>)"; "unbekannt" when unreadable.
QString GetOSVersion();
// True when the file starts with the zip local-file-header signature "PK\3\4".
bool TestZipDatei(const QString& fileName);

// The environment variable that puts "debug.txt" and "debug.ini" of a program and of the
// programs it starts into another folder (test runs, which must not write into the build).
constexpr const char* ProtokollOrdnerVariable = "BOVANTIS_PROTOKOLL_ORDNER";
// The folder of "debug.txt" and "debug.ini": the one SetzeProtokollOrdner set, else the one the
// environment variable names, else the program folder, or the data folder when the program folder
// cannot be written (an installed program).
QString ProtokollOrdner();
// Puts "debug.txt" and "debug.ini" into another folder (tests); empty restores the default.
void SetzeProtokollOrdner(const QString& folder);
// The time stamp that starts each line of "debug.txt": "dd.mm.yyyy hh:nn:ss " (20 characters).
QString ProtokollZeitstempel();

// Switches Protokoll on; no program of the system sets it.
extern std::atomic<bool> Protokollieren;
// When Protokollieren is set, appends a time-stamped line to "debug.txt" (New, or a missing
// file, starts the file anew). Never throws; false when the line could not be written (the file
// is then left as it was).
bool Protokoll(const QString& text, bool neu);

// ---- Geometry ----

struct TExPoint {
    long double X = 0;
    long double Y = 0;
};
using TPoints = std::vector<QPoint>;
using TPointsArray = std::vector<TPoints>;

QSize Size(int cx, int cy);
TExPoint ExPoint(long double x, long double y);
TExPoint ExPoint(const QPoint& p);
// The points of an elliptic arc, one per 2 degrees and always the exact end point. Angles in
// radians; growing angles run clockwise on the screen. No points when an angle is not finite.
TPoints MyArc(const QPoint& center, const QSize& radius, long double startAngle,
              long double endAngle);
// The polyline of a smooth curve through the first Count points (inner tangents at most 50
// long), y lowered to MaxY; Spline in ToolsGui.h draws it.
TPoints SplinePunkte(const TPoints& points, int count, int maxY);
// A smooth curve through all Points as polylines (steep tangents flattened), y lowered to MaxY
// and clipped at MinY.
void Spline2(const std::vector<TExPoint>& points, int maxY, int minY, TPointsArray& lines);

// ---- Telephone numbers ----

// Only the digits of S, a leading "+" having become "00".
QString GetSolidFonNumber(const QString& s);
// S laid out in groups (digits in pairs from the right, separators set apart by blanks), at most
// MaxLen long where blanks allow; Solid receives the digits-only form.
QString TidyFonNumber(const QString& s, int maxLen, QString& solid);

}  // namespace Tools
