#include "Meldung.h"

#include "Format.h"
#include "MeldungDialog.h"

#include <QApplication>

namespace Tools {

unsigned MeldungSound(TMsgDlgType type)
{
    return (type == mtError || type == mtInformation) ? SoundExclamation : SoundQuestion;
}

std::uint16_t Meldung(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx,
                      DefaultButton defaultButton)
{
    // Linux has one bell for every kind of message.
    QApplication::beep();
    TMeldungDialog dialog(text, type, buttons, helpCtx);
    dialog.setDefaultButton(defaultButton);
    return dialog.run();
}

std::uint16_t MeldungInfo(const QString& text)
{
    return Meldung(text, mtInformation, mbOKOnly);
}

std::uint16_t MeldungInfo(const QString& format, const QVariantList& args)
{
    return MeldungInfo(Format(format, args));
}

std::uint16_t MeldungWarning(const QString& text)
{
    return Meldung(text, mtWarning, mbOKOnly);
}

std::uint16_t MeldungWarning(const QString& format, const QVariantList& args)
{
    return MeldungWarning(Format(format, args));
}

std::uint16_t MeldungError(const QString& text)
{
    return Meldung(text, mtError, mbOKOnly);
}

std::uint16_t MeldungError(const QString& format, const QVariantList& args)
{
    return MeldungError(Format(format, args));
}

std::uint16_t MeldungConfirm(const QString& text, int defaultButton)
{
    return Meldung(text, mtConfirmation, mbYesNo, 0, DefaultButton(defaultButton));
}

std::uint16_t MeldungConfirmFormat(const QString& format, const QVariantList& args,
                                   int defaultButton)
{
    return MeldungConfirm(Format(format, args), defaultButton);
}

}  // namespace Tools
