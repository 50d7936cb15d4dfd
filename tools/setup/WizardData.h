#pragma once

#include <DataSet.h>
#include <Database.h>
#include <Transaction.h>

#include <QString>

#include <memory>

class TEinstellungen;
class TGrundeinstellungenDaten;

namespace Einrichtung {

// What the wizard knows apart from its window: the program and data folders, the database's host
// and file, its own connection with the one transaction in which breeds, holdings and premises
// are changed, and the flags for leaving. Nothing is stored before Speichern (but the data folder,
// which is made when the program folder is set); destroying the object rolls back.
class TWizardData {
public:
    // The program folder preset: where the programs lie.
    explicit TWizardData(const QString& programmverzeichnis);
    ~TWizardData();
    TWizardData(const TWizardData&) = delete;
    TWizardData& operator=(const TWizardData&) = delete;

    // Folders end with "/". The data folder is empty until the program folder is set.
    const QString& Programmverzeichnis() const { return programmverzeichnis_; }
    const QString& Datenverzeichnis() const { return datenverzeichnis_; }
    // The data folder of the suite's programs, made when missing; the INI file lies there. Throws
    // std::runtime_error when it cannot be made.
    void SetProgrammverzeichnis(const QString& ordner);
    QString IniDateipfad() const;

    const QString& DatenbankRechner() const { return rechner_; }
    const QString& DatenbankDatei() const { return datei_; }
    // A value that differs from the one held sets the changed flag.
    void SetDatenbankRechner(const QString& rechner);
    void SetDatenbankDatei(const QString& datei);
    // The name Speichern writes: the file alone for the embedded database, else "host:file".
    QString DatenbankName() const;
    // Host and file from the INI file, else the embedded database in the data folder. A changed
    // setting is kept; the defaults are set only before the first load.
    void DatenbankEinstellungLaden();

    // Connects to the database held, unless already connected to it; a new database rolls back
    // what was changed on the one before. Throws db::Error.
    void Verbinden();
    bool Verbunden() const { return datenbank_.Connected(); }
    // True when connecting to this host and file instead would discard breeds, holdings or
    // premises changed on the database connected now.
    bool WechselVerwirftAenderungen(const QString& rechner, const QString& datei) const;

    // Commits the farm data (the transaction starts again) and writes the database name into the
    // INI file; clears the changed flag. Throws on failure: db::Error, std::runtime_error.
    void Speichern();

    // Set by a different host or file and by changed farm data; cleared by Speichern.
    bool IstGeaendert() const { return geaendert_; }
    bool IstGeladen() const { return geladen_; }
    // Farm data were changed.
    void Geaendert();

    // While connected.
    db::Transaction& Transaktion();
    db::DataSet& Rassen();
    db::DataSet& Betriebsgruppen();
    db::DataSet& Betriebsstaetten();
    // Reopen the dataset and make a record current: for breeds the given ID (-1: the one current
    // before), for the others the one current before.
    void RassenAktualisieren(int id);
    void BetriebsgruppenAktualisieren();
    void BetriebsstaettenAktualisieren();
    // Takes the current breed out of use (its row stays); false when the database refused.
    bool RasseEntfernen();
    bool HatRassen();
    bool HatBetriebsgruppen();
    bool HatBetriebsstaetten();

private:
    void Trennen();
    TGrundeinstellungenDaten& Daten();
    static int AktuelleID(db::DataSet& daten);

    QString programmverzeichnis_;
    QString datenverzeichnis_;
    std::unique_ptr<TEinstellungen> einstellungen_;
    QString rechner_;
    QString datei_;
    bool geaendert_ = false;
    bool geladen_ = false;
    // Farm data changed on the connection open now.
    bool stammdatenGeaendert_ = false;

    db::Database datenbank_;
    db::Transaction taDBFehler_;
    db::DataSet qDBFehler_;
    std::unique_ptr<TGrundeinstellungenDaten> daten_;
};

}  // namespace Einrichtung
