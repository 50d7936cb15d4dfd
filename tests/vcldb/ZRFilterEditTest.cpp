#include "VcldbFixture.h"

#include <ZRFilterEdit.h>

#include <QSignalSpy>

class ZRFilterEditTest : public VcldbTest {
protected:
    TZRFilterEdit* Suche()
    {
        auto* e = new TZRFilterEdit(form_.get());
        e->SetDataSet(ds_.get());
        Zeigen();
        Fokus(e);
        return e;
    }
};

TEST_F(ZRFilterEditTest, TypedTextFiltersWithTheControlsHeld)
{
    TZRFilterEdit* e = Suche();
    QStringList ablauf;
    QList<bool> zustaende;
    QObject::connect(e, &TZRFilterEdit::OnBeforeFilter, [&] { ablauf << "vorher"; });
    QObject::connect(e, &TZRFilterEdit::OnFilter, [&](TZRFilterEdit*, bool an) {
        ablauf << "filter";
        zustaende << an;
        EXPECT_TRUE(ds_->ControlsDisabled());
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    });
    QObject::connect(e, &TZRFilterEdit::OnAfterFilter, [&] { ablauf << "nachher"; });

    QTest::keyClicks(e, QStringLiteral("B"));
    EXPECT_EQ(ablauf, (QStringList{"vorher", "filter", "nachher"}));
    EXPECT_FALSE(ds_->ControlsDisabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Text set by the program does not filter; deleting by keys switches the filter off.
    e->setText(QStringLiteral("Berta"));
    EXPECT_EQ(zustaende, (QList<bool>{true}));
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    EXPECT_EQ(zustaende, (QList<bool>{true, false}));
    // Blanks only are no search text.
    QTest::keyClick(e, Qt::Key_Space);
    EXPECT_EQ(zustaende, (QList<bool>{true, false, false}));
    // A key that changes nothing leaves no filter pending for the program's next change.
    QTest::keyClick(e, Qt::Key_Right);
    e->setText(QStringLiteral("x"));
    EXPECT_EQ(zustaende.size(), 3);
}

TEST_F(ZRFilterEditTest, NavigationKeysMoveTheDatasetAndEnterSelects)
{
    TZRFilterEdit* e = Suche();
    QSignalSpy filter(e, &TZRFilterEdit::OnFilter);
    QSignalSpy auswahl(e, &TZRFilterEdit::OnSelect);
    EXPECT_EQ(ds_->RecNo(), 0);
    QTest::keyClick(e, Qt::Key_Down);
    EXPECT_EQ(ds_->RecNo(), 1);
    QTest::keyClick(e, Qt::Key_Home);
    EXPECT_EQ(ds_->RecNo(), 0);
    QTest::keyClick(e, Qt::Key_End);
    EXPECT_EQ(ds_->RecNo(), 1);
    QTest::keyClick(e, Qt::Key_Up);
    EXPECT_EQ(ds_->RecNo(), 0);
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(auswahl.count(), 1);
    EXPECT_EQ(filter.count(), 0);

    // A form that handles a key itself gets the event instead.
    QSignalSpy weiter(e, &TZRFilterEdit::OnNext);
    QTest::keyClick(e, Qt::Key_Down);
    EXPECT_EQ(weiter.count(), 1);
    EXPECT_EQ(ds_->RecNo(), 0);
}
