#pragma once

// Failed comparisons show Qt strings as text, not as the bytes of their characters. Every source
// of a test program gets this header ahead of its own (tests/support/CMakeLists.txt), so that all
// of them print a QString the same way; lists of strings are printed through it as well.

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    // Messages separate their lines with '\r', which would overwrite the line in a terminal.
    static const char hex[] = "0123456789ABCDEF";
    *os << '"';
    for (const char c : text.toStdString()) {
        switch (c) {
            case '\r':
                *os << "\\r";
                break;
            case '\n':
                *os << "\\n";
                break;
            case '\t':
                *os << "\\t";
                break;
            case '"':
                *os << "\\\"";
                break;
            case '\\':
                *os << "\\\\";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20)
                    *os << "\\x" << hex[c >> 4] << hex[c & 0xF];
                else
                    *os << c;
        }
    }
    *os << '"';
}
