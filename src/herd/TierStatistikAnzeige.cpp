#include "TierStatistikAnzeige.h"

#include "FTierstatistik.h"

#include <ProgrammFehler.h>

#include <QPainter>
#include <QResizeEvent>

namespace {

// Draws a chart for one animal onto a picture; the canvas goes with the painter.
void GrafikMalen(TTierStatistik& g, QImage& bild, int tierID, bool neu, bool miniatur)
{
    QPainter painter(&bild);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto canvas = std::make_shared<TMyGDICanvas>(painter);
    if (miniatur)
        g.AlsMiniatur(canvas);
    else
        g.AlsBildschirm(canvas);
    struct CanvasWeg {
        TTierStatistik& g;
        ~CanvasWeg() { g.Canvas.reset(); }
    } weg{g};
    g.Breite = bild.width();
    g.Hoehe = bild.height();
    g.BeginUpdate();
    if (neu)
        g.Aktualisieren();
    g.SetTier(tierID);
    g.EndUpdate();
}

}  // namespace

TTierStatistikAnzeige::TTierStatistikAnzeige(std::uint8_t art, Erzeuger erzeugen, QWidget* parent)
    : QWidget(parent), art_(art), erzeugen_(std::move(erzeugen)), grafik_(erzeugen_())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TTierStatistikAnzeige::~TTierStatistikAnzeige() = default;

TTierStatistikAnzeige* TTierStatistikAnzeige::Auf(QWidget* seite)
{
    if (!seite)
        return nullptr;
    if (auto* a = qobject_cast<TTierStatistikAnzeige*>(seite))
        return a;
    return seite->findChild<TTierStatistikAnzeige*>();
}

void TTierStatistikAnzeige::Zeichnen(int tierID)
{
    const bool neuesBild = bild_.size() != size() || bild_.isNull();
    if (neuesBild) {
        bild_ = QImage(size(), QImage::Format_RGB32);
        bild_.fill(Qt::white);
    }
    tierID_ = tierID;
    if (!bild_.isNull()) {
        GrafikMalen(*grafik_, bild_, tierID, GrafikNeu || neuesBild, false);
        GrafikNeu = false;
    }
    update();
}

void TTierStatistikAnzeige::Uebernehmen(int tierID, const QString& untertitel)
{
    auto g = erzeugen_();
    g->Untertitel = untertitel;
    QImage bild(TTierstatistikZellen::Breite, TTierstatistikZellen::Hoehe, QImage::Format_RGB32);
    bild.fill(Qt::white);
    GrafikMalen(*g, bild, tierID, true, true);
    TfrmTierstatistik* fenster = TierstatistikFenster();
    fenster->GrafikHinzufuegen(tierID, art_) = bild;
    fenster->Neuzeichnen();
}

void TTierStatistikAnzeige::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (bild_.size() == size())
        p.drawImage(0, 0, bild_);
    else
        p.fillRect(rect(), Qt::white);
}

void TTierStatistikAnzeige::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A hidden page draws when the card shows it.
    if (tierID_ > 0 && isVisible())
        ProgrammFehler::Abfangen([this] { Zeichnen(tierID_); });
}
