#pragma once
// The landscape printout of the medicine register for a date range.

#include "BestandsbuchLogik.h"

#include <Drucken.h>

namespace db {
class Database;
}

class TDruckBestandsbuch : public TDrucken {
public:
    TDruckBestandsbuch(db::Database& datenbank, const Bestandsbuch::Zeitraum& zeitraum,
                       PrinterDevice& device = SystemPrinter(),
                       std::unique_ptr<PrintOutput> output = {});

    static inline const QString Titel = QStringLiteral("ZR Bovantis - Bestandsbuch");

    void InitDruck() override;
    void Seitenrahmen() override;
    void NeueSeite() override;
    void DruckeInhalt(QObject* sender) override;

private:
    void Eintrag(const Bestandsbuch::Eintrag& e);
    // Closes the page's table: column lines and the outer frame down to Pos.
    void SeiteAbschliessen();

    db::Database& datenbank_;
    Bestandsbuch::Zeitraum zeitraum_;
    int kopfOben_ = 0;
    int kopfUnten_ = 0;
};

// Creates the printout for the range, then prints it or shows it in the preview.
void BestandsbuchDrucken(db::Database& datenbank, bool vorschau, const QDate& von,
                         const QDate& bis);
