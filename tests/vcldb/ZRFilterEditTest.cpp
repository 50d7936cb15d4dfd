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
    QString suche;
    QObject::connect(e, &TZRFilterEdit::OnBeforeFilter, [&] {
        ablauf << "vorher";
        suche = e->text().trimmed();
    });
    ds_->OnFilterRecord = [&](db::DataSet& ds) {
        if (ablauf.isEmpty() || ablauf.back() != "filter")
            ablauf << "filter";
        EXPECT_TRUE(ds.ControlsDisabled());
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
        if (QApplication::overrideCursor()) {
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        return ds.FieldByName(QStringLiteral("NAME"))
            .AsString()
            .startsWith(suche, Qt::CaseInsensitive);
    };
    QObject::connect(e, &TZRFilterEdit::OnAfterFilter, [&] {
        ablauf << "nachher";
        zustaende << ds_->Filtered();
    });

    QTest::keyClicks(e, QStringLiteral("b"));
    EXPECT_EQ(ablauf, (QStringList{"vorher", "filter", "nachher"}));
    EXPECT_FALSE(ds_->ControlsDisabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_EQ(ds_->RecordCount(), 1);
    EXPECT_EQ(ds_->FieldByName(QStringLiteral("NAME")).AsString(), QStringLiteral("Berta"));

    // Text set by the program does not filter; deleting by keys switches the filter off.
    e->setText(QStringLiteral("x"));
    EXPECT_EQ(zustaende, (QList<bool>{true}));
    EXPECT_EQ(ds_->RecordCount(), 1);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    EXPECT_EQ(zustaende, (QList<bool>{true, false}));
    EXPECT_EQ(ds_->RecordCount(), 2);
    // Blanks only are no search text.
    QTest::keyClick(e, Qt::Key_Space);
    EXPECT_EQ(zustaende, (QList<bool>{true, false, false}));
    EXPECT_EQ(ds_->RecordCount(), 2);
    // A key that changes nothing leaves no filter pending for the program's next change.
    QTest::keyClick(e, Qt::Key_Right);
    e->setText(QStringLiteral("x"));
    EXPECT_EQ(zustaende.size(), 3);
}

// Each typed letter narrows the search anew, and the navigation keys move among the records that
// pass.
TEST_F(ZRFilterEditTest, TypingNarrowsTheRecordsAndNavigatesAmongThem)
{
    Sql("INSERT INTO T_VCL (ID, NAME) VALUES (3, 'Bella')");
    Sql("INSERT INTO T_VCL (ID, NAME) VALUES (4, 'Anna')");
    ds_->Close();
    ds_->Open();
    TZRFilterEdit* e = Suche();
    ds_->OnFilterRecord = [e](db::DataSet& ds) {
        return ds.FieldByName(QStringLiteral("NAME"))
            .AsString()
            .startsWith(e->text().trimmed(), Qt::CaseInsensitive);
    };
    const struct {
        const char* eingabe;
        QStringList namen;
    } faelle[] = {
        {"b", {"Berta", "Bella"}},
        {"e", {"Berta", "Bella"}},
        {"l", {"Bella"}},
        {"x", {}},
    };
    for (const auto& fall : faelle) {
        QTest::keyClicks(e, QString::fromUtf8(fall.eingabe));
        QStringList namen;
        for (int r = 0; r < ds_->RecordCount(); ++r)
            namen << ds_->ValueAt(r, ds_->FieldByName(QStringLiteral("NAME")).Index()).AsString();
        EXPECT_EQ(namen, fall.namen) << e->text().toStdString();
    }
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(e, Qt::Key_Backspace);
    ASSERT_EQ(e->text(), QStringLiteral("b"));
    ASSERT_EQ(ds_->RecordCount(), 2);
    QTest::keyClick(e, Qt::Key_End);
    EXPECT_EQ(ds_->FieldByName(QStringLiteral("ID")).AsInteger(), 3);
    QTest::keyClick(e, Qt::Key_Down);
    EXPECT_TRUE(ds_->Eof());
    EXPECT_EQ(ds_->FieldByName(QStringLiteral("ID")).AsInteger(), 3);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    EXPECT_FALSE(ds_->Filtered());
    EXPECT_EQ(ds_->RecordCount(), 4);
    EXPECT_EQ(ds_->FieldByName(QStringLiteral("ID")).AsInteger(), 3) << "the current record stays";
}

TEST_F(ZRFilterEditTest, NavigationKeysMoveTheDatasetAndEnterSelects)
{
    TZRFilterEdit* e = Suche();
    int gefiltert = 0;
    ds_->OnFilterRecord = [&](db::DataSet&) {
        ++gefiltert;
        return true;
    };
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
    EXPECT_EQ(gefiltert, 0);
    EXPECT_FALSE(ds_->Filtered());

    // A form that handles a key itself gets the event instead.
    QSignalSpy weiter(e, &TZRFilterEdit::OnNext);
    QTest::keyClick(e, Qt::Key_Down);
    EXPECT_EQ(weiter.count(), 1);
    EXPECT_EQ(ds_->RecNo(), 0);
}
