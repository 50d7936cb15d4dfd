#include <ListenLayout.h>
#include <ListenTools.h>
#include <ZRDBcxGridBovantis.h>

#include <DataSet.h>
#include <DataSetModel.h>
#include <Query.h>
#include <Bildschirmfoto.h>
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
        db::Query tier(tr,
                       "INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) "
                       "VALUES (:NUMMER, :NAME, DATE '2024-01-01', 'W', 1)");
        for (const auto& [nummer, name] :
             {std::pair{"DE 01", "Berta"}, {"DE 02", "Anna"}, {"DE 03", ""}}) {
            tier.Param("NUMMER").SetString(nummer);
            tier.Param("NAME").SetString(name);
            tier.Execute();
        }
        tr.Commit();
        Design(5, {{"Q1.TIERID", 0, "ID", "F", 1, nullptr, "F"},
                   {"S.N", 40, "Nr.", "T", 1, nullptr, "F"},
                   {"Q1.NUMMER", 120, "Nummer", "T", 1, nullptr, "F"},
                   {"Q1.NAME", 0, "Name", "T", 2, nullptr, "F"},
                   {"S.F1", 0, "Hinweis", "T", 1, "prüfen", "F"},
                   {"Q1.GEBDAT", 2000, "Geboren", "T", 1, nullptr, "F"}});
        Design(6, {{"Q1.NAME", 0, "Gruppe", "T", 1, nullptr, "T"},
                   {"Q1.NUMMER", 120, "Nummer", "T", 1, nullptr, "F"},
                   {"Q1.GEBDAT", 120, "Geboren", "T", 1, nullptr, "F"}});
        Design(7, {{"Q1.TIERID", 0, "ID", "F", 1, nullptr, "F"},
                   {"Q1.NUMMER", 120, "Nummer", "T", 1, nullptr, "F"},
                   {"Q1.ERLEDIGEN", 60, "Erledigen", "T", 1, nullptr, "F"},
                   {"Q1.TERMIN_ID", 0, "Termin-ID", "F", 1, nullptr, "F"},
                   {"Q1.TERMIN", 100, "Termin", "T", 1, nullptr, "F"}});
        Design(8, {{"S.N", 40, "Nr.", "T", 1, nullptr, "F"},
                   {"Q1.NUMMER", 120, "Nummer", "T", 1, nullptr, "F"},
                   {"Q1.GROSS", 0, "Groß", "T", 2, nullptr, "F"},
                   {"Q1.LAENGE", 60, "Länge", "T", 1, nullptr, "F"}});
    }

    struct Feld {
        const char* feld;
        int breite;
        const char* titel;
        const char* sichtbar;
        int zeile;
        const char* wert;
        const char* ueberschrift;
    };

    // A design as the list designer stores it: its row in T_LISTEN and its screen fields.
    static void Design(int liste, const std::vector<Feld>& felder)
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query l(tr,
                    "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL) VALUES (:ID, 'Tiere', 'Tiere')");
        l.Param("ID").SetInteger(liste);
        l.Execute();
        db::Query ins(tr,
                      "INSERT INTO T_LISTEN_BILDSCHIRM (ID, LISTE, FELD, BREITE, TITEL, "
                      "SICHTBAR, ZEILE, WERT, AUSRICHTUNG, AUTOBREITE, UEBERSCHRIFT) VALUES "
                      "(:ID, :LISTE, :FELD, :BREITE, :TITEL, :SICHTBAR, :ZEILE, :WERT, 'L', "
                      "'F', :UEBERSCHRIFT)");
        for (const Feld& z : felder) {
            ins.Param("ID").SetInteger(naechsteId++);
            ins.Param("LISTE").SetInteger(liste);
            ins.Param("FELD").SetString(z.feld);
            if (z.breite)
                ins.Param("BREITE").SetInteger(z.breite);
            else
                ins.Param("BREITE").SetNull();
            ins.Param("TITEL").SetString(z.titel);
            ins.Param("SICHTBAR").SetString(z.sichtbar);
            ins.Param("ZEILE").SetInteger(z.zeile);
            if (z.wert)
                ins.Param("WERT").SetString(z.wert);
            else
                ins.Param("WERT").SetNull();
            ins.Param("UEBERSCHRIFT").SetString(z.ueberschrift);
            ins.Execute();
        }
        tr.Commit();
    }
    static inline int naechsteId = 1;

protected:
    void SetUp() override
    {
        tr.Start();
        grid.resize(800, 300);
        grid.show();
        QApplication::processEvents();
        grid.SetDatenmenge(&daten);
        grid.OnTierAnzeigen = [this](TZRDBcxGridBovantis*, int id) { gezeigt << id; };
        grid.OnTerminErledigen = [this](TZRDBcxGridBovantis*, int termin, const QDate& datum,
                                        int tier) {
            erledigt << QStringLiteral("%1 %2 %3")
                            .arg(termin)
                            .arg(datum.toString("dd.MM.yyyy"))
                            .arg(tier);
        };
    }

    void Oeffnen(int liste, const QString& sql)
    {
        daten.SetSelectSQL(ListenTools::BetriebsstaetteEinsetzen(sql, 0));
        grid.ListeOeffnen(BildschirmLayoutLaden(tr, liste));
        QApplication::processEvents();
    }
    void Oeffnen() { Oeffnen(5, Tiere); }

    static inline const QString Tiere =
        "SELECT Q1.ID AS Q1TIERID, Q1.NUMMER AS Q1NUMMER, Q1.NAME AS Q1NAME, Q1.GEBDAT AS "
        "Q1GEBDAT FROM T_STAMMDATEN Q1 WHERE (#Q1.ID#) ORDER BY Q1.NUMMER";

    int TierId(const QString& nummer)
    {
        db::Query q(tr, "SELECT ID FROM T_STAMMDATEN WHERE NUMMER = :N");
        q.Param("N").SetString(nummer);
        q.Open();
        return q.Field("ID").AsInteger();
    }

    void Doppelklick(int zeile, int sichtbar)
    {
        TZRcxGridDBTableView* view = grid.GetTableView();
        const QRect zelle = view->visualRect(view->model()->index(zeile, Spalte(sichtbar)));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, zelle.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, zelle.center());
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
    QStringList erledigt;
};

TEST_F(ZRDBcxGridBovantisTest, SpaltenZeilenUndPseudofelder)
{
    Oeffnen();
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
    Bildschirmfoto(grid, "listgrid.png");
}

// Fields the data calculates itself are list fields like the database's; the grid's own computed
// columns are not, also when the list is opened again.
TEST_F(ZRDBcxGridBovantisTest, BerechneteFelderDerDaten)
{
    daten.SetSelectSQL(
        "SELECT Q1.NUMMER AS Q1NUMMER, Q1.NAME AS Q1NAME FROM T_STAMMDATEN Q1 "
        "ORDER BY Q1.NUMMER");
    daten.AddCalculatedField("Q1GROSS", db::FieldType::VarChar, 20);
    daten.AddCalculatedField("Q1LAENGE", db::FieldType::Integer);
    daten.OnCalcFields = [](db::DataSet& d) {
        const QString name = d.FieldByName("Q1NAME").AsString();
        d.FieldByName("Q1GROSS").SetString(name.toUpper());
        d.FieldByName("Q1LAENGE").SetInteger(int(name.size()));
    };
    for (int mal = 0; mal < 2; ++mal) {
        SCOPED_TRACE(mal);
        grid.ListeOeffnen(BildschirmLayoutLaden(tr, 8));
        QApplication::processEvents();
        TZRcxGridDBTableView* view = grid.GetTableView();
        QStringList titel;
        for (int v = 0; v < view->horizontalHeader()->count(); ++v)
            if (!view->isColumnHidden(Spalte(v)))
                titel << view->model()->headerData(Spalte(v), Qt::Horizontal).toString();
        EXPECT_EQ(titel, QStringList({"Nr.", "Nummer\nGroß", "Länge", "Q1NAME"}));
        EXPECT_EQ(Zelle(0, 1), "DE 01\nBERTA");
        EXPECT_EQ(Zelle(1, 2), "4");
        EXPECT_EQ(Zelle(2, 2), "0");
        EXPECT_EQ(view->columnWidth(Spalte(2)), 60);
    }
}

TEST_F(ZRDBcxGridBovantisTest, DoppelklickZeigtDasTier)
{
    Oeffnen();
    Doppelklick(1, 1);
    EXPECT_EQ(gezeigt, QList<int>({TierId("DE 02")}));
    EXPECT_FALSE(grid.Terminmodus());
    grid.OnTierAnzeigen = nullptr;
    EXPECT_FALSE(grid.TierAnzeigen());
}

TEST_F(ZRDBcxGridBovantisTest, UeberschriftIstEinBand)
{
    Oeffnen(6,
            "SELECT Q1.NAME AS Q1NAME, Q1.NUMMER AS Q1NUMMER, Q1.GEBDAT AS Q1GEBDAT "
            "FROM T_STAMMDATEN Q1 WHERE (#Q1.ID#) ORDER BY Q1.NUMMER");
    TZRcxGridDBTableView* view = grid.GetTableView();
    ASSERT_EQ(view->model()->columnCount(), 2) << "the heading column is hidden";
    EXPECT_EQ(grid.Spalten().ueberschriftSpalte, 0);
    Bildschirmfoto(grid, "listgrid-band.png");
    // The band row paints its text across the first column's edge; a plain row does not.
    const QImage bild = view->viewport()->grab().toImage();
    const auto dunkel = [&](int zeile) {
        const QRect z = view->visualRect(view->model()->index(zeile, Spalte(0)));
        int n = 0;
        for (int x = z.left() + 3; x < z.left() + 40; ++x)
            for (int y = z.top(); y <= z.bottom(); ++y)
                n += qGray(bild.pixel(x, y)) < 100;
        return n;
    };
    const QString nummer = grid.Anzeigetext(view->model()->index(2, Spalte(0)));
    EXPECT_EQ(nummer, "DE 03");
    EXPECT_GT(dunkel(0), 0);
    // Row 3 has no name: its number cell shows "DE 03" as usual.
    EXPECT_GT(dunkel(2), 0);
    // The band row's date cell would show "01.01.2024" without the band.
    const QImage band = bild.copy(view->visualRect(view->model()->index(0, Spalte(1))));
    int bandDunkel = 0;
    for (int x = 0; x < band.width(); ++x)
        for (int y = 0; y < band.height(); ++y)
            bandDunkel += qGray(band.pixel(x, y)) < 100;
    EXPECT_EQ(bandDunkel, 0) << "the band hides the row's own cells";
}

TEST_F(ZRDBcxGridBovantisTest, TerminErledigen)
{
    Oeffnen(7,
            "SELECT Q1.ID AS Q1TIERID, Q1.NUMMER AS Q1NUMMER, "
            "IIF(Q1.NUMMER = 'DE 01', 'T', 'F') AS Q1ERLEDIGEN, 10 + Q1.ID AS Q1TERMIN_ID, "
            "DATE '2024-05-01' AS Q1TERMIN FROM T_STAMMDATEN Q1 WHERE (#Q1.ID#) "
            "ORDER BY Q1.NUMMER");
    ASSERT_TRUE(grid.Terminmodus());
    const int erste = TierId("DE 01");
    Doppelklick(0, 1);
    EXPECT_EQ(erledigt,
              QStringList({QStringLiteral("%1 01.05.2024 %2").arg(10 + erste).arg(erste)}));
    EXPECT_TRUE(grid.TerminErledigenMoeglich());
    EXPECT_TRUE(gezeigt.isEmpty());
    Doppelklick(0, 0);
    EXPECT_EQ(gezeigt, QList<int>({erste}));
    Doppelklick(1, 1);
    EXPECT_FALSE(grid.TerminErledigenMoeglich());
    EXPECT_EQ(gezeigt, QList<int>({erste, TierId("DE 02")}));
    EXPECT_EQ(erledigt.size(), 1);
    Bildschirmfoto(grid, "listgrid-termine.png");
}

}  // namespace
