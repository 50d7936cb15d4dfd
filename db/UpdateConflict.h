#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace db {

class Error;

// A row that another workstation changed or deleted after it was read here, found when a save
// would write over it.
struct UpdateConflict {
    QString table;
    bool deleted = false;
    // What the save would write over (field labels or columns); empty when only the engine
    // reported the conflict.
    QStringList changed;
    // Whether the save may still write its values: not over a deleted row, nor in a snapshot
    // transaction, which the engine never lets write over a newer version.
    bool overwritable = true;
};

enum class ConflictAnswer {
    Reload,     // show the row as now stored, drop the edit
    Overwrite,  // store the edit all the same
    Cancel      // store nothing and keep the edit
};

// Asks the user; the program installs one at start (the database layer shows no windows).
using ConflictHandler = std::function<ConflictAnswer(const UpdateConflict&)>;
void SetConflictHandler(ConflictHandler handler);
// The installed handler's answer. Without a handler, and for an answer the conflict does not
// allow (Overwrite when it is not overwritable), throws db::Error with a German message: nothing
// is written over silently.
ConflictAnswer AskConflict(const UpdateConflict& conflict);

// Whether the engine refused a write because another transaction changed the row (snapshot
// transactions; read-committed ones when the other committed while this one waited).
bool IsUpdateConflict(const Error& error);

// What a conflict check needs of an "UPDATE table SET column = expression, ... WHERE condition"
// statement. Other forms (an alias, RETURNING, PLAN, ORDER, ROWS, a quoted name) are not
// understood and get no check.
class UpdateStatement {
public:
    explicit UpdateStatement(const QString& sql);

    bool Understood() const { return !where_.isEmpty(); }
    const QString& Table() const { return table_; }
    // The assigned columns, upper-case.
    const QStringList& Columns() const { return columns_; }
    // The statement that writes only while each compared column still holds the value as read,
    // the parameter ":OLD_<column>"; it changes no row when the row was changed or deleted.
    QString Guarded(const QStringList& compared) const;
    // One row, a column per compared column: 1 where the stored value differs from
    // ":OLD_<column>", else 0; no row when the row is gone.
    QString Differences(const QStringList& compared) const;

private:
    QString sql_;
    QString table_;
    QStringList columns_;
    QString where_;
    qsizetype whereAt_ = -1;
};

}  // namespace db
