#pragma once
// The modal print preview "Vorschau": renders the current page and scrolls it.

#include "VorschauLogik.h"

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <exception>

class QAction;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QToolButton;
class TPaper;
class TPreview;
class TfmPreview;

// The page panel: shows the page bitmap at its offset and scrolls it with keys, wheel and mouse.
// Two scroll bars of its own instead of a scroll area, because Up and Down flip pages at the edges.
class TPaintPanel final : public QWidget {
    Q_OBJECT
public:
    TPaintPanel(TfmPreview& form, QScrollBar& horizontal, QScrollBar& vertical, QWidget* parent);

    QImage& Bild() { return bild_; }
    QPoint Offset() const { return QPoint(horz_.Offset, vert_.Offset); }
    const ScrollAchse& Horizontal() const { return horz_; }
    const ScrollAchse& Vertikal() const { return vert_; }
    bool Zieht() const { return ziehen_; }
    // Fits both bars to the page at the current scale.
    void UpdateScrollBars();
    // Takes the bars' positions as the page offsets and repaints when they moved.
    void UpdateScroll();
    void Taste(int key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void balkenSetzen(QScrollBar& bar, const ScrollAchse& achse);
    bool ueberSeite(const QPoint& p) const;

    TfmPreview& form_;
    QScrollBar& horzBar_;
    QScrollBar& vertBar_;
    QImage bild_;
    ScrollAchse horz_;
    ScrollAchse vert_;
    bool ziehen_ = false;
    QPoint zugStart_;
    int zugX_ = 0;
    int zugY_ = 0;
};

class TfmPreview final : public QDialog {
    Q_OBJECT
public:
    explicit TfmPreview(TPreview& preview);
    ~TfmPreview() override;

    TPreview& Preview() { return preview_; }
    TPaper& Paper();
    TPaintPanel& PaintPanel() { return *panel_; }
    // The page area's client rectangle, kept up to date with the window.
    QRect PaintRect() const;
    QComboBox& Zoom() { return *zoom_; }
    QLabel& Seiten() { return *seiten_; }
    QAction& ActErste() { return *actErste_; }
    QAction& ActVorherige() { return *actVorherige_; }
    QAction& ActNaechste() { return *actNaechste_; }
    QAction& ActLetzte() { return *actLetzte_; }
    QAction& ActDruckEinrichten() { return *actDruckEinrichten_; }
    QAction& ActDrucken() { return *actDrucken_; }
    QPushButton& Schliessen() { return *schliessen_; }

    void Rescale();
    void UpdatePage();
    // Before the window shows again: the next showing produces the pages anew.
    void Zuruecksetzen();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;

private:
    void erstesAktivieren();
    void aktionenAktualisieren();
    void drawShadows(QPainter& painter);
    void drawIdentions(QPainter& painter);
    void zoomChange(int index);
    void einrichtenClick();
    void druckenClick();
    void drawItems(std::int32_t index);
    void fehler(const std::exception& e);

    TPreview& preview_;
    QComboBox* zoom_ = nullptr;
    QLabel* seiten_ = nullptr;
    QAction* actErste_ = nullptr;
    QAction* actVorherige_ = nullptr;
    QAction* actNaechste_ = nullptr;
    QAction* actLetzte_ = nullptr;
    QAction* actDruckEinrichten_ = nullptr;
    QAction* actDrucken_ = nullptr;
    QPushButton* schliessen_ = nullptr;
    QProgressBar* fortschritt_ = nullptr;
    QScrollBar* horzBar_ = nullptr;
    QScrollBar* vertBar_ = nullptr;
    TPaintPanel* panel_ = nullptr;
    int itemsAufSeite_ = 0;
    bool erstesMal_ = true;
};
