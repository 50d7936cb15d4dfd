#include "ListenDialogTestHilfe.h"

#include <FListenAuswahl.h>
#include <FListenReihung.h>
#include <FWahlBetriebListen.h>
#include <ListenAuswahl.h>

#include <Aktionsnamen.h>
#include <FListeNormal.h>
#include <Haupt.h>
#include <KernAktionen.h>
#include <Shell.h>
#include <VorschauFenster.h>

#include <MessageBoxScript.h>
#include <ZRcxGridDBTableView.h>
#include <ZRcxGridDataController.h>

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QMenu>
#include <QPointer>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace {

TEST(ListenAuswahlRegeln, HakenUndAusgabe)
{
    const QList<int> ids{22, 21, 23};
    struct Fall {
        QList<int> angekreuzt;
        std::vector<bool> haken;
    } faelle[] = {{{}, {false, false, false}},
                  {{23, -1, 99}, {false, false, true}},
                  {{21, 22, 23}, {true, true, true}}};
    for (const Fall& f : faelle)
        EXPECT_EQ(ListenAuswahl::Haken(ids, f.angekreuzt), f.haken);
    EXPECT_EQ(ListenAuswahl::Angekreuzt(ids, {true, false, true}), (QList<int>{22, 23}));

    // Several lists: the ticked ones in grid order; one list: the current one.
    EXPECT_EQ(ListenAuswahl::Ausgabe(true, ids, {false, true, true}, 22), (QList<int>{21, 23}));
    EXPECT_EQ(ListenAuswahl::Ausgabe(true, ids, {false, false, false}, 22), QList<int>{});
    EXPECT_EQ(ListenAuswahl::Ausgabe(false, ids, {false, true, true}, 22), QList<int>{22});
    EXPECT_EQ(ListenAuswahl::Ausgabe(false, {}, {}, 0), QList<int>{});
}

// Three user lists over the herd with screen and print layouts, an internal list, two animals;
// "Standard-Listen" names list 23, a text and a list that is gone.
class ListenAuswahlTest : public ListenDialogTest {
protected:
    void SetUp() override
    {
        QStringList sql{
            "INSERT INTO T_STAMMDATEN (ID, NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) VALUES "
            "(1, 'DE 0101', 'Ölke', DATE '2020-02-03', 'W', 1)",
            "INSERT INTO T_STAMMDATEN (ID, NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) VALUES "
            "(2, 'DE 0202', 'Berta', DATE '2021-04-05', 'W', 1)",
            "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, BEDINGUNGEN) VALUES (-4, 'Intern', "
            "'Intern', 'EREIGNISLISTE')"};
        for (const auto& [id, name, titel] :
             {std::tuple{21, "Bestand", "Herdenliste"}, std::tuple{22, "Abgänge", "Abgangsliste"},
              std::tuple{23, "Zugänge", "Zugangsliste"}}) {
            sql << QStringLiteral(
                       "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, MENUE, FELDER, SQL, "
                       "SCHRIFT) VALUES (%1, '%2', '%3', 'T', 'Q1.NUMMER;Q1.NAME', 'SELECT Q1.ID "
                       "AS Q1ID, Q1.NUMMER "
                       "AS Q1NUMMER, Q1.NAME AS Q1NAME FROM T_STAMMDATEN Q1 WHERE "
                       "(#Q1.ID#) ORDER BY Q1.NUMMER', 'DejaVu Sans;12;')")
                       .arg(id)
                       .arg(QString::fromUtf8(name), QString::fromUtf8(titel))
                << QStringLiteral("DELETE FROM T_LISTEN_BILDSCHIRM WHERE LISTE = %1").arg(id)
                << QStringLiteral("DELETE FROM T_LISTEN_DRUCK WHERE LISTE = %1").arg(id);
            for (const auto& [feld, ftitel, pos] :
                 {std::tuple{"Q1.NUMMER", "Ohrmarke", 0}, std::tuple{"Q1.NAME", "Name", 40}}) {
                sql << QStringLiteral(
                           "INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, TITEL, "
                           "BREITE) VALUES (%1, '%2', '%3', 100)")
                           .arg(id)
                           .arg(feld, ftitel)
                    << QStringLiteral(
                           "INSERT INTO T_LISTEN_DRUCK (LISTE, FELD, TITEL, L_POSITION, "
                           "ZEILE, BREITE, SCHRIFT, TITEL_SCHRIFT, AUSRICHTUNG) VALUES "
                           "(%1, '%2', '%3', %4, 1, 35, 'DejaVu Sans;10;', "
                           "'DejaVu Sans;10;B', 'L')")
                           .arg(id)
                           .arg(feld, ftitel)
                           .arg(pos);
            }
        }
        Ausfuehren(sql);
        ListenDialogTest::SetUp();
        TEinstellungen* e = Einstellungen();
        e->Bearbeiten();
        e->SetStandardListen("23;abc;99");
        e->Speichern();
    }
    void TearDown() override
    {
        dialog.reset();
        QList<QPointer<QWidget>> fenster;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TfrmListeNormal*>(w))
                fenster << w;
        for (const QPointer<QWidget>& w : fenster)
            delete w.data();
        ListenDialogTest::TearDown();
    }

    void Oeffnen()
    {
        dialog = std::make_unique<TfrmListenAuswahl>();
        geaendert = std::make_unique<QSignalSpy>(dialog.get(), &TfrmListenAuswahl::ListenGeaendert);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    QStringList Namen() const
    {
        QStringList namen;
        db::DataSet& l = dialog->QListen();
        for (int r = 0; r < l.RecordCount(); ++r)
            namen << l.ValueAt(r, l.FieldByName("BEZEICHNUNG").Index()).AsString();
        return namen;
    }
    std::vector<bool> Haken() const
    {
        std::vector<bool> h;
        for (int r = 0; r < dialog->QListen().RecordCount(); ++r)
            h.push_back(dialog->ListenView()
                            ->DataController()
                            ->Values(r, dialog->AuswahlSpalte())
                            .toBool());
        return h;
    }
    // A click into the row's check box, as the user ticks it.
    void Ankreuzen(int zeile)
    {
        TZRcxGridDBTableView* v = dialog->ListenView();
        const QRect r = v->visualRect(v->model()->index(zeile, dialog->AuswahlSpalte()));
        ASSERT_TRUE(r.isValid());
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
    }
    // On the box, where the user clicks: the check box is as wide as the page.
    void MehrereListenKlicken()
    {
        QCheckBox* box = dialog->MehrereListen();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    void Zeile(int zeile)
    {
        TZRcxGridDBTableView* v = dialog->ListenView();
        const QRect r = v->visualRect(v->model()->index(zeile, dialog->AuswahlSpalte() + 1));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
    }
    void Klick(const char* knopf)
    {
        QPushButton* k = dialog->Knopf(knopf);
        ASSERT_NE(k, nullptr) << knopf;
        ASSERT_TRUE(k->isVisible() && k->isEnabled()) << knopf;
        QTest::mouseClick(k, Qt::LeftButton);
    }
    static QStringList Listenfenster()
    {
        QStringList titel;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<TfrmListeNormal*>(w); f && f->isVisible())
                titel << f->windowTitle();
        titel.sort();
        return titel;
    }

    std::unique_ptr<TfrmListenAuswahl> dialog;
    std::unique_ptr<QSignalSpy> geaendert;
};

TEST_F(ListenAuswahlTest, OeffnetMitDenStandardListenUndMerktMehrereListen)
{
    Oeffnen();
    EXPECT_EQ(dialog->windowTitle(), "Listen-Auswahl");
    EXPECT_EQ(dialog->helpContext(), 10100);
    EXPECT_EQ(Namen(), (QStringList{"Abgänge", "Bestand", "Zugänge"}));
    EXPECT_EQ(Haken(), (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(dialog->MehrereListen()->isChecked());
    EXPECT_FALSE(dialog->ListenView()->isColumnHidden(dialog->AuswahlSpalte()));
    for (const char* k : {"Anzeigen", "Vorschau", "Drucken", "Standard", "Neu", "Bearbeiten",
                          "Loeschen", "Hilfe", "Schliessen"})
        EXPECT_TRUE(dialog->Knopf(k)->isVisible() && dialog->Knopf(k)->isEnabled()) << k;
    EXPECT_FALSE(dialog->Knopf("Zurueck")->isVisible());
    Bildschirmfoto(*dialog, "listenauswahl.png");

    MehrereListenKlicken();
    EXPECT_TRUE(dialog->ListenView()->isColumnHidden(dialog->AuswahlSpalte()));
    EXPECT_FALSE(dialog->Knopf("Standard")->isEnabled());
    const int vorher = geaendert->count();
    Klick("Schliessen");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_GT(geaendert->count(), vorher);
    EXPECT_FALSE(Einstellungen()->GetLetzteMehrereListen());

    Oeffnen();
    EXPECT_FALSE(dialog->MehrereListen()->isChecked());
    EXPECT_TRUE(dialog->ListenView()->isColumnHidden(dialog->AuswahlSpalte()));
}

TEST_F(ListenAuswahlTest, AlsStandardSpeichertDieAngekreuztenListen)
{
    Oeffnen();
    Ankreuzen(1);
    EXPECT_EQ(Haken(), (std::vector<bool>{false, true, true}));
    Klick("Standard");
    EXPECT_EQ(Text("SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Standard-Listen'"), "21;23");
    Ankreuzen(1);
    Ankreuzen(2);
    Klick("Standard");
    EXPECT_EQ(Einstellungen()->GetStandardListen(), "");
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(ListenAuswahlTest, AusgabeDerAngekreuztenListen)
{
    Oeffnen();
    Ankreuzen(2);
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        Klick("Anzeigen");
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text, "Wählen Sie eine Liste aus");
    }
    EXPECT_TRUE(dialog->isVisible());

    // Every ticked list comes up in the preview, one after the other; the dialog stays.
    Ankreuzen(0);
    Ankreuzen(2);
    QStringList vorschauen;
    QTimer schliessen;
    QObject::connect(&schliessen, &QTimer::timeout, [&] {
        if (auto* form = qobject_cast<TfmPreview*>(QApplication::activeModalWidget())) {
            vorschauen << form->windowTitle();
            form->reject();
        }
    });
    schliessen.start(20);
    Klick("Vorschau");
    schliessen.stop();
    EXPECT_EQ(vorschauen.size(), 2) << vorschauen.join('|').toStdString();
    EXPECT_TRUE(dialog->isVisible());

    Klick("Anzeigen");
    EXPECT_EQ(Listenfenster(), (QStringList{"Abgangsliste", "Zugangsliste"}));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(ListenAuswahlTest, DruckenDerAktuellenListeInEinePdfDatei)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a real printer is set up; printing here would reach it";
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    ASSERT_FALSE(pdftotext.isEmpty()) << "poppler-utils is needed (scripts/install-deps.sh)";
    Oeffnen();
    MehrereListenKlicken();
    Zeile(1);
    const QString pdf = QDir(ordner.path()).filePath("bestand.pdf");
    // The print dialog, printing to a file: the PDF printer stands in for a missing printer.
    MessageBoxScript drucken;
    drucken.Window<QPrintDialog>([pdf](QPrintDialog& d) {
        auto* datei = d.findChild<QLineEdit*>("filename");
        ASSERT_NE(datei, nullptr);
        datei->setText(pdf);
        d.accept();
    });
    Klick("Drucken");
    EXPECT_EQ(drucken.PendingWindows(), 0);
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_TRUE(QFileInfo::exists(pdf));
    QProcess leser;
    leser.start(pdftotext, {"-layout", pdf, "-"});
    ASSERT_TRUE(leser.waitForFinished(30000));
    const QString text = QString::fromUtf8(leser.readAllStandardOutput());
    EXPECT_TRUE(text.contains("Herdenliste")) << text.toStdString();
    EXPECT_TRUE(text.contains("Alle Betriebsstätten")) << text.toStdString();
    for (const char* zeile : {"DE 0101", "Ölke", "DE 0202", "Berta"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(zeile))) << zeile;
}

TEST_F(ListenAuswahlTest, NeuUndBearbeitenRufenDieEditorenUndLadenNach)
{
    Oeffnen();
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        Klick("Neu");
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text, TShell::NichtVerfuegbar);
    }
    QStringList aufrufe;
    dialog->ListenDesignStarten = [&](QWidget* owner, int id) {
        EXPECT_EQ(owner, dialog.get());
        aufrufe << QStringLiteral("Design %1").arg(id);
        if (id != 0)
            return id;
        Ausfuehren({"INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL) VALUES (30, 'Färsen', 'F')"});
        return 30;
    };
    dialog->ListenDesignBildschirmStarten = [&](QWidget*, int id) {
        aufrufe << QStringLiteral("Bildschirm %1").arg(id);
        Ausfuehren({"UPDATE T_LISTEN SET BEZEICHNUNG = 'Aaa' WHERE ID = 23"});
    };
    dialog->ListenDesignDruckStarten = [&](QWidget*, int id) {
        aufrufe << QStringLiteral("Druck %1").arg(id);
    };
    Ankreuzen(0);
    const int vorher = geaendert->count();
    Klick("Neu");
    EXPECT_EQ(dialog->Seite(), 1);
    EXPECT_EQ(dialog->windowTitle(), "Liste-Bearbeiten");
    EXPECT_EQ(dialog->helpContext(), 11300);
    EXPECT_EQ(dialog->AktuelleID(), 30);
    EXPECT_EQ(dialog->ListeName()->text(), "Färsen");
    EXPECT_EQ(Namen(), (QStringList{"Abgänge", "Bestand", "Färsen", "Zugänge"}));
    EXPECT_EQ(Haken(), (std::vector<bool>{true, false, false, true}));
    EXPECT_GT(geaendert->count(), vorher);
    for (const char* k :
         {"Anzeigen", "Vorschau", "Drucken", "Standard", "Neu", "Bearbeiten", "Loeschen"})
        EXPECT_FALSE(dialog->Knopf(k)->isVisible()) << k;
    EXPECT_TRUE(dialog->Knopf("Zurueck")->isVisible());
    Bildschirmfoto(*dialog, "listenauswahl-bearbeiten.png");
    for (const QLabel* l : dialog->findChildren<QLabel*>()) {
        if (l->isVisible()) {
            EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
        }
    }

    Klick("Grundstruktur");
    Klick("DruckAusgabe");
    Klick("Zurueck");
    Zeile(3);
    Klick("Bearbeiten");
    Klick("BildschirmAusgabe");
    EXPECT_EQ(aufrufe, (QStringList{"Design 0", "Design 30", "Druck 30", "Bildschirm 23"}));
    // The edited list stays current under its new name.
    EXPECT_EQ(dialog->ListeName()->text(), "Aaa");
    EXPECT_EQ(Namen(), (QStringList{"Aaa", "Abgänge", "Bestand", "Färsen"}));
    EXPECT_EQ(Haken(), (std::vector<bool>{true, true, false, false}));
}

TEST_F(ListenAuswahlTest, LoeschenNachFrage)
{
    Oeffnen();
    Zeile(1);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrNo).AnswerWith(Tools::mrYes);
    Klick("Loeschen");
    EXPECT_EQ(Namen(), (QStringList{"Abgänge", "Bestand", "Zugänge"}));
    const int vorher = geaendert->count();
    Klick("Loeschen");
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[1].text, "Wollen Sie die Liste wirklich löschen?");
    EXPECT_EQ(Namen(), (QStringList{"Abgänge", "Zugänge"}));
    EXPECT_EQ(Haken(), (std::vector<bool>{false, true}));
    EXPECT_GT(geaendert->count(), vorher);
    EXPECT_EQ(Text("SELECT COUNT(*) FROM T_LISTEN WHERE ID = 21"), "0");
    EXPECT_EQ(Text("SELECT COUNT(*) FROM T_LISTEN_BILDSCHIRM WHERE LISTE = 21"), "0");
    EXPECT_EQ(Text("SELECT COUNT(*) FROM T_LISTEN_DRUCK WHERE LISTE = 21"), "0");
}

TEST_F(ListenAuswahlTest, InDateiSpeichernUndAusDateiLaden)
{
    Oeffnen();
    Ankreuzen(0);
    Zeile(1);
    Klick("Bearbeiten");
    const QString datei = QDir(ordner.path()).filePath("Bestand.xml");
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk).AnswerWith(Tools::mrOk);
    {
        MessageBoxScript speichern;
        speichern.Window<QFileDialog>([this](QFileDialog& d) {
            EXPECT_EQ(d.windowTitle(), "Liste in Datei speichern");
            EXPECT_EQ(d.nameFilters(), QStringList{"Listen Austauschformat (*.xml)"});
            EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
            EXPECT_EQ(d.defaultSuffix(), "xml");
            EXPECT_FALSE(d.testOption(QFileDialog::DontConfirmOverwrite));
            d.setDirectory(ordner.path());
            static_cast<QDialog&>(d).accept();
        });
        Klick("DateiSpeichern");
        EXPECT_EQ(speichern.PendingWindows(), 0);
    }
    ASSERT_TRUE(QFileInfo::exists(datei));
    {
        MessageBoxScript laden;
        laden.Window<QFileDialog>([datei](QFileDialog& d) {
            EXPECT_EQ(d.windowTitle(), "Liste aus Datei laden");
            EXPECT_EQ(d.fileMode(), QFileDialog::ExistingFile);
            d.selectFile(datei);
            static_cast<QDialog&>(d).accept();
        });
        const int vorher = geaendert->count();
        Klick("DateiLaden");
        EXPECT_EQ(laden.PendingWindows(), 0);
        EXPECT_GT(geaendert->count(), vorher);
    }
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[0].text,
              QStringLiteral("Die Liste \"Bestand\" wurde in die Datei\r\"%1\"\rgespeichert.")
                  .arg(datei));
    EXPECT_EQ(boxen.Shown()[1].text,
              QStringLiteral("Die Liste \"Bestand (2)\" wurde aus der Datei\r\"%1\"\reingelesen.")
                  .arg(datei));
    EXPECT_EQ(dialog->ListeName()->text(), "Bestand (2)");
    EXPECT_EQ(Namen(), (QStringList{"Abgänge", "Bestand", "Bestand (2)", "Zugänge"}));
    EXPECT_EQ(Haken(), (std::vector<bool>{true, false, false, true}));
    EXPECT_EQ(Text("SELECT LIST(FELD || '=' || TITEL, ',') FROM (SELECT * FROM T_LISTEN_DRUCK "
                   "WHERE LISTE = (SELECT ID FROM T_LISTEN WHERE BEZEICHNUNG = 'Bestand (2)') "
                   "ORDER BY ID)"),
              "Q1.NUMMER=Ohrmarke,Q1.NAME=Name");
}

TEST_F(ListenAuswahlTest, MenueEintraegeOrdnenLaesstDasHauptmenueNachziehen)
{
    Oeffnen();
    Klick("Bearbeiten");
    const int vorher = geaendert->count();
    MessageBoxScript sortieren;
    sortieren.Window<TfrmSortierung>([](TfrmSortierung& d) {
        EXPECT_EQ(d.QSortierung().RecordCount(), 3);
        QTest::mouseClick(d.Ab(), Qt::LeftButton);
        d.accept();
    });
    Klick("SortMenue");
    EXPECT_EQ(sortieren.PendingWindows(), 0);
    EXPECT_EQ(geaendert->count(), vorher + 1);
    QStringList menue, leiste;
    Einstellungen()->BenutzerListenLaden(menue, leiste);
    EXPECT_EQ(menue.value(0).section(';', 2), "Abgänge");
}

TEST_F(ListenAuswahlTest, BearbeitenOhneListen)
{
    Ausfuehren({"DELETE FROM T_LISTEN WHERE ID > 0"});
    Oeffnen();
    EXPECT_EQ(dialog->ListenView()->Leertext(), "< Keine Listen vorhanden >");
    for (const char* k : {"Anzeigen", "Vorschau", "Drucken", "Standard", "Loeschen"})
        EXPECT_FALSE(dialog->Knopf(k)->isEnabled()) << k;
    Klick("Bearbeiten");
    for (const char* k : {"Grundstruktur", "BildschirmAusgabe", "DruckAusgabe", "SortMenue",
                          "SortSymbol", "DateiSpeichern"})
        EXPECT_FALSE(dialog->Knopf(k)->isEnabled()) << k;
    EXPECT_TRUE(dialog->Knopf("DateiLaden")->isEnabled());
    EXPECT_EQ(dialog->ListeName()->text(), "");
}

// The main window's entries open the dialogs; what they change shows at once.
class ListenAuswahlHauptfensterTest : public ListenAuswahlTest {
protected:
    void SetUp() override
    {
        ListenAuswahlTest::SetUp();
        haupt = std::make_unique<TfrmHaupt>();
        QString updateDatei;
        AlleAktionenVerbinden(*haupt, updateDatei);
        haupt->ErzeugeListenMenue();
    }
    void TearDown() override
    {
        haupt.reset();
        ListenAuswahlTest::TearDown();
    }
    QStringList Menueeintraege() const
    {
        QStringList r;
        bool listen = false;
        for (QAction* a : haupt->MenueListen()->actions()) {
            if (a->text() == "Erledigte Termine")
                listen = true;
            else if (listen && !a->isSeparator())
                r << a->text();
        }
        return r;
    }
    std::unique_ptr<TfrmHaupt> haupt;
};

TEST_F(ListenAuswahlHauptfensterTest, LoeschenNimmtDenMenueeintragSofortWeg)
{
    EXPECT_EQ(Menueeintraege(), (QStringList{"Bestand", "Abgänge", "Zugänge"}));
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes);
    MessageBoxScript schritt;
    schritt.Window<TfrmListenAuswahl>([this](TfrmListenAuswahl& d) {
        TZRcxGridDBTableView* v = d.ListenView();
        v->setCurrentIndex(v->model()->index(1, d.AuswahlSpalte() + 1));
        QTest::mouseClick(d.Knopf("Loeschen"), Qt::LeftButton);
        EXPECT_EQ(Menueeintraege(), (QStringList{"Abgänge", "Zugänge"}));
        d.reject();
    });
    haupt->Aktion(Aktion::ListenAuswahl)->trigger();
    EXPECT_EQ(schritt.PendingWindows(), 0);
}

TEST_F(ListenAuswahlHauptfensterTest, BetriebsstaetteFuerListenInDerStatuszeile)
{
    Ausfuehren({"INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE) VALUES (5, 'Weide', 1)"});
    haupt->AktBetriebListeChange();
    EXPECT_EQ(haupt->Statusfeld(1)->text(), "Alle Betriebsstätten");
    MessageBoxScript schritt;
    schritt.Window<TfrmWahlBetriebListen>([](TfrmWahlBetriebListen& d) {
        d.Liste()->setCurrentRow(d.Liste()->count() - 1);
        QTest::mouseClick(d.findChild<QPushButton*>("Ok"), Qt::LeftButton);
    });
    haupt->Aktion(Aktion::BetriebsstaetteAuswahl)->trigger();
    EXPECT_EQ(schritt.PendingWindows(), 0);
    EXPECT_EQ(haupt->Statusfeld(1)->text(), "Weide");
}

}  // namespace
