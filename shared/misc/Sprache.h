#pragma once

namespace Tools {

// Makes the program German whatever the machine's language: German number and date conventions
// for every QLocale() and Qt's own German texts (standard buttons, calendar, input dialogs). Call
// once after the QApplication is made.
void DeutschEinstellen();

}  // namespace Tools
