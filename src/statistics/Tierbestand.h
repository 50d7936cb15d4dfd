#pragma once
// The herd size statistic: the animals present day by day as stacked bands per group, the
// livestock units as a line over them and, after today, the forecast in a darker shade.

#include "Bestandstatistik.h"
#include "PrognoseTierbestand.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class TPrognoseDatenbank;

// One band of a mode: its legend text, the census categories it sums and its colours.
struct TBestandBand {
    QString Text;
    std::vector<int> Kategorien;
    TColor Fuellung;
    TColor Schrift;
    TColor Prognose;
};

class TTierbestand : public TBestandstatistik {
public:
    enum TArt : int { KomplettNormal = 0, KomplettAntrag = 1, NurKuehe = 2 };
    static QString ArtName(int art);
    // The bands of a mode from the top of the stack down.
    static const std::vector<TBestandBand>& Baender(int art);

    // The census reads the herd database on the transaction.
    explicit TTierbestand(db::Transaction* transaktion);
    // The census reads the given source (tests).
    TTierbestand(db::Transaction* transaktion, std::unique_ptr<TPrognoseDatenquelle> quelle);
    ~TTierbestand() override;

    void Zeichnen() override;
    void PositionenBerechnen() override;
    QString GetTitel() override { return QStringLiteral("Tierbestand"); }

    QDate Von;
    QDate Bis;
    bool Prognose = true;
    int Art = KomplettNormal;
    // Premises for the census, 0 for all.
    int Stall = 0;

    // A Bis after today becomes today unless a forecast is wanted in mode 0 or 1.
    void SetBis(const QDate& bis);
    // Switching the forecast off also cuts a Bis after today.
    void SetPrognose(bool prognose);
    // The parameters of another herd size chart, so that this one draws the same.
    void Assign(const TTierbestand& quelle);

    // The value panel for the day column under pixel x: "Daten am" and the date, then the
    // mode's bands, the total and (modes 0 and 1) the livestock units.
    void TagesWerte(int x, QString& titel, std::vector<TBestandWert>& werte) const;
    // The centre of the day column under pixel x.
    int SpaltenMitte(int x) const;
    // The day column under pixel x; invalid left or right of the chart.
    QDate TagBei(int x) const;

    const TPrognoseTierbestand& Engine() const { return *engine_; }
    // The scale of the last drawing: its top and the step of its labels.
    int SkalaMax = 10;
    int SkalaSchritt = 10;
    long double TagesBreite = 0;
    long double TierHoehe = 0;

    // The scale for a largest daily total.
    static void Skala(int maximum, int& skalaMax, int& schritt);
    // The days between date labels for a period of `tage` days.
    static int DatumSchritt(int tage);

private:
    long double Y(long double wert) const { return Unten - wert * TierHoehe; }
    long double X(const QDate& tag) const;
    std::vector<int> BandWerte(const QDate& tag) const;
    void BloeckeZeichnen(const QDate& heute);
    void LegendeZeichnen();
    void SkalaZeichnen();
    TExBrushStyle Muster(int band) const;

    std::unique_ptr<TPrognoseDatenquelle> quelle_;
    std::unique_ptr<TPrognoseTierbestand> engine_;
    // The first day and the number of days of the last census.
    QDate erster_;
    int tage_ = 0;
};
