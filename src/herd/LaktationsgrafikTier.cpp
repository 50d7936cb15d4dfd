#include "LaktationsgrafikTier.h"

#include <DataSet.h>
#include <ProgDatum.h>
#include <Tools.h>

#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace {
constexpr TColor Aqua = 0xFFFF00;
constexpr TColor HellAqua = 0xEAEA00;
constexpr TColor Schwarz = 0x000000;
constexpr TColor Weiss = 0xFFFFFF;
constexpr TColor Gelb = 0x00FFFF;
constexpr TColor Orange = 0x0080FF;
constexpr TColor Grau = 0x808080;
constexpr TColor Gruen = 0x008000;
constexpr TColor Hellgruen = 0x00FF80;

const std::array<LaktMessgroesseInfo, lmAnzahl> Messgroessen{{
    {"MILCH", "Milch", 0x008000, 1, LaktSymbol::KreisOffen},
    {"FETT", "Fett", 0x00FFFF, 1, LaktSymbol::RauteOffen},
    {"EIWEIS", "Eiweiß", 0xFFFFFF, 1, LaktSymbol::QuadratOffen},
    {"ZELLZAHL", "Zellzahl", 0x000000, 100, LaktSymbol::Plus},
    {"HARNSTOFF", "Harnstoff", 0xFF0000, 100, LaktSymbol::Kreuz},
    {"LACTOSE", "Laktose", 0x000080, 1, LaktSymbol::QuadratVoll},
    {"TROCKENMASSE", "Trockenmasse", 0x800080, 1, LaktSymbol::RauteVoll},
}};

// The hatches of milk, fat and protein columns without colour.
constexpr std::array<TExBrushStyle, 3> Schraffuren{exDiagCross, exBDiagonal, exFDiagonal};

const QString Schrift = QStringLiteral("Liberation Sans");

QString DatumText(const QDate& d)
{
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

QDate DatumOderNichts(const db::Value& v)
{
    return v.IsNull() ? QDate() : v.AsDate();
}

// The card's performances are read from start to end and left where the user stood.
class LeistungenLesen {
public:
    explicit LeistungenLesen(db::DataSet& d) : d_(d), pos_(d.RecNo()) { d_.DisableControls(); }
    ~LeistungenLesen()
    {
        if (pos_ >= 0 && !d_.IsEmpty())
            d_.MoveTo(pos_);
        d_.EnableControls();
    }
    LeistungenLesen(const LeistungenLesen&) = delete;
    LeistungenLesen& operator=(const LeistungenLesen&) = delete;

private:
    db::DataSet& d_;
    int pos_;
};

double Zahl(db::DataSet& d, const char* feld)
{
    const db::Value& v = d.FieldByName(QString::fromLatin1(feld)).AsValue();
    return v.IsNull() ? 0.0 : v.AsDouble();
}
}  // namespace

const LaktMessgroesseInfo& LaktInfo(int messgroesse)
{
    return Messgroessen.at(std::size_t(messgroesse));
}

void LaktSymbolMalen(IMyCanvas& c, LaktSymbol symbol, int x, int y, int s, TColor farbe)
{
    switch (symbol) {
        case LaktSymbol::KreisOffen:
            c.SetzeBrushClear();
            c.Ellipse(x - s, y - s, x + s, y + s);
            break;
        case LaktSymbol::RauteOffen:
        case LaktSymbol::RauteVoll:
            if (symbol == LaktSymbol::RauteVoll)
                c.SetzeBrush(farbe, exSolid);
            else
                c.SetzeBrushClear();
            c.Polygon({{x, y - s}, {x - s, y}, {x, y + s}, {x + s, y}});
            break;
        case LaktSymbol::QuadratOffen:
        case LaktSymbol::QuadratVoll:
            if (symbol == LaktSymbol::QuadratVoll)
                c.SetzeBrush(farbe, exSolid);
            else
                c.SetzeBrushClear();
            c.Polygon({{x - s, y - s}, {x - s, y + s}, {x + s, y + s}, {x + s, y - s}});
            break;
        case LaktSymbol::Plus:
            c.Line(x - s, y, x + s, y);
            c.Line(x, y - s, x, y + s);
            break;
        case LaktSymbol::Kreuz:
            c.Line(x - s, y - s, x + s, y + s);
            c.Line(x + s, y - s, x - s, y + s);
            break;
    }
    c.SetzeBrushClear();
}

QString KurzHinweis(const QString& hinweis)
{
    const qsizetype i = hinweis.indexOf(QLatin1Char('|'));
    return i < 0 ? hinweis : hinweis.left(i);
}

QString LangHinweis(const QString& hinweis)
{
    const qsizetype i = hinweis.indexOf(QLatin1Char('|'));
    return i < 0 ? hinweis : hinweis.mid(i + 1);
}

TLaktationsgrafikTier::TLaktationsgrafikTier(db::Transaction* transaktion)
    : TTierStatistik(transaktion),
      probetage_(*transaktion,
                 QStringLiteral("SELECT DATUM, TYP, MILCH, FETT, EIWEIS, ZELLZAHL,\r"
                                "HARNSTOFF, LACTOSE, TROCKENMASSE\r"
                                "FROM P_GET_MLP_TIER_LAKTATION(:TIER_ID, :LAKTATION)")),
      dauer_(*transaktion,
             QStringLiteral("EXECUTE PROCEDURE P_GET_MLP_TIER_LAK_DAUER(:TIER_ID, :LAKTATION)")),
      besamungen_(*transaktion,
                  QStringLiteral("SELECT STIER, NUMMER, B_DATUM\r"
                                 "FROM P_GET_BESAMUNGEN_ZEITRAUM(:TIER_ID, :K1, :K2)\r"
                                 "WHERE B_DATUM IS NOT NULL")),
      behandlungenBis_(*transaktion,
                       QStringLiteral("SELECT ARZNEIMITTEL, GRUND, KATEGORIE, WFLEISCH, WMILCH, "
                                      "DATUMSORT\r"
                                      "FROM P_GET_BEHANDLUNGEN_TIER(:TIER_ID)\r"
                                      "WHERE (DATUMSORT >= :K1) AND (DATUMSORT < :K2)")),
      behandlungenOffen_(*transaktion,
                         QStringLiteral("SELECT ARZNEIMITTEL, GRUND, KATEGORIE, WFLEISCH, WMILCH, "
                                        "DATUMSORT\r"
                                        "FROM P_GET_BEHANDLUNGEN_TIER(:TIER_ID)\r"
                                        "WHERE DATUMSORT >= :K1"))
{
    for (db::Query* q :
         {&probetage_, &dauer_, &besamungen_, &behandlungenBis_, &behandlungenOffen_})
        q->Prepare();
}

TLaktationsgrafikTier::~TLaktationsgrafikTier()
{
    SymboleFreigeben();
}

std::unique_ptr<TLaktationsgrafikTier> TLaktationsgrafikTier::CreateDruck(
    db::Transaction* transaktion, db::DataSet* leistungen, const QString& untertitel, bool farbig)
{
    auto g = TierGrafikDruck<TLaktationsgrafikTier>(transaktion, untertitel, farbig);
    g->Leistungen = leistungen;
    return g;
}

std::unique_ptr<TLaktationsgrafikTier> TLaktationsgrafikTier::CreateBildschirm(
    QLabel* bild, db::Transaction* transaktion, const QList<QPixmap>& symbolBilder,
    db::DataSet* leistungen)
{
    auto g = TierGrafikBildschirm<TLaktationsgrafikTier>(nullptr, transaktion);
    g->Bild = bild;
    g->SymbolBilder = symbolBilder;
    g->Leistungen = leistungen;
    return g;
}

std::unique_ptr<TLaktationsgrafikTier> TLaktationsgrafikTier::CreateMiniatur(
    std::shared_ptr<IMyCanvas> canvas, db::Transaction* transaktion, db::DataSet* leistungen,
    const QString& untertitel)
{
    auto g = TierGrafikMiniatur<TLaktationsgrafikTier>(std::move(canvas), transaktion, untertitel);
    g->Leistungen = leistungen;
    return g;
}

bool TLaktationsgrafikTier::Setzen(bool& option, bool wert, bool immer)
{
    if (option == wert)
        return false;
    option = wert;
    if (immer || !Balken)
        Aktualisieren();
    return true;
}

void TLaktationsgrafikTier::SetMenge(bool b)
{
    Setzen(Menge, b, true);
}
void TLaktationsgrafikTier::SetFett(bool b)
{
    Setzen(Fett, b, true);
}
void TLaktationsgrafikTier::SetEiweiss(bool b)
{
    Setzen(Eiweiss, b, true);
}
void TLaktationsgrafikTier::SetZellzahl(bool b)
{
    Setzen(Zellzahl, b, false);
}
void TLaktationsgrafikTier::SetHarnstoff(bool b)
{
    Setzen(Harnstoff, b, false);
}
void TLaktationsgrafikTier::SetLaktose(bool b)
{
    Setzen(Laktose, b, false);
}
void TLaktationsgrafikTier::SetTrockenmasse(bool b)
{
    Setzen(Trockenmasse, b, false);
}
void TLaktationsgrafikTier::SetBalken(bool b)
{
    Setzen(Balken, b, true);
}

void TLaktationsgrafikTier::SetLaktation(int l)
{
    if (l == Laktation)
        return;
    Laktation = l;
    if (!Balken)
        Aktualisieren();
}

void TLaktationsgrafikTier::OptionenUebernehmen(const TLaktationsgrafikTier& andere)
{
    // For a chart not drawn yet (thumbnail, printout), which may have no canvas: its first
    // drawing shows the options.
    Menge = andere.Menge;
    Fett = andere.Fett;
    Eiweiss = andere.Eiweiss;
    Zellzahl = andere.Zellzahl;
    Harnstoff = andere.Harnstoff;
    Laktose = andere.Laktose;
    Trockenmasse = andere.Trockenmasse;
    Balken = andere.Balken;
    Laktation = andere.Laktation;
}

bool TLaktationsgrafikTier::Aktiv(int messgroesse) const
{
    const std::array<bool, lmAnzahl> aktiv{Menge,     Fett,    Eiweiss,     Zellzahl,
                                           Harnstoff, Laktose, Trockenmasse};
    return aktiv.at(std::size_t(messgroesse));
}

bool TLaktationsgrafikTier::IstEreignisSymbol(const QObject* objekt) const
{
    return objekt && std::any_of(symbole_.begin(), symbole_.end(),
                                 [objekt](const QPointer<QLabel>& s) { return s == objekt; });
}

void TLaktationsgrafikTier::PositionenBerechnen()
{
    Einheit = MaxMilch <= 10000 ? 10 : 15;
    Skala = {Einheit * 1000.0, Einheit * 100.0, Einheit * 100.0};
    Raster = Balken ? Einheit : 12;
    int l = 0, o = 0, r = 0, u = 0;
    switch (Modus) {
        case Bildschirm:
            l = F(30);
            o = F(10);
            r = F(30);
            u = F(25);
            break;
        case Miniatur:
            l = 10;
            o = 25;
            r = 10;
            u = 10;
            break;
        default:
            l = o = r = u = 100;
            break;
    }
    Links = Ursprung.x() + l;
    Oben = Ursprung.y() + o;
    Rechts = Ursprung.x() + Breite - r + 1;
    Unten = Ursprung.y() + Hoehe - u + 1;
}

int TLaktationsgrafikTier::LaktationsLaenge() const
{
    if (!Kalbung.isValid() || !Ende.isValid())
        return 365;
    return std::min(std::max(int(Kalbung.daysTo(Ende)) + 1, 365), 730);
}

double TLaktationsgrafikTier::X(const QDate& datum) const
{
    // Without a calving the week scale still counts its days from the left edge.
    const double tag = Kalbung.isValid() ? double(Kalbung.daysTo(datum)) : 0.0;
    return tag / LaktationsLaenge() * (Rechts - Links - 1) + Links;
}

double TLaktationsgrafikTier::Y(double wert, bool milchAchse) const
{
    const double v = milchAchse && !Balken ? wert / 60 : wert / Raster;
    return Unten - v * (Unten - Oben);
}

int TLaktationsgrafikTier::LinienBreite() const
{
    switch (Modus) {
        case Bildschirm:
            return 2;
        case Miniatur:
            return 1;
        default:
            return MMZuPixel(0.75L);
    }
}

TColor TLaktationsgrafikTier::KurvenFarbe(int messgroesse) const
{
    if (!Farbig)
        return Schwarz;
    TColor c = LaktInfo(messgroesse).farbe;
    if (Modus == Druckmodus) {
        if (c == Gelb)
            c = Orange;
        else if (c == Weiss)
            c = Grau;
        else if (Balken && c == Gruen)
            c = Hellgruen;
    }
    return c;
}

void TLaktationsgrafikTier::KurvenStil(int messgroesse)
{
    if (!Balken) {
        Canvas->SetzePen(KurvenFarbe(messgroesse), LinienBreite(), psSolid);
        return;
    }
    if (Farbig)
        Canvas->SetzeBrush(KurvenFarbe(messgroesse), exSolid);
    else
        Canvas->SetzeBrush(Schwarz, Schraffuren.at(std::size_t(messgroesse)));
    SetzeStandardPen();
}

void TLaktationsgrafikTier::SymbolZeichnen(int messgroesse, double x, double y)
{
    if (Modus == Miniatur)
        return;
    LaktSymbolMalen(*Canvas, LaktInfo(messgroesse).symbol, int(x), int(y),
                    Modus == Druckmodus ? 20 : 4, KurvenFarbe(messgroesse));
}

void TLaktationsgrafikTier::Zeichnen()
{
    SymboleFreigeben();
    Ereignisse.clear();
    if (Modus == Bildschirm && Bild) {
        ZeichnenAufBild();
        return;
    }
    SetzeStandardPen();
    if (Balken)
        BalkenZeichnen();
    else
        KurvenZeichnen();
    if (Modus == Druckmodus && Beschriftung)
        LegendeZeichnen();
    GeaendertZuruecksetzen();
}

void TLaktationsgrafikTier::ZeichnenAufBild()
{
    QPixmap bild(std::max(1, Breite), std::max(1, Hoehe));
    bild.fill(Qt::white);
    {
        QPainter painter(&bild);
        painter.setRenderHint(QPainter::Antialiasing);
        // Lines one pixel wide fall on whole pixels.
        painter.translate(0.5, 0.5);
        struct CanvasZurueck {
            TLaktationsgrafikTier& g;
            ~CanvasZurueck() { g.Canvas.reset(); }
        } zurueck{*this};
        Canvas = std::make_shared<TMyGDICanvas>(painter);
        SetzeStandardPen();
        if (Balken)
            BalkenZeichnen();
        else
            KurvenZeichnen();
    }
    Bild->setPixmap(bild);
    GeaendertZuruecksetzen();

    QWidget* eltern = Bild->parentWidget();
    if (!eltern)
        return;
    const QSize groesse = SymbolBilder.isEmpty() ? QSize(16, 16) : SymbolBilder.first().size();
    for (const Ereignis& e : Ereignisse) {
        auto* s = new QLabel(eltern);
        s->setObjectName(QStringLiteral("LaktationsSymbol"));
        if (e.art < SymbolBilder.size())
            s->setPixmap(SymbolBilder.at(e.art));
        s->setAttribute(Qt::WA_TranslucentBackground);
        s->setFixedSize(groesse);
        s->move(Bild->x() + e.x - groesse.width() / 2, Bild->y() + Unten - groesse.height() - 10);
        QString kurz = KurzHinweis(e.hinweis);
        kurz.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        s->setToolTip(kurz);
        s->setStatusTip(LangHinweis(e.hinweis));
        s->show();
        s->raise();
        symbole_.emplace_back(s);
    }
}

void TLaktationsgrafikTier::SymboleFreigeben()
{
    for (QPointer<QLabel>& s : symbole_)
        delete s.data();
    symbole_.clear();
}

void TLaktationsgrafikTier::AchsenZeichnen(int plaetze, const std::vector<int>& laktationen)
{
    PositionenBerechnen();
    const bool druck = Modus == Druckmodus;
    const int t = druck ? 20 : 4;
    if (!druck) {
        Canvas->SetzeBrush(Aqua, exSolid);
        Canvas->FillRect(QRect(Ursprung, QSize(Breite, Hoehe)));
    }
    SetzeStandardPen();
    Canvas->SetzeBrush(druck ? Weiss : HellAqua, exSolid);
    Canvas->Rectangle(Links, Oben, Rechts, Unten);
    if (!Beschriftung)
        return;

    Canvas->SetzeSchrift(Schrift, 9, fsBold, Schwarz, false);
    Canvas->SetzeBrush(druck ? Weiss : Aqua, exSolid);
    const auto gitter = [&](double y) {
        Canvas->SetzePen(Schwarz, 1, psDot);
        Linie(Links, y, Rechts - 1, y);
        SetzeStandardPen();
    };
    if (!Balken) {
        for (int i = 0; i <= 6; ++i) {
            const double y = Y(10 * i, true);
            if (i > 0 && i < 6)
                gitter(y);
            Linie(Rechts - t, y, Rechts + t, y);
            TextAusgeben(Rechts + t + 1, y, QString::number(10 * i), taLeftJustify, tvaCenter, 0);
        }
    }
    for (int i = 0; i <= Raster; ++i) {
        const double y = Unten - double(i) / Raster * (Unten - Oben);
        if (Balken && i > 0 && i < Raster)
            gitter(y);
        Linie(Links - t, y, Links + t, y);
        TextAusgeben(Links - t - 1, y, QString::number(i), taRightJustify, tvaCenter, 0);
    }

    if (Balken) {
        Canvas->SetzeSchrift(Schrift, 8, fsBold, Schwarz, false);
        const int w = (Rechts - Links + 1) / plaetze;
        for (int i = 0; i < plaetze; ++i)
            Linie(Links + w * i, Unten - t, Links + w * i, Unten + t);
        for (int lak : laktationen)
            TextAusgeben(Links + w * (lak - 1) + w / 2, Unten + t + 1,
                         QStringLiteral("%1. Lak").arg(lak), taCenter, tvaTop, 0);
        return;
    }

    Canvas->SetzeSchrift(Schrift, 8, 0, Schwarz, false);
    const int wochen = LaktationsLaenge() / 7;
    for (int i = 0; i <= wochen; ++i) {
        const double x = double(7 * i) / LaktationsLaenge() * (Rechts - Links - 1) + Links;
        if (i > 0 && i % 4 == 0) {
            Linie(x, Unten - 2 * t, x, Unten + 2 * t);
            TextAusgeben(x, Unten + 2 * t + 1, QString::number(7 * i), taCenter, tvaTop, 0);
        } else {
            Linie(x, Unten - t, x, Unten + t);
        }
    }
}

void TLaktationsgrafikTier::KurvenZeichnen()
{
    dauer_.Param(QStringLiteral("TIER_ID")).SetInteger(TierID);
    dauer_.Param(QStringLiteral("LAKTATION")).SetInteger(Laktation);
    dauer_.Execute();
    Kalbung = DatumOderNichts(dauer_.Field(QStringLiteral("KALBUNG")));
    NaechsteKalbung = DatumOderNichts(dauer_.Field(QStringLiteral("NKALBUNG")));
    Ende = DatumOderNichts(dauer_.Field(QStringLiteral("ENDE")));
    Trocken = DatumOderNichts(dauer_.Field(QStringLiteral("TROCKEN")));
    dauer_.Close();

    AchsenZeichnen(0, {});
    if (!Kalbung.isValid())
        return;

    std::vector<Probetag> tage;
    probetage_.Param(QStringLiteral("TIER_ID")).SetInteger(TierID);
    probetage_.Param(QStringLiteral("LAKTATION")).SetInteger(Laktation);
    for (probetage_.Open(); !probetage_.Eof(); probetage_.Next()) {
        Probetag tag{probetage_.Field(0).AsDate(), probetage_.Field(1).AsString().trimmed(), {}};
        for (int m = 0; m < lmAnzahl; ++m) {
            const db::Value& v = probetage_.Field(2 + m);
            tag.werte[std::size_t(m)] = v.IsNull() ? 0.0 : v.AsDouble();
        }
        tage.push_back(tag);
    }
    probetage_.Close();
    for (int m = 0; m < lmAnzahl; ++m)
        if (Aktiv(m))
            KurveZeichnen(m, tage);
    SetzeStandardPen();

    if (!Untertitel.isEmpty())
        UntertitelZeichnen(
            QStringLiteral("%1 - %2. Laktation").arg(Untertitel, QString::number(Laktation)));
    if (Modus == Bildschirm)
        EreignisseSammeln();
}

void TLaktationsgrafikTier::KurveZeichnen(int messgroesse, const std::vector<Probetag>& tage)
{
    const LaktMessgroesseInfo& info = LaktInfo(messgroesse);
    const bool milch = messgroesse == lmMilch;
    std::vector<Tools::TExPoint> punkte;
    for (const Probetag& tag : tage) {
        const double wert = tag.werte[std::size_t(messgroesse)];
        if (tag.typ != QLatin1String("1N") || wert == 0) {
            KurvenStueckZeichnen(messgroesse, punkte);
            continue;
        }
        const double y = Y(wert / info.teiler, milch);
        // A curve that starts within four weeks of calving starts at the calving.
        if (punkte.empty() && Kalbung.daysTo(tag.datum) < 28)
            punkte.push_back({X(Kalbung), y});
        punkte.push_back({X(tag.datum), y});
    }
    KurvenStueckZeichnen(messgroesse, punkte);
}

void TLaktationsgrafikTier::KurvenStueckZeichnen(int messgroesse,
                                                 std::vector<Tools::TExPoint>& punkte)
{
    if (punkte.empty())
        return;
    KurvenStil(messgroesse);
    Tools::TPointsArray linien;
    Tools::Spline2(punkte, Unten, Oben, linien);
    for (const Tools::TPoints& linie : linien)
        // A single point is what is left of a run above the plot: nothing to draw.
        if (linie.size() > 1)
            Canvas->Polyline(linie);
    for (const Tools::TExPoint& p : punkte)
        if (p.X > Links && p.Y >= Oben && p.Y <= Unten)
            SymbolZeichnen(messgroesse, double(p.X), double(p.Y));
    punkte.clear();
}

void TLaktationsgrafikTier::BalkenZeichnen()
{
    struct Zeile {
        int lak;
        std::array<double, 3> wert;
        std::array<double, 3> prozent;
    };
    std::vector<Zeile> zeilen;
    if (Leistungen && Leistungen->Active()) {
        LeistungenLesen lesen(*Leistungen);
        for (Leistungen->First(); !Leistungen->Eof(); Leistungen->Next()) {
            const db::Value& lak = Leistungen->FieldByName(QStringLiteral("LAK")).AsValue();
            zeilen.push_back(
                {lak.IsNull() ? 0 : lak.AsInteger(),
                 {Zahl(*Leistungen, "LMILCH"), Zahl(*Leistungen, "LFETT"),
                  Zahl(*Leistungen, "LEIWEIS")},
                 {0.0, Zahl(*Leistungen, "LFETTPRO"), Zahl(*Leistungen, "LEIWEISPRO")}});
        }
    }
    // A bought cow's lactations may start above 1: each stands in the slot of its number, and
    // the slots reach the highest number.
    MaxMilch = 0;
    int plaetze = std::max(5, int(zeilen.size()));
    std::vector<int> laktationen;
    for (const Zeile& z : zeilen) {
        MaxMilch = std::max(MaxMilch, z.wert[0]);
        plaetze = std::max(plaetze, z.lak);
        if (z.lak >= 1)
            laktationen.push_back(z.lak);
    }
    AchsenZeichnen(plaetze, laktationen);

    const int w = (Rechts - Links + 1) / plaetze;
    const int b = int((w - 0.2 * w) / 3 + 0.5);
    const int breite = LinienBreite();
    const int schwarzBreite = Modus != Druckmodus ? breite + 2
                              : Farbig            ? int(1.4 * breite)
                                                  : breite;
    for (const Zeile& z : zeilen) {
        for (int k = 0; k < 3; ++k) {
            if (!Aktiv(k) || z.lak < 1 || z.wert[k] <= 0)
                continue;
            const int x = int(0.1 * w + w * (z.lak - 1) + 0.5) + k * b + Links;
            const double oben =
                std::max<double>(Unten - z.wert[k] / Skala[k] * (Unten - Oben), Oben);
            KurvenStil(k);
            Canvas->Rectangle(x, int(oben), x + b + 1, Unten);
            if (k == 0 || z.prozent[k] <= 0)
                continue;
            const double y = Unten - z.prozent[k] * 100 / Skala[k] * (Unten - Oben);
            if (y < Oben || y > Unten)
                continue;
            Canvas->SetzePen(Schwarz, schwarzBreite, psSolid);
            SymbolZeichnen(k, x + b / 2.0, y);
            Canvas->SetzePen(KurvenFarbe(k), breite, psSolid);
            SymbolZeichnen(k, x + b / 2.0, y);
        }
    }
    SetzeStandardPen();
    Canvas->SetzeBrushClear();
    if (!Untertitel.isEmpty())
        UntertitelZeichnen(Untertitel + QStringLiteral(" - Gesamt"));
}

void TLaktationsgrafikTier::LegendeZeichnen()
{
    Canvas->SetzeSchrift(Schrift, 9, fsBold, Schwarz, false);
    const int y = (Oben + Ursprung.y()) / 2;
    int x = Rechts;
    for (int m = lmTrockenmasse; m >= lmMilch; --m) {
        if (!Aktiv(m) || (Balken && m > lmEiweiss))
            continue;
        const QString text = QString::fromUtf8(LaktInfo(m).text);
        x -= Canvas->TextWidth(text);
        Canvas->SetzeBrushClear();
        Canvas->TextOut(x, y, text, taLeftJustify, tvaCenter, 0);
        x -= 50;
        KurvenStil(m);
        if (Balken)
            Canvas->Rectangle(x, y - 15, x + 40, y + 15);
        else
            SymbolZeichnen(m, x + 20, y);
        SetzeStandardPen();
        x -= 30;
    }
    Canvas->SetzeBrushClear();
}

void TLaktationsgrafikTier::EreignisseSammeln()
{
    if (Trocken.isValid()) {
        const QString text = Trocken < ProgDatum::Heute() ? QStringLiteral(" trockengestellt: %1 ")
                                                          : QStringLiteral(" trockenstellen: %1 ");
        Ereignisse.push_back(
            {Trockenstellung, Trocken, int(X(Trocken)), text.arg(DatumText(Trocken))});
    }

    besamungen_.Param(QStringLiteral("TIER_ID")).SetInteger(TierID);
    besamungen_.Param(QStringLiteral("K1")).SetDate(Kalbung);
    besamungen_.Param(QStringLiteral("K2")).SetDate(NaechsteKalbung);
    for (besamungen_.Open(); !besamungen_.Eof(); besamungen_.Next()) {
        const QDate datum = besamungen_.Field(2).AsDate();
        const QString hinweis =
            QStringLiteral(
                " Besamung:\r***************\r Datum:   %1 \r Stier:      %2 \r HB-Nr:   "
                "%3 | Besamung:  Datum: %1  Stier: %2  HB-Nr: %3")
                .arg(DatumText(datum), besamungen_.Field(0).AsString(),
                     besamungen_.Field(1).AsString());
        Ereignisse.push_back({Besamung, datum, int(X(datum)), hinweis});
    }
    besamungen_.Close();

    db::Query& behandlungen = NaechsteKalbung.isValid() ? behandlungenBis_ : behandlungenOffen_;
    behandlungen.Param(QStringLiteral("TIER_ID")).SetInteger(TierID);
    behandlungen.Param(QStringLiteral("K1")).SetDate(Kalbung);
    if (NaechsteKalbung.isValid())
        behandlungen.Param(QStringLiteral("K2")).SetDate(NaechsteKalbung);
    for (behandlungen.Open(); !behandlungen.Eof(); behandlungen.Next()) {
        const QDate datum = behandlungen.Field(5).AsDate();
        // The waiting times are numbers: they become text here, not in the format.
        const auto zahl = [&](int feld) {
            const db::Value& v = behandlungen.Field(feld);
            return v.IsNull() ? QString() : QString::number(v.AsInteger());
        };
        const QString hinweis =
            QStringLiteral(
                " Tierärztliche Behandlung: \r********************************\r "
                "Grund:            %1 \r Kategorie:       %2 \r Arzneimittel:    %3 \r "
                "Wartezeit M:   %4 \r Wartezeit F:    %5 \r Datum:            %6 | "
                "Tierärztliche Behandlung:   Grund: %1  Kategorie: %2  Arzneimittel: "
                "%3  Wartezeit M: %4  Wartezeit F: %5  Datum: %6")
                .arg(behandlungen.Field(1).AsString(), behandlungen.Field(2).AsString(),
                     behandlungen.Field(0).AsString(), zahl(4), zahl(3), DatumText(datum));
        Ereignisse.push_back({Behandlung, datum, int(X(datum)), hinweis});
    }
    behandlungen.Close();
}
