#pragma once

#include <Services.h>
#include <Zip.h>

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

// A failure of a backup or restore with what the program has to do about it: Beenden when it
// cannot go on, Melden when a message is due before it ends.
class EBackupError : public std::runtime_error {
public:
    EBackupError(const QString& meldung, bool beenden, bool melden)
        : std::runtime_error(meldung.toStdString()), Beenden(beenden), Melden(melden)
    {
    }
    bool Beenden;
    bool Melden;
};

// Backups of the herd database as zip archives: the engine's backup "bovantis.gbk" and the
// workstation's INI file, marked by the archive comment. The intermediate backup file lives in a
// private temporary folder, never under a shared fixed name.
class TBackupRestore {
public:
    static inline const QString Kommentarkennung =
        QStringLiteral("ZR Bovantis Sicherung, Erstellt: ");
    static inline const QString GbkName = QStringLiteral("bovantis.gbk");
    static constexpr int PruefungOk = 0;
    static constexpr int PruefungKeinZip = 1;
    static constexpr int PruefungKeinKommentar = 2;

    TBackupRestore();

    // "host:path" names a server, a plain path the embedded engine of this process.
    void SetDatenbank(const QString& verbindung);
    const QString& Server() const { return server_; }
    const QString& Datenbankpfad() const { return datenbank_; }
    // The engine of this process, or a server on this machine.
    bool AufDiesemRechner() const;

    // The archive's name: Archiv, or the default in the backup folder by the creation time.
    QString Archivname();

    // Writes the archive beside its place and renames it there when complete, so an older archive
    // of the name stays until the new one has replaced it. The archive gets the database file's
    // permissions: it holds the data and the administrator password.
    void Sichern();
    // Restores the database, and with mitIni the INI file after it. Nothing is changed when a
    // member is missing or too large for its limit or the free space, the restore is cancelled,
    // the engine's restore fails, or the restored copy cannot be brought to this program's
    // database version; the INI file is replaced only after the database was restored.
    void Ruecksichern(bool mitIni);
    // 0 a backup archive (its comment returned), 1 no zip file, 2 a zip without the marker.
    static int PruefeSicherungsdatei(const QString& datei, QString& kommentar);

    // Adds the text to the protocol ("..." only shows) and passes it to OnFortschritt.
    void Fortschritt(const QString& text);

    // Removes what killed backups and restores left: their private temporary folders, and the
    // unfinished archives and restored copies in the given folders. Only what a run of this
    // program made and no running instance still holds is removed; returns the paths removed.
    static QStringList ResteEntfernen(const QStringList& ordner);
    // The largest INI member a restore accepts.
    static constexpr qint64 IniGrenze = 16 * 1024 * 1024;

    QString Archiv;
    QString AdminPasswort;
    QString Sicherungsverzeichnis;
    QDateTime Erstellt;
    QString IniDatei;
    QString IniDateiname;
    // The only folder where a restore may make a new database file.
    QString Datenverzeichnis;
    // The database update archive: a restored copy of an older version must find its steps there.
    QString UpdateArchiv;
    QStringList Protokoll;
    std::function<void(const QString&)> OnFortschritt;
    // Where a restore goes when the archive's settings name another database than this
    // workstation's: into the archive's database, into this one (the restored settings then name
    // it), or nowhere. Without an answer the restore is refused.
    enum class Ziel { Sicherung, Aktuell, Abbrechen };
    std::function<Ziel(const QString& sicherung, const QString& aktuell)> OnAndereDatenbank;
    std::function<void()> OnNachEntpacken;
    std::function<void()> OnNachRuecksicherung;

private:
    db::ServiceParams Parameter() const;
    void GroessenPruefen(const TZip& zip, const QStringList& mitglieder, const QString& ordner);
    void ZielPruefen(const QString& verbindung);
    void KopiePruefen(const QString& kopie);
    db::ServiceOutput Ausgabe();

    QString server_;
    QString datenbank_;
};
