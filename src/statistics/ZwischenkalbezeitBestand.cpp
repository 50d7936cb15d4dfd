#include "ZwischenkalbezeitBestand.h"

#include "StatistikFormat.h"

#include <ProgDatum.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

using namespace statistik;

namespace {

constexpr TColor Wand = Farbe(0, 234, 234);
constexpr TColor Rot = Farbe(255, 0, 0);
constexpr TColor Gruen = Farbe(0, 128, 0);
constexpr TColor Lime = Farbe(0, 255, 0);
constexpr TColor Blau = Farbe(0, 0, 255);
constexpr TColor Silber = Farbe(192, 192, 192);
constexpr TColor TragzeitFarbe = Farbe(87, 154, 255);

int Mittel(const std::vector<int>& werte)
{
    if (werte.empty())
        return 0;
    const long double summe = std::accumulate(werte.begin(), werte.end(), 0LL);
    return int(std::trunc(summe / (long double)werte.size() + 0.5L));
}

QString Anzahl(int n)
{
    return n == 0 ? QStringLiteral("-") : QString::number(n);
}

}  // namespace

TZwischenkalbezeitBestand::TZwischenkalbezeitBestand(db::Transaction* transaktion)
    : TBestandstatistik(transaktion),
      abfrage_(*transaktion, QStringLiteral("SELECT KALB_DATUM, TRAGZEIT, ZWKZ FROM "
                                            "P_GET_ZWKZ_BESTAND\r"
                                            "WHERE ((TRAGZEIT IS NOT NULL) OR (ZWKZ IS NOT NULL))\r"
                                            "AND KALB_DATUM >= :VON"))
{
}

TZwischenkalbezeitBestand::TJahre TZwischenkalbezeitBestand::Gruppieren(
    const std::vector<TZwkzZeile>& zeilen, int erstesJahr)
{
    TJahre jahre{};
    for (const TZwkzZeile& z : zeilen) {
        const int g = z.KalbDatum.year() - erstesJahr;
        if (g < 0 || g >= Jahre)
            continue;
        TZwkzJahr& j = jahre[std::size_t(g)];
        ++j.Kalbungen;
        if ((z.Zwkz && *z.Zwkz < MinZwkz) || (z.Tragzeit && *z.Tragzeit < MinTragzeit)) {
            ++j.Ignoriert;
            continue;
        }
        if (z.Tragzeit)
            j.Tragzeiten.push_back(*z.Tragzeit);
        if (z.Zwkz) {
            j.Zwischenkalbezeiten.push_back(*z.Zwkz);
            ++j.Abschluesse;
        }
    }
    for (TZwkzJahr& j : jahre) {
        j.ZwkzMittel = Mittel(j.Zwischenkalbezeiten);
        j.TragzeitMittel = Mittel(j.Tragzeiten);
    }
    return jahre;
}

void TZwischenkalbezeitBestand::PositionenBerechnen()
{
    TBestandstatistik::PositionenBerechnen();
    if (AlsDruck) {
        X0 = Ursprung.x() + 300;
        Y0 = Ursprung.y() + 200;
        D = 20;
        W = std::trunc(0.825L * Breite);
        H = std::trunc(0.465L * Breite);
        JahrZeileY = Y0 + H + 4 * D;
        ZeilenAbstand = 50;
        TragzeitLabelY = Y0 - 70;
        ZwkzLabelY = Y0 - 30;
    } else {
        X0 = Ursprung.x() + 90;
        Y0 = Ursprung.y() + 70;
        D = 5;
        W = std::trunc(0.9L * (Breite - 160));
        H = std::trunc(0.9L * (Hoehe - 160));
        JahrZeileY = Y0 + H + 20;
        ZeilenAbstand = 20;
        TragzeitLabelY = Y0 - 30;
        ZwkzLabelY = Y0 - 10;
    }
    StreifenX = X0 + W + 4 * D;
}

void TZwischenkalbezeitBestand::Hintergrund()
{
    PositionenBerechnen();
    if (!AlsDruck) {
        Canvas->SetzeBrush(Aqua, exSolid);
        Canvas->FillRect(QRect(Ursprung, QSize(Breite, Hoehe)));
    }
    SetzeStandardPen();
    if (AlsDruck)
        Canvas->SetzeBrushClear();
    else
        Canvas->SetzeBrush(Wand, exSolid);
    Polygon({{X0 - 4 * D, Y0 + 2 * D},
             {X0 - D, Y0 - D},
             {X0 + W + D, Y0 - D},
             {X0 + W + D, Y0 + H - D},
             {X0 + W, Y0 + H},
             {X0, Y0 + H},
             {X0 - 2 * D, Y0 + H + 2 * D},
             {X0 - 4 * D, Y0 + H + 2 * D}});
    Linie(X0 - 2 * D, Y0 + 2 * D, X0 - 2 * D, Y0 + H + 2 * D);
    Linie(X0, Y0, X0, Y0 + H);
    Linie(X0 + W, Y0, X0 + W, Y0 + H);
    Canvas->SetzeBrushClear();
    for (int i = 1; i <= 8; ++i) {
        const long double s = (i - 1) * H / 7;
        SetzeStandardPen();
        Linie(X0 - 4 * D, Y0 + 2 * D + s, X0 - 2 * D, Y0 + 2 * D + s);
        Linie(X0 - 2 * D, Y0 + 2 * D + s, X0, Y0 + s);
        Linie(X0, Y0 + s, X0 + W, Y0 + s);
        Linie(X0 + W, Y0 + s, X0 + W + D, Y0 - D + s);
        const int zwkz = 485 - 20 * i;
        const int tragzeit = 385 - 20 * i;
        Canvas->SetzeSchrift(Schrift, 9, 0,
                             !Farbig       ? Schwarz
                             : zwkz >= 385 ? Rot
                             : zwkz <= 365 ? Gruen
                                           : Schwarz,
                             false);
        TextAusgeben(X0 - 6 * D, Y0 + 2 * D + s, QString::number(zwkz), taRightJustify, tvaBottom,
                     0);
        Canvas->SetzeSchrift(Schrift, 9, 0, Farbig ? Blau : Schwarz, false);
        TextAusgeben(X0 - 6 * D, Y0 + 2 * D + s, QString::number(tragzeit), taRightJustify, tvaTop,
                     0);
    }
}

void TZwischenkalbezeitBestand::Balken(long double x, int mittel, int bezug, TColor fuellung,
                                       TExBrushStyle muster)
{
    const long double breite = 0.8L * W / 20;
    const long double y0 = BezugY();
    long double hoehe = (mittel - bezug) * Tag();
    // Clipped at the wall's top and bottom; a clipped bar gets break lines.
    bool gekappt = false;
    if (y0 - hoehe < Y0) {
        hoehe = y0 - Y0;
        gekappt = true;
    } else if (y0 - hoehe > Y0 + H) {
        hoehe = y0 - (Y0 + H);
        gekappt = true;
    }
    const auto fuellen = [&](const std::vector<Tools::TExPoint>& punkte) {
        SetzeStandardPen();
        if (Farbig) {
            Canvas->SetzeBrush(fuellung, exSolid);
            Polygon(punkte);
        } else {
            Canvas->SetzeBrush(Weiss, exSolid);
            Polygon(punkte);
            Canvas->SetzeBrush(Schwarz, muster);
            Polygon(punkte);
        }
    };
    if (std::fabs(hoehe) < 0.001L) {
        fuellen(
            {{x, y0}, {x + breite, y0}, {x + breite - 2 * D, y0 + 2 * D}, {x - 2 * D, y0 + 2 * D}});
        return;
    }
    // The face nearer the wall's top and the one nearer its floor: a bar below the plane is the
    // same prism mirrored.
    const long double oben = std::min(y0, y0 - hoehe);
    const long double unten = std::max(y0, y0 - hoehe);
    const long double vx = x - 2 * D;
    fuellen({{vx, unten + 2 * D},
             {vx, oben + 2 * D},
             {x, oben},
             {x + breite, oben},
             {x + breite, unten},
             {vx + breite, unten + 2 * D}});
    Canvas->SetzeBrushClear();
    Linie(vx, oben + 2 * D, vx + breite, oben + 2 * D);
    Linie(vx + breite, oben + 2 * D, x + breite, oben);
    Linie(vx + breite, oben + 2 * D, vx + breite, unten + 2 * D);
    if (gekappt) {
        for (const long double anteil : {0.85L, 0.88L}) {
            const long double y = y0 - anteil * hoehe;
            const long double versatz = hoehe > 0 ? 3 : -3;
            for (const long double v : {0.0L, versatz}) {
                Linie(x - 2 * D - 0.1L * breite, y + 2 * D - v, x + 1.1L * breite - 2 * D,
                      y + 2 * D - v);
            }
        }
    }
}

void TZwischenkalbezeitBestand::Zeichnen()
{
    if (!Canvas)
        throw std::logic_error("Die Grafik hat keine Zeichenfläche.");
    Hintergrund();
    erstesJahr_ = ProgDatum::Heute().year() - (Jahre - 1);
    std::vector<TZwkzZeile> zeilen;
    abfrage_.Close();
    abfrage_.Param("VON").SetDate(QDate(erstesJahr_, 1, 1));
    for (abfrage_.Open(); !abfrage_.Eof(); abfrage_.Next()) {
        TZwkzZeile z;
        z.KalbDatum = abfrage_.Field(0).AsDate();
        if (!abfrage_.Field(1).IsNull())
            z.Tragzeit = abfrage_.Field(1).AsInteger();
        if (!abfrage_.Field(2).IsNull())
            z.Zwkz = abfrage_.Field(2).AsInteger();
        zeilen.push_back(z);
    }
    abfrage_.Close();
    jahre_ = Gruppieren(zeilen, erstesJahr_);

    const long double u = W / 20;
    for (int i = 0; i < Jahre; ++i) {
        const TZwkzJahr& j = jahre_[std::size_t(i)];
        const long double xt = X0 + (2 * i + 0.2L) * u;
        const long double xz = X0 + (2 * i + 1) * u;
        const long double mitte = (0.8L * u - 2 * D) / 2;
        if (j.TragzeitMittel > 0)
            Balken(xt, j.TragzeitMittel, 265, TragzeitFarbe, exFDiagonal);
        else
            Balken(xt, 265, 265, Silber, exClear);
        Canvas->SetzeSchrift(Schrift, 9, 0, Farbig ? Blau : Schwarz, false);
        Canvas->SetzeBrushClear();
        TextAusgeben(xt + mitte, TragzeitLabelY,
                     j.TragzeitMittel > 0 ? QString::number(j.TragzeitMittel) : QStringLiteral("?"),
                     taCenter, tvaBottom, 0);
        const bool lang = j.ZwkzMittel > 365;
        if (j.ZwkzMittel > 0)
            Balken(xz, j.ZwkzMittel, 365, lang ? Rot : Lime, exBDiagonal);
        else
            Balken(xz, 365, 365, Silber, exClear);
        Canvas->SetzeSchrift(Schrift, 9, 0,
                             !Farbig                       ? Schwarz
                             : (j.ZwkzMittel == 0 || lang) ? Rot
                                                           : Gruen,
                             false);
        Canvas->SetzeBrushClear();
        TextAusgeben(xz + mitte, ZwkzLabelY,
                     j.ZwkzMittel > 0 ? QString::number(j.ZwkzMittel) : QStringLiteral("?"),
                     taCenter, tvaBottom, 0);

        Canvas->SetzeSchrift(Schrift, 9, fsBold, Schwarz, false);
        const long double xr = xz + 0.8L * u - D;
        TextAusgeben(xr, JahrZeileY, QString::number(erstesJahr_ + i), taRightJustify, tvaTop, 0);
        TextAusgeben(xr, JahrZeileY + ZeilenAbstand, Anzahl(j.Kalbungen), taRightJustify, tvaTop,
                     0);
        TextAusgeben(xr, JahrZeileY + 2 * ZeilenAbstand, Anzahl(j.Abschluesse), taRightJustify,
                     tvaTop, 0);
        TextAusgeben(xr, JahrZeileY + 3 * ZeilenAbstand, Anzahl(j.Ignoriert), taRightJustify,
                     tvaTop, 0);
    }
    Canvas->SetzeSchrift(Schrift, 9, fsBold, Schwarz, false);
    TextAusgeben(X0, JahrZeileY + ZeilenAbstand, QStringLiteral("Kalbungen"), taRightJustify,
                 tvaTop, 0);
    TextAusgeben(X0, JahrZeileY + 2 * ZeilenAbstand, QStringLiteral("Abschlüsse"), taRightJustify,
                 tvaTop, 0);
    TextAusgeben(X0, JahrZeileY + 3 * ZeilenAbstand, QStringLiteral("ignorierte"), taRightJustify,
                 tvaTop, 0);
    TextAusgeben(X0, JahrZeileY + 3.7L * ZeilenAbstand, QStringLiteral("Extremwerte"),
                 taRightJustify, tvaTop, 0);
    SetzeStandardPen();
    const long double bezug = BezugY();
    Linie(X0 - 2 * D, bezug + 2 * D, X0 + W - 2 * D, bezug + 2 * D);
    Linie(X0 + W - 2 * D, bezug + 2 * D, X0 + W, bezug);
    if (AlsDruck) {
        Canvas->SetzeSchrift(Schrift, 14, 0, Schwarz, false);
        TextAusgeben(Ursprung.x(), Ursprung.y(), QStringLiteral("Zwischenkalbe- und Tragzeit"),
                     taLeftJustify, tvaTop, 0);
    }
}

int TZwischenkalbezeitBestand::JahrAnPosition(int x, int y) const
{
    if (y < Y0 || y > Y0 + H + 2 * D || x < X0)
        return -1;
    const long double u = W / 20;
    const long double dx = x - X0;
    for (int i = 0; i < Jahre; ++i)
        if ((2 * i + 0.2L) * u - 2 * D <= dx && dx <= (2 * i + 1.8L) * u)
            return i;
    return -1;
}

void TZwischenkalbezeitBestand::Markierung(long double x, long double y, TColor farbe)
{
    Canvas->SetzePen(Weiss, 3, psSolid);
    Linie(x - 3, y - 3, x + 3, y + 3);
    Linie(x - 3, y + 3, x + 3, y - 3);
    Canvas->SetzePen(farbe, 1, psSolid);
    Linie(x - 3, y - 3, x + 3, y + 3);
    Linie(x - 3, y + 3, x + 3, y - 3);
}

void TZwischenkalbezeitBestand::JahrZeigen(int jahr)
{
    if (!Canvas || AlsDruck)
        return;
    const long double l = StreifenX;
    Canvas->SetzePen(Aqua, 1, psSolid);
    Canvas->SetzeBrush(Aqua, exSolid);
    Canvas->Rectangle(Rechteck(l - D, Ursprung.y(), l + 61, Ursprung.y() + Hoehe));
    if (jahr < 0 || jahr >= Jahre)
        return;
    SetzeStandardPen();
    Canvas->SetzeBrush(Wand, exSolid);
    Polygon({{l - D, Y0},
             {l, Y0 - D},
             {l + StreifenBreite, Y0 - D},
             {l + StreifenBreite, Y0 + H - D},
             {l + StreifenBreite - D, Y0 + H},
             {l - D, Y0 + H}});
    for (int i = 1; i < 7; ++i)
        Linie(l - D, Y0 + i * H / 7, l + StreifenBreite - D, Y0 + i * H / 7);
    // Markers outside the strip's scale would be drawn over the chart: they stop at its edge.
    const auto imStreifen = [&](long double y) { return std::clamp(y, Y0, Y0 + H); };
    const TZwkzJahr& j = jahre_[std::size_t(jahr)];
    for (const int v : j.Tragzeiten)
        Markierung(l - D + 15, imStreifen(Y0 + H - (v - 225) * Tag()), Farbig ? Blau : Schwarz);
    for (const int v : j.Zwischenkalbezeiten)
        Markierung(l - D + 45, imStreifen(Y0 + H - (v - 325) * Tag()),
                   !Farbig   ? Schwarz
                   : v > 365 ? Rot
                             : Gruen);
}
