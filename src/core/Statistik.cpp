#include "Statistik.h"

#include <stdexcept>

TStatistik::TStatistik(db::Transaction* transaktion) : Transaktion(transaktion) {}

TStatistik::~TStatistik() = default;

void TStatistik::zeichnenJetzt()
{
    // Cleared first: a setter called while drawing marks a change that needs another drawing.
    Geaendert = false;
    try {
        Zeichnen();
    } catch (...) {
        Geaendert = true;
        throw;
    }
}

void TStatistik::BeginUpdate()
{
    ++UpdateZaehler;
}

void TStatistik::EndUpdate()
{
    if (UpdateZaehler <= 0) {
        UpdateZaehler = 0;
        return;
    }
    --UpdateZaehler;
    if (UpdateZaehler == 0 && Geaendert && !AlsDruck)
        zeichnenJetzt();
}

void TStatistik::Aktualisieren()
{
    if (UpdateZaehler > 0)
        Geaendert = true;
    else if (!AlsDruck)
        zeichnenJetzt();
}

void TStatistik::Drucken()
{
    if (!AlsDruck)
        throw std::runtime_error("Grafik wurde nicht als Druck initialisiert!");
    // The job's canvas records into its page store, which goes with the job.
    struct CanvasZurueck {
        TStatistik& s;
        std::shared_ptr<IMyCanvas> alt;
        ~CanvasZurueck() { s.Canvas = std::move(alt); }
    } zurueck{*this, Canvas};
    TStatistikDruck druck(*this);
    druck.Titel = GetTitel();
    druck.Vorschau();
}

int TStatistik::MMZuPixel(long double mm) const
{
    if (!Druck)
        throw std::logic_error("Millimeter lassen sich nur während des Drucks umrechnen.");
    const TPrinterSetup& setup = Druck->Paper().PrinterSetup();
    const long double proMM = (setup.PixelsPerMM_byX() + setup.PixelsPerMM_byY()) / 2.0L;
    return std::max(1, int(mm * proMM + 0.5L));
}

void TStatistik::SetzeStandardPen()
{
    Canvas->SetzePen(0, AlsDruck ? MMZuPixel(0.4L) : 1, psSolid);
}

void TStatistik::Linie(long double x1, long double y1, long double x2, long double y2)
{
    Canvas->Line(int(x1), int(y1), int(x2), int(y2));
}

void TStatistik::Polygon(const std::vector<Tools::TExPoint>& punkte)
{
    std::vector<QPoint> p;
    p.reserve(punkte.size());
    for (const Tools::TExPoint& e : punkte)
        p.push_back(PunktUmrechnen(e));
    Canvas->Polygon(p);
}

void TStatistik::TextAusgeben(long double x, long double y, const QString& s,
                              TAlignment ausrichtung, TVAlignment vAusrichtung, int winkel)
{
    Canvas->TextOut(int(x), int(y), s, ausrichtung, vAusrichtung, winkel);
}

QRect TStatistik::Rechteck(long double l, long double t, long double r, long double b) const
{
    const int links = int(l);
    const int oben = int(t);
    return QRect(links, oben, int(r) - links, int(b) - oben);
}

TStatistikDruck::TStatistikDruck(TStatistik& statistik, PrinterDevice& device,
                                 std::unique_ptr<PrintOutput> output)
    : TDrucken(device, std::move(output)), Statistik(statistik)
{
    Statistik.Druck = this;
}

TStatistikDruck::~TStatistikDruck()
{
    if (Statistik.Druck == this)
        Statistik.Druck = nullptr;
}

void TStatistikDruck::InitDruck()
{
    TDrucken::InitDruck();
    SeiteEinrichten(TPrinterOrientation::poLandscape, 200, Titel);
}

void TStatistikDruck::DruckeInhalt(QObject*)
{
    InitDruck();
    Statistik.Canvas = std::make_shared<TMyPreviewCanvas>(Paper());
    Statistik.Ursprung = QPoint(SeitenrandLinks(), SeitenrandOben());
    const TPrinterSetup& setup = Paper().PrinterSetup();
    Statistik.Breite =
        int(setup.PaperWidth_MM() / Paper().CurrUnits()) - SeitenrandLinks() - SeitenrandRechts();
    Statistik.Hoehe =
        int(setup.PaperHeight_MM() / Paper().CurrUnits()) - SeitenrandUnten() - SeitenrandOben();
    Statistik.Zeichnen();
    Preview->SetMaxPage(std::int16_t(AktSeite()));
}
