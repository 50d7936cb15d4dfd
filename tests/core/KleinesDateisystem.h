#pragma once

#include <QDir>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <unistd.h>

// A small file system of its own (a tmpfs of the given size) for tests of a full disk; it needs
// root. When it cannot be mounted here, Bereit() is false.
class KleinesDateisystem {
public:
    explicit KleinesDateisystem(qint64 bytes)
    {
        if (::geteuid() != 0 || !ordner_.isValid())
            return;
        bereit_ = QProcess::execute(QStringLiteral("mount"),
                                    {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                     QStringLiteral("-o"), QStringLiteral("size=%1").arg(bytes),
                                     QStringLiteral("tmpfs"), ordner_.path()}) == 0;
    }
    ~KleinesDateisystem()
    {
        if (bereit_)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), ordner_.path()});
    }
    KleinesDateisystem(const KleinesDateisystem&) = delete;
    KleinesDateisystem& operator=(const KleinesDateisystem&) = delete;

    bool Bereit() const { return bereit_; }
    QString Pfad() const { return ordner_.path(); }
    QString Datei(const QString& name) const { return ordner_.filePath(name); }

private:
    QTemporaryDir ordner_;
    bool bereit_ = false;
};
