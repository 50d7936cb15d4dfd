#pragma once

#include <QString>

// Sends the trace log ("debug.txt", "debug.ini") of the test program, and of every program it
// starts, into a temporary folder of the run instead of the program folder (the build's bin/).
// A folder already named in the environment is kept. Returns the folder in use.
QString ProtokollInTempOrdner();
