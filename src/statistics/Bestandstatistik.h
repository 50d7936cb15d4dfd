#pragma once
// The base of the herd statistics: screen or print output, the chart's size from the main
// window's MDI area and the drawing rectangle each statistic narrows.

#include <Statistik.h>

#include <cstdint>
#include <memory>

// A row of a statistic's value panel: caption and value in the colours of their band.
struct TBestandWert {
    QString Text;
    QString Wert;
    TColor Fuellung;
    TColor Schrift;
};

class TBestandstatistik : public TStatistik {
public:
    enum : std::uint8_t { Bildschirm = 0, Druckausgabe = 1 };
    static constexpr int MindestBreite = 630;
    static constexpr int MindestHoehe = 400;

    explicit TBestandstatistik(db::Transaction* transaktion);

    // The second step of construction, where the statistic's own PositionenBerechnen runs (a
    // constructor would reach only this class's); CreateBildschirm and CreateDruck call it.
    void Init();
    void AlsBildschirm(std::shared_ptr<IMyCanvas> canvas);
    // Named apart from TStatistik::AlsDruck, the flag it sets.
    void AlsDruckEinrichten(bool farbig);

    // On screen the chart takes the size of the main window's MDI area, at least
    // MindestBreite x MindestHoehe; in print the job's size stays. The rectangle is the chart's.
    void PositionenBerechnen() override;

    std::uint8_t Ausgabe = Bildschirm;
    int Links = 0;
    int Oben = 0;
    int Rechts = 0;
    int Unten = 0;
};

// The statistic for a window, drawing on the canvas (which may be set later, for each drawing).
template <class G>
std::unique_ptr<G> CreateBildschirm(std::shared_ptr<IMyCanvas> canvas, db::Transaction* tr)
{
    auto g = std::make_unique<G>(tr);
    g->Init();
    g->AlsBildschirm(std::move(canvas));
    return g;
}

// The statistic for TStatistik::Drucken.
template <class G>
std::unique_ptr<G> CreateDruck(db::Transaction* tr, bool farbig)
{
    auto g = std::make_unique<G>(tr);
    g->Init();
    g->AlsDruckEinrichten(farbig);
    return g;
}
