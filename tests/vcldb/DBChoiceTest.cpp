#include "VcldbFixture.h"

#include <DBAMCheckbox.h>
#include <DBAMRadioButton.h>
#include <DBFieldEvents.h>
#include <DBIndexImage.h>
#include <DBPanel.h>

#include <QSignalSpy>

class DBChoiceTest : public VcldbTest {};

TEST_F(DBChoiceTest, CheckBoxComparesTheTextExactlyAndWritesItsValue)
{
    auto* c = new TDBAMCheckbox(form_.get());
    c->SetValueChecked(QStringLiteral("J"));
    c->SetValueUnchecked(QStringLiteral("N"));
    c->SetDataSource(ds_.get());
    c->SetDataField(QStringLiteral("FLAG"));
    Zeigen();
    EXPECT_EQ(c->checkState(), Qt::Checked);
    ds_->Next();  // "j"
    EXPECT_EQ(c->checkState(), Qt::Unchecked);
    c->SetValueGrayed(QStringLiteral("j"));
    EXPECT_EQ(c->checkState(), Qt::PartiallyChecked);
    c->SetValueGrayed({});
    // Checked wins over grayed for the same text.
    c->SetValueGrayed(QStringLiteral("J"));
    ds_->First();
    EXPECT_EQ(c->checkState(), Qt::Checked);
    c->SetValueGrayed({});

    Fokus(c);
    QTest::mouseClick(c, Qt::LeftButton);
    EXPECT_EQ(c->checkState(), Qt::Unchecked);
    EXPECT_EQ(ds_->State(), db::DataSetState::Edit);
    Verlassen();
    EXPECT_EQ(Gespeichert("FLAG").toString(), QStringLiteral("N"));
    Fokus(c);
    QTest::keyClick(c, Qt::Key_Space);
    ds_->Post();
    EXPECT_EQ(Gespeichert("FLAG").toString(), QStringLiteral("J"));
}

TEST_F(DBChoiceTest, CheckBoxOnReadOnlyDatasetStays)
{
    ds_->Close();
    ds_->SetModifySQL({});
    ds_->Open();
    auto* c = new TDBAMCheckbox(form_.get());
    c->SetValueChecked(QStringLiteral("J"));
    c->SetDataSource(ds_.get());
    c->SetDataField(QStringLiteral("FLAG"));
    Zeigen();
    QTest::mouseClick(c, Qt::LeftButton);
    EXPECT_EQ(c->checkState(), Qt::Checked);
    EXPECT_EQ(ds_->State(), db::DataSetState::Browse);
}

TEST_F(DBChoiceTest, RadioButtonsOnOneFieldFormOneChoice)
{
    auto* m = new TDBAMRadioButton(form_.get());
    auto* w = new TDBAMRadioButton(form_.get());
    w->move(0, 40);
    for (auto [b, wert] : {std::pair{m, "M"}, std::pair{w, "W"}}) {
        b->SetValueChecked(QString::fromUtf8(wert));
        b->SetDataSource(ds_.get());
        b->SetDataField(QStringLiteral("GESCHLECHT"));
    }
    Zeigen();
    EXPECT_FALSE(m->isChecked());
    EXPECT_TRUE(w->isChecked());
    QTest::mouseClick(m, Qt::LeftButton);
    EXPECT_TRUE(m->isChecked());
    EXPECT_FALSE(w->isChecked());
    Verlassen();
    ds_->Post();
    EXPECT_EQ(Gespeichert("GESCHLECHT").toString(), QStringLiteral("M"));
    // Clicking the checked button changes nothing.
    QTest::mouseClick(m, Qt::LeftButton);
    EXPECT_TRUE(m->isChecked());
    ds_->Next();
    EXPECT_TRUE(m->isChecked());
    ds_->Close();
    EXPECT_FALSE(m->isChecked() || w->isChecked());
}

TEST_F(DBChoiceTest, PanelImageAndFieldEventsFollowTheRecord)
{
    auto* panel = new TDBPanel(form_.get());
    panel->SetDataSource(ds_.get());
    panel->SetDataField(QStringLiteral("DATUM"));
    EXPECT_EQ(panel->Caption(), QStringLiteral("01.03.2024"));

    auto* bild = new TDBIndexImage(form_.get());
    QList<QPixmap> bilder;
    for (QColor c : {Qt::red, Qt::green})
        bilder.append(QPixmap(16, 12)), bilder.last().fill(c);
    bild->SetImages(bilder);
    bild->SetDataSource(ds_.get());
    bild->SetDataField(QStringLiteral("BILD"));
    EXPECT_EQ(bild->AktuellerIndex(), 1);
    EXPECT_EQ(bild->pixmap().toImage().pixelColor(3, 3), QColor(Qt::green));

    TDBFieldEvents events;
    QSignalSpy daten(&events, &TDBFieldEvents::OnDataChange);
    QSignalSpy schreiben(&events, &TDBFieldEvents::OnUpdateData);
    QSignalSpy bearbeiten(&events, &TDBFieldEvents::OnEditingChange);
    events.SetDataSource(ds_.get());
    events.SetDataField(QStringLiteral("NAME"));
    EXPECT_EQ(events.GetField(), ds_->FindField(QStringLiteral("NAME")));

    ds_->Next();
    EXPECT_TRUE(panel->Caption().isEmpty());
    EXPECT_EQ(bild->AktuellerIndex(), -1);  // 9 lies beyond the list
    EXPECT_EQ(bild->pixmap().size(), QSize(16, 12));
    EXPECT_GE(daten.count(), 1);

    // Every post asks, changed or not.
    ds_->Edit();
    EXPECT_EQ(bearbeiten.count(), 1);
    ds_->Post();
    ds_->Edit();
    ds_->Post();
    EXPECT_EQ(schreiben.count(), 2);

    ds_->Close();
    EXPECT_TRUE(panel->Caption().isEmpty());
}
