#include "DbugIntf.h"

#include "Format.h"
#include "Tools.h"

#include <DebugViewer.h>

#include <QFile>
#include <QMutex>

namespace DbugIntf {

namespace {

// Process-wide state; the trace file is written under the lock, so lines of different threads
// never mix within a line.
QMutex stateMutex;
QString traceFile;
std::shared_ptr<TDebugViewer> viewer;
bool viewerStartFailed = false;

thread_local QString prefix;

void appendToFile(const QString& fileName, const QString& msg)
{
    QFile file(fileName);
    // Opened for appending only: a file that cannot be appended to keeps its earlier lines.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return;
    file.write(TraceDateiZeile(Tools::ProtokollZeitstempel(), msg).toUtf8());
}

}  // namespace

QString TraceDateiZeile(const QString& timeStamp, const QString& text)
{
    QString body;
    body.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            // CR LF and LF CR are one break each, a lone CR or LF one too.
            if (i + 1 < text.size() && text[i + 1] != c &&
                (text[i + 1] == QLatin1Char('\r') || text[i + 1] == QLatin1Char('\n')))
                ++i;
            body += QLatin1String("\r\n") + QString(20, QLatin1Char(' '));
        } else {
            body += c;
        }
    }
    return timeStamp + body + QLatin1String("\r\n");
}

void SetDebugViewer(std::shared_ptr<TDebugViewer> v)
{
    QMutexLocker lock(&stateMutex);
    viewer = std::move(v);
}

std::shared_ptr<TDebugViewer> StartDebugWin()
{
    prefix.clear();
    QMutexLocker lock(&stateMutex);
    if (viewer)
        return viewer;
    if (viewerStartFailed)
        return nullptr;
    if (!platform::debugViewerInstalled())
        viewerStartFailed = true;
    return nullptr;
}

void SendDebugEx(const QString& msg, Tools::TMsgDlgType type)
{
    try {
        std::shared_ptr<TDebugViewer> running;
        {
            QMutexLocker lock(&stateMutex);
            if (!traceFile.isEmpty())
                appendToFile(traceFile, msg);
            running = viewer;
        }
        if (!running)
            running = StartDebugWin();
        if (running)
            running->Line(type, prefix, msg);
    } catch (...) {
        // A trace never disturbs the code that writes it.
    }
}

void SendDebug(const QString& msg)
{
    SendDebugEx(msg, Tools::mtInformation);
}

void SendDebugFmtEx(const QString& format, const QVariantList& args, Tools::TMsgDlgType type)
{
    QString text;
    try {
        text = Tools::Format(format, args);
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    }
    SendDebugEx(text, type);
}

void SendDebugFmt(const QString& format, const QVariantList& args)
{
    SendDebugFmtEx(format, args, Tools::mtInformation);
}

void SendDebugClear()
{
    try {
        std::shared_ptr<TDebugViewer> running;
        {
            QMutexLocker lock(&stateMutex);
            if (!traceFile.isEmpty())
                QFile::remove(traceFile);
            running = viewer;
        }
        if (!running)
            running = StartDebugWin();
        if (running)
            running->Clear();
    } catch (...) {
    }
}

void SendMethodEnter(const QString& methodName)
{
    prefix += QLatin1String("    ");
    SendDebug(QStringLiteral("Entering ") + methodName);
}

void SendMethodExit(const QString& methodName)
{
    SendDebug(QStringLiteral("Exiting ") + methodName);
    prefix.remove(0, 4);
}

void SendSeparator()
{
    SendDebug(QString(30, QLatin1Char('-')));
}

void SendBoolean(const QString& name, bool value)
{
    SendDebug(name + (value ? QLatin1String("= True") : QLatin1String("= False")));
}

void SendInteger(const QString& name, int value)
{
    SendDebug(name + QLatin1String(" = ") + QString::number(value));
}

void SendDateTime(const QString& name, const QDateTime& value)
{
    SendDebug(name + QLatin1Char('=') + value.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
}

void SetDebugFile(const QString& fileName)
{
    QMutexLocker lock(&stateMutex);
    traceFile = fileName;
}

QString DebugFile()
{
    QMutexLocker lock(&stateMutex);
    return traceFile;
}

}  // namespace DbugIntf
