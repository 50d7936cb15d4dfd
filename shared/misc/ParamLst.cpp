#include "ParamLst.h"

#include <QCoreApplication>

namespace {

QStringList programArguments()
{
    return QCoreApplication::arguments().mid(1);
}

bool containsIgnoringCase(const QStringList& list, const QString& s)
{
    const QString wanted = s.toUpper();
    for (const QString& item : list)
        if (item.toUpper() == wanted)
            return true;
    return false;
}

}  // namespace

TParameter::TParameter(bool caseSensitive) : caseSensitive_(caseSensitive), ownArguments_(true)
{
    Init();
}

TParameter::TParameter(bool caseSensitive, QStringList arguments)
    : caseSensitive_(caseSensitive), ownArguments_(false), arguments_(std::move(arguments))
{
    Init();
}

void TParameter::Init()
{
    params_.clear();
    switches_.clear();
    if (ownArguments_)
        arguments_ = programArguments();

    const QChar quote(QLatin1Char('"'));
    bool inRun = false;
    QString run;
    for (const QString& arg : std::as_const(arguments_)) {
        if (!inRun) {
            if (!arg.startsWith(quote)) {
                take(arg);
                continue;
            }
            // A quoted argument that also ends with a quote is a run of its own.
            if (arg.size() > 1 && arg.endsWith(quote)) {
                take(arg.mid(1, arg.size() - 2));
                continue;
            }
            inRun = true;
            run = arg.mid(1);
            continue;
        }
        if (arg.endsWith(quote)) {
            run += QLatin1Char(' ') + arg.left(arg.size() - 1);
            inRun = false;
            take(run);
        } else {
            run += QLatin1Char(' ') + arg;
        }
    }
}

void TParameter::take(const QString& argument)
{
    // "/" starts a switch as on the system's home platform, but an absolute path such as
    // "/home/x/file" holds a further "/" and stays a parameter.
    const bool dashSwitch = argument.startsWith(QLatin1Char('-'));
    const bool slashSwitch =
        argument.startsWith(QLatin1Char('/')) && argument.indexOf(QLatin1Char('/'), 1) < 0;
    if (dashSwitch || slashSwitch)
        AddSwitch(argument.mid(1));
    else
        AddParam(argument);
}

void TParameter::AddParam(const QString& s)
{
    params_.append(caseSensitive_ ? s : s.toUpper());
}

void TParameter::AddSwitch(const QString& s)
{
    switches_.append(caseSensitive_ ? s : s.toUpper());
}

bool TParameter::IsParam(const QString& s) const
{
    return containsIgnoringCase(params_, s);
}

bool TParameter::IsSwitch(const QString& s) const
{
    return containsIgnoringCase(switches_, s);
}
