#include "Viehverzeichnis.h"

#include <Query.h>
#include <Transaction.h>

#include <algorithm>

std::vector<TGVSchluessel> GVSchluesselLesen(db::Transaction& transaktion)
{
    std::vector<TGVSchluessel> schluessel;
    db::Query q(transaktion, QStringLiteral("select * from T_GV_SCHLUESSEL order by BEZEICHNUNG"));
    for (q.Open(); !q.Eof(); q.Next()) {
        TGVSchluessel s;
        s.ID = q.Field("ID").AsInteger();
        s.Bezeichnung = q.Field("BEZEICHNUNG").AsString();
        TGVFaktoren& f = s.Faktoren;
        f.Bovantis = q.Field("BOVANTIS").AsDouble();
        f.Mutterkuh = q.Field("MUTTERKUH").AsDouble();
        f.Kalb6M = q.Field("KALB6M").AsDouble();
        f.M6M1J = q.Field("M6M1J").AsDouble();
        f.M1J2J = q.Field("M1J2J").AsDouble();
        f.MU2J = q.Field("MU2J").AsDouble();
        f.W6M1J = q.Field("W6M1J").AsDouble();
        f.W1J2J = q.Field("W1J2J").AsDouble();
        f.WU2J = q.Field("WU2J").AsDouble();
        f.P6M1J = q.Field("P6M1J").AsDouble();
        f.P1J2J = q.Field("P1J2J").AsDouble();
        f.PU2J = q.Field("PU2J").AsDouble();
        schluessel.push_back(s);
    }
    return schluessel;
}

const std::array<TViehverzeichnisZeile, TViehverzeichnisRechnung::Zeilen>&
TViehverzeichnisRechnung::Tabelle()
{
    static const std::array<TViehverzeichnisZeile, Zeilen> zeilen{{
        {"Bovantis", {13}, &TGVFaktoren::Bovantis},
        {"Kälber (Zucht/Mast) bis sechs Monate", {0, 1, 5, 6}, &TGVFaktoren::Kalb6M},
        {"Männliche Rinder über sechs Monate bis ein Jahr", {2}, &TGVFaktoren::M6M1J},
        {"Männliche Rinder über ein Jahr bis zwei Jahre", {3}, &TGVFaktoren::M1J2J},
        {"Männliche Rinder über zwei Jahre, Zuchtbullen", {4}, &TGVFaktoren::MU2J},
        {"Eigene", {7}, &TGVFaktoren::W6M1J},
        {"Pensionsvieh", {10}, &TGVFaktoren::P6M1J},
        {"Eigene", {8}, &TGVFaktoren::W1J2J},
        {"Pensionsvieh", {11}, &TGVFaktoren::P1J2J},
        {"Eigene", {9}, &TGVFaktoren::WU2J},
        {"Pensionsvieh", {12}, &TGVFaktoren::PU2J},
        {"Mutter- und Ammenkühe zur Kälbererzeugung", {14}, &TGVFaktoren::Mutterkuh},
    }};
    return zeilen;
}

TViehverzeichnisRechnung::TSpalte TViehverzeichnisRechnung::Zeilenwerte(
    const TPrognoseTierbestand::TTagesBestand& tag)
{
    TSpalte werte{};
    for (int z = 0; z < Zeilen; ++z) {
        for (int k : Tabelle()[std::size_t(z)].Kategorien)
            werte[std::size_t(z)] += tag[std::size_t(k)];
        werte[Summe] += werte[std::size_t(z)];
    }
    return werte;
}

void TViehverzeichnisRechnung::Berechnen(TPrognoseTierbestand& engine, const QDate& am,
                                         const QDate& von, const QDate& bis, bool prognose,
                                         const QDate& heute,
                                         const std::optional<TGVFaktoren>& faktoren)
{
    BestandAm = {};
    Durchschnitt = {};
    Faktor = {};
    GVE = {};
    if (am.isValid()) {
        engine.SetVon(am);
        engine.SetBis(am.addDays(1));
        engine.BestandBerechnen(0);
        BestandAm = Zeilenwerte(engine.GetTag(am));
    }
    if (von.isValid() && bis.isValid() && von <= bis) {
        const QDate ende = !prognose && heute < bis ? std::max(heute, von) : bis;
        engine.SetVon(von);
        engine.SetBis(ende);
        engine.BestandBerechnen(0);
        const int tage = int(engine.Von().daysTo(engine.Bis())) + 1;
        for (QDate tag = engine.Von(); tag <= engine.Bis(); tag = tag.addDays(1)) {
            const TSpalte werte = Zeilenwerte(engine.GetTag(tag));
            for (std::size_t i = 0; i < werte.size(); ++i)
                Durchschnitt[i] += werte[i];
        }
        if (tage >= 1)
            for (double& d : Durchschnitt)
                d /= tage;
    }
    if (faktoren) {
        for (int z = 0; z < Zeilen; ++z) {
            Faktor[std::size_t(z)] = (*faktoren).*(Tabelle()[std::size_t(z)].Faktor);
            GVE[std::size_t(z)] = Faktor[std::size_t(z)] * Durchschnitt[std::size_t(z)];
            GVE[Summe] += GVE[std::size_t(z)];
        }
    }
}
