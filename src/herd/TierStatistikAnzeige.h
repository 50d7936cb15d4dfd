#pragma once
// A chart page of the animal card: the chart of the card's animal in a picture that fills the
// widget, and the same chart as a thumbnail for the window "Tierstatistik".

#include "TierStatistik.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class TTierStatistikAnzeige : public QWidget {
    Q_OBJECT
public:
    // Makes a chart of the page's kind in the card's transaction: once for the screen, and once
    // more for every thumbnail (the lactation chart copies the page's settings into it).
    using Erzeuger = std::function<std::unique_ptr<TTierStatistik>()>;

    // art: the thumbnail kind (TTierstatistikArt).
    TTierStatistikAnzeige(std::uint8_t art, Erzeuger erzeugen, QWidget* parent = nullptr);
    ~TTierStatistikAnzeige() override;

    // The page itself or the chart widget on it; none for a page without a chart.
    static TTierStatistikAnzeige* Auf(QWidget* seite);

    // Set when the animal or its data changed: the next drawing rebuilds the chart.
    bool GrafikNeu = true;

    std::uint8_t Art() const { return art_; }
    int TierID() const { return tierID_; }
    TTierStatistik& Grafik() { return *grafik_; }
    const QImage& Bild() const { return bild_; }

    // Draws the chart of the animal at the widget's size: again when it is to be rebuilt, the
    // animal changed or the size did; then GrafikNeu is cleared.
    void Zeichnen(int tierID);
    // Draws the animal's chart as a thumbnail with the subtitle into its cell of the window
    // "Tierstatistik" (found or opened); nothing changes there when drawing fails.
    void Uebernehmen(int tierID, const QString& untertitel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::uint8_t art_;
    Erzeuger erzeugen_;
    std::unique_ptr<TTierStatistik> grafik_;
    QImage bild_;
    int tierID_ = 0;
};
