#include "StammdatenLogik.h"

namespace Stammdaten {

namespace {

const std::pair<const char*, const char*> StatusWoerter[] = {
    {"J", "Jungrind"},  {"L", "Leer"},           {"D", "deckfähig"}, {"B", "besamt"},
    {"T", "trächtig"},  {"N", "nicht trächtig"}, {"U", "unfruchtbar"}, {"A", "auslaufend"},
    {"M", "Masttier"},  {"Z", "Zuchtstier"},     {"O", "Ochse"},     {"R", "trocken"},
};

bool Nach(const QDate& a, const QDate& b)
{
    return a.isValid() && b.isValid() && a > b;
}

bool Eins(const QString& s, const char* buchstaben)
{
    return s.size() == 1 && QString::fromLatin1(buchstaben).contains(s);
}

}  // namespace

QString DatumText(const QDate& datum)
{
    return datum.toString(QStringLiteral("dd.MM.yyyy"));
}

QString StatusWort(const QString& buchstabe)
{
    for (const auto& [b, w] : StatusWoerter)
        if (buchstabe == QLatin1String(b))
            return QString::fromUtf8(w);
    return {};
}

TStatuslisten StatuslistenAufbauen(const QString& geschlecht, bool hatKalbungen,
                                   bool hatBesamungen)
{
    TStatuslisten l;
    auto status = [&l](const char* b) { l.status.append({StatusWort(QLatin1String(b)), QLatin1String(b)}); };
    l.arten = {{QStringLiteral("Normal"), QStringLiteral("N")},
               {QStringLiteral("Pension"), QStringLiteral("P")}};
    if (!hatBesamungen && !hatKalbungen)
        status("J");
    if (geschlecht != QLatin1String("M")) {
        if (hatKalbungen)
            l.arten.append({QStringLiteral("Mutterkuh"), QStringLiteral("M")});
        if (hatKalbungen && !hatBesamungen)
            status("L");
        if (hatBesamungen) {
            status("B");
            status("T");
            status("N");
            if (hatKalbungen)
                status("R");
        } else {
            status("D");
        }
        status("U");
        status("A");
    } else {
        status("Z");
        status("O");
    }
    status("M");
    return l;
}

bool TrockenAnpassen(TTier& tier, const QDate& heute)
{
    if (tier.status != QLatin1String("R") || !Nach(tier.trocken, heute))
        return false;
    tier.trocken = heute;
    return true;
}

std::optional<TFehler> TierPruefen(const TTier& t, bool hatBesamungen, bool hatKalbungen,
                                   const QDate& heute)
{
    const bool maennlich = t.geschlecht == QLatin1String("M");
    const bool weiblich = t.geschlecht == QLatin1String("W");
    const bool mutterkuh = t.statusExt == QLatin1String("M");
    const struct {
        bool fehlt;
        const char* text;
        TFeld feld;
    } regeln[] = {
        {t.nummer.trimmed().isEmpty(), "Sie müssen eine Nummer für das Tier eingeben.", TFeld::Nummer},
        {!t.gebdat.isValid(), "Sie müssen ein Geburtsdatum für das Tier eingeben.", TFeld::Gebdat},
        {Nach(t.gebdat, heute), "Das Geburtsdatum darf nicht in der Zukunft sein.", TFeld::Gebdat},
        {Nach(t.gekauft, heute), "Das Gekauft-Datum darf nicht in der Zukunft sein.", TFeld::Gekauft},
        {Nach(t.verkauft, heute), "Das Verkauft-Datum darf nicht in der Zukunft sein.",
         TFeld::Verkauft},
        {maennlich && (hatBesamungen || hatKalbungen),
         "Das Tier kann nicht männlich sein,\nda Besamungen und/oder Kalbungen vorhanden sind.",
         TFeld::Maennlich},
        {mutterkuh && !weiblich,
         "Die Art \"Mutterkuh\" kann nicht für\nmännliche Tiere vergeben werden.", TFeld::Art},
        {Nach(t.gebdat, t.gekauft), "Das Gekauft-Datum darf nicht vor dem Geburtsdatum sein.",
         TFeld::Gekauft},
        {Nach(t.gebdat, t.verkauft), "Das Verkauft-Datum darf nicht vor dem Geburtsdatum sein.",
         TFeld::Verkauft},
        {Nach(t.gekauft, t.verkauft), "Das Verkauft-Datum darf nicht vor dem Gekauft-Datum sein.",
         TFeld::Verkauft},
        {t.rindern.isValid() && t.gebdat.isValid() && !(t.rindern > t.gebdat),
         "Das Datum des nächsten Rinderns darf\nnicht vor dem Geburtsdatum sein.", TFeld::Rindern},
        {Eins(t.status, "RT") && t.trocken.isValid() && t.gebdat.isValid() &&
             !(t.trocken > t.gebdat),
         "Das Trockenstelldatum darf nicht vor dem Geburtsdatum sein.", TFeld::Trocken},
        {Eins(t.status, "ABDLNRTU") && maennlich,
         "Der Status ist nicht möglich, da das Tier männlich ist.", TFeld::Status},
        {Eins(t.status, "OZ") && weiblich, "Der Status ist nicht möglich, da das Tier weiblich ist.",
         TFeld::Status},
        {t.status == QLatin1String("J") && (hatBesamungen || hatKalbungen),
         "Der Status \"Jungrind\" macht wegen vorhandener\nBesamungen bzw. Kalbungen keinen Sinn.",
         TFeld::Status},
        {t.status == QLatin1String("L") && (hatBesamungen || !hatKalbungen),
         "Der Status \"leer\" macht wegen vorhandener\nBesamungen bzw. nicht vorhandener Kalbung "
         "keinen Sinn.",
         TFeld::Status},
        {t.status == QLatin1String("D") && hatBesamungen,
         "Der Status \"deckfähig\" macht wegen vorhandener\nBesamungen keinen Sinn.", TFeld::Status},
        {t.status == QLatin1String("B") && !hatBesamungen,
         "Der Status \"besamt\" macht keinen Sinn,\nda keine Besamung vorhanden ist.", TFeld::Status},
        {t.status == QLatin1String("T") && !hatBesamungen,
         "Der Status \"trächtig\" macht keinen Sinn,\nda keine Besamung vorhanden ist.",
         TFeld::Status},
        {t.status == QLatin1String("R") && !hatBesamungen,
         "Der Status \"trocken\" macht keinen Sinn,\nda keine Besamung vorhanden ist.", TFeld::Status},
        {t.status == QLatin1String("N") && !hatBesamungen,
         "Der Status \"nicht trächtig\" macht keinen Sinn,\nda keine Besamung vorhanden ist.",
         TFeld::Status},
        {mutterkuh && !hatKalbungen,
         "Die Art \"Mutterkuh\" macht keinen Sinn,\nda das Tier keine Kuh ist.", TFeld::Art},
    };
    int nr = 0;
    for (const auto& r : regeln) {
        ++nr;
        if (r.fehlt)
            return TFehler{nr, QString::fromUtf8(r.text), r.feld};
    }
    return std::nullopt;
}

std::optional<TFehler> BetriebsstaettePruefen(const QDate& von, const QDate& bis,
                                              const QDate& heute)
{
    if (!von.isValid())
        return TFehler{1, QStringLiteral("Sie müssen ein Von-Datum eingeben."), TFeld::Von};
    if (Nach(von, heute))
        return TFehler{2, QStringLiteral("Das Von-Datum darf nicht in der Zukunft sein."),
                       TFeld::Von};
    if (Nach(bis, heute))
        return TFehler{3, QStringLiteral("Das Bis-Datum darf nicht in der Zukunft sein."),
                       TFeld::Bis};
    if (Nach(von, bis))
        return TFehler{4, QStringLiteral("Das Bis-Datum darf nicht vor dem Von-Datum sein."),
                       TFeld::Bis};
    return std::nullopt;
}

std::optional<TZeitraumFehler> BetriebsstaettenPruefen(const QList<TZeitraum>& zeitraeume,
                                                       const QDate& gebdat, const QDate& gekauft,
                                                       const QDate& verkauft)
{
    for (int i = 0; i < zeitraeume.size(); ++i) {
        const TZeitraum& z = zeitraeume[i];
        QString text;
        if (Nach(gekauft, z.bis))
            text = QStringLiteral("Die Zeiträume stimmen nicht mit dem \"Gekauft\"-Datum überein."
                                  "\n\nDas \"Gekauft\"-Datum lautet: ") +
                   DatumText(gekauft);
        else if (Nach(z.von, verkauft))
            text = QStringLiteral("Die Zeiträume stimmen nicht mit dem \"Verkauft\"-Datum "
                                  "überein.\n\nDas \"Verkauft\"-Datum lautet: ") +
                   DatumText(verkauft);
        else if (Nach(gebdat, z.bis))
            text = QStringLiteral("Die Zeiträume stimmen nicht mit dem Geburtsdatum überein."
                                  "\n\nDas Geburtsdatum lautet: ") +
                   DatumText(gebdat);
        else if (i > 0 && !zeitraeume[i - 1].bis.isValid())
            text = QStringLiteral("Das Zeitraum-Ende darf nicht leer sein.");
        else if (i > 0 && zeitraeume[i - 1].bis != z.von)
            text = QStringLiteral("Das Zeitraum-Ende muß mit dem folgenden Beginn übereinstimmen.");
        if (!text.isEmpty())
            return TZeitraumFehler{z.id, text};
    }
    return std::nullopt;
}

TMeldungen MeldungenBestimmen(bool neu, const TTier& tier, const QDate& gespeichertGekauft,
                              const QDate& gespeichertVerkauft, bool gespeichertGelesen,
                              bool meldungAuto)
{
    TMeldungen m;
    if (!meldungAuto)
        return m;
    if (neu) {
        m.zugang = tier.gekauft.isValid();
        m.abgang = tier.verkauft.isValid();
    } else if (gespeichertGelesen) {
        m.zugang = tier.gekauft.isValid() && tier.gekauft != gespeichertGekauft;
        m.abgang = tier.verkauft.isValid() && tier.verkauft != gespeichertVerkauft;
    }
    return m;
}

}  // namespace Stammdaten
