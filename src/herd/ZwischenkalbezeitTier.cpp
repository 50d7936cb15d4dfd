#include "ZwischenkalbezeitTier.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr TColor Aqua = 0xFFFF00;
constexpr TColor HellAqua = 0xEAEA00;
constexpr TColor Rot = 0x0000FF;
constexpr TColor Gruen = 0x008000;
constexpr TColor Blau = 0xFF0000;
constexpr TColor Silber = 0xC0C0C0;
constexpr TColor Hellgruen = 0x00FF00;
constexpr TColor TragzeitFarbe = 0xFF9A57;
constexpr TColor Schwarz = 0;
constexpr TColor Weiss = 0xFFFFFF;
constexpr int TragzeitBasis = 265;
constexpr int ZwkzBasis = 365;
}  // namespace

int ZwkzDurchschnitt(const std::vector<int>& werte)
{
    long summe = 0;
    int anzahl = 0;
    for (int w : werte)
        if (w >= 1) {
            summe += w;
            ++anzahl;
        }
    return anzahl == 0 ? 0 : int(double(summe) / anzahl + 0.5);
}

TZwischenkalbezeitTier::TZwischenkalbezeitTier(db::Transaction* transaktion)
    : TTierStatistik(transaktion),
      abfrage_(*transaktion, QStringLiteral("SELECT TRAGZEIT, ZWKZ FROM P_GET_ZWKZ_TIER(:TIER_ID)"))
{
    abfrage_.Prepare();
}

void TZwischenkalbezeitTier::PositionenBerechnen()
{
    const double ux = Ursprung.x();
    const double uy = Ursprung.y();
    switch (Modus) {
        case Bildschirm:
            X0 = ux + F(80);
            Y0 = uy + F(70);
            A = F(5);
            CX = int(0.8 * Breite);
            CY = int(0.5 * Breite);
            SkalaX = X0 - 6 * A;
            TragzeitY = Y0 - F(30);
            ZwkzY = Y0 - F(10);
            LegendeY = Y0 - F(50);
            NummerY = Y0 + CY + F(20);
            break;
        case Miniatur:
            X0 = ux + 10;
            Y0 = uy + 25;
            A = 0;
            CX = Breite - 2 * X0;
            CY = Hoehe - Y0 - X0;
            break;
        default:
            X0 = ux + 300;
            Y0 = uy + 250;
            A = 20;
            CX = int(0.825 * Breite);
            CY = int(0.515 * Breite);
            SkalaX = X0 - 120;
            TragzeitY = Y0 - 70;
            ZwkzY = Y0 - 30;
            LegendeY = Y0 - 130;
            NummerY = Y0 + CY + 80;
            break;
    }
}

void TZwischenkalbezeitTier::Schrift(TColor farbe)
{
    Canvas->SetzeSchrift(QStringLiteral("Liberation Sans"), 9, fsBold, Farbig ? farbe : Schwarz,
                         false);
}

void TZwischenkalbezeitTier::HintergrundZeichnen()
{
    PositionenBerechnen();
    if (Modus != Druckmodus) {
        Canvas->SetzeBrush(Aqua, exSolid);
        Canvas->FillRect(QRect(Ursprung, QSize(Breite, Hoehe)));
        Canvas->SetzeBrush(HellAqua, exSolid);
    } else {
        Canvas->SetzeBrushClear();
    }
    const double a = A;
    Polygon({{X0 - 4 * a, Y0 + 2 * a},
             {X0 - a, Y0 - a},
             {X0 + CX + a, Y0 - a},
             {X0 + CX + a, Y0 + CY - a},
             {X0 + CX, Y0 + CY},
             {X0, Y0 + CY},
             {X0 - 2 * a, Y0 + CY + 2 * a},
             {X0 - 4 * a, Y0 + CY + 2 * a}});
    Linie(X0 - 2 * a, Y0 + 2 * a, X0 - 2 * a, Y0 + CY + 2 * a);
    Linie(X0, Y0, X0, Y0 + CY);
    Linie(X0 + CX, Y0, X0 + CX, Y0 + CY);

    const double schritt = CY / 7;
    Canvas->SetzeBrushClear();
    for (int i = 1; i <= 8; ++i) {
        const double s = (i - 1) * schritt;
        Linie(X0 - 4 * a, Y0 + 2 * a + s, X0 - 2 * a, Y0 + 2 * a + s);
        Linie(X0 - 2 * a, Y0 + 2 * a + s, X0, Y0 + s);
        Linie(X0, Y0 + s, X0 + CX, Y0 + s);
        Linie(X0 + CX, Y0 + s, X0 + CX + a, Y0 - a + s);
        if (Modus == Miniatur)
            continue;
        Schrift(i < 6 ? Rot : Gruen);
        TextAusgeben(SkalaX, Y0 + 2 * a + s, QString::number(485 - 20 * i), taRightJustify,
                     tvaBottom, 0);
        Schrift(Blau);
        TextAusgeben(SkalaX, Y0 + 2 * a + s, QString::number(385 - 20 * i), taRightJustify, tvaTop,
                     0);
    }
}

void TZwischenkalbezeitTier::Zeichnen()
{
    SetzeStandardPen();
    HintergrundZeichnen();

    std::vector<int> tragzeiten;
    std::vector<int> zwkz;
    abfrage_.Param("TIER_ID").SetInteger(TierID);
    abfrage_.Open();
    for (; !abfrage_.Eof(); abfrage_.Next()) {
        tragzeiten.push_back(abfrage_.Field(0).IsNull() ? 0 : abfrage_.Field(0).AsInteger());
        // The first calving has no interval before it.
        if (tragzeiten.size() > 1)
            zwkz.push_back(abfrage_.Field(1).IsNull() ? 0 : abfrage_.Field(1).AsInteger());
    }
    abfrage_.Close();

    const int mittelTragzeit = ZwkzDurchschnitt(tragzeiten);
    const int mittelZwkz = ZwkzDurchschnitt(zwkz);
    const double tagFaktor = CY / 140;
    const double basisY = Y0 + 5 * (CY / 7);
    const int n = std::max<int>(10, int(tragzeiten.size()));
    const double slot = CX / (2 * n - 1);
    const double w = 0.8 * slot;
    const double t = 2 * A;

    for (std::size_t v = 0; v < tragzeiten.size(); ++v) {
        const double px = X0 + (2 * double(v) + 0.1) * slot;
        const int tz = tragzeiten[v];
        if (tz != 0)
            BalkenZeichnen(px, basisY, Farbig ? TragzeitFarbe : Weiss,
                           (tz - TragzeitBasis) * tagFaktor, w, t, exFDiagonal, QString::number(tz),
                           TragzeitY, Blau, Y0, Y0 + CY);
        else
            BalkenZeichnen(px, basisY, Farbig ? Silber : Weiss, 0, w, t, exClear,
                           QStringLiteral("?"), TragzeitY, Blau, Y0, Y0 + CY);
        if (Modus != Miniatur) {
            Schrift(Schwarz);
            TextAusgeben(px + (w - t) / 2, NummerY, QString::number(v + 1), taCenter, tvaTop, 0);
        }
        if (v >= zwkz.size())
            continue;
        const double zx = X0 + (2 * double(v) + 1.1) * slot;
        const int z = zwkz[v];
        if (z != 0) {
            const double h = (z - ZwkzBasis) * tagFaktor;
            const bool ueber = h > 0;
            BalkenZeichnen(zx, basisY, Farbig ? (ueber ? Rot : Hellgruen) : Weiss, h, w, t,
                           exBDiagonal, QString::number(z), ZwkzY, ueber ? Rot : Gruen, Y0,
                           Y0 + CY);
        } else {
            BalkenZeichnen(zx, basisY, Farbig ? Silber : Weiss, 0, w, t, exClear,
                           QStringLiteral("?"), ZwkzY, Rot, Y0, Y0 + CY);
        }
    }

    SetzeStandardPen();
    Linie(X0 - t, basisY + t, X0 + CX - t, basisY + t);
    Linie(X0 + CX - t, basisY + t, X0 + CX, basisY);

    if (Modus != Miniatur) {
        Canvas->SetzeBrushClear();
        const QString tragzeitText = QStringLiteral("Tragzeit Ø: %1 Tage").arg(mittelTragzeit);
        Schrift(Blau);
        TextAusgeben(X0, LegendeY, tragzeitText, taLeftJustify, tvaBottom, 0);
        if (!zwkz.empty()) {
            const double x = X0 + 1.2 * Canvas->TextWidth(tragzeitText);
            Schrift(mittelZwkz > ZwkzBasis ? Rot : Gruen);
            TextAusgeben(x, LegendeY,
                         QStringLiteral("Zwischenkalbezeit Ø: %1 Tage").arg(mittelZwkz),
                         taLeftJustify, tvaBottom, 0);
        }
    }
    Schrift(Schwarz);
    UntertitelZeichnen(Untertitel);
}

void TZwischenkalbezeitTier::BalkenZeichnen(double px, double py, TColor fuellung, double h,
                                            double w, double t, TExBrushStyle schraffur,
                                            const QString& text, double textY, TColor textFarbe,
                                            double oben, double unten)
{
    Schrift(textFarbe);
    Canvas->SetzeBrushClear();
    if (Modus != Miniatur)
        TextAusgeben(px + (w - t) / 2, textY, text, taCenter, tvaBottom, 0);

    bool gekappt = false;
    if (h > 0 && py - h < oben) {
        h = py - oben;
        gekappt = true;
    } else if (h < 0 && py - h > unten) {
        h = py - unten;
        gekappt = true;
    }

    std::vector<Tools::TExPoint> p;
    if (std::fabs(h) < 0.001)
        p = {{px - t, py + t}, {px, py}, {px + w, py}, {px + w - t, py + t}};
    else if (h > 0)
        p = {{px - t, py + t}, {px - t, py - h + t}, {px, py - h},
             {px + w, py - h}, {px + w, py},         {px + w - t, py + t}};
    else
        p = {{px - t, py - h + t}, {px - t, py + t}, {px, py},
             {px + w, py},         {px + w, py - h}, {px + w - t, py - h + t}};

    SetzeStandardPen();
    if (Farbig) {
        Canvas->SetzeBrush(fuellung, exSolid);
        Polygon(p);
    } else {
        Canvas->SetzeBrush(Weiss, exSolid);
        Polygon(p);
        if (schraffur != exClear) {
            Canvas->SetzeBrush(Schwarz, schraffur);
            Polygon(p);
        }
    }
    Canvas->SetzeBrushClear();
    if (p.size() == 6) {
        // The front face's top and right edges and the top face's right edge.
        const Tools::TExPoint ecke{p[5].X, p[1].Y};
        Linie(p[1].X, p[1].Y, ecke.X, ecke.Y);
        Linie(p[5].X, p[5].Y, ecke.X, ecke.Y);
        Linie(ecke.X, ecke.Y, p[3].X, p[3].Y);
    }
    if (gekappt) {
        const double f1 = h > 0 ? 0.85 : 0.88;
        const double f2 = h > 0 ? 0.88 : 0.85;
        for (int versatz : {0, 3})
            Linie(px - 0.1 * w - t, py - f1 * h - versatz, px + 1.1 * w, py - f2 * h - versatz);
    }
}
