#include <DatenbankAnlegen.h>

#include <TestDatabase.h>

#include <Database.h>
#include <Error.h>
#include <Query.h>
#include <Transaction.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString Lesen(const QString& pfad, const QString& sql)
{
    db::Database d;
    d.Open(TestDatabase::Params(pfad));
    db::Transaction tr(d);
    tr.Start();
    db::Query q(tr, sql);
    q.Open();
    return q.Eof() ? QString() : q.Field(0).AsString();
}

void Schreiben(const QString& pfad, const QString& text)
{
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

TEST(DatenbankAnlegenTest, AMissingDatabaseIsMadeFromTheScriptsAndAnExistingOneIsKept)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath(QStringLiteral("daten/Bovantis.fdb"));
    QList<int> schritte;
    EXPECT_TRUE(DatenbankAnlegen::FehlendeAnlegen(pfad, TestDatabase::ScriptFolder(),
                                                  [&](int fertig, int) { schritte << fertig; }));
    ASSERT_TRUE(QFile::exists(pfad));
    EXPECT_FALSE(QFile::exists(pfad + QStringLiteral(".neu")));
    EXPECT_EQ(schritte.first(), 0);
    EXPECT_EQ(schritte.last(),
              QDir(TestDatabase::ScriptFolder()).entryList({QStringLiteral("*.sql")}).size());
    EXPECT_EQ(Lesen(pfad, QStringLiteral("SELECT WERT FROM T_EINSTELLUNGEN "
                                         "WHERE NAME = 'Unterversion'")),
              QStringLiteral("29"));

    // The farmer's data are never touched again.
    {
        db::Database d;
        d.Open(TestDatabase::Params(pfad));
        db::Transaction tr(d);
        tr.Start();
        db::Query(tr, QStringLiteral("UPDATE T_EINSTELLUNGEN SET WERT = 'eigen' "
                                     "WHERE NAME = 'Unterversion'"))
            .Execute();
        tr.Commit();
    }
    EXPECT_FALSE(DatenbankAnlegen::FehlendeAnlegen(pfad, TestDatabase::ScriptFolder()));
    EXPECT_EQ(Lesen(pfad, QStringLiteral("SELECT WERT FROM T_EINSTELLUNGEN "
                                         "WHERE NAME = 'Unterversion'")),
              QStringLiteral("eigen"));
}

TEST(DatenbankAnlegenTest, AFailureLeavesNoDatabaseBehind)
{
    QTemporaryDir dir;
    const QString skripte = dir.filePath(QStringLiteral("sql"));
    ASSERT_TRUE(QDir().mkpath(skripte));
    Schreiben(skripte + QStringLiteral("/010_gut.sql"),
              QStringLiteral("CREATE TABLE T_A (ID INTEGER NOT NULL);\n"));
    Schreiben(skripte + QStringLiteral("/020_kaputt.sql"),
              QStringLiteral("CREATE TABLE T_B (ID INTEGR);\n"));
    const QString pfad = dir.filePath(QStringLiteral("Bovantis.fdb"));
    try {
        DatenbankAnlegen::FehlendeAnlegen(pfad, skripte);
        ADD_FAILURE() << "a broken script gave a database";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral(
            "Die Datenbank konnte nicht angelegt werden.\rFehler im Skript 020_kaputt.sql:")))
            << e.Message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(pfad));
    EXPECT_FALSE(QFile::exists(pfad + QStringLiteral(".neu")));

    // Without scripts nothing is made either.
    EXPECT_THROW(DatenbankAnlegen::FehlendeAnlegen(pfad, dir.filePath(QStringLiteral("leer"))),
                 db::Error);
    EXPECT_FALSE(QFile::exists(pfad));
}

TEST(DatenbankAnlegenTest, AServersDatabaseIsLeftToTheServer)
{
    EXPECT_TRUE(DatenbankAnlegen::IstLokal(QStringLiteral("/home/bauer/Bovantis.fdb")));
    EXPECT_TRUE(DatenbankAnlegen::IstLokal(QStringLiteral("Bovantis.fdb")));
    EXPECT_FALSE(DatenbankAnlegen::IstLokal(QStringLiteral("stallpc:/srv/Bovantis.fdb")));
    EXPECT_FALSE(DatenbankAnlegen::FehlendeAnlegen(QStringLiteral("stallpc:/srv/Bovantis.fdb"),
                                                   QStringLiteral("/nirgends")));
}

}  // namespace
