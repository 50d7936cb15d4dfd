#include "CheckMessageBox.h"

#include "MeldungDialog.h"

#include <QApplication>
#include <QCheckBox>

std::uint16_t CheckMessageDlg(const QString& msg, Tools::TMsgDlgType type,
                              Tools::TMsgDlgButtons buttons, const QString& checkCaption,
                              bool& checkState, Tools::DefaultButton defaultButton)
{
    QApplication::beep();
    Tools::TMeldungDialog dialog(msg, type, buttons, 0);
    QCheckBox* box = dialog.addCheckBox(checkCaption, checkState);
    dialog.setDefaultButton(defaultButton);
    const std::uint16_t result = dialog.run();
    checkState = box->isChecked();
    return result;
}
