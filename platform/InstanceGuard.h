#pragma once

#include <QString>

#include <memory>

namespace platform {

// A named lock that one process of the current user holds at a time: the stand-in for a named
// mutex. It is a file in the user's runtime folder held with flock, so it vanishes with the
// process.
class InstanceGuard {
public:
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // The lock when no other process holds it; nullptr when one does.
    static std::unique_ptr<InstanceGuard> tryAcquire(const QString& name);
    // The lock, waiting while another process (or another guard of this one) holds it: for short
    // sections that must not run twice at once.
    static std::unique_ptr<InstanceGuard> acquire(const QString& name);
    // True when another process holds the lock of this name.
    static bool isHeldByOtherProcess(const QString& name);

    const QString& name() const { return name_; }
    void release();

private:
    InstanceGuard(QString name, int fd) : name_(std::move(name)), fd_(fd) {}
    QString name_;
    int fd_ = -1;
};

// The folder of the user's runtime files (locks, sockets): $XDG_RUNTIME_DIR, else a private folder
// under the system's temporary folder.
QString runtimeFolder();

}  // namespace platform
