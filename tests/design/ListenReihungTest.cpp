#include "ListenDialogTestHilfe.h"

#include <FListenReihung.h>
#include <ListenReihung.h>

#include <MessageBoxScript.h>
#include <DataSetModel.h>
#include <ZRcxGridDBTableView.h>

#include <QPushButton>
#include <QTest>

namespace {

// Four user lists and an internal one that an exchange file put into the menu; as on a fresh
// database of older versions, no list has an order value.
class ListenReihungTest : public ListenDialogTest {
protected:
    void SetUp() override
    {
        Ausfuehren(
            {"INSERT INTO T_LISTEN (ID, BEZEICHNUNG, MENUE, SYMBOL) VALUES (3, 'Gamma', 'T', 5)",
             "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, MENUE, SYMBOL) VALUES (1, 'Alpha', 'T', 2)",
             "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, MENUE) VALUES (2, 'Beta', 'T')",
             "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, MENUE, SYMBOL) VALUES (4, 'Delta', 'F', 1)",
             "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, MENUE, SYMBOL, BEDINGUNGEN) VALUES "
             "(-7, 'Intern', 'T', 4, 'EREIGNISLISTE')",
             "UPDATE T_LISTEN SET MENUE_REIHUNG = NULL, SYMBOL_REIHUNG = NULL"});
        ListenDialogTest::SetUp();
    }

    // The main window's menu and toolbar, as the settings read them for it.
    QStringList Menue(bool symbole)
    {
        QStringList menue, leiste;
        Einstellungen()->BenutzerListenLaden(menue, leiste);
        QStringList namen;
        for (const QString& zeile : symbole ? leiste : menue)
            namen << zeile.section(';', 2);
        return namen;
    }
    static QStringList Namen(TfrmSortierung& d)
    {
        QStringList namen;
        db::DataSet& ds = d.QSortierung();
        for (int r = 0; r < ds.RecordCount(); ++r)
            namen << ds.ValueAt(r, ds.FieldByName("BEZEICHNUNG").Index()).AsString();
        return namen;
    }
    static void Zeile(TfrmSortierung& d, int zeile)
    {
        TZRcxGridDBTableView* v = d.ListeView();
        v->setCurrentIndex(v->model()->index(zeile, v->DataModel()->ColumnOfField("BEZEICHNUNG")));
    }
};

TEST_F(ListenReihungTest, VerschiebenTauschtNachbarnAuchOhneReihungswerte)
{
    db::Transaction tr(DM()->Datenbank);
    tr.Start();
    db::DataSet ds(tr);
    using ListenReihung::Art;
    ds.SetSelectSQL(ListenReihung::SelectSQL(Art::Menue));
    ds.SetModifySQL(ListenReihung::ModifySQL(Art::Menue));
    ds.Open();
    ListenReihung::Durchnummerieren(ds, Art::Menue);
    const auto stand = [&ds] {
        QStringList s;
        for (int r = 0; r < ds.RecordCount(); ++r)
            s << ds.ValueAt(r, ds.FieldByName("BEZEICHNUNG").Index()).AsString() + "=" +
                     ds.ValueAt(r, ds.FieldByName("MENUE_REIHUNG").Index()).AsString();
        return s.join(' ');
    };
    EXPECT_EQ(stand(), "Alpha=1 Beta=2 Gamma=3");
    struct Fall {
        int zeile;
        int richtung;
        bool bewegt;
        const char* danach;
        int aktuell;
    } faelle[] = {{0, -1, false, "Alpha=1 Beta=2 Gamma=3", 0},
                  {2, 1, false, "Alpha=1 Beta=2 Gamma=3", 2},
                  {0, 1, true, "Beta=1 Alpha=2 Gamma=3", 1},
                  {2, -1, true, "Beta=1 Gamma=2 Alpha=3", 1},
                  {1, -1, true, "Gamma=1 Beta=2 Alpha=3", 0}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.danach);
        ds.MoveTo(f.zeile);
        EXPECT_EQ(ListenReihung::Verschieben(ds, Art::Menue, f.richtung), f.bewegt);
        EXPECT_EQ(stand(), f.danach);
        EXPECT_EQ(ds.RecNo(), f.aktuell);
    }
    // Distinct values are kept as they are.
    ds.Close();
    ds.Open();
    ds.Edit();
    ds.FieldByName("MENUE_REIHUNG").SetInteger(10);
    ds.Post();
    ListenReihung::Durchnummerieren(ds, Art::Menue);
    EXPECT_EQ(stand(), "Gamma=10 Beta=2 Alpha=3");
}

TEST_F(ListenReihungTest, OkSpeichertDieReihenfolgeDesMenues)
{
    MessageBoxScript schritt;
    schritt.Window<TfrmSortierung>([](TfrmSortierung& d) {
        EXPECT_EQ(d.windowTitle(), "Sortierung");
        EXPECT_EQ(d.helpContext(), 11300);
        EXPECT_EQ(Namen(d), (QStringList{"Alpha", "Beta", "Gamma"}));
        Zeile(d, 0);
        QTest::mouseClick(d.Ab(), Qt::LeftButton);
        QTest::mouseClick(d.Ab(), Qt::LeftButton);
        EXPECT_EQ(Namen(d), (QStringList{"Beta", "Gamma", "Alpha"}));
        EXPECT_EQ(d.QSortierung().FieldByName("BEZEICHNUNG").AsString(), "Alpha");
        d.resize(360, 300);
        Bildschirmfoto(d, "sortierung.png");
        QTest::mouseClick(d.findChild<QPushButton*>("Ok"), Qt::LeftButton);
    });
    EXPECT_TRUE(SortierungStarten(nullptr, true));
    EXPECT_EQ(schritt.PendingWindows(), 0);
    EXPECT_EQ(Menue(false), (QStringList{"Beta", "Gamma", "Alpha"}));
    EXPECT_EQ(Text("SELECT LIST(ID || '=' || COALESCE(MENUE_REIHUNG, 0), ' ') FROM (SELECT * FROM "
                   "T_LISTEN ORDER BY ID)"),
              "-7=0 1=3 2=1 3=2 4=0");
}

TEST_F(ListenReihungTest, AbbrechenVerwirftUndDieSymbolleisteHatIhreEigeneReihung)
{
    const QString vorher = Text(
        "SELECT LIST(ID || ':' || COALESCE(MENUE_REIHUNG, 0) || ':' || "
        "COALESCE(SYMBOL_REIHUNG, 0), ' ') FROM T_LISTEN");
    MessageBoxScript schritt;
    schritt.Window<TfrmSortierung>([](TfrmSortierung& d) {
        // Only user lists with a symbol, the menu flag aside.
        EXPECT_EQ(Namen(d), (QStringList{"Alpha", "Gamma", "Delta"}));
        Zeile(d, 2);
        QTest::mouseClick(d.Auf(), Qt::LeftButton);
        EXPECT_EQ(Namen(d), (QStringList{"Alpha", "Delta", "Gamma"}));
        QTest::mouseClick(d.findChild<QPushButton*>("Abbrechen"), Qt::LeftButton);
    });
    EXPECT_FALSE(SortierungStarten(nullptr, false));
    EXPECT_EQ(schritt.PendingWindows(), 0);
    EXPECT_EQ(Text("SELECT LIST(ID || ':' || COALESCE(MENUE_REIHUNG, 0) || ':' || "
                   "COALESCE(SYMBOL_REIHUNG, 0), ' ') FROM T_LISTEN"),
              vorher);

    MessageBoxScript zweiter;
    zweiter.Window<TfrmSortierung>([](TfrmSortierung& d) {
        Zeile(d, 2);
        QTest::mouseClick(d.Auf(), Qt::LeftButton);
        d.accept();
    });
    EXPECT_TRUE(SortierungStarten(nullptr, false));
    EXPECT_EQ(Menue(true), (QStringList{"Alpha", "Delta", "Gamma"}));
}

TEST_F(ListenReihungTest, OhneEintraegeAendernDiePfeileNichts)
{
    Ausfuehren({"DELETE FROM T_LISTEN"});
    MessageBoxScript schritt;
    schritt.Window<TfrmSortierung>([](TfrmSortierung& d) {
        EXPECT_EQ(d.ListeView()->Leertext(), "< Keine Einträge vorhanden >");
        QTest::mouseClick(d.Ab(), Qt::LeftButton);
        QTest::mouseClick(d.Auf(), Qt::LeftButton);
        EXPECT_TRUE(d.QSortierung().IsEmpty());
        d.accept();
    });
    EXPECT_TRUE(SortierungStarten(nullptr, true));
    EXPECT_EQ(schritt.PendingWindows(), 0);
}

}  // namespace
