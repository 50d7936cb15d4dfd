#pragma once

#include "FieldDataLink.h"

#include <QLabel>
#include <QList>
#include <QPixmap>

// Shows the picture of an image list whose index is an integer field's value. A NULL field reads
// as 0; an index outside the list leaves the picture empty (of the list's size).
class TDBIndexImage : public QLabel {
    Q_OBJECT
public:
    explicit TDBIndexImage(QWidget* parent = nullptr);
    ~TDBIndexImage() override;

    db::DataSet* DataSource() const { return link_.GetDataSet(); }
    void SetDataSource(db::DataSet* dataSet) { link_.SetDataSource(dataSet); }
    const QString& DataField() const { return link_.DataField(); }
    void SetDataField(const QString& name) { link_.SetDataField(name); }

    // All pictures of a list have the size of the first.
    void SetImages(const QList<QPixmap>& images);
    const QList<QPixmap>& Images() const { return images_; }
    // The index shown, -1 when none.
    int AktuellerIndex() const { return index_; }

private:
    void DataChange();

    TFieldDataLink link_;
    QList<QPixmap> images_;
    int index_ = -1;
};
