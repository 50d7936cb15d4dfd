#pragma once
// The charts of one animal: the card's pages, the thumbnails and their printouts share one
// drawing, told apart by the output mode.

#include "Statistik.h"

#include <cstdint>
#include <memory>

class TTierStatistik : public TStatistik {
public:
    enum : std::uint8_t { Bildschirm = 0, Miniatur = 1, Druckmodus = 2 };

    explicit TTierStatistik(db::Transaction* transaktion);

    int TierID = 0;
    // The animal's caption in thumbnails and printouts; empty: none.
    QString Untertitel;
    std::uint8_t Modus = Bildschirm;
    // Screen pixels per inch / 96; screen layouts scale their fixed distances by it.
    double Faktor = 1.0;

    // The caller's painter outlives each drawing; set a fresh canvas for every paint.
    void AlsBildschirm(std::shared_ptr<IMyCanvas> canvas);
    void AlsMiniatur(std::shared_ptr<IMyCanvas> canvas);
    // Named apart from TStatistik::AlsDruck, the flag it sets.
    void AlsDruckEinrichten(bool farbig);

    // Draws again only for another animal.
    void SetTier(int id);

protected:
    // Nothing on screen or for an empty text.
    void UntertitelZeichnen(const QString& s);
    // Trunc(wert × Faktor).
    int F(double wert) const { return int(wert * Faktor); }
};

// The chart constructors of the three modes; G takes the transaction in its constructor.
template <class G>
std::unique_ptr<G> TierGrafikBildschirm(std::shared_ptr<IMyCanvas> canvas, db::Transaction* tr)
{
    auto g = std::make_unique<G>(tr);
    g->AlsBildschirm(std::move(canvas));
    return g;
}

template <class G>
std::unique_ptr<G> TierGrafikMiniatur(std::shared_ptr<IMyCanvas> canvas, db::Transaction* tr,
                                      const QString& untertitel)
{
    auto g = std::make_unique<G>(tr);
    g->AlsMiniatur(std::move(canvas));
    g->Untertitel = untertitel;
    return g;
}

template <class G>
std::unique_ptr<G> TierGrafikDruck(db::Transaction* tr, const QString& untertitel, bool farbig)
{
    auto g = std::make_unique<G>(tr);
    g->AlsDruckEinrichten(farbig);
    g->Untertitel = untertitel;
    return g;
}
