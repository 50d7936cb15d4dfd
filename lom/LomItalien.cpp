#include "LomConst.h"
#include "LomLaender.h"
#include "LomTools.h"

#include <array>

namespace Lom {

namespace {

// The index of a province is stored inside the number: the order is part of the format.
constexpr std::array<std::string_view, 103> kProvinzen = {
    "TO", "VC", "NO", "CN", "AT", "AL", "AO", "IM", "SV", "GE", "SP", "VA", "CO", "SO", "MI",
    "BG", "BS", "PV", "CR", "MN", "BZ", "TN", "VR", "VI", "BL", "TV", "VE", "PD", "RO", "UD",
    "GO", "TS", "PC", "PR", "RE", "MO", "BO", "FE", "RA", "FO", "PS", "AN", "MC", "AP", "MS",
    "LU", "PT", "FI", "LI", "PI", "AR", "SI", "GR", "PG", "TR", "VT", "RI", "RM", "LT", "FR",
    "CE", "BN", "NA", "AV", "SA", "AQ", "TE", "PE", "CH", "CB", "FG", "BA", "TA", "BR", "LE",
    "PZ", "MT", "CS", "CZ", "RC", "TP", "PA", "ME", "AG", "CL", "EN", "CT", "RG", "SR", "SS",
    "NU", "CA", "PN", "IS", "OR", "BI", "LC", "LO", "RN", "PO", "KR", "VV", "VB",
};

constexpr int64_t kBuchstabenForm = 91;

// Numeric form: the first three digits are the province index.
int KodierenZiffern(std::string z, int64_t& nummer)
{
    if (z.size() < 9)
        return kZuKurz;
    if (z.size() >= 14)
        return kZuLang;
    if (z.size() == 13)
        z.pop_back();
    else if (z.size() < 12)
        z = z.substr(0, 3) + FormatZahl64(9, "0", std::stoll(z.substr(3)));
    if (ProvinzNachIndex(std::stoi(z.substr(0, 3))).empty())
        return kProvinzUnbekannt;
    return LomPacken(z, LandNach(IT).iso, nummer);
}

// The two layouts of the 12-character letter form: digit groups and the province's place.
struct Layout {
    std::size_t provinz;
    std::array<std::size_t, 3> gruppen;
};
constexpr std::array<Layout, 2> kLayouts = {{{3, {0, 5, 9}}, {0, {2, 5, 9}}}};

int KodierenBuchstabenForm(const std::string& z, int64_t& nummer)
{
    if (z.size() != 12)
        return kFalscheLaenge;
    const std::string_view s(z);
    for (const Layout& l : kLayouts) {
        bool passt = NurBuchstaben(s.substr(l.provinz, 2));
        for (std::size_t g : l.gruppen)
            passt = passt && NurZiffern(s.substr(g, 3));
        if (!passt)
            continue;
        const int provinz = ProvinzNachKuerzel(s.substr(l.provinz, 2));
        if (provinz < 0)
            return provinz;
        const char buchstabe = s[8];
        if (buchstabe < 'A' || buchstabe > 'C')
            return kFalschesFormat;
        std::string ziffern = "91" + FormatZahl64(3, "0", provinz) +
                              std::string(1, static_cast<char>('0' + buchstabe - 'A'));
        for (std::size_t g : l.gruppen)
            ziffern += s.substr(g, 3);
        return LomPacken(ziffern, 0, nummer);
    }
    return kFalschesFormat;
}

}  // namespace

int ProvinzNachKuerzel(std::string_view kuerzel)
{
    if (kuerzel.size() == 2) {
        for (std::size_t i = 0; i < kProvinzen.size(); ++i) {
            if (kProvinzen[i] == kuerzel)
                return static_cast<int>(i + 1);
        }
    }
    return kProvinzUnbekannt;
}

std::string_view ProvinzNachIndex(int index)
{
    if (index < 1 || index > static_cast<int>(kProvinzen.size()))
        return {};
    return kProvinzen[static_cast<std::size_t>(index - 1)];
}

int KodierenIT(std::string z, int64_t& nummer)
{
    if (NurZiffern(z))
        return KodierenZiffern(std::move(z), nummer);
    if (z.size() <= 7)
        return kZuKurz;
    if (NurZiffern(std::string_view(z).substr(2))) {
        const int provinz = ProvinzNachKuerzel(std::string_view(z).substr(0, 2));
        if (provinz < 0)
            return provinz;
        return KodierenZiffern(FormatZahl64(3, "0", provinz) + z.substr(2), nummer);
    }
    return KodierenBuchstabenForm(z, nummer);
}

std::string DruckenIT(int64_t, int64_t ganz)
{
    if (ganz / kLandFaktor == LandNach(IT).iso)
        return "IT " + FormatZahl64(12, "0", ganz % kLandFaktor);
    if (ganz / (kLandFaktor * 10) != kBuchstabenForm)
        return {};
    const std::string z = FormatZahl64(13, "0", ganz % (kLandFaktor * 10));
    const std::string_view provinz = ProvinzNachIndex(std::stoi(z.substr(0, 3)));
    const int buchstabe = Ziffer(z[3]);
    if (provinz.empty() || buchstabe > 2)
        return {};
    return "IT" + z.substr(4, 3) + std::string(provinz) + z.substr(7, 3) +
           static_cast<char>('A' + buchstabe) + z.substr(10, 3);
}

}  // namespace Lom
