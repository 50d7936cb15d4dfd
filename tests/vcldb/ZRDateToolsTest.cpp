#include <ZRDateTools.h>

#include <gtest/gtest.h>

using ZRDateTools::FormatDateNice;

TEST(FormatDateNice, CompletesShortEntriesRelativeToToday)
{
    const QDate heute(2026, 12, 10);
    const struct {
        const char* eingabe;
        const char* erwartet;
    } faelle[] = {
        {"1.2.", "01.02.2026"},
        {"1.2", "01.02.2026"},
        {"1,2,", "01.02.2026"},
        {"7", "07.12.2026"},
        {"07.", "07.12.2026"},
        {"010224", "01.02.2024"},
        {"0102", "01.02.2026"},
        {"01022024", "01.02.2024"},
        {"1.2.24", "01.02.2024"},
        {"1-2-24", "01.02.2024"},
        {"1/2/2024", "01.02.2024"},
        {" 01.02.2024 ", "01.02.2024"},
        {"29.2.24", "29.02.2024"},
        // Two-digit years: up to 19 years ahead, otherwise the century before.
        {"1.1.45", "01.01.2045"},
        {"1.1.46", "01.01.1946"},
        {"1.1.99", "01.01.1999"},
        {"1.1.00", "01.01.2000"},
        // No date: handed back so that reading fails.
        {"31.2.", "31.2."},
        {"29.2.25", "29.2.25"},
        {"123", "123"},
        {"1.2.202", "1.2.202"},
        {"1.2.3.4", "1.2.3.4"},
        {".1.2", ".1.2"},
        {"abc", "abc"},
        {"32", "32"},
        {"", ""},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(FormatDateNice(QString::fromUtf8(f.eingabe), heute),
                  QString::fromUtf8(f.erwartet))
            << f.eingabe;
}

TEST(FormatDateNice, FollowsTheProgramsToday)
{
    ZRDateTools::SetHeuteQuelle([] { return QDate(2001, 3, 4); });
    EXPECT_EQ(FormatDateNice(QStringLiteral("5.")), QStringLiteral("05.03.2001"));
    EXPECT_EQ(ZRDateTools::DatumAusText(QStringLiteral("5")), QDate(2001, 3, 5));
    EXPECT_FALSE(ZRDateTools::DatumAusText(QStringLiteral("30.2.")).isValid());
    ZRDateTools::SetHeuteQuelle({});
    EXPECT_EQ(ZRDateTools::Heute(), QDate::currentDate());
}
