#include "DruckTierarztTier.h"

#include "TierDruck.h"

#include <DBTools.h>
#include <Tools.h>

#include <Database.h>

#include <algorithm>

namespace {

const QString Arial = QStringLiteral("Arial");

}  // namespace

TDruckTierarztTier::TDruckTierarztTier(db::Database& datenbank, PrinterDevice& device,
                                       std::unique_ptr<PrintOutput> output)
    : TDrucken(device, std::move(output)),
      transaktion_(datenbank, QStringLiteral("TADruckTierarztTier")),
      tier_(transaktion_),
      daten_(transaktion_)
{
    tier_.SetSQL(QStringLiteral(
        "SELECT S.GEBDAT, S.KNR, S.NAME, S.NUMMER FROM T_STAMMDATEN S WHERE S.ID = :TIER_ID"));
    daten_.SetSQL(QStringLiteral(
        "SELECT ANWENDER, ARZNEIMITTEL, BELEGNUMMER, BESTANDSBUCH, GRUND, KATEGORIE, STANDORT, "
        "WFLEISCH, WMILCH, DATUM, MENGE, VERABREICHUNG, GRUPPE FROM "
        "P_GET_BEHANDLUNGEN_TIER(:TIER_ID) ORDER BY DATUMSORT"));
}

QString TDruckTierarztTier::BestandsbuchText(const QString& zustand)
{
    const QString z = zustand.trimmed();
    if (z == QLatin1String("N"))
        return QStringLiteral("nein");
    if (z == QLatin1String("J"))
        return QStringLiteral("ja");
    if (z == QLatin1String("B"))
        return QStringLiteral("gebucht");
    return QStringLiteral("storniert");
}

void TDruckTierarztTier::InitDruck()
{
    TDrucken::InitDruck();
    Zeilenabstand = 1.0L;
    SeiteEinrichten(TPrinterOrientation::poLandscape, 200, Titel);
    TierDruck::TierOeffnen(transaktion_, TierID, tier_, {&daten_});
}

void TDruckTierarztTier::Seitenrahmen()
{
    TDrucken::Seitenrahmen();
    TierDruck::Kopf(*this, QStringLiteral("Tierärztliche Behandlungen Tier"), 1.5L, 1.5L, tier_);

    SetzeSchriftStil(fsItalic);
    Zeilenabstand = 1.0L;
    PrintText(0, QStringLiteral("Bestandsb."), false);
    PrintText(210, QStringLiteral("Standort"), false);
    PrintText(760, QStringLiteral("Grund"), false);
    PrintText(1310, QStringLiteral("Arzneimittel"), false);
    PrintText(1960, QStringLiteral("W. Milch"), false, taRightJustify);
    PrintText(1990, QStringLiteral("Datum"), false);
    PrintText(2190, QStringLiteral("Verabr."), false);
    PrintText(2390, QStringLiteral("Menge"), true);
    Zeilenabstand = 1.5L;
    PrintText(0, QStringLiteral("Gruppe"), false);
    PrintText(210, QStringLiteral("Kategorie"), false);
    PrintText(760, QStringLiteral("Anwender"), false);
    PrintText(1310, QStringLiteral("Belegnummer"), false);
    PrintText(1960, QStringLiteral("W. Fleisch"), true, taRightJustify);
    SetzeSchriftStil(0);
}

void TDruckTierarztTier::NeueSeite()
{
    // The page head sets spacing and style of its own; the treatment goes on in its own.
    const long double abstand = Zeilenabstand;
    const std::uint8_t stil = SchriftStil();
    TDrucken::NeueSeite();
    Seitenrahmen();
    Zeilenabstand = abstand;
    SetzeSchriftStil(stil);
}

void TDruckTierarztTier::Behandlung()
{
    const auto wert = [this](const char* feld) {
        return DBTools::FeldAlsString(daten_, QLatin1String(feld));
    };
    Zeilenabstand = 1.5L;
    CheckNeueSeite(2 * Zeilenhoehe());
    Zeilenabstand = 1.0L;
    const QString datum = TierDruck::Zeilen(wert("DATUM"));
    const QString verabreichung = TierDruck::Zeilen(wert("VERABREICHUNG"));
    const QString menge = TierDruck::Zeilen(wert("MENGE"));
    const struct {
        int x1, x2;
        const QString& text;
    } bloecke[] = {
        {1990, 2190, datum}, {2190, 2390, verabreichung}, {2390, GetPosRandRechts(), menge}};
    // Counted as the blocks will wrap: a block that broke the page would leave the rest of the
    // treatment on the old one.
    for (const auto& b : bloecke)
        CheckNeueSeite(Zeilenhoehe() * Tools::GetZeilenzahl(GetWordWarp(b.text, b.x2 - b.x1)));

    const int start = Pos;
    int ende = int(2.5L * Zeilenhoehe() + Pos + 0.5L);
    const QString zustand = wert("BESTANDSBUCH");
    const QString zustandText = BestandsbuchText(zustand);
    if (zustandText == QLatin1String("storniert"))
        SetzeSchriftStil(fsStrikeOut);
    PrintText(0, zustandText, false);
    PrintText(210, wert("STANDORT"), false);
    PrintText(760, wert("GRUND"), false);
    PrintText(1310, wert("ARZNEIMITTEL"), false);
    PrintText(1960, wert("WMILCH"), false, taRightJustify);

    for (const auto& b : bloecke) {
        PrintBlock(b.x1, b.x2, b.text, true);
        ende = std::max(ende + int(0.5L * Zeilenhoehe() + 0.5L), Pos);
        Pos = start;
    }

    NeueZeile();
    if (daten_.Field(QStringLiteral("GRUPPE")).AsInteger() > 0)
        PrintText(0, QStringLiteral("Gruppenbeh."), false);
    PrintText(210, wert("KATEGORIE"), false);
    PrintText(760, wert("ANWENDER"), false);
    PrintText(1310, wert("BELEGNUMMER"), false);
    PrintText(1960, wert("WFLEISCH"), false, taRightJustify);
    Pos = ende;
    SetzeSchriftStil(0);
}

void TDruckTierarztTier::DruckeInhalt(QObject*)
{
    TierDruck::Ausfuehren(
        transaktion_,
        [this] {
            InitDruck();
            Seitenrahmen();
            for (; !daten_.Eof(); daten_.Next())
                Behandlung();
        },
        [this] {
            Preview->SetMaxPage(std::int16_t(AktSeite()));
            tier_.Close();
            daten_.Close();
        });
}
