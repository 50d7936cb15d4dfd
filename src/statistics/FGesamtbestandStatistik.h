#pragma once
// The window base of the herd statistics: an MDI child showing its chart as a picture drawn once,
// with its own read transaction, a print operation for the main window's "Drucken" and the value
// panel of one day column.

#include "Bestandstatistik.h"

#include <Shell.h>
#include <Transaction.h>

#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QFrame;
class QLabel;

// Where the value panel goes for the column centre x on a picture of the given size: right of x
// with its left arrow, or left of it with its right arrow when it would not fit.
struct TDatenPlatz {
    QPoint Position;
    bool PfeilRechts = false;
};
TDatenPlatz DatenPlatz(int x, QSize bild, QSize panel);

class TfrmGesamtbestandStatistik : public QWidget, public TDruckbaresFenster {
    Q_OBJECT
public:
    static constexpr int Zeilen = 14;

    explicit TfrmGesamtbestandStatistik(db::Database& datenbank, QWidget* owner = nullptr);
    ~TfrmGesamtbestandStatistik() override;

    // Draws the chart once into the picture at the chart's size; `parameter` sets the chart's
    // parameters between the update bracket's start and its end, where it draws.
    void ChartZeichnen(TBestandstatistik& chart, const std::function<void()>& parameter);

    db::Transaction Transaktion;
    // The main window's status update; called when the window is activated.
    std::function<void()> StatusEreignis;

    QLabel* Statistik() const { return statistik_; }
    QFrame* Daten() const { return daten_; }
    QLabel* DatenTitel() const { return datum_; }
    QLabel* Text(int i) const { return texte_.at(std::size_t(i)); }
    QLabel* Wert(int i) const { return werte_.at(std::size_t(i)); }
    QLabel* PfeilLinks() const { return pfeilLinks_; }
    QLabel* PfeilRechts() const { return pfeilRechts_; }

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    bool event(QEvent* ereignis) override;
    // A double click on the picture at the x of the last press; the base shows nothing.
    virtual void StatistikDblClick(int x);
    // Shows the panel for the column centre x with the title and rows (none: hidden).
    void DatenZeigen(int x, const QString& titel, const std::vector<TBestandWert>& werte);

private:
    QFrame* panel1_;
    QLabel* statistik_;
    QFrame* daten_;
    QLabel* datum_;
    std::array<QLabel*, Zeilen> texte_{};
    std::array<QLabel*, Zeilen> werte_{};
    QLabel* pfeilLinks_;
    QLabel* pfeilRechts_;
    int mausX_ = 0;
};

// Opens a statistics window of class Fenster: makes its screen chart in the window's own
// transaction, sets the chart's parameters and draws it, gives the window the title that the
// chart yields and shows it on the main window's area. Nothing stays behind when a step fails.
template <class Fenster, class Parameter, class Titel>
Fenster* StatistikFensterZeigen(TShell* shell, QWidget* owner, db::Database& datenbank,
                                Parameter parameter, Titel titel)
{
    using ChartTyp = typename decltype(std::declval<Fenster&>().Chart)::element_type;
    auto fenster = std::make_unique<Fenster>(datenbank);
    if (shell)
        fenster->StatusEreignis = [shell] { shell->ZeigeHinweis(); };
    fenster->Transaktion.Start();
    fenster->Chart = CreateBildschirm<ChartTyp>(nullptr, &fenster->Transaktion);
    ChartTyp& chart = *fenster->Chart;
    fenster->ChartZeichnen(chart, [&chart, &parameter] { parameter(chart); });
    fenster->setWindowTitle(titel(chart));
    Fenster* gezeigt = fenster.release();
    TShell::Zeigen(shell, gezeigt, owner);
    if (gezeigt->StatusEreignis)
        gezeigt->StatusEreignis();
    return gezeigt;
}
