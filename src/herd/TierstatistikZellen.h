#pragma once
// The thumbnails of the window "Tierstatistik": one picture per animal and chart kind, laid out
// row by row as far as the screen is wide.

#include <QImage>

#include <cstdint>
#include <memory>
#include <vector>

// Chart kinds of the thumbnails.
enum TTierstatistikArt : std::uint8_t {
    artLaktation = 0,
    artBesamungsindex = 1,
    artZwischenkalbezeit = 2
};

struct TTierstatistikItem {
    int TierID = 0;
    QImage Bitmap;
    std::uint8_t Art = artLaktation;
};

struct TTierstatistikRaster {
    int spalten = 1;
    int zeilen = 1;
    bool operator==(const TTierstatistikRaster&) const = default;
};

// Columns and rows for `anzahl` cells on a screen `bildschirmBreite` pixels wide: as many
// columns as cells, at most as many as fit the screen; never fewer than one column and one row.
TTierstatistikRaster TierstatistikRaster(int anzahl, int bildschirmBreite);

class TTierstatistikZellen {
public:
    static constexpr int Breite = 250;
    static constexpr int Hoehe = 150;

    int Anzahl() const { return int(zellen_.size()); }
    // Index 0 .. Anzahl() - 1.
    TTierstatistikItem& Zelle(int index) { return *zellen_.at(std::size_t(index)); }
    const TTierstatistikItem& Zelle(int index) const { return *zellen_.at(std::size_t(index)); }
    // The cell of this animal and kind, or -1.
    int Finden(int tierID, std::uint8_t art) const;
    // The cell of this animal and kind; a new one with a blank picture is appended when there is
    // none, and neu tells which.
    int Hinzufuegen(int tierID, std::uint8_t art, bool& neu);
    // Removes a cell and returns the index to select next: the same, limited to the last cell;
    // -1 when no cell is left. An index outside the cells removes nothing and gives -1.
    int Entfernen(int index);

private:
    std::vector<std::unique_ptr<TTierstatistikItem>> zellen_;
};
