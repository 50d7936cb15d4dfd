#include "ZRBandedHeader.h"

#include <QPainter>
#include <QStyleOptionHeader>

TZRBandedHeader::TZRBandedHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsMovable(true);
    setSectionsClickable(true);
    connect(this, &QHeaderView::sectionMoved, this, &TZRBandedHeader::Verschoben);
}

int TZRBandedHeader::AddBand(const QString& caption)
{
    bands_.append({caption});
    viewport()->update();
    return int(bands_.size()) - 1;
}

void TZRBandedHeader::SetColumnBand(int column, int band)
{
    if (band < 0 || band >= bands_.size())
        spaltenBand_.remove(column);
    else
        spaltenBand_.insert(column, band);
    updateGeometry();
    viewport()->update();
}

int TZRBandedHeader::ColumnBand(int column) const
{
    return spaltenBand_.value(column, -1);
}

void TZRBandedHeader::SetBandHeaderEndEllipsis(bool on)
{
    bandEllipsis_ = on;
    viewport()->update();
}

int TZRBandedHeader::BandHoehe() const
{
    return bands_.isEmpty() ? 0 : QHeaderView::sizeHint().height();
}

QSize TZRBandedHeader::sizeHint() const
{
    QSize s = QHeaderView::sizeHint();
    s.rheight() += BandHoehe();
    return s;
}

QRect TZRBandedHeader::BandRect(int band) const
{
    int links = INT_MAX;
    int rechts = INT_MIN;
    for (auto it = spaltenBand_.cbegin(); it != spaltenBand_.cend(); ++it) {
        if (it.value() != band || it.key() >= count() || isSectionHidden(it.key()))
            continue;
        const int x = sectionViewportPosition(it.key());
        links = std::min(links, x);
        rechts = std::max(rechts, x + sectionSize(it.key()));
    }
    if (links >= rechts)
        return {};
    return QRect(links, 0, rechts - links, BandHoehe());
}

int TZRBandedHeader::BandAt(const QPoint& pos) const
{
    for (int b = 0; b < bands_.size(); ++b)
        if (BandRect(b).contains(pos))
            return b;
    return -1;
}

void TZRBandedHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    // Columns of a band leave the upper row to the band.
    QRect unten = rect;
    if (ColumnBand(logicalIndex) >= 0)
        unten.setTop(rect.top() + BandHoehe());
    QHeaderView::paintSection(painter, unten, logicalIndex);
}

void TZRBandedHeader::paintEvent(QPaintEvent* event)
{
    QHeaderView::paintEvent(event);
    QPainter painter(viewport());
    for (int b = 0; b < bands_.size(); ++b) {
        const QRect r = BandRect(b);
        if (r.isEmpty())
            continue;
        QStyleOptionHeader opt;
        initStyleOption(&opt);
        opt.rect = r;
        opt.section = b;
        opt.textAlignment = Qt::AlignCenter;
        opt.text = bandEllipsis_
                       ? fontMetrics().elidedText(bands_[b].caption, Qt::ElideRight, r.width() - 8)
                       : bands_[b].caption;
        opt.position = QStyleOptionHeader::Middle;
        style()->drawControl(QStyle::CE_Header, &opt, &painter, this);
    }
}

bool TZRBandedHeader::BaenderZusammenhaengend() const
{
    // Every band's columns must follow each other without a column of another band between them.
    QList<int> reihe;
    for (int v = 0; v < count(); ++v)
        reihe.append(ColumnBand(logicalIndex(v)));
    QSet<int> abgeschlossen;
    int vorher = -2;
    for (int band : reihe) {
        if (band != vorher) {
            if (band >= 0 && abgeschlossen.contains(band))
                return false;
            if (vorher >= 0)
                abgeschlossen.insert(vorher);
            vorher = band;
        }
    }
    return true;
}

void TZRBandedHeader::Verschoben(int, int oldVisual, int newVisual)
{
    if (zurueck_ || BaenderZusammenhaengend())
        return;
    zurueck_ = true;
    moveSection(newVisual, oldVisual);
    zurueck_ = false;
}
