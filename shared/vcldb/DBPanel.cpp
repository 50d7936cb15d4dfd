#include "DBPanel.h"

#include <QPainter>
#include <qdrawutil.h>

TDBPanel::TDBPanel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    color_ = palette().color(QPalette::Button);
    link_.OnDataChange = [this] { DataChange(); };
}

TDBPanel::~TDBPanel()
{
    link_.OnDataChange = {};
}

void TDBPanel::DataChange()
{
    const db::Field* f = link_.GetField();
    caption_ = f && link_.Active() ? f->DisplayText() : QString();
    update();
}

void TDBPanel::SetAlignment(Qt::Alignment a)
{
    alignment_ = a & Qt::AlignHorizontal_Mask;
    update();
}

void TDBPanel::SetBevelInner(TBevelCut b)
{
    bevelInner_ = b;
    update();
}

void TDBPanel::SetBevelOuter(TBevelCut b)
{
    bevelOuter_ = b;
    update();
}

void TDBPanel::SetBevelWidth(int w)
{
    bevelWidth_ = std::max(1, w);
    update();
}

void TDBPanel::SetBorderWidth(int w)
{
    borderWidth_ = std::max(0, w);
    update();
}

void TDBPanel::SetColor(const QColor& c)
{
    color_ = c;
    update();
}

QSize TDBPanel::sizeHint() const
{
    return {185, 41};
}

void TDBPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QRect r = rect();
    const auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        qDrawShadeRect(&p, r, palette(), cut == bvLowered, bevelWidth_, 0);
        r.adjust(bevelWidth_, bevelWidth_, -bevelWidth_, -bevelWidth_);
    };
    bevel(bevelOuter_);
    p.fillRect(r, color_);
    r.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    bevel(bevelInner_);
    p.fillRect(r, color_);
    QString text = caption_;
    text.replace(QLatin1Char('\t'), QStringLiteral("        "));
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(r, int(alignment_ | Qt::AlignVCenter | Qt::TextSingleLine),
               fontMetrics().elidedText(text, Qt::ElideNone, r.width()));
}
