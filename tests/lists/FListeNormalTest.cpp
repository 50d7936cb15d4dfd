#include <FListeNormal.h>
#include <ListenExportDialog.h>

#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <Haupt.h>
#include <KernAktionen.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <Query.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>
#include <Transaction.h>
#include <ZRcxGridDBTableView.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A herd of a few hundred animals in two premises, a stored design over it, and the main window
// that shows it in a list window.
class ListenfensterTest : public DatabaseTest {
public:
    static constexpr int Nord = 21;
    static constexpr int Sued = 22;
    static constexpr int Tiere = 2000;  // every third one stands in Sued
    static constexpr int Liste = 31;
    static constexpr int Symbol = 20;

    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        Ausfuehren(
            {"INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER) VALUES (11, 'Hof', "
             "'276090000000001')",
             "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (21, 'Nord', 11)",
             "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (22, 'Süd', 11)"});
        db::Transaction tr(Db());
        tr.Start();
        db::Query tier(tr,
                       "INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) "
                       "VALUES (:NUMMER, :NAME, :GEBDAT, 'W', 1) RETURNING ID");
        db::Query stall(tr,
                        "INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (:T, DATE "
                        "'2024-01-01', :STALL)");
        for (int i = 1; i <= Tiere; ++i) {
            tier.Param("NUMMER").SetString(
                QStringLiteral("DE 0%1").arg(i, 4, 10, QLatin1Char('0')));
            tier.Param("NAME").SetString(i % 7 ? QStringLiteral("Kuh %1").arg(i) : QString());
            tier.Param("GEBDAT").SetDate(QDate(2018, 1, 1).addDays(i * 5));
            tier.Execute();
            stall.Param("T").SetInteger(tier.Field(0).AsInteger());
            stall.Param("STALL").SetInteger(i % 3 ? Nord : Sued);
            stall.Execute();
        }
        db::Query l(tr,
                    "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, MENUE, MENUE_REIHUNG, SQL, "
                    "SQL_SW, MULTI_LINE_SHORT_BILDSCHIRM, SYMBOL) VALUES (:ID, 'Herde', "
                    "'Herde', 'T', 1, :SQL, :SW, 'T', :SYMBOL)");
        l.Param("SYMBOL").SetInteger(Symbol);
        l.Param("ID").SetInteger(Liste);
        l.Param("SQL").SetString(
            "SELECT Q1.ID AS Q1TIERID, Q1.NUMMER AS Q1NUMMER, Q1.NAME AS Q1NAME, Q1.GEBDAT AS "
            "Q1GEBDAT FROM T_STAMMDATEN Q1 WHERE (#Q1.ID#) ORDER BY Q1.NUMMER");
        l.Param("SW").SetString("SELECT Q1.ID FROM T_STAMMDATEN Q1 WHERE (#Q1.ID#)");
        l.Execute();
        db::Query f(tr,
                    "INSERT INTO T_LISTEN_BILDSCHIRM (ID, LISTE, FELD, BREITE, TITEL, SICHTBAR, "
                    "ZEILE, WERT, AUSRICHTUNG, AUTOBREITE, UEBERSCHRIFT) VALUES (:ID, :LISTE, "
                    ":FELD, :BREITE, :TITEL, :SICHTBAR, :ZEILE, NULL, 'L', 'F', 'F')");
        struct Feld {
            const char* feld;
            int breite;
            const char* titel;
            const char* sichtbar;
            int zeile;
        };
        int id = 1;
        for (const Feld& z :
             {Feld{"Q1.TIERID", 40, "ID", "F", 1}, Feld{"S.N", 40, "Nr.", "T", 1},
              Feld{"Q1.NUMMER", 120, "Nummer", "T", 1}, Feld{"Q1.NAME", 120, "Name", "T", 2},
              Feld{"Q1.GEBDAT", 100, "Geboren", "T", 1}}) {
            f.Param("ID").SetInteger(id++);
            f.Param("LISTE").SetInteger(Liste);
            f.Param("FELD").SetString(z.feld);
            f.Param("BREITE").SetInteger(z.breite);
            f.Param("TITEL").SetString(z.titel);
            f.Param("SICHTBAR").SetString(z.sichtbar);
            f.Param("ZEILE").SetInteger(z.zeile);
            f.Execute();
        }
        tr.Commit();
    }

    static void Ausfuehren(const QStringList& sql)
    {
        db::Transaction tr(Db());
        tr.Start();
        for (const QString& s : sql)
            db::Query(tr, s).Execute();
        tr.Commit();
    }

protected:
    void SetUp() override
    {
        ASSERT_TRUE(daten.isValid());
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        DM()->Datenbank.Open(TestDatabase::Params(Suite().Path()));
        haupt = std::make_unique<TfrmHaupt>();
        ListenfensterVerbinden(*haupt);
        haupt->resize(1000, 650);
        haupt->show();
        haupt->ErzeugeListenMenue();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        FListeNormal::TierkarteZeigen = nullptr;
        haupt.reset();
        EinstellungenFreigeben();
        DMFreigeben();
    }

    // Picks the design in the main window's "Listen" menu, as the user does.
    TfrmListeNormal* UeberMenueOeffnen(int betrieb)
    {
        Einstellungen()->SetAktBetriebListen(betrieb);
        QAction* eintrag = nullptr;
        for (QAction* a : haupt->MenueListen()->actions())
            if (a->text() == "Herde")
                eintrag = a;
        if (!eintrag)
            return nullptr;
        eintrag->trigger();
        QApplication::processEvents();
        return Aktiv();
    }
    TfrmListeNormal* Aktiv() const
    {
        QMdiSubWindow* kind = haupt->MdiArea()->activeSubWindow();
        return kind ? qobject_cast<TfrmListeNormal*>(kind->widget()) : nullptr;
    }
    static int Anzahl(int betrieb)
    {
        return betrieb == Sued ? Tiere / 3 : betrieb == Nord ? Tiere - Tiere / 3 : Tiere;
    }
    static QString Zelle(TfrmListeNormal* f, int zeile, int sichtbar)
    {
        TZRcxGridDBTableView* v = f->Grid()->GetTableView();
        return f->Grid()->Anzeigetext(
            v->model()->index(zeile, v->horizontalHeader()->logicalIndex(sichtbar)));
    }

    QTemporaryDir daten;
    ScopedEnv datenHome{"XDG_DATA_HOME", daten.path().toLocal8Bit()};
    std::unique_ptr<TfrmHaupt> haupt;
};

TEST_F(ListenfensterTest, MenueOeffnetDieListeFuerDieBetriebsstaette)
{
    struct Fall {
        int betrieb;
        QString titel;
    };
    for (const Fall& fall : {Fall{0, "Herde"}, Fall{-1, "Herde"}, Fall{Nord, "Herde - Nord"},
                             Fall{Sued, "Herde - Süd"}}) {
        SCOPED_TRACE(fall.betrieb);
        TfrmListeNormal* f = UeberMenueOeffnen(fall.betrieb);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->windowTitle(), fall.titel);
        // The count follows the first paint.
        EXPECT_TRUE(QTest::qWaitFor([&] { return f->GetAnzahl() == Anzahl(fall.betrieb); }));
        EXPECT_EQ(haupt->Statusfeld(0)->text(),
                  QStringLiteral(" %1 Einträge in der Liste").arg(Anzahl(fall.betrieb)));
        EXPECT_TRUE(f->parentWidget()->isMaximized());
        EXPECT_TRUE(f->SchnellwahlSQL.contains(QStringLiteral("= %1)").arg(fall.betrieb)) ||
                    fall.betrieb <= 0);
        haupt->MdiArea()->closeActiveSubWindow();
        QApplication::processEvents();
    }
    EXPECT_TRUE(haupt->MdiArea()->subWindowList().isEmpty());
}

TEST_F(ListenfensterTest, ZeilenSpaltenUndFoto)
{
    TfrmListeNormal* f = UeberMenueOeffnen(Nord);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(Zelle(f, 0, 0), "1");
    // The stored widths, not the narrow clamp of a grid that had no size yet.
    TZRcxGridDBTableView* v = f->Grid()->GetTableView();
    EXPECT_EQ(v->columnWidth(v->horizontalHeader()->logicalIndex(0)), 40);
    EXPECT_EQ(v->columnWidth(v->horizontalHeader()->logicalIndex(1)), 120);
    EXPECT_EQ(v->columnWidth(v->horizontalHeader()->logicalIndex(2)), 100);
    EXPECT_EQ(Zelle(f, 0, 1), "DE 00001\nKuh 1");
    // Animal 7 has no name: short lines leave the cell one line high.
    int sieben = -1;
    for (int z = 0; z < 10; ++z)
        if (Zelle(f, z, 1).startsWith("DE 00007"))
            sieben = z;
    ASSERT_GE(sieben, 0);
    EXPECT_EQ(Zelle(f, sieben, 1), "DE 00007");
    // The design's symbol is the window's icon; the lists' background is the workstation's colour.
    EXPECT_EQ(f->windowIcon().pixmap(16).toImage(), Symbolbild(Symbol).pixmap(16).toImage());
    EXPECT_NE(f->windowIcon().pixmap(16).toImage(), Symbolbild(0).pixmap(16).toImage());
    // The MDI frame, whose icon the menu bar shows while the list is maximised, carries it too.
    ASSERT_TRUE(qobject_cast<QMdiSubWindow*>(f->parentWidget()));
    EXPECT_EQ(f->parentWidget()->windowIcon().pixmap(16).toImage(),
              Symbolbild(Symbol).pixmap(16).toImage());
    EXPECT_EQ(v->palette().color(QPalette::Base), haupt->HintergrundMuster());
    Bildschirmfoto(*haupt, "liste.png");
}

// Records the rows the dataset had read when the grid first painted.
class ErstesZeichnen : public QObject {
public:
    explicit ErstesZeichnen(TfrmListeNormal& f) : fenster(f)
    {
        f.Grid()->GetTableView()->viewport()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && gelesen < 0)
            gelesen = fenster.QDaten().FetchedCount();
        return false;
    }
    TfrmListeNormal& fenster;
    int gelesen = -1;
};

TEST_F(ListenfensterTest, ErsteZeilenVorDemZaehlen)
{
    TfrmListeNormal fenster(Db());
    int gemeldet = -1;
    fenster.OnStatus = [&gemeldet](TfrmListe* l) { gemeldet = l->GetAnzahl(); };
    fenster.resize(800, 500);
    fenster.ListeLaden(false, Liste, 0, QString(), QString(), QString());
    ErstesZeichnen zeichnen(fenster);
    fenster.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return zeichnen.gelesen >= 0; }));
    EXPECT_EQ(zeichnen.gelesen, db::DataSet::FetchBatch) << "painted after the first block only";
    EXPECT_TRUE(gemeldet < 0 || gemeldet == Tiere) << "no part count reaches the status bar";
    EXPECT_TRUE(QTest::qWaitFor([&] { return gemeldet == Tiere; }))
        << "the status bar hears the whole count";
    EXPECT_EQ(fenster.QDaten().FetchedCount(), Tiere);
}

TEST_F(ListenfensterTest, AktualisierenBehaeltDieZeile)
{
    TfrmListeNormal* f = UeberMenueOeffnen(0);
    ASSERT_NE(f, nullptr);
    TZRcxGridDBTableView* v = f->Grid()->GetTableView();
    v->setFocus();
    v->setCurrentIndex(v->model()->index(42, v->horizontalHeader()->logicalIndex(1)));
    Ausfuehren(
        {"INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) VALUES ('DE 00000', DATE "
         "'2024-01-01', 'W', 1)"});
    QTest::keyClick(v, Qt::Key_F5);
    EXPECT_EQ(f->GetAnzahl(), Tiere + 1);
    EXPECT_EQ(v->currentIndex().row(), 42);
    EXPECT_EQ(haupt->Statusfeld(0)->text(),
              QStringLiteral(" %1 Einträge in der Liste").arg(Tiere + 1));
    // Beyond the new end the grid keeps its own focus.
    v->setCurrentIndex(v->model()->index(Tiere, 1));
    Ausfuehren({"DELETE FROM T_STAMMDATEN WHERE NUMMER = 'DE 00000'"});
    f->actListeAktualisieren->trigger();
    EXPECT_EQ(f->GetAnzahl(), Tiere);
    EXPECT_LT(v->currentIndex().row(), Tiere);
}

TEST_F(ListenfensterTest, PopupUndAktionen)
{
    TfrmListeNormal* f = UeberMenueOeffnen(Sued);
    ASSERT_NE(f, nullptr);
    QStringList eintraege;
    for (QAction* a : f->ListePopup()->actions())
        eintraege << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(eintraege,
              (QStringList{"Zu Tier gehen", "Termin erledigen", "-", "Liste aktualisieren",
                           "Exportieren", "-", "Druck-Vorschau", "Drucken"}));
    EXPECT_EQ(f->ListePopup()->defaultAction(), f->actZuTierGehen);
    EXPECT_EQ(f->actListeAktualisieren->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_TRUE(f->ZuTierGehenPruefen());
    ASSERT_TRUE(haupt->Aktion("actDrucken")->isEnabled());
    // The export asks for its format.
    bool exportDialog = false;
    {
        MessageBoxScript skript;
        skript.Window<TfrmListenExport>([&](TfrmListenExport& d) {
            exportDialog = true;
            d.reject();
        });
        haupt->Aktion("actListenExportieren")->trigger();
    }
    EXPECT_TRUE(exportDialog);
}

// The main window's "Drucken" opens the list's print preview, as the window's "Druck-Vorschau".
TEST_F(ListenfensterTest, DruckenDesHauptfenstersZeigtDieVorschau)
{
    TfrmListeNormal* f = UeberMenueOeffnen(Sued);
    ASSERT_NE(f, nullptr);
    MessageBoxScript boxen;
    QStringList fenster;
    boxen.EveryWindow<QDialog>([&](QDialog& d) {
        fenster << d.metaObject()->className() + QStringLiteral(" ") + d.windowTitle();
        d.reject();
    });
    haupt->Aktion("actDrucken")->trigger();
    ASSERT_EQ(fenster.size(), 1) << fenster.join('|').toStdString();
    EXPECT_TRUE(fenster[0].startsWith("TfmPreview ")) << fenster[0].toStdString();
    EXPECT_TRUE(boxen.Shown().isEmpty());
}

TEST_F(ListenfensterTest, DoppelklickGehtZumTier)
{
    QList<int> gezeigt;
    QString schnellwahl;
    FListeNormal::TierkarteZeigen = [&](QWidget*, int tier, const QString& sw) {
        gezeigt << tier;
        schnellwahl = sw;
    };
    TfrmListeNormal* f = UeberMenueOeffnen(Sued);
    ASSERT_NE(f, nullptr);
    TZRcxGridDBTableView* v = f->Grid()->GetTableView();
    const QRect zelle = v->visualRect(v->model()->index(2, v->horizontalHeader()->logicalIndex(1)));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, zelle.center());
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, zelle.center());
    db::Transaction tr(Db());
    tr.Start();
    db::Query q(tr, "SELECT ID FROM T_STAMMDATEN WHERE NUMMER = 'DE 00009'");
    q.Open();
    EXPECT_EQ(gezeigt, QList<int>({q.Field(0).AsInteger()}));
    EXPECT_EQ(schnellwahl, f->SchnellwahlSQL);
    EXPECT_EQ(v->currentIndex().row(), 2);
}

TEST_F(ListenfensterTest, LeereListeZeigtKeineAnzahl)
{
    TfrmListeNormal* f = FListeNormal::ListeAnzeigenEx(
        haupt.get(), Liste, 0, "leer",
        "SELECT Q1.ID AS Q1TIERID, Q1.NUMMER AS Q1NUMMER, Q1.NAME "
        "AS Q1NAME, Q1.GEBDAT AS Q1GEBDAT FROM T_STAMMDATEN Q1 WHERE 1=0",
        {}, false, false, {}, true, [this](TfrmListe*) { haupt->ZeigeHinweis(); });
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->windowTitle(), "Herde (leer)");
    EXPECT_EQ(f->GetAnzahl(), 0);
    EXPECT_EQ(haupt->Statusfeld(0)->text().trimmed(), "");
    EXPECT_FALSE(f->ZuTierGehenPruefen());
    EXPECT_EQ(f->Grid()->GetTableView()->Leertext(), "< Die Liste ist leer >");
}

TEST_F(ListenfensterTest, FehlerhafteListeMeldetUndSchliesst)
{
    Ausfuehren(
        {"INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, SQL) VALUES (32, 'Kaputt', "
         "'Kaputt', 'SELECT NICHTDA FROM T_STAMMDATEN')"});
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk).AnswerWith(Tools::mrOk);
    EXPECT_EQ(FListeNormal::ListeAnzeigen(haupt.get(), 32, 0, {}, false, {}), nullptr);
    EXPECT_EQ(FListeNormal::ListeAnzeigen(haupt.get(), 99, 0, {}, false, {}), nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(haupt->MdiArea()->subWindowList().isEmpty());
    ASSERT_EQ(boxen.Shown().size(), 2);
    for (const auto& m : boxen.Shown())
        EXPECT_TRUE(
            m.text.startsWith("Es ist ein Fehler bei der Anzeige der Liste aufgetreten\r\r"))
            << m.text.toStdString();
}

}  // namespace

namespace {

TEST_F(ListenfensterTest, TermineZeigtDieEingestellteListe)
{
    QAction* termine = haupt->Aktion("actListenTermine");
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    Einstellungen()->Bearbeiten();
    Einstellungen()->SetTerminListe(0);
    Einstellungen()->Speichern();
    termine->trigger();
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.contains("keine Terminliste"));
    EXPECT_TRUE(haupt->MdiArea()->subWindowList().isEmpty());

    Einstellungen()->Bearbeiten();
    Einstellungen()->SetTerminListe(Liste);
    Einstellungen()->Speichern();
    Einstellungen()->SetAktBetriebListen(Sued);
    termine->trigger();
    QApplication::processEvents();
    ASSERT_NE(Aktiv(), nullptr);
    EXPECT_EQ(Aktiv()->windowTitle(), "Herde - Süd");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Aktiv()->GetAnzahl() == Anzahl(Sued); }));
}

}  // namespace
