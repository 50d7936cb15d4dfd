#include "EinrichtungTestHilfe.h"
#include "FirebirdTestServer.h"

#include <FDBTests.h>

#include <Betriebsgruppe.h>
#include <DBConnect.h>
#include <IniDatei.h>
#include <Rasse.h>

#include <DBZRBaseEdit.h>
#include <Icmp.h>
#include <Bildschirmfoto.h>
#include <SystemInfo.h>
#include <TestDatabase.h>

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>

using Einrichtung::TfrmDBTests;
using Einrichtung::TfrmHaupt;

TEST_F(EinrichtungTest, ADatabaseOnAServerIsSetUpAndOpenedByTheMainProgram)
{
    FirebirdTestServer server;
    if (!server.Laeuft())
        GTEST_SKIP() << "Kein Datenbank-Server für den Test: " << server.Grund().toStdString();
    // The server's database exists with the program's user, as the server's installation left
    // it; the wizard makes neither.
    const QString datei = server.Ordner() + "/herde.fdb";
    {
        TestDatabase vorlage;
        vorlage.Db().Close();
        ASSERT_TRUE(QFile::copy(vorlage.Path(), datei));
    }
    ProgrammbenutzerPruefen(server.Name(datei), FirebirdTestServer::AdminPasswort);
    const QString rechner = QStringLiteral("127.0.0.1/%1").arg(server.Port());

    MessageBoxScript boxen;
    auto w = std::make_unique<TfrmHaupt>(platform::programFolder());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    Weiter(*w);
    Weiter(*w);
    ASSERT_EQ(w->currentId(), TfrmHaupt::Datenbankverbindung);
    Tippen(Feld<QLineEdit>(*w, "DBRechner"), rechner);
    Tippen(Feld<QLineEdit>(*w, "DBDatei"), datei);

    // The connection test goes through the server.
    boxen.Window<TfrmDBTests>(
        [&](TfrmDBTests& d) {
            EXPECT_EQ(d.Memo()->toPlainText(), "Datenbank: " + server.Name(datei) +
                                                   "\nVerbinde\nVerbunden\nTrennen\nGetrennt\n\n"
                                                   "Test erfolgreich");
            EXPECT_TRUE(d.Ergebnis());
            Bildschirmfoto(d, "Einrichtung-Verbindungstest.png");
            Klick(d.SchliessenKnopf());
        },
        [](TfrmDBTests& d) { return d.Gelaufen() && d.SchliessenKnopf()->isEnabled(); });
    Klick(Knopf<QPushButton>(*w, "TestDB"));
    EXPECT_EQ(boxen.PendingWindows(), 0);
    // The server's machine answers the ping (its port is no part of the address).
    if (platform::IcmpEcho::available(platform::IcmpEcho::Method::Automatic)) {
        boxen.Window<TfrmDBTests>(
            [](TfrmDBTests& d) {
                EXPECT_TRUE(d.Memo()->toPlainText().startsWith("Antwort von 127.0.0.1: "));
                EXPECT_TRUE(d.Ergebnis());
                Klick(d.SchliessenKnopf());
            },
            [](TfrmDBTests& d) { return d.Gelaufen() && d.SchliessenKnopf()->isEnabled(); });
        Klick(Knopf<QPushButton>(*w, "TestErreichbar"));
        EXPECT_EQ(boxen.PendingWindows(), 0);
    }

    Weiter(*w);
    ASSERT_EQ(w->currentId(), TfrmHaupt::Rassen);
    boxen.Window<TfrmRasse>([](TfrmRasse& d) {
        ASSERT_TRUE(ZeileWaehlen(d.Gitter(), "Rotvieh"));
        Klick(d.OkKnopf());
    });
    Klick(Knopf<QPushButton>(*w, "RasseHinzu"));
    Weiter(*w);
    ASSERT_EQ(w->currentId(), TfrmHaupt::Betriebsgruppen);
    boxen.Window<TfrmBetriebsgruppe>([](TfrmBetriebsgruppe& d) {
        Tippen(d.BezeichnungEdit(), "Hof am Server");
        Klick(d.OkKnopf());
    });
    Klick(Knopf<QPushButton>(*w, "GruppeHinzu"));
    EXPECT_EQ(boxen.PendingWindows(), 0);
    Weiter(*w);
    Weiter(*w);
    ASSERT_EQ(w->currentId(), TfrmHaupt::Fertig);
    Klick(w->button(QWizard::FinishButton));
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(TIniDatei(datenordner + "Bovantis.ini").Lesen("Datenbank", "Name"),
              rechner + ":" + datei);
    w.reset();

    TProgInit prog(ProgrammUmgebung());
    ASSERT_TRUE(prog.InitProgramm());
    ASSERT_TRUE(prog.HauptfensterErzeugen());
    ASSERT_TRUE(prog.InitProgramm2());
    ASSERT_TRUE(DM()->Verbunden());
    EXPECT_EQ(DM()->Datenbank.Params().Name, server.Name(datei));
    EXPECT_TRUE(Einstellungen()->RassenVerwendet().contains("03=Rotvieh"));
    {
        db::Transaction tr(DM()->Datenbank);
        tr.Start();
        EXPECT_EQ(
            DM()->SQLWertInteger(
                tr, "SELECT COUNT(*) FROM T_BETRIEBSGRUPPEN WHERE BEZEICHNUNG = 'Hof am Server'"),
            1);
        tr.Commit();
    }
    prog.DeInitProgramm(false);
    EXPECT_EQ(boxen.Pending(), 0);
}
