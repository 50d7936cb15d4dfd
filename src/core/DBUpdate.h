#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace db {
class Database;
class Transaction;
struct ConnectParams;
}  // namespace db

// Brings the herd database to the schema this program works with, before the program's own
// connection is made: reads the version kept in T_EINSTELLUNGEN, refuses data newer than the
// program and otherwise runs the update chain from the archive "dbupd.db", as the server's
// administrator on a connection of its own.
//
// Each step is one unit: its script, its data migration and the new version are written
// together. A local database is copied beside itself before each step; the copy is put back when
// the step fails, and stays until the step is committed. A start that finds such a copy (the
// program was killed during a step) puts it back first, so a step runs again whole.
namespace DatenUpdate {

inline constexpr int Version = 1;
inline constexpr int Unterversion = 29;
inline const QString ArchivName = QStringLiteral("dbupd.db");

enum class Migration { Keine, Besamungsstation, Staelle, Tierarztgruppe, Abgangsgrund };

struct Schritt {
    int vonVersion, vonUnterversion, nachVersion, nachUnterversion, teil;
    Migration migration;
};

// The 31 steps from 1.0 to 1.28 in the order they run.
const QList<Schritt>& Kette();
// "upd-1-9-1-10-2.sql"
QString Mitgliedname(const Schritt& schritt);
// The exit reason code for an animal's exit remark: 1 to 11, 9 for anything unknown.
int Abgangsgrund(const QString& bemerkung);

// The copy of a local database before a step from the given version:
// "<database>.vor-update-1.22.gbk".
QString VorSchrittKopie(const QString& datenbank, int version, int unterversion);

// The data migrations, in the given transaction; nothing is committed here.
void MigrationBesamungsstation(db::Transaction& tr, const QString& station);
void MigrationStaelle(db::Transaction& tr);
void MigrationTierarztgruppe(db::Transaction& tr);
void MigrationAbgangsgrund(db::Transaction& tr);

}  // namespace DatenUpdate

class TDMUpdate {
public:
    // What the update needs of the program; tests replace the dialogs.
    struct Umgebung {
        QString datenbankName;
        QString adminPasswort;
        QString archiv;  // the update archive's full path
        // Connects as the administrator; shows its own messages and returns false on failure.
        std::function<bool(db::Database&, const db::ConnectParams&)> verbinden;
        // The user's insemination station for the migration; never empty.
        std::function<QString()> stationWaehlen;
        // The program is too old or incomplete: shows the text with the offer to update the
        // program; returns the downloaded installer's path or empty.
        std::function<QString(const QString& text)> updateHinweis;
        // A step failed: the message and the protocol.
        std::function<void(const QString& text, const QStringList& protokoll)> fehlerMelden;
        // While steps run: what is done, the steps done and the steps to do in all.
        std::function<void(const QString& text, int fertig, int gesamt)> fortschritt;
    };

    explicit TDMUpdate(Umgebung umgebung);

    // True when the start may go on: the database stands at 1.28, or the chain brought it there.
    bool PruefeDatenbankVersion();

    // The installer the update offer downloaded; empty when none.
    const QString& UpdateDatei() const { return updateDatei_; }
    const QStringList& Protokoll() const { return protokoll_; }

private:
    struct Lauf;
    bool Sperren(Lauf& lauf);
    bool AbgebrochenenSchrittZuruecknehmen(Lauf& lauf);
    bool UpdateSchritt(Lauf& lauf, int nummer);
    void SchrittAusfuehren(Lauf& lauf, int nummer, const QString& skript);
    bool StaelleNachholen(Lauf& lauf);
    void UpdateHinweis(const QString& text);
    void Melden(const QString& text);
    void FehlerMelden(const QString& text);
    void Fortschritt(const QString& text, const Lauf& lauf);
    db::ConnectParams Verbindung() const;

    Umgebung u_;
    QString updateDatei_;
    QStringList protokoll_;
};
