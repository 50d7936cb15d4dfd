#pragma once

#include <QString>
#include <QStringList>

#include <compare>
#include <cstdint>

// A currency amount in fixed point with four decimals, as amounts are kept in memory.
class Currency {
public:
    static constexpr std::int64_t Skala = 10000;

    constexpr Currency() = default;
    static constexpr Currency AusRoh(std::int64_t zehntausendstel)
    {
        return Currency(zehntausendstel);
    }
    static constexpr Currency AusCent(std::int64_t cent) { return Currency(cent * 100); }
    // Rounded half away from zero to four decimals.
    static Currency AusDouble(double betrag);

    constexpr std::int64_t Roh() const { return wert_; }
    double AlsDouble() const { return double(wert_) / Skala; }

    constexpr auto operator<=>(const Currency&) const = default;

private:
    constexpr explicit Currency(std::int64_t wert) : wert_(wert) {}
    std::int64_t wert_ = 0;
};

// The three currencies: index 0 "EUR", 1 "DEM", 2 "ATS".
namespace Waehrung {

constexpr int EUR = 0;
constexpr int DEM = 1;
constexpr int ATS = 2;

const QStringList& Waehrungen();

// The index of the code; 0 (EUR) for any other code.
int WaehrungIndex(const QString& code);

// Converts between the currencies and rounds to the cent, half away from zero (so credit notes
// round like the amounts they cancel).
Currency WaehrungUmrechnen(int von, int nach, Currency betrag);

}  // namespace Waehrung
