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

void SchemaVersion127(db::Database& db)
{
    db::ScriptRunner(db).Run(QStringLiteral(R"(
    ALTER TABLE T_STAMMDATEN DROP CONSTRAINT I_STAMMDATEN_NUMMER_NUM;
    CREATE INDEX IX_STAMMDATEN_NUMMER_NUM ON T_STAMMDATEN (NUMMER_NUM);
    DROP TRIGGER STAMMDATEN_BD_BESTANDSBUCH;
    DELETE FROM T_DB_FEHLER WHERE CONSTR = 'I_STAMMDATEN_NUMMER_NUM';
    SET TERM ^ ;
    CREATE OR ALTER TRIGGER STAMMDATEN_BIU_NUMMER FOR T_STAMMDATEN
    ACTIVE BEFORE INSERT OR UPDATE POSITION 5
    AS
    BEGIN
      IF (INSERTING OR NEW.NUMMER IS DISTINCT FROM OLD.NUMMER OR NEW.NUMMER_NUM IS NULL) THEN
        NEW.NUMMER_NUM = ZRNV_ENCODELOM(NEW.NUMMER);
    END^
    CREATE OR ALTER PROCEDURE P_GET_BESTANDSBUCH (VON DATE, BIS DATE)
    RETURNS (LID INTEGER)
    AS
    BEGIN
      FOR SELECT G.LEISTUNG FROM T_TIERARZTGRUPPE G JOIN T_STAMMDATEN S ON S.ID = G.TIER
          INTO :LID DO SUSPEND;
    END^
    CREATE OR ALTER PROCEDURE P_DO_TIER_LOESCHEN (ID INTEGER)
    AS
    BEGIN
      DELETE FROM T_TIERARZTLEISTUNG L
      WHERE EXISTS (SELECT 1 FROM T_TIERARZTGRUPPE G WHERE G.LEISTUNG = L.ID AND G.TIER = :ID)
        AND NOT EXISTS (SELECT 1 FROM T_TIERARZTGRUPPE G
                        WHERE G.LEISTUNG = L.ID AND G.TIER <> :ID);
      DELETE FROM T_STAMMDATEN WHERE ID = :ID;
    END^
    SET TERM ; ^
    ALTER TABLE T_TIERARZTGRUPPE DROP CONSTRAINT I_TIERARZTGRUPPE_TIER_LEISTUNG;
    ALTER TABLE T_TIERARZTGRUPPE ADD CONSTRAINT I_TIERARZTGRUPPE_TIER_LEISTUNG
      UNIQUE (TIER, LEISTUNG);
    ALTER TABLE T_TIERARZTGRUPPE DROP TIER_NUMMER;
    ALTER TABLE T_TIERARZTGRUPPE DROP TIER_KNR;
    ALTER TABLE T_TIERARZTGRUPPE DROP TIER_NAME;
    ALTER TABLE T_TIERARZTGRUPPE DROP TIER_ART;
    ALTER TABLE T_TIERARZTGRUPPE DROP CONSTRAINT FK_TIERARZTGRUPPE_TIER;
    ALTER TABLE T_TIERARZTGRUPPE ADD CONSTRAINT FK_TIERARZTGRUPPE_TIER FOREIGN KEY (TIER)
      REFERENCES T_STAMMDATEN (ID) ON DELETE CASCADE;
    ALTER TABLE T_TIERARZTGRUPPE ALTER TIER SET NOT NULL;
    UPDATE T_EINSTELLUNGEN SET WERT = '27' WHERE NAME = 'Unterversion';
    )"));
}
