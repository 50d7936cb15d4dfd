#include "DruckMLPDatenTier.h"

#include "MLPLogik.h"
#include "TierDruck.h"

#include <DBTools.h>
#include <Grundeinstellungen.h>

#include <Database.h>

namespace {

const QString Arial = QStringLiteral("Arial");

}  // namespace

TDruckMLPDatenTier::TDruckMLPDatenTier(db::Database& datenbank, PrinterDevice& device,
                                       std::unique_ptr<PrintOutput> output)
    : TDrucken(device, std::move(output)),
      transaktion_(datenbank, QStringLiteral("TADruckMLPDatenTier")),
      tier_(transaktion_, QStringLiteral("SELECT S.GEBDAT, S.KNR, S.NAME, S.NUMMER FROM "
                                         "T_STAMMDATEN S WHERE S.ID = :TIER_ID")),
      daten_(transaktion_,
             QStringLiteral("SELECT M.DATUM, M.EIWEIS, M.FETT, M.HARNSTOFF, M.KALBTEXT, "
                            "M.LACTOSE, M.LEIWEIS, M.LFETT, M.LMILCH, M.LTAGE, M.MILCH, "
                            "M.MILCHWERT, M.NUMMER, M.TROCKENMASSE, M.TYP, M.ZELLZAHL FROM "
                            "P_GET_MLP_TIER(:TIER_ID) M"))
{
}

QString TDruckMLPDatenTier::HarnstoffText(int wert, int harnstoffAnzeige)
{
    if (harnstoffAnzeige == 1)
        return TierDruck::Zahl(wert / 10.0, 1);
    return TierDruck::Zahl(wert, 0);
}

void TDruckMLPDatenTier::InitDruck()
{
    TDrucken::InitDruck();
    Zeilenabstand = 1.0L;
    SeiteEinrichten(TPrinterOrientation::poLandscape, 200, Titel);
    const TEinstellungen* einstellungen = Einstellungen();
    harnstoffAnzeige_ = einstellungen ? einstellungen->GetHarnstoffAnzeige() : 0;
    TierDruck::TierOeffnen(transaktion_, TierID, tier_, {&daten_});
}

void TDruckMLPDatenTier::Seitenrahmen()
{
    TDrucken::Seitenrahmen();
    TierDruck::Kopf(*this, QStringLiteral("MLP Daten Tier"), 1.3L, 1.1L, tier_);

    SetzeSchriftStil(fsItalic);
    const struct {
        int x;
        const char* text;
    } koepfe[] = {{80, "PM"},        {300, "Datum"},     {470, "MW"},        {640, "Milch"},
                  {810, "Fett"},     {980, "Eiweis"},    {1150, "Zellzahl"}, {1320, "Harnstoff"},
                  {1490, "Laktose"}, {1660, "TM"},       {1830, "L. Tage"},  {2000, "L. Milch"},
                  {2170, "L. Fett"}, {2340, "L. Eiweis"}};
    for (const auto& k : koepfe)
        PrintText(k.x, QString::fromUtf8(k.text), false, taRightJustify);
    NeueZeile();
    Zeilenabstand = 1.3L;
    SetzeSchriftStil(0);
}

void TDruckMLPDatenTier::NeueSeite()
{
    TDrucken::NeueSeite();
    Seitenrahmen();
}

void TDruckMLPDatenTier::Zeile()
{
    const auto text = [this](const char* feld) {
        return DBTools::FeldAlsString(daten_, QLatin1String(feld));
    };
    const auto zahl = [this](int x, const char* feld, int stellen) {
        const db::Value& v = daten_.Field(QLatin1String(feld));
        if (!v.IsNull())
            PrintText(x, TierDruck::Zahl(v.AsDouble(), stellen), false, taRightJustify);
    };
    const QString kalbtext = text("KALBTEXT").trimmed();
    if (!kalbtext.isEmpty()) {
        CheckNeueSeite(3 * Zeilenhoehe());
        SetzeSchriftStil(fsBold);
        PrintText(0, kalbtext, true);
        SetzeSchriftStil(0);
        return;
    }
    if (daten_.Field(QStringLiteral("DATUM")).IsNull()) {
        NeueZeile();
        return;
    }
    CheckNeueSeite(Zeilenhoehe());
    PrintText(80, text("NUMMER"), false, taRightJustify);
    PrintText(300, text("DATUM"), false, taRightJustify);
    PrintText(470, text("MILCHWERT"), false, taRightJustify);
    const QString typ = text("TYP").trimmed();
    if (!typ.isEmpty() && typ != QLatin1String("1N")) {
        const QString band = MLP::BandErsatz(typ);
        if (!band.isEmpty())
            PrintText(640, band, false);
    } else {
        zahl(640, "MILCH", 1);
        zahl(810, "FETT", 2);
        zahl(980, "EIWEIS", 2);
        PrintText(1150, text("ZELLZAHL"), false, taRightJustify);
        const db::Value& harnstoff = daten_.Field(QStringLiteral("HARNSTOFF"));
        if (!harnstoff.IsNull())
            PrintText(1320, HarnstoffText(harnstoff.AsInteger(), harnstoffAnzeige_), false,
                      taRightJustify);
        zahl(1490, "LACTOSE", 2);
        zahl(1660, "TROCKENMASSE", 2);
    }
    PrintText(1830, text("LTAGE"), false, taRightJustify);
    PrintText(2000, text("LMILCH"), false, taRightJustify);
    zahl(2170, "LFETT", 2);
    zahl(2340, "LEIWEIS", 2);
    NeueZeile();
}

void TDruckMLPDatenTier::DruckeInhalt(QObject*)
{
    TierDruck::Ausfuehren(
        transaktion_,
        [this] {
            InitDruck();
            Seitenrahmen();
            for (; !daten_.Eof(); daten_.Next())
                Zeile();
        },
        [this] {
            Preview->SetMaxPage(std::int16_t(AktSeite()));
            tier_.Close();
            daten_.Close();
        });
}
