#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

namespace db {
class Database;
}

// The list exchange file "Listen Austauschformat": a design with its screen columns, print
// columns and vertical print lines as XML, so that farms pass list designs on. Reading a file
// always makes a new design with a new ID and a name of its own; it never changes a stored one.
// Sources and join fields travel as catalogue IDs.
//
// A file is foreign input: its values are data only. A file that is not well-formed, lacks what
// the format requires, holds values outside their code tables or columns, or texts the database
// cannot store, is refused with a German message before anything is stored; what the database
// refuses while the design is stored (its checks of tokens and restrictions) rolls the whole
// design back. Errors are std::runtime_error.
class TListenDesignImExport {
public:
    static constexpr int BezeichnungLaenge = 50;

    explicit TListenDesignImExport(db::Database& datenbank);

    // Writes the design to the file (UTF-8), replacing it.
    void ListeExportieren(int listeId, const QString& datei);
    // Reads the file as a new design and returns its ID: a user list for an empty list type,
    // otherwise an internal list of that type.
    int ListeImportieren(const QString& datei, const QString& listenTyp);

    // The name itself when no list has it; otherwise the first free "name (k)" from k = 2 on,
    // the name shortened so that the whole fits maxLaenge characters.
    static QString EindeutigeBezeichnung(const QString& name, const QSet<QString>& vorhanden,
                                         int maxLaenge = BezeichnungLaenge);
    // The text of a file: as its declaration or byte order mark says; without either UTF-8, or
    // Windows-1252 when it is no valid UTF-8 (files of older versions).
    static QString DateiText(const QByteArray& inhalt);

private:
    db::Database& datenbank_;
};
