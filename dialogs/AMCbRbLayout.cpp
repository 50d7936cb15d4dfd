#include "AMCbRbLayout.h"

#include <QPainter>
#include <QRegularExpression>

namespace AMCbRb {

int GlyphZelle(bool radio, Qt::CheckState state, bool enabled)
{
    if (radio)
        return state == Qt::Checked ? (enabled ? 1 : 3) : 0;
    switch (state) {
        case Qt::Checked:
            return enabled ? 1 : 3;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

QRect GlyphPlatz(TLeftRight alignment, int clientWidth, int glyphWidth, int glyphHeight)
{
    if (alignment == taRightJustify)
        return QRect(0, 0, glyphWidth, glyphHeight).translated(1, 1);
    return QRect(clientWidth - glyphWidth, 0, glyphWidth, glyphHeight).translated(-1, 1);
}

QRect TextPlatz(TLeftRight alignment, const QSize& client, int margin, int glyphWidth)
{
    // Left, top, right and bottom as edges (right and bottom excluded).
    const int left = alignment == taRightJustify ? margin + glyphWidth : 1;
    const int right =
        alignment == taRightJustify ? client.width() - 1 : client.width() - margin - glyphWidth;
    return QRect(left, 1, std::max(0, right - left), std::max(0, client.height() - 2));
}

TCaption CaptionUmbrechen(const QString& text, const QFontMetrics& metrics, const QRect& rect)
{
    TCaption out;
    const int width = std::max(1, rect.width());
    const int maxLines = std::max(1, rect.height() / std::max(1, metrics.height()));
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    plain.replace(QLatin1Char('\t'), QLatin1String("  "));

    QStringList lines;
    for (const QString& paragraph : plain.split(QLatin1Char('\n'))) {
        // Blanks between words stay as written; at a line break they are dropped.
        static const QRegularExpression words(QStringLiteral("( *)([^ ]+)"));
        QString line;
        bool first = true;
        for (const QRegularExpressionMatch& m : words.globalMatch(paragraph)) {
            const QString word = first ? m.captured(0) : m.captured(2);
            const QString candidate = line.isEmpty() ? word : line + m.captured(1) + word;
            first = false;
            if (metrics.horizontalAdvance(candidate) <= width) {
                line = candidate;
                continue;
            }
            if (!line.isEmpty())
                lines << line;
            line = metrics.horizontalAdvance(word) <= width
                       ? word
                       : metrics.elidedText(word, Qt::ElideRight, width);
        }
        lines << line;
    }
    if (lines.size() > maxLines) {
        const QString rest = lines.mid(maxLines - 1).join(QLatin1Char(' '));
        lines = lines.mid(0, maxLines - 1);
        lines << metrics.elidedText(rest, Qt::ElideRight, width);
    }
    int textWidth = 0;
    for (const QString& line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    out.Lines = lines;
    out.Bounds = QRect(rect.topLeft(),
                       QSize(std::min(textWidth, width), int(lines.size()) * metrics.height()));
    return out;
}

QString OhneKuerzel(const QString& caption)
{
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}

QImage GlyphBild(const QImage& sheet, const QRect& cell, const QColor& transparent)
{
    QImage image = sheet.copy(cell).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparent.rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((row[x] & 0xFFFFFF) == (key & 0xFFFFFF))
                row[x] = qRgba(0, 0, 0, 0);
        }
    }
    return image;
}

QImage StandardGlyph()
{
    QImage sheet(48, 12, QImage::Format_RGB32);
    sheet.fill(QColor(128, 128, 0));
    QPainter p(&sheet);
    const QColor gray(128, 128, 128), silver(192, 192, 192), white(Qt::white), black(Qt::black);
    for (int cell = 0; cell < 4; ++cell) {
        const int x = cell * 12;
        // Sunken frame: dark above and left, light below and right.
        p.setPen(gray);
        p.drawLine(x, 0, x + 11, 0);
        p.drawLine(x, 0, x, 11);
        p.setPen(white);
        p.drawLine(x, 11, x + 11, 11);
        p.drawLine(x + 11, 0, x + 11, 11);
        p.setPen(black);
        p.drawLine(x + 1, 1, x + 10, 1);
        p.drawLine(x + 1, 1, x + 1, 10);
        p.setPen(silver);
        p.drawLine(x + 1, 10, x + 10, 10);
        p.drawLine(x + 10, 1, x + 10, 10);
        const QRect inside(x + 2, 2, 8, 8);
        p.fillRect(inside, cell == 2 ? silver : white);
        if (cell == 3) {
            for (int yy = 0; yy < 8; ++yy)
                for (int xx = 0; xx < 8; ++xx)
                    if ((xx + yy) % 2 == 0)
                        p.fillRect(x + 2 + xx, 2 + yy, 1, 1, silver);
        }
        if (cell == 1 || cell == 3) {
            p.setPen(cell == 1 ? black : gray);
            for (int d = 0; d < 3; ++d) {
                p.drawLine(x + 3, 4 + d, x + 4, 5 + d);
                p.drawLine(x + 5, 6 + d, x + 8, 3 + d);
            }
        }
    }
    return sheet;
}

}  // namespace AMCbRb
