#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <stdexcept>

namespace db {

// Every failure of the database layer: the engine's message and codes, and the constraint or
// unique index the engine names for a violation (empty otherwise).
//
// The layer that knows the users' texts for engine errors (the stored texts of the named
// constraints) hands them in with SetUserText; every engine error raised from then on, in any
// thread, carries that text as its Message, and the engine's own as EngineMessage.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message, int sqlCode = 0, long engineCode = 0,
                   const QString& constraint = {});

    // The text for the user: the user text when one applies, else the engine's message.
    const QString& Message() const { return message_; }
    const QString& EngineMessage() const { return engineMessage_; }
    int SqlCode() const { return sqlCode_; }
    long EngineCode() const { return engineCode_; }
    const QString& Constraint() const { return constraint_; }
    const char* what() const noexcept override { return what_.constData(); }

    // The user text of an engine error (engine message, engine code, named constraint); empty
    // when it has none. An empty function stops the translation.
    using UserText = std::function<QString(const QString&, long, const QString&)>;
    static void SetUserText(UserText userText);

private:
    QString message_;
    QString engineMessage_;
    int sqlCode_;
    long engineCode_;
    QString constraint_;
    QByteArray what_;
};

}  // namespace db
