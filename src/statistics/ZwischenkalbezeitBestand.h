#pragma once
// The herd calving interval statistic: per year of the last ten the average gestation length and
// calving interval as prisms above or below the reference plane of 265 and 365 days.

#include "Bestandstatistik.h"

#include <Query.h>

#include <QDate>

#include <array>
#include <optional>
#include <vector>

// One calving as the herd procedure gives it.
struct TZwkzZeile {
    QDate KalbDatum;
    std::optional<int> Tragzeit;
    std::optional<int> Zwkz;
};

// One year: the accepted values, their averages (0: none) and the counts under the year.
struct TZwkzJahr {
    std::vector<int> Zwischenkalbezeiten;
    std::vector<int> Tragzeiten;
    int ZwkzMittel = 0;
    int TragzeitMittel = 0;
    int Kalbungen = 0;
    int Abschluesse = 0;
    int Ignoriert = 0;
};

class TZwischenkalbezeitBestand : public TBestandstatistik {
public:
    static constexpr int Jahre = 10;
    static constexpr int MinZwkz = 325;
    static constexpr int MinTragzeit = 225;
    using TJahre = std::array<TZwkzJahr, Jahre>;

    explicit TZwischenkalbezeitBestand(db::Transaction* transaktion);

    void Zeichnen() override;
    void PositionenBerechnen() override;
    QString GetTitel() override { return QStringLiteral("Zwischenkalbezeit - Bestand"); }

    // The years from erstesJahr on: calvings counted, extreme values (interval below 325 or
    // gestation below 225 days) ignored, averages rounded half up.
    static TJahre Gruppieren(const std::vector<TZwkzZeile>& zeilen, int erstesJahr);

    // The year group (0-9) under a pixel, or -1.
    int JahrAnPosition(int x, int y) const;
    // Redraws the detail strip for a year group (-1 clears it); screen only.
    void JahrZeigen(int jahr);

    const TJahre& Gruppen() const { return jahre_; }
    int ErstesJahr() const { return erstesJahr_; }

    // Geometry of the last PositionenBerechnen.
    long double X0 = 0, Y0 = 0, D = 0, W = 0, H = 0;
    long double JahrZeileY = 0, ZeilenAbstand = 0, TragzeitLabelY = 0, ZwkzLabelY = 0;
    long double StreifenX = 0;
    static constexpr int StreifenBreite = 60;

    long double Tag() const { return H / 140; }
    long double BezugY() const { return Y0 + 5 * H / 7; }

private:
    void Hintergrund();
    void Balken(long double x, int mittel, int bezug, TColor fuellung, TExBrushStyle muster);
    void Markierung(long double x, long double y, TColor farbe);

    db::Query abfrage_;
    TJahre jahre_{};
    int erstesJahr_ = 0;
};
