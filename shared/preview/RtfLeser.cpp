#include "RtfLeser.h"

#include <QColor>
#include <QMap>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <cctype>
#include <vector>

namespace {

// CP1252 0x80..0x9F; the rest of the code page is Latin-1.
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar fromCp1252(int byte)
{
    return (byte >= 0x80 && byte < 0xA0) ? QChar(kCp1252High[byte - 0x80]) : QChar(byte);
}

enum class Destination { Text, FontTable, ColorTable, Skip };

struct State {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int font = -1;
    int halfPoints = 24;
    int color = 0;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;
};

class Reader {
public:
    Reader(const QByteArray& rtf, QTextDocument& document) : in_(rtf), cursor_(&document) {}

    void run()
    {
        states_.push_back(State{});
        while (pos_ < in_.size()) {
            const char c = in_[pos_++];
            if (c == '{') {
                states_.push_back(states_.back());
            } else if (c == '}') {
                finishTableEntry();
                if (states_.size() > 1)
                    states_.pop_back();
            } else if (c == '\\') {
                controlWord();
            } else if (c != '\r' && c != '\n') {
                text(QChar::fromLatin1(c));
            }
        }
        flush();
    }

private:
    State& st() { return states_.back(); }

    void controlWord()
    {
        if (pos_ >= in_.size())
            return;
        const char c = in_[pos_];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++pos_;
            if (c == '\'') {
                const int byte = in_.mid(pos_, 2).toInt(nullptr, 16);
                pos_ += 2;
                text(fromCp1252(byte));
            } else if (c == '*') {
                st().destination = Destination::Skip;
            } else if (c == '~') {
                text(QChar(0xA0));
            } else if (c == '\\' || c == '{' || c == '}') {
                text(QChar::fromLatin1(c));
            }
            return;
        }
        QByteArray word;
        while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_])))
            word += in_[pos_++];
        bool hasArg = false;
        int arg = 0;
        const int start = pos_;
        if (pos_ < in_.size() &&
            (in_[pos_] == '-' || std::isdigit(static_cast<unsigned char>(in_[pos_])))) {
            ++pos_;
            while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_])))
                ++pos_;
            arg = in_.mid(start, pos_ - start).toInt();
            hasArg = true;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_;
        apply(word, hasArg, arg);
    }

    void apply(const QByteArray& w, bool hasArg, int arg)
    {
        State& s = st();
        if (w == "fonttbl") {
            s.destination = Destination::FontTable;
            return;
        }
        if (w == "colortbl") {
            s.destination = Destination::ColorTable;
            colors_.clear();
            return;
        }
        if (w == "stylesheet" || w == "info" || w == "pict" || w == "header" || w == "footer" ||
            w == "object" || w == "listtable" || w == "listoverridetable" || w == "generator") {
            s.destination = Destination::Skip;
            return;
        }
        if (s.destination == Destination::ColorTable) {
            if (w == "red")
                red_ = arg;
            else if (w == "green")
                green_ = arg;
            else if (w == "blue")
                blue_ = arg;
            return;
        }
        if (s.destination == Destination::FontTable) {
            if (w == "f")
                tableFont_ = arg;
            return;
        }
        if (s.destination == Destination::Skip)
            return;
        const bool on = !hasArg || arg != 0;
        if (w == "par" || w == "line") {
            paragraph();
        } else if (w == "pard") {
            alignment_ = Qt::AlignLeft;
        } else if (w == "plain") {
            const Destination d = s.destination;
            s = State{};
            s.destination = d;
        } else if (w == "b")
            s.bold = on;
        else if (w == "i")
            s.italic = on;
        else if (w == "ul")
            s.underline = on;
        else if (w == "ulnone")
            s.underline = false;
        else if (w == "f")
            s.font = arg;
        else if (w == "fs")
            s.halfPoints = arg > 0 ? arg : 24;
        else if (w == "cf")
            s.color = arg;
        else if (w == "ql")
            alignment_ = Qt::AlignLeft;
        else if (w == "qr")
            alignment_ = Qt::AlignRight;
        else if (w == "qc")
            alignment_ = Qt::AlignHCenter;
        else if (w == "qj")
            alignment_ = Qt::AlignJustify;
        else if (w == "tab")
            text(QChar('\t'));
        else if (w == "uc")
            s.unicodeSkip = arg;
        else if (w == "u") {
            text(QChar(static_cast<char16_t>(arg < 0 ? arg + 65536 : arg)));
            skipFallback(s.unicodeSkip);
        }
    }

    void skipFallback(int count)
    {
        for (int i = 0; i < count && pos_ < in_.size(); ++i) {
            if (in_[pos_] == '\\' && pos_ + 1 < in_.size() && in_[pos_ + 1] == '\'')
                pos_ += 4;
            else if (in_[pos_] == '{' || in_[pos_] == '}')
                return;
            else
                ++pos_;
        }
    }

    void text(QChar c)
    {
        State& s = st();
        switch (s.destination) {
            case Destination::Skip:
                return;
            case Destination::FontTable:
                if (c == ';') {
                    fonts_[tableFont_] = fontName_.trimmed();
                    fontName_.clear();
                } else
                    fontName_ += c;
                return;
            case Destination::ColorTable:
                if (c == ';') {
                    colors_.push_back(QColor(red_, green_, blue_));
                    red_ = green_ = blue_ = 0;
                }
                return;
            case Destination::Text:
                break;
        }
        QTextCharFormat format;
        format.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(s.italic);
        format.setFontUnderline(s.underline);
        format.setFontPointSize(s.halfPoints / 2.0);
        if (fonts_.contains(s.font))
            format.setFontFamilies({fonts_.value(s.font)});
        // Colour 0 of the table is the "automatic" colour.
        if (s.color > 0 && s.color < int(colors_.size()))
            format.setForeground(colors_[s.color]);
        if (!pending_.isEmpty() && !(format == pendingFormat_))
            flush();
        pendingFormat_ = format;
        pending_ += c;
    }

    void flush()
    {
        if (pending_.isEmpty())
            return;
        setBlockAlignment();
        cursor_.insertText(pending_, pendingFormat_);
        pending_.clear();
    }

    void paragraph()
    {
        flush();
        setBlockAlignment();
        cursor_.insertBlock();
    }

    void setBlockAlignment()
    {
        QTextBlockFormat block = cursor_.blockFormat();
        block.setAlignment(alignment_);
        cursor_.setBlockFormat(block);
    }

    void finishTableEntry()
    {
        if (st().destination == Destination::FontTable && !fontName_.trimmed().isEmpty()) {
            fonts_[tableFont_] = fontName_.trimmed().remove(';');
            fontName_.clear();
        }
    }

    const QByteArray& in_;
    int pos_ = 0;
    QTextCursor cursor_;
    std::vector<State> states_;
    QMap<int, QString> fonts_;
    int tableFont_ = 0;
    QString fontName_;
    std::vector<QColor> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    QString pending_;
    QTextCharFormat pendingFormat_;
};

}  // namespace

void ReadRtf(const QByteArray& rtf, QTextDocument& document)
{
    document.clear();
    if (!rtf.trimmed().startsWith("{\\rtf")) {
        document.setPlainText(QString::fromUtf8(rtf));
        return;
    }
    Reader(rtf, document).run();
}
