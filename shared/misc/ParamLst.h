#pragma once

#include <QStringList>

// The program's command line split into switches (written after "-" or "/") and plain parameters.
class TParameter {
public:
    // Reads the running program's arguments (without the program itself).
    explicit TParameter(bool caseSensitive);
    // Reads the given arguments instead.
    TParameter(bool caseSensitive, QStringList arguments);

    // Clears both lists and reads the arguments again.
    void Init();
    void AddParam(const QString& s);
    void AddSwitch(const QString& s);
    // Lookups ignore case in every mode.
    bool IsParam(const QString& s) const;
    bool IsSwitch(const QString& s) const;

    const QStringList& Params() const { return params_; }
    const QStringList& Switches() const { return switches_; }

private:
    void take(const QString& argument);

    bool caseSensitive_;
    bool ownArguments_;
    QStringList arguments_;
    QStringList params_;
    QStringList switches_;
};
