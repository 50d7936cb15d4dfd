#include "DBZRDateEdit.h"

#include "ZRDateTools.h"

#include <Error.h>

#include <QAction>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace TZRDateField {

void SetText(db::Field& field, const QString& text)
{
    FeldText::SetText(field, ZRDateTools::FormatDateNice(text));
}

}  // namespace TZRDateField

TDBZRDateEdit::TDBZRDateEdit(QWidget* parent) : TDBZRBaseEdit(parent)
{
    QAction* knopf = addAction(style()->standardIcon(QStyle::SP_ArrowDown), TrailingPosition);
    knopf->setToolTip(QStringLiteral("Kalender"));
    connect(knopf, &QAction::triggered, this, &TDBZRDateEdit::KalenderOeffnen);
    BreiteAnpassen();
    resize(std::max(85, minimumWidth()), sizeHint().height());
}

void TDBZRDateEdit::BreiteAnpassen()
{
    // A whole date must show beside the button in the font the edit has; the forms' 85 pixels
    // hold it only in small fonts. Qt's hint for a line edit is room for 17 "x" plus frame,
    // margins and the button; the rest of it is what the date needs around it.
    const QFontMetricsF fm(font());
    const qreal rand = sizeHint().width() - 17 * QFontMetrics(font()).horizontalAdvance(u'x');
    qreal ziffer = 0;
    for (char c = '0'; c <= '9'; ++c)
        ziffer = std::max(ziffer, fm.horizontalAdvance(QLatin1Char(c)));
    // The text is laid out in fractions of a pixel, and the cursor behind it takes one more.
    const qreal datum = 8 * ziffer + 2 * fm.horizontalAdvance(QLatin1Char('.'));
    setMinimumWidth(int(std::ceil(rand + datum)) + 2);
}

void TDBZRDateEdit::changeEvent(QEvent* event)
{
    TDBZRBaseEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        BreiteAnpassen();
}

QDate TDBZRDateEdit::Date() const
{
    return ZRDateTools::DatumAusText(text());
}

bool TDBZRDateEdit::SetDate(const QDate& date)
{
    if (DataSource() && (!Field() || !EditCanModify()))
        return false;
    setText(ZRDateTools::DatumText(date));
    Link().SetModified();
    selectAll();
    return true;
}

void TDBZRDateEdit::KalenderOeffnen()
{
    if (!kalender_) {
        kalender_ = new QCalendarWidget(this);
        kalender_->setWindowFlags(Qt::Popup);
        kalender_->setGridVisible(true);
        connect(kalender_, &QCalendarWidget::clicked, this, [this](const QDate& d) {
            kalender_->hide();
            SetDate(d);
            setFocus(Qt::PopupFocusReason);
        });
        connect(kalender_, &QCalendarWidget::activated, kalender_, &QCalendarWidget::clicked);
    }
    const QDate d = Date();
    kalender_->setSelectedDate(d.isValid() ? d : ZRDateTools::Heute());
    kalender_->move(mapToGlobal(QPoint(0, height())));
    kalender_->show();
    kalender_->setFocus(Qt::PopupFocusReason);
}

bool TDBZRDateEdit::Verlassen_Schreiben()
{
    const QString vollstaendig = ZRDateTools::FormatDateNice(text());
    if (vollstaendig != text() && Link().Modified())
        setText(vollstaendig);
    return TDBZRBaseEdit::Verlassen_Schreiben();
}

void TDBZRDateEdit::keyPressEvent(QKeyEvent* event)
{
    const bool ohne =
        (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
    if (ohne && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down ||
                 event->key() == Qt::Key_F12)) {
        event->accept();
        if (DataSource() && !Field())
            return;
        QDate d;
        if (event->key() == Qt::Key_F12) {
            d = ZRDateTools::Heute();
        } else {
            d = Date();
            if (!d.isValid())
                d = ZRDateTools::Heute();
            else
                d = d.addDays(event->key() == Qt::Key_Up ? 1 : -1);
        }
        SetDate(d);
        return;
    }
    if (event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier) {
        event->accept();
        KalenderOeffnen();
        return;
    }
    TDBZRBaseEdit::keyPressEvent(event);
}
