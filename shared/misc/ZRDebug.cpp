#include "ZRDebug.h"

#include "DbugIntf.h"
#include "Tools.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <cxxabi.h>
#include <dlfcn.h>
#include <elfutils/libdwfl.h>
#include <execinfo.h>
#include <unistd.h>

#include <typeinfo>

#include <cstdlib>
#include <memory>

namespace ZRDebug {

namespace {

QMutex optionenMutex;
std::shared_ptr<const TDebugOptionen> optionen;
TStackQuelle stackQuelle;

thread_local int tiefe = 0;

// The options, read from "debug.ini" at the first trace that needs them.
std::shared_ptr<const TDebugOptionen> aktuelleOptionen()
{
    QMutexLocker lock(&optionenMutex);
    if (!optionen)
        optionen = std::make_shared<const TDebugOptionen>(
            TDebugOptionen::Lesen(Tools::ProtokollOrdner() + QStringLiteral("/debug.ini")));
    return optionen;
}

bool alsBool(const QString& value, bool defaultValue)
{
    bool ok = false;
    const int i = value.trimmed().toInt(&ok);
    return ok ? i != 0 : defaultValue;
}

QString modulVon(const void* address)
{
    Dl_info info{};
    if (address && ::dladdr(address, &info) && info.dli_fname && *info.dli_fname)
        return QFileInfo(QFile::decodeName(info.dli_fname)).absoluteFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

TCodeOrt ortVon(const std::source_location& where, const void* returnAddress)
{
    TCodeOrt ort;
    ort.Module = modulVon(returnAddress);
    const QFileInfo source(QString::fromUtf8(where.file_name()));
    ort.Source = source.fileName();
    ort.Unit = source.completeBaseName();
    ort.Line = int(where.line());
    ort.Procedure = ProzedurName(QString::fromUtf8(where.function_name()));
    return ort;
}

void enterExit(const TCodeOrt& ort, bool enter)
{
    const auto o = aktuelleOptionen();
    if (!o->DisplayEnterExit)
        return;
    if (!enter && tiefe > 0)
        --tiefe;
    if (o->Sichtbar(ort.Unit)) {
        QString line;
        if (o->DisplayModuleName)
            line += (o->DisplayModulePath ? ort.Module : QFileInfo(ort.Module).fileName()) +
                    QLatin1String(": ");
        if (o->DisplaySourceName)
            line += ort.Source + QLatin1String(": ");
        else if (o->DisplayUnitName)
            line += ort.Unit + QLatin1String(": ");
        if (o->DisplayLineNumber)
            line += QStringLiteral("(%1) ").arg(ort.Line, 4, 10, QLatin1Char('0'));
        line += QString(2 * tiefe, QLatin1Char(' ')) +
                (enter ? QLatin1String(">> ") : QLatin1String("<< "));
        if (o->DisplayProcedureName)
            line += ort.Procedure;
        if (enter && tiefe == 0)
            DbugIntf::SendSeparator();
        DbugIntf::SendDebug(line);
    }
    if (enter)
        ++tiefe;
}

// Only the binaries themselves are read: a separate debug file could make the library ask a
// debug-information server on the network, and a trace must never wait for one.
int keineGetrenntenDebugDaten(Dwfl_Module*, void**, const char*, Dwarf_Addr, const char*,
                              const char*, GElf_Word, char**)
{
    return -1;
}

struct DwflEnde {
    void operator()(Dwfl* dwfl) const { ::dwfl_end(dwfl); }
};
using DwflZeiger = std::unique_ptr<Dwfl, DwflEnde>;

// The modules of this process with their symbol tables and line information; nullptr when the
// process map cannot be read. Built per call: libraries may have been loaded since the last one.
DwflZeiger prozessModule()
{
    static char* debugPfad = nullptr;
    static const Dwfl_Callbacks callbacks = {::dwfl_linux_proc_find_elf, keineGetrenntenDebugDaten,
                                             nullptr, &debugPfad};
    DwflZeiger dwfl(::dwfl_begin(&callbacks));
    if (!dwfl)
        return nullptr;
    ::dwfl_report_begin(dwfl.get());
    if (::dwfl_linux_proc_report(dwfl.get(), ::getpid()) != 0 ||
        ::dwfl_report_end(dwfl.get(), nullptr, nullptr) != 0)
        return nullptr;
    return dwfl;
}

std::vector<TCodeOrt> eigenerStack(void* const* addresses, int n)
{
    const DwflZeiger dwfl = prozessModule();
    std::vector<TCodeOrt> frames;
    for (int i = 0; i < n; ++i) {
        // A return address may already lie in the next function: look up the call itself.
        const void* call = static_cast<const char*>(addresses[i]) - 1;
        TCodeOrt ort;
        Dl_info info{};
        if (::dladdr(call, &info)) {
            if (info.dli_fname)
                ort.Module = QFile::decodeName(info.dli_fname);
            if (info.dli_sname)
                ort.Procedure = ProzedurName(Klartext(info.dli_sname));
        }
        // Without debug information the unit is the binary and the line unknown.
        ort.Unit = QFileInfo(ort.Module).fileName();
        // The symbol table also names the functions the dynamic symbols leave out (those of
        // the programs and everything static), the line table gives source and line.
        Dwfl_Module* modul =
            dwfl ? ::dwfl_addrmodule(dwfl.get(), reinterpret_cast<Dwarf_Addr>(call)) : nullptr;
        if (modul) {
            const Dwarf_Addr adresse = reinterpret_cast<Dwarf_Addr>(call);
            if (const char* symbol = ::dwfl_module_addrname(modul, adresse))
                ort.Procedure = ProzedurName(Klartext(symbol));
            int zeile = 0;
            const char* quelle = nullptr;
            if (Dwfl_Line* line = ::dwfl_module_getsrc(modul, adresse))
                quelle = ::dwfl_lineinfo(line, nullptr, &zeile, nullptr, nullptr, nullptr);
            if (quelle && *quelle) {
                const QFileInfo datei(QFile::decodeName(quelle));
                ort.Source = datei.fileName();
                ort.Unit = datei.completeBaseName();
                ort.Line = zeile;
            }
        }
        frames.push_back(ort);
    }
    return frames;
}

}  // namespace

TDebugOptionen TDebugOptionen::Lesen(const QString& iniFile)
{
    TDebugOptionen o;
    QFile file(iniFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return o;
    const std::pair<const char*, bool TDebugOptionen::*> keys[] = {
        {"displaymodulepath", &TDebugOptionen::DisplayModulePath},
        {"displaymodulename", &TDebugOptionen::DisplayModuleName},
        {"displaysourcename", &TDebugOptionen::DisplaySourceName},
        {"displayunitname", &TDebugOptionen::DisplayUnitName},
        {"displaylinenumber", &TDebugOptionen::DisplayLineNumber},
        {"displayprocedurename", &TDebugOptionen::DisplayProcedureName},
        {"defaultvisible", &TDebugOptionen::DefaultVisible},
        {"displayenterexit", &TDebugOptionen::DisplayEnterExit}};
    std::vector<QString> seenGlobal;
    QString section;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        // The first entry of a key counts, as in any INI file.
        if (section == QLatin1String("global")) {
            if (std::find(seenGlobal.begin(), seenGlobal.end(), key) != seenGlobal.end())
                continue;
            seenGlobal.push_back(key);
            for (const auto& [name, member] : keys) {
                if (key == QLatin1String(name))
                    o.*member = alsBool(value, o.*member);
            }
        } else if (section == QLatin1String("visible")) {
            const bool known = std::any_of(o.Visible.begin(), o.Visible.end(),
                                           [&](const auto& entry) { return entry.first == key; });
            if (!known)
                o.Visible.emplace_back(key, value);
        }
    }
    return o;
}

bool TDebugOptionen::Sichtbar(const QString& unitName) const
{
    const QString key = unitName.toLower();
    for (const auto& [name, value] : Visible) {
        if (name == key)
            return value.trimmed() == QLatin1String("1");
    }
    return DefaultVisible;
}

void SetDebugOptionen(const TDebugOptionen& o)
{
    QMutexLocker lock(&optionenMutex);
    optionen = std::make_shared<const TDebugOptionen>(o);
}

TDebugOptionen DebugOptionen()
{
    return *aktuelleOptionen();
}

void DebugMsg(const QString& msg)
{
    DbugIntf::SendDebug(msg);
}

void DebugMsgs(const QStringList& lines)
{
    for (const QString& line : lines)
        DbugIntf::SendDebug(line);
}

void DebugMsgFmt(const QString& format, const QVariantList& args)
{
    DbugIntf::SendDebugFmt(format, args);
}

void DebugBool(const QString& name, bool value)
{
    DbugIntf::SendBoolean(name, value);
}

void DebugMsgProc(const QString& msg, const std::source_location& where)
{
    try {
        QString line = ProzedurName(QString::fromUtf8(where.function_name()));
        if (!msg.isEmpty())
            line += QLatin1String(": ") + msg;
        DbugIntf::SendDebug(line);
    } catch (...) {
    }
}

[[gnu::noinline]] void DebugEnterProc(const std::source_location& where)
{
    try {
        enterExit(ortVon(where, __builtin_return_address(0)), true);
    } catch (...) {
    }
}

[[gnu::noinline]] void DebugExitProc(const std::source_location& where)
{
    try {
        enterExit(ortVon(where, __builtin_return_address(0)), false);
    } catch (...) {
    }
}

[[gnu::noinline]] void DebugCallStack(int count, bool skipLibrary)
{
    try {
        std::vector<TCodeOrt> frames;
        TStackQuelle quelle;
        {
            QMutexLocker lock(&optionenMutex);
            quelle = stackQuelle;
        }
        if (quelle) {
            frames = quelle();
        } else {
            void* addresses[128];
            const int n = ::backtrace(addresses, 128);
            // The stack starts after this function's own level; a sanitizer's interceptor of
            // backtrace may stand before it.
            int erste = 1;
            for (int i = 0; i < n && i < 4; ++i) {
                Dl_info info;
                if (::dladdr(addresses[i], &info) &&
                    info.dli_saddr == reinterpret_cast<void*>(&DebugCallStack)) {
                    erste = i + 1;
                    break;
                }
            }
            if (n > erste)
                frames = eigenerStack(addresses + erste, n - erste);
        }
        DbugIntf::SendSeparator();
        DbugIntf::SendDebug(QStringLiteral("CallStack:"));
        for (int i = 0; i < count && i < int(frames.size()); ++i) {
            const TCodeOrt& ort = frames[std::size_t(i)];
            if (skipLibrary && IstBibliothek(ort))
                continue;
            DbugIntf::SendDebug(
                QStringLiteral("%1   %2:  %3").arg(ort.Unit).arg(ort.Line).arg(ort.Procedure));
        }
        DbugIntf::SendSeparator();
    } catch (...) {
    }
}

void SetDebugFile(bool)
{
    try {
        DbugIntf::SetDebugFile(Tools::ProtokollOrdner() + QStringLiteral("/debug.txt"));
    } catch (...) {
    }
}

void DebugClear()
{
    DbugIntf::SendDebugClear();
}

void SetStackQuelle(TStackQuelle quelle)
{
    QMutexLocker lock(&optionenMutex);
    stackQuelle = std::move(quelle);
}

bool IstBibliothek(const TCodeOrt& ort)
{
    static const char* const modules[] = {"libc.so",  "libc-",    "libstdc++",  "libgcc_s",
                                          "libm.so",  "libm-",    "ld-linux",   "libpthread",
                                          "libdl",    "libQt6",   "libglib",    "libicu",
                                          "libgtest", "libgmock", "libfbclient"};
    static const char* const procedures[] = {"std::",  "__gnu_cxx::", "__libc", "__cxa",
                                             "_start", "testing::",   "qt_",    "QtPrivate::"};
    const QString module = QFileInfo(ort.Module).fileName();
    for (const char* m : modules) {
        if (module.startsWith(QLatin1String(m)))
            return true;
    }
    for (const char* p : procedures) {
        if (ort.Procedure.startsWith(QLatin1String(p)))
            return true;
    }
    // Qt's classes: Q and a capital letter, as QWidget::event.
    return ort.Procedure.size() > 1 && ort.Procedure[0] == QLatin1Char('Q') &&
           ort.Procedure[1].isUpper() && ort.Procedure.contains(QLatin1String("::"));
}

QString ProzedurName(const QString& signature)
{
    QString s = signature;
    s.remove(QLatin1String("(anonymous namespace)::"));
    s.remove(QLatin1String("{anonymous}::"));
    // The parameter list starts at the first "(" outside template brackets (not "operator()").
    int depth = 0;
    qsizetype open = -1;
    for (qsizetype i = 0; i < s.size() && open < 0; ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('<'))
            ++depth;
        else if (c == QLatin1Char('>') && depth > 0)
            --depth;
        else if (c == QLatin1Char('(') && depth == 0 &&
                 !s.left(i).endsWith(QLatin1String("operator")))
            open = i;
    }
    QString head = open < 0 ? s : s.left(open);
    // The return type and specifiers stand before the last blank outside template brackets.
    depth = 0;
    for (qsizetype i = head.size() - 1; i >= 0; --i) {
        const QChar c = head[i];
        if (c == QLatin1Char('>'))
            ++depth;
        else if (c == QLatin1Char('<') && depth > 0)
            --depth;
        else if (c == QLatin1Char(' ') && depth == 0 &&
                 !head.left(i).endsWith(QLatin1String("operator"))) {
            head = head.mid(i + 1);
            break;
        }
    }
    return head.trimmed();
}

QString Klartext(const char* symbol)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> decoded(
        abi::__cxa_demangle(symbol, nullptr, nullptr, &status), std::free);
    return QString::fromLatin1(status == 0 && decoded ? decoded.get() : symbol);
}

QString KlassenName(const std::exception& e)
{
    return Klartext(typeid(e).name());
}

}  // namespace ZRDebug
