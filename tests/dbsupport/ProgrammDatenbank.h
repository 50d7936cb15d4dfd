#pragma once

#include <Query.h>
#include <TestDatabase.h>
#include <Transaction.h>

#include <QDir>
#include <QFile>
#include <QString>

#include <stdexcept>

// A fresh herd database where the program looks for it when nothing else is set: the file
// "Bovantis.fdb" in the data folder under the given XDG data home.
struct ProgrammDatenbank {
    explicit ProgrammDatenbank(const QString& datenHome)
        : pfad(datenHome + QStringLiteral("/Bovantis/Bovantis.fdb"))
    {
        TestDatabase vorlage;
        // The start sequence under test shows no reminder list: the reminder's own tests set one.
        {
            db::Transaction tr(vorlage.Db());
            tr.Start();
            db::Query(tr, "DELETE FROM T_EINSTELLUNGEN WHERE NAME = 'Termin-Liste'").Execute();
            tr.Commit();
        }
        vorlage.Db().Close();
        if (!QDir().mkpath(datenHome + QStringLiteral("/Bovantis")) ||
            !QFile::copy(vorlage.Path(), pfad))
            throw std::runtime_error("Die Datenbank des Programms kann nicht angelegt werden.");
    }
    QString pfad;
};
