#include <ListenLayout.h>
#include <ListenTools.h>
#include <ZRDBcxGridBovantis.h>

#include <DataSet.h>
#include <DataSetModel.h>
#include <Query.h>
#include <TestDatabase.h>
#include <Transaction.h>
#include <ZRcxGridDBTableView.h>

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A stored design over three animals, shown in the list grid as a user sees it.
class ZRDBcxGridBovantisTest : public DatabaseTest {
public:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        db::Transaction tr(Db());
        tr.Start();
        db::Query tier(tr, "INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) "
                           "VALUES (:NUMMER, :NAME, DATE '2024-01-01', 'W', 1)");
        for (const auto& [nummer, name] : {std::pair{"DE 01", "Berta"}, {"DE 02", "Anna"}, {"DE 03", ""}}) {
            tier.Param("NUMMER").SetString(nummer);
            tier.Param("NAME").SetString(name);
            tier.Execute();
        }
        db::Query(tr, "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL) VALUES (5, 'Tiere', 'Tiere')").Execute();
        db::Query ins(tr, "INSERT INTO T_LISTEN_BILDSCHIRM (ID, LISTE, FELD, BREITE, TITEL, "
                          "SICHTBAR, ZEILE, WERT, AUSRICHTUNG, AUTOBREITE) VALUES (:ID, 5, :FELD, "
                          ":BREITE, :TITEL, :SICHTBAR, :ZEILE, :WERT, :AUSRICHTUNG, 'F')");
        const struct {
            const char* feld;
            int breite;
            const char* titel;
            const char* sichtbar;
            int zeile;
            const char* wert;
        } zeilen[] = {{"Q1.TIERID", 0, "ID", "F", 1, nullptr},
                      {"S.N", 40, "Nr.", "T", 1, nullptr},
                      {"Q1.NUMMER", 120, "Nummer", "T", 1, nullptr},
                      {"Q1.NAME", 0, "Name", "T", 2, nullptr},
                      {"S.F1", 0, "Hinweis", "T", 1, "prüfen"},
                      {"Q1.GEBDAT", 2000, "Geboren", "T", 1, nullptr}};
        int id = 1;
        for (const auto& z : zeilen) {
            ins.Param("ID").SetInteger(id++);
            ins.Param("FELD").SetString(z.feld);
            if (z.breite)
                ins.Param("BREITE").SetInteger(z.breite);
            else
                ins.Param("BREITE").SetNull();
            ins.Param("TITEL").SetString(z.titel);
            ins.Param("SICHTBAR").SetString(z.sichtbar);
            ins.Param("ZEILE").SetInteger(z.zeile);
            ins.Param("AUSRICHTUNG").SetString("L");
            if (z.wert)
                ins.Param("WERT").SetString(z.wert);
            else
                ins.Param("WERT").SetNull();
            ins.Execute();
        }
        tr.Commit();
    }

protected:
    void SetUp() override
    {
        tr.Start();
        daten.SetSelectSQL(ListenTools::BetriebsstaetteEinsetzen(
            "SELECT Q1.ID AS Q1TIERID, Q1.NUMMER AS Q1NUMMER, Q1.NAME AS Q1NAME, Q1.GEBDAT AS "
            "Q1GEBDAT FROM T_STAMMDATEN Q1 WHERE (#Q1.ID#) ORDER BY Q1.NUMMER",
            0));
        grid.resize(800, 300);
        grid.show();
        QApplication::processEvents();
        grid.SetDatenmenge(&daten);
        grid.OnTierAnzeigen = [this](TZRDBcxGridBovantis*, int id) { gezeigt << id; };
        grid.ListeOeffnen(BildschirmLayoutLaden(tr, 5));
        QApplication::processEvents();
    }

    // The column at a visual position.
    int Spalte(int sichtbar) const
    {
        return grid.GetTableView()->horizontalHeader()->logicalIndex(sichtbar);
    }
    QString Zelle(int zeile, int sichtbar) const
    {
        return grid.Anzeigetext(grid.GetTableView()->model()->index(zeile, Spalte(sichtbar)));
    }

    db::Transaction tr{Db()};
    db::DataSet daten{tr};
    TZRDBcxGridBovantis grid;
    QList<int> gezeigt;
};

TEST_F(ZRDBcxGridBovantisTest, SpaltenZeilenUndPseudofelder)
{
    TZRcxGridDBTableView* view = grid.GetTableView();
    ASSERT_EQ(view->model()->columnCount(), 4);
    QStringList titel;
    for (int v = 0; v < 4; ++v)
        titel << view->model()->headerData(Spalte(v), Qt::Horizontal).toString();
    EXPECT_EQ(titel, QStringList({"Nr.", "Nummer\nName", "Hinweis", "Geboren"}));
    ASSERT_EQ(view->model()->rowCount(), 3);
    EXPECT_EQ(Zelle(0, 0), "1");
    EXPECT_EQ(Zelle(2, 0), "3");
    EXPECT_EQ(Zelle(0, 1), "DE 01\nBerta");
    EXPECT_EQ(Zelle(2, 1), "DE 03\n");
    EXPECT_EQ(Zelle(1, 2), "prüfen");
    EXPECT_EQ(view->columnWidth(Spalte(0)), 40);
    EXPECT_EQ(view->columnWidth(Spalte(1)), 120);
    EXPECT_EQ(view->columnWidth(Spalte(3)), view->viewport()->width() - 50);
    EXPECT_EQ(grid.TierIDFeld(), "Q1TIERID");
    // Short lines drop the empty second line.
    grid.KurzeZeilen = true;
    EXPECT_EQ(Zelle(2, 1), "DE 03");

    const QString ordner = QDir::temp().filePath("test_lists");
    ASSERT_TRUE(QDir().mkpath(ordner));
    ASSERT_TRUE(grid.grab().save(QDir(ordner).filePath("listgrid.png")));
}

TEST_F(ZRDBcxGridBovantisTest, DoppelklickZeigtDasTier)
{
    TZRcxGridDBTableView* view = grid.GetTableView();
    const QRect zelle = view->visualRect(view->model()->index(1, Spalte(1)));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, zelle.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, zelle.center());
    ASSERT_EQ(gezeigt.size(), 1);
    db::Query q(tr, "SELECT ID FROM T_STAMMDATEN WHERE NUMMER = 'DE 02'");
    q.Open();
    EXPECT_EQ(gezeigt.at(0), q.Field("ID").AsInteger());
    grid.OnTierAnzeigen = nullptr;
    EXPECT_FALSE(grid.TierAnzeigen());
}

}  // namespace
