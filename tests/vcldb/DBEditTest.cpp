#include "VcldbFixture.h"

#include <DBZRBaseEdit.h>
#include <DBZRDateEdit.h>
#include <ZRDateTools.h>

#include <Error.h>

#include <Bildschirmfoto.h>

#include <QCalendarWidget>
#include <QSignalSpy>
#include <QDir>
#include <QToolButton>

class DBEditTest : public VcldbTest {
protected:
    template <class E>
    E* Edit(const char* feld)
    {
        auto* e = new E(form_.get());
        e->SetDataSource(ds_.get());
        e->SetDataField(QString::fromUtf8(feld));
        Zeigen();
        return e;
    }
    void SetUp() override
    {
        VcldbTest::SetUp();
        ZRDateTools::SetHeuteQuelle([] { return QDate(2026, 12, 10); });
    }
    void TearDown() override
    {
        ZRDateTools::SetHeuteQuelle({});
        VcldbTest::TearDown();
    }
};

TEST_F(DBEditTest, FollowsTheDatasetAndWritesOnLeaving)
{
    auto* e = Edit<TDBZRBaseEdit>("NAME");
    EXPECT_EQ(e->text(), QStringLiteral("Berta"));
    EXPECT_EQ(e->maxLength(), 20);
    EXPECT_TRUE(e->isReadOnly());
    Fokus(e);
    e->selectAll();
    QTest::keyClicks(e, QStringLiteral("Anna"));
    EXPECT_FALSE(e->isReadOnly());
    QTest::keyClick(e, Qt::Key_Escape);
    EXPECT_EQ(e->text(), QStringLiteral("Berta"));
    EXPECT_EQ(e->selectedText(), QStringLiteral("Berta"));
    QTest::keyClicks(e, QStringLiteral("Clara"));
    Verlassen();
    EXPECT_EQ(Gespeichert("NAME").toString(), QStringLiteral("Clara"));
    EXPECT_TRUE(e->isReadOnly());

    ds_->Next();
    EXPECT_TRUE(e->text().isEmpty());
    ds_->Close();
    EXPECT_TRUE(e->text().isEmpty());
}

TEST_F(DBEditTest, FailedWriteKeepsTheFocusAndSelectsTheText)
{
    auto* e = Edit<TDBZRBaseEdit>("DATUM");
    EXPECT_EQ(e->text(), QStringLiteral("01.03.2024"));
    Fokus(e);
    e->selectAll();
    QTest::keyClicks(e, QStringLiteral("31.2.2024"));
    boxen_->AnswerWith(Tools::mrOk);
    QSignalSpy verlassen(e, &TDBZRBaseEdit::Verlassen);
    Verlassen();
    ASSERT_EQ(boxen_->Shown().size(), 1);
    EXPECT_TRUE(boxen_->Shown()[0].text.contains(QStringLiteral("31.2.2024")));
    EXPECT_EQ(form_->focusWidget(), e);
    EXPECT_EQ(e->selectedText(), QStringLiteral("31.2.2024"));
    EXPECT_EQ(verlassen.count(), 0);
    EXPECT_EQ(ds_->FieldByName(QStringLiteral("DATUM")).AsDate(), QDate(2024, 3, 1));
}

TEST_F(DBEditTest, NumberTooBigForTheColumnIsRefusedOnLeaving)
{
    const struct {
        const char* feld;
        const char* eingabe;
        const char* erlaubt;
    } faelle[] = {
        {"BILD", "70000", "von -32768 bis 32767"},
        {"ANZAHL", "-5000000000", "von -2147483648 bis 2147483647"},
        {"ANZAHL", "99999999999999999999", "von -2147483648 bis 2147483647"},
    };
    qsizetype boxen = 0;
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.eingabe);
        auto* e = Edit<TDBZRBaseEdit>(f.feld);
        e->show();  // the form is already shown from the case before
        const QString vorher = e->text();
        Fokus(e);
        e->selectAll();
        QTest::keyClicks(e, QString::fromUtf8(f.eingabe));
        boxen_->AnswerWith(Tools::mrOk);
        Verlassen();
        ASSERT_EQ(boxen_->Shown().size(), ++boxen);
        const QString meldung = boxen_->Shown().back().text;
        EXPECT_TRUE(meldung.contains(QString::fromUtf8(f.erlaubt))) << meldung.toStdString();
        EXPECT_TRUE(meldung.contains(QString::fromUtf8(f.eingabe))) << meldung.toStdString();
        EXPECT_FALSE(meldung.contains(QString::fromUtf8(f.feld))) << meldung.toStdString();
        EXPECT_EQ(form_->focusWidget(), e);
        EXPECT_EQ(e->selectedText(), QString::fromUtf8(f.eingabe));
        QTest::keyClick(e, Qt::Key_Escape);
        EXPECT_NO_THROW(ds_->CheckBrowseMode());
        EXPECT_EQ(Gespeichert(f.feld).toString(), vorher);
        delete e;
    }
}

TEST_F(DBEditTest, DateEditCompletesShortEntries)
{
    auto* e = Edit<TDBZRDateEdit>("DATUM");
    const struct {
        const char* eingabe;
        QDate datum;
    } faelle[] = {
        {"1.2.", QDate(2026, 2, 1)},
        {"010224", QDate(2024, 2, 1)},
        {"1.2.24", QDate(2024, 2, 1)},
        {"15", QDate(2026, 12, 15)},
    };
    for (const auto& f : faelle) {
        Fokus(e);
        e->selectAll();
        QTest::keyClicks(e, QString::fromUtf8(f.eingabe));
        Verlassen();
        EXPECT_EQ(e->text(), f.datum.toString(QStringLiteral("dd.MM.yyyy"))) << f.eingabe;
        EXPECT_EQ(Gespeichert("DATUM").toDate(), f.datum) << f.eingabe;
    }
}

TEST_F(DBEditTest, DateEditShowsAWholeDateBesideItsButton)
{
    Sql("UPDATE T_VCL SET DATUM = '2024-03-15' WHERE ID = 1");
    ds_->Refresh();
    const struct {
        const char* fall;
        int punkte;  // 0: the application's font
    } faelle[] = {{"application font", 0}, {"large font", 16}};
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.fall);
        auto* e = Edit<TDBZRDateEdit>("DATUM");
        e->show();  // the form is already shown from the case before
        if (f.punkte) {
            QFont gross = e->font();
            gross.setPointSize(f.punkte);
            e->setFont(gross);
        }
        EXPECT_GE(e->width(), 85);
        ASSERT_EQ(e->text(), QStringLiteral("15.03.2024"));
        auto* knopf = e->findChild<QToolButton*>();
        ASSERT_NE(knopf, nullptr);
        // The line edit scrolls a text that does not fit; unscrolled, the start and the end of
        // the date lie a whole text width apart, and the end lies left of the button.
        const auto cursorX = [e](int pos) {
            e->setCursorPosition(pos);
            e->grab();  // the edit scrolls while it paints
            return e->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
        };
        const int anfang = cursorX(0);
        const int ende = cursorX(int(e->text().size()));
        EXPECT_NEAR(ende - anfang, QFontMetricsF(e->font()).horizontalAdvance(e->text()), 1.5);
        EXPECT_LT(ende, knopf->x());
        Bildschirmfoto(*e, QStringLiteral("datum_%1.png").arg(f.punkte));
        delete e;
    }
}

TEST_F(DBEditTest, DateEditStepsDaysAndSetsToday)
{
    auto* e = Edit<TDBZRDateEdit>("DATUM");
    Fokus(e);
    QTest::keyClick(e, Qt::Key_Up);
    EXPECT_EQ(e->text(), QStringLiteral("02.03.2024"));
    QTest::keyClick(e, Qt::Key_Down);
    QTest::keyClick(e, Qt::Key_Down);
    EXPECT_EQ(e->text(), QStringLiteral("29.02.2024"));
    Verlassen();
    EXPECT_EQ(Gespeichert("DATUM").toDate(), QDate(2024, 2, 29));
    Fokus(e);
    QTest::keyClick(e, Qt::Key_F12);
    Verlassen();
    EXPECT_EQ(Gespeichert("DATUM").toDate(), QDate(2026, 12, 10));

    // The calendar of an empty field opens on today.
    ds_->Next();
    e->KalenderOeffnen();
    EXPECT_EQ(e->Kalender()->selectedDate(), QDate(2026, 12, 10));
    e->Kalender()->hide();
}

TEST_F(DBEditTest, DateEditOnReadOnlyDatasetDoesNotChange)
{
    ds_->Close();
    ds_->SetModifySQL({});
    ds_->Open();
    auto* e = Edit<TDBZRDateEdit>("DATUM");
    Fokus(e);
    QTest::keyClick(e, Qt::Key_Up);
    QTest::keyClick(e, Qt::Key_F12);
    EXPECT_EQ(e->text(), QStringLiteral("01.03.2024"));
    EXPECT_EQ(ds_->State(), db::DataSetState::Browse);
}

// A time is shown with the date and comes back in with it; a date typed alone keeps the time.
TEST_F(DBEditTest, TimestampFieldTakesDateAndTime)
{
    struct Fall {
        const char* text;
        int id;
        QDateTime erwartet;  // invalid: refused, the field keeps its value
    };
    const Fall faelle[] = {
        {"02.03.2024 11:45:30", 1, QDateTime(QDate(2024, 3, 2), QTime(11, 45, 30))},
        {"2.3.2024 8:05", 1, QDateTime(QDate(2024, 3, 2), QTime(8, 5))},
        {"5.4.", 1, QDateTime(QDate(2026, 4, 5), QTime(10, 30))},
        {"5.4.", 2, QDateTime(QDate(2026, 4, 5), QTime(0, 0))},
        {"01.03.2024 25:00", 1, {}},
        {"01.03.2024 10:3", 1, {}},
        {"10:30", 1, {}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.text);
        ds_->Cancel();
        ds_->MoveTo(f.id - 1);
        ds_->Edit();
        db::Field& zeit = ds_->FieldByName(QStringLiteral("ZEIT"));
        const QVariant vorher = zeit.AsVariant();
        if (f.erwartet.isValid()) {
            FeldText::SetText(zeit, QString::fromUtf8(f.text));
            EXPECT_EQ(zeit.AsDateTime(), f.erwartet);
        } else {
            EXPECT_THROW(FeldText::SetText(zeit, QString::fromUtf8(f.text)), db::Error);
            EXPECT_EQ(zeit.AsVariant(), vorher);
        }
    }
    const db::Field& zeit = ds_->FieldByName(QStringLiteral("ZEIT"));
    EXPECT_TRUE(FeldText::IsValidChar(zeit, QLatin1Char(':')));
    EXPECT_FALSE(
        FeldText::IsValidChar(ds_->FieldByName(QStringLiteral("DATUM")), QLatin1Char(':')));
}

TEST_F(DBEditTest, DateFieldTakesShortTexts)
{
    ds_->Edit();
    db::Field& datum = ds_->FieldByName(QStringLiteral("DATUM"));
    TZRDateField::SetText(datum, QStringLiteral("1.2."));
    EXPECT_EQ(datum.AsDate(), QDate(2026, 2, 1));
    EXPECT_THROW(TZRDateField::SetText(datum, QStringLiteral("30.2.")), db::Error);
    EXPECT_EQ(datum.AsDate(), QDate(2026, 2, 1));
    TZRDateField::SetText(datum, {});
    EXPECT_TRUE(datum.IsNull());
}
