#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace db {
class Transaction;
}

// The import log: what an import did not take over, and why, grouped by code (0..18).
class TADISProtokoll {
public:
    struct Eintrag {
        int Code = 0;
        int TierID = 0;
        QString Ohrmarke;  // at most 15 characters, filled by Vorbereiten from the animal
        QStringList Werte;
    };

    static constexpr int Codes = 19;
    // The heading of a code's group.
    static QString Ueberschrift(int code);

    void Hinzufuegen(int code, int tierId, const QStringList& werte);
    void Clear() { eintraege_.clear(); }
    void Loeschen(int index);
    const Eintrag& GetEintrag(int index) const { return eintraege_.at(std::size_t(index)); }
    int Anzahl() const { return int(eintraege_.size()); }

    // After an import: the animals' ear tags into the entries, sorted by code, ear tag and first
    // value (both case-insensitive), and an entry equal to the one before it dropped.
    void Vorbereiten(db::Transaction& tr);

private:
    std::vector<Eintrag> eintraege_;
};
