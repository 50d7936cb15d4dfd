#pragma once

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QRect>
#include <QStringList>

// The window-free part of the themed check box and radio button: which glyph cell shows a
// state, where glyph and caption go, and how the caption wraps.
namespace AMCbRb {

// Where the caption stands beside the box.
enum TLeftRight { taLeftJustify, taRightJustify };

// The glyph cell of a state: 0 unchecked, 1 checked, 2 grayed, 3 checked and disabled.
int GlyphZelle(bool radio, Qt::CheckState state, bool enabled);
// The glyph's place in a client area of the given width.
QRect GlyphPlatz(TLeftRight alignment, int clientWidth, int glyphWidth, int glyphHeight);
// The rectangle the caption is laid out in.
QRect TextPlatz(TLeftRight alignment, const QSize& client, int margin, int glyphWidth);

// A caption broken into lines: word-wrapped at blanks, tabs expanded to two blanks, a word wider
// than the line and the last line that fits (when text remains) end with an ellipsis.
struct TCaption {
    QStringList Lines;
    QRect Bounds;  // the text's bounding box, from the top left of the rectangle
};
TCaption CaptionUmbrechen(const QString& text, const QFontMetrics& metrics, const QRect& rect);

// The caption without its mnemonic markers ("&Ja" -> "Ja", "&&" -> "&").
QString OhneKuerzel(const QString& caption);

// A cell of a glyph sheet with the transparent colour made transparent.
QImage GlyphBild(const QImage& sheet, const QRect& cell, const QColor& transparent);
// The default glyph sheet: four 12 x 12 cells with a sunken frame on olive.
QImage StandardGlyph();

}  // namespace AMCbRb
