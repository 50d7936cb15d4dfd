#pragma once

#include <QHeaderView>
#include <QList>
#include <QString>

// A two-level column header: bands on top, each over a run of adjacent columns, and the column
// captions below. Columns move only within their band; a column without a band has the full
// height for its caption.
class TZRBandedHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TZRBandedHeader(QWidget* parent = nullptr);

    // Returns the band's index.
    int AddBand(const QString& caption);
    int BandCount() const { return int(bands_.size()); }
    QString BandCaption(int band) const { return bands_.value(band).caption; }
    // Puts a column (logical index) into a band; -1 takes it out of every band.
    void SetColumnBand(int column, int band);
    int ColumnBand(int column) const;
    // The band's area in the header's viewport (empty when none of its columns is visible).
    QRect BandRect(int band) const;
    // The band under a point of the viewport, or -1.
    int BandAt(const QPoint& pos) const;
    int BandHoehe() const;
    void SetBandHeaderEndEllipsis(bool on);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    void Verschoben(int logical, int oldVisual, int newVisual);
    bool BaenderZusammenhaengend() const;

    struct Band {
        QString caption;
    };
    QList<Band> bands_;
    QHash<int, int> spaltenBand_;
    bool zurueck_ = false;
    bool bandEllipsis_ = true;
};
