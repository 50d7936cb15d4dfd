#pragma once
// The animal sheet: master data, premises periods, lactations with their inseminations and
// calvings, milk recording, treatments and remarks of one animal, each section framed, on
// portrait pages.

#include <Drucken.h>

#include <Query.h>
#include <Transaction.h>

namespace db {
class Database;
}

class TDruckStammdatenblatt : public TDrucken {
public:
    explicit TDruckStammdatenblatt(db::Database& datenbank, PrinterDevice& device = SystemPrinter(),
                                   std::unique_ptr<PrintOutput> output = {});

    static inline const QString Titel = QStringLiteral("ZR Bovantis - Stammdaten-Blatt");
    // The animal's data. A missing breed or status leaves its text empty: the sheet still prints
    // the animal's own values.
    static const QString TierSQL;

    // x of the right margin from the page's left edge; set by InitDruck.
    int RechterRand = 0;
    int TierID = 0;
    // y where the current framed section began.
    int AbschnittOben = 0;

    void InitDruck() override;
    void Seitenrahmen() override;
    void NeueSeite() override;
    void DruckeInhalt(QObject* sender) override;

private:
    void AbschnittBeginnen();
    // Frames the section from AbschnittOben down to Pos unless it is shorter than 16; true when
    // it drew.
    bool RahmenZeichnen();
    // Closes a section: its frame and, when one was drawn, the start of the next.
    void AbschnittSchliessen();
    // Starts a new page when n lines no longer fit; true when it did.
    bool Platz(int n);
    QString Wert(const char* feld);
    // From x to 15 before the frame's right edge, relative to the left margin.
    int BlockRechts() const;

    void Stammdaten();
    void Betriebsstaetten();
    void Status();
    void AktuelleLaktation();
    void FruehereLaktationen();
    void MLPDaten();
    void Behandlungen();
    void Bemerkungen();
    void Kopf(const QString& text, long double abstand);
    void BesamungsKoepfe(int o);
    // The inseminations of the open query at offset o; page breaks repeat fortsetzung and the
    // heads.
    void BesamungsTabelle(db::Query& q, int o, const QString& fortsetzung);
    // A COUNT statement's result line.
    void Vorhanden(const QString& sql, const QString& keine, const QString& vorhanden);

    db::Transaction transaktion_;
    db::Query tier_;
};
