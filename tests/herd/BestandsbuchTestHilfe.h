#pragma once

#include "HerdeTest.h"

#include <QLocale>

// The herd of HerdeTest with treatments in the medicine register, written straight into the tables.
class BestandsbuchTest : public HerdeTest {
protected:
    // A treatment of the given animals in register state `zustand` with one application a day
    // from `datum` on.
    int Behandlung(const char* zustand, std::initializer_list<int> tiere, const QDate& datum,
                   const QString& mittel = QStringLiteral("Penicillin"), int anwendungen = 2,
                   const QString& beleg = QStringLiteral("B-17"))
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query l(tr,
                    "INSERT INTO T_TIERARZTLEISTUNG (BESTANDSBUCH, ARZNEIMITTEL, BELEGNUMMER, "
                    "STANDORT, ANWENDER, WMILCH, WFLEISCH) VALUES (:Z, :M, :B, 'Stall 1', "
                    "'Dr. Weber', 5, 28) RETURNING ID");
        l.Param("Z").SetString(QLatin1String(zustand));
        l.Param("M").SetString(mittel);
        l.Param("B").SetString(beleg);
        l.Execute();
        const int id = l.Field(0).AsInteger();
        for (int tier : tiere) {
            db::Query g(tr, "INSERT INTO T_TIERARZTGRUPPE (TIER, LEISTUNG) VALUES (:T, :L)");
            g.Param("T").SetInteger(tier);
            g.Param("L").SetInteger(id);
            g.Execute();
        }
        for (int tag = 0; tag < anwendungen; ++tag) {
            db::Query a(tr,
                        "INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM, MENGE, "
                        "VERABREICHUNG) VALUES (:L, :D, :M, 'i.m.')");
            a.Param("L").SetInteger(id);
            a.Param("D").SetDate(datum.addDays(tag));
            a.Param("M").SetString(QStringLiteral("%1 ml").arg(10 + tag));
            a.Execute();
        }
        tr.Commit();
        return id;
    }

    QString Zustand(int lid)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, "SELECT BESTANDSBUCH FROM T_TIERARZTLEISTUNG WHERE ID = :ID");
        q.Param("ID").SetInteger(lid);
        q.Open();
        return q.Eof() ? QStringLiteral("-") : q.Field(0).AsString();
    }

    int Anzahl(const QString& sql) { return Ids(sql).value(0, -1); }
};
