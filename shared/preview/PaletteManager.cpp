#include "PaletteManager.h"

#include <algorithm>
#include <cstring>

struct TPaletteManager::TPaletteItem {
    std::uint32_t checksum = 0;
    HPalette palette = 0;
    int references = 0;
    TColorTable colorTable{};
    int colorCount = 0;
    QVector<QRgb> colors;
};

TRGBQuad MakeRGBQuad(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    TRGBQuad q;
    q.rgbRed = red;
    q.rgbGreen = green;
    q.rgbBlue = blue;
    return q;
}

TPaletteEntry QuadToPaletteEntry(const TRGBQuad& quad)
{
    TPaletteEntry e;
    e.peRed = quad.rgbRed;
    e.peGreen = quad.rgbGreen;
    e.peBlue = quad.rgbBlue;
    return e;
}

TRGBQuad PaletteEntryToQuad(const TPaletteEntry& entry)
{
    return MakeRGBQuad(entry.peRed, entry.peGreen, entry.peBlue);
}

TPaletteEntries QuadsToPaletteEntries(const TColorTable& quads)
{
    TPaletteEntries out;
    std::transform(quads.begin(), quads.end(), out.begin(), QuadToPaletteEntry);
    return out;
}

TColorTable PaletteEntriesToQuads(const TPaletteEntries& entries)
{
    TColorTable out;
    std::transform(entries.begin(), entries.end(), out.begin(), PaletteEntryToQuad);
    return out;
}

TPaletteManager::TPaletteManager() = default;
TPaletteManager::~TPaletteManager() = default;

HPalette TPaletteManager::AcquirePalette(const TColorTable& table, int count)
{
    const int used = std::clamp(count, 0, 256);
    std::uint32_t checksum = static_cast<std::uint32_t>(count);
    for (int i = 0; i < used; ++i)
        checksum += table[static_cast<std::size_t>(i)].rgbRed +
                    table[static_cast<std::size_t>(i)].rgbGreen +
                    table[static_cast<std::size_t>(i)].rgbBlue;
    for (const auto& item : m_items) {
        if (item->checksum == checksum && item->colorCount == count &&
            std::memcmp(item->colorTable.data(), table.data(),
                        static_cast<std::size_t>(used) * sizeof(TRGBQuad)) == 0) {
            ++item->references;
            return item->palette;
        }
    }
    auto item = std::make_unique<TPaletteItem>();
    item->checksum = checksum;
    item->colorCount = count;
    std::copy_n(table.begin(), used, item->colorTable.begin());
    if (count >= 1 && count <= 256) {
        item->palette = m_nextHandle++;
        item->colors.reserve(count);
        for (int i = 0; i < count; ++i) {
            const TRGBQuad& q = table[static_cast<std::size_t>(i)];
            item->colors.push_back(qRgb(q.rgbRed, q.rgbGreen, q.rgbBlue));
        }
    }
    item->references = 1;
    const HPalette handle = item->palette;
    m_items.push_back(std::move(item));
    return handle;
}

void TPaletteManager::ReleasePalette(HPalette& palette)
{
    if (palette == 0)
        return;
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [palette](const auto& item) { return item->palette == palette; });
    if (it == m_items.end())
        return;
    palette = 0;
    if (--(*it)->references <= 0)
        m_items.erase(it);
}

QVector<QRgb> TPaletteManager::ColorTable(HPalette palette) const
{
    if (palette == 0)
        return {};
    for (const auto& item : m_items)
        if (item->palette == palette)
            return item->colors;
    return {};
}

int TPaletteManager::ItemCount() const
{
    return static_cast<int>(m_items.size());
}

TPaletteManager& SharedPaletteManager()
{
    static TPaletteManager manager;
    return manager;
}
