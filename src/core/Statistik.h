#pragma once
// The chart base: a chart draws through IMyCanvas into a rectangle, so one drawing serves the
// screen, thumbnails and paper; TStatistikDruck puts one chart on a landscape page.

#include "Drucken.h"
#include "Leinwand.h"
#include "Tools.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

namespace db {
class Transaction;
}

class TStatistikDruck;

class TStatistik {
public:
    // Descendants create their queries on the transaction afterwards; it is not owned.
    explicit TStatistik(db::Transaction* transaktion);
    virtual ~TStatistik();
    TStatistik(const TStatistik&) = delete;
    TStatistik& operator=(const TStatistik&) = delete;

    // Owners set the rectangle directly before drawing: device pixels on screen, tenths of a
    // millimetre on paper. Chart coordinates are absolute; the chart adds Ursprung itself.
    int Breite = 0;
    int Hoehe = 0;
    // The print job while the chart prints, else none.
    TStatistikDruck* Druck = nullptr;
    int UpdateZaehler = 0;
    // A redraw is pending; true until the first drawing.
    bool Geaendert = true;
    bool AlsDruck = false;
    std::shared_ptr<IMyCanvas> Canvas;
    db::Transaction* Transaktion = nullptr;
    QPoint Ursprung;
    bool Beschriftung = true;
    bool Farbig = true;

    // Draws the whole chart onto Canvas; starts with PositionenBerechnen.
    virtual void Zeichnen() = 0;
    virtual void PositionenBerechnen() = 0;
    virtual QString GetTitel() = 0;

    void BeginUpdate();
    // The outermost EndUpdate draws once, when something changed inside and not in print mode.
    void EndUpdate();
    // Inside an update bracket it only marks the change; outside it draws at once (not in print
    // mode).
    void Aktualisieren();
    void GeaendertZuruecksetzen() { Geaendert = false; }
    // Shows the chart in a print preview; only for a chart set up for printing.
    void Drucken();

    void SetCanvas(std::shared_ptr<IMyCanvas> c) { Canvas = std::move(c); }
    void SetAlsDruck(bool b) { AlsDruck = b; }
    void SetFarbig(bool b) { Farbig = b; }
    void SetBeschriftung(bool b) { Beschriftung = b; }

    // Printer pixels for a length in millimetres, at least 1; only while the chart prints.
    int MMZuPixel(long double mm) const;
    void SetzeStandardPen();
    int PixelX(long double x) const { return int(x); }
    int PixelY(long double y) const { return int(y); }
    void Linie(long double x1, long double y1, long double x2, long double y2);
    void Polygon(const std::vector<Tools::TExPoint>& punkte);
    void TextAusgeben(long double x, long double y, const QString& s, TAlignment ausrichtung,
                      TVAlignment vAusrichtung, int winkel);
    QPoint PunktUmrechnen(const Tools::TExPoint& p) const { return QPoint(int(p.X), int(p.Y)); }
    QRect RechteckUmrechnen(const QRect& r) const { return r; }
    // Left, top, right and bottom truncated; right and bottom lie outside the rectangle.
    QRect Rechteck(long double l, long double t, long double r, long double b) const;
    QSize GroesseUmrechnen(const QSize& s) const { return s; }

private:
    void zeichnenJetzt();
};

// One chart on an A4-style landscape page with margins of 200, without footer.
class TStatistikDruck : public TDrucken {
public:
    // The chart is not owned; while the job exists it is the chart's Druck.
    explicit TStatistikDruck(TStatistik& statistik, PrinterDevice& device = SystemPrinter(),
                             std::unique_ptr<PrintOutput> output = {});
    ~TStatistikDruck() override;

    QString Titel;
    TStatistik& Statistik;

    void InitDruck() override;
    void DruckeInhalt(QObject* sender) override;
};
