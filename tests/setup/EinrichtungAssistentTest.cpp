#include "EinrichtungTestHilfe.h"

#include <FDBTests.h>
#include <WizardData.h>

#include <Betriebsgruppe.h>
#include <Betriebsstaette.h>
#include <DBAMCheckbox.h>
#include <DBZRBaseEdit.h>
#include <IniDatei.h>
#include <Rasse.h>

#include <Database.h>
#include <Icmp.h>
#include <Query.h>
#include <SystemInfo.h>
#include <Transaction.h>

#include <Bildschirmfoto.h>
#include <TestDatabase.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>

using Einrichtung::TfrmDBTests;
using Einrichtung::TfrmHaupt;

namespace {

// One value read from outside the wizard, as another program sees the database.
QString Wert(const QString& datenbank, const QString& sql)
{
    db::Database d;
    d.Open(TestDatabase::Params(datenbank));
    db::Transaction tr(d);
    tr.Start();
    db::Query q(tr, sql);
    q.Open();
    return q.Eof() ? QStringLiteral("<keine>") : q.Field(0).AsString().trimmed();
}

}  // namespace

TEST_F(EinrichtungTest, FromAnEmptyDataFolderToADatabaseTheMainProgramOpens)
{
    const QString datei = datenordner + "Bovantis.fdb";
    const QString programm = platform::programFolder() + "/";
    MessageBoxScript boxen;
    auto w = std::make_unique<TfrmHaupt>(platform::programFolder());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    EXPECT_EQ(w->windowTitle(), "Einrichtungs-Assistent für ZR Bovantis");
    EXPECT_EQ(w->currentId(), TfrmHaupt::Willkommen);
    Bildschirmfoto(*w, "Einrichtung-1-Willkommen.png");

    // Cancel before any change asks the short question; "Nein" keeps the wizard.
    boxen.AnswerWith(Tools::mrNo);
    Klick(w->button(QWizard::CancelButton));
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, "Wollen Sie den Einrichtungsassistenten wirklich beenden?");
    EXPECT_TRUE(w->isVisible());

    Weiter(*w);
    ASSERT_EQ(w->currentId(), TfrmHaupt::Allgemein);
    auto* ordner = Feld<QLineEdit>(*w, "Programmverzeichnis");
    EXPECT_EQ(ordner->text(), programm);
    Bildschirmfoto(*w, "Einrichtung-2-Allgemein.png");
    // A folder that does not exist keeps the page.
    Tippen(ordner, tmp.path() + "/nicht/da");
    boxen.AnswerWith(Tools::mrOk);
    Weiter(*w);
    EXPECT_EQ(w->currentId(), TfrmHaupt::Allgemein);
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[1].text, "Das Verzeichnis\r\r" + tmp.path() +
                                         "/nicht/da\r\rexistiert nicht.\rGeben Sie ein gültiges "
                                         "Programmverzeichnis an");
    EXPECT_FALSE(QFileInfo::exists(datenordner));
    Tippen(ordner, programm);
    // Back applies the folder as well, and the data folder is made.
    Zurueck(*w);
    EXPECT_EQ(w->currentId(), TfrmHaupt::Willkommen);
    EXPECT_TRUE(QFileInfo(datenordner).isDir());
    EXPECT_EQ(w->Daten().Programmverzeichnis(), programm);
    Weiter(*w);
    EXPECT_EQ(ordner->text(), programm);
    Weiter(*w);
    ASSERT_EQ(w->currentId(), TfrmHaupt::Datenbankverbindung);

    // Without an INI file: the embedded database in the data folder.
    auto* rechner = Feld<QLineEdit>(*w, "DBRechner");
    auto* dbDatei = Feld<QLineEdit>(*w, "DBDatei");
    EXPECT_EQ(rechner->text(), "");
    EXPECT_EQ(dbDatei->text(), datei);
    Bildschirmfoto(*w, "Einrichtung-3-Datenbankverbindung.png");

    // The connection test reports the missing file in its dialog.
    boxen.Window<TfrmDBTests>(
        [datei](TfrmDBTests& d) {
            const QString text = d.Memo()->toPlainText();
            EXPECT_TRUE(text.startsWith("Datenbank: " + datei + "\nVerbinde\n"))
                << text.toStdString();
            EXPECT_TRUE(text.endsWith("\n\nTest fehlgeschlagen")) << text.toStdString();
            EXPECT_FALSE(d.Ergebnis());
            Klick(d.SchliessenKnopf());
        },
        [](TfrmDBTests& d) { return d.Gelaufen() && d.SchliessenKnopf()->isEnabled(); });
    Klick(Knopf<QPushButton>(*w, "TestDB"));
    EXPECT_EQ(boxen.PendingWindows(), 0);

    // The ping of this machine: the loopback answers.
    if (platform::IcmpEcho::available(platform::IcmpEcho::Method::Automatic)) {
        boxen.Window<TfrmDBTests>(
            [](TfrmDBTests& d) {
                const QStringList zeilen = d.Memo()->toPlainText().split('\n');
                EXPECT_EQ(zeilen.size(), 4);
                for (const QString& zeile : zeilen)
                    EXPECT_TRUE(zeile.startsWith("Antwort von 127.0.0.1: Bytes "))
                        << zeile.toStdString();
                EXPECT_TRUE(d.Ergebnis());
                Bildschirmfoto(d, "Einrichtung-Ping.png");
                Klick(d.SchliessenKnopf());
            },
            [](TfrmDBTests& d) { return d.Gelaufen() && d.SchliessenKnopf()->isEnabled(); });
    } else {
        boxen.AnswerWith(Tools::mrOk);
    }
    Klick(Knopf<QPushButton>(*w, "TestErreichbar"));
    EXPECT_EQ(boxen.PendingWindows(), 0);

    // Next offers the new installation's database and makes it.
    boxen.AnswerWith(Tools::mrYes);
    Weiter(*w);
    ASSERT_EQ(w->currentId(), TfrmHaupt::Rassen);
    EXPECT_TRUE(boxen.Shown().last().text.startsWith("Die Datenbank-Datei\r\r" + datei));
    EXPECT_TRUE(QFileInfo::exists(datei));

    // Breeds: one out of use, another taken in.
    auto* rassen = Feld<TZRcxGridDBTableView>(*w, "RassenView");
    EXPECT_EQ(Spalte(rassen, "Bezeichnung"), QStringList({"Holstein-Schwarzbunt", "Fleckvieh"}));
    ASSERT_TRUE(ZeileWaehlen(rassen, "Fleckvieh"));
    boxen.AnswerWith(Tools::mrYes);
    Klick(Knopf<QPushButton>(*w, "RasseEntf"));
    EXPECT_EQ(boxen.Shown().last().text, "Wollen Sie diese Rasse wirklich löschen?");
    EXPECT_EQ(Spalte(rassen, "Bezeichnung"), QStringList({"Holstein-Schwarzbunt"}));
    boxen.Window<TfrmRasse>([](TfrmRasse& d) {
        ASSERT_TRUE(ZeileWaehlen(d.Gitter(), "Braunvieh"));
        Klick(d.OkKnopf());
    });
    Klick(Knopf<QPushButton>(*w, "RasseHinzu"));
    EXPECT_EQ(boxen.PendingWindows(), 0);
    EXPECT_EQ(Spalte(rassen, "Bezeichnung"), QStringList({"Holstein-Schwarzbunt", "Braunvieh"}));
    Bildschirmfoto(*w, "Einrichtung-4-Rassen.png");
    Weiter(*w);

    // Holdings: the one there gets its name and number, a second one is added.
    ASSERT_EQ(w->currentId(), TfrmHaupt::Betriebsgruppen);
    auto* gruppen = Feld<TZRcxGridDBTableView>(*w, "BetriebsgruppenView");
    EXPECT_EQ(Spalte(gruppen, "Bezeichnung"), QStringList({"Betrieb"}));
    boxen.Window<TfrmBetriebsgruppe>([](TfrmBetriebsgruppe& d) {
        Tippen(d.BezeichnungEdit(), "Hof Sonnenberg");
        Tippen(d.NummerEdit(), "276091234567890");
        Klick(d.OkKnopf());
    });
    Klick(Knopf<QPushButton>(*w, "GruppeBearbeiten"));
    boxen.Window<TfrmBetriebsgruppe>([](TfrmBetriebsgruppe& d) {
        EXPECT_TRUE(d.GVBox()->isChecked());
        Tippen(d.BezeichnungEdit(), "Weide Nord");
        Klick(d.OkKnopf());
    });
    Klick(Knopf<QPushButton>(*w, "GruppeHinzu"));
    EXPECT_EQ(boxen.PendingWindows(), 0);
    EXPECT_EQ(Spalte(gruppen, "Bezeichnung"), QStringList({"Hof Sonnenberg", "Weide Nord"}));
    Bildschirmfoto(*w, "Einrichtung-5-Betriebsgruppen.png");
    Weiter(*w);

    // Premises: a second one for the current holding; new ones are not the standard.
    ASSERT_EQ(w->currentId(), TfrmHaupt::Betriebsstaetten);
    auto* staetten = Feld<TZRcxGridDBTableView>(*w, "BetriebsstaettenView");
    EXPECT_EQ(Spalte(staetten, "Bezeichnung"), QStringList({"Stall"}));
    boxen.Window<TfrmBetriebsstaette>([](TfrmBetriebsstaette& d) {
        EXPECT_FALSE(d.StandardBox()->isChecked());
        Tippen(d.BezeichnungEdit(), "Jungviehstall");
        Klick(d.OkKnopf());
    });
    Klick(Knopf<QPushButton>(*w, "BetriebNeu"));
    EXPECT_EQ(boxen.PendingWindows(), 0);
    EXPECT_EQ(Spalte(staetten, "Bezeichnung"), QStringList({"Stall", "Jungviehstall"}));
    Bildschirmfoto(*w, "Einrichtung-6-Betriebsstaetten.png");
    Weiter(*w);

    ASSERT_EQ(w->currentId(), TfrmHaupt::Fertig);
    EXPECT_FALSE(w->button(QWizard::CancelButton)->isVisible());
    Bildschirmfoto(*w, "Einrichtung-7-Fertig.png");
    // Nothing is stored before Finish.
    EXPECT_FALSE(QFileInfo::exists(datenordner + "Bovantis.ini"));
    EXPECT_EQ(Wert(datei, "SELECT COUNT(*) FROM T_BETRIEBSGRUPPEN"), "1");

    Klick(w->button(QWizard::FinishButton));
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(TIniDatei(datenordner + "Bovantis.ini").Lesen("Datenbank", "Name"), datei);
    w.reset();

    // The main program opens it with the farm data entered.
    TProgInit prog(ProgrammUmgebung());
    ASSERT_TRUE(prog.InitProgramm());
    ASSERT_TRUE(prog.HauptfensterErzeugen());
    ASSERT_TRUE(prog.InitProgramm2());
    ASSERT_TRUE(DM()->Verbunden());
    EXPECT_EQ(DM()->Datenbank.Params().Name, datei);
    EXPECT_EQ(Einstellungen()->RassenVerwendet(),
              QStringList({"01=Holstein-Schwarzbunt", "10=Braunvieh"}));
    {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        QStringList gruppenNamen;
        DM()->SQLListe(tr,
                       "SELECT BEZEICHNUNG || '/' || COALESCE(NUMMER, '') FROM "
                       "T_BETRIEBSGRUPPEN ORDER BY ID",
                       {}, 0, gruppenNamen);
        EXPECT_EQ(gruppenNamen, QStringList({"Hof Sonnenberg/276091234567890", "Weide Nord/"}));
        QStringList staettenNamen;
        DM()->SQLListe(tr,
                       "SELECT BEZEICHNUNG || '/' || STANDARD FROM T_BETRIEBSSTAETTEN "
                       "ORDER BY ID",
                       {}, 0, staettenNamen);
        EXPECT_EQ(staettenNamen, QStringList({"Stall/T", "Jungviehstall/F"}));
        tr.Commit();
    }
    prog.DeInitProgramm(false);
    EXPECT_EQ(boxen.Pending(), 0);
}

TEST_F(EinrichtungTest, ChangingTheDatabaseWarnsBeforeTheFarmDataEnteredAreDiscarded)
{
    // Database A, named in the INI file, and B, a database without breeds, holdings or premises.
    const QString a = tmp.path() + "/a.fdb";
    const QString b = tmp.path() + "/b.fdb";
    {
        TestDatabase vorlage;
        vorlage.Db().Close();
        ASSERT_TRUE(QFile::copy(vorlage.Path(), a));
        ASSERT_TRUE(QFile::copy(vorlage.Path(), b));
        db::Database d;
        d.Open(TestDatabase::Params(b));
        db::Transaction tr(d);
        tr.Start();
        db::Query(tr, "UPDATE T_RASSEN SET VERWENDET = 'F'").Execute();
        db::Query(tr, "DELETE FROM T_BETRIEBSSTAETTEN").Execute();
        db::Query(tr, "DELETE FROM T_BETRIEBSGRUPPEN").Execute();
        tr.Commit();
    }
    ASSERT_TRUE(QDir().mkpath(datenordner));
    TIniDatei(datenordner + "Bovantis.ini").Schreiben("Datenbank", "Name", a);

    MessageBoxScript boxen;
    TfrmHaupt w(platform::programFolder());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    Weiter(w);
    Weiter(w);
    ASSERT_EQ(w.currentId(), TfrmHaupt::Datenbankverbindung);
    EXPECT_EQ(Feld<QLineEdit>(w, "DBRechner")->text(), "");
    EXPECT_EQ(Feld<QLineEdit>(w, "DBDatei")->text(), a);
    Weiter(w);
    Weiter(w);
    ASSERT_EQ(w.currentId(), TfrmHaupt::Betriebsgruppen);
    boxen.Window<TfrmBetriebsgruppe>([](TfrmBetriebsgruppe& d) {
        Tippen(d.BezeichnungEdit(), "Hof Ost");
        Klick(d.OkKnopf());
    });
    Klick(Knopf<QPushButton>(w, "GruppeHinzu"));
    auto* gruppen = Feld<TZRcxGridDBTableView>(w, "BetriebsgruppenView");
    EXPECT_EQ(Spalte(gruppen, "Bezeichnung"), QStringList({"Betrieb", "Hof Ost"}));

    // Back to the database, and another one: the user is warned first; "Nein" keeps everything.
    Zurueck(w);
    Zurueck(w);
    ASSERT_EQ(w.currentId(), TfrmHaupt::Datenbankverbindung);
    Tippen(Feld<QLineEdit>(w, "DBDatei"), b);
    boxen.AnswerWith(Tools::mrNo);
    Weiter(w);
    EXPECT_EQ(w.currentId(), TfrmHaupt::Datenbankverbindung);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.startsWith("Sie haben eine andere Datenbank angegeben."));
    EXPECT_TRUE(boxen.Shown()[0].text.contains("gehen verloren"));
    EXPECT_EQ(w.Daten().Betriebsgruppen().RecordCount(), 2) << "the entries were kept";

    // "Ja": the entries on A are dropped. B has no breed in use: the breed dialog comes at once;
    // cancelled, Next refuses.
    boxen.AnswerWith(Tools::mrYes);
    boxen.Window<TfrmRasse>([](TfrmRasse& d) { Klick(d.AbbrechenKnopf()); });
    Weiter(w);
    ASSERT_EQ(w.currentId(), TfrmHaupt::Rassen);
    QTRY_COMPARE(boxen.PendingWindows(), 0);
    auto* rassen = Feld<TZRcxGridDBTableView>(w, "RassenView");
    EXPECT_EQ(rassen->model()->rowCount(), 0);
    EXPECT_EQ(rassen->Leertext(), "< Keine Rassen vorhanden >");
    Bildschirmfoto(w, "Einrichtung-4-Rassen-leer.png");
    boxen.AnswerWith(Tools::mrOk);
    Weiter(w);
    EXPECT_EQ(w.currentId(), TfrmHaupt::Rassen);
    EXPECT_EQ(boxen.Shown().last().text, "Es muß mindestens eine Rasse aktiviert sein.");
    EXPECT_EQ(Wert(a, "SELECT COUNT(*) FROM T_BETRIEBSGRUPPEN"), "1");

    boxen.Window<TfrmRasse>([](TfrmRasse& d) {
        ASSERT_TRUE(ZeileWaehlen(d.Gitter(), "Fleckvieh"));
        Klick(d.OkKnopf());
    });
    Klick(Knopf<QPushButton>(w, "RasseHinzu"));
    // No holding yet: its dialog comes at once.
    boxen.Window<TfrmBetriebsgruppe>([](TfrmBetriebsgruppe& d) {
        Tippen(d.BezeichnungEdit(), "Neuhof");
        Klick(d.OkKnopf());
    });
    Weiter(w);
    ASSERT_EQ(w.currentId(), TfrmHaupt::Betriebsgruppen);
    QTRY_COMPARE(boxen.PendingWindows(), 0);
    EXPECT_EQ(Spalte(gruppen, "Bezeichnung"), QStringList({"Neuhof"}));
    // The farm's first premises is proposed as the standard "Stall".
    boxen.Window<TfrmBetriebsstaette>([](TfrmBetriebsstaette& d) {
        EXPECT_EQ(d.BezeichnungEdit()->text(), "Stall");
        EXPECT_TRUE(d.StandardBox()->isChecked());
        EXPECT_EQ(d.GruppeAuswahl()->currentText(), "Neuhof");
        Klick(d.OkKnopf());
    });
    Weiter(w);
    ASSERT_EQ(w.currentId(), TfrmHaupt::Betriebsstaetten);
    QTRY_COMPARE(boxen.PendingWindows(), 0);
    EXPECT_EQ(Spalte(Feld<TZRcxGridDBTableView>(w, "BetriebsstaettenView"), "Bezeichnung"),
              QStringList({"Stall"}));

    // Cancel after changes asks the longer question; "Ja" ends without storing anything.
    boxen.AnswerWith(Tools::mrYes);
    Klick(w.button(QWizard::CancelButton));
    EXPECT_EQ(boxen.Shown().last().text,
              "Die geänderten Einstellungen wurden noch nicht gespeichert.\rSoll trotzdem der "
              "Einrichtungsassistent beendet werden?");
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_EQ(TIniDatei(datenordner + "Bovantis.ini").Lesen("Datenbank", "Name"), a);
    EXPECT_EQ(Wert(a, "SELECT COUNT(*) FROM T_BETRIEBSGRUPPEN"), "1");
    EXPECT_EQ(Wert(b, "SELECT COUNT(*) FROM T_BETRIEBSGRUPPEN"), "0");
    EXPECT_EQ(Wert(b, "SELECT COUNT(*) FROM T_RASSEN WHERE VERWENDET = 'T'"), "0");
    EXPECT_EQ(boxen.Pending(), 0);
}
