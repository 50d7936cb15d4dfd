#include "Database.h"

#include "FbApi.h"
#include "Transaction.h"

#include <ibase.h>

#include <exception>
#include <memory>

namespace db {

namespace {

using namespace Firebird;

struct Dpb {
    explicit Dpb(IXpbBuilder* b) : builder(b) {}
    ~Dpb() { builder->dispose(); }
    Dpb(const Dpb&) = delete;
    Dpb& operator=(const Dpb&) = delete;
    IXpbBuilder* builder;
};

void AddString(fb::Status& st, IXpbBuilder* b, unsigned char tag, const QString& value)
{
    if (!value.isEmpty())
        b->insertString(&st, tag, fb::ToLatin1(value).constData());
}

std::unique_ptr<Dpb> BuildDpb(fb::Status& st, const ConnectParams& params)
{
    auto dpb = std::make_unique<Dpb>(fb::Util()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0));
    AddString(st, dpb->builder, isc_dpb_user_name, params.User);
    AddString(st, dpb->builder, isc_dpb_password, params.Password);
    AddString(st, dpb->builder, isc_dpb_sql_role_name, params.Role);
    dpb->builder->insertString(&st, isc_dpb_lc_ctype, "ISO8859_1");
    return dpb;
}

QByteArray FileName(const ConnectParams& params)
{
    if (params.Name.trimmed().isEmpty())
        throw Error(QStringLiteral("Es ist keine Datenbank angegeben."));
    return params.Name.toLocal8Bit();
}

}  // namespace

Database::Database(QObject* parent) : QObject(parent) {}

Database::~Database()
{
    try {
        Close();
    } catch (const Error&) {
        // The engine drops a broken attachment with the process; nothing more can be done here.
    }
    // Transactions that outlive their connection only refuse to work.
    for (Transaction* t : transactions_)
        t->database_ = nullptr;
}

void Database::Open(const ConnectParams& params)
{
    Close();
    const QByteArray name = FileName(params);
    IAttachment* a = fb::Call([&](fb::Status& st) {
        auto dpb = BuildDpb(st, params);
        return fb::Provider()->attachDatabase(&st, name.constData(),
                                              dpb->builder->getBufferLength(&st),
                                              dpb->builder->getBuffer(&st));
    });
    Attached(a, params);
}

void Database::Create(const ConnectParams& params, int pageSize)
{
    Close();
    const QByteArray name = FileName(params);
    IAttachment* a = fb::Call([&](fb::Status& st) {
        auto dpb = BuildDpb(st, params);
        dpb->builder->insertString(&st, isc_dpb_set_db_charset, "ISO8859_1");
        dpb->builder->insertInt(&st, isc_dpb_sql_dialect, 3);
        dpb->builder->insertInt(&st, isc_dpb_page_size, pageSize);
        return fb::Provider()->createDatabase(&st, name.constData(),
                                              dpb->builder->getBufferLength(&st),
                                              dpb->builder->getBuffer(&st));
    });
    Attached(a, params);
}

void Database::Attached(IAttachment* attachment, const ConnectParams& params)
{
    attachment_ = attachment;
    params_ = params;
    emit AfterConnect();
}

void Database::Close()
{
    if (!attachment_)
        return;
    // Whatever a handler or the engine reports on the way (a lost connection makes every call
    // fail), the connection ends detached, so that a new Open can follow; the first failure is
    // reported afterwards.
    std::exception_ptr failure;
    const auto keep = [&failure] {
        if (!failure)
            failure = std::current_exception();
    };
    try {
        emit BeforeDisconnect();
    } catch (...) {
        keep();
    }
    for (Transaction* t : transactions_) {
        if (!t->Active())
            continue;
        try {
            t->Rollback();
        } catch (const Error&) {
            // The detach below ends it on the engine's side as well.
        }
    }
    try {
        emit Detaching();
    } catch (...) {
        keep();
    }
    IAttachment* a = attachment_;
    attachment_ = nullptr;
    try {
        fb::Call([&](fb::Status& st) { a->detach(&st); });
    } catch (const Error&) {
        a->release();
        keep();
    }
    if (failure)
        std::rethrow_exception(failure);
}

IAttachment* Database::Handle() const
{
    if (!attachment_)
        throw Error(QStringLiteral("Es besteht keine Verbindung zur Datenbank."));
    return attachment_;
}

}  // namespace db
