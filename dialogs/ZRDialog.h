#pragma once

#include <QDialog>

// The base of the system's modal dialogs: a fixed dialog frame with only the system menu and the
// close button in its caption bar, a border of 8 pixels around the client area, centred on the
// window that owns it, and help for its help context on F1 or its "Hilfe" button.
//
// A derived dialog states its own design after this constructor has run: setContentsMargins()
// for another border, setBorderStyle(), setPosition() or setWindowFlags(). A bsDialog dialog
// keeps the size it has when it is shown (its size hint unless resized before); to change it
// while shown, call setFixedSize().
class TZRDialog : public QDialog {
    Q_OBJECT
public:
    enum TFormBorderStyle { bsDialog, bsSizeable };
    enum TPosition { poDesigned, poScreenCenter, poOwnerFormCenter };

    static constexpr int DefaultBorderWidth = 8;

    explicit TZRDialog(QWidget* owner = nullptr);

    TFormBorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(TFormBorderStyle style) { borderStyle_ = style; }
    TPosition position() const { return position_; }
    void setPosition(TPosition position) { position_ = position; }
    int helpContext() const { return helpContext_; }
    void setHelpContext(int context) { helpContext_ = context; }

    // Shows the help of the dialog's help context; true when it was shown. The "Hilfe" buttons
    // of the derived dialogs call it.
    virtual bool HilfeAnzeigen();

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TFormBorderStyle borderStyle_ = bsDialog;
    TPosition position_ = poOwnerFormCenter;
    int helpContext_ = 0;
};
