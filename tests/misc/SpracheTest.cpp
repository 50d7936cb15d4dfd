#include <Sprache.h>

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

// The test programs start as the programs do (TestMain calls DeutschEinstellen), whatever LANG
// the machine has.
TEST(Sprache, NumbersDatesAndQtsOwnTextsAreGerman)
{
    EXPECT_EQ(QLocale().toString(1234.5, 'f', 2), QStringLiteral("1.234,50"));
    EXPECT_EQ(QLocale().toString(QDate(2024, 3, 15), QStringLiteral("dddd, d. MMMM yyyy")),
              QStringLiteral("Freitag, 15. März 2024"));

    QDialogButtonBox knoepfe(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                             QDialogButtonBox::Close);
    EXPECT_EQ(knoepfe.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
              QStringLiteral("Abbrechen"));
    EXPECT_EQ(knoepfe.button(QDialogButtonBox::Close)->text().remove(QLatin1Char('&')),
              QStringLiteral("Schließen"));

    QCalendarWidget kalender;
    kalender.setSelectedDate(QDate(2024, 3, 15));
    auto* monat = kalender.findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_NE(monat, nullptr);
    EXPECT_EQ(monat->text(), QStringLiteral("März"));
    EXPECT_EQ(kalender.firstDayOfWeek(), Qt::Monday);
}
