#include "EventListener.h"

#include "Database.h"
#include "FbApi.h"

#include <QMetaObject>
#include <QPointer>

#include <atomic>
#include <mutex>

namespace db {

using namespace Firebird;

namespace {

// Receives the engine's deliveries on the engine's thread and hands them to the listener's
// thread. The engine holds a reference until the registration is cancelled.
class Callback final : public IEventCallbackImpl<Callback, ThrowStatusWrapper> {
public:
    using Deliver = std::function<void(QByteArray)>;
    explicit Callback(Deliver deliver) : deliver_(std::move(deliver)) {}

    void addRef() override { ++refs_; }
    int release() override
    {
        if (--refs_ == 0) {
            delete this;
            return 0;
        }
        return 1;
    }
    void eventCallbackFunction(unsigned length, const unsigned char* events) override
    {
        std::lock_guard lock(mutex_);
        if (deliver_ && length > 0)
            deliver_(QByteArray(reinterpret_cast<const char*>(events), int(length)));
    }
    void Detach()
    {
        std::lock_guard lock(mutex_);
        deliver_ = nullptr;
    }

private:
    std::atomic<int> refs_{1};
    std::mutex mutex_;
    Deliver deliver_;
};

}  // namespace

struct EventListener::Impl : std::enable_shared_from_this<EventListener::Impl> {
    EventListener* owner = nullptr;
    QByteArray block;   // the names with the counts last seen
    bool first = true;  // the engine's first delivery only reports the current counts
    IEvents* events = nullptr;
    Callback* callback = nullptr;
    QMetaObject::Connection onClose;

    void Queue(IAttachment* attachment)
    {
        // The engine thread only posts to the listener's thread; the delivery is dropped when the
        // listener or this registration is gone by then.
        EventListener* target = owner;
        std::weak_ptr<Impl> weak = shared_from_this();
        auto* cb = new Callback([target, weak](QByteArray data) {
            QMetaObject::invokeMethod(
                target,
                [weak, data] {
                    if (auto self = weak.lock(); self && self->callback)
                        self->Delivered(data);
                },
                Qt::QueuedConnection);
        });
        try {
            events = fb::Call([&](fb::Status& st) {
                return attachment->queEvents(
                    &st, cb, unsigned(block.size()),
                    reinterpret_cast<const unsigned char*>(block.constData()));
            });
        } catch (...) {
            cb->Detach();
            cb->release();
            throw;
        }
        callback = cb;
    }

    void Cancel()
    {
        if (callback)
            callback->Detach();
        if (events) {
            IEvents* e = events;
            events = nullptr;
            try {
                fb::Call([&](fb::Status& st) { e->cancel(&st); });
            } catch (const Error&) {
                e->release();
            }
        }
        if (callback)
            callback->release();
        callback = nullptr;
    }

    void Delivered(const QByteArray& data)
    {
        // Block layout: version byte, then per name: length byte, name, 32-bit count.
        QList<QPair<QString, int>> alerts;
        if (data.size() == block.size()) {
            for (int pos = 1; pos < block.size();) {
                const int len = static_cast<unsigned char>(block[pos]);
                const QString name = QString::fromLatin1(block.constData() + pos + 1, len);
                const int at = pos + 1 + len;
                auto count = [](const QByteArray& b, int i) {
                    return quint32(static_cast<unsigned char>(b[i])) |
                           quint32(static_cast<unsigned char>(b[i + 1])) << 8 |
                           quint32(static_cast<unsigned char>(b[i + 2])) << 16 |
                           quint32(static_cast<unsigned char>(b[i + 3])) << 24;
                };
                const quint32 before = count(block, at);
                const quint32 now = count(data, at);
                if (!first && now > before)
                    alerts.append({name, int(now - before)});
                pos = at + 4;
            }
            block = data;
        }
        first = false;
        // Queue again before telling anyone: a handler may unregister.
        Database& database = owner->database_;
        Cancel();
        if (database.Connected())
            Queue(database.Handle());
        QPointer<EventListener> guard(owner);
        for (const auto& a : alerts) {
            if (!guard)
                break;
            emit guard->EventAlert(a.first, a.second);
        }
    }
};

EventListener::EventListener(Database& database, QObject* parent)
    : QObject(parent), database_(database)
{
}

EventListener::~EventListener()
{
    Unregister();
}

void EventListener::SetEvents(const QStringList& names)
{
    if (names.size() > 15)
        throw Error(QStringLiteral("Es können höchstens 15 Ereignisse angemeldet werden."));
    const bool wasRegistered = Registered();
    Unregister();
    names_ = names;
    if (wasRegistered)
        Register();
}

bool EventListener::Registered() const
{
    return d && d->callback;
}

void EventListener::Register()
{
    if (Registered())
        return;
    if (names_.isEmpty())
        throw Error(QStringLiteral("Es sind keine Ereignisse angegeben."));
    IAttachment* attachment = database_.Handle();
    auto impl = std::make_shared<Impl>();
    impl->owner = this;
    impl->block.append(char(1));
    for (const QString& n : names_) {
        const QByteArray name = fb::ToLatin1(n);
        if (name.isEmpty() || name.size() > 255)
            throw Error(QStringLiteral("Ungültiger Ereignisname: %1").arg(n));
        impl->block.append(char(name.size()));
        impl->block.append(name);
        impl->block.append(4, '\0');
    }
    d = impl;
    try {
        d->Queue(attachment);
    } catch (...) {
        d.reset();
        throw;
    }
    d->onClose = connect(&database_, &Database::Detaching, this, [this] { Unregister(); });
}

void EventListener::Unregister()
{
    if (!d)
        return;
    disconnect(d->onClose);
    d->Cancel();
    d.reset();
}

}  // namespace db
