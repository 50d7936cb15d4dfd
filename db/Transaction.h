#pragma once

#include <QObject>
#include <QString>

namespace Firebird {
class ITransaction;
}

namespace db {

class Database;

// How a transaction sees others' work. ReadCommitted sees what others committed at each statement;
// Snapshot sees the database as it was at the start. A lock conflict waits LockTimeout seconds
// and then fails instead of blocking the window forever.
struct TransactionOptions {
    enum Isolation { ReadCommitted, Snapshot };
    Isolation isolation = ReadCommitted;
    bool readOnly = false;
    int lockTimeout = 10;
};

// A named transaction on a connection; a connection may have several. A transaction that ends
// (commit or rollback, not the retaining forms) closes the cursors and datasets working in it.
// Destroying an active transaction rolls it back.
class Transaction : public QObject {
    Q_OBJECT
public:
    explicit Transaction(Database& database, const QString& name = {},
                         TransactionOptions options = {});
    ~Transaction() override;

    void Start();
    void Commit();
    void CommitRetaining();
    void Rollback();
    void RollbackRetaining();
    bool Active() const { return handle_ != nullptr; }

    const QString& Name() const { return name_; }
    // Throws db::Error when the connection object is gone.
    Database& GetDatabase() const;
    const TransactionOptions& Options() const { return options_; }
    void SetOptions(const TransactionOptions& options) { options_ = options; }

    // Inside db/ only; throws when the transaction is not active.
    Firebird::ITransaction* Handle() const;

signals:
    // Before the transaction ends: cursors and datasets in it close.
    void Ending();

private:
    void End(bool commit);

    friend class Database;
    Database* database_;
    QString name_;
    TransactionOptions options_;
    Firebird::ITransaction* handle_ = nullptr;
};

}  // namespace db
