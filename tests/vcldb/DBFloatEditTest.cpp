#include "VcldbFixture.h"

#include <DBFloatEdit.h>
#include <Error.h>

#include <QKeyEvent>
#include <QSignalSpy>

class DBFloatEditTest : public VcldbTest {
protected:
    TDBFloatEdit* Edit(const char* feld, int digits, long double min, long double max)
    {
        auto* e = new TDBFloatEdit(form_.get());
        e->SetDigits(digits);
        e->SetMin(min);
        e->SetMax(max);
        e->SetDataSource(ds_.get());
        e->SetDataField(QString::fromUtf8(feld));
        Zeigen();
        return e;
    }
};

TEST_F(DBFloatEditTest, TypesNumbersWithCommaWithinDigits)
{
    TDBFloatEdit* e = Edit("MENGE", 2, 0, 100);
    EXPECT_EQ(e->text(), QStringLiteral("5,00"));
    EXPECT_TRUE(e->isReadOnly());
    Fokus(e);
    e->selectAll();
    // "-" is refused with Min 0, the third decimal and a second comma too.
    QTest::keyClicks(e, QStringLiteral("-12,3,45"));
    EXPECT_EQ(e->text(), QStringLiteral("12,34"));
    EXPECT_EQ(ds_->State(), db::DataSetState::Edit);
    QSignalSpy verlassen(e, &TDBZRBaseEdit::Verlassen);
    Verlassen();
    EXPECT_EQ(verlassen.count(), 1);
    EXPECT_EQ(e->text(), QStringLiteral("12,34"));
    EXPECT_DOUBLE_EQ(Gespeichert("MENGE").toDouble(), 12.34);
}

TEST_F(DBFloatEditTest, EntryOutsideTheRangeIsRefusedAndThePreviousValueComesBack)
{
    TDBFloatEdit* e = Edit("MENGE", 2, 0, 100);
    Fokus(e);
    e->selectAll();
    QTest::keyClicks(e, QStringLiteral("150"));
    boxen_->AnswerWith(Tools::mrOk);
    QSignalSpy verlassen(e, &TDBZRBaseEdit::Verlassen);
    Verlassen();
    ASSERT_EQ(boxen_->Shown().size(), 1);
    EXPECT_TRUE(boxen_->Shown()[0].text.contains(QStringLiteral("von 0,00 bis 100,00")));
    EXPECT_EQ(boxen_->Shown()[0].type, Tools::mtError);
    EXPECT_EQ(form_->focusWidget(), e);
    EXPECT_EQ(e->text(), QStringLiteral("5,00"));
    EXPECT_EQ(e->selectedText(), QStringLiteral("5,00"));
    EXPECT_EQ(verlassen.count(), 0);
    EXPECT_DOUBLE_EQ(ds_->FieldByName(QStringLiteral("MENGE")).AsDouble(), 5.0);

    // A form that posts while the wrong entry is still in the edit gets the same refusal.
    QTest::keyClicks(e, QStringLiteral("150"));
    EXPECT_THROW(ds_->Post(), db::Error);
    EXPECT_EQ(ds_->State(), db::DataSetState::Edit);
    QTest::keyClick(e, Qt::Key_Escape);
    EXPECT_EQ(e->text(), QStringLiteral("5,00"));
    EXPECT_DOUBLE_EQ(Gespeichert("MENGE").toDouble(), 5.0);
}

TEST_F(DBFloatEditTest, EmptiedFieldStoresNullOnlyWithAllowNull)
{
    TDBFloatEdit* e = Edit("MENGE", 2, 1, 100);
    Fokus(e);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    Verlassen();
    EXPECT_TRUE(e->text().isEmpty());
    EXPECT_TRUE(Gespeichert("MENGE").isNull());

    // Without AllowNull the empty text means 0, which lies outside 1 .. 100 here.
    e->SetAllowNull(false);
    ds_->MoveTo(0);
    Fokus(e);
    e->selectAll();
    QTest::keyClicks(e, QStringLiteral("7"));
    Verlassen();
    Fokus(e);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    boxen_->AnswerWith(Tools::mrOk);
    Verlassen();
    EXPECT_EQ(boxen_->Shown().size(), 1);
    EXPECT_EQ(e->text(), QStringLiteral("7,00"));
    EXPECT_DOUBLE_EQ(Gespeichert("MENGE").toDouble(), 7.0);
}

TEST_F(DBFloatEditTest, MinusAndSeparatorAloneBecomeAZero)
{
    TDBFloatEdit* e = Edit("MENGE", 1, -10, 10);
    Fokus(e);
    e->selectAll();
    QTest::keyClicks(e, QStringLiteral("-"));
    EXPECT_EQ(e->text(), QStringLiteral("-0"));
    EXPECT_EQ(e->selectedText(), QStringLiteral("0"));
    QTest::keyClicks(e, QStringLiteral("5"));
    EXPECT_EQ(e->text(), QStringLiteral("-5"));
    e->selectAll();
    QTest::keyClicks(e, QStringLiteral(","));
    EXPECT_EQ(e->text(), QStringLiteral("0,0"));
    EXPECT_EQ(e->selectedText(), QStringLiteral("0"));
    QTest::keyClicks(e, QStringLiteral("5"));
    Verlassen();
    EXPECT_DOUBLE_EQ(Gespeichert("MENGE").toDouble(), 0.5);
}

TEST_F(DBFloatEditTest, FactorScalesTheShownValue)
{
    Sql("UPDATE T_VCL SET MENGE = 0.25 WHERE ID = 1");
    ds_->Refresh();
    TDBFloatEdit* e = Edit("MENGE", 1, 0, 1000);
    e->SetFactor(100);
    EXPECT_EQ(e->text(), QStringLiteral("25,0"));
    Fokus(e);
    e->selectAll();
    QTest::keyClicks(e, QStringLiteral("30"));
    Verlassen();
    EXPECT_EQ(e->text(), QStringLiteral("30,0"));
    EXPECT_DOUBLE_EQ(Gespeichert("MENGE").toDouble(), 0.3);
    e->SetDigits(25);
    EXPECT_EQ(e->Digits(), 18);
}

TEST_F(DBFloatEditTest, EscapeBringsBackTheEntryValue)
{
    TDBFloatEdit* e = Edit("ANZAHL", 0, 0, 99);
    Fokus(e);
    e->selectAll();
    QTest::keyClicks(e, QStringLiteral("4,"));  // no separator without decimals
    EXPECT_EQ(e->text(), QStringLiteral("4"));
    QTest::keyClick(e, Qt::Key_Escape);
    EXPECT_EQ(e->text(), QStringLiteral("7"));
    EXPECT_EQ(e->selectedText(), QStringLiteral("7"));
    Verlassen();
    EXPECT_EQ(Gespeichert("ANZAHL").toInt(), 7);
}

TEST_F(DBFloatEditTest, EscapeAndRefusedKeysLeaveAnUntouchedRecordInBrowse)
{
    TDBFloatEdit* e = Edit("MENGE", 2, 0, 100);
    Fokus(e);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Escape);
    EXPECT_EQ(ds_->State(), db::DataSetState::Browse);
    QTest::keyClicks(e, QStringLiteral("x"));
    EXPECT_EQ(ds_->State(), db::DataSetState::Browse);
    EXPECT_EQ(e->text(), QStringLiteral("5,00"));
}

TEST_F(DBFloatEditTest, ReadOnlyDatasetTakesNoTyping)
{
    ds_->Close();
    ds_->SetModifySQL({});
    ds_->Open();
    TDBFloatEdit* e = Edit("MENGE", 2, 0, 100);
    Fokus(e);
    QTest::keyClicks(e, QStringLiteral("9"));
    EXPECT_EQ(e->text(), QStringLiteral("5,00"));
    EXPECT_EQ(ds_->State(), db::DataSetState::Browse);
}

TEST_F(DBFloatEditTest, UntouchedStoredValueOutsideTheRangeCanBeLeft)
{
    // What the user did not type is not his to mend: passing through the edit stores nothing and
    // asks nothing, however often he tabs through.
    const struct {
        const char* fall;
        int zeile;
        long double min;
        long double max;
        bool allowNull;
        const char* gezeigt;
    } faelle[] = {
        {"stored value above Max", 0, 0, 3, true, "5,00"},
        {"NULL without AllowNull, 0 below Min", 1, 1, 100, false, ""},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.fall);
        ds_->MoveTo(f.zeile);
        TDBFloatEdit* e = Edit("MENGE", 2, f.min, f.max);
        e->show();  // the form is already shown from the case before
        e->SetAllowNull(f.allowNull);
        const QVariant vorher = Gespeichert("MENGE", f.zeile + 1);
        QSignalSpy verlassen(e, &TDBZRBaseEdit::Verlassen);
        for (int mal = 0; mal < 3; ++mal) {
            Fokus(e);
            EXPECT_EQ(e->text(), QString::fromUtf8(f.gezeigt));
            Verlassen();
            EXPECT_EQ(form_->focusWidget(), anderes_);
        }
        EXPECT_TRUE(boxen_->Shown().isEmpty());
        EXPECT_EQ(verlassen.count(), 3);
        EXPECT_EQ(ds_->State(), db::DataSetState::Browse);
        EXPECT_EQ(Gespeichert("MENGE", f.zeile + 1), vorher);
        delete e;
    }
}

TEST_F(DBFloatEditTest, NumberTooBigForTheColumnIsRefusedOnLeaving)
{
    // The edit's range is wider than the column's; the column's limit is told in the message.
    const struct {
        const char* feld;
        const char* eingabe;
        const char* erlaubt;
        qlonglong vorher;
    } faelle[] = {
        {"BILD", "70000", "von -32768 bis 32767", 1},
        {"BILD", "-70000", "von -32768 bis 32767", 1},
        {"ANZAHL", "5000000000", "von -2147483648 bis 2147483647", 7},
    };
    qsizetype boxen = 0;
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.eingabe);
        TDBFloatEdit* e = Edit(f.feld, 0, -1e12L, 1e12L);
        e->show();  // the form is already shown from the case before
        const QString vorher = e->text();
        Fokus(e);
        e->selectAll();
        QTest::keyClicks(e, QString::fromUtf8(f.eingabe));
        boxen_->AnswerWith(Tools::mrOk);
        Verlassen();
        ASSERT_EQ(boxen_->Shown().size(), ++boxen);
        const Tools::ShownMessage& box = boxen_->Shown().back();
        EXPECT_EQ(box.type, Tools::mtError);
        EXPECT_TRUE(box.text.contains(QString::fromUtf8(f.erlaubt))) << box.text.toStdString();
        EXPECT_FALSE(box.text.contains(QString::fromUtf8(f.feld))) << box.text.toStdString();
        EXPECT_EQ(form_->focusWidget(), e);
        EXPECT_EQ(e->text(), vorher);
        EXPECT_EQ(e->selectedText(), vorher);
        EXPECT_NO_THROW(ds_->CheckBrowseMode());
        EXPECT_EQ(Gespeichert(f.feld).toLongLong(), f.vorher);
        delete e;
    }
}

TEST_F(DBFloatEditTest, LeavingStoresAValidEntryOrNullAndRevertsAnyOther)
{
    // The one rule of the number edit: an empty entry is NULL with AllowNull and 0 without; an
    // entry outside Min .. Max is refused, told and replaced by the value from before the entry.
    const struct {
        const char* fall;
        bool allowNull;
        long double min;
        const char* eingabe;  // typed over the stored 5,00; empty: the text deleted
        bool gemeldet;
        const char* danach;
        QVariant gespeichert;
    } faelle[] = {
        {"number within the range", true, 0, "12,5", false, "12,50", 12.5},
        {"empty with AllowNull", true, 1, "", false, "", QVariant()},
        {"empty without AllowNull, 0 allowed", false, 0, "", false, "0,00", 0.0},
        {"empty without AllowNull, 0 below Min", false, 1, "", true, "5,00", 5.0},
        {"number below Min", true, 1, "0,5", true, "5,00", 5.0},
        {"number above Max", true, 0, "100,01", true, "5,00", 5.0},
    };
    qsizetype boxen = 0;
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.fall);
        Sql("UPDATE T_VCL SET MENGE = 5 WHERE ID = 1");
        ds_->Refresh();
        TDBFloatEdit* e = Edit("MENGE", 2, f.min, 100);
        e->show();  // the form is already shown from the case before
        e->SetAllowNull(f.allowNull);
        Fokus(e);
        e->selectAll();
        if (*f.eingabe)
            QTest::keyClicks(e, QString::fromUtf8(f.eingabe));
        else
            QTest::keyClick(e, Qt::Key_Delete);
        if (f.gemeldet)
            boxen_->AnswerWith(Tools::mrOk);
        Verlassen();
        EXPECT_EQ(boxen_->Shown().size(), boxen += f.gemeldet);
        EXPECT_EQ(form_->focusWidget(), f.gemeldet ? static_cast<QWidget*>(e) : anderes_);
        EXPECT_EQ(e->text(), QString::fromUtf8(f.danach));
        const QVariant wert = Gespeichert("MENGE");
        EXPECT_EQ(wert.isNull(), f.gespeichert.isNull());
        if (!f.gespeichert.isNull()) {
            EXPECT_DOUBLE_EQ(wert.toDouble(), f.gespeichert.toDouble());
        }
        delete e;
    }
}

// Without a dataset the edit is the settings pages' number entry: the same keys, but the form
// checks the entry when it takes it, and Escape is the form's.
TEST_F(DBFloatEditTest, UnboundEditFiltersKeysAndLeavesTheCheckToTheForm)
{
    auto* e = new TDBFloatEdit(form_.get());
    e->SetDigits(1);
    e->SetMin(1);
    e->SetMax(10);
    e->SetAllowNull(false);
    e->SetValue(5);
    Zeigen();
    EXPECT_EQ(e->text(), QStringLiteral("5,0"));
    EXPECT_FALSE(e->isReadOnly());
    Fokus(e);
    e->selectAll();
    QTest::keyClicks(e, QStringLiteral("-12,34"));
    EXPECT_EQ(e->text(), QStringLiteral("12,3"));
    Verlassen();
    EXPECT_TRUE(boxen_->Shown().isEmpty());
    EXPECT_EQ(e->text(), QStringLiteral("12,3"));
    EXPECT_EQ(e->Fehlertext(),
              QStringLiteral("Die Zahl liegt außerhalb des erlaubten Bereichs.\rErlaubt sind "
                             "Zahlen von 1,0 bis 10,0."));
    e->setText({});
    EXPECT_FALSE(e->Fehlertext().isEmpty());  // empty is 0 without AllowNull
    e->SetValue(7.5);
    EXPECT_TRUE(e->Fehlertext().isEmpty());
    EXPECT_EQ(e->Value(), 7.5L);

    Fokus(e);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(e, &esc);
    EXPECT_FALSE(esc.isAccepted());
}
