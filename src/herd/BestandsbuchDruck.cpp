#include "BestandsbuchDruck.h"

#include <ProgDatum.h>

#include <Database.h>
#include <Query.h>
#include <Transaction.h>

#include <algorithm>

namespace {

constexpr int Rechts = 2570;
const int AnwendungX[5] = {1110, 1330, 1550, 1770, 1990};

QString Schrift(const char* name)
{
    return QLatin1String(name);
}

}  // namespace

TDruckBestandsbuch::TDruckBestandsbuch(db::Database& datenbank,
                                       const Bestandsbuch::Zeitraum& zeitraum,
                                       PrinterDevice& device, std::unique_ptr<PrintOutput> output)
    : TDrucken(device, std::move(output)), datenbank_(datenbank), zeitraum_(zeitraum)
{
}

void TDruckBestandsbuch::InitDruck()
{
    TDrucken::InitDruck();
    SetSeitenrandLinks(200);
    Paper().PrinterSetup().SetOrientation(TPrinterOrientation::poLandscape);
    Preview->SetTitle(Titel);
}

void TDruckBestandsbuch::Seitenrahmen()
{
    Pos = Paper().PrinterSetup().PaperHeight_MM() * 10 - SeitenrandUnten() + 10;
    SetzeSchrift(Schrift("Arial"), 7, 0, 0, false);
    const int rechts = GetPosRandRechts();
    PrintText(0, Produkthinweis(), false, taLeftJustify, kStandardAusrichtung);
    PrintText(rechts / 4, QStringLiteral("Seite %1").arg(AktSeite()), false, taCenter,
              kStandardAusrichtung);
    PrintText(rechts / 2, QStringLiteral("Wartezeit: M: Milch, F: Fleisch in Tagen"), false,
              taCenter, kStandardAusrichtung);
    PrintText(rechts, QStringLiteral("Nicht gebuchte Einträge können noch bearbeitet werden!"),
              false, taRightJustify, kStandardAusrichtung);

    Pos = SeitenrandOben();
    SetzeSchrift(Schrift("Times New Roman"), 14, fsBold, 0, false);
    Zeilenabstand = 1.5L;
    PrintText(10, QStringLiteral("Bestandsbuch über die Anwendung von Arzneimitteln"), false);
    PrintText(rechts, QStringLiteral("Stand: ") + Bestandsbuch::DatumText(ProgDatum::Heute()), true,
              taRightJustify);
    Zeilenabstand = 1.0L;
    IncPos(10);
    kopfOben_ = Pos;
    Paper().SetPen(psSolid, 0, 15);
    Linie(0, Pos, Rechts, Pos);
    SetzeSchrift(Schrift("Times New Roman"), 10, 0, 0, false);
    const struct {
        int x;
        const char* eins;
        const char* zwei;
    } kopf[] = {{10, "Anzahl/KNR, Art", "Identität"},
                {290, "Standort der Tiere", "in der Wartezeit"},
                {570, "Arzneimittelbezeichnung", "Belegnummer"},
                {1110, "Datum der Anwendung", "Art der Verabreichung und verabreichte Menge"},
                {2210, "Warte-", "zeit"},
                {2330, "Name der", "anw. Person"}};
    for (const auto& k : kopf)
        PrintText(k.x, QString::fromUtf8(k.eins), false);
    NeueZeile();
    for (const auto& k : kopf)
        PrintText(k.x, QString::fromUtf8(k.zwei), false);
    NeueZeile();
    IncPos(10);
    kopfUnten_ = Pos;
    Linie(0, Pos, Rechts, Pos);
    Paper().SetPen(psSolid, 0, 4);
}

void TDruckBestandsbuch::SeiteAbschliessen()
{
    for (int x : {280, 560, 1100, 2200, 2320})
        Linie(x, kopfOben_, x, Pos);
    for (int x : {1320, 1540, 1760, 1980})
        Linie(x, kopfUnten_, x, Pos);
    Paper().SetPen(psSolid, 0, 15);
    Linie(0, kopfOben_, 0, Pos);
    Linie(Rechts, kopfOben_, Rechts, Pos);
    Linie(0, Pos, Rechts, Pos);
    Paper().SetPen(psSolid, 0, 4);
}

void TDruckBestandsbuch::NeueSeite()
{
    SeiteAbschliessen();
    TDrucken::NeueSeite();
    Seitenrahmen();
}

void TDruckBestandsbuch::Eintrag(const Bestandsbuch::Eintrag& e)
{
    const bool vermerk = e.zustand == QLatin1String("J") || e.zustand == QLatin1String("S");
    // The procedure separates the animals by LF; the block printer breaks lines at CR.
    QString identitaet = e.identitaet.trimmed();
    identitaet.replace(QStringLiteral("\r\n"), QStringLiteral("\r"))
        .replace(QLatin1Char('\n'), QLatin1Char('\r'));
    const int identZeilen = identitaet.isEmpty()
                                ? 0
                                : int(GetWordWarp(identitaet, 270).split(QLatin1Char('\r')).size());
    const int zeilen = std::max(vermerk ? 3 : 2, identZeilen + 1);
    CheckNeueSeite(zeilen * Zeilenhoehe() + 20);
    IncPos(10);
    if (e.zustand == QLatin1String("S"))
        SetzeSchriftStil(fsStrikeOut);

    PrintText(10, Bestandsbuch::AnzahlArtName(e.anzahl, e.knr, e.art, e.name), false);
    PrintText(290, e.standort, false);
    PrintText(570, e.arzneimittel, false);
    for (int i = 0; i < 5; ++i)
        PrintText(AnwendungX[i], Bestandsbuch::DatumText(e.datum[i]), false);
    PrintText(2210, QStringLiteral("M:"), false);
    PrintText(2260, QStringLiteral("%1").arg(e.wmilch, 3), false);
    PrintText(2330, e.anwender, true);

    PrintBlock(10, 280, identitaet, false);
    PrintText(570, e.belegnummer, false);
    for (int i = 0; i < 5; ++i)
        PrintText(AnwendungX[i], Bestandsbuch::VerabreichungMenge(e.verabreichung[i], e.menge[i]),
                  false);
    PrintText(2210, QStringLiteral("F:"), false);
    PrintText(2260, QStringLiteral("%1").arg(e.wfleisch, 3), true);

    if (vermerk) {
        SetzeSchriftStil(fsBold);
        PrintText(570,
                  e.zustand == QLatin1String("J") ? QStringLiteral("Eintrag nicht gebucht")
                                                  : QStringLiteral("Eintrag storniert"),
                  true);
    }
    const int mehr = identZeilen - (vermerk ? 2 : 1);
    if (mehr > 0)
        IncPos(mehr * Zeilenhoehe());
    IncPos(10);
    Linie(0, Pos, Rechts, Pos);
    SetzeSchriftStil(0);
}

void TDruckBestandsbuch::DruckeInhalt(QObject*)
{
    InitDruck();
    db::Transaction tr(datenbank_);
    tr.Start();
    db::Query q(tr, Bestandsbuch::ListeSQL);
    q.Param("VON").SetDate(zeitraum_.von);
    q.Param("BIS").SetDate(zeitraum_.bis);
    q.Open();
    Seitenrahmen();
    for (; !q.Eof(); q.Next())
        Eintrag(Bestandsbuch::EintragLesen(q));
    SeiteAbschliessen();
    q.Close();
    tr.Commit();
    Preview->SetMaxPage(std::int16_t(AktSeite()));
}

void BestandsbuchDrucken(db::Database& datenbank, bool vorschau, const QDate& von, const QDate& bis)
{
    TDruckBestandsbuch druck(datenbank, Bestandsbuch::Geordnet(von, bis));
    druck.Druck(vorschau);
}
