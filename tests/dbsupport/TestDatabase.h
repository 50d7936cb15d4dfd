#pragma once

// A fresh embedded database for tests, never the user's data.
//
// The database is created in a temporary folder with the engine's private root (db/EngineRoot.h)
// and holds the schema: every script of <build dir>/bin/sql/create/ (copied there from sql/create/
// at build time, next to the programs) runs in file-name order. While that folder is missing or
// empty the database is empty. The schema is built once per test program; every further database is
// a copy of that file.
//
// Link the test with bovantis_dbtestsupport. Either keep one database for the whole suite:
//
//     class AnimalTest : public DatabaseTest {};   // one database per suite
//     TEST_F(AnimalTest, Stores) {
//         db::Transaction tr(Db());
//         tr.Start();
//         ...
//     }
//
// or make one where a test needs its own: `TestDatabase t; t.Db()` (connected), `t.Path()` for a
// second connection or another process. Connections use TestDatabase::Params(): the program's
// user BOVANTIS, who owns the test database and its objects, so tests may add tables of their own.

#include <Database.h>

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    db::Database& Db() { return db_; }
    const QString& Path() const { return path_; }
    const QString& Folder() const { return folder_; }
    db::ConnectParams Params() const { return Params(path_); }
    static db::ConnectParams Params(const QString& path);

    // The folder the schema scripts are read from.
    static QString ScriptFolder();

private:
    QTemporaryDir dir_;
    QString folder_;
    QString path_;
    db::Database db_;
};

// Puts back in a fresh database what the update step 1.28 -> 1.29 changes, as 1.28 had it (no
// list catalogue, statements or standard lists, narrower design texts), and its version 1.28.
void SchemaVersion128(db::Database& db);

// The same for the steps 1.27 -> 1.28 and 1.28 -> 1.29: a database as 1.27 left it.
void SchemaVersion127(db::Database& db);

// A test suite whose tests share one fresh database.
class DatabaseTest : public ::testing::Test {
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    static db::Database& Db() { return suiteDatabase_->Db(); }
    static TestDatabase& Suite() { return *suiteDatabase_; }

private:
    static inline std::unique_ptr<TestDatabase> suiteDatabase_;
};
