#pragma once
// The herd insemination index statistic: a pie of the pregnancies of a period by the number of
// inseminations they needed, with the inseminated animals that left without a later calving.

#include "Bestandstatistik.h"

#include <Query.h>

#include <QDate>

#include <array>

// The counts behind the pie: slices 1-5, ">= 6" and departures (index 0-6).
struct TBesamungsZaehlung {
    std::array<int, 7> Stuecke{};
    int Besamungen = 0;
    int Traechtigkeiten = 0;
    int Kalbungen = 0;
    int Abgaenge = 0;
    int Gesamt = 0;

    // One row of the procedure's groups: `anzahl` pregnancies that needed `nr` inseminations.
    void Hinzufuegen(int nr, int anzahl);
    void AbgaengeSetzen(int abgaenge);
    // "1 Kalbung / 3 Abgänge".
    QString Kopfzeile() const;
    // "Besamungsindex: 3,00", or "-.--" without pregnancies.
    QString IndexText() const;
};

class TBesamungsindexBestand : public TBestandstatistik {
public:
    explicit TBesamungsindexBestand(db::Transaction* transaktion);

    void Zeichnen() override;
    void PositionenBerechnen() override;
    QString GetTitel() override { return QStringLiteral("Besamungsindex - Gesamtbestand"); }
    void Assign(const TBesamungsindexBestand& quelle);

    // The pie's angles: a slice ends at the cumulated share of 2 pi after -pi/2, clockwise on
    // screen; the point of angle t is (centre x + rx cos t, centre y + ry sin t).
    static QPoint Punkt(QPoint mitte, int rx, int ry, double winkel);

    QDate Von;
    QDate Bis;

    const TBesamungsZaehlung& Zaehlung() const { return zaehlung_; }
    // Layout of the last drawing.
    QPoint Mitte;
    int RX = 0, RY = 0, Tiefe = 0;

private:
    void Hintergrund();
    void TorteZeichnen();
    void BrushSetzen(int stueck, bool seite);

    db::Query anzahl_;
    db::Query abgaenge_;
    TBesamungsZaehlung zaehlung_;
    QPoint legende_;
    int legendeSchritt_ = 0;
    QSize legendeBox_;
    int legendeEcke_ = 0;
    int legendeTextX_ = 0;
};
