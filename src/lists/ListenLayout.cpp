#include "ListenLayout.h"

#include <Query.h>

std::vector<ListenSpalten::LayoutZeile> BildschirmLayoutLaden(db::Transaction& tr, int liste)
{
    db::Query q(tr, QStringLiteral("SELECT FELD, BREITE, AUTOBREITE, TITEL, AUSRICHTUNG, SICHTBAR, "
                                   "TIER_ID, ZEILE, UEBERSCHRIFT, DISPLAY_FORMAT, WERT\n"
                                   "FROM P_GET_LISTE_BILDSCHIRM_FELDER(:LISTE)"));
    q.Param("LISTE").SetInteger(liste);
    std::vector<ListenSpalten::LayoutZeile> zeilen;
    for (q.Open(); !q.Eof(); q.Next()) {
        ListenSpalten::LayoutZeile z;
        z.feld = q.Field("FELD").AsString().trimmed();
        if (!q.Field("BREITE").IsNull())
            z.breite = q.Field("BREITE").AsInteger();
        z.autobreite = q.Field("AUTOBREITE").AsString() == QLatin1String("T");
        z.titel = q.Field("TITEL").AsString();
        z.ausrichtung = q.Field("AUSRICHTUNG").AsString();
        z.sichtbar = q.Field("SICHTBAR").AsString() != QLatin1String("F");
        z.tierId = q.Field("TIER_ID").AsString() == QLatin1String("T");
        z.zeile = q.Field("ZEILE").IsNull() ? 1 : q.Field("ZEILE").AsInteger();
        z.ueberschrift = q.Field("UEBERSCHRIFT").AsString() == QLatin1String("T");
        z.displayFormat = q.Field("DISPLAY_FORMAT").AsString();
        z.wert = q.Field("WERT").AsString();
        zeilen.push_back(z);
    }
    return zeilen;
}
