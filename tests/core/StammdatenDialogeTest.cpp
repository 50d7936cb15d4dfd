#include <Betriebsgruppe.h>
#include <Betriebsstaette.h>
#include <Rasse.h>

#include <DBAMCheckbox.h>
#include <DBZRBaseEdit.h>
#include <Query.h>
#include <Transaction.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <TestDatabase.h>

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void Zeigen(QWidget& w)
{
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
}

void Tippen(QWidget* edit, const QString& text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

class StammdatenDialogeTest : public ::testing::Test {
protected:
    void SetUp() override { tr.Start(); }

    QString Wert(const QString& sql)
    {
        db::Query q(tr, sql);
        q.Execute();
        return q.Eof() ? QStringLiteral("<keine>") : q.Field(0).AsString().trimmed();
    }
    void Ausfuehren(const QString& sql)
    {
        db::Query q(tr, sql);
        q.Execute();
    }

    TestDatabase t;
    db::Transaction tr{t.Db()};
};

TEST_F(StammdatenDialogeTest, NeueBetriebsgruppeZaehltZurGVBerechnung)
{
    TfrmBetriebsgruppe dlg(tr, 0);
    Zeigen(dlg);
    EXPECT_TRUE(dlg.GVBox()->isChecked());
    Tippen(dlg.BezeichnungEdit(), "Hof Nord");
    Tippen(dlg.NummerEdit(), "276091234567890");
    Bildschirmfoto(dlg, "Betriebsgruppe.png");
    QTest::mouseClick(dlg.OkKnopf(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Wert("SELECT NUMMER || GV FROM T_BETRIEBSGRUPPEN WHERE BEZEICHNUNG = 'Hof Nord'"),
              "276091234567890T");
}

TEST_F(StammdatenDialogeTest, BetriebsgruppeAendernUndAbbrechen)
{
    {
        TfrmBetriebsgruppe dlg(tr, 1);
        Zeigen(dlg);
        EXPECT_EQ(dlg.BezeichnungEdit()->text(), "Betrieb");
        QTest::mouseClick(dlg.GVBox(), Qt::LeftButton);
        Tippen(dlg.BezeichnungEdit(), "Neu");
        QTest::mouseClick(dlg.AbbrechenKnopf(), Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    EXPECT_EQ(Wert("SELECT BEZEICHNUNG || GV FROM T_BETRIEBSGRUPPEN WHERE ID = 1"), "BetriebT");
    {
        TfrmBetriebsgruppe dlg(tr, 1);
        Zeigen(dlg);
        QTest::mouseClick(dlg.GVBox(), Qt::LeftButton);
        QTest::mouseClick(dlg.OkKnopf(), Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(Wert("SELECT BEZEICHNUNG || GV FROM T_BETRIEBSGRUPPEN WHERE ID = 1"), "BetriebF");
}

TEST_F(StammdatenDialogeTest, BetriebsgruppeOhneBezeichnungBleibtOffen)
{
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    TfrmBetriebsgruppe dlg(tr, 0);
    Zeigen(dlg);
    QTest::mouseClick(dlg.OkKnopf(), Qt::LeftButton);
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_BETRIEBSGRUPPEN"), "1");
}

TEST_F(StammdatenDialogeTest, ErsteBetriebsstaetteIstStallUndStandardAufDerGewaehltenGruppe)
{
    Ausfuehren("DELETE FROM T_BETRIEBSSTAETTEN");
    Ausfuehren("INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, GV) VALUES (7, 'Hof Süd', 'T')");
    db::DataSet gruppen(tr);
    gruppen.SetSelectSQL("SELECT ID, BEZEICHNUNG FROM T_BETRIEBSGRUPPEN ORDER BY ID");
    gruppen.Open();
    gruppen.Last();

    TfrmBetriebsstaette dlg(tr, gruppen, 0);
    Zeigen(dlg);
    Bildschirmfoto(dlg, "Betriebsstaette.png");
    EXPECT_EQ(dlg.BezeichnungEdit()->text(), "Stall");
    EXPECT_EQ(dlg.GruppeAuswahl()->currentText(), "Hof Süd");
    EXPECT_TRUE(dlg.StandardBox()->isChecked());
    QTest::mouseClick(dlg.OkKnopf(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Wert("SELECT BEZEICHNUNG || GRUPPE || STANDARD FROM T_BETRIEBSSTAETTEN"), "Stall7T");
}

TEST_F(StammdatenDialogeTest, WeitereBetriebsstaetteIstKeinStandard)
{
    db::DataSet gruppen(tr);
    gruppen.SetSelectSQL("SELECT ID, BEZEICHNUNG FROM T_BETRIEBSGRUPPEN");
    gruppen.Open();
    TfrmBetriebsstaette dlg(tr, gruppen, 0);
    Zeigen(dlg);
    EXPECT_EQ(dlg.BezeichnungEdit()->text(), "");
    EXPECT_FALSE(dlg.StandardBox()->isChecked());
    Tippen(dlg.BezeichnungEdit(), "Jungvieh");
    QTest::mouseClick(dlg.OkKnopf(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Wert("SELECT GRUPPE || STANDARD FROM T_BETRIEBSSTAETTEN WHERE BEZEICHNUNG = "
                   "'Jungvieh'"),
              "1F");
}

TEST_F(StammdatenDialogeTest, StandardLaesstSichNichtWegnehmenAberVergeben)
{
    Ausfuehren(
        "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE, STANDARD) "
        "VALUES (2, 'Weide', 1, 'F')");
    db::DataSet gruppen(tr);
    gruppen.SetSelectSQL("SELECT ID, BEZEICHNUNG FROM T_BETRIEBSGRUPPEN");
    gruppen.Open();
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        TfrmBetriebsstaette dlg(tr, gruppen, 1);
        Zeigen(dlg);
        EXPECT_TRUE(dlg.Daten().WarStandard());
        QTest::mouseClick(dlg.StandardBox(), Qt::LeftButton);
        EXPECT_FALSE(dlg.StandardBox()->isChecked());
        QTest::mouseClick(dlg.OkKnopf(), Qt::LeftButton);
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_TRUE(boxen.Shown()[0].text.startsWith("Damit diese Betriebsstätte"));
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_TRUE(dlg.StandardBox()->isChecked());
        QTest::mouseClick(dlg.AbbrechenKnopf(), Qt::LeftButton);
    }
    EXPECT_EQ(Wert("SELECT STANDARD FROM T_BETRIEBSSTAETTEN WHERE ID = 1"), "T");
    {
        TfrmBetriebsstaette dlg(tr, gruppen, 2);
        Zeigen(dlg);
        EXPECT_FALSE(dlg.Daten().WarStandard());
        QTest::mouseClick(dlg.StandardBox(), Qt::LeftButton);
        QTest::mouseClick(dlg.OkKnopf(), Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(Wert("SELECT STANDARD FROM T_BETRIEBSSTAETTEN WHERE ID = 2"), "T");
}

TEST_F(StammdatenDialogeTest, NurOkNimmtDieRasseInGebrauch)
{
    const QString verwendet =
        "SELECT LIST(ID, ',') FROM (SELECT ID FROM T_RASSEN "
        "WHERE VERWENDET = 'T' ORDER BY ID)";
    const QString vorher = Wert(verwendet);
    const QString anzahl = Wert("SELECT COUNT(*) FROM T_RASSEN WHERE VERWENDET = 'F'");
    {
        TfrmRasse dlg(tr);
        Zeigen(dlg);
        Bildschirmfoto(dlg, "Rasse.png");
        QTableView* g = dlg.Gitter();
        ASSERT_EQ(QString::number(g->model()->rowCount()), anzahl);
        // Clicking, typing and moving around in the grid write nothing.
        const QRect zelle = g->visualRect(g->model()->index(1, 0));
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, zelle.center());
        QTest::keyClicks(g, "xyz");
        QTest::keyClick(g, Qt::Key_Down);
        QTest::keyClick(g, Qt::Key_Up);
        EXPECT_EQ(Wert(verwendet), vorher);
        g->setCurrentIndex(g->model()->index(1, 0));
        const QString name = g->model()->index(1, 0).data().toString();
        QTest::mouseClick(dlg.OkKnopf(), Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        const int gewaehlt = dlg.RasseID();
        EXPECT_GT(gewaehlt, 0);
        EXPECT_EQ(Wert(QString("SELECT BEZEICHNUNG || VERWENDET FROM T_RASSEN WHERE ID = %1")
                           .arg(gewaehlt)),
                  name + "T");
    }
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_RASSEN WHERE VERWENDET = 'F'").toInt(),
              anzahl.toInt() - 1);
    {
        TfrmRasse dlg(tr);
        Zeigen(dlg);
        QTest::mouseClick(dlg.AbbrechenKnopf(), Qt::LeftButton);
        EXPECT_EQ(dlg.RasseID(), 0);
    }
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_RASSEN WHERE VERWENDET = 'F'").toInt(),
              anzahl.toInt() - 1);
}

}  // namespace
