#pragma once

#include "HerdeTest.h"

#include <Query.h>

// The herd of HerdeTest with a semen stock: bulls, a delivery of 1.3.2025 and its portions, and
// helpers for calvings, inseminations and the own-insemination settings.
class BesamungTest : public HerdeTest {
protected:
    void SetUp() override
    {
        HerdeTest::SetUp();
        ProgDatum::HeuteSetzen(QDate(2025, 6, 15));
        hanno = Bulle("Hanno", "DE 09 111", QDate());
        ruben = Bulle("Ruben", "DE 09 222", QDate(2025, 1, 1));
        lieferung = Wert(
            "INSERT INTO T_CONTAINER_LIEFERUNG (DATUM) VALUES (DATE '2025-03-01') "
            "RETURNING ID");
    }

    int Wert(const QString& sql)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Execute();
        const int wert = q.Eof() ? 0 : q.Field(0).AsInteger();
        tr.Commit();
        return wert;
    }

    // A value read in a transaction of its own on the test's connection: only what was committed.
    QString Lesen(const QString& sql)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        return q.Eof()               ? QStringLiteral("<keine Zeile>")
               : q.Field(0).IsNull() ? QStringLiteral("<NULL>")
                                     : q.Field(0).AsString();
    }

    int Bulle(const QString& name, const QString& hbnr, const QDate& pruefbulleBis)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr,
                    "INSERT INTO T_BULLEN_STAMM (NAME, HBNR, RASSE, PRUEFBULLE_BIS) VALUES "
                    "(:NAME, :HBNR, 1, :BIS) RETURNING ID");
        q.Param("NAME").SetString(name);
        q.Param("HBNR").SetString(hbnr);
        q.Param("BIS").SetDate(pruefbulleBis);
        q.Execute();
        const int id = q.Field(0).AsInteger();
        tr.Commit();
        return id;
    }

    int Portion(int bulle, const QString& station, int anzahl, int ejakulat = 0)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr,
                    "INSERT INTO T_CONTAINER_PORTION (LIEFERUNG, BULLE, ANZAHL_GESAMT, "
                    "EJAKULAT_NR, STATION, BEHAELTER) VALUES (:L, :B, :A, :E, :S, 'Tank 1') "
                    "RETURNING ID");
        q.Param("L").SetInteger(lieferung);
        q.Param("B").SetInteger(bulle);
        q.Param("A").SetInteger(anzahl);
        if (ejakulat > 0)
            q.Param("E").SetInteger(ejakulat);
        else
            q.Param("E").SetNull();
        q.Param("S").SetString(station);
        q.Execute();
        const int id = q.Field(0).AsInteger();
        tr.Commit();
        return id;
    }

    int Kalbung(int tier, const QDate& datum)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr,
                    "INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT) VALUES (:T, :D, 'W') "
                    "RETURNING ID");
        q.Param("T").SetInteger(tier);
        q.Param("D").SetDate(datum);
        q.Execute();
        const int id = q.Field(0).AsInteger();
        tr.Commit();
        return id;
    }

    int Besamung(int tier, const QDate& datum, int nr, int schein = 0)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr,
                    "INSERT INTO T_BESAMUNGEN (TIER, DATUM, NR, STIER, BESAMUNGSSCHEIN_NR) "
                    "VALUES (:T, :D, :NR, 'Alt', :S) RETURNING ID");
        q.Param("T").SetInteger(tier);
        q.Param("D").SetDate(datum);
        q.Param("NR").SetInteger(nr);
        if (schein > 0)
            q.Param("S").SetInteger(schein);
        else
            q.Param("S").SetNull();
        q.Execute();
        const int id = q.Field(0).AsInteger();
        tr.Commit();
        return id;
    }

    // n inseminations numbered 1..n in the weeks after datum.
    void Besamungen(int tier, const QDate& datum, int n)
    {
        for (int i = 1; i <= n; ++i)
            Besamung(tier, datum.addDays(7 * i), i);
    }

    void Einstellung(const QString& name, const QString& wert)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr,
                    "UPDATE OR INSERT INTO T_EINSTELLUNGEN (NAME, WERT) VALUES (:N, :W) "
                    "MATCHING (NAME)");
        q.Param("N").SetString(name);
        q.Param("W").SetString(wert);
        q.Execute();
        tr.Commit();
        Einstellungen()->Laden();
    }

    QString Schein(const QString& station)
    {
        return Lesen("SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Besamungsschein-Nummer-" +
                     station + "'");
    }

    int hanno = 0, ruben = 0, lieferung = 0;
};
