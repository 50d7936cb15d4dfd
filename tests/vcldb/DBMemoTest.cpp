#include "VcldbFixture.h"

#include <DBMemo.h>

class DBMemoTest : public VcldbTest {
protected:
    TDBMemo* Memo()
    {
        auto* m = new TDBMemo(form_.get());
        m->SetDataSource(ds_.get());
        m->SetDataField(QStringLiteral("BEMERKUNG"));
        Zeigen();
        return m;
    }
};

TEST_F(DBMemoTest, ShowsTheTextAndNullAsEmpty)
{
    TDBMemo* m = Memo();
    EXPECT_EQ(m->toPlainText(), QStringLiteral("ruhig"));
    EXPECT_FALSE(m->isReadOnly());
    ds_->Next();
    EXPECT_EQ(m->toPlainText(), QString());
    ds_->Close();
    EXPECT_EQ(m->toPlainText(), QString());
    EXPECT_TRUE(m->isReadOnly());
}

TEST_F(DBMemoTest, TypingWritesTheTextAndAnEmptiedMemoStoresNull)
{
    TDBMemo* m = Memo();
    const struct {
        const char* fall;
        int zeile;
        const char* getippt;  // over the whole text; empty: the text deleted
        QVariant gespeichert;
    } faelle[] = {
        {"first key of a record in browse", 1, "neu", QStringLiteral("neu")},
        {"text over text", 0, "eins", QStringLiteral("eins")},
        {"emptied", 0, "", QVariant()},
        {"blanks stay", 1, "  ", QStringLiteral("  ")},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.fall);
        ds_->MoveTo(f.zeile);
        Fokus(m);
        m->selectAll();
        if (*f.getippt)
            QTest::keyClicks(m, QString::fromUtf8(f.getippt));
        else
            QTest::keyClick(m, Qt::Key_Delete);
        EXPECT_EQ(m->toPlainText(), QString::fromUtf8(f.getippt));
        EXPECT_EQ(ds_->State(), db::DataSetState::Edit);
        EXPECT_EQ(Gespeichert("BEMERKUNG", f.zeile + 1), f.gespeichert);
    }
}

TEST_F(DBMemoTest, ReadOnlyDatasetTakesNoTyping)
{
    ds_->Close();
    ds_->SetModifySQL({});
    ds_->Open();
    TDBMemo* m = Memo();
    EXPECT_TRUE(m->isReadOnly());
    Fokus(m);
    QTest::keyClicks(m, QStringLiteral("x"));
    EXPECT_EQ(m->toPlainText(), QStringLiteral("ruhig"));
    EXPECT_EQ(ds_->State(), db::DataSetState::Browse);
}
