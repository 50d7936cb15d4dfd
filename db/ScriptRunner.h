#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace db {

class Database;

// One statement of a SQL script and the line it starts on (1-based).
struct ScriptStatement {
    QString Text;
    int Line = 0;
};

// Splits a script as isql reads it: statements end with the terminator (";" until "SET TERM"
// changes it, so that PSQL bodies can hold ";"), "--" and "/* */" comments and quoted texts are
// respected. Comments before a statement are dropped; the SET TERM lines are not returned.
QList<ScriptStatement> SplitScript(const QString& script);

// Runs a script text on a connection in a transaction of its own. Data definition is committed
// statement by statement (as isql's AUTODDL does), so later statements see the new objects; data
// changes are committed at "COMMIT" and at the end. isql's settings (SET SQL DIALECT, SET NAMES,
// SET AUTODDL …) are accepted and ignored. A failing statement rolls back what is not yet
// committed and throws db::Error naming the line and the statement.
class ScriptRunner {
public:
    explicit ScriptRunner(Database& database) : database_(database) {}

    // Called before each statement with the number done and the total.
    std::function<void(int done, int total)> OnProgress;

    void Run(const QString& script);

private:
    Database& database_;
};

}  // namespace db
