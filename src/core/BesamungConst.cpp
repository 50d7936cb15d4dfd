#include "BesamungConst.h"

namespace BesamungConst {

const std::array<Station, AnzahlStationen>& Stationen()
{
    static const std::array<Station, AnzahlStationen> stationen{{
        {QStringLiteral("HUBER"), QStringLiteral("Huber, Wasserburg"), QStringLiteral("Huber"),
         MeldeartTriesdorf},
        {QStringLiteral("GRUB"), QStringLiteral("Grub"), QStringLiteral("Grub"), MeldeartTriesdorf},
        {QStringLiteral("HOECHSTAEDT"), QStringLiteral("Höchstädt"), QStringLiteral("Höchstädt"),
         MeldeartHoechstaedt},
        {QStringLiteral("LANDSHUT"), QStringLiteral("Landshut"), QStringLiteral("Landshut"),
         MeldeartTriesdorf},
        {QStringLiteral("MEGGLE"), QStringLiteral("Meggle"), QStringLiteral("Meggle"),
         MeldeartTriesdorf},
        {QStringLiteral("BVN"), QStringLiteral("BV Neustadt/Aisch"), QStringLiteral("BVN"),
         MeldeartTriesdorf},
        {QStringLiteral("WALDNER"), QStringLiteral("Waldner"), QStringLiteral("Waldner"),
         MeldeartTriesdorf},
        {QStringLiteral("MEMMINGEN"), QStringLiteral("RBG Memmingen"), QStringLiteral("Memmingen"),
         MeldeartTriesdorf},
        {QStringLiteral("RUW"), QStringLiteral("Rinder Union West"), QStringLiteral("RUW"),
         MeldeartRUW},
        {QStringLiteral("VSTTZ"), QStringLiteral("Vereinigung Südtiroler Tierzuchtverbände"),
         QStringLiteral("Südtirol"), MeldeartHoechstaedt},
    }};
    return stationen;
}

}  // namespace BesamungConst
