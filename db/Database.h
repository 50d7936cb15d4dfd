#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

namespace Firebird {
class IAttachment;
}

namespace db {

class EngineFileGuard;
class Transaction;

// Where and as whom to connect. A name "host:path" goes to a database server; a plain path opens
// the file with the embedded engine, which refuses a file another group's engine has attached.
struct ConnectParams {
    QString Name;
    QString User;
    QString Password;
    QString Role;
};

// One connection to a database. The client character set is always ISO8859_1; the layer converts
// every text to and from it.
class Database : public QObject {
    Q_OBJECT
public:
    explicit Database(QObject* parent = nullptr);
    ~Database() override;  // disconnects

    // Attaches; emits AfterConnect. Throws db::Error.
    void Open(const ConnectParams& params);
    // Creates the file (dialect 3, default character set ISO8859_1) and stays attached.
    void Create(const ConnectParams& params, int pageSize = 8192);
    // Emits BeforeDisconnect, rolls back every transaction still active, closes every statement
    // and detaches. It always ends disconnected; a failure on the way (a handler's, or the
    // engine's on a lost connection) is thrown afterwards. Nothing happens when not connected.
    void Close();
    bool Connected() const { return attachment_ != nullptr; }
    const ConnectParams& Params() const { return params_; }

    // The transactions on this connection, in creation order.
    const QList<Transaction*>& Transactions() const { return transactions_; }

    // Inside db/ only.
    Firebird::IAttachment* Handle() const;

signals:
    void AfterConnect();
    void BeforeDisconnect();
    // Statements and cursors free their engine handles here, before the detach.
    void Detaching();

private:
    friend class Transaction;
    void Attached(Firebird::IAttachment* attachment, const ConnectParams& params);

    Firebird::IAttachment* attachment_ = nullptr;
    // Held from before the embedded attach until after the detach.
    std::unique_ptr<EngineFileGuard> guard_;
    ConnectParams params_;
    QList<Transaction*> transactions_;
};

}  // namespace db
