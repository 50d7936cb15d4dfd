#include "DViehverzeichnis.h"

#include "StatistikFormat.h"

namespace {

const QString Arial = QStringLiteral("Arial");

// "%.2f" above 0, else nothing.
QString WertText(double v)
{
    return v > 0 ? statistik::Zahl(v, 2) : QString();
}

}  // namespace

TDruckViehverzeichnis::TDruckViehverzeichnis(PrinterDevice& device,
                                             std::unique_ptr<PrintOutput> output)
    : TDrucken(device, std::move(output))
{
}

double TDruckViehverzeichnis::Lesen(const TWerte& w, int zeile)
{
    return zeile >= 1 && zeile <= 12 ? w[std::size_t(zeile - 1)] : 0;
}

void TDruckViehverzeichnis::Schreiben(TWerte& w, int zeile, double wert)
{
    if (zeile >= 1 && zeile <= 12)
        w[std::size_t(zeile - 1)] = wert;
}

double TDruckViehverzeichnis::GetFaktor(int zeile) const
{
    return Lesen(faktor_, zeile);
}
void TDruckViehverzeichnis::SetFaktor(int zeile, double wert)
{
    Schreiben(faktor_, zeile, wert);
}
double TDruckViehverzeichnis::GetBestandAm(int zeile) const
{
    return Lesen(bestandAm_, zeile);
}
void TDruckViehverzeichnis::SetBestandAm(int zeile, double wert)
{
    Schreiben(bestandAm_, zeile, wert);
}
double TDruckViehverzeichnis::GetDurchschnitt(int zeile) const
{
    return Lesen(durchschnitt_, zeile);
}
void TDruckViehverzeichnis::SetDurchschnitt(int zeile, double wert)
{
    Schreiben(durchschnitt_, zeile, wert);
}
double TDruckViehverzeichnis::GetGVEBetrieb(int zeile) const
{
    return Lesen(gve_, zeile);
}
void TDruckViehverzeichnis::SetGVEBetrieb(int zeile, double wert)
{
    Schreiben(gve_, zeile, wert);
}

void TDruckViehverzeichnis::InitDruck()
{
    TDrucken::InitDruck();
    SeiteEinrichten(TPrinterOrientation::poPortrait, 200,
                    QStringLiteral("ZR Bovantis - Viehverzeichnis"));
}

void TDruckViehverzeichnis::Seitenrahmen()
{
    TDrucken::Seitenrahmen();
    Pos = SeitenrandOben();
    SetzeSchrift(Arial, 14, fsBold, 0, false);
    PrintText(GetPosRandRechts() / 2, QStringLiteral("Viehverzeichnis"), false, taCenter,
              kStandardAusrichtung);
}

void TDruckViehverzeichnis::DruckeInhalt(QObject*)
{
    InitDruck();
    Seitenrahmen();
    TabelleDrucken();
    Preview->SetMaxPage(std::int16_t(AktSeite()));
}

void TDruckViehverzeichnis::TabelleDrucken()
{
    const std::uint32_t a = kStandardAusrichtung;
    SetzeSchrift(Arial, 12, 0, 0, false);
    PrintText(0, 300, BetriebName, true, taLeftJustify, a);
    PrintText(0, BetriebAdresse, true, taLeftJustify, a);
    PrintText(0, BetriebPLZ + QStringLiteral(" ") + BetriebOrt, true, taLeftJustify, a);
    PrintText(800, 300, QStringLiteral("Landw. Nutzfläche: %1 ha").arg(statistik::Zahl(Flaeche, 2)),
              false, taLeftJustify, a);

    SetzeSchrift(Arial, 14, 0, 0, false);
    PrintText(300, 570, QStringLiteral("Tierart"), false, taLeftJustify, a);
    PrintText(1460, 570, QStringLiteral("GVE"), false, taLeftJustify, a);
    PrintText(10, 1490, QStringLiteral("Summe"), false, taLeftJustify, a);

    SetzeSchrift(Arial, 8, 0, 0, false);
    PrintText(1050, 550, QStringLiteral("Bestand"), false, taLeftJustify, a);
    PrintText(880, 600, QStringLiteral("am ") + Am.toString(QStringLiteral("dd.MM.yyyy")), false,
              taLeftJustify, a);
    PrintText(1140, 590, QStringLiteral("Im Durchschnitt"), false, taLeftJustify, a);
    PrintText(1120, 620,
              Von.toString(QStringLiteral("dd.MM.yy")) + QStringLiteral(" - ") +
                  Bis.toString(QStringLiteral("dd.MM.yy")),
              false, taLeftJustify, a);
    PrintText(1380, 670, QStringLiteral("je Tier"), false, taLeftJustify, a);
    PrintText(1500, 670, QStringLiteral("im Betrieb"), false, taLeftJustify, a);
    for (int z = 1; z <= 12; ++z)
        PrintText(1450, 670 + 63 * z, statistik::Zahl(GetFaktor(z), 2), false, taRightJustify, a);

    SetzeSchrift(Arial, 9, 0, 0, false);
    const std::pair<int, const char*> links[] = {
        {733, "Bovantis"},
        {796, "Kälber (Zucht/Mast) bis sechs Monate"},
        {859, "Männliche Rinder über sechs Monate bis ein Jahr"},
        {922, "Männliche Rinder über ein Jahr bis zwei Jahre"},
        {985, "Männliche Rinder über zwei Jahre, Zuchtbullen"},
        {1038, "Weibliche Rinder"},
        {1074, "(Zucht/Mast) über sechs"},
        {1111, "Monate bis ein Jahr"},
        {1164, "Weibliche Rinder"},
        {1200, "(Zucht/Mast) über ein"},
        {1237, "Jahr bis zwei Jahre"},
        {1290, "Andere weibliche"},
        {1326, "Rinder (Zucht/Mast)"},
        {1363, "über zwei Jahre"},
        {1426, "Mutter- und Ammenkühe zur Kälbererzeugung"},
    };
    for (const auto& [y, text] : links)
        PrintText(10, y, QString::fromUtf8(text), false, taLeftJustify, a);
    for (const int y : {1048, 1174, 1300})
        PrintText(430, y, QStringLiteral("Eigene"), false, taLeftJustify, a);
    for (const int y : {1115, 1237, 1363})
        PrintText(430, y, QStringLiteral("Pensionsvieh"), false, taLeftJustify, a);

    const auto waagrecht = [this](int y, int x1, int x2) { Linie(x1, y, x2, y); };
    const auto senkrecht = [this](int x, int y1, int y2) { Linie(x, y1, x, y2); };
    waagrecht(550, 0, 1670);
    waagrecht(580, 830, 1370);
    waagrecht(650, 0, 1670);
    waagrecht(1466, 1370, 1470);
    waagrecht(1570, 0, 1670);
    for (int i = 0; i <= 12; ++i) {
        const int y = 710 + 63 * i;
        waagrecht(y, i == 6 || i == 8 || i == 10 ? 415 : 0, 1370);
        waagrecht(y, 1470, 1670);
    }
    senkrecht(0, 550, 1570);
    senkrecht(415, 1025, 1403);
    senkrecht(830, 550, 1570);
    senkrecht(1100, 580, 1570);
    senkrecht(1370, 550, 1570);
    senkrecht(1470, 650, 1466);
    senkrecht(1670, 550, 1570);

    for (int z = 1; z <= 12; ++z) {
        const int y = 667 + 63 * z;
        PrintText(1030, y, WertText(GetBestandAm(z)), false, taRightJustify, a);
        PrintText(1300, y, WertText(GetDurchschnitt(z)), false, taRightJustify, a);
        PrintText(1620, y, WertText(GetGVEBetrieb(z)), false, taRightJustify, a);
    }
    PrintText(1030, 1490, WertText(SummeBestand), false, taRightJustify, a);
    PrintText(1300, 1490, WertText(SummeDurchschnitt), false, taRightJustify, a);
    PrintText(1620, 1490, WertText(SummeGVE), false, taRightJustify, a);

    SetzeSchrift(Arial, 14, 0, 0, false);
    PrintText(1620, 1650, QStringLiteral("GVE/ha: %1").arg(statistik::Zahl(GVEjeHektar, 2)), false,
              taRightJustify, 24);
    SetzeSchrift(Arial, 9, 0, 0, false);
    PrintText(10, 1650, QStringLiteral("GV Schlüssel: ") + GVSchluessel, false, taLeftJustify, 24);
}
