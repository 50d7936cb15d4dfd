#include "TestDatabase.h"

#include <Error.h>
#include <ScriptRunner.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace {

QString ReadScript(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw db::Error(QStringLiteral("Skript nicht lesbar: ") + path);
    return QString::fromUtf8(file.readAll());
}

// The schema is created once per test program; later databases copy the file.
QString SchemaTemplate()
{
    static QTemporaryDir dir;
    static QString path;
    if (!path.isEmpty())
        return path;
    const QString file = dir.path() + QStringLiteral("/schema.fdb");
    // The program's user owns the test database, so that tests may add objects of their own.
    db::Database database;
    database.Create(TestDatabase::Params(file));
    try {
        const QDir scripts(TestDatabase::ScriptFolder());
        for (const QString& name :
             scripts.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name)) {
            try {
                db::ScriptRunner(database).Run(ReadScript(scripts.filePath(name)));
            } catch (const db::Error& e) {
                throw db::Error(name + QStringLiteral(": ") + e.Message(), e.SqlCode(),
                                e.EngineCode(), e.Constraint());
            }
        }
        database.Close();
    } catch (...) {
        database.Close();
        QFile::remove(file);
        throw;
    }
    path = file;
    return path;
}

}  // namespace

db::ConnectParams TestDatabase::Params(const QString& path)
{
    return {path, QStringLiteral("BOVANTIS"), QStringLiteral("heuboden"), {}};
}

QString TestDatabase::ScriptFolder()
{
    return QStringLiteral(BOVANTIS_SQL_CREATE_DIR);
}

TestDatabase::TestDatabase()
{
    if (!dir_.isValid())
        throw db::Error(QStringLiteral("Kein temporärer Ordner für die Testdatenbank."));
    folder_ = dir_.path();
    path_ = folder_ + QStringLiteral("/test.fdb");
    if (!QFile::copy(SchemaTemplate(), path_))
        throw db::Error(QStringLiteral("Die Testdatenbank konnte nicht angelegt werden: ") + path_);
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
    db_.Open(Params());
}

TestDatabase::~TestDatabase()
{
    db_.Close();
}

void DatabaseTest::SetUpTestSuite()
{
    suiteDatabase_ = std::make_unique<TestDatabase>();
}

void DatabaseTest::TearDownTestSuite()
{
    suiteDatabase_.reset();
}
