#include "MilchanlieferungStatistik.h"

#include "StatistikFormat.h"

#include <Waehrung.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

using namespace statistik;

namespace {

constexpr TColor Gruen = Farbe(0, 128, 0);
constexpr TColor Orange = Farbe(255, 127, 0);

struct TLinie {
    double TMilchMonat::*wert;
    const char* legende;
    TColor farbe;
};

QString MonatKurz(const QDate& d)
{
    return d.toString(QStringLiteral("MM.yy"));
}

QString MonatLang(const QDate& d)
{
    return d.toString(QStringLiteral("MM.yyyy"));
}

}  // namespace

TMilchanlieferung::TMilchanlieferung(db::Transaction* transaktion)
    : TBestandstatistik(transaktion),
      abfrage_(*transaktion,
               QStringLiteral("SELECT MONAT, MENGE, FETT, EIWEIS, KEIMZAHL, ZELLZAHL, PREIS37, "
                              "PREISEIGEN, MILCHGELD, WAEHRUNG FROM T_MILCHANLIEFERUNG WHERE "
                              "MONAT BETWEEN :VON AND :BIS ORDER BY MONAT"))
{
    abfrage_.Prepare();
}

void TMilchanlieferung::Assign(const TMilchanlieferung& quelle)
{
    Von = quelle.Von;
    Bis = quelle.Bis;
    Menge = quelle.Menge;
    Milchgeld = quelle.Milchgeld;
    Inhaltsstoffe = quelle.Inhaltsstoffe;
    Preis37 = quelle.Preis37;
    Eigenpreis = quelle.Eigenpreis;
    Waehrung = quelle.Waehrung;
}

bool TMilchanlieferung::Ats() const
{
    return Waehrung == Waehrung::ATS;
}

double TMilchanlieferung::Umrechnen(double betrag, const QString& waehrung, int standard)
{
    return Waehrung::WaehrungUmrechnen(Waehrung::WaehrungIndex(waehrung), standard,
                                       Currency::AusDouble(betrag))
        .AlsDouble();
}

void TMilchanlieferung::Skala(long double maximum, long double& skalaMax, int& schritt)
{
    long double m = maximum;
    if (m >= 30000)
        m = std::trunc(m / 10000 + 1) * 10000;
    else if (m < 15000)
        m = std::trunc(m / 1000 + 1) * 1000;
    else
        m = std::trunc(m / 5000 + 1) * 5000;
    skalaMax = m;
    schritt = m > 30000 ? 10000 : m > 15000 ? 5000 : 1000;
}

int TMilchanlieferung::Monate(const QDate& erster, const QDate& letzter)
{
    return (letzter.year() - erster.year()) * 12 + letzter.month() - erster.month() + 1;
}

int TMilchanlieferung::Index(const QDate& monat) const
{
    return zeilen_.empty() ? 0 : Monate(zeilen_.front().Monat, monat) - 1;
}

void TMilchanlieferung::PositionenBerechnen()
{
    TBestandstatistik::PositionenBerechnen();
    if (AlsDruck) {
        Links += 120;
        Oben += 170;
        Rechts -= 200;
        Unten -= 100;
    } else {
        Links += 50;
        Oben += 50;
        Rechts -= 70;
        Unten -= 45;
    }
}

void TMilchanlieferung::Zeichnen()
{
    if (!Canvas)
        throw std::logic_error("Die Grafik hat keine Zeichenfläche.");
    PositionenBerechnen();
    zeilen_.clear();
    abfrage_.Close();
    abfrage_.Param("VON").SetDate(Von);
    abfrage_.Param("BIS").SetDate(Bis);
    long double maximum = 0;
    for (abfrage_.Open(); !abfrage_.Eof(); abfrage_.Next()) {
        TMilchMonat m;
        const QString waehrung = abfrage_.Field(9).AsString().trimmed();
        m.Monat = abfrage_.Field(0).AsDate();
        m.Menge = abfrage_.Field(1).AsDouble();
        m.Fett = abfrage_.Field(2).AsDouble();
        m.Eiweis = abfrage_.Field(3).AsDouble();
        m.Keimzahl = abfrage_.Field(4).AsDouble();
        m.Zellzahl = abfrage_.Field(5).AsDouble();
        m.Preis37 = Umrechnen(abfrage_.Field(6).AsDouble(), waehrung, Waehrung);
        m.PreisEigen = Umrechnen(abfrage_.Field(7).AsDouble(), waehrung, Waehrung);
        m.Milchgeld = Umrechnen(abfrage_.Field(8).AsDouble(), waehrung, Waehrung);
        maximum = std::max(maximum, std::trunc((long double)m.Menge));
        const long double geld = Ats() ? m.Milchgeld / 10.0L : m.Milchgeld;
        if (geld > maximum)
            maximum = std::trunc(geld) + 1;
        zeilen_.push_back(m);
    }
    abfrage_.Close();
    // Without a month (another workstation deleted them meanwhile) the axes stay empty.
    AnzahlMonate = zeilen_.empty() ? 0 : Monate(zeilen_.front().Monat, zeilen_.back().Monat);
    Skala(maximum, SkalaMax, SkalaSchritt);
    MonatsBreite = (long double)(Rechts - Links) / std::max(1, AnzahlMonate);
    const int strich = AlsDruck ? 15 : 4;

    if (!AlsDruck) {
        Canvas->SetzeBrush(Aqua, exSolid);
        Canvas->FillRect(QRect(Ursprung, QSize(Breite, Hoehe)));
    }
    SetzeStandardPen();
    Canvas->SetzeBrushClear();
    Linie(Links, Oben, Links, Unten);
    Linie(Links, Unten, Rechts, Unten);
    Linie(Rechts, Oben, Rechts, Unten);

    Canvas->SetzeSchrift(Schrift, 9, fsBold, Schwarz, false);
    for (int i = 0; i <= 10; ++i) {
        Linie(Links - strich, YZehn(i), Links + strich, YZehn(i));
        TextAusgeben(Links - strich, YZehn(i), QString::number(i) + QStringLiteral("... "),
                     taRightJustify, tvaCenter, 0);
    }
    for (long double v = 0; v <= SkalaMax; v += SkalaSchritt) {
        Linie(Rechts - strich, YMenge(v), Rechts + strich, YMenge(v));
        TextAusgeben(Rechts + strich, YMenge(v),
                     QStringLiteral(" ") + ZahlGruppiert(double(v), 0) +
                         (Ats() ? QStringLiteral("(0)") : QString()),
                     taLeftJustify, tvaCenter, 0);
    }
    Canvas->SetzeSchrift(Schrift, 8, fsBold, Schwarz, false);
    const int schritt = AnzahlMonate <= 11 ? 1 : AnzahlMonate <= 23 ? 2 : 3;
    for (int k = 0; k < AnzahlMonate; k += schritt) {
        const long double x = XMonat(k) + MonatsBreite / 2;
        Linie(x, Unten - strich, x, Unten + (AlsDruck ? strich : 2 * strich));
        const QString text = MonatKurz(zeilen_.front().Monat.addMonths(k));
        if (AlsDruck)
            TextAusgeben(x + 20, Unten + 70, text, taRightJustify, tvaTop, 45);
        else
            TextAusgeben(x, Unten + 2 * strich, text, taRightJustify, tvaTop, 45);
    }
    Canvas->SetzeSchrift(Schrift, 9, 0, Schwarz, false);
    TextAusgeben(Links, Oben - 2 * strich, QStringLiteral("Werte"), taCenter, tvaBottom, 0);
    TextAusgeben(Rechts, Oben - 2 * strich, QStringLiteral("-menge"), taCenter, tvaBottom, 0);
    TextAusgeben(Rechts, Oben - 2 * strich - Canvas->TextExtent(QStringLiteral("Aa")).height(),
                 QStringLiteral("Milchgeld &"), taCenter, tvaBottom, 0);

    const auto balken = [&](bool an, TColor farbe, TExBrushStyle druckMuster, auto wert) {
        if (!an)
            return;
        SetzeStandardPen();
        Canvas->SetzeBrush(farbe, AlsDruck ? druckMuster : exSolid);
        for (const TMilchMonat& m : zeilen_) {
            const int k = Index(m.Monat);
            Canvas->Rectangle(PixelX(XMonat(k)), PixelY(YMenge(wert(m))), PixelX(XMonat(k + 1)) + 1,
                              Unten + 1);
        }
    };
    balken(Menge, Gruen, exFDiagonal, [](const TMilchMonat& m) { return (long double)m.Menge; });
    balken(Milchgeld, Orange, exBDiagonal, [this](const TMilchMonat& m) {
        return Ats() ? m.Milchgeld / 10.0L : (long double)m.Milchgeld;
    });

    const double preisTeiler = Ats() ? 100 : 10;
    if (Inhaltsstoffe) {
        Linien(&TMilchMonat::Fett, 1, Farbe(255, 255, 0));
        Linien(&TMilchMonat::Eiweis, 1, Weiss);
        Linien(&TMilchMonat::Keimzahl, 10, Farbe(0, 0, 255));
        Linien(&TMilchMonat::Zellzahl, 100, Schwarz);
    }
    if (Preis37)
        Linien(&TMilchMonat::Preis37, preisTeiler, Farbe(255, 0, 255));
    if (Eigenpreis)
        Linien(&TMilchMonat::PreisEigen, preisTeiler, Farbe(0, 255, 0));
    Legende();
}

void TMilchanlieferung::LinieZeichnen(const std::vector<QPoint>& punkte, TColor farbe)
{
    if (punkte.empty())
        return;
    std::vector<QPoint> p = punkte;
    if (p.size() == 1)
        p.push_back(p.front() + QPoint(1, 0));
    const int breite = AlsDruck ? MMZuPixel(0.75L) : 2;
    Canvas->SetzeBrushClear();
    Canvas->SetzePen(Schwarz, 2 * breite, psSolid);
    Canvas->Polyline(p);
    Canvas->SetzePen(farbe, breite, psSolid);
    Canvas->Polyline(p);
}

void TMilchanlieferung::Linien(double TMilchMonat::*wert, double teiler, TColor farbe)
{
    std::vector<QPoint> punkte;
    std::size_t z = 0;
    for (int k = 0; k < AnzahlMonate; ++k) {
        const QDate monat = zeilen_.front().Monat.addMonths(k);
        while (z < zeilen_.size() && zeilen_[z].Monat < monat)
            ++z;
        const bool da = z < zeilen_.size() && Index(zeilen_[z].Monat) == k;
        const double v = da ? zeilen_[z].*wert : 0;
        if (v > 0) {
            punkte.emplace_back(PixelX(XMonat(k) + MonatsBreite / 2), PixelY(YZehn(v / teiler)));
        } else {
            LinieZeichnen(punkte, farbe);
            punkte.clear();
        }
    }
    LinieZeichnen(punkte, farbe);
}

void TMilchanlieferung::Legende()
{
    if (AlsDruck) {
        Canvas->SetzeSchrift(Schrift, 14, fsBold, Schwarz, false);
        TextAusgeben(
            Links + 100, Ursprung.y(),
            QStringLiteral("Milchanlieferung von %1 bis %2").arg(MonatLang(Von), MonatLang(Bis)),
            taLeftJustify, tvaTop, 0);
    }
    Canvas->SetzeSchrift(Schrift, 9, 0, Schwarz, false);
    const QSize box = AlsDruck ? QSize(100, 25) : QSize(30, 10);
    const int zeilenAbstand = AlsDruck ? 40 : 20;
    const int spaltenAbstand = AlsDruck ? 350 : 100;
    const QPoint start = AlsDruck ? QPoint(Links + 100, Oben - 90) : QPoint(Links + 30, Oben - 40);
    const int ecke = AlsDruck ? 5 : 7;
    const auto ort = [&](int spalte, int zeile) {
        return start + QPoint(spalte * spaltenAbstand, zeile * zeilenAbstand);
    };
    const auto text = [&](QPoint p, const char* s) {
        Canvas->SetzeBrushClear();
        TextAusgeben(p.x() + box.width(), p.y() + box.height() / 2,
                     QStringLiteral("  ") + QString::fromUtf8(s), taLeftJustify, tvaCenter, 0);
    };
    const auto kasten = [&](int zeile, TColor farbe, TExBrushStyle muster, const char* s) {
        const QPoint p = ort(0, zeile);
        SetzeStandardPen();
        Canvas->SetzeBrush(farbe, AlsDruck ? muster : exSolid);
        Canvas->RoundRect(p.x(), p.y(), p.x() + box.width(), p.y() + box.height(), ecke, ecke);
        text(p, s);
    };
    if (Menge)
        kasten(0, Gruen, exFDiagonal, "Menge");
    if (Milchgeld)
        kasten(1, Orange, exBDiagonal, "Milchgeld");
    int spalte = Menge || Milchgeld ? 1 : 0;
    const auto probe = [&](int zeile, TColor farbe, const char* s) {
        const QPoint p = ort(spalte, zeile);
        const int y = p.y() + box.height() / 2;
        LinieZeichnen({QPoint(p.x(), y), QPoint(p.x() + box.width(), y)}, farbe);
        text(p, s);
    };
    if (Inhaltsstoffe) {
        probe(0, Farbe(255, 255, 0), "Fett");
        probe(1, Weiss, "Eiweis");
        ++spalte;
        probe(0, Farbe(0, 0, 255), "Keimzahl");
        probe(1, Schwarz, "Zellzahl");
        ++spalte;
    }
    if (Preis37)
        probe(0, Farbe(255, 0, 255), "Preis bei 3,7%");
    if (Eigenpreis)
        probe(1, Farbe(0, 255, 0), "Eigenpreis");
}

int TMilchanlieferung::SpaltenMitte(int x) const
{
    if (AnzahlMonate <= 0 || MonatsBreite <= 0)
        return x;
    const int k = std::clamp(int((x - Links) / MonatsBreite), 0, AnzahlMonate - 1);
    return PixelX(XMonat(k) + MonatsBreite / 2);
}

bool TMilchanlieferung::MonatsWerte(int x, QString& titel, std::vector<TBestandWert>& werte) const
{
    werte.clear();
    if (AnzahlMonate <= 0 || MonatsBreite <= 0 || x < Links || x >= Rechts)
        return false;
    const int k = int((x - Links) / MonatsBreite);
    if (k < 0 || k >= AnzahlMonate)
        return false;
    const QDate monat = zeilen_.front().Monat.addMonths(k);
    titel = QStringLiteral("Monat ") + MonatLang(monat);
    const auto zeile = std::find_if(zeilen_.begin(), zeilen_.end(),
                                    [&](const TMilchMonat& m) { return Index(m.Monat) == k; });
    const bool da = zeile != zeilen_.end();
    const QString nichts = QStringLiteral("---");
    const QString code = Waehrung::Waehrungen().value(Waehrung);
    const auto preis = [&](double v) { return Zahl(v, Ats() ? 0 : 2); };
    werte = {
        {QStringLiteral(" Menge:"), da ? ZahlGruppiert(zeile->Menge, 0) : nichts, Gruen, Weiss},
        {QStringLiteral(" Milchgeld:"),
         da ? QStringLiteral("(%1) %2").arg(code, ZahlGruppiert(zeile->Milchgeld, 2)) : nichts,
         Orange, Schwarz},
        {QStringLiteral(" Fett:"), da ? Zahl(zeile->Fett, 2) : nichts, Farbe(255, 255, 0), Schwarz},
        {QStringLiteral(" Eiweiß:"), da ? Zahl(zeile->Eiweis, 2) : nichts, Weiss, Schwarz},
        {QStringLiteral(" Keime:"), da ? ZahlGruppiert(zeile->Keimzahl, 0) : nichts,
         Farbe(0, 0, 255), Weiss},
        {QStringLiteral(" Zellzahl:"), da ? ZahlGruppiert(zeile->Zellzahl, 0) : nichts, Schwarz,
         Weiss},
        {QStringLiteral(" 3,7er Preis:"), da ? preis(zeile->Preis37) : nichts, Farbe(255, 128, 255),
         Schwarz},
        {QStringLiteral(" Eigenpreis:"), da ? preis(zeile->PreisEigen) : nichts, Farbe(0, 255, 0),
         Schwarz},
    };
    return true;
}
