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

void SchemaVersion128(db::Database& db)
{
    db::ScriptRunner(db).Run(QStringLiteral(R"(
    DROP PROCEDURE P_GET_EREIGNISLISTE;
    DROP PROCEDURE P_GET_KALBEJOURNAL;
    DROP PROCEDURE P_GET_HITGESENDET;
    DROP PROCEDURE P_GET_ZWKZ_BESTAND;
    DROP PROCEDURE P_GET_BESAMUNGSINDEX_BESTAND;
    DROP PROCEDURE P_DO_ERST;
    DELETE FROM T_ADIS_ITEMS;
    DROP TRIGGER LISTEN_BIU_SQL;
    DROP TRIGGER LISTEN_AIU_LAYOUT;
    DROP TRIGGER MASKEN_BIU_QUERY;
    SET TERM ^ ;
    CREATE OR ALTER PROCEDURE P_GET_LISTE_BILDSCHIRM_FELDER (LISTE INTEGER)
    RETURNS (ID INTEGER, FELD VARCHAR(31), BREITE INTEGER, AUTOBREITE CHAR(1), TITEL VARCHAR(50),
             AUSRICHTUNG CHAR(1), SICHTBAR CHAR(1), TIER_ID CHAR(1), ZEILE INTEGER,
             UEBERSCHRIFT CHAR(1), DISPLAY_FORMAT VARCHAR(10), WERT VARCHAR(50))
    AS
    BEGIN
      FOR SELECT B.ID, B.FELD, B.BREITE, B.AUTOBREITE, B.TITEL, B.AUSRICHTUNG, B.SICHTBAR, B.ZEILE,
                 B.UEBERSCHRIFT, B.DISPLAY_FORMAT, B.WERT
          FROM T_LISTEN_BILDSCHIRM B WHERE B.LISTE = :LISTE
          ORDER BY B.ID
          INTO :ID, :FELD, :BREITE, :AUTOBREITE, :TITEL, :AUSRICHTUNG, :SICHTBAR, :ZEILE,
               :UEBERSCHRIFT, :DISPLAY_FORMAT, :WERT
      DO
      BEGIN
        TIER_ID = IIF(UPPER(FELD) = 'TIERID' OR UPPER(FELD) LIKE '%.TIERID', 'T', 'F');
        SUSPEND;
      END
    END^
    SET TERM ; ^
    DROP PROCEDURE P_GET_DESIGN_FELDER;
    DROP PROCEDURE P_GEN_SQL;
    DROP PROCEDURE P_GEN_SQL_MASKEN;
    DROP PROCEDURE P_LISTE_STATEMENTS;
    DROP PROCEDURE P_LISTE_VERKNUEPFUNG;
    DROP PROCEDURE P_LISTE_BEDINGUNG;
    DROP PROCEDURE P_LISTE_WERT;
    DROP PROCEDURE P_LISTE_FELD;
    DROP PROCEDURE P_LISTE_GRUPPEN;
    DROP PROCEDURE P_LISTE_TOKENS;
    DROP EXCEPTION E_LISTEN_DESIGN;
    DROP VIEW V_LISTE_TIERE;
    DROP VIEW V_LISTE_KALBUNGEN;
    DROP VIEW V_LISTE_LETZTE_KALBUNG;
    DROP VIEW V_LISTE_BESAMUNGEN;
    DROP VIEW V_LISTE_LETZTE_BESAMUNG;
    DROP VIEW V_LISTE_BEHANDLUNGEN;
    DROP VIEW V_LISTE_PROBEMELKEN;
    DROP VIEW V_LISTE_LETZTES_PROBEMELKEN;
    DROP VIEW V_LISTE_ZUCHTWERTE;
    DROP VIEW V_LISTE_TERMINE;
    DROP VIEW V_LISTE_BULLEN;
    DELETE FROM T_LISTEN WHERE ID > 0;
    DELETE FROM T_EINSTELLUNGEN WHERE NAME = 'Termin-Liste';
    ALTER SEQUENCE G_LISTEN_ID RESTART WITH 0;
    DELETE FROM T_DESIGN_LISTEN_FELDER;
    DELETE FROM T_DESIGN_LISTEN_QUELLEN;
    DELETE FROM T_DB_FEHLER WHERE CONSTR STARTING WITH 'I_DESIGN_LISTEN_';
    DELETE FROM T_HIT_CODESETS
      WHERE FELD IN ('BESTGRND', 'TOD_ART', 'VERBLEIB', 'KENZ_ART', 'SYS_STAT', 'MELD_WG');
    COMMIT;
    ALTER TABLE T_DESIGN_LISTEN_FELDER DROP CONSTRAINT I_DESIGN_LISTEN_FELDER_FELD;
    ALTER TABLE T_DESIGN_LISTEN_FELDER DROP CONSTRAINT I_DESIGN_LISTEN_FELDER_TYP;
    ALTER TABLE T_DESIGN_LISTEN_FELDER DROP FELD;
    ALTER TABLE T_DESIGN_LISTEN_FELDER DROP BREITE;
    ALTER TABLE T_DESIGN_LISTEN_FELDER DROP SORTIERBAR;
    ALTER TABLE T_DESIGN_LISTEN_FELDER DROP AUSRICHTUNG;
    ALTER TABLE T_DESIGN_LISTEN_FELDER DROP SICHTBAR;
    ALTER TABLE T_DESIGN_LISTEN_FELDER DROP REIHUNG;
    ALTER TABLE T_DESIGN_LISTEN_FELDER ALTER TYP DROP DEFAULT;
    ALTER TABLE T_DESIGN_LISTEN_FELDER ALTER TYP DROP NOT NULL;
    ALTER TABLE T_DESIGN_LISTEN_QUELLEN DROP CONSTRAINT I_DESIGN_LISTEN_QUELLEN_TYP;
    ALTER TABLE T_DESIGN_LISTEN_QUELLEN DROP TIER_FELD;
    )"));
    // The texts of designs and masks had less room: a column cannot be narrowed, so it is made
    // anew at its place.
    struct Spalte {
        const char* tabelle;
        const char* name;
        int laenge;
        int position;
    };
    for (const Spalte& s :
         {Spalte{"T_LISTEN", "SQL", 4000, 11}, Spalte{"T_LISTEN", "FELDER", 1000, 13},
          Spalte{"T_LISTEN", "BEDINGUNGEN", 1000, 14}, Spalte{"T_LISTEN", "SORTIERUNG", 1000, 15},
          Spalte{"T_LISTEN", "SQL_SW", 4000, 18}, Spalte{"T_MASKEN", "QUERY", 1000, 3},
          Spalte{"T_MASKEN", "BEDINGUNGEN", 1000, 6}})
        db::ScriptRunner(db).Run(QStringLiteral("ALTER TABLE %1 ADD ALT_%2 VARCHAR(%3);\n"
                                                "UPDATE %1 SET ALT_%2 = %2;\n"
                                                "COMMIT;\n"
                                                "ALTER TABLE %1 DROP %2;\n"
                                                "ALTER TABLE %1 ALTER ALT_%2 TO %2;\n"
                                                "ALTER TABLE %1 ALTER %2 POSITION %4;\n")
                                     .arg(QLatin1String(s.tabelle), QLatin1String(s.name))
                                     .arg(s.laenge)
                                     .arg(s.position));
    db::ScriptRunner(db).Run(
        QStringLiteral("UPDATE T_EINSTELLUNGEN SET WERT = '28' WHERE NAME = 'Unterversion';"));
}

void SchemaVersion127(db::Database& db)
{
    SchemaVersion128(db);
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
