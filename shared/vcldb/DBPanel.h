#pragma once

#include "FieldDataLink.h"

#include <QWidget>

// A panel whose caption is a field's display text, with the platform panel's bevels: from the
// outside in an outer bevel, a border in the panel's colour and an inner bevel.
class TDBPanel : public QWidget {
    Q_OBJECT
public:
    enum TBevelCut { bvNone, bvLowered, bvRaised };

    explicit TDBPanel(QWidget* parent = nullptr);
    ~TDBPanel() override;

    db::DataSet* DataSource() const { return link_.GetDataSet(); }
    void SetDataSource(db::DataSet* dataSet) { link_.SetDataSource(dataSet); }
    const QString& DataField() const { return link_.DataField(); }
    void SetDataField(const QString& name) { link_.SetDataField(name); }

    const QString& Caption() const { return caption_; }
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment a);
    void SetBevelInner(TBevelCut b);
    void SetBevelOuter(TBevelCut b);
    void SetBevelWidth(int w);
    void SetBorderWidth(int w);
    void SetColor(const QColor& c);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DataChange();

    TFieldDataLink link_;
    QString caption_;
    Qt::Alignment alignment_ = Qt::AlignHCenter;
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    QColor color_;
};
