#pragma once
// The MDI window "Tierstatistik": charts of several animals as thumbnails side by side; a
// thumbnail opens its animal's card or is removed.

#include "TierstatistikZellen.h"

#include <QTableView>
#include <QWidget>

#include <functional>

class QAction;
class QMenu;
class TTierstatistikModell;

// The grid of the thumbnails; Enter asks for the selected cell's animal.
class TTierstatistikGrid : public QTableView {
    Q_OBJECT
public:
    explicit TTierstatistikGrid(QWidget* parent = nullptr);
signals:
    void ZuTier();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class TfrmTierstatistik : public QWidget {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 2700;

    explicit TfrmTierstatistik(QWidget* parent = nullptr);
    ~TfrmTierstatistik() override;

    // The picture to draw the chart of this animal and kind into: the cell that has it already,
    // else a new one. The window comes to the front and the cell is selected; after drawing the
    // caller calls Neuzeichnen.
    QImage& GrafikHinzufuegen(int tierID, std::uint8_t art);
    void Neuzeichnen();
    // The selected cell; -1 when none.
    int Auswahl() const;
    // Opens the card of the selected cell's animal modally.
    void ZuTierGehen();
    // Removes the selected cell and selects the one now at its place; with the last cell the
    // window closes.
    void GrafikEntfernen();
    void Status();
    void NachVorn();
    bool Geschlossen() const { return geschlossen_; }

    const TTierstatistikZellen& Zellen() const { return zellen_; }
    TTierstatistikRaster Raster() const { return raster_; }
    TTierstatistikGrid* Liste() const { return liste_; }
    QMenu* Popup() const { return popup_; }
    QAction* ZuTierGehenEintrag() const { return zuTier_; }
    QAction* GrafikEntfernenEintrag() const { return entfernen_; }

    // Bound by the main window to its status bar; called when the window is activated.
    std::function<void(TfrmTierstatistik*)> OnStatus;

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    // Lays the cells out for the screen's width and selects cell `auswahl`.
    void Anordnen(int auswahl);
    void Auswaehlen(int zelle);
    int BildschirmBreite() const;

    TTierstatistikZellen zellen_;
    TTierstatistikRaster raster_;
    TTierstatistikGrid* liste_;
    TTierstatistikModell* modell_;
    QMenu* popup_;
    QAction* zuTier_;
    QAction* entfernen_;
    bool geschlossen_ = false;
};

// The main window's thumbnail window: the open one, brought to the front, or a new one.
TfrmTierstatistik* TierstatistikFenster();
