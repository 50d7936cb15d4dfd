#include "Drucken.h"

#include "Grundeinstellungen.h"
#include "Produkt.h"

TDrucken::TDrucken(PrinterDevice& device, std::unique_ptr<PrintOutput> output)
    : TDruck(device, std::move(output))
{
    if (const TEinstellungen* einstellungen = Einstellungen())
        SetErrorLogFolder(einstellungen->Datenverzeichnis());
}

QString TDrucken::Produkthinweis()
{
    return QStringLiteral("Erstellt mit %1").arg(Produkt::Titel);
}

void TDrucken::SeiteEinrichten(TPrinterOrientation ausrichtung, int rand, const QString& titel)
{
    SetSeitenrandLinks(rand);
    SetSeitenrandRechts(rand);
    SetSeitenrandOben(rand);
    SetSeitenrandUnten(rand);
    Paper().PrinterSetup().SetOrientation(ausrichtung);
    Preview->SetTitle(titel);
}

void TDrucken::Seitenrahmen()
{
    Pos = Paper().PrinterSetup().PaperHeight_MM() * 10 - SeitenrandUnten() + 10;
    SetzeSchrift(QStringLiteral("Times New Roman"), 10, 0, 0, false);
    const int rechts = GetPosRandRechts();
    PrintText(rechts, Produkthinweis(), false, taRightJustify, kStandardAusrichtung);
    PrintText(int(rechts * 0.4L), QStringLiteral("Seite %1").arg(AktSeite()), false, taCenter,
              kStandardAusrichtung);
}
