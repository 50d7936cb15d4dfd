#pragma once
// The livestock register on one portrait page.

#include <Drucken.h>

#include <QDate>
#include <QString>

#include <array>

class TDruckViehverzeichnis : public TDrucken {
public:
    explicit TDruckViehverzeichnis(PrinterDevice& device = SystemPrinter(),
                                   std::unique_ptr<PrintOutput> output = {});

    // Rows 1-12; other rows read 0 and are not stored.
    double GetFaktor(int zeile) const;
    void SetFaktor(int zeile, double wert);
    double GetBestandAm(int zeile) const;
    void SetBestandAm(int zeile, double wert);
    double GetDurchschnitt(int zeile) const;
    void SetDurchschnitt(int zeile, double wert);
    double GetGVEBetrieb(int zeile) const;
    void SetGVEBetrieb(int zeile, double wert);

    QDate Am;
    QDate Von;
    QDate Bis;
    double GVEjeHektar = 0;
    double SummeBestand = 0;
    double SummeDurchschnitt = 0;
    double SummeGVE = 0;
    QString GVSchluessel;
    // The farm's header lines and area.
    QString BetriebName;
    QString BetriebAdresse;
    QString BetriebPLZ;
    QString BetriebOrt;
    double Flaeche = 0;

    void InitDruck() override;
    void Seitenrahmen() override;
    void DruckeInhalt(QObject* sender) override;

private:
    using TWerte = std::array<double, 12>;
    static double Lesen(const TWerte& w, int zeile);
    static void Schreiben(TWerte& w, int zeile, double wert);
    void TabelleDrucken();

    TWerte faktor_{};
    TWerte bestandAm_{};
    TWerte durchschnitt_{};
    TWerte gve_{};
};
