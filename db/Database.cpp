#include "Database.h"

#include "EngineRoot.h"
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

// A name "host:path" or "inet://host/path" goes to a server; a plain path is the embedded engine's.
bool Eingebettet(const QString& name)
{
    const qsizetype doppelpunkt = name.indexOf(QLatin1Char(':'));
    const qsizetype schraegstrich = name.indexOf(QLatin1Char('/'));
    return doppelpunkt < 0 || (schraegstrich >= 0 && schraegstrich < doppelpunkt);
}

std::unique_ptr<EngineFileGuard> Waechter(const QString& name)
{
    if (!Eingebettet(name))
        return nullptr;
    return std::make_unique<EngineFileGuard>(name);
}

bool Enthaelt(const intptr_t* v, intptr_t gesucht)
{
    for (const intptr_t* p = v; *p != isc_arg_end;) {
        if (p[0] == isc_arg_gds && p[1] == gesucht)
            return true;
        p += p[0] == isc_arg_cstring ? 3 : 2;
    }
    return false;
}

// The engine reports a file another engine holds in a way it cannot share (a database server, or
// the embedded engine of a process set up otherwise) as an I/O error; the user learns what it is.
Error AttachFehler(IStatus* status, const QString& name)
{
    Error fehler = fb::ToError(status);
    if (!Enthaelt(status->getErrors(), isc_already_opened))
        return fehler;
    return Error(QStringLiteral("Die Datenbank \"%1\" wird bereits von einem anderen Programm "
                                "verwendet, das sie nicht mit diesem teilen kann, etwa von einem "
                                "Datenbank-Server oder einem anderen Arbeitsplatz.\n\n"
                                "Beenden Sie das andere Programm, oder verbinden Sie alle "
                                "Arbeitsplätze auf dieselbe Weise mit der Datenbank.\n\n"
                                "Meldung der Datenbank: %2")
                     .arg(name, fehler.Message()),
                 fehler.SqlCode(), isc_already_opened);
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
    auto waechter = Waechter(params.Name);
    fb::StatusLease lease;
    IAttachment* a = nullptr;
    try {
        fb::Status& st = lease.Get();
        auto dpb = BuildDpb(st, params);
        a = fb::Provider()->attachDatabase(&st, name.constData(),
                                           dpb->builder->getBufferLength(&st),
                                           dpb->builder->getBuffer(&st));
    } catch (const FbException& e) {
        throw AttachFehler(e.getStatus(), params.Name);
    }
    guard_ = std::move(waechter);
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
    try {
        guard_ = Waechter(params.Name);
    } catch (const Error&) {
        fb::Call([&](fb::Status& st) { a->detach(&st); });
        throw;
    }
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
    guard_.reset();
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
