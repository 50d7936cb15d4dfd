#include "HerdeTest.h"

#include <BehandlungEdit.h>
#include <Stammdaten.h>
#include <Tierarzt.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {

// The card's treatments page for the animals of its quick list.
class StammdatenTierarztTest : public HerdeTest {
protected:
    void SetUp() override
    {
        HerdeTest::SetUp();
        ProgDatum::HeuteSetzen(QDate(2026, 3, 10));
        Ausfuehren(
            {"INSERT INTO T_MEDIKAMENTE (BEZEICHNUNG, WMILCH, WFLEISCH, ANZEIGEN) VALUES "
             "('Synulox', 2, 10, 'T')"});
        karte = std::make_unique<TfrmStammdaten>();
    }
    void TearDown() override
    {
        karte.reset();
        HerdeTest::TearDown();
    }

    // A treatment in state J with one application on that day for the animals.
    int Behandlung(const QString& mittel, const QString& datum, const QList<int>& tiere)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr,
                    "INSERT INTO T_TIERARZTLEISTUNG (BESTANDSBUCH, ARZNEIMITTEL, STANDORT, "
                    "ANWENDER, BELEGNUMMER, WMILCH, WFLEISCH) VALUES ('J', :M, 'Nord', "
                    "'Dr. Huber', 'R-1', 3, 28) RETURNING ID");
        q.Param("M").SetString(mittel);
        q.Execute();
        const int id = q.Field(0).AsInteger();
        db::Query a(tr,
                    "INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM, MENGE, VERABREICHUNG) "
                    "VALUES (:L, :D, '20 ml', 'i. m.')");
        a.Param("L").SetInteger(id);
        a.Param("D").SetDate(QDate::fromString(datum, "dd.MM.yyyy"));
        a.Execute();
        for (int tier : tiere) {
            db::Query g(tr, "INSERT INTO T_TIERARZTGRUPPE (TIER, LEISTUNG) VALUES (:T, :L)");
            g.Param("T").SetInteger(tier);
            g.Param("L").SetInteger(id);
            g.Execute();
        }
        tr.Commit();
        return id;
    }

    QString Wert(const QString& sql)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql);
        QStringList zeilen;
        for (q.Open(); !q.Eof(); q.Next())
            zeilen << q.Field(0).AsString().trimmed();
        return zeilen.join(';');
    }

    void Zeigen(int id)
    {
        const QString sql = QString(
                                "SELECT ID, NAME, NUMMER FROM T_STAMMDATEN WHERE ID IN (%1, "
                                "%2, %3) ORDER BY NUMMER")
                                .arg(berta)
                                .arg(lisa)
                                .arg(anna);
        karte->TierAnzeigen(id, 0, sql);
        karte->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(karte.get()));
    }

    // The treatment IDs the page lists, top to bottom.
    QList<int> Gezeigt() const
    {
        QList<int> ids;
        const QStandardItemModel* m = karte->TierarztRahmen()->Modell();
        for (int z = 0; z < m->rowCount(); ++z)
            ids << m->index(z, 0).data(TframeTierarzt::IDRolle).toInt();
        return ids;
    }

    std::unique_ptr<TfrmStammdaten> karte;
};

TEST_F(StammdatenTierarztTest, SeiteZeigtDieBehandlungenUndFolgtDemSchritt)
{
    const int gruppe = Behandlung("Synulox", "01.02.2026", {berta, lisa});
    const int bertas = Behandlung("Penstrep 200", "05.03.2026", {berta});
    const int lisas = Behandlung("Metacam", "20.01.2026", {lisa});
    Zeigen(berta);
    QToolButton* knopf = karte->Seitenknopf(2);
    ASSERT_TRUE(knopf->isEnabled());
    EXPECT_EQ(knopf->toolTip(), "Tierarzt (F5)");
    QTest::keyClick(karte.get(), Qt::Key_F5);
    ASSERT_EQ(karte->AktuelleSeite(), 2);
    EXPECT_TRUE(knopf->isChecked());
    EXPECT_EQ(karte->windowTitle(), "007 - Berta - DE 01 111 11111 - Tierarzt");
    EXPECT_EQ(karte->helpContext(), 2400);
    EXPECT_TRUE(karte->TierarztRahmen()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), karte->TierarztRahmen()->Liste());
    EXPECT_EQ(Gezeigt(), (QList<int>{gruppe, bertas}));
    EXPECT_EQ(
        karte->TierarztRahmen()->Modell()->index(0, 0).data(TframeTierarzt::GruppeRolle).toInt(),
        2);

    QTest::keyClick(karte.get(), Qt::Key_PageDown);
    ASSERT_EQ(karte->TierID(), lisa);
    EXPECT_EQ(karte->AktuelleSeite(), 2);
    EXPECT_EQ(karte->windowTitle(), "012 - Lisa - DE 01 222 22222 - Tierarzt");
    EXPECT_EQ(Gezeigt(), (QList<int>{lisas, gruppe}));
    EXPECT_TRUE(karte->TierarztRahmen()->BearbeitenKnopf()->isEnabled());

    QTest::keyClick(karte.get(), Qt::Key_PageDown);
    ASSERT_EQ(karte->TierID(), anna);
    EXPECT_TRUE(Gezeigt().isEmpty());
    EXPECT_FALSE(karte->TierarztRahmen()->Liste()->isEnabled());
    EXPECT_FALSE(karte->TierarztRahmen()->BearbeitenKnopf()->isEnabled());

    // Back on another page and to Berta: the page shows her list again when it is chosen.
    QTest::keyClick(karte.get(), Qt::Key_F2);
    QTest::keyClick(karte.get(), Qt::Key_PageUp);
    QTest::keyClick(karte.get(), Qt::Key_PageUp);
    ASSERT_EQ(karte->TierID(), berta);
    QTest::mouseClick(knopf, Qt::LeftButton);
    EXPECT_EQ(karte->AktuelleSeite(), 2);
    EXPECT_EQ(Gezeigt(), (QList<int>{gruppe, bertas}));
}

TEST_F(StammdatenTierarztTest, NeueBehandlungVonDerSeiteNachGeaendertemNamen)
{
    Zeigen(berta);
    // An open edit of the animal itself is stored by the page change and does not stand in the
    // way of the treatment, which is written in a transaction of its own.
    auto* name = karte->findChild<QLineEdit*>("edName");
    ASSERT_TRUE(name);
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "Bertha");
    QTest::keyClick(karte.get(), Qt::Key_F5);
    ASSERT_EQ(karte->AktuelleSeite(), 2);
    MessageBoxScript bearbeiten;
    bearbeiten.Window<TfrmBehandlungEdit>([](TfrmBehandlungEdit& d) {
        EXPECT_EQ(d.windowTitle(), "Neue Behandlung");
        EXPECT_EQ(d.Standort()->currentText(), "Nord");
        for (auto [feld, text] : {std::pair{d.Anwender(), "Dr. Huber"},
                                  {d.Arzneimittel(), "Synulox"},
                                  {d.Belegnummer(), "R-17"}}) {
            feld->setFocus();
            QTest::keyClicks(feld->lineEdit(), text);
        }
        QTest::keyClicks(d.MengeFeld(0)->lineEdit(), "20 ml");
        QTest::mouseClick(d.EintragenKnopf(), Qt::LeftButton);
    });
    QTest::mouseClick(karte->TierarztRahmen()->NeuKnopf(), Qt::LeftButton);
    ASSERT_TRUE(bearbeiten.PendingWindows() == 0);
    const QString id =
        Wert(QString("SELECT LEISTUNG FROM T_TIERARZTGRUPPE WHERE TIER = %1").arg(berta));
    ASSERT_FALSE(id.isEmpty());
    EXPECT_EQ(
        Wert("SELECT ARZNEIMITTEL || ',' || WMILCH || ',' || WFLEISCH FROM T_TIERARZTLEISTUNG"),
        "Synulox,2,10");
    EXPECT_EQ(Gezeigt(), QList<int>{id.toInt()});
    EXPECT_EQ(karte->TierarztRahmen()->AktuelleID(), id.toInt());
    EXPECT_TRUE(karte->TierarztRahmen()->BuchenKnopf()->isEnabled());

    Behandlung("Penstrep 200", "05.03.2026", {berta, lisa});
    // Another workstation's treatment of her reaches the open page through the change event.
    EXPECT_TRUE(QTest::qWaitFor([&] { return Gezeigt().size() == 2; }, 5000));
    karte->resize(karte->sizeHint());
    Bildschirmfoto(*karte, "stammdaten_tierarzt.png");

    QTest::mouseClick(karte->SchliessenKnopf(), Qt::LeftButton);
    EXPECT_FALSE(karte->isVisible());
    EXPECT_EQ(Wert(QString("SELECT NAME FROM T_STAMMDATEN WHERE ID = %1").arg(berta)), "Bertha");
}

}  // namespace
