#pragma once
// How many inseminations each calving of one cow needed: seven classes, one row per calving and
// a 3D pie of the class shares.

#include "TierStatistik.h"

#include <Query.h>

#include <array>
#include <optional>

// Class 1 to 6 of an insemination count (6 and more: 6); none or 0: 7, unknown.
int BesamungsKlasse(std::optional<int> anzahl);

struct BesamungsAuswertung {
    int kalbungen = 0;
    long summe = 0;                // the counts unlimited
    int bekannt = 0;               // calvings with a known count
    std::array<int, 7> klassen{};  // calvings per class 1 to 7

    void Hinzufuegen(std::optional<int> anzahl);
    // "Besamungsindex: 1.67"; "-.--" without a known count.
    QString IndexText() const;
};

class TBesamungsindexTier : public TTierStatistik {
public:
    explicit TBesamungsindexTier(db::Transaction* transaktion);

    void Zeichnen() override;
    void PositionenBerechnen() override;
    QString GetTitel() override { return QStringLiteral("Besamungsindex"); }

    // The layout of the last PositionenBerechnen.
    int KastenX = 0, ErsteZeileY = 0, ZeilenHoehe = 0, KastenB = 0, KastenH = 0, TextX = 0;
    int Ecke = 0, TorteX = 0, TorteY = 0, RX = 0, RY = 0, Tiefe = 0;

private:
    void KategorieBrushSetzen(int klasse, bool dunkel);
    // Legend rows are 1 to 7; calving rows follow after an empty row. False when the row would
    // leave the chart rectangle and was not drawn.
    bool ZeileZeichnen(int klasse, int zeile, bool legende, int nr);
    void TorteZeichnen(const BesamungsAuswertung& a);
    db::Query abfrage_;
};
