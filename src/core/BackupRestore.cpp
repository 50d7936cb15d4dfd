#include "BackupRestore.h"

#include "DBUpdate.h"
#include "IniDatei.h"

#include <Database.h>
#include <Error.h>
#include <Query.h>
#include <SystemInfo.h>
#include <Tools.h>
#include <Transaction.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

#include <unistd.h>

namespace {

const QString KeineVerbindung = QStringLiteral("Verbindung mit der Datenbank nicht möglich");
const QString OrdnerMuster = QStringLiteral("bovantis-sicherung-");
const QString SperrName = QStringLiteral(".sperre");
const QString ArchivMarke = QStringLiteral(".sichern-");
const QString ArchivEndung = QStringLiteral(".tmp");

// The private temporary folder of one run, locked for as long as it lives: a later start removes
// it only when no running instance holds the lock.
struct PrivaterOrdner {
    PrivaterOrdner()
        : ordner(QDir::tempPath() + QLatin1Char('/') + OrdnerMuster + QStringLiteral("XXXXXX"))
    {
        if (!ordner.isValid())
            throw EBackupError(QStringLiteral("Der temporäre Ordner kann nicht angelegt werden: ") +
                                   ordner.errorString(),
                               false, true);
        sperre = std::make_unique<QLockFile>(ordner.filePath(SperrName));
        sperre->setStaleLockTime(0);
        if (!sperre->tryLock(0))
            throw EBackupError(QStringLiteral("Im temporären Ordner %1 kann keine Datei angelegt "
                                              "werden.")
                                   .arg(ordner.path()),
                               false, true);
    }
    QString path() const { return ordner.path(); }
    QString filePath(const QString& name) const { return ordner.filePath(name); }

    QTemporaryDir ordner;
    std::unique_ptr<QLockFile> sperre;
};

// The engine writes its backup where the server runs: only a server on this machine (on any
// port) writes into our temporary folder.
bool LokalerServer(const QString& server)
{
    const QString host = server.section(QLatin1Char('/'), 0, 0);
    return host.isEmpty() || host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 ||
           host == QStringLiteral("127.0.0.1");
}

QString Groesse(qint64 bytes)
{
    return QLocale(QLocale::German).formattedDataSize(bytes);
}

// The archive being written beside its place, removed unless it took that place.
class NeuesArchiv {
public:
    explicit NeuesArchiv(const QString& archiv)
    {
        for (;;) {
            pfad = archiv + ArchivMarke +
                   QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16,
                                            QLatin1Char('0')) +
                   ArchivEndung;
            if (!QFileInfo::exists(pfad) && !QFileInfo::exists(pfad + SperrName))
                break;
        }
        sperre = std::make_unique<QLockFile>(pfad + SperrName);
        sperre->setStaleLockTime(0);
        if (!sperre->tryLock(0))
            throw ZipException(QStringLiteral("Unable to create \"%1\"").arg(pfad));
    }
    ~NeuesArchiv()
    {
        if (!fertig)
            QFile::remove(pfad);
    }
    NeuesArchiv(const NeuesArchiv&) = delete;
    NeuesArchiv& operator=(const NeuesArchiv&) = delete;

    void Ersetzen(const QString& archiv)
    {
        if (::rename(QFile::encodeName(pfad).constData(), QFile::encodeName(archiv).constData()) !=
            0)
            throw ZipException(QStringLiteral("Unable to rename \"%1\": %2")
                                   .arg(pfad, QString::fromLocal8Bit(std::strerror(errno))));
        fertig = true;
    }

    QString pfad;
    std::unique_ptr<QLockFile> sperre;
    bool fertig = false;
};

// Version and subversion of a herd database; empty when the file is none.
std::optional<std::pair<int, int>> DatenbankVersion(const db::ConnectParams& verbindung)
{
    try {
        db::Database d;
        d.Open(verbindung);
        db::Transaction tr(d);
        tr.Start();
        db::Query q(tr, QStringLiteral("SELECT TRIM(NAME), TRIM(WERT) FROM T_EINSTELLUNGEN WHERE "
                                       "NAME IN ('Version', 'Unterversion')"));
        std::optional<int> version;
        int unterversion = 0;
        for (q.Open(); !q.Eof(); q.Next()) {
            bool ok = false;
            const int wert = q.Field(1).AsString().toInt(&ok);
            if (!ok)
                return std::nullopt;
            if (q.Field(0).AsString() == QStringLiteral("Version"))
                version = wert;
            else
                unterversion = wert;
        }
        tr.Commit();
        if (!version)
            return std::nullopt;
        return std::make_pair(*version, unterversion);
    } catch (const db::Error&) {
        return std::nullopt;
    }
}

// Removes the entries of the folder whose lock (entry + SperrName, or inside a folder) no running
// instance holds.
QStringList GesperrteEntfernen(const QString& ordner, const QString& muster, bool verzeichnisse)
{
    QStringList entfernt;
    const QDir dir(ordner);
    const auto filter =
        (verzeichnisse ? QDir::Dirs : QDir::Files) | QDir::Hidden | QDir::NoDotAndDotDot;
    for (const QFileInfo& info : dir.entryInfoList({muster}, filter)) {
        // Another user's run is that user's to clear away.
        if (info.ownerId() != ::getuid() || info.isSymLink())
            continue;
        const QString sperrPfad = verzeichnisse ? info.filePath() + QLatin1Char('/') + SperrName
                                                : info.filePath() + SperrName;
        if (!QFileInfo::exists(sperrPfad))
            continue;
        QLockFile sperre(sperrPfad);
        sperre.setStaleLockTime(0);
        if (!sperre.tryLock(0))
            continue;
        // A folder's lock goes with the folder.
        if (verzeichnisse)
            sperre.unlock();
        const bool weg = verzeichnisse ? QDir(info.filePath()).removeRecursively()
                                       : QFile::remove(info.filePath());
        if (weg)
            entfernt << info.filePath();
    }
    return entfernt;
}

}  // namespace

TBackupRestore::TBackupRestore()
    : Erstellt(QDateTime::currentDateTime()),
      UpdateArchiv(platform::programFolder() + QLatin1Char('/') + DatenUpdate::ArchivName)
{
}

void TBackupRestore::SetDatenbank(const QString& verbindung)
{
    const int doppelpunkt = verbindung.indexOf(QLatin1Char(':'));
    if (doppelpunkt < 0) {
        server_.clear();
        datenbank_ = verbindung;
    } else {
        server_ = verbindung.left(doppelpunkt);
        datenbank_ = verbindung.mid(doppelpunkt + 1);
    }
}

bool TBackupRestore::AufDiesemRechner() const
{
    return LokalerServer(server_);
}

QString TBackupRestore::Archivname()
{
    if (Archiv.isEmpty()) {
        QString ordner = Sicherungsverzeichnis;
        if (!ordner.endsWith(QLatin1Char('/')))
            ordner += QLatin1Char('/');
        Archiv = ordner + Erstellt.toString(QStringLiteral("yyyy-MM-dd-hh-mm-ss")) +
                 QStringLiteral(".zip");
    }
    return Archiv;
}

void TBackupRestore::Fortschritt(const QString& text)
{
    if (text != QStringLiteral("..."))
        Protokoll << text;
    if (OnFortschritt)
        OnFortschritt(text);
}

db::ServiceParams TBackupRestore::Parameter() const
{
    if (!LokalerServer(server_))
        throw EBackupError(
            QStringLiteral("Eine Datensicherung ist nur für eine Datenbank auf diesem "
                           "Rechner möglich (Server \"%1\").")
                .arg(server_),
            false, true);
    return db::ServiceParams{server_, QStringLiteral("SYSDBA"), AdminPasswort};
}

db::ServiceOutput TBackupRestore::Ausgabe()
{
    Protokoll.clear();
    return [this, zeilen = 0](const QString& zeile) mutable {
        Protokoll << zeile;
        if (++zeilen % 100 == 0)
            Fortschritt(QStringLiteral("..."));
    };
}

void TBackupRestore::Sichern()
{
    const QString archiv = Archivname();
    Fortschritt(QStringLiteral("Backup ausführen  "));
    const db::ServiceParams parameter = Parameter();
    const PrivaterOrdner ordner;
    const QString gbk = ordner.filePath(GbkName);
    try {
        db::Services::Backup(parameter, datenbank_, gbk, Ausgabe());
    } catch (const db::Error& e) {
        Protokoll << e.Message();
        throw EBackupError(KeineVerbindung, false, true);
    }

    Fortschritt(QStringLiteral("Zip Datei erstellen"));
    QDir().mkpath(QFileInfo(archiv).absolutePath());
    const QFileInfo datenbank(datenbank_);
    const QFile::Permissions rechte =
        datenbank.exists() ? datenbank.permissions() : QFile::ReadOwner | QFile::WriteOwner;
    try {
        NeuesArchiv neu(archiv);
        TZip zip;
        zip.SetFilename(neu.pfad);
        if (!QFile::setPermissions(neu.pfad, rechte))
            throw ZipException(
                QStringLiteral("Unable to set the permissions of \"%1\"").arg(neu.pfad));
        zip.AddFlags = TZip::AddOhnePfad;
        zip.FileList = {gbk, IniDatei};
        zip.Add();
        Fortschritt(QStringLiteral("Temporäre Datei löschen"));
        QFile::remove(gbk);
        zip.SetZipComment(Kommentarkennung + TIniDatei::DatumZeitText(Erstellt));
        // An archive without the database is no backup.
        bool mitGbk = false;
        for (int i = 0; i < zip.GetCount(); ++i)
            mitGbk = mitGbk || zip.GetFileInfo(i).FileName == GbkName;
        if (!mitGbk)
            throw ZipException(QStringLiteral("bovantis.gbk is missing in the archive"));
        // The zip library writes through files of its own: the rights are set once more.
        if (!QFile::setPermissions(neu.pfad, rechte))
            throw ZipException(
                QStringLiteral("Unable to set the permissions of \"%1\"").arg(neu.pfad));
        neu.Ersetzen(archiv);
    } catch (const ZipException& e) {
        Protokoll << QString::fromUtf8(e.what());
        throw EBackupError(QStringLiteral("Erstellung der Backup-Datei war nicht erfolgreich"),
                           false, true);
    }
    Fortschritt(QStringLiteral("Fertig"));
}

QStringList TBackupRestore::ResteEntfernen(const QStringList& ordner)
{
    QStringList entfernt =
        GesperrteEntfernen(QDir::tempPath(), OrdnerMuster + QLatin1Char('*'), true);
    QStringList gesehen;
    for (const QString& o : ordner) {
        const QString pfad = QDir::cleanPath(QFileInfo(o).absoluteFilePath());
        if (o.isEmpty() || gesehen.contains(pfad) || !QFileInfo(pfad).isDir())
            continue;
        gesehen << pfad;
        entfernt << GesperrteEntfernen(
            pfad, QLatin1Char('*') + ArchivMarke + QLatin1Char('*') + ArchivEndung, false);
        entfernt << db::Services::RemoveLeftovers(pfad);
    }
    return entfernt;
}

int TBackupRestore::PruefeSicherungsdatei(const QString& datei, QString& kommentar)
{
    kommentar.clear();
    if (!Tools::TestZipDatei(datei))
        return PruefungKeinZip;
    TZip zip;
    try {
        zip.SetFilename(datei);
    } catch (const ZipException&) {
        return PruefungKeinZip;
    }
    if (!zip.GetZipComment().startsWith(Kommentarkennung))
        return PruefungKeinKommentar;
    kommentar = zip.GetZipComment();
    return PruefungOk;
}

void TBackupRestore::GroessenPruefen(const TZip& zip, const QStringList& mitglieder,
                                     const QString& ordner)
{
    qint64 gbkGroesse = 0;
    qint64 summe = 0;
    for (int i = 0; i < zip.GetCount(); ++i) {
        const TFileInfo& info = zip.GetFileInfo(i);
        if (!mitglieder.contains(info.FileName))
            continue;
        const auto groesse = qint64(std::min<std::uint64_t>(info.UncompressedSize, INT64_MAX / 4));
        if (info.FileName != mitglieder.first() && groesse > IniGrenze)
            throw EBackupError(QStringLiteral("Die Rechner-Einstellungen \"%1\" in der Sicherung "
                                              "sind zu groß (%2, erlaubt sind höchstens %3); "
                                              "die Sicherung ist beschädigt.")
                                   .arg(info.FileName, Groesse(groesse), Groesse(IniGrenze)),
                               false, true);
        if (info.FileName == mitglieder.first())
            gbkGroesse = groesse;
        summe += groesse;
    }
    // The restored database takes at least the room of its backup.
    const auto platzPruefen = [](const QString& pfad, qint64 bedarf) {
        QStorageInfo platz(pfad);
        platz.refresh();
        if (platz.isValid() && platz.bytesAvailable() < bedarf)
            throw EBackupError(QStringLiteral("Auf %1 ist nicht genügend freier Speicherplatz für "
                                              "die Rücksicherung: gebraucht werden %2, frei "
                                              "sind %3.")
                                   .arg(QDir::toNativeSeparators(platz.rootPath()), Groesse(bedarf),
                                        Groesse(platz.bytesAvailable())),
                               false, true);
    };
    platzPruefen(ordner, summe);
    const QString datenbankOrdner = QFileInfo(datenbank_).absolutePath();
    if (QFileInfo(datenbankOrdner).isDir() &&
        QStorageInfo(datenbankOrdner).rootPath() != QStorageInfo(ordner).rootPath())
        platzPruefen(datenbankOrdner, gbkGroesse);
    else if (QFileInfo(datenbankOrdner).isDir())
        platzPruefen(ordner, summe + gbkGroesse);
}

void TBackupRestore::ZielPruefen(const QString& verbindung)
{
    TBackupRestore ziel;
    ziel.SetDatenbank(verbindung);
    const QString pfad = ziel.Datenbankpfad();
    if (!QDir::isAbsolutePath(pfad))
        throw EBackupError(QStringLiteral("Die Rechner-Einstellungen der Sicherung nennen die "
                                          "Datenbank \"%1\" ohne vollständigen Pfad; in sie wird "
                                          "nicht rückgesichert.")
                               .arg(verbindung),
                           false, true);
    const QFileInfo info(pfad);
    if (info.exists() || info.isSymLink()) {
        const QString name =
            ziel.Server().isEmpty() ? pfad : ziel.Server() + QLatin1Char(':') + pfad;
        if (!info.isFile() ||
            !DatenbankVersion({name, QStringLiteral("SYSDBA"), AdminPasswort, {}}))
            throw EBackupError(QStringLiteral("Die Datei \"%1\", die die Rechner-Einstellungen "
                                              "der Sicherung nennen, ist keine Datenbank von ZR "
                                              "Bovantis; sie wird nicht überschrieben.")
                                   .arg(pfad),
                               false, true);
        return;
    }
    const QString daten = QDir::cleanPath(Datenverzeichnis);
    if (Datenverzeichnis.isEmpty() || QDir::cleanPath(info.absolutePath()) != daten)
        throw EBackupError(QStringLiteral("Die Rechner-Einstellungen der Sicherung nennen die "
                                          "Datenbank \"%1\", die es nicht gibt. Eine neue "
                                          "Datenbank wird nur im Datenverzeichnis %2 angelegt.")
                               .arg(pfad, QDir::toNativeSeparators(daten)),
                           false, true);
}

void TBackupRestore::KopiePruefen(const QString& kopie)
{
    using namespace DatenUpdate;
    const auto version = DatenbankVersion({kopie, QStringLiteral("SYSDBA"), AdminPasswort, {}});
    if (!version)
        throw EBackupError(QStringLiteral("Die Sicherung enthält keine Datenbank von ZR Bovantis; "
                                          "die Datenbank bleibt unverändert."),
                           false, true);
    const QString text = QStringLiteral("%1.%2").arg(version->first).arg(version->second);
    const QString ziel = QStringLiteral("%1.%2").arg(Version).arg(Unterversion);
    Protokoll << QStringLiteral("Datenbankversion der Sicherung: ") + text;
    if (*version == std::make_pair(Version, Unterversion))
        return;
    if (*version > std::make_pair(Version, Unterversion))
        throw EBackupError(QStringLiteral("Die Sicherung stammt von einer neueren Programmversion "
                                          "(Datenbankversion %1, dieses Programm arbeitet mit "
                                          "%2). Sie kann erst nach einem Update des Programms "
                                          "rückgesichert werden; die Datenbank bleibt "
                                          "unverändert.")
                               .arg(text, ziel),
                           false, true);
    // An older copy must find every step of the update that brings it to this version.
    QStringList vorhanden;
    try {
        TZip archiv;
        if (QFileInfo(UpdateArchiv).isFile()) {
            archiv.SetFilename(UpdateArchiv);
            for (int i = 0; i < archiv.GetCount(); ++i)
                vorhanden << archiv.GetFileInfo(i).FileName.toLower();
        }
    } catch (const ZipException& e) {
        Protokoll << QString::fromUtf8(e.what());
    }
    std::pair<int, int> stand = *version;
    QString fehlt;
    for (const Schritt& schritt : Kette()) {
        if (std::make_pair(schritt.vonVersion, schritt.vonUnterversion) != stand)
            continue;
        if (!vorhanden.contains(Mitgliedname(schritt))) {
            fehlt = Mitgliedname(schritt);
            break;
        }
        stand = {schritt.nachVersion, schritt.nachUnterversion};
    }
    if (fehlt.isEmpty() && stand == std::make_pair(Version, Unterversion))
        return;
    throw EBackupError(
        QStringLiteral("Die Sicherung hat die Datenbankversion %1; für sie gibt es "
                       "kein Datenupdate auf die Version %2%3. Die Datenbank "
                       "bleibt unverändert.")
            .arg(text, ziel,
                 fehlt.isEmpty() ? QString() : QStringLiteral(" (%1 fehlt)").arg(fehlt)),
        false, true);
}

void TBackupRestore::Ruecksichern(bool mitIni)
{
    const PrivaterOrdner ordner;
    // A server elsewhere is refused before anything is extracted.
    Parameter();
    TZip zip;
    QString gbkMitglied;
    QString iniMitglied;
    try {
        zip.SetFilename(Archiv);
        for (int i = 0; i < zip.GetCount(); ++i) {
            const QString name = zip.GetFileInfo(i).FileName;
            if (name.compare(GbkName, Qt::CaseInsensitive) == 0 && gbkMitglied.isEmpty())
                gbkMitglied = name;
            if (mitIni && name.compare(IniDateiname, Qt::CaseInsensitive) == 0 &&
                iniMitglied.isEmpty())
                iniMitglied = name;
        }
    } catch (const ZipException& e) {
        Protokoll << QString::fromUtf8(e.what());
        throw EBackupError(QStringLiteral("Das Backup enthält nicht alle notwendigen Dateien"),
                           false, true);
    }
    if (gbkMitglied.isEmpty() || (mitIni && iniMitglied.isEmpty()))
        throw EBackupError(QStringLiteral("Das Backup enthält nicht alle notwendigen Dateien"),
                           false, true);

    zip.ExtractDir = ordner.path();
    zip.FileList = {gbkMitglied};
    if (mitIni)
        zip.FileList << iniMitglied;
    // Declared sizes are believed only up to their limits and the free room; Extract refuses a
    // member that holds more than it declared.
    GroessenPruefen(zip, zip.FileList, ordner.path());
    try {
        zip.Extract();
    } catch (const ZipException& e) {
        Protokoll << QString::fromUtf8(e.what());
        throw EBackupError(
            QStringLiteral("Das Backup ist beschädigt und kann nicht entpackt werden"), false,
            true);
    }
    const QString gbk = ordner.filePath(QFileInfo(gbkMitglied).fileName());

    const QString ini = mitIni ? ordner.filePath(QFileInfo(iniMitglied).fileName()) : QString();
    if (mitIni) {
        // The settings that come back decide which database the program works on next: the
        // restore goes into the database they name, or they are made to name this one.
        const QString verbindung =
            server_.isEmpty() ? datenbank_ : server_ + QLatin1Char(':') + datenbank_;
        TIniDatei gesichert(ini);
        const QString name = gesichert.Lesen(QStringLiteral("Datenbank"), QStringLiteral("Name"))
                                 .value_or(QString())
                                 .trimmed();
        if (!name.isEmpty() && name != verbindung) {
            const Ziel ziel =
                OnAndereDatenbank ? OnAndereDatenbank(name, verbindung) : Ziel::Abbrechen;
            if (ziel == Ziel::Abbrechen && !OnAndereDatenbank)
                throw EBackupError(
                    QStringLiteral("Die Rechner-Einstellungen der Sicherung nennen eine andere "
                                   "Datenbank (%1).\rRücksichern Sie ohne die "
                                   "Rechner-Einstellungen.")
                        .arg(name),
                    false, true);
            if (ziel == Ziel::Abbrechen)
                throw EBackupError(QStringLiteral("Die Rücksicherung wurde abgebrochen."), false,
                                   false);
            if (ziel == Ziel::Sicherung) {
                ZielPruefen(name);
                SetDatenbank(name);
                Protokoll << QStringLiteral("Ziel der Rücksicherung: ") + name;
            } else {
                gesichert.Schreiben(QStringLiteral("Datenbank"), QStringLiteral("Name"),
                                    verbindung);
                gesichert.Speichern();
            }
        }
    }

    // The INI file's new content waits beside it until the database is restored; only then does
    // it take the place of the old one.
    std::unique_ptr<QSaveFile> neueIni;
    if (mitIni) {
        QFile quelle(ini);
        neueIni = std::make_unique<QSaveFile>(IniDatei);
        if (!quelle.open(QIODevice::ReadOnly) || !neueIni->open(QIODevice::WriteOnly) ||
            neueIni->write(quelle.readAll()) < 0)
            throw EBackupError(QStringLiteral("Rücksicherung der Rechner-Einstellungen ist "
                                              "fehlgeschlagen"),
                               false, true);
    }
    // The target may have changed above.
    const db::ServiceParams ziel = Parameter();

    if (OnNachEntpacken)
        OnNachEntpacken();

    Fortschritt(QStringLiteral("Rücksichern ausführen  "));
    try {
        db::Services::Restore(ziel, gbk, datenbank_, true, Ausgabe(),
                              [this](const QString& kopie) { KopiePruefen(kopie); });
    } catch (const db::DamagedBackup& e) {
        Protokoll << e.Message();
        throw EBackupError(QStringLiteral("Die Datenbank in der Sicherung ist beschädigt und kann "
                                          "nicht rückgesichert werden; die Datenbank bleibt "
                                          "unverändert."),
                           false, true);
    } catch (const db::Error& e) {
        Protokoll << e.Message();
        // Our own refusals speak German; the engine's failures are those of the connection.
        throw EBackupError(e.EngineCode() == 0 ? e.Message() : KeineVerbindung, false, true);
    }
    QFile::remove(gbk);

    if (neueIni && !neueIni->commit())
        throw EBackupError(
            QStringLiteral("Rücksicherung der Rechner-Einstellungen ist fehlgeschlagen"), true,
            true);
    TIniDatei hotsync(IniDatei);
    hotsync.Schreiben(QStringLiteral("Palm"), QStringLiteral("HotsyncAction"), QStringLiteral("3"));
    hotsync.Speichern();

    if (OnNachRuecksicherung)
        OnNachRuecksicherung();
}
