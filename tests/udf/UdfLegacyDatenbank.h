#pragma once

// A fresh embedded database whose schema declares the extension functions the old way: every
// schema script of TestDatabase::ScriptFolder() in name order, with legacy/020_udf.sql in place
// of 020_udf.sql (as databases declared by older tools have them). The schema is built once per
// program; every further database is a copy of that file.
#include <TestDatabase.h>

#include <Database.h>
#include <Error.h>
#include <ScriptRunner.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class LegacyDatenbank {
public:
    static constexpr const char* kUdfSkript = "020_udf.sql";

    LegacyDatenbank()
    {
        if (!dir_.isValid())
            throw db::Error(QStringLiteral("Kein temporärer Ordner für die Testdatenbank."));
        path_ = dir_.filePath(QStringLiteral("legacy.fdb"));
        if (!QFile::copy(Vorlage(), path_))
            throw db::Error(QStringLiteral("Die Testdatenbank konnte nicht angelegt werden: ") +
                            path_);
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
        db_.Open(TestDatabase::Params(path_));
    }
    ~LegacyDatenbank() { db_.Close(); }
    LegacyDatenbank(const LegacyDatenbank&) = delete;
    LegacyDatenbank& operator=(const LegacyDatenbank&) = delete;

    db::Database& Db() { return db_; }

    static QString Skript(const QString& name)
    {
        QFile datei(name);
        if (!datei.open(QIODevice::ReadOnly))
            throw db::Error(QStringLiteral("Skript nicht lesbar: ") + name);
        return QString::fromUtf8(datei.readAll());
    }

private:
    static QString Vorlage()
    {
        static QTemporaryDir dir;
        static QString pfad;
        if (!pfad.isEmpty())
            return pfad;
        const QString datei = dir.filePath(QStringLiteral("legacy-schema.fdb"));
        const QDir skripte(TestDatabase::ScriptFolder());
        db::Database database;
        database.Create(TestDatabase::Params(datei));
        for (const QString& name :
             skripte.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name)) {
            const QString quelle = name == QLatin1String(kUdfSkript)
                                       ? skripte.filePath(QStringLiteral("legacy/") + name)
                                       : skripte.filePath(name);
            try {
                db::ScriptRunner(database).Run(Skript(quelle));
            } catch (const db::Error& e) {
                database.Close();
                throw db::Error(quelle + QStringLiteral(": ") + e.Message());
            }
        }
        database.Close();
        pfad = datei;
        return pfad;
    }

    QTemporaryDir dir_;
    QString path_;
    db::Database db_;
};
