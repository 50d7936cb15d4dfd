#include <NeuWert.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs `user` on the value dialog once it is shown modally; the dialog must be closed by it.
struct WennGezeigt {
    explicit WennGezeigt(std::function<void(TNeuerWert&)> user)
    {
        skript.Window<TNeuerWert>([user](TNeuerWert& d) {
            user(d);
            EXPECT_FALSE(d.isVisible()) << "Der Dialog ist noch offen";
        });
    }
    MessageBoxScript skript;
};

// Every text of the dialog shows whole, no control covers another, and the edits and buttons
// have the room their style asks for.
void nichtsAbgeschnitten(TNeuerWert& d, const char* png)
{
    for (QLineEdit* e : d.Edits())
        EXPECT_GE(e->height(), e->sizeHint().height());
    for (QPushButton* b : d.findChildren<QPushButton*>()) {
        EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
        EXPECT_GE(b->height(), b->sizeHint().height()) << b->text().toStdString();
    }
    Bildschirmfoto(d, png);
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
    WennGezeigt gezeigt([](TNeuerWert& d) {
        EXPECT_EQ(d.windowTitle(), "Desktop-Symbol");
        QLineEdit* edit = d.Edits().at(0);
        EXPECT_EQ(edit->y(), 0);  // no prompt: first row at 0
        EXPECT_GE(edit->x(), 68);
        EXPECT_GE(edit->width(), 161);
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
    WennGezeigt gezeigt([](TNeuerWert& d) {
        EXPECT_EQ(d.findChild<QLabel*>("Label1")->text(), "Bitte angeben:");
        const int zeile = d.Edits().at(1)->y() - d.Edits().at(0)->y();
        EXPECT_EQ(d.Edits().at(0)->y(), zeile - 4);
        EXPECT_EQ(d.findChild<QPushButton*>("Button1")->y(), d.Edits().at(0)->y() + 2 * zeile + 4);
        nichtsAbgeschnitten(d, "neuwert_zwei.png");
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

    WennGezeigt nochmal([](TNeuerWert& d) {
        d.Edits().at(1)->setText("zwei");
        QTest::mouseClick(d.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    EXPECT_TRUE(GetNeueWerte({"A", "B"}, values, "Neu", "Bitte angeben:"));
    EXPECT_EQ(values, (QStringList{"1", "zwei"}));
}

TEST(GetNeueWerte, LongPromptAndLabelsShowWhole)
{
    QStringList values{"Sicherung", "/home/bauer/Schreibtisch"};
    WennGezeigt gezeigt([](TNeuerWert& d) {
        nichtsAbgeschnitten(d, "neuwert_lang.png");
        QTest::mouseClick(d.findChild<QPushButton*>("Button2"), Qt::LeftButton);
    });
    EXPECT_FALSE(GetNeueWerte({"Name des Desktop-Symbols", "Ordner für das Symbol"}, values,
                              "Desktop-Symbol anlegen",
                              "Bitte geben Sie den Namen und den Ordner des neuen Symbols an:"));
}
