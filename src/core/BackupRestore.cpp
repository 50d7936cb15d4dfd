#include "BackupRestore.h"

#include "IniDatei.h"

#include <Error.h>
#include <Tools.h>
#include <Zip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

const QString KeineVerbindung = QStringLiteral("Verbindung mit der Datenbank nicht möglich");

std::unique_ptr<QTemporaryDir> PrivaterOrdner()
{
    auto ordner = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                  QStringLiteral("/bovantis-sicherung-XXXXXX"));
    if (!ordner->isValid())
        throw EBackupError(QStringLiteral("Der temporäre Ordner kann nicht angelegt werden: ") +
                               ordner->errorString(),
                           false, true);
    return ordner;
}

// The engine writes its backup where the server runs: only a server on this machine writes into
// our temporary folder.
bool LokalerServer(const QString& server)
{
    return server.isEmpty() ||
           server.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 ||
           server == QStringLiteral("127.0.0.1");
}

}  // namespace

TBackupRestore::TBackupRestore() : Erstellt(QDateTime::currentDateTime()) {}

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
    const auto ordner = PrivaterOrdner();
    const QString gbk = ordner->filePath(GbkName);
    try {
        db::Services::Backup(parameter, datenbank_, gbk, Ausgabe());
    } catch (const db::Error& e) {
        Protokoll << e.Message();
        throw EBackupError(KeineVerbindung, false, true);
    }

    Fortschritt(QStringLiteral("Zip Datei erstellen"));
    QFile::remove(archiv);
    QDir().mkpath(QFileInfo(archiv).absolutePath());
    try {
        TZip zip;
        zip.SetFilename(archiv);
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
    } catch (const ZipException& e) {
        Protokoll << QString::fromUtf8(e.what());
        QFile::remove(archiv);
        throw EBackupError(QStringLiteral("Erstellung der Backup-Datei war nicht erfolgreich"),
                           false, true);
    }
    Fortschritt(QStringLiteral("Fertig"));
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

void TBackupRestore::Ruecksichern(bool mitIni)
{
    const auto ordner = PrivaterOrdner();
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

    zip.ExtractDir = ordner->path();
    zip.FileList = {gbkMitglied};
    if (mitIni)
        zip.FileList << iniMitglied;
    try {
        zip.Extract();
    } catch (const ZipException& e) {
        Protokoll << QString::fromUtf8(e.what());
        throw EBackupError(
            QStringLiteral("Das Backup ist beschädigt und kann nicht entpackt werden"), false,
            true);
    }
    const QString gbk = ordner->filePath(QFileInfo(gbkMitglied).fileName());

    const QString ini = mitIni ? ordner->filePath(QFileInfo(iniMitglied).fileName()) : QString();
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
        db::Services::Restore(ziel, gbk, datenbank_, true, Ausgabe());
    } catch (const db::Error& e) {
        Protokoll << e.Message();
        throw EBackupError(KeineVerbindung, false, true);
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
