#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <exception>
#include <functional>
#include <source_location>
#include <vector>

// The trace log the programs write to. Enter and exit lines name the calling code (module, unit,
// source, line, procedure) as "debug.ini" asks; messages are always written. Any thread may
// trace; the enter depth is per thread. No trace call ever throws.
namespace ZRDebug {

// The display options of "debug.ini" (section Global) and its section Visible.
struct TDebugOptionen {
    bool DisplayModulePath = false;
    bool DisplayModuleName = true;
    bool DisplaySourceName = false;
    bool DisplayUnitName = true;
    bool DisplayLineNumber = true;
    bool DisplayProcedureName = true;
    bool DefaultVisible = false;
    bool DisplayEnterExit = false;
    // Unit name (lower case) -> value as written.
    std::vector<std::pair<QString, QString>> Visible;

    // The options of an INI file; a missing file or key gives the defaults.
    static TDebugOptionen Lesen(const QString& iniFile);
    // Whether the enter and exit lines of a unit are written.
    bool Sichtbar(const QString& unitName) const;
};

// Where a procedure lies in the code.
struct TCodeOrt {
    QString Module;  // the binary's file with its path
    QString Unit;    // the source file's base name
    QString Source;  // the source file's name
    int Line = 0;
    QString Procedure;  // qualified name without parameters
};

// Replaces the options read from "debug.ini" in the trace folder (read at the first trace).
void SetDebugOptionen(const TDebugOptionen& optionen);
TDebugOptionen DebugOptionen();

void DebugMsg(const QString& msg);
void DebugMsgs(const QStringList& lines);
// Formats with the system's format function (decimal comma).
void DebugMsgFmt(const QString& format, const QVariantList& args);
void DebugBool(const QString& name, bool value);
// The calling procedure's name, followed by ": " + Msg when Msg is given.
void DebugMsgProc(const QString& msg = {},
                  const std::source_location& where = std::source_location::current());
// The enter line of the calling procedure; then the thread's depth grows by one.
void DebugEnterProc(const std::source_location& where = std::source_location::current());
// The thread's depth shrinks by one (not below 0); then the exit line.
void DebugExitProc(const std::source_location& where = std::source_location::current());
// A separator, "CallStack:", the first Count frames of the caller's stack (SkipLibrary leaves out
// frames of the system's and Qt's libraries, which still count), a separator.
void DebugCallStack(int count, bool skipLibrary);
// Switches the trace file "debug.txt" in the trace folder on. The argument has no effect.
void SetDebugFile(bool unused = false);
// Deletes the trace file and clears the viewer.
void DebugClear();

// The frames of the current thread's stack, innermost first; replaceable for tests.
using TStackQuelle = std::function<std::vector<TCodeOrt>()>;
void SetStackQuelle(TStackQuelle quelle);
// True for a frame of the platform's libraries (C and C++ run-time, Qt, test framework).
bool IstBibliothek(const TCodeOrt& ort);

// A compiler symbol as the source writes it; the symbol itself when it cannot be decoded.
QString Klartext(const char* symbol);
// The class name of an exception as error messages and traces show it.
QString KlassenName(const std::exception& e);
// The qualified procedure name of a compiler-given signature ("int A::f(int) const" -> "A::f").
QString ProzedurName(const QString& signature);

}  // namespace ZRDebug
