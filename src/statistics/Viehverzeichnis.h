#pragma once
// The livestock register's figures: the census categories mapped onto the twelve legal rows, the
// animals on a reference date, the average over a period and the livestock units under a key.

#include "PrognoseTierbestand.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace db {
class Transaction;
}

// One row of the register: its caption, the census categories it sums and its key column.
struct TViehverzeichnisZeile {
    const char* Text;
    std::vector<int> Kategorien;
    double TGVFaktoren::*Faktor;
};

// A livestock-unit key of T_GV_SCHLUESSEL.
struct TGVSchluessel {
    int ID = 0;
    QString Bezeichnung;
    TGVFaktoren Faktoren;
};

// The keys by name.
std::vector<TGVSchluessel> GVSchluesselLesen(db::Transaction& transaktion);

class TViehverzeichnisRechnung {
public:
    static constexpr int Zeilen = 12;
    static constexpr int Summe = Zeilen;
    // Rows 1-12 at index 0-11, the sum at index 12.
    using TSpalte = std::array<double, Zeilen + 1>;
    static const std::array<TViehverzeichnisZeile, Zeilen>& Tabelle();

    // Counts the reference date (with forecast; an invalid date leaves the column empty) and the
    // period's average animals per day (without forecast up to today at most), and, with a key,
    // each row's factor and livestock units.
    void Berechnen(TPrognoseTierbestand& engine, const QDate& am, const QDate& von,
                   const QDate& bis, bool prognose, const QDate& heute,
                   const std::optional<TGVFaktoren>& faktoren);

    TSpalte BestandAm{};
    TSpalte Durchschnitt{};
    TSpalte Faktor{};
    TSpalte GVE{};

private:
    static TSpalte Zeilenwerte(const TPrognoseTierbestand::TTagesBestand& tag);
};
