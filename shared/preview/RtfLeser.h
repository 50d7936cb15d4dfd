#pragma once
// Reads rich text (RTF) into a QTextDocument.

#include <QByteArray>

class QTextDocument;

// Reads the common subset: paragraphs (\par), bold, italic, underline, font name (\f with the font
// table) and size (\fs), colour (\cf with the colour table), alignment (\ql \qr \qc \qj), \pard and
// \plain, \tab, \'hh escapes (CP1252) and \uN. Every other control word and every destination group
// ({\* ...}, \stylesheet, \info, \pict, ...) is skipped. Text that is not RTF is taken as plain
// UTF-8 text.
void ReadRtf(const QByteArray& rtf, QTextDocument& document);
