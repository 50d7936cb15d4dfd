#include "HerdeTest.h"
#include <Bildschirmfoto.h>

#include <MLPEdit.h>
#include <MLPLogik.h>

#include <DBComboBox.h>
#include <DBFloatEdit.h>
#include <DBTools.h>
#include <DataSetModel.h>
#include <DBZRDateEdit.h>
#include <MessageBoxScript.h>
#include <ZRBandedHeader.h>
#include <ZRcxGridDBTableView.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>

namespace {

TEST(MLPLogik, HarnstoffNachEinstellung)
{
    EXPECT_EQ(MLP::HarnstoffText(255, 1), "25,5");
    EXPECT_EQ(MLP::HarnstoffText(255, 0), "255");
    EXPECT_EQ(MLP::HarnstoffText(255, 2), "255");
    EXPECT_EQ(MLP::HarnstoffText(std::nullopt, 1), "");
    EXPECT_DOUBLE_EQ(MLP::Harnstoff(1).faktor, 0.1);
    EXPECT_EQ(MLP::Harnstoff(1).stellen, 1);
    EXPECT_EQ(MLP::Harnstoff(0).stellen, 0);
}

TEST(MLPLogik, BandErsatzNachTyp)
{
    EXPECT_EQ(MLP::BandErsatz("2T"), "--   --   trocken   --   --");
    EXPECT_EQ(MLP::BandErsatz("2A"), "--   --   ausgefallen  --   --");
    EXPECT_EQ(MLP::BandErsatz("2K"), "--   --   kalb   --   --");
    EXPECT_EQ(MLP::BandErsatz("1N"), "");
    EXPECT_EQ(MLP::BandErsatz(""), "");
}

TEST(MLPLogik, SortierungUndTitel)
{
    EXPECT_EQ(MLP::Sortierung("LKALBUNG", false), "KALBSORT");
    EXPECT_EQ(MLP::Sortierung("KNRDISPLAY", true), "IIF(KNR > 0, 0, 1), KNR DESC");
    EXPECT_EQ(MLP::Sortierung("MILCH", true), "MILCH DESC");
    EXPECT_EQ(MLP::EinzelTitel("007", "Berta", "DE 1"),
              "007 - Berta - DE 1 - Einzelwerte bearbeiten");
    EXPECT_EQ(MLP::EinzelTitel("", "", "DE 1"), "DE 1 - Einzelwerte bearbeiten");
    const MLP::Knoepfe k = MLP::KnoepfeFreigeben(true, false, true);
    EXPECT_TRUE(k.pmEntfernen && k.herdeNeu && k.einzelBearbeiten && k.zurKuh);
    EXPECT_FALSE(k.herdeBearbeiten || k.herdeLoeschen);
    EXPECT_FALSE(MLP::KnoepfeFreigeben(false, false, false).herdeNeu);
}

// Two test days; Berta was dry at the first, Lisa has values at the second only, Anna has
// calved before it and has no values yet.
class MLPTest : public HerdeTest {
protected:
    void SetUp() override
    {
        HerdeTest::SetUp();
        Ausfuehren(
            {"INSERT INTO T_PROBEMELKEN (ID, NUMMER, DATUM) VALUES (1, 11, '2024-03-01')",
             "INSERT INTO T_PROBEMELKEN (ID, NUMMER, DATUM) VALUES (2, 12, '2024-04-02')",
             QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NR) VALUES "
                            "(%1, '2024-02-01', 'W', 1)")
                 .arg(anna),
             QStringLiteral("INSERT INTO T_PROBEMELKEN_WERTE (ID, TIER, PROBEMELKEN, TYP) "
                            "VALUES (101, %1, 1, '2T')")
                 .arg(berta),
             QStringLiteral("INSERT INTO T_PROBEMELKEN_WERTE (ID, TIER, PROBEMELKEN, TYP, "
                            "MILCH, FETT, EIWEIS, ZELLZAHL, HARNSTOFF, LACTOSE, LTAGE) VALUES "
                            "(102, %1, 2, '1N', 31.4, 4.12, 3.35, 120, 255, 4.8, 40)")
                 .arg(berta),
             QStringLiteral("INSERT INTO T_PROBEMELKEN_WERTE (ID, TIER, PROBEMELKEN, TYP) "
                            "VALUES (103, %1, 2, '2A')")
                 .arg(lisa),
             "INSERT INTO T_PROBEMELKEN_HERDE (ID, PROBEMELKEN, BETRIEB, MILCH, FETTPRO) "
             "VALUES (1, 2, '276090000000011', 9100, 4.05)",
             "ALTER SEQUENCE G_PROBEMELKEN RESTART WITH 10",
             "ALTER SEQUENCE G_PROBEMELKEN_HERDE RESTART WITH 10",
             "ALTER SEQUENCE G_PROBEMELKEN_WERTE RESTART WITH 200"});
    }
    QString Wert(const QString& sql)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        return q.Eof() ? QStringLiteral("<keine>") : q.Field(0).AsString();
    }
    static QStringList Namen(TfrmMLPEdit& f)
    {
        QStringList namen;
        db::DataSet& d = f.Einzelwerte();
        const int name = d.FieldByName("NAME").Index();
        for (int i = 0; i < d.RecordCount(); ++i)
            namen << d.ValueAt(i, name).AsString();
        return namen;
    }
    void HarnstoffMgDl()
    {
        Einstellungen()->Bearbeiten();
        Einstellungen()->SetHarnstoffAnzeige(1);
        Einstellungen()->Speichern();
    }
};

TEST_F(MLPTest, OeffnetDenLetztenPruefTag)
{
    HarnstoffMgDl();
    TfrmMLPEdit f(DM()->Datenbank);
    f.show();
    QApplication::processEvents();
    EXPECT_EQ(f.Probemelken().FieldByName("ID").AsInteger(), 2);
    EXPECT_EQ(f.Herde().RecordCount(), 1);
    EXPECT_EQ(Namen(f), (QStringList{"Anna", "Berta", "Lisa"}));
    TZRBandedHeader* baender = f.EinzelAnsicht()->Bands();
    ASSERT_EQ(baender->BandCount(), 4);
    EXPECT_EQ(baender->BandCaption(1), "altes PM");
    EXPECT_EQ(baender->ColumnBand(f.EinzelAnsicht()->DataModel()->ColumnOfField("HARNSTOFF")), 2);
    EXPECT_EQ(baender->ColumnBand(f.EinzelAnsicht()->DataModel()->ColumnOfField("LKALBUNG")), 0);
    EXPECT_TRUE(f.Knopf("btnHerdeLoeschen")->isEnabled());
    Bildschirmfoto(f, "mlp_daten.png");

    // Another test day shows its own averages and cows.
    f.Probemelken().First();
    EXPECT_EQ(f.Herde().RecordCount(), 0);
    EXPECT_FALSE(f.Knopf("btnHerdeLoeschen")->isEnabled());
    EXPECT_EQ(Namen(f), (QStringList{"Anna", "Berta"}));
}

TEST_F(MLPTest, SortiertNachSpalten)
{
    TfrmMLPEdit f(DM()->Datenbank);
    // KNR numerically, cows without a number last; a second click reverses the numbered ones.
    f.Sortieren("KNRDISPLAY");
    EXPECT_EQ(Namen(f), (QStringList{"Berta", "Lisa", "Anna"}));
    f.Sortieren("KNRDISPLAY");
    EXPECT_EQ(Namen(f), (QStringList{"Lisa", "Berta", "Anna"}));
    // By the last calving's date; none counts as the earliest.
    f.Sortieren("LKALBUNG");
    EXPECT_EQ(Namen(f).last(), "Anna");
}

TEST_F(MLPTest, KuhOhneWerteBekommtNeueZeileNurMitOk)
{
    TfrmMLPEdit f(DM()->Datenbank);
    ASSERT_TRUE(DBTools::LocateInteger(f.Einzelwerte(), "TIER", anna, false));
    Bedienen<TfrmMLPEinzelEdit>([](TfrmMLPEinzelEdit& d) {
        EXPECT_EQ(d.windowTitle(), "Anna - DE 01 333 33333 - Einzelwerte bearbeiten");
        EXPECT_EQ(d.Daten().State(), db::DataSetState::Insert);
        EXPECT_EQ(d.Art()->currentText(), "normal");
        d.reject();
    });
    f.EinzelBearbeiten();
    EXPECT_EQ(
        Wert(QStringLiteral("SELECT COUNT(*) FROM T_PROBEMELKEN_WERTE WHERE TIER = %1").arg(anna)),
        "0");
    Bedienen<TfrmMLPEinzelEdit>([](TfrmMLPEinzelEdit& d) {
        TDBFloatEdit* milch = d.Feld("MILCH");
        milch->setFocus();
        QTest::keyClicks(milch, "28,5");
        QTest::keyClick(milch, Qt::Key_Tab);
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    f.EinzelBearbeiten();
    EXPECT_EQ(Wert(QStringLiteral("SELECT TYP || ' ' || MILCH FROM T_PROBEMELKEN_WERTE WHERE TIER "
                                  "= %1 AND PROBEMELKEN = 2")
                       .arg(anna)),
              "1N 28.5");
}

TEST_F(MLPTest, HarnstoffImDialogInMgDl)
{
    HarnstoffMgDl();
    TfrmMLPEdit f(DM()->Datenbank);
    ASSERT_TRUE(DBTools::LocateInteger(f.Einzelwerte(), "TIER", berta, false));
    Bedienen<TfrmMLPEinzelEdit>([](TfrmMLPEinzelEdit& d) {
        EXPECT_EQ(d.windowTitle(), "007 - Berta - DE 01 111 11111 - Einzelwerte bearbeiten");
        TDBFloatEdit* harnstoff = d.Feld("HARNSTOFF");
        EXPECT_EQ(harnstoff->text(), "25,5");
        harnstoff->setFocus();
        harnstoff->selectAll();
        QTest::keyClicks(harnstoff, "30,2");
        QTest::keyClick(harnstoff, Qt::Key_Tab);
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    f.EinzelBearbeiten();
    EXPECT_EQ(Wert("SELECT HARNSTOFF FROM T_PROBEMELKEN_WERTE WHERE ID = 102"), "302");
}

TEST_F(MLPTest, BildAbAmEndeDerListe)
{
    TfrmMLPEdit f(DM()->Datenbank);
    ASSERT_TRUE(DBTools::LocateInteger(f.Einzelwerte(), "TIER", berta, false));
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    QStringList titel;
    Bedienen<TfrmMLPEinzelEdit>([&titel](TfrmMLPEinzelEdit& d) {
        titel << d.windowTitle();
        QTest::keyClick(&d, Qt::Key_PageDown);  // to Lisa
        titel << d.windowTitle();
        QTest::keyClick(&d, Qt::Key_PageDown);  // stays on Lisa
        titel << d.windowTitle();
        EXPECT_EQ(d.focusWidget(), d.Art());
        d.reject();
    });
    f.EinzelBearbeiten();
    ASSERT_EQ(titel.size(), 3);
    EXPECT_TRUE(titel[1].contains("Lisa"));
    EXPECT_EQ(titel[2], titel[1]);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, "Sie sind am Ende der Liste");
}

TEST_F(MLPTest, FehlgeschlagenesLoeschenWirdGemeldet)
{
    Ausfuehren({"CREATE EXCEPTION E_MLP_TEST 'Dieses Probemelken ist gesperrt.'",
                "CREATE TRIGGER T_MLP_TEST FOR T_PROBEMELKEN BEFORE DELETE AS BEGIN IF (OLD.ID = "
                "2) THEN EXCEPTION E_MLP_TEST; END"});
    TfrmMLPEdit f(DM()->Datenbank);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    QTest::mouseClick(f.Knopf("btnPMEntfernen"), Qt::LeftButton);
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[0].text,
              "Wollen Sie wirklich dieses Probemelken mit allen Werten löschen?");
    EXPECT_TRUE(boxen.Shown()[1].text.contains("gesperrt")) << boxen.Shown()[1].text.toStdString();
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_PROBEMELKEN"), "2");
    EXPECT_EQ(f.Probemelken().FieldByName("ID").AsInteger(), 2);

    boxen.AnswerWith(Tools::mrYes);
    f.Probemelken().First();
    QTest::mouseClick(f.Knopf("btnPMEntfernen"), Qt::LeftButton);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_PROBEMELKEN"), "1");
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_PROBEMELKEN_WERTE WHERE PROBEMELKEN = 1"), "0");
}

TEST_F(MLPTest, PruefTagUndHerdendurchschnittAnlegen)
{
    MessageBoxScript boxen;
    TfrmMLPEdit f(DM()->Datenbank);
    Bedienen<TfrmMLPPMEdit>([](TfrmMLPPMEdit& d) {
        d.Nummer()->setFocus();
        QTest::keyClicks(d.Nummer(), "13");
        d.Datum()->setFocus();
        QTest::keyClicks(d.Datum(), "03.05.2024");
        QTest::keyClick(d.Datum(), Qt::Key_Tab);
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        if (d.isVisible())
            d.reject();
    });
    QTest::mouseClick(f.Knopf("btnPMNeu"), Qt::LeftButton);
    EXPECT_EQ(f.Probemelken().FieldByName("NUMMER").AsInteger(), 13);
    const int pm = f.Probemelken().FieldByName("ID").AsInteger();
    Bedienen<TfrmMLPHerdeEdit>([](TfrmMLPHerdeEdit& d) {
        EXPECT_EQ(d.windowTitle(), "Neuer Herdendurchschnitt");
        EXPECT_EQ(d.Betrieb()->count(), 1);  // the numbers used so far
        d.Betrieb()->setEditText("276090000000011");
        TDBFloatEdit* milch = d.Feld("MILCH");
        milch->setFocus();
        QTest::keyClicks(milch, "9300");
        QTest::keyClick(milch, Qt::Key_Tab);
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        if (d.isVisible())
            d.reject();
    });
    QTest::mouseClick(f.Knopf("btnHerdeNeu"), Qt::LeftButton);
    EXPECT_EQ(f.Herde().RecordCount(), 1);
    EXPECT_EQ(Wert(QStringLiteral("SELECT BETRIEB || ' ' || MILCH FROM T_PROBEMELKEN_HERDE WHERE "
                                  "PROBEMELKEN = %1")
                       .arg(pm)),
              "276090000000011 9300");
}

}  // namespace
