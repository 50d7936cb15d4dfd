#pragma once

#include "Meldung.h"

// A message box with a check box under the text. checkState gives the box's start state and
// receives its final state, also when the user declines.
std::uint16_t CheckMessageDlg(const QString& msg, Tools::TMsgDlgType type,
                              Tools::TMsgDlgButtons buttons, const QString& checkCaption,
                              bool& checkState,
                              Tools::DefaultButton defaultButton = Tools::DefaultButton(0));
