#include "Services.h"

#include "FbApi.h"

#include <ibase.h>

#include <QStringList>

#include <vector>

namespace db::Services {

namespace {

using namespace Firebird;

class Builder {
public:
    Builder(fb::Status& st, unsigned kind)
        : st_(st), b_(fb::Util()->getXpbBuilder(&st, kind, nullptr, 0))
    {
    }
    ~Builder() { b_->dispose(); }
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;
    IXpbBuilder* operator->() const { return b_; }
    unsigned Length() { return b_->getBufferLength(&st_); }
    const unsigned char* Buffer() { return b_->getBuffer(&st_); }

private:
    fb::Status& st_;
    IXpbBuilder* b_;
};

QByteArray Local(const QString& s)
{
    return s.toLocal8Bit();
}

// Attaches the service manager, starts the action, and reads its output to the end.
void Run(const ServiceParams& params, const std::function<void(fb::Status&, Builder&)>& action,
         bool verbose, const ServiceOutput& output)
{
    const QByteArray name = params.Server.isEmpty()
                                ? QByteArray("service_mgr")
                                : Local(params.Server) + QByteArray(":service_mgr");
    fb::Call([&](fb::Status& st) {
        Builder attach(st, IXpbBuilder::SPB_ATTACH);
        if (!params.User.isEmpty())
            attach->insertString(&st, isc_spb_user_name, fb::ToLatin1(params.User).constData());
        if (!params.Password.isEmpty())
            attach->insertString(&st, isc_spb_password, fb::ToLatin1(params.Password).constData());
        IService* service = fb::Provider()->attachServiceManager(&st, name.constData(),
                                                                 attach.Length(), attach.Buffer());
        try {
            Builder start(st, IXpbBuilder::SPB_START);
            action(st, start);
            service->start(&st, start.Length(), start.Buffer());

            const unsigned char item = verbose ? isc_info_svc_line : isc_info_svc_to_eof;
            std::vector<unsigned char> buffer(65000);
            for (bool more = true; more;) {
                service->query(&st, 0, nullptr, 1, &item, unsigned(buffer.size()), buffer.data());
                more = false;
                for (const unsigned char* p = buffer.data(); *p != isc_info_end;) {
                    const unsigned char tag = *p++;
                    if (tag == isc_info_svc_line || tag == isc_info_svc_to_eof) {
                        const auto len =
                            unsigned(isc_vax_integer(reinterpret_cast<const char*>(p), 2));
                        p += 2;
                        if (len > 0) {
                            more = true;
                            if (output) {
                                const QString text = QString::fromLocal8Bit(
                                    reinterpret_cast<const char*>(p), int(len));
                                for (const QString& line :
                                     text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                                    output(line);
                            }
                        }
                        p += len;
                    } else if (tag == isc_info_truncated || tag == isc_info_data_not_ready ||
                               tag == isc_info_svc_timeout) {
                        more = true;
                    } else {
                        break;
                    }
                }
            }
            service->detach(&st);
        } catch (...) {
            service->release();
            throw;
        }
    });
}

}  // namespace

void Backup(const ServiceParams& params, const QString& database, const QString& backupFile,
            const ServiceOutput& output)
{
    Run(
        params,
        [&](fb::Status& st, Builder& spb) {
            spb->insertTag(&st, isc_action_svc_backup);
            spb->insertString(&st, isc_spb_dbname, Local(database).constData());
            spb->insertString(&st, isc_spb_bkp_file, Local(backupFile).constData());
            if (output)
                spb->insertTag(&st, isc_spb_verbose);
        },
        bool(output), output);
}

void Restore(const ServiceParams& params, const QString& backupFile, const QString& database,
             bool replace, const ServiceOutput& output)
{
    Run(
        params,
        [&](fb::Status& st, Builder& spb) {
            spb->insertTag(&st, isc_action_svc_restore);
            spb->insertString(&st, isc_spb_bkp_file, Local(backupFile).constData());
            spb->insertString(&st, isc_spb_dbname, Local(database).constData());
            spb->insertInt(&st, isc_spb_options,
                           replace ? isc_spb_res_replace : isc_spb_res_create);
            if (output)
                spb->insertTag(&st, isc_spb_verbose);
        },
        bool(output), output);
}

void AddUser(const ServiceParams& params, const QString& user, const QString& password)
{
    if (user.trimmed().isEmpty() || password.isEmpty())
        throw Error(QStringLiteral("Benutzername und Passwort dürfen nicht leer sein."));
    Run(params,
        [&](fb::Status& st, Builder& spb) {
            spb->insertTag(&st, isc_action_svc_add_user);
            spb->insertString(&st, isc_spb_sec_username, fb::ToLatin1(user).constData());
            spb->insertString(&st, isc_spb_sec_password, fb::ToLatin1(password).constData());
        },
        false, {});
}

}  // namespace db::Services
