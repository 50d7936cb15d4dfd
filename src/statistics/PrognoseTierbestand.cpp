#include "PrognoseTierbestand.h"

#include <algorithm>
#include <climits>

namespace {

int Tag(const QDate& d)
{
    return d.isValid() ? int(d.toJulianDay()) : 0;
}

bool Beginnt(const QString& s, char c)
{
    return !s.isEmpty() && s.at(0) == QLatin1Char(c);
}

bool Ist(const QString& s, const char* wert)
{
    return s == QLatin1String(wert);
}

// Ages in days at which the age classes begin: under 3 months, under 6 months, under a year,
// under two years, older.
constexpr std::array<int, 5> AltersGrenzen{INT_MIN / 2, 91, 182, 365, 730};

}  // namespace

TPrognoseTierbestand::TPrognoseTierbestand(TPrognoseDatenquelle& quelle) : quelle_(quelle) {}

QDate TPrognoseTierbestand::Von() const
{
    return von_ == 0 ? QDate() : QDate::fromJulianDay(von_);
}

void TPrognoseTierbestand::SetVon(const QDate& von)
{
    von_ = Tag(von);
}

QDate TPrognoseTierbestand::Bis() const
{
    return ende_ == 0 ? QDate() : QDate::fromJulianDay(ende_ - 1);
}

void TPrognoseTierbestand::SetBis(const QDate& bis)
{
    ende_ = bis.isValid() ? Tag(bis) + 1 : 0;
}

void TPrognoseTierbestand::ZaehleBereich(int anfang, int ende, int kategorie)
{
    anfang = std::max(anfang, von_);
    ende = std::min(ende, ende_);
    for (int d = anfang; d < ende; ++d)
        ++bestand_[std::size_t(d - von_)][std::size_t(kategorie)];
}

void TPrognoseTierbestand::ZaehleTier(int anfang, int ende, int geburt, const QString& geschlecht,
                                      const QString& status, int kuhSeit, const QString& statusExt)
{
    if (anfang >= ende)
        return;
    const int morgen = heute_ + 1;
    const auto altersklassen = [&](int bis, const std::array<int, 5>& kategorien) {
        for (std::size_t i = 0; i < AltersGrenzen.size(); ++i) {
            const int ab = std::max(anfang, geburt + AltersGrenzen[i]);
            const int vor =
                i + 1 < AltersGrenzen.size() ? std::min(bis, geburt + AltersGrenzen[i + 1]) : bis;
            ZaehleBereich(ab, vor, kategorien[i]);
        }
    };
    if (Ist(geschlecht, "M")) {
        // Young males and fattening animals leave at their selling age; the forecast never keeps
        // an animal beyond the end of its stay.
        if (ende > morgen) {
            if (Ist(status, "J"))
                ende = std::min(ende, std::max(geburt + einstellungen_.MKalbVerkaufen, morgen));
            else if (Ist(status, "M"))
                ende = std::min(ende, std::max(geburt + einstellungen_.MastVerkaufen, morgen));
        }
        altersklassen(ende, {0, 1, 2, 3, 4});
        return;
    }
    const int jungEnde = kuhSeit != 0 ? std::min(ende, kuhSeit) : ende;
    if (Ist(statusExt, "P"))
        altersklassen(jungEnde, {5, 6, 10, 11, 12});
    else
        altersklassen(jungEnde, {5, 6, 7, 8, 9});
    if (kuhSeit > 0)
        ZaehleBereich(std::max(anfang, kuhSeit), ende, Ist(statusExt, "M") ? 14 : 13);
}

void TPrognoseTierbestand::FaktorenSetzen(const TGVFaktoren& f)
{
    faktoren_.fill(0);
    faktoren_[0] = faktoren_[1] = faktoren_[5] = faktoren_[6] = f.Kalb6M;
    faktoren_[2] = f.M6M1J;
    faktoren_[3] = f.M1J2J;
    faktoren_[4] = f.MU2J;
    faktoren_[7] = f.W6M1J;
    faktoren_[8] = f.W1J2J;
    faktoren_[9] = f.WU2J;
    faktoren_[10] = f.P6M1J;
    faktoren_[11] = f.P1J2J;
    faktoren_[12] = f.PU2J;
    faktoren_[13] = f.Bovantis;
    faktoren_[14] = f.Mutterkuh;
}

void TPrognoseTierbestand::BestandBerechnen(int stall)
{
    kalbWeiblich_ = true;
    if (von_ >= ende_) {
        bestand_.clear();
        return;
    }
    bestand_.assign(std::size_t(ende_ - von_), TTagesBestand{});
    faktoren_.fill(0);
    heute_ = quelle_.Heute();
    einstellungen_ = quelle_.Einstellungen();
    FaktorenSetzen(quelle_.GVFaktoren());
    const int morgen = heute_ + 1;

    const std::vector<TPrognoseTier> tiere = quelle_.Tiere(von_, ende_);
    std::map<int, std::vector<TAufenthalt>> aufenthalte = quelle_.Aufenthalte(von_, ende_, stall);
    for (const TPrognoseTier& tier : tiere) {
        auto it = aufenthalte.find(tier.ID);
        if (it == aufenthalte.end() || it->second.empty())
            continue;
        // The last stay decides whether the animal is still here, whatever order the source
        // delivered them in.
        std::vector<TAufenthalt>& stays = it->second;
        std::stable_sort(stays.begin(), stays.end(),
                         [](const TAufenthalt& a, const TAufenthalt& b) {
                             if (a.Von != b.Von)
                                 return a.Von < b.Von;
                             return a.Bis != 0 && (b.Bis == 0 || a.Bis < b.Bis);
                         });
        // A female's past counts up to today; her future comes from the forecast. Every sex other
        // than "M" counts as female, here as in the categories.
        const bool weiblich = !Ist(tier.Geschlecht, "M");
        const int grenze = weiblich ? std::min(ende_, morgen) : ende_;
        for (const TAufenthalt& a : stays) {
            const int anfang = std::max(a.Von, von_);
            const int ende = a.Bis == 0 ? grenze : std::min(grenze, a.Bis);
            ZaehleTier(anfang, ende, tier.Geburt, tier.Geschlecht, tier.Status, tier.KuhSeit,
                       tier.StatusExt);
        }
        if (ende_ > morgen && weiblich && stays.back().Bis == 0)
            PrognoseKuh(tier);
    }
    if (ende_ > morgen) {
        const int maximum = std::max(0, einstellungen_.MaxKuhzahl);
        for (int d = std::max(morgen, von_); d < ende_; ++d) {
            int& kuehe = bestand_[std::size_t(d - von_)][13];
            kuehe = std::min(kuehe, maximum);
        }
    }
}

void TPrognoseTierbestand::PrognoseKuh(const TPrognoseTier& tier)
{
    const int morgen = heute_ + 1;
    const QString weiblich = QStringLiteral("W");
    int c = 0;
    if (tier.KuhSeit == 0) {
        if (Ist(tier.Status, "M")) {
            ZaehleTier(morgen, std::min(ende_, tier.Geburt + einstellungen_.MastVerkaufen),
                       tier.Geburt, weiblich, tier.Status, 0, tier.StatusExt);
            return;
        }
        if (Beginnt(tier.Status, 'A') || Beginnt(tier.Status, 'U') || Ist(tier.StatusExt, "P")) {
            ZaehleTier(morgen, ende_, tier.Geburt, weiblich, tier.Status, 0, tier.StatusExt);
            return;
        }
        if (Ist(tier.Status, "T") || tier.Besamungen > 0)
            c = tier.SollKalben;
        else
            c = tier.Geburt + einstellungen_.KalbBesamen + tier.Tragezeit;
        c = std::max(c, morgen);
        ZaehleTier(morgen, c, tier.Geburt, weiblich, tier.Status, 0, tier.StatusExt);
    } else {
        c = tier.KuhSeit;
    }
    if (c > ende_)
        return;
    ZaehleBereich(std::max(c, morgen), ende_, 13);
    if (Beginnt(tier.Status, 'A') || Beginnt(tier.Status, 'M') || Beginnt(tier.Status, 'U'))
        return;

    int l = std::max(c, tier.LetzteKalbung);
    int n = tier.SollKalben;
    int i = tier.LetzteBesamung;
    if (tier.KuhSeit == 0) {
        // A heifer's forecast first calving brings its calf, however the day was found.
        n = c;
        i = 0;
    } else {
        if (n < l)
            n = 0;
        // An expected calving on the day of the last calving is that calving, whose calf is in
        // the herd already.
        if (i < l) {
            i = 0;
            n = 0;
        }
    }
    while (l < ende_) {
        if (n == 0) {
            if (i == 0)
                i = std::max(l + einstellungen_.KuhBesamen, morgen);
            n = i + tier.Tragezeit;
            // Settings whose insemination interval and gestation add up to no time at all would
            // never leave this day.
            if (n <= l)
                return;
        }
        n = std::max(n, morgen);
        if (n >= ende_)
            return;
        const bool weiblichesKalb = kalbWeiblich_;
        kalbWeiblich_ = !kalbWeiblich_;
        ZaehleTier(n, ende_, n, weiblichesKalb ? weiblich : QStringLiteral("M"),
                   QStringLiteral("J"), 0, QStringLiteral("N"));
        l = n;
        n = 0;
        i = 0;
    }
}

void TPrognoseTierbestand::LaktationenBerechnen(int stall)
{
    if (von_ >= ende_) {
        bestand_.clear();
        return;
    }
    heute_ = quelle_.Heute();
    const int morgen = heute_ + 1;
    if (ende_ > morgen)
        ende_ = morgen;
    bestand_.assign(std::size_t(std::max(0, ende_ - von_)), TTagesBestand{});
    if (bestand_.empty())
        return;

    const std::vector<TPrognoseTier> tiere = quelle_.Tiere(von_, ende_);
    const std::map<int, std::vector<TAufenthalt>> aufenthalte =
        quelle_.Aufenthalte(von_, ende_, stall);
    const std::map<int, std::vector<TKalbungNr>> kalbungen = quelle_.Kalbungen(von_, ende_);
    for (const TPrognoseTier& tier : tiere) {
        if (tier.KuhSeit == 0)
            continue;
        const auto stays = aufenthalte.find(tier.ID);
        const auto kIt = kalbungen.find(tier.ID);
        if (stays == aufenthalte.end() || kIt == kalbungen.end())
            continue;
        // Calving days by number; a calving without a number of at least 1 has no lactation.
        std::map<int, int> k;
        for (const TKalbungNr& kalbung : kIt->second)
            if (kalbung.Nr >= 1 && kalbung.Datum > 0)
                k[kalbung.Nr] = kalbung.Datum;
        for (const TAufenthalt& a : stays->second) {
            const int anfang = std::max(a.Von, von_);
            const int ende = a.Bis == 0 ? ende_ : std::min(ende_, a.Bis);
            for (auto n = k.begin(); n != k.end(); ++n) {
                const auto naechste = std::next(n);
                const int e = std::min(naechste == k.end() ? ende : naechste->second, ende);
                ZaehleBereich(std::max(anfang, n->second), e, n->first <= 6 ? 22 - n->first : 15);
            }
        }
    }
}

int TPrognoseTierbestand::Index(const QDate& tag) const
{
    const int d = Tag(tag);
    if (d == 0 || d < von_ || d - von_ >= int(bestand_.size()))
        return -1;
    return d - von_;
}

TPrognoseTierbestand::TTagesBestand TPrognoseTierbestand::GetTag(const QDate& tag) const
{
    const int i = Index(tag);
    return i < 0 ? TTagesBestand{} : bestand_[std::size_t(i)];
}

long double TPrognoseTierbestand::GetGVE(const QDate& tag) const
{
    const int i = Index(tag);
    if (i < 0)
        return 0;
    long double summe = 0;
    for (int k = 0; k < KategorienBestand; ++k)
        summe += (long double)bestand_[std::size_t(i)][std::size_t(k)] *
                 (long double)faktoren_[std::size_t(k)];
    return summe;
}

int TPrognoseTierbestand::GetMaximum() const
{
    int maximum = 0;
    for (const TTagesBestand& tag : bestand_) {
        int summe = 0;
        for (int n : tag)
            summe += n;
        maximum = std::max(maximum, summe);
    }
    return maximum;
}
