// Date texts, ages and appointment days.
#include "UdfBreiten.h"
#include "UdfDatum.h"
#include "UdfExport.h"
#include "UdfText.h"

#include <array>
#include <cmath>

using namespace Udf;

namespace {

// Timestamp results live in a buffer of the calling thread until its next call.
thread_local ISC_TIMESTAMP tTerminLage;
thread_local ISC_TIMESTAMP tDatumAdd;

int Tag(const ISC_TIMESTAMP* t)
{
    return t != nullptr ? t->timestamp_date : 0;
}

// Outside the engine's range the calendar arithmetic and the name tables do not hold, so such a
// date (from a direct call, or stored from a result the engine took unchecked) gives NULL. A
// missing argument counts as day 0.
bool Gueltig(const ISC_TIMESTAMP* t)
{
    return ImBereich(Tag(t));
}

// NULL for a text result: the engine ignores the address of a result written into its buffer
// (RETURNS PARAMETER) and takes the buffer, so that holds the empty text.
char* Null(char* out)
{
    Ausgeben(out, "", 0);
    return nullptr;
}

constexpr std::array<std::string_view, 7> kTagCodes = {"MO", "DI", "MI", "DO", "FR", "SA", "SO"};

}  // namespace

char* ZRNV_ALTER(const ISC_TIMESTAMP* geburt, const ISC_TIMESTAMP* abgang,
                 const ISC_TIMESTAMP* bezug, char* out)
{
    if (!Gueltig(geburt) || !Gueltig(abgang) || !Gueltig(bezug))
        return Null(out);
    return Sicher(Ausgeben(out, "", 0), [&] {
        if (Tag(geburt) == 0)
            return Ausgeben(out, "", 0);
        const int64_t ende = Tag(abgang) != 0 ? Tag(abgang) : Tag(bezug);
        const int64_t tage = ende - Tag(geburt);
        std::string text;
        if (tage == 1) {
            text = "1 Tag";
        } else if (tage <= 14) {
            text = std::to_string(tage) + " Tage";
        } else if (tage <= 62) {
            text = std::to_string(tage / 7) + " W";
        } else {
            const auto jahre = static_cast<int64_t>(static_cast<double>(tage) / 365.25);
            const auto monate =
                static_cast<int64_t>((static_cast<double>(tage) - jahre * 365.25) / 30.4);
            if (jahre > 0)
                text = std::to_string(jahre) + " J ";
            text += std::to_string(monate) + " M";
        }
        return Ausgeben(out, text, Breite::Alter);
    });
}

char* ZRNV_DATE2STR(const ISC_TIMESTAMP* datum, char* out)
{
    if (!Gueltig(datum))
        return Null(out);
    return Sicher(Ausgeben(out, "", 0), [&] {
        return Ausgeben(out, Tag(datum) == 0 ? "" : DatumLang(Tag(datum)), Breite::Datum);
    });
}

char* ZRNV_DATE2STRSHORT(const ISC_TIMESTAMP* datum, char* out)
{
    if (!Gueltig(datum))
        return Null(out);
    return Sicher(Ausgeben(out, "", 0), [&] {
        return Ausgeben(out, Tag(datum) == 0 ? "" : DatumKurz(Tag(datum)), Breite::DatumKurz);
    });
}

char* ZRNV_DATE2STR_FORMAT(const ISC_TIMESTAMP* datum, const char* muster, char* out)
{
    if (!Gueltig(datum))
        return Null(out);
    return Sicher(Ausgeben(out, "", 0), [&] {
        if (Tag(datum) == 0)
            return Ausgeben(out, "", 0);
        const auto text = DatumFormatieren(Tag(datum), Argument(muster, Breite::Muster));
        return Ausgeben(out, text ? *text : "-ERROR-", Breite::DatumFormat);
    });
}

char* ZRNV_DATE2STR_HEUTE(const ISC_TIMESTAMP* datum, const ISC_LONG* gross, char* out)
{
    if (!Gueltig(datum))
        return Null(out);
    return Sicher(Ausgeben(out, "", 0), [&] {
        const int tag = Tag(datum);
        if (tag == 0)
            return Ausgeben(out, "", 0);
        if (tag == Heute())
            return Ausgeben(out, gross != nullptr && *gross != 0 ? "Heute" : "heute",
                            Breite::Datum);
        return Ausgeben(out, DatumLang(tag), Breite::Datum);
    });
}

char* ZRNV_WOCHENTAG(const ISC_TIMESTAMP* datum, char* out)
{
    if (!Gueltig(datum))
        return Null(out);
    return Sicher(Ausgeben(out, "", 0), [&] {
        return Ausgeben(out, Tag(datum) == 0 ? "" : WochentagName(Tag(datum)), Breite::Wochentag);
    });
}

ISC_TIMESTAMP* ZRNV_TERMIN_LAGE(const ISC_TIMESTAMP* datum, const char* tage)
{
    if (datum == nullptr || !ImBereich(datum->timestamp_date))
        return nullptr;
    tTerminLage = *datum;
    return Sicher(&tTerminLage, [&] {
        const int wochentag = Wochentag(datum->timestamp_date);
        std::string liste(Argument(tage, Breite::Wochentage));
        for (char& c : liste)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        int bester = 7;
        // Codes stand at every third place: two letters and a separator.
        for (std::size_t pos = 0; pos < liste.size(); pos += 3) {
            const std::string_view token = std::string_view(liste).substr(pos, 2);
            for (std::size_t i = 0; i < kTagCodes.size(); ++i) {
                if (token != kTagCodes[i])
                    continue;
                int schritt = static_cast<int>(i) + 1 - wochentag;
                if (schritt > 3)
                    schritt -= 7;
                else if (schritt < -3)
                    schritt += 7;
                if (std::abs(schritt) < std::abs(bester))
                    bester = schritt;
            }
        }
        if (bester > 3)
            bester -= 7;
        else if (bester < -3)
            bester += 7;
        // At the ends of the engine's range the date stays as it was, as in ZRNV_DATE_ADD.
        const int64_t ziel = static_cast<int64_t>(datum->timestamp_date) + bester;
        if (ImBereich(ziel))
            tTerminLage.timestamp_date = static_cast<ISC_DATE>(ziel);
        return &tTerminLage;
    });
}

char* ZRNV_SORT_WOCHENTAGE(const char* tage, char* out)
{
    return Sicher(Ausgeben(out, "", 0), [&] {
        const std::string_view text = Argument(tage, Breite::Wochentage);
        std::string ergebnis;
        for (std::string_view code : kTagCodes) {
            if (text.find(code) == std::string_view::npos)
                continue;
            if (!ergebnis.empty())
                ergebnis += ';';
            ergebnis += code;
        }
        // An empty list and a full list both mean every day.
        if (ergebnis == "MO;DI;MI;DO;FR;SA;SO")
            ergebnis.clear();
        return Ausgeben(out, ergebnis, Breite::WochentageSortiert);
    });
}

ISC_TIMESTAMP* ZRNV_DATE_ADD(const ISC_TIMESTAMP* datum, const ISC_LONG* monate,
                             const ISC_LONG* jahre)
{
    if (datum == nullptr || !ImBereich(datum->timestamp_date))
        return nullptr;
    tDatumAdd = *datum;
    return Sicher(&tDatumAdd, [&] {
        const auto tag = MonateAddieren(datum->timestamp_date, monate != nullptr ? *monate : 0,
                                        jahre != nullptr ? *jahre : 0);
        if (tag)
            tDatumAdd.timestamp_date = *tag;
        return &tDatumAdd;
    });
}
