#include "Transaction.h"

#include "Database.h"
#include "FbApi.h"

#include <ibase.h>

namespace db {

using namespace Firebird;

Transaction::Transaction(Database& database, const QString& name, TransactionOptions options)
    : database_(&database), name_(name), options_(options)
{
    setObjectName(name);
    database_->transactions_.append(this);
}

Transaction::~Transaction()
{
    if (database_)
        database_->transactions_.removeOne(this);
    if (!handle_)
        return;
    try {
        Rollback();
    } catch (const Error&) {
        // The engine rolls back what the process leaves behind.
        handle_ = nullptr;
    }
}

void Transaction::Start()
{
    if (handle_)
        throw Error(QStringLiteral("Die Transaktion %1 ist bereits aktiv.").arg(name_));
    IAttachment* attachment = GetDatabase().Handle();
    handle_ = fb::Call([&](fb::Status& st) {
        IXpbBuilder* tpb = fb::Util()->getXpbBuilder(&st, IXpbBuilder::TPB, nullptr, 0);
        struct Dispose {
            IXpbBuilder* b;
            ~Dispose() { b->dispose(); }
        } dispose{tpb};
        tpb->insertTag(&st, options_.readOnly ? isc_tpb_read : isc_tpb_write);
        if (options_.isolation == TransactionOptions::Snapshot) {
            tpb->insertTag(&st, isc_tpb_concurrency);
        } else {
            tpb->insertTag(&st, isc_tpb_read_committed);
            tpb->insertTag(&st, isc_tpb_rec_version);
        }
        if (options_.lockTimeout > 0) {
            tpb->insertTag(&st, isc_tpb_wait);
            tpb->insertInt(&st, isc_tpb_lock_timeout, options_.lockTimeout);
        } else {
            tpb->insertTag(&st, isc_tpb_nowait);
        }
        return attachment->startTransaction(&st, tpb->getBufferLength(&st), tpb->getBuffer(&st));
    });
}

Database& Transaction::GetDatabase() const
{
    if (!database_)
        throw Error(QStringLiteral("Die Datenbankverbindung der Transaktion %1 gibt es nicht mehr.")
                        .arg(name_));
    return *database_;
}

ITransaction* Transaction::Handle() const
{
    if (!handle_)
        throw Error(QStringLiteral("Die Transaktion %1 ist nicht aktiv.").arg(name_));
    return handle_;
}

void Transaction::End(bool commit)
{
    ITransaction* t = Handle();
    emit Ending();
    try {
        fb::Call([&](fb::Status& st) {
            if (commit)
                t->commit(&st);
            else
                t->rollback(&st);
        });
    } catch (const Error&) {
        // A failed commit leaves the work open for a rollback. A failed rollback means the
        // connection is gone, and with it the transaction: the handle is only let go.
        if (commit)
            throw;
        t->release();
        handle_ = nullptr;
        throw;
    }
    handle_ = nullptr;
}

void Transaction::Commit()
{
    End(true);
}

void Transaction::Rollback()
{
    End(false);
}

void Transaction::CommitRetaining()
{
    ITransaction* t = Handle();
    fb::Call([&](fb::Status& st) { t->commitRetaining(&st); });
}

void Transaction::RollbackRetaining()
{
    ITransaction* t = Handle();
    fb::Call([&](fb::Status& st) { t->rollbackRetaining(&st); });
}

}  // namespace db
