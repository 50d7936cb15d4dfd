#include "BesamungsindexTier.h"

#include <Tools.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr TColor Aqua = 0xFFFF00;
constexpr double Pi = 3.14159265358979323846;

struct Klasse {
    const char* text;
    TColor hell;
    TColor dunkel;
    TExBrushStyle schraffur;
};
constexpr std::array<Klasse, 7> Klassen{{
    {"1 Bes.", 0x008000, 0x006000, exDiagCross},
    {"2 Bes.", 0x00FF00, 0x00BF00, exCross},
    {"3 Bes.", 0x00FFFF, 0x00BFBF, exFDiagonal},
    {"4 Bes.", 0x007FFF, 0x004EEE, exBDiagonal},
    {"5 Bes.", 0x0000FF, 0x0000BF, exVertical},
    {">= 6 Bes.", 0x000080, 0x000060, exHorizontal},
    {"Unbek.", 0xC0C0C0, 0x909090, exClear},
}};
}  // namespace

int BesamungsKlasse(std::optional<int> anzahl)
{
    if (!anzahl || *anzahl <= 0)
        return 7;
    return std::min(*anzahl, 6);
}

void BesamungsAuswertung::Hinzufuegen(std::optional<int> anzahl)
{
    ++kalbungen;
    const int k = BesamungsKlasse(anzahl);
    ++klassen[std::size_t(k - 1)];
    if (k != 7) {
        summe += *anzahl;
        ++bekannt;
    }
}

QString BesamungsAuswertung::IndexText() const
{
    if (bekannt == 0)
        return QStringLiteral("Besamungsindex: -.--");
    return QStringLiteral("Besamungsindex: %1").arg(double(summe) / bekannt, 0, 'f', 2);
}

TBesamungsindexTier::TBesamungsindexTier(db::Transaction* transaktion)
    : TTierStatistik(transaktion),
      abfrage_(*transaktion,
               QStringLiteral("SELECT NR, ANZAHL_BES FROM P_GET_KALBUNGEN_TIER(:TIER_ID)"))
{
    abfrage_.Prepare();
}

void TBesamungsindexTier::PositionenBerechnen()
{
    const int ux = Ursprung.x();
    const int uy = Ursprung.y();
    switch (Modus) {
        case Bildschirm:
            KastenX = ux + F(20);
            ErsteZeileY = uy + F(20);
            ZeilenHoehe = F(20);
            KastenB = F(30);
            KastenH = F(11);
            TextX = ux + F(60);
            Ecke = F(7);
            TorteX = ux + F(360);
            TorteY = uy + F(170);
            RX = F(191);
            RY = F(96);
            Tiefe = F(30);
            break;
        case Miniatur:
            KastenX = ux + 20;
            ErsteZeileY = uy + 20;
            ZeilenHoehe = 20;
            KastenB = 30;
            KastenH = 11;
            TextX = ux + 60;
            Ecke = 7;
            TorteX = ux + Breite / 2;
            TorteY = uy + Hoehe / 2;
            RX = int(0.4 * Breite);
            RY = RX / 2;
            Tiefe = RY / 3;
            break;
        default:
            KastenX = ux;
            ErsteZeileY = uy + 200;
            ZeilenHoehe = 60;
            KastenB = 60;
            KastenH = 30;
            TextX = ux + 80;
            Ecke = 20;
            TorteX = ux + (Breite + 250) / 2;
            TorteY = uy + (Hoehe - 100) / 2;
            RX = int(0.3 * Breite);
            RY = RX / 2;
            Tiefe = 100;
            break;
    }
}

void TBesamungsindexTier::KategorieBrushSetzen(int klasse, bool dunkel)
{
    const Klasse& k = Klassen[std::size_t(klasse - 1)];
    if (Modus != Druckmodus)
        Canvas->SetzeBrush(dunkel ? k.dunkel : k.hell, exSolid);
    else if (Farbig)
        Canvas->SetzeBrush(dunkel ? k.dunkel : k.hell, k.schraffur);
    else
        Canvas->SetzeBrush(0, k.schraffur);
}

bool TBesamungsindexTier::ZeileZeichnen(int klasse, int zeile, bool legende, int nr)
{
    const int y = ErsteZeileY + (zeile - 1 + (legende ? 0 : 8)) * ZeilenHoehe;
    // Rows of many calvings would run past the rectangle's bottom onto whatever lies below.
    if (y + std::max(KastenH, ZeilenHoehe) > Ursprung.y() + Hoehe)
        return false;
    const int textY = Modus == Bildschirm ? y - 2 : y;
    KategorieBrushSetzen(klasse, false);
    Canvas->RoundRect(KastenX, y, KastenX + KastenB, y + KastenH, Ecke, Ecke);
    Canvas->SetzeBrushClear();
    const QString text = legende ? QString::fromLatin1(Klassen[std::size_t(klasse - 1)].text)
                                 : QStringLiteral("%1. Kal").arg(nr);
    Canvas->TextOut(TextX, textY, text, taLeftJustify, tvaTop, 0);
    return true;
}

void TBesamungsindexTier::Zeichnen()
{
    SetzeStandardPen();
    PositionenBerechnen();
    if (Modus != Druckmodus) {
        Canvas->SetzeBrush(Aqua, exSolid);
        Canvas->FillRect(QRect(Ursprung, QSize(Breite, Hoehe)));
    }
    Canvas->SetzeSchrift(QStringLiteral("Liberation Sans"), 9, 0, 0, false);
    if (Beschriftung)
        for (int i = 1; i <= 7; ++i)
            ZeileZeichnen(i, i, true, 0);

    BesamungsAuswertung auswertung;
    abfrage_.Param("TIER_ID").SetInteger(TierID);
    abfrage_.Open();
    bool zeilenPlatz = true;
    for (; !abfrage_.Eof(); abfrage_.Next()) {
        const db::Value& anzahl = abfrage_.Field(1);
        const std::optional<int> wert =
            anzahl.IsNull() ? std::nullopt : std::optional<int>(anzahl.AsInteger());
        auswertung.Hinzufuegen(wert);
        if (Beschriftung && zeilenPlatz)
            zeilenPlatz = ZeileZeichnen(BesamungsKlasse(wert), auswertung.kalbungen, false,
                                        abfrage_.Field(0).AsInteger());
    }
    abfrage_.Close();

    if (Beschriftung) {
        Canvas->SetzeSchrift(QStringLiteral("Liberation Sans"), 12, fsBold, 0, false);
        Canvas->SetzeBrushClear();
        const QString text = auswertung.kalbungen == 1
                                 ? QStringLiteral("1 Kalbung")
                                 : QStringLiteral("%1 Kalbungen").arg(auswertung.kalbungen);
        TextAusgeben(TorteX, TorteY - 1.4 * RY, text, taCenter, tvaBottom, 0);
    }
    TorteZeichnen(auswertung);
    if (Beschriftung) {
        Canvas->SetzeSchrift(QStringLiteral("Liberation Sans"), 12, fsBold, 0, false);
        Canvas->SetzeBrushClear();
        TextAusgeben(TorteX, TorteY + 1.4 * RY + Tiefe, auswertung.IndexText(), taCenter, tvaTop,
                     0);
    }
    UntertitelZeichnen(Untertitel);
}

void TBesamungsindexTier::TorteZeichnen(const BesamungsAuswertung& a)
{
    SetzeStandardPen();
    Canvas->SetzeSchrift(QStringLiteral("Liberation Sans"), 9, 0, 0, false);
    double a0 = -Pi / 2;
    QPoint p0(TorteX, TorteY - RY);
    double anteilSumme = 0;
    const QSize radien(RX, RY);
    for (int i = 1; i <= 7; ++i) {
        const int anzahl = a.klassen[std::size_t(i - 1)];
        if (anzahl <= 0)
            continue;
        anteilSumme += double(anzahl) / a.kalbungen;
        const double a1 = -Pi / 2 + 2 * Pi * anteilSumme;
        const QPoint p1(int(std::lround(TorteX + RX * std::cos(a1))),
                        int(std::lround(TorteY + RY * std::sin(a1))));
        const bool vorne = (a0 > 0 && a0 < Pi) || (a1 > 0 && a1 < Pi) || (a0 <= 0 && a1 >= Pi);
        if (vorne) {
            const double von = std::max(a0, 0.0);
            const double bis = std::min(a1, Pi);
            Tools::TPoints rand = Tools::MyArc(QPoint(TorteX, TorteY + Tiefe), radien, von, bis);
            // The upper arc runs back; MyArc only runs forward.
            Tools::TPoints oben = Tools::MyArc(QPoint(TorteX, TorteY - 1), radien, von, bis);
            rand.insert(rand.end(), oben.rbegin(), oben.rend());
            KategorieBrushSetzen(i, true);
            Canvas->Polygon(rand);
        }
        KategorieBrushSetzen(i, false);
        // Equal end points give the whole ellipse, as a single class needs.
        Canvas->Pie(TorteX - RX, TorteY - RY, TorteX + RX + 1, TorteY + RY + 1, p1.x(), p1.y(),
                    p0.x(), p0.y());
        if (Beschriftung) {
            const double m = (a0 + a1) / 2;
            const QString text = QStringLiteral("%1%").arg(100.0 * anzahl / a.kalbungen, 0, 'f', 2);
            Canvas->SetzeBrushClear();
            const QSize e = Canvas->TextExtent(text);
            const double x = TorteX + 1.08 * RX * std::cos(m) + e.width() * (std::cos(m) / 2 - 0.5);
            const double y = TorteY + 1.15 * RY * std::sin(m) +
                             Tiefe * (1 - std::fabs(m - Pi / 2) / Pi) +
                             e.height() * (std::sin(m) / 2 - 0.5);
            TextAusgeben(x, y, text, taLeftJustify, tvaTop, 0);
        }
        a0 = a1;
        p0 = p1;
    }
}
