#include "DatenbankAnlegen.h"

#include "DBConnect.h"

#include <Database.h>
#include <Error.h>
#include <ScriptRunner.h>
#include <SystemInfo.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace DatenbankAnlegen {

namespace {

QString SkriptLesen(const QString& pfad)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        throw db::Error(QStringLiteral("Das Skript %1 kann nicht gelesen werden.").arg(pfad));
    return QString::fromUtf8(datei.readAll());
}

void SkripteAusfuehren(db::Database& datenbank, const QDir& ordner, const QStringList& skripte,
                       const std::function<void(int, int)>& fortschritt)
{
    for (int i = 0; i < skripte.size(); ++i) {
        if (fortschritt)
            fortschritt(i, skripte.size());
        db::ScriptRunner runner(datenbank);
        try {
            runner.Run(SkriptLesen(ordner.filePath(skripte[i])));
        } catch (const db::Error& e) {
            throw db::Error(QStringLiteral("Die Datenbank konnte nicht angelegt werden.\r"
                                           "Fehler im Skript %1:\r%2")
                                .arg(skripte[i], e.Message()),
                            e.SqlCode(), e.EngineCode(), e.Constraint());
        }
    }
    if (fortschritt)
        fortschritt(skripte.size(), skripte.size());
}

}  // namespace

QString Skriptordner()
{
    return platform::programFolder() + QStringLiteral("/sql/create");
}

bool IstLokal(const QString& datenbankname)
{
    return datenbankname.startsWith(QLatin1Char('/')) || !datenbankname.contains(QLatin1Char(':'));
}

bool FehlendeAnlegen(const QString& datenbankname, const QString& skriptordner,
                     const std::function<void(int, int)>& fortschritt)
{
    if (datenbankname.isEmpty() || !IstLokal(datenbankname) || QFileInfo::exists(datenbankname))
        return false;

    const QDir ordner(skriptordner);
    const QStringList skripte =
        ordner.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
    if (skripte.isEmpty())
        throw db::Error(QStringLiteral("Die Skripte zum Anlegen der Datenbank fehlen im Ordner\r%1")
                            .arg(QDir::toNativeSeparators(skriptordner)));

    const QFileInfo ziel(datenbankname);
    if (!QDir().mkpath(ziel.absolutePath()))
        throw db::Error(
            QStringLiteral("Der Ordner %1 für die Datenbank kann nicht angelegt werden.")
                .arg(ziel.absolutePath()));
    // Left over from a start that broke off while creating.
    const QString neu = datenbankname + QStringLiteral(".neu");
    QFile::remove(neu);

    try {
        db::Database datenbank;
        // The embedded engine makes the connecting user the owner of the new database.
        datenbank.Create({neu, DBConnect::Benutzer, DBConnect::Passwort, {}});
        SkripteAusfuehren(datenbank, ordner, skripte, fortschritt);
        datenbank.Close();
    } catch (...) {
        QFile::remove(neu);
        throw;
    }
    // Another program of this installation may have been quicker; its database stays.
    if (!QFile::rename(neu, datenbankname)) {
        QFile::remove(neu);
        return false;
    }
    return true;
}

}  // namespace DatenbankAnlegen
