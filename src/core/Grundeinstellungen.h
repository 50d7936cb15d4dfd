#pragma once

#include "EinstellungenInventar.h"
#include "IniDatei.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace db {
class Database;
class Transaction;
}  // namespace db

// The settings of a program: the per-workstation INI file in the data folder and the farm-wide
// table T_EINSTELLUNGEN, held in memory as a cache. Also decides where the data folder lies and
// how the INI and database files are named.
//
// Reading a missing or unreadable INI value writes its default into the file; a window that reads
// many settings at once gathers those writes into one with a TIniDatei::Stapel on IniDatei(). An
// INI file that exists but cannot be read stops the constructor: it is never taken for an empty
// one and overwritten with defaults. Farm-wide values are
// read from the cache only (Laden fills it); they are written inside the bracket Bearbeiten ...
// Speichern or Verwerfen, a transaction of its own. Laden reads in a transaction of its own too,
// so that a reload caused by another workstation never commits or loses an open bracket.
class TEinstellungen {
public:
    // What the settings need to know of the machine; tests replace single entries.
    struct Umgebung {
        QString exeName;  // full path of the running program
        bool terminalServer = false;
        QString benutzerName;
        std::function<QDate()> heute;
    };
    static Umgebung StandardUmgebung();

    // An empty data folder means the data folder of the system (created when missing). A given
    // folder is replaced by the system's data folder when that exists. Without a database only
    // the INI file is at hand (backup program, setup wizard). The database must outlive an open
    // bracket. Throws std::runtime_error when the INI file exists but cannot be read.
    TEinstellungen(db::Database* datenbank, const QString& datenverzeichnis,
                   Umgebung umgebung = StandardUmgebung());
    ~TEinstellungen();
    TEinstellungen(const TEinstellungen&) = delete;
    TEinstellungen& operator=(const TEinstellungen&) = delete;

    // Folders and files; folders end with "/".
    const QString& Programmverzeichnis() const { return programmverzeichnis_; }
    const QString& Datenverzeichnis() const { return datenverzeichnis_; }
    const QString& ExeName() const { return umgebung_.exeName; }
    bool IsTerminalServer() const { return umgebung_.terminalServer; }
    QString IniDateiname() const;
    QString IniDateipfad() const;
    QString DatenbankDateiname() const;
    // The embedded database file in the data folder: the database of a first start.
    QString StandardDatenbankName() const;
    // True when the INI file named no database when this object was made: the program's first
    // start on this workstation (the file may have been begun by another program of the suite).
    bool ErsterStart() const { return ersterStart_; }
    TIniDatei& IniDatei() const { return *iniDatei_; }
    // Makes sure the INI file exists on disk with every value set so far (they are written at
    // once).
    void IniSpeichern();

    // Generic INI access. A missing key, or a value that is no valid integer, boolean or date,
    // gets the default written and returned.
    QString IniLesenString(const QString& sektion, const QString& schluessel,
                           const QString& vorgabe) const;
    bool IniLesenBool(const QString& sektion, const QString& schluessel, bool vorgabe) const;
    int IniLesenInteger(const QString& sektion, const QString& schluessel, int vorgabe) const;
    QDate IniLesenDatum(const QString& sektion, const QString& schluessel,
                        const QDate& vorgabe) const;
    QDateTime IniLesenDatumZeit(const QString& sektion, const QString& schluessel,
                                const QDateTime& vorgabe) const;
    void IniSchreibenString(const QString& sektion, const QString& schluessel, const QString& wert);
    void IniSchreibenBool(const QString& sektion, const QString& schluessel, bool wert);
    void IniSchreibenInteger(const QString& sektion, const QString& schluessel, int wert);
    void IniSchreibenDatum(const QString& sektion, const QString& schluessel, const QDate& wert);
    void IniSchreibenDatumZeit(const QString& sektion, const QString& schluessel,
                               const QDateTime& wert);

    // Generic farm-wide access, on the cache. Booleans are "T" (exactly) or anything else; floats
    // are written with "." and read with "." or ",".
    QString WertLesenString(const QString& name, const QString& vorgabe) const;
    bool WertLesenBool(const QString& name, bool vorgabe) const;
    int WertLesenInteger(const QString& name, int vorgabe) const;
    double WertLesenFloat(const QString& name, double vorgabe) const;
    void WertSetzen(const QString& name, const QString& wert, bool trimmen);
    void WertSetzenBool(const QString& name, bool wert);
    void WertSetzenInteger(const QString& name, int wert);
    void WertSetzenFloat(const QString& name, double wert);
    // The cache: name and value of every row of T_EINSTELLUNGEN.
    const QHash<QString, QString>& Werte() const { return werte_; }

    // (Re)loads the cache, the breeds and the holdings; the handler of CHANGE_EINSTELLUNGEN.
    // Values written in an open bracket stay in the cache.
    void Laden();
    // The write bracket of the farm-wide settings. Bearbeiten on an open bracket keeps it open;
    // Verwerfen rolls back and reloads. Destroying the object rolls an open bracket back.
    void Bearbeiten();
    void Speichern();
    void Verwerfen();
    bool InBearbeitung() const;

    // Breeds as "RASSE_KURZ=BEZEICHNUNG" in ID order: all of them, and those in use.
    const QStringList& Rassen() const { return rassen_; }
    const QStringList& RassenVerwendet() const { return rassenVerwendet_; }
    // The holding numbers in number order.
    const QStringList& Betriebsgruppen() const { return betriebsgruppen_; }

    // The stored lists for the main window's menu and its symbol bar, one line
    // "ID;SYMBOL;BEZEICHNUNG" each (the symbol empty when there is none).
    void BenutzerListenLaden(QStringList& menueListe, QStringList& symbolListe);
    // The stored lists that can be the appointment list shown at start; returns their names.
    QStringList TerminListenLaden();
    const QList<int>& TerminListenIDs() const { return terminListenIDs_; }
    const QStringList& TerminListenNamen() const { return terminListenNamen_; }
    // The position of Termin-Liste among them: 0 when it is not found, -1 when there is no list.
    int TerminListeIndex() const;
    void SetTerminListeIndex(int position);

    // The plain accessors of the inventory.
#define BOVANTIS_INI_ZUGRIFF(Art, Name, Sektion, Schluessel, Vorgabe) \
    EinstellungsArt::Art Get##Name() const;                           \
    void Set##Name(const EinstellungsArt::Art& wert);
    BOVANTIS_INI_EINSTELLUNGEN(BOVANTIS_INI_ZUGRIFF)
#undef BOVANTIS_INI_ZUGRIFF
#define BOVANTIS_DB_ZUGRIFF(Art, Name, Schluessel, Vorgabe) \
    EinstellungsArt::Art Get##Name() const;                 \
    void Set##Name(const EinstellungsArt::Art& wert);
    BOVANTIS_DB_EINSTELLUNGEN(BOVANTIS_DB_ZUGRIFF)
#undef BOVANTIS_DB_ZUGRIFF

    // INI settings with rules of their own.
    int GetAktBetriebListen() const;
    // Calls OnAktBetriebListenChange after writing.
    void SetAktBetriebListen(int wert);
    int GetListenmuster() const;  // 0..14
    void SetListenmuster(int wert);
    QString GetSicherungVerzeichnis() const;
    void SetSicherungVerzeichnis(const QString& wert);  // trimmed
    QString GetDatenbankAdminPasswort() const;
    // The embedded database file in the data folder unless set; "host:path" names a server.
    QString GetDatenbankName() const;
    void SetDatenbankName(const QString& wert);
    QString GetAutoSicherungVerzeichnis() const;
    void SetAutoSicherungVerzeichnis(const QString& wert);
    QDate GetBestandslisteParameterAm() const;
    void SetBestandslisteParameterAm(const QDate& wert);
    int GetUpdateIntervall() const;  // 0 never, 1 every 30 days, 2 every 180 days
    void SetUpdateIntervall(int wert);

    // Farm-wide settings with rules of their own.
    int GetKNRLaenge() const;  // 3 or 6
    void SetKNRLaenge(int wert);
    int GetStandardwaehrung() const;  // index 0 EUR, 1 DEM, 2 ATS
    void SetStandardwaehrung(int index);
    int GetZeitraumBerechnungen() const;  // index of "ALLE", "10", "5", "3", "2", "1" years
    void SetZeitraumBerechnungen(int index);
    // The one switch for putting reportable actions into the HIT report list automatically.
    bool GetMeldungAuto() const;
    void SetMeldungAuto(bool wert);
    QString GetEigenbesamungStationen() const;
    // Leading and trailing ";" are dropped before the list is stored.
    void SetEigenbesamungStationen(const QString& wert);

    // Own-insemination settings of a station (index into the station table) and its last
    // insemination-form number. Strings are trimmed when written.
    static QString EigenbesamungSchluessel(int station, const QString& name);
    QString GetEigenbesamungString(int station, const QString& name) const;
    void SetEigenbesamungString(int station, const QString& name, const QString& wert);
    int GetEigenbesamungInteger(int station, const QString& name) const;
    void SetEigenbesamungInteger(int station, const QString& name, int wert);
    int GetBesamungsscheinNummer(int station) const;
    void SetBesamungsscheinNummer(int station, int nummer);

    // Concentrate feed list: per kind of feed, for all premises (betrieb 0) or one premises.
    enum class Kraftfutterwert { Effektivitaet, Vorhaltung };
    static QString KraftfutterSchluessel(Kraftfutterwert wert, int art, int betrieb);
    double GetKraftfutterEffektivitaet(int art, int betrieb) const;
    void SetKraftfutterEffektivitaet(int art, int betrieb, double wert);
    double GetKraftfutterVorhaltung(int art, int betrieb) const;
    void SetKraftfutterVorhaltung(int art, int betrieb, double wert);

    // Derived values.
    // Start of the calculation period by Zeitraum-Berechnungen.
    QDate ZeitraumBeginn() const;
    // True when the update interval has passed since the last check.
    bool UpdatePruefungFaellig() const;
    // The next file of the ring of automatic backups; advances the ring.
    QString AutoSicherungDateiname();
    // True when the automatic backup is on and not yet made today; claims today's backup.
    bool AutoSicherungFaellig();
    bool AutostartAktiv() const;
    // Starts the program at login in reminder mode ("-Hinweise"), or stops that.
    void AutostartSetzen(bool an);

    std::function<void(TEinstellungen&)> OnAktBetriebListenChange;

private:
    static QString StationsCode(int station);
    QDate Heute() const;
    db::Database& Verbindung() const;
    int WertLaenge();
    QString WertLesenStringGetrimmt(const QString& name, const QString& vorgabe) const
    {
        return WertLesenString(name, vorgabe);
    }
    void WertSetzenString(const QString& name, const QString& wert)
    {
        WertSetzen(name, wert, false);
    }
    void WertSetzenStringGetrimmt(const QString& name, const QString& wert)
    {
        WertSetzen(name, wert, true);
    }

    Umgebung umgebung_;
    QString programmverzeichnis_;
    QString datenverzeichnis_;
    std::unique_ptr<TIniDatei> iniDatei_;
    bool ersterStart_ = false;
    db::Database* datenbank_;
    std::unique_ptr<db::Transaction> taEinstellungen_;
    QHash<QString, QString> werte_;
    // What the open bracket has written: it outlives a reload until Speichern or Verwerfen.
    QHash<QString, QString> ausstehend_;
    int wertLaenge_ = 0;
    QStringList rassen_;
    QStringList rassenVerwendet_;
    QStringList betriebsgruppen_;
    QList<int> terminListenIDs_;
    QStringList terminListenNamen_;
};

// The program's one settings object: created by the start sequence, freed by its end (and around a
// restore). Null while none exists.
TEinstellungen* Einstellungen();
void EinstellungenErzeugen(db::Database* datenbank, const QString& datenverzeichnis);
void EinstellungenFreigeben();
