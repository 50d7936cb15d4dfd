// The functions for the engine's UDR plugin (declared CREATE FUNCTION ... ENGINE UDR). A legacy
// external function costs the engine a change of its signal handlers on every call; a UDR call
// does not. Each UDR function unpacks the engine's message, calls the legacy entry point of the
// same name and packs its result, so that both declarations give the same values.
#include "UdfBreiten.h"
#include "UdfExport.h"

#include <firebird/Interface.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace Udf;

namespace {

using Firebird::FbException;
using Firebird::IStatus;
using Status = Firebird::ThrowStatusWrapper;

// The message types the module accepts; a declaration that differs is refused when the engine
// prepares a statement, never misread at run time.
enum class Typ { Zeitstempel, Ganzzahl, Gross, Kommazahl, Text, Blob };

struct Feld {
    Typ typ;
    unsigned laenge = 0;  // text result: the room it needs
};

constexpr unsigned kIso8859_1 = 21;
// Room for the texts of one call: the longest argument list (ZRNV_STR_CAT, 2 x 1000) and the
// longest result (ZRNV_HIT_MELDUNG_WERTE, 8000), each with its terminating zero.
constexpr std::size_t kArgumentRaum = 4096;
constexpr std::size_t kErgebnisRaum = 8192;

[[noreturn]] void Fehler(Status* status, const std::string& text)
{
    const intptr_t vektor[] = {isc_arg_gds, isc_random, isc_arg_string,
                               reinterpret_cast<intptr_t>(text.c_str()), isc_arg_end};
    throw FbException(status, vektor);
}

class Aufruf;
using Rumpf = void (*)(Aufruf&);

struct Beschreibung {
    const char* name;
    std::vector<Feld> ein;
    Feld aus;
    Rumpf rumpf;
};

struct Platz {
    unsigned daten;
    unsigned null;
};

template <typename T>
struct Freigeben {
    void operator()(T* p) const { p->release(); }
};
template <typename T>
using Halter = std::unique_ptr<T, Freigeben<T>>;

// Reads a blob argument for the legacy blob callback.
class BlobLeser {
public:
    BlobLeser(Status* status, Firebird::IExternalContext* kontext, ISC_QUAD id) : status_(status)
    {
        attachment_.reset(kontext->getAttachment(status));
        transaction_.reset(kontext->getTransaction(status));
        blob_.reset(attachment_->openBlob(status, transaction_.get(), &id, 0, nullptr));
        const unsigned char frage[] = {isc_info_blob_total_length};
        std::array<unsigned char, 16> antwort{};
        blob_->getInfo(status, sizeof frage, frage, antwort.size(), antwort.data());
        // Item, a 2-byte length, then the value; both little-endian.
        if (antwort[0] != isc_info_blob_total_length)
            Fehler(status, "Die Länge eines Blobs ist nicht lesbar.");
        const unsigned laenge = std::min<unsigned>(antwort[1] | (antwort[2] << 8), 8);
        uint64_t gesamt = 0;
        for (unsigned i = 0; i < laenge; ++i)
            gesamt |= static_cast<uint64_t>(antwort[3 + i]) << (8 * i);
        rueckruf_.blob_get_segment = &Segment;
        rueckruf_.blob_handle = this;
        rueckruf_.blob_total_length = static_cast<ISC_LONG>(std::min<uint64_t>(gesamt, INT32_MAX));
    }

    BLOBCALLBACK Rueckruf() { return &rueckruf_; }

    // An engine error while reading ends the blob for the legacy function and is raised after it:
    // a cut text must not pass for the blob's beginning.
    void FehlerWeitergeben() const
    {
        if (fehler_)
            throw FbException(status_);
    }

private:
    static short Segment(void* handle, ISC_UCHAR* puffer, ISC_USHORT groesse, ISC_USHORT* laenge)
    {
        auto* leser = static_cast<BlobLeser*>(handle);
        *laenge = 0;
        if (leser->fehler_)
            return blb_got_eof;
        try {
            unsigned gelesen = 0;
            const int ergebnis =
                leser->blob_->getSegment(leser->status_, groesse, puffer, &gelesen);
            *laenge = static_cast<ISC_USHORT>(gelesen);
            if (ergebnis == IStatus::RESULT_NO_DATA)
                return blb_got_eof;
            return ergebnis == IStatus::RESULT_SEGMENT ? blb_got_fragment : blb_got_full_segment;
        } catch (const FbException&) {
            leser->fehler_ = true;
            return blb_got_eof;
        }
    }

    Status* status_;
    Halter<Firebird::IAttachment> attachment_;
    Halter<Firebird::ITransaction> transaction_;
    Halter<Firebird::IBlob> blob_;
    blobcallback rueckruf_{};
    bool fehler_ = false;
};

// One call: the arguments as the legacy entry points take them, and the place of the result.
class Aufruf {
public:
    Aufruf(Status* status, Firebird::IExternalContext* kontext, const std::vector<Platz>& ein,
           Platz aus, unsigned ausLaenge, const unsigned char* eingabe, unsigned char* ausgabe)
        : status_(status),
          kontext_(kontext),
          ein_(ein),
          aus_(aus),
          ausLaenge_(ausLaenge),
          eingabe_(eingabe),
          ausgabe_(ausgabe)
    {
    }

    // SQL NULL arrives as a null pointer, as for a legacy argument declared NULL; the legacy
    // functions treat it as 0, an empty text or no date.
    const ISC_TIMESTAMP* Zeitstempel(std::size_t i) const { return Wert<ISC_TIMESTAMP>(i); }
    const ISC_LONG* Ganzzahl(std::size_t i) const { return Wert<ISC_LONG>(i); }
    const double* Kommazahl(std::size_t i) const { return Wert<double>(i); }

    const char* Text(std::size_t i)
    {
        if (IstNull(i))
            return nullptr;
        const unsigned char* v = eingabe_ + ein_[i].daten;
        ISC_USHORT laenge = 0;
        std::memcpy(&laenge, v, sizeof laenge);
        char* ziel = texte_.data() + textBelegt_;
        std::memcpy(ziel, v + sizeof laenge, laenge);
        ziel[laenge] = '\0';
        textBelegt_ += laenge + 1u;
        return ziel;
    }

    BLOBCALLBACK Blob(std::size_t i)
    {
        if (IstNull(i))
            return nullptr;
        ISC_QUAD id;
        std::memcpy(&id, eingabe_ + ein_[i].daten, sizeof id);
        blob_.emplace(status_, kontext_, id);
        return blob_->Rueckruf();
    }

    char* Puffer() { return ergebnis_.data(); }

    void TextErgebnis(const char* text)
    {
        if (!NullSetzen(text == nullptr))
            return;
        const std::size_t laenge = std::strlen(text);
        // The legacy functions cut at their widths, which the declarations give room for.
        if (laenge > ausLaenge_)
            Fehler(status_, "Das Ergebnis ist länger als die Deklaration der Funktion.");
        const auto l = static_cast<ISC_USHORT>(laenge);
        std::memcpy(ausgabe_ + aus_.daten, &l, sizeof l);
        std::memcpy(ausgabe_ + aus_.daten + sizeof l, text, laenge);
    }

    // A result the legacy function returns by reference; null is SQL NULL.
    template <typename T>
    void ZeigerErgebnis(const T* wert)
    {
        if (NullSetzen(wert == nullptr))
            std::memcpy(ausgabe_ + aus_.daten, wert, sizeof(T));
    }

    void ZahlErgebnis(ISC_LONG wert) { ZeigerErgebnis(&wert); }

    void Abschliessen() const
    {
        if (blob_)
            blob_->FehlerWeitergeben();
    }

private:
    bool IstNull(std::size_t i) const
    {
        ISC_SHORT null = 0;
        std::memcpy(&null, eingabe_ + ein_[i].null, sizeof null);
        return null != 0;
    }

    template <typename T>
    const T* Wert(std::size_t i) const
    {
        return IstNull(i) ? nullptr : reinterpret_cast<const T*>(eingabe_ + ein_[i].daten);
    }

    // Sets the result's null flag; true when a value follows.
    bool NullSetzen(bool null)
    {
        const ISC_SHORT flag = null ? -1 : 0;
        std::memcpy(ausgabe_ + aus_.null, &flag, sizeof flag);
        return !null;
    }

    Status* status_;
    Firebird::IExternalContext* kontext_;
    const std::vector<Platz>& ein_;
    Platz aus_;
    unsigned ausLaenge_;
    const unsigned char* eingabe_;
    unsigned char* ausgabe_;
    std::array<char, kArgumentRaum> texte_;
    std::size_t textBelegt_ = 0;
    std::array<char, kErgebnisRaum> ergebnis_;
    std::optional<BlobLeser> blob_;
};

class Funktion : public Firebird::IExternalFunctionImpl<Funktion, Status> {
public:
    Funktion(const Beschreibung& b, std::vector<Platz> ein, Platz aus, unsigned ausLaenge)
        : b_(b), ein_(std::move(ein)), aus_(aus), ausLaenge_(ausLaenge)
    {
    }

    void dispose() override { delete this; }

    void getCharSet(Status*, Firebird::IExternalContext*, char*, unsigned) override {}

    void execute(Status* status, Firebird::IExternalContext* kontext, void* ein, void* aus) override
    {
        Aufruf a(status, kontext, ein_, aus_, ausLaenge_, static_cast<const unsigned char*>(ein),
                 static_cast<unsigned char*>(aus));
        b_.rumpf(a);
        a.Abschliessen();
    }

private:
    const Beschreibung& b_;
    const std::vector<Platz> ein_;
    const Platz aus_;
    const unsigned ausLaenge_;
};

const char* TypName(Typ t)
{
    switch (t) {
        case Typ::Zeitstempel:
            return "TIMESTAMP";
        case Typ::Ganzzahl:
            return "INTEGER";
        case Typ::Gross:
            return "BIGINT";
        case Typ::Kommazahl:
            return "DOUBLE PRECISION";
        case Typ::Text:
            return "VARCHAR CHARACTER SET ISO8859_1";
        case Typ::Blob:
            return "BLOB";
    }
    return "?";
}

bool Passt(Status* status, Firebird::IMessageMetadata* m, unsigned i, Typ typ)
{
    const unsigned sqlTyp = m->getType(status, i) & ~1u;
    switch (typ) {
        case Typ::Zeitstempel:
            return sqlTyp == SQL_TIMESTAMP;
        case Typ::Ganzzahl:
            return sqlTyp == SQL_LONG && m->getScale(status, i) == 0;
        case Typ::Gross:
            return sqlTyp == SQL_INT64 && m->getScale(status, i) == 0;
        case Typ::Kommazahl:
            return sqlTyp == SQL_DOUBLE;
        case Typ::Text:
            return sqlTyp == SQL_VARYING && m->getCharSet(status, i) == kIso8859_1;
        case Typ::Blob:
            return sqlTyp == SQL_BLOB;
    }
    return false;
}

class Fabrik : public Firebird::IUdrFunctionFactoryImpl<Fabrik, Status> {
public:
    explicit Fabrik(const Beschreibung& b) : b_(b) {}

    const char* Name() const { return b_.name; }

    // The factories live as long as the module.
    void dispose() override {}

    // Runs when the engine prepares a statement that uses the function.
    void setup(Status* status, Firebird::IExternalContext*, Firebird::IRoutineMetadata* metadata,
               Firebird::IMetadataBuilder*, Firebird::IMetadataBuilder*) override
    {
        Pruefen(status, metadata);
    }

    Firebird::IExternalFunction* newItem(Status* status, Firebird::IExternalContext*,
                                         Firebird::IRoutineMetadata* metadata) override
    {
        Pruefen(status, metadata);
        Firebird::IMessageMetadata* ein = metadata->getInputMetadata(status);
        std::vector<Platz> plaetze;
        for (unsigned i = 0; i < b_.ein.size(); ++i)
            plaetze.push_back({ein->getOffset(status, i), ein->getNullOffset(status, i)});
        ein->release();
        Firebird::IMessageMetadata* aus = metadata->getOutputMetadata(status);
        const Platz platz{aus->getOffset(status, 0), aus->getNullOffset(status, 0)};
        const unsigned laenge = aus->getLength(status, 0);
        aus->release();
        return new Funktion(b_, std::move(plaetze), platz, laenge);
    }

private:
    void Pruefen(Status* status, Firebird::IRoutineMetadata* metadata) const
    {
        const std::string anfang = std::string("Die Funktion ") + metadata->getName(status) +
                                   " ist anders deklariert als " + b_.name +
                                   " im Modul bovantis_udf: ";
        Firebird::IMessageMetadata* ein = metadata->getInputMetadata(status);
        Firebird::IMessageMetadata* aus = metadata->getOutputMetadata(status);
        std::string fehler;
        std::size_t textRaum = 0;
        if (ein->getCount(status) != b_.ein.size()) {
            fehler = std::to_string(b_.ein.size()) + " Parameter erwartet.";
        } else {
            for (unsigned i = 0; i < b_.ein.size() && fehler.empty(); ++i) {
                if (!Passt(status, ein, i, b_.ein[i].typ))
                    fehler = "Parameter " + std::to_string(i + 1) + " muss " +
                             TypName(b_.ein[i].typ) + " sein.";
                else if (b_.ein[i].typ == Typ::Text)
                    textRaum += ein->getLength(status, i) + 1u;
            }
            if (fehler.empty() && textRaum > kArgumentRaum)
                fehler = "Die Texte der Parameter sind zu lang.";
        }
        if (fehler.empty()) {
            if (aus->getCount(status) != 1 || !Passt(status, aus, 0, b_.aus.typ))
                fehler = std::string("Das Ergebnis muss ") + TypName(b_.aus.typ) + " sein.";
            else if (b_.aus.typ == Typ::Text && aus->getLength(status, 0) < b_.aus.laenge)
                fehler =
                    "Das Ergebnis braucht Platz für " + std::to_string(b_.aus.laenge) + " Zeichen.";
        }
        ein->release();
        aus->release();
        if (!fehler.empty())
            Fehler(status, anfang + fehler);
    }

    const Beschreibung& b_;
};

constexpr Feld Z{Typ::Zeitstempel};
constexpr Feld I{Typ::Ganzzahl};
constexpr Feld B{Typ::Blob};
constexpr Feld S{Typ::Text};
constexpr Feld T(std::size_t breite)
{
    return {Typ::Text, static_cast<unsigned>(breite)};
}

// Text results carry the most characters the legacy function writes, so that a declaration with
// less room is refused. Argument texts may be declared with any width: the legacy functions read
// no further than their own.
const std::vector<Beschreibung> kFunktionen = {
    {"ZRNV_ALTER",
     {Z, Z, Z},
     T(Breite::Alter),
     [](Aufruf& a) {
         a.TextErgebnis(
             ZRNV_ALTER(a.Zeitstempel(0), a.Zeitstempel(1), a.Zeitstempel(2), a.Puffer()));
     }},
    {"ZRNV_DATE2STR",
     {Z},
     T(Breite::Datum),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_DATE2STR(a.Zeitstempel(0), a.Puffer())); }},
    {"ZRNV_DATE2STRSHORT",
     {Z},
     T(Breite::DatumKurz),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_DATE2STRSHORT(a.Zeitstempel(0), a.Puffer())); }},
    {"ZRNV_DATE2STR_FORMAT",
     {Z, S},
     T(Breite::DatumFormat),
     [](Aufruf& a) {
         a.TextErgebnis(ZRNV_DATE2STR_FORMAT(a.Zeitstempel(0), a.Text(1), a.Puffer()));
     }},
    {"ZRNV_DATE2STR_HEUTE",
     {Z, I},
     T(Breite::Datum),
     [](Aufruf& a) {
         a.TextErgebnis(ZRNV_DATE2STR_HEUTE(a.Zeitstempel(0), a.Ganzzahl(1), a.Puffer()));
     }},
    {"ZRNV_WOCHENTAG",
     {Z},
     T(Breite::Wochentag),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_WOCHENTAG(a.Zeitstempel(0), a.Puffer())); }},
    {"ZRNV_FORMATBNR",
     {S},
     T(Breite::Bnr),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_FORMATBNR(a.Text(0), a.Puffer())); }},
    {"ZRNV_CORRECTBNR",
     {S},
     T(Breite::BnrKorrigiert),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_CORRECTBNR(a.Text(0))); }},
    {"ZRNV_ENCODELOM",
     {S},
     {Typ::Gross},
     [](Aufruf& a) { a.ZeigerErgebnis(ZRNV_ENCODELOM(a.Text(0))); }},
    {"ZRNV_DECODELOM",
     {S},
     T(Breite::LomGedruckt),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_DECODELOM(a.Text(0), a.Puffer())); }},
    {"ZRNV_FORMATZAHL",
     {I, I},
     T(Breite::FormatZahl),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_FORMATZAHL(a.Ganzzahl(0), a.Ganzzahl(1), a.Puffer())); }},
    {"ZRNV_FORMATFLOAT",
     {{Typ::Kommazahl}, S},
     T(Breite::FormatFloat),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_FORMATFLOAT(a.Kommazahl(0), a.Text(1), a.Puffer())); }},
    {"ZRNV_FORMATINT",
     {I},
     T(Breite::FormatInt),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_FORMATINT(a.Ganzzahl(0), a.Puffer())); }},
    {"ZRNV_HARNSTOFF",
     {I, I},
     T(Breite::Harnstoff),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_HARNSTOFF(a.Ganzzahl(0), a.Ganzzahl(1), a.Puffer())); }},
    {"ZRNV_DEBUG",
     {S},
     T(Breite::Debug),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_DEBUG(a.Text(0), a.Puffer())); }},
    {"ZRNV_TERMIN_LAGE",
     {Z, S},
     Z,
     [](Aufruf& a) { a.ZeigerErgebnis(ZRNV_TERMIN_LAGE(a.Zeitstempel(0), a.Text(1))); }},
    {"ZRNV_GET_FELD",
     {S},
     T(Breite::Feldliste),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_GET_FELD(a.Text(0), a.Puffer())); }},
    {"ZRNV_DEL_FELD",
     {S},
     T(Breite::Feldliste),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_DEL_FELD(a.Text(0), a.Puffer())); }},
    {"ZRNV_GET_QUELLE", {S}, I, [](Aufruf& a) { a.ZahlErgebnis(ZRNV_GET_QUELLE(a.Text(0))); }},
    {"ZRNV_IS_SPEZIALFELD",
     {S},
     I,
     [](Aufruf& a) { a.ZahlErgebnis(ZRNV_IS_SPEZIALFELD(a.Text(0))); }},
    {"ZRNV_GET_FELD_PUR",
     {S},
     T(Breite::Feldname),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_GET_FELD_PUR(a.Text(0), a.Puffer())); }},
    {"ZRNV_BLOB_LEFT",
     {B, I},
     T(Breite::BlobLinks),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_BLOB_LEFT(a.Blob(0), a.Ganzzahl(1), a.Puffer())); }},
    {"ZRNV_SORT_WOCHENTAGE",
     {S},
     T(Breite::WochentageSortiert),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_SORT_WOCHENTAGE(a.Text(0), a.Puffer())); }},
    {"EOL", {}, T(Breite::Eol), [](Aufruf& a) { a.TextErgebnis(EOL(a.Puffer())); }},
    {"ZRNV_STR_CAT",
     {S, S},
     T(Breite::StrCat),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_STR_CAT(a.Text(0), a.Text(1), a.Puffer())); }},
    {"ZRNV_GESCHLECHT",
     {S},
     T(Breite::Geschlecht),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_GESCHLECHT(a.Text(0), a.Puffer())); }},
    {"ZRNV_HIT_MELDUNG_DISP",
     {S},
     T(Breite::Meldung),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_HIT_MELDUNG_DISP(a.Text(0), a.Puffer())); }},
    {"ZRNV_HIT_SCHWERE",
     {I},
     T(Breite::Schwere),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_HIT_SCHWERE(a.Ganzzahl(0), a.Puffer())); }},
    {"ZRNV_HIT_MELDUNG_WERTE",
     {S},
     T(Breite::WerteText),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_HIT_MELDUNG_WERTE(a.Text(0), a.Puffer())); }},
    {"ZRNV_MELDUNG_WERTE",
     {S, S},
     T(Breite::Werte),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_MELDUNG_WERTE(a.Text(0), a.Text(1), a.Puffer())); }},
    {"ZRNV_BESAMUNGSSTATION",
     {S},
     T(Breite::Station),
     [](Aufruf& a) { a.TextErgebnis(ZRNV_BESAMUNGSSTATION(a.Text(0), a.Puffer())); }},
    {"ZRNV_DATE_ADD",
     {Z, I, I},
     Z,
     [](Aufruf& a) {
         a.ZeigerErgebnis(ZRNV_DATE_ADD(a.Zeitstempel(0), a.Ganzzahl(1), a.Ganzzahl(2)));
     }},
    {"ZRNV_SET_HOTSYNC",
     {I},
     I,
     [](Aufruf& a) { a.ZahlErgebnis(ZRNV_SET_HOTSYNC(a.Ganzzahl(0))); }},
    {"ZRNV_GET_HOTSYNC", {}, I, [](Aufruf& a) { a.ZahlErgebnis(ZRNV_GET_HOTSYNC()); }},
};

std::deque<Fabrik>& Fabriken()
{
    static std::deque<Fabrik> fabriken = [] {
        std::deque<Fabrik> f;
        for (const Beschreibung& b : kFunktionen)
            f.emplace_back(b);
        return f;
    }();
    return fabriken;
}

// Tells the UDR engine when the module is unloaded (the engine must not call it afterwards).
class Entladung {
public:
    explicit Entladung(FB_BOOLEAN* ihreMarke) : ihreMarke_(ihreMarke) {}
    ~Entladung()
    {
        if (!meineMarke_)
            *ihreMarke_ = FB_TRUE;
    }
    Entladung(const Entladung&) = delete;
    Entladung& operator=(const Entladung&) = delete;

    FB_BOOLEAN* Marke() { return &meineMarke_; }

private:
    FB_BOOLEAN meineMarke_ = FB_FALSE;
    FB_BOOLEAN* ihreMarke_;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) FB_BOOLEAN* firebird_udr_plugin(
    IStatus* status, FB_BOOLEAN* ihreMarke, Firebird::IUdrPlugin* plugin)
{
    Firebird::CheckStatusWrapper s(status);
    for (Fabrik& f : Fabriken()) {
        plugin->registerFunction(&s, f.Name(), &f);
        if (s.getState() & IStatus::STATE_ERRORS)
            break;
    }
    static Entladung entladung(ihreMarke);
    return entladung.Marke();
}
