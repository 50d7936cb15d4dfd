// The built-in list dialogs driven as a user would: the period and choices, a new design through
// the chooser, the list window and a print into a PDF file read back with pdftotext.

#include "ListenDialogTestHilfe.h"

#include <FBestandslisteParameter.h>
#include <FEreignisliste.h>
#include <FGesendeteHITMeldungen.h>
#include <FKalbeJournal.h>
#include <FListeGesendeteHITMeldungen.h>

#include <DBTools.h>
#include <FListeNormal.h>
#include <FrameInternListeWahl.h>
#include <InternListeWahl.h>
#include <MessageBoxScript.h>
#include <NeuWert.h>
#include <ZRDBcxGridBovantis.h>
#include <ZRcxGridDBTableView.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPointer>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

namespace {

class ListenDialogeTest : public ListenDialogTest {
protected:
    void SetUp() override
    {
        ListenDialogTest::SetUp();
        // The screen layout editor is the designer's; here a new design keeps its fields.
        InternListeWahl::ListenDesignBildschirmStarten = [](QWidget*, int, const QString&) {};
        InternListeWahl::ListenDesignDruckStarten = [](QWidget*, int, db::DataSet*) {};
    }
    void TearDown() override
    {
        QList<QPointer<TfrmListe>> fenster;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<TfrmListe*>(w))
                fenster << f;
        qDeleteAll(fenster);
        InternListeWahl::ListenDesignBildschirmStarten = nullptr;
        InternListeWahl::ListenDesignDruckStarten = nullptr;
        ListenDialogTest::TearDown();
    }

    int Zahl(const QString& sql) { return Text(sql).toInt(); }

    int Tier(const QString& name, const QString& nummer, const QString& gebdat, int knr,
             const QString& geschlecht = "W")
    {
        db::Transaction tr(datenbank.Db());
        tr.Start();
        db::Query q(tr, QStringLiteral("INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, "
                                       "GESCHLECHT, RASSE, KNR) VALUES ('%1', '%2', '%3', '%4', "
                                       "1, %5) RETURNING ID")
                            .arg(nummer, name, gebdat, geschlecht)
                            .arg(knr));
        q.Execute();
        const int id = q.Field(0).AsInteger();
        tr.Commit();
        return id;
    }

    // "Mehr", "Neu" and the name of the new design; the design is ticked alone.
    int NeuesDesign(TfrmInternListeDialog& d, const QString& titel)
    {
        TframeInternListeWahl* wahl = d.Designs();
        if (wahl->Knopf("Mehr")->isEnabled())
            QTest::mouseClick(wahl->Knopf("Mehr"), Qt::LeftButton);
        {
            MessageBoxScript skript;
            skript.Window<TNeuerWert>([titel](TNeuerWert& n) {
                n.Edits()[0]->setText(titel);
                n.Edits()[1]->setText(titel);
                n.accept();
            });
            QTest::mouseClick(wahl->Knopf("Neu"), Qt::LeftButton);
        }
        const int design = wahl->FokusID();
        for (int r = 0; r < wahl->QListen().RecordCount(); ++r)
            wahl->ListeView()->DataController()->SetValues(
                r, wahl->AuswahlSpalte(),
                wahl->QListen().ValueAt(r, wahl->QListen().FieldByName("ID").Index()).AsInteger() ==
                    design);
        return design;
    }

    TfrmListeNormal* Anzeigen(TfrmInternListeDialog& d)
    {
        const QList<QWidget*> vorher = QApplication::topLevelWidgets();
        QTest::mouseClick(d.Designs()->Knopf("Anzeigen"), Qt::LeftButton);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<TfrmListeNormal*>(w); f && !vorher.contains(w))
                return f;
        return nullptr;
    }

    static QStringList Spalten(TfrmListeNormal& liste)
    {
        TZRcxGridDBTableView* v = liste.Grid()->GetTableView();
        QStringList titel;
        for (int i = 0; i < v->horizontalHeader()->count(); ++i)
            if (!v->horizontalHeader()->isSectionHidden(v->horizontalHeader()->logicalIndex(i)))
                titel << v->model()
                             ->headerData(v->horizontalHeader()->logicalIndex(i), Qt::Horizontal)
                             .toString();
        return titel;
    }

    // "Drucken" into a PDF file; its text as pdftotext lays it out.
    QString DruckenAlsText(TfrmInternListeDialog& d, const QString& name)
    {
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        EXPECT_FALSE(pdftotext.isEmpty()) << "poppler-utils is needed (scripts/install-deps.sh)";
        const QString pdf = QDir(ordner.path()).filePath(name);
        MessageBoxScript drucken;
        drucken.Window<QPrintDialog>([pdf](QPrintDialog& p) {
            auto* datei = p.findChild<QLineEdit*>("filename");
            ASSERT_NE(datei, nullptr);
            datei->setText(pdf);
            p.accept();
        });
        QTest::mouseClick(d.Designs()->Knopf("Drucken"), Qt::LeftButton);
        EXPECT_EQ(drucken.PendingWindows(), 0);
        // Kept beside the screenshots, to be looked at.
        QFile::remove(QDir(Bildschirmfotoordner()).filePath(name));
        QFile::copy(pdf, QDir(Bildschirmfotoordner()).filePath(name));
        QProcess leser;
        leser.start(pdftotext, {"-layout", pdf, "-"});
        EXPECT_TRUE(leser.waitForFinished(30000));
        return QString::fromUtf8(leser.readAllStandardOutput());
    }

    static bool Zeile(const QString& text, const QStringList& teile)
    {
        // The parts in this order on one line, each apart from the next.
        for (const QString& zeile : text.split('\n')) {
            qsizetype pos = 0;
            bool alle = true;
            for (const QString& t : teile) {
                const qsizetype p = zeile.indexOf(t, pos);
                if (p < 0 || (pos > 0 && p == pos)) {
                    alle = false;
                    break;
                }
                pos = p + t.size();
            }
            if (alle)
                return true;
        }
        return false;
    }
};

TEST_F(ListenDialogeTest, EreignislisteVomZeitraumZurListeUndZumDruck)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a real printer is set up; printing here would reach it";
    const int anna = Tier("Anna", "DE 01 111 11111", "01.03.2019", 7);
    const int berta = Tier("Berta", "DE 01 222 22222", "01.03.2019", 8);
    Ausfuehren({QStringLiteral("UPDATE T_STAMMDATEN SET GEKAUFT = '02.01.2024', GEKAUFTBEM = "
                               "'vom Nachbarn' WHERE ID = %1")
                    .arg(anna),
                QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER) VALUES (%1, "
                               "'10.01.2024', 'Anton')")
                    .arg(berta)});

    MessageBoxScript boxen;
    TfrmEreignisliste d(DM()->Datenbank);
    d.show();
    QTest::keyClicks(d.Von(), "31.01.2024");
    QTest::keyClicks(d.Bis(), "01.01.2024");
    d.Ereignis("Behandlung")->setChecked(false);
    const int design = NeuesDesign(d, "Ereignisse");
    ASSERT_LT(design, 0);
    // Stored earlier first, and all of it at every output.
    EXPECT_EQ(Einstellungen()->GetEreignislisteVon(), QDate(2024, 1, 1));
    EXPECT_EQ(Einstellungen()->GetEreignislisteBis(), QDate(2024, 1, 31));
    EXPECT_FALSE(Einstellungen()->GetEreignislisteBehandlung());
    EXPECT_EQ(d.DatenSQL(),
              "SELECT ART, TIERID, KNRDISPLAY, NAME, NUMMER, DATUM, TEXT\r"
              "FROM P_GET_EREIGNISLISTE('T', 'T', 'T', 'T', 'T', 'F', "
              "'01.01.2024', '31.01.2024')\rORDER BY SORTNR, DATUM, NUMMER");
    EXPECT_EQ(d.Titelzusatz(), "von 01.01.2024 bis 31.01.2024");
    Bildschirmfoto(d, "Ereignisliste.png");

    TfrmListeNormal* liste = Anzeigen(d);
    ASSERT_NE(liste, nullptr);
    EXPECT_TRUE(boxen.Shown().isEmpty());
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(liste->windowTitle(), "Ereignisse (von 01.01.2024 bis 31.01.2024)");
    EXPECT_EQ(Spalten(*liste),
              (QStringList{"Art", "Tier-ID", "KNR", "Name", "Nummer", "Datum", "Text"}));
    ASSERT_EQ(liste->GetAnzahl(), 2);
    EXPECT_EQ(liste->QDaten().FieldByName("ART").AsString(), "Zugang");
    liste->resize(800, 300);
    Bildschirmfoto(*liste, "EreignislisteFenster.png");
    liste->close();

    // Again from the stored settings; the design is the dialog's standard now and prints.
    TfrmEreignisliste zweiter(DM()->Datenbank);
    EXPECT_EQ(zweiter.Von()->text(), "01.01.2024");
    EXPECT_FALSE(zweiter.Ereignis("Behandlung")->isChecked());
    zweiter.show();
    const QString text = DruckenAlsText(zweiter, "ereignisse.pdf");
    EXPECT_TRUE(text.contains("Ereignisse (von 01.01.2024 bis 31.01.2024)")) << text.toStdString();
    EXPECT_TRUE(Zeile(text, {"Art", "KNR", "Name", "Nummer", "Datum", "Text", "Tier-ID"}))
        << text.toStdString();
    EXPECT_TRUE(Zeile(text, {"Zugang", "007", "Anna", "DE 01 111 11111", "02.01.2024",
                             "vom Nachbarn", QString::number(anna)}))
        << text.toStdString();
    EXPECT_TRUE(Zeile(text, {"Besamung", "008", "Berta", "DE 01 222 22222", "10.01.2024",
                             "Nr. 1, Anton", QString::number(berta)}))
        << text.toStdString();
}

TEST_F(ListenDialogeTest, KalbeJournalDrucktZweiZeilenQuer)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a real printer is set up; printing here would reach it";
    const int clara = Tier("Clara", "DE 01 333 33333", "01.03.2019", 3);
    Ausfuehren({QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER) VALUES (%1, "
                               "'01.05.2023', 'Anton')")
                    .arg(clara),
                QStringLiteral("INSERT INTO T_BESAMUNGEN (TIER, DATUM, STIER) VALUES (%1, "
                               "'22.05.2023', 'Bruno')")
                    .arg(clara),
                QStringLiteral("INSERT INTO T_KALBUNGEN (TIER, DATUM, GESCHLECHT, NUMMER, "
                               "VERLAUF) VALUES (%1, '01.03.2024', 'W', 'DE 01 444 44444', "
                               "'leicht')")
                    .arg(clara)});
    MessageBoxScript boxen;
    TfrmKalbeJournal d(DM()->Datenbank);
    d.show();
    QTest::keyClicks(d.Von(), "01.01.2024");
    QTest::keyClicks(d.Bis(), "31.03.2024");
    const int design = NeuesDesign(d, "Kalbungen");
    EXPECT_EQ(
        Text(QStringLiteral("SELECT PAPIER_AUSRICHTUNG FROM T_LISTEN WHERE ID = %1").arg(design)),
        "Q");
    EXPECT_EQ(Zahl(QStringLiteral("SELECT COUNT(*) FROM T_LISTEN_DRUCK WHERE LISTE = %1 AND "
                                  "ZEILE = 2")
                       .arg(design)),
              9);
    Bildschirmfoto(d, "KalbeJournal.png");
    const QString text = DruckenAlsText(d, "kalbungen.pdf");
    EXPECT_TRUE(boxen.Shown().isEmpty());
    EXPECT_TRUE(text.contains("Kalbungen (von 01.01.2024 bis 31.03.2024)")) << text.toStdString();
    EXPECT_TRUE(Zeile(text, {"KNR", "Name", "Nummer", "Geb.Dat.", "Nr", "Datum", "G.", "K.-Nummer",
                             "Verlauf", "Bemerkung"}))
        << text.toStdString();
    EXPECT_TRUE(Zeile(text, {"Bes. 1", "Bes. 2", "Bes. 6", "l. Stier", "trocken", "soll kalben"}))
        << text.toStdString();
    EXPECT_TRUE(Zeile(text, {"003", "Clara", "DE 01 333 33333", "01.03.2019", "1", "01.03.2024",
                             "W", "DE 01 444 44444", "leicht"}))
        << text.toStdString();
    EXPECT_TRUE(Zeile(text, {"01.05.2023", "22.05.2023", "Bruno", "27.02.2024"}))
        << text.toStdString();

    TfrmKalbeJournal zweiter(DM()->Datenbank);
    zweiter.show();
    TfrmListeNormal* liste = Anzeigen(zweiter);
    ASSERT_NE(liste, nullptr);
    EXPECT_EQ(liste->windowTitle(), "Kalbungen (von 01.01.2024 bis 31.03.2024)");
    ASSERT_EQ(liste->GetAnzahl(), 1);
    EXPECT_EQ(Spalten(*liste).mid(0, 3), (QStringList{"Tier-ID", "KNR", "Name"}));
    EXPECT_EQ(liste->QDaten().FieldByName("L_STIER").AsString(), "Bruno");
    liste->resize(1000, 300);
    Bildschirmfoto(*liste, "KalbeJournalFenster.png");
    liste->close();
}

TEST_F(ListenDialogeTest, GesendeteMeldungenLoeschenNurNachFrage)
{
    const int tier = Tier("Gerda", "DE 01 234 56789", "01.03.2020", 5);
    for (const char* art : {"GEBURT", "ZUGANG", "TOD"})
        Ausfuehren({QStringLiteral("INSERT INTO T_HIT_GESENDET (ZEIT, MELDUNG, TIER, BETRIEB, "
                                   "SCHWERE, ERGEBNIS) VALUES ('10.03.2024 10:00:00', '%1', "
                                   "'%2', '276091234567890', 0, 'ok')")
                        .arg(QLatin1String(art), QLatin1String(art) == QLatin1String("TOD")
                                                     ? "DE 09 999 99999"
                                                     : "DE 01 234 56789")});
    MessageBoxScript boxen;
    TfrmGesendeteHITMeldungen d(DM()->Datenbank);
    d.show();
    QTest::keyClicks(d.Von(), "10.03.2024");
    QTest::keyClicks(d.Bis(), "10.03.2024");
    d.Meldung("Zugang")->setChecked(false);
    NeuesDesign(d, "HIT");
    EXPECT_TRUE(
        d.DatenSQL().contains("P_GET_HITGESENDET('10.03.2024', '11.03.2024', 'T', 'F', "
                              "'T', \r'T', 'T', 'T', 'T') H"))
        << d.DatenSQL().toStdString();
    Bildschirmfoto(d, "GesendeteHITMeldungen.png");
    auto* liste = qobject_cast<TfrmListeGesendeteHITMeldungen*>(Anzeigen(d));
    ASSERT_NE(liste, nullptr);
    EXPECT_EQ(liste->windowTitle(), "HIT (von 10.03.2024 bis 10.03.2024)");
    ASSERT_EQ(liste->GetAnzahl(), 2);
    liste->resize(900, 300);
    Bildschirmfoto(*liste, "GesendeteHITMeldungenFenster.png");
    ASSERT_TRUE(DBTools::LocateInteger(liste->QDaten(), "TIERID", tier, false));
    ASSERT_TRUE(liste->QDaten().Locate("MELDUNG", {"TOD"}));
    EXPECT_TRUE(liste->QDaten().FieldByName("TIERID").IsNull());

    // "Nein" keeps the entry; "Ja" deletes it.
    boxen.AnswerWith(Tools::mrNo);
    liste->actEintragLoeschen->trigger();
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, "Soll der Eintrag wirklich gelöscht werden?");
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_HIT_GESENDET"), 3);
    boxen.AnswerWith(Tools::mrYes);
    liste->actEintragLoeschen->trigger();
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_HIT_GESENDET WHERE MELDUNG = 'TOD'"), 0);
    EXPECT_EQ(liste->GetAnzahl(), 1);

    boxen.AnswerWith(Tools::mrYes);
    liste->AktionenAktualisieren();
    liste->actAlleEintraegeLoeschen->trigger();
    EXPECT_EQ(boxen.Shown().last().text, "Sollen wirklich alle Einträge gelöscht werden?");
    EXPECT_EQ(liste->GetAnzahl(), 0);
    // The report type that was not asked for stays.
    EXPECT_EQ(Text("SELECT LIST(MELDUNG) FROM T_HIT_GESENDET"), "ZUGANG");
    liste->AktionenAktualisieren();
    EXPECT_FALSE(liste->actAlleEintraegeLoeschen->isEnabled());
    liste->close();

    // The report on the first printed line, the answer and the values below it.
    if (!QPrinterInfo::defaultPrinter().isNull())
        return;
    Ausfuehren(
        {"INSERT INTO T_HIT_GESENDET (ZEIT, MELDUNG, TIER, BETRIEB, SCHWERE, ERGEBNIS, "
         "WERTE) VALUES ('10.03.2024 11:30:00', 'GEBURT', 'DE 01 234 56789', "
         "'276091234567890', 1, 'Meldung angenommen', 'GEB_DATR=01.03.2024')"});
    TfrmGesendeteHITMeldungen zweiter(DM()->Datenbank);
    zweiter.show();
    const QString text = DruckenAlsText(zweiter, "hitmeldungen.pdf");
    EXPECT_TRUE(Zeile(text, {"ID", "Gesendet", "Meldung", "Tier", "Betrieb", "Schwere", "Tier-ID"}))
        << text.toStdString();
    EXPECT_TRUE(Zeile(text, {"Ergebnis", "Werte"})) << text.toStdString();
    EXPECT_TRUE(Zeile(text, {"10.03.2024 11:30", "GEBURT", "DE 01 234 56789", "276091234567890",
                             "1", QString::number(tier)}))
        << text.toStdString();
    EXPECT_TRUE(Zeile(text, {"Meldung angenommen", "GEB_DATR=01.03.2024"})) << text.toStdString();
}

TEST_F(ListenDialogeTest, BestandslisteAmTagMitBetriebsstaetteUndAlter)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a real printer is set up; printing here would reach it";
    Ausfuehren(
        {"INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE, STANDARD) VALUES (2, "
         "'Bauer''s Weide', 1, 'F')"});
    const int jung = Tier("Jung", "DE 01 555 55555", "01.01.2026", 11);
    const int alt = Tier("Alt", "DE 01 666 66666", "01.01.2020", 12);
    const int anders = Tier("Anders", "DE 01 777 77777", "01.01.2020", 13);
    for (const int t : {jung, alt})
        Ausfuehren({QStringLiteral("INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (%1, "
                                   "'01.01.2026', 2)")
                        .arg(t)});
    Ausfuehren({QStringLiteral("INSERT INTO T_STAELLE (TIER, VON, STALL) VALUES (%1, "
                               "'01.01.2026', 1)")
                    .arg(anders)});
    Einstellungen()->SetAktBetriebListen(2);

    MessageBoxScript boxen;
    TfrmBestandslisteParameter d(DM()->Datenbank);
    d.show();
    EXPECT_FALSE(d.WertVon()->isEnabled());
    d.Am()->setText("01.06.2026");
    QTest::mouseClick(d.AlterVon(), Qt::LeftButton);
    EXPECT_TRUE(d.WertVon()->isEnabled());
    EXPECT_TRUE(d.EinheitVon()->isEnabled());
    d.WertVon()->setValue(2);
    d.EinheitVon()->setCurrentIndex(2);
    d.Tierklasse()->setCurrentIndex(2);
    NeuesDesign(d, "Bestand");
    EXPECT_EQ(d.Titelzusatz(), "am 01.06.2026, Alter von 2 Jahr(e)");
    EXPECT_TRUE(d.DatenSQL().contains("AND (Q1.GEBDAT + 730 <= '01.06.2026')"));
    EXPECT_EQ(Einstellungen()->GetBestandslisteParameterEinheitVon(), 2);
    Bildschirmfoto(d, "BestandslisteParameter.png");

    const QString text = DruckenAlsText(d, "bestand.pdf");
    EXPECT_TRUE(boxen.Shown().isEmpty());
    EXPECT_TRUE(text.contains("Bauer's Weide")) << text.toStdString();
    EXPECT_TRUE(text.contains("am 01.06.2026, Alter von 2 Jahr(e)")) << text.toStdString();
    EXPECT_TRUE(Zeile(
        text, {"KNR", "Name", "Nummer", "G.", "Geb.Dat.", "Alter", "Tage-Info", "Akt. Betrieb"}))
        << text.toStdString();
    EXPECT_TRUE(Zeile(text, {"012", "Alt", "DE 01 666 66666", "W", "01.01.2020"}))
        << text.toStdString();
    EXPECT_FALSE(text.contains("Jung")) << text.toStdString();
    EXPECT_FALSE(text.contains("Anders")) << text.toStdString();
    // The page names the premises of the list.
    EXPECT_TRUE(Zeile(text, {"Bauer's Weide", "Seite 1"})) << text.toStdString();

    TfrmBestandslisteParameter zweiter(DM()->Datenbank);
    EXPECT_TRUE(zweiter.AlterVon()->isChecked());
    EXPECT_EQ(zweiter.EinheitVon()->currentText(), "Jahr(e)");
    zweiter.show();
    TfrmListeNormal* liste = Anzeigen(zweiter);
    ASSERT_NE(liste, nullptr);
    EXPECT_EQ(liste->windowTitle(), "Bestand - Bauer's Weide (am 01.06.2026, Alter von 2 Jahr(e))");
    ASSERT_EQ(liste->GetAnzahl(), 1);
    EXPECT_EQ(liste->QDaten().FieldByName("Q1NAME").AsString(), "Alt");
    liste->resize(1000, 300);
    Bildschirmfoto(*liste, "BestandslisteParameterFenster.png");
    liste->close();
}

}  // namespace
