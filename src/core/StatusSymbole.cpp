#include "StatusSymbole.h"

#include <QFont>
#include <QPainter>

#include <iterator>

namespace StatusSymbole {
namespace {

struct Status {
    const char* zeichen;
    QRgb farbe;
};

// By index, as T_STATUS_IDX numbers them; 12 is a served cow whose pregnancy check is due.
const Status Stati[] = {
    {"J", 0x8FBC8F},  // 0 Jungrind
    {"L", 0xA9A9A9},  // 1 leer
    {"D", 0x3BA7D9},  // 2 deckfähig
    {"B", 0x4169E1},  // 3 besamt
    {"T", 0x228B22},  // 4 trächtig
    {"N", 0xFF8C00},  // 5 nicht trächtig
    {"U", 0xB22222},  // 6 unfruchtbar
    {"A", 0x8B4513},  // 7 auslaufend
    {"M", 0x708090},  // 8 Masttier
    {"Z", 0x000080},  // 9 Zuchtstier
    {"O", 0x9C8A3C},  // 10 Ochse
    {"R", 0xC8A000},  // 11 trocken
    {"?", 0xC71585},  // 12 Trächtigkeitsuntersuchung fällig
};

}  // namespace

int Anzahl()
{
    return int(std::size(Stati));
}

QImage Bild(int index, int groesse, bool schwarzWeiss)
{
    if (index < 0 || index >= Anzahl() || groesse < 8)
        return {};
    const Status& s = Stati[index];
    QImage bild(groesse, groesse, QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QColor farbe = schwarzWeiss ? QColor(Qt::white) : QColor::fromRgb(s.farbe);
    const qreal rand = groesse / 16.0;
    p.setPen(QPen(schwarzWeiss ? QColor(Qt::black) : farbe.darker(160), rand));
    p.setBrush(farbe);
    p.drawEllipse(QRectF(rand, rand, groesse - 2 * rand, groesse - 2 * rand));
    QFont schrift(QStringLiteral("Liberation Sans"));
    schrift.setBold(true);
    schrift.setPixelSize(qRound(groesse * 0.62));
    p.setFont(schrift);
    p.setPen(schwarzWeiss || qGray(s.farbe) > 150 ? Qt::black : Qt::white);
    p.drawText(QRectF(0, 0, groesse, groesse), Qt::AlignCenter, QString::fromLatin1(s.zeichen));
    return bild;
}

QList<QIcon> Icons()
{
    QList<QIcon> icons;
    for (int i = 0; i < Anzahl(); ++i)
        icons << QIcon(QPixmap::fromImage(Bild(i, 16)));
    return icons;
}

QImage Gross(int index, bool schwarzWeiss)
{
    const QImage symbol = Bild(index, 28, schwarzWeiss);
    if (symbol.isNull())
        return {};
    QImage bild(32, 32, QImage::Format_RGB32);
    bild.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter(&bild).drawImage(2, 2, symbol);
    return bild;
}

}  // namespace StatusSymbole
