#pragma once

#include <QRgb>
#include <QVector>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// Colour-table entry as the bitmap file format stores it.
struct TRGBQuad {
    std::uint8_t rgbBlue = 0;
    std::uint8_t rgbGreen = 0;
    std::uint8_t rgbRed = 0;
    std::uint8_t rgbReserved = 0;
    bool operator==(const TRGBQuad& o) const
    {
        return rgbBlue == o.rgbBlue && rgbGreen == o.rgbGreen && rgbRed == o.rgbRed &&
               rgbReserved == o.rgbReserved;
    }
    bool operator!=(const TRGBQuad& o) const { return !(*this == o); }
};
static_assert(sizeof(TRGBQuad) == 4);

// Palette entry layout (red, green, blue, flags).
struct TPaletteEntry {
    std::uint8_t peRed = 0;
    std::uint8_t peGreen = 0;
    std::uint8_t peBlue = 0;
    std::uint8_t peFlags = 0;
};
static_assert(sizeof(TPaletteEntry) == 4);

using TColorTable = std::array<TRGBQuad, 256>;
using TPaletteEntries = std::array<TPaletteEntry, 256>;

// Qt has no palette objects: a palette handle is an id whose colours come back as a QImage colour
// table through ColorTable. 0 means no palette.
using HPalette = std::uint32_t;

TRGBQuad MakeRGBQuad(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
TPaletteEntry QuadToPaletteEntry(const TRGBQuad& quad);
TRGBQuad PaletteEntryToQuad(const TPaletteEntry& entry);
TPaletteEntries QuadsToPaletteEntries(const TColorTable& quads);
TColorTable PaletteEntriesToQuads(const TPaletteEntries& entries);

// One palette per distinct colour table, shared by reference count. Used from the UI thread only.
class TPaletteManager {
public:
    TPaletteManager();
    ~TPaletteManager();
    TPaletteManager(const TPaletteManager&) = delete;
    TPaletteManager& operator=(const TPaletteManager&) = delete;

    // A palette for the first count entries. A count outside 1..256 cannot make a palette: handle
    // 0, whose item stays cached until the manager goes, as releasing 0 does nothing.
    HPalette AcquirePalette(const TColorTable& table, int count);
    // Gives one use back and clears the caller's handle; a handle of no item is left untouched.
    void ReleasePalette(HPalette& palette);

    // The palette's colours as a QImage colour table; empty for 0 or a released palette.
    QVector<QRgb> ColorTable(HPalette palette) const;
    int ItemCount() const;

private:
    struct TPaletteItem;
    std::vector<std::unique_ptr<TPaletteItem>> m_items;
    HPalette m_nextHandle = 1;
};

TPaletteManager& SharedPaletteManager();
