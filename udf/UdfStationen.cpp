#include "UdfStationen.h"

#include <array>
#include <utility>

namespace Udf {

namespace {

// Index order as BesamungConst::Stationen().
constexpr std::array<std::pair<std::string_view, std::string_view>, 10> kStationen = {{
    {"HUBER", "Huber"},
    {"GRUB", "Grub"},
    {"HOECHSTAEDT",
     "H\xF6"
     "chst\xE4"
     "dt"},
    {"LANDSHUT", "Landshut"},
    {"MEGGLE", "Meggle"},
    {"BVN", "BVN"},
    {"WALDNER", "Waldner"},
    {"MEMMINGEN", "Memmingen"},
    {"RUW", "RUW"},
    {"VSTTZ",
     "S\xFC"
     "dtirol"},
}};

}  // namespace

std::string_view StationKurzname(std::string_view code)
{
    for (const auto& [c, kurz] : kStationen) {
        if (c == code)
            return kurz;
    }
    return {};
}

}  // namespace Udf
