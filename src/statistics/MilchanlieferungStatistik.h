#pragma once
// The milk delivery statistic: monthly quantity and milk money as bars against a right-hand
// scale, contents, counts and prices as lines against 0-10, money in the standard currency.

#include "Bestandstatistik.h"

#include <Query.h>

#include <QDate>

#include <optional>
#include <vector>

// One month as the chart keeps it, money and prices already in the standard currency.
struct TMilchMonat {
    QDate Monat;
    double Menge = 0;
    double Fett = 0;
    double Eiweis = 0;
    double Keimzahl = 0;
    double Zellzahl = 0;
    double Preis37 = 0;
    double PreisEigen = 0;
    double Milchgeld = 0;
};

class TMilchanlieferung : public TBestandstatistik {
public:
    explicit TMilchanlieferung(db::Transaction* transaktion);

    void Zeichnen() override;
    void PositionenBerechnen() override;
    QString GetTitel() override { return QStringLiteral("Milchanlieferung"); }
    void Assign(const TMilchanlieferung& quelle);

    // A money value of a row in the standard currency: taken in ten-thousandths, converted and
    // rounded to the cent.
    static double Umrechnen(double betrag, const QString& waehrung, int standard);
    // The right-hand scale for the largest value: its top and its label step.
    static void Skala(long double maximum, long double& skalaMax, int& schritt);
    // Months from the first to the last, both counted.
    static int Monate(const QDate& erster, const QDate& letzter);

    // The value panel for the month column under pixel x; false left or right of the chart.
    bool MonatsWerte(int x, QString& titel, std::vector<TBestandWert>& werte) const;
    int SpaltenMitte(int x) const;

    QDate Von;
    QDate Bis;
    bool Menge = true;
    bool Milchgeld = true;
    bool Inhaltsstoffe = true;
    bool Preis37 = true;
    bool Eigenpreis = true;
    int Waehrung = 0;

    const std::vector<TMilchMonat>& Zeilen() const { return zeilen_; }
    long double SkalaMax = 0;
    int SkalaSchritt = 1000;
    long double MonatsBreite = 0;
    int AnzahlMonate = 0;

private:
    bool Ats() const;
    long double YZehn(long double v) const { return Unten - v * (Unten - Oben) / 10.0L; }
    long double YMenge(long double v) const { return Unten - v * (Unten - Oben) / SkalaMax; }
    long double XMonat(int k) const { return Links + k * MonatsBreite; }
    int Index(const QDate& monat) const;
    void Linien(double TMilchMonat::*wert, double teiler, TColor farbe);
    void LinieZeichnen(const std::vector<QPoint>& punkte, TColor farbe);
    void Legende();

    db::Query abfrage_;
    std::vector<TMilchMonat> zeilen_;
};
