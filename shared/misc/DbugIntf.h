#pragma once

#include <Meldung.h>

#include <QDateTime>
#include <QString>
#include <QVariantList>

#include <memory>

// The client side of the trace: every line goes to a running debug viewer and, when a trace file
// is set, is appended to that file with a time stamp. Any thread may call it; the indentation
// prefix is per thread. No trace call ever throws.
namespace DbugIntf {

// A running debug viewer. The clear command is a call of its own, never a text line.
class TDebugViewer {
public:
    virtual ~TDebugViewer() = default;
    // One line: the message type, the writing thread's indentation prefix and the text.
    virtual void Line(Tools::TMsgDlgType type, const QString& prefix, const QString& text) = 0;
    virtual void Clear() = 0;
};

// Makes Viewer the running viewer (an embedding program or a test); nullptr: none runs.
void SetDebugViewer(std::shared_ptr<TDebugViewer> viewer);

void SendDebugEx(const QString& msg, Tools::TMsgDlgType type);
void SendDebug(const QString& msg);
void SendDebugFmt(const QString& format, const QVariantList& args);
void SendDebugFmtEx(const QString& format, const QVariantList& args, Tools::TMsgDlgType type);
// Deletes the trace file and clears the viewer.
void SendDebugClear();
// Lengthens the thread's prefix by four blanks, then sends "Entering " + MethodName.
void SendMethodEnter(const QString& methodName);
// Sends "Exiting " + MethodName, then shortens the thread's prefix by four characters.
void SendMethodExit(const QString& methodName);
void SendSeparator();
void SendBoolean(const QString& name, bool value);
void SendInteger(const QString& name, int value);
void SendDateTime(const QString& name, const QDateTime& value);
// The trace file; empty switches it off.
void SetDebugFile(const QString& fileName);
QString DebugFile();
// Starts the viewer when one is installed and returns it; none is installed on this platform, so
// this marks the start as failed and returns nullptr.
std::shared_ptr<TDebugViewer> StartDebugWin();

// The trace file line: time stamp, the text with its line breaks made CR LF and continuation
// lines indented by 20 blanks, and a closing CR LF.
QString TraceDateiZeile(const QString& timeStamp, const QString& text);

}  // namespace DbugIntf
