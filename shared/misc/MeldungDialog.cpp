#include "MeldungDialog.h"

#include "Hilfe.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace Tools {

namespace {

MeldungHandler& handlerSlot()
{
    static MeldungHandler handler;
    return handler;
}

QStyle::StandardPixmap iconOf(TMsgDlgType type)
{
    switch (type) {
        case mtWarning:
            return QStyle::SP_MessageBoxWarning;
        case mtError:
            return QStyle::SP_MessageBoxCritical;
        case mtInformation:
            return QStyle::SP_MessageBoxInformation;
        case mtConfirmation:
            return QStyle::SP_MessageBoxQuestion;
        case mtCustom:
            break;
    }
    return QStyle::SP_CustomBase;
}

// Message texts break lines with carriage returns; a label breaks on line feeds.
QString displayText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// Puts the text into the box: a long text (a database error, a list of names) is wrapped to a
// width that leaves the box well inside the screen, a short one keeps its own width. A text that
// is still too large (many lines, a word longer than a line) scrolls.
QWidget* textArea(QLabel* label, QWidget* parent)
{
    const QScreen* screen = label->screen() ? label->screen() : QGuiApplication::primaryScreen();
    const QRect frei = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const int breit = std::min(frei.width() / 2, 640);
    const int hoch = frei.height() / 2;
    const QRect wrapped = label->fontMetrics().boundingRect(
        QRect(0, 0, breit, 1 << 20), Qt::TextWordWrap | Qt::TextExpandTabs, label->text());
    // One pixel more than measured, so that the label does not break a line that just fits.
    const int w = wrapped.width() + 1;
    label->setFixedWidth(w);
    const int h = label->heightForWidth(w);
    if (w <= breit && h <= hoch)
        return label;
    label->setFixedHeight(h);
    auto* area = new QScrollArea(parent);
    area->setFrameShape(QFrame::NoFrame);
    area->viewport()->setAutoFillBackground(false);
    area->setWidget(label);
    const int leiste = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    area->setFixedSize(std::min(w, breit) + (h > hoch ? leiste : 0),
                       std::min(h, hoch) + (w > breit ? leiste : 0));
    return area;
}

}  // namespace

void SetMeldungHandler(MeldungHandler handler)
{
    handlerSlot() = std::move(handler);
}

QString TMeldungDialog::caption(TMsgDlgType type)
{
    switch (type) {
        case mtWarning:
            return QStringLiteral("Warnung");
        case mtError:
            return QStringLiteral("Fehler");
        case mtInformation:
            return QStringLiteral("Information");
        case mtConfirmation:
            return QStringLiteral("Bestätigung");
        case mtCustom:
            break;
    }
    return QApplication::applicationDisplayName();
}

QString TMeldungDialog::buttonCaption(TMsgDlgBtn button)
{
    switch (button) {
        case mbYes:
            return QStringLiteral("&Ja");
        case mbNo:
            return QStringLiteral("&Nein");
        case mbOK:
            return QStringLiteral("OK");
        case mbCancel:
            return QStringLiteral("Abbrechen");
        case mbAbort:
            return QStringLiteral("&Abbruch");
        case mbRetry:
            return QStringLiteral("&Wiederholen");
        case mbIgnore:
            return QStringLiteral("&Ignorieren");
        case mbAll:
            return QStringLiteral("A&lle");
        case mbNoToAll:
            return QStringLiteral("N&ein für alle");
        case mbYesToAll:
            return QStringLiteral("Ja für a&lle");
        case mbHelp:
            return QStringLiteral("&Hilfe");
    }
    return {};
}

std::uint16_t TMeldungDialog::buttonResult(TMsgDlgBtn button)
{
    switch (button) {
        case mbYes:
            return mrYes;
        case mbNo:
            return mrNo;
        case mbOK:
            return mrOk;
        case mbCancel:
            return mrCancel;
        case mbAbort:
            return mrAbort;
        case mbRetry:
            return mrRetry;
        case mbIgnore:
            return mrIgnore;
        case mbAll:
            return mrAll;
        case mbNoToAll:
            return mrNoToAll;
        case mbYesToAll:
            return mrYesToAll;
        case mbHelp:
            break;
    }
    return mrNone;
}

TMeldungDialog::TMeldungDialog(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                               int helpCtx)
{
    shown_.text = text;
    shown_.caption = caption(type);
    shown_.type = type;
    shown_.buttons = buttons;
    shown_.helpCtx = helpCtx;
    shown_.sound = MeldungSound(type);

    setWindowTitle(shown_.caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    mainLayout_ = new QVBoxLayout(this);
    auto* textRow = new QHBoxLayout;
    if (type != mtCustom) {
        auto* icon = new QLabel(this);
        icon->setObjectName(QStringLiteral("Image"));
        icon->setPixmap(style()->standardIcon(iconOf(type)).pixmap(32, 32));
        icon->setAlignment(Qt::AlignTop);
        textRow->addWidget(icon);
    }
    auto* message = new QLabel(this);
    message->setObjectName(QStringLiteral("Message"));
    // Texts come from users and the database; a "<" in them is a character, not markup.
    message->setTextFormat(Qt::PlainText);
    message->setText(displayText(text));
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message->setWordWrap(true);
    textRow->addWidget(textArea(message, this), 1);
    mainLayout_->addLayout(textRow);

    buttonRow_ = new QHBoxLayout;
    buttonRow_->addStretch();
    QPushButton* ownDefault = nullptr;
    bool hasCancel = false, hasNo = false, hasOk = false;
    for (int b = mbYes; b <= mbHelp; ++b) {
        const auto btn = static_cast<TMsgDlgBtn>(b);
        if (!(buttons & Btn(btn)))
            continue;
        auto* push = new QPushButton(buttonCaption(btn), this);
        push->setAutoDefault(true);
        buttons_.append(push);
        buttonRow_->addWidget(push);
        if (btn == mbHelp) {
            connect(push, &QPushButton::clicked, this, [helpCtx] { HilfeAnzeigen(helpCtx); });
        } else {
            const std::uint16_t result = buttonResult(btn);
            connect(push, &QPushButton::clicked, this, [this, result] { done(result); });
        }
        hasCancel = hasCancel || btn == mbCancel;
        hasNo = hasNo || btn == mbNo;
        hasOk = hasOk || btn == mbOK;
        // The box's own default: OK, else Yes, else Retry.
        if (btn == mbOK || (btn == mbYes && !(buttons & Btn(mbOK))) ||
            (btn == mbRetry && !(buttons & (Btn(mbOK) | Btn(mbYes)))))
            ownDefault = push;
    }
    buttonRow_->addStretch();
    mainLayout_->addLayout(buttonRow_);
    // Escape and the close box answer as the box's cancel button would.
    cancelResult_ = hasCancel ? mrCancel : hasNo ? mrNo : hasOk ? mrOk : mrCancel;
    if (ownDefault)
        focusButton(ownDefault);
}

void TMeldungDialog::focusButton(QPushButton* button)
{
    for (QPushButton* b : buttons_)
        b->setDefault(b == button);
    button->setFocus(Qt::OtherFocusReason);
}

void TMeldungDialog::setDefaultButton(DefaultButton index)
{
    if (index.index > 0 && index.index < buttons_.size())
        focusButton(buttons_[index.index]);
}

QCheckBox* TMeldungDialog::addCheckBox(const QString& caption, bool checked)
{
    checkBox_ = new QCheckBox(caption, this);
    checkBox_->setObjectName(QStringLiteral("CheckBox"));
    checkBox_->setChecked(checked);
    mainLayout_->insertWidget(mainLayout_->indexOf(buttonRow_), checkBox_, 0, Qt::AlignHCenter);
    shown_.checkCaption = caption;
    return checkBox_;
}

ShownMessage TMeldungDialog::shown() const
{
    return shown_;
}

void TMeldungDialog::reject()
{
    done(cancelResult_);
}

std::uint16_t TMeldungDialog::run()
{
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    if (const MeldungHandler& handler = handlerSlot()) {
        const ShownMessage info = shown_;
        QTimer::singleShot(0, this, [this, info, handler] { handler(info, *this); });
    }
    return static_cast<std::uint16_t>(exec());
}

}  // namespace Tools
