#pragma once

#include <TestDatabase.h>

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
        vorlage.Db().Close();
        if (!QDir().mkpath(datenHome + QStringLiteral("/Bovantis")) ||
            !QFile::copy(vorlage.Path(), pfad))
            throw std::runtime_error("Die Datenbank des Programms kann nicht angelegt werden.");
    }
    QString pfad;
};
