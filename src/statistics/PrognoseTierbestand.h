#pragma once
// The herd census: for every day of a period the number of animals present in 22 categories, and
// for the days after today a forecast of sales, inseminations, calvings and calves. Its data
// comes through TPrognoseDatenquelle, so that the rules run on a herd built by hand as well as on
// the herd database (TPrognoseDatenbank).
//
// Days are day numbers (QDate::toJulianDay); 0 means "no date". Every interval is half-open.

#include <QDate>
#include <QString>

#include <array>
#include <map>
#include <vector>

// One animal as the census reads it.
struct TPrognoseTier {
    int ID = 0;
    int Geburt = 0;
    QString Geschlecht;
    QString Status;
    QString StatusExt;
    // The first calving; 0 for an animal that never calved.
    int KuhSeit = 0;
    // The breed's gestation length in days.
    int Tragezeit = 0;
    int Besamungen = 0;
    int LetzteBesamung = 0;
    int LetzteKalbung = 0;
    // The last insemination plus the gestation length.
    int SollKalben = 0;
};

// A stay on premises whose holding counts for livestock units; Bis 0 while the animal is there.
struct TAufenthalt {
    int Von = 0;
    int Bis = 0;
};

struct TKalbungNr {
    int Datum = 0;
    int Nr = 0;
};

// The farm-wide forecast settings, in days except the cow number.
struct TPrognoseEinstellungen {
    int MKalbVerkaufen = 42;
    int MastVerkaufen = 500;
    int KalbBesamen = 600;
    int KuhBesamen = 42;
    int MaxKuhzahl = 10;
};

// The twelve factors of a livestock-unit key, as its columns.
struct TGVFaktoren {
    double Bovantis = 0, Mutterkuh = 0, Kalb6M = 0, M6M1J = 0, M1J2J = 0, MU2J = 0, W6M1J = 0,
           W1J2J = 0, WU2J = 0, P6M1J = 0, P1J2J = 0, PU2J = 0;
};

class TPrognoseDatenquelle {
public:
    virtual ~TPrognoseDatenquelle() = default;
    virtual int Heute() = 0;
    virtual TPrognoseEinstellungen Einstellungen() = 0;
    // The factors of the farm's livestock-unit key.
    virtual TGVFaktoren GVFaktoren() = 0;
    // The animals born by `ende`, not sold before `von` and not bought after `ende`.
    virtual std::vector<TPrognoseTier> Tiere(int von, int ende) = 0;
    // The stays of those animals by animal, on all premises (stall 0) or on one.
    virtual std::map<int, std::vector<TAufenthalt>> Aufenthalte(int von, int ende, int stall) = 0;
    // The calvings of those animals by animal.
    virtual std::map<int, std::vector<TKalbungNr>> Kalbungen(int von, int ende) = 0;
};

class TPrognoseTierbestand {
public:
    static constexpr int AnzahlKategorien = 22;
    // Categories 0-14 divide the herd census, 15-21 the cows by lactation (15: seventh and later,
    // 21: first).
    static constexpr int KategorienBestand = 15;
    using TTagesBestand = std::array<int, AnzahlKategorien>;

    // The source is not owned and must outlive the engine.
    explicit TPrognoseTierbestand(TPrognoseDatenquelle& quelle);

    QDate Von() const;
    void SetVon(const QDate& von);
    // The last day, inclusive.
    QDate Bis() const;
    void SetBis(const QDate& bis);

    // Herd census with forecast into categories 0-14, for all premises (0) or one.
    void BestandBerechnen(int stall);
    // Cows by lactation into categories 15-21, never beyond today: shortens Bis to today.
    void LaktationenBerechnen(int stall);

    // 22 zeros for a day outside the period.
    TTagesBestand GetTag(const QDate& tag) const;
    // The sum of count × factor over categories 0-14; 0 outside the period.
    long double GetGVE(const QDate& tag) const;
    // The largest daily total over all categories; 0 for an empty census.
    int GetMaximum() const;
    double Faktor(int kategorie) const { return faktoren_.at(std::size_t(kategorie)); }
    int Tage() const { return int(bestand_.size()); }

private:
    void ZaehleBereich(int anfang, int ende, int kategorie);
    void ZaehleTier(int anfang, int ende, int geburt, const QString& geschlecht,
                    const QString& status, int kuhSeit, const QString& statusExt);
    void PrognoseKuh(const TPrognoseTier& tier);
    void FaktorenSetzen(const TGVFaktoren& f);
    int Index(const QDate& tag) const;

    TPrognoseDatenquelle& quelle_;
    int von_ = 0;
    // The day after the last day.
    int ende_ = 0;
    int heute_ = 0;
    TPrognoseEinstellungen einstellungen_;
    std::vector<TTagesBestand> bestand_;
    std::array<double, AnzahlKategorien> faktoren_{};
    // The sex of the next forecast calf; female first in every census.
    bool kalbWeiblich_ = true;
};
