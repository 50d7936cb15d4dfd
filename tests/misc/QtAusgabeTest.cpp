// Every test program prints Qt strings as readable text when a comparison fails.

#include <QString>
#include <QStringList>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

TEST(QtAusgabeTest, FailedComparisonsShowQtStringsAsText)
{
    EXPECT_EQ(::testing::PrintToString(QStringLiteral("Größe \"5\"\r\n\tC:\\")),
              "\"Größe \\\"5\\\"\\r\\n\\tC:\\\\\"");
    EXPECT_EQ(::testing::PrintToString(QString(QChar(0x1b))), "\"\\x1B\"");
    EXPECT_EQ(
        ::testing::PrintToString(QStringList{QStringLiteral("Kuh"), QStringLiteral("Kälber")}),
        "{ \"Kuh\", \"Kälber\" }");
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(QStringLiteral("Die Datei\rfehlt"), QStringLiteral("Kuh")),
                            "Which is: \"Die Datei\\rfehlt\"");
}

}  // namespace
