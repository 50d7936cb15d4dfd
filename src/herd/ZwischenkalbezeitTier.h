#pragma once
// Gestation length and calving interval of one cow as pairs of 3D columns around 265 and 365
// days.

#include "TierStatistik.h"

#include <Query.h>

#include <vector>

// Rounded mean of the values of at least one day; 0 when there is none.
int ZwkzDurchschnitt(const std::vector<int>& werte);

class TZwischenkalbezeitTier : public TTierStatistik {
public:
    explicit TZwischenkalbezeitTier(db::Transaction* transaktion);

    void Zeichnen() override;
    void PositionenBerechnen() override;
    QString GetTitel() override { return QStringLiteral("Zwischenkalbezeit"); }

    // The layout of the last PositionenBerechnen.
    double X0 = 0, Y0 = 0, A = 0, CX = 0, CY = 0;
    double SkalaX = 0, TragzeitY = 0, ZwkzY = 0, LegendeY = 0, NummerY = 0;

private:
    void HintergrundZeichnen();
    // P is the back-bottom-left corner, h grows upward; the column stays between oben and unten.
    void BalkenZeichnen(double px, double py, TColor fuellung, double h, double w, double t,
                        TExBrushStyle schraffur, const QString& text, double textY,
                        TColor textFarbe, double oben, double unten);
    void Schrift(TColor farbe);
    db::Query abfrage_;
};
