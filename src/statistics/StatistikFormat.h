#pragma once
// Numbers and colours of the statistics' captions and prints. Numbers follow the German rule
// ("3,00", "12.500") whatever the process's locale, since the farm reads them so on paper too.

#include <Leinwand.h>

#include <QLocale>
#include <QString>

namespace statistik {

// Decimal comma, no thousands separator ("%.2f").
inline QString Zahl(double wert, int dezimalen)
{
    QLocale deutsch(QLocale::German, QLocale::Germany);
    deutsch.setNumberOptions(QLocale::OmitGroupSeparator);
    return deutsch.toString(wert, 'f', dezimalen);
}

// Decimal comma and a point between groups of three ("%.0n", "%.2n").
inline QString ZahlGruppiert(double wert, int dezimalen)
{
    return QLocale(QLocale::German, QLocale::Germany).toString(wert, 'f', dezimalen);
}

constexpr TColor Farbe(int r, int g, int b)
{
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

constexpr TColor Aqua = Farbe(0, 255, 255);
constexpr TColor Schwarz = Farbe(0, 0, 0);
constexpr TColor Weiss = Farbe(255, 255, 255);

// The statistics' "Arial".
inline const QString Schrift = QStringLiteral("Liberation Sans");

}  // namespace statistik
