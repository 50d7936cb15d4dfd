#pragma once

#include "AdisDatei.h"
#include "AdisProtokoll.h"
#include "RdvDatei.h"

#include <Transaction.h>

#include <QString>

#include <array>
#include <functional>
#include <utility>

namespace db {
class Database;
}

// Imports a file of a milk-recording or breeding organisation: a plain ADIS file, or a zip
// archive of ADIS and RDV files. The rules per kind of row are the passes; this module reads the
// files, runs the passes in their order with progress and periodic commits, merges the results of
// an archive's files, runs the post-processing and prepares the import log.
class TADISADEDImport {
public:
    // Result codes of Importieren.
    static constexpr int Importiert = 0;
    static constexpr int DateiFehlt = -1;
    static constexpr int NichtLesbar = -2;
    static constexpr int Abgebrochen = -3;
    static constexpr int KeineDaten = -10;
    static constexpr int LeeresArchiv = -100;

    // The rule for one row: returns true when the row reached its save step.
    using AdisZeile = std::function<bool(TADISADEDImport&, int abschnitt, int zeile)>;
    using RdvSatz = std::function<bool(TADISADEDImport&, const TRDVEintrag&)>;

    struct AdisPass {
        QString titel;
        int entity;
        AdisZeile zeile;
    };
    struct RdvPass {
        QString titel;
        QString satzart;
        RdvSatz satz;
    };

    // The master-data passes (animals, herd membership, inseminations, calvings, bulls), the
    // milk-recording passes (test days, lactations, herd results, breeding values) and the RDV
    // record kinds, in the order they run. Their rules are set before the first import; a pass
    // without its rule stops the import of the file with an error.
    std::array<AdisPass, 5> StammdatenPaesse;
    std::array<AdisPass, 4> MlpPaesse;
    std::array<RdvPass, 5> RdvPaesse;

    // Loads the item catalogue (T_ADIS_ITEMS).
    explicit TADISADEDImport(db::Database& db);
    ~TADISADEDImport();
    TADISADEDImport(const TADISADEDImport&) = delete;
    TADISADEDImport& operator=(const TADISADEDImport&) = delete;

    int Importieren(const QString& datei);
    void Zuruecksetzen();

    bool ImportStammdaten = true;
    bool NeueTiere = true;
    bool NeueBesamungen = true;
    bool NeueKalbungen = true;
    bool NeueBullen = true;
    bool ImportMLP = true;
    bool NeuePM = true;

    bool NachbearbeitungNoetig = false;
    int Zeilen = 0;
    int Bereiche = 0;
    TADISProtokoll ImportProtokoll;

    // (file number from 1, files), (section title, rows or -1, step the section bar), (row).
    std::function<void(int, int)> OnDatei;
    std::function<void(const QString&, int, bool)> OnBereich;
    std::function<void(int)> OnPosition;

    db::Transaction& Transaktion() { return tr_; }
    const AdisDatei& Abschnitte() const { return adis_; }
    const TRDVDatei& RDVSaetze() const { return rdv_; }

private:
    enum class Art { Adis, KeinAdis, Fehlerhaft };

    void Datei(int nr, int anzahl);
    void Bereich(const QString& titel, int zeilen, bool schritt);
    void Position(int n);
    std::pair<Art, int> AdisDateiImportieren(const QString& pfad, const QString& name);
    int ArchivImportieren(const QString& datei);
    int RdvImportieren(int art);
    void AdisPassLaufen(const AdisPass& pass);
    void RdvPassLaufen(const RdvPass& pass);
    void Aktiv();

    db::Transaction tr_;
    AdisDatei adis_;
    TRDVDatei rdv_;
};
