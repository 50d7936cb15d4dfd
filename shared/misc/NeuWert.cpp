#include "NeuWert.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>

namespace {
// The invisible template of the designed form that sizes and places the generated fields.
constexpr int PanelLeft = 68;
constexpr int PanelWidth = 161;
constexpr int PanelHeight = 21;
constexpr int RowHeight = PanelHeight + 7;
constexpr int BorderWidth = 8;
}  // namespace

TNeuerWert::TNeuerWert(const QStringList& labels, const QStringList& values,
                       const QString& caption, const QString& prompt, QWidget* parent)
    : QDialog(parent), einWert_(values.size() == 1)
{
    setObjectName(QStringLiteral("NeuerWert"));
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* client = new QWidget(this);
    client->move(BorderWidth, BorderWidth);

    label1_ = new QLabel(prompt, client);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(0, 0, 225, 16);
    label1_->setVisible(!prompt.isEmpty());

    const int firstRow = prompt.isEmpty() ? 0 : RowHeight - 4;
    for (int i = 0; i < values.size(); ++i) {
        auto* label = new QLabel(labels[i], client);
        label->setGeometry(0, firstRow + i * RowHeight + 3, 222, RowHeight);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        auto* edit = new QLineEdit(values[i], client);
        edit->setObjectName(QStringLiteral("Edit%1").arg(i));
        edit->setGeometry(PanelLeft, firstRow + i * RowHeight, PanelWidth, PanelHeight);
        edit->installEventFilter(this);
        label->setBuddy(edit);
        labels_.append(label);
        edits_.append(edit);
    }

    const int buttonTop = firstRow + int(values.size()) * RowHeight + 4;
    button1_ = new QPushButton(QStringLiteral("OK"), client);
    button1_->setObjectName(QStringLiteral("Button1"));
    button1_->setGeometry(60, buttonTop, 81, 25);
    button2_ = new QPushButton(QStringLiteral("Abbrechen"), client);
    button2_->setObjectName(QStringLiteral("Button2"));
    button2_->setGeometry(148, buttonTop, 81, 25);
    connect(button1_, &QPushButton::clicked, this, &QDialog::accept);
    connect(button2_, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the fields is handled below; the buttons answer only to their own clicks and keys.
    button1_->setAutoDefault(false);
    button2_->setAutoDefault(false);

    client->resize(229, buttonTop + 25);
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
