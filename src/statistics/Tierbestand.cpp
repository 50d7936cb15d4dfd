#include "Tierbestand.h"

#include "PrognoseDatenbank.h"

#include <Grundeinstellungen.h>
#include <ProgDatum.h>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr TColor Farbe(int r, int g, int b)
{
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

constexpr TColor Aqua = Farbe(0, 255, 255);
constexpr TColor Schwarz = Farbe(0, 0, 0);
constexpr TColor Weiss = Farbe(255, 255, 255);
constexpr TColor Rahmen = Farbe(90, 90, 90);
constexpr TColor GesamtFuellung = Farbe(128, 0, 0);

const QString Schrift = QStringLiteral("Liberation Sans");

TBestandBand Band(const char* text, std::vector<int> kategorien, TColor fuellung, TColor schrift,
                  TColor prognose)
{
    return {QString::fromUtf8(text), std::move(kategorien), fuellung, schrift, prognose};
}

const std::vector<TBestandBand> Normal{
    Band("Kälber bis 3 M m.", {0}, Farbe(0, 0, 128), Weiss, Farbe(0, 0, 64)),
    Band("Kälber bis 3 M w.", {5}, Farbe(0, 0, 255), Weiss, Farbe(0, 0, 170)),
    Band("Kälber 3 bis 6 M", {1, 6}, Farbe(0, 128, 0), Weiss, Farbe(0, 106, 0)),
    Band("Rind 6 M bis 1 J", {2, 7}, Farbe(0, 255, 0), Schwarz, Farbe(0, 170, 0)),
    Band("Pension 6 M bis 1 J", {10}, Farbe(176, 255, 0), Schwarz, Farbe(135, 196, 0)),
    Band("Rind 1 bis 2 J", {3, 8}, Farbe(255, 255, 0), Schwarz, Farbe(170, 170, 0)),
    Band("Pension 1 bis 2 J", {11}, Farbe(255, 191, 32), Schwarz, Farbe(196, 147, 24)),
    Band("Rind über 2 J", {4, 9}, Farbe(255, 127, 0), Schwarz, Farbe(196, 98, 0)),
    Band("Pension über 2 J", {12}, Farbe(255, 96, 64), Schwarz, Farbe(196, 73, 49)),
    Band("Kühe", {13}, Farbe(255, 0, 0), Schwarz, Farbe(170, 0, 0)),
    Band("Mutterkühe", {14}, Farbe(128, 0, 0), Weiss, Farbe(98, 0, 0)),
};

const std::vector<TBestandBand> Antrag{
    Band("Kälber bis 6 M", {0, 1, 5, 6}, Farbe(0, 128, 0), Weiss, Farbe(0, 106, 0)),
    Band("m. Kälber 6 M bis 1 J", {2}, Farbe(0, 0, 255), Weiss, Farbe(0, 0, 204)),
    Band("m. Rinder 1 bis 2 J", {3}, Farbe(0, 128, 255), Weiss, Farbe(0, 102, 204)),
    Band("m. Rinder über 2 J", {4}, Farbe(128, 255, 255), Schwarz, Farbe(102, 204, 204)),
    Band("w. Kälber 6 M bis 1 J", {7}, Farbe(0, 184, 0), Schwarz, Farbe(0, 170, 0)),
    Band("Pension 6 M bis 1 J", {10}, Farbe(0, 255, 0), Schwarz, Farbe(0, 204, 0)),
    Band("Kalbinnen 1 bis 2 J", {8}, Farbe(255, 192, 0), Schwarz, Farbe(170, 170, 0)),
    Band("Pension 1 bis 2 J", {11}, Farbe(255, 255, 160), Schwarz, Farbe(204, 204, 128)),
    Band("Kalbinnen über 2 J", {9}, Farbe(255, 127, 0), Schwarz, Farbe(196, 98, 0)),
    Band("Pension über 2 J", {12}, Farbe(223, 216, 0), Schwarz, Farbe(178, 172, 0)),
    Band("Kühe", {13}, Farbe(255, 0, 0), Schwarz, Farbe(170, 0, 0)),
    Band("Mutterkühe", {14}, Farbe(255, 128, 128), Schwarz, Farbe(204, 102, 102)),
};

// The census of cows never reaches beyond today: no forecast shade.
const std::vector<TBestandBand> Kuehe{
    Band("mehr als 6 Lakt.", {15}, Farbe(0, 0, 128), Weiss, Farbe(0, 0, 128)),
    Band("6 Laktationen", {16}, Farbe(0, 0, 255), Weiss, Farbe(0, 0, 255)),
    Band("5 Laktationen", {17}, Farbe(0, 128, 0), Weiss, Farbe(0, 128, 0)),
    Band("4 Laktationen", {18}, Farbe(0, 255, 0), Schwarz, Farbe(0, 255, 0)),
    Band("3 Laktationen", {19}, Farbe(255, 255, 0), Schwarz, Farbe(255, 255, 0)),
    Band("2 Laktationen", {20}, Farbe(255, 127, 0), Schwarz, Farbe(255, 127, 0)),
    Band("1 Laktation", {21}, Farbe(255, 0, 0), Schwarz, Farbe(255, 0, 0)),
};

QString DatumLang(const QDate& d)
{
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

}  // namespace

QString TTierbestand::ArtName(int art)
{
    switch (art) {
        case KomplettAntrag:
            return QStringLiteral("Komplettbestand Antrag");
        case NurKuehe:
            return QStringLiteral("nur Kühe");
        default:
            return QStringLiteral("Komplettbestand normal");
    }
}

const std::vector<TBestandBand>& TTierbestand::Baender(int art)
{
    switch (art) {
        case KomplettAntrag:
            return Antrag;
        case NurKuehe:
            return Kuehe;
        default:
            return Normal;
    }
}

TTierbestand::TTierbestand(db::Transaction* transaktion)
    : TTierbestand(transaktion, std::make_unique<TPrognoseDatenbank>(*transaktion, Einstellungen()))
{
}

TTierbestand::TTierbestand(db::Transaction* transaktion,
                           std::unique_ptr<TPrognoseDatenquelle> quelle)
    : TBestandstatistik(transaktion),
      quelle_(std::move(quelle)),
      engine_(std::make_unique<TPrognoseTierbestand>(*quelle_))
{
}

TTierbestand::~TTierbestand() = default;

void TTierbestand::SetBis(const QDate& bis)
{
    Bis = bis;
    const QDate heute = ProgDatum::Heute();
    if (!(Prognose && Art != NurKuehe) && Bis > heute)
        Bis = heute;
}

void TTierbestand::SetPrognose(bool prognose)
{
    Prognose = prognose;
    const QDate heute = ProgDatum::Heute();
    if (!Prognose && Bis > heute)
        Bis = heute;
}

void TTierbestand::Assign(const TTierbestand& quelle)
{
    Von = quelle.Von;
    Art = quelle.Art;
    Prognose = quelle.Prognose;
    Bis = quelle.Bis;
    Stall = quelle.Stall;
}

void TTierbestand::PositionenBerechnen()
{
    TBestandstatistik::PositionenBerechnen();
    if (AlsDruck) {
        Links += 90;
        Oben += 170;
        Rechts -= 40;
        Unten -= 100;
    } else {
        Links += 40;
        Oben += 50;
        Rechts -= 20;
        Unten -= 55;
    }
}

void TTierbestand::Skala(int maximum, int& skalaMax, int& schritt)
{
    skalaMax = maximum <= 0 ? 10 : (maximum + 9) / 10 * 10;
    schritt = skalaMax < 100 ? 10 : skalaMax < 500 ? 20 : 50;
    skalaMax = (skalaMax + schritt - 1) / schritt * schritt;
}

int TTierbestand::DatumSchritt(int tage)
{
    return tage - 1 < 35 ? 1 : tage - 1 < 180 ? 14 : 28;
}

long double TTierbestand::X(const QDate& tag) const
{
    return Links + (long double)(erster_.daysTo(tag)) * TagesBreite;
}

std::vector<int> TTierbestand::BandWerte(const QDate& tag) const
{
    const TPrognoseTierbestand::TTagesBestand bestand = engine_->GetTag(tag);
    const std::vector<TBestandBand>& baender = Baender(Art);
    std::vector<int> werte(baender.size(), 0);
    for (std::size_t i = 0; i < baender.size(); ++i)
        for (int k : baender[i].Kategorien)
            werte[i] += bestand[std::size_t(k)];
    return werte;
}

TExBrushStyle TTierbestand::Muster(int band) const
{
    if (!AlsDruck)
        return exSolid;
    return band % 2 == 0 ? exBDiagonal : exFDiagonal;
}

void TTierbestand::Zeichnen()
{
    if (!Canvas)
        throw std::logic_error("Die Grafik hat keine Zeichenfläche.");
    PositionenBerechnen();
    if (Von.isValid() && Bis.isValid() && Von > Bis)
        std::swap(Von, Bis);
    engine_->SetVon(Von);
    engine_->SetBis(Bis);
    if (Art == NurKuehe)
        engine_->LaktationenBerechnen(Stall);
    else
        engine_->BestandBerechnen(Stall);
    erster_ = engine_->Von();
    tage_ = engine_->Tage();

    Skala(engine_->GetMaximum(), SkalaMax, SkalaSchritt);
    TierHoehe = (long double)(Unten - Oben) / SkalaMax;
    // An empty period (the cows' census of a period after today) draws the axes only.
    TagesBreite = (long double)(Rechts - Links) / std::max(1, tage_);

    if (!AlsDruck) {
        Canvas->SetzeBrush(Aqua, exSolid);
        Canvas->FillRect(QRect(Ursprung, QSize(Breite, Hoehe)));
    }
    const QDate heute = ProgDatum::Heute();
    BloeckeZeichnen(heute);

    if (Art != NurKuehe && tage_ > 0) {
        std::vector<QPoint> linie;
        for (int k = 0; k < tage_; ++k) {
            const QDate tag = erster_.addDays(k);
            linie.emplace_back(PixelX(X(tag) + TagesBreite / 2), PixelY(Y(engine_->GetGVE(tag))));
        }
        if (linie.size() == 1)
            linie.push_back(linie.front() + QPoint(1, 0));
        const int breite = AlsDruck ? MMZuPixel(0.75L) : 2;
        Canvas->SetzeBrushClear();
        Canvas->SetzePen(Schwarz, 2 * breite, psSolid);
        Canvas->Polyline(linie);
        Canvas->SetzePen(Weiss, breite, psSolid);
        Canvas->Polyline(linie);
    }

    SetzeStandardPen();
    Canvas->SetzeBrushClear();
    Linie(Links, Oben, Links, Unten);
    Linie(Links, Unten, Rechts, Unten);
    SkalaZeichnen();
    LegendeZeichnen();
}

void TTierbestand::BloeckeZeichnen(const QDate& heute)
{
    if (tage_ <= 0)
        return;
    const std::vector<TBestandBand>& baender = Baender(Art);
    const QDate morgen = heute.addDays(1);
    const auto block = [&](const QDate& a, const QDate& b, const std::vector<int>& werte) {
        const bool prognose = a > heute;
        const int x1 = PixelX(X(a));
        const int x2 = PixelX(X(b.addDays(1))) + 1;
        int unten = 0;
        for (int i = int(baender.size()) - 1; i >= 0; --i) {
            const int wert = werte[std::size_t(i)];
            if (wert <= 0)
                continue;
            const TBestandBand& band = baender[std::size_t(i)];
            if (prognose)
                Canvas->SetzePen(band.Prognose, 1, psSolid);
            else
                Canvas->SetzePen(Rahmen, 1, psSolid);
            Canvas->SetzeBrush(prognose ? band.Prognose : band.Fuellung, Muster(i));
            Canvas->Rectangle(x1, PixelY(Y(unten + wert)), x2, PixelY(Y(unten)) + 1);
            unten += wert;
        }
    };
    QDate anfang = erster_;
    std::vector<int> lauf = BandWerte(anfang);
    for (int k = 1; k <= tage_; ++k) {
        const QDate tag = erster_.addDays(k);
        // The day after the period has no animals and closes the last block.
        const std::vector<int> werte = BandWerte(tag);
        if (k == tage_ || werte != lauf || tag == morgen) {
            block(anfang, tag.addDays(-1), lauf);
            anfang = tag;
            lauf = werte;
        }
    }
}

void TTierbestand::SkalaZeichnen()
{
    const int strich = AlsDruck ? 15 : 4;
    Canvas->SetzeSchrift(Schrift, 9, fsBold, Schwarz, false);
    for (int v = 0; v <= SkalaMax; v += SkalaSchritt) {
        Linie(Links - strich, Y(v), Links + strich, Y(v));
        TextAusgeben(Links - strich, Y(v), QString::number(v), taRightJustify, tvaCenter, 0);
    }
    Canvas->SetzeSchrift(Schrift, 8, fsBold, Schwarz, false);
    const int schritt = DatumSchritt(tage_);
    for (int k = 0; k < tage_; k += schritt) {
        const QDate tag = erster_.addDays(k);
        const long double x = X(tag) + TagesBreite / 2;
        Linie(x, Unten - strich, x, Unten + (AlsDruck ? strich : 2 * strich));
        const QString text = tag.toString(QStringLiteral("dd.MM.yy"));
        if (AlsDruck)
            TextAusgeben(x + 20, Unten + 75, text, taRightJustify, tvaTop, 45);
        else
            TextAusgeben(x, Unten + 2 * strich, text, taRightJustify, tvaTop, 45);
    }
}

void TTierbestand::LegendeZeichnen()
{
    if (AlsDruck) {
        Canvas->SetzeSchrift(Schrift, 14, fsBold, Schwarz, false);
        TextAusgeben(Links + 50, Ursprung.y(),
                     QStringLiteral("Tierbestand von %1 bis %2, %3, %4 Prognose")
                         .arg(DatumLang(Von), DatumLang(Bis), ArtName(Art),
                              Prognose ? QStringLiteral("mit") : QStringLiteral("ohne")),
                     taLeftJustify, tvaTop, 0);
    }
    Canvas->SetzeSchrift(Schrift, 9, 0, Schwarz, false);
    const std::vector<TBestandBand>& baender = Baender(Art);
    for (int i = 0; i < int(baender.size()); ++i) {
        const int spalte = i / 2;
        const int zeile = i % 2;
        QRect box;
        int ecke = 0;
        if (AlsDruck) {
            box = QRect(Links + 50 + spalte * 425, Oben - 90 + zeile * 40, 75, 25);
            ecke = 5;
        } else {
            box = QRect(Links + 30 + spalte * 150, Oben - 40 + zeile * 20, 25, 10);
            ecke = 7;
        }
        SetzeStandardPen();
        Canvas->SetzeBrush(baender[std::size_t(i)].Fuellung, Muster(i));
        Canvas->RoundRect(box.x(), box.y(), box.x() + box.width(), box.y() + box.height(), ecke,
                          ecke);
        Canvas->SetzeBrushClear();
        TextAusgeben(box.x() + box.width(), box.y() + box.height() / 2,
                     QStringLiteral("  ") + baender[std::size_t(i)].Text, taLeftJustify, tvaCenter,
                     0);
    }
}

QDate TTierbestand::TagBei(int x) const
{
    if (tage_ <= 0 || TagesBreite <= 0 || x < Links || x >= Rechts)
        return {};
    const int k = int((x - Links) / TagesBreite);
    if (k < 0 || k >= tage_)
        return {};
    return erster_.addDays(k);
}

int TTierbestand::SpaltenMitte(int x) const
{
    const QDate tag = TagBei(x);
    if (!tag.isValid())
        return x;
    return PixelX(X(tag) + TagesBreite / 2);
}

void TTierbestand::TagesWerte(int x, QString& titel, std::vector<TBestandWert>& werte) const
{
    werte.clear();
    const QDate tag = TagBei(x);
    if (!tag.isValid()) {
        titel.clear();
        return;
    }
    titel = QStringLiteral("Daten am ") + DatumLang(tag);
    const std::vector<TBestandBand>& baender = Baender(Art);
    const std::vector<int> bandWerte = BandWerte(tag);
    for (std::size_t i = 0; i < baender.size(); ++i)
        werte.push_back({baender[i].Text, QString::number(bandWerte[i]), baender[i].Fuellung,
                         baender[i].Schrift});
    const TPrognoseTierbestand::TTagesBestand bestand = engine_->GetTag(tag);
    const bool kuehe = Art == NurKuehe;
    int gesamt = 0;
    for (int k = kuehe ? TPrognoseTierbestand::KategorienBestand : 0;
         k <
         (kuehe ? TPrognoseTierbestand::AnzahlKategorien : TPrognoseTierbestand::KategorienBestand);
         ++k)
        gesamt += bestand[std::size_t(k)];
    werte.push_back({QStringLiteral("Gesamt"), QString::number(gesamt), GesamtFuellung, Weiss});
    if (!kuehe)
        werte.push_back({QStringLiteral("GVE"),
                         QString::number(double(engine_->GetGVE(tag)), 'f', 2)
                             .replace(QLatin1Char('.'), QLatin1Char(',')),
                         Weiss, Schwarz});
}
