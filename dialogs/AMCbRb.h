#pragma once

#include "AMCbRbLayout.h"

#include <QCheckBox>
#include <QImage>
#include <QPointer>
#include <QRadioButton>

class TAMCbRbHost;

namespace AMCbRb {

// Whether the desktop's style draws the controls ("themes on", the default) or they draw
// themselves from their host's glyph sheet (classic). Both draw their caption over several lines.
bool IsThemeActive();
void SetThemeActive(bool active);

// Font styles of TFontPA.
enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Where a control draws what, for its current size, state and host.
struct TAMLayout {
    bool Themed = false;       // the style's indicator is drawn, no glyph
    bool Placeholder = false;  // classic without host: centred caption in a dotted frame
    QRect Box;                 // the glyph or the style's indicator
    int Cell = 0;              // the glyph cell (classic)
    QRect TextRect;
    TCaption Caption;
    QRect FocusRect;  // around the caption
};

}  // namespace AMCbRb

// The colour and style of a caption font a host gives its controls. Changing either repaints them.
class TFontPA : public QObject {
    Q_OBJECT
public:
    TFontPA(const QColor& color, TAMCbRbHost* host);

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    int Style() const { return style_; }
    void SetStyle(int style);
    // Font with this style (colour aside).
    QFont Apply(QFont font) const;

signals:
    void changed();

private:
    QColor color_;
    int style_ = 0;
};

// What the check boxes and radio buttons of a form share: the glyph sheet (NumGlyphs cells in a
// row), its transparent colour, the margin between box and caption and the caption fonts.
class TAMCbRbHost : public QObject {
    Q_OBJECT
public:
    explicit TAMCbRbHost(QObject* parent = nullptr);

    // Stored with the designs; the drawing uses FontInactive only.
    TFontPA* FontActive() const { return fontActive_; }
    TFontPA* FontInactive() const { return fontInactive_; }
    const QImage& Glyph() const { return glyph_; }
    // Copies the sheet; an empty one brings back the default sheet.
    void SetGlyph(const QImage& glyph);
    int Margin() const { return margin_; }
    void SetMargin(int margin);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int numGlyphs);
    QColor TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(const QColor& color);

    int GlyphWidth() const;
    int GlyphHeight() const;
    // Cell n of the sheet: x from n * width to (n + 1) * width.
    QRect GlyphRect(int n) const;

signals:
    // Any value changed: the controls using this host repaint.
    void changed();

private:
    TFontPA* fontActive_;
    TFontPA* fontInactive_;
    QImage glyph_;
    int margin_ = 7;
    int numGlyphs_ = 4;
    QColor transparentColor_{128, 128, 0};
};

// The shared behaviour of the two controls, on top of the platform's button B.
template <class B>
class TAMButton : public B {
public:
    explicit TAMButton(QWidget* parent = nullptr);

    TAMCbRbHost* Host() const { return host_; }
    void SetHost(TAMCbRbHost* host);
    AMCbRb::TLeftRight Alignment() const { return alignment_; }
    void SetAlignment(AMCbRb::TLeftRight alignment);

    // Where the control draws what at its current size.
    AMCbRb::TAMLayout Layout() const { return layoutFor(this->size()); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // The whole control answers the mouse, also below the first caption line.
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }

private:
    static constexpr bool IsRadio = std::is_base_of_v<QRadioButton, B>;
    AMCbRb::TAMLayout layoutFor(const QSize& size) const;
    QFont captionFont() const;
    QRect styleIndicator(const QSize& size) const;

    QPointer<TAMCbRbHost> host_;
    QMetaObject::Connection hostChanged_;
    QMetaObject::Connection hostDestroyed_;
    AMCbRb::TLeftRight alignment_ = AMCbRb::taRightJustify;
};

extern template class TAMButton<QCheckBox>;
extern template class TAMButton<QRadioButton>;

// A check box with a multi-line caption whose box comes from a shared glyph sheet.
class TAMCheckBox : public TAMButton<QCheckBox> {
    Q_OBJECT
public:
    using TAMButton::TAMButton;
};

// A radio button with a multi-line caption whose circle comes from a shared glyph sheet.
class TAMRadioButton : public TAMButton<QRadioButton> {
    Q_OBJECT
public:
    using TAMButton::TAMButton;
};
