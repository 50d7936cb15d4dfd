#include "DBUpdate.h"

#include "DBConnect.h"
#include "DatenbankAnlegen.h"
#include "Skript.h"

#include <Database.h>
#include <Error.h>
#include <Query.h>
#include <Services.h>
#include <Transaction.h>
#include <ZRDebug.h>
#include <Zip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <optional>

#include <unistd.h>

namespace DatenUpdate {

const QList<Schritt>& Kette()
{
    using M = Migration;
    static const QList<Schritt> kette = {
        {1, 0, 1, 1, 1, M::Keine},
        {1, 1, 1, 2, 1, M::Keine},
        {1, 2, 1, 3, 1, M::Keine},
        {1, 3, 1, 4, 1, M::Keine},
        {1, 4, 1, 5, 1, M::Keine},
        {1, 5, 1, 6, 1, M::Keine},
        {1, 6, 1, 7, 1, M::Keine},
        {1, 7, 1, 8, 1, M::Keine},
        {1, 8, 1, 9, 1, M::Keine},
        {1, 9, 1, 9, 1, M::Keine},
        {1, 9, 1, 10, 2, M::Keine},
        {1, 10, 1, 11, 1, M::Keine},
        {1, 11, 1, 12, 1, M::Besamungsstation},
        {1, 12, 1, 13, 1, M::Keine},
        {1, 13, 1, 14, 1, M::Staelle},
        {1, 14, 1, 15, 1, M::Keine},
        {1, 15, 1, 16, 1, M::Keine},
        {1, 16, 1, 17, 1, M::Keine},
        {1, 17, 1, 17, 1, M::Keine},
        {1, 17, 1, 18, 2, M::Keine},
        {1, 18, 1, 19, 1, M::Tierarztgruppe},
        {1, 19, 1, 19, 1, M::Keine},
        {1, 19, 1, 20, 2, M::Keine},
        {1, 20, 1, 21, 1, M::Keine},
        {1, 21, 1, 22, 1, M::Keine},
        {1, 22, 1, 23, 1, M::Keine},
        {1, 23, 1, 24, 1, M::Abgangsgrund},
        {1, 24, 1, 25, 1, M::Keine},
        {1, 25, 1, 26, 1, M::Keine},
        {1, 26, 1, 27, 1, M::Keine},
        {1, 27, 1, 28, 1, M::Keine},
        {1, 28, 1, 29, 1, M::Keine},
    };
    return kette;
}

QString Mitgliedname(const Schritt& s)
{
    return QStringLiteral("upd-%1-%2-%3-%4-%5.sql")
        .arg(s.vonVersion)
        .arg(s.vonUnterversion)
        .arg(s.nachVersion)
        .arg(s.nachUnterversion)
        .arg(s.teil);
}

QString VorSchrittKopie(const QString& datenbank, int version, int unterversion)
{
    return datenbank + QStringLiteral(".vor-update-%1.%2.gbk").arg(version).arg(unterversion);
}

int Abgangsgrund(const QString& bemerkung)
{
    static const QHash<QString, int> gruende = {
        {QStringLiteral("verkaufzurzucht"), 1},
        {QStringLiteral("verk.zucht,nutzung"), 1},
        {QStringLiteral("alter"), 2},
        {QStringLiteral("geringeleistung"), 3},
        {QStringLiteral("unfruchtbarkeit"), 4},
        {QStringLiteral("sonstigekrankheiten"), 5},
        {QStringLiteral("euterkrankheiten"), 6},
        {QStringLiteral("melkbarkeit"), 7},
        {QStringLiteral("klauenundgliedmaßen"), 8},
        {QStringLiteral("klauen,gliedmaßenerkrankungen"), 8},
        {QStringLiteral("klauen,gliedmaßenerkrankung"), 8},
        {QStringLiteral("stoffwechselkrankheiten"), 10},
        {QStringLiteral("stoffwechselkrankheit"), 10},
        {QStringLiteral("abgangdesbetriebes"), 11},
        {QStringLiteral("abgangbetrieb"), 11},
    };
    QString schluessel = bemerkung.trimmed().toLower();
    schluessel.remove(QLatin1Char(' '));
    return gruende.value(schluessel, 9);
}

namespace {

void Ausfuehren(db::Transaction& tr, const QString& sql)
{
    db::Query q(tr, sql);
    q.Execute();
}

}  // namespace

void MigrationBesamungsstation(db::Transaction& tr, const QString& station)
{
    for (const char* tabelle : {"T_BESAMUNGSMELDUNG", "T_CONTAINER_PORTION"}) {
        db::Query q(tr, QStringLiteral("UPDATE %1 SET STATION = :STATION WHERE STATION IS NULL")
                            .arg(QLatin1String(tabelle)));
        q.Param(QStringLiteral("STATION")).SetString(station);
        q.Execute();
    }
    db::Query q(tr, QStringLiteral("UPDATE OR INSERT INTO T_EINSTELLUNGEN (NAME, WERT) "
                                   "VALUES ('Eigenbesamung-Stationen', :WERT) MATCHING (NAME)"));
    q.Param(QStringLiteral("WERT")).SetString(station);
    q.Execute();
}

void MigrationStaelle(db::Transaction& tr)
{
    Ausfuehren(tr, QStringLiteral("UPDATE T_STAELLE S SET S.BIS = S.VON WHERE S.ID IN ( SELECT "
                                  "ST.ID FROM T_STAMMDATEN T JOIN T_STAELLE ST ON ST.TIER = T.ID "
                                  "WHERE ST.BIS IS NULL AND T.VERKAUFT IS NOT NULL)"));
    db::Query tiere(
        tr, QStringLiteral("SELECT T.ID FROM T_STAMMDATEN T JOIN T_STAELLE S ON S.TIER = T.ID "
                           "WHERE S.BIS IS NULL AND T.VERKAUFT IS NULL GROUP BY T.GEBDAT, T.ID, "
                           "T.NUMMER, T.VERKAUFT HAVING COUNT(S.ID) > 1"));
    tiere.Open();
    QList<int> ids;
    for (; !tiere.Eof(); tiere.Next())
        ids << tiere.Field(0).AsInteger();
    tiere.Close();
    db::Query offen(tr, QStringLiteral("SELECT S.ID FROM T_STAELLE S WHERE S.TIER = :TIER_ID AND "
                                       "S.BIS IS NULL ORDER BY S.VON"));
    db::Query schliessen(tr,
                         QStringLiteral("UPDATE T_STAELLE S SET S.BIS = S.VON WHERE S.ID = :ID"));
    for (int tier : ids) {
        offen.Param(QStringLiteral("TIER_ID")).SetInteger(tier);
        offen.Open();
        QList<int> zeitraeume;
        for (; !offen.Eof(); offen.Next())
            zeitraeume << offen.Field(0).AsInteger();
        offen.Close();
        // The latest open period stays open.
        zeitraeume.removeLast();
        for (int id : zeitraeume) {
            schliessen.Param(QStringLiteral("ID")).SetInteger(id);
            schliessen.Execute();
        }
    }
}

void MigrationTierarztgruppe(db::Transaction& tr)
{
    // One statement, so that every row without an ID gets a number of its own, also two rows of
    // the same animal and service, and no row that has an ID is touched.
    Ausfuehren(tr, QStringLiteral("UPDATE T_TIERARZTGRUPPE SET ID = GEN_ID(G_TIERARZTGRUPPE, 1) "
                                  "WHERE ID IS NULL OR ID = 0"));
}

void MigrationAbgangsgrund(db::Transaction& tr)
{
    db::Query q(tr, QStringLiteral("SELECT ID, VERKAUFTBEM FROM T_STAMMDATEN WHERE ABGANGSGRUND "
                                   "IS NULL AND VERKAUFT IS NOT NULL"));
    q.Open();
    QList<QPair<int, int>> zeilen;
    for (; !q.Eof(); q.Next())
        zeilen.append({q.Field(0).AsInteger(), Abgangsgrund(q.Field(1).AsString())});
    q.Close();
    db::Query u(
        tr, QStringLiteral("UPDATE T_STAMMDATEN SET ABGANGSGRUND = :ABGANGSGRUND WHERE ID = :ID"));
    for (const auto& [id, grund] : zeilen) {
        u.Param(QStringLiteral("ABGANGSGRUND")).SetInteger(grund);
        u.Param(QStringLiteral("ID")).SetInteger(id);
        u.Execute();
    }
}

}  // namespace DatenUpdate

using namespace DatenUpdate;

namespace {

QString VersionText(int version, int unterversion)
{
    return QStringLiteral("%1.%2").arg(version).arg(unterversion);
}

// A stored version that is no number is not data this program knows.
std::optional<int> Zahl(const QString& text)
{
    bool ok = false;
    const int wert = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(wert) : std::nullopt;
}

QString Text(db::Transaction& tr, const QString& sql)
{
    db::Query q(tr, sql);
    q.Open();
    return q.Eof() ? QString() : q.Field(0).AsString();
}

}  // namespace

// What one run of the chain shares between its steps.
struct TDMUpdate::Lauf {
    bool ok = true;
    int version = 0;
    int unterversion = 0;
    int fertig = 0;
    int gesamt = 0;
    std::unique_ptr<QTemporaryDir> ordner;
    TZip zip;
    // Held while a local database is changed or put back, so that no second start takes its copy.
    std::unique_ptr<QLockFile> sperre;
};

TDMUpdate::TDMUpdate(Umgebung umgebung) : u_(std::move(umgebung)) {}

db::ConnectParams TDMUpdate::Verbindung() const
{
    return {u_.datenbankName, DBConnect::Administrator, u_.adminPasswort, {}};
}

void TDMUpdate::Melden(const QString& text)
{
    protokoll_ << text;
    ZRDebug::DebugMsg(QStringLiteral("Datenupdate: ") + text);
}

void TDMUpdate::FehlerMelden(const QString& text)
{
    Melden(text);
    if (u_.fehlerMelden)
        u_.fehlerMelden(text, protokoll_);
}

bool TDMUpdate::Sperren(Lauf& lauf)
{
    if (lauf.sperre)
        return true;
    auto sperre = std::make_unique<QLockFile>(u_.datenbankName + QStringLiteral(".update.lock"));
    // Only a lock of an ended process is stale, however old it is.
    sperre->setStaleLockTime(0);
    if (!sperre->tryLock(0)) {
        FehlerMelden(
            sperre->error() == QLockFile::LockFailedError
                ? QStringLiteral("Die Datenbank\r%1\rwird gerade von einem anderen Programm "
                                 "aktualisiert.\rBitte starten Sie ZR Bovantis erneut, wenn es "
                                 "fertig ist.")
                      .arg(QDir::toNativeSeparators(u_.datenbankName))
                : QStringLiteral("Neben der Datenbank\r%1\rkann keine Sperrdatei für das "
                                 "Datenupdate angelegt werden.\rDie Datenbank wurde nicht "
                                 "verändert.")
                      .arg(QDir::toNativeSeparators(u_.datenbankName)));
        return false;
    }
    lauf.sperre = std::move(sperre);
    return true;
}

bool TDMUpdate::AbgebrochenenSchrittZuruecknehmen(Lauf& lauf)
{
    if (!DatenbankAnlegen::IstLokal(u_.datenbankName))
        return true;
    const QFileInfo datei(u_.datenbankName);
    const QDir ordner = datei.absoluteDir();
    const QString praefix = datei.fileName() + QStringLiteral(".vor-update-");
    struct Kopie {
        int version, unterversion;
        QString pfad;
    };
    QList<Kopie> kopien;
    bool teile = false;
    for (const QString& name : ordner.entryList(QDir::Files | QDir::Hidden)) {
        if (!name.startsWith(praefix))
            continue;
        if (name.endsWith(QLatin1String(".gbk.teil"))) {
            teile = true;
            continue;
        }
        if (!name.endsWith(QLatin1String(".gbk")))
            continue;
        const QStringList teil =
            name.mid(praefix.size(), name.size() - praefix.size() - 4).split(QLatin1Char('.'));
        const std::optional<int> v = teil.size() == 2 ? Zahl(teil[0]) : std::nullopt;
        const std::optional<int> u = teil.size() == 2 ? Zahl(teil[1]) : std::nullopt;
        if (v && u)
            kopien.append({*v, *u, ordner.filePath(name)});
    }
    if (kopien.isEmpty() && !teile)
        return true;
    if (!Sperren(lauf))
        return false;
    // A copy that was still being written when the program ended is of no use.
    for (const QString& name : ordner.entryList(QDir::Files | QDir::Hidden)) {
        if (name.startsWith(praefix) && name.endsWith(QLatin1String(".gbk.teil")) &&
            QFile::remove(ordner.filePath(name)))
            Melden(QStringLiteral("Unvollständige Kopie %1 entfernt").arg(name));
    }
    std::sort(kopien.begin(), kopien.end(), [](const Kopie& a, const Kopie& b) {
        return std::pair(a.version, a.unterversion) < std::pair(b.version, b.unterversion);
    });
    const db::ServiceParams dienst{QString(), DBConnect::Administrator, u_.adminPasswort};
    for (const Kopie& k : kopien) {
        const QString vorher = VersionText(k.version, k.unterversion);
        std::optional<std::pair<int, int>> gespeichert;
        try {
            db::Database d;
            d.Open(Verbindung());
            db::Transaction tr(d, QStringLiteral("Update"));
            tr.Start();
            const std::optional<int> v = Zahl(Text(
                tr, QStringLiteral("SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Version'")));
            const std::optional<int> u =
                Zahl(Text(tr, QStringLiteral(
                                  "SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Unterversion'")));
            tr.Commit();
            if (v && u)
                gespeichert = std::pair(*v, *u);
        } catch (const db::Error& e) {
            // A database that cannot be read is what the copy is there for.
            Melden(QStringLiteral("Datenbank nicht lesbar: ") + e.Message());
        }
        if (gespeichert && *gespeichert != std::pair(k.version, k.unterversion)) {
            // The step was committed before the program ended: its copy is no longer needed.
            if (*gespeichert > std::pair(k.version, k.unterversion) && QFile::remove(k.pfad))
                Melden(QStringLiteral("Kopie vor dem Schritt ab Version %1 entfernt, die Datenbank "
                                      "hat schon die Version %2")
                           .arg(vorher, VersionText(gespeichert->first, gespeichert->second)));
            continue;
        }
        Fortschritt(QStringLiteral("Ein Datenupdate wurde abgebrochen: die Datenbank wird auf den "
                                   "Stand vor dem abgebrochenen Schritt (Version %1) zurückgesetzt")
                        .arg(vorher),
                    lauf);
        try {
            db::Services::Restore(dienst, k.pfad, u_.datenbankName, true);
        } catch (const db::Error& e) {
            FehlerMelden(QStringLiteral(
                             "Ein früheres Datenupdate wurde mitten in einem Schritt abgebrochen; "
                             "die Datenbank ist nur zum Teil aktualisiert.\rSie konnte nicht auf "
                             "den Stand vor diesem Schritt (Version %1) zurückgesetzt "
                             "werden:\r%2\r\rDie Kopie vor dem Schritt bleibt in\r%3\rund wird "
                             "beim nächsten Start erneut zurückgespielt.")
                             .arg(vorher, e.Message(), QDir::toNativeSeparators(k.pfad)));
            return false;
        }
        QFile::remove(k.pfad);
        Melden(QStringLiteral("Datenbank auf den Stand vor dem abgebrochenen Schritt (Version %1) "
                              "zurückgesetzt")
                   .arg(vorher));
    }
    return true;
}

void TDMUpdate::Fortschritt(const QString& text, const Lauf& lauf)
{
    Melden(text);
    if (u_.fortschritt)
        u_.fortschritt(text, lauf.fertig, lauf.gesamt);
}

void TDMUpdate::UpdateHinweis(const QString& text)
{
    Melden(text);
    if (u_.updateHinweis)
        updateDatei_ = u_.updateHinweis(text);
}

bool TDMUpdate::PruefeDatenbankVersion()
{
    protokoll_.clear();
    Lauf lauf;
    if (!AbgebrochenenSchrittZuruecknehmen(lauf))
        return false;
    {
        db::Database d;
        if (!u_.verbinden(d, Verbindung()))
            return false;
        db::Transaction tr(d, QStringLiteral("Update"));
        tr.Start();
        const QString versionText =
            Text(tr, QStringLiteral("SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Version'"));
        const std::optional<int> version = versionText.isEmpty() ? 0 : Zahl(versionText);
        std::optional<QString> unterText;
        try {
            db::Query q(
                tr, QStringLiteral("SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Unterversion'"));
            q.Open();
            if (!q.Eof())
                unterText = q.Field(0).AsString();
        } catch (const db::Error&) {
        }
        const std::optional<int> unterversion =
            unterText && !unterText->trimmed().isEmpty() ? Zahl(*unterText) : 0;
        if (!version || !unterversion)
            throw db::Error(QStringLiteral("Die gespeicherte Datenbankversion \"%1.%2\" ist "
                                           "ungültig.")
                                .arg(versionText, unterText.value_or(QString())));
        lauf.version = *version;
        lauf.unterversion = *unterversion;

        if (lauf.version == Version && lauf.unterversion == Unterversion) {
            tr.Commit();
            return true;
        }
        if (lauf.version > Version ||
            (lauf.version == Version && lauf.unterversion > Unterversion)) {
            UpdateHinweis(
                QStringLiteral("Die Programmversion ist zu alt für die vorhandenen Daten."));
            return false;
        }
        // The step's version write needs the row; a missing one means the chain starts at 1.0.
        if (lauf.version == 1 && !unterText) {
            Ausfuehren(tr,
                       QStringLiteral(
                           "INSERT INTO T_EINSTELLUNGEN (NAME,WERT) VALUES ('Unterversion','0')"));
        }
        tr.Commit();
        d.Close();
    }

    const QString archiv = u_.archiv;
    if (!QFileInfo(archiv).isFile()) {
        UpdateHinweis(QStringLiteral("Die Datei\r\r%1\r\rexistiert nicht.\rDie Installation von "
                                     "ZR Bovantis ist korrupt.")
                          .arg(QDir::toNativeSeparators(archiv)));
        return false;
    }
    lauf.ordner = std::make_unique<QTemporaryDir>(
        QDir::tempPath() + QStringLiteral("/bovantis-update-%1-XXXXXX").arg(getpid()));
    if (!lauf.ordner->isValid())
        throw db::Error(QStringLiteral("Der temporäre Ordner für das Datenupdate kann nicht "
                                       "angelegt werden: ") +
                        lauf.ordner->errorString());
    try {
        lauf.zip.SetFilename(archiv);
    } catch (const ZipException& e) {
        UpdateHinweis(QStringLiteral("Die Datei\r\r%1\r\rist beschädigt (%2).\rDie Installation "
                                     "von ZR Bovantis ist korrupt.")
                          .arg(QDir::toNativeSeparators(archiv), QString::fromUtf8(e.what())));
        return false;
    }

    const QList<Schritt>& kette = Kette();
    for (int i = 0; i < kette.size(); ++i) {
        if (kette[i].vonVersion == lauf.version && kette[i].vonUnterversion == lauf.unterversion) {
            lauf.gesamt = int(kette.size()) - i;
            break;
        }
    }
    Melden(
        QStringLiteral("Datenbankversion %1, Ziel %2")
            .arg(VersionText(lauf.version, lauf.unterversion), VersionText(Version, Unterversion)));
    for (int i = 0; i < kette.size(); ++i) {
        const bool ausgefuehrt = UpdateSchritt(lauf, i + 1);
        // The migration of step 15 was once missing from databases that stand at 1.14.
        if (i + 1 == 15 && !ausgefuehrt && lauf.ok && lauf.version == 1 && lauf.unterversion == 14)
            lauf.ok = StaelleNachholen(lauf);
    }
    if (lauf.ok && (lauf.version != Version || lauf.unterversion != Unterversion)) {
        lauf.ok = false;
        const QString text =
            QStringLiteral(
                "Die Datenbank hat die Version %1.\rFür diese Version gibt es kein "
                "Datenupdate auf die Version %2.")
                .arg(VersionText(lauf.version, lauf.unterversion),
                     VersionText(Version, Unterversion));
        Melden(text);
        if (u_.fehlerMelden)
            u_.fehlerMelden(text, protokoll_);
    }
    if (lauf.ok)
        Fortschritt(QStringLiteral("Datenupdate abgeschlossen"), lauf);
    return lauf.ok;
}

bool TDMUpdate::UpdateSchritt(Lauf& lauf, int nummer)
{
    const Schritt& s = Kette()[nummer - 1];
    if (!lauf.ok || lauf.version != s.vonVersion || lauf.unterversion != s.vonUnterversion)
        return false;

    const QString name = Mitgliedname(s);
    QString mitglied;
    for (int i = 0; i < lauf.zip.GetCount() && mitglied.isEmpty(); ++i) {
        if (lauf.zip.GetFileInfo(i).FileName.toLower() == name)
            mitglied = lauf.zip.GetFileInfo(i).FileName;
    }
    if (mitglied.isEmpty()) {
        lauf.ok = false;
        UpdateHinweis(QStringLiteral("Fehler während des Datenupdates.\rDie Datei %1 wurde nicht "
                                     "gefunden.")
                          .arg(name));
        return true;
    }

    QString skript;
    try {
        lauf.zip.ExtractDir = lauf.ordner->path();
        lauf.zip.FileList = {mitglied};
        lauf.zip.Extract();
        const QString pfad = lauf.ordner->filePath(QFileInfo(mitglied).fileName());
        QFile datei(pfad);
        if (!datei.open(QIODevice::ReadOnly))
            throw ZipException(datei.errorString());
        skript = QString::fromUtf8(datei.readAll());
        datei.close();
        QFile::remove(pfad);
    } catch (const ZipException& e) {
        lauf.ok = false;
        const QString text = QStringLiteral(
                                 "Fehler während des Datenupdates.\rDie Datei %1 kann "
                                 "nicht gelesen werden:\r%2")
                                 .arg(name, QString::fromUtf8(e.what()));
        Melden(text);
        if (u_.fehlerMelden)
            u_.fehlerMelden(text, protokoll_);
        return true;
    }

    const QString schrittText = QStringLiteral("Schritt %1: Version %2 → %3, Teil %4 (%5)")
                                    .arg(nummer)
                                    .arg(VersionText(s.vonVersion, s.vonUnterversion),
                                         VersionText(s.nachVersion, s.nachUnterversion))
                                    .arg(s.teil)
                                    .arg(name);
    Fortschritt(schrittText, lauf);

    // Only a database file of this machine can be put back as it was.
    const bool sichern = DatenbankAnlegen::IstLokal(u_.datenbankName);
    const db::ServiceParams dienst{QString(), DBConnect::Administrator, u_.adminPasswort};
    // Beside the database, not in the temporary folder: it must outlive a killed program.
    const QString sicherung = VorSchrittKopie(u_.datenbankName, s.vonVersion, s.vonUnterversion);
    if (sichern) {
        if (!Sperren(lauf)) {
            lauf.ok = false;
            return true;
        }
        Fortschritt(QStringLiteral("Sicherung vor Schritt %1").arg(nummer), lauf);
        const QString teil = sicherung + QStringLiteral(".teil");
        try {
            QFile::remove(teil);
            db::Services::Backup(dienst, u_.datenbankName, teil);
            // Only a complete copy carries the name a later start puts back.
            QFile::remove(sicherung);
            if (!QFile::rename(teil, sicherung))
                throw db::Error(QStringLiteral("Die Kopie %1 kann nicht angelegt werden.")
                                    .arg(QDir::toNativeSeparators(sicherung)));
        } catch (const db::Error& e) {
            QFile::remove(teil);
            lauf.ok = false;
            const QString text =
                QStringLiteral(
                    "Vor dem Datenupdate (Schritt %1) konnte die Datenbank nicht "
                    "gesichert werden:\r%2\r\rDie Datenbank wurde nicht verändert.")
                    .arg(nummer)
                    .arg(e.Message());
            Melden(text);
            if (u_.fehlerMelden)
                u_.fehlerMelden(text, protokoll_);
            return true;
        }
    }

    try {
        SchrittAusfuehren(lauf, nummer, skript);
    } catch (const std::exception& e) {
        lauf.ok = false;
        const auto* skriptFehler = dynamic_cast<const ZRDBScript::ESkriptFehler*>(&e);
        const QString ursache = skriptFehler ? skriptFehler->Meldung()
                                : dynamic_cast<const db::Error*>(&e)
                                    ? static_cast<const db::Error&>(e).Message()
                                    : QString::fromUtf8(e.what());
        QString text = QStringLiteral("Das Datenupdate ist fehlgeschlagen in\r%1:\r\r%2\r\r")
                           .arg(schrittText, ursache);
        if (!sichern) {
            text += QStringLiteral(
                "Die Datenbank liegt auf einem Server und konnte vor dem "
                "Schritt nicht gesichert werden. Festgeschriebene Blöcke "
                "bleiben bestehen; der Schritt wird beim nächsten Start "
                "wiederholt.");
        } else {
            Fortschritt(
                QStringLiteral("Datenbank auf den Stand vor Schritt %1 zurücksetzen").arg(nummer),
                lauf);
            try {
                db::Services::Restore(dienst, sicherung, u_.datenbankName, true);
                QFile::remove(sicherung);
                text += QStringLiteral(
                            "Die Datenbank ist wieder auf dem Stand vor diesem Schritt "
                            "(Version %1).")
                            .arg(VersionText(s.vonVersion, s.vonUnterversion));
            } catch (const db::Error& r) {
                text += QStringLiteral(
                            "Die Datenbank konnte nicht auf den Stand vor diesem "
                            "Schritt zurückgesetzt werden:\r%1\rDie Kopie vor dem Schritt "
                            "bleibt in\r%2\rund wird beim nächsten Start zurückgespielt.")
                            .arg(r.Message(), QDir::toNativeSeparators(sicherung));
            }
        }
        Melden(text);
        if (u_.fehlerMelden)
            u_.fehlerMelden(text, protokoll_);
        return true;
    }
    // The step is committed: its copy is no longer the state to go back to.
    if (sichern)
        QFile::remove(sicherung);
    return true;
}

void TDMUpdate::SchrittAusfuehren(Lauf& lauf, int nummer, const QString& skript)
{
    const Schritt& s = Kette()[nummer - 1];
    db::Database d;
    if (!u_.verbinden(d, Verbindung()))
        throw db::Error(QStringLiteral("Keine Verbindung zur Datenbank."));
    db::Transaction tr(d, QStringLiteral("Update"));
    tr.Start();
    ZRDBScript::TSkriptDatenbank datenbank(tr);
    ZRDBScript::FuehreDBScriptAus(datenbank, skript, [&](int fertig, int gesamt) {
        if (fertig < gesamt)
            Melden(QStringLiteral("Block %1 von %2").arg(fertig + 1).arg(gesamt));
    });

    // The migration belongs to its step: it is written with the new version or not at all.
    switch (s.migration) {
        case Migration::Keine:
            break;
        case Migration::Besamungsstation: {
            Fortschritt(QStringLiteral("Datenübernahme Besamungsstation"), lauf);
            const QString station = u_.stationWaehlen ? u_.stationWaehlen() : QString();
            if (station.isEmpty())
                throw db::Error(QStringLiteral("Es wurde keine Besamungsstation gewählt."));
            MigrationBesamungsstation(tr, station);
            break;
        }
        case Migration::Staelle:
            Fortschritt(QStringLiteral("Datenübernahme Ställe"), lauf);
            MigrationStaelle(tr);
            break;
        case Migration::Tierarztgruppe:
            Fortschritt(QStringLiteral("Datenübernahme Tierarztgruppen"), lauf);
            MigrationTierarztgruppe(tr);
            break;
        case Migration::Abgangsgrund:
            Fortschritt(QStringLiteral("Datenübernahme Abgangsgründe"), lauf);
            MigrationAbgangsgrund(tr);
            break;
    }

    Ausfuehren(tr, QStringLiteral("UPDATE T_EINSTELLUNGEN\rSET WERT = '%1'\rWHERE (NAME = "
                                  "'Version');")
                       .arg(s.nachVersion));
    Ausfuehren(tr, QStringLiteral("UPDATE T_EINSTELLUNGEN\rSET WERT = '%1'\rWHERE (NAME = "
                                  "'Unterversion');")
                       .arg(s.nachUnterversion));
    tr.Commit();
    d.Close();
    lauf.version = s.nachVersion;
    lauf.unterversion = s.nachUnterversion;
    ++lauf.fertig;
    Melden(
        QStringLiteral("Version %1 gespeichert").arg(VersionText(lauf.version, lauf.unterversion)));
}

bool TDMUpdate::StaelleNachholen(Lauf& lauf)
{
    Fortschritt(QStringLiteral("Datenübernahme Ställe"), lauf);
    try {
        db::Database d;
        if (!u_.verbinden(d, Verbindung()))
            return false;
        db::Transaction tr(d, QStringLiteral("Update"));
        tr.Start();
        MigrationStaelle(tr);
        tr.Commit();
        d.Close();
        return true;
    } catch (const db::Error& e) {
        const QString text =
            QStringLiteral(
                "Die Datenübernahme der Ställe ist fehlgeschlagen:\r%1\r\rEs wurde "
                "nichts verändert.")
                .arg(e.Message());
        Melden(text);
        if (u_.fehlerMelden)
            u_.fehlerMelden(text, protokoll_);
        return false;
    }
}
