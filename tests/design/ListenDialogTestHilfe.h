#pragma once

#include <Datenmodul.h>
#include <Grundeinstellungen.h>

#include <Bildschirmfoto.h>
#include <Query.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>
#include <Transaction.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

// The program's data module and settings on a fresh database of the test's own, with the data
// folder in a temporary folder: what the list selection, the ordering and the premises filter
// run on.
class ListenDialogTest : public ::testing::Test {
protected:
    // The test's own lists over sources of its own: without the shipped lists, and without the
    // statement builder, which checks the fields against the catalogue.
    ListenDialogTest() { EigeneListen(datenbank); }
    static void EigeneListen(TestDatabase& db)
    {
        db::Transaction tr(db.Db());
        tr.Start();
        db::Query(tr, "DELETE FROM T_LISTEN").Execute();
        db::Query(tr, "ALTER TRIGGER LISTEN_BIU_SQL INACTIVE").Execute();
        tr.Commit();
    }
    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        DM()->Datenbank.Open(TestDatabase::Params(datenbank.Path()));
        DM()->DBFehlerOeffnen();
    }
    void TearDown() override
    {
        EinstellungenFreigeben();
        DMFreigeben();
    }

    void Ausfuehren(const QStringList& sql)
    {
        db::Transaction tr(datenbank.Db());
        tr.Start();
        for (const QString& s : sql)
            db::Query(tr, s).Execute();
        tr.Commit();
    }
    // The first column of the first row as committed, read in a transaction of its own.
    QString Text(const QString& sql)
    {
        db::Transaction tr(datenbank.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        return q.Eof() ? QStringLiteral("<keine Zeile>")
                       : (q.Field(0).IsNull() ? QStringLiteral("<null>")
                                              : q.Field(0).AsString().trimmed());
    }

    TestDatabase datenbank;
    QTemporaryDir ordner;
    ScopedEnv datenHome{"XDG_DATA_HOME", ordner.path().toLocal8Bit()};
};
