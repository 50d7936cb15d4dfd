// libFuzzer target for the text and date extension functions: arbitrary dates, numbers and texts
// as the engine passes them, every result buffer exactly as large as the database declares it, so
// that AddressSanitizer sees any read or write beyond, and checks of what the results must hold.
#include <UdfBreiten.h>
#include <UdfDatum.h>
#include <UdfExport.h>
#include <UdfTrace.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace Udf;

namespace {

[[noreturn]] void Fehler(const char* funktion, const char* was)
{
    std::fprintf(stderr, "%s: %s\n", funktion, was);
    std::abort();
}

// An argument text as the engine passes a CSTRING(breite): zero-terminated within its room, or
// filling the room to its last byte without a zero, which a function must not read past; or no
// text at all (SQL NULL, or a direct call).
class Argumenttext {
public:
    Argumenttext(FuzzedDataProvider& daten, std::size_t breite)
    {
        if (daten.ConsumeIntegralInRange<int>(0, 15) == 0)
            return;
        const std::string text = daten.ConsumeRandomLengthString(breite + 8);
        const std::size_t laenge = std::min(text.size(), breite);
        puffer_ = std::make_unique<char[]>(laenge < breite ? laenge + 1 : breite);
        std::memcpy(puffer_.get(), text.data(), laenge);
        if (laenge < breite)
            puffer_[laenge] = '\0';
    }
    const char* get() const { return puffer_.get(); }

private:
    std::unique_ptr<char[]> puffer_;
};

// A result buffer of the declared room and its terminating zero, nothing more.
class Ergebnis {
public:
    explicit Ergebnis(std::size_t breite) : breite_(breite), puffer_(new char[breite + 1]) {}
    char* get() { return puffer_.get(); }

    // The text the function gave: its buffer, zero-terminated within the room; null for NULL.
    const char* pruefen(const char* funktion, const char* r) const
    {
        if (r != nullptr && r != puffer_.get())
            Fehler(funktion, "Ergebnis nicht im Puffer der Engine");
        if (strnlen(puffer_.get(), breite_ + 1) > breite_)
            Fehler(funktion, "Ergebnis ohne Ende im Puffer");
        return r;
    }

private:
    std::size_t breite_;
    std::unique_ptr<char[]> puffer_;
};

ISC_TIMESTAMP Zeitpunkt(FuzzedDataProvider& daten)
{
    // Half of the dates near the calendar's ends, where the arithmetic has its edges.
    ISC_DATE tag = daten.ConsumeIntegral<ISC_DATE>();
    switch (daten.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            tag = kErsterTag + tag % 400;
            break;
        case 1:
            tag = kLetzterTag + tag % 400;
            break;
        default:
            break;
    }
    return {tag, daten.ConsumeIntegral<ISC_TIME>()};
}

// Date texts: NULL exactly outside the engine's range, the empty text for day 0, else a date
// (a pattern may make that empty as well).
void DatumstextPruefen(const char* funktion, const ISC_TIMESTAMP& datum, const char* r,
                       bool musterLeer = false)
{
    const bool imBereich = ImBereich(datum.timestamp_date);
    if ((r == nullptr) == imBereich)
        Fehler(funktion,
               imBereich ? "NULL fuer ein Datum im Bereich" : "Text ausserhalb des Bereichs");
    if (r != nullptr && datum.timestamp_date == 0 && *r != '\0')
        Fehler(funktion, "Text fuer Tag 0");
    if (r != nullptr && datum.timestamp_date != 0 && *r == '\0' && !musterLeer)
        Fehler(funktion, "leerer Text fuer ein Datum");
}

// A timestamp result: NULL exactly outside the range; else within it, at most `abstand` days
// away unless `abstand` is negative, with the time of day kept.
void ZeitpunktPruefen(const char* funktion, const ISC_TIMESTAMP& datum, const ISC_TIMESTAMP* r,
                      int64_t abstand)
{
    if ((r == nullptr) == ImBereich(datum.timestamp_date))
        Fehler(funktion, "NULL nicht genau ausserhalb des Bereichs");
    if (r == nullptr)
        return;
    if (!ImBereich(r->timestamp_date))
        Fehler(funktion, "Ergebnis ausserhalb des Bereichs");
    const int64_t tage = static_cast<int64_t>(r->timestamp_date) - datum.timestamp_date;
    if (abstand >= 0 && (tage > abstand || tage < -abstand))
        Fehler(funktion, "Ergebnis zu weit verschoben");
    if (r->timestamp_time != datum.timestamp_time)
        Fehler(funktion, "Uhrzeit veraendert");
}

// A blob whose segments come from the input.
struct Blob {
    std::string text;
    std::size_t segment;
    std::size_t pos = 0;
};

short SegmentLesen(void* hnd, ISC_UCHAR* puffer, ISC_USHORT groesse, ISC_USHORT* laenge)
{
    auto* blob = static_cast<Blob*>(hnd);
    const std::size_t n =
        std::min({blob->segment, static_cast<std::size_t>(groesse), blob->text.size() - blob->pos});
    std::memcpy(puffer, blob->text.data() + blob->pos, n);
    blob->pos += n;
    *laenge = static_cast<ISC_USHORT>(n);
    if (n == 0)
        return blb_got_eof;
    return blob->pos < blob->text.size() && n == blob->segment ? blb_got_full_segment
                                                               : blb_got_fragment;
}

void Stille(std::string_view) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // ZRNV_DEBUG would write every input into the system log.
    TraceSenkeSetzen(Stille);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzedDataProvider daten(data, size);
    const ISC_TIMESTAMP datum = Zeitpunkt(daten);
    const ISC_LONG zahl = daten.ConsumeIntegral<ISC_LONG>();
    const ISC_LONG zahl2 = daten.ConsumeIntegral<ISC_LONG>();
    switch (daten.ConsumeIntegralInRange<int>(0, 28)) {
        case 0: {
            const ISC_TIMESTAMP abgang = Zeitpunkt(daten), bezug = Zeitpunkt(daten);
            Ergebnis out(Breite::Alter);
            const char* r =
                out.pruefen("ZRNV_ALTER", ZRNV_ALTER(&datum, &abgang, &bezug, out.get()));
            const bool imBereich = ImBereich(datum.timestamp_date) &&
                                   ImBereich(abgang.timestamp_date) &&
                                   ImBereich(bezug.timestamp_date);
            if ((r == nullptr) == imBereich)
                Fehler("ZRNV_ALTER", "NULL nicht genau ausserhalb des Bereichs");
            break;
        }
        case 1: {
            Ergebnis out(Breite::Datum);
            const char* r = out.pruefen("ZRNV_DATE2STR", ZRNV_DATE2STR(&datum, out.get()));
            DatumstextPruefen("ZRNV_DATE2STR", datum, r);
            if (r != nullptr && datum.timestamp_date != 0) {
                // The text names the day it was given: dd.mm.yyyy back to the day number.
                Kalenderdatum d{};
                if (std::strlen(r) != 10 ||
                    std::sscanf(r, "%2d.%2d.%4d", &d.tag, &d.monat, &d.jahr) != 3 ||
                    DatumNachTag(d) != datum.timestamp_date)
                    Fehler("ZRNV_DATE2STR", "Text nennt einen anderen Tag");
            }
            break;
        }
        case 2: {
            Ergebnis out(Breite::DatumKurz);
            DatumstextPruefen(
                "ZRNV_DATE2STRSHORT", datum,
                out.pruefen("ZRNV_DATE2STRSHORT", ZRNV_DATE2STRSHORT(&datum, out.get())));
            break;
        }
        case 3: {
            const Argumenttext muster(daten, Breite::Muster);
            Ergebnis out(Breite::DatumFormat);
            DatumstextPruefen("ZRNV_DATE2STR_FORMAT", datum,
                              out.pruefen("ZRNV_DATE2STR_FORMAT",
                                          ZRNV_DATE2STR_FORMAT(&datum, muster.get(), out.get())),
                              true);
            break;
        }
        case 4: {
            Ergebnis out(Breite::Datum);
            DatumstextPruefen(
                "ZRNV_DATE2STR_HEUTE", datum,
                out.pruefen("ZRNV_DATE2STR_HEUTE", ZRNV_DATE2STR_HEUTE(&datum, &zahl, out.get())));
            break;
        }
        case 5: {
            Ergebnis out(Breite::Wochentag);
            DatumstextPruefen("ZRNV_WOCHENTAG", datum,
                              out.pruefen("ZRNV_WOCHENTAG", ZRNV_WOCHENTAG(&datum, out.get())));
            break;
        }
        case 6: {
            const Argumenttext tage(daten, Breite::Wochentage);
            ZeitpunktPruefen("ZRNV_TERMIN_LAGE", datum, ZRNV_TERMIN_LAGE(&datum, tage.get()), 3);
            break;
        }
        case 7: {
            const Argumenttext tage(daten, Breite::Wochentage);
            Ergebnis out(Breite::WochentageSortiert);
            out.pruefen("ZRNV_SORT_WOCHENTAGE", ZRNV_SORT_WOCHENTAGE(tage.get(), out.get()));
            break;
        }
        case 8: {
            const ISC_TIMESTAMP* r = ZRNV_DATE_ADD(&datum, &zahl, &zahl2);
            ZeitpunktPruefen("ZRNV_DATE_ADD", datum, r, -1);
            if (r == nullptr)
                break;
            // Month fields from -9 to 14 are the calendar's months for the encoder: the result
            // is the target month's first day plus the day less one, a day beyond the month's
            // end running on. Beyond them the encoder drifts and only the range holds.
            const Kalenderdatum von = TagNachDatum(datum.timestamp_date);
            const int64_t feld = int64_t{von.monat} + zahl;
            if (feld < -9 || feld > 14)
                break;
            const int64_t ziel = (int64_t{von.jahr} + zahl2) * 12 + feld - 1;
            const int64_t jahr = ziel >= 0 ? ziel / 12 : -1;
            if (jahr < 1 || jahr > 9999) {
                if (r->timestamp_date != datum.timestamp_date)
                    Fehler("ZRNV_DATE_ADD", "Datum jenseits der Jahre verschoben");
                break;
            }
            const int erster =
                DatumNachTag({static_cast<int>(jahr), static_cast<int>(ziel % 12) + 1, 1});
            if (r->timestamp_date != erster + von.tag - 1)
                Fehler("ZRNV_DATE_ADD", "falscher Monat oder Tag");
            break;
        }
        case 9: {
            const Argumenttext bnr(daten, Breite::Bnr);
            Ergebnis out(Breite::Bnr);
            out.pruefen("ZRNV_FORMATBNR", ZRNV_FORMATBNR(bnr.get(), out.get()));
            break;
        }
        case 10: {
            const Argumenttext bnr(daten, Breite::BnrEingabe);
            const char* r = ZRNV_CORRECTBNR(bnr.get());
            if ((r == nullptr) != (bnr.get() == nullptr) ||
                (r != nullptr && strnlen(r, Breite::BnrKorrigiert + 1) > Breite::BnrKorrigiert))
                Fehler("ZRNV_CORRECTBNR", "Ergebnis passt nicht in die Deklaration");
            break;
        }
        case 11: {
            Ergebnis out(Breite::FormatZahl);
            out.pruefen("ZRNV_FORMATZAHL", ZRNV_FORMATZAHL(&zahl, &zahl2, out.get()));
            break;
        }
        case 12: {
            const double wert = daten.ConsumeFloatingPoint<double>();
            const Argumenttext muster(daten, Breite::Muster);
            Ergebnis out(Breite::FormatFloat);
            out.pruefen("ZRNV_FORMATFLOAT", ZRNV_FORMATFLOAT(&wert, muster.get(), out.get()));
            break;
        }
        case 13: {
            Ergebnis out(Breite::FormatInt);
            out.pruefen("ZRNV_FORMATINT", ZRNV_FORMATINT(&zahl, out.get()));
            break;
        }
        case 14: {
            Ergebnis out(Breite::Harnstoff);
            out.pruefen("ZRNV_HARNSTOFF", ZRNV_HARNSTOFF(&zahl, &zahl2, out.get()));
            break;
        }
        case 15: {
            const Argumenttext text(daten, Breite::DebugText);
            Ergebnis out(Breite::Debug);
            out.pruefen("ZRNV_DEBUG", ZRNV_DEBUG(text.get(), out.get()));
            break;
        }
        case 16: {
            const Argumenttext liste(daten, Breite::Feldliste);
            Ergebnis out(Breite::Feldliste);
            out.pruefen("ZRNV_GET_FELD", ZRNV_GET_FELD(liste.get(), out.get()));
            break;
        }
        case 17: {
            const Argumenttext liste(daten, Breite::Feldliste);
            Ergebnis out(Breite::Feldliste);
            out.pruefen("ZRNV_DEL_FELD", ZRNV_DEL_FELD(liste.get(), out.get()));
            break;
        }
        case 18: {
            const Argumenttext feld(daten, Breite::Feldname);
            const ISC_LONG quelle = ZRNV_GET_QUELLE(feld.get());
            if (quelle < 0 || quelle > 9)
                Fehler("ZRNV_GET_QUELLE", "keine Ziffer");
            break;
        }
        case 19: {
            const Argumenttext feld(daten, Breite::Feldname);
            const ISC_LONG spezial = ZRNV_IS_SPEZIALFELD(feld.get());
            if (spezial != 0 && spezial != 1)
                Fehler("ZRNV_IS_SPEZIALFELD", "weder 0 noch 1");
            break;
        }
        case 20: {
            const Argumenttext feld(daten, Breite::Feldname);
            Ergebnis out(Breite::Feldname);
            out.pruefen("ZRNV_GET_FELD_PUR", ZRNV_GET_FELD_PUR(feld.get(), out.get()));
            break;
        }
        case 21: {
            Blob blob{daten.ConsumeRandomLengthString(3 * Breite::BlobLinks),
                      daten.ConsumeIntegralInRange<std::size_t>(1, 1000)};
            blobcallback cb{};
            cb.blob_get_segment = SegmentLesen;
            cb.blob_handle = daten.ConsumeBool() ? &blob : nullptr;
            cb.blob_total_length =
                daten.ConsumeBool() ? static_cast<ISC_LONG>(blob.text.size()) : zahl2;
            Ergebnis out(Breite::BlobLinks);
            out.pruefen("ZRNV_BLOB_LEFT", ZRNV_BLOB_LEFT(&cb, &zahl, out.get()));
            break;
        }
        case 22: {
            Ergebnis out(Breite::Eol);
            out.pruefen("EOL", EOL(out.get()));
            break;
        }
        case 23: {
            const Argumenttext a(daten, Breite::StrCatTeil), b(daten, Breite::StrCatTeil);
            Ergebnis out(Breite::StrCat);
            out.pruefen("ZRNV_STR_CAT", ZRNV_STR_CAT(a.get(), b.get(), out.get()));
            break;
        }
        case 24: {
            const Argumenttext code(daten, Breite::Geschlecht);
            Ergebnis out(Breite::Geschlecht);
            out.pruefen("ZRNV_GESCHLECHT", ZRNV_GESCHLECHT(code.get(), out.get()));
            break;
        }
        case 25: {
            // Arguments the engine never passes as NULL, but a direct caller may.
            Ergebnis out(Breite::FormatZahl);
            out.pruefen("ZRNV_FORMATZAHL", ZRNV_FORMATZAHL(nullptr, nullptr, out.get()));
            Ergebnis harnstoff(Breite::Harnstoff);
            harnstoff.pruefen("ZRNV_HARNSTOFF", ZRNV_HARNSTOFF(nullptr, nullptr, harnstoff.get()));
            break;
        }
        case 26: {
            Ergebnis out(Breite::Datum);
            out.pruefen("ZRNV_DATE2STR", ZRNV_DATE2STR(nullptr, out.get()));
            if (ZRNV_DATE_ADD(&datum, nullptr, nullptr) == nullptr &&
                ImBereich(datum.timestamp_date))
                Fehler("ZRNV_DATE_ADD", "NULL fuer ein Datum im Bereich");
            break;
        }
        case 27: {
            const ISC_LONG wert = zahl;
            if (ZRNV_SET_HOTSYNC(&wert) != wert || ZRNV_GET_HOTSYNC() != (wert != 0 ? 1 : 0))
                Fehler("ZRNV_SET_HOTSYNC", "Flag nicht uebernommen");
            break;
        }
        case 28: {
            ISC_TIMESTAMP ohneDatum{0, datum.timestamp_time};
            Ergebnis out(Breite::Alter);
            out.pruefen("ZRNV_ALTER", ZRNV_ALTER(&ohneDatum, nullptr, &datum, out.get()));
            break;
        }
    }
    return 0;
}
