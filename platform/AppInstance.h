#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace platform {

// The application-instance check: the first instance of a user listens on a local socket under the
// given name; a later start asks it to bring its window to the front and then ends.
class AppInstance : public QObject {
    Q_OBJECT
public:
    explicit AppInstance(const QString& name, QObject* parent = nullptr);
    ~AppInstance() override;

    // True when an instance of the name already runs (it was asked to come to the front). Otherwise
    // this object becomes the listening first instance.
    bool anotherInstanceRuns();

signals:
    void activationRequested();

private:
    QString socketPath_;
    QString claimName_;  // the lock that makes the check and the listen one step
    QLocalServer* server_ = nullptr;
};

}  // namespace platform
