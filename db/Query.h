#pragma once

#include "Value.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace db {

class Transaction;

enum class FieldType {
    Unknown,
    SmallInt,
    Integer,
    BigInt,
    Numeric,
    Float,
    Double,
    Char,
    VarChar,
    Date,
    Time,
    Timestamp,
    TextBlob,
    Blob,
    Boolean
};

// A result column as the engine describes it.
struct ColumnInfo {
    QString Name;      // the alias, as the statement names the column
    QString Relation;  // table or view; empty for expressions
    QString Origin;    // the column in that table
    FieldType Type = FieldType::Unknown;
    int Size = 0;   // characters of a text column
    int Scale = 0;  // decimal places of NUMERIC/DECIMAL
    bool Nullable = true;
};

// The SQL text with ":NAME" parameters replaced by the engine's "?" and the names in their order
// (a name may occur several times). Names are case-insensitive and given upper-case; quoted
// strings, quoted identifiers and comments are left alone.
struct ParsedSql {
    QString Sql;
    QStringList Positions;
};
ParsedSql ParseParams(const QString& sql);
// Where the quoted text, quoted name or comment that starts at `i` ends (the index after it), or
// `i` when none starts there. A doubled quote inside belongs to the text; an open end ends at
// the statement's end.
qsizetype SqlTextOrCommentEnd(const QString& sql, qsizetype i);

// A SQL statement in a transaction: parameters by name, execute, or open and walk the rows.
// Parameter values stay set between executions. Typical use:
//     Query q(tr, "SELECT NAME FROM T_STAMMDATEN WHERE ID = :ID");
//     q.Param("ID").SetInteger(5);
//     for (q.Open(); !q.Eof(); q.Next()) use(q.Field("NAME").AsString());
class Query {
public:
    explicit Query(Transaction& transaction, const QString& sql = {});
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Transaction& GetTransaction() const;
    void SetTransaction(Transaction& transaction);
    const QString& SQL() const;
    void SetSQL(const QString& sql);
    // Off: the text goes to the engine unchanged (PSQL bodies use ":name" for their variables).
    void SetParamCheck(bool on);

    void Prepare();
    bool Prepared() const;
    // The engine's access plan, as its optimiser chose it (prepares).
    QString Plan();
    // True for data definition (CREATE, ALTER, DROP …), which takes effect at commit (prepares).
    bool IsDdl();

    // The distinct parameter names in order of first occurrence (prepares).
    QStringList ParamNames();
    bool HasParam(const QString& name);
    // Throws db::Error for an unknown name (prepares).
    Value& Param(const QString& name);
    // By position in ParamNames, for loops that bind many rows; -1 for an unknown name.
    int ParamIndex(const QString& name);
    Value& Param(int index);

    // Runs the statement; a statement with a result set is opened as by Open. An executed
    // procedure's output is the current row.
    void Execute();
    // Opens the result set on its first row (Eof when there is none).
    void Open();
    // Moves to the next row; false at the end.
    bool Next();
    bool Eof() const;
    bool Active() const;
    void Close();
    // Rows changed by the last insert, update or delete.
    quint64 RowsAffected() const;

    // The result columns (prepares).
    int FieldCount();
    const ColumnInfo& Column(int index);
    // -1 when no column has that name (case-insensitive).
    int FieldIndex(const QString& name);
    // The current row's values; throws db::Error for an unknown name.
    const Value& Field(int index) const;
    const Value& Field(const QString& name) const;
    // The whole current row.
    const QList<Value>& Row() const;

    // For datasets, which keep the rows as the engine delivers them and decode a row when it is
    // used: opens without fetching, fetches the next row undecoded (false at the end), decodes a
    // kept row (text blobs are read then, so the transaction must still be active).
    void OpenCursor();
    bool FetchRaw(QByteArray& row);
    QList<Value> Decode(const QByteArray& row);
    // The inverse for a record that reads back unchanged: false, with the row untouched, when a
    // value would not (text longer than its column, a blob, a number the column rounds, a type
    // other than the column delivers).
    bool Encode(const QList<Value>& values, QByteArray& row);
    // Executes with the values at hand (by position in ParamNames) instead of the parameters'
    // own, which stay as they were; datasets bind a record so without copying it.
    void Execute(const std::vector<const Value*>& params);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace db
