#include "BesamungsindexBestand.h"

#include "StatistikFormat.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

using namespace statistik;

namespace {

constexpr double Pi = std::numbers::pi;

struct TStueck {
    const char* text;
    TColor oben;
    TColor seite;
    TExBrushStyle muster;
};

const std::array<TStueck, 7> StueckTabelle{{
    {"1 Bes.", Farbe(0, 128, 0), Farbe(0, 96, 0), exDiagCross},
    {"2 Bes.", Farbe(0, 255, 0), Farbe(0, 191, 0), exCross},
    {"3 Bes.", Farbe(255, 255, 0), Farbe(191, 191, 0), exFDiagonal},
    {"4 Bes.", Farbe(255, 127, 0), Farbe(238, 78, 0), exBDiagonal},
    {"5 Bes.", Farbe(255, 0, 0), Farbe(191, 0, 0), exVertical},
    {">= 6 Bes.", Farbe(128, 0, 0), Farbe(96, 0, 0), exHorizontal},
    {"Abgang", Farbe(192, 192, 192), Farbe(144, 144, 144), exClear},
}};

QString DatumLang(const QDate& d)
{
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

}  // namespace

void TBesamungsZaehlung::Hinzufuegen(int nr, int anzahl)
{
    Besamungen += nr * anzahl;
    Traechtigkeiten += anzahl;
    Stuecke[std::size_t(std::clamp(nr, 1, 6) - 1)] += anzahl;
    Kalbungen += anzahl;
    Gesamt += anzahl;
}

void TBesamungsZaehlung::AbgaengeSetzen(int abgaenge)
{
    Abgaenge = abgaenge;
    Stuecke[6] = abgaenge;
    Gesamt += abgaenge;
}

QString TBesamungsZaehlung::Kopfzeile() const
{
    return (Kalbungen == 1 ? QStringLiteral("1 Kalbung")
                           : QString::number(Kalbungen) + QStringLiteral(" Kalbungen")) +
           QStringLiteral(" / ") +
           (Abgaenge == 1 ? QStringLiteral("1 Abgang")
                          : QString::number(Abgaenge) + QStringLiteral(" Abgänge"));
}

QString TBesamungsZaehlung::IndexText() const
{
    if (Traechtigkeiten == 0)
        return QStringLiteral("Besamungsindex: -.--");
    return QStringLiteral("Besamungsindex: ") + Zahl(double(Besamungen) / Traechtigkeiten, 2);
}

TBesamungsindexBestand::TBesamungsindexBestand(db::Transaction* transaktion)
    : TBestandstatistik(transaktion),
      anzahl_(*transaktion, QStringLiteral("SELECT NR, COUNT(DATUM) ANZAHL FROM "
                                           "P_GET_BESAMUNGSINDEX_BESTAND(:VON, :BIS)\r"
                                           "GROUP BY NR")),
      abgaenge_(*transaktion,
                QStringLiteral("SELECT MAX(B.DATUM)\r"
                               "FROM T_STAMMDATEN S JOIN T_BESAMUNGEN B ON B.TIER "
                               "= S.ID\r"
                               "LEFT JOIN T_KALBUNGEN K ON K.TIER = S.ID\r"
                               "WHERE (S.VERKAUFT IS NOT NULL) AND (B.DATUM IS NOT "
                               "NULL)\r"
                               "AND (S.VERKAUFT >= :VON) AND (S.VERKAUFT <= :BIS) "
                               "GROUP BY S.ID\r"
                               "HAVING (MAX(B.DATUM) > MAX(K.DATUM)) OR (MAX(K.DATUM) "
                               "IS NULL)"))
{
}

void TBesamungsindexBestand::Assign(const TBesamungsindexBestand& quelle)
{
    Von = quelle.Von;
    Bis = quelle.Bis;
}

QPoint TBesamungsindexBestand::Punkt(QPoint mitte, int rx, int ry, double winkel)
{
    return QPoint(int(std::lround(mitte.x() + rx * std::cos(winkel))),
                  int(std::lround(mitte.y() + ry * std::sin(winkel))));
}

void TBesamungsindexBestand::PositionenBerechnen()
{
    TBestandstatistik::PositionenBerechnen();
    const int x = Ursprung.x();
    const int y = Ursprung.y();
    if (AlsDruck) {
        legende_ = QPoint(x, y + 200);
        legendeSchritt_ = 60;
        legendeBox_ = QSize(60, 30);
        legendeEcke_ = 20;
        legendeTextX_ = x + 80;
        RX = int(std::trunc(0.3 * Breite));
        RY = RX / 2;
        Tiefe = 100;
        Mitte = QPoint(x + (Breite + 250) / 2, y + (Hoehe - 100) / 2);
    } else {
        legende_ = QPoint(x + 20, y + 20);
        legendeSchritt_ = 20;
        legendeBox_ = QSize(30, 11);
        legendeEcke_ = 7;
        legendeTextX_ = x + 60;
        const double a = double(Breite - 120) / std::max(1, Hoehe) > 4.0 / 3.0
                             ? Hoehe * 4.0 / 3.0 + 120
                             : double(Breite - 120);
        RX = int(std::trunc(0.3 * a));
        RY = RX / 2;
        Tiefe = RY / 3;
        Mitte = QPoint(x + (Breite - 120) / 2 + 120, y + (Hoehe - Tiefe) / 2);
    }
}

void TBesamungsindexBestand::BrushSetzen(int stueck, bool seite)
{
    const TStueck& s = StueckTabelle[std::size_t(stueck)];
    const TColor farbe = seite ? s.seite : s.oben;
    if (!AlsDruck)
        Canvas->SetzeBrush(farbe, exSolid);
    else if (s.muster == exClear)
        Canvas->SetzeBrushClear();
    else
        Canvas->SetzeBrush(farbe, s.muster);
}

void TBesamungsindexBestand::Hintergrund()
{
    PositionenBerechnen();
    if (!AlsDruck) {
        Canvas->SetzeBrush(Aqua, exSolid);
        Canvas->FillRect(QRect(Ursprung, QSize(Breite, Hoehe)));
    }
    Canvas->SetzeSchrift(Schrift, 9, 0, Schwarz, false);
    if (!Beschriftung)
        return;
    for (int i = 0; i < 7; ++i) {
        const QPoint p = legende_ + QPoint(0, i * legendeSchritt_);
        SetzeStandardPen();
        BrushSetzen(i, false);
        Canvas->RoundRect(p.x(), p.y(), p.x() + legendeBox_.width(), p.y() + legendeBox_.height(),
                          legendeEcke_, legendeEcke_);
        Canvas->SetzeBrushClear();
        TextAusgeben(legendeTextX_, p.y() - (AlsDruck ? 0 : 2),
                     QString::fromUtf8(StueckTabelle[std::size_t(i)].text), taLeftJustify, tvaTop,
                     0);
    }
}

void TBesamungsindexBestand::Zeichnen()
{
    if (!Canvas)
        throw std::logic_error("Die Grafik hat keine Zeichenfläche.");
    Hintergrund();
    zaehlung_ = {};
    anzahl_.Close();
    anzahl_.Param("VON").SetDate(Von);
    anzahl_.Param("BIS").SetDate(Bis);
    for (anzahl_.Open(); !anzahl_.Eof(); anzahl_.Next())
        zaehlung_.Hinzufuegen(anzahl_.Field(0).AsInteger(), anzahl_.Field(1).AsInteger());
    anzahl_.Close();
    abgaenge_.Close();
    abgaenge_.Param("VON").SetDate(Von);
    abgaenge_.Param("BIS").SetDate(Bis);
    int abgaenge = 0;
    for (abgaenge_.Open(); !abgaenge_.Eof(); abgaenge_.Next())
        ++abgaenge;
    abgaenge_.Close();
    zaehlung_.AbgaengeSetzen(abgaenge);

    if (Beschriftung) {
        Canvas->SetzeSchrift(Schrift, 12, fsBold, Schwarz, false);
        Canvas->SetzeBrushClear();
        TextAusgeben(Mitte.x(), Mitte.y() - 1.4 * RY, zaehlung_.Kopfzeile(), taCenter, tvaBottom,
                     0);
    }
    TorteZeichnen();
    if (Beschriftung) {
        Canvas->SetzeSchrift(Schrift, 12, fsBold, Schwarz, false);
        Canvas->SetzeBrushClear();
        TextAusgeben(Mitte.x(), Mitte.y() + 1.4 * RY + Tiefe, zaehlung_.IndexText(), taCenter,
                     tvaTop, 0);
    }
    if (AlsDruck) {
        Canvas->SetzeSchrift(Schrift, 14, fsBold, Schwarz, false);
        TextAusgeben(
            Ursprung.x(), Ursprung.y(),
            QStringLiteral("Besamungsindex von %1 bis %2").arg(DatumLang(Von), DatumLang(Bis)),
            taLeftJustify, tvaTop, 0);
    }
}

void TBesamungsindexBestand::TorteZeichnen()
{
    const TBesamungsZaehlung& z = zaehlung_;
    if (z.Gesamt <= 0)
        return;
    SetzeStandardPen();
    Canvas->SetzeSchrift(Schrift, 9, 0, Schwarz, false);
    const QSize radien = GroesseUmrechnen(QSize(RX, RY));
    double a0 = -Pi / 2;
    int summe = 0;
    for (int i = 0; i < 7; ++i) {
        const int anzahl = z.Stuecke[std::size_t(i)];
        if (anzahl <= 0)
            continue;
        summe += anzahl;
        const double a1 = double(summe) / z.Gesamt * 2 * Pi - Pi / 2;
        if ((a0 > 0 && a0 < Pi) || (a1 > 0 && a1 < Pi) || (a0 <= 0 && a1 >= Pi)) {
            const double von = std::max(a0, 0.0);
            const double bis = std::min(a1, Pi);
            Tools::TPoints wand = Tools::MyArc(Mitte + QPoint(0, Tiefe), radien, von, bis);
            const Tools::TPoints oben = Tools::MyArc(Mitte - QPoint(0, 1), radien, von, bis);
            wand.insert(wand.end(), oben.rbegin(), oben.rend());
            SetzeStandardPen();
            BrushSetzen(i, true);
            Canvas->Polygon(wand);
        }
        SetzeStandardPen();
        BrushSetzen(i, false);
        // The canvas's pie runs counter-clockwise, the slices clockwise: end point first. Equal
        // points give the whole ellipse, as a single slice needs.
        const QPoint p0 = Punkt(Mitte, RX, RY, a0);
        const QPoint p1 = Punkt(Mitte, RX, RY, a1);
        Canvas->Pie(Mitte.x() - RX, Mitte.y() - RY, Mitte.x() + RX + 1, Mitte.y() + RY + 1, p1.x(),
                    p1.y(), p0.x(), p0.y());
        if (Beschriftung) {
            const double m = (a0 + a1) / 2;
            const QString text = Zahl(100.0 * anzahl / z.Gesamt, 2) + QStringLiteral("%");
            if (AlsDruck)
                Canvas->SetzeBrushClear();
            else
                Canvas->SetzeBrush(Aqua, exSolid);
            const QSize e = Canvas->TextExtent(text);
            const double x = Mitte.x() + 1.08 * RX * std::cos(m);
            const double y =
                Mitte.y() + 1.15 * RY * std::sin(m) + (1 - std::fabs(m - Pi / 2) / Pi) * Tiefe;
            TextAusgeben(x + (std::cos(m) / 2 - 0.5) * e.width(),
                         y + (std::sin(m) / 2 - 0.5) * e.height(), text, taLeftJustify, tvaTop, 0);
        }
        a0 = a1;
    }
}
