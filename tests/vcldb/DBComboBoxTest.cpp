#include "VcldbFixture.h"

#include <DBComboBox.h>

#include <QLineEdit>
#include <QSignalSpy>

class DBComboBoxTest : public VcldbTest {
protected:
    // The list of GESCHLECHT; with ohneWert an entry that stands for NULL first.
    TDBComboBox* Liste(bool ohneWert)
    {
        auto* c = new TDBComboBox(form_.get());
        if (ohneWert)
            c->Eintrag(QStringLiteral("unbekannt"));
        c->Eintrag(QStringLiteral("weiblich"), QStringLiteral("W"));
        c->Eintrag(QStringLiteral("männlich"), QStringLiteral("M"));
        c->SetDataSource(ds_.get());
        c->SetDataField(QStringLiteral("GESCHLECHT"));
        Zeigen();
        return c;
    }
    // An editable box on NAME.
    TDBComboBox* Freitext()
    {
        auto* c = new TDBComboBox(form_.get(), true);
        c->Eintrag(QStringLiteral("Anna"));
        c->Eintrag(QStringLiteral("Berta"));
        c->SetDataSource(ds_.get());
        c->SetDataField(QStringLiteral("NAME"));
        Zeigen();
        return c;
    }
};

TEST_F(DBComboBoxTest, FixedListShowsTheEntryOfTheValueAndNullAsTheEntryWithoutValue)
{
    const struct {
        const char* fall;
        const char* wert;  // null: NULL
        bool ohneWert;
        const char* gezeigt;  // empty: no entry
    } faelle[] = {
        {"value with an entry", "W", true, "weiblich"},
        {"the other value", "M", false, "männlich"},
        {"NULL with an entry without value", nullptr, true, "unbekannt"},
        {"NULL without such an entry", nullptr, false, ""},
        {"value without an entry", "X", true, ""},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.fall);
        Sql(f.wert ? qPrintable(QStringLiteral("UPDATE T_VCL SET GESCHLECHT = '%1' WHERE ID = 1")
                                    .arg(QString::fromUtf8(f.wert)))
                   : "UPDATE T_VCL SET GESCHLECHT = NULL WHERE ID = 1");
        ds_->Refresh();
        TDBComboBox* c = Liste(f.ohneWert);
        EXPECT_EQ(c->currentText(), QString::fromUtf8(f.gezeigt));
        EXPECT_EQ(c->currentIndex() < 0, !*f.gezeigt);
        delete c;
    }
}

TEST_F(DBComboBoxTest, ChoosingWritesTheEntrysValueAndTheEntryWithoutValueWritesNull)
{
    TDBComboBox* c = Liste(true);
    QSignalSpy geschrieben(c, &TDBComboBox::Geschrieben);
    Fokus(c);
    QTest::keyClick(c, Qt::Key_Down);
    EXPECT_EQ(c->currentText(), QStringLiteral("männlich"));
    EXPECT_EQ(ds_->State(), db::DataSetState::Edit);
    EXPECT_EQ(ds_->FieldByName(QStringLiteral("GESCHLECHT")).AsString(), QStringLiteral("M"));
    QTest::keyClick(c, Qt::Key_Home);
    EXPECT_EQ(c->currentText(), QStringLiteral("unbekannt"));
    EXPECT_EQ(geschrieben.count(), 2);
    EXPECT_TRUE(Gespeichert("GESCHLECHT").isNull());

    // A field the box may not change keeps its value, and the box shows it again.
    ds_->MoveTo(1);
    c->SetReadOnly(true);
    QTest::keyClick(c, Qt::Key_Up);
    EXPECT_EQ(c->currentText(), QStringLiteral("männlich"));
    EXPECT_EQ(ds_->State(), db::DataSetState::Browse);
    EXPECT_EQ(geschrieben.count(), 2);
}

TEST_F(DBComboBoxTest, EditableBoxStoresItsTrimmedTextAndAnEmptyTextAsNull)
{
    TDBComboBox* c = Freitext();
    EXPECT_EQ(c->currentText(), QStringLiteral("Berta"));
    ds_->Next();
    EXPECT_EQ(c->currentText(), QString());  // NULL
    ds_->First();

    const struct {
        const char* fall;
        const char* getippt;
        QVariant gespeichert;
    } faelle[] = {
        {"text with blanks", "  Carla ", QStringLiteral("Carla")},
        {"blanks only", "   ", QVariant()},
        {"nothing", "", QVariant()},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.fall);
        Fokus(c);
        c->lineEdit()->selectAll();
        if (*f.getippt)
            QTest::keyClicks(c->lineEdit(), QString::fromUtf8(f.getippt));
        else
            QTest::keyClick(c->lineEdit(), Qt::Key_Delete);
        // The first key put the record into edit; what was typed stays.
        EXPECT_EQ(c->currentText(), QString::fromUtf8(f.getippt));
        Verlassen();
        EXPECT_EQ(Gespeichert("NAME"), f.gespeichert);
    }
    // A chosen entry, the completion of what was typed and the form's text are taken too.
    c->setCurrentIndex(0);
    EXPECT_EQ(Gespeichert("NAME").toString(), QStringLiteral("Anna"));
    Fokus(c);
    c->lineEdit()->selectAll();
    QTest::keyClicks(c->lineEdit(), QStringLiteral("Be"));
    EXPECT_EQ(c->currentText(), QStringLiteral("Berta"));
    Verlassen();
    EXPECT_EQ(Gespeichert("NAME").toString(), QStringLiteral("Berta"));
    c->setEditText(QStringLiteral("Dora"));
    EXPECT_EQ(Gespeichert("NAME").toString(), QStringLiteral("Dora"));
}

TEST_F(DBComboBoxTest, EntriesAddedToABoundBoxChangeNoField)
{
    ds_->Next();  // NAME and GESCHLECHT NULL
    Sql("UPDATE T_VCL SET GESCHLECHT = NULL WHERE ID = 2");
    ds_->Refresh();
    auto* frei = new TDBComboBox(form_.get(), true);
    frei->SetDataSource(ds_.get());
    frei->SetDataField(QStringLiteral("NAME"));
    auto* liste = new TDBComboBox(form_.get());
    liste->SetDataSource(ds_.get());
    liste->SetDataField(QStringLiteral("GESCHLECHT"));
    frei->addItems({QStringLiteral("Anna"), QStringLiteral("Berta")});
    liste->Eintrag(QStringLiteral("weiblich"), QStringLiteral("W"));
    EXPECT_EQ(frei->currentText(), QString());
    EXPECT_EQ(liste->currentIndex(), -1);
    EXPECT_EQ(ds_->State(), db::DataSetState::Browse);
    EXPECT_TRUE(Gespeichert("NAME", 2).isNull());
    EXPECT_TRUE(Gespeichert("GESCHLECHT", 2).isNull());
}

TEST_F(DBComboBoxTest, WithoutDatasetItIsAPlainBox)
{
    auto* c = new TDBComboBox(form_.get());
    c->Eintrag(QStringLiteral("eins"), 1);
    c->Eintrag(QStringLiteral("zwei"), 2);
    Zeigen();
    Fokus(c);
    QTest::keyClick(c, Qt::Key_Down);
    EXPECT_EQ(c->currentData().toInt(), 2);
    EXPECT_EQ(ds_->State(), db::DataSetState::Browse);
}
