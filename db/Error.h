#pragma once

#include <QString>

#include <stdexcept>

namespace db {

// Every failure of the database layer: the engine's message and codes, and the constraint or
// unique index the engine names for a violation (empty otherwise).
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message, int sqlCode = 0, long engineCode = 0,
                   const QString& constraint = {});

    const QString& Message() const { return message_; }
    int SqlCode() const { return sqlCode_; }
    long EngineCode() const { return engineCode_; }
    const QString& Constraint() const { return constraint_; }

private:
    QString message_;
    int sqlCode_;
    long engineCode_;
    QString constraint_;
};

}  // namespace db
