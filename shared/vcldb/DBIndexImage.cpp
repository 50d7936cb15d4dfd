#include "DBIndexImage.h"

#include <QPainter>

TDBIndexImage::TDBIndexImage(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    link_.OnDataChange = [this] { DataChange(); };
}

TDBIndexImage::~TDBIndexImage()
{
    link_.OnDataChange = {};
}

void TDBIndexImage::SetImages(const QList<QPixmap>& images)
{
    images_ = images;
    DataChange();
}

void TDBIndexImage::DataChange()
{
    index_ = -1;
    const db::Field* f = link_.GetField();
    if (!f || !link_.Active() || images_.isEmpty()) {
        setPixmap(QPixmap());
        return;
    }
    const QSize groesse = images_.first().size();
    QPixmap bild(groesse);
    bild.fill(Qt::transparent);
    const int index = f->AsInteger();
    if (index >= 0 && index < images_.size()) {
        QPainter p(&bild);
        p.drawPixmap(0, 0, images_[index]);
        index_ = index;
    }
    setPixmap(bild);
}
