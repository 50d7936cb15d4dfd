#include "NeuWert.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {
// The designed form's measures; the fields, labels and buttons grow beyond them when the font
// needs more room, so that no text is cut.
constexpr int PanelLeft = 68;
constexpr int PanelWidth = 161;
constexpr int PanelHeight = 21;
constexpr int RowGap = 7;
constexpr int LabelGap = 6;
constexpr int PromptWidth = 225;
constexpr int ButtonWidth = 81;
constexpr int ButtonHeight = 25;
constexpr int ButtonGap = 7;
constexpr int BorderWidth = 8;
}  // namespace

TNeuerWert::TNeuerWert(const QStringList& labels, const QStringList& values, const QString& caption,
                       const QString& prompt, QWidget* parent)
    : QDialog(parent), einWert_(values.size() == 1)
{
    setObjectName(QStringLiteral("NeuerWert"));
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* client = new QWidget(this);
    client->move(BorderWidth, BorderWidth);

    label1_ = new QLabel(prompt, client);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setTextFormat(Qt::PlainText);
    label1_->setVisible(!prompt.isEmpty());

    for (int i = 0; i < values.size(); ++i) {
        auto* label = new QLabel(labels[i], client);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        auto* edit = new QLineEdit(values[i], client);
        edit->setObjectName(QStringLiteral("Edit%1").arg(i));
        edit->installEventFilter(this);
        label->setBuddy(edit);
        labels_.append(label);
        edits_.append(edit);
    }
    button1_ = new QPushButton(QStringLiteral("OK"), client);
    button1_->setObjectName(QStringLiteral("Button1"));
    button2_ = new QPushButton(QStringLiteral("Abbrechen"), client);
    button2_->setObjectName(QStringLiteral("Button2"));
    connect(button1_, &QPushButton::clicked, this, &QDialog::accept);
    connect(button2_, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the fields is handled below; the buttons answer only to their own clicks and keys.
    button1_->setAutoDefault(false);
    button2_->setAutoDefault(false);

    int editLeft = PanelLeft;
    int editHeight = PanelHeight;
    for (int i = 0; i < labels_.size(); ++i) {
        editLeft = std::max(editLeft, labels_[i]->sizeHint().width() + LabelGap);
        editHeight = std::max(editHeight, edits_[i]->sizeHint().height());
    }
    const int rowHeight = editHeight + RowGap;
    const int buttonWidth =
        std::max({ButtonWidth, button1_->sizeHint().width(), button2_->sizeHint().width()});
    const int buttonHeight =
        std::max({ButtonHeight, button1_->sizeHint().height(), button2_->sizeHint().height()});
    const int width =
        std::max({editLeft + PanelWidth, PromptWidth,
                  prompt.isEmpty() ? 0 : label1_->sizeHint().width(), 2 * buttonWidth + ButtonGap});

    const int promptHeight = std::max(16, label1_->sizeHint().height());
    label1_->setGeometry(0, 0, width, promptHeight);
    const int firstRow = prompt.isEmpty() ? 0 : std::max(rowHeight - 4, promptHeight + 4);
    for (int i = 0; i < edits_.size(); ++i) {
        const int top = firstRow + i * rowHeight;
        labels_[i]->setGeometry(0, top + 3, editLeft - LabelGap, rowHeight - 3);
        edits_[i]->setGeometry(editLeft, top, width - editLeft, editHeight);
    }
    const int buttonTop = firstRow + int(edits_.size()) * rowHeight + 4;
    button1_->setGeometry(width - 2 * buttonWidth - ButtonGap, buttonTop, buttonWidth,
                          buttonHeight);
    button2_->setGeometry(width - buttonWidth, buttonTop, buttonWidth, buttonHeight);

    client->resize(width, buttonTop + buttonHeight);
    setFixedSize(client->width() + 2 * BorderWidth, client->height() + 2 * BorderWidth);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QStringList TNeuerWert::Werte() const
{
    QStringList result;
    for (const QLineEdit* edit : edits_)
        result.append(edit->text());
    return result;
}

void TNeuerWert::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!edits_.isEmpty())
        edits_.first()->setFocus(Qt::OtherFocusReason);
}

bool TNeuerWert::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (einWert_)
                accept();
            else
                focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool GetNeueWerte(const QStringList& labels, QStringList& values, const QString& caption,
                  const QString& prompt)
{
    if (labels.isEmpty() || labels.size() != values.size())
        return false;
    TNeuerWert dialog(labels, values, caption, prompt);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    values = dialog.Werte();
    return true;
}
