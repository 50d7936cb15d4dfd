#include <NeuWert.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>

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

// Every text of the dialog shows whole, and no control covers another.
void nichtsAbgeschnitten(TNeuerWert& d, const char* png)
{
    QList<QWidget*> teile;
    for (QLabel* l : d.findChildren<QLabel*>()) {
        if (!l->isVisible())
            continue;
        EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
        EXPECT_GE(l->height(), l->fontMetrics().height()) << l->text().toStdString();
        teile << l;
    }
    for (QLineEdit* e : d.Edits()) {
        EXPECT_GE(e->height(), e->sizeHint().height());
        teile << e;
    }
    for (QPushButton* b : d.findChildren<QPushButton*>()) {
        EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
        EXPECT_GE(b->height(), b->sizeHint().height()) << b->text().toStdString();
        teile << b;
    }
    for (QWidget* w : teile) {
        const QRect r(w->mapTo(&d, QPoint(0, 0)), w->size());
        EXPECT_TRUE(d.rect().contains(r)) << w->metaObject()->className();
        for (QWidget* v : teile) {
            const QRect s(v->mapTo(&d, QPoint(0, 0)), v->size());
            if (v != w && v->parentWidget() == w->parentWidget()) {
                EXPECT_FALSE(r.intersects(s))
                    << w->metaObject()->className() << " / " << v->metaObject()->className();
            }
        }
    }
    const QString datei = QDir(QString::fromStdString(::testing::TempDir())).filePath(png);
    EXPECT_TRUE(d.grab().save(datei));
    std::cout << "Bild: " << datei.toStdString() << std::endl;
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
    whenShown([](TNeuerWert& d) {
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

    whenShown([](TNeuerWert& d) {
        d.Edits().at(1)->setText("zwei");
        QTest::mouseClick(d.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    EXPECT_TRUE(GetNeueWerte({"A", "B"}, values, "Neu", "Bitte angeben:"));
    EXPECT_EQ(values, (QStringList{"1", "zwei"}));
}

TEST(GetNeueWerte, LongPromptAndLabelsShowWhole)
{
    QStringList values{"Sicherung", "/home/bauer/Schreibtisch"};
    whenShown([](TNeuerWert& d) {
        nichtsAbgeschnitten(d, "neuwert_lang.png");
        QTest::mouseClick(d.findChild<QPushButton*>("Button2"), Qt::LeftButton);
    });
    EXPECT_FALSE(GetNeueWerte({"Name des Desktop-Symbols", "Ordner für das Symbol"}, values,
                              "Desktop-Symbol anlegen",
                              "Bitte geben Sie den Namen und den Ordner des neuen Symbols an:"));
}
