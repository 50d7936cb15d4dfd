#include "StammdatenLogik.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace Stammdaten {

namespace {

const std::pair<const char*, const char*> StatusWoerter[] = {
    {"J", "Jungrind"}, {"L", "Leer"},           {"D", "deckfähig"},   {"B", "besamt"},
    {"T", "trächtig"}, {"N", "nicht trächtig"}, {"U", "unfruchtbar"}, {"A", "auslaufend"},
    {"M", "Masttier"}, {"Z", "Zuchtstier"},     {"O", "Ochse"},       {"R", "trocken"},
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

TStatuslisten StatuslistenAufbauen(const QString& geschlecht, bool hatKalbungen, bool hatBesamungen)
{
    TStatuslisten l;
    auto status = [&l](const char* b) {
        l.status.append({StatusWort(QLatin1String(b)), QLatin1String(b)});
    };
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
        {t.nummer.trimmed().isEmpty(), "Sie müssen eine Nummer für das Tier eingeben.",
         TFeld::Nummer},
        {!t.gebdat.isValid(), "Sie müssen ein Geburtsdatum für das Tier eingeben.", TFeld::Gebdat},
        {Nach(t.gebdat, heute), "Das Geburtsdatum darf nicht in der Zukunft sein.", TFeld::Gebdat},
        {Nach(t.gekauft, heute), "Das Gekauft-Datum darf nicht in der Zukunft sein.",
         TFeld::Gekauft},
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
        {Eins(t.status, "OZ") && weiblich,
         "Der Status ist nicht möglich, da das Tier weiblich ist.", TFeld::Status},
        {t.status == QLatin1String("J") && (hatBesamungen || hatKalbungen),
         "Der Status \"Jungrind\" macht wegen vorhandener\nBesamungen bzw. Kalbungen keinen Sinn.",
         TFeld::Status},
        {t.status == QLatin1String("L") && (hatBesamungen || !hatKalbungen),
         "Der Status \"leer\" macht wegen vorhandener\nBesamungen bzw. nicht vorhandener Kalbung "
         "keinen Sinn.",
         TFeld::Status},
        {t.status == QLatin1String("D") && hatBesamungen,
         "Der Status \"deckfähig\" macht wegen vorhandener\nBesamungen keinen Sinn.",
         TFeld::Status},
        {t.status == QLatin1String("B") && !hatBesamungen,
         "Der Status \"besamt\" macht keinen Sinn,\nda keine Besamung vorhanden ist.",
         TFeld::Status},
        {t.status == QLatin1String("T") && !hatBesamungen,
         "Der Status \"trächtig\" macht keinen Sinn,\nda keine Besamung vorhanden ist.",
         TFeld::Status},
        {t.status == QLatin1String("R") && !hatBesamungen,
         "Der Status \"trocken\" macht keinen Sinn,\nda keine Besamung vorhanden ist.",
         TFeld::Status},
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
            text = QStringLiteral(
                       "Die Zeiträume stimmen nicht mit dem \"Gekauft\"-Datum überein."
                       "\n\nDas \"Gekauft\"-Datum lautet: ") +
                   DatumText(gekauft);
        else if (Nach(z.von, verkauft))
            text = QStringLiteral(
                       "Die Zeiträume stimmen nicht mit dem \"Verkauft\"-Datum "
                       "überein.\n\nDas \"Verkauft\"-Datum lautet: ") +
                   DatumText(verkauft);
        else if (Nach(gebdat, z.bis))
            text = QStringLiteral(
                       "Die Zeiträume stimmen nicht mit dem Geburtsdatum überein."
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

QString ZeitraumSchluessel(const QList<TZeitraum>& zeitraeume, const QDate& gebdat,
                           const QDate& gekauft, const QDate& verkauft)
{
    QStringList teile{DatumText(gebdat), DatumText(gekauft), DatumText(verkauft)};
    for (const TZeitraum& z : zeitraeume)
        teile << QString::number(z.id) + u':' + DatumText(z.von) + u'-' + DatumText(z.bis);
    return teile.join(u'|');
}

QString BemerkungListe(const QString& bemerkung)
{
    constexpr int Raum = 200;
    constexpr int Schnitt = 190;
    const QString ende = QStringLiteral(" ...");
    const qsizetype umbruch = bemerkung.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    if (umbruch >= 0)
        return bemerkung.left(std::min<qsizetype>(umbruch, Schnitt)) + ende;
    if (bemerkung.size() <= Raum)
        return bemerkung;
    return bemerkung.left(Schnitt) + ende;
}

namespace {

const struct {
    const char* titel;
    int hilfe;
    const char* hinweis;
} Seiten[SeitenAnzahl] = {
    {"Stammdaten", 2200, "Stammdaten (F2)"},
    {"Betriebsstätten", 2300, "Betriebsstätten (Umsch - F2)"},
    {"Tierarzt", 2400, "Tierarzt (F5)"},
    {"MLP - Daten", 2500, "MLP - Daten (F6)"},
    {"Bemerkungen", 2600, "Bemerkungen (F7)"},
    {"Laktationsgrafik", 2710, "Laktationsgrafik (F8)"},
    {"Besamungsindex", 2720, "Besamungsindex (F9)"},
    {"Zwischenkalbe- u. Tragzeit", 2730, "Zwischenkalbe- u. Tragzeit (F11)"},
};

bool GueltigeSeite(int seite)
{
    return seite >= 0 && seite < SeitenAnzahl;
}

}  // namespace

QString SeitenTitel(int seite)
{
    return GueltigeSeite(seite) ? QString::fromUtf8(Seiten[seite].titel) : QString();
}

int SeitenHilfe(int seite)
{
    return GueltigeSeite(seite) ? Seiten[seite].hilfe : 0;
}

QString SeitenHinweis(int seite)
{
    return GueltigeSeite(seite) ? QString::fromUtf8(Seiten[seite].hinweis) : QString();
}

TFreigabe SchalterFreigeben(const TFreigabeEingang& e)
{
    TFreigabe f;
    const bool weiblich = e.geschlecht == QLatin1String("W");
    f.kalbungenMenue = weiblich;
    f.kalbungBearbeiten = weiblich && e.kalbungenVorhanden;
    f.kalbungOhneBesamung = weiblich && !e.besamungenVorhanden;
    f.besamungenMenue = e.hatBesamungen;
    f.rindern = Eins(e.status, "BDLN");
    f.seiten[sStammdaten] = true;
    for (int s : {sBetriebsstaetten, sTierarzt, sBemerkungen})
        f.seiten[s] = !e.neu;
    for (int s : {sMLP, sLaktation, sBesamungsindex, sZwischenkalbezeit})
        f.seiten[s] = e.hatKalbungen && !e.neu;
    f.ubernehmen = e.seite >= sLaktation && e.seite <= sZwischenkalbezeit;
    const bool seite0 = e.seite == sStammdaten;
    f.besamungenKnopf = seite0 && (e.neu ? weiblich : Eins(e.status, "BDN"));
    f.kalbungenKnopf = seite0 && (e.neu ? e.hatBesamungen : Eins(e.status, "RT"));
    return f;
}

TTrockenFreigabe TrockenFreigeben(const QString& status, bool hatKalbungen)
{
    const bool rt = Eins(status, "RT");
    return {rt && hatKalbungen, rt};
}

QString TierBezeichnung(bool einfuegen, const QString& knrText, const QString& name,
                        const QString& nummer)
{
    if (einfuegen)
        return {};
    QStringList teile;
    for (const QString& t : {knrText, name, nummer})
        if (!t.trimmed().isEmpty())
            teile << t.trimmed();
    return teile.join(QStringLiteral(" - "));
}

QString Titel(const QString& tierBezeichnung, int seite)
{
    return tierBezeichnung.isEmpty() ? SeitenTitel(seite)
                                     : tierBezeichnung + QStringLiteral(" - ") + SeitenTitel(seite);
}

bool SchnellZurueck(const QSize& knopf, const QSize& glyphe, const QPoint& pos)
{
    return pos.x() < (knopf.width() - glyphe.width() / 2) / 2 + 16 &&
           pos.y() < (knopf.height() - glyphe.height()) / 2 + 16;
}

TTaste TasteAuswerten(int taste, Qt::KeyboardModifiers umschalt, int aktuelleSeite)
{
    const Qt::KeyboardModifiers m =
        umschalt & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (m == Qt::NoModifier) {
        switch (taste) {
            case Qt::Key_PageUp:
                return {TTaste::Zurueck};
            case Qt::Key_PageDown:
                return {TTaste::Weiter};
            case Qt::Key_F2:
                return {TTaste::Seite, sStammdaten};
            case Qt::Key_F3:
                return {TTaste::Besamung};
            case Qt::Key_F4:
                return {TTaste::Kalbung};
            case Qt::Key_F5:
                return {TTaste::Seite, sTierarzt};
            case Qt::Key_F6:
                return {TTaste::Seite, sMLP};
            case Qt::Key_F7:
                return {TTaste::Seite, sBemerkungen};
            case Qt::Key_F8:
                return {TTaste::Seite, sLaktation};
            case Qt::Key_F9:
                return {TTaste::Seite, sBesamungsindex};
            case Qt::Key_F11:
                return {TTaste::Seite, sZwischenkalbezeit};
            default:
                return {};
        }
    }
    if (m == Qt::ShiftModifier && taste == Qt::Key_F2)
        return {TTaste::Seite, sBetriebsstaetten};
    if (m == Qt::ControlModifier && aktuelleSeite == sLaktation) {
        if (taste == Qt::Key_K)
            return {TTaste::Kurven};
        if (taste == Qt::Key_L)
            return {TTaste::Leistungen};
    }
    return {};
}

QDate NaechstesRindern(const QDate& rindern, const QDate& heute, int zyklus)
{
    if (!rindern.isValid() || !heute.isValid() || rindern >= heute || zyklus <= 0)
        return rindern;
    const qint64 zyklen = (rindern.daysTo(heute) + zyklus - 1) / zyklus;
    return rindern.addDays(zyklen * zyklus);
}

QString MLPErsatztext(const QString& typ)
{
    if (typ == QLatin1String("2T"))
        return QStringLiteral("--   --   trocken   --   --");
    if (typ == QLatin1String("2A"))
        return QStringLiteral("--   --   ausgefallen  --   --");
    if (typ == QLatin1String("2K"))
        return QStringLiteral("--   --   kalb   --   --");
    return {};
}

QString HarnstoffText(int wert, int teiler)
{
    if (teiler == 1)
        return QString::number(wert);
    return QLocale().toString(double(wert) / teiler, 'f', 1);
}

}  // namespace Stammdaten
