#include "Waehrung.h"

#include <cmath>
#include <stdexcept>

Currency Currency::AusDouble(double betrag)
{
    return Currency(std::llround(betrag * double(Skala)));
}

namespace Waehrung {

namespace {

// The value of one euro in each currency (the fixed conversion rates).
constexpr long double kurs[] = {1.0L, 1.95583L, 13.7603L};

}  // namespace

const QStringList& Waehrungen()
{
    static const QStringList codes{QStringLiteral("EUR"), QStringLiteral("DEM"),
                                   QStringLiteral("ATS")};
    return codes;
}

int WaehrungIndex(const QString& code)
{
    const int i = int(Waehrungen().indexOf(code));
    return i < 0 ? EUR : i;
}

Currency WaehrungUmrechnen(int von, int nach, Currency betrag)
{
    if (von < EUR || von > ATS || nach < EUR || nach > ATS)
        throw std::out_of_range("Waehrung: unbekannter Währungsindex");
    const long double faktor = kurs[nach] / kurs[von];
    // Hundredths of the target currency; the tiny allowance keeps exact halves that binary
    // fractions store a hair below .5 from rounding down.
    const long double cent = faktor * (long double)betrag.Roh() / 100.0L;
    const long double gerundet = std::floor(std::fabs(cent) + 0.5L + 1e-9L);
    const auto hundertstel = static_cast<std::int64_t>(gerundet);
    return Currency::AusCent(cent < 0 ? -hundertstel : hundertstel);
}

}  // namespace Waehrung
