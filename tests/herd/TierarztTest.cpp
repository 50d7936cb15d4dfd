#include <BehandlungAktionen.h>
#include <BehandlungEdit.h>
#include <Gruppenbehandlung.h>
#include <Haupt.h>
#include <Tierarzt.h>
#include <TierarztLogik.h>
#include <TierWahl.h>

#include <Error.h>

#include "HerdeTest.h"

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QAction>
#include <QDir>
#include <QListWidget>
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
    for (const Fall& f : {Fall{"J", false, true, true, true, "Löschen"},
                          Fall{"N", false, true, false, true, "Löschen"},
                          Fall{"", false, true, false, true, "Löschen"},
                          Fall{"B", false, false, false, true, "Stornieren"},
                          Fall{"S", false, false, false, false, "Löschen"},
                          Fall{"J", true, false, false, false, "Löschen"}}) {
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
    const Tierarzt::TAnwendung neu =
        Tierarzt::Folgeanwendung({7, QDate(2026, 2, 28), "i. m.", "20 ml"});
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
        Ausfuehren(
            {"INSERT INTO T_MEDIKAMENTE (BEZEICHNUNG, WMILCH, WFLEISCH, ANZEIGEN) VALUES "
             "('Penstrep 200', 3, 28, 'T')",
             "INSERT INTO T_MEDIKAMENTE (BEZEICHNUNG, WMILCH, WFLEISCH, ANZEIGEN) VALUES "
             "('Synulox', 2, 10, 'T')"});
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
    int Behandlung(const QString& status, const QList<int>& tiere,
                   const QString& mittel = "Synulox")
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr,
                    "INSERT INTO T_TIERARZTLEISTUNG (BESTANDSBUCH, ARZNEIMITTEL, WMILCH, WFLEISCH) "
                    "VALUES (:S, :M, 2, 10) RETURNING ID");
        q.Param("S").SetString(status);
        q.Param("M").SetString(mittel);
        q.Execute();
        const int id = q.Field(0).AsInteger();
        db::Query a(tr,
                    "INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM, MENGE) VALUES (:L, DATE "
                    "'2026-03-01', '5 ml')");
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
                const QPoint p =
                    rahmen->Liste()
                        ->visualRect(rahmen->Modell()->index(z, TframeTierarzt::SpDatum))
                        .center();
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

    std::unique_ptr<TframeTierarzt> rahmen;
};

TEST_F(TierarztTest, MengenverlaufLaeuftAufFirebird3)
{
    const int id = Behandlung("J", {berta});
    Ausfuehren({QString("INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM, MENGE) VALUES (%1, DATE "
                        "'2026-03-05', '10 ml')")
                    .arg(id),
                QString("INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM, MENGE) VALUES (%1, DATE "
                        "'2026-03-06', '5 ml')")
                    .arg(id)});
    EXPECT_EQ(Wert(Tierarzt::MengenSQL), "5 ml;10 ml");
}

TEST_F(TierarztTest, NeueBehandlungMitMedikamentUndAnwendungen)
{
    RahmenZeigen(berta);
    EXPECT_FALSE(rahmen->Liste()->isEnabled());
    EXPECT_FALSE(rahmen->BearbeitenKnopf()->isEnabled());
    MessageBoxScript boxen;
    boxen
        .AnswerWith(Tools::mrYes)   // "Weitere Anwendung eingeben?"
        .AnswerWith(Tools::mrNo)    // the second time: no
        .AnswerWith(Tools::mrYes);  // "Belegnummer" may stay empty
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
        Bildschirmfoto(d, "behandlung_edit.png");
        QTest::mouseClick(d.EintragenKnopf(), Qt::LeftButton);
    });
    QTest::mouseClick(rahmen->NeuKnopf(), Qt::LeftButton);
    EXPECT_TRUE(gesehen);
    EXPECT_EQ(boxen.Shown().size(), 3);
    EXPECT_EQ(Wert("SELECT L.BESTANDSBUCH, L.STANDORT, L.ANWENDER, L.ARZNEIMITTEL, L.WMILCH, "
                   "L.WFLEISCH, G.TIER "
                   "FROM T_TIERARZTLEISTUNG L JOIN T_TIERARZTGRUPPE G ON G.LEISTUNG = L.ID"),
              QString("J,Nord,Dr. Huber,penstrep 200,3,28,%1").arg(berta));
    EXPECT_EQ(Wert("SELECT DATUM, VERABREICHUNG, MENGE FROM T_TIERARZTANWENDUNG ORDER BY DATUM"),
              "09.03.2026,i. m.,20 ml;10.03.2026,i. m.,20 ml");
    ASSERT_EQ(rahmen->Modell()->rowCount(), 1);
    EXPECT_TRUE(rahmen->Liste()->isEnabled());
    EXPECT_EQ(rahmen->Modell()->index(0, TframeTierarzt::SpWartezeit).data().toString(), "3 \n28 ");
    EXPECT_TRUE(rahmen->BuchenKnopf()->isEnabled());
    Bildschirmfoto(*rahmen, "tierarzt_rahmen.png");
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
    EXPECT_EQ(boxen.Shown()[0].text,
              "Es können maximal 5 Anwendungen eingegeben werden!\r\rLösung: Geben Sie eine "
              "weitere Behandlung ein.");
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
    for (const Fall& f :
         {Fall{j, true, true, true, "Löschen"}, Fall{n, true, false, true, "Löschen"},
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

TEST_F(TierarztTest, BuchenStornierenUndLoeschenZeigenDenFehlerDerDatenbank)
{
    const int j = Behandlung("J", {berta});
    const int b = Behandlung("B", {berta});
    const int n = Behandlung("N", {berta});
    Ausfuehren(
        {"CREATE EXCEPTION E_TEST_GESPERRT 'Das Bestandsbuch ist gesperrt.'",
         "CREATE TRIGGER TEST_SPERRE FOR T_TIERARZTLEISTUNG BEFORE UPDATE OR DELETE AS BEGIN "
         "IF (DELETING OR NEW.BESTANDSBUCH IN ('B', 'S')) THEN EXCEPTION E_TEST_GESPERRT; END"});
    RahmenZeigen(berta);
    struct Fall {
        int id;
        const char* status;
        bool buchen;  // else the delete button ("Löschen" or "Stornieren"), asked first
    };
    for (const Fall& f : {Fall{j, "J", true}, Fall{b, "B", false}, Fall{n, "N", false}}) {
        SCOPED_TRACE(f.status);
        ZeileWaehlen(f.id);
        MessageBoxScript boxen;
        if (!f.buchen)
            boxen.AnswerWith(Tools::mrYes);
        boxen.AnswerWith(Tools::mrOk);
        QTest::mouseClick(f.buchen ? rahmen->BuchenKnopf() : rahmen->LoeschenKnopf(),
                          Qt::LeftButton);
        ASSERT_EQ(boxen.Shown().size(), f.buchen ? 1 : 2);
        EXPECT_EQ(boxen.Shown().last().text, "Das Bestandsbuch ist gesperrt.");
        EXPECT_EQ(boxen.Shown().last().type, Tools::mtError);
        EXPECT_EQ(
            Wert(QString("SELECT BESTANDSBUCH FROM T_TIERARZTLEISTUNG WHERE ID = %1").arg(f.id)),
            f.status);
        EXPECT_EQ(
            Wert(QString("SELECT COUNT(*) FROM T_TIERARZTANWENDUNG WHERE LEISTUNG = %1").arg(f.id)),
            "1");
        EXPECT_FALSE(DM()->TATierarztEdit.Active());
        EXPECT_EQ(rahmen->Modell()->rowCount(), 3);
    }
}

TEST_F(TierarztTest, LoeschenEntferntAnwendungenUndTiereOhneKaskade)
{
    // Without cascading keys a delete of the treatment alone would be refused.
    Ausfuehren({"ALTER TABLE T_TIERARZTANWENDUNG DROP CONSTRAINT FK_TIERARZTANWENDUNG_LEISTUNG",
                "ALTER TABLE T_TIERARZTGRUPPE DROP CONSTRAINT FK_TIERARZTGRUPPE_LEISTUNG"});
    Ausfuehren(
        {"ALTER TABLE T_TIERARZTANWENDUNG ADD CONSTRAINT FK_TIERARZTANWENDUNG_LEISTUNG FOREIGN KEY "
         "(LEISTUNG) "
         "REFERENCES T_TIERARZTLEISTUNG (ID)",
         "ALTER TABLE T_TIERARZTGRUPPE ADD CONSTRAINT FK_TIERARZTGRUPPE_LEISTUNG FOREIGN KEY "
         "(LEISTUNG) "
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
    EXPECT_EQ(Wert("SELECT TIER, LEISTUNG FROM T_TIERARZTGRUPPE"),
              QString("%1,%2").arg(berta).arg(bleibt));
    EXPECT_EQ(rahmen->Modell()->rowCount(), 1);
}

// Fills a new treatment as the vet's visit gives it: medicine, user, receipt and two
// applications a day apart, then "Eintragen".
void BehandlungEintragen(TfrmBehandlungEdit& d)
{
    auto tippen = [](QWidget* w, const QString& text) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(w, text);
    };
    tippen(d.Anwender()->lineEdit(), "Dr. Huber");
    tippen(d.Arzneimittel()->lineEdit(), "Synulox");
    tippen(d.Belegnummer()->lineEdit(), "R-17");
    tippen(d.VerabreichungFeld(0)->lineEdit(), "i. m.");
    tippen(d.MengeFeld(0)->lineEdit(), "20 ml");
    QTest::mouseClick(d.HinzufuegenKnopf(), Qt::LeftButton);
    QTest::mouseClick(d.EintragenKnopf(), Qt::LeftButton);
}

// The group dialog as the main window runs it: it opens the new treatment by itself; once that
// is stored (or refused) it is closed with "Schließen".
class GruppenbehandlungTest : public TierarztTest {
protected:
    void SetUp() override
    {
        TierarztTest::SetUp();
        alt = Behandlung("J", {berta, lisa});
    }

    QList<int> ZwoelfTiere()
    {
        QList<int> tiere{berta, lisa, anna};
        for (int i = 0; i < 9; ++i)
            tiere << Tier(QString("DE 01 555 0000%1").arg(i), 20 + i, QString("Kuh%1").arg(i), 21);
        return tiere;
    }

    // Closes the group dialog with "Schließen" once the treatment it opened by itself is done
    // with: the edit dialog is gone, its storing or refusal has run. The group dialog is the
    // active window again already while the edit dialog's loop is still unwinding.
    static void Schliessen(MessageBoxScript& script,
                           std::function<void(TfrmGruppenbehandlung&)> pruefen)
    {
        script.Window<TfrmGruppenbehandlung>(
            [pruefen](TfrmGruppenbehandlung& g) {
                pruefen(g);
                QTest::mouseClick(g.SchliessenKnopf(), Qt::LeftButton);
            },
            [](TfrmGruppenbehandlung& g) { return !g.findChild<TfrmBehandlungEdit*>(); });
    }

    // Runs the group dialog modally; `eintragen` fills the treatment it opens.
    void Erfassen(const QList<int>& tiere, std::function<void(TfrmBehandlungEdit&)> eintragen)
    {
        TfrmGruppenbehandlung dialog;
        dialog.TiereSetzen(&tiere);
        MessageBoxScript bearbeiten;
        bearbeiten.Window<TfrmBehandlungEdit>(std::move(eintragen));
        Schliessen(bearbeiten, [&](TfrmGruppenbehandlung& g) {
            zeilen = g.Rahmen()->Modell()->rowCount();
            erzeugt = g.Rahmen()->Erzeugte();
            if (zeilen > 0) {
                EXPECT_EQ(
                    g.Rahmen()->Modell()->index(0, 0).data(TframeTierarzt::GruppeRolle).toInt(), 1);
            }
        });
        dialog.exec();
        EXPECT_EQ(bearbeiten.PendingWindows(), 0);
    }

    QString Neu(const QString& sql) { return Wert(QString(sql).arg(alt)); }

    int alt = 0;
    int zeilen = -1;
    QList<int> erzeugt;
};

TEST_F(GruppenbehandlungTest, FuerAlleZwoelfTiereMitHinweis)
{
    const QList<int> tiere = ZwoelfTiere();
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    Erfassen(tiere, [&](TfrmBehandlungEdit& d) {
        // The register hint comes before the treatment opens.
        EXPECT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(d.windowTitle(), "Neue Behandlung");
        EXPECT_EQ(d.Standort()->currentText(), "Nord");
        BehandlungEintragen(d);
    });
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].type, Tools::mtInformation);
    EXPECT_EQ(
        boxen.Shown()[0].text,
        "Sie haben 12 Tiere ausgewählt.\rIm Bestandsbuch können aus Gründen der Darstellung\r"
        "maximal 10 Tiere explizit aufgeführt werden.\rGeben Sie deshalb im Feld >Standort< auch\r"
        "die Tiergruppe an,\rz.B.: \"Kuhstall, laktierende Kühe\".");
    const QString id = Neu("SELECT ID FROM T_TIERARZTLEISTUNG WHERE ID <> %1");
    ASSERT_FALSE(id.isEmpty());
    EXPECT_EQ(Wert("SELECT BESTANDSBUCH, STANDORT, ANWENDER, ARZNEIMITTEL, WMILCH, WFLEISCH, "
                   "BELEGNUMMER FROM T_TIERARZTLEISTUNG "
                   "WHERE ID = " +
                   id),
              "J,Nord,Dr. Huber,Synulox,2,10,R-17");
    EXPECT_EQ(Wert("SELECT DATUM, VERABREICHUNG, MENGE FROM T_TIERARZTANWENDUNG WHERE LEISTUNG = " +
                   id + " ORDER BY DATUM"),
              "10.03.2026,i. m.,20 ml;11.03.2026,i. m.,20 ml");
    QList<int> erwartet = tiere;
    std::sort(erwartet.begin(), erwartet.end());
    EXPECT_EQ(Ids("SELECT TIER FROM T_TIERARZTGRUPPE WHERE LEISTUNG = " + id + " ORDER BY TIER"),
              erwartet);
    // Every animal's own list has it as a group treatment of twelve.
    for (int tier : tiere)
        EXPECT_EQ(Wert(QString("SELECT GRUPPE FROM P_GET_BEHANDLUNGEN_TIER(%1) WHERE ID = %2")
                           .arg(tier)
                           .arg(id)),
                  "12")
            << tier;
    // The dialog lists the treatments made in it, not the older group treatment.
    EXPECT_EQ(zeilen, 1);
    EXPECT_EQ(erzeugt, QList<int>{id.toInt()});
}

TEST_F(GruppenbehandlungTest, FehlendesTierSpeichertNichtsUndWirdGenannt)
{
    Ausfuehren({"CREATE EXCEPTION E_TEST_TIER 'Tier ist gesperrt.'",
                QString("CREATE TRIGGER TEST_TIER FOR T_TIERARZTGRUPPE BEFORE INSERT AS BEGIN "
                        "IF (NEW.TIER = %1) THEN EXCEPTION E_TEST_TIER; END")
                    .arg(lisa)});
    struct Fall {
        const char* name;
        QList<int> tiere;
        int geloescht;  // deleted by another workstation while the treatment is entered
        QString tier, ursache;
    };
    const Fall faelle[] = {
        {"vom Trigger abgelehnt",
         {berta, lisa, anna},
         0,
         "DE 01 222 22222 (Lisa)",
         "Tier ist gesperrt."},
        {"inzwischen gelöscht",
         {berta, anna},
         anna,
         "DE 01 333 33333 (Anna)",
         "Das Tier ist nicht mehr vorhanden."},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        Erfassen(f.tiere, [&](TfrmBehandlungEdit& d) {
            if (f.geloescht)
                Ausfuehren({QString("DELETE FROM T_STAMMDATEN WHERE ID = %1").arg(f.geloescht)});
            BehandlungEintragen(d);
        });
        ASSERT_EQ(boxen.Shown().size(), 1);
        const QString meldung = boxen.Shown()[0].text;
        EXPECT_EQ(boxen.Shown()[0].type, Tools::mtError);
        EXPECT_EQ(meldung.toStdString(),
                  QString("Die Behandlung konnte für das Tier %1 nicht gespeichert werden:\r%2\r\r"
                          "Die Behandlung wurde für keines der Tiere gespeichert.")
                      .arg(f.tier, f.ursache)
                      .toStdString());
        EXPECT_EQ(Neu("SELECT COUNT(*) FROM T_TIERARZTLEISTUNG WHERE ID <> %1"), "0");
        EXPECT_EQ(Neu("SELECT COUNT(*) FROM T_TIERARZTANWENDUNG WHERE LEISTUNG <> %1"), "0");
        EXPECT_EQ(Neu("SELECT COUNT(*) FROM T_TIERARZTGRUPPE WHERE LEISTUNG <> %1"), "0");
        EXPECT_EQ(zeilen, 0);
        EXPECT_TRUE(erzeugt.isEmpty());
        EXPECT_FALSE(DM()->TATierarztEdit.Active());
    }
}

TEST_F(GruppenbehandlungTest, UeberDieAktionDesHauptfensters)
{
    QList<int> tiere = ZwoelfTiere();
    TfrmHaupt haupt;
    BehandlungAktionenVerbinden(haupt);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    boxen.Window<TfrmTierWahl>([](TfrmTierWahl& d) {
        EXPECT_EQ(d.windowTitle(), "Tier-Gruppen behandeln");
        d.Masken()->setCurrentRow(0);  // the current animals: not the sold one
        QTest::mouseClick(d.EinlesenKnopf(), Qt::LeftButton);
        QTest::mouseClick(d.UmschaltenKnopf(), Qt::LeftButton);
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    boxen.Window<TfrmBehandlungEdit>([](TfrmBehandlungEdit& d) { BehandlungEintragen(d); });
    Schliessen(boxen, [](TfrmGruppenbehandlung& g) {
        EXPECT_EQ(g.windowTitle(), "Gruppenbehandlung erfassen");
        EXPECT_EQ(g.Rahmen()->Modell()->rowCount(), 1);
    });
    QAction* aktion = haupt.Aktion("actGruppenbehandlung");
    ASSERT_TRUE(aktion);
    ASSERT_TRUE(aktion->isEnabled());
    aktion->trigger();
    EXPECT_EQ(boxen.PendingWindows(), 0);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.startsWith("Sie haben 12 Tiere ausgewählt."));
    std::sort(tiere.begin(), tiere.end());
    EXPECT_EQ(Ids(QString("SELECT TIER FROM T_TIERARZTGRUPPE WHERE LEISTUNG <> %1 ORDER BY TIER")
                      .arg(alt)),
              tiere);
}

}  // namespace
