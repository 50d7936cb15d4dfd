#include "HITMeldung.h"

#include <Grundeinstellungen.h>

namespace {

struct FeldQuelle {
    int code;
    const char* schluessel;
};

// The fields of each report type, in the order they are sent.
QList<FeldQuelle> Felder(int typ)
{
    switch (typ) {
        case 3:
            return {{30, "LOM"}, {11, "BETRIEB"}, {2, "DATUM"}};
        case 4:
            return {{30, "LOM"}, {11, "BETRIEB"}, {3, "DATUM"}, {28, "LAND_ZIEL"}};
        case 8:
            return {{30, "LOM"},        {11, "BETRIEB"},  {20, "DATUM"},     {53, "RASSE"},
                    {22, "GESCHLECHT"}, {64, "MEHRLING"}, {32, "LOM_MUTTER"}};
        case 10:
            return {{30, "LOM"},        {11, "BETRIEB"},  {39, "DATUM"},
                    {31, "LOM_A"},      {20, "GEBDAT"},   {53, "RASSE"},
                    {22, "GESCHLECHT"}, {26, "LAND_GEB"}, {27, "LAND_URS"}};
        case 11:
            return {{30, "LOM"},
                    {11, "BETRIEB"},
                    {45, "DATUM"},
                    {5, "BESTELLZAHL"},
                    {4, "BESTELLGRUND"}};
        case 13:
            return {{30, "LOM"}, {11, "BETRIEB"}, {60, "DATUM"}, {59, "TOD_ART"}};
        case 14:
            return {{30, "LOM"}, {11, "BETRIEB"}, {63, "DATUM"}};
        default:
            return {};
    }
}

// The report date's field of each type.
int DatumFeld(int typ)
{
    switch (typ) {
        case 3:
            return 2;
        case 4:
            return 3;
        case 8:
            return 20;
        case 10:
            return 39;
        case 11:
            return 45;
        case 13:
            return 60;
        case 14:
            return 63;
        default:
            return -1;
    }
}

int ZahlOder(const QString& text, int vorgabe)
{
    bool ok = false;
    const int zahl = text.trimmed().toInt(&ok);
    return ok ? zahl : vorgabe;
}

}  // namespace

std::function<THITVorgaben()> HITVorgabenAus(const TEinstellungen& einstellungen)
{
    return [&einstellungen] {
        THITVorgaben v;
        if (!einstellungen.Betriebsgruppen().isEmpty())
            v.Betrieb = einstellungen.Betriebsgruppen().first();
        if (!einstellungen.RassenVerwendet().isEmpty())
            v.Rasse = einstellungen.RassenVerwendet().first().section(QLatin1Char('='), 0, 0);
        v.GeburtVerlauf = einstellungen.GetHITGeburtVerlauf();
        v.GeburtVerbleib = einstellungen.GetHITGeburtVerbleib();
        v.GeburtET = einstellungen.GetHITGeburtET();
        v.GeburtTiername = einstellungen.GetHITGeburtTiername();
        return v;
    };
}

THITMeldung::THITMeldung(std::function<THITVorgaben()> vorgaben) : vorgaben_(std::move(vorgaben)) {}

void THITMeldung::SetWert(const QString& schluessel, const QString& wert)
{
    for (auto& paar : werte_)
        if (paar.first == schluessel) {
            paar.second = wert;
            return;
        }
    werte_.append({schluessel, wert});
}

QString THITMeldung::GetWert(const QString& schluessel) const
{
    for (const auto& paar : werte_)
        if (paar.first == schluessel)
            return paar.second;
    return {};
}

void THITMeldung::Vorbelegen()
{
    const THITVorgaben v = vorgaben_();
    werte_.clear();
    SetWert(QStringLiteral("BESTELLGRUND"), QStringLiteral("1"));
    SetWert(QStringLiteral("BESTELLZAHL"), QStringLiteral("1"));
    SetWert(QStringLiteral("BETRIEB"), v.Betrieb);
    SetWert(QStringLiteral("ET"), QStringLiteral("0"));
    SetWert(QStringLiteral("GESCHLECHT"), QStringLiteral("1"));
    SetWert(QStringLiteral("LAND_GEB"), QStringLiteral("276"));
    SetWert(QStringLiteral("LAND_URS"), QStringLiteral("276"));
    SetWert(QStringLiteral("LAND_ZIEL"), QStringLiteral("276"));
    SetWert(QStringLiteral("MEHRLING"), QStringLiteral("1"));
    SetWert(QStringLiteral("RASSE"), v.Rasse);
    SetWert(QStringLiteral("TOD_ART"), QStringLiteral("1"));
    SetWert(QStringLiteral("VERBLEIB"), QStringLiteral("0"));
    SetWert(QStringLiteral("VERLAUF"), QStringLiteral("0"));
}

void THITMeldung::DatenLesen(const QString& text)
{
    for (const QString& token : text.split(QLatin1Char(';'))) {
        const int gleich = token.indexOf(QLatin1Char('='));
        if (gleich < 0)
            continue;
        SetWert(token.left(gleich), token.mid(gleich + 1));
    }
}

void THITMeldung::WertUebernehmen(const Werte& liste, const QString& schluessel)
{
    for (const auto& paar : liste)
        if (paar.first == schluessel) {
            if (!paar.second.isEmpty())
                SetWert(schluessel, paar.second);
            return;
        }
}

void THITMeldung::Laden(const Werte& liste)
{
    Vorbelegen();
    for (const auto& paar : liste)
        if (paar.first == QLatin1String("DATEN")) {
            DatenLesen(paar.second);
            break;
        }
    for (const char* schluessel :
         {"LOM", "BETRIEB", "DATUM", "MELDUNG", "GEBDAT", "RASSE", "GESCHLECHT", "LOM_MUTTER"})
        WertUebernehmen(liste, QString::fromLatin1(schluessel));
}

QString THITMeldung::DatenText(const QString& schluessel) const
{
    QStringList teile;
    for (const QString& s : schluessel.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString wert = GetWert(s);
        if (!wert.isEmpty())
            teile << s + QLatin1Char('=') + wert;
    }
    return teile.join(QLatin1Char(';'));
}

void THITMeldung::AlsBefehl(THITPBefehl& befehl) const
{
    LeerHITBefehl(befehl);
    befehl.Meldung = ZahlOder(GetWert(QStringLiteral("MELDUNG")), 0);
    QList<FeldQuelle> felder = Felder(befehl.Meldung);
    if (befehl.Meldung == 8) {
        const THITVorgaben v = vorgaben_();
        if (v.GeburtVerlauf)
            felder.append({21, "VERLAUF"});
        if (v.GeburtVerbleib)
            felder.append({61, "VERBLEIB"});
        if (v.GeburtET)
            felder.append({19, "ET"});
        if (v.GeburtTiername)
            felder.append({74, "TIERNAME"});
    }
    for (const FeldQuelle& f : felder) {
        befehl.Felder << f.code;
        befehl.Werte << GetWert(QString::fromLatin1(f.schluessel));
    }
}

void THITMeldung::AusBefehl(const THITPBefehl& befehl)
{
    Vorbelegen();
    SetWert(QStringLiteral("MELDUNG"), QString::number(befehl.Meldung));
    static const FeldQuelle zuordnung[] = {
        {4, "BESTELLGRUND"}, {5, "BESTELLZAHL"}, {11, "BETRIEB"},  {19, "ET"},
        {20, "GEBDAT"},      {22, "GESCHLECHT"}, {26, "LAND_GEB"}, {27, "LAND_URS"},
        {28, "LAND_ZIEL"},   {30, "LOM"},        {31, "LOM_A"},    {32, "LOM_MUTTER"},
        {64, "MEHRLING"},    {53, "RASSE"},      {74, "TIERNAME"}, {59, "TOD_ART"},
        {61, "VERBLEIB"},    {21, "VERLAUF"},
    };
    for (const FeldQuelle& f : zuordnung)
        if (HITFeldIndex(befehl, f.code) >= 0)
            SetWert(QString::fromLatin1(f.schluessel), HITFeldWert(befehl, f.code));
    const int datum = DatumFeld(befehl.Meldung);
    if (datum >= 0 && HITFeldIndex(befehl, datum) >= 0)
        SetWert(QStringLiteral("DATUM"), HITFeldWert(befehl, datum));
}

THITPBefehl HITAnAbmeldung(int typ, const QString& betrieb, const QString& pin)
{
    THITPBefehl b;
    b.Meldung = typ;
    if (typ == 1 || typ == 2)
        b.Flags[HITFlag::Zaehlen] = 0;
    if (typ == 2) {
        b.Felder = {11, 51, 44};
        b.Werte = {betrieb, pin, QStringLiteral("4")};
    }
    return b;
}

THITPBefehl HITPinAenderung(const QString& betrieb, const QString& pin, const QString& pin2)
{
    THITPBefehl b;
    b.Flags[HITFlag::Zaehlen] = 0;
    b.Meldung = 16;
    b.Felder = {11, 75, 51, 76};
    b.Werte = {betrieb, QStringLiteral("0"), pin, pin2};
    return b;
}

THITPQuery HITBestandsregisterAbfrage(const QString& betrieb, const QDate& von, const QDate& bis)
{
    THITPQuery q;
    q.Betreff = 5;
    THITPAuswahl a;
    a.Int1 = 11;
    a.Funktion = 12;
    a.Parameter = {von.toString(QStringLiteral("dd.MM.yyyy")),
                   bis.toString(QStringLiteral("dd.MM.yyyy"))};
    a.Spalten = {
        QStringLiteral("LOM"),       QStringLiteral("LOM_X"),    QStringLiteral("GEB_DATR"),
        QStringLiteral("RASSE"),     QStringLiteral("GESCHL_X"), QStringLiteral("BNR15"),
        QStringLiteral("LOM_MUT"),   QStringLiteral("LOM_MUTX"), QStringLiteral("LOM_A"),
        QStringLiteral("TIER_EINX"), QStringLiteral("DAT_EIN"),  QStringLiteral("BNR15_VB"),
        QStringLiteral("TIER_AUSX"), QStringLiteral("DAT_AUS"),  QStringLiteral("BNR15_NB")};
    q.Auswahl = {a, THITPAuswahl()};
    q.Bedingungen = {{0, 11, 0, betrieb}};
    return q;
}

THITPQuery HITFehlerhafteVorgaengeAbfrage(const QString& betrieb)
{
    THITPQuery q;
    q.Betreff = 15;
    THITPAuswahl a;
    a.Int2 = 1;
    a.Funktion = 3;
    a.Parameter = {QStringLiteral("SYS_VON")};
    q.Auswahl = {a, THITPAuswahl()};
    q.Bedingungen = {{0, 11, 0, betrieb}};
    return q;
}

int HITFeldIndex(const THITPBefehl& befehl, int code)
{
    return int(befehl.Felder.indexOf(code));
}

QString HITFeldWert(const THITPBefehl& befehl, int code)
{
    const int i = HITFeldIndex(befehl, code);
    return i >= 0 && i < befehl.Werte.size() ? befehl.Werte[i] : QString();
}

QString HITSchluessel(const THITPBefehl& befehl)
{
    switch (befehl.Meldung) {
        case 2:
            return HITFeldWert(befehl, 11);
        case 3:
        case 4:
        case 8:
        case 10:
        case 13:
        case 14:
            return HITFeldWert(befehl, 30);
        default:
            return {};
    }
}
