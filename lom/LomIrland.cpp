#include "LomConst.h"
#include "LomLaender.h"
#include "LomTools.h"

namespace Lom {

namespace {

// Check letters of the Irish letter form: the alphabet without I, O and Z.
constexpr std::string_view kPruefBuchstaben = "ABCDEFGHJKLMNPQRSTUVWXY";
constexpr int64_t kBuchstabenForm = 930;

int KodierenBuchstabenForm(const std::string& z, int64_t& nummer)
{
    if (z.size() != 9)
        return kFalschesFormat;
    const std::string_view s(z);
    if (!NurBuchstaben(s.substr(0, 4)) || !NurZiffern(s.substr(4, 4)) ||
        !NurBuchstaben(s.substr(8, 1)))
        return kFalschesFormat;
    // Letters weigh by their place in the full alphabet (A = 1), not in the check alphabet.
    int v = 0;
    for (int i = 0; i < 4; ++i)
        v += (9 - i) * (s[static_cast<std::size_t>(i)] - 'A' + 1);
    for (int i = 4; i < 8; ++i)
        v += (9 - i) * Ziffer(s[static_cast<std::size_t>(i)]);
    const int b = v % 23;
    const int position = 23 - b;
    if (kPruefBuchstaben[static_cast<std::size_t>(position - 1)] != s[8])
        return kPruefzifferFalsch;
    int64_t buchstaben = 0;
    for (int i = 0; i < 4; ++i)
        buchstaben = buchstaben * 26 + (s[static_cast<std::size_t>(i)] - 'A');
    const std::string ziffern = "930" + FormatZahl64(6, "0", buchstaben) +
                                std::string(s.substr(4, 4)) + FormatZahl64(2, "0", position);
    return LomPacken(ziffern, 0, nummer);
}

std::string DruckenBuchstabenForm(int64_t ganz)
{
    const std::string z = FormatZahl64(15, "0", ganz);
    int64_t buchstaben = std::stoll(z.substr(3, 6));
    const int position = std::stoi(z.substr(13, 2));
    if (buchstaben > 26 * 26 * 26 * 26 - 1 || position < 1 || position > 23)
        return {};
    std::string letters(4, 'A');
    for (int i = 3; i >= 0; --i) {
        letters[static_cast<std::size_t>(i)] = static_cast<char>('A' + buchstaben % 26);
        buchstaben /= 26;
    }
    return "IE " + letters + " " + z.substr(9, 4) + " " +
           kPruefBuchstaben[static_cast<std::size_t>(position - 1)];
}

}  // namespace

int KodierenIE(std::string z, int64_t& nummer)
{
    if (!NurZiffern(z))
        return KodierenBuchstabenForm(z, nummer);
    if (const int r = LaengePruefen(z, 12))
        return r;
    if (PruefzifferIE(z) != Ziffer(z[7]))
        return kPruefzifferFalsch;
    return LomPacken(z, LandNach(IE).iso, nummer);
}

std::string DruckenIE(int64_t national, int64_t ganz)
{
    if (ganz / kLandFaktor == kBuchstabenForm)
        return DruckenBuchstabenForm(ganz);
    if (national < 0 || national >= kLandFaktor)
        return {};
    return DruckForm(IE, national, 12, {2, 5, 1, 4});
}

}  // namespace Lom
