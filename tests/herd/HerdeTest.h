#pragma once

#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <ProgDatum.h>

#include <Query.h>

#include <MessageBoxScript.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

// A fresh database with a small herd in two premises (one named with an apostrophe), the
// program's data module connected to it and its settings in a folder of the test's own.
class HerdeTest : public ::testing::Test {
protected:
    HerdeTest() { aktiv_ = this; }
    ~HerdeTest() override { aktiv_ = nullptr; }

    void SetUp() override
    {
        ASSERT_TRUE(daten.isValid());
        Ausfuehren(
            {"INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER) VALUES (11, 'Hof', "
             "'276090000000011')",
             "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (21, 'Nord', 11)",
             "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (22, "
             "'O''Brien', 11)"});
        berta = Tier("DE 01 111 11111", 7, "Berta", 21);
        lisa = Tier("DE 01 222 22222", 12, "Lisa", 22);
        anna = Tier("DE 01 333 33333", 0, "Anna", 22);
        verkauft = Tier("DE 01 444 44444", 3, "Vera", 21, QDate(2025, 6, 1));
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        DM()->Datenbank.Open(t.Params());
    }
    void TearDown() override
    {
        ProgDatum::HeuteSetzen(QDate());
        EinstellungenFreigeben();
        DMFreigeben();
    }

    void Ausfuehren(const QStringList& sqls)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        for (const QString& sql : sqls) {
            db::Query q(tr, sql);
            q.SetParamCheck(false);
            q.Execute();
        }
        tr.Commit();
    }

    // A cow born 1.1.2024 with one open premises period from birth on; knr 0 leaves it empty.
    int Tier(const QString& nummer, int knr, const QString& name, int stall,
             const QDate& verkauft = {})
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr,
                    "INSERT INTO T_STAMMDATEN (NUMMER, KNR, NAME, GEBDAT, GESCHLECHT, RASSE, "
                    "VERKAUFT) VALUES (:NUMMER, :KNR, :NAME, DATE '2024-01-01', 'W', 1, "
                    ":VERKAUFT) RETURNING ID");
        q.Param("NUMMER").SetString(nummer);
        if (knr > 0)
            q.Param("KNR").SetInteger(knr);
        else
            q.Param("KNR").SetNull();
        q.Param("NAME").SetString(name);
        q.Param("VERKAUFT").SetDate(verkauft);
        q.Execute();
        const int id = q.Field(0).AsInteger();
        db::Query s(tr,
                    "INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (:T, DATE '2024-01-01', "
                    ":STALL)");
        s.Param("T").SetInteger(id);
        s.Param("STALL").SetInteger(stall);
        s.Execute();
        tr.Commit();
        return id;
    }

    QList<int> Ids(const QString& sql)
    {
        QList<int> ids;
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql);
        for (q.Open(); !q.Eof(); q.Next())
            ids << q.Field(0).AsInteger();
        return ids;
    }

    // Runs `bedienen` on the next modal dialog of type D, which it must close; a dialog that does
    // not come fails the test.
    template <class D>
    static void Bedienen(std::function<void(D&)> bedienen)
    {
        aktiv_->fenster_.Window<D>(std::move(bedienen));
    }

    TestDatabase t;
    QTemporaryDir daten;
    ScopedEnv datenHome{"XDG_DATA_HOME", daten.path().toLocal8Bit()};
    int berta = 0, lisa = 0, anna = 0, verkauft = 0;

private:
    static inline HerdeTest* aktiv_ = nullptr;
    MessageBoxScript fenster_;
};
