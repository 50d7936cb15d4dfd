#pragma once

#include "Meldung.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QPushButton;
class QHBoxLayout;
class QVBoxLayout;

namespace Tools {

// The system's message box: icon and caption by type, one push button per requested button in the
// fixed order of the button set, German captions. Qt's own message box reorders buttons by desktop
// policy, which would change what the default-button index points at.
class TMeldungDialog : public QDialog {
    Q_OBJECT
public:
    TMeldungDialog(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx);

    // The push buttons in display order.
    const QList<QPushButton*>& pushButtons() const { return buttons_; }
    // Focuses the button with this display index (0 or less, or beyond the last: no change).
    void setDefaultButton(DefaultButton index);
    // Adds a check box between the text and the buttons.
    QCheckBox* addCheckBox(const QString& caption, bool checked);

    ShownMessage shown() const;
    // Shows the box modally (centred on the screen) and returns its result.
    std::uint16_t run();

    static QString caption(TMsgDlgType type);
    static QString buttonCaption(TMsgDlgBtn button);
    static std::uint16_t buttonResult(TMsgDlgBtn button);

protected:
    void reject() override;

private:
    void focusButton(QPushButton* button);

    ShownMessage shown_;
    QVBoxLayout* mainLayout_ = nullptr;
    QHBoxLayout* buttonRow_ = nullptr;
    QList<QPushButton*> buttons_;
    QCheckBox* checkBox_ = nullptr;
    std::uint16_t cancelResult_ = mrCancel;
};

}  // namespace Tools
