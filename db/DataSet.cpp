#include "DataSet.h"

#include "Abort.h"
#include "DataLink.h"
#include "Database.h"
#include "Error.h"
#include "Query.h"
#include "Transaction.h"
#include "UpdateConflict.h"

#include <algorithm>
#include <limits>

namespace db {

namespace {

bool IsTextType(FieldType t)
{
    return t == FieldType::Char || t == FieldType::VarChar || t == FieldType::TextBlob;
}

[[noreturn]] void Fail(const QString& message)
{
    throw Error(message);
}

// The statements of one post either all stay or all go: a post that fails halfway (a calculated
// field or the read-back throwing after the insert) must not leave a row on the server that the
// dataset still shows as unposted, or the next post would add it twice. Without statements there
// is no savepoint: a post whose write is all that can fail is atomic by itself.
class PostSavepoint {
public:
    explicit PostSavepoint(DataSet::SavepointStatements* statements) : s_(statements)
    {
        if (s_)
            s_->set->Execute();
    }
    ~PostSavepoint()
    {
        if (!s_ || released_)
            return;
        try {
            s_->undo->Execute();
        } catch (const Error&) {
            // A lost connection takes the whole transaction with it.
        }
    }
    PostSavepoint(const PostSavepoint&) = delete;
    PostSavepoint& operator=(const PostSavepoint&) = delete;

    void Release()
    {
        if (s_)
            s_->release->Execute();
        released_ = true;
    }

private:
    DataSet::SavepointStatements* s_;
    bool released_ = false;
};

}  // namespace

DataSet::DataSet(Transaction& transaction, QObject* parent)
    : QObject(parent), transaction_(nullptr), select_(std::make_unique<Query>(transaction))
{
    SetTransaction(transaction);
}

DataSet::~DataSet()
{
    QObject::disconnect(onEnding_);
    QObject::disconnect(onDetaching_);
    for (DataLink* link : links_)
        link->dataSet_ = nullptr;
}

Transaction& DataSet::GetTransaction() const
{
    if (!transaction_)
        Fail(QStringLiteral("Die Transaktion der Datenmenge gibt es nicht mehr."));
    return *transaction_;
}

void DataSet::SetTransaction(Transaction& transaction)
{
    if (transaction_ == &transaction)
        return;
    Close();
    QObject::disconnect(onEnding_);
    QObject::disconnect(onDetaching_);
    QObject::disconnect(onDestroyed_);
    transaction_ = &transaction;
    select_->SetTransaction(transaction);
    DropStatements();
    onEnding_ = connect(&transaction, &Transaction::Ending, this, [this] { Close(); });
    onDetaching_ =
        connect(&transaction.GetDatabase(), &Database::Detaching, this, [this] { Close(); });
    onDestroyed_ = connect(&transaction, &QObject::destroyed, this, [this] {
        Close();
        DropStatements();
        transaction_ = nullptr;
    });
}

void DataSet::DropStatements()
{
    insert_ = {};
    modify_ = {};
    delete_ = {};
    refresh_ = {};
    guarded_ = {};
    differences_ = {};
    guardMade_ = false;
    savepoint_ = {};
}

DataSet::SavepointStatements& DataSet::Savepoint()
{
    // Prepared once: preparing them for every post took half of its time.
    if (!savepoint_.set) {
        Transaction& tr = GetTransaction();
        savepoint_.set = std::make_unique<Query>(tr, QStringLiteral("SAVEPOINT DATASET_POST"));
        savepoint_.release =
            std::make_unique<Query>(tr, QStringLiteral("RELEASE SAVEPOINT DATASET_POST ONLY"));
        savepoint_.undo =
            std::make_unique<Query>(tr, QStringLiteral("ROLLBACK TO SAVEPOINT DATASET_POST"));
    }
    return savepoint_;
}

void DataSet::SetSelectSQL(const QString& sql)
{
    Close();
    selectSql_ = sql;
    select_->SetSQL(sql);
    fieldsPrepared_ = false;
}

void DataSet::SetInsertSQL(const QString& sql)
{
    insertSql_ = sql;
    insert_ = {};
}

void DataSet::SetModifySQL(const QString& sql)
{
    modifySql_ = sql;
    modify_ = {};
    guarded_ = {};
    differences_ = {};
    guardMade_ = false;
}

void DataSet::SetDeleteSQL(const QString& sql)
{
    deleteSql_ = sql;
    delete_ = {};
}

void DataSet::SetRefreshSQL(const QString& sql)
{
    refreshSql_ = sql;
    refresh_ = {};
}

void DataSet::SetGenerator(const QString& field, const QString& generator, int increment)
{
    generatorField_ = field.toUpper();
    generator_ = generator;
    generatorIncrement_ = increment;
}

Value& DataSet::Param(const QString& name)
{
    return select_->Param(name);
}

bool DataSet::Modifiable() const
{
    switch (state_) {
        case DataSetState::Insert:
            return !insertSql_.isEmpty();
        case DataSetState::Edit:
        case DataSetState::Browse:
            return !modifySql_.isEmpty();
        default:
            return false;
    }
}

// ---- fields

void DataSet::EnsureFields()
{
    if (fieldsPrepared_)
        return;
    select_->Prepare();
    std::vector<std::unique_ptr<Field>> old;
    old.swap(fields_);
    auto take = [&](const QString& name, bool calculated) -> std::unique_ptr<Field> {
        for (auto& f : old) {
            if (f && f->name_ == name && f->calculated_ == calculated)
                return std::move(f);
        }
        return nullptr;
    };
    const int n = select_->FieldCount();
    for (int i = 0; i < n; ++i) {
        const ColumnInfo& c = select_->Column(i);
        auto f = take(c.Name, false);
        if (!f) {
            f = std::make_unique<Field>(*this, c.Name, c.Type, c.Size, false);
            f->Required = !c.Nullable && !c.Relation.isEmpty();
            f->Scale = c.Scale;
        }
        f->type_ = c.Type;
        f->Size = c.Size;
        fields_.push_back(std::move(f));
    }
    dataFieldCount_ = n;
    for (auto& f : old) {
        if (f && f->calculated_)
            fields_.push_back(std::move(f));
    }
    for (size_t i = 0; i < fields_.size(); ++i)
        fields_[i]->index_ = int(i);
    fieldsPrepared_ = true;
    DropStatements();
}

int DataSet::FieldCount()
{
    EnsureFields();
    return int(fields_.size());
}

Field& DataSet::Fields(int index)
{
    EnsureFields();
    if (index < 0 || index >= int(fields_.size()))
        Fail(QStringLiteral("Die Datenmenge hat kein Feld %1.").arg(index));
    return *fields_[size_t(index)];
}

Field* DataSet::FindField(const QString& name)
{
    EnsureFields();
    for (auto& f : fields_) {
        if (f->name_.compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    }
    return nullptr;
}

Field& DataSet::FieldByName(const QString& name)
{
    Field* f = FindField(name);
    if (!f)
        Fail(QStringLiteral("Feld '%1' nicht gefunden.").arg(name));
    return *f;
}

Field& DataSet::AddCalculatedField(const QString& name, FieldType type, int size)
{
    EnsureFields();
    if (FindField(name))
        Fail(QStringLiteral("Das Feld '%1' gibt es bereits.").arg(name));
    fields_.push_back(std::make_unique<Field>(*this, name, type, size, true));
    Field& f = *fields_.back();
    f.index_ = int(fields_.size()) - 1;
    for (auto* records : {&rows_, &hidden_}) {
        for (Record& r : *records) {
            if (!r.raw.isEmpty() || r.values.isEmpty())
                continue;
            r.values.append(Value());
            Calculate(r.values);
        }
    }
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) {
        edit_.append(Value());
        // Empty while inserting: there are no values before the edit.
        if (!old_.isEmpty())
            old_.append(Value());
        Calculate(edit_);
    }
    NotifyDataSet();
    return f;
}

// ---- open and close

void DataSet::Open()
{
    if (Active())
        return;
    EnsureFields();
    OpenSelect();
    current_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    SetState(DataSetState::Browse);
    if (AfterOpen)
        AfterOpen(*this);
    NotifyActive();
    Scrolled();
}

void DataSet::OpenSelect()
{
    select_->Close();
    rows_.clear();
    hidden_.clear();
    nextOrdinal_ = 0;
    select_->OpenCursor();
    fetching_ = true;
    try {
        Read(FetchBatch);
    } catch (...) {
        select_->Close();
        fetching_ = false;
        rows_.clear();
        hidden_.clear();
        throw;
    }
}

int DataSet::Read(int count)
{
    int shown = 0;
    QByteArray raw;
    while (fetching_ && shown < count) {
        if (!select_->FetchRaw(raw)) {
            fetching_ = false;
            select_->Close();
            break;
        }
        if (!filtered_ || !OnFilterRecord) {
            rows_.push_back({raw, {}});
            ++shown;
            continue;
        }
        Record r{QByteArray(), select_->Decode(raw), nextOrdinal_++};
        r.values.resize(qsizetype(fields_.size()));
        Calculate(r.values);
        bool passes = true;
        {
            struct Restore {
                const Row*& target;
                ~Restore() { target = nullptr; }
            } restore{filterTarget_};
            filterTarget_ = &r.values;
            try {
                passes = OnFilterRecord(*this);
            } catch (...) {
                rows_.push_back(std::move(r));
                throw;
            }
        }
        if (passes) {
            rows_.push_back(std::move(r));
            ++shown;
        } else {
            hidden_.push_back(std::move(r));
        }
    }
    return shown;
}

void DataSet::TellFetched(int before)
{
    if (int(rows_.size()) > before && disableCount_ == 0 && quiet_ == 0)
        emit RowsFetched();
}

int DataSet::FetchMore(int count)
{
    const int before = int(rows_.size());
    try {
        const int shown = Read(count);
        TellFetched(before);
        return shown;
    } catch (...) {
        // What came into sight before the failure stays there.
        TellFetched(before);
        throw;
    }
}

bool DataSet::Reach(int recNo)
{
    while (recNo >= int(rows_.size()) && fetching_)
        FetchMore(std::max(FetchBatch, recNo - int(rows_.size())));
    return recNo >= 0 && recNo < int(rows_.size());
}

void DataSet::FetchRest()
{
    while (fetching_)
        FetchMore(std::numeric_limits<int>::max());
}

int DataSet::RecordCount() const
{
    const_cast<DataSet*>(this)->FetchRest();
    return int(rows_.size());
}

bool DataSet::IsEmpty() const
{
    return !const_cast<DataSet*>(this)->Reach(0);
}

DataSet::Row& DataSet::RowAt(int recNo) const
{
    Record& r = rows_.at(size_t(recNo));
    if (!r.raw.isEmpty()) {
        Row values = select_->Decode(r.raw);
        values.resize(qsizetype(fields_.size()));
        r.raw = QByteArray();
        r.values = std::move(values);
        const_cast<DataSet*>(this)->Calculate(r.values);
    }
    return r.values;
}

void DataSet::Close()
{
    if (!Active())
        return;
    if (BeforeClose)
        BeforeClose(*this);
    select_->Close();
    fetching_ = false;
    rows_.clear();
    hidden_.clear();
    edit_.clear();
    old_.clear();
    current_ = -1;
    bof_ = eof_ = true;
    SetState(DataSetState::Inactive);
    NotifyActive();
}

void DataSet::CheckActive() const
{
    if (!Active())
        Fail(QStringLiteral("Die Datenmenge ist nicht geöffnet."));
}

void DataSet::SetState(DataSetState state)
{
    if (state_ == state)
        return;
    const bool editing = state_ == DataSetState::Edit || state_ == DataSetState::Insert;
    state_ = state;
    emit StateChanged();
    if (editing != (state == DataSetState::Edit || state == DataSetState::Insert))
        NotifyEditing();
}

// ---- values

DataSet::Row& DataSet::CurrentBuffer()
{
    return const_cast<Row&>(static_cast<const DataSet*>(this)->CurrentBuffer());
}

const DataSet::Row& DataSet::CurrentBuffer() const
{
    static const Row empty;
    if (calcTarget_)
        return *calcTarget_;
    if (filterTarget_)
        return *filterTarget_;
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        return edit_;
    if (current_ >= 0 && current_ < int(rows_.size()))
        return RowAt(current_);
    return empty;
}

const Value& DataSet::ValueAt(int recNo, int fieldIndex) const
{
    if (recNo == current_ && (state_ == DataSetState::Edit || state_ == DataSetState::Insert))
        return edit_.at(fieldIndex);
    const_cast<DataSet*>(this)->Reach(recNo);
    return RowAt(recNo).at(fieldIndex);
}

void DataSet::Calculate(Row& row)
{
    if (!OnCalcFields || dataFieldCount_ == int(fields_.size()))
        return;
    for (int i = dataFieldCount_; i < row.size(); ++i)
        row[i].SetNull();
    struct Restore {
        Row*& target;
        ~Restore() { target = nullptr; }
    } restore{calcTarget_};
    calcTarget_ = &row;
    OnCalcFields(*this);
}

void DataSet::SetFieldValue(Field& field, QVariant&& value)
{
    if (calcTarget_) {
        if (!field.calculated_)
            Fail(QStringLiteral("Im Berechnungsereignis können nur berechnete Felder gesetzt "
                                "werden (%1).")
                     .arg(field.name_));
        (*calcTarget_)[field.index_] = std::move(value);
        return;
    }
    if (filterTarget_)
        Fail(QStringLiteral("Im Filterereignis können keine Felder gesetzt werden (%1).")
                 .arg(field.name_));
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        Fail(QStringLiteral("Die Datenmenge ist nicht im Bearbeitungs- oder Einfügemodus (Feld "
                            "'%1').")
                 .arg(field.name_));
    if (field.calculated_)
        Fail(QStringLiteral("Das berechnete Feld '%1' kann nicht geändert werden.")
                 .arg(field.Label()));
    if (field.ReadOnly)
        Fail(QStringLiteral("Das Feld '%1' kann nicht geändert werden.").arg(field.Label()));
    edit_[field.index_] = std::move(value);
    if (field.OnChange)
        field.OnChange(field);
    Calculate(edit_);
    NotifyRecord(&field);
}

// ---- filter

void DataSet::SetFiltered(bool on)
{
    if (!Active()) {
        filtered_ = on;
        return;
    }
    CheckBrowseMode();
    int current = current_;
    MergeHidden(current);
    filtered_ = false;
    const auto finish = [this, &current] {
        current_ = current;
        bof_ = eof_ = rows_.empty();
        NotifyDataSet();
        Scrolled();
    };
    try {
        if (on) {
            ApplyFilter(current);
            filtered_ = true;
            // As many records in sight as after the open, so that there is a first one when any
            // passes.
            if (int(rows_.size()) < FetchBatch) {
                const bool none = rows_.empty();
                Read(FetchBatch - int(rows_.size()));
                if (none && !rows_.empty())
                    current = 0;
            }
        }
    } catch (...) {
        // The records are all in sight again; the links must hear of it before the error passes.
        finish();
        throw;
    }
    finish();
}

void DataSet::MergeHidden(int& current)
{
    std::vector<Record> all;
    all.reserve(rows_.size() + hidden_.size());
    int moved = -1;
    size_t h = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        Record& r = rows_[i];
        while (r.ordinal >= 0 && h < hidden_.size() && hidden_[h].ordinal < r.ordinal)
            all.push_back(std::move(hidden_[h++]));
        if (int(i) == current)
            moved = int(all.size());
        all.push_back(std::move(r));
    }
    while (h < hidden_.size())
        all.push_back(std::move(hidden_[h++]));
    for (Record& r : all)
        r.ordinal = -1;
    rows_ = std::move(all);
    hidden_.clear();
    current = moved >= 0 ? moved : (rows_.empty() ? -1 : 0);
}

void DataSet::ApplyFilter(int& current)
{
    nextOrdinal_ = int(rows_.size());
    if (!OnFilterRecord)
        return;
    std::vector<bool> passes(rows_.size());
    {
        struct Restore {
            const Row*& target;
            ~Restore() { target = nullptr; }
        } restore{filterTarget_};
        for (size_t i = 0; i < rows_.size(); ++i) {
            filterTarget_ = &RowAt(int(i));
            passes[i] = OnFilterRecord(*this);
        }
    }
    std::vector<Record> shown;
    int moved = -1;
    for (size_t i = 0; i < rows_.size(); ++i) {
        rows_[i].ordinal = int(i);
        if (!passes[i]) {
            hidden_.push_back(std::move(rows_[i]));
            continue;
        }
        if (int(i) == current)
            moved = int(shown.size());
        shown.push_back(std::move(rows_[i]));
    }
    rows_ = std::move(shown);
    current = moved >= 0 ? moved : (rows_.empty() ? -1 : 0);
}

// ---- navigation

void DataSet::Scrolled()
{
    if (AfterScroll)
        AfterScroll(*this);
    NotifyScrolled();
}

void DataSet::First()
{
    CheckActive();
    CheckBrowseMode();
    Reach(0);
    current_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    Scrolled();
}

void DataSet::Last()
{
    CheckActive();
    CheckBrowseMode();
    FetchRest();
    current_ = int(rows_.size()) - 1;
    eof_ = true;
    bof_ = rows_.empty();
    Scrolled();
}

void DataSet::Next()
{
    CheckActive();
    CheckBrowseMode();
    if (Reach(current_ + 1)) {
        ++current_;
        bof_ = eof_ = false;
        Scrolled();
    } else {
        eof_ = true;
    }
}

void DataSet::Prior()
{
    CheckActive();
    CheckBrowseMode();
    if (current_ > 0) {
        --current_;
        bof_ = eof_ = false;
        Scrolled();
    } else {
        bof_ = true;
    }
}

void DataSet::MoveBy(int distance)
{
    CheckActive();
    CheckBrowseMode();
    const int target = current_ + distance;
    Reach(std::max(target, 0));
    if (rows_.empty()) {
        bof_ = eof_ = true;
        return;
    }
    const int clamped = std::clamp(target, 0, int(rows_.size()) - 1);
    bof_ = target < 0;
    eof_ = target >= int(rows_.size());
    if (clamped != current_) {
        current_ = clamped;
        Scrolled();
    }
}

void DataSet::MoveTo(int recNo)
{
    CheckActive();
    if (!Reach(recNo))
        Fail(QStringLiteral("Datensatz %1 gibt es nicht.").arg(recNo + 1));
    CheckBrowseMode();
    bof_ = eof_ = false;
    if (recNo != current_) {
        current_ = recNo;
        Scrolled();
    }
}

bool DataSet::Locate(const QString& fields, const QVariantList& values, bool caseInsensitive,
                     bool partialKey)
{
    CheckActive();
    CheckBrowseMode();
    const QStringList names = fields.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (names.size() != values.size())
        Fail(QStringLiteral("Locate: %1 Felder, aber %2 Werte.")
                 .arg(names.size())
                 .arg(values.size()));
    std::vector<Field*> keys;
    for (const QString& n : names)
        keys.push_back(&FieldByName(n.trimmed()));
    const Qt::CaseSensitivity cs = caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    auto matches = [&](const Row& row) {
        for (size_t k = 0; k < keys.size(); ++k) {
            const Value& have = row[keys[k]->index_];
            const Value want(values[int(k)]);
            if (have.IsNull() || want.IsNull()) {
                if (have.IsNull() != want.IsNull())
                    return false;
                continue;
            }
            const FieldType t = keys[k]->type_;
            bool equal;
            if (IsTextType(t)) {
                const QString h = have.AsString();
                const QString w = want.AsString();
                equal = partialKey ? h.startsWith(w, cs) : h.compare(w, cs) == 0;
            } else if (keys[k]->IsNumeric()) {
                equal = have.AsDouble() == want.AsDouble();
            } else if (t == FieldType::Date) {
                equal = have.AsDate() == want.AsDate();
            } else if (t == FieldType::Timestamp) {
                equal = have.AsDateTime() == want.AsDateTime();
            } else if (t == FieldType::Boolean) {
                equal = have.AsBoolean() == want.AsBoolean();
            } else {
                equal = have.AsVariant() == want.AsVariant();
            }
            if (!equal)
                return false;
        }
        return true;
    };
    for (int i = 0; Reach(i); ++i) {
        if (matches(RowAt(i))) {
            bof_ = eof_ = false;
            if (i != current_) {
                current_ = i;
                Scrolled();
            }
            return true;
        }
    }
    return false;
}

// ---- editing

void DataSet::CheckBrowseMode()
{
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        Post();
}

void DataSet::UpdateRecord()
{
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    if (disableCount_ > 0)
        return;
    const auto links = links_;
    for (DataLink* link : links)
        link->UpdateData();
}

void DataSet::Edit()
{
    CheckActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        return;
    if (!Reach(0)) {
        Insert();
        return;
    }
    if (modifySql_.isEmpty())
        Fail(QStringLiteral("Die Datenmenge kann nicht geändert werden."));
    if (BeforeEdit)
        BeforeEdit(*this);
    edit_ = old_ = RowAt(current_);
    SetState(DataSetState::Edit);
    NotifyRecord(nullptr);
}

void DataSet::Append()
{
    CheckActive();
    CheckBrowseMode();
    FetchRest();
    StartInsert(int(rows_.size()));
}

void DataSet::Insert()
{
    CheckActive();
    CheckBrowseMode();
    FetchRest();
    StartInsert(current_ < 0 ? 0 : current_);
}

void DataSet::StartInsert(int at)
{
    if (insertSql_.isEmpty())
        Fail(QStringLiteral("In diese Datenmenge kann nichts eingefügt werden."));
    // The new record lives in the edit buffer; its place in the rows stays empty until the post.
    rows_.insert(rows_.begin() + at, Record{});
    current_ = at;
    bof_ = eof_ = false;
    edit_.clear();
    edit_.resize(qsizetype(fields_.size()));
    old_.clear();
    SetState(DataSetState::Insert);
    try {
        if (OnNewRecord)
            OnNewRecord(*this);
        Calculate(edit_);
    } catch (...) {
        Cancel();
        throw;
    }
    NotifyDataSet();
    Scrolled();
}

void DataSet::Post()
{
    CheckActive();
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    UpdateRecord();
    if (BeforePost)
        BeforePost(*this);
    const bool inserting = state_ == DataSetState::Insert;
    Field* generated = generator_.isEmpty() ? nullptr : FindField(generatorField_);
    if (inserting && generated && edit_[generated->index_].IsNull()) {
        Query q(GetTransaction(), QStringLiteral("SELECT GEN_ID(%1, %2) FROM RDB$DATABASE")
                                      .arg(generator_)
                                      .arg(generatorIncrement_));
        q.Open();
        // In the type the column delivers, so the record is kept as compactly as a fetched one.
        const Value& next = q.Field(0);
        const FieldType type = generated->DataType();
        if (type == FieldType::Integer || type == FieldType::SmallInt)
            edit_[generated->index_].SetInteger(next.AsInteger());
        else
            edit_[generated->index_] = next;
    }
    for (int i = 0; i < dataFieldCount_; ++i) {
        const Field& f = *fields_[size_t(i)];
        if (f.Required && edit_[i].IsNull())
            Fail(QStringLiteral("Feld '%1' muss einen Wert haben.").arg(f.Label()));
    }
    // Only the read-back and the calculated fields can fail after the write.
    const bool afterWrite =
        !refreshSql_.isEmpty() || (OnCalcFields && dataFieldCount_ != int(fields_.size()));
    PostSavepoint savepoint(afterWrite ? &Savepoint() : nullptr);
    if (inserting)
        Write(insert_, insertSql_, edit_, old_, false);
    else
        Modify();
    ReadBack(edit_);
    Calculate(edit_);
    savepoint.Release();
    // Kept like a fetched row when it reads back unchanged so: a long series of posts then costs
    // no more memory than reading the rows.
    Record& posted = rows_[size_t(current_)];
    if (select_->Encode(edit_, posted.raw)) {
        posted.values.clear();
    } else {
        posted.raw = QByteArray();
        posted.values = std::move(edit_);
    }
    edit_.clear();
    old_.clear();
    SetState(DataSetState::Browse);
    if (AfterPost)
        AfterPost(*this);
    NotifyDataSet();
}

void DataSet::Cancel()
{
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    if (state_ == DataSetState::Insert) {
        rows_.erase(rows_.begin() + current_);
        if (current_ >= int(rows_.size()))
            current_ = int(rows_.size()) - 1;
    }
    edit_.clear();
    old_.clear();
    bof_ = eof_ = rows_.empty();
    SetState(DataSetState::Browse);
    if (AfterCancel)
        AfterCancel(*this);
    NotifyDataSet();
}

void DataSet::Delete()
{
    CheckActive();
    if (state_ == DataSetState::Insert) {
        Cancel();
        return;
    }
    if (!Reach(0))
        Fail(QStringLiteral("Die Datenmenge ist leer."));
    Cancel();
    if (deleteSql_.isEmpty())
        Fail(QStringLiteral("Aus dieser Datenmenge kann nichts gelöscht werden."));
    if (BeforeDelete)
        BeforeDelete(*this);
    const Row row = RowAt(current_);
    Write(delete_, deleteSql_, row, row, false);
    rows_.erase(rows_.begin() + current_);
    const Quiet quiet(*this);
    const auto finish = [this] {
        if (current_ >= int(rows_.size()))
            current_ = int(rows_.size()) - 1;
        bof_ = eof_ = rows_.empty();
        if (AfterDelete)
            AfterDelete(*this);
        NotifyDataSet();
        Scrolled();
    };
    try {
        // The next record becomes current, also when it is still to be read.
        Reach(current_);
    } catch (...) {
        // The record is deleted all the same; the links must hear of it before the error passes.
        finish();
        throw;
    }
    finish();
}

void DataSet::Refresh()
{
    CheckActive();
    CheckBrowseMode();
    Reread(false);
}

void DataSet::Reread(bool reselect)
{
    if (current_ < 0)
        return;
    if (!reselect && !refreshSql_.isEmpty()) {
        Row& row = RowAt(current_);
        ReadBack(row);
        Calculate(row);
        NotifyRecord(nullptr);
        return;
    }
    const Value key = RowAt(current_).value(0);
    const int before = current_;
    current_ = -1;
    try {
        OpenSelect();
    } catch (...) {
        bof_ = eof_ = true;
        NotifyDataSet();
        throw;
    }
    for (int i = 0; !key.IsNull() && (i < int(rows_.size()) || Read(FetchBatch) > 0); ++i) {
        if (RowAt(i).value(0) == key) {
            current_ = i;
            break;
        }
    }
    if (current_ < 0) {
        if (before >= int(rows_.size()))
            Read(before + 1 - int(rows_.size()));
        current_ = rows_.empty() ? -1 : std::min(before, int(rows_.size()) - 1);
    }
    bof_ = eof_ = rows_.empty();
    NotifyDataSet();
    Scrolled();
}

// ---- statements

Query& DataSet::Prepared(Statement& statement, const QString& sql)
{
    if (statement.query)
        return *statement.query;
    auto q = std::make_unique<Query>(GetTransaction(), sql);
    const QStringList names = q->ParamNames();
    statement.field.assign(size_t(names.size()), -1);
    statement.old.assign(size_t(names.size()), false);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        Field* f = nullptr;
        if (name.startsWith(QLatin1String("OLD_")) && (f = FindField(name.mid(4))))
            statement.old[size_t(i)] = true;
        else
            f = FindField(name);
        if (!f)
            Fail(QStringLiteral("Der Parameter %1 entspricht keinem Feld der Datenmenge:\n%2")
                     .arg(name, sql));
        statement.field[size_t(i)] = f->index_;
    }
    statement.query = std::move(q);
    return *statement.query;
}

void DataSet::BindRecord(Statement& statement, const Row& values, const Row& old)
{
    statement.bound.resize(statement.field.size());
    for (size_t i = 0; i < statement.field.size(); ++i) {
        const Row& source = statement.old[i] && !old.isEmpty() ? old : values;
        statement.bound[i] = &source[statement.field[i]];
    }
}

void DataSet::Write(Statement& statement, const QString& sql, const Row& values, const Row& old,
                    bool checkRows)
{
    Query& q = Prepared(statement, sql);
    BindRecord(statement, values, old);
    q.Execute(statement.bound);
    // Another user deleted the row in the meantime: the change must not vanish silently.
    if (checkRows && q.RowsAffected() == 0 &&
        sql.trimmed().startsWith(QLatin1String("UPDATE"), Qt::CaseInsensitive))
        Fail(
            QStringLiteral("Der Datensatz wurde nicht gespeichert, weil er inzwischen gelöscht "
                           "wurde."));
}

void DataSet::MakeGuard()
{
    guardMade_ = true;
    guardedSql_.clear();
    const UpdateStatement statement(modifySql_);
    if (!statement.Understood())
        return;
    // Only what the select reads from the column itself can show that the row changed; a value
    // computed under the column's name would differ every time.
    QStringList compared;
    guardLabels_.clear();
    for (const QString& column : statement.Columns()) {
        Field* f = FindField(column);
        if (!f || f->calculated_ || f->index_ >= dataFieldCount_)
            continue;
        const ColumnInfo& c = select_->Column(f->index_);
        if (c.Relation.isEmpty() || c.Origin.compare(column, Qt::CaseInsensitive) != 0)
            continue;
        compared << column;
        guardLabels_ << f->Label();
    }
    guardTable_ = statement.Table();
    guardedSql_ = statement.Guarded(compared);
    differencesSql_ = statement.Differences(compared);
}

void DataSet::Modify()
{
    if (!guardMade_)
        MakeGuard();
    if (guardedSql_.isEmpty()) {
        Write(modify_, modifySql_, edit_, old_, true);
        return;
    }
    UpdateConflict conflict;
    conflict.table = guardTable_;
    bool reported = false;
    try {
        Write(guarded_, guardedSql_, edit_, old_, false);
        if (guarded_.query->RowsAffected() > 0)
            return;
        Query& q = Prepared(differences_, differencesSql_);
        BindRecord(differences_, edit_, old_);
        q.Execute(differences_.bound);
        conflict.deleted = q.Eof();
        for (int i = 0; !conflict.deleted && i < q.FieldCount(); ++i) {
            if (q.Field(i).AsInteger() != 0 && i < guardLabels_.size())
                conflict.changed << guardLabels_[i];
        }
        q.Close();
    } catch (const Error& e) {
        // The engine's own report: a snapshot transaction, or another workstation that committed
        // while this one waited for the row.
        if (!IsUpdateConflict(e))
            throw;
        reported = true;
        conflict.overwritable =
            GetTransaction().Options().isolation != TransactionOptions::Snapshot;
    }
    if (conflict.deleted)
        conflict.overwritable = false;
    else if (!reported && conflict.changed.isEmpty()) {
        // Changed back in the meantime: nothing to write over.
        Write(modify_, modifySql_, edit_, old_, true);
        return;
    }
    switch (AskConflict(conflict)) {
        case ConflictAnswer::Overwrite:
            Write(modify_, modifySql_, edit_, old_, true);
            return;
        case ConflictAnswer::Reload:
            Cancel();
            Reread(conflict.deleted);
            throw Abort();
        case ConflictAnswer::Cancel:
            break;
    }
    throw Abort();
}

void DataSet::ReadBack(Row& row)
{
    if (refreshSql_.isEmpty())
        return;
    Query& q = Prepared(refresh_, refreshSql_);
    BindRecord(refresh_, row, row);
    // Takes the record's values without copying them, and opens a select on its first row.
    q.Execute(refresh_.bound);
    if (!q.Eof()) {
        for (int i = 0; i < q.FieldCount(); ++i) {
            if (Field* f = FindField(q.Column(i).Name); f && !f->calculated_)
                row[f->index_] = q.Field(i);
        }
    }
    q.Close();
}

// ---- links

void DataSet::DisableControls()
{
    ++disableCount_;
}

void DataSet::EnableControls()
{
    if (disableCount_ == 0)
        return;
    if (--disableCount_ == 0) {
        const Quiet quiet(*this);
        const auto links = links_;
        for (DataLink* link : links) {
            link->ActiveChanged();
            link->DataSetChanged();
        }
    }
}

void DataSet::NotifyActive()
{
    if (disableCount_ > 0 || links_.isEmpty())
        return;
    const Quiet quiet(*this);
    const auto links = links_;
    for (DataLink* link : links)
        link->ActiveChanged();
}

void DataSet::NotifyDataSet()
{
    if (disableCount_ > 0 || links_.isEmpty())
        return;
    const Quiet quiet(*this);
    const auto links = links_;
    for (DataLink* link : links)
        link->DataSetChanged();
}

void DataSet::NotifyScrolled()
{
    if (disableCount_ > 0 || links_.isEmpty())
        return;
    const auto links = links_;
    for (DataLink* link : links)
        link->DataSetScrolled();
}

void DataSet::NotifyRecord(Field* field)
{
    if (disableCount_ > 0 || links_.isEmpty())
        return;
    const auto links = links_;
    for (DataLink* link : links)
        link->RecordChanged(field);
}

void DataSet::NotifyEditing()
{
    if (disableCount_ > 0 || links_.isEmpty())
        return;
    const auto links = links_;
    for (DataLink* link : links)
        link->EditingChanged();
}

// ---- DataLink

DataLink::DataLink(DataSet* dataSet)
{
    SetDataSet(dataSet);
}

DataLink::~DataLink()
{
    SetDataSet(nullptr);
}

void DataLink::SetDataSet(DataSet* dataSet)
{
    if (dataSet_ == dataSet)
        return;
    if (dataSet_)
        dataSet_->links_.removeOne(this);
    dataSet_ = dataSet;
    if (dataSet_)
        dataSet_->links_.append(this);
}

bool DataLink::Active() const
{
    return dataSet_ && dataSet_->Active();
}

bool DataLink::Editing() const
{
    return dataSet_ &&
           (dataSet_->State() == DataSetState::Edit || dataSet_->State() == DataSetState::Insert);
}

bool DataLink::Edit()
{
    if (dataSet_ && dataSet_->State() == DataSetState::Browse)
        dataSet_->Edit();
    return Editing();
}

}  // namespace db
