// A database made by the administrator, as the update and a server installation make it: the
// program's user does not own its objects and works only through the grants.

#include <TestDatabase.h>

#include <Database.h>
#include <Error.h>
#include <Query.h>
#include <ScriptRunner.h>
#include <Transaction.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void SchemaAnlegen(db::Database& database)
{
    const QDir skripte(TestDatabase::ScriptFolder());
    const QStringList namen = skripte.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(namen.isEmpty());
    for (const QString& name : namen) {
        QFile datei(skripte.filePath(name));
        ASSERT_TRUE(datei.open(QIODevice::ReadOnly)) << name.toStdString();
        db::ScriptRunner(database).Run(QString::fromUtf8(datei.readAll()));
    }
}

TEST(RechteTest, TheProgramsUserWorksInADatabaseTheAdministratorOwns)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath(QStringLiteral("admin.fdb"));
    {
        db::Database admin;
        admin.Create({pfad, QStringLiteral("SYSDBA"), QStringLiteral("kuhglocke"), {}});
        SchemaAnlegen(admin);
    }
    db::Database programm;
    programm.Open(TestDatabase::Params(pfad));
    db::Transaction tr(programm);
    tr.Start();
    // Generators drawn by the client, by triggers and by procedures.
    db::Query intern(
        tr, QStringLiteral("SELECT FIRST 1 GEN_ID(G_LISTEN_ID_INTERN, -1) FROM RDB$DATABASE"));
    intern.Open();
    EXPECT_EQ(intern.Field(0).AsInteger(), -1);
    db::Query tier(tr,
                   QStringLiteral("INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) "
                                  "VALUES ('DE 0912345678', '01.03.2023', 'W', 1) "
                                  "RETURNING ID"));
    tier.Execute();
    EXPECT_GT(tier.Field(0).AsInteger(), 0);
    db::Query(tr, QStringLiteral("EXECUTE PROCEDURE P_INIT_DATEN")).Execute();
    db::Query wahl(tr, QStringLiteral("SELECT COUNT(*) FROM V_TIERWAHL_AKTUELL"));
    wahl.Open();
    EXPECT_EQ(wahl.Field(0).AsInteger(), 1);
    db::Query(tr, QStringLiteral("UPDATE T_EINSTELLUNGEN SET WERT = '27' "
                                 "WHERE NAME = 'Unterversion'"))
        .Execute();
    tr.Commit();

    // Without the grants the same user is refused: the test sees what it claims to see.
    db::Database fremd;
    fremd.Open({pfad, QStringLiteral("FREMDER"), QStringLiteral("x"), {}});
    db::Transaction tr2(fremd);
    tr2.Start();
    EXPECT_THROW(db::Query(tr2, QStringLiteral("SELECT COUNT(*) FROM T_STAMMDATEN")).Open(),
                 db::Error);
}

}  // namespace
