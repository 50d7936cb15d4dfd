#pragma once
// All milk-recording test days of one animal with their values and running lactation totals on
// landscape pages, the calvings as separating lines.

#include <Drucken.h>

#include <Query.h>
#include <Transaction.h>

namespace db {
class Database;
}

class TDruckMLPDatenTier : public TDrucken {
public:
    explicit TDruckMLPDatenTier(db::Database& datenbank, PrinterDevice& device = SystemPrinter(),
                                std::unique_ptr<PrintOutput> output = {});

    static inline const QString Titel = QStringLiteral("ZR Bovantis - MLP-Daten-Tier");

    int TierID = 0;

    void InitDruck() override;
    void Seitenrahmen() override;
    void NeueSeite() override;
    void DruckeInhalt(QObject* sender) override;

    // Urea as printed: with the farm setting "Harnstoff-Anzeige" 1 in mg/dl (a tenth of the
    // stored value, one decimal), otherwise as stored.
    static QString HarnstoffText(int wert, int harnstoffAnzeige);

private:
    void Zeile();

    db::Transaction transaktion_;
    db::Query tier_;
    db::Query daten_;
    int harnstoffAnzeige_ = 0;
};
