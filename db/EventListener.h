#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace db {

class Database;

// Database events (POST_EVENT in the database's code). After Register, every commit that posted
// one of the names, in this process or another, raises EventAlert on this object's thread (the
// GUI thread) once per delivery with the number of posts since the last one. The registration
// ends with Unregister, when the connection closes and when the listener is destroyed.
class EventListener : public QObject {
    Q_OBJECT
public:
    explicit EventListener(Database& database, QObject* parent = nullptr);
    ~EventListener() override;

    // At most 15 names; changing them while registered registers anew.
    void SetEvents(const QStringList& names);
    const QStringList& Events() const { return names_; }
    void Register();
    void Unregister();
    bool Registered() const;

signals:
    void EventAlert(const QString& name, int count);

private:
    struct Impl;
    friend struct Impl;
    Database& database_;
    QStringList names_;
    std::shared_ptr<Impl> d;
};

}  // namespace db
