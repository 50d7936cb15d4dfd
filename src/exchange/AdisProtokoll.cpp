#include "AdisProtokoll.h"

#include <Query.h>
#include <Transaction.h>

#include <algorithm>
#include <map>
#include <stdexcept>

QString TADISProtokoll::Ueberschrift(int code)
{
    static const char* const texte[Codes] = {
        "Folgende Fehler sind während des Imports aufgetreten",
        "Folgende Tiere wurden nicht eingelesen,\r\nda nicht gewünscht",
        "Folgende Tiere wurden nicht eingelesen,\r\nda die Ohrmarken nicht gültig waren",
        "Folgende Stammdaten wurden auf Grund von\r\nFehlern nicht gespeichert",
        "Folgende Stammdaten (Betriebszugehörigkeit) wurden\r\nauf Grund von Fehlern nicht "
        "gespeichert",
        "Folgende Besamungen wurden nicht eingelesen,\r\nda nicht gewünscht",
        "Folgende Besamungen konnten nicht eingelesen werden,\r\nda die Daten fehlerhaft waren",
        "Folgende Besamungen wurden auf Grund von Fehlern\r\nnicht gespeichert",
        "Folgende Kalbungen wurden nicht eingelesen,\r\nda nicht gewünscht",
        "Folgende Kalbungen konnten nicht eingelesen werden,\r\nda die Daten fehlerhaft waren",
        "Folgende Kalbungen wurden auf Grund von Fehlern\r\nnicht gespeichert",
        "Folgende Bullen wurden nicht eingelesen,\r\nda nicht gewünscht",
        "Folgende Stammdaten von Bullen wurden auf Grund\r\nvon Fehlern nicht gespeichert",
        "Folgende Probemelken wurden nicht eingelesen,\r\nda nicht gewünscht",
        "Folgende Probemelken wurden auf Grund von\r\nFehlern nicht gespeichert",
        "Folgende Probemelken konnten nicht eingelesen werden,\r\nda die Daten fehlerhaft waren",
        "Folgende Werte von Probemelken wurden auf Grund\r\nvon Fehlern nicht gespeichert",
        "Folgende Herdenschnitte von Probemelken wurden auf\r\nGrund von Fehlern nicht gespeichert",
        "Folgende Laktationsleistungen wurden auf Grund von\r\nFehlern nicht gespeichert",
    };
    if (code < 0 || code >= Codes)
        throw std::out_of_range("Protokoll-Code außerhalb 0..18");
    return QString::fromUtf8(texte[code]);
}

void TADISProtokoll::Hinzufuegen(int code, int tierId, const QStringList& werte)
{
    if (code < 0 || code >= Codes)
        throw std::out_of_range("Protokoll-Code außerhalb 0..18");
    eintraege_.push_back(
        {code, tierId, QString(), werte.isEmpty() ? QStringList{QString()} : werte});
}

void TADISProtokoll::Loeschen(int index)
{
    if (index < 0 || index >= Anzahl())
        throw std::out_of_range("Protokolleintrag außerhalb der Liste");
    eintraege_.erase(eintraege_.begin() + index);
}

void TADISProtokoll::Vorbereiten(db::Transaction& tr)
{
    if (eintraege_.empty())
        return;
    std::map<int, QString> ohrmarken;
    for (const Eintrag& e : eintraege_)
        if (e.TierID > 0)
            ohrmarken[e.TierID];
    if (!ohrmarken.empty()) {
        db::Query q(tr, QStringLiteral("SELECT NUMMER FROM T_STAMMDATEN WHERE ID = :ID"));
        for (auto& [id, nummer] : ohrmarken) {
            q.Param(QStringLiteral("ID")).SetInteger(id);
            q.Open();
            if (!q.Eof())
                nummer = q.Field(0).AsString().left(15);
            q.Close();
        }
        for (Eintrag& e : eintraege_)
            if (e.TierID > 0)
                e.Ohrmarke = ohrmarken[e.TierID];
    }
    std::stable_sort(eintraege_.begin(), eintraege_.end(), [](const Eintrag& a, const Eintrag& b) {
        if (a.Code != b.Code)
            return a.Code < b.Code;
        if (const int c = a.Ohrmarke.compare(b.Ohrmarke, Qt::CaseInsensitive))
            return c < 0;
        return a.Werte.value(0).compare(b.Werte.value(0), Qt::CaseInsensitive) < 0;
    });
    eintraege_.erase(std::unique(eintraege_.begin(), eintraege_.end(),
                                 [](const Eintrag& a, const Eintrag& b) {
                                     return a.Code == b.Code && a.TierID == b.TierID &&
                                            a.Werte == b.Werte;
                                 }),
                     eintraege_.end());
}
