#pragma once
// The milk-recording results of one cow: smooth curves of one lactation over the days since
// calving, or columns of the 305-day performances of every lactation.

#include "TierStatistik.h"

#include <Query.h>

#include <QDate>
#include <QList>
#include <QPixmap>
#include <QPointer>

#include <array>
#include <memory>
#include <vector>

class QLabel;
class QObject;

namespace db {
class DataSet;
}

// The seven measures of a test day, in their drawing order.
enum LaktMessgroesse : int {
    lmMilch,
    lmFett,
    lmEiweiss,
    lmZellzahl,
    lmHarnstoff,
    lmLaktose,
    lmTrockenmasse,
    lmAnzahl
};

enum class LaktSymbol { KreisOffen, RauteOffen, QuadratOffen, Plus, Kreuz, QuadratVoll, RauteVoll };

struct LaktMessgroesseInfo {
    const char* spalte;  // column of the test days
    const char* text;    // label
    TColor farbe;
    int teiler;
    LaktSymbol symbol;
};
const LaktMessgroesseInfo& LaktInfo(int messgroesse);

// A measure's symbol around (x, y) with half-size s in the canvas's pen; filled shapes take the
// colour as brush, open ones none.
void LaktSymbolMalen(IMyCanvas& canvas, LaktSymbol symbol, int x, int y, int s, TColor farbe);

class TLaktationsgrafikTier : public TTierStatistik {
public:
    // An insemination, treatment or dry-off mark of the shown lactation (screen only).
    enum EreignisArt { Besamung = 0, Behandlung = 1, Trockenstellung = 2 };
    struct Ereignis {
        EreignisArt art;
        QDate datum;
        // The chart x of the date.
        int x;
        // Tooltip and long hint, separated by "|" when both are given; lines end with "\r".
        QString hinweis;
    };

    explicit TLaktationsgrafikTier(db::Transaction* transaktion);
    ~TLaktationsgrafikTier() override;

    // Printing through TStatistik::Drucken.
    static std::unique_ptr<TLaktationsgrafikTier> CreateDruck(db::Transaction* transaktion,
                                                              db::DataSet* leistungen,
                                                              const QString& untertitel,
                                                              bool farbig);
    // Draws into the picture of Bild at the chart's size and places the event marks over it, in
    // Bild's parent. The symbol pictures: insemination, treatment, dry-off.
    static std::unique_ptr<TLaktationsgrafikTier> CreateBildschirm(
        QLabel* bild, db::Transaction* transaktion, const QList<QPixmap>& symbolBilder,
        db::DataSet* leistungen);
    static std::unique_ptr<TLaktationsgrafikTier> CreateMiniatur(std::shared_ptr<IMyCanvas> canvas,
                                                                 db::Transaction* transaktion,
                                                                 db::DataSet* leistungen,
                                                                 const QString& untertitel);

    void Zeichnen() override;
    void PositionenBerechnen() override;
    QString GetTitel() override { return QStringLiteral("Laktationsgrafik"); }

    // Options. Milk, fat, protein and the bar mode redraw on every change; the others and the
    // lactation only in curve mode.
    bool Menge = true;
    bool Fett = true;
    bool Eiweiss = true;
    bool Zellzahl = true;
    bool Harnstoff = true;
    bool Laktose = true;
    bool Trockenmasse = true;
    bool Balken = false;
    // The calving number of the lactation shown in curve mode.
    int Laktation = 1;

    void SetMenge(bool b);
    void SetFett(bool b);
    void SetEiweiss(bool b);
    void SetZellzahl(bool b);
    void SetHarnstoff(bool b);
    void SetLaktose(bool b);
    void SetTrockenmasse(bool b);
    void SetBalken(bool b);
    void SetLaktation(int l);
    // Copies the options without drawing.
    void OptionenUebernehmen(const TLaktationsgrafikTier& andere);
    bool Aktiv(int messgroesse) const;

    // Whether the object is one of the marks of the last drawing (the card then keeps its hint
    // longer).
    bool IstEreignisSymbol(const QObject* objekt) const;

    // The shown lactation; invalid when not set.
    QDate Kalbung, NaechsteKalbung, Ende, Trocken;
    // The plot rectangle of the last PositionenBerechnen.
    int Links = 0, Oben = 0, Rechts = 0, Unten = 0;
    // The largest 305-day milk yield of the lactations in bar mode.
    double MaxMilch = 0;
    // Scale unit (10 or 15), grid count and the column scale of milk, fat and protein.
    int Einheit = 10;
    int Raster = 12;
    std::array<double, 3> Skala{};

    // The lactation performances (LAK, LMILCH, LFETT, LFETTPRO, LEIWEIS, LEIWEISPRO); not owned.
    db::DataSet* Leistungen = nullptr;
    // Screen: the picture the chart draws into and the pictures of its marks; not owned.
    QLabel* Bild = nullptr;
    QList<QPixmap> SymbolBilder;
    // The marks of the last drawing on screen; also computed without a picture.
    std::vector<Ereignis> Ereignisse;

    // Days shown: from 365 up to 730 by the lactation's end.
    int LaktationsLaenge() const;
    double X(const QDate& datum) const;
    // The milk axis counts 0..60 kg in curve mode; the left axis counts grid lines.
    double Y(double wert, bool milchAchse) const;
    int LinienBreite() const;
    TColor KurvenFarbe(int messgroesse) const;

private:
    struct Probetag {
        QDate datum;
        QString typ;
        std::array<double, lmAnzahl> werte;
    };

    void ZeichnenAufBild();
    // Bar mode: the number of slots and the lactation numbers to label.
    void AchsenZeichnen(int plaetze, const std::vector<int>& laktationen);
    void KurvenZeichnen();
    void KurveZeichnen(int messgroesse, const std::vector<Probetag>& tage);
    void KurvenStueckZeichnen(int messgroesse, std::vector<Tools::TExPoint>& punkte);
    void BalkenZeichnen();
    void LegendeZeichnen();
    void KurvenStil(int messgroesse);
    // Not in thumbnails.
    void SymbolZeichnen(int messgroesse, double x, double y);
    void EreignisseSammeln();
    void SymboleFreigeben();
    bool Setzen(bool& option, bool wert, bool immer);

    db::Query probetage_;
    db::Query dauer_;
    db::Query besamungen_;
    db::Query behandlungenBis_;
    db::Query behandlungenOffen_;
    std::vector<QPointer<QLabel>> symbole_;
};

// The short and the long part of a hint ("short|long"); without "|" both are the whole text.
QString KurzHinweis(const QString& hinweis);
QString LangHinweis(const QString& hinweis);
