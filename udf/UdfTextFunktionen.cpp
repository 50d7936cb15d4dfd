// Holding numbers, number formats, field lists, texts, the trace and the synchronisation flag.
#include "UdfBreiten.h"
#include "UdfExport.h"
#include "UdfFormat.h"
#include "UdfText.h"
#include "UdfTrace.h"

#include <algorithm>
#include <atomic>
#include <utility>

using namespace Udf;

namespace {

thread_local char tBnrKorrigiert[Breite::BnrKorrigiert + 1];

// One flag for the whole engine process: set while a handheld synchronisation runs.
std::atomic<bool> gHotSync{false};

constexpr std::pair<std::string_view, std::string_view> kGeschlechter[] = {
    {"M", "m"},       {"W", "w"},       {"MM", "m/m"},    {"MW", "m/w"},    {"WW", "w/w"},
    {"MMM", "m/m/m"}, {"MMW", "m/m/w"}, {"MWW", "m/w/w"}, {"WWW", "w/w/w"}, {"MER", "Mehrling"},
};

}  // namespace

char* ZRNV_FORMATBNR(const char* bnr, char* out)
{
    if (bnr == nullptr)
        return Ausgeben(out, "", 0);
    return Sicher(Ausgeben(out, "", 0), [&] {
        std::string text(Argument(bnr, Breite::Bnr));
        // Each place counts in the text as it has grown so far.
        for (std::size_t vor : {12u, 9u, 6u, 4u})
            text.insert(std::min(vor - 1, text.size()), 1, ' ');
        return Ausgeben(out, text, Breite::Bnr);
    });
}

char* ZRNV_CORRECTBNR(const char* bnr)
{
    if (bnr == nullptr)
        return nullptr;
    return Sicher<char*>(nullptr, [&] {
        std::string text(Argument(bnr, Breite::BnrEingabe));
        std::erase(text, ' ');
        if (text.size() == 12)
            text.insert(0, "276");
        return Ausgeben(tBnrKorrigiert, text, Breite::BnrKorrigiert);
    });
}

char* ZRNV_FORMATZAHL(const ISC_LONG* wert, const ISC_LONG* breite, char* out)
{
    return Sicher(Ausgeben(out, "", 0), [&] {
        std::string text = std::to_string(wert != nullptr ? *wert : 0);
        const auto b = static_cast<std::size_t>(
            std::clamp<ISC_LONG>(breite != nullptr ? *breite : 0, 0, Breite::FormatZahl));
        if (text.size() < b)
            text.insert(0, b - text.size(), '0');
        return Ausgeben(out, text, Breite::FormatZahl);
    });
}

char* ZRNV_FORMATFLOAT(const double* wert, const char* muster, char* out)
{
    return Sicher(Ausgeben(out, "-ERROR-", Breite::FormatFloat), [&] {
        const auto text =
            FormatFloat(wert != nullptr ? *wert : 0.0, Argument(muster, Breite::Muster));
        return Ausgeben(out, text ? *text : "-ERROR-", Breite::FormatFloat);
    });
}

char* ZRNV_FORMATINT(const ISC_LONG* wert, char* out)
{
    return Sicher(Ausgeben(out, "", 0), [&] {
        return Ausgeben(out, GanzzahlDeutsch(wert != nullptr ? *wert : 0), Breite::FormatInt);
    });
}

char* ZRNV_HARNSTOFF(const ISC_LONG* wert, const ISC_LONG* mgdl, char* out)
{
    return Sicher(Ausgeben(out, "", 0), [&] {
        const int64_t w = wert != nullptr ? *wert : 0;
        std::string text;
        if (mgdl != nullptr && *mgdl != 0) {
            // The stored value is in ppm; a tenth of it in mg/dl, exact to one decimal.
            const int64_t betrag = w < 0 ? -w : w;
            text = (w < 0 ? "-" : "") + std::to_string(betrag / 10) + "," +
                   std::to_string(betrag % 10) + " mg/dl";
        } else {
            text = std::to_string(w) + " ppm";
        }
        return Ausgeben(out, text, Breite::Harnstoff);
    });
}

char* ZRNV_DEBUG(const char* text, char* out)
{
    return Sicher(Ausgeben(out, "Debug", Breite::Debug), [&] {
        Trace("DB: " + std::string(Argument(text, Breite::DebugText)));
        return Ausgeben(out, "Debug", Breite::Debug);
    });
}

char* ZRNV_GET_FELD(const char* liste, char* out)
{
    const std::string_view text = Argument(liste, Breite::Feldliste);
    return Ausgeben(out, text.substr(0, text.find(';')), Breite::Feldliste);
}

char* ZRNV_DEL_FELD(const char* liste, char* out)
{
    const std::string_view text = Argument(liste, Breite::Feldliste);
    const std::size_t pos = text.find(';');
    return Ausgeben(out, pos == std::string_view::npos ? "" : text.substr(pos + 1),
                    Breite::Feldliste);
}

ISC_LONG ZRNV_GET_QUELLE(const char* feld)
{
    const std::string_view text = Argument(feld, Breite::Feldname);
    if (text.size() < 2 || text[1] < '0' || text[1] > '9')
        return 1;
    return text[1] - '0';
}

ISC_LONG ZRNV_IS_SPEZIALFELD(const char* feld)
{
    const std::string_view text = Argument(feld, Breite::Feldname);
    return text.size() > 2 && text.starts_with("S.") ? 1 : 0;
}

char* ZRNV_GET_FELD_PUR(const char* feld, char* out)
{
    const std::string_view text = Argument(feld, Breite::Feldname);
    const std::size_t pos = text.find('.');
    return Ausgeben(out, pos == std::string_view::npos ? text : text.substr(pos + 1),
                    Breite::Feldname);
}

char* ZRNV_BLOB_LEFT(BLOBCALLBACK blob, const ISC_LONG* n, char* out)
{
    out[0] = '\0';
    if (blob == nullptr || blob->blob_handle == nullptr || blob->blob_get_segment == nullptr ||
        n == nullptr || *n <= 0 || blob->blob_total_length <= 0)
        return out;
    const auto anzahl = std::min<std::size_t>({static_cast<std::size_t>(*n),
                                               static_cast<std::size_t>(blob->blob_total_length),
                                               Breite::BlobLinks});
    std::size_t gelesen = 0;
    while (gelesen < anzahl) {
        ISC_USHORT laenge = 0;
        const auto wunsch = static_cast<ISC_USHORT>(std::min<std::size_t>(anzahl - gelesen, 65535));
        const short status = blob->blob_get_segment(
            blob->blob_handle, reinterpret_cast<ISC_UCHAR*>(out + gelesen), wunsch, &laenge);
        gelesen += std::min<std::size_t>(laenge, wunsch);
        if (status == blb_got_eof || laenge == 0)
            break;
    }
    out[gelesen] = '\0';
    return out;
}

char* EOL(char* out)
{
    return Ausgeben(out, "\r\n", Breite::Eol);
}

char* ZRNV_STR_CAT(const char* a, const char* b, char* out)
{
    return Sicher(Ausgeben(out, "", 0), [&] {
        std::string text(Argument(a, Breite::StrCatTeil));
        text += Argument(b, Breite::StrCatTeil);
        return Ausgeben(out, text, Breite::StrCat);
    });
}

char* ZRNV_GESCHLECHT(const char* code, char* out)
{
    const std::string_view text = Argument(code, Breite::Geschlecht);
    for (const auto& [c, anzeige] : kGeschlechter) {
        if (c == text)
            return Ausgeben(out, anzeige, Breite::Geschlecht);
    }
    return Ausgeben(out, text, Breite::Geschlecht);
}

ISC_LONG ZRNV_SET_HOTSYNC(const ISC_LONG* wert)
{
    const ISC_LONG w = wert != nullptr ? *wert : 0;
    gHotSync.store(w != 0);
    return w;
}

ISC_LONG ZRNV_GET_HOTSYNC()
{
    return gHotSync.load() ? 1 : 0;
}
