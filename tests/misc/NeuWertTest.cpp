#include <NeuWert.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs `user` on the value dialog once it is shown modally.
void whenShown(std::function<void(TNeuerWert&)> user)
{
    QTimer::singleShot(0, [user] {
        auto* dialog = qobject_cast<TNeuerWert*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        user(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "Der Dialog ist noch offen";
            dialog->reject();
        }
    });
}

}  // namespace

TEST(GetNeueWerte, RefusesEmptyOrUnequalListsWithoutShowing)
{
    QStringList one{"a"};
    QStringList none;
    EXPECT_FALSE(GetNeueWerte({"L1", "L2"}, one, "Titel", ""));
    EXPECT_EQ(one, QStringList{"a"});
    EXPECT_FALSE(GetNeueWerte({}, none, "Titel", ""));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(GetNeueWerte, EnterConfirmsASingleValue)
{
    QStringList values{"alt"};
    whenShown([](TNeuerWert& d) {
        EXPECT_EQ(d.windowTitle(), "Desktop-Symbol");
        QLineEdit* edit = d.Edits().at(0);
        EXPECT_EQ(edit->geometry(), QRect(68, 0, 161, 21));  // no prompt: first row at 0
        edit->selectAll();
        QTest::keyClicks(edit, "Sicherung");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_TRUE(GetNeueWerte({"Name"}, values, "Desktop-Symbol", ""));
    EXPECT_EQ(values, QStringList{"Sicherung"});
}

TEST(GetNeueWerte, EnterMovesOnWithSeveralValuesAndCancelKeepsThem)
{
    QStringList values{"1", "2"};
    whenShown([](TNeuerWert& d) {
        EXPECT_EQ(d.findChild<QLabel*>("Label1")->text(), "Bitte angeben:");
        EXPECT_EQ(d.Edits().at(0)->y(), 24);
        EXPECT_EQ(d.Edits().at(1)->y(), 24 + 28);
        EXPECT_EQ(d.findChild<QPushButton*>("Button1")->y(), 24 + 2 * 28 + 4);
        QLineEdit* first = d.Edits().at(0);
        first->selectAll();
        QTest::keyClicks(first, "x");
        QTest::keyClick(first, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(d.Edits().at(1)->hasFocus() || d.focusWidget() == d.Edits().at(1));
        QTest::mouseClick(d.findChild<QPushButton*>("Button2"), Qt::LeftButton);
    });
    EXPECT_FALSE(GetNeueWerte({"A", "B"}, values, "Neu", "Bitte angeben:"));
    EXPECT_EQ(values, (QStringList{"1", "2"}));

    whenShown([](TNeuerWert& d) {
        d.Edits().at(1)->setText("zwei");
        QTest::mouseClick(d.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    EXPECT_TRUE(GetNeueWerte({"A", "B"}, values, "Neu", "Bitte angeben:"));
    EXPECT_EQ(values, (QStringList{"1", "zwei"}));
}
