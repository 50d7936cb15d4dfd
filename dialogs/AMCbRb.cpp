#include "AMCbRb.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

#include <atomic>

namespace AMCbRb {

namespace {
std::atomic<bool> themeActive{true};
}

bool IsThemeActive()
{
    return themeActive;
}

void SetThemeActive(bool active)
{
    themeActive = active;
}

}  // namespace AMCbRb

using namespace AMCbRb;

// ---- TFontPA ----

TFontPA::TFontPA(const QColor& color, TAMCbRbHost* host) : QObject(host), color_(color) {}

void TFontPA::SetColor(const QColor& color)
{
    if (color == color_)
        return;
    color_ = color;
    emit changed();
}

void TFontPA::SetStyle(int style)
{
    if (style == style_)
        return;
    style_ = style;
    emit changed();
}

QFont TFontPA::Apply(QFont font) const
{
    font.setBold(style_ & fsBold);
    font.setItalic(style_ & fsItalic);
    font.setUnderline(style_ & fsUnderline);
    font.setStrikeOut(style_ & fsStrikeOut);
    return font;
}

// ---- TAMCbRbHost ----

TAMCbRbHost::TAMCbRbHost(QObject* parent)
    : QObject(parent),
      fontActive_(new TFontPA(QColor(0, 0, 255), this)),
      fontInactive_(new TFontPA(QColor(0, 0, 0), this)),
      glyph_(StandardGlyph())
{
    connect(fontActive_, &TFontPA::changed, this, &TAMCbRbHost::changed);
    connect(fontInactive_, &TFontPA::changed, this, &TAMCbRbHost::changed);
}

void TAMCbRbHost::SetGlyph(const QImage& glyph)
{
    glyph_ = glyph.isNull() ? StandardGlyph() : glyph.copy();
    emit changed();
}

void TAMCbRbHost::SetMargin(int margin)
{
    margin = std::clamp(margin, 0, 255);
    if (margin == margin_)
        return;
    margin_ = margin;
    emit changed();
}

void TAMCbRbHost::SetNumGlyphs(int numGlyphs)
{
    numGlyphs = std::clamp(numGlyphs, 0, 255);
    if (numGlyphs == numGlyphs_)
        return;
    numGlyphs_ = numGlyphs;
    emit changed();
}

void TAMCbRbHost::SetTransparentColor(const QColor& color)
{
    if (color == transparentColor_)
        return;
    transparentColor_ = color;
    emit changed();
}

int TAMCbRbHost::GlyphWidth() const
{
    // A sheet of no cells has no glyph to show.
    return numGlyphs_ > 0 ? glyph_.width() / numGlyphs_ : 0;
}

int TAMCbRbHost::GlyphHeight() const
{
    return glyph_.height();
}

QRect TAMCbRbHost::GlyphRect(int n) const
{
    return QRect(n * GlyphWidth(), 0, GlyphWidth(), GlyphHeight());
}

// ---- TAMButton ----

template <class B>
TAMButton<B>::TAMButton(QWidget* parent) : B(parent)
{
    QSizePolicy policy = this->sizePolicy();
    policy.setHeightForWidth(true);
    this->setSizePolicy(policy);
}

template <class B>
void TAMButton<B>::SetHost(TAMCbRbHost* host)
{
    if (host == host_)
        return;
    QObject::disconnect(hostChanged_);
    QObject::disconnect(hostDestroyed_);
    host_ = host;
    const auto repaint = [this] {
        this->updateGeometry();
        this->update();
    };
    if (host) {
        hostChanged_ = QObject::connect(host, &TAMCbRbHost::changed, this, repaint);
        // A removed host leaves the control without one.
        hostDestroyed_ = QObject::connect(host, &QObject::destroyed, this, repaint);
    }
    repaint();
}

template <class B>
void TAMButton<B>::SetAlignment(TLeftRight alignment)
{
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    this->update();
}

template <class B>
QFont TAMButton<B>::captionFont() const
{
    if (IsThemeActive() || !host_)
        return this->font();
    return host_->FontInactive()->Apply(this->font());
}

template <class B>
QRect TAMButton<B>::styleIndicator(const QSize& size) const
{
    const QStyle* style = this->style();
    const int w = style->pixelMetric(
        IsRadio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr, this);
    const int h = style->pixelMetric(
        IsRadio ? QStyle::PM_ExclusiveIndicatorHeight : QStyle::PM_IndicatorHeight, nullptr, this);
    // Beside the first caption line, whatever the control's height.
    const int top = std::max(0, (QFontMetrics(captionFont()).height() - h) / 2) + 1;
    const int left = alignment_ == taRightJustify ? 0 : size.width() - w;
    return QRect(left, top, w, h);
}

template <class B>
TAMLayout TAMButton<B>::layoutFor(const QSize& size) const
{
    TAMLayout l;
    const QString caption = OhneKuerzel(this->text());
    const QFontMetrics metrics(captionFont());
    if (IsThemeActive()) {
        l.Themed = true;
        l.Box = styleIndicator(size);
        const int spacing = this->style()->pixelMetric(
            IsRadio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, nullptr,
            this);
        const int left = alignment_ == taRightJustify ? l.Box.right() + 1 + spacing : 1;
        const int right = alignment_ == taRightJustify ? size.width() - 1 : l.Box.left() - spacing;
        l.TextRect = QRect(left, 1, std::max(0, right - left), std::max(0, size.height() - 2));
    } else if (!host_) {
        l.Placeholder = true;
        l.TextRect = QRect(QPoint(0, 0), size);
        const QSize text(metrics.horizontalAdvance(caption), metrics.height());
        l.Caption.Lines = QStringList{caption};
        l.Caption.Bounds = QRect(
            QPoint((size.width() - text.width()) / 2, (size.height() - text.height()) / 2), text);
        return l;
    } else {
        Qt::CheckState state = this->isChecked() ? Qt::Checked : Qt::Unchecked;
        if constexpr (!IsRadio)
            state = this->checkState();
        l.Cell = GlyphZelle(IsRadio, state, this->isEnabled());
        l.Box = GlyphPlatz(alignment_, size.width(), host_->GlyphWidth(), host_->GlyphHeight());
        l.TextRect = TextPlatz(alignment_, size, host_->Margin(), host_->GlyphWidth());
    }
    l.Caption = CaptionUmbrechen(caption, metrics, l.TextRect);
    l.FocusRect = l.Caption.Bounds.adjusted(-2, -1, 2, 1);
    return l;
}

template <class B>
int TAMButton<B>::heightForWidth(int width) const
{
    const TAMLayout l = layoutFor(QSize(width, 1 << 20));
    if (l.Placeholder)
        return l.Caption.Bounds.height() + 4;
    return std::max(l.Box.bottom() + 2, l.TextRect.top() + l.Caption.Bounds.height() + 1);
}

template <class B>
QSize TAMButton<B>::sizeHint() const
{
    constexpr int wide = 1 << 16;
    const TAMLayout l = layoutFor(QSize(wide, 1 << 16));
    const int chrome = wide - l.TextRect.width();
    const int width = chrome + l.Caption.Bounds.width() + (l.Placeholder ? 4 : 1);
    return QSize(width, heightForWidth(width));
}

template <class B>
QSize TAMButton<B>::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    const int narrow = std::min(hint.width(), 40);
    return QSize(narrow, std::min(heightForWidth(narrow), hint.height() * 4));
}

template <class B>
void TAMButton<B>::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const TAMLayout l = Layout();
    const QPalette& palette = this->palette();

    const auto drawCaption = [&](const QPoint& offset, const QColor& color) {
        p.setPen(color);
        const int lineHeight = p.fontMetrics().height();
        for (int i = 0; i < l.Caption.Lines.size(); ++i)
            p.drawText(QRect(l.Caption.Bounds.left() + offset.x(),
                             l.Caption.Bounds.top() + offset.y() + i * lineHeight,
                             l.TextRect.width(), lineHeight),
                       Qt::AlignLeft | Qt::AlignTop, l.Caption.Lines[i]);
    };
    const auto drawFocus = [&] {
        if (!this->hasFocus())
            return;
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = l.FocusRect;
        this->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    };

    if (l.Placeholder) {
        p.setFont(this->font());
        drawCaption({}, palette.color(QPalette::WindowText));
        p.setPen(QPen(palette.color(QPalette::WindowText), 1, Qt::DotLine));
        p.drawRect(this->rect().adjusted(0, 0, -1, -1));
        return;
    }
    p.setFont(captionFont());
    if (l.Themed) {
        QStyleOptionButton option;
        this->initStyleOption(&option);
        option.rect = l.Box;
        option.text.clear();
        this->style()->drawPrimitive(
            IsRadio ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, &option, &p,
            this);
        drawCaption({}, palette.color(this->isEnabled() ? QPalette::Active : QPalette::Disabled,
                                      QPalette::WindowText));
        drawFocus();
        return;
    }
    p.fillRect(this->rect(), palette.color(this->backgroundRole()));
    p.drawImage(l.Box.topLeft(),
                GlyphBild(host_->Glyph(), host_->GlyphRect(l.Cell), host_->TransparentColor()));
    if (this->isEnabled()) {
        drawCaption({}, host_->FontInactive()->Color());
    } else {
        // Embossed: a light copy one pixel down and right under the gray text.
        drawCaption({1, 1}, palette.color(QPalette::Light));
        drawCaption({}, palette.color(QPalette::Disabled, QPalette::Text));
    }
    drawFocus();
}

template class TAMButton<QCheckBox>;
template class TAMButton<QRadioButton>;
