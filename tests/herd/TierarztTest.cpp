#include <BehandlungEdit.h>
#include <Gruppenbehandlung.h>
#include <Tierarzt.h>
#include <TierarztLogik.h>

#include <Error.h>

#include "HerdeTest.h"

#include <MessageBoxScript.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>

namespace {

TEST(TierarztKnoepfe, NachBestandsbuchStatus)
{
    struct Fall {
        const char* status;
        bool leer, bearbeiten, buchen, loeschen;
        const char* text;
    };
    for (const Fall& f : {Fall{"J", false, true, true, true, "Löschen"}, Fall{"N", false, true, false, true, "Löschen"},
                          Fall{"", false, true, false, true, "Löschen"}, Fall{"B", false, false, false, true, "Stornieren"},
                          Fall{"S", false, false, false, false, "Löschen"}, Fall{"J", true, false, false, false, "Löschen"}}) {
        SCOPED_TRACE(std::string(f.status) + (f.leer ? " leer" : ""));
        const Tierarzt::TKnoepfe k = Tierarzt::Knoepfe(QString::fromUtf8(f.status), f.leer);
        EXPECT_EQ(k.bearbeiten, f.bearbeiten);
        EXPECT_EQ(k.buchen, f.buchen);
        EXPECT_EQ(k.loeschen, f.loeschen);
        EXPECT_EQ(k.loeschenText, QString::fromUtf8(f.text));
    }
}

TEST(TierarztFolgeanwendung, EinTagSpaeterGleicheMengeUndVerabreichung)
{
    const Tierarzt::TAnwendung neu = Tierarzt::Folgeanwendung({7, QDate(2026, 2, 28), "i. m.", "20 ml"});
    EXPECT_EQ(neu.id, 0);
    EXPECT_EQ(neu.datum, QDate(2026, 3, 1));
    EXPECT_EQ(neu.verabreichung, "i. m.");
    EXPECT_EQ(neu.menge, "20 ml");
}

// Treatments of the small herd, through the frame as the card hosts it.
class TierarztTest : public HerdeTest {
protected:
    void SetUp() override
    {
        HerdeTest::SetUp();
        ProgDatum::HeuteSetzen(QDate(2026, 3, 10));
        Ausfuehren({"INSERT INTO T_MEDIKAMENTE (BEZEICHNUNG, WMILCH, WFLEISCH, ANZEIGEN) VALUES ('Penstrep 200', 3, 28, 'T')",
                    "INSERT INTO T_MEDIKAMENTE (BEZEICHNUNG, WMILCH, WFLEISCH, ANZEIGEN) VALUES ('Synulox', 2, 10, 'T')"});
    }
    void TearDown() override
    {
        rahmen.reset();
        HerdeTest::TearDown();
    }

    void RahmenZeigen(int tier)
    {
        rahmen = std::make_unique<TframeTierarzt>();
        rahmen->Initialisieren();
        rahmen->SetTier(tier);
        rahmen->resize(820, 320);
        rahmen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(rahmen.get()));
    }

    // A stored treatment in that state with one application for the animals.
    int Behandlung(const QString& status, const QList<int>& tiere, const QString& mittel = "Synulox")
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, "INSERT INTO T_TIERARZTLEISTUNG (BESTANDSBUCH, ARZNEIMITTEL, WMILCH, WFLEISCH) "
                        "VALUES (:S, :M, 2, 10) RETURNING ID");
        q.Param("S").SetString(status);
        q.Param("M").SetString(mittel);
        q.Execute();
        const int id = q.Field(0).AsInteger();
        db::Query a(tr, "INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM, MENGE) VALUES (:L, DATE '2026-03-01', '5 ml')");
        a.Param("L").SetInteger(id);
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
        for (q.Open(); !q.Eof(); q.Next()) {
            QStringList werte;
            for (int i = 0; i < q.FieldCount(); ++i)
                werte << q.Field(i).AsString().trimmed();
            zeilen << werte.join(',');
        }
        return zeilen.join(';');
    }

    void ZeileWaehlen(int id)
    {
        for (int z = 0; z < rahmen->Modell()->rowCount(); ++z)
            if (rahmen->Modell()->index(z, 0).data(TframeTierarzt::IDRolle).toInt() == id) {
                const QPoint p = rahmen->Liste()->visualRect(rahmen->Modell()->index(z, TframeTierarzt::SpDatum)).center();
                QTest::mouseClick(rahmen->Liste()->viewport(), Qt::LeftButton, {}, p);
                return;
            }
        ADD_FAILURE() << "Keine Zeile " << id;
    }

    static void Tippen(QWidget* w, const QString& text)
    {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(w, text);
    }

    static QString Screenshotordner()
    {
        const QString ordner = QCoreApplication::applicationDirPath() + "/../screenshots";
        QDir().mkpath(ordner);
        return ordner;
    }

    std::unique_ptr<TframeTierarzt> rahmen;
};

TEST_F(TierarztTest, MengenverlaufLaeuftAufFirebird3)
{
    const int id = Behandlung("J", {berta});
    Ausfuehren({QString("INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM, MENGE) VALUES (%1, DATE '2026-03-05', '10 ml')").arg(id),
                QString("INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM, MENGE) VALUES (%1, DATE '2026-03-06', '5 ml')").arg(id)});
    EXPECT_EQ(Wert(Tierarzt::MengenSQL), "5 ml;10 ml");
}

TEST_F(TierarztTest, NeueBehandlungMitMedikamentUndAnwendungen)
{
    RahmenZeigen(berta);
    EXPECT_FALSE(rahmen->Liste()->isEnabled());
    EXPECT_FALSE(rahmen->BearbeitenKnopf()->isEnabled());
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes)     // "Weitere Anwendung eingeben?"
        .AnswerWith(Tools::mrNo)       // the second time: no
        .AnswerWith(Tools::mrYes);     // "Belegnummer" may stay empty
    bool gesehen = false;
    Bedienen<TfrmBehandlungEdit>([&](TfrmBehandlungEdit& d) {
        gesehen = true;
        EXPECT_EQ(d.windowTitle(), "Neue Behandlung");
        EXPECT_EQ(d.Bestandsbuch()->checkState(), Qt::Checked);
        EXPECT_EQ(d.Standort()->currentText(), "Nord");
        EXPECT_EQ(d.WartezeitMilch()->text(), "0");
        ASSERT_EQ(d.Anwendungszahl(), 1);
        EXPECT_EQ(d.DatumFeld(0)->text(), "10.03.2026");
        Tippen(d.Anwender()->lineEdit(), "Dr. Huber");
        Tippen(d.Arzneimittel()->lineEdit(), "penstrep 200");
        EXPECT_EQ(d.WartezeitMilch()->text(), "3");
        EXPECT_EQ(d.WartezeitFleisch()->text(), "28");
        QTest::keyClick(d.Belegnummer()->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(d.focusWidget(), d.DatumFeld(0));
        QTest::keyClick(d.DatumFeld(0), Qt::Key_Down);
        EXPECT_EQ(d.DatumFeld(0)->text(), "09.03.2026");
        d.VerabreichungFeld(0)->setEditText("i. m.");
        QTest::keyClick(d.DatumFeld(0), Qt::Key_Return);
        EXPECT_EQ(d.focusWidget(), d.VerabreichungFeld(0));
        QTest::keyClick(d.VerabreichungFeld(0)->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(d.focusWidget(), d.MengeFeld(0));
        QTest::keyClicks(d.MengeFeld(0)->lineEdit(), "20 ml");
        QTest::keyClick(d.MengeFeld(0)->lineEdit(), Qt::Key_Return);
        ASSERT_EQ(d.Anwendungszahl(), 2);
        EXPECT_EQ(d.DatumFeld(1)->text(), "10.03.2026");
        EXPECT_EQ(d.MengeFeld(1)->currentText(), "20 ml");
        EXPECT_EQ(d.focusWidget(), d.DatumFeld(1));
        QTest::keyClick(d.MengeFeld(1)->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(d.focusWidget(), d.EintragenKnopf());
        QApplication::processEvents();
        EXPECT_TRUE(d.grab().save(Screenshotordner() + "/behandlung_edit.png"));
        QTest::mouseClick(d.EintragenKnopf(), Qt::LeftButton);
    });
    QTest::mouseClick(rahmen->NeuKnopf(), Qt::LeftButton);
    EXPECT_TRUE(gesehen);
    EXPECT_EQ(boxen.Shown().size(), 3);
    EXPECT_EQ(Wert("SELECT L.BESTANDSBUCH, L.STANDORT, L.ANWENDER, L.ARZNEIMITTEL, L.WMILCH, L.WFLEISCH, G.TIER "
                   "FROM T_TIERARZTLEISTUNG L JOIN T_TIERARZTGRUPPE G ON G.LEISTUNG = L.ID"),
              QString("J,Nord,Dr. Huber,penstrep 200,3,28,%1").arg(berta));
    EXPECT_EQ(Wert("SELECT DATUM, VERABREICHUNG, MENGE FROM T_TIERARZTANWENDUNG ORDER BY DATUM"),
              "09.03.2026,i. m.,20 ml;10.03.2026,i. m.,20 ml");
    ASSERT_EQ(rahmen->Modell()->rowCount(), 1);
    EXPECT_TRUE(rahmen->Liste()->isEnabled());
    EXPECT_EQ(rahmen->Modell()->index(0, TframeTierarzt::SpWartezeit).data().toString(), "3 \n28 ");
    EXPECT_TRUE(rahmen->BuchenKnopf()->isEnabled());
    EXPECT_TRUE(rahmen->grab().save(Screenshotordner() + "/tierarzt_rahmen.png"));
}

TEST_F(TierarztTest, SechsteAnwendungWirdAbgelehntUndAbbrechenSpeichertNichts)
{
    RahmenZeigen(berta);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    Bedienen<TfrmBehandlungEdit>([&](TfrmBehandlungEdit& d) {
        for (int i = 0; i < 4; ++i)
            QTest::mouseClick(d.HinzufuegenKnopf(), Qt::LeftButton);
        ASSERT_EQ(d.Anwendungszahl(), 5);
        EXPECT_EQ(d.DatumFeld(4)->text(), "14.03.2026");
        QTest::mouseClick(d.HinzufuegenKnopf(), Qt::LeftButton);
        EXPECT_EQ(d.Anwendungszahl(), 5);
        QTest::mouseClick(d.AbbrechenKnopf(), Qt::LeftButton);
    });
    QTest::mouseClick(rahmen->NeuKnopf(), Qt::LeftButton);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, "Es können maximal 5 Anwendungen eingegeben werden!\r\rLösung: Geben Sie eine weitere Behandlung ein.");
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_TIERARZTLEISTUNG"), "0");
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_TIERARZTANWENDUNG"), "0");
}

TEST_F(TierarztTest, KnoepfeNachBestandsbuchStatusDerZeile)
{
    const int j = Behandlung("J", {berta});
    const int n = Behandlung("N", {berta});
    const int b = Behandlung("B", {berta});
    const int s = Behandlung("S", {berta});
    RahmenZeigen(berta);
    ASSERT_EQ(rahmen->Modell()->rowCount(), 4);
    struct Fall {
        int id;
        bool bearbeiten, buchen, loeschen;
        const char* text;
    };
    for (const Fall& f : {Fall{j, true, true, true, "Löschen"}, Fall{n, true, false, true, "Löschen"},
                          Fall{b, false, false, true, "Stornieren"}, Fall{s, false, false, false, "Löschen"}}) {
        SCOPED_TRACE(f.id);
        ZeileWaehlen(f.id);
        EXPECT_EQ(rahmen->AktuelleID(), f.id);
        EXPECT_EQ(rahmen->BearbeitenKnopf()->isEnabled(), f.bearbeiten);
        EXPECT_EQ(rahmen->BuchenKnopf()->isEnabled(), f.buchen);
        EXPECT_EQ(rahmen->LoeschenKnopf()->isEnabled(), f.loeschen);
        EXPECT_EQ(rahmen->LoeschenKnopf()->text(), QString::fromUtf8(f.text));
    }
}

TEST_F(TierarztTest, BuchenUndStornierenZeigenDenFehlerDerDatenbank)
{
    const int id = Behandlung("J", {berta});
    Ausfuehren({"CREATE EXCEPTION E_TEST_GESPERRT 'Das Bestandsbuch ist gesperrt.'",
                "CREATE TRIGGER TEST_SPERRE FOR T_TIERARZTLEISTUNG BEFORE UPDATE AS BEGIN "
                "IF (NEW.BESTANDSBUCH IN ('B', 'S')) THEN EXCEPTION E_TEST_GESPERRT; END"});
    RahmenZeigen(berta);
    ZeileWaehlen(id);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    QTest::mouseClick(rahmen->BuchenKnopf(), Qt::LeftButton);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.contains("Das Bestandsbuch ist gesperrt.")) << boxen.Shown()[0].text.toStdString();
    EXPECT_EQ(boxen.Shown()[0].type, Tools::mtError);
    EXPECT_EQ(Wert(QString("SELECT BESTANDSBUCH FROM T_TIERARZTLEISTUNG WHERE ID = %1").arg(id)), "J");
    EXPECT_FALSE(DM()->TATierarztEdit.Active());
}

TEST_F(TierarztTest, LoeschenEntferntAnwendungenUndTiereOhneKaskade)
{
    // Without cascading keys a delete of the treatment alone would be refused.
    Ausfuehren({"ALTER TABLE T_TIERARZTANWENDUNG DROP CONSTRAINT FK_TIERARZTANWENDUNG_LEISTUNG",
                "ALTER TABLE T_TIERARZTGRUPPE DROP CONSTRAINT FK_TIERARZTGRUPPE_LEISTUNG"});
    Ausfuehren({"ALTER TABLE T_TIERARZTANWENDUNG ADD CONSTRAINT FK_TIERARZTANWENDUNG_LEISTUNG FOREIGN KEY (LEISTUNG) "
                "REFERENCES T_TIERARZTLEISTUNG (ID)",
                "ALTER TABLE T_TIERARZTGRUPPE ADD CONSTRAINT FK_TIERARZTGRUPPE_LEISTUNG FOREIGN KEY (LEISTUNG) "
                "REFERENCES T_TIERARZTLEISTUNG (ID)"});
    const int gruppe = Behandlung("N", {berta, lisa});
    const int bleibt = Behandlung("J", {berta});
    RahmenZeigen(berta);
    ZeileWaehlen(gruppe);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes);
    QTest::mouseClick(rahmen->LoeschenKnopf(), Qt::LeftButton);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, Tierarzt::LoeschFrage("N", true));
    EXPECT_EQ(Wert("SELECT ID FROM T_TIERARZTLEISTUNG"), QString::number(bleibt));
    EXPECT_EQ(Wert("SELECT LEISTUNG FROM T_TIERARZTANWENDUNG"), QString::number(bleibt));
    EXPECT_EQ(Wert("SELECT TIER, LEISTUNG FROM T_TIERARZTGRUPPE"), QString("%1,%2").arg(berta).arg(bleibt));
    EXPECT_EQ(rahmen->Modell()->rowCount(), 1);
}

}  // namespace
