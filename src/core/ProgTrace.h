#pragma once

#include <QString>

// The start and end sequence's trace lines.
namespace ProgTrace {

void Trace(const QString& text);
// Switches writing to the trace file "debug.txt" on.
void SetTraceFile(bool on);
// Empties the trace file.
void Clear();
QString TraceFileName();

}  // namespace ProgTrace
