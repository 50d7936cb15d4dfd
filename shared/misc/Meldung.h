#pragma once

#include <QString>
#include <QVariantList>

#include <cstdint>
#include <functional>

class QDialog;

namespace Tools {

// Message types in their stored order (icon, caption and sound of a message box).
enum TMsgDlgType : int {
    mtWarning = 0,
    mtError = 1,
    mtInformation = 2,
    mtConfirmation = 3,
    mtCustom = 4
};

// Buttons of a message box; the bit numbers give the order in which the box shows them.
enum TMsgDlgBtn : int {
    mbYes = 0,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = std::uint16_t;
constexpr TMsgDlgButtons Btn(TMsgDlgBtn b)
{
    return TMsgDlgButtons(1u << b);
}
constexpr TMsgDlgButtons mbOKOnly = Btn(mbOK);
constexpr TMsgDlgButtons mbYesNo = Btn(mbYes) | Btn(mbNo);
constexpr TMsgDlgButtons mbOKCancel = Btn(mbOK) | Btn(mbCancel);
constexpr TMsgDlgButtons mbRetryCancel = Btn(mbRetry) | Btn(mbCancel);
constexpr TMsgDlgButtons mbYesNoCancel = Btn(mbYes) | Btn(mbNo) | Btn(mbCancel);

// Results of a message box, as the callers compare them.
enum TModalResult : std::uint16_t {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10
};

// The zero-based index (in display order) of the push button that gets the focus; 0 or less keeps
// the box's own choice. A type of its own, so that it cannot be swapped with the help context.
struct DefaultButton {
    explicit constexpr DefaultButton(int i = 0) : index(i) {}
    int index;
};

// The system sounds of the message types (the values the platform's beep takes).
constexpr unsigned SoundQuestion = 0x20;
constexpr unsigned SoundExclamation = 0x30;
unsigned MeldungSound(TMsgDlgType type);

std::uint16_t Meldung(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                      int helpCtx = 0, DefaultButton defaultButton = DefaultButton(0));

std::uint16_t MeldungInfo(const QString& text);
std::uint16_t MeldungInfo(const QString& format, const QVariantList& args);
std::uint16_t MeldungWarning(const QString& text);
std::uint16_t MeldungWarning(const QString& format, const QVariantList& args);
std::uint16_t MeldungError(const QString& text);
std::uint16_t MeldungError(const QString& format, const QVariantList& args);
// A yes/no question; defaultButton 0 focuses Yes, 1 focuses No.
std::uint16_t MeldungConfirm(const QString& text, int defaultButton = 0);
std::uint16_t MeldungConfirmFormat(const QString& format, const QVariantList& args,
                                   int defaultButton = 0);

// What a message box showed, for the test seam below.
struct ShownMessage {
    QString text;
    QString caption;
    TMsgDlgType type = mtCustom;
    TMsgDlgButtons buttons = 0;
    int helpCtx = 0;
    unsigned sound = 0;
    QString checkCaption;  // empty unless the box has a check box
};

// Test seam: when a handler is set, every message box calls it once it is shown modally; the
// handler reads what is shown and answers the live dialog (a click or a key). Tests only.
using MeldungHandler = std::function<void(const ShownMessage&, QDialog&)>;
void SetMeldungHandler(MeldungHandler handler);

}  // namespace Tools
