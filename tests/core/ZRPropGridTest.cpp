#include <ZREditGrid.h>
#include <ZRPropGrid.h>

#include <Query.h>
#include <Bildschirmfoto.h>
#include <TestDatabase.h>
#include <Transaction.h>

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A property grid as the settings dialog fills it: the premises pick list comes from the
// database (key ID, text BEZEICHNUNG).
class ZRPropGridTest : public DatabaseTest {
public:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        db::Transaction tr(Db());
        tr.Start();
        db::Query(tr, "INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG) VALUES (11, 'Hof A')")
            .Execute();
        db::Query ins(
            tr, "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (:ID, :B, 11)");
        for (int i = 0; i < 30; ++i) {
            ins.Param("ID").SetInteger(100 + i);
            ins.Param("B").SetString(QStringLiteral("Stall %1").arg(i, 2, 10, QLatin1Char('0')));
            ins.Execute();
        }
        tr.Commit();
    }

protected:
    enum Zeile { Text = 1, Zahl, Negativ, NurLesen, Stall, Auswahl, Knopf };

    void SetUp() override
    {
        grid = std::make_unique<TZRPropGrid>();
        grid->SetTitleValues("Parameter");
        grid->SetTitleData("Wert");
        grid->resize(360, 220);
        grid->BeginUpdate();
        Neu("Bemerkung", 1, "frei");
        Neu("Tage", 2, "12,0");
        TZRPropertiesItem& neg = Neu("Abweichung", 2, "0,00");
        neg.SetDigits(2);
        neg.SetMin(-50);
        neg.SetMax(50);
        Neu("Nummer", 0, "4711");
        TZRPropertiesItem& stall = Neu("Stall", 5, "101");
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr,
                    "SELECT ID, BEZEICHNUNG FROM T_BETRIEBSSTAETTEN WHERE ID >= 100 ORDER BY ID");
        for (q.Open(); !q.Eof(); q.Next())
            stall.PickList().Add(QString::number(q.Field("ID").AsInteger()),
                                 q.Field("BEZEICHNUNG").AsString());
        Neu("Farbe", 4, "rot").PickList().Add("", "rot");
        Properties(Auswahl).PickList().Add("", "gelb");
        Properties(Auswahl).PickList().Add("", "blau");
        Neu("Datei", 6, "a.txt");
        grid->EndUpdate();
        grid->OnSetEditText = [this](TZRCustomGrid*, int col, int row, const QString& wert) {
            gemeldet << QStringLiteral("%1/%2=%3").arg(col).arg(row).arg(wert);
        };
        grid->show();
        QApplication::setActiveWindow(grid.get());
        grid->activateWindow();
        grid->setFocus();
        QApplication::processEvents();
    }

    TZRPropertiesItem& Neu(const QString& caption, int typ, const QString& wert)
    {
        TZRPropertiesItem& p = grid->Properties().Add();
        p.SetCaption(caption);
        p.SetEditType(typ);
        p.SetValue(wert);
        return p;
    }
    TZRPropertiesItem& Properties(int zeile) { return grid->Properties().GetItem(zeile - 1); }

    // Makes the row current and waits for its editor.
    TZRGridInplaceEdit* Betreten(int zeile)
    {
        grid->SetCell(1, zeile);
        for (int i = 0; i < 20 && !(grid->Editor() && grid->Editor()->isVisible()); ++i)
            QApplication::processEvents();
        TZRGridInplaceEdit* e = grid->Editor();
        if (e)
            e->setFocus();
        return e;
    }

    QString Zelle(int zeile) const { return grid->model()->index(zeile - 1, 1).data().toString(); }

    std::unique_ptr<TZRPropGrid> grid;
    QStringList gemeldet;
};

TEST_F(ZRPropGridTest, ZahlenEingabe)
{
    struct Fall {
        int zeile;
        const char* tasten;
        const char* text;
        const char* markiert;
    };
    const Fall faelle[] = {
        {Zahl, "12,34", "12,3", ""}, {Zahl, ",", "0,0", "0"},          {Zahl, "-5", "5", ""},
        {Negativ, "-", "-0", "0"},   {Negativ, "-1,234", "-1,23", ""}, {Zahl, "1a2", "12", ""},
        {Zahl, "1,2,", "1,2", ""},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.tasten);
        TZRGridInplaceEdit* e = Betreten(f.zeile);
        ASSERT_TRUE(e);
        ASSERT_TRUE(e->Zahlenmodus());
        e->clear();
        QTest::keyClicks(e, f.tasten);
        EXPECT_EQ(e->text(), f.text);
        EXPECT_EQ(e->selectedText(), f.markiert);
        QTest::keyClick(e, Qt::Key_Escape);
        QApplication::processEvents();
    }
}

TEST_F(ZRPropGridTest, ZahlUeberMaximumBleibtNichtStehen)
{
    TZRGridInplaceEdit* e = Betreten(Zahl);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->text(), "12,0");
    e->selectAll();
    QTest::keyClicks(e, "1000");
    QTest::keyClick(e, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(grid->Editor(), e);
    EXPECT_EQ(e->text(), "12,0");
    EXPECT_EQ(e->selectedText(), "12,0");
    EXPECT_EQ(grid->Row(), int(Zahl));
    EXPECT_EQ(Properties(Zahl).Value(), "12,0");
    // A click on another row does not leave it either.
    e->selectAll();
    QTest::keyClicks(e, "1000");
    const QRect andere = grid->visualRect(grid->model()->index(Text - 1, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, andere.center());
    QApplication::processEvents();
    EXPECT_EQ(grid->Row(), int(Zahl));
    EXPECT_EQ(e->text(), "12,0");
    // A value in range is stored in fixed notation and reported.
    e->selectAll();
    QTest::keyClicks(e, "998");
    QTest::keyClick(e, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Properties(Zahl).Value(), "998,0");
    EXPECT_EQ(Zelle(Zahl), "998,0");
    EXPECT_EQ(gemeldet, QStringList({"1/2=998,0"}));
}

TEST_F(ZRPropGridTest, SchluesselListeSpeichertDenSchluessel)
{
    EXPECT_EQ(Zelle(Stall), "Stall 01");
    TZRGridInplaceEdit* e = Betreten(Stall);
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->isReadOnly());
    QTest::keyClicks(e, "abc");
    EXPECT_EQ(e->text(), "Stall 01");
    QTest::keyClick(e, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(e->DroppedDown());
    QTest::keyClick(e, Qt::Key_Down);
    QTest::keyClick(e, Qt::Key_Down);
    QTest::keyClick(e, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_FALSE(e->DroppedDown());
    EXPECT_EQ(Properties(Stall).Value(), "103");
    EXPECT_EQ(Zelle(Stall), "Stall 03");
    EXPECT_EQ(gemeldet, QStringList({"1/5=103"}));
    // An unknown key shows nothing.
    Properties(Stall).SetValue("7");
    EXPECT_EQ(Zelle(Stall), "");
}

TEST_F(ZRPropGridTest, ListenHoeheUndMitte)
{
    const int zeile = grid->verticalHeader()->defaultSectionSize();
    TZRGridInplaceEdit* e = Betreten(Auswahl);
    ASSERT_TRUE(e);
    QTest::keyClick(e, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(e->DroppedDown());
    EXPECT_EQ(e->Liste()->height(), 3 * zeile + 4);
    EXPECT_EQ(e->Liste()->currentItem()->text(), "rot");
    QTest::keyClick(e, Qt::Key_Escape);
    EXPECT_FALSE(e->DroppedDown());
    EXPECT_EQ(Properties(Auswahl).Value(), "rot");

    Properties(Stall).SetValue("115");
    e = Betreten(Stall);
    ASSERT_TRUE(e);
    grid->SetDroppedDown(true);
    ASSERT_TRUE(e->DroppedDown());
    QListWidget* liste = e->Liste();
    EXPECT_EQ(liste->height(), 10 * zeile + 4);
    EXPECT_EQ(liste->currentItem()->text(), "Stall 15");
    EXPECT_EQ(liste->verticalScrollBar()->value(), 10) << "15 stands in the middle";
    const QPoint unter = e->mapToGlobal(QPoint(0, e->height()));
    EXPECT_EQ(liste->pos(), unter);
    grid->SetDroppedDown(false);
    EXPECT_EQ(Properties(Stall).Value(), "115");
}

TEST_F(ZRPropGridTest, ListeAmUnterenRandOeffnetNachOben)
{
    const QRect schirm = grid->screen()->geometry();
    grid->move(schirm.left() + 10, schirm.bottom() - grid->height() + 1);
    QApplication::processEvents();
    TZRGridInplaceEdit* e = Betreten(Stall);
    ASSERT_TRUE(e);
    grid->SetDroppedDown(true);
    ASSERT_TRUE(e->DroppedDown());
    const QPoint oben = e->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(e->Liste()->geometry().bottom() + 1, oben.y());
    grid->SetDroppedDown(false);
}

TEST_F(ZRPropGridTest, NurLesenUndEllipse)
{
    TZRGridInplaceEdit* e = Betreten(NurLesen);
    ASSERT_TRUE(e);
    QTest::keyClicks(e, "99");
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(Properties(NurLesen).Value(), "4711");
    QList<int> geklickt;
    grid->OnElippsisclicked = [&](TZRCustomGrid*, int col, int row) { geklickt << col << row; };
    e = Betreten(Knopf);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->EditStyle(), ZRGridRegeln::Ellipse);
    QTest::keyClick(e, Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(geklickt, QList<int>({1, Knopf}));
    const QPoint knopf(e->width() - 3, e->height() / 2);
    QTest::mouseClick(e, Qt::LeftButton, {}, knopf);
    EXPECT_EQ(geklickt, QList<int>({1, Knopf, 1, Knopf}));
}

TEST_F(ZRPropGridTest, TextWirdGespeichert)
{
    TZRGridInplaceEdit* e = Betreten(Text);
    ASSERT_TRUE(e);
    e->selectAll();
    QTest::keyClicks(e, "Kuh Berta");
    QTest::keyClick(e, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Properties(Text).Value(), "Kuh Berta");
    EXPECT_EQ(gemeldet, QStringList({"1/1=Kuh Berta"}));
}

TEST_F(ZRPropGridTest, LeerIstGesperrtUndBuendeltNeuaufbau)
{
    TZRPropGrid leer;
    EXPECT_FALSE(leer.isEnabled());
    EXPECT_EQ(leer.model()->rowCount(), 1);
    QSignalSpy aufbau(&leer, &TZRCustomGrid::Neuaufgebaut);
    leer.BeginUpdate();
    for (int i = 0; i < 5; ++i)
        leer.Properties().Add().SetCaption(QString::number(i));
    EXPECT_EQ(aufbau.count(), 0);
    EXPECT_FALSE(leer.isEnabled());
    leer.EndUpdate();
    EXPECT_EQ(aufbau.count(), 1);
    EXPECT_TRUE(leer.isEnabled());
    EXPECT_EQ(leer.model()->rowCount(), 5);
    EXPECT_EQ(leer.model()->index(4, 0).data().toString(), "4");
    leer.Properties().Add();
    EXPECT_EQ(aufbau.count(), 2);
}

// A grid destroyed with its editor focused, typed into or with its list open: the editors go
// while the grid is whole, and nothing reaches an owner that is being destroyed itself.
TEST_F(ZRPropGridTest, ZerstoerenMitOffenemEditor)
{
    for (const int zeile : {int(Text), int(Auswahl)}) {
        SCOPED_TRACE(zeile);
        if (!grid)
            SetUp();
        TZRGridInplaceEdit* e = Betreten(zeile);
        ASSERT_TRUE(e);
        if (zeile == Auswahl)
            e->DropDown();
        else
            QTest::keyClicks(e, "neu");
        ASSERT_TRUE(e->hasFocus());
        const QPointer<TZRGridInplaceEdit> editor(e);
        gemeldet.clear();
        grid.reset();
        EXPECT_TRUE(editor.isNull());
        EXPECT_TRUE(gemeldet.isEmpty()) << gemeldet.join('|').toStdString();
    }
}

TEST_F(ZRPropGridTest, Bildschirmfoto)
{
    TZRGridInplaceEdit* e = Betreten(Stall);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->selectedText(), "") << "a shown editor starts with nothing selected";
    QApplication::processEvents();
    Bildschirmfoto(*grid, "propgrid.png");
    // The value column fills the grid; captions are shown in column 0.
    EXPECT_EQ(grid->columnWidth(1), grid->viewport()->width() - grid->columnWidth(0) - 1);
    EXPECT_EQ(grid->model()->index(Stall - 1, 0).data().toString(), "Stall");
}

class ZREditGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.resize(400, 200);
        TZRColumnsItem& feld = grid.SpalteHinzufuegen();
        feld.SetTitle("Feld");
        feld.SetEditType(5);
        feld.PickList() << "NAME"
                        << "NUMMER"
                        << "GEBDAT";
        grid.SpalteHinzufuegen().SetTitle("Wert");
        grid.ZeileHinzufuegen().Zellen = QStringList({"NAME", "Berta"});
        grid.ZeileHinzufuegen();
        grid.show();
        QApplication::setActiveWindow(&grid);
        QApplication::processEvents();
    }
    TZRGridInplaceEdit* Betreten(int col, int row)
    {
        grid.SetCell(col, row);
        for (int i = 0; i < 20 && !(grid.Editor() && grid.Editor()->isVisible()); ++i)
            QApplication::processEvents();
        if (grid.Editor())
            grid.Editor()->setFocus();
        return grid.Editor();
    }
    TZREditGrid grid;
};

TEST_F(ZREditGridTest, SpaltenUndZeilen)
{
    EXPECT_TRUE(grid.isEnabled());
    EXPECT_EQ(grid.model()->rowCount(), 2);
    EXPECT_EQ(grid.Row(), 2) << "a new row becomes current";
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), "Wert");
    TZRColumnsItem& neu = grid.SpalteHinzufuegen();
    neu.SetWidth(33);
    EXPECT_EQ(grid.Items().GetItem(0).Zellen, QStringList({"NAME", "Berta", ""}));
    EXPECT_EQ(grid.Items().GetItem(1).Zellen.size(), 3);
    EXPECT_EQ(grid.columnWidth(2), 33);
    EXPECT_EQ(grid.columnWidth(1), grid.horizontalHeader()->defaultSectionSize());
}

TEST_F(ZREditGridTest, EingabeUndAuswahl)
{
    QStringList gemeldet;
    grid.OnSetEditText = [&](TZRCustomGrid*, int col, int row, const QString& wert) {
        gemeldet << QStringLiteral("%1/%2=%3").arg(col).arg(row).arg(wert);
    };
    TZRGridInplaceEdit* e = Betreten(0, 2);
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->isReadOnly());
    QTest::keyClicks(e, "xyz");
    EXPECT_EQ(e->text(), "");
    QTest::keyClick(e, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(e->DroppedDown());
    EXPECT_EQ(e->Liste()->count(), 3);
    QTest::keyClick(e, Qt::Key_Down);
    QTest::keyClick(e, Qt::Key_Down);
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(grid.Items().GetItem(1).Zellen.at(0), "NUMMER");
    e = Betreten(1, 2);
    ASSERT_TRUE(e);
    QTest::keyClicks(e, "DE 0123");
    QTest::keyClick(e, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(grid.Items().GetItem(1).Zellen, QStringList({"NUMMER", "DE 0123"}));
    EXPECT_EQ(gemeldet, QStringList({"0/2=NUMMER", "1/2=DE 0123"}));
}

TEST_F(ZREditGridTest, MausWahlUndGeaenderteListe)
{
    QList<int> gefragt;
    grid.OnPicklistDropdown = [&](TZRGridInplaceEdit*, int col, int row, QStringList& liste) {
        gefragt << col << row;
        liste.removeAll("GEBDAT");
        liste.prepend("ID");
    };
    TZRGridInplaceEdit* e = Betreten(0, 1);
    ASSERT_TRUE(e);
    // A press on the button opens the list; a release on an entry takes it.
    QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(e->width() - 3, e->height() / 2));
    ASSERT_TRUE(e->DroppedDown());
    EXPECT_EQ(gefragt, QList<int>({0, 1}));
    QListWidget* liste = e->Liste();
    ASSERT_EQ(liste->count(), 3);
    EXPECT_EQ(liste->item(0)->text(), "ID");
    EXPECT_EQ(liste->currentItem()->text(), "NAME") << "the cell's value is highlighted";
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                      liste->visualItemRect(liste->item(2)).center());
    EXPECT_FALSE(e->DroppedDown());
    EXPECT_EQ(grid.Items().GetItem(0).Zellen.at(0), "NUMMER");
}

TEST(ZREditGridLeerTest, OhneSpaltenGesperrt)
{
    TZREditGrid grid;
    EXPECT_FALSE(grid.isEnabled());
    grid.ZeileHinzufuegen();
    EXPECT_FALSE(grid.isEnabled()) << "rows without columns";
    grid.SpalteHinzufuegen();
    EXPECT_TRUE(grid.isEnabled());
    EXPECT_EQ(grid.Items().GetItem(0).Zellen.size(), 1);
}

}  // namespace
