#pragma once

#include "Field.h"
#include "Value.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>
#include <vector>

namespace db {

class DataLink;
class Query;
class Transaction;

enum class DataSetState { Inactive, Browse, Edit, Insert };

// The rows of a select statement in memory, with the statements that write them back: insert,
// modify and delete, and refresh for re-reading the current row after a post. In the writing
// statements ":NAME" is the field NAME of the record being written and ":OLD_NAME" its value as it
// was read. Typical use:
//     DataSet ds(tr);
//     ds.SetSelectSQL("SELECT * FROM T_BESAMUNGEN WHERE TIER = :TIER");
//     ds.SetInsertSQL("INSERT INTO T_BESAMUNGEN (ID, TIER, DATUM) VALUES (:ID, :TIER, :DATUM)");
//     ds.SetModifySQL("UPDATE T_BESAMUNGEN SET DATUM = :DATUM WHERE ID = :OLD_ID");
//     ds.SetDeleteSQL("DELETE FROM T_BESAMUNGEN WHERE ID = :OLD_ID");
//     ds.SetGenerator("ID", "G_BESAMUNGEN");
//     ds.Param("TIER").SetInteger(5);
//     ds.Open();
//     ds.Append(); ds.FieldByName("DATUM").SetDate(d); ds.Post();
// A modify post writes only while the row still holds, in every column it assigns that the
// select reads under the column's own name, the values as read; when another workstation changed
// or deleted the row in the meantime, the installed conflict handler (UpdateConflict.h) decides:
// reload (the edit is dropped, the record read anew), overwrite, or cancel (the edit stays); the
// first and the last end the post with db::Abort.
// Moving to another record posts a pending edit first. A failing post leaves the record in edit
// or insert state with the user's values, so nothing typed is lost. The dataset closes when its
// transaction ends (not at CommitRetaining) and when its connection closes.
// Open reads only the first FetchBatch records; the rest follow as they are needed: moving or
// locating past the records read so far, RecordCount and Last (the rest at once), and a grid
// scrolling on (FetchMore). Append and Insert read the rest first: the still open select would
// deliver the new record a second time when it reaches it.
class DataSet : public QObject {
    Q_OBJECT
public:
    explicit DataSet(Transaction& transaction, QObject* parent = nullptr);
    ~DataSet() override;

    // Throws db::Error when the transaction object is gone.
    Transaction& GetTransaction() const;
    // Closes the dataset when it is open.
    void SetTransaction(Transaction& transaction);

    void SetSelectSQL(const QString& sql);
    void SetInsertSQL(const QString& sql);
    void SetModifySQL(const QString& sql);
    void SetDeleteSQL(const QString& sql);
    void SetRefreshSQL(const QString& sql);
    const QString& SelectSQL() const { return selectSql_; }
    // On post of a new record with the field still NULL, the field gets the generator's next
    // value.
    void SetGenerator(const QString& field, const QString& generator, int increment = 1);
    // A parameter of the select statement.
    Value& Param(const QString& name);

    void Open();
    void Close();
    bool Active() const { return state_ != DataSetState::Inactive; }
    DataSetState State() const { return state_; }
    bool Modifiable() const;  // has the statement for the current state's post

    // Fields: the select's columns in their order, then the calculated fields. Available before
    // Open (the select is prepared for it).
    int FieldCount();
    Field& Fields(int index);
    Field& FieldByName(const QString& name);  // throws db::Error for an unknown name
    Field* FindField(const QString& name);
    // A field whose value OnCalcFields computes for each record.
    Field& AddCalculatedField(const QString& name, FieldType type, int size = 0);

    // Records read at a time: at open and for each FetchMore.
    static constexpr int FetchBatch = 100;
    // Reads records until `count` more are in sight (fewer at the end of the select); returns
    // how many came into sight. Emits RowsFetched when some did and the controls are enabled.
    int FetchMore(int count = FetchBatch);
    bool CanFetchMore() const { return fetching_; }
    // The records read so far that are in sight.
    int FetchedCount() const { return int(rows_.size()); }

    // Navigation.
    int RecordCount() const;  // reads the rest first
    bool IsEmpty() const;
    int RecNo() const { return current_; }  // 0-based; -1 when empty
    void First();
    void Last();
    void Next();
    void Prior();
    void MoveBy(int distance);
    void MoveTo(int recNo);
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    // Finds the first record whose fields (names separated by ";") equal the values; text
    // comparison ignores letter case when asked and may match only the beginning (partial key).
    bool Locate(const QString& fields, const QVariantList& values, bool caseInsensitive = false,
                bool partialKey = false);
    // The value of a field in any record, without moving; reads up to the record first.
    const Value& ValueAt(int recNo, int fieldIndex) const;

    // Filter in memory: while filtered, the records OnFilterRecord rejects are set aside, and
    // navigation, RecordCount, Locate, ValueAt and the bound controls and grids see only the
    // others. Switching posts a pending edit, keeps the current record when it passes (else the
    // first becomes current) and tells the links. Switching on again judges every record read
    // anew, so a form changes its condition and switches off and on. Records are judged then and
    // as the select delivers them; a record edited while filtered stays in sight until then.
    void SetFiltered(bool on);
    bool Filtered() const { return filtered_; }

    // Editing.
    void Append();
    void Insert();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    // Re-reads the current record (refresh statement); without one, the whole select runs again
    // and the record with the same first-field value becomes current again.
    void Refresh();
    // Posts a pending edit.
    void CheckBrowseMode();
    // Asks the links to write their pending values into the fields.
    void UpdateRecord();

    // Display updates: links hear nothing while disabled; calls nest.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    // Events (each may be empty). A handler that throws stops the operation.
    std::function<void(DataSet&)> OnNewRecord;
    std::function<void(DataSet&)> OnCalcFields;
    std::function<void(DataSet&)> BeforePost;
    std::function<void(DataSet&)> AfterPost;
    std::function<void(DataSet&)> BeforeDelete;
    std::function<void(DataSet&)> AfterDelete;
    std::function<void(DataSet&)> BeforeEdit;
    std::function<void(DataSet&)> AfterCancel;
    std::function<void(DataSet&)> AfterOpen;
    std::function<void(DataSet&)> BeforeClose;
    std::function<void(DataSet&)> AfterScroll;
    // Whether a record passes the filter; the fields show that record while it runs and cannot
    // be set. Without it every record passes.
    std::function<bool(DataSet&)> OnFilterRecord;

    // The statements of a post's savepoint (inside db/ only).
    struct SavepointStatements {
        std::unique_ptr<Query> set, release, undo;
    };

signals:
    void StateChanged();
    // Records read on came into sight behind the others (FetchedCount grew); not emitted while
    // the controls are disabled, whose end tells the links of every change anyway.
    void RowsFetched();

private:
    friend class Field;
    friend class DataLink;
    using Row = QList<Value>;

    void EnsureFields();
    // Opens the select and reads the first batch; on failure the select is closed and no
    // record is kept.
    void OpenSelect();
    // Reads records until `count` more are in sight or the select ends; returns how many came
    // into sight. Records read while filtered are judged as they come; a record whose judging
    // throws stays in sight.
    int Read(int count);
    // Reads until record recNo is there (Read and RowsFetched); false when the select ends
    // before.
    bool Reach(int recNo);
    void FetchRest();
    void TellFetched(int before);
    // Holds RowsFetched back while the links are about to hear, or are hearing, of a change of
    // the rows as a whole: a model told of records read on before it heard of a deletion would
    // count rows that moved.
    struct Quiet {
        explicit Quiet(DataSet& ds) : ds(ds) { ++ds.quiet_; }
        ~Quiet() { --ds.quiet_; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;
        DataSet& ds;
    };
    void Calculate(Row& row);
    Row& CurrentBuffer();
    const Row& CurrentBuffer() const;
    void SetState(DataSetState state);
    void CheckActive() const;
    void SetFieldValue(Field& field, QVariant&& value);
    // A writing statement with its parameters resolved to fields once.
    struct Statement {
        std::unique_ptr<Query> query;
        std::vector<int> field;
        std::vector<bool> old;
        std::vector<const Value*> bound;  // reused for each write
    };
    // A fetched row is kept as the engine delivered it (raw) until first used, then decoded into
    // values; a posted row too when its columns give it back unchanged, else its values.
    struct Record {
        QByteArray raw;
        Row values;
        // The place in the whole result while records are set aside by the filter; -1 for a
        // record added since.
        int ordinal = -1;
    };
    Row& RowAt(int recNo) const;
    Query& Prepared(Statement& statement, const QString& sql);
    // Points the statement's parameters at the record's values, OLD_ ones at the values before
    // the edit when there are such.
    void BindRecord(Statement& statement, const Row& values, const Row& old);
    void Write(Statement& statement, const QString& sql, const Row& values, const Row& old,
               bool checkRows);
    // The modify post with its conflict check.
    void Modify();
    void MakeGuard();
    // Reads the current record anew; with reselect (or without a refresh statement) through the
    // select, the record with the same first-field value becoming current again.
    void Reread(bool reselect);
    void ReadBack(Row& row);
    void DropStatements();
    void StartInsert(int at);
    // Puts the records set aside back in their places; `current` follows its record.
    void MergeHidden(int& current);
    // Sets the records the filter rejects aside; changes nothing when the filter throws.
    void ApplyFilter(int& current);
    void Scrolled();

    void NotifyActive();
    void NotifyDataSet();
    void NotifyScrolled();
    void NotifyRecord(Field* field);
    void NotifyEditing();

    Transaction* transaction_;
    QMetaObject::Connection onEnding_;
    QMetaObject::Connection onDetaching_;
    QMetaObject::Connection onDestroyed_;
    QString selectSql_, insertSql_, modifySql_, deleteSql_, refreshSql_;
    QString generatorField_, generator_;
    int generatorIncrement_ = 1;
    std::unique_ptr<Query> select_;
    Statement insert_, modify_, delete_, refresh_;
    // The modify statement guarded by the values as read, and the query that tells what differs;
    // made at the first modify post, empty when the statement is not understood.
    bool guardMade_ = false;
    QString guardTable_, guardedSql_, differencesSql_;
    QStringList guardLabels_;
    Statement guarded_, differences_;
    SavepointStatements savepoint_;
    SavepointStatements& Savepoint();

    std::vector<std::unique_ptr<Field>> fields_;
    int dataFieldCount_ = 0;
    bool fieldsPrepared_ = false;

    mutable std::vector<Record> rows_;
    Row edit_;
    Row old_;
    int current_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    DataSetState state_ = DataSetState::Inactive;
    mutable Row* calcTarget_ = nullptr;
    const Row* filterTarget_ = nullptr;
    std::vector<Record> hidden_;
    // The place in the whole result of the next record read while filtered.
    int nextOrdinal_ = 0;
    // The select is open and may deliver more records.
    bool fetching_ = false;
    int quiet_ = 0;
    bool filtered_ = false;
    int disableCount_ = 0;
    QList<DataLink*> links_;
};

}  // namespace db
