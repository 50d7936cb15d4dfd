#pragma once
// All veterinary treatments of one animal on landscape pages, two lines per treatment.

#include <Drucken.h>

#include <Query.h>
#include <Transaction.h>

namespace db {
class Database;
}

class TDruckTierarztTier : public TDrucken {
public:
    explicit TDruckTierarztTier(db::Database& datenbank, PrinterDevice& device = SystemPrinter(),
                                std::unique_ptr<PrintOutput> output = {});

    static inline const QString Titel =
        QStringLiteral("ZR Bovantis - Tierärztliche-Behandlungen-Tier");

    int TierID = 0;

    void InitDruck() override;
    void Seitenrahmen() override;
    void NeueSeite() override;
    void DruckeInhalt(QObject* sender) override;

    // The register state as printed: "N" "nein", "J" "ja", "B" "gebucht", any other "storniert".
    static QString BestandsbuchText(const QString& zustand);

private:
    void Behandlung();

    db::Transaction transaktion_;
    db::Query tier_;
    db::Query daten_;
};
