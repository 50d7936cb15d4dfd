#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <Aktionsnamen.h>
#include <Haupt.h>
#include <HauptModell.h>
#include <KernAktionen.h>
#include <ProgDatum.h>

#include <DbugIntf.h>
#include <Hilfe.h>
#include <Query.h>
#include <Transaction.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using HauptModell::Symbolleistenelement;

TEST(HauptModellTest, StoredListLines)
{
    const auto e = HauptModell::ListenEintraege({"7;3;Trockensteher", "12;;Kälber; jung", "5;x;A"});
    ASSERT_EQ(e.size(), 3);
    EXPECT_EQ(e[0].id, 7);
    EXPECT_EQ(e[0].symbol, 3);
    EXPECT_EQ(e[0].bezeichnung, "Trockensteher");
    EXPECT_EQ(e[1].symbol, -1);
    EXPECT_EQ(e[1].bezeichnung, "Kälber; jung");
    EXPECT_EQ(e[2].symbol, -1);
}

TEST(HauptModellTest, ToolbarHeadListsAndTailWithTheirPositions)
{
    const auto leiste = HauptModell::Symbolleiste({"7;3;Trockensteher", "9;5;Brunst"});
    ASSERT_EQ(leiste.size(), HauptModell::KopfAnzahl + 2 + 7);
    // The head: five buttons, separator, print, separator, list choice, separator, appointments.
    const QStringList kopf = {"actStammdatenBearbeiten",
                              "actMLPBearbeiten",
                              "actMLPImport",
                              "actMilchanlieferung",
                              "actHITMeldung",
                              "",
                              "actDrucken",
                              "",
                              "actListenAuswahl",
                              "",
                              "actListenTermine"};
    const int xKopf[] = {4, 40, 76, 112, 148, 184, 194, 230, 240, 276, 286};
    for (int i = 0; i < HauptModell::KopfAnzahl; ++i) {
        EXPECT_EQ(leiste[i].aktion, kopf[i]) << i;
        EXPECT_EQ(leiste[i].art == Symbolleistenelement::Trenner, kopf[i].isEmpty()) << i;
        EXPECT_EQ(leiste[i].x, xKopf[i]) << i;
    }
    EXPECT_EQ(leiste[11].art, Symbolleistenelement::Liste);
    EXPECT_EQ(leiste[11].liste.id, 7);
    EXPECT_EQ(leiste[11].x, 322);
    EXPECT_EQ(leiste[12].liste.id, 9);
    EXPECT_EQ(leiste[12].x, 358);
    EXPECT_EQ(leiste[13].art, Symbolleistenelement::Trenner);
    EXPECT_EQ(leiste[13].x, 394);
    EXPECT_EQ(leiste[14].aktion, "actMilchanlieferungStatistik");
    EXPECT_EQ(leiste[14].x, 404);
    EXPECT_EQ(leiste.last().aktion, "actBetriebsstaetteAuswahl");
    EXPECT_EQ(leiste.last().x, 404 + 4 * 36 + 10);
}

TEST(HauptModellTest, TimerStatusColourAndCloseRules)
{
    EXPECT_EQ(HauptModell::MitternachtIntervall(QTime(23, 59, 55)), 15000);
    EXPECT_EQ(HauptModell::MitternachtIntervall(QTime(0, 0, 0)), 86410000);
    EXPECT_EQ(HauptModell::MitternachtIntervall(QTime(12, 0, 0, 999)), 43210000);

    EXPECT_EQ(HauptModell::Hinweistext("Neue Tiere", 5), " Neue Tiere");
    EXPECT_EQ(HauptModell::Hinweistext("  ", 5), " 5 Einträge in der Liste");
    EXPECT_EQ(HauptModell::Hinweistext("", 0), " ");

    EXPECT_EQ(HauptModell::Listenfarbe(6), QColor(0xFF, 0xC8, 0x91));
    EXPECT_EQ(HauptModell::Listenfarbe(20), QColor(0xFF, 0x99, 0x33));
    EXPECT_EQ(HauptModell::Listenfarbe(-2), QColor(0xFF, 0xFF, 0xFF));

    using HauptModell::Schliessen;
    const struct {
        bool update;
        bool fragen;
        int offen;
        Schliessen ergebnis;
    } faelle[] = {{false, true, 2, Schliessen::Fragen},
                  {false, true, 0, Schliessen::Erlaubt},
                  {false, false, 2, Schliessen::Erlaubt},
                  {true, true, 2, Schliessen::Erlaubt}};
    for (const auto& f : faelle)
        EXPECT_EQ(HauptModell::MeldungenPruefen(f.update, f.fragen, f.offen), f.ergebnis)
            << f.update << f.fragen << f.offen;
}

namespace {

// A list window as later windows will be: a row count, print and export.
class Listenfenster : public QWidget, public TListenFensterSchnittstelle {
public:
    int anzahl = 7;
    int gedruckt = 0;
    int GetAnzahl() const override { return anzahl; }
    void Drucken() override { ++gedruckt; }
    void Exportieren() override {}
};

class Zeilen : public DbugIntf::TDebugViewer {
public:
    QStringList zeilen;
    void Line(Tools::TMsgDlgType, const QString&, const QString& text) override { zeilen << text; }
    void Clear() override { zeilen.clear(); }
};

class HauptfensterTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(daten.isValid());
        Ausfuehren("DELETE FROM T_LISTEN WHERE ID > 0; DELETE FROM T_HITMELDUNGEN;");
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        DM()->Datenbank.Open(TestDatabase::Params(Suite().Path()));
        fenster = std::make_unique<TfrmHaupt>();
        fenster->resize(1000, 600);
    }
    void TearDown() override
    {
        fenster.reset();
        ProgDatum::HeuteSetzen(QDate());
        EinstellungenFreigeben();
        DMFreigeben();
    }

    static void Ausfuehren(const QString& sql)
    {
        db::Transaction tr(Db());
        tr.Start();
        for (const QString& s : sql.split(';', Qt::SkipEmptyParts))
            if (!s.trimmed().isEmpty())
                db::Query(tr, s).Execute();
        tr.Commit();
    }

    QStringList Listeneintraege() const
    {
        QStringList r;
        for (QAction* a : fenster->MenueListen()->actions())
            r << (a->isSeparator() ? "-" : a->text());
        return r;
    }

    QList<QWidget*> Leiste() const
    {
        QList<QWidget*> r;
        for (QObject* o : fenster->Panel1()->children())
            if (auto* w = qobject_cast<QWidget*>(o); w && w->objectName() != "Image1")
                r << w;
        return r;
    }

    QTemporaryDir daten;
    ScopedEnv datenHome{"XDG_DATA_HOME", daten.path().toLocal8Bit()};
    std::unique_ptr<TfrmHaupt> fenster;
};

}  // namespace

TEST_F(HauptfensterTest, MenusAndToolbarComeFromTheActionsAndTheStoredLists)
{
    Ausfuehren(
        "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, MENUE, MENUE_REIHUNG, SYMBOL, SYMBOL_REIHUNG) "
        "VALUES (21, 'Trockensteher', 'T', 2, 3, 1);"
        "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, MENUE, MENUE_REIHUNG) "
        "VALUES (22, 'Abkalbungen', 'T', 1);"
        "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, MENUE) VALUES (23, 'Nur so', 'F')");
    QStringList menues;
    for (QAction* a : fenster->menuBar()->actions())
        menues << a->text();
    EXPECT_EQ(menues,
              (QStringList{"&Datei", "Listen", "S&tatistik", "&Setup", "&Fenster", "&Hilfe"}));

    fenster->ErzeugeListenMenue();
    const QStringList fest = {"Auswahl",
                              "Exportieren",
                              "Betriebsstätte auswählen",
                              "-",
                              "Termine",
                              "Kraftfutterliste",
                              "Ereignisliste",
                              "Kalbe-Journal",
                              "Bestandsliste (Parameter)",
                              "Viehverzeichnis",
                              "Bestandsbuch",
                              "Gesendete HIT Meldungen",
                              "Gesendete Besamungsmeldungen",
                              "Erledigte Termine",
                              "-"};
    EXPECT_EQ(Listeneintraege(), fest + QStringList({"Abkalbungen", "Trockensteher"}));

    const QList<QWidget*> erst = Leiste();
    ASSERT_EQ(erst.size(), HauptModell::KopfAnzahl + 1 + 7);
    const auto* liste21 = fenster->Panel1()->findChild<QToolButton*>("btnListe21");
    ASSERT_NE(liste21, nullptr);
    EXPECT_EQ(liste21->geometry(), QRect(322, 2, 36, 36));
    EXPECT_EQ(liste21->toolTip(), "Trockensteher");
    const auto* drucken = fenster->Panel1()->findChild<QToolButton*>("btn_actDrucken");
    ASSERT_NE(drucken, nullptr);
    EXPECT_EQ(drucken->defaultAction(), fenster->Aktion("actDrucken"));
    EXPECT_EQ(drucken->geometry().topLeft(), QPoint(194, 2));

    // A list gains a symbol: the head stays as it was, the new button comes after "Termine".
    Ausfuehren("UPDATE T_LISTEN SET SYMBOL = 8, SYMBOL_REIHUNG = 0 WHERE ID = 22");
    fenster->ErzeugeListenMenue();
    const QList<QWidget*> danach = Leiste();
    ASSERT_EQ(danach.size(), erst.size() + 1);
    for (int i = 0; i < HauptModell::KopfAnzahl; ++i)
        EXPECT_EQ(danach[i], erst[i]) << i;
    const auto* liste22 = fenster->Panel1()->findChild<QToolButton*>("btnListe22");
    ASSERT_NE(liste22, nullptr);
    EXPECT_EQ(liste22->x(), 322);
    EXPECT_EQ(fenster->Panel1()->findChild<QToolButton*>("btnListe21")->x(), 358);
    EXPECT_EQ(fenster->Panel1()->findChild<QToolButton*>("btn_actMilchanlieferungStatistik")->x(),
              404);
    EXPECT_EQ(Listeneintraege(), fest + QStringList({"Abkalbungen", "Trockensteher"}));
}

TEST_F(HauptfensterTest, DatabaseActionsFollowTheConnectionAndUnbuiltOnesSaySo)
{
    int neu = 0;
    int ruecksicherung = 0;
    fenster->Verbinden("actStammdatenNeu", [&] { ++neu; });
    fenster->Verbinden("actDatenruecksicherung", [&] { ++ruecksicherung; });
    QAction* stammdaten = fenster->Aktion("actStammdatenNeu");
    QAction* ruecksichern = fenster->Aktion("actDatenruecksicherung");
    QAction* bullen = fenster->Aktion("actBullenStammdaten");
    EXPECT_TRUE(stammdaten->isEnabled());
    EXPECT_TRUE(ruecksichern->isEnabled());
    EXPECT_FALSE(bullen->isEnabled());
    EXPECT_EQ(bullen->statusTip(), TfrmHaupt::NichtVerfuegbar);
    EXPECT_EQ(stammdaten->statusTip(), "Neue Tiere");
    EXPECT_TRUE(fenster->Aktion("actBeenden")->isEnabled());
    EXPECT_TRUE(fenster->Aktion("actFensterCascade")->isEnabled());

    stammdaten->trigger();
    EXPECT_EQ(neu, 1);

    DM()->Datenbank.Close();
    fenster->AktionenAktualisieren();
    EXPECT_FALSE(stammdaten->isEnabled());
    EXPECT_TRUE(ruecksichern->isEnabled());

    // After a failed restore the data module is gone: nothing touches it, and the restore can
    // be tried again.
    EinstellungenFreigeben();
    DMFreigeben();
    fenster->AktionenAktualisieren();
    fenster->ZeigeHinweis();
    fenster->AktBetriebListeChange();
    EXPECT_FALSE(stammdaten->isEnabled());
    EXPECT_TRUE(ruecksichern->isEnabled());
    ruecksichern->trigger();
    EXPECT_EQ(ruecksicherung, 1);
}

TEST_F(HauptfensterTest, EveryActionIsConnectedOrSaysThatItIsNotInThisVersion)
{
    QString updateDatei;
    AlleAktionenVerbinden(*fenster, updateDatei);
    const QStringList nicht = Aktion::NichtInDieserVersion();
    int aktionen = 0;
    for (const QAction* a : fenster->findChildren<QAction*>()) {
        if (!a->property("Kategorie").isValid())
            continue;
        ++aktionen;
        const bool verbunden = a->statusTip() != TShell::NichtVerfuegbar;
        EXPECT_NE(verbunden, nicht.contains(a->objectName())) << a->objectName().toStdString();
        if (!verbunden) {
            EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
        }
    }
    EXPECT_GT(aktionen, nicht.size());
    for (const QString& name : nicht)
        EXPECT_NO_THROW(fenster->Aktion(name)) << name.toStdString();
}

TEST_F(HauptfensterTest, StatusBarPrintAndExportFollowTheActiveWindow)
{
    ProgDatum::HeuteSetzen(QDate(2026, 12, 10));
    fenster->DatumAnzeigen();
    EXPECT_EQ(fenster->Statusfeld(2)->text(), "Donnerstag, 10.12.2026");
    EXPECT_TRUE(fenster->Timer1()->isActive());
    EXPECT_GT(fenster->Timer1()->interval(), 0);
    EXPECT_LE(fenster->Timer1()->interval(), 86410000);
    EXPECT_EQ(fenster->Statusfeld(0)->width(), 325);

    Ausfuehren("INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (41, 'Weide', 1)");
    Einstellungen()->SetAktBetriebListen(41);
    EXPECT_EQ(fenster->Statusfeld(1)->text(), "Weide");

    fenster->ZeigeHinweis("Tiere bearbeiten");
    EXPECT_EQ(fenster->Statusfeld(0)->text(), " Tiere bearbeiten");
    EXPECT_FALSE(fenster->Aktion("actDrucken")->isEnabled());

    auto* liste = new Listenfenster;
    QMdiSubWindow* kind = fenster->MdiArea()->addSubWindow(liste);
    fenster->show();
    kind->show();
    fenster->MdiArea()->setActiveSubWindow(kind);
    fenster->ZeigeHinweis();
    EXPECT_EQ(fenster->Statusfeld(0)->text(), " 7 Einträge in der Liste");
    fenster->AktionenAktualisieren();
    EXPECT_TRUE(fenster->Aktion("actDrucken")->isEnabled());
    EXPECT_TRUE(fenster->Aktion("actListenExportieren")->isEnabled());
    fenster->Aktion("actDrucken")->trigger();
    EXPECT_EQ(liste->gedruckt, 1);

    // Help of the active window, or of the main window without one.
    QList<int> hilfe;
    Tools::SetHilfeSystem([&](int kontext) {
        hilfe << kontext;
        return true;
    });
    liste->setProperty("HelpContext", 1234);
    fenster->Aktion("actHilfeHilfe")->trigger();
    fenster->SchliesseAlleFenster();
    fenster->Aktion("actHilfeHilfe")->trigger();
    Tools::SetHilfeSystem({});
    EXPECT_EQ(hilfe, (QList<int>{1234, TfrmHaupt::HilfeKontext}));
    fenster->AktionenAktualisieren();
    EXPECT_FALSE(fenster->Aktion("actDrucken")->isEnabled());
}

TEST_F(HauptfensterTest, AnExceptionFromAnActionIsTracedShownAndTheProgramGoesOn)
{
    auto zeilen = std::make_shared<Zeilen>();
    DbugIntf::SetDebugViewer(zeilen);
    fenster->Verbinden("actHilfeInfo", [] { throw std::runtime_error("Kuh nicht gefunden"); });
    int weiter = 0;
    fenster->Verbinden("actHilfeInhalt", [&] { ++weiter; });
    MessageBoxScript script;
    script.AnswerWith(Tools::mrOk);
    fenster->Aktion("actHilfeInfo")->trigger();
    fenster->Aktion("actHilfeInhalt")->trigger();
    DbugIntf::SetDebugViewer(nullptr);

    ASSERT_EQ(script.Shown().size(), 1);
    EXPECT_EQ(script.Shown()[0].text, "Kuh nicht gefunden");
    EXPECT_EQ(script.Shown()[0].type, Tools::mtError);
    const QStringList block = {QString(59, '!'),     "", "Exception: std::runtime_error",
                               "Kuh nicht gefunden", "", QString(59, 'x')};
    const qsizetype anfang = zeilen->zeilen.indexOf(QString(59, '!'));
    ASSERT_GE(anfang, 0) << zeilen->zeilen.join('\n').toStdString();
    EXPECT_EQ(zeilen->zeilen.mid(anfang, block.size()), block);
    EXPECT_EQ(weiter, 1);
}

TEST_F(HauptfensterTest, CloseAsksAboutUnsentReports)
{
    int hitMeldung = 0;
    fenster->Verbinden("actHITMeldung", [&] { ++hitMeldung; });
    Ausfuehren(
        "INSERT INTO T_HITMELDUNGEN (ID, MELDUNG) VALUES (1, 1);"
        "INSERT INTO T_HITMELDUNGEN (ID, MELDUNG) VALUES (2, 4)");
    fenster->show();
    {
        MessageBoxScript script;
        script.AnswerWith(Tools::mrYes);
        EXPECT_FALSE(fenster->close());
        ASSERT_EQ(script.Shown().size(), 1);
        EXPECT_TRUE(script.Shown()[0].text.startsWith("Es sind noch Meldungen an HI - Tier"));
        EXPECT_EQ(hitMeldung, 1);
        EXPECT_TRUE(fenster->isVisible());
    }
    {
        MessageBoxScript script;
        script.AnswerWith(Tools::mrNo);
        EXPECT_TRUE(fenster->close());
        EXPECT_EQ(script.Shown().size(), 1);
    }
    // Not asked when switched off, or when an installer waits for the end.
    fenster->show();
    const auto fragen = [](bool an) {
        Einstellungen()->Bearbeiten();
        Einstellungen()->SetHITFrageProgrammEnde(an);
        Einstellungen()->Speichern();
    };
    fragen(false);
    {
        MessageBoxScript script;
        EXPECT_TRUE(fenster->close());
        EXPECT_TRUE(script.Shown().isEmpty());
    }
    fragen(true);
    fenster->SetUpdateDatei([] { return QString("/tmp/setup.run"); });
    fenster->show();
    {
        MessageBoxScript script;
        EXPECT_TRUE(fenster->close());
        EXPECT_TRUE(script.Shown().isEmpty());
    }
    EXPECT_EQ(hitMeldung, 1);
}

TEST_F(HauptfensterTest, RestorePreparationClosesTheWindowsOnlyWhenTheUserAgrees)
{
    EXPECT_TRUE(fenster->RuecksicherungVorbereiten());
    fenster->MdiArea()->addSubWindow(new Listenfenster)->show();
    fenster->MdiArea()->addSubWindow(new Listenfenster)->show();
    {
        MessageBoxScript script;
        script.AnswerWith(Tools::mrNo);
        EXPECT_FALSE(fenster->RuecksicherungVorbereiten());
        EXPECT_EQ(fenster->MdiArea()->subWindowList().size(), 2);
    }
    MessageBoxScript script;
    script.AnswerWith(Tools::mrYes);
    EXPECT_TRUE(fenster->RuecksicherungVorbereiten());
    EXPECT_TRUE(fenster->MdiArea()->subWindowList().isEmpty());
}

TEST_F(HauptfensterTest, ScreenshotOfTheMainWindow)
{
    Ausfuehren(
        "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, MENUE, MENUE_REIHUNG, SYMBOL, SYMBOL_REIHUNG) "
        "VALUES (21, 'Trockensteher', 'T', 1, 9, 1)");
    ProgDatum::HeuteSetzen(QDate(2026, 12, 10));
    fenster->ErzeugeListenMenue();
    fenster->DatumAnzeigen();
    fenster->setWindowState(Qt::WindowNoState);
    fenster->resize(1000, 500);
    fenster->show();
    fenster->ZeigeHinweis("Bearbeiten");
    QApplication::processEvents();
    Bildschirmfoto(*fenster, "hauptfenster.png");
    EXPECT_EQ(QImage(Bildschirmfotoordner() + "/hauptfenster.png").width(), fenster->width());
}

TEST_F(HauptfensterTest, PremisesChangeAndDeletionRunTheirFlows)
{
    Ausfuehren(
        "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (51, 'Stall A', 1);"
        "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (52, 'Stall B', 1)");
    int tier = 0;
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr,
                    "INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) "
                    "VALUES ('DE 09 555 66666', 'Lotte', DATE '2021-02-03', 'W', 1) RETURNING ID");
        q.Execute();
        tier = q.Field(0).AsInteger();
        db::Query stall(
            tr, "INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (:T, DATE '2021-02-03', 51)");
        stall.Param("T").SetInteger(tier);
        stall.Execute();
        tr.Commit();
    }
    const auto staelle = [&] {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr,
                    "SELECT LIST(STALL, ',') FROM (SELECT STALL FROM T_STAELLE WHERE TIER = :T "
                    "ORDER BY VON, STALL)");
        q.Param("T").SetInteger(tier);
        q.Open();
        return q.Field(0).AsString();
    };
    const auto waehlen = [&] { return QList<int>{tier}; };
    const auto keine = [] { return QList<int>{}; };

    MessageBoxScript script;
    int gefragt = 0;
    fenster->BetriebWechsel(keine, [&](QDate&, int&) { return ++gefragt, true; });
    fenster->BetriebWechsel(waehlen, [&](QDate&, int&) { return ++gefragt, false; });
    EXPECT_EQ(gefragt, 1);
    EXPECT_TRUE(script.Shown().isEmpty());
    EXPECT_EQ(staelle(), "51");

    script.AnswerWith(Tools::mrOk);
    fenster->BetriebWechsel(waehlen, [](QDate& datum, int& stall) {
        datum = QDate(2024, 5, 1);
        stall = 52;
        return true;
    });
    ASSERT_EQ(script.Shown().size(), 1);
    EXPECT_EQ(script.Shown()[0].text, "Die Wechsel wurden eingetragen.");
    EXPECT_EQ(staelle(), "51,52");

    const auto vorhanden = [&] {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr, "SELECT COUNT(*) FROM T_STAMMDATEN WHERE ID = :T");
        q.Param("T").SetInteger(tier);
        q.Open();
        return q.Field(0).AsInteger() == 1;
    };
    script.AnswerWith(Tools::mrNo);
    fenster->TierLoeschen(waehlen);
    EXPECT_TRUE(vorhanden());
    script.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    fenster->TierLoeschen(waehlen);
    EXPECT_FALSE(vorhanden());
    ASSERT_EQ(script.Shown().size(), 4);
    EXPECT_TRUE(script.Shown()[1].text.startsWith("Sollen die ausgewählten Tiere wirklich"));
    EXPECT_EQ(script.Shown()[3].text, "Die Tiere wurden gelöscht");
}
