#pragma once

#include "HerdeTest.h"

#include <Bildschirmfoto.h>

#include <Query.h>
#include <Transaction.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTest>
#include <QWidget>

// The herd fixture with bulls, semen portions and their uses, and small helpers for working
// the bull and container windows as a user.
class BullenTest : public HerdeTest {
protected:
    int Bulle(const QString& name, const QString& hbnr, bool sichtbar = true)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr,
                    "INSERT INTO T_BULLEN_STAMM (NAME, HBNR, RASSE, SICHTBAR, "
                    "PRUEFBULLE_BIS) VALUES (:NAME, :HBNR, 1, :S, DATE '1900-01-01') "
                    "RETURNING ID");
        q.Param("NAME").SetString(name);
        q.Param("HBNR").SetString(hbnr);
        q.Param("S").SetString(sichtbar ? "T" : "F");
        q.Execute();
        const int id = q.Field(0).AsInteger();
        tr.Commit();
        return id;
    }

    int Eintragen(const QString& sql)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql + " RETURNING ID");
        q.SetParamCheck(false);
        q.Execute();
        const int id = q.Field(0).AsInteger();
        tr.Commit();
        return id;
    }

    // The first column of the first row as text; "<keine>" without a row, "<null>" for NULL.
    QString Wert(const QString& sql)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        if (q.Eof())
            return "<keine>";
        return q.Field(0).IsNull() ? QString("<null>") : q.Field(0).AsString().trimmed();
    }

    static void Tippen(QWidget* edit, const QString& text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
    }

    // Saves the window's picture with the screenshots and checks that it holds something.
    static void Bild(QWidget& w, const QString& name)
    {
        Bildschirmfoto(w, name);
        EXPECT_GT(QImage(Bildschirmfotoordner() + "/" + name).width(), 300);
    }
};
