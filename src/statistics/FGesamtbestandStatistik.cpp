#include "FGesamtbestandStatistik.h"

#include <Leinwand.h>

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace {

QString Hintergrund(TColor fuellung, TColor schrift)
{
    return QStringLiteral("background-color: %1; color: %2; padding: 1px 4px;")
        .arg(ColorRefToQColor(fuellung).name(), ColorRefToQColor(schrift).name());
}

}  // namespace

TDatenPlatz DatenPlatz(int x, QSize bild, QSize panel)
{
    TDatenPlatz p;
    p.PfeilRechts = bild.width() < x + panel.width() + 10;
    p.Position =
        QPoint(p.PfeilRechts ? x - panel.width() + 7 : x - 7, bild.height() - panel.height() - 10);
    return p;
}

TfrmGesamtbestandStatistik::TfrmGesamtbestandStatistik(db::Database& datenbank, QWidget* owner)
    : QWidget(owner), Transaktion(datenbank)
{
    setObjectName(QStringLiteral("frmGesamtbestandStatistik"));
    panel1_ = new QFrame(this);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setFrameShape(QFrame::Box);
    panel1_->setAutoFillBackground(true);
    QPalette p = panel1_->palette();
    p.setColor(QPalette::Window, QColor(0, 255, 255));
    panel1_->setPalette(p);
    statistik_ = new QLabel(panel1_);
    statistik_->setObjectName(QStringLiteral("Statistik"));
    statistik_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    statistik_->installEventFilter(this);
    auto* innen = new QVBoxLayout(panel1_);
    innen->setContentsMargins(0, 0, 0, 0);
    innen->addWidget(statistik_);
    auto* aussen = new QVBoxLayout(this);
    aussen->setContentsMargins(0, 0, 0, 0);
    aussen->addWidget(panel1_);

    daten_ = new QFrame(statistik_);
    daten_->setObjectName(QStringLiteral("Daten"));
    daten_->setFrameShape(QFrame::Box);
    daten_->setAutoFillBackground(true);
    auto* raster = new QGridLayout(daten_);
    raster->setContentsMargins(4, 4, 4, 4);
    raster->setHorizontalSpacing(0);
    raster->setVerticalSpacing(1);
    pfeilLinks_ = new QLabel(QStringLiteral("◀"), daten_);
    pfeilLinks_->setObjectName(QStringLiteral("PfeilLinks"));
    pfeilRechts_ = new QLabel(QStringLiteral("▶"), daten_);
    pfeilRechts_->setObjectName(QStringLiteral("PfeilRechts"));
    datum_ = new QLabel(daten_);
    datum_->setObjectName(QStringLiteral("Datum"));
    QFont fett = datum_->font();
    fett.setBold(true);
    datum_->setFont(fett);
    raster->addWidget(pfeilLinks_, 0, 0);
    raster->addWidget(datum_, 0, 1, 1, 2, Qt::AlignCenter);
    raster->addWidget(pfeilRechts_, 0, 3);
    for (int i = 0; i < Zeilen; ++i) {
        texte_[std::size_t(i)] = new QLabel(daten_);
        texte_[std::size_t(i)]->setObjectName(QStringLiteral("Text%1").arg(i));
        werte_[std::size_t(i)] = new QLabel(daten_);
        werte_[std::size_t(i)]->setObjectName(QStringLiteral("Wert%1").arg(i));
        werte_[std::size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        raster->addWidget(texte_[std::size_t(i)], i + 1, 1);
        raster->addWidget(werte_[std::size_t(i)], i + 1, 2);
    }
    daten_->hide();
}

TfrmGesamtbestandStatistik::~TfrmGesamtbestandStatistik() = default;

void TfrmGesamtbestandStatistik::ChartZeichnen(TBestandstatistik& chart,
                                               const std::function<void()>& parameter)
{
    chart.BeginUpdate();
    chart.Aktualisieren();
    QPixmap bild(std::max(1, chart.Breite), std::max(1, chart.Hoehe));
    bild.fill(Qt::white);
    {
        QPainter maler(&bild);
        chart.SetCanvas(std::make_shared<TMyGDICanvas>(maler));
        // The canvas must not outlive the painter, also when the drawing fails.
        struct CanvasLoesen {
            TBestandstatistik& c;
            ~CanvasLoesen() { c.SetCanvas(nullptr); }
        } loesen{chart};
        parameter();
        chart.EndUpdate();
    }
    statistik_->setPixmap(bild);
}

bool TfrmGesamtbestandStatistik::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == statistik_) {
        if (ereignis->type() == QEvent::MouseButtonPress) {
            mausX_ = static_cast<QMouseEvent*>(ereignis)->position().toPoint().x();
            daten_->hide();
        } else if (ereignis->type() == QEvent::MouseButtonDblClick) {
            mausX_ = static_cast<QMouseEvent*>(ereignis)->position().toPoint().x();
            StatistikDblClick(mausX_);
            return true;
        }
    }
    return QWidget::eventFilter(objekt, ereignis);
}

bool TfrmGesamtbestandStatistik::event(QEvent* ereignis)
{
    if (ereignis->type() == QEvent::WindowActivate && StatusEreignis)
        StatusEreignis();
    return QWidget::event(ereignis);
}

void TfrmGesamtbestandStatistik::StatistikDblClick(int) {}

void TfrmGesamtbestandStatistik::DatenZeigen(int x, const QString& titel,
                                             const std::vector<TBestandWert>& werte)
{
    if (werte.empty()) {
        daten_->hide();
        return;
    }
    datum_->setText(titel);
    for (int i = 0; i < Zeilen; ++i) {
        QLabel* text = texte_[std::size_t(i)];
        QLabel* wert = werte_[std::size_t(i)];
        const bool sichtbar = i < int(werte.size());
        text->setVisible(sichtbar);
        wert->setVisible(sichtbar);
        if (!sichtbar)
            continue;
        const TBestandWert& w = werte[std::size_t(i)];
        text->setText(w.Text);
        wert->setText(w.Wert);
        text->setStyleSheet(Hintergrund(w.Fuellung, w.Schrift));
        wert->setStyleSheet(Hintergrund(w.Fuellung, w.Schrift));
    }
    daten_->adjustSize();
    const TDatenPlatz platz = DatenPlatz(x, statistik_->size(), daten_->size());
    pfeilLinks_->setVisible(!platz.PfeilRechts);
    pfeilRechts_->setVisible(platz.PfeilRechts);
    daten_->adjustSize();
    daten_->move(DatenPlatz(x, statistik_->size(), daten_->size()).Position);
    daten_->show();
    daten_->raise();
}
