#pragma once
// The census's data from the herd database: one read of the whole herd per kind of row.

#include "PrognoseTierbestand.h"

#include <Query.h>

class TEinstellungen;

class TPrognoseDatenbank final : public TPrognoseDatenquelle {
public:
    // The statements are prepared here on the transaction, which must outlive the source and is
    // started when a read needs it. Without settings the defaults apply.
    TPrognoseDatenbank(db::Transaction& transaktion, const TEinstellungen* einstellungen);

    int Heute() override;
    TPrognoseEinstellungen Einstellungen() override;
    // The key the settings name; when none has that ID, the first by name, as the settings
    // dialog shows it; without any key, zeros.
    TGVFaktoren GVFaktoren() override;
    std::vector<TPrognoseTier> Tiere(int von, int ende) override;
    std::map<int, std::vector<TAufenthalt>> Aufenthalte(int von, int ende, int stall) override;
    std::map<int, std::vector<TKalbungNr>> Kalbungen(int von, int ende) override;

private:
    void Zeitraum(db::Query& q, int von, int ende);

    db::Transaction& transaktion_;
    const TEinstellungen* einstellungen_;
    db::Query tiere_;
    db::Query aufenthalte_;
    db::Query kalbungen_;
    db::Query schluessel_;
    db::Query ersterSchluessel_;
};
