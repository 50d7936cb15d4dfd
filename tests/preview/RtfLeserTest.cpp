#include "RtfLeser.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QTextCharFormat formatAt(QTextDocument& document, const QString& word)
{
    const QTextCursor found = document.find(word);
    EXPECT_FALSE(found.isNull()) << word.toStdString();
    QTextCursor at(&document);
    at.setPosition(found.selectionStart() + 1);
    return at.charFormat();
}

TEST(RtfLeser, ReadsTheCommonSubsetAndSkipsTheRest)
{
    QTextDocument document;
    ReadRtf(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Courier New;}}"
        "{\\colortbl;\\red0\\green128\\blue0;}{\\*\\generator Notiz;}{\\info{\\title Titel}}"
        "\\pard\\f0\\fs24 eins \\b fett\\b0  \\i kursiv\\i0  \\ul unter\\ulnone  \\cf1 gruen\\cf0  "
        "\\f1\\fs40 gross\\par\\qc mitte \\'80 \\u8364? Stall\\par}",
        document);
    EXPECT_EQ(document.toPlainText().toStdString(),
              "eins fett kursiv unter gruen gross\nmitte € € Stall\n");
    EXPECT_EQ(formatAt(document, "fett").fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(document, "eins").fontWeight(), QFont::Normal);
    EXPECT_TRUE(formatAt(document, "kursiv").fontItalic());
    EXPECT_TRUE(formatAt(document, "unter").fontUnderline());
    EXPECT_EQ(formatAt(document, "gruen").foreground().color(), QColor(0, 128, 0));
    EXPECT_EQ(formatAt(document, "gross").fontPointSize(), 20);
    EXPECT_EQ(formatAt(document, "gross").fontFamilies().toStringList(),
              QStringList{"Courier New"});
    EXPECT_EQ(formatAt(document, "eins").fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_EQ(document.begin().next().blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(document.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_FALSE(document.toPlainText().contains("Titel"));
    EXPECT_FALSE(document.toPlainText().contains("Notiz"));
}

TEST(RtfLeser, PlainTextIsTakenAsItStands)
{
    QTextDocument document;
    ReadRtf("Kuh 17\nÖhrmarke", document);
    EXPECT_EQ(document.toPlainText(), "Kuh 17\nÖhrmarke");
}

}  // namespace
